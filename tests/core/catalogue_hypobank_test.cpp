#include "core/catalogue.h"

#include <gtest/gtest.h>

#include "core/dbf.h"
#include "support/core_tempdir.h"

using namespace vestral;
namespace dbf = vestral::core::dbf;

namespace {

// The layout HYPOBANK had before its rates and fees were widened.
dbf::Layout old_hypobank() {
    dbf::Layout l = core::catalogue_layout("HYPOBANK");
    for (auto& f : l) {
        if (f.name == "ZINSSATZ" || f.name == "ZINSNACH" || f.name == "KONTOGEB" || f.name == "KREDITDM")
            f.width = 9, f.decimals = 2;
        if (f.name == "TILGJAHR") f.width = 4, f.decimals = 0;
    }
    return l;
}

const dbf::Field& field(const dbf::Layout& l, const std::string& name) {
    for (const auto& f : l)
        if (f.name == name) return f;
    throw std::out_of_range(name);
}

}  // namespace

TEST(CatalogueHypobank, HypobankKeepsTheDecimalsOfItsInputs) {
    const dbf::Layout& l = core::catalogue_layout("hypobank");
    for (const char* rate : {"ZINSSATZ", "TILGJAHR", "ZINSNACH"}) {
        EXPECT_EQ(field(l, rate).width, 10) << rate;
        EXPECT_EQ(field(l, rate).decimals, 3) << rate;
    }
    for (const char* fee : {"KONTOGEB", "KREDITDM"}) {
        EXPECT_EQ(field(l, fee).width, 12) << fee;
        EXPECT_EQ(field(l, fee).decimals, 2) << fee;
    }
    // The old layout must fail the layout test, or old files would never be upgraded.
    EXPECT_NE(dbf::newheadlen(old_hypobank()), dbf::newheadlen(l));
    EXPECT_FALSE(dbf::layout_matches(old_hypobank(), l));
}

TEST(CatalogueHypobank, OldHypobankIsUpgradedKeepingEveryRecord) {
    test::TempDir dir;
    const auto file = dir / "HYPOBANK.DBF";
    ASSERT_TRUE(dbf::create_table(file, old_hypobank()));
    {
        dbf::Table t;
        ASSERT_TRUE(t.open(file, "HYPOBANK"));
        const char* names[] = {"Sparkasse Süd", "Volksbank Nord", "Bausparkasse Mitte"};
        for (int i = 0; i < 3; ++i) {
            t.append_blank();
            t.set_str("BANKNAME", names[i]);
            t.set_num("HYPOTHEK", 100000 + i);
            t.set_num("ZINSSATZ", 5.13);
            t.set_num("TILGJAHR", 2);
            t.set_num("KREDITDM", 1000.5);
            t.set_date("ABDATUM", core::Date{2007, 1 + i, 1});
            t.set_num("EINMALMO", 6);
        }
        t.flush();
    }
    core::check_dbf(dir.path());

    auto layout = dbf::read_layout(file);
    ASSERT_TRUE(layout);
    EXPECT_EQ(dbf::newheadlen(*layout), 231);
    EXPECT_EQ(field(*layout, "TILGJAHR").decimals, 3);
    EXPECT_FALSE(std::filesystem::exists(dir / "HYPOBANK.BAK"));

    dbf::Table t;
    ASSERT_TRUE(t.open(file, "HYPOBANK"));
    ASSERT_EQ(t.count(), 3);
    t.go_top();
    EXPECT_EQ(t.trimmed("BANKNAME"), "Sparkasse Süd");
    EXPECT_EQ(t.num("HYPOTHEK"), 100000);
    EXPECT_EQ(t.num("ZINSSATZ"), 5.13);
    EXPECT_EQ(t.num("KREDITDM"), 1000.5);
    EXPECT_EQ(t.num("EINMALMO"), 6);
    t.skip();
    t.skip();
    EXPECT_EQ(t.trimmed("BANKNAME"), "Bausparkasse Mitte");
    EXPECT_EQ(t.date("ABDATUM"), (core::Date{2007, 3, 1}));
    // The widened fields now take what the old ones could not.
    t.set_num("TILGJAHR", 1.5);
    t.set_num("ZINSSATZ", 5.125);
    t.set_num("KONTOGEB", 99999999.99);
    EXPECT_EQ(t.num("TILGJAHR"), 1.5);
    EXPECT_EQ(t.num("ZINSSATZ"), 5.125);
    EXPECT_EQ(t.num("KONTOGEB"), 99999999.99);
}

TEST(CatalogueHypobank, CurrentHypobankIsLeftAlone) {
    test::TempDir dir;
    const auto file = dir / "HYPOBANK.DBF";
    ASSERT_TRUE(dbf::create_table(file, core::catalogue_layout("HYPOBANK")));
    {
        dbf::Table t;
        ASSERT_TRUE(t.open(file, "HYPOBANK"));
        t.append_blank();
        t.set_str("BANKNAME", "Sparkasse Süd");
        t.set_num("TILGJAHR", 1.5);
        t.flush();
    }
    const auto before = std::filesystem::last_write_time(file);
    core::check_dbf(dir.path());
    EXPECT_EQ(std::filesystem::last_write_time(file), before);
    dbf::Table t;
    ASSERT_TRUE(t.open(file, "HYPOBANK"));
    t.go_top();
    EXPECT_EQ(t.num("TILGJAHR"), 1.5);
}
