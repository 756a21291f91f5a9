#include "calc/loans/hypotilg.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "core/numbers.h"

using namespace vestral;
using namespace vestral::calc;
using core::Date;
using core::round_to;

namespace {

double c2(double v) {
    return round_to(v, 2);
}

// 100 000 at 5 %, 2 % repayment from 01.01.2007, 10 years fixed, 6 % afterwards, no fees.
HypoInputs base() {
    HypoInputs in;
    in.CBANKNAME = "Sparkasse";
    in.NHYPOTHEK = 100000;
    in.NZINSSATZ = 5;
    in.NTILGANNO = 2;
    in.DABDATUM = Date{2007, 1, 1};
    in.NLAUFZEIT = 10;
    in.NZINSNACH = 6;
    in.NEINMALMO = 1;
    return in;
}

std::vector<HypoRow> monthly(const HypoOutcome& o) {
    std::vector<HypoRow> v;
    for (const auto& r : o.rows)
        if (r.KEY == 1) v.push_back(r);
    return v;
}

std::vector<HypoRow> year_ends(const HypoOutcome& o) {
    std::vector<HypoRow> v;
    for (const auto& r : o.rows)
        if (r.KEY == 2) v.push_back(r);
    return v;
}

const HypoRow* month_row(const HypoOutcome& o, int year, int month) {
    for (const auto& r : o.rows)
        if (r.KEY == 1 && r.ABJAHR == year && r.ABMONAT == month) return &r;
    return nullptr;
}

const HypoRow* year_end(const HypoOutcome& o, int year) {
    for (const auto& r : o.rows)
        if (r.KEY == 2 && r.DATUM.year == year) return &r;
    return nullptr;
}

}  // namespace

TEST(HypoTab, StandardPlanFigures) {
    const HypoOutcome o = ht_tab(base());
    ASSERT_TRUE(o.repaid_ok);
    EXPECT_EQ(c2(o.results.NANNUITAT), 583.33);
    EXPECT_EQ(c2(o.results.NANNUITA2), 666.67);
    EXPECT_EQ(round_to(o.results.NEFFZINS, 3), 5.116);

    const HypoRow& first = o.rows.front();
    EXPECT_EQ(first.KEY, 1);
    EXPECT_EQ(first.DATUM, (Date{2007, 1, 1}));
    EXPECT_EQ(c2(first.HYPOTHEK), 100000.00);
    EXPECT_EQ(c2(first.ZINSEN), 416.67);
    EXPECT_EQ(c2(first.TILGUNG), 166.67);
    EXPECT_EQ(c2(first.RESTHYP), 99833.33);
    EXPECT_EQ(c2(first.MONRATE), 583.33);
    EXPECT_EQ(first.BANKNAME, "Sparkasse");

    const HypoRow* ye2007 = year_end(o, 2007);
    ASSERT_NE(ye2007, nullptr);
    EXPECT_EQ(ye2007->DATUM, (Date{2007, 12, 31}));
    EXPECT_EQ(c2(ye2007->HYPOTHEK), 97953.52);
    EXPECT_EQ(c2(ye2007->RESTHYP), 97953.52);
    EXPECT_EQ(c2(ye2007->ZINSSUM), 4953.52);
    EXPECT_EQ(c2(ye2007->MONRSUM), c2(12 * (100000 / 100.0 * 5 + 100000 / 100.0 * 2) / 12));

    EXPECT_EQ(c2(o.results.NRESTNACH), 74119.62);
    // The follow-up rate takes over on 1 January 2017 with the balance of the end of 2016.
    EXPECT_EQ(c2(year_end(o, 2016)->HYPOTHEK), 74119.62);
    EXPECT_EQ(c2(month_row(o, 2016, 12)->MONRATE), 583.33);
    EXPECT_EQ(c2(month_row(o, 2017, 1)->MONRATE), 666.67);
    EXPECT_EQ(c2(month_row(o, 2017, 1)->ZINSEN), c2(74119.62 / 100 * 6 / 12));

    const auto m = monthly(o);
    const HypoRow& last = m.back();
    EXPECT_EQ(last.DATUM, (Date{2030, 7, 1}));
    EXPECT_EQ(c2(last.HYPOTHEK), 494.73);
    EXPECT_EQ(c2(last.ZINSEN), 2.47);
    EXPECT_EQ(c2(last.MONRATE), 494.73);
    EXPECT_EQ(c2(last.ANUITAT), 494.73);
    EXPECT_EQ(last.RESTHYP, 0.0);

    EXPECT_EQ(o.results.NTILGZEIT, 23);
    EXPECT_EQ(c2(o.results.NZINSSUM), 78497.20);
    EXPECT_EQ(c2(o.results.NTILGSUM), 178497.20);
    EXPECT_EQ(o.results.NGEBUSUM, 0.0);
    EXPECT_EQ(o.results.NEINMSUM, 0.0);
}

