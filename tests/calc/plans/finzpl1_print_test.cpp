// The printed owner-occupied financing plan, asserted on the recorded jobs.
#include "calc/plans/finzpl1_print.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QString>
#include <algorithm>
#include <cstdlib>

#include "calc/loans/bausparen.h"
#include "calc/loans/bausparen_example.h"
#include "core/catalogue.h"
#include "core/dbf.h"
#include "support/core_tempdir.h"
#include "toolkit/print.h"

using namespace vestral;
using calc::Fp1PrintInput;
using calc::Fp1Row;
using calc::FpTerms;
using toolkit::PrintAlign;
using toolkit::PrintItem;
using toolkit::PrintJob;

namespace {

constexpr const char* kTitle = "Vestralon 1.0";

FpTerms mortgage_terms(const std::string& bank) {
    FpTerms t;
    t.text["BANKNAME"] = bank;
    t.num = {{"HYPOTHEK", 100000},  {"ZINSSATZ", 5.125}, {"TILGJAHR", 2},      {"ABJAHR", 2012},
             {"LAUFZEIT", 10},      {"ZINSNACH", 6.25},  {"EINMALDM", 1000},   {"EINMALMO", 3},
             {"ZINSSUM", 80123.45}, {"TILGSUM", 100000}, {"TILGZEIT", 27.5},   {"EFFZINS", 5.24},
             {"GEBUSUM", 0},        {"EINMSUM", 5000},   {"ANNUITAT", 593.75}, {"ANNUITA2", 612.5}};
    return t;
}

// A mortgage of `years` rows from `from`, the balance falling by 1 000 a year.
void add_mortgage(std::vector<Fp1Row>& rows, int which, int from, int years) {
    for (int k = 0; k < years; ++k) {
        const int jahr = from + k;
        auto it = std::find_if(rows.begin(), rows.end(), [&](const Fp1Row& r) { return r.JAHR == jahr; });
        if (it == rows.end()) {
            rows.push_back({});
            rows.back().JAHR = jahr;
            it = rows.end() - 1;
        }
        double& summe = which == 1 ? it->H1SUMME : it->H2SUMME;
        (which == 1 ? it->H1ZINSEN : it->H2ZINSEN) = 4000;
        (which == 1 ? it->H1RATEN : it->H2RATEN) = 7125;
        summe = 100000 - 1000.0 * k;
    }
    std::sort(rows.begin(), rows.end(), [](const Fp1Row& a, const Fp1Row& b) { return a.JAHR < b.JAHR; });
}

// The texts a page holds in one column (right edge for right-aligned cells).
std::vector<std::string> column(const PrintJob& job, int page, double col) {
    std::vector<std::string> out;
    for (const PrintItem& it : job.pages[page].items)
        if (it.kind == PrintItem::Kind::Text && std::abs(it.col - col) < 0.01) out.push_back(it.text);
    return out;
}

std::vector<std::string> all_texts(const PrintJob& job) {
    std::vector<std::string> out;
    for (int p = 0; p < job.page_count(); ++p)
        for (const std::string& t : job.texts(p)) out.push_back(t);
    return out;
}

bool has(const std::vector<std::string>& v, const std::string& t) {
    return std::find(v.begin(), v.end(), t) != v.end();
}

Fp1PrintInput only_mortgage(int which, int from, int years, bool with_terms = true) {
    Fp1PrintInput in;
    (which == 1 ? in.inc.hyp1 : in.inc.hyp2) = true;
    add_mortgage(in.rows, which, from, years);
    if (with_terms) (which == 1 ? in.hyt1 : in.hyt2) = mortgage_terms("Testbank");
    return in;
}

}  // namespace

TEST(Fp1Print, BothQuestionsAnsweredNoGiveOneJobWithoutPages) {
    const auto jobs = calc::fp1_druck(only_mortgage(1, 2007, 3), false, false, kTitle);
    ASSERT_EQ(jobs.size(), 1u);
    EXPECT_EQ(jobs[0].page_count(), 0);
    EXPECT_EQ(jobs[0].name, "Finanzierungsplan bei Eigennutzung");
}

