#include "calc/loans/hypotilg_print.h"

#include <string>

#include "core/mask.h"
#include "core/numbers.h"
#include "core/opstack.h"
#include "toolkit/print_form.h"

namespace vestral::calc {

const char* hypo_month_name(int month) {
    if (month < 1 || month > 12) return "";
    return kHypoMonths[month - 1];
}

namespace {

using toolkit::print_eur;
using toolkit::print_number;
using toolkit::print_percent;
using toolkit::PrintJob;

constexpr const char* kTitle = "Hypothekentilgungsplan";

double tab(int n) {
    return kHtTab * n;
}

toolkit::PrintTable plan_table() {
    toolkit::PrintTable t;
    t.columns = {{"Datum", 2, toolkit::PrintAlign::Left}};
    const char* titles[] = {"Hypothek",      "Zinsen",        "Tilgung",  "Monatsrate", "Gebühren",
                            "Sond.-Tilgung", "Rest-Hypothek", "Restzins", "Geb.-Summe", "Sond.-Summe"};
    for (int k = 0; k < 10; ++k) t.columns.push_back({titles[k], tab(k + 2)});
    t.heading_rule = {2, 108};
    t.last_row = kHtBreakRow;
    t.break_gap = 1;
    t.break_rule = {1, 109};
    // A page filled by the plan's last row is followed by one with only the headings.
    t.break_after_last = true;
    return t;
}

}  // namespace

toolkit::PrintJob ht_druck(const HypoInputs& in, const HypoResults& res, const std::vector<HypoRow>& rows,
                           std::string_view program_title) {
    VESTRAL_OP("HT_DRUCK");
    PrintJob job = toolkit::new_print_job(kTitle, {true, kHtRows, kHtCols});
    toolkit::PrintBand band;
    band.left = 2;
    band.right = kHtCols;
    band.text_col = 3;
    band.page_col = 109;
    toolkit::PrintForm f(job, program_title, band);

    f.new_page(kTitle);
    f.begin_table(plan_table());
    // The sums are those of the printed (stored, two-decimal) values.
    double fee_sum = 0, special_sum = 0;
    const char* m12 = "@E 99,999,999.99";
    const char* m13 = "@E 999,999,999.99";
    for (const HypoRow& r : rows) {
        if (r.KEY != 1) continue;
        f.table_row({core::format_date(r.DATUM), print_number(r.HYPOTHEK, m13), print_number(r.ZINSEN, m12),
                     print_number(r.TILGUNG, m12), print_number(r.MONRATE, m12), print_number(r.GEBUEHR, m12),
                     print_number(r.EINMALDM, m12), print_number(r.RESTHYP, m13),
                     print_number(r.RESTZINS, m12), print_number(r.GEBUSUM, m12),
                     print_number(r.EINMSUM, m12)});
        fee_sum += core::round_to(r.GEBUEHR, 2);
        special_sum += core::round_to(r.EINMALDM, 2);
    }
    f.end_table();
    f.row += 1;
    f.rule({2, 108});

    f.new_page(kTitle);
    const double top = f.row;
    f.frame(top, top + 21);
    f.frame(top + 22, top + 38);
    f.heading(1, "Zusammenfassung:", 10);
    f.pair(2, "Bank:", core::trim(in.CBANKNAME));
    f.pair(2, "Hypothekensumme:", print_eur(in.NHYPOTHEK));
    f.pair(1, "nom. Zinssatz:", print_percent(in.NZINSSATZ));
    f.pair(2, "Tilgung pro Jahr:", print_percent(in.NTILGANNO));
    f.pair(1, "Vertragsbeginn:", core::format_date(in.DABDATUM));
    f.pair(2, "Zinsbindung:", std::to_string(in.NLAUFZEIT), "Jahre");
    f.pair(1, "Zins nach Festzeit:", print_percent(in.NZINSNACH));
    if (in.NEINMALDM > 0) {
        f.pair(2, "jährliche Sondertilgung.:", print_eur(in.NEINMALDM));
        f.pair(1, "Zahlungsmonat:", hypo_month_name(in.NEINMALMO));
    }
    if (in.NKONTOGEB > 0 || in.NKREDITPR > 0 || in.NKREDITDM > 0) {
        f.pair(2, "Finanzierte Gebühren:", "");
        if (in.NKONTOGEB > 0)
            f.pair(1, "jährliche Kontoführungsgeb.:", print_eur(in.NKONTOGEB, "@E 999,999.99"));
        if (in.NKREDITPR > 0 || in.NKREDITDM > 0)
            f.pair(1, "jährliche Kreditgebühren:",
                   print_eur(in.NKREDITDM, "@E 999,999.99") + " = " +
                       print_percent(in.NKREDITPR, "@E 999,999") + " der Hypothekensumme");
    }
    f.heading(4, "Ergebnis:", 10);
    f.pair(2, "Zinssumme:", print_eur(res.NZINSSUM));
    f.pair(1, "Tilgungssumme:", print_eur(res.NTILGSUM));
    f.pair(2, "Tilgungszeit:", print_number(res.NTILGZEIT, "@E 999.99"), "Jahre");
    f.pair(2, "Summe Gebühren:", print_eur(fee_sum));
    f.pair(1, "Summe Sondertilgungen:", print_eur(special_sum));
    f.pair(2, "monatliche Rate:", print_eur(res.NANNUITAT));
    f.pair(1, "monatliche Rate nach Festzeit:", print_eur(res.NANNUITA2));
    f.pair(2, "effektiver Zinssatz:", print_percent(res.NEFFZINS));
    f.pair(1, "effektiver Jahreszins (PAngV):", res.NJAHRESZINS ? print_percent(*res.NJAHRESZINS) : "");
    return job;
}

}  // namespace vestral::calc
