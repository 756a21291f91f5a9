#include "calc/tax/afa75_print.h"

#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QString>

#include "support/gui_fixture.h"
#include "toolkit/print.h"

using namespace vestral;
using toolkit::PrintItem;

namespace {

calc::Afa75Inputs example(core::Date buy, core::Date done, bool business, bool housing, int kind,
                          double cost) {
    calc::Afa75Inputs in;
    in.NKAUFPREIS = cost;
    in.DKAUFDAT = buy;
    in.DFERTDAT = done;
    in.LBETRVERM = business;
    in.LWOHNUNG = housing;
    in.NAFAART = kind;
    return in;
}
// 100 000 with code 421: 50 × 2 000 from 2004.
calc::Afa75Inputs example_421() {
    return example({2004, 3, 1}, {2004, 9, 15}, false, false, 1, 100'000);
}
// Housing applied for 1990, completed 1991, declining: code 531, 40 records.
calc::Afa75Inputs example_531() {
    return example({1990, 6, 15}, {1991, 4, 30}, false, true, 2, 100'000);
}

toolkit::PrintJob job_of(const calc::Afa75Inputs& in) {
    const calc::Afa75Outcome out = calc::p75e_rech(in);
    return calc::p75e_druck_job(in, out.CABSCHART, out.rows, "Vestralon 1.0");
}

std::vector<const PrintItem*> texts_in_row(const toolkit::PrintJob& job, double row) {
    std::vector<const PrintItem*> r;
    for (const PrintItem& it : job.pages[0].items)
        if (it.kind == PrintItem::Kind::Text && it.row == row) r.push_back(&it);
    return r;
}

// The value printed right of a label (labels end at column 40, values start at 42).
std::string value_of(const toolkit::PrintJob& job, const std::string& label) {
    const PrintItem* l = job.find(label);
    if (!l) return "<no label>";
    EXPECT_EQ(l->col, 40) << label;
    EXPECT_EQ(l->align, toolkit::PrintAlign::Right) << label;
    for (const PrintItem* it : texts_in_row(job, l->row))
        if (it->col == 42 && it->align == toolkit::PrintAlign::Left) return it->text;
    return "<no value>";
}

}  // namespace

TEST(P75eDruck, OnePortraitPageWithFourFramesAndTheDetails) {
    const toolkit::PrintJob job = job_of(example_421());
    EXPECT_EQ(job.name, "Abschreibung bei Vermietung");
    EXPECT_EQ(job.rows, 60);
    EXPECT_EQ(job.cols, 80);
    EXPECT_FALSE(job.landscape);
    ASSERT_EQ(job.page_count(), 1);

    std::vector<PrintItem> boxes;
    for (const PrintItem& it : job.pages[0].items)
        if (it.kind == PrintItem::Kind::Box) boxes.push_back(it);
    ASSERT_EQ(boxes.size(), 4u);
    const double spans[4][2] = {{0, 3}, {4, 17}, {18, 49}, {50, 56}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(boxes[i].row, spans[i][0]) << i;
        EXPECT_EQ(boxes[i].row2, spans[i][1]) << i;
        EXPECT_EQ(boxes[i].col, 7) << i;
        EXPECT_EQ(boxes[i].col2, 80) << i;
        EXPECT_EQ(boxes[i].pen > 1, i == 0) << i;
    }

    const PrintItem* title = job.find("Vestralon 1.0 - Steuerliche Abschreibung bei Vermietung");
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(title->row, 1);
    EXPECT_EQ(title->col, 8);
    EXPECT_EQ(title->font, toolkit::title_font());
    for (auto [text, row] : {std::pair{"Details:", 5}, {"Abschreibungsplan:", 19}, {"Ergebnis:", 50}}) {
        const PrintItem* h = job.find(text);
        ASSERT_NE(h, nullptr) << text;
        EXPECT_EQ(h->row, row) << text;
        EXPECT_EQ(h->col, 8) << text;
        EXPECT_EQ(h->font, toolkit::heading_font()) << text;
    }

    EXPECT_EQ(value_of(job, "Kaufpreis:"), "100.000,00 EUR");
    EXPECT_EQ(job.find("Kaufpreis:")->row, 6);
    EXPECT_EQ(value_of(job, "Kauf- bzw. Bauantragsstellungsdatum:"), "01.03.2004");
    EXPECT_EQ(job.find("Kauf- bzw. Bauantragsstellungsdatum:")->row, 8);
    EXPECT_EQ(value_of(job, "Datum der Fertigstellung:"), "15.09.2004");
    EXPECT_EQ(value_of(job, "Objekt gehört zu einem Betriebsvermögen:"), "NEIN");
    EXPECT_EQ(job.find("Objekt gehört zu einem Betriebsvermögen:")->row, 11);
    EXPECT_EQ(value_of(job, "Objekt dient Wohnzwecken:"), "NEIN");
    EXPECT_EQ(value_of(job, "Der Hersteller hat eine AFA beantragt:"), "JA");
    EXPECT_EQ(job.find("Der Hersteller hat eine AFA beantragt:")->row, 13);
    EXPECT_EQ(value_of(job, "Abschreibungsart:"), " Ersatz-AFA nach §7 Abs. 4 Nr. 2a");
    EXPECT_EQ(job.find("Abschreibungsart:")->row, 15);

    const toolkit::PrintJob business = job_of(example({1994, 2, 1}, {1994, 5, 1}, true, true, 1, 5'000.5));
    EXPECT_EQ(value_of(business, "Kaufpreis:"), "5.000,50 EUR");
    EXPECT_EQ(value_of(business, "Objekt gehört zu einem Betriebsvermögen:"), "JA");
    EXPECT_EQ(value_of(business, "Objekt dient Wohnzwecken:"), "JA");
}

TEST(P75eDruck, The421PlanFillsBothHalvesWith25Lines) {
    const toolkit::PrintJob job = job_of(example_421());
    // Headings twice, bold and right-aligned at twentieths of the width; the rate 20 printer
    // units further left.
    const std::vector<const PrintItem*> head = texts_in_row(job, 21);
    ASSERT_EQ(head.size(), 8u);
    const char* names[4] = {"Jahr", "Freibetrag", "Steuerjahr", "%-Satz"};
    const double ends[8] = {12, 24, 32, 40, 48, 60, 68, 76};
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(head[i]->text, names[i % 4]) << i;
        EXPECT_EQ(head[i]->align, toolkit::PrintAlign::Right) << i;
        EXPECT_EQ(head[i]->font, toolkit::heading_font()) << i;
        if (i % 4 == 3) {
            EXPECT_LT(head[i]->col, ends[i]) << i;
            EXPECT_GT(head[i]->col, ends[i] - 1) << i;
        } else {
            EXPECT_EQ(head[i]->col, ends[i]) << i;
        }
    }
    const std::vector<const PrintItem*> rules = texts_in_row(job, 22);
    ASSERT_EQ(rules.size(), 2u);
    for (const PrintItem* r : rules) EXPECT_EQ(r->text, std::string(73, '-'));
    EXPECT_EQ(rules[0]->col, 8);
    EXPECT_EQ(rules[1]->col - rules[0]->col, 36);

    // 25 lines in each half: records 1-25 left, 26-50 right, from line 23.
    for (int line = 23; line < 48; ++line) {
        const std::vector<const PrintItem*> cells = texts_in_row(job, line);
        ASSERT_EQ(cells.size(), 8u) << line;
        const int n = line - 23;
        EXPECT_EQ(cells[0]->text, std::to_string(2004 + n)) << line;
        EXPECT_EQ(cells[1]->text, "   2000.00") << line;
        EXPECT_EQ(cells[2]->text.size(), 7u) << line;
        EXPECT_EQ(std::stoi(cells[2]->text), n + 1) << line;
        EXPECT_EQ(cells[3]->text, "     2.00") << line;
        EXPECT_EQ(cells[4]->text, std::to_string(2029 + n)) << line;
        EXPECT_EQ(std::stoi(cells[6]->text), n + 26) << line;
        for (int c = 0; c < 8; ++c) {
            EXPECT_EQ(cells[c]->col, head[c]->col) << line << ":" << c;
            EXPECT_EQ(cells[c]->align, toolkit::PrintAlign::Right);
        }
    }
    EXPECT_TRUE(texts_in_row(job, 48).empty());
    EXPECT_EQ(texts_in_row(job, 47)[6]->text, "     50");

    EXPECT_EQ(value_of(job, "Addition der Freibeträge:"), "100.000,00 EUR");
    EXPECT_EQ(job.find("Addition der Freibeträge:")->row, 52);
    EXPECT_EQ(value_of(job, "Dauer der Abschreibung:"), "50 Jahre");
    EXPECT_EQ(job.find("Dauer der Abschreibung:")->row, 53);
}

TEST(P75eDruck, TheResultBlockStaysBelowTheLongerLeftHalf) {
    const toolkit::PrintJob job = job_of(example_531());
    // 40 records: 25 left, 15 right.
    EXPECT_EQ(texts_in_row(job, 37).size(), 8u);
    EXPECT_EQ(texts_in_row(job, 38).size(), 4u);
    EXPECT_EQ(texts_in_row(job, 47).size(), 4u);
    EXPECT_EQ(texts_in_row(job, 23)[1]->text, "   7000.00");
    EXPECT_EQ(texts_in_row(job, 37)[7]->text, "     1.25");
    const double result_row = job.find("Ergebnis:")->row;
    EXPECT_EQ(result_row, 50);
    for (const char* t : {"Ergebnis:", "Addition der Freibeträge:", "Dauer der Abschreibung:", "40 Jahre"})
        EXPECT_GE(job.find(t)->row, 50) << t;
    EXPECT_EQ(value_of(job, "Dauer der Abschreibung:"), "40 Jahre");
    // The printed amounts added up.
    EXPECT_EQ(value_of(job, "Addition der Freibeträge:"), "100.000,00 EUR");
    const toolkit::PrintJob odd = job_of(example({2004, 1, 1}, {1910, 1, 1}, false, false, 1, 33'333.33));
    EXPECT_EQ(value_of(odd, "Addition der Freibeträge:"), "33.333,20 EUR");
    EXPECT_EQ(texts_in_row(odd, 23)[1]->text, "    833.33");
}

class P75eDruckPdf : public test::GuiTest {};

// The 421 page through the real renderer, read back with an independent PDF reader; with
// VESTRAL_SHOTS set the PDF is kept there to be looked at.
TEST_F(P75eDruckPdf, The421PageRendersWith25LinesInEachHalf) {
    QString out = qEnvironmentVariable("VESTRAL_SHOTS");
    if (out.isEmpty()) out = QString::fromStdString(dir().string());
    QDir().mkpath(out);
    const QString file = out + "/afa75_421.pdf";
    ASSERT_TRUE(toolkit::render_pdf(job_of(example_421()), file));
    QProcess text;
    text.start("pdftotext", {"-layout", file, "-"});
    ASSERT_TRUE(text.waitForFinished(20000));
    const QString page = QString::fromUtf8(text.readAllStandardOutput());
    EXPECT_TRUE(page.contains("Vestralon 1.0 - Steuerliche Abschreibung bei Vermietung"))
        << page.toStdString();
    EXPECT_TRUE(page.contains("Dauer der Abschreibung:")) << page.toStdString();
    EXPECT_TRUE(page.contains("50 Jahre")) << page.toStdString();
    // Every plan line carries a year of each half.
    int both = 0;
    for (const QString& line : page.split('\n'))
        if (line.contains(QRegularExpression("\\b20[0-2]\\d\\b.*2000\\.00.*\\b20[2-5]\\d\\b.*2000\\.00")))
            ++both;
    EXPECT_EQ(both, 25) << page.toStdString();
    // The longest left half with a shorter right one, to be looked at.
    if (!qEnvironmentVariable("VESTRAL_SHOTS").isEmpty()) {
        EXPECT_TRUE(toolkit::render_pdf(job_of(example_531()), out + "/afa75_531.pdf"));
    }
}
