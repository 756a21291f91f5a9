// Calendar dates and "today" for every computation and dialog; tests set the clock.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vestral::core {

struct Date {
    int year = 0, month = 0, day = 0;  // 0/0/0 is the empty date
    bool empty() const { return year == 0; }
    friend bool operator==(const Date&, const Date&) = default;
    friend auto operator<=>(const Date&, const Date&) = default;
};

Date today();
void set_today_for_tests(Date d);  // an empty date returns to the real clock

bool is_leap(int year);
int days_in_month(int year, int month);
bool is_valid(Date d);
// Date arithmetic is defined on valid dates only: an empty or invalid date (or a result beyond
// the years 1..9999) gives nothing, so a caller stops with its own date message instead of
// counting with a day number that wrapped around.
std::optional<Date> add_days(Date d, long days);
std::optional<long> days_between(Date from, Date to);  // to - from in days

std::string format_date(Date d);                            // "dd.mm.yyyy", empty for the empty date
std::optional<Date> parse_date(std::string_view ddmmyyyy);  // nothing for an invalid date
std::string date_to_dbf(Date d);                            // "YYYYMMDD", eight blanks when empty
Date date_from_dbf(std::string_view yyyymmdd);              // empty date when blank or invalid

}  // namespace vestral::core
