#include "calc/property/gbw.h"

#include <gtest/gtest.h>

#include "calc/property/gbwm.h"
#include "core/numbers.h"
#include "support/core_tempdir.h"

using namespace vestral;
using namespace vestral::calc;

namespace {

double cents(double v) {
    return core::round_to(v, 2);
}

GbwInputs simple(double year, bool house) {
    GbwInputs in;
    in.NJAHR = year;
    in.NFLAECHE = 100;
    in.NMIETE = 6;
    in.LEINZWEI = house;
    return in;
}

GbwmInputs earnings_example() {
    GbwmInputs in;
    in.NWFLAECHE = 100;
    in.NMMIETE = 6;
    in.NBEZJAHR = 1990;
    in.NBESJAHR = 2006;
    in.LEINZWO = true;
    return in;
}

}  // namespace

// --- the simple property value ------------------------------------------------------------

TEST(Gbwrech, ReadyIn1990ComputedIn2006) {
    EXPECT_EQ(cents(gbwrech(simple(1990, false), 2006)), 82800.00);
    EXPECT_EQ(cents(gbwrech(simple(1990, true), 2006)), 99360.00);
}

TEST(Gbwrech, ReductionGrowsHalfAPercentPerYearUpToAQuarter) {
    EXPECT_EQ(gbw_reduction(1966, 2006), 20);
    EXPECT_EQ(gbw_reduction(1946, 2006), 25);
    EXPECT_EQ(gbw_reduction(1956, 2006), 25);  // 50 years reach the cap exactly
    EXPECT_EQ(gbw_reduction(1957, 2006), 24.5);
    EXPECT_EQ(cents(gbwrech(simple(1966, false), 2006)), 72000.00);
    EXPECT_EQ(cents(gbwrech(simple(1946, false), 2006)), 67500.00);
    EXPECT_EQ(cents(gbwrech(simple(1900, true), 2006)), 81000.00);
}

TEST(Gbwrech, ReadyNextYearRaisesTheValue) {
    EXPECT_EQ(gbw_reduction(2007, 2006), -0.5);
    EXPECT_EQ(cents(gbwrech(simple(2007, false), 2006)), 90450.00);
    EXPECT_EQ(cents(gbwrech(simple(2006, false), 2006)), 90000.00);
}

TEST(Gbwrech, NoRoundingOfTheValue) {
    GbwInputs in = simple(2005, false);
    in.NFLAECHE = 0.01;
    in.NMIETE = 0.01;
    // 0.015 less 0.5 % = 0.014925, not rounded to a cent
    EXPECT_NEAR(gbwrech(in, 2006), 0.014925, 1e-12);
}

TEST(GbwChecks, YearBoundFollowsTheClock) {
    auto checks = gbw_checks(simple(2031, false), 2026);
    EXPECT_TRUE(core::inpfail_passes(checks[0]));
    checks = gbw_checks(simple(2032, false), 2026);
    EXPECT_EQ(core::inpfail_message(checks[0]).value_or(""),
              "Die Eingabe für 'Jahr Bezugsfertig' ist zu hoch !\nGeben Sie einen Wert zwischen 1900 und "
              "2031 ein.");
    checks = gbw_checks(simple(1899, false), 2026);
    EXPECT_EQ(core::inpfail_message(checks[0]).value_or(""),
              "Die Eingabe für 'Jahr Bezugsfertig' ist zu niedrig !\nGeben Sie einen Wert zwischen 1900 und "
              "2031 ein.");
    GbwInputs in = simple(1990, false);
    in.NFLAECHE = 0.5;
    in.NMIETE = 10000000;
    checks = gbw_checks(in, 2026);
    EXPECT_EQ(checks[1].name, "Wohnfläche");
    EXPECT_FALSE(core::inpfail_passes(checks[1]));
    EXPECT_EQ(checks[2].name, "Miete qm");
    EXPECT_EQ(core::inpfail_message(checks[2]).value_or(""),
              "Die Eingabe für 'Miete qm' ist zu hoch !\nGeben Sie einen Wert zwischen 1 und 9999999 ein.");
}

TEST(GbwChecks, ComputeNeedsYearAreaAndRent) {
    EXPECT_TRUE(gbw_can_compute(simple(1990, false)));
    GbwInputs in = simple(1990, false);
    in.NJAHR = 0;
    EXPECT_FALSE(gbw_can_compute(in));
    in = simple(1990, false);
    in.NFLAECHE = 0;
    EXPECT_FALSE(gbw_can_compute(in));
    in = simple(1990, false);
    in.NMIETE = 0;
    EXPECT_FALSE(gbw_can_compute(in));
}

// --- the earnings method -------------------------------------------------------------------

