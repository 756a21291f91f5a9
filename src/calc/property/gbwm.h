// "Grundbesitzwert nach Ertragswertverfahren und Mindestwertberechnung": the tax value of a
// built-on property as the higher of the earnings value (yearly rent x 12.5, less 0.5 % per year
// of age up to 25 %, plus 20 % for a one- or two-family house) and the minimum value (80 % of land
// area x standard land value), with every intermediate value.
#pragma once

#include <array>
#include <vector>

#include "calc/property/gbw.h"
#include "core/ini.h"
#include "core/inpfail.h"

namespace vestral::calc {

struct GbwmInputs {
    double NWFLAECHE = 0;  // living area, whole m²
    double NMMIETE = 0;    // monthly net cold rent per m²
    double NBEZJAHR = 0;   // year ready for occupation
    double NBESJAHR = 0;   // taxation year
    bool LEINZWO = false;  // one- or two-family house
    double NGFLAECHE = 0;  // land area, m²
    double NBRWERT = 0;    // standard land value per m²
};

inline constexpr double kGbwmWertmind = 0.5;  // NWERTMIND: reduction per year of age, percent

struct GbwmResults {
    double NJMIETE = 0;
    double NJMIETEV = 0;
    double NALTER = 0;
    double NWERTMIND = kGbwmWertmind;
    double NWERTMPR = 0;
    double NWERTMDM = 0;
    double NWERTREST = 0;
    double NEINZWODM = 0;
    double NWERTALL = 0;  // the earnings value
    double NGBRWERT = 0;
    double NGBRREST = 0;
    double NGBRALL = 0;  // the minimum value
    double NERGEBNIS = 0;
};

// GBWMRECH. Only the land value is rounded (to whole euros).
GbwmResults gbwmrech(const GbwmInputs& in);

// Displays greyed while their value is 0: the surcharge, and the three minimum-value results.
inline bool gbwm_surcharge_greyed(const GbwmResults& r) {
    return r.NEINZWODM == 0;
}
inline bool gbwm_minimum_greyed(double value) {
    return value == 0;
}

bool gbwm_can_compute(const GbwmInputs& in);

// The six field checks in the order of the fields (area, rent, two years, land area, land value).
std::array<core::InpFail, 6> gbwm_checks(const GbwmInputs& in);

// The keys of section BER_GBW this calculator reads and writes ("BezJahr", "WFlaeche", "MMiete"
// and "EinZwo" are shared with the simple property value, which stores the area with decimals).
using GbwmKey = core::SettingsKey<GbwmInputs>;
inline constexpr core::SettingsSection kGbwmSettings{
    kGbwSection, std::array{
                     GbwmKey::number("WFlaeche", &GbwmInputs::NWFLAECHE, 0, "0"),
                     GbwmKey::number("MMiete", &GbwmInputs::NMMIETE, 2, "0.00"),
                     GbwmKey::number("BezJahr", &GbwmInputs::NBEZJAHR, 0, "0"),
                     GbwmKey::number("BesJahr", &GbwmInputs::NBESJAHR, 0, "0"),
                     GbwmKey::flag("EinZwo", &GbwmInputs::LEINZWO, "0"),
                     GbwmKey::number("GFlaeche", &GbwmInputs::NGFLAECHE, 2, "0.00"),
                     GbwmKey::number("BRWert", &GbwmInputs::NBRWERT, 2, "0.00"),
                 }};

// GBWMWDATA's entries and GBWMGDATA's reading. The simple calculator stores the living area with
// two decimals; here it is read as the whole m² the field shows, so the value computed is the
// value on screen.
std::vector<core::IniFile::Entry> gbwm_settings_entries(const GbwmInputs& in);
GbwmInputs gbwm_read_settings(const core::IniFile& ini);

}  // namespace vestral::calc
