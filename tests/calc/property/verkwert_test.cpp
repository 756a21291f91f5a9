#include "calc/property/verkwert.h"

#include <gtest/gtest.h>

#include "core/clock.h"
#include "core/numbers.h"
#include "support/core_tempdir.h"

using namespace vestral;
using namespace vestral::calc;

namespace {

double cents(double v) {
    return core::round_to(v, 2);
}

VwInputs example() {
    VwInputs in;
    in.NFLAECHE = 500;
    in.NBORIWERT = 200;
    in.NBAUKOST = 150000;
    in.NBKINDEX1 = 110;
    in.NBKINDEX2 = 100;
    in.NBEZJAHR = 1996;
    in.NBERJAHR = 2006;
    return in;
}

}  // namespace

TEST(VwRech, LandAndBuildingWithTheirShares) {
    const VwResults r = vw_rech(example());
    EXPECT_EQ(r.NVKWGRUND, 100000);
    EXPECT_EQ(r.NIBAUKOST, 165000);
    EXPECT_EQ(r.NALTER, 10);
    EXPECT_EQ(r.NVKWBAU, 148500);
    EXPECT_EQ(r.NVKWALLES, 248500);
    EXPECT_EQ(r.NVKWAPROZ, 100);
    EXPECT_EQ(cents(r.NVKWGPROZ), 40.24);
    EXPECT_EQ(cents(r.NVKWBPROZ), 59.76);
    EXPECT_NEAR(r.NVKWBPROZ, 59.7586, 5e-5);
    EXPECT_TRUE(vw_afa_enabled(r));
    // The depreciable base of 300,000 at that share, from the unrounded share.
    EXPECT_EQ(cents(vw_afa_rech(300000, r.NVKWBPROZ)), 179275.65);
    EXPECT_EQ(cents(vw_afa_rech(300000, 59.76)), 179280.00);
}

TEST(VwRech, WholeEuroRoundings) {
    VwInputs in = example();
    in.NFLAECHE = 100.5;
    in.NBORIWERT = 1.01;  // 101.505 -> 102
    in.NBAUKOST = 1001;
    in.NBKINDEX1 = 105;
    in.NBKINDEX2 = 100;  // 1051.05 -> 1051
    in.NBEZJAHR = 2003;  // age 3: 1051 - 31.53 = 1019.47 -> 1019
    const VwResults r = vw_rech(in);
    EXPECT_EQ(r.NVKWGRUND, 102);
    EXPECT_EQ(r.NIBAUKOST, 1051);
    EXPECT_EQ(r.NVKWBAU, 1019);
    EXPECT_EQ(r.NVKWALLES, 1121);
    in.NFLAECHE = 1;
    in.NBORIWERT = 2.5;  // half a euro rounds away from zero
    EXPECT_EQ(vw_rech(in).NVKWGRUND, 3);
}

TEST(VwRech, NegativeAgeRaisesTheBuildingValue) {
    VwInputs in = example();
    in.NBEZJAHR = 2008;
    const VwResults r = vw_rech(in);
    EXPECT_EQ(r.NALTER, -2);
    EXPECT_EQ(r.NVKWBAU, 168300);
    EXPECT_GT(r.NVKWBAU, r.NIBAUKOST);
}

TEST(VwRech, AgeAbove100GivesANegativeBuildingValue) {
    VwInputs in = example();
    in.NBEZJAHR = 1900;  // 106 years
    const VwResults r = vw_rech(in);
    EXPECT_EQ(r.NALTER, 106);
    EXPECT_EQ(r.NVKWBAU, -9900);
    EXPECT_EQ(r.NVKWALLES, 90100);
    EXPECT_LT(r.NVKWBPROZ, 0);
    EXPECT_GT(r.NVKWGPROZ, 100);
    EXPECT_NEAR(r.NVKWGPROZ + r.NVKWBPROZ, 100, 1e-9);
}

