#include "calc/loans/ratenkredit.h"

#include <gtest/gtest.h>

#include "core/numbers.h"

using namespace vestral;
using namespace vestral::calc;
using core::round_to;

namespace {

double c2(double v) {
    return round_to(v, 2);
}

RkInputs credit(int term, double rate, double fee = 0) {
    RkInputs in;
    in.CBANKNAME = "Kreditbank";
    in.NKREDIT = 10000;
    in.NMONZINS = 6;
    in.NBEARBGEB = fee;
    in.NBEARBPRO = rk_fee_percent(10000, fee);
    in.NLAUFZEIT = term;
    in.NMONRATE = rate;
    return in;
}

}  // namespace

TEST(RkMonrate, RateForATerm) {
    EXPECT_EQ(c2(rk_monrate(10000, 6, 0, 12)), 883.33);
    EXPECT_EQ(rk_monrate(10000, 6, 200, 12), 900.0);
    EXPECT_EQ(rk_monrate(10000, 6, 200, 0), 0.0);
}

TEST(RkRech, TermDrivenWithoutFee) {
    const RkOutcome o = rk_rech(credit(12, 0), 2024);
    ASSERT_FALSE(o.refused);
    ASSERT_EQ(o.rows.size(), 12u);
    for (size_t k = 0; k < o.rows.size(); ++k) {
        const RkRow& r = o.rows[k];
        EXPECT_EQ(r.MONAT, static_cast<int>(k) + 1);
        EXPECT_EQ(r.JAHR, 2024);
        EXPECT_EQ(r.ZINSEN, 50.0);
        EXPECT_EQ(c2(r.TILGUNG), 833.33);
        EXPECT_EQ(c2(r.MONRATE), 883.33);
        EXPECT_EQ(r.BANKNAME, "Kreditbank");
    }
    EXPECT_EQ(o.rows[0].KREDIT, 10000.0);
    EXPECT_EQ(c2(o.rows[1].KREDIT), 9166.67);
    EXPECT_EQ(c2(o.rows.back().KREDIT), 833.33);
    EXPECT_EQ(c2(o.rows.back().TILGSUM), 10000.00);
    EXPECT_EQ(c2(o.results.NZINSSUM), 600.00);
    EXPECT_EQ(c2(o.results.NTILGSUM), 10600.00);
    EXPECT_EQ(c2(o.results.NERSTRATE), 883.33);
    EXPECT_EQ(c2(o.results.NRESTRATE), 883.33);
    EXPECT_EQ(o.results.NLZSUMME, 1.0);
    EXPECT_EQ(round_to(o.results.NEFFZINS, 3), 6.168);
}

TEST(RkRech, TermDrivenFeeIsPaidOutOfTheFirstRate) {
    const RkOutcome o = rk_rech(credit(12, 0, 200), 2024);
    ASSERT_FALSE(o.refused);
    ASSERT_EQ(o.rows.size(), 12u);
    EXPECT_EQ(o.results.NERSTRATE, 900.0);
    EXPECT_EQ(o.rows[0].MONRATE, 700.0);
    EXPECT_EQ(o.rows[0].TILGUNG, 650.0);
    EXPECT_EQ(o.rows[0].GETILGT, 700.0);
    for (size_t k = 1; k < 12; ++k) {
        EXPECT_EQ(o.rows[k].MONRATE, 900.0);
        EXPECT_EQ(o.rows[k].TILGUNG, 850.0);
    }
    EXPECT_EQ(c2(o.rows.back().TILGSUM), 10000.00);
    EXPECT_EQ(c2(o.rows.back().KREDIT - o.rows.back().TILGUNG), 0.0);
    // Payments so far leave the processing fee out.
    EXPECT_EQ(c2(o.results.NTILGSUM), 10600.00);
    EXPECT_EQ(c2(o.results.NZINSSUM), 600.00);
    EXPECT_EQ(o.results.NRESTRATE, 900.0);
}

TEST(RkRech, TermGivenWinsOverTheRateAndYearsCount) {
    const RkOutcome o = rk_rech(credit(30, 500), 2024);
    ASSERT_FALSE(o.refused);
    ASSERT_EQ(o.rows.size(), 30u);
    EXPECT_EQ(o.results.NERSTRATE, rk_monrate(10000, 6, 0, 30));
    EXPECT_EQ(o.rows[11].JAHR, 2024);
    EXPECT_EQ(o.rows[12].JAHR, 2025);
    EXPECT_EQ(o.rows[23].JAHR, 2025);
    EXPECT_EQ(o.rows[24].JAHR, 2026);
    EXPECT_EQ(o.results.NLZSUMME, 2.06);
}

