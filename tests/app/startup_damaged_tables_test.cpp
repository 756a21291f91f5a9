// Damaged tables at start-up: the program reaches its main window, keeps the damaged bytes under
// a new name and says so once, in German.
#include <QApplication>

#include "app/main_window.h"
#include "app/startup.h"
#include "core/catalogue.h"
#include "core/dbf.h"
#include "support/gui_fixture.h"

namespace vestral::test {
namespace {

class DamagedTablesAtStartTest : public GuiTest {
  protected:
    app::StartupOptions options() const {
        app::StartupOptions o;
        o.dir = dir();
        o.show_about = false;
        o.show_disclaimer = false;
        o.desktop = QRect(0, 0, 1600, 1200);
        return o;
    }
};

TEST_F(DamagedTablesAtStartTest, DamagedHeaderAndEmptyTableStillReachTheMainWindow) {
    {
        app::Session first(options());
        ASSERT_EQ(first.start(), app::StartOutcome::Running);
    }
    std::string header = dir_.read("HYPOBANK.DBF");
    header[10] = 1;  // the record length no longer fits the fields
    dir_.write("HYPOBANK.DBF", header);
    dir_.write("BAUSPAR.DBF", "");
    clearMessages();

    app::Session s(options());
    ASSERT_EQ(s.start(), app::StartOutcome::Running);
    ASSERT_NE(s.window(), nullptr);
    EXPECT_TRUE(s.window()->isVisible());
    ASSERT_EQ(messages().size(), 1u) << "one message for both tables";
    const QString text = messages()[0].text;
    EXPECT_EQ(messages()[0].title, "Problem");
    EXPECT_TRUE(text.startsWith("Beschädigte Tabellen wurden beiseitegelegt:")) << text.toStdString();
    EXPECT_TRUE(text.contains("Der Tabellenkopf von HYPOBANK.DBF ist beschädigt.")) << text.toStdString();
    EXPECT_TRUE(text.contains("als HYPOBANK.DEFEKT aufbewahrt")) << text.toStdString();
    EXPECT_TRUE(text.contains("Die Tabelle BAUSPAR.DBF ist leer (0 Byte).")) << text.toStdString();
    EXPECT_TRUE(text.contains("als BAUSPAR.DEFEKT aufbewahrt")) << text.toStdString();
    EXPECT_FALSE(text.contains("Corruption")) << text.toStdString();

    EXPECT_EQ(dir_.read("HYPOBANK.DEFEKT"), header) << "the damaged bytes are kept";
    EXPECT_EQ(dir_.read("BAUSPAR.DEFEKT"), "");
    EXPECT_EQ(dbfread_view(dir() / "HYPOBANK.DBF", "BANKNAME").substr(0, 11), "0 BANKNAME ");
    EXPECT_EQ(dbfread_view(dir() / "BAUSPAR.DBF", "BANKNAME").substr(0, 11), "0 BANKNAME ");
}

TEST_F(DamagedTablesAtStartTest, ACutStoreKeepsItsWholePlansAndTheNextStartIsQuiet) {
    core::check_dbf(dir());
    {
        core::dbf::Table t;
        ASSERT_TRUE(t.open(dir() / "KREDBANK.DBF", "DKRED"));
        for (const char* name : {"Sparkasse", "Volksbank", "Hausbank"}) {
            t.append_blank();
            t.set_str("BANKNAME", name);
        }
    }
    std::string bytes = dir_.read("KREDBANK.DBF");
    bytes.resize(bytes.size() - 10);
    dir_.write("KREDBANK.DBF", bytes);

    {
        app::Session s(options());
        ASSERT_EQ(s.start(), app::StartOutcome::Running);
        ASSERT_EQ(messages().size(), 1u);
        EXPECT_TRUE(messages()[0].text.contains("2 Datensätze konnten gelesen werden"))
            << messages()[0].text.toStdString();
        EXPECT_TRUE(messages()[0].text.contains("KREDBANK.DEFEKT")) << messages()[0].text.toStdString();
    }
    EXPECT_EQ(
        dbfread_view(dir() / "KREDBANK.DBF", "BANKNAME"), std::string("2 ") + [] {
            std::string names;
            for (const auto& f : core::catalogue_layout("KREDBANK"))
                names += (names.empty() ? "" : " ") + f.name;
            return names;
        }() + "\nSparkasse\nVolksbank\n");
    clearMessages();
    app::Session again(options());
    ASSERT_EQ(again.start(), app::StartOutcome::Running);
    EXPECT_TRUE(messages().empty());
}

}  // namespace
}  // namespace vestral::test
