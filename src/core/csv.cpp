#include "core/csv.h"

#include "core/numbers.h"

namespace vestral::core {

std::string csv_number(double value, int decimals) {
    std::string text = format_plain(value, decimals < 0 ? 0 : decimals);
    for (char& c : text)
        if (c == '.') c = ',';
    return text;
}

std::string csv_field(std::string_view text) {
    const bool edge_blank = !text.empty() && (text.front() == ' ' || text.back() == ' ');
    if (!edge_blank && text.find_first_of(";\"\r\n") == std::string_view::npos) return std::string(text);
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '"') quoted += '"';
        quoted += c;
    }
    quoted += '"';
    return quoted;
}

std::string csv_document(const std::vector<std::vector<std::string>>& rows) {
    std::string out(kUtf8Bom);
    for (const auto& row : rows) {
        for (size_t i = 0; i < row.size(); ++i) {
            if (i > 0) out += ';';
            out += csv_field(row[i]);
        }
        out += "\r\n";
    }
    return out;
}

}  // namespace vestral::core
