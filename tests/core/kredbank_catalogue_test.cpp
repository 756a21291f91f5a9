// The saved-credits store KREDBANK in the start-up catalogue: its widened layout, and the upgrade
// of files in the older layout with all their records.
#include <gtest/gtest.h>

#include "calc/loans/ratenkredit.h"
#include "core/catalogue.h"
#include "core/dbf.h"
#include "core/mask.h"
#include "support/core_tempdir.h"

using namespace vestral;
using core::dbf::Field;
using core::dbf::Layout;
using test::TempDir;

namespace {

// KREDBANK before it carried the annual percentage rate.
Layout kredbank_without_apr() {
    Layout l = core::catalogue_layout("KREDBANK");
    std::erase_if(l, [](const Field& f) { return f.name == "JAHRESZINS"; });
    return l;
}

// KREDBANK as files of earlier versions have it: the rate and the fee % with two decimals.
Layout old_kredbank() {
    Layout l = kredbank_without_apr();
    for (Field& f : l) {
        if (f.name == "ZINSSATZ") f = {"ZINSSATZ", 'N', 9, 2};
        if (f.name == "KREDITPR") f = {"KREDITPR", 'N', 12, 2};
    }
    return l;
}

struct OldCredit {
    const char* name;
    double kredit, zins, pro, eur, monrate;
    int laufzeit;
};

const OldCredit kOld[] = {
    {"Kreditbank Köln", 10000, 6.25, 2, 200, 0, 12},
    {"Sparkasse Süd", 25000.5, 12.75, 1.5, 375.01, 0, 48},
    {"Teilzahlungsbank", 5000, 9.9, 0, 0, 250, 0},
};

void write_old_file(const std::filesystem::path& file, bool with_deleted,
                    const Layout& layout = old_kredbank()) {
    ASSERT_TRUE(core::dbf::create_table(file, layout));
    core::dbf::Table t;
    ASSERT_TRUE(t.open(file, "DKB"));
    for (const OldCredit& c : kOld) {
        t.append_blank();
        t.set_str("BANKNAME", c.name);
        t.set_num("KREDIT", c.kredit);
        t.set_num("ZINSSATZ", c.zins);
        t.set_num("LAUFZEIT", c.laufzeit);
        t.set_num("KREDITPR", c.pro);
        t.set_num("KREDITDM", c.eur);
        t.set_num("MONRATE", c.monrate);
        t.set_num("EFFZINS", 6.432);
    }
    if (with_deleted) {
        t.append_blank();
        t.set_str("BANKNAME", "Gelöschte Bank");
        t.delete_record();
    }
    t.flush();
}

void expect_old_records(const std::filesystem::path& file) {
    core::dbf::Table t;
    ASSERT_TRUE(t.open(file, "DKB"));
    EXPECT_EQ(t.layout(), core::catalogue_layout("KREDBANK"));
    ASSERT_EQ(t.count(), 3);
    for (const OldCredit& c : kOld) {
        ASSERT_TRUE(calc::kredbank_seek(t, c.name)) << c.name;
        const calc::RkInputs in = calc::kredbank_load(t);
        EXPECT_EQ(core::trim(in.CBANKNAME), c.name);
        EXPECT_EQ(in.NKREDIT, c.kredit);
        EXPECT_EQ(in.NMONZINS, c.zins);
        EXPECT_EQ(in.NBEARBPRO, c.pro);
        EXPECT_EQ(in.NBEARBGEB, c.eur);
        EXPECT_EQ(in.NMONRATE, c.monrate);
        EXPECT_EQ(in.NLAUFZEIT, c.laufzeit);
        EXPECT_EQ(t.num("EFFZINS"), 6.432);
    }
}

}  // namespace

TEST(KredBankCatalogue, RateAndFeePercentCarryThreeDecimals) {
    const Layout& l = core::catalogue_layout("KREDBANK");
    ASSERT_EQ(l.size(), 17u);
    EXPECT_EQ(l[2], (Field{"ZINSSATZ", 'N', 10, 3}));
    EXPECT_EQ(l[7], (Field{"KREDITPR", 'N', 12, 3}));
    EXPECT_EQ(l[8], (Field{"KREDITDM", 'N', 12, 2}));
    EXPECT_EQ(l[5], (Field{"LAUFZEIT", 'N', 4, 0}));
    EXPECT_EQ(l[15], (Field{"EFFZINS", 'N', 7, 3}));
    EXPECT_EQ(l[16], (Field{"JAHRESZINS", 'N', 7, 3}));
    EXPECT_EQ(core::dbf::newheadlen(l), 188);
    EXPECT_EQ(core::dbf::newheadlen(kredbank_without_apr()), 181);
    EXPECT_FALSE(core::dbf::layout_matches(kredbank_without_apr(), l));
    // The older files must fail the layout test, which compares field count and record length.
    EXPECT_EQ(core::dbf::newheadlen(old_kredbank()), 180);
    EXPECT_FALSE(core::dbf::layout_matches(old_kredbank(), l));
    for (const auto& e : core::catalogue())
        if (e.table == "KREDBANK") {
            EXPECT_EQ(e.handling, core::TableHandling::CreateMigrate);
        }
}

