// The printed building-savings plan, asserted on the recorded job: the rows come from a real
// BAUSPAR table, as the dialog prints them.
#include "calc/loans/bausparen_print.h"
#include "calc/loans/bausparen_example.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QString>
#include <algorithm>
#include <cstdlib>

#include "core/catalogue.h"
#include "core/dbf.h"
#include "core/mask.h"
#include "support/core_tempdir.h"
#include "toolkit/print.h"

using namespace vestral;
using toolkit::PrintAlign;
using toolkit::PrintItem;
using toolkit::PrintJob;

namespace {

calc::BauInputs first_case() {
    return vestral::test::bausparen_first_case();
}

struct Printed {
    calc::BauOutcome out;
    std::vector<calc::BausparRow> rows;
    PrintJob job;
};

// Computes, writes BAUSPAR, reads its KEY 1 order back and prints it.
Printed print_case(const calc::BauInputs& in) {
    test::TempDir dir;
    Printed p;
    p.out = calc::bau_rech(in);
    core::dbf::Table t;
    const auto file = dir / "BAUSPAR.DBF";
    EXPECT_TRUE(core::dbf::create_table(file, core::catalogue_layout("BAUSPAR")));
    EXPECT_TRUE(t.open(file, "BAUSPAR"));
    t.set_order(t.add_order("BAUSPAR.NT1", {}, [](const core::dbf::Table& r) { return r.num("KEY") == 1; }));
    EXPECT_TRUE(calc::write_bauspar_rows(t, p.out.rows));
    p.rows = calc::read_bauspar_rows(t);
    p.job = calc::bau_druck(in, p.out.results, p.rows, "VSH Vestralon v4.13");
    return p;
}

// The text right of a summary label on a page.
std::string value_of(const PrintJob& job, const std::string& label, int page, int nth = 0) {
    const auto& items = job.pages.at(static_cast<size_t>(page)).items;
    for (size_t i = 0; i + 1 < items.size(); ++i) {
        if (items[i].text == label && items[i].align == PrintAlign::Right && nth-- == 0)
            return items[i + 1].text;
    }
    return "<none>";
}

// Items of a page on one grid row, in placement order.
std::vector<const PrintItem*> on_row(const PrintJob& job, int page, double row) {
    std::vector<const PrintItem*> out;
    for (const PrintItem& i : job.pages.at(static_cast<size_t>(page)).items)
        if (i.kind == PrintItem::Kind::Text && i.row == row) out.push_back(&i);
    return out;
}

double tab(int n) {
    return n * 80.0 / 7.0;
}

}  // namespace

TEST(BausparenPrint, PagesOfTheFirstCase) {
    const auto p = print_case(first_case());
    const PrintJob& job = p.job;
    EXPECT_EQ(job.name, "Bausparplan");
    EXPECT_FALSE(job.landscape);
    EXPECT_EQ(job.rows, 60);
    EXPECT_EQ(job.cols, 80);
    ASSERT_EQ(p.rows.size(), 221u);  // 66 savings months, the allocation, 154 loan months
    // 49 rows fit on a page (rows 7 to 55): savings 66 → 2 pages, loan 155 → 4 pages, summary 1.
    ASSERT_EQ(job.page_count(), 7);
    const char* titles[] = {"Ansparplan",   "Ansparplan",   "Tilgungsplan",   "Tilgungsplan",
                            "Tilgungsplan", "Tilgungsplan", "Zusammenfassung"};
    for (int page = 0; page < 7; ++page) {
        const std::string title = std::string("VSH Vestralon v4.13 - Bausparen - ") + titles[page];
        const PrintItem* t = job.find(title, page);
        ASSERT_NE(t, nullptr) << page;
        EXPECT_EQ(t->row, 1);
        EXPECT_EQ(t->col, 5);
        EXPECT_EQ(t->font, toolkit::title_font());
        const PrintItem* s = job.find("Seite: " + std::to_string(page + 1), page);
        ASSERT_NE(s, nullptr);
        EXPECT_EQ(s->align, PrintAlign::Right);
        EXPECT_EQ(s->col, 79);
        // The band: pen 5 from column 4, 76 wide, three rows high.
        const PrintItem& band = job.pages[static_cast<size_t>(page)].items.front();
        EXPECT_EQ(band.kind, PrintItem::Kind::Box);
        EXPECT_EQ(band.pen, 5);
        EXPECT_EQ(band.col, 4);
        EXPECT_EQ(band.col2, 80);
        EXPECT_EQ(band.row2 - band.row, 3);
    }
}