TEST(Fp1Print, MortgageSectionWithItsTermsAndResults) {
    const auto jobs = calc::fp1_druck(only_mortgage(1, 2007, 3), true, false, kTitle);
    ASSERT_EQ(jobs.size(), 1u);
    const PrintJob& job = jobs[0];
    EXPECT_FALSE(job.landscape);
    ASSERT_EQ(job.page_count(), 1);
    const auto t = job.texts(0);
    EXPECT_TRUE(has(t, "Vestralon 1.0 - Finanzierungsplan bei Eigennutzung"));
    EXPECT_TRUE(has(t, "Seite: 1"));
    EXPECT_TRUE(has(t, "1. Hypothek - Details:"));
    EXPECT_TRUE(has(t, "Testbank"));
    EXPECT_TRUE(has(t, "100.000,00 EUR"));
    EXPECT_TRUE(has(t, "5,125 %"));
    EXPECT_TRUE(has(t, "6,250 %"));  // "Zins nach Festzeit:" with three decimals
    EXPECT_TRUE(has(t, "März"));
    EXPECT_TRUE(has(t, "Ergebnis:"));
    EXPECT_TRUE(has(t, "27,50 Jahre"));
    EXPECT_TRUE(has(t, "612,50 EUR"));
    EXPECT_FALSE(has(t, "Finanzierte Gebühren:"));
    // Headings and rows right at the tabs of a fifth of the width.
    const PrintItem* head = job.find("Jahres-Raten", 0);
    ASSERT_TRUE(head);
    EXPECT_DOUBLE_EQ(head->col, 64);
    EXPECT_EQ(head->align, PrintAlign::Right);
    EXPECT_EQ(column(job, 0, 16), (std::vector<std::string>{"Jahr", "2007", "2008", "2009"}));
    EXPECT_TRUE(has(column(job, 0, 32), "98.000,00"));
    // The band: a thick frame from column 2 to 80 over rows 0 to 3.
    const PrintItem& box = job.pages[0].items.front();
    EXPECT_EQ(box.kind, PrintItem::Kind::Box);
    EXPECT_EQ(box.pen, 5);
    EXPECT_DOUBLE_EQ(box.col2, 80);
}

TEST(Fp1Print, SecondMortgageIsHeadedAsSuchAndAMonthZeroPrintsNoName) {
    Fp1PrintInput in = only_mortgage(2, 2010, 2);
    in.hyt2->num["EINMALMO"] = 0;
    in.hyt2->num["KONTOGEB"] = 120;
    in.hyt2->num["KREDITDM"] = 500;
    in.hyt2->num["KREDITPR"] = 0.5;
    const PrintJob job = calc::fp1_druck(in, true, false, kTitle)[0];
    const auto t = job.texts(0);
    EXPECT_TRUE(has(t, "2. Hypothek - Details:"));
    EXPECT_TRUE(has(t, "2. Hypothek"));
    EXPECT_FALSE(has(t, "1. Hypothek"));
    EXPECT_TRUE(has(t, "Zahlungsmonat:"));
    for (const char* m : {"Januar", "Dezember"}) EXPECT_FALSE(has(t, m));
    EXPECT_TRUE(has(t, "Finanzierte Gebühren:"));
    EXPECT_TRUE(has(t, "jährliche Kontoführungsgeb.: 120,00 EUR"));
    EXPECT_TRUE(has(t, "jährliche Kreditgebühren: 500,00 EUR = 1 % der Hypothekensumme"));
}

TEST(Fp1Print, MissingTermsCopyPrintsTheHeadingWithoutDetails) {
    const PrintJob job = calc::fp1_druck(only_mortgage(1, 2007, 3, false), true, false, kTitle)[0];
    const auto t = all_texts(job);
    EXPECT_TRUE(has(t, "1. Hypothek - Details:"));
    EXPECT_TRUE(has(t, "Ergebnis:"));
    EXPECT_TRUE(has(t, "2009"));
    for (const char* label : {"Bank:", "Hypothekensumme:", "Zinssumme:", "monatliche Rate:"})
        EXPECT_FALSE(has(t, label)) << label;
}

