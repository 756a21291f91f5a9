// The printed instalment credit plan, asserted on the recorded job.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include "calc/loans/ratenkredit.h"
#include "calc/loans/ratenkredit_print.h"
#include "toolkit/print.h"

using namespace vestral;
using calc::RkInputs;
using toolkit::PrintAlign;
using toolkit::PrintItem;
using toolkit::PrintJob;

namespace {

constexpr const char* kTitle = "Vestralon 1.0";

RkInputs credit(int term, double rate, double fee_pct = 0) {
    RkInputs in;
    in.CBANKNAME = "Kreditbank Köln";
    in.NKREDIT = 10000;
    in.NMONZINS = 6;
    in.NBEARBPRO = fee_pct;
    in.NBEARBGEB = calc::rk_fee_eur(in.NKREDIT, fee_pct);
    in.NLAUFZEIT = term;
    in.NMONRATE = rate;
    return in;
}

PrintJob print(const RkInputs& in) {
    const calc::RkOutcome o = calc::rk_rech(in, 2024);
    EXPECT_FALSE(o.refused);
    return calc::rk_druck(in, o.results, o.rows, kTitle);
}

const PrintItem& item(const PrintJob& job, const std::string& text, int page) {
    const PrintItem* it = job.find(text, page);
    if (!it) {
        ADD_FAILURE() << "no text \"" << text << "\" on page " << page;
        static const PrintItem none;
        return none;
    }
    return *it;
}

// The value printed right of a label on the summary page.
std::string value_after(const PrintJob& job, const std::string& label) {
    const int p = job.page_count() - 1;
    const PrintItem& l = item(job, label, p);
    for (const auto& it : job.pages[static_cast<size_t>(p)].items)
        if (it.kind == PrintItem::Kind::Text && it.row == l.row && it.col == 36) return it.text;
    return "<none>";
}

std::vector<const PrintItem*> lines(const PrintJob& job, int page) {
    std::vector<const PrintItem*> out;
    for (const auto& it : job.pages[static_cast<size_t>(page)].items)
        if (it.kind == PrintItem::Kind::Line) out.push_back(&it);
    return out;
}

}  // namespace

TEST(RkDruck, HeaderBandHeadingsAndRowsOnThePortraitGrid) {
    const PrintJob job = print(credit(12, 0));
    EXPECT_EQ(job.name, "Ratenkredit-Tilgungsplan");
    EXPECT_FALSE(job.landscape);
    EXPECT_EQ(job.rows, 60);
    EXPECT_EQ(job.cols, 80);
    ASSERT_EQ(job.page_count(), 2);

    const auto& first = job.pages[0].items;
    ASSERT_FALSE(first.empty());
    EXPECT_EQ(first[0].kind, PrintItem::Kind::Box);
    EXPECT_EQ(first[0].pen, 5);
    EXPECT_EQ(first[0].col, 4);
    EXPECT_EQ(first[0].col2, 80);
    EXPECT_EQ(first[0].row2 - first[0].row, 3);
    const PrintItem& title = item(job, "Vestralon 1.0 - Ratenkredit-Tilgungsplan", 0);
    EXPECT_EQ(title.row, 1);
    EXPECT_EQ(title.col, 5);
    EXPECT_EQ(title.font, toolkit::title_font());
    const PrintItem& page = item(job, "Seite: 1", 0);
    EXPECT_EQ(page.align, PrintAlign::Right);
    EXPECT_EQ(page.col, 79);

    const double tab = 80.0 / 7;
    EXPECT_EQ(item(job, "Monat", 0).col, 4);
    EXPECT_EQ(item(job, "Monat", 0).row, 5);
    const char* heads[] = {"Kredit", "Zinsen", "Zinssumme", "Tilgung", "Tilgsumme", "monatl. Rate"};
    for (int k = 0; k < 6; ++k) {
        const PrintItem& h = item(job, heads[k], 0);
        EXPECT_EQ(h.row, 5) << heads[k];
        EXPECT_DOUBLE_EQ(h.col, tab * (k + 2)) << heads[k];
        EXPECT_EQ(h.align, PrintAlign::Right) << heads[k];
        EXPECT_EQ(h.font, toolkit::heading_font());
    }
    const auto rules = lines(job, 0);
    ASSERT_EQ(rules.size(), 2u);
    EXPECT_EQ(rules[0]->row, 6);
    EXPECT_EQ(rules[0]->col2 - rules[0]->col, 78);
    EXPECT_LE(rules[0]->col2, 80);

    // Row 1 right under the rule: month, then the six amounts at tabs 2 to 7.
    const auto texts = job.texts(0);
    const auto at = std::find(texts.begin(), texts.end(), "1");
    ASSERT_NE(at, texts.end());
    const std::vector<std::string> row1(at, at + 7);
    EXPECT_EQ(row1,
              (std::vector<std::string>{"1", "10.000,00", "50,00", "50,00", "833,33", "833,33", "883,33"}));
    EXPECT_EQ(item(job, "1", 0).row, 7);
    EXPECT_EQ(item(job, "12", 0).row, 18);
    EXPECT_DOUBLE_EQ(item(job, "10.000,00", 0).col, 2 * tab);
    // After the last row: one row step and a rule.
    EXPECT_EQ(rules[1]->row, 19);
}

