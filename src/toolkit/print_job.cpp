#include "toolkit/print_job.h"

namespace vestral::toolkit {

PrintPage& PrintJob::new_page() {
    pages.emplace_back();
    return pages.back();
}

PrintPage& PrintJob::page() {
    if (pages.empty()) return new_page();
    return pages.back();
}

void PrintJob::text(double row, double col, std::string_view t, PrintFont font, PrintAlign align) {
    PrintItem it;
    it.kind = PrintItem::Kind::Text;
    it.row = row;
    it.col = col;
    it.text = std::string(t);
    it.font = std::move(font);
    it.align = align;
    page().items.push_back(std::move(it));
}

namespace {
PrintItem shape(PrintItem::Kind kind, double row, double col, double row2, double col2, int pen) {
    PrintItem it;
    it.kind = kind;
    it.row = row;
    it.col = col;
    it.row2 = row2;
    it.col2 = col2;
    it.pen = pen;
    return it;
}
}  // namespace

void PrintJob::line(double row, double col, double row2, double col2, int pen) {
    page().items.push_back(shape(PrintItem::Kind::Line, row, col, row2, col2, pen));
}

void PrintJob::box(double row, double col, double row2, double col2, int pen) {
    page().items.push_back(shape(PrintItem::Kind::Box, row, col, row2, col2, pen));
}

const PrintItem* PrintJob::find(std::string_view t, int page_no) const {
    for (size_t p = 0; p < pages.size(); ++p) {
        if (page_no >= 0 && static_cast<size_t>(page_no) != p) continue;
        for (const auto& it : pages[p].items)
            if (it.kind == PrintItem::Kind::Text && it.text == t) return &it;
    }
    return nullptr;
}

std::vector<std::string> PrintJob::texts(int page_no) const {
    std::vector<std::string> out;
    if (page_no < 0 || static_cast<size_t>(page_no) >= pages.size()) return out;
    for (const auto& it : pages[static_cast<size_t>(page_no)].items)
        if (it.kind == PrintItem::Kind::Text) out.push_back(it.text);
    return out;
}

void title_band(PrintJob& job, double top, double left, double right, double height, double text_row,
                double text_col, double page_col, std::string_view program_title, std::string_view title,
                int page_no) {
    job.box(top, left, top + height, right, 5);
    job.text(text_row, text_col, std::string(program_title) + " - " + std::string(title), title_font());
    job.right(text_row, page_col, "Seite: " + std::to_string(page_no), title_font());
}

}  // namespace vestral::toolkit
