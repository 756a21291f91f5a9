#include "app/startup.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLocale>
#include <QScreen>
#include <QStandardPaths>
#include <QTimer>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "app/calculators.h"
#include "app/geometry.h"
#include "app/main_window.h"
#include "app/startup_dialogs.h"
#include "core/catalogue.h"
#include "core/files.h"
#include "core/program_settings.h"
#include "toolkit/fonts.h"
#include "toolkit/help.h"
#include "toolkit/messages.h"
#include "toolkit/shell.h"
#include "toolkit/wait_cursor.h"
#include "ui/blocks.h"

#include "errors/errorsys.h"
#include "errors/printerr.h"

namespace vestral::app {

namespace fs = std::filesystem;

#ifndef VESTRAL_SHARE_FROM_BIN
#define VESTRAL_SHARE_FROM_BIN "../share/vestralon"
#endif

namespace {

QString qpath(const fs::path& p) {
    return QString::fromStdString(p.string());
}

// F1 in any window of the program, modal dialogs included (a QShortcut on the main window is
// blocked while a calculator's modal dialog is open).
class HelpKey : public QObject {
  protected:
    bool eventFilter(QObject* watched, QEvent* e) override {
        if (e->type() == QEvent::KeyPress && watched->isWidgetType()) {
            auto* k = static_cast<QKeyEvent*>(e);
            if (k->key() == Qt::Key_F1 && k->modifiers() == Qt::NoModifier) {
                QWidget* w = static_cast<QWidget*>(watched)->window();
                ui::run_guarded(w, [w] { toolkit::help::show_current(w); });
                return true;
            }
        }
        return QObject::eventFilter(watched, e);
    }
};

}  // namespace

ProgramPlaces program_places(const fs::path& exe_dir, const fs::path& user_data) {
    const fs::path share = (exe_dir / VESTRAL_SHARE_FROM_BIN).lexically_normal();
    // An installed program: its default files under <prefix>/share, none of the user's beside it.
    const bool installed =
        core::exists_ci(share, core::kIniName) && !core::exists_ci(exe_dir, core::kIniName);
    ProgramPlaces places;
    places.shared = installed ? share : exe_dir;
    if (!installed && QFileInfo(qpath(exe_dir)).isWritable()) {
        places.user = exe_dir;
        return places;
    }
    places.user = user_data;
    QDir().mkpath(qpath(user_data));
    if (!core::exists_ci(user_data, core::kIniName) && core::exists_ci(places.shared, core::kIniName)) {
        const QString copy = qpath(user_data / core::kIniName);
        QFile::copy(qpath(core::resolve_ci(places.shared, core::kIniName)), copy);
        QFile::setPermissions(copy, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    }
    return places;
}

fs::path program_directory() {
    const ProgramPlaces places = program_places(
        fs::path(QCoreApplication::applicationDirPath().toStdString()),
        fs::path(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation).toStdString()));
    toolkit::set_default_files_dir(places.shared);
    return places.user;
}

void install_application_wide() {
    static bool done = false;
    if (done || !qApp) return;
    done = true;
    toolkit::use_german_qt();
    toolkit::install_font_substitutions();
    auto* help_key = new HelpKey;
    help_key->setParent(qApp);  // goes with the application
    qApp->installEventFilter(help_key);
}

InstanceLock::~InstanceLock() {
    if (fd_ >= 0) ::close(fd_);
}

bool InstanceLock::acquire(const fs::path& dir) {
    const fs::path file = dir / "vestralon.lock";
    int fd = ::open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        // A lock file this user may not even read is no running instance of this user's program.
        ::unlink(file.c_str());
        fd = ::open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    }
    if (fd < 0) return true;  // nothing to lock with: the directory decides the start, not the lock
    int r;
    do r = ::flock(fd, LOCK_EX | LOCK_NB);
    while (r != 0 && errno == EINTR);
    if (r != 0 && errno == EWOULDBLOCK) {
        ::close(fd);
        return false;
    }
    fd_ = fd;
    const std::string pid = std::to_string(::getpid()) + "\n";
    if (::ftruncate(fd_, 0) == 0 && ::write(fd_, pid.data(), pid.size()) < 0) {
        // The content is for people only; the lock holds without it.
    }
    return true;
}

Session::Session(StartupOptions options) : options_(std::move(options)) {
    if (options_.dir.empty()) options_.dir = program_directory();
}

