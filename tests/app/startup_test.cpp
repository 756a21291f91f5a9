// The start-up sequence, the window geometry rules and the end of a run.
#include <QApplication>
#include <QFile>
#include <QLockFile>
#include <QTest>

#include "app/geometry.h"
#include "app/main_window.h"
#include "app/startup.h"
#include "core/files.h"
#include "support/gui_fixture.h"

namespace vestral::test {
namespace {

using app::Session;
using app::StartOutcome;
using app::StartupOptions;

const QRect kDesktop(0, 0, 1600, 1200);

class StartupTest : public GuiTest {
  protected:
    StartupOptions options() const {
        StartupOptions o;
        o.dir = dir();
        o.show_about = false;
        o.show_disclaimer = false;
        o.desktop = kDesktop;
        return o;
    }
    std::string iniBytes() const { return dir_.read("VESTRAL.INI"); }
    std::string get(const char* section, const char* key) const { return ini().get(section, key, "<none>"); }
    void setIni(const char* section, const char* key, const char* value) { ini().set(section, key, value); }
};

TEST_F(StartupTest, FirstStartWithOnlyTheBackupRestoresTheSettingsFile) {
    std::string original = iniBytes();
    std::filesystem::rename(dir() / "VESTRAL.INI", dir() / "VESTRAL.SAV");
    Session s(options());
    ASSERT_EQ(s.start(), StartOutcome::Running);
    ASSERT_NE(s.window(), nullptr);
    EXPECT_TRUE(s.window()->isVisible());
    EXPECT_EQ(core::settings().pcrelease1, "VSH Vestralon");
    EXPECT_TRUE(core::exists_ci(dir(), "VESTRAL.INI"));
    EXPECT_TRUE(std::filesystem::is_directory(dir() / "Errors"));
    EXPECT_TRUE(messages().empty());
}

TEST_F(StartupTest, HandEditedSettingsFileIsReplacedByTheBackupButAnEmptyBackupIsIgnored) {
    core::write_backup(dir());
    setIni("Project", "Program", "Von Hand");
    {
        Session s(options());
        ASSERT_EQ(s.start(), StartOutcome::Running);
        EXPECT_EQ(core::settings().pcrelease1, "VSH Vestralon");
        EXPECT_EQ(get("Project", "Program"), "VSH Vestralon");
    }
    dir_.write("VESTRAL.SAV", "");
    setIni("Project", "Program", "Von Hand");
    Session s(options());
    ASSERT_EQ(s.start(), StartOutcome::Running);
    EXPECT_EQ(core::settings().pcrelease1, "Von Hand");
}

TEST_F(StartupTest, WithoutSettingsFileTheStopMessageEndsTheProgramWithoutWindow) {
    std::filesystem::remove(dir() / "VESTRAL.INI");
    Session s(options());
    EXPECT_EQ(s.start(), StartOutcome::NotInstalled);
    EXPECT_EQ(s.window(), nullptr);
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(messages()[0].kind, toolkit::MsgKind::Stop);
    EXPECT_EQ(messages()[0].title, "Problem");
    EXPECT_EQ(messages()[0].text,
              "Die Vestralon muß zuerst installiert werden.\nStarten Sie dazu VESTRALON.EXE von der CDROM!");
    EXPECT_FALSE(core::exists_ci(dir(), "VESTRAL.INI"));
    EXPECT_FALSE(core::exists_ci(dir(), "VESTRAL.SAV"));
    EXPECT_FALSE(core::exists_ci(dir(), "HYPOBANK.DBF"));
}

TEST_F(StartupTest, SettingsFileIsFoundUnderAnySpellingOfItsName) {
    std::filesystem::rename(dir() / "VESTRAL.INI", dir() / "vestral.ini");
    Session s(options());
    EXPECT_EQ(s.start(), StartOutcome::Running);
    EXPECT_TRUE(messages().empty());
}

TEST_F(StartupTest, SecondInstanceInTheSameDirectoryEndsWithoutTouchingFiles) {
    Session first(options());
    ASSERT_EQ(first.start(), StartOutcome::Running);
    clearMessages();
    std::string before = iniBytes();
    std::filesystem::remove(dir() / "VESTRAL.SAV");
    Session second(options());
    EXPECT_EQ(second.start(), StartOutcome::AlreadyRunning);
    EXPECT_EQ(second.window(), nullptr);
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(messages()[0].text, "Vestralon läuft bereits.");
    EXPECT_EQ(messages()[0].title, "Problem");
    EXPECT_EQ(iniBytes(), before);
    EXPECT_FALSE(core::exists_ci(dir(), "VESTRAL.SAV"));
}

TEST_F(StartupTest, LockOfAnotherProcessThatEndedDoesNotBlock) {
    // A lock file whose process no longer exists is what a crash leaves behind.
    dir_.write("vestralon.lock", "999999\nvestralon\n" + QSysInfo::machineHostName().toStdString() + "\n");
    Session s(options());
    EXPECT_EQ(s.start(), StartOutcome::Running);
}

TEST_F(StartupTest, StartPreparesTheTablesLoadsSettingsAndSetsTheMainTopic) {
    setIni("Setup", "ERROR", "3");
    toolkit::help::set_topic("Irgendwas");
    Session s(options());
    ASSERT_EQ(s.start(), StartOutcome::Running);
    EXPECT_TRUE(core::exists_ci(dir(), "HYPOBANK.DBF"));
    EXPECT_EQ(core::settings().ns_error, 3);
    EXPECT_EQ(toolkit::help::topic(), "Hauptauswahl");
    EXPECT_EQ(toolkit::help::file(), "VESTRAL");
    EXPECT_EQ(QLocale().language(), QLocale::German);
}

TEST_F(StartupTest, NormalModeIgnoresStoredBottomAndRight) {
    ini().set_many("System", {{"Top", "50"}, {"Left", "60"}, {"Bottom", "900"}, {"Right", "1000"}});
    Session s(options());
    ASSERT_EQ(s.start(), StartOutcome::Running);
    EXPECT_FALSE(s.window()->isMaximized());
    EXPECT_EQ(s.window()->frameGeometry(), QRect(60, 50, 801, 601));
    EXPECT_TRUE(s.window()->tracking());
}

TEST_F(StartupTest, AnyModeOpensAtTheStoredRectangleClampedIntoTheScreen) {
    setIni("Setup", "WINSIZE", "3");
    ini().set_many("System", {{"Top", "100"}, {"Left", "1400"}, {"Bottom", "599"}, {"Right", "2099"}});
    Session s(options());
    ASSERT_EQ(s.start(), StartOutcome::Running);
    EXPECT_EQ(s.window()->frameGeometry(), QRect(900, 100, 700, 500));
}

TEST_F(StartupTest, MovingANormalWindowWritesTheNewCornerAndKeepsTheMode) {
    Session s(options());
    ASSERT_EQ(s.start(), StartOutcome::Running);
    std::filesystem::remove(dir() / "VESTRAL.SAV");
    s.window()->move(100, 120);
    QApplication::processEvents();
    EXPECT_EQ(get("System", "Top"), "120");
    EXPECT_EQ(get("System", "Left"), "100");
    EXPECT_EQ(get("System", "Bottom"), "720");
    EXPECT_EQ(get("System", "Right"), "900");
    EXPECT_EQ(get("System", "Coords"), std::to_string(120 + 100 + 720 + 900));
    EXPECT_EQ(get("Setup", "WINSIZE"), "2");
    EXPECT_EQ(get("Project", "Product"), "VSH Vestralon v4.13");
    EXPECT_EQ(dir_.read("VESTRAL.SAV"), iniBytes());
}

TEST_F(StartupTest, MovesInQuickSuccessionAreWrittenAtMostEvery500msAndTheLastOneAlways) {
    Session s(options());
    ASSERT_EQ(s.start(), StartOutcome::Running);
    s.window()->move(100, 100);
    QApplication::processEvents();
    EXPECT_EQ(get("System", "Top"), "100");
    s.window()->move(110, 110);
    s.window()->move(120, 130);
    QApplication::processEvents();
    EXPECT_EQ(get("System", "Top"), "100");  // within the pause
    EXPECT_TRUE(s.window()->geometryPending());
    QTRY_COMPARE_WITH_TIMEOUT(QString::fromStdString(get("System", "Top")), QString("130"), 2000);
    EXPECT_EQ(get("System", "Left"), "120");
}

TEST_F(StartupTest, PendingMoveIsWrittenBeforeTheBackupCopyAtTheEnd) {
    Session s(options());
    ASSERT_EQ(s.start(), StartOutcome::Running);
    s.window()->move(100, 100);
    s.window()->move(200, 210);
    QApplication::processEvents();
    ASSERT_TRUE(s.window()->geometryPending());
    s.window()->close();
    s.finish();
    EXPECT_EQ(get("System", "Top"), "210");
    EXPECT_EQ(dir_.read("VESTRAL.SAV"), iniBytes());
}

TEST_F(StartupTest, ResizingSwitchesToAnyModeAndWritesTheRectangle) {
    Session s(options());
    ASSERT_EQ(s.start(), StartOutcome::Running);
    s.window()->resize(900, 700);
    QApplication::processEvents();
    QTRY_COMPARE_WITH_TIMEOUT(QString::fromStdString(get("Setup", "WINSIZE")), QString("3"), 2000);
    const QRect f = s.window()->frameGeometry();
    EXPECT_EQ(get("System", "Top"), std::to_string(f.top()));
    EXPECT_EQ(get("System", "Bottom"), std::to_string(f.bottom()));
    EXPECT_EQ(get("System", "Right"), std::to_string(f.right()));
    EXPECT_GT(f.height(), 601);
    EXPECT_EQ(core::settings().ns_winsize, 3);
}

TEST_F(StartupTest, FullScreenModeOpensMaximisedAndWritesNothing) {
    setIni("Setup", "WINSIZE", "1");
    Session s(options());
    ASSERT_EQ(s.start(), StartOutcome::Running);
    EXPECT_TRUE(s.window()->isMaximized());
    EXPECT_FALSE(s.window()->tracking());
    std::string before = iniBytes();
    s.window()->showNormal();
    s.window()->move(30, 40);
    s.window()->resize(500, 400);
    QTest::qWait(50);
    EXPECT_EQ(iniBytes(), before);
}

TEST_F(StartupTest, StoredBottomAtOrBeyondTheDesktopBottomOpensMaximised) {
    setIni("Setup", "WINSIZE", "3");
    ini().set_many("System", {{"Top", "0"}, {"Left", "0"}, {"Bottom", "1200"}, {"Right", "900"}});
    {
        Session s(options());
        ASSERT_EQ(s.start(), StartOutcome::Running);
        EXPECT_TRUE(s.window()->isMaximized());
        EXPECT_FALSE(s.window()->tracking());
    }
    setIni("System", "Bottom", "1199");
    Session s(options());
    ASSERT_EQ(s.start(), StartOutcome::Running);
    EXPECT_FALSE(s.window()->isMaximized());
}

TEST_F(StartupTest, ClosingTheWindowWritesTheBackupCopy) {
    Session s(options());
    ASSERT_EQ(s.start(), StartOutcome::Running);
    std::filesystem::remove(dir() / "VESTRAL.SAV");
    s.window()->close();
    s.finish();
    ASSERT_TRUE(core::exists_ci(dir(), "VESTRAL.SAV"));
    EXPECT_EQ(dir_.read("VESTRAL.SAV"), iniBytes());
}

TEST_F(StartupTest, ValueWrittenDuringARunSurvivesTheNextStart) {
    {
        Session s(options());
        ASSERT_EQ(s.start(), StartOutcome::Running);
        setIni("KAUFMIET", "Kaufpreis", "250000.00");
        s.window()->close();
        s.finish();
    }
    Session s(options());
    ASSERT_EQ(s.start(), StartOutcome::Running);
    EXPECT_EQ(get("KAUFMIET", "Kaufpreis"), "250000.00");
}

// PUTSETUP and ISRESIZE on their own.
class GeometryTest : public GuiTest {};

TEST_F(GeometryTest, WindowAtTop2000InNormalModeIsNotWrittenButBackedUp) {
    auto& s = core::settings();
    s.ns_winsize = 2;
    std::string before = dir_.read("VESTRAL.INI");
    QRect frame(10, 2000, 801, 601);
    app::putsetup(s, &frame);
    EXPECT_EQ(dir_.read("VESTRAL.INI"), before);
    EXPECT_EQ(dir_.read("VESTRAL.SAV"), before);
    EXPECT_EQ(s.ns_winsize, 2);
}

TEST_F(GeometryTest, WindowAtTop2000InAnyModeIsWritten) {
    auto& s = core::settings();
    s.ns_winsize = 3;
    QRect frame(10, 2000, 500, 400);
    app::putsetup(s, &frame);
    EXPECT_EQ(ini().get("System", "Top", ""), "2000");
    EXPECT_EQ(ini().get("System", "Bottom", ""), "2399");
}

TEST_F(GeometryTest, DraggedAboveOrLeftOfTheScreenIsShiftedAndKeepsNormalMode) {
    auto& s = core::settings();
    s.ns_winsize = 2;
    QRect frame(-15, -20, 801, 601);
    app::putsetup(s, &frame);
    EXPECT_EQ(s.ns_winsize, 2);
    EXPECT_EQ(ini().get("Setup", "WINSIZE", ""), "2");
    EXPECT_EQ(ini().get("System", "Top", ""), "0");
    EXPECT_EQ(ini().get("System", "Left", ""), "0");
    EXPECT_EQ(ini().get("System", "Bottom", ""), "600");
    EXPECT_EQ(ini().get("System", "Right", ""), "800");
}

TEST_F(GeometryTest, FullScreenModeWritesNothingButTheBackup) {
    auto& s = core::settings();
    s.ns_winsize = 1;
    std::string before = dir_.read("VESTRAL.INI");
    QRect frame(0, 0, 801, 601);
    app::putsetup(s, &frame);
    EXPECT_EQ(dir_.read("VESTRAL.INI"), before);
    EXPECT_EQ(dir_.read("VESTRAL.SAV"), before);
}

TEST_F(GeometryTest, WithoutFrameOnlyTheBackupIsMade) {
    auto& s = core::settings();
    s.ns_winsize = 3;
    std::string before = dir_.read("VESTRAL.INI");
    app::putsetup(s, nullptr);
    EXPECT_EQ(dir_.read("VESTRAL.INI"), before);
    EXPECT_EQ(dir_.read("VESTRAL.SAV"), before);
}

TEST_F(GeometryTest, SizeTestComparesOnlyTheSumOfHeightAndWidth) {
    auto& s = core::settings();
    s.window = {0, 0, 600, 800};
    EXPECT_FALSE(app::isresize(s, QRect(50, 70, 801, 601)));
    EXPECT_TRUE(app::isresize(s, QRect(0, 0, 802, 601)));
    // Taller by as much as narrower counts as no change.
    EXPECT_FALSE(app::isresize(s, QRect(0, 0, 791, 611)));
}

TEST_F(GeometryTest, MaximisedWhenModeIsFullScreenOrStoredBottomReachesTheDesktopBottom) {
    auto& s = core::settings();
    s.ns_winsize = 2;
    s.window = {0, 0, 767, 800};
    EXPECT_FALSE(app::opens_maximised(s, QRect(0, 0, 1024, 768)));
    s.window.bottom = 768;
    EXPECT_TRUE(app::opens_maximised(s, QRect(0, 0, 1024, 768)));
    s.window.bottom = 600;
    s.ns_winsize = 1;
    EXPECT_TRUE(app::opens_maximised(s, QRect(0, 0, 1024, 768)));
}

TEST_F(GeometryTest, InitialFrameKeepsAFittingRectangleAndPullsAnOutlyingOneBack) {
    EXPECT_EQ(app::initial_frame({40, 40, 640, 840}, QRect(0, 0, 1024, 768)), QRect(40, 40, 801, 601));
    // A monitor that is gone: the window comes back onto the remaining one.
    EXPECT_EQ(app::initial_frame({100, 3000, 700, 3800}, QRect(0, 0, 1024, 768)), QRect(223, 100, 801, 601));
    EXPECT_EQ(app::initial_frame({0, 0, 1000, 1400}, QRect(0, 0, 1024, 768)), QRect(0, 0, 1024, 768));
}

}  // namespace
}  // namespace vestral::test
