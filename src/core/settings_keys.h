// The keys of a settings section, declared once per section: each key bound to the member of the
// values it stores, with the decimals it is written with and the text read when it is missing.
// One table gives the reading of the section into the values and the entries written back, so a
// key's spelling, order, decimals and default live in exactly one place, and every other part of
// the program reaches a key through the member it is bound to.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "core/clock.h"
#include "core/ini.h"
#include "core/numbers.h"

namespace vestral::core {

// The computed part of a section whose values are all inputs.
struct NoResults {};

// Decimals of a computed value written at full precision (the shortest text that reads back to
// the same number).
inline constexpr int kFullPrecision = -1;

enum class KeyType {
    Number,  // double, written with `decimals` (or at full precision)
    Whole,   // int, written without decimals, read truncated
    Exact,   // Num, keeps the decimals of the text it was read from
    Text,    // std::string, optionally padded with blanks to a width
    Flag,    // bool, "1" or "0"; yes only when the text is exactly "1"
    Date,    // Date as "dd.mm.yyyy"; empty or invalid text reads as the empty date
};

// How a text key is shaped: `width` > 0 pads it with blanks to that many characters when it is
// read and when it is written; `trim_written` writes it without trailing blanks instead.
struct TextShape {
    int width = 0;
    bool trim_written = false;
};

// One key. `In` holds the inputs of the section, `Res` the computed values that are written with
// them (results are read back only by callers that ask for them).
template <class In, class Res = NoResults>
struct SettingsKey {
    const char* name = "";
    KeyType type = KeyType::Number;
    // The member the key is bound to: exactly one is set.
    double In::*bound_number = nullptr;
    int In::*bound_whole = nullptr;
    Num In::*bound_exact = nullptr;
    std::string In::*bound_text = nullptr;
    bool In::*bound_flag = nullptr;
    core::Date In::*bound_date = nullptr;
    double Res::*bound_result = nullptr;  // a computed number (type Number)
    int decimals = 0;
    const char* fallback = "";
    std::string (*fallback_of)() = nullptr;  // a default that depends on the day, e.g. this year
    TextShape shape{};

    static constexpr SettingsKey number(const char* name, double In::*m, int decimals, const char* fallback) {
        SettingsKey k;
        k.name = name;
        k.type = KeyType::Number;
        k.bound_number = m;
        k.decimals = decimals;
        k.fallback = fallback;
        return k;
    }
    static constexpr SettingsKey whole(const char* name, int In::*m, const char* fallback) {
        SettingsKey k;
        k.name = name;
        k.type = KeyType::Whole;
        k.bound_whole = m;
        k.fallback = fallback;
        return k;
    }
    static constexpr SettingsKey whole(const char* name, int In::*m, std::string (*fallback_of)()) {
        SettingsKey k = whole(name, m, "");
        k.fallback_of = fallback_of;
        return k;
    }
    static constexpr SettingsKey exact(const char* name, Num In::*m, const char* fallback) {
        SettingsKey k;
        k.name = name;
        k.type = KeyType::Exact;
        k.bound_exact = m;
        k.fallback = fallback;
        return k;
    }
    static constexpr SettingsKey text(const char* name, std::string In::*m, const char* fallback,
                                      TextShape shape = {}) {
        SettingsKey k;
        k.name = name;
        k.type = KeyType::Text;
        k.bound_text = m;
        k.fallback = fallback;
        k.shape = shape;
        return k;
    }
    static constexpr SettingsKey flag(const char* name, bool In::*m, const char* fallback) {
        SettingsKey k;
        k.name = name;
        k.type = KeyType::Flag;
        k.bound_flag = m;
        k.fallback = fallback;
        return k;
    }
    static constexpr SettingsKey date(const char* name, core::Date In::*m, const char* fallback) {
        SettingsKey k;
        k.name = name;
        k.type = KeyType::Date;
        k.bound_date = m;
        k.fallback = fallback;
        return k;
    }
    static constexpr SettingsKey result(const char* name, double Res::*m, int decimals = kFullPrecision,
                                        const char* fallback = "0") {
        SettingsKey k;
        k.name = name;
        k.type = KeyType::Number;
        k.bound_result = m;
        k.decimals = decimals;
        k.fallback = fallback;
        return k;
    }

