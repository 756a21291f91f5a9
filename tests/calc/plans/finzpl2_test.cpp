// The letting financing plan: the owner-occupied loan passes with the depreciation and the
// yearly income tax with and without the financing.
#include "calc/plans/finzpl2.h"

#include <gtest/gtest.h>

#include "calc/tax/einksteuer.h"
#include "support/plan_sources.h"

using namespace vestral;
using calc::Fp1Include;
using calc::Fp1Row;
using calc::Fp2AfaRow;
using calc::Fp2Income;
using calc::Fp2Sources;
using namespace vestral::test::plans;

namespace {

// Three plan years from the first mortgage (12 000 interest in 2007, less later).
Fp2Sources three_years_of_mortgage(Fp1Include& inc) {
    inc.hyp1 = true;
    Fp2Sources src;
    src.loans.hyp1 = mortgage("Hausbank", 100000, 2007, 1, 36, 1500);
    return src;
}

std::vector<Fp2AfaRow> depreciation(int from, int years, double amount, double rate) {
    std::vector<Fp2AfaRow> rows;
    for (int k = 0; k < years; ++k) rows.push_back({from + k, amount, rate});
    return rows;
}

std::vector<std::string> headings(const calc::Fp1Grid& g) {
    std::vector<std::string> out;
    for (const auto& c : g.columns) out.push_back(c.heading);
    return out;
}

}  // namespace

TEST(Finzpl2Plan, IncomeGrowsByItsRateFromYearToYear) {
    Fp1Include inc;
    const Fp2Sources src = three_years_of_mortgage(inc);
    Fp2Income income;
    income.NEINKOMM = 50000;
    income.NEINKSTEIG = 2;
    const auto out = calc::fp2_rech(inc, src, income, 2005);
    ASSERT_TRUE(out.LOK);
    ASSERT_EQ(out.rows.size(), 3u);
    EXPECT_DOUBLE_EQ(out.rows[0].EINKOMM, 50000);
    EXPECT_DOUBLE_EQ(out.rows[1].EINKOMM, 51000);
    EXPECT_DOUBLE_EQ(out.rows[2].EINKOMM, 52020);
    // Income only: the tax with and without the mortgage interest.
    for (const Fp1Row& r : out.rows) {
        EXPECT_DOUBLE_EQ(r.MIETE, 0);
        EXPECT_DOUBLE_EQ(r.AFAEKST1, core::round_to(calc::einksteuer(1, r.EINKOMM, 2005), 2));
        EXPECT_DOUBLE_EQ(
            r.AFAEKST2,
            core::round_to(calc::einksteuer(1, core::round_to(r.EINKOMM - r.ZINSENGES, 2), 2005), 2));
        EXPECT_GT(r.STEUERERL, 0);
        EXPECT_NEAR(r.STEUERERL, r.AFAEKST1 - r.AFAEKST2, 0.011);
    }
}

TEST(Finzpl2Plan, RentWithoutIncomeIsFilledButNotTaxed) {
    Fp1Include inc;
    const Fp2Sources src = three_years_of_mortgage(inc);
    Fp2Income income;
    income.NMIETE = 12000;
    income.NMIETSTEIG = 1.5;
    const auto out = calc::fp2_rech(inc, src, income, 2005);
    ASSERT_EQ(out.rows.size(), 3u);
    EXPECT_DOUBLE_EQ(out.rows[0].MIETE, 12000);
    EXPECT_DOUBLE_EQ(out.rows[1].MIETE, 12180);
    EXPECT_DOUBLE_EQ(out.rows[2].MIETE, 12362.7);
    for (const Fp1Row& r : out.rows) {
        EXPECT_DOUBLE_EQ(r.EINKOMM, 0);
        EXPECT_DOUBLE_EQ(r.AFAEKST1, 0);
        EXPECT_DOUBLE_EQ(r.AFAEKST2, 0);
        EXPECT_DOUBLE_EQ(r.STEUERERL, 0);
    }
}

TEST(Finzpl2Plan, IncomeAndRentAreTaxedTogetherLessDepreciationAndMortgageInterest) {
    Fp1Include inc;
    Fp2Sources src = three_years_of_mortgage(inc);
    inc.afa = true;
    src.afa = depreciation(2007, 3, 4000, 2);
    Fp2Income income{60000, 0, 9000, 0, 2};
    const auto out = calc::fp2_rech(inc, src, income, 2005);
    ASSERT_EQ(out.rows.size(), 3u);
    const Fp1Row& r = out.rows[0];
    EXPECT_DOUBLE_EQ(r.AFA, 4000);
    EXPECT_DOUBLE_EQ(r.AFARATE, 2);
    EXPECT_DOUBLE_EQ(r.AFAEKST1, core::round_to(calc::einksteuer(2, 69000, 2005), 2));
    EXPECT_DOUBLE_EQ(
        r.AFAEKST2,
        core::round_to(calc::einksteuer(2, core::round_to(69000 - 4000 - r.ZINSENGES, 2), 2005), 2));
    // Splitting taxes less than the single table.
    EXPECT_LT(r.AFAEKST1, calc::einksteuer(1, 69000, 2005));
}

TEST(Finzpl2Plan, CostsAboveIncomeAndRentLeaveNoSecondTax) {
    Fp1Include inc;
    Fp2Sources src = three_years_of_mortgage(inc);
    inc.afa = true;
    src.afa = depreciation(2007, 3, 30000, 3);
    const auto out = calc::fp2_rech(inc, src, {15000, 0, 6000, 0, 1}, 2005);
    for (const Fp1Row& r : out.rows) {
        EXPECT_DOUBLE_EQ(r.AFAEKST2, 0);
        EXPECT_DOUBLE_EQ(r.STEUERERL, r.AFAEKST1);
        EXPECT_GT(r.AFAEKST1, 0);
    }
}

