#include "calc/purchase/kosten2_print.h"

#include "calc/purchase/kosten_print.h"
#include "core/opstack.h"

namespace vestral::calc::kosten2 {

toolkit::PrintJob ko_druck_job(const Inputs& in, const Results& r, const core::ProgramSettings& settings) {
    VESTRAL_OP("KO_DRUCK");
    kosten::Sheet sheet(kJobName, "Kosten beim Hauskauf", {{4, 17}, {18, 29}, {30, 40}}, settings);
    const double property = r.NGRUNDST + r.NERSTELLDM;

    sheet.heading(5, "1. Immobilien-Kosten:");
    sheet.amount(7, "Grundstückspreis pro qm:", in.NGRUNDDM);
    sheet.value(9, "Grundstücksgröße in qm:", kosten::amount_text(in.NGRUNDQM));
    sheet.amount(11, "Kaufpreis des Grundstücks:", r.NGRUNDST);
    sheet.amount(13, "Kaufpreis des Gebäudes:", r.NERSTELLDM);
    sheet.amount(15, "Gesamt-Kaufpreis:", property, true);

    sheet.heading(19, "2. zusätzliche Kosten vom Gesamtkaufpreis:");
    sheet.rate(21, "Notarkosten:", in.NNOTAR, r.NNOTARDM);
    sheet.rate(23, "Grunderwerbsteuer:", in.NGRUEST, r.NGRUESTDM);
    sheet.rate(25, "Maklerkosten:", in.NMAKLER, r.NMAKLERDM);
    sheet.amount(27, "zusätzliche Kosten gesamt:", additional(r), true);

    // The sums keep the blanks in front of their amounts, so the three lines stand under each other.
    sheet.heading(31, "3. Summe der Kosten:");
    sheet.sum(33, "Immobilien-Kosten:", "", property);
    sheet.sum(35, "zusätzliche Kosten:", "+", additional(r));
    sheet.sum(37, "Hauskauf-Kosten gesamt:", "=", r.NKOSTEN, true);

    sheet.footer(41);
    return sheet.take();
}

}  // namespace vestral::calc::kosten2
