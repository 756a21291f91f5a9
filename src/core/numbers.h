// Arithmetic rules every computation shares: the division rule, decimal rounding and the
// plain number text of the settings file.
#pragma once

#include <string>
#include <string_view>

namespace vestral::core {

// The program-wide division rule: a division by zero yields 0 and the computation goes on.
inline double div0(double a, double b) {
    return b == 0.0 ? 0.0 : a / b;
}

// Rounds half away from zero on the value's shortest decimal form, so round_to(1.005, 2) is 1.01
// although the binary 1.005 lies just below it. Negative decimals round to tens, hundreds, ...
double round_to(double value, int decimals);

// Truncation towards zero, as the tariff's INT.
double int_part(double value);

// A number together with the decimals it carries (from its mask, or from the text it was read from).
struct Num {
    double value = 0.0;
    int decimals = 0;
};

// Plain decimal text: optional minus, digits, and a point with exactly `decimals` digits
// ("1250.50", "3.000", "2"). The value is rounded half away from zero first.
std::string format_plain(double value, int decimals);
inline std::string format_plain(Num n) {
    return format_plain(n.value, n.decimals);
}

// Full precision for computed values: the shortest text that reads back to the same double.
std::string format_shortest(double value);

// Lenient reading: leading blanks, optional sign, digits, optional point and digits; stops at the
// first other character; empty or non-numeric text gives 0. The digits after the point are the
// decimals the value carries from then on.
Num parse_lenient(std::string_view text);

}  // namespace vestral::core
