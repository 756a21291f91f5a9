// The fault handler of the whole program: settles the quiet faults, writes the error log for the
// others and lets the user end, retry or take the default; and the last resorts for exceptions
// escaping event handlers, std::terminate and fatal signals.
#pragma once

#include <QApplication>
#include <QString>
#include <QStringList>
#include <exception>
#include <functional>

#include "core/fault.h"

class QWidget;

namespace vestral::errors {

// ERRORSYS: installs the fault handler, the guard of every button and menu handler, the terminate
// handler and the fatal-signal handlers. Call once, after the program settings are loaded (the
// crash log needs the program directory and the program's name).
void errorsys();
// The parts of errorsys(), for tests and for a start-up that installs them at different times.
void install_fault_handler();   // core::set_fault_handler + ui::set_guard_hook
void install_crash_handlers();  // std::set_terminate + SIGSEGV, SIGABRT, SIGFPE, SIGBUS, SIGILL
// Recomputes what the crash writers use (log path, heading, system lines); errorsys() does it once.
void refresh_crash_info();

// ERRORDIALOG: the answer to a fault, or the end of the program.
core::FaultAnswer errordialog(const core::Fault& fault);

// An exception that unwound to an event or button handler: logged and shown with "Ende" only.
void handle_exception(QWidget* parent, const std::exception& e);
void handle_unknown_exception(QWidget* parent);

// The dialog's choice. Tests may script it instead of showing the dialog.
enum class Choice { Ende, Wiederholen, Default };
struct DialogInfo {
    QString title;
    QString message;    // the fault message
    QStringList stack;  // the entries of the list box
    bool can_retry = false;
    bool can_default = false;
};
using DialogScript = std::function<Choice(const DialogInfo&)>;
DialogScript set_dialog_script(DialogScript script);

// Ending the program. The real function closes the tables and leaves with std::_Exit; tests
// install one that records the code. When the installed function returns, end_program throws
// ProgramExit (not a std::exception, so no guard swallows it).
using ExitFunction = std::function<void(int code)>;
ExitFunction set_exit_function(ExitFunction fn);
struct ProgramExit {
    int code;
};
[[noreturn]] void end_program(int code);

// Whether the main window's event loop runs; "Wiederholen" before it does ends the program.
void set_main_loop_running(bool running);
bool main_loop_running();

// The application object of the program: exceptions that escape an event handler go to the
// fault handler instead of through Qt.
// Delivers an event; an exception that escapes it ends in the fault handler instead of crossing
// Qt's event loop.
bool deliver_guarded(const std::function<bool()>& deliver);

class Application : public QApplication {
  public:
    Application(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
    // Runs the main event loop (exec) with main_loop_running() true meanwhile.
    int run();
};

}  // namespace vestral::errors