    std::string default_text() const { return fallback_of ? fallback_of() : std::string(fallback); }
    bool is_result() const { return bound_result != nullptr; }
};

// A section: its name and its keys in the order they are written.
template <class In, class Res, std::size_t N>
struct SettingsSection {
    const char* name;
    std::array<SettingsKey<In, Res>, N> keys;
};
template <class In, class Res, std::size_t N>
SettingsSection(const char*, std::array<SettingsKey<In, Res>, N>) -> SettingsSection<In, Res, N>;

namespace settings_keys_detail {
[[noreturn]] void unbound_member(const char* section);
std::string shape_text(std::string_view text, TextShape shape, bool writing);
std::string number_text(double value, int decimals);
Date date_of(std::string_view text);

template <class In, class Res>
void take(const SettingsKey<In, Res>& k, const std::string& text, In& in, Res* res) {
    switch (k.type) {
        case KeyType::Number:
            if (k.bound_result) {
                if (res) (*res).*k.bound_result = parse_lenient(text).value;
            } else {
                in.*k.bound_number = parse_lenient(text).value;
            }
            break;
        case KeyType::Whole:
            in.*k.bound_whole = static_cast<int>(parse_lenient(text).value);
            break;
        case KeyType::Exact:
            in.*k.bound_exact = parse_lenient(text);
            break;
        case KeyType::Text:
            in.*k.bound_text = shape_text(text, k.shape, false);
            break;
        case KeyType::Flag:
            in.*k.bound_flag = text == "1";
            break;
        case KeyType::Date:
            in.*k.bound_date = date_of(text);
            break;
    }
}

template <class In, class Res>
std::string give(const SettingsKey<In, Res>& k, const In& in, const Res* res) {
    switch (k.type) {
        case KeyType::Number:
            if (k.bound_result)
                return res ? number_text((*res).*k.bound_result, k.decimals) : k.default_text();
            return number_text(in.*k.bound_number, k.decimals);
        case KeyType::Whole:
            return format_plain(static_cast<double>(in.*k.bound_whole), 0);
        case KeyType::Exact:
            return format_plain(in.*k.bound_exact);
        case KeyType::Text:
            return shape_text(in.*k.bound_text, k.shape, true);
        case KeyType::Flag:
            return in.*k.bound_flag ? "1" : "0";
        case KeyType::Date:
            return format_date(in.*k.bound_date);
    }
    return {};
}

template <class In, class Res, std::size_t N, class Owner, class M>
const SettingsKey<In, Res>& key_of(const SettingsSection<In, Res, N>& s, M Owner::*m) {
    for (const auto& k : s.keys) {
        if constexpr (std::is_same_v<Owner, Res> && !std::is_same_v<Res, In>) {
            if constexpr (std::is_same_v<M, double>)
                if (k.bound_result == m) return k;
        } else if constexpr (std::is_same_v<M, double>) {
            if (k.bound_number == m) return k;
        } else if constexpr (std::is_same_v<M, int>) {
            if (k.bound_whole == m) return k;
        } else if constexpr (std::is_same_v<M, Num>) {
            if (k.bound_exact == m) return k;
        } else if constexpr (std::is_same_v<M, std::string>) {
            if (k.bound_text == m) return k;
        } else if constexpr (std::is_same_v<M, bool>) {
            if (k.bound_flag == m) return k;
        } else if constexpr (std::is_same_v<M, core::Date>) {
            if (k.bound_date == m) return k;
        }
    }
    unbound_member(s.name);
}
}  // namespace settings_keys_detail

// The section read from `doc` into `in` (and the computed values into `res`); a missing key takes
// its default. Members that no key binds keep their values.
template <class In, class Res, std::size_t N>
void read_section(const IniDocument& doc, const SettingsSection<In, Res, N>& s, In& in, Res& res) {
    for (const auto& k : s.keys)
        settings_keys_detail::take(k, doc.get(s.name, k.name, k.default_text()), in, &res);
}
template <class In, class Res, std::size_t N>
void read_section(const IniDocument& doc, const SettingsSection<In, Res, N>& s, In& in) {
    for (const auto& k : s.keys)
        if (!k.is_result())
            settings_keys_detail::take(k, doc.get(s.name, k.name, k.default_text()), in,
                                       static_cast<Res*>(nullptr));
}
template <class In, class Res, std::size_t N>
In read_section(const IniDocument& doc, const SettingsSection<In, Res, N>& s) {
    In in{};
    read_section(doc, s, in);
    return in;
}

// The entries of the section in the order of its keys, for one IniFile::set_many.
template <class In, class Res, std::size_t N>
std::vector<IniFile::Entry> section_entries(const SettingsSection<In, Res, N>& s, const In& in,
                                            const Res& res) {
    std::vector<IniFile::Entry> out;
    out.reserve(N);
    for (const auto& k : s.keys) out.push_back({k.name, settings_keys_detail::give(k, in, &res)});
    return out;
}
template <class In, class Res, std::size_t N>
std::vector<IniFile::Entry> section_entries(const SettingsSection<In, Res, N>& s, const In& in) {
    static_assert(std::is_same_v<Res, NoResults>, "a section with computed values needs them to be written");
    return section_entries(s, in, NoResults{});
}

// The whole section as one change of the settings file's sections (IniFile::set_sections).
template <class In, class Res, std::size_t N>
IniFile::SectionEntries section_write(const SettingsSection<In, Res, N>& s, const In& in, const Res& res) {
    return {s.name, section_entries(s, in, res)};
}
template <class In, class Res, std::size_t N>
IniFile::SectionEntries section_write(const SettingsSection<In, Res, N>& s, const In& in) {
    return {s.name, section_entries(s, in)};
}

// One key, addressed by the member it is bound to: its value as read (shaped, with its default)
// and its entry for writing. A member no key of the section binds is a programming fault.
template <class In, class Res, std::size_t N, class M>
M read_key(const IniDocument& doc, const SettingsSection<In, Res, N>& s, M In::*member) {
    const auto& k = settings_keys_detail::key_of(s, member);
    In in{};
    settings_keys_detail::take(k, doc.get(s.name, k.name, k.default_text()), in, static_cast<Res*>(nullptr));
    return in.*member;
}
template <class In, class Res, std::size_t N, class M>
IniFile::Entry key_entry(const SettingsSection<In, Res, N>& s, M In::*member,
                         const std::type_identity_t<M>& value) {
    const auto& k = settings_keys_detail::key_of(s, member);
    In in{};
    in.*member = value;
    return {k.name, settings_keys_detail::give(k, in, static_cast<const Res*>(nullptr))};
}
// A number key (an input or a computed value) read with the decimals of its text and the caller's
// default: for calculators that take a value over and carry it on unchanged.
template <class In, class Res, std::size_t N, class Owner>
Num read_num(const IniDocument& doc, const SettingsSection<In, Res, N>& s, double Owner::*member,
             std::string_view fallback) {
    return parse_lenient(doc.get(s.name, settings_keys_detail::key_of(s, member).name, fallback));
}
// The spelling of a bound key, for callers that must name it (e.g. a printout's label).
template <class In, class Res, std::size_t N, class Owner, class M>
const char* key_name(const SettingsSection<In, Res, N>& s, M Owner::*member) {
    return settings_keys_detail::key_of(s, member).name;
}

}  // namespace vestral::core
