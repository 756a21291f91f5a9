#include "calc/tax/ekst.h"

#include <gtest/gtest.h>

#include "calc/tax/einksteuer.h"
#include "core/clock.h"

using namespace vestral;
using namespace vestral::calc;

namespace {

EkstInputs inputs(double income, int famstand, int start, double growth) {
    EkstInputs in;
    in.NEINKOMM = income;
    in.NFAMSTAND = famstand;
    in.NABJAHR = start;
    in.NEKSTEIG = growth;
    return in;
}

TEST(Ekstmake, StartYear2005GivesThreePlannedRows) {
    EkstOutcome out = ekstmake(inputs(20'000, 1, 2005, 0));
    ASSERT_EQ(out.rows.size(), 3u);
    EXPECT_EQ(out.results.NJAHRE, 3);
    EXPECT_EQ(out.rows[0].JAHR, 2005);
    EXPECT_EQ(out.rows[1].JAHR, 2006);
    EXPECT_EQ(out.rows[2].JAHR, 2007);
    EXPECT_EQ(out.rows[0].EINKST, 2'850);
    EXPECT_DOUBLE_EQ(out.rows[0].SOLIZU, 2'850 / 100.0 * 5.5);
    EXPECT_DOUBLE_EQ(out.rows[0].BELAST, 100.0 / 20'000 * (2'850 + 2'850 / 100.0 * 5.5));
    EXPECT_EQ(ekstshow_year_cell(2005), " 2005 ");
    EXPECT_EQ(ekstshow_year_cell(2006), "*   2006 ");
    EXPECT_EQ(ekstshow_year_cell(2007), "*   2007 ");
}

TEST(Ekstmake, StartAfterTheLastYearProjectsNoYearsNeverANegativeCount) {
    EXPECT_EQ(ekst_years(2007), 1);
    EXPECT_EQ(ekst_years(2008), 0);
    EXPECT_EQ(ekst_years(2026), 0);
    EXPECT_EQ(ekst_years(1958), 50);
    const EkstOutcome out = ekstmake(inputs(20'000, 1, 2026, 0));
    EXPECT_EQ(out.results.NJAHRE, 0);
    EXPECT_TRUE(out.rows.empty());
    EXPECT_EQ(out.results.NBELAST, 0);
}

TEST(Ekstmake, SolidaritySurchargeFrom1995) {
    EkstOutcome out = ekstmake(inputs(40'000, 2, 1994, 2));
    ASSERT_EQ(out.rows.size(), 14u);
    EXPECT_EQ(out.rows[0].JAHR, 1994);
    EXPECT_GT(out.rows[0].EINKST, 0);
    EXPECT_EQ(out.rows[0].SOLIZU, 0);
    for (size_t i = 1; i < out.rows.size(); ++i) {
        EXPECT_GT(out.rows[i].EINKST, 0);
        EXPECT_EQ(out.rows[i].SOLIZU, out.rows[i].EINKST / 100 * 5.5) << out.rows[i].JAHR;
    }
    for (const auto& row : out.rows) {
        bool marked = ekstshow_year_cell(row.JAHR).starts_with("#  ");
        EXPECT_EQ(marked, row.JAHR <= 1999) << row.JAHR;
    }
}

TEST(Ekstmake, EqualIncomesWithoutGrowthAndTheMeanBurden) {
    EkstOutcome out = ekstmake(inputs(45'000, 1, 1999, 0));
    ASSERT_EQ(out.rows.size(), 9u);
    double burdens = 0;
    for (const auto& row : out.rows) {
        EXPECT_EQ(row.EINKOMM, 45'000);
        EXPECT_EQ(row.EKSTEIG, 0);
        burdens += row.BELAST;
    }
    EXPECT_DOUBLE_EQ(out.results.NBELAST, burdens / 9);
    EXPECT_DOUBLE_EQ(out.results.NEINKSU, 9 * 45'000.0);
}

TEST(Ekstmake, CompoundGrowthAndTotalsOfTheUnroundedValues) {
    const EkstInputs in = inputs(33'333.33, 2, 1988, 3.5);
    EkstOutcome out = ekstmake(in);
    ASSERT_EQ(out.rows.size(), 20u);
    double income = in.NEINKOMM, sum_income = 0, sum_tax = 0, sum_soli = 0, sum_burden = 0;
    for (size_t i = 0; i < out.rows.size(); ++i) {
        const EkstRow& row = out.rows[i];
        if (i > 0) income = income + income / 100 * 3.5;
        EXPECT_EQ(row.JAHR, 1988 + static_cast<int>(i));
        EXPECT_EQ(row.EINKOMM, income);
        EXPECT_EQ(row.EKSTEIG, 3.5);  // also in the first row
        EXPECT_EQ(row.EINKST, einksteuer(2, income, row.JAHR));
        sum_income += row.EINKOMM;
        sum_tax += row.EINKST;
        sum_soli += row.SOLIZU;
        sum_burden += row.BELAST;
    }
    EXPECT_EQ(out.results.NEINKSU, sum_income);
    EXPECT_EQ(out.results.NEINKST, sum_tax);
    EXPECT_EQ(out.results.NSOLIZU, sum_soli);
    EXPECT_DOUBLE_EQ(out.results.NBELAST, sum_burden / 20);
    // The mean of the yearly burdens, not the burden of the totals.
    EXPECT_NE(out.results.NBELAST, 100 / out.results.NEINKSU * (out.results.NEINKST + out.results.NSOLIZU));
}

TEST(Ekstcheck, BoundsAndMessages) {
    EkstInputs ok = inputs(20'000, 1, 1958, 9);
    EXPECT_TRUE(ekstcheck_failures(ok).empty());
    ok = inputs(99'999'999, 2, 2005, 0);
    EXPECT_TRUE(ekstcheck_failures(ok).empty());

    EkstInputs bad = inputs(19'999.99, 1, 2006, 9.01);
    EXPECT_EQ(ekstcheck_failures(bad), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(core::inpfail_message(ekstcheck(1, bad)).value_or(""),
              "Die Eingabe für 'Einkommen' ist zu niedrig !\nGeben Sie einen Wert zwischen 20000 und "
              "99999999 ein.");
    EXPECT_EQ(core::inpfail_message(ekstcheck(2, bad)).value_or(""),
              "Die Eingabe für 'ab Jahr' ist zu hoch !\nGeben Sie einen Wert zwischen 1958 und 2005 ein.");
    EXPECT_EQ(
        core::inpfail_message(ekstcheck(3, bad)).value_or(""),
        "Die Eingabe für 'Einkommensteigerung' ist zu hoch !\nGeben Sie einen Wert zwischen 0 und 9 ein."
        "\n\nDurchschnittswert: 1,0%.");
    EXPECT_EQ(ekstcheck_failures(inputs(50'000, 1, 1957, 1)), (std::vector<int>{2}));
    EXPECT_EQ(ekstcheck_failures(inputs(50'000, 1, 2000, -0.5)), (std::vector<int>{3}));
}

TEST(Ekstcheck, ComputeButtonAndDefaultStartYear) {
    EXPECT_TRUE(ekst_can_compute(inputs(1, 1, 1958, 0)));
    EXPECT_FALSE(ekst_can_compute(inputs(0, 1, 2000, 0)));
    EXPECT_FALSE(ekst_can_compute(inputs(30'000, 1, 1957, 0)));

    core::set_today_for_tests({2024, 3, 15});
    EXPECT_EQ(ekst_default_start_year(), 2005);
    core::set_today_for_tests({2003, 12, 31});
    EXPECT_EQ(ekst_default_start_year(), 2003);
    core::set_today_for_tests({});
    // The default passes its own check.
    EXPECT_TRUE(core::inpfail_passes(ekstcheck(2, inputs(30'000, 1, ekst_default_start_year(), 0))));
}

}  // namespace
