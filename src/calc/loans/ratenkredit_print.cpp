#include "calc/loans/ratenkredit_print.h"

#include <string>

#include "core/mask.h"
#include "core/opstack.h"
#include "toolkit/print_form.h"

namespace vestral::calc {

namespace {

using toolkit::print_eur;
using toolkit::print_number;
using toolkit::print_percent;
using toolkit::PrintJob;

// Portrait grid: 60 rows by 80 columns; amounts stand right-aligned at seven tabs.
constexpr double kRows = 60;
constexpr double kCols = 80;
constexpr double kTab = kCols / 7;
constexpr double kBreakRow = 58;
// The rules under the headings and under the body; both end at the right edge of the band.
constexpr double kRuleStart = 2;

toolkit::PrintTable plan_table() {
    toolkit::PrintTable t;
    t.heading_font = toolkit::heading_font();
    t.columns = {{"Monat", 4, toolkit::PrintAlign::Left}};
    const char* heads[] = {"Kredit", "Zinsen", "Zinssumme", "Tilgung", "Tilgsumme", "monatl. Rate"};
    for (int k = 0; k < 6; ++k) t.columns.push_back({heads[k], kTab * (k + 2)});
    t.heading_rule = {kRuleStart, 78};
    // The line under the last row of a full page, then the next page with headings (not when the
    // plan ends there: the closing rule follows and the summary page comes next).
    t.last_row = kBreakRow;
    t.break_rule = {kRuleStart, 77};
    return t;
}

}  // namespace

PrintJob rk_druck(const RkInputs& in, const RkResults& res, const std::vector<RkRow>& rows,
                  std::string_view program_title) {
    VESTRAL_OP("RK_DRUCK");
    PrintJob job = toolkit::new_print_job(kRkPrintName, {false, kRows, kCols});
    toolkit::PrintForm f(job, program_title);

    f.new_page("Ratenkredit-Tilgungsplan");
    f.begin_table(plan_table());
    for (const RkRow& r : rows) {
        std::vector<std::string> cells{std::to_string(r.MONAT)};
        for (double v : {r.KREDIT, r.ZINSEN, r.ZINSSUM, r.TILGUNG, r.TILGSUM, r.MONRATE})
            cells.push_back(print_number(v, toolkit::kPrintAmountMask));
        f.table_row(cells);
    }
    f.end_table();
    f.rule({kRuleStart, 77});

    f.new_page("Ratenkredit - Zusammenfassung");
    f.heading(0, "Details:", 10);
    f.pair(2, "Bank:", core::trim(in.CBANKNAME));
    f.pair(2, "Kreditsumme:", print_eur(in.NKREDIT));
    f.pair(1, "nominal Zinssatz:", print_percent(in.NMONZINS, "@E 9,999,999.999"));
    if (in.NBEARBPRO > 0)
        f.pair(2, "Bearbeitungsgebühr:", print_percent(in.NBEARBPRO) + "  = " + print_eur(in.NBEARBGEB));
    // The inputs as typed: a rate-driven credit shows 0 months here, a term-driven one a rate of 0.
    f.pair(2, "Laufzeit:", print_number(in.NLAUFZEIT, "@E 999999"), "Monate");
    f.pair(1, "monatl. Rate:", print_eur(in.NMONRATE));

    f.heading(3, "Ergebnis:", 10);
    f.pair(2, "Zinssumme:", print_eur(res.NZINSSUM));
    f.pair(1, "Tilgungssumme:", print_eur(res.NTILGSUM));
    f.pair(2, "Tilgungszeit: ", print_number(res.NLZSUMME, "@E 9999.99"), "Jahre");
    f.pair(1, "eff. Zinssatz:", print_percent(res.NEFFZINS));
    f.pair(1, "effektiver Jahreszins (PAngV):", res.NJAHRESZINS ? print_percent(*res.NJAHRESZINS) : "");
    f.pair(2, "monatl. Rate: ", print_eur(res.NERSTRATE));
    f.pair(1, "letzte Rate:", print_eur(res.NRESTRATE));
    return job;
}

}  // namespace vestral::calc
