#include "calc/loans/hypotilg_print.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QString>
#include <cstdlib>
#include <map>

#include "core/mask.h"
#include "core/numbers.h"
#include "toolkit/print.h"

using namespace vestral;
using namespace vestral::calc;
using toolkit::PrintAlign;
using toolkit::PrintItem;
using toolkit::PrintJob;

namespace {

// 100 000 at 5 %, 2 % repayment from 01.01.2007, 10 years fixed, 6 % afterwards: repaid in 2030.
HypoInputs plan25() {
    HypoInputs in;
    in.CBANKNAME = "Sparkasse Süd";
    in.NHYPOTHEK = 100000;
    in.NZINSSATZ = 5;
    in.NTILGANNO = 2;
    in.DABDATUM = core::Date{2007, 1, 1};
    in.NLAUFZEIT = 10;
    in.NZINSNACH = 6;
    in.NEINMALMO = 1;
    return in;
}

HypoInputs with_fees() {
    HypoInputs in = plan25();
    in.NKONTOGEB = 30;
    in.NKREDITPR = 1;
    in.NKREDITDM = 1000;
    in.NEINMALDM = 2000;
    in.NEINMALMO = 6;
    return in;
}

std::vector<HypoRow> monthly(const std::vector<HypoRow>& rows) {
    std::vector<HypoRow> v;
    for (const auto& r : rows)
        if (r.KEY == 1) v.push_back(r);
    return v;
}

const PrintItem& item(const PrintJob& job, const std::string& text, int page) {
    const PrintItem* it = job.find(text, page);
    if (!it) throw std::runtime_error("not printed on page " + std::to_string(page) + ": " + text);
    return *it;
}

// The value printed to the right of a summary label, on the same row.
std::string value_of(const PrintJob& job, const std::string& label, int page) {
    const PrintItem& l = item(job, label, page);
    EXPECT_EQ(l.align, PrintAlign::Right) << label;
    EXPECT_EQ(l.col, 35) << label;
    for (const PrintItem& it : job.pages[static_cast<size_t>(page)].items)
        if (it.kind == PrintItem::Kind::Text && it.row == l.row && it.col == 36) return it.text;
    return "<none>";
}

int boxes(const toolkit::PrintPage& p, int pen) {
    int n = 0;
    for (const auto& it : p.items)
        if (it.kind == PrintItem::Kind::Box && it.pen == pen) ++n;
    return n;
}

}  // namespace

TEST(HypotilgPrint, JobIsLandscapeOnAGridOf50By110) {
    const HypoOutcome o = ht_tab(plan25());
    const PrintJob job = ht_druck(plan25(), o.results, o.rows, "Vestralon 1.0");
    EXPECT_EQ(job.name, "Hypothekentilgungsplan");
    EXPECT_TRUE(job.landscape);
    EXPECT_EQ(job.rows, 50);
    EXPECT_EQ(job.cols, 110);
}

