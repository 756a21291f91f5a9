#include "calc/tax/eigenheimzulage.h"

#include <gtest/gtest.h>

#include <string>

#include "calc/tax/einksteuer.h"
#include "core/clock.h"

using namespace vestral;
using namespace vestral::calc;

namespace {

AbschrInputs base(int year, int famstand, double income, int children, double price) {
    AbschrInputs in;
    in.NEINZUG = year;
    in.NFAMSTAND = famstand;
    in.NEINKOMM = income;
    in.NKINDER = children;
    in.NKAUFPREIS = price;
    in.LA10E = true;
    return in;
}

void expect_nothing(const AbschrOutcome& out) {
    EXPECT_EQ(out.results.NFOERDRATE, 0);
    EXPECT_EQ(out.results.NABSCHJAHR, 0);
    EXPECT_EQ(out.results.NKINDJAHR, 0);
    EXPECT_EQ(out.results.NKINDGELD, 0);
    EXPECT_EQ(out.results.NABSCHREIB, 0);
    EXPECT_TRUE(out.rows.empty());
}

TEST(Abschrech2004, SingleLimitIsComparedWithHalfTheTwoYearIncome) {
    AbschrOutcome none = abschrech(base(2004, 1, 150'000, 0, 100'000));
    EXPECT_FALSE(none.no_longer_granted);
    expect_nothing(none);

    AbschrOutcome one = abschrech(base(2004, 1, 150'000, 1, 100'000));
    EXPECT_EQ(one.results.NABSCHJAHR, 1'000);
    EXPECT_EQ(one.results.NKINDJAHR, 800);
    EXPECT_EQ(one.results.NKINDGELD, 6'400);
    EXPECT_EQ(one.results.NABSCHREIB, 14'400);
    EXPECT_EQ(one.rows.size(), 8u);

    EXPECT_GT(abschrech(base(2005, 1, 140'000, 0, 100'000)).results.NABSCHJAHR, 0);
    expect_nothing(abschrech(base(2005, 1, 140'000.02, 0, 100'000)));
}

TEST(Abschrech2004, CoupleLimitIsComparedWithTheWholeIncome) {
    EXPECT_GT(abschrech(base(2004, 2, 140'000, 0, 100'000)).results.NABSCHJAHR, 0);
    expect_nothing(abschrech(base(2004, 2, 150'000, 0, 100'000)));
    EXPECT_GT(abschrech(base(2004, 2, 170'000, 1, 100'000)).results.NABSCHJAHR, 0);
    // Neither "ledig" nor "verheiratet".
    expect_nothing(abschrech(base(2004, 0, 10'000, 0, 100'000)));
}

TEST(Abschrech2004, OnePercentOfThePriceAtMost1250) {
    AbschrOutcome a = abschrech(base(2004, 2, 100'000, 0, 100'000));
    EXPECT_EQ(a.results.NABSCHJAHR, 1'000);
    EXPECT_EQ(a.results.NFOERDRATE, 1);
    EXPECT_EQ(a.results.NABSCHREIB, 8'000);

    AbschrOutcome b = abschrech(base(2004, 2, 100'000, 0, 200'000));
    EXPECT_EQ(b.results.NABSCHJAHR, 1'250);
    EXPECT_DOUBLE_EQ(b.results.NFOERDRATE, 0.625);

    AbschrOutcome c = abschrech(base(2005, 2, 100'000, 0, 20'000));
    EXPECT_EQ(c.results.NABSCHJAHR, 200);
    EXPECT_EQ(c.results.NFOERDRATE, 1);
}

TEST(Abschrech2004, BuildingKindAndBonusesPlayNoPart) {
    AbschrInputs in = base(2004, 2, 100'000, 2, 100'000);
    AbschrOutcome plain = abschrech(in);
    in.LNEUBAU = in.LENERGIE = in.LOEKOZUL = true;
    AbschrOutcome bonuses = abschrech(in);
    EXPECT_EQ(bonuses.results.NABSCHJAHR, plain.results.NABSCHJAHR);
    EXPECT_EQ(bonuses.results.NABSCHREIB, plain.results.NABSCHREIB);
    EXPECT_EQ(bonuses.results.NKINDJAHR, 1'600);
}

TEST(AbschrechBefore2004, NewBuildingWithBothBonusesAndTwoChildren) {
    AbschrInputs in = base(2002, 2, 100'000, 2, 60'000);
    in.LNEUBAU = in.LENERGIE = in.LOEKOZUL = true;
    AbschrOutcome out = abschrech(in);
    EXPECT_EQ(out.results.NABSCHJAHR, 2'556 + 256 + 205);
    EXPECT_DOUBLE_EQ(out.results.NFOERDRATE, 100.0 / 60'000 * 2'556);
    EXPECT_NEAR(out.results.NFOERDRATE, 4.26, 1e-12);
    EXPECT_EQ(out.results.NKINDJAHR, 1'534);
    EXPECT_EQ(out.results.NKINDGELD, 12'272);
    EXPECT_EQ(out.results.NABSCHREIB, 36'408);
    EXPECT_TRUE(abschr_has_results(out.results));

    ASSERT_EQ(out.rows.size(), 8u);
    // 2002, joint: 100,000 gives x = 49,986 (14,440 each); less 4,551 gives x = 47,718 (13,418).
    EXPECT_EQ(out.rows[0].STEUERERL, 2 * 14'440 - 2 * 13'418);
}

TEST(AbschrechBefore2004, OldBuildingIn1999HasNoChildAddition) {
    AbschrOutcome out = abschrech(base(1999, 1, 120'000, 0, 40'000));
    EXPECT_EQ(out.results.NABSCHJAHR, 1'000);
    EXPECT_EQ(out.results.NFOERDRATE, 2.5);
    expect_nothing(abschrech(base(1999, 1, 120'001, 3, 40'000)));
    EXPECT_GT(abschrech(base(1999, 2, 240'000, 0, 40'000)).results.NABSCHJAHR, 0);
    expect_nothing(abschrech(base(1999, 2, 240'001, 3, 40'000)));

    // Old building at the cap: 2.5 % of 60,000 is more than 1,278.
    AbschrOutcome capped = abschrech(base(1999, 1, 50'000, 0, 60'000));
    EXPECT_EQ(capped.results.NABSCHJAHR, 1'278);
    EXPECT_DOUBLE_EQ(capped.results.NFOERDRATE, 100.0 / 60'000 * 1'278);
}

TEST(AbschrechBefore2004, LimitsFrom2000RisePerChild) {
    expect_nothing(abschrech(base(2000, 1, 81'808, 0, 50'000)));
    EXPECT_GT(abschrech(base(2000, 1, 81'807, 0, 50'000)).results.NABSCHJAHR, 0);
    EXPECT_GT(abschrech(base(2003, 1, 81'807 + 30'678, 1, 50'000)).results.NABSCHJAHR, 0);
    expect_nothing(abschrech(base(2003, 2, 163'613 + 30'678 + 1, 1, 50'000)));
    EXPECT_GT(abschrech(base(2003, 2, 163'613 + 2 * 30'678, 2, 50'000)).results.NABSCHJAHR, 0);
}

TEST(AbschrechBefore2004, BonusesFollowTheirOwnConditions) {
    AbschrInputs in = base(2003, 1, 50'000, 0, 10'000);
    in.LA10E = false;
    in.LOEKOZUL = true;
    in.LENERGIE = true;  // without a new building no low-energy bonus
    AbschrOutcome out = abschrech(in);
    EXPECT_EQ(out.results.NABSCHJAHR, 200);  // 2 % of the price, below the cap of 256
    EXPECT_EQ(out.results.NFOERDRATE, 0);
    EXPECT_EQ(out.rows.size(), 8u);
    // The rate is not capped at 1 before 2004.
    AbschrInputs neu = base(2001, 1, 50'000, 0, 40'000);
    neu.LNEUBAU = true;
    EXPECT_EQ(abschrech(neu).results.NFOERDRATE, 5);
    EXPECT_EQ(abschrech(neu).results.NABSCHJAHR, 2'000);
}

TEST(AbschrechBefore2004, ChildAllowanceWithoutTheAllowanceFillsTheTable) {
    AbschrInputs in = base(2001, 2, 90'000, 3, 150'000);
    in.LA10E = false;
    AbschrOutcome out = abschrech(in);
    EXPECT_EQ(out.results.NABSCHJAHR, 0);
    EXPECT_EQ(out.results.NFOERDRATE, 0);
    EXPECT_EQ(out.results.NKINDJAHR, 3 * 767);
    EXPECT_EQ(out.results.NABSCHREIB, 8 * 3 * 767);
    EXPECT_EQ(out.rows.size(), 8u);
    EXPECT_FALSE(abschr_has_results(out.results));
}

TEST(Abschrech, NoAllowanceAfter2005) {
    AbschrInputs in = base(2006, 2, 100'000, 2, 100'000);
    in.LNEUBAU = in.LOEKOZUL = true;
    AbschrOutcome out = abschrech(in);
    EXPECT_TRUE(out.no_longer_granted);
    expect_nothing(out);
    EXPECT_STREQ(kNoLongerGrantedText, "Es wird keine Eigenheimzulage mehr gewährt!");
    EXPECT_FALSE(abschrech(base(2005, 2, 100'000, 2, 100'000)).no_longer_granted);
}

TEST(Abschepl, EightGrantYearsWithGrowingIncomeAndTaxSaving) {
    AbschrInputs in = base(2003, 2, 100'000, 1, 150'000);
    in.NEINKSTEIG = 4.5;
    in.LNEUBAU = true;
    AbschrOutcome out = abschrech(in);
    ASSERT_EQ(out.rows.size(), 8u);
    double income = 100'000;
    for (int i = 0; i < 8; ++i) {
        const AbschRow& row = out.rows[static_cast<size_t>(i)];
        EXPECT_EQ(row.JAHR, 2003 + i);
        EXPECT_EQ(row.EINKOMM, income);
        EXPECT_EQ(row.EINKSTEIG, 4.5);
        EXPECT_EQ(row.ABSCHJAHR, 2'556);
        EXPECT_EQ(row.KINDJAHR, 767);
        double saving = einksteuer(2, income, row.JAHR) - einksteuer(2, income - 2'556 - 767, row.JAHR);
        EXPECT_EQ(row.STEUERERL, saving);
        EXPECT_GT(row.STEUERERL, 0);
        income = income + income / 100 * 4.5;
    }
    // From 2006 on the saving uses the 2005 tariff.
    EXPECT_EQ(out.rows[5].STEUERERL, einksteuer(2, out.rows[5].EINKOMM, 2005) -
                                         einksteuer(2, out.rows[5].EINKOMM - 2'556 - 767, 2005));
}

TEST(AbschrDialogRules, EnablingOfTheCheckBoxes) {
    AbschrInputs in = base(2003, 1, 1, 0, 1);
    EXPECT_TRUE(neubau_enabled(in));
    EXPECT_TRUE(oekozul_enabled(in));
    EXPECT_FALSE(energie_enabled(in));
    in.LNEUBAU = true;
    EXPECT_TRUE(energie_enabled(in));
    in.NEINZUG = 2004;
    EXPECT_FALSE(neubau_enabled(in));
    EXPECT_FALSE(oekozul_enabled(in));
    EXPECT_FALSE(energie_enabled(in));

    EXPECT_TRUE(abschr_can_compute(in));
    in.NKAUFPREIS = 0;
    EXPECT_FALSE(abschr_can_compute(in));
    in.NKAUFPREIS = 1;
    in.NEINKOMM = 0;
    EXPECT_FALSE(abschr_can_compute(in));
}

TEST(AbschrDialogRules, InputChecks) {
    AbschrInputs in = base(1980, 1, 9'999'999, 30, 1);
    in.NEINKSTEIG = 99;
    for (auto f : {AbschrField::Einkommen, AbschrField::EinkSteig, AbschrField::Kinder,
                   AbschrField::Kaufpreis, AbschrField::Einzug})
        EXPECT_TRUE(core::inpfail_passes(abschr_check(f, in)));
    in = base(2021, 1, 10'000'000, 31, 0);
    in.NEINKSTEIG = 99.5;
    EXPECT_EQ(core::inpfail_message(abschr_check(AbschrField::Einkommen, in)).value_or(""),
              "Die Eingabe für 'Einkommen' ist zu hoch !\nGeben Sie einen Wert zwischen 0 und 9999999 ein.");
    EXPECT_EQ(
        core::inpfail_message(abschr_check(AbschrField::EinkSteig, in)).value_or(""),
        "Die Eingabe für 'Einkommensteigerung' ist zu hoch !\nGeben Sie einen Wert zwischen 0 und 99 ein.");
    EXPECT_EQ(core::inpfail_message(abschr_check(AbschrField::Kinder, in)).value_or(""),
              "Die Eingabe für 'Kinder' ist zu hoch !\nGeben Sie einen Wert zwischen 0 und 30 ein.");
    EXPECT_EQ(core::inpfail_message(abschr_check(AbschrField::Kaufpreis, in)).value_or(""),
              "Die Eingabe für 'Immobilienpreis' ist zu niedrig !\nGeben Sie einen Wert zwischen 1 und "
              "99999999 ein.");
    EXPECT_EQ(
        core::inpfail_message(abschr_check(AbschrField::Einzug, in)).value_or(""),
        "Die Eingabe für 'Einzugsjahr' ist zu hoch !\nGeben Sie einen Wert zwischen 1980 und 2020 ein.");
}

TEST(AbschrDialogRules, DefaultApplicationYearAndSettingsKeys) {
    core::set_today_for_tests({2024, 6, 1});
    EXPECT_EQ(abschr_default_year(), 2020);
    core::set_today_for_tests({2004, 1, 1});
    EXPECT_EQ(abschr_default_year(), 2004);
    core::set_today_for_tests({});

    // Keys shared with other calculators and existing settings files keep their exact spelling.
    EXPECT_EQ(std::string(abschr_settings::kEinkommen), "Einkommen ");
    EXPECT_EQ(std::string(abschr_settings::kEinkSteig), "EinkSteig ");
    EXPECT_EQ(std::string(abschr_settings::kAbschrJahr), "Abschr/Jahr");
    EXPECT_EQ(std::string(abschr_settings::kKindgeldJahr), "Kindgeld/Jahr");
}

}  // namespace
