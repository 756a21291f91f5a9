// MAIN: the start-up sequence from the program directory to the main window, and the end of a run.
// Split into a session with steps so tests can run it on their own directory and without the two
// modal dialogs of the start.
#pragma once

#include <QRect>
#include <filesystem>
#include <memory>
#include <optional>

namespace vestral::app {

// The single-instance lock: an operating-system lock on "vestralon.lock" in the program
// directory, which the kernel releases when the process ends, however it ends. The file's
// content does not matter (it holds the owner's process id for people looking at it), so an
// empty, unreadable or foreign file left behind never keeps the program from starting.
class InstanceLock {
  public:
    InstanceLock() = default;
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    // False when another running process holds the lock.
    bool acquire(const std::filesystem::path& dir);
    bool held() const { return fd_ >= 0; }

  private:
    int fd_ = -1;
};

class MainWindow;

struct StartupOptions {
    std::filesystem::path dir;     // the program directory; empty: program_directory()
    bool show_about = true;        // the start screen
    bool show_disclaimer = true;   // the disclaimer
    std::optional<QRect> desktop;  // the desktop's rectangle; empty: the primary screen
    int about_close_ms = 3000;
    // The fault handler with its error dialog, crash log and signal handlers (the real program;
    // tests script faults themselves).
    bool install_fault_handler = false;
};

enum class StartOutcome {
    Running,         // the main window is shown
    AlreadyRunning,  // another instance holds the program directory
    NotInstalled,    // no settings file
    Declined,        // "Beenden" in the disclaimer
};

// Where a run keeps the user's files and where it reads the program's own files.
struct ProgramPlaces {
    std::filesystem::path user;    // settings file, backup copy, tables, error log, the lock
    std::filesystem::path shared;  // default settings file, help (info/), documents and templates (text/)
};
// A program directory of its own (dist/) that can be written keeps everything beside the program.
// An installed program (<prefix>/bin with <prefix>/share/vestralon) or an unwritable directory
// keeps the user's files in `user_data`, which gets a copy of the default settings file on the
// first start.
ProgramPlaces program_places(const std::filesystem::path& exe_dir, const std::filesystem::path& user_data);

// program_places() for this process (the user's application data directory); also tells the help
// and the documents where the program's own files are. Returns the user's directory.
std::filesystem::path program_directory();

// Qt's German texts, the German locale and F1 for the help; once per process.
void install_application_wide();

class Session {
  public:
    explicit Session(StartupOptions options);
    ~Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    // Every step up to the shown main window.
    StartOutcome start();
    MainWindow* window() const { return window_.get(); }
    // The end of a run: a geometry save still waiting is made, then the backup copy.
    void finish();

    // The steps, in the order start() runs them.
    bool lock();            // false: another instance runs in this directory; when held, the
                            // settings temporaries a killed run left behind are removed
    bool prepare_files();   // restore the backup (or start from defaults when neither the
                            // settings file nor the backup can be used); false when there is
                            // no settings file
    void load_settings();   // SETPUBLICS(true) on this directory
    void prepare_tables();  // CHECKDBF under the wait cursor; tables set aside are told in one message
    void open_main_window();

  private:
    StartupOptions options_;
    std::unique_ptr<InstanceLock> lock_;
    std::unique_ptr<MainWindow> window_;
    bool finished_ = false;
};

// The whole run: start, event loop, end. Returns the process exit code.
int run_main(const StartupOptions& options = {});

// Left for the error log of the previous run (offered between the disclaimer and the tables).
void offer_pending_error_log();

}  // namespace vestral::app
