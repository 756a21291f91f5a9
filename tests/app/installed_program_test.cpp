// The program installed with `cmake --install` into a staging root (DESTDIR), started from a program
// directory it may not write, with a fresh home: the user's files go to the user's data directory,
// the program's own files are read from <prefix>/share/vestralon, and the desktop files validate.
#include <unistd.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTextBrowser>
#include <QThread>
#include <chrono>
#include <map>

#include "app/startup.h"
#include "core/files.h"
#include "support/gui_fixture.h"
#include "toolkit/help.h"
#include "toolkit/shell.h"

namespace vestral::test {
namespace {

namespace fs = std::filesystem;

const char* kAppId = "example.veltrano_systemhaus.vestralon";

QString q(const fs::path& p) {
    return QString::fromStdString(p.string());
}

// Runs a program to its end; returns exit code and output.
std::pair<int, QString> run(const QString& program, const QStringList& args,
                            const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment()) {
    QProcess p;
    p.setProcessEnvironment(env);
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(program, args);
    if (!p.waitForStarted(10000)) return {-1, program + " startet nicht"};
    p.waitForFinished(300000);
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, QString::fromLocal8Bit(p.readAll())};
}

// Every file and folder under `root` with size, time and mode, to see that a run changed nothing.
std::map<std::string, std::string> snapshot(const fs::path& root) {
    std::map<std::string, std::string> s;
    for (const auto& e : fs::recursive_directory_iterator(root)) {
        QFileInfo i(q(e.path()));
        s[e.path().string()] = std::to_string(i.size()) + " " +
                               std::to_string(i.lastModified().toMSecsSinceEpoch()) + " " +
                               std::to_string(static_cast<int>(i.permissions()));
    }
    return s;
}

bool wait_for(const std::function<bool()>& done, int seconds) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    while (std::chrono::steady_clock::now() < end) {
        if (done()) return true;
        QThread::msleep(200);
    }
    return done();
}

long count_tables(const fs::path& dir) {
    if (!fs::is_directory(dir)) return 0;
    long n = 0;
    for (const auto& e : fs::directory_iterator(dir))
        if (QFileInfo(q(e.path())).suffix().compare("dbf", Qt::CaseInsensitive) == 0) ++n;
    return n;
}

class InstalledProgram : public GuiTest {
  protected:
    void TearDown() override {
        toolkit::set_default_files_dir({});
        // Writable again, so the staging root can be removed.
        run("chmod", {"-R", "u+w", q(stage_.path())});
        GuiTest::TearDown();
    }

    // Starts the installed program as a user who may not write the program directory (the
    // super-user would be allowed to); it runs until killed.
    void start(QProcess& p, const fs::path& exe, const fs::path& home) {
        QProcessEnvironment env;
        env.insert("HOME", q(home));
        env.insert("PATH", "/usr/bin:/bin");
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("LC_ALL", "C.UTF-8");
        env.insert("ASAN_OPTIONS", "detect_leaks=0");
        p.setProcessEnvironment(env);
        p.setProcessChannelMode(QProcess::MergedChannels);
        if (::geteuid() == 0)
            p.start("setpriv", {"--reuid=65534", "--regid=65534", "--clear-groups", "--", q(exe)});
        else
            p.start(q(exe), {});
        ASSERT_TRUE(p.waitForStarted(10000));
    }

    TempDir stage_;
};

