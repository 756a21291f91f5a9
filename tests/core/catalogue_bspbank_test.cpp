// The saved-contracts store of the building-savings calculator: its widened layout and the
// upgrade of files written with the old, narrower one.
#include <gtest/gtest.h>

#include <filesystem>

#include "core/catalogue.h"
#include "core/dbf.h"
#include "support/core_tempdir.h"

using namespace vestral;
using core::dbf::Field;

namespace {

const Field& field(const core::dbf::Layout& layout, const std::string& name) {
    for (const Field& f : layout)
        if (f.name == name) return f;
    static const Field none{};
    ADD_FAILURE() << "no field " << name;
    return none;
}

// The store as files of earlier versions hold it: rates N 4,2, fees N 9,2.
core::dbf::Layout old_bspbank_layout() {
    core::dbf::Layout l = core::catalogue_layout("BSPBANK");
    for (Field& f : l) {
        if (f.name == "SZINSSTZ" || f.name == "TILGANNO" || f.name == "TZINSSTZ" || f.name == "TZINSNACH") {
            f.width = 4;
            f.decimals = 2;
        } else if (f.name == "ABSCHGEB" || f.name == "KONTOGEB") {
            f.width = 9;
            f.decimals = 2;
        }
    }
    return l;
}

}  // namespace

TEST(CatalogueBspbank, RatesAndFeesCarryThreeDecimals) {
    const auto& l = core::catalogue_layout("BSPBANK");
    ASSERT_EQ(l.size(), 29u);
    for (const char* name : {"SZINSSTZ", "TILGANNO", "TZINSSTZ", "TZINSNACH", "ABSCHGEB", "KONTOGEB"}) {
        const Field& f = field(l, name);
        EXPECT_EQ(f.type, 'N') << name;
        EXPECT_EQ(f.width, 10) << name;
        EXPECT_EQ(f.decimals, 3) << name;
    }
    // The other fields stay as they were.
    EXPECT_EQ(field(l, "BSPSUMME"), (Field{"BSPSUMME", 'N', 12, 2}));
    EXPECT_EQ(field(l, "TFESTZEIT"), (Field{"TFESTZEIT", 'N', 4, 0}));
    EXPECT_EQ(field(l, "EFFZINS"), (Field{"EFFZINS", 'N', 7, 3}));
    // The record length changes, so files of the old layout fail the layout test.
    EXPECT_EQ(core::dbf::newheadlen(old_bspbank_layout()), 266);
    EXPECT_EQ(core::dbf::newheadlen(l), 292);
    EXPECT_FALSE(core::dbf::layout_matches(old_bspbank_layout(), l));
}

TEST(CatalogueBspbank, OldFileIsUpgradedWithAllItsRecords) {
    test::TempDir dir;
    const auto file = dir / "BSPBANK.DBF";
    ASSERT_TRUE(core::dbf::create_table(file, old_bspbank_layout()));
    {
        core::dbf::Table t;
        ASSERT_TRUE(t.open(file, "BSPBANK"));
        const char* names[] = {"Nordkasse", "Süd-Bausparkasse", "Westbank"};
        for (int i = 0; i < 3; ++i) {
            t.append_blank();
            t.set_str("BANKNAME", names[i]);
            t.set_num("BSPSUMME", 50000 + 1000 * i);
            t.set_num("ABSCHGEB", 1.6);
            t.set_num("KONTOGEB", 1.5);
            t.set_num("ABJAHR", 2007 + i);
            t.set_num("SZINSSTZ", 2.5);
            t.set_num("TILGANNO", 6);
            t.set_num("TZINSSTZ", 4.25);
            t.set_num("TFESTZEIT", 10);
            t.set_num("TZINSNACH", 9.99);
            t.set_num("SMONRATE", 300);
            t.set_num("SPARSUM", 20287.5);
        }
        ASSERT_TRUE(t.flush());
    }
    core::check_dbf(dir.path());

    const auto layout = core::dbf::read_layout(file);
    ASSERT_TRUE(layout.has_value());
    EXPECT_EQ(*layout, core::catalogue_layout("BSPBANK"));
    EXPECT_FALSE(std::filesystem::exists(dir / "BSPBANK.BAK"));

    core::dbf::Table t;
    ASSERT_TRUE(t.open(file, "BSPBANK"));
    ASSERT_EQ(t.reccount(), 3);
    t.go_top();
    EXPECT_EQ(t.trimmed("BANKNAME"), "Nordkasse");
    t.go_to(2);
    EXPECT_EQ(t.trimmed("BANKNAME"), "Süd-Bausparkasse");
    EXPECT_EQ(t.num("BSPSUMME"), 51000);
    EXPECT_EQ(t.num("ABSCHGEB"), 1.6);
    EXPECT_EQ(t.num("KONTOGEB"), 1.5);
    EXPECT_EQ(t.num("ABJAHR"), 2008);
    EXPECT_EQ(t.num("SZINSSTZ"), 2.5);
    EXPECT_EQ(t.num("TILGANNO"), 6);
    EXPECT_EQ(t.num("TZINSSTZ"), 4.25);
    EXPECT_EQ(t.num("TFESTZEIT"), 10);
    EXPECT_EQ(t.num("TZINSNACH"), 9.99);
    EXPECT_EQ(t.num("SMONRATE"), 300);
    EXPECT_EQ(t.num("SPARSUM"), 20287.5);
    t.go_to(3);
    EXPECT_EQ(t.trimmed("BANKNAME"), "Westbank");

    // After the upgrade, rates of 10 % and more and a third decimal are kept.
    t.set_num("TZINSSTZ", 12.125);
    t.set_num("KONTOGEB", 99999.999);
    ASSERT_TRUE(t.flush());
    EXPECT_EQ(t.num("TZINSSTZ"), 12.125);
    EXPECT_EQ(t.num("KONTOGEB"), 99999.999);
}

TEST(CatalogueBspbank, CurrentFileIsLeftAlone) {
    test::TempDir dir;
    const auto file = dir / "BSPBANK.DBF";
    ASSERT_TRUE(core::dbf::create_table(file, core::catalogue_layout("BSPBANK")));
    {
        core::dbf::Table t;
        ASSERT_TRUE(t.open(file, "BSPBANK"));
        t.append_blank();
        t.set_str("BANKNAME", "Nordkasse");
        t.set_num("TILGANNO", 1.5);
        ASSERT_TRUE(t.flush());
    }
    const std::string before = dir.read("BSPBANK.DBF");
    core::check_dbf(dir.path());
    EXPECT_EQ(dir.read("BSPBANK.DBF"), before);
    core::dbf::Table t;
    ASSERT_TRUE(t.open(file, "BSPBANK"));
    ASSERT_EQ(t.reccount(), 1);
    EXPECT_EQ(t.num("TILGANNO"), 1.5);
}