TEST(Gbwmrech, EarningsValueStepByStep) {
    const GbwmResults r = gbwmrech(earnings_example());
    EXPECT_EQ(cents(r.NJMIETE), 7200.00);
    EXPECT_EQ(cents(r.NJMIETEV), 90000.00);
    EXPECT_EQ(r.NALTER, 16);
    EXPECT_EQ(r.NWERTMIND, 0.5);
    EXPECT_EQ(r.NWERTMPR, 8);
    EXPECT_EQ(cents(r.NWERTMDM), 7200.00);
    EXPECT_EQ(cents(r.NWERTREST), 82800.00);
    EXPECT_EQ(cents(r.NEINZWODM), 16560.00);
    EXPECT_EQ(cents(r.NWERTALL), 99360.00);
    EXPECT_FALSE(gbwm_surcharge_greyed(r));
    // Without land the minimum value is 0, greyed, and the earnings value is used.
    EXPECT_EQ(r.NGBRWERT, 0);
    EXPECT_EQ(r.NGBRREST, 0);
    EXPECT_EQ(r.NGBRALL, 0);
    EXPECT_TRUE(gbwm_minimum_greyed(r.NGBRWERT));
    EXPECT_TRUE(gbwm_minimum_greyed(r.NGBRALL));
    EXPECT_EQ(cents(r.NERGEBNIS), 99360.00);
}

TEST(Gbwmrech, NoHouseNoSurcharge) {
    GbwmInputs in = earnings_example();
    in.LEINZWO = false;
    const GbwmResults r = gbwmrech(in);
    EXPECT_EQ(r.NEINZWODM, 0);
    EXPECT_TRUE(gbwm_surcharge_greyed(r));
    EXPECT_EQ(cents(r.NWERTALL), 82800.00);
}

TEST(Gbwmrech, AgeReductionCappedAtAQuarterAndNegativeAgeRaises) {
    GbwmInputs in = earnings_example();
    in.LEINZWO = false;
    in.NBEZJAHR = 1946;  // 60 years
    GbwmResults r = gbwmrech(in);
    EXPECT_EQ(r.NALTER, 60);
    EXPECT_EQ(r.NWERTMPR, 25);
    EXPECT_EQ(cents(r.NWERTREST), 67500.00);
    in.NBEZJAHR = 2010;  // taxed before it was ready
    r = gbwmrech(in);
    EXPECT_EQ(r.NALTER, -4);
    EXPECT_EQ(r.NWERTMPR, -2);
    EXPECT_EQ(cents(r.NWERTMDM), -1800.00);
    EXPECT_EQ(cents(r.NWERTALL), 91800.00);
    EXPECT_GT(r.NWERTALL, r.NJMIETEV);
}

TEST(Gbwmrech, MinimumValueWinsAboveTheEarningsValue) {
    GbwmInputs in = earnings_example();
    in.NGFLAECHE = 500;
    in.NBRWERT = 250;
    const GbwmResults r = gbwmrech(in);
    EXPECT_EQ(r.NGBRWERT, 125000);
    EXPECT_EQ(cents(r.NGBRREST), 100000.00);
    EXPECT_EQ(cents(r.NGBRALL), 100000.00);
    EXPECT_FALSE(gbwm_minimum_greyed(r.NGBRALL));
    EXPECT_EQ(cents(r.NERGEBNIS), 100000.00);
}

TEST(Gbwmrech, LandValueRoundedToWholeEuros) {
    GbwmInputs in = earnings_example();
    in.NGFLAECHE = 100.25;
    in.NBRWERT = 10.10;  // 1012.525
    EXPECT_EQ(gbwmrech(in).NGBRWERT, 1013);
    in.NBRWERT = 10.01;  // 1003.5025
    EXPECT_EQ(gbwmrech(in).NGBRWERT, 1004);
    in.NGFLAECHE = 1;
    in.NBRWERT = 0.49;
    EXPECT_EQ(gbwmrech(in).NGBRWERT, 0);
}

TEST(Gbwmrech, TieAndJustAboveTheEarningsValue) {
    GbwmInputs in = earnings_example();
    in.NGFLAECHE = 1242;  // 124,200 x 0.8 = 99,360: the earnings value
    in.NBRWERT = 100;
    GbwmResults r = gbwmrech(in);
    EXPECT_EQ(r.NGBRREST, r.NWERTALL);
    EXPECT_EQ(cents(r.NERGEBNIS), 99360.00);
    in.NBRWERT = 100.01;  // 124,212 x 0.8 = 99,369.60
    r = gbwmrech(in);
    EXPECT_EQ(cents(r.NERGEBNIS), 99369.60);
}

