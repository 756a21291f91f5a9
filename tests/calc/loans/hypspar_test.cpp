#include "calc/loans/hypspar.h"

#include <gtest/gtest.h>

#include "core/numbers.h"

using namespace vestral;
using namespace vestral::calc;
using core::round_to;

namespace {

HsInputs plan(double G, int years, double rate = 0) {
    HsInputs in;
    in.CSPARNAME = "Sparkasse";
    in.NTILGSUMM = G;
    in.NSPZINS = 1;
    in.NABJAHR = 2024;
    in.NSPLZEIT = years;
    in.NSPMRATE = rate;
    in.CTILGNAME = "Hypobank";
    in.NHYPOTHEK = G;
    in.NHYPZSATZ = 6;
    in.NHYPZFEST = 10;
    in.NHYPZNACH = 7;
    return in;
}

std::vector<HsRow> key1(const HsOutcome& o, int k) {
    std::vector<HsRow> out;
    for (const HsRow& r : o.rows)
        if (r.KEY1 == k) out.push_back(r);
    return out;
}
std::vector<HsRow> key2(const HsOutcome& o, int k) {
    std::vector<HsRow> out;
    for (const HsRow& r : o.rows)
        if (r.KEY2 == k) out.push_back(r);
    return out;
}

}  // namespace

TEST(HsRech, TermDrivenFindsTheSmallestWholeEuro) {
    const HsOutcome o = hs_rech(plan(12000, 1));
    ASSERT_EQ(o.refused, HsRefusal::None);
    EXPECT_TRUE(o.term_drives);
    EXPECT_EQ(o.rate, 991);
    EXPECT_EQ(o.results.NSPARLZMR, 991);
    EXPECT_GE(12 * 991 * 1.01, 12000);
    EXPECT_LT(12 * 990 * 1.01, 12000);
    EXPECT_EQ(o.mortgage_months, 12);
}

TEST(HsRech, BisectionGivesTheSameRateAsTryingEveryEuro) {
    for (double G : {1000.0, 12000.0, 55555.55, 250000.0})
        for (int years : {1, 3, 7, 20})
            for (double a : {0.0, 3.0, 19.0})
                for (double k : {0.0, 24.0, 999.0}) {
                    if (G / (years * 12) < 1 && k > 0) continue;
                    EXPECT_EQ(hs_search_rate(G, years, 2.5, a, k), hs_search_rate_linear(G, years, 2.5, a, k))
                        << G << " " << years << " " << a << " " << k;
                }
}

TEST(HsRech, RateDrivenReachedInMayClosesTheYearEarly) {
    // 1 000 a month at 1 %: 12 120 after the first year, the target in the fifth month after.
    HsInputs in = plan(17000, 0, 1000);
    const HsOutcome o = hs_rech(in);
    ASSERT_EQ(o.refused, HsRefusal::None);
    EXPECT_FALSE(o.term_drives);
    EXPECT_EQ(o.savings_months, 17);
    EXPECT_EQ(o.results.NSPARLZMR, 1.05);
    const std::vector<HsRow> months = key1(o, 1);
    ASSERT_EQ(months.size(), 17u);
    const HsRow& may = months.back();
    EXPECT_EQ(may.DATUM, (core::Date{2025, 5, 1}));
    // The May row carries a whole year's interest (on the balance then) and fee.
    EXPECT_EQ(round_to(may.SPARZINS, 2), round_to((12120.0 + 5000) / 100, 2));
    EXPECT_GT(may.SPARZSUM, 0);
    // It is followed by the year end of 2025, dated 31 December.
    size_t i = 0;
    while (!(o.rows[i].KEY1 == 1 && o.rows[i].DATUM == may.DATUM)) ++i;
    ASSERT_LT(i + 1, o.rows.size());
    EXPECT_EQ(o.rows[i + 1].KEY1, 2);
    EXPECT_EQ(o.rows[i + 1].DATUM, (core::Date{2025, 12, 31}));
    EXPECT_EQ(key1(o, 2).size(), 2u);
    // Months without a close carry no interest or fee.
    EXPECT_EQ(months[2].SPARZINS, 0);
    EXPECT_EQ(months[2].SGEBUEHR, 0);
    EXPECT_EQ(round_to(o.results.NSPARSUMM, 2), round_to(17120 * 1.01, 2));
}

