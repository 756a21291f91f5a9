#include "errors/error_log.h"

#include <unistd.h>

#include <QCoreApplication>
#include <QSysInfo>
#include <QVersionNumber>
#include <QtGlobal>
#include <chrono>
#include <ctime>
#include <fstream>
#include <sstream>
#include <system_error>

#include "core/dbf.h"
#include "core/files.h"
#include "core/program_settings.h"

namespace vestral::errors {

namespace {

SystemInfoSource& source_slot() {
    static SystemInfoSource s;
    return s;
}

std::string line(std::string_view s) {
    return std::string(s) + kEol;
}

// The value of a "Key:   123 kB" line of a /proc file, in kB; -1 when missing.
long long proc_kb(const char* file, std::string_view key) {
    std::ifstream in(file);
    std::string l;
    while (std::getline(in, l)) {
        if (l.size() > key.size() && l.compare(0, key.size(), key) == 0 && l[key.size()] == ':') {
            try {
                return std::stoll(l.substr(key.size() + 1));
            } catch (...) {
                return -1;
            }
        }
    }
    return -1;
}

std::pair<int, int> major_minor(const QString& version) {
    QVersionNumber v = QVersionNumber::fromString(version);
    return {v.majorVersion(), v.minorVersion()};
}

std::string proc_bytes_line(const char* label, std::string_view key) {
    long long kb = proc_kb("/proc/self/status", key);
    return std::string(label) + (kb < 0 ? std::string("n/a") : std::to_string(kb * 1024) + " Bytes");
}

}  // namespace

SystemInfo collect_system_info() {
    SystemInfo s;
    s.title = core::settings().title();
    std::error_code ec;
    if (QCoreApplication::instance()) {
        s.program_path = QCoreApplication::applicationFilePath().toStdString();
    } else {
        s.program_path = fs::read_symlink("/proc/self/exe", ec).string();
    }
    auto size = fs::file_size(s.program_path, ec);
    s.program_size = ec ? 0 : static_cast<long long>(size);
    s.open_max = ::sysconf(_SC_OPEN_MAX);

    auto now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
    std::tm tm{};
    localtime_r(&now, &tm);
    s.day = tm.tm_mday;
    s.month = tm.tm_mon + 1;
    s.year = tm.tm_year + 1900;
    s.hour = tm.tm_hour;
    s.minute = tm.tm_min;
    s.second = tm.tm_sec;

    s.toolkit = "Qt " + std::string(qVersion()) + " Widgets (" + QSysInfo::buildAbi().toStdString() + ")";
    s.cpu = QSysInfo::currentCpuArchitecture().toStdString();
    s.mem_kb = proc_kb("/proc/meminfo", "MemTotal");
    long long avail = proc_kb("/proc/meminfo", "MemAvailable");
    s.free_resources = (s.mem_kb > 0 && avail >= 0) ? std::to_string(avail * 100 / s.mem_kb) : "n/a";
    if (s.mem_kb < 0) s.mem_kb = 0;
    std::tie(s.os_major, s.os_minor) = major_minor(QSysInfo::productVersion());
    std::tie(s.kernel_major, s.kernel_minor) = major_minor(QSysInfo::kernelVersion());
    s.nt_family = true;
    // The one application this program can speak for is itself; other processes are none of its
    // business and do not belong in a log that is mailed away.
    s.applications = {fs::path(s.program_path).filename().string()};
    s.drivers = {"DBFNTX"};
    s.memory_lines = {
        proc_bytes_line("      Programmgroesse (VmSize): ", "VmSize"),
        proc_bytes_line("         davon Daten (VmData): ", "VmData"),
        proc_bytes_line("         davon Code (VmExe): ", "VmExe"),
        proc_bytes_line("      Stack (VmStk): ", "VmStk"),
        "      Statische Werte: n/a",
        proc_bytes_line("      Dynamischer Speicher aktuell (VmRSS): ", "VmRSS"),
        proc_bytes_line("      Dynamischer Speicher hoechstens (VmHWM): ", "VmHWM"),
    };
    return s;
}

SystemInfoSource set_system_info_source(SystemInfoSource source) {
    SystemInfoSource old = std::move(source_slot());
    source_slot() = std::move(source);
    return old;
}

SystemInfo system_info() {
    return source_slot() ? source_slot()() : collect_system_info();
}

std::vector<TableInfo> open_table_info() {
    std::vector<TableInfo> out;
    auto tables = core::dbf::open_tables();
    int slot = 0;
    for (core::dbf::Table* t : tables) {
        TableInfo ti;
        ti.slot = ++slot;
        // The table touched last is the one a fault most likely concerns.
        ti.current = (t == tables.back());
        ti.alias = t->alias();
        ti.recno = t->recno();
        ti.reccount = t->reccount();
        ti.bof = t->bof();
        ti.eof = t->eof();
        ti.orders = t->order_names();
        ti.active_order = t->order();
        out.push_back(std::move(ti));
    }
    return out;
}

std::string pad_num(long long n, int width) {
    std::string s = std::to_string(n);
    if (static_cast<int>(s.size()) < width) s.insert(0, static_cast<size_t>(width) - s.size(), ' ');
    return s;
}

std::string format_bytes(long long n) {
    std::string digits;
    if (n < 0 || n > 9'999'999) {
        digits = "*********";
    } else {
        std::string d = std::to_string(n);
        for (size_t i = 0; i < d.size(); ++i) {
            if (i > 0 && (d.size() - i) % 3 == 0) digits.push_back(',');
            digits.push_back(d[i]);
        }
        digits.insert(0, 9 - digits.size(), ' ');
    }
    return digits + " Bytes";
}

static std::string two(int n) {
    std::string s = std::to_string(n);
    return s.size() < 2 ? "0" + s : s;
}

std::string log_head(const SystemInfo& s) {
    std::string heading = "Anwendung " + s.title;
    std::string out = line(heading);
    out += line(std::string(core::utf8_length(heading), '='));
    out += line("   Pfad und Name: " + s.program_path);
    out += line("   Groesse: " + format_bytes(s.program_size));
    out += line("   Max Datei-Handles verfuegbar: ( SetHandleCount() ) " + pad_num(s.open_max, 3));
    return out;
}

std::string log_time(const SystemInfo& s) {
    std::string date = core::format_date(core::Date{s.year, s.month, s.day});
    return line("   Zeitpunkt des Fehlers: " + date + ", " + two(s.hour) + ":" + two(s.minute) + ":" +
                two(s.second));
}

std::string log_toolkit(const SystemInfo& s) {
    return line("         " + s.toolkit);
}

std::string log_fault(const core::Fault& f) {
    std::string out = line("   Fehlerbeschreibung: " + core::fault_message(f));
    if (!f.args.empty()) {
        out += line("   Args:");
        for (size_t i = 0; i < f.args.size(); ++i)
            out += line("     [" + pad_num(static_cast<long long>(i + 1), 4) + "] = C   " + f.args[i]);
    }
    return out;
}

std::string log_stack(const std::vector<std::string>& stack) {
    std::string out = line("") + line("Stack Aufrufe") + line("=============");
    for (const auto& op : stack)
        if (!op.empty()) out += line("   Aufgerufen von " + op + "(n/a)");
    return out;
}

std::string log_system(const SystemInfo& s) {
    std::string out = line("") + line("System") + line("======");
    out += line("   CPU Type: " + s.cpu);
    out += line("   Hardware Speicher: " + std::to_string(s.mem_kb) + " (" + std::to_string(s.mem_kb / 1024) +
                " megas)");
    out += line("");
    out += line("  Freie System Resourcen: % " + s.free_resources);
    out += line("        GDI    Resourcen: % n/a");
    out += line("        User   Resourcen: % n/a");
    out += line("");
    out += line("  Windows und MsDos Versionen: " + pad_num(s.os_major, 2) + "." + pad_num(s.os_minor, 2) +
                ", " + pad_num(s.kernel_major, 2) + "." + pad_num(s.kernel_minor, 2));
    out += line("   Anzahl laufender Windows-Applikationen: " +
                pad_num(static_cast<long long>(s.applications.size()), 3));
    for (size_t i = 0; i < s.applications.size(); ++i)
        out += line("    " + pad_num(static_cast<long long>(i + 1), 3) + " " + s.applications[i]);
    return out;
}

std::string log_variables(const std::vector<std::string>& stack) {
    std::string out = line("") + line("Benutzte Variablen") + line("==================");
    out += line("   Prozedur      Type    Wert");
    out += line("   ==========================");
    // Parameters and locals of an operation are not known to the program; the names are.
    for (const auto& op : stack)
        if (!op.empty()) out += line("   " + op);
    return out;
}

std::string log_drivers(const SystemInfo& s) {
    std::string out = line("") + line("Linked RDDs") + line("===========");
    for (const auto& d : s.drivers) out += line("   " + d);
    return out;
}

std::string log_tables(const std::vector<TableInfo>& tables) {
    std::string out = line("") + line("Benutzte DataBanken") + line("===================");
    auto flag = [](bool b) { return std::string(b ? ".T." : ".F."); };
    for (const auto& t : tables) {
        out += line("");
        out += line(pad_num(t.slot, 3) + ": " + (t.current ? "=> " : "   ") + core::pad_utf8(t.alias, 15) +
                    std::string(20, ' ') + "RddName: DBFNTX");
        out += line("     ==============================");
        out += line("     Satznr.  RecCount    BOF   EOF");
        out +=
            line("    " + pad_num(t.recno % 100000, 5) + std::string(6, ' ') +
                 pad_num(t.reccount % 100000, 5) + std::string(6, ' ') + flag(t.bof) + "   " + flag(t.eof));
        out += line("");
        out += line("     Benutzte Indexe " + std::string(23, ' ') + "TagName");
        for (size_t i = 0; i < t.orders.size() && i < 15; ++i) {
            bool active = static_cast<int>(i + 1) == t.active_order;
            // Orders are kept in memory as functions; their key has no text of its own.
            out += line(std::string(8, ' ') + (active ? "=> " : "   ") + core::pad_utf8("n/a", 35) +
                        t.orders[i]);
        }
        out += line("");
        out += line("     Benutzte Relationen");
    }
    return out;
}

std::string log_memory(const SystemInfo& s) {
    std::string out = line("") + line("Speicher-Analyse") + line("================");
    out += line("   Static memory:");
    out += line("      data segment: 64k");
    for (const auto& l : s.memory_lines) out += line(l);
    return out;
}

std::string build_log(const core::Fault& f, const SystemInfo& s, const std::vector<std::string>& stack,
                      const std::vector<TableInfo>& tables) {
    return log_head(s) + log_time(s) + log_toolkit(s) + log_fault(f) + log_stack(stack) + log_system(s) +
           log_variables(stack) + log_drivers(s) + log_tables(tables) + log_memory(s);
}

std::optional<fs::path> find_log(const fs::path& dir) {
    if (!core::exists_ci(dir, kLogName)) return std::nullopt;
    return core::resolve_ci(dir, kLogName);
}

bool delete_log(const fs::path& dir) {
    bool any = false;
    while (auto p = find_log(dir)) {
        std::error_code ec;
        if (!fs::remove(*p, ec)) return false;
        any = true;
    }
    return any;
}

bool write_log(const fs::path& dir, std::string_view text) {
    // An older log under another spelling would survive beside the new one and be offered twice.
    if (auto old = find_log(dir); old && old->filename() != kLogName) {
        std::error_code ec;
        fs::remove(*old, ec);
    }
    return core::atomic_write(dir / kLogName, text);
}

}  // namespace vestral::errors
