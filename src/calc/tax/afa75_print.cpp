#include "calc/tax/afa75_print.h"

#include <algorithm>
#include <cstdio>

#include "core/mask.h"
#include "core/numbers.h"
#include "core/opstack.h"
#include "toolkit/print_form.h"

namespace vestral::calc {

namespace {

constexpr double kFrameLeft = 7;
constexpr double kFrameRight = 80;
constexpr double kHeadCol = 8;
constexpr double kLabelCol = 40;  // labels end here
constexpr double kValueCol = 42;
constexpr int kPlanHeadingRow = 21;
constexpr int kPlanFirstRow = 23;
// The plan's columns end at these twentieths of the page width, the left half first.
constexpr int kPlanGrid = 20;
constexpr int kLeftEnds[4] = {3, 6, 8, 10};
constexpr int kHalfOffset = 9;  // the right half's columns lie nine twentieths further right
// The rate column ends 20 units of the old 300-dpi printers further left: on a page about eight
// inches wide, two thirds of one of its 80 columns.
constexpr double kRateShift = 20.0 / 300.0 * 80.0 / 8.0;
constexpr int kRuleLength = 73;

std::string fixed(double v, int width, int decimals) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%*.*f", width, decimals, v);
    return buf;
}

}  // namespace

toolkit::PrintJob p75e_druck_job(const Afa75Inputs& in, const std::string& cabschart,
                                 const std::vector<Steu75eRow>& rows, const std::string& program_title) {
    VESTRAL_OP("P75E_DRUCK");
    using toolkit::heading_font;
    toolkit::PrintJob job = toolkit::new_print_job("Abschreibung bei Vermietung");
    toolkit::PrintBand band;
    band.left = kFrameLeft;
    band.right = kFrameRight;
    band.text_col = kHeadCol;
    toolkit::PrintForm f(job, program_title, band);
    f.set_pair_columns({kLabelCol, toolkit::PrintAlign::Right, kValueCol, toolkit::PrintAlign::Left});

    f.new_plain_page(program_title + " - Steuerliche Abschreibung bei Vermietung");
    f.frame(4, 17);
    f.frame(18, 49);
    f.frame(50, 56);

    auto yes_no = [](bool b) { return std::string(b ? "JA" : "NEIN"); };
    f.heading(0, "Details:", kHeadCol);
    f.pair(1, "Kaufpreis:", toolkit::print_eur(in.NKAUFPREIS));
    f.pair(2, "Kauf- bzw. Bauantragsstellungsdatum:", core::format_date(in.DKAUFDAT));
    f.pair(1, "Datum der Fertigstellung:", core::format_date(in.DFERTDAT));
    f.pair(2, "Objekt gehört zu einem Betriebsvermögen:", yes_no(in.LBETRVERM));
    f.pair(1, "Objekt dient Wohnzwecken:", yes_no(in.LWOHNUNG));
    // The builder's own claim is always assumed.
    f.pair(1, "Der Hersteller hat eine AFA beantragt:", yes_no(true));
    f.pair(2, "Abschreibungsart:", cabschart);

    f.heading(4, "Abschreibungsplan:", kHeadCol);
    // Two halves side by side, each with its headings and rule; the cells end under the headings.
    auto column = [&](int half, int i) {
        const double c = job.cols * (kLeftEnds[i] + half * kHalfOffset) / kPlanGrid;
        return i == 3 ? c - kRateShift : c;
    };
    const char* headings[4] = {"Jahr", "Freibetrag", "Steuerjahr", "%-Satz"};
    for (int half = 0; half < 2; ++half) {
        for (int i = 0; i < 4; ++i) job.right(kPlanHeadingRow, column(half, i), headings[i], heading_font());
        job.text(kPlanHeadingRow + 1, job.cols * (2 + half * kHalfOffset) / kPlanGrid,
                 std::string(kRuleLength, '-'));
    }

    double sum = 0;
    for (size_t n = 0; n < rows.size(); ++n) {
        const Steu75eRow& r = rows[n];
        const int half = n < static_cast<size_t>(kAfaPrintHalf) ? 0 : 1;
        const double row = kPlanFirstRow + static_cast<double>(n % kAfaPrintHalf);
        job.right(row, column(half, 0), fixed(r.JAHR, 4, 0));
        job.right(row, column(half, 1), fixed(r.FREIBETRAG, 10, 2));
        job.right(row, column(half, 2), fixed(r.STJAHR, 7, 0));
        job.right(row, column(half, 3), fixed(r.STVORTEIL, 9, 2));
        sum = core::round_to(sum + r.FREIBETRAG, 2);
    }

    // Below the longer, left half of the plan.
    const int left_rows = std::min(static_cast<int>(rows.size()), kAfaPrintHalf);
    f.row = kPlanFirstRow + left_rows - 1;
    f.heading(3, "Ergebnis:", kHeadCol);
    f.pair(2, "Addition der Freibeträge:", toolkit::print_eur(sum));
    const int years = rows.empty() ? 0 : rows.back().STJAHR;
    f.pair(1, "Dauer der Abschreibung:", toolkit::print_number(years, "@E 999,999") + " Jahre");
    return job;
}

}  // namespace vestral::calc