TEST(HypoTab, RowOrderAndYearEndRows) {
    const HypoOutcome o = ht_tab(base());
    // Twelve monthly rows, then that year's year-end row; a last partial year of seven months.
    ASSERT_EQ(o.rows.size(), 23u * 13 + 7 + 1);
    for (size_t k = 0; k < 23 * 13; ++k) EXPECT_EQ(o.rows[k].KEY, (k % 13 == 12) ? 2 : 1) << k;
    EXPECT_EQ(year_ends(o).size(), 24u);
    EXPECT_EQ(o.chart.values.size(), 24u);
    ASSERT_EQ(o.chart.labels.size(), 24u);
    EXPECT_EQ(o.chart.labels.front(), "07");
    EXPECT_EQ(o.chart.labels.back(), "30");
    EXPECT_EQ(c2(o.chart.values.front()), 97953.52);

    // The plan ends in July: its year-end row carries the last month's date, and everything is paid.
    const HypoRow& last = o.rows.back();
    EXPECT_EQ(last.KEY, 2);
    EXPECT_EQ(last.DATUM, (Date{2030, 7, 1}));
    EXPECT_EQ(last.HYPOTHEK, 0.0);
    EXPECT_EQ(last.RESTHYP, 0.0);
    EXPECT_EQ(o.chart.values.back(), 0.0);
    EXPECT_EQ(last.RESTZINS, 0.0);

    // Interest still to come falls to 0 and matches the final total.
    EXPECT_EQ(c2(o.rows.front().RESTZINS), c2(o.results.NZINSSUM - o.rows.front().ZINSSUM));
    // The year-end repayment total sums the monthly repayments, which add up to the loan.
    EXPECT_EQ(c2(last.TILGSUM), 100000.00);
    // Paid so far: the instalments, the last one taken as the remaining balance.
    EXPECT_EQ(c2(last.GEZAHLT), c2(monthly(o).back().GEZAHLT));
}

TEST(HypoTab, StartInJulyHasAPartialFirstYear) {
    HypoInputs in = base();
    in.DABDATUM = Date{2007, 7, 15};
    const HypoOutcome o = ht_tab(in);
    ASSERT_TRUE(o.repaid_ok);
    int first_year_months = 0;
    for (const auto& r : monthly(o))
        if (r.ABJAHR == 2007) ++first_year_months;
    EXPECT_EQ(first_year_months, 6);
    EXPECT_EQ(o.rows.front().DATUM, (Date{2007, 7, 1}));
    EXPECT_EQ(o.rows[6].KEY, 2);
    EXPECT_EQ(o.rows[6].DATUM, (Date{2007, 12, 31}));

    EXPECT_EQ(c2(month_row(o, 2016, 12)->MONRATE), 583.33);
    EXPECT_EQ(c2(month_row(o, 2017, 1)->MONRATE), 666.67);
    EXPECT_EQ(o.results.NRESTNACH, year_end(o, 2016)->HYPOTHEK);
    EXPECT_EQ(o.results.NRESTNACH, month_row(o, 2016, 12)->RESTHYP);
    // The partial first year counts as a whole year of repayment, the last partial one does not.
    const int last_year = monthly(o).back().ABJAHR;
    EXPECT_EQ(o.results.NTILGZEIT, last_year - 2007);
}

