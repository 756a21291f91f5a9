#include "toolkit/print_form.h"

#include "core/mask.h"
#include "core/program_settings.h"

namespace vestral::toolkit {

namespace {
constexpr int kBandPen = 5;  // as title_band draws it
}  // namespace

PrintJob new_print_job(std::string_view name, PrintGrid grid) {
    PrintJob job;
    job.name = std::string(name);
    job.landscape = grid.landscape;
    job.rows = grid.rows;
    job.cols = grid.cols;
    return job;
}

std::string program_footer(const core::ProgramSettings& s) {
    return s.pcrelease1 + " " + s.pcrelease2 + " - " + s.pcrelease0 + " - " + s.cs_www;
}

std::string print_number(double v, std::string_view mask) {
    return core::trim_left(core::format_mask(v, mask));
}

std::string print_number_or_blank(double v, std::string_view mask) {
    return v == 0 ? std::string() : print_number(v, mask);
}

std::string print_eur(double v, std::string_view mask) {
    return print_number(v, mask) + " EUR";
}

std::string print_percent(double v, std::string_view mask) {
    return print_number(v, mask) + " %";
}

PrintForm::PrintForm(PrintJob& job, std::string_view program_title, PrintBand band)
    : job_(job), program_(program_title), band_(band) {}

void PrintForm::new_page(std::string_view title) {
    ++page_no_;
    job_.new_page();
    title_ = std::string(title);
    const PrintBand& b = band_;
    title_band(job_, b.top, b.left, b.right, b.height, b.text_row, b.text_col, b.page_col, program_, title_,
               page_no_);
    row = b.body_row;
    page_full_ = false;
}

void PrintForm::new_plain_page(std::string_view text, PrintFont font) {
    ++page_no_;
    job_.new_page();
    title_.clear();
    const PrintBand& b = band_;
    job_.box(b.top, b.left, b.top + b.height, b.right, kBandPen);
    job_.text(b.text_row, b.text_col, text, std::move(font));
    row = b.body_row;
    page_full_ = false;
}

void PrintForm::heading(double advance, std::string_view text, double col) {
    row += advance;
    job_.text(row, col, text, heading_font());
}

void PrintForm::pair(double advance, std::string_view label, std::string_view value, std::string_view unit) {
    pair(advance, pairs_, label, value, unit);
}

void PrintForm::pair(double advance, const PairColumns& at, std::string_view label, std::string_view value,
                     std::string_view unit) {
    row += advance;
    job_.text(row, at.label_col, label, body_font(), at.label_align);
    if (value.empty()) return;
    if (unit.empty()) {
        job_.text(row, at.value_col, value, body_font(), at.value_align);
    } else if (at.unit_col < 0) {
        job_.text(row, at.value_col, std::string(value) + " " + std::string(unit), body_font(),
                  at.value_align);
    } else {
        job_.text(row, at.value_col, value, body_font(), at.value_align);
        job_.text(row, at.unit_col, unit);
    }
}

void PrintForm::frame(double top, double bottom, int pen) {
    job_.box(top, band_.left, bottom, band_.right, pen);
}

void PrintForm::rule(const PrintRule& r, int pen) {
    job_.line(row, r.col, row, r.col + r.length, pen);
}

void PrintForm::footer(double advance, std::string_view text, double col, PrintFont font) {
    row += advance;
    job_.text(row, col, text, std::move(font));
}

void PrintForm::begin_table(const PrintTable& table) {
    table_ = table;
    in_table_ = true;
    page_full_ = false;
    table_headings();
}

void PrintForm::table_headings() {
    for (const PrintColumn& c : table_.columns)
        job_.text(row, c.col, c.heading, table_.heading_font, c.align);
    row += 1;
    if (table_.heading_rule.length > 0) {
        rule(table_.heading_rule);
        row += 1;
    }
}

void PrintForm::table_row(const std::vector<std::string>& cells) {
    if (page_full_) {
        // The page ends here; the rows go on under the same band and headings.
        row += table_.break_gap;
        rule(table_.break_rule);
        new_page(title_);
        table_headings();
    }
    for (size_t i = 0; i < cells.size() && i < table_.columns.size(); ++i)
        if (!cells[i].empty())
            job_.text(row, table_.columns[i].col, cells[i], body_font(), table_.columns[i].align);
    row += 1;
    page_full_ = row > table_.last_row;
}

void PrintForm::end_table() {
    if (in_table_ && page_full_ && table_.break_after_last) {
        row += table_.break_gap;
        rule(table_.break_rule);
        new_page(title_);
        table_headings();
    }
    in_table_ = false;
    page_full_ = false;
}

}  // namespace vestral::toolkit