TEST(Finzpl2Plan, EveryRowIsTaxedWithTheGivenYearsTariff) {
    Fp1Include inc;
    inc.afa = true;
    Fp2Sources src;
    src.afa = depreciation(2003, 31, 1000, 2);
    const auto out = calc::fp2_rech(inc, src, {40000, 0, 0, 0, 1}, 2003);
    ASSERT_EQ(out.rows.size(), 31u);
    const Fp1Row& late = out.rows.back();
    EXPECT_EQ(late.JAHR, 2033);
    EXPECT_DOUBLE_EQ(late.AFAEKST1, core::round_to(calc::einksteuer(1, 40000, 2003), 2));
    EXPECT_NE(late.AFAEKST1, core::round_to(calc::einksteuer(1, 40000, 2033), 2));
}

TEST(Finzpl2Plan, TaxesFollowTheRunningIncomeWhereTheFieldWouldOverflow) {
    Fp1Include inc;
    inc.afa = true;
    Fp2Sources src;
    src.afa = depreciation(2005, 40, 1000, 2);
    const auto out = calc::fp2_rech(inc, src, {99999999, 19, 9999999, 19, 1}, 2005);
    const Fp1Row& last = out.rows.back();
    EXPECT_GT(last.EINKOMM, 999999999.99);  // wider than the table's field
    EXPECT_GT(last.AFAEKST1, 0);
    EXPECT_DOUBLE_EQ(last.AFAEKST1, core::round_to(calc::einksteuer(1, last.EINKOMM + last.MIETE, 2005), 2));
}

TEST(Finzpl2Plan, IncomeWithoutASourceFindsNoData) {
    const auto out = calc::fp2_rech({}, {}, {50000, 2, 12000, 2, 1}, 2005);
    EXPECT_FALSE(out.LOK);
    EXPECT_TRUE(out.rows.empty());
    // An included depreciation whose copy is empty counts as nothing read either.
    Fp1Include inc;
    inc.afa = true;
    Fp2Sources src;
    src.afa = std::vector<Fp2AfaRow>{};
    EXPECT_FALSE(calc::fp2_rech(inc, src, {}, 2005).LOK);
}

TEST(Finzpl2Plan, LoanPassesAreTheOwnerOccupiedOnes) {
    Fp1Include inc;
    inc.hyp1 = inc.kre = true;
    calc::Fp1Sources loans;
    loans.hyp1 = mortgage("Hausbank", 100000, 2007, 4, 30, 1500);
    loans.kre = credit(10000, 2008, 1, 24, 450);
    const auto owner = calc::fp1_rech(inc, loans);
    const auto letting = calc::fp2_rech(inc, {loans, std::nullopt}, {}, 2005);
    ASSERT_EQ(owner.rows.size(), letting.rows.size());
    EXPECT_EQ(owner.NRATEN, letting.NRATEN);
    EXPECT_EQ(owner.NZINSEN, letting.NZINSEN);
    for (std::size_t k = 0; k < owner.rows.size(); ++k) {
        EXPECT_EQ(owner.rows[k].H1SUMME, letting.rows[k].H1SUMME);
        EXPECT_EQ(owner.rows[k].RKZINSEN, letting.rows[k].RKZINSEN);
        EXPECT_EQ(owner.rows[k].ZINSENGES, letting.rows[k].ZINSENGES);
    }
}

TEST(Finzpl2Grid, DepreciationAloneHasItsTwoColumnsAndNoText) {
    Fp1Include inc;
    inc.afa = true;
    const auto g = calc::fp_grid(inc, calc::FpVariant::Letting, 0, 0);
    EXPECT_EQ(headings(g), (std::vector<std::string>{"Jahr ", "Abschreibung ", "AfA-Rate "}));
    EXPECT_EQ(g.text, "");
}

TEST(Finzpl2Grid, IncomeSwitchesOnTheCombinedModeAndRentItsColumn) {
    Fp1Include inc;
    inc.hyp1 = true;
    const auto no_rent = calc::fp_grid(inc, calc::FpVariant::Letting, 50000, 0);
    EXPECT_EQ(headings(no_rent),
              (std::vector<std::string>{"Jahr ", "1. Hypothek ", "Einkommen ", "Steuererleicht. ",
                                        "Zinsen gesamt ", "Raten gesamt ", "Kontostand "}));
    EXPECT_EQ(no_rent.text, "1. Hypothek und Einkommen");

    inc.afa = true;
    const auto rent = calc::fp_grid(inc, calc::FpVariant::Letting, 50000, 12000);
    EXPECT_EQ(headings(rent), (std::vector<std::string>{"Jahr ", "1. Hypothek ", "Abschreibung ", "AfA-Rate ",
                                                        "Einkommen ", "Mieteinn. ", "Steuererleicht. ",
                                                        "Zinsen gesamt ", "Raten gesamt ", "Kontostand "}));
    EXPECT_EQ(rent.text, "1. Hypothek und Abschreibung und Einkommen und Mieteinnahmen");

    // Without income a single mortgage keeps its own columns, as in the owner-occupied plan.
    inc.afa = false;
    EXPECT_EQ(calc::fp_grid(inc, calc::FpVariant::Letting, 0, 0).text, "Nur 1. Hypothek");
    EXPECT_EQ(calc::fp_grid(inc, calc::FpVariant::Letting, 0, 0).columns.size(), 5u);
}
