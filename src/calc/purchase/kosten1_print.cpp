#include "calc/purchase/kosten1_print.h"

#include "calc/purchase/kosten_print.h"
#include "core/opstack.h"

namespace vestral::calc::kosten1 {

toolkit::PrintJob ko_druck_job(const Inputs& in, const Results& r, const core::ProgramSettings& settings) {
    VESTRAL_OP("KO_DRUCK");
    kosten::Sheet sheet(kJobName, "Kosten beim Hausbau", {{4, 17}, {18, 29}, {30, 45}, {46, 51}}, settings);

    sheet.heading(5, "1. Immobilienkosten:");
    sheet.amount(7, "Grundstückspreis pro qm:", in.NGRUNDDM);
    sheet.value(9, "Grundstücksgröße in qm:", kosten::amount_text(in.NGRUNDQM));
    sheet.amount(11, "Kaufpreis des Grundstücks:", r.NGRUNDST);
    sheet.amount(13, "Kaufpreis des Gebäudes:", r.NERSTELLDM);
    sheet.amount(15, "Gesamt-Kaufpreis:", r.NGRUNDST + r.NERSTELLDM);

    sheet.heading(19, "2. zusätzliche Kosten vom Gesamtkaufpreis:");
    sheet.rate(21, "Vermessungskosten:", in.NVERMESS, r.NVERMESSDM);
    sheet.rate(23, "Notarkosten:", in.NNOTAR, r.NNOTARDM);
    sheet.rate(25, "Grunderwerbssteuer:", in.NGRUEST, r.NGRUESTDM);
    sheet.rate(27, "Maklerkosten:", in.NMAKLER, r.NMAKLERDM);

    sheet.heading(31, "3. weitere Kosten:");
    sheet.amount(33, "Erschließungskosten:", r.NERSCHLDM);
    sheet.amount(35, "Bauantragskosten:", r.NBAUANTRDM);
    sheet.amount(37, "Kosten für Keller/Grundplatte:", r.NKELLERDM);
    sheet.amount(39, "Anschlußkosten:", r.NANSCHLDM);
    sheet.amount(41, "Kosten für Außenarbeiten:", r.NAUSSENDM);
    sheet.amount(43, "Kosten für Garage/Carport:", r.NGARAGEDM);

    sheet.heading(47, "4. Summe der Kosten:");
    sheet.amount(49, "Kosten gesamt: ", r.NKOSTEN, true);

    sheet.footer(52);
    return sheet.take();
}

}  // namespace vestral::calc::kosten1