TEST(GbwmChecks, BoundsAndComputeRule) {
    GbwmInputs in = earnings_example();
    for (const auto& c : gbwm_checks(in)) EXPECT_TRUE(core::inpfail_passes(c)) << c.name;
    in.NBRWERT = 1000000;
    in.NBESJAHR = 2100;
    in.NMMIETE = 0;
    const auto checks = gbwm_checks(in);
    EXPECT_EQ(
        core::inpfail_message(checks[1]).value_or(""),
        "Die Eingabe für 'monatl. Miete' ist zu niedrig !\nGeben Sie einen Wert zwischen 1 und 9999999 ein.");
    EXPECT_EQ(
        core::inpfail_message(checks[3]).value_or(""),
        "Die Eingabe für 'Besteuerungsjahr' ist zu hoch !\nGeben Sie einen Wert zwischen 1900 und 2099 ein.");
    EXPECT_EQ(
        core::inpfail_message(checks[5]).value_or(""),
        "Die Eingabe für 'Bodenrichtwert' ist zu hoch !\nGeben Sie einen Wert zwischen 0 und 999999.99 ein.");
    EXPECT_EQ(checks[0].name, "Wohnfläche");
    EXPECT_EQ(checks[2].name, "Bezugsjahr");
    EXPECT_EQ(checks[4].name, "Grundstücksfläche");

    EXPECT_TRUE(gbwm_can_compute(earnings_example()));
    in = earnings_example();
    in.NWFLAECHE = 0;
    EXPECT_FALSE(gbwm_can_compute(in));
    in = earnings_example();
    in.NBEZJAHR = 0;
    EXPECT_FALSE(gbwm_can_compute(in));
}

// --- the shared section BER_GBW ------------------------------------------------------------

TEST(GbwSettings, BothCalculatorsShareTheirKeys) {
    test::TempDir dir;
    dir.write("VESTRAL.INI", "[BER_GBW]\n");
    core::IniFile ini(dir / "VESTRAL.INI");

    // Nothing stored yet: the defaults.
    GbwInputs none = gbw_read_settings(ini);
    EXPECT_EQ(none.NJAHR, 0);
    EXPECT_EQ(none.NFLAECHE, 0);
    EXPECT_FALSE(none.LEINZWEI);

    GbwInputs in = simple(1990, true);
    in.NFLAECHE = 99.6;
    ASSERT_TRUE(ini.set_many(kGbwSection, gbw_settings_entries(in)));
    const std::string text = dir.read("VESTRAL.INI");
    EXPECT_NE(text.find("BezJahr=1990\n"), std::string::npos) << text;
    EXPECT_NE(text.find("WFlaeche=99.60\n"), std::string::npos) << text;
    EXPECT_NE(text.find("MMiete=6.00\n"), std::string::npos) << text;
    EXPECT_NE(text.find("EinZwo=1\n"), std::string::npos) << text;

    const GbwInputs back = gbw_read_settings(ini);
    EXPECT_EQ(back.NJAHR, 1990);
    EXPECT_EQ(back.NFLAECHE, 99.6);
    EXPECT_EQ(back.NMIETE, 6);
    EXPECT_TRUE(back.LEINZWEI);

    // The earnings method shows the area as whole m² and computes with what it shows.
    GbwmInputs m = gbwm_read_settings(ini);
    EXPECT_EQ(m.NWFLAECHE, 100);
    EXPECT_EQ(m.NMMIETE, 6);
    EXPECT_EQ(m.NBEZJAHR, 1990);
    EXPECT_TRUE(m.LEINZWO);
    EXPECT_EQ(m.NBESJAHR, 0);

    m.NBESJAHR = 2006;
    m.NGFLAECHE = 500;
    m.NBRWERT = 250.5;
    m.LEINZWO = false;
    ASSERT_TRUE(ini.set_many(kGbwSection, gbwm_settings_entries(m)));
    const std::string after = dir.read("VESTRAL.INI");
    EXPECT_NE(after.find("WFlaeche=100\n"), std::string::npos) << after;
    EXPECT_NE(after.find("BesJahr=2006\n"), std::string::npos) << after;
    EXPECT_NE(after.find("GFlaeche=500.00\n"), std::string::npos) << after;
    EXPECT_NE(after.find("BRWert=250.50\n"), std::string::npos) << after;
    const GbwmInputs m2 = gbwm_read_settings(ini);
    EXPECT_EQ(m2.NBESJAHR, 2006);
    EXPECT_EQ(m2.NBRWERT, 250.5);
    EXPECT_FALSE(m2.LEINZWO);
    EXPECT_FALSE(gbw_read_settings(ini).LEINZWEI);
    EXPECT_EQ(gbw_read_settings(ini).NFLAECHE, 100);
}
