#include "core/numbers.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace vestral::core {

double int_part(double value) {
    return std::trunc(value);
}

double round_to(double value, int decimals) {
    if (!std::isfinite(value) || value == 0.0) return value;
    // Shortest scientific form: d.ddddde±x, which is the decimal value the user meant.
    char buf[64];
    auto res = std::to_chars(buf, buf + sizeof buf, std::fabs(value), std::chars_format::scientific);
    std::string_view s(buf, static_cast<size_t>(res.ptr - buf));
    size_t epos = s.find('e');
    std::string digits;
    for (char c : s.substr(0, epos))
        if (c != '.') digits.push_back(c);
    int exp10 = std::atoi(std::string(s.substr(epos + 1)).c_str());
    // digits[0] stands at 10^exp10; keep the digits down to 10^-decimals.
    long keep = static_cast<long>(exp10) + 1 + decimals;
    if (keep >= static_cast<long>(digits.size())) return value;
    bool negative = value < 0;
    if (keep < 0) return 0.0;
    bool up = digits[static_cast<size_t>(keep)] >= '5';
    std::string kept = digits.substr(0, static_cast<size_t>(keep));
    if (kept.empty()) kept = "0";
    if (up) {
        int i = static_cast<int>(kept.size()) - 1;
        for (; i >= 0; --i) {
            if (kept[static_cast<size_t>(i)] == '9') {
                kept[static_cast<size_t>(i)] = '0';
            } else {
                ++kept[static_cast<size_t>(i)];
                break;
            }
        }
        if (i < 0) kept.insert(kept.begin(), '1'), ++exp10;
        if (keep == 0) {
            // Nothing was kept: rounding up gives one unit of the last kept place.
            double unit = std::pow(10.0, -decimals);
            return negative ? -unit : unit;
        }
    } else if (keep == 0) {
        return 0.0;
    }
    // kept holds the digits from 10^exp10 down to 10^-decimals.
    std::string text = kept + "e" + std::to_string(-decimals);
    double result = std::strtod(text.c_str(), nullptr);
    if (result == 0.0) return 0.0;
    return negative ? -result : result;
}

std::string format_plain(double value, int decimals) {
    if (!std::isfinite(value)) value = 0.0;
    if (decimals < 0) decimals = 0;
    double r = round_to(value, decimals);
    if (r == 0.0) r = 0.0;  // no "-0.00"
    char buf[400];
    std::snprintf(buf, sizeof buf, "%.*f", decimals, r);
    return buf;
}

std::string format_shortest(double value) {
    if (!std::isfinite(value)) return "0";
    if (value == 0.0) return "0";
    // Up to 15 significant digits reads back as written and avoids binary noise (0.1+0.2).
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.15g", value);
    std::string s = buf;
    if (s.find('e') != std::string::npos) {
        // Fixed notation only: the settings file's readers know no exponent.
        std::snprintf(buf, sizeof buf, "%.15f", value);
        s = buf;
        while (!s.empty() && s.back() == '0') s.pop_back();
        if (!s.empty() && s.back() == '.') s.pop_back();
    }
    return s;
}

Num parse_lenient(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
    double value = 0.0;
    int decimals = 0;
    std::string digits;
    size_t start = i;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') digits.push_back(text[i++]);
    if (i < text.size() && text[i] == '.') {
        ++i;
        std::string frac;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9') frac.push_back(text[i++]);
        decimals = static_cast<int>(frac.size());
        if (!frac.empty()) digits += "." + frac;
    }
    if (i == start || digits.empty()) return {0.0, decimals};
    value = std::strtod(digits.c_str(), nullptr);
    if (!std::isfinite(value)) value = 0.0;
    return {negative ? -value : value, decimals};
}

}  // namespace vestral::core