TEST(HsRech, YearEndRowOfTheSavings) {
    HsInputs in = plan(30000, 0, 1000);
    in.NSPKTOGEB = 12;
    in.NSPAUSZU = 3;
    const HsOutcome o = hs_rech(in);
    const std::vector<HsRow> ends = key1(o, 2);
    ASSERT_FALSE(ends.empty());
    const HsRow& y = ends.front();
    EXPECT_EQ(y.DATUM, (core::Date{2024, 12, 31}));
    EXPECT_EQ(y.SPARRATE, 12000);
    EXPECT_EQ(round_to(y.SGEBAUSDM, 2), 360.00);
    EXPECT_EQ(y.SGEBUSUM, 12);
    EXPECT_EQ(round_to(y.SPARKONTO, 2), round_to((11640.0 - 12) * 1.01, 2));
    EXPECT_EQ(round_to(o.surcharge_eur, 2), 30.00);
}

TEST(HsRech, MortgageMonthsWithoutSavingsRowsGetTheirOwn) {
    // Target 12 000 at 1 % with a fee of 999 over two years: the rows end with the first close
    // reached by a rate, before December of the second year.
    HsInputs in = plan(12000, 2);
    in.NSPKTOGEB = 999;
    const HsOutcome o = hs_rech(in);
    ASSERT_EQ(o.refused, HsRefusal::None);
    const std::vector<HsRow> months = key1(o, 1);
    ASSERT_FALSE(months.empty());
    EXPECT_LT(months.size(), 24u);
    const std::vector<HsRow> mortgage = key2(o, 5);
    ASSERT_EQ(mortgage.size(), 24u);
    int own = 0;
    for (const HsRow& r : o.rows)
        if (r.KEY2 == 5 && r.KEY1 == 0) ++own;
    EXPECT_EQ(own, static_cast<int>(24 - months.size()));
    EXPECT_EQ(key2(o, 6).size(), 2u);
    EXPECT_EQ(mortgage.back().DATUM, (core::Date{2025, 12, 1}));
}

TEST(HsRech, HangingInputsFinishWithOneYearEndAfterTheLastSavingsRow) {
    struct Case {
        double G, fee, rate;
        int years;
    } cases[] = {{10000, 150, 40, 0}, {12000, 999, 500, 0}, {12000, 999, 0, 50}};
    for (const Case& c : cases) {
        HsInputs in = plan(c.G, c.years, c.rate);
        in.NSPKTOGEB = c.fee;
        const HsOutcome o = hs_rech(in);
        ASSERT_EQ(o.refused, HsRefusal::None) << c.G << " " << c.fee;
        long last_month = -1;
        for (size_t i = 0; i < o.rows.size(); ++i)
            if (o.rows[i].KEY1 == 1) last_month = static_cast<long>(i);
        ASSERT_GE(last_month, 0);
        int ends_after = 0;
        for (size_t i = static_cast<size_t>(last_month) + 1; i < o.rows.size(); ++i)
            if (o.rows[i].KEY1 == 2) ++ends_after;
        EXPECT_EQ(ends_after, 1) << c.G << " " << c.fee;
        EXPECT_EQ(o.rows[static_cast<size_t>(last_month) + 1].KEY1, 2);
    }
}

