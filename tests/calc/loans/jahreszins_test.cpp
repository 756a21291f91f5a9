// The annual percentage rate of the mortgage plan and the instalment credit: the payments each
// plan makes, and the rate the law asks for compared with the nominal-based effective rate.
#include <gtest/gtest.h>

#include <numeric>

#include "calc/loans/hypotilg.h"
#include "calc/loans/ratenkredit.h"

using namespace vestral;
using namespace vestral::calc;

namespace {

RkInputs credit(double amount, double rate, int term, double fee = 0, double monthly = 0) {
    RkInputs in;
    in.CBANKNAME = "Teilzahlungsbank";
    in.NKREDIT = amount;
    in.NMONZINS = rate;
    in.NLAUFZEIT = term;
    in.NBEARBGEB = fee;
    in.NMONRATE = monthly;
    return in;
}

// 100 000 at 5 %, 2 % repayment from 01.01.2007, 10 years fixed, then 6 %.
HypoInputs mortgage() {
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

double total(const std::vector<core::DatedPayment>& p) {
    return std::accumulate(p.begin(), p.end(), 0.0,
                           [](double s, const core::DatedPayment& d) { return s + d.amount; });
}

}  // namespace

TEST(JahreszinsCredit, FlatRateCreditOfTheExample) {
    // 15.000 at 5,9 % over 48 months: 386,25 a month; the nominal-based figure stays 6,062 %.
    const RkOutcome o = rk_rech(credit(15000, 5.9, 48), 2024);
    ASSERT_FALSE(o.refused);
    EXPECT_NEAR(o.results.NERSTRATE, 386.25, 1e-9);
    EXPECT_NEAR(o.results.NEFFZINS, 6.062, 0.0005);
    ASSERT_TRUE(o.results.NJAHRESZINS);
    EXPECT_NEAR(*o.results.NJAHRESZINS, 11.354, 0.001);
    const auto p = rk_apr_payments(credit(15000, 5.9, 48), o.rows);
    ASSERT_EQ(p.size(), 48u);
    EXPECT_EQ(p.front().months, 1);
    EXPECT_EQ(p.back().months, 48);
    for (const auto& d : p) EXPECT_NEAR(d.amount, 386.25, 1e-9);
}

TEST(JahreszinsCredit, TheProcessingFeeRaisesTheRateWhateverDrivesThePlan) {
    const double without = *rk_rech(credit(10000, 6, 12), 2024).results.NJAHRESZINS;
    // Term-driven: the fee is taken out of the first rate; the borrower still pays the whole rate.
    const RkInputs fee_term = credit(10000, 6, 12, 200);
    const RkOutcome by_term = rk_rech(fee_term, 2024);
    const auto p = rk_apr_payments(fee_term, by_term.rows);
    EXPECT_NEAR(p.front().amount, 900, 1e-9);
    EXPECT_NEAR(total(p), 10000 + 600 + 200, 1e-6);
    EXPECT_NEAR(*by_term.results.NJAHRESZINS, 15.449, 0.001);
    EXPECT_GT(*by_term.results.NJAHRESZINS, without + 3);
    // The nominal-based figure does not see the fee.
    EXPECT_EQ(by_term.results.NEFFZINS, rk_rech(credit(10000, 6, 12), 2024).results.NEFFZINS);

    // Rate-driven: the rate repays the fee first.
    const RkInputs fee_rate = credit(10000, 6, 0, 200, 1000);
    const RkOutcome by_rate = rk_rech(fee_rate, 2024);
    const auto q = rk_apr_payments(fee_rate, by_rate.rows);
    EXPECT_NEAR(q.front().amount, 1000, 1e-9);
    EXPECT_NEAR(total(q), 10000 + by_rate.results.NZINSSUM + 200, 1e-6);
    const double rate_without = *rk_rech(credit(10000, 6, 0, 0, 1000), 2024).results.NJAHRESZINS;
    EXPECT_GT(*by_rate.results.NJAHRESZINS, rate_without);
}

TEST(JahreszinsCredit, PaymentsEqualToThePayoutGiveZeroNoPaymentsNothing) {
    const RkOutcome free = rk_rech(credit(12000, 0, 12), 2024);
    ASSERT_TRUE(free.results.NJAHRESZINS);
    EXPECT_EQ(*free.results.NJAHRESZINS, 0.0);
    // A refused plan has no payments and no rate.
    const RkOutcome refused = rk_rech(credit(10000, 6, 0, 0, 40), 2024);
    ASSERT_TRUE(refused.refused);
    EXPECT_FALSE(refused.results.NJAHRESZINS);
    EXPECT_FALSE(rk_jahreszins(credit(10000, 6, 12), {}));
}

TEST(JahreszinsMortgage, WithoutFeesTheLawAndTheOldFormulaAgree) {
    const HypoOutcome o = ht_tab(mortgage());
    ASSERT_TRUE(o.results.NJAHRESZINS);
    EXPECT_NEAR(*o.results.NJAHRESZINS, o.results.NEFFZINS, 1e-6);
    // Also over a plan that ends inside the fixed period with its smaller last instalment, and
    // with a special repayment.
    HypoInputs whole = mortgage();
    whole.NLAUFZEIT = 50;
    whole.NEINMALDM = 5000;
    whole.NEINMALMO = 6;
    const HypoOutcome w = ht_tab(whole);
    EXPECT_NEAR(*w.results.NJAHRESZINS, w.results.NEFFZINS, 1e-6);
}

TEST(JahreszinsMortgage, PaymentsOfTheFixedPeriodEndWithTheDebtLeft) {
    const HypoInputs in = mortgage();
    const HypoOutcome o = ht_tab(in);
    const auto p = ht_apr_payments(in, o.rows);
    // 120 instalments of 583,33, then the debt left after December 2016, dated with the last one.
    ASSERT_EQ(p.size(), 121u);
    EXPECT_EQ(p[0].months, 1);
    EXPECT_NEAR(p[0].amount, 583.3333333, 1e-6);
    EXPECT_EQ(p[119].months, 120);
    EXPECT_EQ(p[120].months, 120);
    EXPECT_NEAR(p[120].amount, 74119.62, 0.005);
    EXPECT_NEAR(p[120].amount, o.results.NRESTNACH, 1e-9);

    // A start in July: the period ends with December 2016 all the same, 114 months later.
    HypoInputs july = mortgage();
    july.DABDATUM = core::Date{2007, 7, 15};
    const auto q = ht_apr_payments(july, ht_tab(july).rows);
    ASSERT_EQ(q.size(), 115u);
    EXPECT_EQ(q.back().months, 114);
}

TEST(JahreszinsMortgage, FinancedCreditFeeAndAccountFeeRaiseTheRate) {
    // 200.000 with a 2 % credit fee financed into the debt: 204.000 owed, 200.000 paid out.
    HypoInputs in = mortgage();
    in.NHYPOTHEK = 200000;
    in.NKREDITPR = 2;
    in.NKREDITDM = 4000;
    const HypoOutcome o = ht_tab(in);
    ASSERT_TRUE(o.results.NJAHRESZINS);
    EXPECT_GT(*o.results.NJAHRESZINS, o.results.NEFFZINS + 0.2);
    EXPECT_LT(*o.results.NJAHRESZINS, o.results.NEFFZINS + 1);

    // An account fee taken out of every December instalment leaves more debt at the end.
    HypoInputs fee = mortgage();
    fee.NKONTOGEB = 120;
    const HypoOutcome f = ht_tab(fee);
    const auto p = ht_apr_payments(fee, f.rows);
    EXPECT_NEAR(p[11].amount, 583.3333333, 1e-6);  // December: the instalment, fee inside it
    EXPECT_GT(p.back().amount, ht_tab(mortgage()).results.NRESTNACH);
    EXPECT_GT(*f.results.NJAHRESZINS, f.results.NEFFZINS + 0.01);
}

TEST(JahreszinsMortgage, NoPlanNoRate) {
    HypoInputs in = mortgage();
    in.DABDATUM = core::Date{};
    EXPECT_FALSE(ht_tab(in).results.NJAHRESZINS);
    EXPECT_TRUE(ht_apr_payments(mortgage(), {}).empty());
    // Not repaid (the account fee eats the repayment): refused, nothing defined.
    HypoInputs eaten = mortgage();
    eaten.NTILGANNO = 0.1;
    eaten.NKONTOGEB = 200;
    const HypoOutcome o = ht_tab(eaten);
    ASSERT_FALSE(o.repaid_ok);
    EXPECT_FALSE(o.results.NJAHRESZINS);
}