TEST(HypotilgPrint, EveryBodyPageHasBandHeadingsAndBreaksAfterRow44) {
    const HypoInputs in = plan25();
    const HypoOutcome o = ht_tab(in);
    const auto months = monthly(o.rows);
    ASSERT_EQ(months.size(), 283u);  // 01.2007 .. 07.2030
    const PrintJob job = ht_druck(in, o.results, o.rows, "Vestralon 1.0");

    // 38 rows per page (rows 7..44), then the summary page.
    const int per_page = 38;
    const int body_pages = static_cast<int>(months.size()) / per_page + 1;
    ASSERT_EQ(job.page_count(), body_pages + 1);

    const char* headings[] = {"Hypothek",      "Zinsen",        "Tilgung",  "Monatsrate", "Gebühren",
                              "Sond.-Tilgung", "Rest-Hypothek", "Restzins", "Geb.-Summe", "Sond.-Summe"};
    for (int p = 0; p < job.page_count(); ++p) {
        SCOPED_TRACE(p);
        const auto& band = item(job, "Vestralon 1.0 - Hypothekentilgungsplan", p);
        EXPECT_EQ(band.col, 3);
        EXPECT_EQ(band.font, toolkit::title_font());
        const auto& page_no = item(job, "Seite: " + std::to_string(p + 1), p);
        EXPECT_EQ(page_no.align, PrintAlign::Right);
        EXPECT_EQ(page_no.col, 109);
        EXPECT_EQ(boxes(job.pages[static_cast<size_t>(p)], 5), 1);
        if (p == job.page_count() - 1) {
            EXPECT_EQ(job.find("Datum", p), nullptr);
            continue;
        }
        EXPECT_EQ(item(job, "Datum", p).col, 2);
        EXPECT_EQ(item(job, "Datum", p).row, 5);
        for (int k = 0; k < 10; ++k) {
            const auto& h = item(job, headings[k], p);
            EXPECT_EQ(h.align, PrintAlign::Right);
            EXPECT_EQ(h.col, 10.0 * (k + 2)) << headings[k];
            EXPECT_EQ(h.row, 5);
        }
    }

    // Each monthly row on its page and row, in record order.
    for (size_t i = 0; i < months.size(); ++i) {
        const int page = static_cast<int>(i) / per_page;
        const double row = 7 + static_cast<double>(i % per_page);
        const auto& d = item(job, core::format_date(months[i].DATUM), page);
        EXPECT_EQ(d.row, row) << i;
        EXPECT_EQ(d.col, 2);
    }

    // The first row's amounts at their tabs.
    const auto texts_at = [&](int page, double row) {
        std::map<double, std::string> m;
        for (const auto& it : job.pages[static_cast<size_t>(page)].items)
            if (it.kind == PrintItem::Kind::Text && it.row == row) m[it.col] = it.text;
        return m;
    };
    auto first = texts_at(0, 7);
    EXPECT_EQ(first[2], "01.01.2007");
    EXPECT_EQ(first[20], "100.000,00");
    EXPECT_EQ(first[30], "416,67");
    EXPECT_EQ(first[40], "166,67");
    EXPECT_EQ(first[50], "583,33");
    EXPECT_EQ(first[60], "0,00");
    EXPECT_EQ(first[80], "99.833,33");
    EXPECT_EQ(first[90], core::trim_left(core::format_mask(months[0].RESTZINS, "@E 99,999,999.99")));
    EXPECT_NEAR(months[0].RESTZINS, 78497.20 - 416.67, 0.02);
    auto last = texts_at(body_pages - 1, 7 + static_cast<double>((months.size() - 1) % per_page));
    EXPECT_EQ(last[2], "01.07.2030");
    EXPECT_EQ(last[20], "494,73");
    EXPECT_EQ(last[30], "2,47");
    EXPECT_EQ(last[50], "494,73");
    EXPECT_EQ(last[80], "0,00");

    // The closing rule of a full page sits one row below row 45.
    bool rule = false;
    for (const auto& it : job.pages[0].items)
        if (it.kind == PrintItem::Kind::Line && it.row == 46 && it.col == 1 && it.col2 == 110) rule = true;
    EXPECT_TRUE(rule);
}

TEST(HypotilgPrint, TwentyFiveYearPlanKeepsEveryRowAndHeadsEveryPage) {
    HypoInputs in = plan25();
    in.NZINSNACH = 5;  // the rate stays: 5 % + 2 % is repaid after a little more than 25 years
    const HypoOutcome o = ht_tab(in);
    const auto months = monthly(o.rows);
    ASSERT_GT(months.size(), 300u);
    EXPECT_EQ(months.back().DATUM.year, 2032);
    const PrintJob job = ht_druck(in, o.results, o.rows, "Vestralon 1.0");
    const size_t body_pages = months.size() / 38 + 1;
    ASSERT_EQ(static_cast<size_t>(job.page_count()), body_pages + 1);
    size_t dated = 0;
    for (int p = 0; p < job.page_count(); ++p) {
        SCOPED_TRACE(p);
        for (const auto& it : job.pages[static_cast<size_t>(p)].items) {
            if (it.kind != PrintItem::Kind::Text || it.col != 2 || it.row < 7) continue;
            ASSERT_LT(static_cast<size_t>(p), body_pages);
            ASSERT_LT(dated, months.size());
            EXPECT_EQ(it.text, core::format_date(months[dated].DATUM));
            EXPECT_LE(it.row, 44);
            ++dated;
        }
        if (static_cast<size_t>(p) < body_pages) {
            EXPECT_NE(job.find("Rest-Hypothek", p), nullptr);
            EXPECT_NE(job.find("Sond.-Summe", p), nullptr);
        }
    }
    EXPECT_EQ(dated, months.size());
    const int s = job.page_count() - 1;
    EXPECT_EQ(value_of(job, "Tilgungszeit:", s),
              core::trim_left(core::format_mask(o.results.NTILGZEIT, "@E 999.99")) + " Jahre");
    EXPECT_EQ(value_of(job, "Zins nach Festzeit:", s), "5,000 %");
}