TEST(BausparenPrint, SavingsAndLoanRows) {
    const auto p = print_case(first_case());
    const PrintJob& job = p.job;
    // Column headings four rows below the title, the rule below them.
    auto heads = on_row(job, 0, 5);
    ASSERT_EQ(heads.size(), 7u);
    EXPECT_EQ(heads[0]->text, "Datum");
    EXPECT_EQ(heads[0]->col, 4);
    EXPECT_EQ(heads[1]->text, "Aktion");
    EXPECT_EQ(heads[1]->col, 13);
    EXPECT_EQ(heads[2]->text, "Zahlung");
    EXPECT_EQ(heads[2]->col, tab(3));
    EXPECT_EQ(heads[3]->text, "Gebühren ");
    EXPECT_EQ(heads[4]->text, "Zinsen");
    EXPECT_EQ(heads[5]->text, "Gutschrift");
    EXPECT_EQ(heads[6]->text, "Kontostand");
    EXPECT_EQ(heads[6]->col, tab(7));
    EXPECT_EQ(on_row(job, 2, 5)[5]->text, "Tilgung");

    // First savings month: fees 501, no interest, net 299, balance -201.
    auto first = on_row(job, 0, 7);
    ASSERT_EQ(first.size(), 6u);
    EXPECT_EQ(first[0]->text, "30.01.2007");
    EXPECT_EQ(first[1]->text, "Sparrate");
    EXPECT_EQ(first[2]->text, "300,00");
    EXPECT_EQ(first[2]->col, tab(3));
    EXPECT_EQ(first[2]->align, PrintAlign::Right);
    EXPECT_EQ(first[3]->text, "501,00");
    EXPECT_EQ(first[3]->col, tab(4));
    EXPECT_EQ(first[4]->text, "299,00");
    EXPECT_EQ(first[4]->col, tab(6));
    EXPECT_EQ(first[5]->text, "-201,00");
    // December 2007: the interest at tab 5.
    auto dec = on_row(job, 0, 18);
    EXPECT_EQ(dec[0]->text, "30.12.2007");
    EXPECT_EQ(dec[4]->text, "61,76");
    EXPECT_EQ(dec[4]->col, tab(5));
    EXPECT_EQ(dec.back()->text, "3.149,76");
    // Year-end rows are not part of the plan.
    EXPECT_EQ(job.find("Sparraten"), nullptr);

    // A full page ends at row 55, then one row lower a rule 77 steps long.
    EXPECT_FALSE(on_row(job, 0, 55).empty());
    const auto& page0 = job.pages[0].items;
    const PrintItem& rule = page0.back();
    EXPECT_EQ(rule.kind, PrintItem::Kind::Line);
    EXPECT_EQ(rule.row, 57);
    EXPECT_EQ(rule.col2 - rule.col, 77);
    // The heading rule is 78 long, on row 6.
    const auto head_rule = std::find_if(page0.begin(), page0.end(),
                                        [](const PrintItem& i) { return i.kind == PrintItem::Kind::Line; });
    ASSERT_NE(head_rule, page0.end());
    EXPECT_EQ(head_rule->row, 6);
    EXPECT_EQ(head_rule->col2 - head_rule->col, 78);

    // The savings plan ends with June 2012; the loan plan starts with the allocation on a new page.
    EXPECT_NE(job.find("30.06.2012", 1), nullptr);
    EXPECT_EQ(job.find("Zuteilung erfolgt", 1), nullptr);
    auto alloc = on_row(job, 2, 7);
    ASSERT_EQ(alloc.size(), 3u);  // no payment, fees, interest or repayment
    EXPECT_EQ(alloc[0]->text, "01.07.2012");
    EXPECT_EQ(alloc[1]->text, "Zuteilung erfolgt");
    EXPECT_EQ(alloc[2]->text, "-29.712,50");
    auto loan1 = on_row(job, 2, 8);
    EXPECT_EQ(loan1[0]->text, "30.07.2012");
    EXPECT_EQ(loan1[1]->text, "Tilgungsrate");
    EXPECT_EQ(loan1[2]->text, "247,60");
    // The last loan row: the rest plus its interest.
    const PrintItem* last = job.find("30.04.2025", 5);
    ASSERT_NE(last, nullptr);
    auto lastrow = on_row(job, 5, last->row);
    EXPECT_EQ(lastrow[2]->text, "124,64");
    EXPECT_EQ(lastrow.back()->text, "0,00");
    // After it: one row, a rule, and the summary page.
    const PrintItem& end_rule = job.pages[5].items.back();
    EXPECT_EQ(end_rule.kind, PrintItem::Kind::Line);
    EXPECT_EQ(end_rule.row, last->row + 2);
}