TEST(HypoTab, RepaymentZeroRunsTheFixedPeriod) {
    HypoInputs in = base();
    in.NTILGANNO = 0;
    in.NLAUFZEIT = 5;
    const HypoOutcome o = ht_tab(in);
    ASSERT_TRUE(o.repaid_ok);
    EXPECT_EQ(c2(o.results.NANNUITAT), 416.67);
    EXPECT_EQ(year_ends(o).size(), 5u);
    EXPECT_EQ(monthly(o).size(), 60u);
    EXPECT_EQ(o.results.NTILGZEIT, 5);
    // Interest only: the balance stays where it started, up to the cent rounding of R.
    EXPECT_EQ(c2(o.results.NRESTNACH), c2(year_ends(o).back().HYPOTHEK));
    EXPECT_NEAR(o.results.NRESTNACH, 100000, 0.01);
    EXPECT_GT(o.results.NRESTNACH, 0);
}

TEST(HypoTab, RepaymentZeroWithAccountFeeRaisesTheBalanceEveryDecember) {
    HypoInputs in = base();
    in.NTILGANNO = 0;
    in.NLAUFZEIT = 5;
    in.NKONTOGEB = 60;
    const HypoOutcome o = ht_tab(in);
    ASSERT_TRUE(o.repaid_ok);
    const auto ye = year_ends(o);
    ASSERT_EQ(ye.size(), 5u);
    double before = 100000;
    for (const auto& r : ye) {
        EXPECT_GT(r.HYPOTHEK, before + 59) << r.DATUM.year;
        before = r.HYPOTHEK;
    }
    for (const auto& r : monthly(o)) {
        if (r.ABMONAT == 12) {
            EXPECT_LT(r.TILGUNG, 0);
            EXPECT_EQ(r.GEBUEHR, 60);
        }
    }
    EXPECT_EQ(o.results.NRESTNACH, ye.back().HYPOTHEK);
    EXPECT_EQ(o.results.NGEBUSUM, 5 * 60.0);
}

TEST(HypoTab, RepaymentZeroStopsWhenSpecialRepaymentsPayTheLoanOff) {
    HypoInputs in = base();
    in.NTILGANNO = 0;
    in.NLAUFZEIT = 15;
    in.NEINMALDM = 10000;
    in.NEINMALMO = 6;
    const HypoOutcome o = ht_tab(in);
    ASSERT_TRUE(o.repaid_ok);
    const auto m = monthly(o);
    EXPECT_EQ(m.back().ABJAHR, 2015);
    EXPECT_EQ(o.rows.back().DATUM.year, 2015);
    for (const auto& r : o.rows) {
        EXPECT_GE(r.ANUITAT, 0) << r.DATUM.year << "-" << r.DATUM.month;
        EXPECT_GE(r.MONRATE, 0);
        EXPECT_GE(r.HYPOTHEK, -1e-9);
    }
    double repaid = 0;
    for (const auto& r : m) repaid += r.TILGUNG;
    EXPECT_EQ(c2(repaid), 100000.00);
    // Eight special repayments (2007 to 2014); the loan is paid off in May 2015.
    EXPECT_EQ(o.results.NEINMSUM, 80000.0);
    EXPECT_EQ(m.back().ABMONAT, 5);
    EXPECT_EQ(o.rows.back().KEY, 2);
    EXPECT_EQ(o.rows.back().DATUM, (Date{2015, 5, 1}));
    // The final partial year does not count; the follow-up rate never took over.
    EXPECT_EQ(o.results.NTILGZEIT, 2015 - 2007);
    EXPECT_EQ(o.results.NRESTNACH, 0.0);
    EXPECT_EQ(o.rows.back().HYPOTHEK, 0.0);
}

