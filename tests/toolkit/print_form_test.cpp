// The shared printout pieces: numbers, "label: value" lines, frames, footers and tables that break
// onto new pages with their band and headings repeated.
#include <gtest/gtest.h>

#include "core/program_settings.h"
#include "toolkit/print_form.h"

using namespace vestral;
using toolkit::PrintAlign;
using toolkit::PrintItem;
using toolkit::PrintJob;

namespace {

std::vector<const PrintItem*> on_row(const PrintJob& job, int page, double row) {
    std::vector<const PrintItem*> out;
    for (const auto& it : job.pages[static_cast<size_t>(page)].items)
        if (it.kind == PrintItem::Kind::Text && it.row == row) out.push_back(&it);
    return out;
}

int count(const PrintJob& job, int page, PrintItem::Kind kind) {
    int n = 0;
    for (const auto& it : job.pages[static_cast<size_t>(page)].items) n += it.kind == kind ? 1 : 0;
    return n;
}

toolkit::PrintTable three_columns(double last_row) {
    toolkit::PrintTable t;
    t.columns = {{"Jahr", 4, PrintAlign::Left}, {"Betrag", 40}, {"Rest", 70}};
    t.heading_rule = {2, 78};
    t.last_row = last_row;
    t.break_gap = 1;
    t.break_rule = {2, 77};
    return t;
}

}  // namespace

TEST(PrintNumbers, AmountsAndRatesFollowTheirMasksWithoutLeadingBlanks) {
    EXPECT_EQ(toolkit::print_eur(1234.5), "1.234,50 EUR");
    EXPECT_EQ(toolkit::print_eur(30, "@E 999,999.99"), "30,00 EUR");
    EXPECT_EQ(toolkit::print_percent(4.25), "4,250 %");
    EXPECT_EQ(toolkit::print_percent(3, "@E 999.99"), "3,00 %");
    EXPECT_EQ(toolkit::print_number(1e6, "@E 9,999,999.99"), "1.000.000,00");
    EXPECT_EQ(toolkit::print_number_or_blank(0, "@E 99,999.99"), "");
    EXPECT_EQ(toolkit::print_number_or_blank(12, "@E 99,999.99"), "12,00");
}

TEST(PrintForm, PagesCarryTheBandWithTitleAndNumber) {
    const PrintJob wide = toolkit::new_print_job("Splittfinanzierung", toolkit::kLandscapeGrid);
    EXPECT_EQ(wide.name, "Splittfinanzierung");
    EXPECT_TRUE(wide.landscape);
    EXPECT_EQ(wide.rows, 50);
    EXPECT_EQ(wide.cols, 110);
    EXPECT_EQ(wide.page_count(), 0);
    PrintJob job = toolkit::new_print_job("Probe");
    EXPECT_FALSE(job.landscape);
    EXPECT_EQ(job.rows, 60);
    toolkit::PrintForm f(job, "Vestralon 1.0");
    f.new_page("Probe");
    EXPECT_EQ(f.row, 5);
    f.new_page("Weiter");
    ASSERT_EQ(job.page_count(), 2);
    EXPECT_EQ(f.page_no(), 2);
    const PrintItem& band = job.pages[1].items[0];
    EXPECT_EQ(band.kind, PrintItem::Kind::Box);
    EXPECT_EQ(band.pen, 5);
    EXPECT_EQ(band.col, 4);
    EXPECT_EQ(band.col2, 80);
    EXPECT_EQ(band.row2, 3);
    ASSERT_NE(job.find("Vestralon 1.0 - Weiter", 1), nullptr);
    const PrintItem* no = job.find("Seite: 2", 1);
    ASSERT_NE(no, nullptr);
    EXPECT_EQ(no->col, 79);
    EXPECT_EQ(no->align, PrintAlign::Right);

    // A one-page printout's band: only the framed title, in the font it asks for.
    PrintJob single;
    toolkit::PrintBand band7;
    band7.left = 7;
    band7.right = 79;
    band7.text_col = 8;
    toolkit::PrintForm g(single, "unused", band7);
    g.new_plain_page("Vestralon 1.0 - Kosten beim Hausbau", {"Arial", 14, true});
    EXPECT_EQ(single.texts(0), std::vector<std::string>{"Vestralon 1.0 - Kosten beim Hausbau"});
    EXPECT_EQ(single.find("Vestralon 1.0 - Kosten beim Hausbau")->font.size, 14);
    g.frame(4, 17);
    const PrintItem& frame = single.pages[0].items.back();
    EXPECT_EQ(frame.col, 7);
    EXPECT_EQ(frame.col2, 79);
    EXPECT_EQ(frame.row, 4);
    EXPECT_EQ(frame.row2, 17);
    EXPECT_EQ(frame.pen, 1);
}

