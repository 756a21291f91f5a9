// Where a run keeps the user's files and where it reads the program's own files.
#include <QFile>

#include "app/startup.h"
#include "core/files.h"
#include "support/gui_fixture.h"
#include "toolkit/shell.h"

namespace vestral::test {
namespace {

namespace fs = std::filesystem;

class ProgramPlacesTest : public GuiTest {
  protected:
    void TearDown() override {
        toolkit::set_default_files_dir({});
        GuiTest::TearDown();
    }
    TempDir root_;
    fs::path user() const { return root_ / "home/.local/share/Vestralon"; }
};

TEST_F(ProgramPlacesTest, ProgramDirectoryOfItsOwnKeepsEverythingBesideTheProgram) {
    const fs::path dist = root_ / "dist";
    fs::create_directories(dist / "info");
    root_.write("dist/VESTRAL.INI", "[Setup]\n");
    const auto p = app::program_places(dist, user());
    EXPECT_EQ(p.user, dist);
    EXPECT_EQ(p.shared, dist);
    EXPECT_FALSE(fs::exists(user()));
}

TEST_F(ProgramPlacesTest, InstalledProgramGetsTheUsersDataDirectoryWithTheDefaultSettings) {
    fs::create_directories(root_ / "usr/bin");
    fs::create_directories(root_ / "usr/share/vestralon/info");
    root_.write("usr/share/vestralon/VESTRAL.INI", "[Project]\nProgram=Vorgabe\n");
    const auto p = app::program_places(root_ / "usr/bin", user());
    EXPECT_EQ(p.user, user());
    EXPECT_EQ(p.shared, root_ / "usr/share/vestralon");
    EXPECT_EQ(root_.read("home/.local/share/Vestralon/VESTRAL.INI"), "[Project]\nProgram=Vorgabe\n");
    EXPECT_EQ(fs::status(user() / "VESTRAL.INI").permissions() & fs::perms::owner_write,
              fs::perms::owner_write);
    // The user's settings survive the next start.
    root_.write("home/.local/share/Vestralon/VESTRAL.INI", "[Project]\nProgram=Eigen\n");
    app::program_places(root_ / "usr/bin", user());
    EXPECT_EQ(root_.read("home/.local/share/Vestralon/VESTRAL.INI"), "[Project]\nProgram=Eigen\n");
}

TEST_F(ProgramPlacesTest, HelpAndDocumentsComeFromTheProgramsOwnFiles) {
    const fs::path shared = root_ / "share";
    fs::create_directories(shared / "info");
    fs::create_directories(shared / "text");
    root_.write("share/text/Bauvertrag.doc", "{\\rtf1}");
    toolkit::set_default_files_dir(shared);
    EXPECT_EQ(toolkit::default_files_dir(), shared);
    EXPECT_TRUE(toolkit::open_document(nullptr, "text/Bauvertrag.doc"));
    ASSERT_EQ(opened().size(), 1u);
    EXPECT_EQ(opened()[0].toStdString(), (shared / "text/Bauvertrag.doc").string());
    // Without a place set: the program directory of the settings, as tests and dist/ have it.
    toolkit::set_default_files_dir({});
    EXPECT_EQ(toolkit::default_files_dir(), dir());
}

}  // namespace
}  // namespace vestral::test