TEST(HsRech, FollowUpRateFromJanuaryOfYearNAfterTheStart) {
    HsInputs in = plan(100000, 12);
    in.NHYPZFEST = 5;
    const HsOutcome o = hs_rech(in);
    const std::vector<HsRow> m = key2(o, 5);
    ASSERT_EQ(m.size(), 144u);
    EXPECT_EQ(m[59].DATUM, (core::Date{2028, 12, 1}));
    EXPECT_EQ(m[59].ANUITAT, 500);
    EXPECT_EQ(m[60].DATUM, (core::Date{2029, 1, 1}));
    EXPECT_EQ(round_to(m[60].ANUITAT, 2), 583.33);
    EXPECT_EQ(o.results.NRESTNACH, 100000);
    EXPECT_EQ(o.results.NANNUITAT, 500);
    EXPECT_EQ(round_to(o.results.NZINSSUM, 2), round_to(60 * 500 + 84 * 100000.0 / 100 * 7 / 12, 2));
    EXPECT_EQ(round_to(o.results.NEFFZINS, 3), 6.168);
}

TEST(HsRech, FeesOfTheMortgage) {
    HsInputs in = plan(50000, 2);
    in.NTIKTOGEB = 30;
    in.NKREDITDM = 500;
    const HsOutcome o = hs_rech(in);
    const std::vector<HsRow> m = key2(o, 5);
    EXPECT_EQ(m[0].TGEBUEHR, 500);
    EXPECT_EQ(m[0].TGEBUSUM, 500);
    EXPECT_EQ(m[1].TGEBUEHR, 0);
    EXPECT_EQ(m[11].TGEBUEHR, 30);
    EXPECT_EQ(m[11].TGEBUSUM, 530);
    const std::vector<HsRow> y = key2(o, 6);
    EXPECT_EQ(y[0].TGEBUSUM, 530);
    EXPECT_EQ(y[1].TGEBUSUM, 30);
    EXPECT_EQ(o.results.NGEBUSUM, 560);
    for (const HsRow& r : o.rows) EXPECT_EQ(r.RESTZINS, o.results.NZINSSUM - r.ZINSSUM);
}

TEST(HsRech, RefusalsAndTheDurationKeepsWholeMonths) {
    EXPECT_EQ(hs_rech(plan(12000, 0, 0)).refused, HsRefusal::NoTermNoRate);
    HsInputs slow = plan(100000, 0, 10);
    EXPECT_EQ(hs_rech(slow).refused, HsRefusal::RateTooSmall);
    // 25 months are shown as 2,01; the mortgage runs the 25 months, not 2 years and 0 months.
    HsInputs in = plan(25000, 0, 1000);
    in.NSPZINS = 1;
    const HsOutcome o = hs_rech(in);
    ASSERT_EQ(o.savings_months, 25);
    EXPECT_EQ(o.results.NSPARLZMR, 2.01);
    EXPECT_EQ(o.mortgage_months, 25);
    EXPECT_EQ(key2(o, 5).size(), 25u);
    EXPECT_EQ(hs_years_months(283), 23.07);
}

TEST(HsCheck, ElevenChecksWithTheirBounds) {
    HsInputs in = plan(12000, 1);
    EXPECT_TRUE(hs_check_failures(in).empty());
    in.NSPMRATE = 1000.01;
    EXPECT_EQ(hs_check_failures(in), std::vector<int>{5});
    EXPECT_EQ(
        *core::inpfail_message(hs_check(in, 5)),
        "Die Eingabe für 'monatl. Rate' ist zu hoch !\nGeben Sie einen Wert zwischen 0 und 1000.00 ein.");
    in.NSPMRATE = 0;
    in.NSPZINS = 0;
    in.NHYPZFEST = 4;
    EXPECT_EQ(hs_check_failures(in), (std::vector<int>{2, 13}));
    EXPECT_EQ(hs_check_failures(in, 13), std::vector<int>{13});
    EXPECT_EQ(*core::inpfail_message(hs_check(in, 2)),
              "Die Eingabe für 'Ansparzins' ist zu niedrig !\nGeben Sie einen Wert zwischen 1 und 19 ein.\n\n"
              "Durchschnittswerte: 2% bis 4%.");
    EXPECT_FALSE(hs_can_compute(HsInputs{}));
}
