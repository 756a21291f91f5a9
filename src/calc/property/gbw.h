// "Grundbesitzwert errechnen": a quick tax value of a built-on property from the year it became
// ready, its living area and its rent per m² (yearly rent x 12.5, less 0.5 % per year of age up to
// 25 %, plus 20 % for a one- or two-family house).
#pragma once

#include <array>
#include <vector>

#include "core/ini.h"
#include "core/inpfail.h"
#include "core/settings_keys.h"

namespace vestral::calc {

struct GbwInputs {
    double NJAHR = 0;       // year ready for occupation
    double NFLAECHE = 0;    // living area, m²
    double NMIETE = 0;      // monthly net cold rent per m²
    bool LEINZWEI = false;  // one- or two-family house
};

// GBWRECH: NGBWERT. The age counts to `current_year`; no rounding.
double gbwrech(const GbwInputs& in, int current_year);

// The reduction for age in percent: half a percent per year, at most 25 (a future year lowers it
// below 0 and raises the value).
double gbw_reduction(double ready_year, double current_year);

bool gbw_can_compute(const GbwInputs& in);

// The three field checks in the order of the fields; the year is bounded by the current year + 5.
std::array<core::InpFail, 3> gbw_checks(const GbwInputs& in, int current_year);

// Settings section BER_GBW, shared with the earnings-method calculator and the market value: the
// keys this calculator reads and writes, in the order they are written.
using GbwKey = core::SettingsKey<GbwInputs>;
inline constexpr core::SettingsSection kGbwSettings{
    "BER_GBW", std::array{
                   GbwKey::number("BezJahr", &GbwInputs::NJAHR, 0, "0.00"),
                   GbwKey::number("WFlaeche", &GbwInputs::NFLAECHE, 2, "0.00"),
                   GbwKey::number("MMiete", &GbwInputs::NMIETE, 2, "0.00"),
                   GbwKey::flag("EinZwo", &GbwInputs::LEINZWEI, "0"),
               }};
inline constexpr const char* kGbwSection = kGbwSettings.name;

// GBWWDATA1's entries and GBWGDATA's reading.
std::vector<core::IniFile::Entry> gbw_settings_entries(const GbwInputs& in);
GbwInputs gbw_read_settings(const core::IniFile& ini);

}  // namespace vestral::calc