TEST(RkRech, RateDrivenLastMonthPaysTheRestPlusInterest) {
    const RkOutcome o = rk_rech(credit(0, 1000), 2024);
    ASSERT_FALSE(o.refused);
    // 950 repaid a month: ten full months, then 500 left.
    ASSERT_EQ(o.rows.size(), 11u);
    for (size_t k = 0; k < 10; ++k) {
        EXPECT_EQ(o.rows[k].MONRATE, 1000.0);
        EXPECT_EQ(o.rows[k].TILGUNG, 950.0);
    }
    const RkRow& last = o.rows.back();
    EXPECT_EQ(last.KREDIT, 500.0);
    EXPECT_EQ(last.MONRATE, 550.0);
    EXPECT_EQ(last.TILGUNG, 500.0);
    EXPECT_EQ(last.TILGSUM, 10000.0);
    EXPECT_EQ(last.MONAT, 11);
    EXPECT_EQ(o.results.NRESTRATE, 550.0);
    EXPECT_EQ(o.results.NERSTRATE, 1000.0);
    EXPECT_EQ(o.results.NZINSSUM, 550.0);
    EXPECT_EQ(o.results.NTILGSUM, 10550.0);
    EXPECT_EQ(o.results.NLZSUMME, 0.11);
}

TEST(RkRech, RateDrivenFeeRaisesTheDebtInTheFirstMonth) {
    const RkOutcome o = rk_rech(credit(0, 1000, 200), 2024);
    ASSERT_FALSE(o.refused);
    EXPECT_EQ(o.rows[0].MONRATE, 1000.0);
    EXPECT_EQ(o.rows[0].TILGUNG, 750.0);
    EXPECT_EQ(o.rows[0].GETILGT, 800.0);
    EXPECT_EQ(o.rows[1].KREDIT, 9250.0);
    EXPECT_EQ(o.rows[1].GETILGT, 1800.0);
    // 9 250 − 9 × 950 = 700 left for month 11.
    ASSERT_EQ(o.rows.size(), 11u);
    EXPECT_EQ(o.rows.back().KREDIT, 700.0);
    EXPECT_EQ(o.results.NRESTRATE, 750.0);
    EXPECT_EQ(o.rows.back().TILGSUM, 10000.0);
}

TEST(RkRech, RateDrivenEndsWithoutARemnantMonth) {
    // The last month's repayment equals the debt exactly; no extra month with only interest.
    RkInputs in = credit(0, 1666.23);
    in.NKREDIT = 21434.08;
    in.NMONZINS = 19.944;
    const RkOutcome o = rk_rech(in, 2024);
    ASSERT_FALSE(o.refused);
    EXPECT_EQ(o.rows.back().KREDIT - o.rows.back().TILGUNG, 0.0);
    EXPECT_GT(o.rows.back().KREDIT, 1);
}

TEST(RkRech, RatesTooSmallAreRefused) {
    EXPECT_STREQ(kRkRateTooSmall, "Die monatliche Rate ist zu klein !");
    const RkOutcome low = rk_rech(credit(0, 40), 2024);
    EXPECT_TRUE(low.refused);
    EXPECT_TRUE(low.rows.empty());
    // Equal to the interest: never repaid.
    EXPECT_TRUE(rk_rech(credit(0, 50), 2024).refused);
    // 1 000 months do not fit the month number.
    const RkOutcome long_plan = rk_rech(credit(0, 60), 2024);
    EXPECT_TRUE(long_plan.refused);
    EXPECT_TRUE(long_plan.rows.empty());
    // No term and no rate.
    EXPECT_TRUE(rk_rech(credit(0, 0), 2024).refused);
}

TEST(RkRech, LongestPlansThatFit) {
    const RkOutcome o = rk_rech(credit(0, 100), 2024);
    ASSERT_FALSE(o.refused);
    ASSERT_EQ(o.rows.size(), 200u);
    EXPECT_EQ(o.rows.back().MONAT, 200);
    EXPECT_EQ(o.rows.back().JAHR, 2024 + 16);
    EXPECT_EQ(o.results.NLZSUMME, 16.08);
    // 999 months: 10 000 − 999 × 10,01 ≈ 0 just reaches the end in month 999.
    RkInputs in = credit(0, 60.0100101);
    const RkOutcome edge = rk_rech(in, 2024);
    ASSERT_FALSE(edge.refused);
    EXPECT_EQ(edge.rows.size(), 999u);
    in.NMONRATE = 60.01;
    EXPECT_TRUE(rk_rech(in, 2024).refused);
}

