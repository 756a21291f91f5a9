// The annual percentage rate of the split financing's mortgage and of the target value's plan: the
// payments each plan makes, and the rate compared with the nominal-based effective rate.
#include <gtest/gtest.h>

#include <numeric>

#include "calc/loans/hypoziel.h"
#include "calc/loans/hypspar.h"

using namespace vestral;
using namespace vestral::calc;

namespace {

// 100 000 saved over `years` at 2 % beside an interest-only mortgage at 6 %, 10 years fixed.
HsInputs split(int years = 10) {
    HsInputs in;
    in.CSPARNAME = "Fondsbank";
    in.NTILGSUMM = 100000;
    in.NSPZINS = 2;
    in.NABJAHR = 2024;
    in.NSPLZEIT = years;
    in.CTILGNAME = "Hypobank";
    in.NHYPOTHEK = 100000;
    in.NHYPZSATZ = 6;
    in.NHYPZFEST = 10;
    in.NHYPZNACH = 7;
    return in;
}

HzInputs target(double remaining) {
    return HzInputs{100000, 5, 10, remaining};
}

double total(const std::vector<core::DatedPayment>& p) {
    return std::accumulate(p.begin(), p.end(), 0.0,
                           [](double s, const core::DatedPayment& d) { return s + d.amount; });
}

}  // namespace

TEST(JahreszinsSplit, WithoutFeesTheLawAndTheOldFormulaAgree) {
    const HsInputs in = split();
    const HsOutcome o = hs_rech(in);
    ASSERT_EQ(o.refused, HsRefusal::None);
    ASSERT_TRUE(o.results.NJAHRESZINS);
    EXPECT_NEAR(o.results.NEFFZINS, 6.168, 0.0005);
    EXPECT_NEAR(*o.results.NJAHRESZINS, o.results.NEFFZINS, 1e-6);
    // 120 interest payments of 500, then the amount itself with the last one.
    const auto p = hs_apr_payments(in, o.rows);
    ASSERT_EQ(p.size(), 121u);
    for (size_t m = 0; m < 120; ++m) {
        EXPECT_EQ(p[m].months, static_cast<double>(m + 1));
        EXPECT_NEAR(p[m].amount, 500, 1e-9);
    }
    EXPECT_EQ(p[120].months, 120);
    EXPECT_EQ(p[120].amount, 100000);
}

TEST(JahreszinsSplit, TheRatePeriodEndsWithTheFixedPeriodOrTheShorterTerm) {
    // A longer term: the fixed period's ten years count; the follow-up rate does not enter.
    HsInputs longer = split(15);
    const HsOutcome l = hs_rech(longer);
    ASSERT_EQ(l.mortgage_months, 180);
    const auto p = hs_apr_payments(longer, l.rows);
    ASSERT_EQ(p.size(), 121u);
    EXPECT_EQ(p.back().months, 120);
    longer.NHYPZNACH = 12;
    EXPECT_EQ(hs_rech(longer).results.NJAHRESZINS, l.results.NJAHRESZINS);

    // A shorter term: the savings repay the mortgage when the term ends.
    const HsInputs shorter = split(6);
    const auto q = hs_apr_payments(shorter, hs_rech(shorter).rows);
    ASSERT_EQ(q.size(), 73u);
    EXPECT_EQ(q.back().months, 72);

    // Rate-driven: the found duration in whole months, mortgage months without a savings row
    // (appended behind the savings rows) in their place.
    HsInputs by_rate = split(0);
    by_rate.NSPMRATE = 1000;
    const HsOutcome r = hs_rech(by_rate);
    ASSERT_EQ(r.refused, HsRefusal::None);
    ASSERT_LT(r.mortgage_months, 120);
    ASSERT_GT(r.mortgage_months % 12, 0);
    const auto s = hs_apr_payments(by_rate, r.rows);
    ASSERT_EQ(s.size(), static_cast<size_t>(r.mortgage_months) + 1);
    for (size_t m = 0; m < s.size() - 1; ++m) EXPECT_EQ(s[m].months, static_cast<double>(m + 1));
    EXPECT_NEAR(*r.results.NJAHRESZINS, r.results.NEFFZINS, 1e-6);
}