TEST(BausparenPrint, Summary) {
    const auto p = print_case(first_case());
    const PrintJob& job = p.job;
    const int s = 6;
    // Three frames from row 5.
    std::vector<const PrintItem*> boxes;
    for (const PrintItem& i : job.pages[s].items)
        if (i.kind == PrintItem::Kind::Box && i.pen == 1) boxes.push_back(&i);
    ASSERT_EQ(boxes.size(), 3u);
    EXPECT_EQ(boxes[0]->row, 5);
    EXPECT_EQ(boxes[0]->row2, 18);
    EXPECT_EQ(boxes[1]->row, 19);
    EXPECT_EQ(boxes[1]->row2, 28);
    EXPECT_EQ(boxes[2]->row, 29);
    EXPECT_EQ(boxes[2]->row2, 43);
    EXPECT_EQ(boxes[2]->col2 - boxes[2]->col, 76);

    const PrintItem* head = job.find("Zusammenfassung:", s);
    ASSERT_NE(head, nullptr);
    EXPECT_EQ(head->row, 6);
    EXPECT_EQ(head->col, 10);
    EXPECT_EQ(head->font, toolkit::heading_font());
    EXPECT_EQ(job.find("Ansparphase:", s)->row, 20);
    EXPECT_EQ(job.find("Tilgungsphase:", s)->row, 30);

    const PrintItem* bank = job.find("Bank:", s);
    ASSERT_NE(bank, nullptr);
    EXPECT_EQ(bank->row, 8);
    EXPECT_EQ(bank->col, 35);
    EXPECT_EQ(bank->align, PrintAlign::Right);
    EXPECT_EQ(value_of(job, "Bank:", s), "Bausparkasse Nord");
    EXPECT_EQ(value_of(job, "Bausparsumme:", s), "50.000,00 EUR");
    EXPECT_EQ(value_of(job, "Vertragsabschlussgebühren:", s), "1,000 %");
    EXPECT_EQ(value_of(job, "monatl. Kontoführungsgebühren:", s), "1,000 EUR");
    EXPECT_EQ(value_of(job, "Summe der Gebühren:", s), "720,00 EUR");
    EXPECT_EQ(value_of(job, "Vertragsbeginn:", s), "2007");
    EXPECT_EQ(job.find("Vertragsbeginn:", s)->row, 16);
    EXPECT_EQ(value_of(job, "Sparanteil:", s), "40,00 %");
    EXPECT_EQ(value_of(job, "Sparzinssatz:", s), "2,000 %");
    EXPECT_EQ(value_of(job, "monatliche Rate:", s), "300,00 EUR");
    EXPECT_EQ(value_of(job, "angesparte Summe:", s), "20.287,50 EUR   in 5.06 Jahren, Monaten");
    // The savings interest printed on the savings pages.
    double interest = 0;
    for (const auto& r : p.rows)
        if (r.CODE == 1) interest += r.ZINSEN;
    EXPECT_NEAR(interest, p.out.results.NSZINSEN, 0.03);
    EXPECT_EQ(value_of(job, "davon Zinsen:", s, 0),
              core::trim(core::format_mask(interest, "@E 999,999,999.99")) + " EUR");
    EXPECT_EQ(value_of(job, "Tilgungssumme:", s), "29.712,50 EUR   (Bausparsumme ./. angesparte Summe)");
    EXPECT_EQ(value_of(job, "Tilgung pro Jahr:", s), "6,000 %");
    EXPECT_EQ(value_of(job, "Tilgungszinssatz:", s), "4,000 %");
    EXPECT_EQ(value_of(job, "Dauer der Zinsbindung:", s), "10 Jahre");
    EXPECT_EQ(value_of(job, "Zinssatz nach Festzeit:", s), "4,000 %");
    EXPECT_EQ(value_of(job, "monatliche Tilgung:", s), "247,60 EUR");
    EXPECT_EQ(value_of(job, "gezahlte Summe:", s), "38.162,08 EUR   in 12.10 Jahren, Monaten");
    EXPECT_EQ(job.find("gezahlte Summe:", s)->row, 40);
    EXPECT_EQ(value_of(job, "davon Zinsen:", s, 1), "8.449,58 EUR");
    EXPECT_EQ(job.find("Bausparsumme:", s)->font, toolkit::body_font());
}

TEST(BausparenPrint, WithoutSavingsOnlyTheAllocationIsPrinted) {
    auto in = first_case();
    in.NMONRATE = 0;
    const auto p = print_case(in);
    ASSERT_EQ(p.rows.size(), 1u);
    ASSERT_EQ(p.job.page_count(), 3);
    EXPECT_TRUE(on_row(p.job, 0, 7).empty());  // nothing saved
    auto alloc = on_row(p.job, 1, 7);
    ASSERT_EQ(alloc.size(), 3u);
    EXPECT_EQ(alloc[0]->text, "01.01.2007");
    EXPECT_EQ(alloc[2]->text, "0,00");
    EXPECT_EQ(value_of(p.job, "angesparte Summe:", 2), "0,00 EUR   in 0.00 Jahren, Monaten");
}

// Renders the job for looking at it: VESTRAL_SHOTS=/dir writes bausparplan.pdf there.
TEST(BausparenPrint, RendersToPdf) {
    const auto p = print_case(first_case());
    const char* shots = std::getenv("VESTRAL_SHOTS");
    test::TempDir tmp;
    const QString file = shots ? QDir(shots).filePath("bausparplan.pdf")
                               : QString::fromStdString((tmp / "bausparplan.pdf").string());
    if (shots) QDir().mkpath(shots);
    ASSERT_TRUE(toolkit::render_pdf(p.job, file));
    EXPECT_GT(QFileInfo(file).size(), 1000);
}