TEST(HypoTab, AccountFeeThatEatsTheRepaymentIsNotRepaid) {
    HypoInputs in = base();
    in.NTILGANNO = 0.1;
    in.NKONTOGEB = 200;
    const HypoOutcome o = ht_tab(in);
    EXPECT_FALSE(o.repaid_ok);
    EXPECT_TRUE(o.rows.empty());
    EXPECT_TRUE(o.chart.values.empty());
    EXPECT_TRUE(o.chart.labels.empty());
    EXPECT_EQ(o.results.NANNUITAT, 0.0);
    EXPECT_EQ(o.results.NZINSSUM, 0.0);
    EXPECT_EQ(o.results.NTILGSUM, 0.0);
    EXPECT_EQ(o.results.NTILGZEIT, 0.0);
    EXPECT_EQ(o.results.NEFFZINS, 0.0);
    EXPECT_EQ(o.results.NRESTNACH, 0.0);
    EXPECT_STREQ(kHypoNotRepaid, "Die Hypothek wird mit diesen Eingaben nicht getilgt !");
    EXPECT_STREQ(kHypoNotRepaidTitle, "Problem");
}

TEST(HypoTab, SlowButFallingBalanceIsRepaid) {
    // The fee takes most, but not all, of the yearly repayment: the plan runs long but ends.
    HypoInputs in = base();
    in.NTILGANNO = 1;
    in.NKONTOGEB = 900;
    in.NZINSNACH = 5;
    const HypoOutcome o = ht_tab(in);
    ASSERT_TRUE(o.repaid_ok);
    EXPECT_EQ(o.rows.back().RESTHYP, 0.0);
    EXPECT_GT(o.results.NTILGZEIT, 40);
}

TEST(HypoTab, PlanThatWouldPassTheYear9999IsNotRepaid) {
    HypoInputs in = base();
    in.NTILGANNO = 0.001;
    in.NZINSSATZ = 1;
    in.NZINSNACH = 1;
    in.DABDATUM = Date{9990, 1, 1};
    const HypoOutcome o = ht_tab(in);
    EXPECT_FALSE(o.repaid_ok);
    EXPECT_TRUE(o.rows.empty());
}

TEST(HypoTab, SpecialRepaymentIsCutAndStaysCut) {
    HypoInputs in = base();
    in.NEINMALDM = 5000;
    in.NEINMALMO = 8;
    const HypoOutcome o = ht_tab(in);
    ASSERT_TRUE(o.repaid_ok);
    const auto m = monthly(o);
    const HypoRow& last = m.back();
    EXPECT_EQ(last.ABJAHR, 2017);
    EXPECT_EQ(last.ABMONAT, 8);
    EXPECT_EQ(c2(last.EINMALDM), 4800.02);
    EXPECT_LT(last.EINMALDM, 10000);
    EXPECT_GT(last.EINMALDM, 0);
    // The cut special repayment takes exactly what is left after the month's repayment.
    EXPECT_EQ(c2(last.EINMALDM), c2(last.HYPOTHEK - (last.ANUITAT - last.ZINSEN)));
    EXPECT_EQ(c2(last.TILGUNG), c2(last.HYPOTHEK));
    EXPECT_EQ(last.RESTHYP, 0.0);
    // The year-end row carries the cut amount as the current special repayment.
    EXPECT_EQ(o.rows.back().EINMALDM, last.EINMALDM);
    // Full special repayments before.
    int full = 0;
    for (const auto& r : m)
        if (r.ABMONAT == 8 && r.ABJAHR < last.ABJAHR) {
            EXPECT_EQ(r.EINMALDM, 5000);
            ++full;
        }
    EXPECT_GT(full, 0);
    EXPECT_EQ(full, 10);
    EXPECT_EQ(c2(o.results.NEINMSUM), c2(full * 5000.0 + last.EINMALDM));
    EXPECT_EQ(c2(last.EINMSUM), c2(o.results.NEINMSUM));
    // Other months show no special repayment and no special total.
    EXPECT_EQ(month_row(o, 2007, 9)->EINMALDM, 0.0);
    EXPECT_EQ(month_row(o, 2007, 9)->EINMSUM, 0.0);
    EXPECT_EQ(month_row(o, 2008, 8)->EINMSUM, 10000.0);
    EXPECT_EQ(year_end(o, 2008)->EINMSUM, 10000.0);
    EXPECT_EQ(year_end(o, 2008)->EINMALDM, 5000.0);
}

