#include "core/ini.h"

#include "core/fault.h"
#include "core/files.h"

namespace vestral::core {

namespace {
constexpr size_t kMaxValue = 1022;

std::string_view trim_blanks(std::string_view s) {
    size_t b = 0, e = s.size();
    while (b < e && (s[b] == ' ' || s[b] == '\t')) ++b;
    while (e > b && (s[e - 1] == ' ' || s[e - 1] == '\t')) --e;
    return s.substr(b, e - b);
}

// A section header "[name]" gives the name between the brackets.
bool section_name(std::string_view line, std::string_view& name) {
    std::string_view t = trim_blanks(line);
    if (t.empty() || t.front() != '[') return false;
    size_t close = t.find(']');
    if (close == std::string_view::npos) return false;
    name = trim_blanks(t.substr(1, close - 1));
    return true;
}

bool key_value(std::string_view line, std::string_view& key, std::string_view& value) {
    size_t eq = line.find('=');
    if (eq == std::string_view::npos) return false;
    key = trim_blanks(line.substr(0, eq));
    value = trim_blanks(line.substr(eq + 1));
    return !key.empty();
}

// Compares names without regard to case; bytes that are not UTF-8 are taken as Windows-1252.
bool same_name(std::string_view a, std::string_view b) {
    if (iequals_ascii(a, b)) return true;
    return to_upper_name(lenient_utf8(a)) == to_upper_name(lenient_utf8(b));
}
}  // namespace

IniDocument::IniDocument(std::string_view bytes) {
    size_t i = 0;
    while (i < bytes.size()) {
        size_t nl = bytes.find('\n', i);
        Line l;
        if (nl == std::string_view::npos) {
            l.text = std::string(bytes.substr(i));
            i = bytes.size();
        } else {
            size_t end = nl;
            if (end > i && bytes[end - 1] == '\r') {
                --end;
                l.eol = "\r\n";
            } else {
                l.eol = "\n";
            }
            l.text = std::string(bytes.substr(i, end - i));
            i = nl + 1;
        }
        lines_.push_back(std::move(l));
    }
}

std::string IniDocument::bytes() const {
    std::string out;
    for (const auto& l : lines_) out += l.text + l.eol;
    return out;
}

std::string IniDocument::eol_style() const {
    for (const auto& l : lines_)
        if (!l.eol.empty()) return l.eol;
    return "\n";
}

long IniDocument::find_section(std::string_view section) const {
    std::string_view want = trim_blanks(section);
    for (size_t i = 0; i < lines_.size(); ++i) {
        std::string_view name;
        if (section_name(lines_[i].text, name) && same_name(name, want)) return static_cast<long>(i);
    }
    return -1;
}

long IniDocument::find_key(long header, std::string_view key) const {
    std::string_view want = trim_blanks(key);
    for (size_t i = static_cast<size_t>(header) + 1; i < lines_.size(); ++i) {
        std::string_view name, k, v;
        if (section_name(lines_[i].text, name)) break;
        if (key_value(lines_[i].text, k, v) && same_name(k, want)) return static_cast<long>(i);
    }
    return -1;
}

bool IniDocument::has(std::string_view section, std::string_view key) const {
    long h = find_section(section);
    return h >= 0 && find_key(h, key) >= 0;
}

std::string IniDocument::get(std::string_view section, std::string_view key,
                             std::string_view fallback) const {
    long h = find_section(section);
    long k = h >= 0 ? find_key(h, key) : -1;
    if (k < 0) return std::string(fallback);
    std::string_view name, value;
    key_value(lines_[static_cast<size_t>(k)].text, name, value);
    // The platform drops one pair of enclosing double quotes.
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
        value = value.substr(1, value.size() - 2);
    std::string text = lenient_utf8(value);
    if (utf8_length(text) > kMaxValue) {
        size_t n = 0, i = 0;
        while (i < text.size() && n < kMaxValue) {
            ++i;
            while (i < text.size() && (static_cast<unsigned char>(text[i]) & 0xC0) == 0x80) ++i;
            ++n;
        }
        text.resize(i);
    }
    return text;
}

void IniDocument::set(std::string_view section, std::string_view key, std::string_view value) {
    std::string eol = eol_style();
    std::string k(trim_blanks(key));
    std::string v(trim_blanks(value));
    long h = find_section(section);
    if (h < 0) {
        if (!lines_.empty() && lines_.back().eol.empty()) lines_.back().eol = eol;
        if (!lines_.empty() && !trim_blanks(lines_.back().text).empty()) lines_.push_back({"", eol});
        lines_.push_back({"[" + std::string(trim_blanks(section)) + "]", eol});
        lines_.push_back({k + "=" + v, eol});
        return;
    }
    long at = find_key(h, key);
    if (at >= 0) {
        // Keep the key's spelling as it stands in the file; only the value changes.
        std::string_view old_key, old_value;
        key_value(lines_[static_cast<size_t>(at)].text, old_key, old_value);
        lines_[static_cast<size_t>(at)].text = std::string(old_key) + "=" + v;
        return;
    }
    // New key: after the section's last non-blank line.
    size_t insert = static_cast<size_t>(h) + 1;
    for (size_t i = static_cast<size_t>(h) + 1; i < lines_.size(); ++i) {
        std::string_view name;
        if (section_name(lines_[i].text, name)) break;
        if (!trim_blanks(lines_[i].text).empty()) insert = i + 1;
    }
    if (insert == lines_.size() && !lines_.empty() && lines_.back().eol.empty()) lines_.back().eol = eol;
    lines_.insert(lines_.begin() + static_cast<long>(insert), Line{k + "=" + v, eol});
}

IniDocument IniFile::load() const {
    auto bytes = read_file(path_);
    return bytes ? IniDocument(*bytes) : IniDocument();
}

bool IniFile::save(const IniDocument& doc) const {
    Fault f;
    f.gen_code = kGenWrite;
    f.subsystem = "TERM";
    f.sub_code = 1;
    f.description = "Schreibfehler";
    f.filename = path_.filename().string();
    f.operation = "WRITEPROFILE";
    f.can_retry = true;
    f.can_default = true;
    const std::string bytes = doc.bytes();
    const bool written = with_fault(
        f,
        [&](Fault&) -> std::optional<bool> {
            if (atomic_write(path_, bytes)) return true;
            return std::nullopt;
        },
        false);
    if (written && !backup_.empty() && !atomic_write(backup_, bytes)) {
        std::error_code ec;
        std::filesystem::remove(backup_, ec);
    }
    return written;
}

std::string IniFile::get(std::string_view section, std::string_view key, std::string_view fallback) const {
    return load().get(section, key, fallback);
}

Num IniFile::get_num(std::string_view section, std::string_view key, std::string_view fallback) const {
    return parse_lenient(get(section, key, fallback));
}

bool IniFile::get_bool(std::string_view section, std::string_view key, std::string_view fallback) const {
    return get(section, key, fallback) == "1";
}

bool IniFile::set(std::string_view section, std::string_view key, std::string_view value) {
    IniDocument doc = load();
    doc.set(section, key, value);
    return save(doc);
}

bool IniFile::set_num(std::string_view section, std::string_view key, Num n) {
    return set(section, key, format_plain(n));
}

bool IniFile::set_num(std::string_view section, std::string_view key, double value, int decimals) {
    return set(section, key, format_plain(value, decimals));
}

bool IniFile::set_bool(std::string_view section, std::string_view key, bool yes) {
    return set(section, key, yes ? "1" : "0");
}

bool IniFile::set_many(std::string_view section, const std::vector<Entry>& entries) {
    IniDocument doc = load();
    for (const auto& e : entries) doc.set(section, e.key, e.value);
    return save(doc);
}

bool IniFile::set_sections(const std::vector<SectionEntries>& writes) {
    IniDocument doc = load();
    for (const auto& w : writes)
        for (const auto& e : w.entries) doc.set(w.section, e.key, e.value);
    return save(doc);
}

}  // namespace vestral::core
