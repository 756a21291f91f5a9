#include "calc/loans/ratenkredit_print.h"

#include <string>

#include "core/mask.h"
#include "core/opstack.h"

namespace vestral::calc {

namespace {

using toolkit::PrintJob;

// Portrait grid: 60 rows by 80 columns; amounts stand right-aligned at seven tabs.
constexpr double kRows = 60;
constexpr double kCols = 80;
constexpr double kTab = kCols / 7;
constexpr double kBreakRow = 58;
// The rules under the headings and under the body; both end at the right edge of the band.
constexpr double kRuleStart = 2;

constexpr const char* kAmount = "@E 999,999,999.99";

std::string amount(double v) {
    return core::trim(core::format_mask(v, kAmount));
}
std::string fmt(double v, const char* mask) {
    return core::trim(core::format_mask(v, mask));
}

// A label right-aligned at column 35 with its value a small gap to the right.
constexpr double kLabelCol = 35;
constexpr double kValueCol = 36;
void pair(PrintJob& job, double row, std::string_view label, const std::string& value) {
    job.right(row, kLabelCol, label);
    job.text(row, kValueCol, value);
}

}  // namespace

double rk_druck2(PrintJob& job, int page_no, bool with_headings, std::string_view program_title) {
    VESTRAL_OP("RK_DRUCK2");
    job.new_page();
    double row = 1;
    toolkit::title_band(job, 0, 4, 4 + 76, 3, row, 5, 79, program_title,
                        with_headings ? "Ratenkredit-Tilgungsplan" : "Ratenkredit - Zusammenfassung",
                        page_no);
    row += 4;
    if (with_headings) {
        job.text(row, 4, "Monat", toolkit::heading_font());
        const char* heads[] = {"Kredit", "Zinsen", "Zinssumme", "Tilgung", "Tilgsumme", "monatl. Rate"};
        for (int k = 0; k < 6; ++k) job.right(row, kTab * (k + 2), heads[k], toolkit::heading_font());
        row += 1;
        job.line(row, kRuleStart, row, kRuleStart + 78);
        row += 1;
    }
    return row;
}

PrintJob rk_druck(const RkInputs& in, const RkResults& res, const std::vector<RkRow>& rows,
                  std::string_view program_title) {
    VESTRAL_OP("RK_DRUCK");
    PrintJob job;
    job.name = kRkPrintName;
    job.landscape = false;
    job.rows = kRows;
    job.cols = kCols;

    int page_no = 1;
    double row = rk_druck2(job, page_no, true, program_title);
    for (size_t i = 0; i < rows.size(); ++i) {
        const RkRow& r = rows[i];
        job.text(row, 4, std::to_string(r.MONAT));
        const double values[] = {r.KREDIT, r.ZINSEN, r.ZINSSUM, r.TILGUNG, r.TILGSUM, r.MONRATE};
        for (int k = 0; k < 6; ++k) job.right(row, kTab * (k + 2), amount(values[k]));
        row += 1;
        if (row > kBreakRow && i + 1 < rows.size()) {
            // The line under the last row of a full page, then the next page with headings (not
            // when the plan ends here: the rule below closes it and the summary page follows).
            job.line(row, kRuleStart, row, kRuleStart + 77);
            row = rk_druck2(job, ++page_no, true, program_title);
        }
    }
    job.line(row, kRuleStart, row, kRuleStart + 77);

    row = rk_druck2(job, ++page_no, false, program_title);
    job.text(row, 10, "Details:", toolkit::heading_font());
    row += 2;
    pair(job, row, "Bank:", core::trim(in.CBANKNAME));
    row += 2;
    pair(job, row, "Kreditsumme:", amount(in.NKREDIT) + " EUR");
    row += 1;
    pair(job, row, "nominal Zinssatz:", fmt(in.NMONZINS, "@E 9,999,999.999") + " %");
    if (in.NBEARBPRO > 0) {
        row += 2;
        pair(job, row, "Bearbeitungsgebühr:",
             fmt(in.NBEARBPRO, "@E 999.999") + " %  = " + amount(in.NBEARBGEB) + " EUR");
    }
    // The inputs as typed: a rate-driven credit shows 0 months here, a term-driven one a rate of 0.
    row += 2;
    pair(job, row, "Laufzeit:", fmt(in.NLAUFZEIT, "@E 999999") + " Monate");
    row += 1;
    pair(job, row, "monatl. Rate:", amount(in.NMONRATE) + " EUR");

    row += 3;
    job.text(row, 10, "Ergebnis:", toolkit::heading_font());
    row += 2;
    pair(job, row, "Zinssumme:", amount(res.NZINSSUM) + " EUR");
    row += 1;
    pair(job, row, "Tilgungssumme:", amount(res.NTILGSUM) + " EUR");
    row += 2;
    pair(job, row, "Tilgungszeit: ", fmt(res.NLZSUMME, "@E 9999.99") + " Jahre");
    row += 1;
    pair(job, row, "eff. Zinssatz:", fmt(res.NEFFZINS, "@E 999.999") + " %");
    row += 2;
    pair(job, row, "monatl. Rate: ", amount(res.NERSTRATE) + " EUR");
    row += 1;
    pair(job, row, "letzte Rate:", amount(res.NRESTRATE) + " EUR");
    return job;
}

}  // namespace vestral::calc
