// A print job as data: pages holding texts, lines and framed boxes at positions on a grid of the
// printable area (rows down, columns across). Printouts build one; the printer or a PDF file
// renders it; tests assert on it.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vestral::toolkit {

struct PrintFont {
    std::string face = "Arial";
    double size = 10;  // points
    bool bold = false;
    friend bool operator==(const PrintFont&, const PrintFont&) = default;
};
inline PrintFont title_font() {
    return {"Arial", 15, true};
}
inline PrintFont body_font() {
    return {"Arial", 10, false};
}
inline PrintFont heading_font() {
    return {"Arial", 10, true};
}

enum class PrintAlign { Left, Right, Center };

struct PrintItem {
    enum class Kind { Text, Line, Box };
    Kind kind = Kind::Text;
    double row = 0, col = 0;    // text: top of the line at this row; left edge (Left), right edge (Right)
    double row2 = 0, col2 = 0;  // line end / box's opposite corner
    std::string text;           // UTF-8
    PrintFont font;
    PrintAlign align = PrintAlign::Left;
    int pen = 1;  // line and frame width in the old printer units (1/300 inch)
};

struct PrintPage {
    std::vector<PrintItem> items;
};

struct PrintJob {
    std::string name;  // the job's name; also the PDF file's name
    bool landscape = false;
    double rows = 60, cols = 80;  // the grid
    std::vector<PrintPage> pages;

    PrintPage& new_page();
    PrintPage& page();  // the current (last) page; starts one when there is none
    int page_count() const { return static_cast<int>(pages.size()); }

    void text(double row, double col, std::string_view text, PrintFont font = body_font(),
              PrintAlign align = PrintAlign::Left);
    void right(double row, double col, std::string_view text, PrintFont font = body_font()) {
        this->text(row, col, text, font, PrintAlign::Right);
    }
    void line(double row, double col, double row2, double col2, int pen = 1);
    void box(double row, double col, double row2, double col2, int pen = 1);

    // For tests: the first text item equal to `text` on a page (-1: any page), or nullptr.
    const PrintItem* find(std::string_view text, int page = -1) const;
    // Texts of a page in the order they were placed.
    std::vector<std::string> texts(int page) const;
};

// The framed band at the head of every printed plan: a frame (pen 5) from (top, left) to
// (top + height, right), the program title + " - " + `title` at (text_row, text_col) in the title
// font, and "Seite: " + number right-aligned at (text_row, page_col).
void title_band(PrintJob& job, double top, double left, double right, double height, double text_row,
                double text_col, double page_col, std::string_view program_title, std::string_view title,
                int page_no);

}  // namespace vestral::toolkit