TEST(Fp1Print, ASourceStartingLaterListsItsOwnYears) {
    // A contract saving from 2007, the mortgage from 2012.
    Fp1PrintInput in = only_mortgage(1, 2012, 3);
    in.inc.bau = true;
    for (int j = 2007; j <= 2014; ++j) {
        Fp1Row r;
        r.JAHR = j;
        r.BSEINZAHL = 1200;
        r.KTOSTAND = 1200.0 * (j - 2006);
        auto it = std::find_if(in.rows.begin(), in.rows.end(), [&](const Fp1Row& x) { return x.JAHR == j; });
        if (it == in.rows.end())
            in.rows.push_back(r);
        else
            it->BSEINZAHL = r.BSEINZAHL, it->KTOSTAND = r.KTOSTAND;
    }
    std::sort(in.rows.begin(), in.rows.end(),
              [](const Fp1Row& a, const Fp1Row& b) { return a.JAHR < b.JAHR; });
    const PrintJob job = calc::fp1_druck(in, true, false, kTitle)[0];
    ASSERT_EQ(job.page_count(), 2);
    EXPECT_EQ(column(job, 0, 16), (std::vector<std::string>{"Jahr", "2012", "2013", "2014"}));
    EXPECT_TRUE(has(job.texts(1), "Bausparvertrag - Details: "));
    EXPECT_TRUE(has(job.texts(1), "Seite: 2"));
    EXPECT_EQ(column(job, 1, 80.0 / 7).size(), 9u);  // "Jahr" and 2007 to 2014
}

TEST(Fp1Print, TheContractsFinalYearWithBalanceZeroIsListed) {
    Fp1PrintInput in;
    in.inc.bau = true;
    in.inc.nur_tilg = true;
    for (int j = 2020; j <= 2025; ++j) {
        Fp1Row r;
        r.JAHR = j;
        r.BSTILGSUM = 1000;
        r.BSTIZINS = 50;
        r.KTOSTAND = j == 2025 ? 0 : -5000 + 1000.0 * (j - 2020);
        in.rows.push_back(r);
    }
    const PrintJob job = calc::fp1_druck(in, true, false, kTitle)[0];
    const auto years = column(job, 0, 80.0 / 7);
    EXPECT_TRUE(has(years, "2025"));
    EXPECT_TRUE(has(job.texts(0), "Bausparvertrag - Details: NUR TILGUNGSPHASE !!!"));
}

TEST(Fp1Print, LongMortgagesPrintEveryYearOnThePage) {
    for (int n : {40, 50}) {
        SCOPED_TRACE(n);
        const PrintJob job = calc::fp1_druck(only_mortgage(1, 2000, n), true, false, kTitle)[0];
        ASSERT_GE(job.page_count(), 2);
        std::vector<std::string> years;
        for (int p = 0; p < job.page_count(); ++p) {
            EXPECT_TRUE(has(job.texts(p), "Jahres-Raten")) << "page " << p;
            for (const PrintItem& it : job.pages[p].items) {
                EXPECT_LE(it.row, 59) << it.text;
                if (it.kind == PrintItem::Kind::Text && it.col == 16 && it.text != "Jahr")
                    years.push_back(it.text);
            }
        }
        ASSERT_EQ(years.size(), static_cast<size_t>(n));
        EXPECT_EQ(years.front(), "2000");
        EXPECT_EQ(years.back(), std::to_string(2000 + n - 1));
        // The details stand on the first page only.
        EXPECT_FALSE(has(job.texts(1), "1. Hypothek - Details:"));
        EXPECT_TRUE(has(job.texts(job.page_count() - 1), "Ergebnis:"));
    }
}

