#include "errors/errorsys.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <QApplication>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <memory>
#include <string>
#include <typeinfo>
#include <vector>

#include "core/dbf.h"
#include "core/files.h"
#include "core/opstack.h"
#include "core/program_settings.h"
#include "errors/error_dialog.h"
#include "errors/error_log.h"
#include "ui/blocks.h"

namespace vestral::errors {

namespace {

using core::Fault;
using core::FaultAnswer;

DialogScript& script_slot() {
    static DialogScript s;
    return s;
}
ExitFunction& exit_slot() {
    static ExitFunction f;
    return f;
}
bool g_main_loop = false;
bool g_in_handler = false;

fs::path program_dir() {
    const fs::path& d = core::settings().dir;
    if (!d.empty()) return d;
    std::error_code ec;
    return fs::current_path(ec);
}

// Frees what must not be left behind (table locks, buffered records) and leaves at once: the
// settings file is not touched, so a broken state never reaches it.
[[noreturn]] void real_exit(int code) {
    static bool exiting = false;
    if (!exiting) {
        exiting = true;
        try {
            core::dbf::close_all_tables();
        } catch (...) {
        }
        std::fflush(nullptr);
    }
    std::_Exit(code);
}

Choice run_dialog(const DialogInfo& info, bool tall) {
    if (script_slot()) return script_slot()(info);
    ErrorDialog dialog(info, tall, QApplication::activeWindow());
    dialog.exec();
    return dialog.choice();
}

struct HandlerFlag {
    HandlerFlag() { g_in_handler = true; }
    ~HandlerFlag() { g_in_handler = false; }
};

bool quiet(const Fault& f) {
    if (!f.can_default) return false;
    if (f.gen_code == core::kGenOpen && (f.os_code == core::kOsSharing || f.os_code == core::kOsAccessDenied))
        return true;
    return f.gen_code == core::kGenAppendLock;
}

// ---- crash writers -------------------------------------------------------------------------
// Everything a signal handler writes is prepared here beforehand; the handler itself only
// formats digits and calls write().

struct CrashTexts {
    std::string path;
    std::string head, toolkit, system, variables_head, rest;
    long utc_offset = 0;
};
std::atomic<CrashTexts*> g_crash{nullptr};
std::atomic<bool> g_crashing{false};
char g_terminate_text[512];

void put(int fd, const char* s, size_t n) {
    while (n > 0) {
        ssize_t w = ::write(fd, s, n);
        if (w < 0 && errno == EINTR) continue;
        if (w <= 0) return;
        s += w;
        n -= static_cast<size_t>(w);
    }
}
void put(int fd, const char* s) {
    put(fd, s, std::strlen(s));
}
void put(int fd, const std::string& s) {
    put(fd, s.data(), s.size());
}

void put2(char* p, int v) {
    p[0] = static_cast<char>('0' + (v / 10) % 10);
    p[1] = static_cast<char>('0' + v % 10);
}

void put_time(int fd, long utc_offset) {
    struct timespec ts {};
    ::clock_gettime(CLOCK_REALTIME, &ts);
    long long t = static_cast<long long>(ts.tv_sec) + utc_offset;
    long long days = t / 86400, secs = t % 86400;
    if (secs < 0) {
        secs += 86400;
        --days;
    }
    // Days since 1970-01-01 to a civil date (proleptic Gregorian).
    long long z = days + 719468;
    long long era = (z >= 0 ? z : z - 146096) / 146097;
    long long doe = z - era * 146097;
    long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    long long y = yoe + era * 400;
    long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    long long mp = (5 * doy + 2) / 153;
    int d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    int m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    if (m <= 2) ++y;
    char buf[] = "   Zeitpunkt des Fehlers: dd.mm.yyyy, hh:mm:ss\r\n";
    char* p = buf + std::strlen("   Zeitpunkt des Fehlers: ");
    put2(p, d);
    put2(p + 3, m);
    put2(p + 6, static_cast<int>(y / 100));
    put2(p + 8, static_cast<int>(y % 100));
    put2(p + 12, static_cast<int>(secs / 3600));
    put2(p + 15, static_cast<int>(secs / 60 % 60));
    put2(p + 18, static_cast<int>(secs % 60));
    put(fd, buf);
}

void write_crash_log(const char* description) {
    const CrashTexts* c = g_crash.load();
    if (!c) return;
    int fd = ::open(c->path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) return;
    put(fd, c->head);
    put_time(fd, c->utc_offset);
    put(fd, c->toolkit);
    put(fd, "   Fehlerbeschreibung: ");
    put(fd, description);
    put(fd, kEol);
    const char* names[128];
    int n = core::op_stack_raw(names, 128);
    put(fd, "\r\nStack Aufrufe\r\n=============\r\n");
    for (int i = 0; i < n; ++i) {
        put(fd, "   Aufgerufen von ");
        put(fd, names[i]);
        put(fd, "(n/a)\r\n");
    }
    put(fd, c->system);
    put(fd, c->variables_head);
    for (int i = 0; i < n; ++i) {
        put(fd, "   ");
        put(fd, names[i]);
        put(fd, kEol);
    }
    put(fd, c->rest);
    ::close(fd);
}

const char* signal_text(int sig) {
    switch (sig) {
        case SIGSEGV:
            return "Error SIGNAL/11  Speicherzugriffsfehler (SIGSEGV)";
        case SIGABRT:
            return "Error SIGNAL/6  Programmabbruch (SIGABRT)";
        case SIGFPE:
            return "Error SIGNAL/8  Rechenfehler (SIGFPE)";
        case SIGBUS:
            return "Error SIGNAL/7  Busfehler (SIGBUS)";
        case SIGILL:
            return "Error SIGNAL/4  Ungueltiger Befehl (SIGILL)";
        default:
            return "Error SIGNAL/???  Schwerer Fehler";
    }
}

void on_fatal_signal(int sig) {
    if (!g_crashing.exchange(true)) write_crash_log(signal_text(sig));
    ::_exit(1);
}

void on_terminate() {
    if (!g_crashing.exchange(true)) {
        std::string what = "unbekannte Ausnahme";
        if (auto ep = std::current_exception()) {
            try {
                std::rethrow_exception(ep);
            } catch (const core::FaultError& e) {
                what = core::fault_message(e.fault());
            } catch (const std::exception& e) {
                what = e.what();
            } catch (...) {
            }
        }
        std::snprintf(g_terminate_text, sizeof g_terminate_text, "Error BASE/???  std::terminate: %s",
                      what.c_str());
        write_crash_log(g_terminate_text);
    }
    ::_exit(1);
}

}  // namespace

// ---- the handler -----------------------------------------------------------------------------

DialogScript set_dialog_script(DialogScript script) {
    DialogScript old = std::move(script_slot());
    script_slot() = std::move(script);
    return old;
}

ExitFunction set_exit_function(ExitFunction fn) {
    ExitFunction old = std::move(exit_slot());
    exit_slot() = std::move(fn);
    return old;
}

void end_program(int code) {
    if (!exit_slot()) real_exit(code);
    exit_slot()(code);
    throw ProgramExit{code};
}

void set_main_loop_running(bool running) {
    g_main_loop = running;
}
bool main_loop_running() {
    return g_main_loop;
}

FaultAnswer errordialog(const Fault& f) {
    // A division by zero yields 0 and the computation goes on.
    if (f.gen_code == core::kGenZeroDiv) return FaultAnswer::Default;
    if (g_in_handler) end_program(1);
    HandlerFlag busy;

    SystemInfo info = system_info();
    std::vector<std::string> stack = core::op_stack();
    std::string log = log_head(info) + log_time(info) + log_toolkit(info) + log_fault(f) + log_stack(stack) +
                      log_system(info);

    if (quiet(f)) {
        core::dbf::net_error_flag() = true;
        return FaultAnswer::Default;
    }

    log += log_variables(stack) + log_drivers(info) + log_tables(open_table_info()) + log_memory(info);
    write_log(program_dir(), log);  // a log that cannot be written must not keep the dialog away

    DialogInfo di;
    di.title = QString::fromStdString(info.title) + " Laufzeitfehler";
    di.message = QString::fromStdString(core::fault_message(f));
    for (const auto& op : stack)
        if (!op.empty()) di.stack << QString::fromStdString("   Aufgerufen von " + op + "(n/a)");
    di.can_retry = f.can_retry;
    di.can_default = f.can_default;

    Choice c = run_dialog(di, info.nt_family);
    if (c == Choice::Ende) end_program(1);
    if (c == Choice::Wiederholen && !main_loop_running()) end_program(1);
    return c == Choice::Wiederholen ? FaultAnswer::Retry : FaultAnswer::Default;
}

void handle_exception(QWidget*, const std::exception& e) {
    Fault f;
    if (auto* fe = dynamic_cast<const core::FaultError*>(&e)) {
        f = fe->fault();
    } else {
        f.subsystem = "BASE";
        f.description = e.what();
        f.args = {typeid(e).name()};
    }
    // The operation has already unwound: there is nothing to repeat and no default to take.
    f.can_retry = false;
    f.can_default = false;
    errordialog(f);
}

void handle_unknown_exception(QWidget* parent) {
    std::runtime_error e("Unbekannte Ausnahme");
    handle_exception(parent, e);
}

// ---- installation ----------------------------------------------------------------------------

void install_fault_handler() {
    core::set_fault_handler(errordialog);
    ui::set_guard_hook([](QWidget* parent, const std::exception& e) { handle_exception(parent, e); });
}

void refresh_crash_info() {
    static std::vector<std::unique_ptr<CrashTexts>> all;
    all.push_back(std::make_unique<CrashTexts>());
    CrashTexts* c = all.back().get();
    SystemInfo info = system_info();
    fs::path dir = program_dir();
    c->path = (core::exists_ci(dir, kLogName) ? core::resolve_ci(dir, kLogName) : dir / kLogName).string();
    c->head = log_head(info);
    c->toolkit = log_toolkit(info);
    c->system = log_system(info);
    c->variables_head = log_variables({});
    c->rest = log_drivers(info) + log_tables({}) + log_memory(info);
    std::time_t now = std::time(nullptr);
    std::tm tm{};
    localtime_r(&now, &tm);
    c->utc_offset = tm.tm_gmtoff;
    // The old texts stay allocated: a signal arriving right now may still be reading them.
    g_crash.store(c);
}

void install_crash_handlers() {
    refresh_crash_info();
    std::set_terminate(on_terminate);

    static char alt_stack[64 * 1024];
    stack_t ss{};
    ss.ss_sp = alt_stack;
    ss.ss_size = sizeof alt_stack;
    ::sigaltstack(&ss, nullptr);

    struct sigaction sa {};
    sa.sa_handler = on_fatal_signal;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_ONSTACK | SA_RESETHAND;
    for (int sig : {SIGSEGV, SIGABRT, SIGFPE, SIGBUS, SIGILL}) ::sigaction(sig, &sa, nullptr);
}

void errorsys() {
    install_fault_handler();
    install_crash_handlers();
}

// ---- the application object ------------------------------------------------------------------

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {}

bool deliver_guarded(const std::function<bool()>& deliver) {
    try {
        return deliver();
    } catch (const ProgramExit&) {
        throw;
    } catch (const std::exception& e) {
        handle_exception(nullptr, e);
    } catch (...) {
        handle_unknown_exception(nullptr);
    }
    return false;
}

bool Application::notify(QObject* receiver, QEvent* event) {
    return deliver_guarded([&] { return QApplication::notify(receiver, event); });
}

int Application::run() {
    set_main_loop_running(true);
    int rc = exec();
    set_main_loop_running(false);
    return rc;
}

}  // namespace vestral::errors