Session::~Session() = default;

bool Session::lock() {
    lock_ = std::make_unique<InstanceLock>();
    if (lock_->acquire(options_.dir)) {
        // Only now no other run can be writing them.
        core::remove_settings_temporaries(options_.dir);
        return true;
    }
    lock_.reset();
    toolkit::stop(nullptr, "Problem", "Vestralon läuft bereits.");
    return false;
}

bool Session::prepare_files() {
    QDir::setCurrent(qpath(options_.dir));
    const core::SettingsStart state = core::prepare_settings_file(options_.dir);
    QDir(qpath(options_.dir)).mkpath("Errors");
    if (state == core::SettingsStart::Defaults) {
        toolkit::warning(nullptr, "Problem",
                         "Die Einstellungsdatei VESTRAL.INI und ihre Sicherungskopie VESTRAL.SAV sind nicht "
                         "lesbar.\rVestralon startet mit den Standardeinstellungen.");
    }
    if (!core::exists_ci(options_.dir, core::kIniName)) {
        toolkit::stop(
            nullptr, "Problem",
            "Die Vestralon muß zuerst installiert werden.\rStarten Sie dazu VESTRALON.EXE von der CDROM!");
        return false;
    }
    return true;
}

void Session::load_settings() {
    core::ProgramSettings& s = core::settings();
    s = core::ProgramSettings{};
    s.dir = options_.dir;
    core::setpublics(s, true);
    // From here the crash log knows the program directory and its name.
    if (options_.install_fault_handler) errors::errorsys();
}

void Session::prepare_tables() {
    std::vector<core::SetAside> set_aside;
    {
        toolkit::WaitCursor wait;
        ui::run_guarded(nullptr, [&] { set_aside = core::check_dbf(options_.dir); });
    }
    // One message for all of them, after the wait cursor is gone; the program then starts as usual.
    if (!set_aside.empty())
        toolkit::warning(nullptr, "Problem", QString::fromStdString(core::set_aside_message(set_aside)));
}

void Session::open_main_window() {
    namespace help = toolkit::help;
    help::set_topic(help::kMainTopic);
    core::ProgramSettings& s = core::settings();
    QScreen* screen = QGuiApplication::primaryScreen();
    const QRect desktop = options_.desktop ? *options_.desktop : (screen ? screen->geometry() : QRect());
    const QRect available =
        options_.desktop ? *options_.desktop : (screen ? screen->availableGeometry() : QRect());

    window_ = std::make_unique<MainWindow>();
    if (opens_maximised(s, desktop)) {
        window_->showMaximized();
        return;
    }
    const QRect frame = initial_frame(s.window, available);
    window_->resize(frame.size());
    window_->move(frame.topLeft());
    window_->show();
    // The frame the window manager adds is part of the stored outer rectangle.
    const QRect outer = window_->frameGeometry();
    if (outer.size() != window_->size()) {
        window_->resize(frame.size() - (outer.size() - window_->size()));
        window_->move(frame.topLeft());
    }
    QCoreApplication::processEvents();
    window_->setTracking(true);
}

StartOutcome Session::start() {
    if (!lock()) return StartOutcome::AlreadyRunning;
    if (!prepare_files()) return StartOutcome::NotInstalled;
    load_settings();
    install_application_wide();
    toolkit::help::set_file("VESTRAL.HLP");
    register_calculators();
    if (options_.show_about) aboutinfo(nullptr, true, options_.about_close_ms);
    if (options_.show_disclaimer && haftung(nullptr) == DisclaimerOutcome::Quit)
        return StartOutcome::Declined;
    offer_pending_error_log();
    prepare_tables();
    open_main_window();
    return StartOutcome::Running;
}

void Session::finish() {
    if (finished_) return;
    finished_ = true;
    if (window_) {
        window_->flushGeometry();
        window_->setTracking(false);
    }
    putsetup(core::settings(), nullptr);
}

void offer_pending_error_log() {
    errors::printerr(nullptr);
}

int run_main(const StartupOptions& options) {
    Session session(options);
    if (session.start() != StartOutcome::Running) return 0;
    QObject::connect(session.window(), &MainWindow::closed, qApp, &QCoreApplication::quit);
    if (auto* app = dynamic_cast<errors::Application*>(QCoreApplication::instance()))
        app->run();
    else
        QApplication::exec();
    session.finish();
    return 0;
}

}  // namespace vestral::app