TEST(HypoTab, SpecialRepaymentCutInAFeeMonthStaysCutForTheFollowingRows) {
    // A plan whose cut falls in a December with an account fee leaves the fee on the balance,
    // so rows follow the cut; they keep the reduced amount.
    HypoInputs in = base();
    in.NEINMALDM = 5000;
    in.NEINMALMO = 12;
    in.NKONTOGEB = 50;
    const HypoOutcome o = ht_tab(in);
    ASSERT_TRUE(o.repaid_ok);
    const auto m = monthly(o);
    const HypoRow* cut = nullptr;
    for (const auto& r : m)
        if (r.ABMONAT == 12 && r.EINMALDM < 5000) {
            cut = &r;
            break;
        }
    ASSERT_NE(cut, nullptr);
    EXPECT_EQ(c2(cut->RESTHYP), 50.0);
    EXPECT_NE(&m.back(), cut);
    // The year-end rows after the cut carry the reduced amount as the current special repayment.
    const HypoRow* ye = year_end(o, cut->ABJAHR);
    EXPECT_EQ(ye->EINMALDM, cut->EINMALDM);
    EXPECT_EQ(o.rows.back().EINMALDM, cut->EINMALDM);
    EXPECT_GT(o.rows.back().DATUM, ye->DATUM);
    EXPECT_EQ(o.rows.back().RESTHYP, 0.0);
}

TEST(HypoTab, AccountFeeInDecemberRows) {
    HypoInputs in = base();
    in.NKONTOGEB = 36;
    const HypoOutcome o = ht_tab(in);
    ASSERT_TRUE(o.repaid_ok);
    const HypoRow* nov = month_row(o, 2008, 11);
    const HypoRow* dec = month_row(o, 2008, 12);
    EXPECT_EQ(c2(dec->TILGUNG), c2(dec->MONRATE - dec->ZINSEN - 36));
    EXPECT_EQ(c2(nov->TILGUNG), c2(nov->MONRATE - nov->ZINSEN));
    EXPECT_EQ(dec->GEBUEHR, 36.0);
    EXPECT_EQ(nov->GEBUEHR, 0.0);
    EXPECT_EQ(dec->GEBUSUM, 72.0);
    EXPECT_EQ(nov->GEBUSUM, 0.0);
    EXPECT_EQ(year_end(o, 2008)->GEBUSUM, 72.0);
    EXPECT_EQ(year_end(o, 2008)->GEBUEHR, 36.0);
}

TEST(HypoTab, CreditFeeIsFinancedAndChargedInTheFirstRow) {
    HypoInputs in = base();
    in.NKREDITPR = 2;
    in.NKREDITDM = 2000;
    in.NKONTOGEB = 30;
    const HypoOutcome o = ht_tab(in);
    ASSERT_TRUE(o.repaid_ok);
    EXPECT_EQ(c2(o.results.NANNUITAT), c2((102000 / 100.0 * 5 + 102000 / 100.0 * 2) / 12));
    EXPECT_EQ(o.rows[0].HYPOTHEK, 102000.0);
    EXPECT_EQ(o.rows[0].GEBUEHR, 2000.0);
    EXPECT_EQ(o.rows[0].GEBUSUM, 2000.0);
    EXPECT_EQ(o.rows[1].GEBUEHR, 0.0);
    EXPECT_EQ(o.rows[1].GEBUSUM, 0.0);
    EXPECT_EQ(month_row(o, 2007, 12)->GEBUSUM, 2030.0);
    // Payment total is the amount (without the fee) plus interest.
    EXPECT_EQ(o.results.NTILGSUM, 100000 + o.results.NZINSSUM);
    int decembers = 0;
    for (const auto& r : monthly(o)) decembers += r.ABMONAT == 12;
    EXPECT_EQ(o.results.NGEBUSUM, 2000 + 30.0 * decembers);
}

