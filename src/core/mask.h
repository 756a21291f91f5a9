// Picture masks: how numbers are shown in fields, grids and printouts, and how typed text is read.
#pragma once

#include <string>
#include <string_view>

#include "core/numbers.h"

namespace vestral::core {

// A picture mask such as "@K@E 999999999.99", "@E 999,999,999.99 " or "999 ".
struct Mask {
    bool replace_on_first_key = false;  // "@K"
    bool european = false;              // "@E": decimal comma, thousands points
    std::string picture;                // what follows the flags, trailing blanks included

    static Mask parse(std::string_view text);

    int decimals() const;        // '9' positions after the '.'
    int integer_digits() const;  // '9' positions before the '.'
    bool has_picture() const { return picture.find('9') != std::string::npos; }

    // The display text: exactly as wide as the picture; asterisks when the value does not fit.
    std::string format(double value) const;
    // The same without the thousands positions: what a focused field shows for editing.
    std::string format_for_edit(double value) const;
    // The largest value the picture can show (999999.99 for "999,999.99").
    double max_value() const;

    // Reads what a user typed into a field with this mask: blanks ignored; under "@E" both the
    // comma and the point are the decimal separator; a second separator ends the number. The
    // result carries the mask's decimals and is rounded to them.
    Num parse_input(std::string_view typed) const;
};

// Convenience: format with a mask given as text.
std::string format_mask(double value, std::string_view mask);
// Leading blanks removed, as the printouts show amounts after a label.
std::string trim_left(std::string_view s);
std::string trim(std::string_view s);

}  // namespace vestral::core
