// The error log: what the platform can tell about the program at the moment of a fault, and the
// log text built from it, section by section, with CR LF line ends.
#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/fault.h"

namespace vestral::errors {

namespace fs = std::filesystem;

inline constexpr const char* kLogName = "Error.log";  // the one spelling new logs get
inline constexpr const char* kEol = "\r\n";

struct SystemInfo {
    std::string title;           // PCRELEASE1 + PCRELEASE2
    std::string program_path;    // the program file
    long long program_size = 0;  // bytes
    long long open_max = 0;      // file handles available to the process
    int day = 1, month = 1, year = 2000, hour = 0, minute = 0, second = 0;  // local time of the fault
    std::string toolkit;  // the version line of the window toolkit
    std::string cpu;
    long long mem_kb = 0;
    std::string free_resources;  // percent of memory available, or "n/a"
    int os_major = 0, os_minor = 0, kernel_major = 0, kernel_minor = 0;
    bool nt_family = true;  // the dialog's taller variant
    std::vector<std::string> applications;
    std::vector<std::string> drivers;       // table drivers linked in
    std::vector<std::string> memory_lines;  // the run-time figures of the memory analysis
};

// Reads the platform now (QSysInfo, /proc, sysconf). Tests replace the source.
SystemInfo collect_system_info();
using SystemInfoSource = std::function<SystemInfo()>;
SystemInfoSource set_system_info_source(SystemInfoSource source);
SystemInfo system_info();  // from the installed source, else collect_system_info()

struct TableInfo {
    int slot = 0;
    bool current = false;
    std::string alias;
    long recno = 0, reccount = 0;
    bool bof = false, eof = false;
    std::vector<std::string> orders;
    int active_order = 0;  // 0: none
};
std::vector<TableInfo> open_table_info();

// "  123,456 Bytes": the picture "9,999,999 Bytes"; numbers too wide for it show as asterisks.
std::string format_bytes(long long n);
// A number right-aligned in at least `width` characters.
std::string pad_num(long long n, int width);

// Sections of the log. Each returns whole lines ended by CR LF.
std::string log_head(const SystemInfo& s);                         // 1 to 4
std::string log_time(const SystemInfo& s);                         // 5
std::string log_toolkit(const SystemInfo& s);                      // 6
std::string log_fault(const core::Fault& f);                       // 7 and 8
std::string log_stack(const std::vector<std::string>& stack);      // 9
std::string log_system(const SystemInfo& s);                       // 10
std::string log_variables(const std::vector<std::string>& stack);  // 11
std::string log_drivers(const SystemInfo& s);                      // 12
std::string log_tables(const std::vector<TableInfo>& tables);      // 13
std::string log_memory(const SystemInfo& s);                       // 14

// The whole log.
std::string build_log(const core::Fault& f, const SystemInfo& s, const std::vector<std::string>& stack,
                      const std::vector<TableInfo>& tables);

// The log of the program directory, whatever the case of its name, if there is one.
std::optional<fs::path> find_log(const fs::path& dir);
// Replaces any older log (any spelling) by `text` under the canonical name. False on failure.
bool write_log(const fs::path& dir, std::string_view text);
bool delete_log(const fs::path& dir);

}  // namespace vestral::errors
