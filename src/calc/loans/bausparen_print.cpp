#include "calc/loans/bausparen_print.h"

#include <string>

#include "core/clock.h"
#include "core/mask.h"
#include "core/numbers.h"
#include "core/opstack.h"
#include "toolkit/print_form.h"

namespace vestral::calc {

namespace {

using toolkit::print_eur;
using toolkit::print_number;
using toolkit::print_number_or_blank;
using toolkit::PrintJob;

constexpr double kLeft = 4;      // the band and the date column
constexpr double kAction = 13;   // the action column
constexpr double kRight = 80;    // the band's right edge
constexpr double kLastRow = 55;  // a row beyond this starts a new page
// Rules start two steps left of the band so that their stated lengths stay on the page.
constexpr double kRuleLeft = 2;

double tab(int n) {
    return n * 80.0 / 7.0;
}

const char* plan_title(BauPlan plan) {
    switch (plan) {
        case BauPlan::Savings:
            return "Bausparen - Ansparplan";
        case BauPlan::Loan:
            return "Bausparen - Tilgungsplan";
        case BauPlan::Summary:
            break;
    }
    return "Bausparen - Zusammenfassung";
}

toolkit::PrintTable plan_table(BauPlan plan) {
    toolkit::PrintTable t;
    t.columns = {{"Datum", kLeft, toolkit::PrintAlign::Left},
                 {"Aktion", kAction, toolkit::PrintAlign::Left},
                 {"Zahlung", tab(3)},
                 {"Gebühren ", tab(4)},
                 {"Zinsen", tab(5)},
                 {plan == BauPlan::Loan ? "Tilgung" : "Gutschrift", tab(6)},
                 {"Kontostand", tab(7)}};
    t.heading_rule = {kRuleLeft, 78};
    t.last_row = kLastRow;
    t.break_gap = 1;
    t.break_rule = {kRuleLeft, 77};
    return t;
}

// BAU_DRUCK2 with headings, then the plan's rows.
void print_plan(toolkit::PrintForm& f, BauPlan plan, const BausparRow* first, const BausparRow* last) {
    f.new_page(plan_title(plan));
    f.begin_table(plan_table(plan));
    const bool loan = plan == BauPlan::Loan;
    for (const BausparRow* r = first; r != last; ++r) {
        f.table_row({core::format_date(r->DATUM), r->AKTION,
                     loan ? print_number_or_blank(r->EINZAHLUNG, "@E 9,999,999.99")
                          : print_number(r->EINZAHLUNG, "@E 9,999,999.99"),
                     print_number_or_blank(r->GEBUEHR, "@E 99,999.99"),
                     print_number_or_blank(r->ZINSEN, "@E 99,999.99"),
                     loan ? print_number_or_blank(r->TILGUNG, "@E 99,999.99")
                          : print_number(r->SPAREN, "@E 99,999.99"),
                     print_number(r->KTOSTAND, "@E 9,999,999.99")});
    }
    f.end_table();
}

std::string years_months(double v) {
    return "   in " + core::format_plain(v, 2) + " Jahren, Monaten";
}

}  // namespace

PrintJob bau_druck(const BauInputs& in, const BauResults& res, const std::vector<BausparRow>& rows,
                   std::string_view program_title) {
    VESTRAL_OP("BAU_DRUCK");
    PrintJob job = toolkit::new_print_job("Bausparplan");
    toolkit::PrintBand band;
    band.left = kLeft;
    band.right = kRight;
    toolkit::PrintForm f(job, program_title, band);

    // Savings plan: the rows before the allocation (whose loan field is the first one filled).
    size_t split = 0;
    double printed_interest = 0;
    for (; split < rows.size() && rows[split].KREDIT == 0 && rows[split].CODE != 0; ++split)
        printed_interest += rows[split].ZINSEN;
    print_plan(f, BauPlan::Savings, rows.data(), rows.data() + split);
    // Loan plan: from the allocation row to the end.
    print_plan(f, BauPlan::Loan, rows.data() + split, rows.data() + rows.size());

    // Summary.
    f.row += 1;
    f.rule({kRuleLeft, 77});
    f.new_page(plan_title(BauPlan::Summary));
    const double top = f.row;
    f.frame(top, top + 13);
    f.frame(top + 14, top + 23);
    f.frame(top + 24, top + 38);

    f.heading(1, "Zusammenfassung:", 10);
    f.pair(2, "Bank:", core::trim(in.CBANKNAME));
    f.pair(2, "Bausparsumme:", print_eur(in.NBAUSPSUM));
    f.pair(2, "Vertragsabschlussgebühren:", toolkit::print_percent(in.NABSCHGEB, "@E 9,999,999.999"));
    f.pair(1, "monatl. Kontoführungsgebühren:", print_eur(in.NKONTOGEB, "@E 9,999,999.999"));
    f.pair(1, "Summe der Gebühren:", print_eur(res.NGEBSUM));
    f.pair(2, "Vertragsbeginn:", core::format_plain(in.NABJAHR, 0));

    f.heading(4, "Ansparphase:", 10);
    f.pair(2, "Sparanteil:", toolkit::print_percent(in.NSPARTEIL, "@E 99.99"));
    f.pair(1, "Sparzinssatz:", toolkit::print_percent(in.NSZINSSTZ));
    f.pair(1, "monatliche Rate:", print_eur(in.NMONRATE, "@E 9,999,999.99"));
    f.pair(1, "angesparte Summe:", print_eur(res.NSSUMME) + years_months(res.NSMONATE));
    f.pair(1, "davon Zinsen:", print_eur(printed_interest));

    f.heading(4, "Tilgungsphase:", 10);
    f.pair(2, "Tilgungssumme:", print_eur(res.NTSUMME) + "   (Bausparsumme ./. angesparte Summe)");
    f.pair(2, "Tilgung pro Jahr:", toolkit::print_percent(in.NTILGANNO));
    f.pair(1, "Tilgungszinssatz:", toolkit::print_percent(in.NTZINSSTZ));
    f.pair(1, "Dauer der Zinsbindung:", print_number(in.NTFESTZEIT, "@E 999999"), "Jahre");
    f.pair(1, "Zinssatz nach Festzeit:", toolkit::print_percent(in.NTZINSNACH));
    f.pair(2, "monatliche Tilgung:", print_eur(res.NMONTILG));
    f.pair(1, "gezahlte Summe:", print_eur(res.NZSUMME) + years_months(res.NTMONATE));
    f.pair(1, "davon Zinsen:", print_eur(res.NZSUMME - res.NTSUMME));
    return job;
}

}  // namespace vestral::calc
