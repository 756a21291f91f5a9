// The settings file in the platform's private-profile format: case-insensitive sections and keys,
// blanks around keys and values ignored, values replaced in place, every other line untouched.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/numbers.h"

namespace vestral::core {

// An in-memory settings document; keeps the file's bytes line by line so that a write changes
// only the line of its key.
class IniDocument {
  public:
    IniDocument() = default;
    explicit IniDocument(std::string_view bytes);

    // The value (at most 1022 characters, UTF-8), or `fallback` when the key or section is missing.
    // A key present with empty text yields "".
    std::string get(std::string_view section, std::string_view key, std::string_view fallback) const;
    bool has(std::string_view section, std::string_view key) const;
    void set(std::string_view section, std::string_view key, std::string_view value);

    std::string bytes() const;

  private:
    struct Line {
        std::string text;  // without the line end
        std::string eol;   // "\r\n", "\n" or "" for a last line without one
    };
    // Index of the section's header line, or -1.
    long find_section(std::string_view section) const;
    // Index of the key's line within the section starting at `header`, or -1.
    long find_key(long header, std::string_view key) const;
    std::string eol_style() const;

    std::vector<Line> lines_;
};

// The settings file on disk. Every read takes the file as it is now (nothing is cached between a
// write and the next read); every write replaces the file atomically, once per call, and then
// refreshes the backup copy when the file has one.
class IniFile {
  public:
    explicit IniFile(std::filesystem::path path, std::filesystem::path backup = {})
        : path_(std::move(path)), backup_(std::move(backup)) {}
    const std::filesystem::path& path() const { return path_; }
    const std::filesystem::path& backup() const { return backup_; }

    std::string get(std::string_view section, std::string_view key, std::string_view fallback) const;
    Num get_num(std::string_view section, std::string_view key, std::string_view fallback) const;
    bool get_bool(std::string_view section, std::string_view key, std::string_view fallback) const;

    // One write. Returns false when the file could not be replaced (it then stays as it was).
    bool set(std::string_view section, std::string_view key, std::string_view value);
    bool set_num(std::string_view section, std::string_view key, Num n);
    bool set_num(std::string_view section, std::string_view key, double value, int decimals);
    bool set_bool(std::string_view section, std::string_view key, bool yes);

    // Several writes to one section in one replacement of the file.
    struct Entry {
        std::string key, value;
    };
    bool set_many(std::string_view section, const std::vector<Entry>& entries);
    // Writes to several sections in one replacement of the file.
    struct SectionEntries {
        std::string section;
        std::vector<Entry> entries;
    };
    bool set_sections(const std::vector<SectionEntries>& writes);

    IniDocument load() const;
    // Replaces the file with `doc` (one write), then copies the same bytes over the backup copy. A
    // backup that cannot be refreshed is removed: a stale one would undo this write at the next start.
    bool save(const IniDocument& doc) const;

  private:
    std::filesystem::path path_;
    std::filesystem::path backup_;  // empty: the file has no backup copy
};

}  // namespace vestral::core
