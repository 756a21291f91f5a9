#include "core/apr.h"

#include <gtest/gtest.h>

#include <cmath>

using vestral::core::annual_percentage_rate;
using vestral::core::DatedPayment;

namespace {
std::vector<DatedPayment> monthly(int months, double rate, int from = 1) {
    std::vector<DatedPayment> p;
    for (int m = from; m < from + months; ++m) p.push_back({static_cast<double>(m), rate});
    return p;
}

// The rate that banks quote from the nominal rate alone: monthly compounding of rate/12.
double nominal_effective(double nominal) {
    return (std::pow(1 + nominal / 1200.0, 12) - 1) * 100.0;
}
}  // namespace

TEST(AnnualPercentageRate, FlatRateCreditCountsTheWholeInterest) {
    // 15.000 at 5,9 % flat over 48 months: 386,25 a month.
    auto x = annual_percentage_rate(15000, monthly(48, 386.25));
    ASSERT_TRUE(x);
    EXPECT_NEAR(*x, 11.354, 0.001);
}

TEST(AnnualPercentageRate, AnnuityWithoutFeesEqualsTheNominalBasedRate) {
    // 100.000 at 6 % nominal, repaid by an annuity that ends the loan in 240 months.
    const double i = 0.06 / 12, n = 240, payout = 100000;
    const double rate = payout * i / (1 - std::pow(1 + i, -n));
    auto x = annual_percentage_rate(payout, monthly(240, rate));
    ASSERT_TRUE(x);
    EXPECT_NEAR(*x, nominal_effective(6), 1e-6);
}

TEST(AnnualPercentageRate, FeesRaiseTheRate) {
    const double i = 0.05 / 12, payout = 200000;
    const double rate = payout * i / (1 - std::pow(1 + i, -120.0));
    const double base = *annual_percentage_rate(payout, monthly(120, rate));
    // A 2 % credit fee financed into the debt: the bank pays out 200.000, the borrower owes 204.000.
    const double owed_rate = 204000 * i / (1 - std::pow(1 + i, -120.0));
    EXPECT_GT(*annual_percentage_rate(payout, monthly(120, owed_rate)), base + 0.3);
    // A processing fee charged with the first rate.
    auto with_fee = monthly(120, rate);
    with_fee[0].amount += 1000;
    EXPECT_GT(*annual_percentage_rate(payout, with_fee), base);
}

TEST(AnnualPercentageRate, EdgesAreZeroOrUndefinedNeverANumberOutOfNothing) {
    EXPECT_EQ(annual_percentage_rate(12000, monthly(12, 1000)), 0.0);
    EXPECT_FALSE(annual_percentage_rate(12000, {}));
    EXPECT_FALSE(annual_percentage_rate(12000, monthly(12, 900)));
    EXPECT_FALSE(annual_percentage_rate(0, monthly(12, 900)));
    // A debt left at the end of a fixed period counts as paid then.
    auto p = monthly(120, 600);
    p.push_back({120, 80000});
    auto x = annual_percentage_rate(100000, p);
    ASSERT_TRUE(x);
    EXPECT_GT(*x, 0);
    EXPECT_LT(*x, 10);
}
