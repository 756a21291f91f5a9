#include "core/program_settings.h"

#include <cstdlib>
#include <sstream>

#include "core/files.h"
#include "core/opstack.h"

namespace vestral::core {

std::filesystem::path ProgramSettings::ini_path() const {
    return resolve_ci(dir, kIniName);
}
std::filesystem::path ProgramSettings::backup_path() const {
    return resolve_ci(dir, kBackupName);
}

std::string ProgramSettings::status_text() const {
    return cs_verlag.empty() ? pcrelease0 : pcrelease0 + " - " + cs_verlag;
}

ProgramSettings& settings() {
    static ProgramSettings s;
    return s;
}

bool setpublics(ProgramSettings& s, bool write_error) {
    VESTRAL_OP("SETPUBLICS");
    s.pcrelease0.clear();
    s.pcrelease1.clear();
    s.pcrelease2.clear();
    s.cs_verlag.clear();
    s.cs_hotline.clear();
    s.cs_email_m.clear();
    s.cs_email.clear();
    s.cs_www_m.clear();
    s.cs_www.clear();
    s.ns_winsize = 2;
    s.ls_backbmp = true;
    s.cs_printer.clear();

    IniDocument ini = s.ini().load();
    s.pcrelease2 = " " + ini.get("Project", "Version", "v4.13");
    s.pcrelease1 = ini.get("Project", "Program", "VSH Vestralon");
    s.pcrelease0 = ini.get("Project", "Copyright", maker::kCopyright);
    s.ls_akzept = ini.get("Setup", "Haftung", "0") == "1";
    s.back_pic = ini.get("Project", "BackPic", "VESTRAL.BMP");
    s.cs_verlag = ini.get("Project", "Verlag", "");
    s.cs_hotline = ini.get("Project", "Hotline", "");
    s.cs_email_m = ini.get("Project", "Email_Menue", "");
    s.cs_email = ini.get("Project", "Email_URL", "");
    s.cs_www_m = ini.get("Project", "Internet_Menue", "");
    s.cs_www = ini.get("Project", "Internet_URL", "");
    s.ns_error = static_cast<int>(parse_lenient(ini.get("Setup", "ERROR", "1")).value);
    s.winword = find_winword();
    // The look-up's result and the error option go back in one write, and only when they differ
    // from what the file holds.
    bool changed = false;
    auto put = [&](const char* key, const std::string& value) {
        if (ini.has("Setup", key) && ini.get("Setup", key, "") == value) return;
        ini.set("Setup", key, value);
        changed = true;
    };
    put("WinWord", s.winword);
    s.cs_printer = pad_utf8(ini.get("Setup", "Printer", ""), 40);
    s.ns_winsize = static_cast<int>(parse_lenient(ini.get("Setup", "WINSIZE", "2")).value);
    s.ls_backbmp = ini.get("Setup", "BackBMP", "1") == "1";
    s.window.top = static_cast<int>(parse_lenient(ini.get("System", "Top", "0")).value);
    s.window.left = static_cast<int>(parse_lenient(ini.get("System", "Left", "0")).value);
    s.window.bottom = static_cast<int>(parse_lenient(ini.get("System", "Bottom", "600")).value);
    s.window.right = static_cast<int>(parse_lenient(ini.get("System", "Right", "800")).value);
    if (s.ns_winsize == 2) {
        s.window.bottom = s.window.top + 600;
        s.window.right = s.window.left + 800;
    }
    if (write_error) put("ERROR", std::to_string(s.ns_error));
    if (changed) s.ini().save(ini);
    return true;
}

std::string setupwinword(const ProgramSettings& s) {
    VESTRAL_OP("SETUPWINWORD");
    std::string result = find_winword();
    s.ini().set("Setup", "WinWord", result);
    return result;
}

std::string find_winword() {
    std::string result = "WRITE";
    const char* path = std::getenv("PATH");
    if (path) {
        std::stringstream ss(path);
        std::string dir;
        bool found = false;
        while (!found && std::getline(ss, dir, ':')) {
            for (const char* name : {"soffice", "libreoffice", "abiword"}) {
                std::error_code ec;
                std::filesystem::path p = std::filesystem::path(dir) / name;
                if (std::filesystem::is_regular_file(p, ec)) {
                    result = "\"" + p.string() + "\"";
                    found = true;
                    break;
                }
            }
        }
    }
    return result;
}

namespace {
bool usable_bytes(const std::optional<std::string>& bytes) {
    return bytes && !bytes->empty() && bytes->find('\0') == std::string::npos;
}
}  // namespace

bool usable_settings_bytes(const std::filesystem::path& file) {
    std::error_code ec;
    return std::filesystem::is_regular_file(file, ec) && usable_bytes(read_file(file));
}

bool restore_backup(const std::filesystem::path& dir) {
    std::error_code ec;
    std::filesystem::path sav = resolve_ci(dir, kBackupName);
    if (!std::filesystem::exists(sav, ec)) return false;
    auto bytes = read_file(sav);
    // An empty or zero-filled backup is what a crash leaves; it must never wipe the settings.
    if (!usable_bytes(bytes)) return false;
    return atomic_write(resolve_ci(dir, kIniName), *bytes);
}

SettingsStart prepare_settings_file(const std::filesystem::path& dir) {
    if (restore_backup(dir)) return SettingsStart::Restored;
    if (!exists_ci(dir, kIniName)) return SettingsStart::Missing;
    if (usable_settings_bytes(resolve_ci(dir, kIniName))) {
        if (!usable_settings_bytes(resolve_ci(dir, kBackupName))) write_backup(dir);
        return SettingsStart::Kept;
    }
    // Neither file can be used: the run starts from an empty settings file, and the unusable
    // backup goes, so that it cannot be taken for one at the next start.
    std::error_code ec;
    std::filesystem::remove(resolve_ci(dir, kBackupName), ec);
    atomic_write(resolve_ci(dir, kIniName), "");
    return SettingsStart::Defaults;
}

bool write_backup(const std::filesystem::path& dir) {
    auto bytes = read_file(resolve_ci(dir, kIniName));
    if (!usable_bytes(bytes)) return false;
    return atomic_write(resolve_ci(dir, kBackupName), *bytes);
}

int remove_settings_temporaries(const std::filesystem::path& dir) {
    namespace fs = std::filesystem;
    int removed = 0;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(dir, ec)) {
        const std::string name = entry.path().filename().string();
        const size_t tmp = name.rfind(".tmp");
        if (tmp == std::string::npos || tmp + 4 == name.size()) continue;
        const std::string base = name.substr(0, tmp);
        if (!iequals_ascii(base, kIniName) && !iequals_ascii(base, kBackupName)) continue;
        const std::string digits = name.substr(tmp + 4);
        if (digits.find_first_not_of("0123456789") != std::string::npos) continue;
        std::error_code rm;
        if (entry.is_regular_file(rm) && fs::remove(entry.path(), rm)) ++removed;
    }
    return removed;
}

}  // namespace vestral::core
