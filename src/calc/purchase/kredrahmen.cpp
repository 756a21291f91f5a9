#include "calc/purchase/kredrahmen.h"

#include <cmath>
#include <cstdio>

#include "core/opstack.h"

namespace vestral::calc {

std::string kred_field(int i) {
    if (i == kKredRateCount - 1) return "WERT100";
    char buf[16];
    std::snprintf(buf, sizeof buf, "WERT%03d", 300 + 25 * i);
    return buf;
}

std::string kred_heading(int i) {
    // Whole rates up to 5 % are headed without decimals, from 6 % on with two.
    static const std::array<const char*, kKredRateCount> headings{
        "Zinssatz 3 % ", "3,25 % ", "3,50 % ", "3,75 % ", "4 % ",     "4,25 % ", "4,50 % ", "4,75 % ",
        "5 % ",          "5,25 % ", "5,50 % ", "5,75 % ", "6,00 % ",  "6,25 % ", "6,50 % ", "6,75 % ",
        "7,00 % ",       "7,25 % ", "7,50 % ", "7,75 % ", "8,00 % ",  "8,25 % ", "8,50 % ", "8,75 % ",
        "9,00 % ",       "9,25 % ", "9,50 % ", "9,75 % ", "10,00 % ",
    };
    return headings.at(static_cast<size_t>(i));
}

double kred_amount(double yearly, double rate) {
    // r + A is at least 4, so the division never meets a zero divisor.
    const double carried = (yearly / (rate + kKredTilgung)) * 100;
    return std::trunc(carried / 1000) * 1000;
}

std::vector<KreditRow> kred_rech() {
    VESTRAL_OP("KRED_RECH");
    std::vector<KreditRow> rows;
    for (double b = 200; b < 3100; b += 100) {
        KreditRow row;
        row.MONRATE = b;
        const double y = b * 12;
        for (int i = 0; i < kKredRateCount; ++i)
            row.WERT[static_cast<size_t>(i)] = kred_amount(y, kred_rate(i));
        rows.push_back(row);
    }
    return rows;
}

const core::dbf::Layout& kredit_layout() {
    static const core::dbf::Layout layout = [] {
        core::dbf::Layout l{{"MONRATE", 'N', 5, 0}};
        for (int i = 0; i < kKredRateCount; ++i) l.push_back({kred_field(i), 'N', 6, 0});
        return l;
    }();
    return layout;
}

}  // namespace vestral::calc
