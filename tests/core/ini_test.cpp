#include "core/ini.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "core/files.h"
#include "core/program_settings.h"
#include "support/core_file_writes.h"
#include "support/core_tempdir.h"

using namespace vestral::core;
using vestral::test::TempDir;

TEST(IniDocument, CaseAndBlanksMeetInOneEntry) {
    IniDocument doc("[USER]\r\nEinkommen =1200.00\r\n");
    EXPECT_EQ(doc.get("User", "Einkommen", "x"), "1200.00");
    EXPECT_EQ(doc.get("user ", "EINKOMMEN ", "x"), "1200.00");
    doc.set("User", "Einkommen ", "1300.00");
    EXPECT_EQ(doc.bytes(), "[USER]\r\nEinkommen=1300.00\r\n");
}

TEST(IniDocument, MissingGivesDefaultEmptyGivesEmpty) {
    IniDocument doc("[A]\nk=\nv = hallo welt  \n");
    EXPECT_EQ(doc.get("A", "k", "def"), "");
    EXPECT_EQ(doc.get("A", "v", "def"), "hallo welt");
    EXPECT_EQ(doc.get("A", "missing", "def"), "def");
    EXPECT_EQ(doc.get("B", "k", "def"), "def");
}

TEST(IniDocument, OtherLinesStayByteIdentical) {
    std::string original =
        "; Kommentar\r\n[Setup]\r\n  Printer = HP  \r\nWINSIZE=2\r\n\r\n[System]\r\nTop=10\r\n";
    IniDocument doc(original);
    doc.set("SETUP", "winsize", "3");
    EXPECT_EQ(doc.bytes(),
              "; Kommentar\r\n[Setup]\r\n  Printer = HP  \r\nWINSIZE=3\r\n\r\n[System]\r\nTop=10\r\n");
    doc.set("setup", "BackBMP", "1");
    EXPECT_EQ(
        doc.bytes(),
        "; Kommentar\r\n[Setup]\r\n  Printer = HP  \r\nWINSIZE=3\r\nBackBMP=1\r\n\r\n[System]\r\nTop=10\r\n");
    doc.set("KAUFMIET", "Kaltmiete", "500.00");
    EXPECT_EQ(
        doc.bytes(),
        "; Kommentar\r\n[Setup]\r\n  Printer = HP  \r\nWINSIZE=3\r\nBackBMP=1\r\n\r\n[System]\r\nTop=10\r\n"
        "\r\n[KAUFMIET]\r\nKaltmiete=500.00\r\n");
}

TEST(IniDocument, ValuesAreCutAt1022Characters) {
    IniDocument doc;
    doc.set("A", "long", std::string(2000, 'x'));
    EXPECT_EQ(doc.get("A", "long", "").size(), 1022u);
}

TEST(IniDocument, Windows1252IsReadAsUmlauts) {
    IniDocument doc(std::string("[About]\nFirma1=M\xfcller & S\xf6hne\n"));
    EXPECT_EQ(doc.get("About", "Firma1", ""), "Müller & Söhne");
}

TEST(IniDocument, DamagedInputNeverCrashes) {
    static const char raw[] = "[unclosed\n=novalue\n[]\n\xff\xfe=\x80\n[A\x00]\nk=1";
    IniDocument doc(std::string(raw, sizeof raw - 1));
    EXPECT_EQ(doc.get("A", "k", "d"), "d");
    EXPECT_EQ(doc.get("", "", "d"), "d");
}

TEST(IniFile, NumbersCarryTheirDecimals) {
    TempDir dir;
    IniFile ini(dir / "VESTRAL.INI");
    ini.set_num("KAUFMIET", "Kaltmiete", 1250.5, 2);
    ini.set_num("KAUFMIET", "Mieterh.", 3, 3);
    ini.set_num("System", "Top", 2, 0);
    ini.set_bool("Setup", "BackBMP", true);
    EXPECT_EQ(ini.get("KAUFMIET", "Kaltmiete", ""), "1250.50");
    EXPECT_EQ(ini.get("KAUFMIET", "Mieterh.", ""), "3.000");
    EXPECT_EQ(ini.get("System", "Top", ""), "2");
    EXPECT_TRUE(ini.get_bool("Setup", "BackBMP", "0"));
    Num n = ini.get_num("KAUFMIET", "Kaltmiete", "0.00");
    EXPECT_EQ(n.value, 1250.5);
    EXPECT_EQ(n.decimals, 2);
    ini.set_many("KAUFMIET", {{"Kaufpreis", "100000.00"}, {"Eigenkap.", "20000.00"}});
    EXPECT_EQ(ini.get("kaufmiet", "EIGENKAP.", ""), "20000.00");
}

