// What the two side-cost calculators (building and buying a house) have in common: the
// description of an input row with its check and its amount, the settings keys of a section, and
// the commission with value added tax.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <vector>

#include "core/ini.h"
#include "core/inpfail.h"
#include "core/numbers.h"

namespace vestral::calc::kosten {

// Computed amounts are shown with this mask, followed by "€".
inline constexpr const char* kAmountMask = "@E 999,999,999.99 ";

// One input of a cost dialog: what the row shows, how the field is checked when it is left, and
// the amount computed from it (nullptr: the row has none).
template <class Inputs, class Results>
struct Field {
    const char* object_name;  // the value's name, also the widget's object name
    const char* label;
    double Inputs::*value;
    const char* unit;
    const char* mask;
    const char* check_name;
    double low, high;  // whole-number bounds
    const char* typical1;
    const char* typical2;
    const char* check_unit;
    const char* help;
    double Results::*amount;
    const char* amount_name;  // "" when there is no amount

    core::InpFail check(double v) const {
        return {check_name, v, core::Num{low, 0}, core::Num{high, 0}, typical1, typical2, check_unit};
    }
};

// A key of a settings section: its value and the decimals it is written with (those of the
// field's mask), and the text read when the key is missing.
template <class Inputs>
struct Key {
    const char* key;
    double Inputs::*value;
    int decimals;
    const char* fallback;
};

template <class Inputs, std::size_t N>
std::vector<core::IniFile::Entry> key_entries(const std::array<Key<Inputs>, N>& keys, const Inputs& in) {
    std::vector<core::IniFile::Entry> entries;
    entries.reserve(N + 1);
    for (const Key<Inputs>& k : keys) entries.push_back({k.key, core::format_plain(in.*k.value, k.decimals)});
    return entries;
}

template <class Inputs, std::size_t N>
void read_keys(const core::IniFile& ini, const char* section, const std::array<Key<Inputs>, N>& keys,
               Inputs& in) {
    for (const Key<Inputs>& k : keys) in.*k.value = ini.get_num(section, k.key, k.fallback).value;
}

// A commission and the value added tax on it, in this order of operations: amount + amount / 100 × rate.
inline double plus_vat(double amount, double rate) {
    return amount + amount / 100 * rate;
}

}  // namespace vestral::calc::kosten
