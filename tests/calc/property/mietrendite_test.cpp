#include "calc/property/mietrendite.h"

#include <gtest/gtest.h>

#include "core/numbers.h"
#include "support/core_tempdir.h"

using namespace vestral;
using namespace vestral::calc;

namespace {
double cents(double v) {
    return core::round_to(v, 2);
}
}  // namespace

TEST(Mietrendite, NetYield) {
    EXPECT_EQ(cents(nmietrech({12000, 200000})), 6.00);
    EXPECT_EQ(cents(nmietrech({10000, 300000})), 3.33);
    // A price of 0 divides by zero: 0, and the button stays disabled.
    EXPECT_EQ(nmietrech({12000, 0}), 0);
    EXPECT_FALSE(nmiet_can_compute({12000, 0}));
    EXPECT_FALSE(nmiet_can_compute({0, 200000}));
    EXPECT_TRUE(nmiet_can_compute({12000, 200000}));
}

TEST(Mietrendite, GrossYieldAndRatio) {
    const BmietResults r = mietrech1({200000, 12000});
    EXPECT_EQ(cents(r.NPMVERHALT), 16.67);
    EXPECT_EQ(cents(r.NRENDITE), 6.00);
    EXPECT_NEAR(r.NRENDITE, 6.0, 1e-12);
    const BmietResults zero = mietrech1({200000, 0});
    EXPECT_EQ(zero.NPMVERHALT, 0);
    EXPECT_EQ(zero.NRENDITE, 0);
    EXPECT_EQ(mietrech1({0, 12000}).NRENDITE, 0);
    EXPECT_FALSE(bmiet_can_compute({0, 12000}));
    EXPECT_TRUE(bmiet_can_compute({200000, 12000}));
}

TEST(Mietrendite, ChecksAllowAPriceOfZeroButNoRentOfZero) {
    const auto net = nmiet_checks({0, 0});
    EXPECT_EQ(core::inpfail_message(net[0]).value_or(""),
              "Die Eingabe für 'Jahresreinertrag' ist zu niedrig !\nGeben Sie einen Wert zwischen 1 und "
              "999999999 ein.");
    EXPECT_TRUE(core::inpfail_passes(net[1]));
    EXPECT_EQ(net[1].name, "Anschaffungskosten");
    const auto gross = bmiet_checks({100000000, 0});
    EXPECT_EQ(core::inpfail_message(gross[0]).value_or(""),
              "Die Eingabe für 'Anschaffungskosten' ist zu hoch !\nGeben Sie einen Wert zwischen 0 und "
              "99999999 ein.");
    EXPECT_EQ(gross[1].name, "Jahres-Nettokaltmiete");
    EXPECT_FALSE(core::inpfail_passes(gross[1]));
}

TEST(MietrenditeSettings, TheRentEnteredInEitherDialogComesBackInBoth) {
    test::TempDir dir;
    dir.write("VESTRAL.INI", "[BER_MIET]\n");
    core::IniFile ini(dir / "VESTRAL.INI");
    EXPECT_EQ(bmiet_read_settings(ini).NKALTMIETE, 0);

    ASSERT_TRUE(ini.set_many(kMietSection, bmiet_settings_entries({250000, 13500.5})));
    const std::string text = dir.read("VESTRAL.INI");
    EXPECT_NE(text.find("KaufWert=250000.00\n"), std::string::npos) << text;
    EXPECT_NE(text.find("Ertrag=13500.50\n"), std::string::npos) << text;
    EXPECT_NE(text.find("Kaltmiete=13500.50\n"), std::string::npos) << text;
    EXPECT_EQ(bmiet_read_settings(ini).NKALTMIETE, 13500.5);
    EXPECT_EQ(bmiet_read_settings(ini).NKAUFDM, 250000);
    EXPECT_EQ(nmiet_read_settings(ini).NERTRAG, 13500.5);

    ASSERT_TRUE(ini.set_many(kMietSection, nmiet_settings_entries({12000, 200000})));
    EXPECT_EQ(bmiet_read_settings(ini).NKALTMIETE, 12000);
    EXPECT_EQ(bmiet_read_settings(ini).NKAUFDM, 200000);
    EXPECT_EQ(nmiet_read_settings(ini).NKAUFDM, 200000);
}