TEST(Fp1Print, AllowanceOnlyIsOneSectionOfItsYears) {
    Fp1PrintInput in;
    in.inc.afa = true;
    in.user.NEINKOMM = {60000, 2};
    in.user.NFAMSTAND = 2;
    in.user.NKINDER = 2;
    in.objekt.NEINZUG = 2006;
    in.objekt.LNEUBAU = true;
    in.afa.NFOERDRATE = {1, 2};
    for (int j = 2006; j <= 2015; ++j) {
        Fp1Row r;
        r.JAHR = j;
        r.EINKOMM = j <= 2013 ? 60000 : 0;
        r.AFA = j <= 2013 ? 1250 : 0;
        in.rows.push_back(r);
    }
    const auto jobs = calc::fp1_druck(in, true, false, kTitle);
    ASSERT_EQ(jobs.size(), 1u);
    ASSERT_EQ(jobs[0].page_count(), 1);
    const auto t = jobs[0].texts(0);
    EXPECT_TRUE(has(t, "1. Finanzdaten:"));
    EXPECT_TRUE(has(t, "Splittingtabelle"));
    EXPECT_TRUE(has(t, "60.000,00 EUR"));
    EXPECT_TRUE(has(t, "Ja"));
    EXPECT_TRUE(has(t, "4. Abschreibungsplan:"));
    EXPECT_FALSE(has(t, "Ergebnis:"));
    std::vector<std::string> years;
    for (const PrintItem& it : jobs[0].pages[0].items)
        if (it.align == PrintAlign::Left && std::abs(it.col - 80.0 / 6) < 0.01) years.push_back(it.text);
    EXPECT_EQ(years.size(), 9u);  // "Jahr", 2006 to 2013
    EXPECT_FALSE(has(years, "2014"));
}

TEST(Fp1Print, OverviewSubtractsTheContractBalance) {
    Fp1PrintInput in = only_mortgage(1, 2007, 2);
    in.inc.bau = true;
    in.rows[0].KTOSTAND = 3000;
    in.rows[0].BSSPZINS = 100;
    in.rows[0].BSTIZINS = 10;
    in.rows[0].BSEINZAHL = 1200;
    in.rows[0].AFA = 1234.5;
    const auto jobs = calc::fp1_druck(in, false, true, kTitle);
    ASSERT_EQ(jobs.size(), 1u);
    const PrintJob& job = jobs[0];
    EXPECT_TRUE(job.landscape);
    ASSERT_EQ(job.page_count(), 1);
    const auto t = job.texts(0);
    EXPECT_TRUE(has(t, "Gesamter Tilgungsplan als Übersicht"));
    EXPECT_TRUE(has(t, "Kindergeld"));
    // Kontostand 100 000 − 3 000; Zinsen 4 000 − 100 + 10; Raten 7 125 + 1 200.
    EXPECT_EQ(column(job, 0, 110), (std::vector<std::string>{"Kontostand", "97.000,00", "99.000,00"}));
    EXPECT_TRUE(has(column(job, 0, 88), "3.910,00"));
    EXPECT_TRUE(has(column(job, 0, 99), "8.325,00"));
    EXPECT_TRUE(has(column(job, 0, 66), "1.234,50"));
}

TEST(Fp1Print, OverviewBreaksBeyondFortyFourRowsAndCountsOnFromTheSections) {
    const auto jobs = calc::fp1_druck(only_mortgage(1, 2000, 50), true, true, kTitle);
    ASSERT_EQ(jobs.size(), 2u);
    const int portrait = jobs[0].page_count();
    const PrintJob& land = jobs[1];
    ASSERT_EQ(land.page_count(), 2);
    EXPECT_TRUE(has(land.texts(0), "Seite: " + std::to_string(portrait + 1)));
    EXPECT_TRUE(has(land.texts(1), "Seite: " + std::to_string(portrait + 2)));
    EXPECT_FALSE(has(land.texts(1), "Gesamter Tilgungsplan als Übersicht"));
    EXPECT_TRUE(has(land.texts(1), "Zinsen gesamt"));
    for (const PrintItem& it : land.pages[0].items) EXPECT_LE(it.row, 47) << it.text;
    EXPECT_EQ(column(land, 0, 11).size() + column(land, 1, 11).size(), 52u);  // two headings, 50 years
}