TEST_F(InstalledProgram, InstallsToAPrefixAndRunsWithTheUsersFilesInTheDataDirectory) {
    // Install.
    const fs::path root = stage_ / "root";
    auto env = QProcessEnvironment::systemEnvironment();
    env.insert("DESTDIR", q(root));
    auto [rc, out] = run("cmake", {"--install", VESTRAL_BINARY_DIR, "--prefix", "/usr/local"}, env);
    ASSERT_EQ(rc, 0) << out.toStdString();
    const fs::path prefix = root / "usr/local";
    const fs::path share = prefix / "share/vestralon";
    for (const fs::path& f :
         {prefix / "bin/vestralon", share / "VESTRAL.INI", share / "info/VESTRAL.html",
          share / "info/Lexikon.html", share / "info/EStG.pdf", share / "text/Bauvertrag.doc",
          prefix / "share/applications" / (std::string(kAppId) + ".desktop"),
          prefix / "share/metainfo" / (std::string(kAppId) + ".metainfo.xml"),
          prefix / "share/icons/hicolor/scalable/apps" / (std::string(kAppId) + ".svg")})
        EXPECT_TRUE(fs::is_regular_file(f)) << f;

    // The desktop entry and the metainfo as desktops and software centres check them.
    std::tie(rc, out) =
        run("desktop-file-validate", {q(prefix / "share/applications" / (std::string(kAppId) + ".desktop"))});
    EXPECT_EQ(rc, 0) << out.toStdString();
    EXPECT_TRUE(out.trimmed().isEmpty()) << out.toStdString();
    std::tie(rc, out) =
        run("appstreamcli", {"validate", "--no-net", "--pedantic",
                             q(prefix / "share/metainfo" / (std::string(kAppId) + ".metainfo.xml"))});
    EXPECT_EQ(rc, 0) << out.toStdString();
    QFile desktop_file(q(prefix / "share/applications" / (std::string(kAppId) + ".desktop")));
    ASSERT_TRUE(desktop_file.open(QIODevice::ReadOnly));
    const QString desktop = QString::fromUtf8(desktop_file.readAll());
    EXPECT_TRUE(desktop.contains("\nCategories=Office;Finance;\n"));
    // Started by its place under the prefix, not under the staging root.
    EXPECT_TRUE(desktop.contains("\nExec=/usr/local/bin/vestralon\n")) << desktop.toStdString();
    EXPECT_TRUE(
        desktop.contains("\nComment=Kauf, Bau, Finanzierung und Vermietung eines Eigenheims durchrechnen\n"));

    // A read-only program directory and a fresh home.
    ASSERT_EQ(run("chmod", {"-R", "a-w", q(root)}).first, 0);
    ASSERT_EQ(run("chmod", {"755", q(stage_.path())}).first, 0);
    const fs::path home = stage_ / "home";
    fs::create_directories(home);
    if (::geteuid() == 0) {
        ASSERT_EQ(::chown(home.c_str(), 65534, 65534), 0);
    }
    const auto before = snapshot(root);
    const fs::path data = home / ".local/share/Veltrano Systemhaus/Vestralon";

    // First start: the settings file is copied from the installed defaults; the disclaimer waits.
    {
        QProcess p;
        start(p, prefix / "bin/vestralon", home);
        EXPECT_TRUE(wait_for([&] { return core::exists_ci(data, "VESTRAL.INI"); }, 120))
            << p.readAll().toStdString();
        QThread::msleep(500);
        p.kill();
        p.waitForFinished();
    }
    ASSERT_TRUE(fs::is_regular_file(data / "VESTRAL.INI"));
    // The user ticked "Diese Information in Zukunft nicht mehr anzeigen !" there.
    {
        core::IniFile ini(data / "VESTRAL.INI");
        ASSERT_TRUE(ini.set("Setup", "HaftInf", "1"));
        // The program keeps its backup copy equal to the settings file; a start restores it.
        fs::copy_file(data / "VESTRAL.INI", data / "VESTRAL.SAV", fs::copy_options::overwrite_existing);
    }
    // Second start: up to the main window, with every table made in the data directory.
    {
        QProcess p;
        start(p, prefix / "bin/vestralon", home);
        EXPECT_TRUE(wait_for([&] { return count_tables(data) >= 14; }, 120)) << count_tables(data);
        QThread::msleep(1000);
        EXPECT_EQ(p.state(), QProcess::Running) << p.readAll().toStdString();
        p.kill();
        p.waitForFinished();
    }
    EXPECT_EQ(count_tables(data), 14);
    EXPECT_TRUE(fs::is_directory(data / "Errors"));
    EXPECT_EQ(snapshot(root), before) << "the run wrote under the prefix";

    // The places the installed program works out for itself, and what they find under the prefix.
    const auto places = app::program_places(prefix / "bin", data);
    EXPECT_EQ(places.user, data);
    EXPECT_EQ(places.shared, share);
    toolkit::set_default_files_dir(places.shared);
    EXPECT_TRUE(toolkit::open_document(nullptr, "text/Bauvertrag.doc"));
    EXPECT_TRUE(toolkit::open_document(nullptr, "info/EStG.pdf"));
    ASSERT_EQ(opened().size(), 2u);
    EXPECT_EQ(opened()[0], q(share / "text/Bauvertrag.doc"));
    toolkit::help::set_recorder({});
    toolkit::help::show_topic(nullptr, "VESTRAL.HLP", "Export");
    QApplication::processEvents();
    EXPECT_TRUE(messages().empty()) << lastMessage().toStdString();
    QWidget* help = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == "helpWindow" && w->isVisible()) help = w;
    ASSERT_NE(help, nullptr);
    auto* page = help->findChild<QTextBrowser*>();
    ASSERT_NE(page, nullptr);
    EXPECT_TRUE(page->toPlainText().contains("CSV-Datei")) << page->toPlainText().left(300).toStdString();
    help->close();
}

}  // namespace
}  // namespace vestral::test