TEST(HypotilgPrint, SummaryPageListsInputsAndResults) {
    const HypoInputs in = plan25();
    const HypoOutcome o = ht_tab(in);
    const PrintJob job = ht_druck(in, o.results, o.rows, "Vestralon 1.0");
    const int s = job.page_count() - 1;

    EXPECT_EQ(boxes(job.pages[static_cast<size_t>(s)], 1), 2);
    std::vector<std::pair<double, double>> frames;
    for (const auto& it : job.pages[static_cast<size_t>(s)].items)
        if (it.kind == PrintItem::Kind::Box && it.pen == 1) frames.push_back({it.row, it.row2});
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_EQ(frames[0], (std::pair<double, double>{5, 26}));
    EXPECT_EQ(frames[1], (std::pair<double, double>{27, 43}));

    const auto& head = item(job, "Zusammenfassung:", s);
    EXPECT_EQ(head.row, 6);
    EXPECT_EQ(head.col, 10);
    EXPECT_EQ(head.font, toolkit::heading_font());
    EXPECT_EQ(value_of(job, "Bank:", s), "Sparkasse Süd");
    EXPECT_EQ(item(job, "Bank:", s).row, 8);
    EXPECT_EQ(value_of(job, "Hypothekensumme:", s), "100.000,00 EUR");
    EXPECT_EQ(item(job, "Hypothekensumme:", s).row, 10);
    EXPECT_EQ(value_of(job, "nom. Zinssatz:", s), "5,000 %");
    EXPECT_EQ(item(job, "nom. Zinssatz:", s).row, 11);
    EXPECT_EQ(value_of(job, "Tilgung pro Jahr:", s), "2,000 %");
    EXPECT_EQ(value_of(job, "Vertragsbeginn:", s), "01.01.2007");
    EXPECT_EQ(value_of(job, "Zinsbindung:", s), "10 Jahre");
    EXPECT_EQ(value_of(job, "Zins nach Festzeit:", s), "6,000 %");
    EXPECT_EQ(item(job, "Zins nach Festzeit:", s).row, 17);
    // No special repayment and no fees: their lines are left out.
    EXPECT_EQ(job.find("jährliche Sondertilgung.:", s), nullptr);
    EXPECT_EQ(job.find("Zahlungsmonat:", s), nullptr);
    EXPECT_EQ(job.find("Finanzierte Gebühren:", s), nullptr);

    const auto& result = item(job, "Ergebnis:", s);
    EXPECT_EQ(result.row, 21);
    EXPECT_EQ(result.font, toolkit::heading_font());
    EXPECT_EQ(value_of(job, "Zinssumme:", s), "78.497,20 EUR");
    EXPECT_EQ(value_of(job, "Tilgungssumme:", s), "178.497,20 EUR");
    EXPECT_EQ(value_of(job, "Tilgungszeit:", s), "23,00 Jahre");
    EXPECT_EQ(value_of(job, "Summe Gebühren:", s), "0,00 EUR");
    EXPECT_EQ(value_of(job, "Summe Sondertilgungen:", s), "0,00 EUR");
    EXPECT_EQ(value_of(job, "monatliche Rate:", s), "583,33 EUR");
    EXPECT_EQ(value_of(job, "monatliche Rate nach Festzeit:", s), "666,67 EUR");
    EXPECT_EQ(value_of(job, "effektiver Zinssatz:", s), "5,116 %");
    EXPECT_EQ(item(job, "effektiver Zinssatz:", s).row, 34);
    // Without fees the legal rate is the nominal-based one; it stands on the line below.
    EXPECT_EQ(value_of(job, "effektiver Jahreszins (PAngV):", s), "5,116 %");
    EXPECT_EQ(item(job, "effektiver Jahreszins (PAngV):", s).row, 35);
}