TEST(VwRech, OnlyLandGivesAFullLandShare) {
    VwInputs in = example();
    in.NBAUKOST = 0;
    in.NBKINDEX1 = 0;
    in.NBKINDEX2 = 0;
    const VwResults r = vw_rech(in);
    EXPECT_EQ(r.NIBAUKOST, 0);
    EXPECT_EQ(r.NVKWBAU, 0);
    EXPECT_EQ(r.NVKWGPROZ, 100);
    EXPECT_EQ(r.NVKWBPROZ, 0);
    EXPECT_EQ(vw_afa_rech(300000, r.NVKWBPROZ), 0);
}

TEST(VwRech, ZeroDivisorsYieldZero) {
    VwInputs in = example();
    in.NBKINDEX2 = 0;
    in.NFLAECHE = 0;
    const VwResults r = vw_rech(in);
    EXPECT_EQ(r.NIBAUKOST, 0);
    EXPECT_EQ(r.NVKWALLES, 0);
    EXPECT_EQ(r.NVKWGPROZ, 0);
    EXPECT_EQ(r.NVKWBPROZ, 0);
    EXPECT_FALSE(vw_afa_enabled(r));
}

TEST(VwInit, AnInputChangeClearsTheResultsAndShowsTheAgeUntilTheNextCalculation) {
    VwInputs in = example();
    VwResults r = vw_rech(in);
    vw_input_changed(in, r);
    EXPECT_EQ(r.NVKWGRUND, 0);
    EXPECT_EQ(r.NVKWGPROZ, 0);
    EXPECT_EQ(r.NVKWBAU, 0);
    EXPECT_EQ(r.NVKWBPROZ, 0);
    EXPECT_EQ(r.NVKWALLES, 0);
    EXPECT_EQ(r.NVKWAPROZ, 0);
    EXPECT_EQ(r.NALTER, 10);
    EXPECT_FALSE(vw_afa_enabled(r));
    // A calculation year before the year ready: age 0 until "Berechnen", then the negative age.
    in.NBEZJAHR = 2008;
    vw_input_changed(in, r);
    EXPECT_EQ(r.NALTER, 0);
    EXPECT_EQ(vw_rech(in).NALTER, -2);
    EXPECT_EQ(vw_loaded_age(in), -2);

    // The two resets on their own.
    r = vw_rech(example());
    vw_init(1, example(), r);
    EXPECT_EQ(r.NVKWGRUND, 0);
    EXPECT_EQ(r.NVKWBAU, 148500);
    r = vw_rech(example());
    vw_init(2, example(), r);
    EXPECT_EQ(r.NVKWGRUND, 100000);
    EXPECT_EQ(r.NVKWALLES, 0);
}

TEST(VwChecks, BoundsAndEnabling) {
    VwInputs in = example();
    for (const auto& c : vw_checks(in, 2026)) EXPECT_TRUE(core::inpfail_passes(c)) << c.name;
    in.NBORIWERT = 0;
    in.NBERJAHR = 1989;
    in.NBEZJAHR = 2032;
    const auto checks = vw_checks(in, 2026);
    EXPECT_EQ(
        core::inpfail_message(checks[1]).value_or(""),
        "Die Eingabe für 'Bodenrichtwert' ist zu niedrig !\nGeben Sie einen Wert zwischen 1 und 9999 ein.");
    EXPECT_EQ(core::inpfail_message(checks[5]).value_or(""),
              "Die Eingabe für 'Jahr Bezugsfertig' ist zu hoch !\nGeben Sie einen Wert zwischen 1900 und "
              "2031 ein.");
    EXPECT_EQ(core::inpfail_message(checks[6]).value_or(""),
              "Die Eingabe für 'Berechnungsjahr' ist zu niedrig !\nGeben Sie einen Wert zwischen 1990 und "
              "2031 ein.");
    EXPECT_EQ(checks[3].name, "Baukostenindex");
    EXPECT_EQ(checks[4].name, "Baukostenindex");
    EXPECT_EQ(
        core::inpfail_message(vw_afa_check(10000000000.0)).value_or(""),
        "Die Eingabe für 'Kaufpreis' ist zu hoch !\nGeben Sie einen Wert zwischen 0 und 9999999999 ein.");

    in = example();
    EXPECT_TRUE(vw_can_compute(in));
    in.NFLAECHE = 0;
    EXPECT_TRUE(vw_can_compute(in));
    in.NBAUKOST = 0;
    EXPECT_FALSE(vw_can_compute(in));
}

