#include "core/catalogue.h"

#include <gtest/gtest.h>

#include "calc/loans/hypotilg.h"
#include "core/dbf.h"
#include "support/core_tempdir.h"

using namespace vestral;
namespace dbf = vestral::core::dbf;

namespace {

// HYPOBANK before it carried the annual percentage rate.
dbf::Layout hypobank_without_apr() {
    dbf::Layout l = core::catalogue_layout("HYPOBANK");
    std::erase_if(l, [](const dbf::Field& f) { return f.name == "JAHRESZINS"; });
    return l;
}

// The layout HYPOBANK had before its rates and fees were widened.
dbf::Layout old_hypobank() {
    dbf::Layout l = hypobank_without_apr();
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
    EXPECT_EQ(dbf::newheadlen(*layout), 238);
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

TEST(CatalogueHypobank, HypobankWithoutTheAnnualRateIsMigratedWithEveryDecimal) {
    const dbf::Layout& l = core::catalogue_layout("HYPOBANK");
    ASSERT_EQ(l.size(), 22u);
    EXPECT_EQ(l.back(), (dbf::Field{"JAHRESZINS", 'N', 7, 3}));
    EXPECT_FALSE(dbf::layout_matches(hypobank_without_apr(), l));

    test::TempDir dir;
    const auto file = dir / "HYPOBANK.DBF";
    ASSERT_TRUE(dbf::create_table(file, hypobank_without_apr()));
    const char* names[] = {"Sparkasse Süd", "Volksbank Nord", "Bausparkasse Mitte", "Gelöscht"};
    {
        dbf::Table t;
        ASSERT_TRUE(t.open_unchecked(file, "HYPOBANK"));
        for (int i = 0; i < 4; ++i) {
            t.append_blank();
            t.set_str("BANKNAME", names[i]);
            t.set_num("HYPOTHEK", 99999999.99 - i);
            t.set_num("ZINSSATZ", 5.125);
            t.set_num("TILGJAHR", 1.375);
            t.set_num("ZINSNACH", 6.875);
            t.set_num("KONTOGEB", 12345678.91);
            t.set_num("KREDITPR", 1.25);
            t.set_num("KREDITDM", 2500.55);
            t.set_date("ABDATUM", core::Date{2007, 1 + i, 15});
            t.set_num("LAUFZEIT", 15);
            t.set_num("EINMALDM", 1000.01);
            t.set_num("EINMALMO", 11);
            t.set_num("ZINSSUM", 78497.2);
            t.set_num("TILGZEIT", 23.5);
            t.set_num("EFFZINS", 5.116);
            if (i == 3) t.delete_record();
        }
        t.flush();
    }
    core::check_dbf(dir.path());

    dbf::Table t;
    ASSERT_TRUE(t.open(file, "HYPOBANK"));
    EXPECT_EQ(t.layout(), l);
    ASSERT_EQ(t.count(), 3);
    int i = 0;
    for (t.go_top(); !t.eof(); t.skip(), ++i) {
        EXPECT_EQ(t.trimmed("BANKNAME"), names[i]);
        const calc::HypoInputs in = calc::hypobank_load(t);
        EXPECT_EQ(in.NHYPOTHEK, 99999999.99 - i);
        EXPECT_EQ(in.NZINSSATZ, 5.125);
        EXPECT_EQ(in.NTILGANNO, 1.375);
        EXPECT_EQ(in.NZINSNACH, 6.875);
        EXPECT_EQ(in.NKONTOGEB, 12345678.91);
        EXPECT_EQ(in.NKREDITPR, 1.25);
        EXPECT_EQ(in.NKREDITDM, 2500.55);
        EXPECT_EQ(in.DABDATUM, (core::Date{2007, 1 + i, 15}));
        EXPECT_EQ(in.NLAUFZEIT, 15);
        EXPECT_EQ(in.NEINMALDM, 1000.01);
        EXPECT_EQ(in.NEINMALMO, 11);
        const calc::HypoResults res = calc::hypobank_results(t);
        EXPECT_EQ(res.NZINSSUM, 78497.2);
        EXPECT_EQ(res.NTILGZEIT, 23.5);
        EXPECT_EQ(res.NEFFZINS, 5.116);
        EXPECT_FALSE(res.NJAHRESZINS);
    }
    EXPECT_FALSE(std::filesystem::exists(dir / "HYPOBANK.BAK"));
}

TEST(CatalogueHypobank, AnnualRateIsStoredOrLeftBlank) {
    test::TempDir dir;
    ASSERT_TRUE(dbf::create_table(dir / "HYPOBANK.DBF", core::catalogue_layout("HYPOBANK")));
    dbf::Table t;
    ASSERT_TRUE(t.open(dir / "HYPOBANK.DBF", "HYPOBANK"));
    calc::HypoInputs in;
    in.CBANKNAME = "Bank";
    calc::HypoResults res;
    res.NJAHRESZINS = 5.4321;
    calc::hypobank_save(t, in, res);
    ASSERT_TRUE(calc::hypobank_seek(t, "Bank"));
    EXPECT_EQ(calc::hypobank_results(t).NJAHRESZINS, 5.432);
    calc::hypobank_save(t, in, {});
    ASSERT_TRUE(calc::hypobank_seek(t, "Bank"));
    EXPECT_TRUE(t.blank("JAHRESZINS"));
    EXPECT_FALSE(calc::hypobank_results(t).NJAHRESZINS);
}
