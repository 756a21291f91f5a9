#include <sys/fsuid.h>
#include <unistd.h>

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QPushButton>
#include <QStandardPaths>

#include "core/dbf.h"
#include "support/gui_export.h"
#include "support/gui_fixture.h"
#include "ui/grid_dialog.h"

using namespace vestral;
namespace dbf = vestral::core::dbf;

namespace {

const dbf::Layout kLayout = {{"JAHR", 'N', 4, 0},
                             {"BETRAG", 'N', 12, 2},
                             {"GEBUEHR", 'N', 8, 2},
                             {"DATUM", 'D', 8, 0},
                             {"NAME", 'C', 30, 0}};

struct Rec {
    int year;
    double amount, fee;
    core::Date date;
    const char* name;
};

class GridExport : public test::GuiTest {
  protected:
    void SetUp() override {
        GuiTest::SetUp();
        const auto file = dir() / "TEST.DBF";
        ASSERT_TRUE(dbf::create_table(file, kLayout));
        ASSERT_TRUE(table_.open(file, "TEST"));
        for (const Rec& r : {Rec{2007, 1234567.891, 0, {2007, 12, 31}, "Bank; \"Nord\""},
                             Rec{2008, -33.3, 12.5, {2008, 1, 1}, "Süd"}, Rec{2009, 0, 0, {}, " "}}) {
            table_.append_blank();
            table_.set_num("JAHR", r.year);
            table_.set_num("BETRAG", r.amount);
            table_.set_num("GEBUEHR", r.fee);
            table_.set_date("DATUM", r.date);
            table_.set_str("NAME", r.name);
        }
        table_.flush();
        table_.go_top();
    }

    // Every kind of column: masked with thousands points and a unit, a mask too narrow for the value,
    // blank when 0, a date with its stored value, and texts with and without one.
    std::vector<ui::GridColumn> columns() const {
        return {
            ui::masked_column("Jahr ", "JAHR", "9999"),
            ui::masked_column("Betrag ", "BETRAG", "@E 999,999,999.99", " EUR"),
            ui::masked_column("Kurz ", "BETRAG", "@E 999.99"),
            ui::masked_column_blank0("Gebühr ", "GEBUEHR", "@E 9,999.99"),
            {"Datum ",
             [](const dbf::Table& t) { return QString::fromStdString(core::format_date(t.date("DATUM"))); },
             Qt::AlignCenter, [](const dbf::Table& t) -> ui::GridValue { return t.date("DATUM"); }},
            {" Bank", [](const dbf::Table& t) { return " " + QString::fromStdString(t.trimmed("NAME")); },
             Qt::AlignLeft}};
    }

    dbf::Table table_;
};

}  // namespace

TEST_F(GridExport, TheGridAsShownWithStoredNumbersAndDates) {
    ui::GridDialog d(nullptr, "Testplan - Ablauf", table_, columns());
    EXPECT_EQ(d.grid()->cellText(0, 1).trimmed(), "1.234.567,89 EUR");
    EXPECT_TRUE(d.grid()->cellText(0, 2).contains('*'));
    EXPECT_EQ(d.grid()->cellText(0, 3), "");
    EXPECT_EQ(ui::grid_csv(*d.grid()),
              "\xEF\xBB\xBF"
              "Jahr;Betrag;Kurz;Gebühr;Datum;Bank\r\n"
              "2007;1234567,89;1234567,89;0,00;31.12.2007;\"Bank; \"\"Nord\"\"\"\r\n"
              "2008;-33,30;-33,30;12,50;01.01.2008;Süd\r\n"
              "2009;0,00;0,00;0,00;;\r\n");
    // Another order of the table: the rows in the order the grid shows them.
    table_.set_order(
        table_.add_order("DOWN", [](const dbf::Table& t) { return std::to_string(3000 - t.num("JAHR")); }));
    d.grid()->setColumns({ui::masked_column("Jahr ", "JAHR", "9999")});
    EXPECT_EQ(ui::grid_csv(*d.grid()), "\xEF\xBB\xBFJahr\r\n2009\r\n2008\r\n2007\r\n");
}

