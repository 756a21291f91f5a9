// The owner-occupied financing plan merges hand-built copies of its sources year by year.
#include <gtest/gtest.h>

#include "calc/plans/finzpl1.h"
#include "support/plan_sources.h"

using namespace vestral;
using calc::Fp1Include;
using calc::Fp1Sources;
using namespace vestral::test::plans;

TEST(Finzpl1Plan, OnlyTheFirstMortgageGivesItsOwnColumnsAndNegatedStartPrincipal) {
    const auto rows = mortgage("Hausbank", 120000, 2007, 1, 36, 1500);
    Fp1Include inc;
    inc.hyp1 = true;
    Fp1Sources src;
    src.hyp1 = rows;
    const auto out = calc::fp1_rech(inc, src);
    ASSERT_TRUE(out.LOK);
    ASSERT_EQ(out.NLJAHRE, 3);
    EXPECT_EQ(out.rows[0].JAHR, 2007);
    EXPECT_EQ(out.rows[0].H1BANK, "Hausbank");
    EXPECT_DOUBLE_EQ(out.rows[0].H1SUMME, -120000);
    EXPECT_DOUBLE_EQ(out.rows[1].H1SUMME, -rows[12].HYPOTHEK);
    EXPECT_DOUBLE_EQ(out.rows[1].H1ZINSEN, sum_year(rows, 2008, &calc::HypoRow::ZINSEN));
    EXPECT_DOUBLE_EQ(out.rows[1].H1RATEN, 18000);
    EXPECT_DOUBLE_EQ(out.rows[2].H1REST, rows.back().RESTHYP);
    EXPECT_DOUBLE_EQ(out.rows[2].RESTGES, rows.back().RESTHYP);
    EXPECT_DOUBLE_EQ(out.NRATEN, 120000);
    double z = 0;
    for (const auto& r : out.rows) z += r.H1ZINSEN;
    EXPECT_NEAR(out.NZINSEN, z, 1e-6);

    const auto grid = calc::fp1_grid(inc);
    EXPECT_EQ(grid.text, "Nur 1. Hypothek");
    std::vector<std::string> headings;
    for (const auto& c : grid.columns) headings.push_back(c.heading);
    EXPECT_EQ(headings, (std::vector<std::string>{"Jahr ", "1. Hypothek ", "Jahresraten ", "Jahreszinsen ",
                                                  "Jahrestilgung "}));
    EXPECT_DOUBLE_EQ(calc::fp1_value(calc::Fp1Value::H1Summe, out.rows[0], inc), -120000);
    EXPECT_DOUBLE_EQ(calc::fp1_value(calc::Fp1Value::H1Tilgung, out.rows[0], inc),
                     core::round_to(out.rows[0].H1RATEN - out.rows[0].H1ZINSEN, 2));
}

TEST(Finzpl1Plan, TwoOverlappingMortgagesCountEachInterestOnce) {
    const auto a = mortgage("Bank A", 100000, 2007, 1, 36, 1200);
    const auto b = mortgage("Bank B", 50000, 2008, 7, 24, 700);
    Fp1Include inc;
    inc.hyp1 = inc.hyp2 = true;
    Fp1Sources src;
    src.hyp1 = a;
    src.hyp2 = b;
    const auto out = calc::fp1_rech(inc, src);
    ASSERT_EQ(out.NLJAHRE, 4);  // 2007 .. 2010
    const auto& y2008 = out.rows[1];
    EXPECT_EQ(y2008.JAHR, 2008);
    EXPECT_DOUBLE_EQ(y2008.ZINSENGES, core::round_to(y2008.H1ZINSEN + y2008.H2ZINSEN, 2));
    EXPECT_DOUBLE_EQ(y2008.RATENGES, 12 * 1200 + 6 * 700);
    // 2009 ends with the mortgage processed last, the second one.
    EXPECT_DOUBLE_EQ(out.rows[2].RESTGES, out.rows[2].H2REST);
    double z = 0;
    for (const auto& r : out.rows) z += r.H1ZINSEN + r.H2ZINSEN;
    EXPECT_NEAR(out.NZINSEN, z, 1e-6);
    EXPECT_DOUBLE_EQ(out.NRATEN, 150000);
    const auto grid = calc::fp1_grid(inc);
    EXPECT_EQ(grid.text, "1. Hypothek und 2. Hypothek");
    ASSERT_EQ(grid.columns.size(), 6u);
    EXPECT_EQ(grid.columns[3].heading, "Zinsen gesamt ");
    EXPECT_DOUBLE_EQ(calc::fp1_value(calc::Fp1Value::KontostandGesamt, y2008, inc),
                     core::round_to(y2008.H1SUMME + y2008.H2SUMME, 2));
}

