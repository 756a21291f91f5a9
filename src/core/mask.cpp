#include "core/mask.h"

#include <cmath>
#include <cstdio>

namespace vestral::core {

Mask Mask::parse(std::string_view text) {
    Mask m;
    size_t i = 0;
    while (i + 1 < text.size() && text[i] == '@') {
        char f = static_cast<char>(text[i + 1] & ~0x20);
        if (f == 'K') m.replace_on_first_key = true;
        if (f == 'E') m.european = true;
        i += 2;
    }
    if (i < text.size() && text[i] == ' ' && i > 0) ++i;  // the blank after the flags
    m.picture = std::string(text.substr(i));
    return m;
}

int Mask::decimals() const {
    size_t dot = picture.find('.');
    if (dot == std::string::npos) return 0;
    int n = 0;
    for (size_t i = dot + 1; i < picture.size(); ++i)
        if (picture[i] == '9') ++n;
    return n;
}

int Mask::integer_digits() const {
    size_t dot = picture.find('.');
    int n = 0;
    for (size_t i = 0; i < picture.size() && i < dot; ++i)
        if (picture[i] == '9') ++n;
    return n;
}

double Mask::max_value() const {
    double v = std::pow(10.0, integer_digits()) - std::pow(10.0, -decimals());
    return v;
}

namespace {

// Places the digits of |value| into the picture's positions from the right; the sign takes the
// position left of the first digit. Returns false when they do not fit.
bool fill(const std::string& picture, bool european, double value, int decimals, bool show_thousands,
          std::string& out) {
    double r = round_to(value, decimals);
    bool negative = r < 0;
    char buf[400];
    std::snprintf(buf, sizeof buf, "%.*f", decimals, std::fabs(r));
    std::string num = buf;
    std::string int_digits = num.substr(0, num.find('.'));
    std::string frac_digits = decimals > 0 ? num.substr(num.find('.') + 1) : "";
    // Clipper shows a zero integer part as "0" only when there is no room issue; keep "0".
    size_t dot = picture.find('.');
    std::string pic = picture;
    out.assign(pic.size(), ' ');
    // Fraction positions.
    if (dot != std::string::npos) {
        out[dot] = european ? ',' : '.';
        size_t k = 0;
        for (size_t i = dot + 1; i < pic.size(); ++i) {
            if (pic[i] == '9')
                out[i] = k < frac_digits.size() ? frac_digits[k++] : '0';
            else
                out[i] = pic[i];
        }
    }
    size_t int_end = dot == std::string::npos ? pic.size() : dot;
    // Trailing literals after the last '9' in integer-only pictures stay as they are.
    int d = static_cast<int>(int_digits.size()) - 1;
    bool sign_pending = negative;
    bool digits_done = false;
    for (size_t ii = int_end; ii-- > 0;) {
        char p = pic[ii];
        if (p == '9') {
            if (d >= 0) {
                out[ii] = int_digits[static_cast<size_t>(d--)];
            } else if (sign_pending) {
                out[ii] = '-';
                sign_pending = false;
                digits_done = true;
            } else {
                out[ii] = ' ';
                digits_done = true;
            }
        } else if (p == ',') {
            // A thousands separator appears only with a digit to its left.
            // Right after the last digit the sign takes the separator's place, so that it
            // stands next to the number ("-100.186,66", not "- 100.186,66").
            if (d >= 0 && show_thousands)
                out[ii] = european ? '.' : ',';
            else if (d >= 0)
                out[ii] = ' ';
            else if (sign_pending) {
                out[ii] = '-';
                sign_pending = false;
            } else
                out[ii] = ' ';
        } else {
            out[ii] = p;
        }
        (void)digits_done;
    }
    if (d >= 0 || sign_pending) return false;
    return true;
}

std::string strip_thousands(const std::string& picture) {
    std::string s;
    for (char c : picture)
        if (c != ',') s.push_back(c);
    return s;
}

std::string stars(const std::string& picture, bool european) {
    std::string s = picture;
    for (char& c : s) {
        if (c == '9' || c == ',')
            c = '*';
        else if (c == '.')
            c = european ? ',' : '.';
    }
    return s;
}

}  // namespace

std::string Mask::format(double value) const {
    if (!has_picture()) return format_plain(value, 0);
    if (!std::isfinite(value)) value = 0.0;
    std::string out;
    if (!fill(picture, european, value, decimals(), true, out)) return stars(picture, european);
    return out;
}

std::string Mask::format_for_edit(double value) const {
    if (!has_picture()) return format_plain(value, 0);
    std::string pic = strip_thousands(picture);
    std::string out;
    if (!fill(pic, european, value, decimals(), false, out)) return stars(pic, european);
    return out;
}

Num Mask::parse_input(std::string_view typed) const {
    std::string clean;
    bool negative = false;
    bool separator_seen = false;
    for (char c : typed) {
        if (c >= '0' && c <= '9') {
            clean.push_back(c);
        } else if (c == '-') {
            if (clean.empty()) negative = true;
        } else if ((c == ',' && european) || c == '.') {
            if (separator_seen) break;  // a second separator ends the number
            separator_seen = true;
            clean.push_back('.');
        }
        // blanks, thousands commas outside "@E" and other characters are ignored
    }
    Num n = parse_lenient(clean);
    n.decimals = decimals();
    n.value = round_to(negative ? -n.value : n.value, n.decimals);
    if (n.value == 0.0) n.value = 0.0;
    return n;
}

std::string format_mask(double value, std::string_view mask) {
    return Mask::parse(mask).format(value);
}

std::string trim_left(std::string_view s) {
    size_t i = 0;
    while (i < s.size() && s[i] == ' ') ++i;
    return std::string(s.substr(i));
}

std::string trim(std::string_view s) {
    std::string t = trim_left(s);
    while (!t.empty() && t.back() == ' ') t.pop_back();
    return t;
}

}  // namespace vestral::core
