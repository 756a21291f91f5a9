// Damaged tables met at start-up: kept byte for byte under a new name, replaced by a table with
// the records that could be read, and told in one German message.
#include <gtest/gtest.h>

#include "core/catalogue.h"
#include "core/dbf.h"
#include "core/files.h"
#include "support/core_faults.h"
#include "support/core_tempdir.h"

using namespace vestral::core;
using vestral::test::dbfread_view;
using vestral::test::ScriptedFaults;
using vestral::test::TempDir;

namespace {

void write_banks(const std::filesystem::path& file, const dbf::Layout& layout, int n) {
    ASSERT_TRUE(dbf::create_table(file, layout));
    dbf::Table t;
    ASSERT_TRUE(t.open(file, "DHB"));
    for (int i = 0; i < n; ++i) {
        t.append_blank();
        t.set_str("BANKNAME", "Bank " + std::to_string(i + 1) + " Köln");
        t.set_num("HYPOTHEK", 1000.0 * (i + 1));
    }
}

std::vector<std::string> bank_names(const std::filesystem::path& file) {
    dbf::Table t;
    EXPECT_TRUE(t.open(file, "DHB"));
    std::vector<std::string> names;
    for (t.go_top(); !t.eof(); t.skip()) names.push_back(t.trimmed("BANKNAME"));
    return names;
}

std::string damaged_header(const TempDir& dir) {
    write_banks(dir / "GUT.DBF", catalogue_layout("HYPOBANK"), 2);
    std::string b = dir.read("GUT.DBF");
    std::filesystem::remove(dir / "GUT.DBF");
    b[10] = 7;  // record length no longer that of the fields
    return b;
}

}  // namespace

TEST(Examine, TellsSoundEmptyDamagedCutAndBusyTablesApart) {
    TempDir dir;
    write_banks(dir / "HYPOBANK.DBF", catalogue_layout("HYPOBANK"), 3);
    const std::string sound = dir.read("HYPOBANK.DBF");
    auto e = dbf::examine(dir / "HYPOBANK.DBF");
    EXPECT_EQ(e.damage, dbf::Damage::None);
    EXPECT_EQ(e.whole_records, 3);

    dir.write("HYPOBANK.DBF", "");
    e = dbf::examine(dir / "HYPOBANK.DBF");
    EXPECT_EQ(e.damage, dbf::Damage::Empty);
    EXPECT_EQ(e.reason, "Die Tabelle HYPOBANK.DBF ist leer (0 Byte).");

    dir.write("HYPOBANK.DBF", damaged_header(dir));
    e = dbf::examine(dir / "hypobank.dbf");
    EXPECT_EQ(e.damage, dbf::Damage::Header);
    EXPECT_EQ(e.reason, "Der Tabellenkopf von HYPOBANK.DBF ist beschädigt.");

    dir.write("HYPOBANK.DBF", sound.substr(0, sound.size() - 30));
    e = dbf::examine(dir / "HYPOBANK.DBF");
    EXPECT_EQ(e.damage, dbf::Damage::Cut);
    EXPECT_EQ(e.whole_records, 2);
    EXPECT_EQ(e.reason,
              "Der letzte Datensatz von HYPOBANK.DBF ist abgeschnitten (2 von 3 Datensätzen vollständig).");

    dir.write("HYPOBANK.DBF", sound);
    dbf::Table holder;
    ASSERT_TRUE(holder.open(dir / "HYPOBANK.DBF", "DHB"));
    EXPECT_EQ(dbf::examine(dir / "HYPOBANK.DBF").damage, dbf::Damage::Busy);
}