TEST(IniFile, AMissingFileGivesDefaults) {
    TempDir dir;
    IniFile ini(dir / "nothere.ini");
    EXPECT_EQ(ini.get("A", "b", "c"), "c");
    EXPECT_EQ(ini.get_num("A", "b", "0.00").decimals, 2);
}

TEST(ProgramSettings, DefaultsAndTheNormalWindowRule) {
    TempDir dir;
    dir.write("vestral.ini", "[System]\nTop=10\nLeft=20\nBottom=900\nRight=1000\n[Setup]\nWINSIZE=2\n");
    ProgramSettings s;
    s.dir = dir.path();
    setpublics(s, true);
    EXPECT_EQ(s.pcrelease1, "VSH Vestralon");
    EXPECT_EQ(s.pcrelease2, " v4.13");
    EXPECT_EQ(s.title(), "VSH Vestralon v4.13");
    EXPECT_EQ(s.ns_error, 1);
    EXPECT_EQ(s.ns_winsize, 2);
    EXPECT_TRUE(s.ls_backbmp);
    EXPECT_FALSE(s.ls_akzept);
    EXPECT_EQ(s.cs_printer, std::string(40, ' '));
    EXPECT_EQ(s.window, (WindowRect{10, 20, 610, 820}));
    IniFile ini(s.ini_path());
    EXPECT_EQ(ini.get("Setup", "ERROR", ""), "1");
    EXPECT_NE(ini.get("Setup", "WinWord", ""), "");
    EXPECT_EQ(s.status_text(), s.pcrelease0);
    s.cs_verlag = "Verlag X";
    EXPECT_EQ(s.status_text(), s.pcrelease0 + " - Verlag X");
}

TEST(ProgramSettings, AnyModeKeepsTheStoredRectangle) {
    TempDir dir;
    dir.write("VESTRAL.INI",
              "[Setup]\nWINSIZE=3\nPrinter=HP Laser\n[System]\nTop=10\nLeft=20\nBottom=500\nRight=700\n");
    ProgramSettings s;
    s.dir = dir.path();
    setpublics(s, false);
    EXPECT_EQ(s.window, (WindowRect{10, 20, 500, 700}));
    EXPECT_EQ(s.cs_printer, "HP Laser" + std::string(32, ' '));
}

TEST(Backup, RestoresTheBackupButNeverAnEmptyOne) {
    TempDir dir;
    dir.write("VESTRAL.SAV", "[A]\nk=saved\n");
    EXPECT_TRUE(restore_backup(dir.path()));
    EXPECT_EQ(dir.read("VESTRAL.INI"), "[A]\nk=saved\n");
    dir.write("VESTRAL.INI", "[A]\nk=edited\n");
    dir.write("VESTRAL.SAV", "");
    EXPECT_FALSE(restore_backup(dir.path()));
    EXPECT_EQ(dir.read("VESTRAL.INI"), "[A]\nk=edited\n");
    EXPECT_TRUE(write_backup(dir.path()));
    EXPECT_EQ(dir.read("VESTRAL.SAV"), "[A]\nk=edited\n");
}

TEST(Backup, NamesAreFoundWithoutRegardToCase) {
    TempDir dir;
    dir.write("vestral.sav", "[A]\nk=1\n");
    dir.write("vestral.ini", "[A]\nk=0\n");
    EXPECT_TRUE(restore_backup(dir.path()));
    EXPECT_EQ(dir.read("vestral.ini"), "[A]\nk=1\n");
    EXPECT_FALSE(std::filesystem::exists(dir / "VESTRAL.INI") &&
                 !std::filesystem::equivalent(dir / "VESTRAL.INI", dir / "vestral.ini"));
}

// One write per operation, and the backup copy that follows every write.

TEST(IniFile, SeveralSectionsGoInOneWriteAndTheBackupFollowsEveryWrite) {
    TempDir dir;
    dir.write("VESTRAL.INI", "[A]\nk=0\n");
    dir.write("VESTRAL.SAV", "[A]\nk=alt\n");
    IniFile ini(dir / "VESTRAL.INI", dir / "VESTRAL.SAV");
    vestral::test::FileWrites writes(dir.path(), "VESTRAL.INI");
    ASSERT_TRUE(ini.set_sections({{"A", {{"k", "1"}}}, {"B", {{"x", "2"}, {"y", "3"}}}}));
    EXPECT_EQ(writes.count(), 1);
    EXPECT_EQ(dir.read("VESTRAL.INI"), "[A]\nk=1\n\n[B]\nx=2\ny=3\n");
    EXPECT_EQ(dir.read("VESTRAL.SAV"), dir.read("VESTRAL.INI"));
    ASSERT_TRUE(ini.set("A", "k", "4"));
    EXPECT_EQ(dir.read("VESTRAL.SAV"), dir.read("VESTRAL.INI"));
    // A file without a backup copy (tests, other files of the same format) writes only itself.
    IniFile plain(dir / "VESTRAL.INI");
    ASSERT_TRUE(plain.set("A", "k", "5"));
    EXPECT_EQ(dir.read("VESTRAL.SAV"), "[A]\nk=4\n\n[B]\nx=2\ny=3\n");
}