TEST(KredBankCatalogue, LargestInputsComeBackWithTheirDecimals) {
    TempDir dir;
    ASSERT_TRUE(core::dbf::create_table(dir / "KREDBANK.DBF", core::catalogue_layout("KREDBANK")));
    core::dbf::Table t;
    ASSERT_TRUE(t.open(dir / "KREDBANK.DBF", "DKB"));
    calc::RkInputs in;
    in.CBANKNAME = "Bank";
    in.NKREDIT = 99999999.99;
    in.NMONZINS = 19.999;
    in.NBEARBPRO = 99999999.999;  // the widest value the fee % mask can show
    in.NBEARBGEB = 99999999.99;
    in.NLAUFZEIT = 120;
    in.NMONRATE = 5.125;
    calc::kredbank_save(t, in, {});
    ASSERT_TRUE(calc::kredbank_seek(t, "BANK"));
    const calc::RkInputs back = calc::kredbank_load(t);
    EXPECT_EQ(back.NKREDIT, 99999999.99);
    EXPECT_EQ(back.NMONZINS, 19.999);
    EXPECT_EQ(back.NBEARBPRO, 99999999.999);
    EXPECT_EQ(back.NBEARBGEB, 99999999.99);
    EXPECT_EQ(back.NLAUFZEIT, 120);
    EXPECT_EQ(back.NMONRATE, 5.13);
    in.NMONZINS = 5.125;
    in.NBEARBPRO = 1.125;
    calc::kredbank_save(t, in, {});
    ASSERT_TRUE(calc::kredbank_seek(t, "Bank"));
    EXPECT_EQ(calc::kredbank_load(t).NMONZINS, 5.125);
    EXPECT_EQ(calc::kredbank_load(t).NBEARBPRO, 1.125);
}

TEST(KredBankCatalogue, OldFileIsMigratedWithAllItsRecords) {
    TempDir dir;
    write_old_file(dir / "KREDBANK.DBF", true);
    core::check_dbf(dir.path());
    expect_old_records(dir / "KREDBANK.DBF");
    EXPECT_FALSE(std::filesystem::exists(dir / "KREDBANK.BAK"));
    // A second start finds the new layout and leaves the file as it is.
    const std::string before = dir.read("KREDBANK.DBF");
    core::check_dbf(dir.path());
    EXPECT_EQ(dir.read("KREDBANK.DBF"), before);
}

TEST(KredBankCatalogue, MigrationKeepsRecordsBesideAnOldBackup) {
    TempDir dir;
    write_old_file(dir / "KREDBANK.DBF", false);
    dir.write("KREDBANK.BAK", "a backup the user made");
    core::check_dbf(dir.path());
    expect_old_records(dir / "KREDBANK.DBF");
    EXPECT_EQ(dir.read("KREDBANK.BAK"), "a backup the user made");
}

TEST(KredBankCatalogue, FileOfTheNewLayoutIsLeftUnchanged) {
    TempDir dir;
    ASSERT_TRUE(core::dbf::create_table(dir / "KREDBANK.DBF", core::catalogue_layout("KREDBANK")));
    {
        core::dbf::Table t;
        ASSERT_TRUE(t.open(dir / "KREDBANK.DBF", "DKB"));
        calc::RkInputs in;
        in.CBANKNAME = "Bank";
        in.NMONZINS = 7.375;
        calc::kredbank_save(t, in, {});
    }
    const std::string before = dir.read("KREDBANK.DBF");
    core::check_dbf(dir.path());
    EXPECT_EQ(dir.read("KREDBANK.DBF"), before);
}

TEST(KredBankCatalogue, FileWithoutTheAnnualRateIsMigratedWithEveryDecimal) {
    TempDir dir;
    write_old_file(dir / "KREDBANK.DBF", true, kredbank_without_apr());
    {
        core::dbf::Table t;
        ASSERT_TRUE(t.open_unchecked(dir / "KREDBANK.DBF", "DKB"));
        t.go_top();
        t.set_num("ZINSSATZ", 5.125);
        t.set_num("KREDITPR", 1.375);
        t.flush();
    }
    core::check_dbf(dir.path());
    core::dbf::Table t;
    ASSERT_TRUE(t.open(dir / "KREDBANK.DBF", "DKB"));
    EXPECT_EQ(t.layout(), core::catalogue_layout("KREDBANK"));
    ASSERT_EQ(t.count(), 3);
    t.go_top();
    EXPECT_EQ(t.num("ZINSSATZ"), 5.125);
    EXPECT_EQ(t.num("KREDITPR"), 1.375);
    EXPECT_EQ(t.num("KREDITDM"), 200);
    EXPECT_EQ(t.num("EFFZINS"), 6.432);
    // The new field is blank (no rate known), never a 0 that would read as a rate.
    EXPECT_TRUE(t.blank("JAHRESZINS"));
    EXPECT_FALSE(calc::kredbank_load_results(t).NJAHRESZINS);
    for (const OldCredit& c : kOld) ASSERT_TRUE(calc::kredbank_seek(t, c.name)) << c.name;
}

TEST(KredBankCatalogue, AnnualRateIsStoredOrLeftBlank) {
    TempDir dir;
    ASSERT_TRUE(core::dbf::create_table(dir / "KREDBANK.DBF", core::catalogue_layout("KREDBANK")));
    core::dbf::Table t;
    ASSERT_TRUE(t.open(dir / "KREDBANK.DBF", "DKB"));
    calc::RkInputs in;
    in.CBANKNAME = "Bank";
    calc::RkResults res;
    res.NJAHRESZINS = 11.354374;
    calc::kredbank_save(t, in, res);
    ASSERT_TRUE(calc::kredbank_seek(t, "Bank"));
    EXPECT_EQ(calc::kredbank_load_results(t).NJAHRESZINS, 11.354);
    calc::kredbank_save(t, in, {});
    ASSERT_TRUE(calc::kredbank_seek(t, "Bank"));
    EXPECT_TRUE(t.blank("JAHRESZINS"));
    EXPECT_FALSE(calc::kredbank_load_results(t).NJAHRESZINS);
}
