#include "core/clock.h"

#include <chrono>
#include <cstdio>
#include <ctime>

namespace vestral::core {

namespace {
Date& fixed_today() {
    static Date d;
    return d;
}

// Days since 1970-01-01 for a proleptic Gregorian date (H. Hinnant's algorithm).
long to_days(Date d) {
    int y = d.year - (d.month <= 2 ? 1 : 0);
    long era = (y >= 0 ? y : y - 399) / 400;
    unsigned yoe = static_cast<unsigned>(y - era * 400);
    unsigned mp = static_cast<unsigned>(d.month + (d.month > 2 ? -3 : 9));
    unsigned doy = (153 * mp + 2) / 5 + static_cast<unsigned>(d.day) - 1;
    unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<long>(doe) - 719468;
}

Date from_days(long z) {
    z += 719468;
    long era = (z >= 0 ? z : z - 146096) / 146097;
    unsigned doe = static_cast<unsigned>(z - era * 146097);
    unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    long y = static_cast<long>(yoe) + era * 400;
    unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    unsigned mp = (5 * doy + 2) / 153;
    unsigned d = doy - (153 * mp + 2) / 5 + 1;
    unsigned m = mp < 10 ? mp + 3 : mp - 9;
    return {static_cast<int>(y + (m <= 2 ? 1 : 0)), static_cast<int>(m), static_cast<int>(d)};
}
}  // namespace

Date today() {
    if (!fixed_today().empty()) return fixed_today();
    std::time_t t = std::time(nullptr);
    std::tm tm{};
    localtime_r(&t, &tm);
    return {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday};
}

void set_today_for_tests(Date d) {
    fixed_today() = d;
}

bool is_leap(int y) {
    return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

int days_in_month(int y, int m) {
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (m < 1 || m > 12) return 0;
    return m == 2 && is_leap(y) ? 29 : days[m - 1];
}

bool is_valid(Date d) {
    return d.year >= 1 && d.year <= 9999 && d.month >= 1 && d.month <= 12 && d.day >= 1 &&
           d.day <= days_in_month(d.year, d.month);
}

std::optional<Date> add_days(Date d, long days) {
    // Beyond +-4 million days the result leaves the years 1..9999 anyway; the bound keeps the
    // sum far from overflowing.
    if (!is_valid(d) || days > 4'000'000 || days < -4'000'000) return std::nullopt;
    Date r = from_days(to_days(d) + days);
    if (!is_valid(r)) return std::nullopt;
    return r;
}

std::optional<long> days_between(Date from, Date to) {
    if (!is_valid(from) || !is_valid(to)) return std::nullopt;
    return to_days(to) - to_days(from);
}

std::string format_date(Date d) {
    if (d.empty()) return "";
    char buf[16];
    std::snprintf(buf, sizeof buf, "%02d.%02d.%04d", d.day % 100, d.month % 100, d.year % 10000);
    return buf;
}

std::optional<Date> parse_date(std::string_view s) {
    int part[3] = {0, 0, 0};
    int idx = 0, digits = 0;
    for (char c : s) {
        if (c >= '0' && c <= '9') {
            if (digits >= 4) return std::nullopt;
            part[idx] = part[idx] * 10 + (c - '0');
            ++digits;
        } else if (c == '.') {
            if (++idx > 2 || digits == 0) return std::nullopt;
            digits = 0;
        } else if (c != ' ') {
            return std::nullopt;
        }
    }
    if (idx != 2 || digits == 0) return std::nullopt;
    Date d{part[2], part[1], part[0]};
    if (!is_valid(d)) return std::nullopt;
    return d;
}

std::string date_to_dbf(Date d) {
    if (d.empty() || !is_valid(d)) return "        ";
    char buf[40];  // room for any int, so an optimising build sees no truncation
    std::snprintf(buf, sizeof buf, "%04d%02d%02d", d.year, d.month, d.day);
    return buf;
}

Date date_from_dbf(std::string_view s) {
    if (s.size() < 8) return {};
    int v[8];
    for (int i = 0; i < 8; ++i) {
        char c = s[static_cast<size_t>(i)];
        if (c < '0' || c > '9') return {};
        v[i] = c - '0';
    }
    Date d{v[0] * 1000 + v[1] * 100 + v[2] * 10 + v[3], v[4] * 10 + v[5], v[6] * 10 + v[7]};
    return is_valid(d) ? d : Date{};
}

}  // namespace vestral::core