TEST(Finzpl1Plan, TwoYearsOfMonthsFromMarchStartWithTenMonths) {
    const auto rows = mortgage("Hausbank", 24000, 2007, 3, 24, 1100);
    Fp1Include inc;
    inc.hyp1 = true;
    Fp1Sources src;
    src.hyp1 = rows;
    const auto out = calc::fp1_rech(inc, src);
    ASSERT_EQ(out.NLJAHRE, 3);
    EXPECT_DOUBLE_EQ(out.rows[0].H1RATEN, 10 * 1100);
    EXPECT_DOUBLE_EQ(out.rows[0].H1ZINSEN, sum_year(rows, 2007, &calc::HypoRow::ZINSEN));
    EXPECT_DOUBLE_EQ(out.rows[0].H1SUMME, -24000);
    EXPECT_DOUBLE_EQ(out.rows[2].H1RATEN, 2 * 1100);
}

TEST(Finzpl1Plan, OnlyTheAmortisationPhaseOfTheContract) {
    std::vector<calc::BausparRow> rows = {
        bau(2007, 1200, 1200, 10.5, 0, 1200),       bau(2008, 1200, 2410.5, 30.25, 0, 2410.5),
        bau(2009, 0, 2440.75, 0, 0, 2440.75),       bau(2009, 400, 0, 120, 280, -5000),
        bau(2010, 2400, 0, 150.4, 2249.6, -2750.4),
    };
    Fp1Include inc;
    inc.bau = true;
    Fp1Sources src;
    src.bau = rows;
    const auto all = calc::fp1_rech(inc, src);
    EXPECT_DOUBLE_EQ(all.NRATEN, 1200 + 1200 + 280 + 2249.6);
    EXPECT_NEAR(all.NZINSEN, -10.5 - 30.25 + 120 + 150.4, 1e-9);
    EXPECT_DOUBLE_EQ(all.rows[0].BSSPZINS, 10.5);

    inc.nur_tilg = true;
    const auto out = calc::fp1_rech(inc, src);
    ASSERT_TRUE(out.LOK);
    ASSERT_EQ(out.NLJAHRE, 4);
    for (int i : {0, 1}) {
        EXPECT_EQ(out.rows[i].BSEINZAHL, 0);
        EXPECT_EQ(out.rows[i].BSSPZINS, 0);
        EXPECT_EQ(out.rows[i].KTOSTAND, 0);
        EXPECT_EQ(out.rows[i].BSPBANK, "Bausparkasse");
        EXPECT_EQ(out.rows[i].RATENGES, rows[static_cast<size_t>(i)].KTOSTAND);  // replaced, not summed
    }
    EXPECT_DOUBLE_EQ(out.NRATEN, 280 + 2249.6);
    EXPECT_DOUBLE_EQ(out.NZINSEN, 270.4);
    EXPECT_DOUBLE_EQ(out.rows[2].BSTIZINS, -120);
    EXPECT_DOUBLE_EQ(out.rows[2].KTOSTAND, -5000);
    inc.nur_tilg = false;
    inc.hyp1 = true;  // copy missing: skipped
    EXPECT_EQ(calc::fp1_grid(inc).text, "1. Hypothek und Bausparen");
}

TEST(Finzpl1Plan, TheContractReplacesTheMortgageSumOfRatenges) {
    Fp1Include inc;
    inc.hyp1 = inc.bau = true;
    Fp1Sources src;
    src.hyp1 = mortgage("Hausbank", 10000, 2007, 1, 12, 900);
    src.bau = std::vector<calc::BausparRow>{bau(2007, 100, 100, 1, 0, 101)};
    const auto out = calc::fp1_rech(inc, src);
    EXPECT_DOUBLE_EQ(out.rows[0].RATENGES, 101);
    EXPECT_DOUBLE_EQ(out.rows[0].ZINSENGES, out.rows[0].H1ZINSEN);
}

TEST(Finzpl1Plan, ATwelveMonthCreditGivesOneRow) {
    const auto rows = credit(6000, 2007, 1, 12, 520);
    Fp1Include inc;
    inc.kre = true;
    Fp1Sources src;
    src.kre = rows;
    const auto out = calc::fp1_rech(inc, src);
    ASSERT_EQ(out.NLJAHRE, 1);
    const auto& r = out.rows[0];
    EXPECT_DOUBLE_EQ(r.RKSUMME, -6000);
    EXPECT_DOUBLE_EQ(r.RKREST, core::round_to(rows.back().KREDIT - rows.back().TILGUNG, 2));
    EXPECT_DOUBLE_EQ(r.RKRATEN, 12 * 520);
    EXPECT_DOUBLE_EQ(out.NRATEN, 6000);
    EXPECT_DOUBLE_EQ(out.NZINSEN, r.RKZINSEN);
    EXPECT_EQ(r.RKBANK, "Kreditbank");
    const auto grid = calc::fp1_grid(inc);
    EXPECT_EQ(grid.text, "Nur Ratenkredit");
    EXPECT_EQ(grid.columns.back().heading, "RK Jahresraten ");
}

