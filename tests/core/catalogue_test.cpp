#include "core/catalogue.h"

#include <gtest/gtest.h>

#include <map>

#include "core/files.h"
#include "support/core_faults.h"
#include "support/core_tempdir.h"

using namespace vestral::core;
using vestral::test::ScriptedFaults;
using vestral::test::TempDir;

namespace {

// An older HYPOBANK: ZINSSATZ two characters narrower, so the record length differs.
dbf::Layout old_hypobank() {
    dbf::Layout l = catalogue_layout("HYPOBANK");
    for (auto& f : l)
        if (f.name == "ZINSSATZ") f.width = 7;
    return l;
}

void write_banks(const std::filesystem::path& file, const dbf::Layout& layout, int n,
                 bool delete_second = false) {
    ASSERT_TRUE(dbf::create_table(file, layout));
    dbf::Table t;
    ASSERT_TRUE(t.open(file, "DHB"));
    for (int i = 0; i < n; ++i) {
        t.append_blank();
        t.set_str("BANKNAME", "Bank Nr. " + std::to_string(i + 1) + " Köln");
        t.set_num("HYPOTHEK", 100000.0 * (i + 1));
        t.set_num("ZINSSATZ", 4.25 + i);
        t.set_date("ABDATUM", {2020, 1 + i % 12, 1});
        t.set_num("EFFZINS", 4.375);
        if (delete_second && i == 1) t.delete_record();
    }
}

std::vector<std::string> dir_names(const TempDir& dir) {
    std::vector<std::string> names;
    for (auto& e : std::filesystem::directory_iterator(dir.path()))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace

TEST(Catalogue, FieldCountsAndRecordLengthsAsListed) {
    const std::vector<std::tuple<std::string, TableHandling, size_t, int>> expected = {
        {"FINZPL1", TableHandling::Create, 33, 529},
        {"FINZPL2", TableHandling::CreateRebuild, 39, 584},
        {"BSPBANK", TableHandling::CreateMigrate, 29, 292},
        {"BAUSPAR", TableHandling::Create, 18, 229},
        {"HYPOBANK", TableHandling::CreateMigrate, 22, 238},
        {"HYPOTHEK", TableHandling::CreateMigrate, 20, 236},
        {"KREDBANK", TableHandling::CreateMigrate, 17, 188},
        {"RATKRED", TableHandling::Create, 10, 132},
        {"HYSPBANK", TableHandling::CreateMigrate, 28, 318},
        {"HYPSPAR", TableHandling::CreateMigrate, 28, 341},
        {"STEU10E", TableHandling::Create, 11, 125},
        {"ABSCHEPL", TableHandling::Create, 6, 65},
        {"STEU75E", TableHandling::Create, 4, 32},
        {"VERBRCH", TableHandling::Create, 26, 315},
    };
    const auto& cat = catalogue();
    ASSERT_EQ(cat.size(), expected.size());
    for (size_t i = 0; i < cat.size(); ++i) {
        auto& [name, handling, fields, reclen] = expected[i];
        EXPECT_EQ(cat[i].table, name);
        EXPECT_EQ(cat[i].handling, handling) << name;
        EXPECT_EQ(cat[i].layout.size(), fields) << name;
        EXPECT_EQ(dbf::newheadlen(cat[i].layout), reclen) << name;
        for (const auto& f : cat[i].layout) {
            EXPECT_LE(f.name.size(), 10u) << name;
            EXPECT_TRUE(f.type == 'C' || f.type == 'N' || f.type == 'D') << name << " " << f.name;
            if (f.type != 'N') {
                EXPECT_EQ(f.decimals, 0) << name << " " << f.name;
            }
        }
    }
    EXPECT_EQ(dbf::newheadlen(catalogue_layout("hypotemp")), 1 + 8 + 9 * 12);
    EXPECT_EQ(catalogue_layout("HYPOTEMP").size(), 10u);
    EXPECT_THROW(catalogue_layout("MIETKAUF"), std::out_of_range);
}

TEST(Catalogue, SpotChecksOfFieldsAndOrder) {
    const auto& v = catalogue_layout("VERBRCH");
    EXPECT_EQ(v[2], (dbf::Field{"LIEFER", 'C', 40, 0}));
    EXPECT_EQ(v[8], (dbf::Field{"PROEINHEIT", 'N', 9, 4}));
    EXPECT_EQ(v.back(), (dbf::Field{"SKORREKT", 'N', 9, 2}));
    const auto& h = catalogue_layout("HYSPBANK");
    EXPECT_EQ(h[15], (dbf::Field{"TILGANNO", 'N', 4, 0}));
    EXPECT_EQ(h[3], (dbf::Field{"SPZINS", 'N', 10, 3}));
    EXPECT_EQ(h[13], (dbf::Field{"HYPZNACH", 'N', 10, 3}));
    EXPECT_EQ(h[19], (dbf::Field{"KREDITDM", 'N', 12, 2}));
    const auto& b = catalogue_layout("BSPBANK");
    EXPECT_EQ(b[8], (dbf::Field{"SZINSSTZ", 'N', 10, 3}));
    EXPECT_EQ(b.back(), (dbf::Field{"EFFZINS", 'N', 7, 3}));
    const auto& f2 = catalogue_layout("FINZPL2");
    EXPECT_EQ(f2[32], (dbf::Field{"EINKSTEIG", 'N', 12, 3}));
    EXPECT_EQ(f2[35], (dbf::Field{"FAMSTAND", 'N', 1, 0}));
    EXPECT_EQ(catalogue_layout("HYPSPAR")[0], (dbf::Field{"DATUM", 'D', 8, 0}));
    EXPECT_EQ(catalogue_layout("STEU10E")[2], (dbf::Field{"V_STEUER", 'N', 12, 2}));
}

TEST(CheckDbf, CreatesEveryTableEmptyWithCanonicalNames) {
    TempDir dir;
    check_dbf(dir.path());
    std::vector<std::string> want;
    for (const auto& e : catalogue()) want.push_back(std::string(e.table) + ".DBF");
    std::sort(want.begin(), want.end());
    EXPECT_EQ(dir_names(dir), want);
    for (const auto& e : catalogue()) {
        auto layout = dbf::read_layout(dir / (std::string(e.table) + ".DBF"));
        ASSERT_TRUE(layout) << e.table;
        EXPECT_EQ(*layout, e.layout) << e.table;
        dbf::Table t;
        ASSERT_TRUE(t.open(dir / (std::string(e.table) + ".DBF"), "X"));
        EXPECT_EQ(t.reccount(), 0);
        EXPECT_TRUE(t.eof());
    }
    EXPECT_TRUE(dbf::open_tables().empty());

    // A second start changes nothing.
    std::map<std::string, std::string> before;
    for (auto& n : want) before[n] = dir.read(n);
    check_dbf(dir.path());
    for (auto& n : want) EXPECT_EQ(dir.read(n), before[n]) << n;
}

TEST(CheckDbf, Finzpl2WithAFieldMoreIsRebuiltEmpty) {
    TempDir dir;
    dbf::Layout more = catalogue_layout("FINZPL2");
    more.push_back({"EXTRA", 'N', 5, 0});
    auto file = dir / "FINZPL2.DBF";
    ASSERT_TRUE(dbf::create_table(file, more));
    {
        dbf::Table t;
        ASSERT_TRUE(t.open(file, "DFP2"));
        t.append_blank();
        t.set_num("JAHR", 2024);
    }
    check_dbf(dir.path());
    EXPECT_EQ(*dbf::read_layout(file), catalogue_layout("FINZPL2"));
    dbf::Table t;
    ASSERT_TRUE(t.open(file, "DFP2"));
    EXPECT_EQ(t.reccount(), 0);
}

TEST(CheckDbf, HypobankWithNarrowerZinssatzIsMigratedKeepingEveryRecord) {
    TempDir dir;
    auto file = dir / "HYPOBANK.DBF";
    write_banks(file, old_hypobank(), 4, /*delete_second=*/true);
    {
        // A rate too wide for the old field: stored without decimals, it still comes over.
        dbf::Table t;
        ASSERT_TRUE(t.open(file, "DHB"));
        t.go_to(4);
        t.set_num("ZINSSATZ", 12345.678);
        EXPECT_EQ(t.str("ZINSSATZ"), "12345.7");
    }
    check_dbf(dir.path());
    EXPECT_EQ(*dbf::read_layout(file), catalogue_layout("HYPOBANK"));
    dbf::Table t;
    ASSERT_TRUE(t.open(file, "DHB"));
    ASSERT_EQ(t.reccount(), 3) << "the deleted record is not carried over";
    std::vector<std::string> names;
    for (t.go_top(); !t.eof(); t.skip()) names.push_back(t.trimmed("BANKNAME"));
    EXPECT_EQ(names, (std::vector<std::string>{"Bank Nr. 1 Köln", "Bank Nr. 3 Köln", "Bank Nr. 4 Köln"}));
    t.go_top();
    EXPECT_DOUBLE_EQ(t.num("HYPOTHEK"), 100000);
    EXPECT_DOUBLE_EQ(t.num("ZINSSATZ"), 4.25);
    EXPECT_EQ(t.date("ABDATUM"), (Date{2020, 1, 1}));
    EXPECT_DOUBLE_EQ(t.num("EFFZINS"), 4.375);
    t.go_to(3);
    EXPECT_DOUBLE_EQ(t.num("ZINSSATZ"), 12345.7);
    t.close();
    EXPECT_EQ(dir_names(dir).size(), 14u) << "no backup left behind";
    EXPECT_FALSE(exists_ci(dir.path(), "HYPOBANK.BAK"));
}

TEST(CheckDbf, AnUnrelatedBackupNeitherBlocksNorIsLost) {
    TempDir dir;
    write_banks(dir / "HYPOBANK.DBF", old_hypobank(), 3);
    dir.write("HYPOBANK.BAK", "eine Sicherung des Benutzers");
    check_dbf(dir.path());
    dbf::Table t;
    ASSERT_TRUE(t.open(dir / "HYPOBANK.DBF", "DHB"));
    EXPECT_EQ(t.layout(), catalogue_layout("HYPOBANK"));
    EXPECT_EQ(t.reccount(), 3);
    t.go_bottom();
    EXPECT_EQ(t.trimmed("BANKNAME"), "Bank Nr. 3 Köln");
    EXPECT_EQ(dir.read("HYPOBANK.BAK"), "eine Sicherung des Benutzers");
}

TEST(CheckDbf, LowerCaseFilesAreFoundAndMigratedUnderTheCanonicalName) {
    TempDir dir;
    write_banks(dir / "hypobank.dbf", old_hypobank(), 2);
    check_dbf(dir.path());
    auto names = dir_names(dir);
    EXPECT_EQ(std::count(names.begin(), names.end(), "HYPOBANK.DBF"), 1);
    EXPECT_EQ(std::count(names.begin(), names.end(), "hypobank.dbf"), 0);
    EXPECT_EQ(names.size(), 14u);
    dbf::Table t;
    ASSERT_TRUE(t.open(dir / "HYPOBANK.DBF", "DHB"));
    EXPECT_EQ(t.reccount(), 2);
}

TEST(CheckDbf, SameCountAndLengthWithOtherNamesIsLeftAlone) {
    TempDir dir;
    dbf::Layout renamed = catalogue_layout("HYPOBANK");
    for (auto& f : renamed) f.name = "X" + f.name.substr(0, 9);
    write_banks(dir / "HYPOBANK.DBF", catalogue_layout("HYPOBANK"), 2);
    dbf::Layout kred = catalogue_layout("KREDBANK");
    for (auto& f : kred) f.name = "Y" + f.name.substr(0, 9);
    kred[0].type = 'N';
    ASSERT_TRUE(dbf::create_table(dir / "KREDBANK.DBF", kred));
    {
        dbf::Table t;
        ASSERT_TRUE(t.open(dir / "KREDBANK.DBF", "DKB"));
        t.append_blank();
        t.set_num(kred[0].name, 42);
    }
    std::string before = dir.read("KREDBANK.DBF");
    std::string hypo = dir.read("HYPOBANK.DBF");
    check_dbf(dir.path());
    EXPECT_EQ(dir.read("KREDBANK.DBF"), before);
    EXPECT_EQ(dir.read("HYPOBANK.DBF"), hypo);
}

TEST(CheckDbf, VerbrchIsCreatedWhenMissingAndOtherwiseLeftAlone) {
    TempDir dir;
    check_dbf(dir.path());
    EXPECT_EQ(*dbf::read_layout(dir / "VERBRCH.DBF"), catalogue_layout("VERBRCH"));
    std::filesystem::remove(dir / "VERBRCH.DBF");
    ASSERT_TRUE(dbf::create_table(dir / "Verbrch.dbf", {{"ALT", 'C', 3, 0}}));
    std::string before = dir.read("Verbrch.dbf");
    check_dbf(dir.path());
    EXPECT_EQ(dir.read("Verbrch.dbf"), before);
    EXPECT_FALSE(std::filesystem::exists(dir / "VERBRCH.DBF"));
}

TEST(CheckDbf, ATableHeldOpenIsSkippedUntouched) {
    TempDir dir;
    write_banks(dir / "HYPOBANK.DBF", old_hypobank(), 3);
    std::string before = dir.read("HYPOBANK.DBF");
    dbf::Table holder;
    ASSERT_TRUE(holder.open(dir / "HYPOBANK.DBF", "DHB"));
    ScriptedFaults faults;
    check_dbf(dir.path());
    ASSERT_EQ(faults.faults.size(), 1u);
    EXPECT_EQ(faults.faults[0].gen_code, kGenOpen);
    EXPECT_EQ(faults.faults[0].os_code, kOsSharing);
    EXPECT_EQ(dir.read("HYPOBANK.DBF"), before);
    EXPECT_FALSE(exists_ci(dir.path(), "HYPOBANK.BAK"));
    dbf::net_error_flag() = false;
}

TEST(CheckDbf, EveryMigratedStoreKeepsItsRecords) {
    TempDir dir;
    for (const auto& e : catalogue()) {
        if (e.handling != TableHandling::CreateMigrate) continue;
        dbf::Layout old = e.layout;
        old.pop_back();  // one field fewer: the new last field comes in empty
        auto file = dir / (std::string(e.table) + ".DBF");
        ASSERT_TRUE(dbf::create_table(file, old));
        dbf::Table t;
        // An older layout: the record maps of the tables would refuse it, as they should.
        ASSERT_TRUE(t.open_unchecked(file, "X"));
        for (int i = 0; i < 2; ++i) {
            t.append_blank();
            const auto& f = old[static_cast<size_t>(i == 0 ? 0 : 1)];
            if (f.type == 'C') t.set_str(f.name, "Wert ä");
            if (f.type == 'N') t.set_num(f.name, 1);
            if (f.type == 'D') t.set_date(f.name, {2021, 5, 6});
        }
    }
    check_dbf(dir.path());
    for (const auto& e : catalogue()) {
        if (e.handling != TableHandling::CreateMigrate) continue;
        dbf::Table t;
        ASSERT_TRUE(t.open(dir / (std::string(e.table) + ".DBF"), "X"));
        EXPECT_EQ(t.layout(), e.layout) << e.table;
        ASSERT_EQ(t.reccount(), 2) << e.table;
        t.go_top();
        const auto& f = e.layout[0];
        if (f.type == 'C') {
            EXPECT_EQ(t.trimmed(f.name), "Wert ä") << e.table;
        }
        if (f.type == 'D') {
            EXPECT_EQ(t.date(f.name), (Date{2021, 5, 6})) << e.table;
        }
        EXPECT_EQ(t.trimmed(e.layout.back().name), "") << e.table;
    }
    EXPECT_EQ(dir_names(dir).size(), 14u);
}

TEST(MakeHydbf, CreatesAndOpensTheTemporaryTable) {
    TempDir dir;
    {
        dbf::Table t;
        ASSERT_TRUE(make_hydbf(dir.path(), t));
        EXPECT_EQ(t.alias(), "DHYP");
        EXPECT_EQ(t.path().filename(), "HYPOTEMP.DBF");
        EXPECT_EQ(t.layout(), catalogue_layout("HYPOTEMP"));
        t.append_blank();
        t.set_num("RESTHYP", 5000);
    }
    dbf::Table t;
    ASSERT_TRUE(make_hydbf(dir.path(), t));
    EXPECT_EQ(t.reccount(), 1) << "an existing file is opened as it is";
    dbf::Table again;
    ScriptedFaults faults;
    EXPECT_FALSE(make_hydbf(dir.path(), again));
    dbf::net_error_flag() = false;
}
