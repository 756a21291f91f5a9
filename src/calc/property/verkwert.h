// "Verkehrswert berechnen": the market value of a built-on property as land value plus building
// value (building cost brought forward by a construction-cost index, less 1 % per year of age),
// each part's share, and the depreciable base of a purchase price by the building's share.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "core/ini.h"
#include "core/inpfail.h"
#include "core/settings_keys.h"

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
    double NWERTAFA = 0;   // depreciable base of the price, 0 until the depreciation dialog computed it
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

// Settings. The land inputs are shared with the property values (BER_GBW), the price with the
// depreciation value (BER_AFA, afawert_settings.h); the building inputs and the results go to
// BER_VKW, where the depreciation value reads them. Computed values are written at full precision.
std::string vw_this_year();  // the default of the calculation year
constexpr core::SettingsKey<VwInputs> vw_this_year_by_default(core::SettingsKey<VwInputs> k) {
    k.fallback_of = &vw_this_year;
    return k;
}
using VwLandKey = core::SettingsKey<VwInputs>;
inline constexpr core::SettingsSection kVwLandSettings{
    "BER_GBW", std::array{
                   VwLandKey::number("GFlaeche", &VwInputs::NFLAECHE, 2, "0.00"),
                   VwLandKey::number("BRWert", &VwInputs::NBORIWERT, 2, "0.00"),
                   VwLandKey::number("BezJahr", &VwInputs::NBEZJAHR, 0, "0"),
                   vw_this_year_by_default(VwLandKey::number("BerJahr", &VwInputs::NBERJAHR, 0, "")),
               }};
using VwKey = core::SettingsKey<VwInputs, VwResults>;
inline constexpr core::SettingsSection kVwSettings{
    "BER_VKW", std::array{
                   VwKey::number("Baukost", &VwInputs::NBAUKOST, 2, "0.00"),
                   VwKey::result("IBaukost", &VwResults::NIBAUKOST, core::kFullPrecision, "0.00"),
                   VwKey::number("BKIndex1", &VwInputs::NBKINDEX1, 2, "0.00"),
                   VwKey::number("BKIndex2", &VwInputs::NBKINDEX2, 2, "0.00"),
                   VwKey::result("VKWGrund", &VwResults::NVKWGRUND),
                   VwKey::result("VKWGProz", &VwResults::NVKWGPROZ),
                   VwKey::result("VKWBau", &VwResults::NVKWBAU),
                   VwKey::result("VKWBProz", &VwResults::NVKWBPROZ),
                   VwKey::result("VKWAlles", &VwResults::NVKWALLES),
                   VwKey::result("VKWAProz", &VwResults::NVKWAPROZ),
                   VwKey::result("WertAFA", &VwResults::NWERTAFA),
               }};
inline constexpr const char* kVkwSection = kVwSettings.name;

// Everything VW_GDATA loads: the inputs, the indexed cost (the only result read back), the age
// and the price.
struct VwLoaded {
    VwInputs in;
    VwResults res;
    double NKAUFDM = 0;
};
VwLoaded vw_read_settings(const core::IniFile& ini);
// VW_WDATA: the three sections in one write.
std::vector<core::IniFile::SectionEntries> vw_settings_write(const VwInputs& in, const VwResults& res,
                                                             double kaufdm);

// The four market values the depreciation value takes over from BER_VKW.
struct VwMarketValues {
    double NVW_GRUND = 0, NVW_BAU = 0, NVW_GPROZ = 0, NVW_BPROZ = 0;
};
VwMarketValues vw_read_market_values(const core::IniFile& ini);

}  // namespace vestral::calc
