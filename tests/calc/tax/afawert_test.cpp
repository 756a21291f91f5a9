#include "calc/tax/afawert.h"

#include <gtest/gtest.h>

#include "calc/tax/afa75_link.h"
#include "core/catalogue.h"
#include "core/dbf.h"
#include "core/numbers.h"
#include "support/core_tempdir.h"

using namespace vestral;
using namespace vestral::calc;

namespace {

double cents(double v) {
    return core::round_to(v, 2);
}

// Price 300,000, tax-office land 90,000 and the market values of the market-value example
// (land 100,000, building 148,500 of 248,500), the shares as that calculator writes them.
AfaWertValues example() {
    AfaWertValues v;
    v.NKAUFDM = 300000;
    v.NFA_GRUND = 90000;
    v.NVW_GRUND = 100000;
    v.NVW_BAU = 148500;
    v.NVW_GPROZ = 100.0 / 248500 * 100000;
    v.NVW_BPROZ = 100.0 / 248500 * 148500;
    return v;
}

}  // namespace

TEST(AfaRech, TheFourMethodsAndTheBest) {
    const AfaWertValues v = afa_rech(example());
    EXPECT_EQ(cents(v.NFA_BAU), 210000.00);
    EXPECT_EQ(cents(v.NFA_GPROZ), 30.00);
    EXPECT_EQ(cents(v.NFA_BPROZ), 70.00);
    EXPECT_EQ(cents(v.NVWV_BAU), 179275.65);
    EXPECT_EQ(cents(v.NVWV_PROZ), 59.76);
    EXPECT_EQ(cents(v.NVWR_GRUND), 100000.00);
    EXPECT_EQ(cents(v.NVWR_BAU), 200000.00);
    EXPECT_EQ(cents(v.NVWR_GPROZ), 33.33);
    EXPECT_EQ(cents(v.NVWR_PROZ), 66.67);
    EXPECT_EQ(cents(v.NVW2_GRUND), 60000.00);
    EXPECT_EQ(cents(v.NVW2_BAU), 240000.00);
    EXPECT_EQ(v.NVW2_GPROZ, 20);
    EXPECT_EQ(v.NVW2_PROZ, 80);
    EXPECT_EQ(cents(afa_best(v)), 240000.00);
    EXPECT_EQ(afa_best_method(v), AfaMethod::Flat20);
    EXPECT_EQ(afa_best_text(v), "Beste Methode: 20% Methode");
    EXPECT_TRUE(afa_details_enabled(v));
}

TEST(AfaRech, ATieGoesToTheFirstMethodInOrder) {
    AfaWertValues in = example();
    in.NFA_GRUND = 60000;  // the tax office gives 240,000 as well
    AfaWertValues v = afa_rech(in);
    EXPECT_EQ(afa_best(v), 240000);
    EXPECT_EQ(afa_best_method(v), AfaMethod::TaxOffice);
    EXPECT_EQ(afa_best_text(v), "Beste Methode: Berechnung des Finanzamts");

    in = example();
    in.NFA_GRUND = 290000;
    in.NVW_GRUND = 60000;  // residual 240,000 ties with the 20 % method, which comes first
    v = afa_rech(in);
    EXPECT_EQ(afa_best_method(v), AfaMethod::Flat20);

    in = example();
    in.NFA_GRUND = 290000;
    in.NVW_GRUND = 10000;  // residual 290,000 wins alone
    v = afa_rech(in);
    EXPECT_EQ(afa_best(v), 290000);
    EXPECT_EQ(afa_best_method(v), AfaMethod::Residual);
    EXPECT_EQ(std::string(afa_method_name(AfaMethod::Residual)), "Restwert-Methode");
    EXPECT_EQ(std::string(afa_method_name(AfaMethod::Ratio)), "Verhältnis der Verkehrswerte");

    in = example();
    in.NVW_BPROZ = 85;  // ratio 255,000
    v = afa_rech(in);
    EXPECT_EQ(afa_best_method(v), AfaMethod::Ratio);
}

TEST(AfaRech, TaxOfficeLandZeroLeavesTheTaxOfficeResultsAtZero) {
    AfaWertValues v = afa_rech(example());
    ASSERT_EQ(v.NFA_BAU, 210000);
    v.NFA_GRUND = 0;
    v = afa_rech(v);
    EXPECT_EQ(v.NFA_BAU, 0);
    EXPECT_EQ(v.NFA_GPROZ, 0);
    EXPECT_EQ(v.NFA_BPROZ, 0);
    EXPECT_NE(afa_best_method(v), AfaMethod::TaxOffice);
    EXPECT_FALSE(afa_details_enabled(v));
    EXPECT_FALSE(afa_can_compute(v));
    // Even a building value left from an earlier land value cannot win.
    v.NFA_BAU = 290000;
    v = afa_rech(v);
    EXPECT_EQ(v.NFA_BAU, 0);
    EXPECT_EQ(cents(afa_best(v)), 240000.00);
}

TEST(AfaRech, WithoutMarketValuesOnlyTheTwentyPercentMethod) {
    AfaWertValues in;
    in.NKAUFDM = 300000;
    in.NFA_GRUND = 90000;
    const AfaWertValues v = afa_rech(in);
    EXPECT_EQ(v.NVWV_BAU, 0);
    EXPECT_EQ(v.NVWR_BAU, 0);
    EXPECT_EQ(v.NVWR_GPROZ, 0);
    EXPECT_FALSE(afa_details_enabled(v));
    EXPECT_EQ(afa_best(v), 240000);
}