TEST(VwSettings, LoadedFromThreeSectionsAndResultsWrittenAtFullPrecision) {
    test::TempDir dir;
    dir.write("VESTRAL.INI",
              "[BER_GBW]\nGFlaeche=500.00\nBRWert=200.00\nBezJahr=1996\n[BER_VKW]\nBaukost=150000.00\n"
              "bkindex1=110.00\nBKIndex2=100.00\nIBaukost=1\n[BER_AFA]\nKaufDM=300000.00\n");
    core::IniFile ini(dir / "VESTRAL.INI");
    core::set_today_for_tests({2026, 12, 8});
    const VwLoaded l = vw_read_settings(ini);
    core::set_today_for_tests({});
    EXPECT_EQ(l.in.NFLAECHE, 500);
    EXPECT_EQ(l.in.NBORIWERT, 200);
    EXPECT_EQ(l.in.NBEZJAHR, 1996);
    EXPECT_EQ(l.in.NBERJAHR, 2026);  // no key: the current year
    EXPECT_EQ(l.in.NBAUKOST, 150000);
    EXPECT_EQ(l.in.NBKINDEX1, 110);  // keys compare without regard to case
    EXPECT_EQ(l.in.NBKINDEX2, 100);
    EXPECT_EQ(l.res.NIBAUKOST, 1);
    EXPECT_EQ(l.res.NALTER, 30);
    EXPECT_EQ(l.res.NVKWALLES, 0);
    EXPECT_EQ(l.NKAUFDM, 300000);

    VwInputs in = l.in;
    in.NBERJAHR = 2006;
    VwResults r = vw_rech(in);
    r.NWERTAFA = vw_afa_rech(l.NKAUFDM, r.NVKWBPROZ);
    ASSERT_TRUE(ini.set_sections(vw_settings_write(in, r, l.NKAUFDM)));
    const std::string text = dir.read("VESTRAL.INI");
    EXPECT_NE(text.find("BerJahr=2006\n"), std::string::npos) << text;
    EXPECT_NE(text.find("VKWGrund=100000\n"), std::string::npos) << text;
    EXPECT_NE(text.find("VKWBau=148500\n"), std::string::npos) << text;
    EXPECT_NE(text.find("VKWAlles=248500\n"), std::string::npos) << text;
    EXPECT_NE(text.find("VKWAProz=100\n"), std::string::npos) << text;
    EXPECT_NE(text.find("VKWBProz=59.7585513078471\n"), std::string::npos) << text;
    EXPECT_NE(text.find("IBaukost=165000\n"), std::string::npos) << text;
    EXPECT_NE(text.find("WertAFA=179275.653923541\n"), std::string::npos) << text;
    EXPECT_NE(text.find("KaufDM=300000.00\n"), std::string::npos) << text;

    // What the depreciation value reads back keeps enough decimals for the ratio to the cent.
    const VwMarketValues m = vw_read_market_values(ini);
    EXPECT_EQ(m.NVW_GRUND, 100000);
    EXPECT_EQ(m.NVW_BAU, 148500);
    EXPECT_EQ(cents(m.NVW_GPROZ), 40.24);
    EXPECT_EQ(cents(300000 / 100.0 * m.NVW_BPROZ), 179275.65);
    EXPECT_EQ(vw_read_settings(ini).in.NBERJAHR, 2006);
}