TEST(Examine, TheTableLayerSpeaksGerman) {
    TempDir dir;
    dir.write("X.DBF", "");
    ScriptedFaults faults;
    dbf::Table t;
    EXPECT_FALSE(t.open(dir / "X.DBF", "X"));
    EXPECT_FALSE(t.open(dir / "FEHLT.DBF", "X"));
    dir.write("X.DBF", damaged_header(dir));
    EXPECT_FALSE(t.open(dir / "X.DBF", "X"));
    EXPECT_FALSE(dbf::create_table(dir / "Y.DBF", {}));
    ASSERT_EQ(faults.faults.size(), 4u);
    EXPECT_EQ(faults.faults[0].description, "Die Tabelle X.DBF ist leer (0 Byte)");
    EXPECT_EQ(faults.faults[1].description, "Fehler beim Öffnen der Tabelle");
    EXPECT_EQ(faults.faults[2].description, "Der Tabellenkopf von X.DBF ist beschädigt");
    EXPECT_EQ(faults.faults[3].description, "Fehler beim Anlegen der Tabelle: ungültiger Tabellenaufbau");
    for (const Fault& f : faults.faults) {
        const std::string line = fault_message(f);
        for (const char* english : {"error", "Corruption", "detected", "short header", "invalid"})
            EXPECT_EQ(line.find(english), std::string::npos) << line;
    }
}

TEST(SetAside, DamagedHeaderAndEmptyFileAreKeptUnderANewNameAndCreatedEmpty) {
    TempDir dir;
    const std::string header = damaged_header(dir);
    dir.write("HYPOBANK.DBF", header);
    dir.write("BAUSPAR.DBF", "");
    ScriptedFaults faults;
    const auto report = check_dbf(dir.path());
    EXPECT_TRUE(faults.faults.empty());
    ASSERT_EQ(report.size(), 2u);
    // In the order of the catalogue.
    EXPECT_EQ(report[0].file, "BAUSPAR.DBF");
    EXPECT_EQ(report[0].kept_as, "BAUSPAR.DEFEKT");
    EXPECT_EQ(report[0].records_read, 0);
    EXPECT_EQ(report[1].file, "HYPOBANK.DBF");
    EXPECT_EQ(report[1].kept_as, "HYPOBANK.DEFEKT");
    EXPECT_EQ(report[1].reason, "Der Tabellenkopf von HYPOBANK.DBF ist beschädigt.");
    EXPECT_EQ(dir.read("HYPOBANK.DEFEKT"), header);
    EXPECT_TRUE(std::filesystem::exists(dir / "BAUSPAR.DEFEKT"));
    EXPECT_EQ(std::filesystem::file_size(dir / "BAUSPAR.DEFEKT"), 0u);

    dbf::Table t;
    ASSERT_TRUE(t.open(dir / "HYPOBANK.DBF", "DHB"));
    EXPECT_EQ(t.layout(), catalogue_layout("HYPOBANK"));
    EXPECT_EQ(t.reccount(), 0);
    t.close();
    EXPECT_EQ(dbfread_view(dir / "HYPOBANK.DBF", "BANKNAME").substr(0, 11), "0 BANKNAME ");
    EXPECT_EQ(dbfread_view(dir / "BAUSPAR.DBF", "BANKNAME").substr(0, 11), "0 BANKNAME ");

    EXPECT_EQ(set_aside_message({report[1]}),
              "Eine beschädigte Tabelle wurde beiseitegelegt:\n\n"
              "Der Tabellenkopf von HYPOBANK.DBF ist beschädigt.\n"
              "Die Datei wurde unverändert als HYPOBANK.DEFEKT aufbewahrt und HYPOBANK.DBF neu angelegt. "
              "Es konnten keine Datensätze gelesen werden.\n\n"
              "Das Programm startet mit den neu angelegten Tabellen.");
    EXPECT_EQ(set_aside_message({}), "");
}