TEST(RkDruck, PageBreaksAfterRowFiftyEight) {
    const PrintJob job = print(credit(120, 0));
    // 52 rows per page (rows 7 to 58), then the summary page.
    ASSERT_EQ(job.page_count(), 4);
    EXPECT_EQ(item(job, "52", 0).row, 58);
    EXPECT_EQ(job.find("53", 0), nullptr);
    EXPECT_EQ(item(job, "53", 1).row, 7);
    EXPECT_EQ(item(job, "Seite: 2", 1).row, 1);
    EXPECT_NE(job.find("Vestralon 1.0 - Ratenkredit-Tilgungsplan", 1), nullptr);
    EXPECT_NE(job.find("Monat", 1), nullptr);
    EXPECT_EQ(item(job, "104", 1).row, 58);
    EXPECT_EQ(item(job, "120", 2).row, 7 + 15);
    const auto rules = lines(job, 0);
    ASSERT_EQ(rules.size(), 2u);
    EXPECT_EQ(rules[1]->row, 59);
    EXPECT_EQ(rules[1]->col2 - rules[1]->col, 77);
    for (const auto& p : job.pages)
        for (const auto& it : p.items) {
            EXPECT_LE(it.row, 60);
            EXPECT_LE(it.col, 80);
        }
    EXPECT_NE(job.find("Vestralon 1.0 - Ratenkredit - Zusammenfassung", 3), nullptr);
    EXPECT_NE(job.find("Seite: 4", 3), nullptr);
    EXPECT_EQ(job.find("Monat", 3), nullptr);
}

TEST(RkDruck, FullLastPageGetsNoEmptyHeadingPage) {
    // Fee 0 and rate-driven: 10 000 at 6 % with 242,31 a month needs 52 months.
    RkInputs in = credit(0, 242.31);
    const calc::RkOutcome o = calc::rk_rech(in, 2024);
    ASSERT_EQ(o.rows.size(), 52u);
    const PrintJob job = calc::rk_druck(in, o.results, o.rows, kTitle);
    ASSERT_EQ(job.page_count(), 2);
    EXPECT_EQ(item(job, "52", 0).row, 58);
    EXPECT_NE(job.find("Details:", 1), nullptr);
}

TEST(RkDruck, DetailsOfATermDrivenCreditWithFee) {
    const PrintJob job = print(credit(12, 0, 2));
    const int p = job.page_count() - 1;
    const PrintItem& details = item(job, "Details:", p);
    EXPECT_EQ(details.col, 10);
    EXPECT_EQ(details.row, 5);
    EXPECT_EQ(details.font, toolkit::heading_font());
    struct Line {
        const char* label;
        double row;
        const char* value;
    };
    const Line expected[] = {
        {"Bank:", 7, "Kreditbank Köln"},
        {"Kreditsumme:", 9, "10.000,00 EUR"},
        {"nominal Zinssatz:", 10, "6,000 %"},
        {"Bearbeitungsgebühr:", 12, "2,000 %  = 200,00 EUR"},
        {"Laufzeit:", 14, "12 Monate"},
        {"monatl. Rate:", 15, "0,00 EUR"},  // the input: the term drives
        {"Zinssumme:", 20, "600,00 EUR"},
        {"Tilgungssumme:", 21, "10.600,00 EUR"},
        {"Tilgungszeit: ", 23, "1,00 Jahre"},
        {"eff. Zinssatz:", 24, "6,168 %"},
        // The fee, paid with the first rate, counts in the legal rate only.
        {"effektiver Jahreszins (PAngV):", 25, "15,449 %"},
        {"monatl. Rate: ", 27, "900,00 EUR"},  // the computed rate
        {"letzte Rate:", 28, "900,00 EUR"},
    };
    for (const Line& l : expected) {
        const PrintItem& it = item(job, l.label, p);
        EXPECT_EQ(it.row, l.row) << l.label;
        EXPECT_EQ(it.col, 35) << l.label;
        EXPECT_EQ(it.align, PrintAlign::Right) << l.label;
        EXPECT_EQ(value_after(job, l.label), l.value) << l.label;
    }
    EXPECT_EQ(item(job, "Ergebnis:", p).row, 18);
    EXPECT_EQ(item(job, "Ergebnis:", p).col, 10);
}

TEST(RkDruck, RateDrivenCreditWithoutFeeShowsZeroMonths) {
    const PrintJob job = print(credit(0, 800));
    const int p = job.page_count() - 1;
    EXPECT_EQ(job.find("Bearbeitungsgebühr:", p), nullptr);
    EXPECT_EQ(item(job, "Laufzeit:", p).row, 12);
    EXPECT_EQ(value_after(job, "Laufzeit:"), "0 Monate");
    EXPECT_EQ(value_after(job, "monatl. Rate:"), "800,00 EUR");
    EXPECT_EQ(value_after(job, "Tilgungszeit: "), "1,02 Jahre");
    EXPECT_EQ(value_after(job, "letzte Rate:"), "300,00 EUR");
    EXPECT_EQ(item(job, "letzte Rate:", p).row, 26);
    // Without a fee the legal rate still counts the flat-rate interest.
    EXPECT_EQ(item(job, "effektiver Jahreszins (PAngV):", p).row, item(job, "eff. Zinssatz:", p).row + 1);
    EXPECT_EQ(value_after(job, "effektiver Jahreszins (PAngV):"), "12,069 %");
}

TEST(RkDruck, RendersToPdf) {
    // Kept for looking at when VESTRAL_SHOTS names a directory.
    const QByteArray shots = qgetenv("VESTRAL_SHOTS");
    QTemporaryDir tmp;
    const QString out = shots.isEmpty() ? tmp.path() : QString::fromLocal8Bit(shots);
    QDir().mkpath(out);
    const QString file = out + "/ratenkredit.pdf";
    ASSERT_TRUE(toolkit::render_pdf(print(credit(60, 0, 2.5)), file));
    QFile pdf(file);
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    EXPECT_TRUE(pdf.read(5).startsWith("%PDF"));
}
