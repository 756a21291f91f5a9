// CSV text the way German spreadsheet programs open it on a double-click: ";" between fields,
// decimal comma without thousands separators, dates as dd.mm.yyyy, UTF-8 with a byte order mark
// (without it the spreadsheet guesses the Windows code page) and CR LF line ends. Fields are
// quoted as RFC 4180 asks.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vestral::core {

inline constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

// A number with exactly `decimals` digits after the decimal comma ("-1234,50", "2024").
std::string csv_number(double value, int decimals);

// One field: quoted when it holds the separator, a quote, a line break or blanks at either end
// (which a spreadsheet would otherwise drop); quotes inside are doubled.
std::string csv_field(std::string_view text);

// The whole file: BOM, then every row's fields joined by ";", each row ended by CR LF.
std::string csv_document(const std::vector<std::vector<std::string>>& rows);

}  // namespace vestral::core
