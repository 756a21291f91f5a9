// "Verkehrswert berechnen": the market value of a built-on property as land value plus building
// value (building cost brought forward by a construction-cost index, less 1 % per year of age),
// each part's share, and the depreciable base of a purchase price by the building's share.
#pragma once

#include <array>
#include <vector>

#include "core/ini.h"
#include "core/inpfail.h"

namespace vestral::calc {

struct VwInputs {
    double NFLAECHE = 0;   // land area, m²
    double NBORIWERT = 0;  // standard land value per m²
    double NBAUKOST = 0;   // building cost
    double NBKINDEX1 = 0;  // construction-cost index in the calculation year
    double NBKINDEX2 = 0;  // construction-cost index in the year of construction
    double NBEZJAHR = 0;   // year ready for occupation
    double NBERJAHR = 0;   // calculation year
};

struct VwResults {
    double NALTER = 0;     // age of the building, years
    double NVKWGRUND = 0;  // land value
    double NVKWGPROZ = 0;  // land share, percent
    double NIBAUKOST = 0;  // building cost at today's index
    double NVKWBAU = 0;    // building value
    double NVKWBPROZ = 0;  // building share, percent
    double NVKWALLES = 0;  // market value
    double NVKWAPROZ = 0;  // 100 after a calculation
};

// VW_RECH. Land value, indexed cost and building value are rounded to whole euros; a zero index
// of the construction year or a zero total gives 0 where it divides.
VwResults vw_rech(const VwInputs& in);

// The age after loading: the calculation year less the year ready, negative when it lies ahead.
inline double vw_loaded_age(const VwInputs& in) {
    return in.NBERJAHR - in.NBEZJAHR;
}
// The age shown after an input change until the next calculation: 0 unless the building was
// ready before the calculation year.
inline double vw_age_after_change(const VwInputs& in) {
    return in.NBEZJAHR < in.NBERJAHR ? in.NBERJAHR - in.NBEZJAHR : 0;
}

// VW_INIT 1 (land value and share cleared, age recomputed) and VW_INIT 2 (building value, its
// share, the total and the total share cleared).
void vw_init(int n, const VwInputs& in, VwResults& res);
// Any input change leaves no result of the old inputs on screen: both resets.
void vw_input_changed(const VwInputs& in, VwResults& res);

inline bool vw_can_compute(const VwInputs& in) {
    return in.NFLAECHE > 0 || in.NBAUKOST > 0;
}
inline bool vw_afa_enabled(const VwResults& r) {
    return r.NVKWALLES > 0;
}

// The seven field checks in the order of the fields; both years are bounded by the current year + 5.
std::array<core::InpFail, 7> vw_checks(const VwInputs& in, int current_year);

// VW_AFA_RECH: the depreciable base of a price by the building's share.
double vw_afa_rech(double price, double building_share);
core::InpFail vw_afa_check(double price);

// Settings. The inputs are shared with the property values (BER_GBW) and the price with the
// depreciation value (BER_AFA); the results go to BER_VKW, where the depreciation value reads them.
inline constexpr const char* kVkwSection = "BER_VKW";
inline constexpr const char* kBerAfaSection = "BER_AFA";
inline constexpr const char* kKaufDmKey = "KaufDM";
inline constexpr const char* kWertAfaKey = "WertAFA";

struct VwInputKey {
    const char* section;
    const char* key;
    double VwInputs::*value;
    int decimals;
    const char* fallback;  // nullptr: the current year
};
inline constexpr std::array<VwInputKey, 7> kVwInputKeys{{
    {"BER_GBW", "GFlaeche", &VwInputs::NFLAECHE, 2, "0.00"},
    {"BER_GBW", "BRWert", &VwInputs::NBORIWERT, 2, "0.00"},
    {"BER_GBW", "BezJahr", &VwInputs::NBEZJAHR, 0, "0"},
    {"BER_GBW", "BerJahr", &VwInputs::NBERJAHR, 0, nullptr},
    {kVkwSection, "Baukost", &VwInputs::NBAUKOST, 2, "0.00"},
    {kVkwSection, "BKIndex1", &VwInputs::NBKINDEX1, 2, "0.00"},
    {kVkwSection, "BKIndex2", &VwInputs::NBKINDEX2, 2, "0.00"},
}};

// Computed values in BER_VKW, written at full precision. "IBaukost" is read back as well.
struct VwResultKey {
    const char* key;
    double VwResults::*value;
};
inline constexpr const char* kIBaukostKey = "IBaukost";
inline constexpr std::array<VwResultKey, 7> kVwResultKeys{{
    {"VKWGrund", &VwResults::NVKWGRUND},
    {"VKWGProz", &VwResults::NVKWGPROZ},
    {"VKWBau", &VwResults::NVKWBAU},
    {"VKWBProz", &VwResults::NVKWBPROZ},
    {"VKWAlles", &VwResults::NVKWALLES},
    {"VKWAProz", &VwResults::NVKWAPROZ},
    {kIBaukostKey, &VwResults::NIBAUKOST},
}};

// Everything VW_GDATA loads.
struct VwLoaded {
    VwInputs in;
    VwResults res;  // only NIBAUKOST and the age are loaded; the rest is 0
    double NKAUFDM = 0;
};
VwLoaded vw_read_settings(const core::IniFile& ini, int current_year);
// VW_WDATA: every key of the three sections into one settings document.
void vw_put_settings(core::IniDocument& doc, const VwInputs& in, const VwResults& res, double kaufdm,
                     double wertafa);

// The four market values the depreciation value takes over from BER_VKW.
struct VwMarketValues {
    double NVW_GRUND = 0, NVW_BAU = 0, NVW_GPROZ = 0, NVW_BPROZ = 0;
};
VwMarketValues vw_read_market_values(const core::IniFile& ini);

}  // namespace vestral::calc
