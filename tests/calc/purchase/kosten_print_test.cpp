#include <QDir>
#include <QFile>
#include <QProcess>
#include <QString>
#include <cstdlib>
#include <string>
#include <tuple>
#include <vector>

#include "calc/purchase/kosten1_print.h"
#include "calc/purchase/kosten2_print.h"
#include "calc/purchase/kosten_print.h"
#include "support/gui_fixture.h"
#include "toolkit/print.h"

using namespace vestral;
using toolkit::PrintAlign;
using toolkit::PrintItem;
namespace k1 = vestral::calc::kosten1;
namespace k2 = vestral::calc::kosten2;

namespace {

k1::Inputs building() {
    k1::Inputs in;
    in.NGRUNDDM = 200;
    in.NGRUNDQM = 500;
    in.NERSCHL = 30;
    in.NVERMESS = 2.5;
    in.NNOTAR = 1.5;
    in.NBAUANTR = 1800;
    in.NGRUEST = 3.5;
    in.NERSTELL = 250000;
    in.NMAKLER = 6;
    in.NKELLER = 35000;
    in.NANSCHL = 6500;
    in.NAUSSEN = 12000;
    in.NGARAGE = 9500;
    return in;
}

k2::Inputs purchase() {
    k2::Inputs in;
    in.NGRUNDDM = 200;
    in.NGRUNDQM = 500;
    in.NERSTELL = 200000;
    in.NNOTAR = 1.5;
    in.NGRUEST = 3.5;
    in.NMAKLER = 6;
    return in;
}

std::vector<PrintItem> items_of(const toolkit::PrintJob& job, PrintItem::Kind kind) {
    std::vector<PrintItem> out;
    for (const PrintItem& it : job.pages.at(0).items)
        if (it.kind == kind) out.push_back(it);
    return out;
}

// The text item of a row that starts (Left) or ends (Right) at a column.
const PrintItem* at(const toolkit::PrintJob& job, double row, double col) {
    for (const PrintItem& it : job.pages.at(0).items)
        if (it.kind == PrintItem::Kind::Text && it.row == row && it.col == col) return &it;
    return nullptr;
}
std::string text_at(const toolkit::PrintJob& job, double row, double col) {
    const PrintItem* it = at(job, row, col);
    return it ? it->text : "<none>";
}

void expect_frames(const toolkit::PrintJob& job, const std::vector<std::pair<int, int>>& spans) {
    const auto boxes = items_of(job, PrintItem::Kind::Box);
    ASSERT_EQ(boxes.size(), spans.size());
    for (size_t i = 0; i < spans.size(); ++i) {
        EXPECT_EQ(boxes[i].row, spans[i].first) << i;
        EXPECT_EQ(boxes[i].row2, spans[i].second) << i;
        EXPECT_EQ(boxes[i].col, 7);
        EXPECT_EQ(boxes[i].col2, 79);
        if (i > 0) {
            EXPECT_GT(boxes[0].pen, boxes[i].pen);
        }
    }
}

// A label right-aligned at column 38 in the body font, its value from column 40.
void expect_line(const toolkit::PrintJob& job, int row, const std::string& label, const std::string& value,
                 bool bold_value = false) {
    const PrintItem* l = at(job, row, 38);
    ASSERT_NE(l, nullptr) << label;
    EXPECT_EQ(l->text, label);
    EXPECT_EQ(l->align, PrintAlign::Right) << label;
    EXPECT_EQ(l->font, toolkit::body_font()) << label;
    const PrintItem* v = at(job, row, 40);
    ASSERT_NE(v, nullptr) << label;
    EXPECT_EQ(v->text, value) << label;
    EXPECT_EQ(v->align, PrintAlign::Left) << label;
    EXPECT_EQ(v->font, bold_value ? toolkit::heading_font() : toolkit::body_font()) << label;
}

void expect_rate(const toolkit::PrintJob& job, int row, const std::string& label, const std::string& rate,
                 const std::string& amount) {
    expect_line(job, row, label, rate);
    EXPECT_EQ(text_at(job, row, 50), amount) << label;
}

void expect_heading(const toolkit::PrintJob& job, int row, const std::string& text) {
    const PrintItem* h = at(job, row, 8);
    ASSERT_NE(h, nullptr) << text;
    EXPECT_EQ(h->text, text);
    EXPECT_EQ(h->font, toolkit::heading_font()) << text;
}

void expect_title_and_footer(const toolkit::PrintJob& job, const std::string& title, int footer_row) {
    const PrintItem* t = at(job, 1, 8);
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t->text, "VSH Vestralon v4.13 - " + title);
    EXPECT_EQ(t->font, (toolkit::PrintFont{"Arial", 14, true}));
    const PrintItem* f = at(job, footer_row, 8);
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(f->text, "VSH Vestralon v4.13 - Copyright (c) Veltrano Systemhaus. Alle Rechte vorbehalten.");
    EXPECT_EQ(f->font, (toolkit::PrintFont{"Arial", 8, false}));
}

