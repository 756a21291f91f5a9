#include "core/settings_keys.h"

#include <stdexcept>

#include "core/files.h"

namespace vestral::core::settings_keys_detail {

void unbound_member(const char* section) {
    throw std::logic_error(std::string("Kein Schlüssel des Abschnitts ") + section +
                           " gehört zu diesem Wert.");
}

std::string shape_text(std::string_view text, TextShape shape, bool writing) {
    if (writing && shape.trim_written) {
        while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
        return std::string(text);
    }
    if (shape.width > 0) return pad_utf8(text, static_cast<size_t>(shape.width));
    return std::string(text);
}

std::string number_text(double value, int decimals) {
    return decimals == kFullPrecision ? format_shortest(value) : format_plain(value, decimals);
}

Date date_of(std::string_view text) {
    auto d = parse_date(text);
    return d ? *d : Date{};
}

}  // namespace vestral::core::settings_keys_detail
