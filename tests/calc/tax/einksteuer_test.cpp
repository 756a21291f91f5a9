#include "calc/tax/einksteuer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "core/numbers.h"
#include "core/program_settings.h"

using namespace vestral;
using namespace vestral::calc;

namespace {

struct TaxCase {
    const char* name;
    int divisor;
    double income;
    int year;
    double tax;
};

class IncomeTaxValues : public ::testing::TestWithParam<TaxCase> {};

TEST_P(IncomeTaxValues, MatchTheTariff) {
    const TaxCase& c = GetParam();
    EXPECT_DOUBLE_EQ(einksteuer(c.divisor, c.income, c.year), c.tax);
}

INSTANTIATE_TEST_SUITE_P(Tariff, IncomeTaxValues,
                         ::testing::Values(TaxCase{"Single2005ThirdZone", 1, 20'000, 2005, 2'850},
                                           TaxCase{"Joint2005SecondZone", 2, 20'000, 2005, 796},
                                           TaxCase{"Single2003", 1, 50'000, 2003, 14'440},
                                           TaxCase{"Joint2003", 2, 50'000, 2003, 9'514},
                                           TaxCase{"Single2006ThirdZone", 1, 52'000, 2006, 13'925},
                                           TaxCase{"Single2006TopZone", 1, 60'000, 2006, 17'286},
                                           TaxCase{"Single1998InDm", 1, 20'000, 1998, 7'591 * kNdm2Euro},
                                           TaxCase{"BasicAllowance2005", 1, 7'664, 2005, 0},
                                           TaxCase{"FirstTaxedEuro2005", 1, 7'665, 2005, 0},
                                           TaxCase{"ZeroIncome", 1, 0, 1990, 0},
                                           TaxCase{"NoAssessmentKind", 0, 50'000, 2005, 0}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(IncomeTax, TaxableAmountIsRoundedByTheYearGroup) {
    using tariff::round_taxable;
    using tariff::tariff_for;
    // 20,000 EUR are 39,116.6 DM.
    EXPECT_DOUBLE_EQ(round_taxable(tariff_for(1998).rounding, 20'000 * kNeuro2Dm), 39'096);
    EXPECT_DOUBLE_EQ(round_taxable(tariff_for(1970).rounding, 20'000 * kNeuro2Dm), 39'090);
    EXPECT_DOUBLE_EQ(round_taxable(tariff_for(2001).rounding, 39'116.6), 39'096 + 27);
    EXPECT_DOUBLE_EQ(round_taxable(tariff_for(2003).rounding, 50'000), 49'986);
    EXPECT_DOUBLE_EQ(round_taxable(tariff_for(2003).rounding, 25'000), 25'002);
    EXPECT_DOUBLE_EQ(round_taxable(tariff_for(2004).rounding, 12'345.99), 12'345);
    EXPECT_DOUBLE_EQ(round_taxable(tariff_for(2010).rounding, 12'345.99), 12'345);
    // Before 1981: 30 DM steps up to 48,000, 60 DM steps above.
    const auto& old = tariff_for(1975).rounding;
    EXPECT_DOUBLE_EQ(round_taxable(old, 47'999), 47'970);
    EXPECT_DOUBLE_EQ(round_taxable(old, 48'000), 48'000);
    EXPECT_DOUBLE_EQ(round_taxable(old, 48'030.5), 48'000);
    EXPECT_DOUBLE_EQ(round_taxable(old, 48'059), 48'000);
    EXPECT_DOUBLE_EQ(round_taxable(old, 48'060), 48'060);
}

TEST(IncomeTax, YearsFallIntoTheirGroups) {
    using tariff::Currency;
    using tariff::tariff_for;
    EXPECT_EQ(tariff_for(1958).first_year, std::numeric_limits<int>::min());
    EXPECT_EQ(tariff_for(1980).first_year, std::numeric_limits<int>::min());
    EXPECT_EQ(tariff_for(1981).first_year, 1981);
    EXPECT_EQ(tariff_for(1998).first_year, 1981);
    EXPECT_EQ(tariff_for(1999).first_year, 1999);
    EXPECT_EQ(tariff_for(2000).first_year, 2000);
    EXPECT_EQ(tariff_for(2001).first_year, 2001);
    EXPECT_EQ(tariff_for(2003).first_year, 2002);
    EXPECT_EQ(tariff_for(2004).first_year, 2004);
    EXPECT_EQ(tariff_for(2005).first_year, 2005);
    EXPECT_EQ(tariff_for(2012).first_year, 2005);
    EXPECT_EQ(tariff_for(2001).currency, Currency::DM);
    EXPECT_EQ(tariff_for(2002).currency, Currency::EUR);
    // Later years are taxed as 2005.
    for (double income : {9'000.0, 30'000.0, 80'000.0})
        EXPECT_EQ(einksteuer(1, income, 2012), einksteuer(1, income, 2005));
}

TEST(IncomeTax, JointAssessmentIsTheSplittingMethod) {
    for (int year : {1970, 1985, 1999, 2000, 2001, 2002, 2004, 2005})
        for (double income : {15'000.0, 41'234.56, 90'000.0, 333'333.0})
            EXPECT_EQ(einksteuer(2, income, year), 2 * einksteuer(1, income / 2, year))
                << year << " " << income;
    // Splitting lowers the tax of a progressive tariff.
    EXPECT_LT(einksteuer(2, 60'000, 2005), einksteuer(1, 60'000, 2005));
}

TEST(IncomeTax, DmYearsConvertBackByMultiplication) {
    const int year = 1995;
    const auto& group = tariff::tariff_for(year);
    bool division_would_differ = false;
    for (double income = 10'000; income < 150'000; income += 1'234.5) {
        double dm = tariff::tariff_tax(group, tariff::round_taxable(group.rounding, income * kNeuro2Dm));
        EXPECT_EQ(einksteuer(1, income, year), dm * kNdm2Euro) << income;
        if (dm * kNdm2Euro != dm / kNeuro2Dm) division_would_differ = true;
    }
    // Otherwise the test above could not tell the two conversions apart.
    EXPECT_TRUE(division_would_differ);
    EXPECT_NEAR(einksteuer(1, 20'000, 1998), 3'881.22, 0.005);
}

TEST(IncomeTax, ConversionFactorsAreTheProgramWideOnes) {
    static_assert(kNeuro2Dm == core::ProgramSettings::kEuro2Dm);
    static_assert(kNdm2Euro == core::ProgramSettings::kDm2Euro);
    SUCCEED();
}

TEST(IncomeTax, NegativeTaxableAmountPaysNoTax) {
    EXPECT_EQ(einksteuer(1, -5'000, 2005), 0);
    for (int year : {1965, 1990, 1999, 2000, 2001, 2002, 2003, 2004, 2006})
        for (double income : {-1.0, -17.0, -40.0, -5'000.0, -1e6}) {
            EXPECT_EQ(einksteuer(1, income, year), 0) << year << " " << income;
            EXPECT_EQ(einksteuer(2, income, year), 0) << year << " " << income;
        }
}

// Every zone boundary of every year group: the lower zone's formula one unit below the boundary
// and the upper zone's at the boundary stay close, so no income jumps a tax step.
TEST(IncomeTax, NeighbouringZonesJoinAtEveryBoundary) {
    int boundaries = 0;
    for (const auto& group : tariff::income_tax_tariff()) {
        ASSERT_FALSE(group.zones.empty());
        EXPECT_EQ(group.zones.front().from, 0);
        for (size_t i = 1; i < group.zones.size(); ++i) {
            const auto& below = group.zones[i - 1];
            const auto& above = group.zones[i];
            const double b = above.from;
            EXPECT_LT(below.from, b);
            EXPECT_EQ(&tariff::zone_for(group, b), &above);
            EXPECT_EQ(&tariff::zone_for(group, b - 1), &below);
            EXPECT_LE(std::fabs(tariff::zone_tax(below, b - 1) - tariff::zone_tax(above, b)), 15)
                << "group from " << group.first_year << ", boundary " << b;
            ++boundaries;
        }
    }
    EXPECT_EQ(boundaries, 4 + 3 + 4 + 3 + 3 + 3 + 3 + 3);
}

TEST(IncomeTax, TariffBefore1981Joins) {
    const auto& g = tariff::tariff_for(1980);
    double t47999 = tariff::tariff_tax(g, 47'999), t48000 = tariff::tariff_tax(g, 48'000);
    double t129999 = tariff::tariff_tax(g, 129'999), t130000 = tariff::tariff_tax(g, 130'000);
    EXPECT_LT(std::fabs(t48000 - t47999), 10);
    EXPECT_LT(std::fabs(t130000 - t129999), 10);
    EXPECT_DOUBLE_EQ(t48000, 15'298);
    EXPECT_DOUBLE_EQ(t130000, 59'156);
    EXPECT_GT(t47999, 15'296);
    EXPECT_LT(t47999, 15'297);
    EXPECT_GT(t129999, 59'151);
    EXPECT_LT(t129999, 59'152);
    // Only the inner polynomial is truncated: 20,000 EUR single are 39,090 DM in zone 3.
    double y = (39'090 - 16'000) / 10'000.0;
    double dm = core::int_part(((10.86 * y - 154.42) * y + 925) * y + 2'200) * y + 2'708;
    EXPECT_NE(dm, std::trunc(dm));
    EXPECT_DOUBLE_EQ(einksteuer(1, 20'000, 1970), dm * kNdm2Euro);
    EXPECT_DOUBLE_EQ(tariff::tariff_tax(g, 10'000), std::trunc(0.22 * 10'000 - 812));
    EXPECT_DOUBLE_EQ(tariff::tariff_tax(g, 3'690), 0);
}

TEST(IncomeTax, StatutoryZonesOf1999And2004MeetTheirNeighbours) {
    const auto& g1999 = tariff::tariff_for(1999);
    // The middle zone starts where the zone below ends (1,025) and ends where the one above starts.
    EXPECT_DOUBLE_EQ(tariff::tariff_tax(g1999, 17'063), 1'025);
    EXPECT_DOUBLE_EQ(tariff::tariff_tax(g1999, 17'064), 1'025);
    EXPECT_DOUBLE_EQ(tariff::tariff_tax(g1999, 66'365), 16'656);
    EXPECT_DOUBLE_EQ(tariff::tariff_tax(g1999, 66'366), 16'656);
    const auto& g2004 = tariff::tariff_for(2004);
    EXPECT_DOUBLE_EQ(tariff::tariff_tax(g2004, 12'739), 1'016);
    EXPECT_DOUBLE_EQ(tariff::tariff_tax(g2004, 12'740), 1'016);
    EXPECT_DOUBLE_EQ(tariff::tariff_tax(g2004, 7'665), 0);
}

// Across the whole range the tax never falls by more than the truncation of a join when the
// income rises.
TEST(IncomeTax, RisesWithTheIncomeInEveryYearGroup) {
    for (int year : {1970, 1990, 1999, 2000, 2001, 2003, 2004, 2005}) {
        double last = 0;
        for (double income = 0; income <= 250'000; income += 3.7) {
            double tax = einksteuer(1, income, year);
            ASSERT_GE(tax, last - 1.0) << year << " " << income;
            last = std::max(last, tax);
        }
        EXPECT_GT(last, 50'000) << year;
    }
}

}  // namespace