TEST(JahreszinsSplit, CreditFeeAndAccountFeeRaiseTheRate) {
    // 2 % credit fee charged with the first month.
    HsInputs fee = split();
    fee.NKREDITPR = 2;
    fee.NKREDITDM = 2000;
    const HsOutcome f = hs_rech(fee);
    const auto p = hs_apr_payments(fee, f.rows);
    EXPECT_NEAR(p.front().amount, 2500, 1e-9);
    EXPECT_NEAR(total(p), 100000 + 120 * 500 + 2000, 1e-6);
    EXPECT_NEAR(*f.results.NJAHRESZINS, 6.4516, 0.0005);
    // The nominal-based figure does not see it.
    EXPECT_EQ(f.results.NEFFZINS, hs_rech(split()).results.NEFFZINS);

    // 120 a year with every December's interest.
    HsInputs account = split();
    account.NTIKTOGEB = 120;
    const HsOutcome a = hs_rech(account);
    const auto q = hs_apr_payments(account, a.rows);
    EXPECT_NEAR(q[10].amount, 500, 1e-9);
    EXPECT_NEAR(q[11].amount, 620, 1e-9);
    EXPECT_NEAR(*a.results.NJAHRESZINS, 6.2911, 0.0005);
}

TEST(JahreszinsSplit, TheSavingsContractDoesNotEnterTheMortgagesRate) {
    const double plain = *hs_rech(split()).results.NJAHRESZINS;
    HsInputs costly = split();
    costly.NSPZINS = 5;
    costly.NSPKTOGEB = 99;
    costly.NSPAUSZU = 5;
    const HsOutcome o = hs_rech(costly);
    ASSERT_EQ(o.refused, HsRefusal::None);
    ASSERT_GT(o.results.NSPARGEBS, 0);
    EXPECT_EQ(*o.results.NJAHRESZINS, plain);
}

TEST(JahreszinsSplit, NoPlanNoRate) {
    HsInputs none = split(0);
    const HsOutcome o = hs_rech(none);
    ASSERT_EQ(o.refused, HsRefusal::NoTermNoRate);
    EXPECT_FALSE(o.results.NJAHRESZINS);
    HsInputs small = split(0);
    small.NSPMRATE = 10;
    EXPECT_FALSE(hs_rech(small).results.NJAHRESZINS);
    EXPECT_TRUE(hs_apr_payments(split(), {}).empty());
    EXPECT_FALSE(hs_jahreszins(split(), {}));
}

TEST(JahreszinsTarget, WithoutFeesTheLawAndTheOldFormulaAgree) {
    const HzOutcome o = hz_tab(target(80000), 2024);
    ASSERT_TRUE(o.results.NJAHRESZINS);
    EXPECT_NEAR(o.results.NEFFZINS, 5.116, 0.0005);
    EXPECT_NEAR(*o.results.NJAHRESZINS, o.results.NEFFZINS, 1e-6);
    // 120 rates of 545,50, then the debt left, dated with the last one.
    const auto p = hz_apr_payments(o.rows);
    ASSERT_EQ(p.size(), 121u);
    EXPECT_NEAR(p[0].amount, 545.5, 1e-9);
    EXPECT_NEAR(p[119].amount, 545.5, 1e-9);
    EXPECT_EQ(p[120].months, 120);
    EXPECT_EQ(p[120].amount, o.results.NHYPOREST);
    EXPECT_NEAR(p[120].amount, 80000, 10);
}

TEST(JahreszinsTarget, ARepaidPlanEndsWithItsSmallerLastRate) {
    // Aiming at 0 the rate rounded to ten cents repays some plans a few months early.
    int repaid = 0;
    for (int years = 10; years <= 35; ++years) {
        const HzOutcome o = hz_tab(HzInputs{100000, 5, years, 0}, 2024);
        const auto p = hz_apr_payments(o.rows);
        double interest = 0;
        for (const HzRow& r : o.rows) interest += r.ZINSEN;
        // Every euro paid out comes back once, with its interest.
        EXPECT_NEAR(total(p), 100000 + interest, 1e-6) << years;
        EXPECT_NEAR(*o.results.NJAHRESZINS, o.results.NEFFZINS, 1e-6) << years;
        if (o.results.NHYPOREST == 0) {
            ++repaid;
            // No debt-left payment when none is left.
            EXPECT_EQ(p.size(), o.rows.size()) << years;
            EXPECT_LT(p.back().amount, o.results.NMONRATE) << years;
        }
    }
    EXPECT_GT(repaid, 0);
}

TEST(JahreszinsTarget, NoPlanNoRate) {
    EXPECT_TRUE(hz_apr_payments({}).empty());
    EXPECT_FALSE(hz_jahreszins(target(0), {}));
    // No term: no months, no rate.
    EXPECT_FALSE(hz_tab(HzInputs{100000, 5, 0, 0}, 2024).results.NJAHRESZINS);
}
