// The start-up sequence, the window geometry rules and the end of a run.
#include <QApplication>
#include <QFile>
#include <QLockFile>
#include <QTest>

#include "app/geometry.h"
#include "app/main_window.h"
#include "app/startup.h"
#include "core/files.h"
#include "support/core_file_writes.h"
#include "support/gui_fixture.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <QElapsedTimer>
#include <csignal>

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
    // An edit made outside the program: the backup copy does not follow it.
    void handEdit(const char* section, const char* key, const char* value) {
        core::IniFile(dir() / "VESTRAL.INI").set(section, key, value);
    }
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
    handEdit("Project", "Program", "Von Hand");
    {
        Session s(options());
        ASSERT_EQ(s.start(), StartOutcome::Running);
        EXPECT_EQ(core::settings().pcrelease1, "VSH Vestralon");
        EXPECT_EQ(get("Project", "Program"), "VSH Vestralon");
    }
    dir_.write("VESTRAL.SAV", "");
    handEdit("Project", "Program", "Von Hand");
    Session s(options());
    ASSERT_EQ(s.start(), StartOutcome::Running);
    EXPECT_EQ(core::settings().pcrelease1, "Von Hand");
}

TEST_F(StartupTest, WithoutSettingsFileTheStopMessageEndsTheProgramWithoutWindow) {
    std::filesystem::remove(dir() / "VESTRAL.INI");
    std::filesystem::remove(dir() / "VESTRAL.SAV");  // a backup alone would be restored
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

TEST_F(StartupTest, MovesInQuickSuccessionAreWrittenAtMostEveryPauseAndTheLastOneAlways) {
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

// The single-instance lock and what a killed run leaves behind.

// Another process that holds the lock of `dir` until it is destroyed.
class OtherInstance {
  public:
    explicit OtherInstance(const std::filesystem::path& dir) {
        // The child only makes system calls: nothing that could wait for a lock of another thread.
        const std::string file = (dir / "vestralon.lock").string();
        int ready[2];
        if (::pipe(ready) != 0) return;
        pid_ = ::fork();
        if (pid_ == 0) {
            int fd = ::open(file.c_str(), O_RDWR | O_CREAT, 0644);
            char ok = (fd >= 0 && ::flock(fd, LOCK_EX) == 0) ? '1' : '0';
            (void)!::write(ready[1], &ok, 1);
            for (;;) ::pause();
        }
        ::close(ready[1]);
        char ok = '0';
        (void)!::read(ready[0], &ok, 1);
        ::close(ready[0]);
        locked_ = ok == '1';
    }
    ~OtherInstance() {
        if (pid_ > 0) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
    }
    bool locked() const { return locked_; }

  private:
    pid_t pid_ = -1;
    bool locked_ = false;
};

TEST_F(StartupTest, AnEmptyOrUnreadableLockFileLeftBehindNeverBlocksAStart) {
    dir_.write("vestralon.lock", "");
    {
        Session s(options());
        EXPECT_EQ(s.start(), StartOutcome::Running);
        EXPECT_NE(s.window(), nullptr);
    }
    ::chmod((dir() / "vestralon.lock").c_str(), 0);
    Session s(options());
    EXPECT_EQ(s.start(), StartOutcome::Running);
    EXPECT_TRUE(messages().empty());
}

TEST_F(StartupTest, ALockHeldByAnotherRunningProcessRefusesTheStartUntilThatProcessEnds) {
    auto other = std::make_unique<OtherInstance>(dir());
    ASSERT_TRUE(other->locked());
    {
        Session s(options());
        EXPECT_EQ(s.start(), StartOutcome::AlreadyRunning);
        ASSERT_EQ(messages().size(), 1u);
        EXPECT_EQ(messages()[0].text, "Vestralon läuft bereits.");
    }
    other.reset();  // however it ends, the kernel releases its lock
    clearMessages();
    Session s(options());
    EXPECT_EQ(s.start(), StartOutcome::Running);
    EXPECT_TRUE(messages().empty());
}

TEST_F(StartupTest, TheSettingsTemporariesOfAKilledRunGoButNothingElse) {
    dir_.write("VESTRAL.INI.tmp123456", "[Setup]\nhalb");
    dir_.write("VESTRAL.SAV.tmp42", "");
    dir_.write("notes.tmp", "eigene Notizen");
    dir_.write("VESTRAL.INI.tmpx1", "kein Zwischenstand des Programms");
    {
        // While another run holds the lock, its temporaries may be in use: they stay.
        OtherInstance other(dir());
        ASSERT_TRUE(other.locked());
        Session s(options());
        EXPECT_EQ(s.start(), StartOutcome::AlreadyRunning);
        EXPECT_TRUE(std::filesystem::exists(dir() / "VESTRAL.INI.tmp123456"));
    }
    Session s(options());
    ASSERT_EQ(s.start(), StartOutcome::Running);
    EXPECT_FALSE(std::filesystem::exists(dir() / "VESTRAL.INI.tmp123456"));
    EXPECT_FALSE(std::filesystem::exists(dir() / "VESTRAL.SAV.tmp42"));
    EXPECT_EQ(dir_.read("notes.tmp"), "eigene Notizen");
    EXPECT_TRUE(std::filesystem::exists(dir() / "VESTRAL.INI.tmpx1"));
}

// The settings file and its backup copy.

TEST_F(StartupTest, AWindowDraggedForTwoSecondsWritesTheSettingsFileAtMostFourTimes) {
    Session s(options());
    ASSERT_EQ(s.start(), StartOutcome::Running);
    FileWrites writes(dir(), "VESTRAL.INI");
    QElapsedTimer drag;
    drag.start();
    int step = 0;
    while (drag.elapsed() < 2000) {
        ++step;
        s.window()->move(100 + step % 300, 80 + step % 200);
        QTest::qWait(10);
    }
    const QPoint last = s.window()->pos();
    QTest::qWait(app::kGeometrySaveInterval * 2 + 200);
    EXPECT_FALSE(s.window()->geometryPending());
    const int count = writes.count();
    EXPECT_GE(count, 2);
    EXPECT_LE(count, 4);
    EXPECT_EQ(get("System", "Top"), std::to_string(s.window()->frameGeometry().top()));
    EXPECT_EQ(get("System", "Left"), std::to_string(last.x()));
    EXPECT_EQ(dir_.read("VESTRAL.SAV"), iniBytes());
}

TEST_F(StartupTest, EverySettingsWriteRefreshesTheBackupSoAKilledRunKeepsWhatItSaved) {
    {
        Session s(options());
        ASSERT_EQ(s.start(), StartOutcome::Running);
        app::putsetup(core::settings(), nullptr);  // a backup copy from before the input
        ASSERT_TRUE(ini().set_many("KAUFMIET", {{"Kaufpreis", "250000.00"}}));
        EXPECT_EQ(dir_.read("VESTRAL.SAV"), iniBytes());
        // The run ends without its end: no geometry save, no backup copy at the close.
    }
    Session s(options());
    ASSERT_EQ(s.start(), StartOutcome::Running);
    EXPECT_EQ(get("KAUFMIET", "Kaufpreis"), "250000.00");
}

TEST_F(StartupTest, ADamagedSettingsFileIsReplacedFromTheBackup) {
    core::write_backup(dir());
    const std::string good = iniBytes();
    dir_.write("VESTRAL.INI", std::string(4096, '\0'));
    Session s(options());
    ASSERT_EQ(s.start(), StartOutcome::Running);
    EXPECT_EQ(core::settings().pcrelease1, "VSH Vestralon");
    EXPECT_EQ(get("Project", "Program"), "VSH Vestralon");
    EXPECT_TRUE(messages().empty());
    EXPECT_EQ(good.substr(0, 40), iniBytes().substr(0, 40));
}

TEST_F(StartupTest, WhenNeitherSettingsFileNorBackupCanBeReadTheProgramSaysSoOnceAndStartsWithDefaults) {
    dir_.write("VESTRAL.INI", std::string(4096, '\0'));
    dir_.write("VESTRAL.SAV", "");
    {
        Session s(options());
        ASSERT_EQ(s.start(), StartOutcome::Running);
        EXPECT_NE(s.window(), nullptr);
        ASSERT_EQ(messages().size(), 1u);
        EXPECT_EQ(messages()[0].title, "Problem");
        EXPECT_EQ(
            messages()[0].text,
            "Die Einstellungsdatei VESTRAL.INI und ihre Sicherungskopie VESTRAL.SAV sind nicht lesbar.\n"
            "Vestralon startet mit den Standardeinstellungen.");
        EXPECT_EQ(core::settings().pcrelease1, "VSH Vestralon");
        EXPECT_EQ(core::settings().ns_winsize, 2);
        EXPECT_EQ(iniBytes().find('\0'), std::string::npos);
        s.window()->close();
        s.finish();
    }
    // From now on the settings are usable again: the next start says nothing.
    clearMessages();
    Session next(options());
    ASSERT_EQ(next.start(), StartOutcome::Running);
    EXPECT_TRUE(messages().empty());
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