TEST_F(GridExport, FileNameFromTheTitle) {
    EXPECT_EQ(ui::csv_file_name("Hypothekentilgungsplan - Ablauf"), "Hypothekentilgungsplan.csv");
    EXPECT_EQ(ui::csv_file_name("Ratenkredit-Tilgungsplan"), "Ratenkredit-Tilgungsplan.csv");
    EXPECT_EQ(ui::csv_file_name("Soll/Ist: Übersicht?"), "Soll_Ist_ Übersicht_.csv");
    EXPECT_EQ(ui::csv_file_name(""), "Tabelle.csv");
}

TEST_F(GridExport, ButtonAsksInTheDocumentsFolderThenRemembersTheFolder) {
    ui::GridDialog d(nullptr, "Testplan - Ablauf", table_, columns());
    auto* b = test::find<QPushButton>(&d, "exportButton");
    EXPECT_EQ(b->text(), "&Exportieren…");
    EXPECT_EQ(b->toolTip(), "Tabelle als CSV-Datei speichern");
    d.show();
    QApplication::processEvents();

    const QString docs = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    auto asked = test::export_grid(&d, {});
    EXPECT_EQ(asked.file_name, "Testplan.csv");
    EXPECT_EQ(asked.suffix, "csv");
    EXPECT_EQ(asked.directory, QFileInfo(docs).isDir() ? docs : QDir::homePath());
    EXPECT_EQ(ini().get("Export", "Ordner", "-"), "-");

    test::TempDir out;
    test::export_grid(&d, out / "plan.csv");
    EXPECT_TRUE(messages().empty()) << lastMessage().toStdString();
    EXPECT_EQ(out.read("plan.csv"), ui::grid_csv(*d.grid()));
    EXPECT_EQ(ini().get("Export", "Ordner", ""), out.path().string());
    asked = test::export_grid(&d, {});
    EXPECT_EQ(asked.directory.toStdString(), out.path().string());
    // A remembered folder that is gone: back to the documents folder.
    ini().set("Export", "Ordner", (out / "weg").string());
    EXPECT_NE(test::export_grid(&d, {}).directory.toStdString(), (out / "weg").string());
}

TEST_F(GridExport, ReadOnlyFolderGetsTheGermanMessageAndKeepsTheOldFile) {
    test::TempDir out;
    const auto folder = out / "nur lesen";
    std::filesystem::create_directory(folder);
    out.write("nur lesen/plan.csv", "alt");
    namespace fs = std::filesystem;
    fs::permissions(out.path(), fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                                    fs::perms::others_read | fs::perms::others_exec);
    fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                                fs::perms::group_exec | fs::perms::others_read | fs::perms::others_exec);
    ui::GridDialog d(nullptr, "Testplan - Ablauf", table_, columns());
    // The super-user may write anywhere; the file system then checks as an ordinary user.
    const bool root = ::geteuid() == 0;
    if (root) ::setfsuid(65534);
    test::export_grid(&d, folder / "plan.csv");
    if (root) ::setfsuid(0);
    fs::permissions(folder, fs::perms::owner_all);
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(messages()[0].kind, toolkit::MsgKind::Warning);
    EXPECT_EQ(messages()[0].title, "Problem");
    EXPECT_EQ(messages()[0].text.toStdString(),
              ("Die Datei plan.csv konnte nicht gespeichert werden.\nBitte prüfen Sie, ob Sie im Ordner " +
               QString::fromStdString(folder.string()) +
               " Dateien anlegen dürfen und ob dort genug Platz frei ist.")
                  .toStdString());
    EXPECT_EQ(out.read("nur lesen/plan.csv"), "alt");
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), {}), 1);
    EXPECT_EQ(ini().get("Export", "Ordner", "-"), "-");
}
