#include "calc/tax/eigenheimzulage_print.h"

#include "core/mask.h"
#include "core/opstack.h"

namespace vestral::calc {

namespace {

constexpr double kLabelCol = 8;
constexpr double kValueCol = 50;
constexpr double kFrameLeft = 7;
constexpr double kFrameRight = 79;
constexpr double kNoteCol = 9;

std::string amount(double v) {
    return core::trim_left(core::format_mask(v, "@E 999,999,999.99"));
}
std::string percent(double v) {
    return core::trim_left(core::format_mask(v, "@E 999.99")) + " %";
}
const char* yes_no(bool b) {
    return b ? "Ja" : "Nein";
}

}  // namespace

toolkit::PrintJob abschdruck_job(const AbschrInputs& in, const AbschrResults& r,
                                 const std::vector<AbschRow>& rows, const std::string& program_title) {
    VESTRAL_OP("ABSCHDRUCK");
    using toolkit::body_font;
    using toolkit::heading_font;
    toolkit::PrintJob job;
    job.name = "Eigenheimzulagen";
    job.rows = 60;
    job.cols = 80;
    job.new_page();

    job.box(0, kFrameLeft, 3, kFrameRight, 5);
    job.box(4, kFrameLeft, 14, kFrameRight);
    job.box(15, kFrameLeft, 25, kFrameRight);
    job.box(26, kFrameLeft, 37, kFrameRight);
    job.box(38, kFrameLeft, 54, kFrameRight);

    job.text(1, kLabelCol, program_title + " - Eigenheimzulage nach Eigenheimzulagengesetz",
             toolkit::title_font());

    auto pair = [&](double row, const std::string& label, const std::string& value) {
        job.text(row, kLabelCol, label);
        job.text(row, kValueCol, value);
    };

    job.text(5, kLabelCol, "1. Finanzdaten:", heading_font());
    pair(7, "Berechnung erfolgt nach:", in.NFAMSTAND == 2 ? "Splittingtabelle" : "Grundtabelle");
    pair(9, "Zu versteuerndes jährliches Einkommen:", amount(in.NEINKOMM) + " EUR");
    pair(10, "Erwartete jährliche Einkommens-Steigerung:", percent(in.NEINKSTEIG));
    pair(12, "Anzahl der Kinder bis 18 Jahre im Haushalt lebend:", std::to_string(in.NKINDER));

    job.text(16, kLabelCol, "2. Immobiliendaten:", heading_font());
    pair(18, "Kauf- bzw. Erstellungspreis incl. Grundstück:", amount(in.NKAUFPREIS) + " EUR");
    pair(19, "Jahr des Einzugs in die Immobilie:", std::to_string(in.NEINZUG));
    pair(21, "Wurde ein Neubau erworben/erstellt:", yes_no(in.LNEUBAU));
    pair(22, "Wurde ein Niedrigenergiehaus gebaut:", yes_no(in.LENERGIE));
    pair(23, "Wird die Ökozulage genutzt:", yes_no(in.LOEKOZUL));

    job.text(27, kLabelCol, "3. Eigenheimzulage:", heading_font());
    pair(29, "Zulagenrate:", percent(r.NFOERDRATE));
    pair(30, "Zulage pro Jahr:", amount(r.NABSCHJAHR) + " EUR");
    pair(31, "Zulagenbetrag für die nächsten 8 Jahre:", amount(r.NABSCHREIB) + " EUR");
    pair(33, "Anzahl der Kinder für das Baukindergeld:", std::to_string(in.NKINDER));
    pair(34, "Baukindergeld pro Jahr:", amount(r.NKINDJAHR) + " EUR");
    pair(35, "Baukindergeld gesamt:", amount(r.NKINDGELD) + " EUR");

    job.text(39, kLabelCol, "4. Abschreibungsplan:", heading_font());
    // The plan's columns end at sixths of the page width.
    double col[5];
    for (int i = 0; i < 5; ++i) col[i] = job.cols * (i + 1) / 6.0;
    const char* headings[5] = {"Jahr", "Einkommen", "Abschreibung", "Baukindergeld", "Steuerersparnis"};
    for (int i = 0; i < 5; ++i) job.right(41, col[i], headings[i]);
    double row = 42;
    for (const AbschRow& rec : rows) {
        job.right(row, col[0], std::to_string(rec.JAHR));
        job.right(row, col[1], amount(rec.EINKOMM));
        job.right(row, col[2], amount(rec.ABSCHJAHR));
        job.right(row, col[3], amount(rec.KINDJAHR));
        job.right(row, col[4], amount(rec.STEUERERL));
        ++row;
    }
    job.text(row, kNoteCol, "Alle Beträge in EURO.", heading_font());
    job.text(row + 1, kNoteCol,
             "Die Steuerersparnis ab 2006 ist spekulativ und basiert auf der Steuerformel von 2005 !",
             heading_font());
    return job;
}

}  // namespace vestral::calc
