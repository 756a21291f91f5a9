#include "calc/loans/bausparen_print.h"

#include <string>

#include "core/clock.h"
#include "core/mask.h"
#include "core/numbers.h"
#include "core/opstack.h"

namespace vestral::calc {

namespace {

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

std::string masked(double v, const char* mask) {
    return core::trim(core::format_mask(v, mask));
}
std::string masked_blank0(double v, const char* mask) {
    return v == 0 ? std::string() : masked(v, mask);
}
std::string amount(double v) {
    return masked(v, "@E 999,999,999.99") + " EUR";
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

class BauPrinter {
  public:
    BauPrinter(PrintJob& job, std::string_view program_title) : job_(job), program_(program_title) {}

    // BAU_DRUCK2: a new page with its band and, when asked, the column headings.
    void header(bool headings, BauPlan plan) {
        ++page_;
        job_.new_page();
        toolkit::title_band(job_, 0, kLeft, kRight, 3, 1, 5, 79, program_, plan_title(plan), page_);
        row_ = 1 + 4;
        if (!headings) return;
        job_.text(row_, kLeft, "Datum");
        job_.text(row_, kAction, "Aktion");
        job_.right(row_, tab(3), "Zahlung");
        job_.right(row_, tab(4), "Gebühren ");
        job_.right(row_, tab(5), "Zinsen");
        job_.right(row_, tab(6), plan == BauPlan::Loan ? "Tilgung" : "Gutschrift");
        job_.right(row_, tab(7), "Kontostand");
        row_ += 1;
        job_.line(row_, kRuleLeft, row_, kRuleLeft + 78);
        row_ += 1;
    }

    // Before each row: a full page ends with a rule and goes on on a new one.
    void room_for_row(BauPlan plan) {
        if (row_ <= kLastRow) return;
        row_ += 1;
        job_.line(row_, kRuleLeft, row_, kRuleLeft + 77);
        header(true, plan);
    }

    void plan_row(const BausparRow& r, BauPlan plan) {
        room_for_row(plan);
        job_.text(row_, kLeft, core::format_date(r.DATUM));
        job_.text(row_, kAction, r.AKTION);
        const std::string payment = plan == BauPlan::Loan ? masked_blank0(r.EINZAHLUNG, "@E 9,999,999.99")
                                                          : masked(r.EINZAHLUNG, "@E 9,999,999.99");
        amount_at(3, payment);
        amount_at(4, masked_blank0(r.GEBUEHR, "@E 99,999.99"));
        amount_at(5, masked_blank0(r.ZINSEN, "@E 99,999.99"));
        amount_at(6, plan == BauPlan::Loan ? masked_blank0(r.TILGUNG, "@E 99,999.99")
                                           : masked(r.SPAREN, "@E 99,999.99"));
        amount_at(7, masked(r.KTOSTAND, "@E 9,999,999.99"));
        row_ += 1;
    }

    // A blank amount places nothing.
    void amount_at(int n, const std::string& text) {
        if (!text.empty()) job_.right(row_, tab(n), text);
    }

    // One summary line: the label right-aligned at column 35, the value just right of it.
    void line(double advance, const std::string& label, const std::string& value) {
        row_ += advance;
        job_.right(row_, 35, label);
        job_.text(row_, 36, value);
    }
    void heading(double advance, const std::string& text) {
        row_ += advance;
        job_.text(row_, 10, text, toolkit::heading_font());
    }

    void rule() { job_.line(row_, kRuleLeft, row_, kRuleLeft + 77); }

    double row_ = 0;
    PrintJob& job_;

  private:
    std::string program_;
    int page_ = 0;
};

}  // namespace

PrintJob bau_druck(const BauInputs& in, const BauResults& res, const std::vector<BausparRow>& rows,
                   std::string_view program_title) {
    VESTRAL_OP("BAU_DRUCK");
    PrintJob job;
    job.name = "Bausparplan";
    job.landscape = false;
    job.rows = 60;
    job.cols = 80;
    BauPrinter p(job, program_title);

    // Savings plan: the rows before the allocation (whose loan field is the first one filled).
    p.header(true, BauPlan::Savings);
    double printed_interest = 0;
    size_t i = 0;
    for (; i < rows.size() && rows[i].KREDIT == 0 && rows[i].CODE != 0; ++i) {
        p.plan_row(rows[i], BauPlan::Savings);
        printed_interest += rows[i].ZINSEN;
    }

    // Loan plan: from the allocation row to the end.
    p.header(true, BauPlan::Loan);
    for (; i < rows.size(); ++i) p.plan_row(rows[i], BauPlan::Loan);

    // Summary.
    p.row_ += 1;
    p.rule();
    p.header(false, BauPlan::Summary);
    const double top = p.row_;
    job.box(top, kLeft, top + 13, kRight);
    job.box(top + 14, kLeft, top + 23, kRight);
    job.box(top + 24, kLeft, top + 38, kRight);

    p.heading(1, "Zusammenfassung:");
    p.line(2, "Bank:", core::trim(in.CBANKNAME));
    p.line(2, "Bausparsumme:", amount(in.NBAUSPSUM));
    p.line(2, "Vertragsabschlussgebühren:", masked(in.NABSCHGEB, "@E 9,999,999.999") + " %");
    p.line(1, "monatl. Kontoführungsgebühren:", masked(in.NKONTOGEB, "@E 9,999,999.999") + " EUR");
    p.line(1, "Summe der Gebühren:", amount(res.NGEBSUM));
    p.line(2, "Vertragsbeginn:", core::format_plain(in.NABJAHR, 0));

    p.heading(4, "Ansparphase:");
    p.line(2, "Sparanteil:", masked(in.NSPARTEIL, "@E 99.99") + " %");
    p.line(1, "Sparzinssatz:", masked(in.NSZINSSTZ, "@E 999.999") + " %");
    p.line(1, "monatliche Rate:", masked(in.NMONRATE, "@E 9,999,999.99") + " EUR");
    p.line(1, "angesparte Summe:",
           amount(res.NSSUMME) + "   in " + core::format_plain(res.NSMONATE, 2) + " Jahren, Monaten");
    p.line(1, "davon Zinsen:", amount(printed_interest));

    p.heading(4, "Tilgungsphase:");
    p.line(2, "Tilgungssumme:", amount(res.NTSUMME) + "   (Bausparsumme ./. angesparte Summe)");
    p.line(2, "Tilgung pro Jahr:", masked(in.NTILGANNO, "@E 999.999") + " %");
    p.line(1, "Tilgungszinssatz:", masked(in.NTZINSSTZ, "@E 999.999") + " %");
    p.line(1, "Dauer der Zinsbindung:", masked(in.NTFESTZEIT, "@E 999999") + " Jahre");
    p.line(1, "Zinssatz nach Festzeit:", masked(in.NTZINSNACH, "@E 999.999") + " %");
    p.line(2, "monatliche Tilgung:", amount(res.NMONTILG));
    p.line(1, "gezahlte Summe:",
           amount(res.NZSUMME) + "   in " + core::format_plain(res.NTMONATE, 2) + " Jahren, Monaten");
    p.line(1, "davon Zinsen:", amount(res.NZSUMME - res.NTSUMME));
    return job;
}

}  // namespace vestral::calc
