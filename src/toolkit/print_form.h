// The pieces every printed plan is made of, on top of `PrintJob`: the page band with the page
// number, section headings, "label: value" lines at fixed columns, frames over row ranges, footer
// lines, and tables whose headings are repeated on every page they break onto. Amounts and
// percentages are formatted here once, so all printouts show numbers alike.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "toolkit/print_job.h"

namespace vestral::core {
struct ProgramSettings;
}

namespace vestral::toolkit {

inline constexpr const char* kPrintAmountMask = "@E 999,999,999.99";
inline constexpr const char* kPrintPercentMask = "@E 999.999";

// The page grids of the printouts: portrait 60 rows by 80 columns, landscape 50 by 110.
struct PrintGrid {
    bool landscape = false;
    double rows = 60, cols = 80;
};
inline constexpr PrintGrid kPortraitGrid{false, 60, 80};
inline constexpr PrintGrid kLandscapeGrid{true, 50, 110};

// An empty job with its name (also the PDF file's name) on a grid.
PrintJob new_print_job(std::string_view name, PrintGrid grid = kPortraitGrid);

// The mask's text of `v` without its leading blanks ("1.234,50").
std::string print_number(double v, std::string_view mask);
// As print_number, but blank for 0 (plan columns that leave empty months empty).
std::string print_number_or_blank(double v, std::string_view mask);
// An amount followed by " EUR".
std::string print_eur(double v, std::string_view mask = kPrintAmountMask);
// A rate followed by " %".
std::string print_percent(double v, std::string_view mask = kPrintPercentMask);

inline PrintFont footer_font() {
    return {"Arial", 8, false};
}

// The small print under the one-page cost printouts: program name, a blank, version, " - ", the
// rights notice, " - " and the web address, as the settings give them.
std::string program_footer(const core::ProgramSettings& s);

// Where the parts of a "label: value" line stand. The default is the plans' summary page: the
// label ends at column 35 and the value starts at column 36. A unit either follows the value after
// one blank (`unit_col` < 0) or stands on its own from `unit_col`, so that right-aligned values can
// end at one column with their units lined up behind them.
struct PairColumns {
    double label_col = 35;
    PrintAlign label_align = PrintAlign::Right;
    double value_col = 36;
    PrintAlign value_align = PrintAlign::Left;
    double unit_col = -1;
};

// The framed band at the head of a page (see title_band) and where the text below it starts.
struct PrintBand {
    double top = 0, left = 4, right = 80, height = 3;
    double text_row = 1, text_col = 5;
    double page_col = 79;  // "Seite: n" ends here (not on a plain page)
    double body_row = 5;   // the first row under the band
};

// One column of a printed table: its heading and where its cells stand (a right-aligned cell ends
// at `col`, a left-aligned one starts there).
struct PrintColumn {
    std::string heading;
    double col = 0;
    PrintAlign align = PrintAlign::Right;
};

// A rule across the page: from `col` over `length` columns.
struct PrintRule {
    double col = 0, length = 0;
};

struct PrintTable {
    std::vector<PrintColumn> columns;
    PrintFont heading_font = body_font();
    // The rule one row under the headings, with one more row before the first cell row; length 0:
    // no rule, the rows start right under the headings.
    PrintRule heading_rule;
    // A page is full once a row has been placed below this row: the next row goes onto a new page
    // with the band and the headings again. Before that, `break_gap` rows under the last row, the
    // page is closed with `break_rule`.
    double last_row = 1e9;
    double break_gap = 0;
    PrintRule break_rule;
    // Also break after the very last row of a full page (the new page then holds only the headings).
    bool break_after_last = false;
};

// Builds the pages of one printout. `row` is the current row; the line helpers first move it by
// their `advance`, then place their texts on it.
class PrintForm {
  public:
    PrintForm(PrintJob& job, std::string_view program_title, PrintBand band = {});

    PrintJob& job() { return job_; }
    int page_no() const { return page_no_; }
    const PrintBand& band() const { return band_; }

    double row = 0;

    // Starts a page: the band with the program title + " - " + `title` and the page number; `row`
    // becomes the band's body row.
    void new_page(std::string_view title);
    // Starts a page with only a frame over the band's rows and `text` in the title font (a
    // one-page printout without a page number).
    void new_plain_page(std::string_view text, PrintFont font = title_font());

    // A section heading in the heading font.
    void heading(double advance, std::string_view text, double col);
    // "label  value unit" on one line; an empty value places only the label.
    void pair(double advance, std::string_view label, std::string_view value, std::string_view unit = {});
    void pair(double advance, const PairColumns& at, std::string_view label, std::string_view value,
              std::string_view unit = {});
    void set_pair_columns(const PairColumns& at) { pairs_ = at; }
    const PairColumns& pair_columns() const { return pairs_; }

    // A thin frame (or `pen`) from the band's left to its right edge over rows `top` to `bottom`.
    void frame(double top, double bottom, int pen = 1);
    // A rule at the current row.
    void rule(const PrintRule& r, int pen = 1);
    // A line of small print (program, notice, address) at the current row after `advance`.
    void footer(double advance, std::string_view text, double col, PrintFont font = footer_font());

    // Tables: the headings on the current row (and the rule under them), then rows that break onto
    // new pages of the same title, with the headings repeated.
    void begin_table(const PrintTable& table);
    // Places the non-empty cells (one per column) on the current row and moves on one row.
    void table_row(const std::vector<std::string>& cells);
    // Ends the table; afterwards `row` is the row under the last cell row.
    void end_table();

  private:
    void table_headings();

    PrintJob& job_;
    std::string program_;
    PrintBand band_;
    PairColumns pairs_;
    std::string title_;
    int page_no_ = 0;
    PrintTable table_;
    bool in_table_ = false;
    bool page_full_ = false;
};

}  // namespace vestral::toolkit