TEST(Fp1Print, TermsAreReadFromTheFirstRowOfACopy) {
    test::TempDir dir;
    EXPECT_FALSE(calc::fp_read_terms(dir.path(), "FP1HYT1.DBF"));
    const core::dbf::Layout layout = core::catalogue_layout("HYPOBANK");
    ASSERT_TRUE(core::dbf::create_table(dir.path() / "FP1HYT1.DBF", layout));
    EXPECT_FALSE(calc::fp_read_terms(dir.path(), "FP1HYT1.DBF"));  // empty
    {
        core::dbf::Table t;
        ASSERT_TRUE(t.open_unchecked(dir.path() / "FP1HYT1.DBF", "FP1HYT1"));
        t.append_blank();
        t.set_str("BANKNAME", "Sparkasse Süd");
        t.set_num("ZINSNACH", 6.125);
        t.flush();
        t.close();
    }
    const auto terms = calc::fp_read_terms(dir.path(), "fp1hyt1.dbf");
    ASSERT_TRUE(terms);
    EXPECT_EQ(terms->s("BANKNAME"), "Sparkasse Süd");
    EXPECT_DOUBLE_EQ(terms->n("ZINSNACH"), 6.125);
    EXPECT_DOUBLE_EQ(terms->n("NOSUCH"), 0);
}

// Renders every section and the overview for looking at the pages (only when a directory is named).
TEST(Fp1Print, RendersToPdfWhenAsked) {
    const char* out = std::getenv("VESTRAL_SHOTS");
    if (!out) GTEST_SKIP() << "VESTRAL_SHOTS not set";
    Fp1PrintInput in = only_mortgage(1, 2007, 30);
    add_mortgage(in.rows, 2, 2010, 20);
    in.inc.hyp2 = true;
    in.hyt2 = mortgage_terms("Zweite Bank");
    in.inc.bau = in.inc.kre = in.inc.afa = true;
    FpTerms bau;
    bau.text["BANKNAME"] = "Bausparkasse Nord";
    bau.num = {
        {"BSPSUMME", 50000}, {"SPARSATZ", 40}, {"SMONRATE", 250}, {"SPARSUM", 20000}, {"TILGSUM", 30000}};
    in.bau2 = bau;
    FpTerms kre;
    kre.text["BANKNAME"] = "Kreditbank";
    kre.num = {{"KREDIT", 10000},   {"ZINSSATZ", 6}, {"LAUFZEIT", 48},
               {"MONRATE", 234.85}, {"KREDITPR", 2}, {"KREDITDM", 200}};
    in.kre2 = kre;
    for (Fp1Row& r : in.rows) {
        if (r.JAHR < 2014) r.BSEINZAHL = 3000, r.KTOSTAND = 3000.0 * (r.JAHR - 2006);
        if (r.JAHR < 2011) r.RKSUMME = 10000 - 2500.0 * (r.JAHR - 2007), r.RKRATEN = 2818.2;
        if (r.JAHR < 2015) r.EINKOMM = 60000, r.AFA = 2556, r.KINDGELD = 1534;
    }
    in.user.NEINKOMM = {60000, 2};
    in.afa.NABSCHREIB = {20448, 2};
    const auto jobs = calc::fp1_druck(in, true, true, kTitle);
    QDir().mkpath(out);
    EXPECT_TRUE(toolkit::render_pdf(jobs[0], QString(out) + "/finzpl1_sections.pdf"));
    EXPECT_TRUE(toolkit::render_pdf(jobs[1], QString(out) + "/finzpl1_overview.pdf"));
}

TEST(Fp1Print, TheExampleContractPrintsTheYearItsLoanEnds) {
    calc::Fp1Sources src;
    std::vector<calc::BausparRow> bau;
    for (const calc::BausparRow& r : calc::bau_rech(test::bausparen_first_case()).rows)
        if (r.KEY == 1) bau.push_back(r);
    src.bau = bau;
    Fp1PrintInput in;
    in.inc.bau = true;
    const calc::Fp1Outcome o = calc::fp1_rech(in.inc, src);
    ASSERT_TRUE(o.LOK);
    in.rows = o.rows;
    const auto last =
        std::find_if(in.rows.begin(), in.rows.end(), [](const Fp1Row& r) { return r.JAHR == 2025; });
    ASSERT_NE(last, in.rows.end());
    EXPECT_EQ(last->KTOSTAND, 0);
    const PrintJob job = calc::fp1_druck(in, true, false, kTitle)[0];
    std::vector<std::string> years;
    for (int p = 0; p < job.page_count(); ++p)
        for (const std::string& t : column(job, p, 80.0 / 7)) years.push_back(t);
    EXPECT_TRUE(has(years, "2025"));
}