TEST(HypotilgPrint, AnUndefinedAnnualRateLeavesItsLineEmpty) {
    HypoInputs in = plan25();
    HypoOutcome o = ht_tab(in);
    o.results.NJAHRESZINS.reset();
    const PrintJob job = ht_druck(in, o.results, o.rows, "Vestralon 1.0");
    const int s = job.page_count() - 1;
    EXPECT_EQ(value_of(job, "effektiver Jahreszins (PAngV):", s), "<none>");
}

TEST(HypotilgPrint, FeesAndSpecialRepaymentAddTheirLinesAndSums) {
    const HypoInputs in = with_fees();
    const HypoOutcome o = ht_tab(in);
    const PrintJob job = ht_druck(in, o.results, o.rows, "Vestralon 1.0");
    const int s = job.page_count() - 1;
    EXPECT_EQ(value_of(job, "jährliche Sondertilgung.:", s), "2.000,00 EUR");
    EXPECT_EQ(value_of(job, "Zahlungsmonat:", s), "Juni");
    EXPECT_EQ(item(job, "Zahlungsmonat:", s).row, 20);
    EXPECT_EQ(item(job, "Finanzierte Gebühren:", s).row, 22);
    EXPECT_EQ(value_of(job, "jährliche Kontoführungsgeb.:", s), "30,00 EUR");
    EXPECT_EQ(value_of(job, "jährliche Kreditgebühren:", s), "1.000,00 EUR = 1 % der Hypothekensumme");
    EXPECT_EQ(item(job, "jährliche Kreditgebühren:", s).row, 24);
    EXPECT_EQ(item(job, "Ergebnis:", s).row, 28);

    double fees = 0, specials = 0;
    for (const auto& r : monthly(o.rows)) {
        fees += core::round_to(r.GEBUEHR, 2);
        specials += core::round_to(r.EINMALDM, 2);
    }
    EXPECT_GT(fees, 1000);
    EXPECT_GT(specials, 2000);
    EXPECT_EQ(value_of(job, "Summe Gebühren:", s),
              core::trim_left(core::format_mask(fees, "@E 999,999,999.99")) + " EUR");
    EXPECT_EQ(value_of(job, "Summe Sondertilgungen:", s),
              core::trim_left(core::format_mask(specials, "@E 999,999,999.99")) + " EUR");
    // Fee lines on the body pages: the credit fee in the first row, the account fee every December.
    EXPECT_EQ(job.find("1.000,00", 0)->col, 60);
}

TEST(HypotilgPrint, MonthNamesAreGuarded) {
    EXPECT_STREQ(hypo_month_name(3), "März");
    EXPECT_STREQ(hypo_month_name(0), "");
    EXPECT_STREQ(hypo_month_name(13), "");
}

// Renders one plan for looking at the pages (only when a directory is named).
TEST(HypotilgPrint, RendersToPdfWhenAsked) {
    const char* out = std::getenv("VESTRAL_SHOTS");
    if (!out) GTEST_SKIP() << "VESTRAL_SHOTS not set";
    const HypoInputs in = with_fees();
    const HypoOutcome o = ht_tab(in);
    QDir().mkpath(out);
    EXPECT_TRUE(toolkit::render_pdf(ht_druck(in, o.results, o.rows, "Vestralon 1.0"),
                                    QString(out) + "/hypotilg.pdf"));
}
