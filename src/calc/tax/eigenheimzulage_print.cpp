#include "calc/tax/eigenheimzulage_print.h"

#include "core/opstack.h"
#include "toolkit/print_form.h"

namespace vestral::calc {

namespace {

using toolkit::print_eur;

constexpr double kLabelCol = 8;
constexpr double kValueCol = 50;
constexpr double kFrameLeft = 7;
constexpr double kFrameRight = 79;
constexpr double kNoteCol = 9;

std::string percent(double v) {
    return toolkit::print_percent(v, "@E 999.99");
}
const char* yes_no(bool b) {
    return b ? "Ja" : "Nein";
}

}  // namespace

toolkit::PrintJob abschdruck_job(const AbschrInputs& in, const AbschrResults& r,
                                 const std::vector<AbschRow>& rows, const std::string& program_title) {
    VESTRAL_OP("ABSCHDRUCK");
    toolkit::PrintJob job = toolkit::new_print_job("Eigenheimzulagen");
    toolkit::PrintBand band;
    band.left = kFrameLeft;
    band.right = kFrameRight;
    band.text_col = kLabelCol;
    toolkit::PrintForm f(job, program_title, band);
    f.set_pair_columns({kLabelCol, toolkit::PrintAlign::Left, kValueCol, toolkit::PrintAlign::Left});

    f.new_plain_page(program_title + " - Eigenheimzulage nach Eigenheimzulagengesetz");
    f.frame(4, 14);
    f.frame(15, 25);
    f.frame(26, 37);
    f.frame(38, 54);

    f.heading(0, "1. Finanzdaten:", kLabelCol);
    f.pair(2, "Berechnung erfolgt nach:", in.NFAMSTAND == 2 ? "Splittingtabelle" : "Grundtabelle");
    f.pair(2, "Zu versteuerndes jährliches Einkommen:", print_eur(in.NEINKOMM));
    f.pair(1, "Erwartete jährliche Einkommens-Steigerung:", percent(in.NEINKSTEIG));
    f.pair(2, "Anzahl der Kinder bis 18 Jahre im Haushalt lebend:", std::to_string(in.NKINDER));

    f.heading(4, "2. Immobiliendaten:", kLabelCol);
    f.pair(2, "Kauf- bzw. Erstellungspreis incl. Grundstück:", print_eur(in.NKAUFPREIS));
    f.pair(1, "Jahr des Einzugs in die Immobilie:", std::to_string(in.NEINZUG));
    f.pair(2, "Wurde ein Neubau erworben/erstellt:", yes_no(in.LNEUBAU));
    f.pair(1, "Wurde ein Niedrigenergiehaus gebaut:", yes_no(in.LENERGIE));
    f.pair(1, "Wird die Ökozulage genutzt:", yes_no(in.LOEKOZUL));

    f.heading(4, "3. Eigenheimzulage:", kLabelCol);
    f.pair(2, "Zulagenrate:", percent(r.NFOERDRATE));
    f.pair(1, "Zulage pro Jahr:", print_eur(r.NABSCHJAHR));
    f.pair(1, "Zulagenbetrag für die nächsten 8 Jahre:", print_eur(r.NABSCHREIB));
    f.pair(2, "Anzahl der Kinder für das Baukindergeld:", std::to_string(in.NKINDER));
    f.pair(1, "Baukindergeld pro Jahr:", print_eur(r.NKINDJAHR));
    f.pair(1, "Baukindergeld gesamt:", print_eur(r.NKINDGELD));

    f.heading(4, "4. Abschreibungsplan:", kLabelCol);
    // The plan's columns end at sixths of the page width.
    toolkit::PrintTable plan;
    const char* headings[5] = {"Jahr", "Einkommen", "Abschreibung", "Baukindergeld", "Steuerersparnis"};
    for (int i = 0; i < 5; ++i) plan.columns.push_back({headings[i], job.cols * (i + 1) / 6.0});
    f.row += 2;
    f.begin_table(plan);
    for (const AbschRow& rec : rows) {
        const char* m = toolkit::kPrintAmountMask;
        f.table_row({std::to_string(rec.JAHR), toolkit::print_number(rec.EINKOMM, m),
                     toolkit::print_number(rec.ABSCHJAHR, m), toolkit::print_number(rec.KINDJAHR, m),
                     toolkit::print_number(rec.STEUERERL, m)});
    }
    f.end_table();
    f.footer(0, "Alle Beträge in EURO.", kNoteCol, toolkit::heading_font());
    f.footer(1, "Die Steuerersparnis ab 2006 ist spekulativ und basiert auf der Steuerformel von 2005 !",
             kNoteCol, toolkit::heading_font());
    return job;
}

}  // namespace vestral::calc