TEST(Finzpl1Plan, AYearOfTheAllowanceOnly) {
    Fp1Include inc;
    inc.hyp1 = inc.afa = true;
    Fp1Sources src;
    src.hyp1 = mortgage("Hausbank", 10000, 2007, 1, 12, 900);
    calc::AbschRow a;
    a.JAHR = 2008;
    a.EINKOMM = 61200;
    a.ABSCHJAHR = 1250;
    a.KINDJAHR = 800;
    a.STEUERERL = 312.5;
    src.afa = std::vector<calc::AbschRow>{a};
    const auto out = calc::fp1_rech(inc, src);
    ASSERT_EQ(out.NLJAHRE, 2);
    const auto& r = out.rows[1];
    EXPECT_EQ(r.JAHR, 2008);
    EXPECT_DOUBLE_EQ(r.EINKOMM, 61200);
    EXPECT_DOUBLE_EQ(r.AFA, 1250);
    EXPECT_DOUBLE_EQ(r.KINDGELD, 800);
    EXPECT_DOUBLE_EQ(r.STEUERERL, 312.5);
    EXPECT_EQ(r.H1SUMME, 0);
    EXPECT_EQ(r.H1BANK, "");
    EXPECT_EQ(r.ZINSENGES, 0);
    EXPECT_EQ(calc::fp1_grid(inc).text, "1. Hypothek und Eigenheim-Förderung");
    inc.hyp1 = false;
    const auto g = calc::fp1_grid(inc);
    EXPECT_EQ(g.text, "Nur Eigenheimförderung");
    EXPECT_EQ(g.columns.size(), 5u);
}

TEST(Finzpl1Plan, NothingReadGivesNoPlan) {
    Fp1Include inc;
    inc.kre = true;
    Fp1Sources src;
    src.kre = std::vector<calc::RkRow>{};  // the copy exists but is empty
    EXPECT_FALSE(calc::fp1_rech(inc, src).LOK);
    inc.bau = true;  // contract box set, FP1BAU missing: skipped
    EXPECT_FALSE(calc::fp1_rech(inc, src).LOK);
    // An empty mortgage copy still counts as a pass that ran.
    inc.hyp1 = true;
    src.hyp1 = std::vector<calc::HypoRow>{};
    const auto out = calc::fp1_rech(inc, src);
    EXPECT_TRUE(out.LOK);
    EXPECT_EQ(out.NLJAHRE, 0);
}

TEST(Finzpl1Plan, AllFiveSourcesShowTheTotalColumns) {
    Fp1Include inc{true, true, true, true, true, false};
    const auto g = calc::fp1_grid(inc);
    EXPECT_EQ(g.text, "1. Hypothek und 2. Hypothek und Bausparen und Ratenkredit und Eigenheim-Förderung");
    std::vector<std::string> headings;
    for (const auto& c : g.columns) headings.push_back(c.heading);
    EXPECT_EQ(headings, (std::vector<std::string>{"Jahr ", "1. Hypothek ", "2. Hypothek ", "BSP Kontostand ",
                                                  "Ratenkredit ", "EH-Förderung ", "Kindergeld ",
                                                  "Zinsen gesamt ", "Raten gesamt ", "Kontostand "}));
    calc::Fp1Row r;
    r.H1ZINSEN = 100;
    r.H2ZINSEN = 50;
    r.BSSPZINS = 10;
    r.BSTIZINS = -30;
    r.RKZINSEN = 5;
    r.H1RATEN = 1000;
    r.BSEINZAHL = 200;
    r.RKRATEN = 300;
    r.KTOSTAND = 400;
    r.RKSUMME = -700;
    EXPECT_DOUBLE_EQ(calc::fp1_value(calc::Fp1Value::ZinsenGesamt, r, inc), 175);
    EXPECT_DOUBLE_EQ(calc::fp1_value(calc::Fp1Value::RatenGesamt, r, inc), 1500);
    EXPECT_DOUBLE_EQ(calc::fp1_value(calc::Fp1Value::KontostandGesamt, r, inc), -300);
    inc.kre = false;  // a source left out counts in no total
    EXPECT_DOUBLE_EQ(calc::fp1_value(calc::Fp1Value::ZinsenGesamt, r, inc), 170);
}