TEST(RkHelpers, FeeCoupling) {
    EXPECT_EQ(rk_fee_eur(10000, 2), 200.0);
    EXPECT_EQ(rk_fee_percent(10000, 200), 2.0);
    EXPECT_EQ(rk_fee_percent(0, 200), 0.0);
    EXPECT_TRUE(rk_fee_eur_editable(0, 0));
    EXPECT_TRUE(rk_fee_eur_editable(2, 200));
    EXPECT_FALSE(rk_fee_eur_editable(2, 0));
    // A fee given in percent and one given in EUR compute the same plan.
    RkInputs pct = credit(12, 0);
    pct.NBEARBPRO = 2;
    pct.NBEARBGEB = rk_fee_eur(pct.NKREDIT, pct.NBEARBPRO);
    RkInputs eur = credit(12, 0);
    eur.NBEARBGEB = 200;
    eur.NBEARBPRO = rk_fee_percent(eur.NKREDIT, eur.NBEARBGEB);
    EXPECT_EQ(eur.NBEARBPRO, 2.0);
    EXPECT_EQ(rk_rech(pct, 2024).rows[0].MONRATE, rk_rech(eur, 2024).rows[0].MONRATE);
    EXPECT_EQ(rk_rech(pct, 2024).rows[0].MONRATE, 700.0);
}

TEST(RkCheck, SixChecksWithBoundsFollowingTheCredit) {
    RkInputs in = credit(0, 833);
    in.NKREDIT = 10000;
    auto checks = rk_checks(in);
    ASSERT_EQ(checks.size(), 6u);
    EXPECT_EQ(checks[0].name, "Darlehensbetrag");
    EXPECT_EQ(checks[1].name, "Zinssatz");
    EXPECT_EQ(checks[1].typical1, "8,0");
    EXPECT_EQ(checks[1].typical2, "15,0");
    EXPECT_EQ(checks[2].name, "Bearbeitungsgebühr");
    EXPECT_EQ(checks[2].typical1, "1,0");
    EXPECT_EQ(checks[2].typical2, "3,0");
    EXPECT_EQ(checks[3].name, "Bearbeitungsgebühr");
    EXPECT_EQ(checks[3].high.value, 1000);
    EXPECT_EQ(checks[4].name, "Laufzeit in Monaten");
    EXPECT_EQ(checks[4].high.value, 120);
    EXPECT_EQ(checks[5].name, "monatliche Rate");
    EXPECT_EQ(checks[5].high.value, 833);
    EXPECT_TRUE(rk_check_failures(in).empty());
    in.NMONRATE = 833.5;  // above the whole-number twelfth of 833,33
    in.NBEARBGEB = 1000.01;
    in.NLAUFZEIT = 121;
    in.NMONZINS = 20;
    EXPECT_EQ(rk_check_failures(in), (std::vector<int>{4, 5, 6}));
    EXPECT_EQ(rk_check_failures(in, 6), (std::vector<int>{6}));
    EXPECT_EQ(
        *core::inpfail_message(rk_checks(in)[5]),
        "Die Eingabe für 'monatliche Rate' ist zu hoch !\nGeben Sie einen Wert zwischen 0 und 833 ein.");
    EXPECT_EQ(*core::inpfail_message(rk_checks(in)[3]),
              "Die Eingabe für 'Bearbeitungsgebühr' ist zu hoch !\nGeben Sie einen Wert zwischen 0 und "
              "1000.00 ein.");
}

TEST(RkSettings, SectionEntriesInOrder) {
    RkInputs in = credit(12, 0, 200);
    in.NMONZINS = 6.125;
    const RkOutcome o = rk_rech(in, 2024);
    const auto e = rk_settings_entries(in, o.results);
    const std::vector<std::string> keys{"Bankname",  "Kredit",    "Laufzeit", "MonZins",
                                        "MonRate",   "BearbProz", "BearbGeb", "ZinsSumme",
                                        "TilgSumme", "LzSumme",   "ErstRate", "RestRate"};
    ASSERT_EQ(e.size(), keys.size());
    for (size_t k = 0; k < keys.size(); ++k) EXPECT_EQ(e[k].key, keys[k]);
    EXPECT_EQ(e[0].value, "Kreditbank" + std::string(30, ' '));
    EXPECT_EQ(e[1].value, "10000.00");
    EXPECT_EQ(e[2].value, "12");
    EXPECT_EQ(e[3].value, "6.125");
    EXPECT_EQ(e[4].value, "0.00");
    EXPECT_EQ(e[5].value, "2.000");
    EXPECT_EQ(e[6].value, "200.00");
    EXPECT_EQ(e[9].value, "1");
    EXPECT_EQ(core::parse_lenient(e[10].value).value, core::round_to(o.results.NERSTRATE, 12));
}