TEST(AfaInit, APriceChangeClearsTaxOfficeAndMarketValuesButNotTheTwentyPercent) {
    AfaWertValues v = afa_rech(example());
    afa_init(1, v);
    EXPECT_EQ(v.NFA_GRUND, 0);
    EXPECT_EQ(v.NFA_BAU, 0);
    EXPECT_EQ(v.NFA_GPROZ, 0);
    EXPECT_EQ(v.NVW_GRUND, 0);
    EXPECT_EQ(v.NVW_BAU, 0);
    EXPECT_EQ(v.NVW_BPROZ, 0);
    EXPECT_EQ(v.NVWV_BAU, 0);
    EXPECT_EQ(v.NVWR_BAU, 0);
    EXPECT_EQ(v.NVWR_GRUND, 0);
    EXPECT_EQ(v.NVW2_BAU, 240000);
    EXPECT_EQ(v.NVW2_GRUND, 60000);
    EXPECT_EQ(v.NKAUFDM, 300000);

    v = afa_rech(example());
    afa_init(0, v);
    EXPECT_EQ(v.NFA_BAU, 210000);
    EXPECT_EQ(v.NVW_BAU, 148500);
    EXPECT_EQ(v.NVWV_BAU, 0);
    EXPECT_EQ(v.NVWR_PROZ, 0);

    VwMarketValues m{100000, 148500, 40.24, 59.76};
    afa_take_market_values(v, m);
    EXPECT_EQ(v.NVW_GRUND, 100000);
    EXPECT_EQ(v.NVW_BPROZ, 59.76);
}

TEST(AfaInit, EnablingRules) {
    AfaWertValues v;
    EXPECT_FALSE(afa_market_enabled(v));
    v.NKAUFDM = 1;
    EXPECT_TRUE(afa_market_enabled(v));
    EXPECT_FALSE(afa_can_compute(v));
    v.NFA_GRUND = 1;
    EXPECT_TRUE(afa_can_compute(v));
    EXPECT_EQ(core::inpfail_message(afa_land_check(100000000)).value_or(""),
              "Die Eingabe für 'Grundstückswert FA' ist zu hoch !\nGeben Sie einen Wert zwischen 0 und "
              "99999999 ein.");
    EXPECT_TRUE(core::inpfail_passes(afa_land_check(0)));
}

TEST(AfaSettings, PriceAndLandValueAndTheHandOver) {
    test::TempDir dir;
    dir.write("VESTRAL.INI", "[BER_AFA]\n[AFA75]\nKaufpreis=240000\n");
    core::IniFile ini(dir / "VESTRAL.INI");
    AfaWertValues v = afa_read_settings(ini);
    EXPECT_EQ(v.NKAUFDM, 0);
    v.NKAUFDM = 300000;
    v.NFA_GRUND = 90000.5;
    ASSERT_TRUE(ini.set_many(kAfaWertSettings.name, afa_settings_entries(v)));
    const std::string text = dir.read("VESTRAL.INI");
    EXPECT_NE(text.find("KaufDM=300000.00\n"), std::string::npos) << text;
    EXPECT_NE(text.find("FAGrund=90000.50\n"), std::string::npos) << text;
    const AfaWertValues back = afa_read_settings(ini);
    EXPECT_EQ(back.NKAUFDM, 300000);
    EXPECT_EQ(back.NFA_GRUND, 90000.5);

    // The cost of the depreciation for letting: no question when it already is the best value.
    EXPECT_EQ(afa75_cost(ini), 240000);
    EXPECT_TRUE(afa75_cost_equals(afa75_cost(ini), afa_best(afa_rech(example()))));
    const double ratio = afa_rech(example()).NVWV_BAU;
    EXPECT_FALSE(afa75_cost_equals(afa75_cost(ini), ratio));
    ASSERT_TRUE(set_afa75_cost(ini, ratio));
    EXPECT_NE(dir.read("VESTRAL.INI").find("Kaufpreis=179275.653923541\n"), std::string::npos);
    EXPECT_TRUE(afa75_cost_equals(afa75_cost(ini), ratio));
}

TEST(Afa75Link, TheScheduleIsEmptiedAndOnlyItsTableClosed) {
    test::TempDir dir;
    const auto file = dir / "STEU75E.DBF";
    ASSERT_TRUE(core::dbf::create_table(file, core::catalogue_layout("STEU75E")));
    {
        core::dbf::Table t;
        ASSERT_TRUE(t.open(file, "DSTE"));
        for (int y = 2006; y < 2009; ++y) {
            t.append_blank();
            t.set_num("JAHR", y);
            t.set_num("FREIBETRAG", 4000);
        }
        ASSERT_TRUE(t.flush());
    }
    // Another table stays open across the hand-over.
    const auto other = dir / "OTHER.DBF";
    ASSERT_TRUE(core::dbf::create_table(other, {{"A", 'N', 3, 0}}));
    core::dbf::Table keep;
    ASSERT_TRUE(keep.open(other, "DOTH"));

    ASSERT_TRUE(empty_steu75e(dir.path()));
    EXPECT_TRUE(keep.is_open());
    core::dbf::Table t;
    ASSERT_TRUE(t.open(file, "DSTE"));  // closed again: it opens
    EXPECT_EQ(t.reccount(), 0);
    t.close();

    // A missing table is made with the catalogue's layout.
    test::TempDir fresh;
    ASSERT_TRUE(empty_steu75e(fresh.path()));
    const auto layout = core::dbf::read_layout(fresh / "STEU75E.DBF");
    ASSERT_TRUE(layout.has_value());
    EXPECT_EQ(*layout, core::catalogue_layout("STEU75E"));
}
