// File helpers of the program directory: names looked up without regard to case, atomic
// replacement, and the two text encodings the program meets (UTF-8, Windows-1252).
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace vestral::core {

namespace fs = std::filesystem;

// The existing file in `dir` whose name equals `name` without regard to case, or dir/name with
// the given (canonical) spelling when there is none.
fs::path resolve_ci(const fs::path& dir, std::string_view name);
bool exists_ci(const fs::path& dir, std::string_view name);

std::optional<std::string> read_file(const fs::path& path);

// Writes to a temporary file beside `path`, flushes it to disk, then renames it over `path`, so a
// crash leaves either the old or the new file, never half of one. Returns false on failure, with
// `path` unchanged.
bool atomic_write(const fs::path& path, std::string_view bytes);

// Windows-1252 <-> UTF-8. Characters that 1252 cannot hold become '?'.
std::string cp1252_to_utf8(std::string_view bytes);
std::string utf8_to_cp1252(std::string_view utf8);
// Valid UTF-8 sequences stay; every other byte is read as Windows-1252.
std::string lenient_utf8(std::string_view bytes);

std::string to_upper_ascii(std::string_view s);
// Upper case for names: ASCII letters and the German umlauts (UTF-8).
std::string to_upper_name(std::string_view utf8);
bool iequals_ascii(std::string_view a, std::string_view b);
// Pads or cuts UTF-8 text to `chars` characters.
std::string pad_utf8(std::string_view s, size_t chars);
size_t utf8_length(std::string_view s);

}  // namespace vestral::core