TEST(SetAside, ACutTableKeepsItsWholeRecordsAndEarlierSetAsideFilesAreNeverOverwritten) {
    TempDir dir;
    write_banks(dir / "HYPOBANK.DBF", catalogue_layout("HYPOBANK"), 4);
    std::string cut = dir.read("HYPOBANK.DBF");
    cut.resize(cut.size() - 40);
    dir.write("HYPOBANK.DBF", cut);
    dir.write("HYPOBANK.DEFEKT", "vom letzten Mal");
    dir.write("hypobank.defekt1", "vom vorletzten Mal");

    const auto report = check_dbf(dir.path());
    ASSERT_EQ(report.size(), 1u);
    EXPECT_EQ(report[0].kept_as, "HYPOBANK.DEFEKT2");
    EXPECT_EQ(report[0].records_read, 3);
    EXPECT_EQ(dir.read("HYPOBANK.DEFEKT2"), cut);
    EXPECT_EQ(dir.read("HYPOBANK.DEFEKT"), "vom letzten Mal");
    EXPECT_EQ(dir.read("hypobank.defekt1"), "vom vorletzten Mal");
    EXPECT_EQ(bank_names(dir / "HYPOBANK.DBF"),
              (std::vector<std::string>{"Bank 1 Köln", "Bank 2 Köln", "Bank 3 Köln"}));
    EXPECT_EQ(dbfread_view(dir / "HYPOBANK.DBF", "HYPOTHEK").substr(0, 2), "3 ");
    const std::string text = set_aside_message(report);
    EXPECT_NE(
        text.find(
            "Der letzte Datensatz von HYPOBANK.DBF ist abgeschnitten (3 von 4 Datensätzen vollständig)."),
        std::string::npos);
    EXPECT_NE(text.find("3 Datensätze konnten gelesen werden und sind in der neuen Tabelle enthalten."),
              std::string::npos);

    // The next start finds a sound table and leaves it alone.
    EXPECT_TRUE(check_dbf(dir.path()).empty());
    EXPECT_EQ(bank_names(dir / "HYPOBANK.DBF").size(), 3u);
}

TEST(SetAside, ACutTableOfTheOlderLayoutIsTakenOverIntoTheNewOne) {
    TempDir dir;
    dbf::Layout old = catalogue_layout("HYPOBANK");
    for (auto& f : old)
        if (f.name == "ZINSSATZ") f.width = 7;
    write_banks(dir / "HYPOBANK.DBF", old, 2);
    std::string cut = dir.read("HYPOBANK.DBF");
    cut.resize(cut.size() - 5);
    dir.write("HYPOBANK.DBF", cut);
    const auto report = check_dbf(dir.path());
    ASSERT_EQ(report.size(), 1u);
    EXPECT_EQ(report[0].records_read, 1);
    dbf::Table t;
    ASSERT_TRUE(t.open(dir / "HYPOBANK.DBF", "DHB"));
    EXPECT_EQ(t.layout(), catalogue_layout("HYPOBANK"));
    EXPECT_EQ(t.trimmed("BANKNAME"), "Bank 1 Köln");
    EXPECT_DOUBLE_EQ(t.num("HYPOTHEK"), 1000);
}

TEST(SetAside, TemporariesOfInterruptedTableWritesAreRemovedAndNothingElse) {
    TempDir dir;
    check_dbf(dir.path());
    write_banks(dir / "HYPOBANK.DBF", catalogue_layout("HYPOBANK"), 0);
    dir.write("HYPOBANK.DBF.tmp123456", "halb");
    dir.write("bspbank.dbf.tmp7", "halb");
    dir.write("HYPOBANK.DBF.tmp12x", "fremd");
    dir.write("notes.tmp", "fremd");
    dir.write("VESTRAL.INI.tmp99", "nicht die Sache der Tabellen");
    EXPECT_TRUE(check_dbf(dir.path()).empty());
    EXPECT_FALSE(std::filesystem::exists(dir / "HYPOBANK.DBF.tmp123456"));
    EXPECT_FALSE(std::filesystem::exists(dir / "bspbank.dbf.tmp7"));
    EXPECT_TRUE(std::filesystem::exists(dir / "HYPOBANK.DBF.tmp12x"));
    EXPECT_TRUE(std::filesystem::exists(dir / "notes.tmp"));
    EXPECT_TRUE(std::filesystem::exists(dir / "VESTRAL.INI.tmp99"));
}