QString pdf_text(const QString& file) {
    QProcess p;
    p.start("pdftotext", {"-layout", file, "-"});
    EXPECT_TRUE(p.waitForFinished(20000));
    return QString::fromUtf8(p.readAllStandardOutput());
}

class KostenPrint : public test::GuiTest {};

}  // namespace

TEST_F(KostenPrint, HausbauOnePageInFourFramedSections) {
    const k1::Inputs in = building();
    const toolkit::PrintJob job = k1::ko_druck_job(in, k1::ko_rech(in), core::settings());
    EXPECT_EQ(job.name, "Kosten beim Hausbau");
    EXPECT_FALSE(job.landscape);
    EXPECT_EQ(job.rows, 60);
    EXPECT_EQ(job.cols, 80);
    ASSERT_EQ(job.page_count(), 1);
    expect_frames(job, {{0, 3}, {4, 17}, {18, 29}, {30, 45}, {46, 51}});
    expect_title_and_footer(job, "Kosten beim Hausbau", 52);
    EXPECT_TRUE(items_of(job, PrintItem::Kind::Line).empty());

    expect_heading(job, 5, "1. Immobilienkosten:");
    expect_line(job, 7, "Grundstückspreis pro qm:", "200,00 EUR");
    expect_line(job, 9, "Grundstücksgröße in qm:", "500,00");
    expect_line(job, 11, "Kaufpreis des Grundstücks:", "100.000,00 EUR");
    expect_line(job, 13, "Kaufpreis des Gebäudes:", "250.000,00 EUR");
    expect_line(job, 15, "Gesamt-Kaufpreis:", "350.000,00 EUR");

    expect_heading(job, 19, "2. zusätzliche Kosten vom Gesamtkaufpreis:");
    expect_rate(job, 21, "Vermessungskosten:", "2,50%", "2.875,00 EUR");
    expect_rate(job, 23, "Notarkosten:", "1,50%", "1.725,00 EUR");
    expect_rate(job, 25, "Grunderwerbssteuer:", "3,50%", "4.025,00 EUR");
    expect_rate(job, 27, "Maklerkosten:", "6,00%", "17.400,00 EUR");

    expect_heading(job, 31, "3. weitere Kosten:");
    expect_line(job, 33, "Erschließungskosten:", "15.000,00 EUR");
    expect_line(job, 35, "Bauantragskosten:", "1.800,00 EUR");
    expect_line(job, 37, "Kosten für Keller/Grundplatte:", "35.000,00 EUR");
    expect_line(job, 39, "Anschlußkosten:", "6.500,00 EUR");
    expect_line(job, 41, "Kosten für Außenarbeiten:", "12.000,00 EUR");
    expect_line(job, 43, "Kosten für Garage/Carport:", "9.500,00 EUR");

    expect_heading(job, 47, "4. Summe der Kosten:");
    expect_line(job, 49, "Kosten gesamt: ", "455.825,00 EUR", true);
    // Nothing else: title, 4 headings, 5 + 6 pairs, 4 rate lines, the total pair and the footer.
    EXPECT_EQ(job.texts(0).size(), 1u + 4 + 2 * 11 + 3 * 4 + 2 + 1);
}