TEST(HypoTab, DecemberStartLosesTheCreditFeeFromTheFeeColumn) {
    HypoInputs in = base();
    in.DABDATUM = Date{2007, 12, 1};
    in.NKREDITDM = 2000;
    in.NKONTOGEB = 30;
    const HypoOutcome o = ht_tab(in);
    ASSERT_TRUE(o.repaid_ok);
    // The fee is financed all the same.
    EXPECT_EQ(o.rows[0].HYPOTHEK, 102000.0);
    EXPECT_EQ(o.rows[0].GEBUEHR, 30.0);
    EXPECT_EQ(o.rows[0].GEBUSUM, 30.0);
    EXPECT_EQ(o.rows[1].KEY, 2);
    EXPECT_EQ(o.rows[1].GEBUSUM, 30.0);
    int decembers = 0;
    for (const auto& r : monthly(o)) decembers += r.ABMONAT == 12;
    EXPECT_EQ(o.results.NGEBUSUM, 30.0 * decembers);
    EXPECT_EQ(o.rows[2].GEBUEHR, 0.0);
}

TEST(HypoTab, PlanEndingInDecemberGetsTheLastDayOfTheYear) {
    // Find an amount whose plan ends in December: with 1 000 at 5 %, 20 % repayment the
    // instalment is 20,83 and the plan lasts 53 months from January, ending in May; starting in
    // August ends in December.
    HypoInputs in = base();
    in.NHYPOTHEK = 1000;
    in.NTILGANNO = 20;
    in.NZINSNACH = 5;
    const HypoOutcome jan = ht_tab(in);
    const int months = static_cast<int>(monthly(jan).size());
    const int end_month = ((months - 1) % 12) + 1;
    ASSERT_NE(end_month, 12);
    EXPECT_EQ(jan.rows.back().DATUM, (Date{monthly(jan).back().ABJAHR, end_month, 1}));
    in.DABDATUM = Date{2007, 12 - end_month + 1, 1};
    const HypoOutcome o = ht_tab(in);
    const auto m = monthly(o);
    ASSERT_EQ(m.back().ABMONAT, 12);
    EXPECT_EQ(o.rows.back().KEY, 2);
    EXPECT_EQ(o.rows.back().DATUM, (Date{m.back().ABJAHR, 12, 31}));
    EXPECT_EQ(o.rows.back().HYPOTHEK, 0.0);
    // The plan ends with that row; no empty year follows.
    EXPECT_EQ(o.results.NTILGZEIT, m.back().ABJAHR - 2007);
}

TEST(HypoTab, EffectiveRateFollowsTheNominalRateOnly) {
    HypoInputs in = base();
    in.NKREDITDM = 5000;
    in.NZINSSATZ = 6;
    EXPECT_EQ(round_to(ht_tab(in).results.NEFFZINS, 3), 6.168);
}

TEST(HypoHelpers, SpecialRepaymentPercentAndFeeCoupling) {
    EXPECT_EQ(ht_einmalpz(100000, 5000), 5.0);
    EXPECT_FALSE(ht_einmalpz_is_red(ht_einmalpz(100000, 5000)));
    EXPECT_TRUE(ht_einmalpz_is_red(ht_einmalpz(100000, 5001)));
    EXPECT_EQ(ht_einmalpz(0, 5000), 0.0);
    EXPECT_EQ(ht_credit_fee_eur(150000, 1.5), 2250.0);
    EXPECT_EQ(ht_credit_fee_percent(150000, 2250), 1.5);
    EXPECT_EQ(ht_credit_fee_percent(0, 2250), 0.0);
    EXPECT_EQ(ht_credit_fee_eur(0, 2), 0.0);
    HypoInputs in = base();
    in.NEINMALDM = 6000;
    EXPECT_EQ(ht_tab(in).results.NEINMALPZ, 6.0);
}

