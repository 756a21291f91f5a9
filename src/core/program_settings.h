// The program settings every part of the program reads, loaded from the settings file, and the
// file steps of start-up around them (backup copy, restore).
#pragma once

#include <filesystem>
#include <string>

#include "core/ini.h"

namespace vestral::core {

inline constexpr const char* kIniName = "VESTRAL.INI";
inline constexpr const char* kBackupName = "VESTRAL.SAV";

// Default texts of the maker; kept in one place.
namespace maker {
inline constexpr const char* kName = "Veltrano Systemhaus";
inline constexpr const char* kCopyright = "Copyright (c) Veltrano Systemhaus. Alle Rechte vorbehalten.";
inline constexpr const char* kStreet = "Veltrano Systemhaus, Am Lindenhof 12, 35037 Marburg";
inline constexpr const char* kPhone = "Telefon 06421 000000 - Telefax 06421 000001";
inline constexpr const char* kFax = "06421 000001";
inline constexpr const char* kEmail = "E-Mail: support@veltrano-systemhaus.example";
inline constexpr const char* kWeb = "Internet: www.veltrano-systemhaus.example";
inline constexpr const char* kRights = "Dieses Programm ist urheberrechtlich geschützt.";
}  // namespace maker

struct WindowRect {
    int top = 0, left = 0, bottom = 600, right = 800;
    friend bool operator==(const WindowRect&, const WindowRect&) = default;
};

struct ProgramSettings {
    std::filesystem::path dir;  // the program directory (CRUNIN without the separator)
    std::string cinifile = ".\\vestral.ini";
    std::string pcrelease1;  // program name
    std::string pcrelease2;  // a blank and the version
    std::string pcrelease0;  // rights notice of the status bar
    std::string cs_verlag, cs_hotline, cs_email_m, cs_email, cs_www_m, cs_www;
    std::string back_pic;
    bool ls_akzept = false;
    int ns_error = 1;
    std::string cs_printer;  // padded with blanks to 40 characters
    int ns_winsize = 2;
    bool ls_backbmp = true;
    WindowRect window;
    std::string winword;

    // Fixed values.
    static constexpr int kColF = 1;                         // NCOLF: text of input fields
    static constexpr int kColB = 13697023;                  // NCOLB: pale yellow input background
    static constexpr int kColBH = 9240575;                  // NCOLBH: light yellow result background
    static constexpr double kEuro2Dm = 1.95583;             // NEURO2DM
    static constexpr double kDm2Euro = 0.5112918811962185;  // NDM2EURO

    std::filesystem::path ini_path() const;
    std::filesystem::path backup_path() const;
    // The settings file; every completed write refreshes the backup copy.
    IniFile ini() const { return IniFile(ini_path(), backup_path()); }
    std::string title() const { return pcrelease1 + pcrelease2; }
    // The status bar: rights notice, and " - " publisher when there is one.
    std::string status_text() const;
};

// SETPUBLICS: (re)loads all program settings; with write_error it writes Setup/ERROR back.
bool setpublics(ProgramSettings& s, bool write_error);

// The one set of program settings of this run.
ProgramSettings& settings();

// SETUPWINWORD: looks for a word processor on the PATH, stores and returns it (quoted), or "WRITE".
std::string setupwinword(const ProgramSettings& s);
// The look-up alone, without storing.
std::string find_winword();

// Whether a settings file or backup holds text the program can use: it can be read, is not empty
// and holds no NUL byte (what a power cut leaves in a file whose blocks were never written).
bool usable_settings_bytes(const std::filesystem::path& file);

// Start-up step 3: copies VESTRAL.SAV over VESTRAL.INI when the backup is usable.
// Returns true when it restored.
bool restore_backup(const std::filesystem::path& dir);

// The settings file at start-up, once the single-instance lock is held.
enum class SettingsStart {
    Restored,  // the backup copy replaced the settings file
    Kept,      // no usable backup; the settings file stays (and a fresh backup is made of it)
    Defaults,  // neither file is usable: the settings file now is empty, every value its default
    Missing,   // no settings file and no usable backup: the program is not installed
};
SettingsStart prepare_settings_file(const std::filesystem::path& dir);

// Removes the temporaries a run killed between writing and renaming leaves beside the settings
// file and the backup ("VESTRAL.INI.tmp<digits>", "VESTRAL.SAV.tmp<digits>"), nothing else.
// Only while the single-instance lock is held. Returns how many it removed.
int remove_settings_temporaries(const std::filesystem::path& dir);
// Copies VESTRAL.INI over VESTRAL.SAV atomically. Returns false when there was nothing to copy or
// the copy failed (the old backup then stays).
bool write_backup(const std::filesystem::path& dir);

}  // namespace vestral::core