TEST_F(KostenPrint, HauskaufSumsStandUnderEachOtherWithTheirSigns) {
    const k2::Inputs in = purchase();
    const toolkit::PrintJob job = k2::ko_druck_job(in, k2::ko_rech(in), core::settings());
    EXPECT_EQ(job.name, "Kosten beim Hauskauf");
    EXPECT_FALSE(job.landscape);
    ASSERT_EQ(job.page_count(), 1);
    expect_frames(job, {{0, 3}, {4, 17}, {18, 29}, {30, 40}});
    expect_title_and_footer(job, "Kosten beim Hauskauf", 41);

    expect_heading(job, 5, "1. Immobilien-Kosten:");
    expect_line(job, 7, "Grundstückspreis pro qm:", "200,00 EUR");
    expect_line(job, 9, "Grundstücksgröße in qm:", "500,00");
    expect_line(job, 11, "Kaufpreis des Grundstücks:", "100.000,00 EUR");
    expect_line(job, 13, "Kaufpreis des Gebäudes:", "200.000,00 EUR");
    expect_line(job, 15, "Gesamt-Kaufpreis:", "300.000,00 EUR", true);

    expect_heading(job, 19, "2. zusätzliche Kosten vom Gesamtkaufpreis:");
    expect_rate(job, 21, "Notarkosten:", "1,50%", "4.500,00 EUR");
    expect_rate(job, 23, "Grunderwerbsteuer:", "3,50%", "10.500,00 EUR");
    expect_rate(job, 25, "Maklerkosten:", "6,00%", "20.880,00 EUR");
    expect_line(job, 27, "zusätzliche Kosten gesamt:", "35.880,00 EUR", true);

    // The amounts keep the blanks of their mask, as wide as the widest amount.
    expect_heading(job, 31, "3. Summe der Kosten:");
    expect_line(job, 33, "Immobilien-Kosten:", "    300.000,00 EUR");
    expect_line(job, 35, "zusätzliche Kosten:", "     35.880,00 EUR");
    expect_line(job, 37, "Hauskauf-Kosten gesamt:", "    335.880,00 EUR", true);
    EXPECT_EQ(text_at(job, 33, 39), "<none>");
    EXPECT_EQ(text_at(job, 35, 39), "+");
    EXPECT_EQ(text_at(job, 37, 39), "=");
    EXPECT_EQ(job.texts(0).size(), 1u + 3 + 2 * 9 + 3 * 3 + 2 + 1);
}

TEST_F(KostenPrint, FooterNamesTheWebAddressWhenThereIsOne) {
    core::ProgramSettings s = core::settings();
    s.cs_www = "https://www.veltrano-systemhaus.example";
    EXPECT_EQ(calc::kosten::footer_text(s),
              "VSH Vestralon v4.13 - Copyright (c) Veltrano Systemhaus. Alle Rechte vorbehalten. - "
              "https://www.veltrano-systemhaus.example");
    const k2::Inputs in = purchase();
    EXPECT_NE(k2::ko_druck_job(in, k2::ko_rech(in), s).find(calc::kosten::footer_text(s)), nullptr);
}

TEST_F(KostenPrint, LargeAmountsAndZerosKeepTheirPlaces) {
    // Land and development at their bounds overflow the mask: the amount shows asterisks, the
    // page keeps its layout.
    k1::Inputs in = building();
    in.NGRUNDDM = 99999;
    in.NGRUNDQM = 999999;
    const toolkit::PrintJob big = k1::ko_druck_job(in, k1::ko_rech(in), core::settings());
    EXPECT_EQ(text_at(big, 11, 40), "***********,** EUR");
    EXPECT_EQ(big.texts(0).size(), 1u + 4 + 2 * 11 + 3 * 4 + 2 + 1);

    const k2::Inputs none;
    const toolkit::PrintJob zero = k2::ko_druck_job(none, k2::ko_idata(), core::settings());
    EXPECT_EQ(text_at(zero, 21, 40), "0,00%");
    EXPECT_EQ(text_at(zero, 21, 50), "0,00 EUR");
    EXPECT_EQ(text_at(zero, 37, 40), "          0,00 EUR");
}

TEST_F(KostenPrint, BothPagesRenderToPdf) {
    const k1::Inputs b = building();
    const k2::Inputs p = purchase();
    const QString out = std::getenv("VESTRAL_SHOTS") ? QString(std::getenv("VESTRAL_SHOTS"))
                                                     : QString::fromStdString(dir().string());
    QDir().mkpath(out);
    const QString f1 = out + "/kosten1.pdf";
    const QString f2 = out + "/kosten2.pdf";
    ASSERT_TRUE(toolkit::render_pdf(k1::ko_druck_job(b, k1::ko_rech(b), core::settings()), f1));
    ASSERT_TRUE(toolkit::render_pdf(k2::ko_druck_job(p, k2::ko_rech(p), core::settings()), f2));
    const QString page1 = pdf_text(f1);
    const QString page2 = pdf_text(f2);
    for (const char* t : {"VSH Vestralon v4.13 - Kosten beim Hausbau", "4. Summe der Kosten:",
                          "455.825,00 EUR", "Kosten für Keller/Grundplatte:", "17.400,00 EUR"})
        EXPECT_TRUE(page1.contains(QString::fromUtf8(t))) << t << "\n" << page1.toStdString();
    for (const char* t : {"VSH Vestralon v4.13 - Kosten beim Hauskauf",
                          "Hauskauf-Kosten gesamt:", "335.880,00 EUR", "Alle Rechte vorbehalten."})
        EXPECT_TRUE(page2.contains(QString::fromUtf8(t))) << t << "\n" << page2.toStdString();
}