TEST(HypoCheck, SevenChecksInOrder) {
    HypoInputs in = base();
    const auto checks = ht_checks(in);
    ASSERT_EQ(checks.size(), 7u);
    EXPECT_EQ(checks[0].name, "Hypothekbetrag");
    EXPECT_EQ(checks[0].high.value, 99999999);
    EXPECT_EQ(checks[1].name, "Nominalzins");
    EXPECT_EQ(checks[1].typical1, "4");
    EXPECT_EQ(checks[1].typical2, "12");
    EXPECT_EQ(checks[1].unit, "%");
    EXPECT_EQ(checks[2].name, "Tilgung pro Jahr");
    EXPECT_EQ(checks[2].typical1, "1,0");
    EXPECT_EQ(checks[2].typical2, "");
    EXPECT_EQ(checks[3].name, "Laufzeit ab Datum");
    EXPECT_EQ(checks[3].value, 2007);
    EXPECT_EQ(checks[4].name, "Laufzeit in Jahren");
    EXPECT_EQ(checks[5].name, "Nominalzins");
    EXPECT_EQ(checks[5].value, 6);
    EXPECT_EQ(checks[6].name, "jährl. Sondertilgung");
    EXPECT_EQ(checks[6].high.value, 10000);
    EXPECT_EQ(checks[6].high.decimals, 2);
    EXPECT_TRUE(ht_check_failures(in).empty());
}

TEST(HypoCheck, FailuresAndMessages) {
    HypoInputs in = base();
    in.NZINSSATZ = 20;
    in.DABDATUM = Date{1989, 12, 31};
    in.NLAUFZEIT = 4;
    in.NZINSNACH = 0.5;
    in.NEINMALDM = 10000.01;
    in.NTILGANNO = 20;  // a bound passes
    EXPECT_EQ(ht_check_failures(in), (std::vector<int>{2, 4, 5, 6, 7}));
    EXPECT_EQ(ht_check_failures(in, 2), (std::vector<int>{2}));
    EXPECT_TRUE(ht_check_failures(in, 3).empty());
    EXPECT_EQ(*core::inpfail_message(ht_checks(in)[6]),
              "Die Eingabe für 'jährl. Sondertilgung' ist zu hoch !\n"
              "Geben Sie einen Wert zwischen 0 und 10000.00 ein.");
    EXPECT_EQ(*core::inpfail_message(ht_checks(in)[1]),
              "Die Eingabe für 'Nominalzins' ist zu hoch !\nGeben Sie einen Wert zwischen 1 und 19 ein.\n\n"
              "Durchschnittswerte: 4% bis 12%.");
    in.NEINMALDM = 10000;
    EXPECT_TRUE(ht_check_failures(in, 7).empty());
}

TEST(HypoSettings, SectionEntriesInOrder) {
    HypoInputs in = base();
    in.NZINSSATZ = 5.125;
    in.NTILGANNO = 1.5;
    in.DABDATUM = Date{2007, 3, 5};
    HypoResults res;
    res.NZINSSUM = 78497.2049;
    res.NTILGSUM = 178497.2049;
    res.NTILGZEIT = 23;
    res.NANNUITAT = 583.3333333333334;
    const auto e = hypo_settings_entries(in, res);
    ASSERT_EQ(e.size(), 9u);
    const std::vector<std::string> keys{"Bankname",  "Hypothek",    "Zinssatz", "TilgungJahr", "AbDatum",
                                        "Zinssumme", "Gesamtsumme", "Laufzeit", "Annuitaet"};
    for (size_t k = 0; k < keys.size(); ++k) EXPECT_EQ(e[k].key, keys[k]);
    EXPECT_EQ(e[0].value, "Sparkasse" + std::string(31, ' '));
    EXPECT_EQ(e[1].value, "100000.00");
    EXPECT_EQ(e[2].value, "5.125");
    EXPECT_EQ(e[3].value, "1.500");
    EXPECT_EQ(e[4].value, "05.03.2007");
    EXPECT_EQ(e[5].value, "78497.2049");
    EXPECT_EQ(e[6].value, "178497.2049");
    EXPECT_EQ(e[7].value, "23");
    EXPECT_NEAR(core::parse_lenient(e[8].value).value, res.NANNUITAT, 1e-9);
}
