#include "calc/loans/hypspar_print.h"

#include <string>

#include "core/mask.h"
#include "core/numbers.h"
#include "core/opstack.h"
#include "toolkit/print_form.h"

namespace vestral::calc {

namespace {

using toolkit::print_eur;
using toolkit::print_number;
using toolkit::print_percent;

constexpr double kRows = 50;
constexpr double kCols = 110;
constexpr double kBreakRow = 44;
constexpr const char* kValue = "@E 999,999,999.99";

toolkit::PrintTable plan_table(std::initializer_list<const char*> headings, double tab) {
    toolkit::PrintTable t;
    int k = 1;
    for (const char* h : headings) t.columns.push_back({h, tab * k++});
    t.heading_rule = {2, 108};
    t.last_row = kBreakRow;
    t.break_gap = 1;
    t.break_rule = {1, 109};
    return t;
}

// The fee block of a summary page: an account fee, then a surcharge or credit fee as EUR and percent.
void fee_block(toolkit::PrintForm& f, double account_fee, double pct, double eur, const char* fee_label,
               const char* what) {
    if (account_fee <= 0 && pct <= 0 && eur <= 0) return;
    f.row += 1;
    if (account_fee > 0) {
        f.pair(1, "jährliche Kontoführungsgeb.:", print_eur(account_fee, "@E 999,999.99"));
        if (pct > 0) f.row += 1;
    }
    if (pct > 0 || eur > 0)
        f.pair(account_fee > 0 ? 0 : 1, fee_label,
               print_eur(eur, "@E 999,999.99") + " = " + print_percent(pct, "@E 999,999") + " " + what);
}

}  // namespace

toolkit::PrintJob hs_druck(const HsInputs& in, const HsResults& res, const std::vector<HsRow>& savings,
                           const std::vector<HsRow>& mortgage, std::string_view program_title) {
    VESTRAL_OP("HS_DRUCK");
    toolkit::PrintJob job = toolkit::new_print_job(kHsPrintName, {true, kRows, kCols});
    toolkit::PrintBand band;
    band.left = 2;
    band.right = kCols;
    band.text_col = 3;
    band.page_col = 109;
    toolkit::PrintForm f(job, program_title, band);
    const bool term_given = in.NSPMRATE == 0;

    if (in.NTILGSUMM > 0) {
        f.new_page("Ansparplan");
        f.begin_table(plan_table({"Datum", "Sparsumme", "Zinsen", "Zinssumme", "Sparrate", "Kontof.-Gebühr",
                                  "Ausgabeaufschlag", "Kontostand"},
                                 kCols / 9));
        for (const HsRow& r : savings)
            f.table_row({core::format_date(r.SPARDAT), print_number(r.SPARSUMM, kValue),
                         print_number(r.SPARZINS, kValue), print_number(r.SPARZSUM, kValue),
                         print_number(r.SPARRATE, kValue), print_number(r.SGEBUEHR, kValue),
                         print_number(r.SGEBAUSDM, kValue), print_number(r.SPARKONTO, kValue)});
        f.end_table();
        f.row += 1;
        f.rule({2, 108});

        f.new_page("Ansparplan");
        const double top = f.row;
        f.frame(top, top + 14);
        f.frame(top + 15, top + 28);
        f.heading(1, "Zusammenfassung:", 10);
        f.pair(2, "Bank:", core::trim(in.CSPARNAME));
        f.pair(2, "Ansparsumme:", print_eur(in.NTILGSUMM));
        f.pair(1, "nom. Zinssatz:", print_percent(in.NSPZINS));
        f.pair(2, "Vertragsbeginn:", std::to_string(in.NABJAHR));
        fee_block(f, in.NSPKTOGEB, in.NSPAUSZU, in.NSPAUSDM, "Ausgabeaufschlag:", "der monatl. Sparrate");
        f.row = top + 15;
        f.heading(1, "Ergebnis:", 10);
        f.pair(2, "Summe der Zinsen:", print_eur(res.NSPARZINS));
        f.pair(2, "Summe der Gebühren:", print_eur(res.NSPARGEBS));
        f.pair(2, "Laufzeit:",
               term_given ? std::to_string(in.NSPLZEIT) : print_number(res.NSPARLZMR, "@E 999.99"), "Jahre");
        f.pair(1, "monatliche Sparrate:",
               print_number(term_given ? res.NSPARLZMR : in.NSPMRATE, "@E 999,999.99"), "EUR");
        f.pair(2, "effektiver Zinssatz:", print_percent(res.NSEFFZINS));
    }

    if (in.NHYPOTHEK > 0) {
        f.new_page("Hypothekenplan");
        f.begin_table(plan_table(
            {"Datum", "Hypothek", "Zinsrate", "Zinssumme", "Gebühren", "Kontostand", "Restzins"}, kCols / 8));
        for (const HsRow& r : mortgage)
            f.table_row({core::format_date(r.TILGDAT), print_number(r.HYPOTHEK, kValue),
                         print_number(r.ANUITAT, kValue), print_number(r.ZINSSUM, kValue),
                         print_number(r.TGEBUEHR, kValue), print_number(r.GEZAHLT + r.HYPOTHEK, kValue),
                         print_number(r.RESTZINS, kValue)});
        f.end_table();
        f.row += 1;
        f.rule({2, 108});

        f.new_page("Hypothekenplan");
        const double top = f.row;
        f.frame(top, top + 17);
        f.frame(top + 18, top + 30);
        f.heading(1, "Zusammenfassung:", 10);
        f.pair(2, "Bank:", core::trim(in.CTILGNAME));
        f.pair(2, "Hypothekensumme:", print_eur(in.NHYPOTHEK));
        f.pair(1, "nom. Zinssatz:", print_percent(in.NHYPZSATZ));
        f.pair(2, "Vertragsbeginn:", std::to_string(in.NABJAHR));
        f.pair(1, "Vertragslaufzeit:",
               term_given ? std::to_string(in.NSPLZEIT) : core::format_plain(res.NSPARLZMR, 2), "Jahre");
        f.pair(2, "Zinsbindung:", std::to_string(in.NHYPZFEST), "Jahre");
        f.pair(1, "Zins nach Festzeit:", print_percent(in.NHYPZNACH));
        fee_block(f, in.NTIKTOGEB, in.NKREDITPR, in.NKREDITDM,
                  "jährliche Kreditgebühren:", "der Hypothekensumme");
        f.row = top + 18;
        f.heading(1, "Ergebnis:", 10);
        f.pair(2, "Summe der Sparzinsen:", print_eur(res.NZINSSUM));
        f.pair(2, "Summe der Gebühren:", print_eur(res.NGEBUSUM));
        f.pair(2, "monatliche Zins-Zahlung:", print_eur(res.NANNUITAT));
        f.pair(1, "monatliche Zins-Zahlung nach Festzeit:", print_eur(res.NANNUITA2));
        f.pair(2, "effektiver Zinssatz:", print_percent(res.NEFFZINS));
    }
    return job;
}

}  // namespace vestral::calc
