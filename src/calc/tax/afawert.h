// "Wert der Abschreibung für Abnutzung (AfA) berechnen": splits the purchase price of a built-on
// property into land and building by four methods (the tax office's land value, the ratio of the
// market values, the residual value, a flat 20 % for the land) and picks the highest building
// value as the base for depreciation.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "calc/property/verkwert.h"
#include "calc/tax/afawert_settings.h"
#include "core/ini.h"
#include "core/inpfail.h"

namespace vestral::calc {

struct AfaWertValues {
    double NKAUFDM = 0;    // purchase price of the built-on property (input)
    double NFA_GRUND = 0;  // land value set by the tax office (input)
    double NFA_BAU = 0, NFA_GPROZ = 0, NFA_BPROZ = 0;
    double NVW_GRUND = 0, NVW_BAU = 0, NVW_GPROZ = 0, NVW_BPROZ = 0;  // from the market value
    double NVWV_BAU = 0, NVWV_PROZ = 0;
    double NVWR_GRUND = 0, NVWR_GPROZ = 0, NVWR_BAU = 0, NVWR_PROZ = 0;
    double NVW2_GRUND = 0, NVW2_GPROZ = 0, NVW2_BAU = 0, NVW2_PROZ = 0;
};

// The four methods in the order in which a tie is decided.
enum class AfaMethod { TaxOffice, Ratio, Flat20, Residual };
inline constexpr std::array<AfaMethod, 4> kAfaMethods{AfaMethod::TaxOffice, AfaMethod::Ratio,
                                                      AfaMethod::Flat20, AfaMethod::Residual};
const char* afa_method_name(AfaMethod m);
double afa_building_value(const AfaWertValues& v, AfaMethod m);

// AFA_RECH's values. A tax-office land value not above 0 leaves the tax-office results at 0, so
// a building value of an earlier land value can never win; likewise the residual values without a
// market land value.
AfaWertValues afa_rech(const AfaWertValues& v);

// The best building value (the comparison of AFA_RECH), and the first method that reaches it.
double afa_best(const AfaWertValues& v);
AfaMethod afa_best_method(const AfaWertValues& v);
// "Beste Methode: " and the method's name.
std::string afa_best_text(const AfaWertValues& v);

// AFA_INIT: 1 clears the tax-office values (the land value input too), the market values, the
// ratio and the residual values; 0 clears only the ratio and the residual values. The 20 % values
// stay until the next calculation.
void afa_init(int n, AfaWertValues& v);
void afa_take_market_values(AfaWertValues& v, const VwMarketValues& m);

inline bool afa_market_enabled(const AfaWertValues& v) {
    return v.NKAUFDM > 0;
}
inline bool afa_can_compute(const AfaWertValues& v) {
    return v.NKAUFDM > 0 && v.NFA_GRUND > 0;
}
inline bool afa_details_enabled(const AfaWertValues& v) {
    return v.NFA_BAU > 0 && v.NVW_BAU > 0 && v.NVWR_BAU > 0 && v.NVW2_BAU > 0;
}

core::InpFail afa_land_check(double land);

// Section BER_AFA (afawert_settings.h): AFA_WDATA's entries, AFA_INIT's write of the price alone,
// and AFA_GDATA's reading.
std::vector<core::IniFile::Entry> afa_settings_entries(const AfaWertValues& v);
std::vector<core::IniFile::Entry> afa_price_entries(const AfaWertValues& v);
AfaWertValues afa_read_settings(const core::IniFile& ini);

}  // namespace vestral::calc