TEST(PrintForm, PairsStandAtTheirColumnsWithUnitsBehindOrLinedUp) {
    PrintJob job;
    toolkit::PrintForm f(job, "Vestralon 1.0");
    f.new_page("Probe");
    f.heading(1, "Ergebnis:", 10);
    EXPECT_EQ(job.find("Ergebnis:")->font, toolkit::heading_font());
    EXPECT_EQ(job.find("Ergebnis:")->row, 6);

    // The plans' summary lines: the label ends at 35, the value starts at 36, the unit after a blank.
    f.pair(2, "Zinsbindung:", "10", "Jahre");
    auto row = on_row(job, 0, 8);
    ASSERT_EQ(row.size(), 2u);
    EXPECT_EQ(row[0]->text, "Zinsbindung:");
    EXPECT_EQ(row[0]->align, PrintAlign::Right);
    EXPECT_EQ(row[0]->col, 35);
    EXPECT_EQ(row[1]->text, "10 Jahre");
    EXPECT_EQ(row[1]->col, 36);

    // An empty value places only the label.
    f.pair(1, "Finanzierte Gebühren:", "");
    EXPECT_EQ(on_row(job, 0, 9).size(), 1u);

    // Label from column 8, value ending at column 60, units lined up from column 61.
    toolkit::PairColumns cost{8, PrintAlign::Left, 60, PrintAlign::Right, 61};
    f.pair(2, cost, "Notarkosten:", toolkit::print_number(1500, toolkit::kPrintAmountMask), "EUR");
    row = on_row(job, 0, 11);
    ASSERT_EQ(row.size(), 3u);
    EXPECT_EQ(row[0]->align, PrintAlign::Left);
    EXPECT_EQ(row[1]->text, "1.500,00");
    EXPECT_EQ(row[1]->align, PrintAlign::Right);
    EXPECT_EQ(row[1]->col, 60);
    EXPECT_EQ(row[2]->text, "EUR");
    EXPECT_EQ(row[2]->col, 61);

    core::ProgramSettings s;
    s.pcrelease1 = "Vestralon";
    s.pcrelease2 = " 1.0";
    s.pcrelease0 = "Alle Rechte vorbehalten";
    s.cs_www = "www.example.org";
    EXPECT_EQ(toolkit::program_footer(s), "Vestralon  1.0 - Alle Rechte vorbehalten - www.example.org");
    f.footer(3, "Vestralon 1.0 - www.example.org", 8);
    const PrintItem* foot = job.find("Vestralon 1.0 - www.example.org");
    ASSERT_NE(foot, nullptr);
    EXPECT_EQ(foot->row, 14);
    EXPECT_EQ(foot->font.size, 8);
}

TEST(PrintForm, TablesBreakOntoNewPagesWithBandAndHeadingsRepeated) {
    PrintJob job;
    toolkit::PrintForm f(job, "Vestralon 1.0");
    f.new_page("Plan");
    f.begin_table(three_columns(10));
    // Headings on row 5, the rule on row 6, the first cells on row 7.
    EXPECT_EQ(f.row, 7);
    EXPECT_EQ(count(job, 0, PrintItem::Kind::Line), 1);
    for (int i = 0; i < 6; ++i) f.table_row({std::to_string(2001 + i), "1,00", i == 2 ? "" : "2,00"});
    f.end_table();
    // Rows 7 to 10 fill the first page; the break rule sits one row under the last of them.
    ASSERT_EQ(job.page_count(), 2);
    EXPECT_EQ(job.find("2004", 0)->row, 10);
    EXPECT_EQ(job.find("2005", 0), nullptr);
    const PrintItem& closing = job.pages[0].items.back();
    EXPECT_EQ(closing.kind, PrintItem::Kind::Line);
    EXPECT_EQ(closing.row, 12);
    EXPECT_EQ(closing.col2, 79);
    // The next page: band with the same title and number 2, the headings again, then the rows.
    EXPECT_NE(job.find("Vestralon 1.0 - Plan", 1), nullptr);
    EXPECT_NE(job.find("Seite: 2", 1), nullptr);
    EXPECT_EQ(job.find("Betrag", 1)->row, 5);
    EXPECT_EQ(job.find("2005", 1)->row, 7);
    EXPECT_EQ(f.row, 9);
    // An empty cell places nothing.
    EXPECT_EQ(on_row(job, 0, 9).size(), 2u);
    // Right-aligned columns end at their column, left-aligned ones start there.
    EXPECT_EQ(job.find("Rest", 0)->align, PrintAlign::Right);
    EXPECT_EQ(job.find("2001", 0)->align, PrintAlign::Left);
}

TEST(PrintForm, AFullLastPageBreaksOnlyWhenTheTableAsksForIt) {
    for (bool after_last : {false, true}) {
        PrintJob job;
        toolkit::PrintForm f(job, "Vestralon 1.0");
        f.new_page("Plan");
        toolkit::PrintTable t = three_columns(10);
        t.break_after_last = after_last;
        f.begin_table(t);
        for (int i = 0; i < 4; ++i) f.table_row({"x", "1", "2"});
        f.end_table();
        EXPECT_EQ(job.page_count(), after_last ? 2 : 1);
        EXPECT_EQ(f.row, after_last ? 7 : 11);
    }
}