TEST(IniFile, ABackupThatCannotBeRefreshedIsRemovedSoItNeverUndoesTheWrite) {
    TempDir dir;
    dir.write("VESTRAL.INI", "[A]\nk=0\n");
    std::filesystem::create_directory(dir / "VESTRAL.SAV");  // nothing can be renamed over it
    IniFile ini(dir / "VESTRAL.INI", dir / "VESTRAL.SAV");
    ASSERT_TRUE(ini.set("A", "k", "1"));
    EXPECT_FALSE(std::filesystem::exists(dir / "VESTRAL.SAV"));
    EXPECT_FALSE(restore_backup(dir.path()));
    EXPECT_EQ(dir.read("VESTRAL.INI"), "[A]\nk=1\n");
}

TEST(ProgramSettings, LoadingWritesTheFileOnlyWhenAStoredValueChanges) {
    TempDir dir;
    dir.write("VESTRAL.INI", "[Setup]\nERROR=3\n");
    ProgramSettings s;
    s.dir = dir.path();
    vestral::test::FileWrites writes(dir.path(), "VESTRAL.INI");
    setpublics(s, true);
    EXPECT_EQ(writes.count(), 1);  // the word processor found, in one write with the error option
    EXPECT_EQ(s.ini().get("Setup", "WinWord", ""), find_winword());
    EXPECT_EQ(dir.read("VESTRAL.SAV"), dir.read("VESTRAL.INI"));
    setpublics(s, true);
    setpublics(s, false);
    EXPECT_EQ(writes.count(), 1);
    EXPECT_EQ(s.ns_error, 3);
}

TEST(Backup, StartTakesTheBackupKeepsAUsableFileOrFallsBackToDefaults) {
    const std::string zeros(512, '\0');
    {
        TempDir dir;
        dir.write("VESTRAL.INI", zeros);
        dir.write("VESTRAL.SAV", "[A]\nk=saved\n");
        EXPECT_EQ(prepare_settings_file(dir.path()), SettingsStart::Restored);
        EXPECT_EQ(dir.read("VESTRAL.INI"), "[A]\nk=saved\n");
    }
    {
        // A backup a power cut filled with zeros never replaces a good file; a fresh one is made.
        TempDir dir;
        dir.write("VESTRAL.INI", "[A]\nk=good\n");
        dir.write("VESTRAL.SAV", zeros);
        EXPECT_EQ(prepare_settings_file(dir.path()), SettingsStart::Kept);
        EXPECT_EQ(dir.read("VESTRAL.INI"), "[A]\nk=good\n");
        EXPECT_EQ(dir.read("VESTRAL.SAV"), "[A]\nk=good\n");
    }
    {
        TempDir dir;
        dir.write("VESTRAL.INI", zeros);
        dir.write("VESTRAL.SAV", "");
        EXPECT_EQ(prepare_settings_file(dir.path()), SettingsStart::Defaults);
        EXPECT_EQ(dir.read("VESTRAL.INI"), "");
        EXPECT_FALSE(std::filesystem::exists(dir / "VESTRAL.SAV"));
    }
    {
        TempDir dir;
        dir.write("VESTRAL.SAV", zeros);
        EXPECT_EQ(prepare_settings_file(dir.path()), SettingsStart::Missing);
        EXPECT_FALSE(std::filesystem::exists(dir / "VESTRAL.INI"));
    }
}

TEST(Backup, OnlyTheProgramsOwnTemporariesAreRemoved) {
    TempDir dir;
    for (const char* name :
         {"VESTRAL.INI.tmp123", "vestral.sav.tmp7", "VESTRAL.INI", "VESTRAL.INI.tmp", "VESTRAL.INI.tmp12a",
          "VESTRAL.INI.tmp-1", "notes.tmp", "HYPOBANK.DBF.tmp5", "VESTRAL.INI.bak.tmp5"})
        dir.write(name, "x");
    EXPECT_EQ(remove_settings_temporaries(dir.path()), 2);
    std::vector<std::string> left;
    for (const auto& e : std::filesystem::directory_iterator(dir.path()))
        left.push_back(e.path().filename().string());
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, (std::vector<std::string>{"HYPOBANK.DBF.tmp5", "VESTRAL.INI", "VESTRAL.INI.bak.tmp5",
                                              "VESTRAL.INI.tmp", "VESTRAL.INI.tmp-1", "VESTRAL.INI.tmp12a",
                                              "notes.tmp"}));
}