TEST(Finzpl1Settings, DefaultsSpellingAndTheContractSwitchedOffWithoutASum) {
    core::IniDocument doc(
        "[FINZPL1]\r\nHypobank1=Hausbank\r\nBauspar=1\r\nBauSpSum=0\r\nLaufZK=120\r\n"
        "MonRateK=260.5\r\n");
    calc::Fp1State s;
    calc::fp1_load_settings(doc, s);
    EXPECT_TRUE(s.LHYPOTH1);
    EXPECT_FALSE(s.LHYPOTH2);
    EXPECT_EQ(s.CHYPBANK1, "Hausbank");
    EXPECT_FALSE(s.LBAUSPAR);
    EXPECT_DOUBLE_EQ(s.NLAUFZK, 120);
    EXPECT_DOUBLE_EQ(s.NMONRATEK, 260.5);
    const auto entries = calc::fp1_settings_entries(s);
    std::vector<std::string> keys;
    for (const auto& e : entries) keys.push_back(e.key);
    EXPECT_EQ(keys, (std::vector<std::string>{
                        "Hypothek1", "HypoBank1",    "Hypothek2", "HypoBank2", "BauBank",   "Bauspar",
                        "BauSpSum",  "Sparteil",     "SparSum",   "LaufzeitS", "MonRateS",  "TilgSum",
                        "LaufzeitT", "MonRateT",     "NurTilg",   "DarlBank",  "Ratkredit", "DarlSum",
                        "Abschreib", "Abschreibung", "Kindergeld"}));
    core::IniDocument on("[FINZPL1]\r\nBauspar=1\r\nBauSpSum=50000.00\r\n");
    calc::Fp1State t;
    calc::fp1_load_settings(on, t);
    EXPECT_TRUE(t.LBAUSPAR);
    EXPECT_EQ(core::format_plain(t.NBAUSPSUM), "50000.00");
}

TEST(Finzpl1Check, MissingCopiesClearTheirBoxesAndAmounts) {
    calc::Fp1State s;
    s.LHYPOTH1 = true;
    s.NHYPOSUM1 = 5000;
    s.LSONSDARL = true;
    s.NDARLSUM = 3000;
    s.LBAUSPAR = true;
    s.NBAUSPSUM = {20000, 2};
    calc::Fp1CopyHeads heads;  // nothing on disk
    calc::UserValues user;
    user.NEINKOMM = {60000, 2};
    user.NKINDER = 2;
    calc::AfaValues afa;
    afa.NABSCHREIB = {10000, 2};
    calc::fp1_checkdata(s, heads, user, afa);
    EXPECT_FALSE(s.LHYPOTH1);
    EXPECT_EQ(s.NHYPOSUM1, 0);
    EXPECT_FALSE(s.LSONSDARL);
    EXPECT_EQ(s.NDARLSUM, 0);
    EXPECT_TRUE(s.LBAUSPAR);  // the contract keeps its box: it depends on the stored sum
    EXPECT_EQ(s.NKINDER, 2);
    EXPECT_DOUBLE_EQ(s.NABSCHREIB.value, 10000);
    const auto v = calc::fp1_view(s, false);
    EXPECT_FALSE(v.hyp1_box);
    EXPECT_TRUE(v.bau_box);
    EXPECT_TRUE(v.afa_box);
    EXPECT_TRUE(v.compute);
    EXPECT_TRUE(v.hyp1_grey);
    EXPECT_FALSE(v.bau_grey);
    EXPECT_TRUE(v.afa_grey);

    calc::HypoRow first;
    first.HYPOTHEK = 80000;
    first.ANUITAT = 600;
    heads.hyp1 = std::optional<calc::HypoRow>(first);
    heads.hyp2 = std::optional<calc::HypoRow>();  // exists, empty: nothing changes
    s.LHYPOTH1 = true;
    s.LHYPOTH2 = true;
    calc::fp1_checkdata(s, heads, user, afa);
    EXPECT_EQ(s.NHYPOSUM1, 80000);
    EXPECT_EQ(s.NMONRATE1, 600);
    EXPECT_TRUE(s.LHYPOTH2);
    const auto w = calc::fp1_view(s, false);
    EXPECT_TRUE(w.hyp1_box);
    EXPECT_FALSE(w.hyp1_grey);
    EXPECT_FALSE(w.hyp2_box);
    EXPECT_TRUE(w.hyp2_grey);
}

TEST(Finzpl1Check, TheAllowanceIsIncludedExactlyWhenItsTotalsAreAboveZero) {
    calc::Fp1State s;
    calc::AfaValues a;
    calc::fp1_take_afa(a, s);
    EXPECT_FALSE(s.LABSCHREIB);
    a.NKINDGELD = {6400, 2};
    calc::fp1_take_afa(a, s);
    EXPECT_TRUE(s.LABSCHREIB);
}
