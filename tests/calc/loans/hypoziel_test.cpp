#include "calc/loans/hypoziel.h"

#include <gtest/gtest.h>

#include "core/numbers.h"

using namespace vestral;
using namespace vestral::calc;
using core::round_to;

namespace {

HzInputs target(double G, int years = 10) {
    HzInputs in;
    in.NHYPOTHEK = 100000;
    in.NZINSSATZ = 5;
    in.NLAUFZEIT = years;
    in.NHYPOZIEL = G;
    return in;
}

}  // namespace

TEST(HzZiel, EightyThousandAfterTenYears) {
    const HzSearch s = hz_ziel(target(80000));
    EXPECT_EQ(round_to(s.t, 6), 1.545572);
    EXPECT_EQ(round_to(s.remaining, 2), 80000.00);
    const HzOutcome o = hz_tab(target(80000), 2024);
    EXPECT_EQ(round_to(o.results.NTILGANNO, 6), 1.545572);
    const double M = (1000.0 * 5 + 1000.0 * o.results.NTILGANNO) / 12;
    EXPECT_EQ(o.results.NMONRATE, round_to(M, 1));
    EXPECT_EQ(o.results.NMONRATE, 545.5);
    // The rounded rate misses the target by the effect of the few cents.
    EXPECT_NE(round_to(o.results.NHYPOREST, 2), 80000.00);
    EXPECT_NEAR(o.results.NHYPOREST, 80000, 15);
    EXPECT_EQ(round_to(o.results.NEFFZINS, 3), 5.116);
}

TEST(HzZiel, TargetZeroAndTargetEqualToAmount) {
    EXPECT_EQ(round_to(hz_ziel(target(0)).t, 3), 7.728);
    const HzSearch none = hz_ziel(target(100000));
    EXPECT_EQ(none.t, 1.0);
    EXPECT_EQ(none.trials, 0);
    EXPECT_EQ(hz_tab(target(100000), 2024).results.NTILGANNO, 1.0);
}

TEST(HzZiel, TargetsBelowOnePercentAreReachedFromZero) {
    const HzSearch s = hz_ziel(target(95000));
    EXPECT_LT(s.t, 0.889);
    EXPECT_EQ(round_to(s.remaining, 2), 95000.00);
}

TEST(HzZiel, OneYearTermNeedsManyTrialsButEnds) {
    const HzSearch s = hz_ziel(target(0, 1));
    EXPECT_GT(s.trials, 200);
    EXPECT_LE(s.trials, kHzMaxTrials);
    EXPECT_NEAR(s.t, 97.7, 0.1);
    const HzOutcome o = hz_tab(target(0, 1), 2024);
    EXPECT_LT(o.results.NHYPOREST, 1.0);
}

TEST(HzTab, PlanRowsAndChart) {
    const HzOutcome o = hz_tab(target(80000), 2024);
    ASSERT_EQ(o.rows.size(), 120u);
    const HzRow& first = o.rows.front();
    EXPECT_EQ(first.DATUM, (core::Date{2024, 1, 1}));
    EXPECT_EQ(first.HYPOTHEK, 100000);
    EXPECT_EQ(round_to(first.ZINSEN, 2), 416.67);
    EXPECT_EQ(round_to(first.TILGUNG, 2), 128.83);
    EXPECT_EQ(round_to(first.RESTHYP, 2), 99871.17);
    EXPECT_EQ(first.MONRATE, 545.5);
    EXPECT_EQ(o.rows.back().DATUM, (core::Date{2033, 12, 1}));
    EXPECT_EQ(o.rows.back().RESTHYP, o.results.NHYPOREST);
    ASSERT_EQ(o.chart_values.size(), 10u);
    EXPECT_EQ(o.chart_labels.front(), "2025");
    EXPECT_EQ(o.chart_labels.back(), "2034");
    EXPECT_EQ(o.chart_values.back(), o.results.NHYPOREST);
    EXPECT_EQ(o.chart_values[0], o.rows[11].RESTHYP);
}

TEST(HzTab, BalanceNeverBelowZero) {
    for (int years : {1, 10, 30}) {
        const HzOutcome o = hz_tab(target(0, years), 2024);
        ASSERT_FALSE(o.rows.empty());
        EXPECT_LT(o.results.NHYPOREST, 20.0);
        for (const HzRow& r : o.rows) EXPECT_GE(r.RESTHYP, 0.0);
    }
}

TEST(HzChecks, BoundsAndTargetFollowsTheAmount) {
    HzInputs in = target(80000);
    for (const auto& c : hz_checks(in)) EXPECT_TRUE(core::inpfail_passes(c)) << c.name;
    in.NHYPOZIEL = 100000.01;
    EXPECT_EQ(*core::inpfail_message(hz_checks(in)[3]),
              "Die Eingabe für 'Hypothekenrest' ist zu hoch !\nGeben Sie einen Wert zwischen 0 und "
              "100000.00 ein.");
    in.NZINSSATZ = 20;
    EXPECT_FALSE(core::inpfail_passes(hz_checks(in)[1]));
    in.NLAUFZEIT = 100;
    EXPECT_FALSE(core::inpfail_passes(hz_checks(in)[2]));
    EXPECT_FALSE(hz_can_compute(HzInputs{100000, 5, 0, 0}));
    EXPECT_TRUE(hz_can_compute(HzInputs{100000, 5, 1, 0}));
}

TEST(HzKuerzen, FirstRowAndDecembersStay) {
    EXPECT_TRUE(hz_kept_when_compressed(0, {2024, 1, 1}));
    EXPECT_FALSE(hz_kept_when_compressed(1, {2024, 2, 1}));
    EXPECT_TRUE(hz_kept_when_compressed(11, {2024, 12, 1}));
}
