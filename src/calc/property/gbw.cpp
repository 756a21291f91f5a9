#include "calc/property/gbw.h"

#include "core/numbers.h"
#include "core/opstack.h"

namespace vestral::calc {

double gbw_reduction(double ready_year, double current_year) {
    const double reduction = (current_year - ready_year) / 2;
    return reduction > 25 ? 25 : reduction;
}

double gbwrech(const GbwInputs& in, int current_year) {
    VESTRAL_OP("GBWRECH");
    double value = in.NFLAECHE * in.NMIETE * 12 * 12.5;
    const double reduction = gbw_reduction(in.NJAHR, current_year);
    value = value - value / 100 * reduction;
    if (in.LEINZWEI) value = value + value * 0.2;
    return value;
}

bool gbw_can_compute(const GbwInputs& in) {
    return in.NJAHR > 0 && in.NFLAECHE > 0 && in.NMIETE > 0;
}

std::array<core::InpFail, 3> gbw_checks(const GbwInputs& in, int current_year) {
    using core::InpFail;
    using core::Num;
    return {
        InpFail{"Jahr Bezugsfertig", in.NJAHR, Num{1900, 0}, Num{static_cast<double>(current_year + 5), 0},
                "", "", ""},
        InpFail{"Wohnfläche", in.NFLAECHE, Num{1, 0}, Num{9999999, 0}, "", "", ""},
        InpFail{"Miete qm", in.NMIETE, Num{1, 0}, Num{9999999, 0}, "", "", ""},
    };
}

std::vector<core::IniFile::Entry> gbw_settings_entries(const GbwInputs& in) {
    return core::section_entries(kGbwSettings, in);
}

GbwInputs gbw_read_settings(const core::IniFile& ini) {
    VESTRAL_OP("GBWGDATA");
    return core::read_section(ini.load(), kGbwSettings);
}

}  // namespace vestral::calc
