#include "calc/tax/afawert.h"

#include "core/numbers.h"
#include "core/opstack.h"

namespace vestral::calc {

const char* afa_method_name(AfaMethod m) {
    switch (m) {
        case AfaMethod::TaxOffice:
            return "Berechnung des Finanzamts";
        case AfaMethod::Ratio:
            return "Verhältnis der Verkehrswerte";
        case AfaMethod::Flat20:
            return "20% Methode";
        case AfaMethod::Residual:
            return "Restwert-Methode";
    }
    return "";
}

double afa_building_value(const AfaWertValues& v, AfaMethod m) {
    switch (m) {
        case AfaMethod::TaxOffice:
            return v.NFA_BAU;
        case AfaMethod::Ratio:
            return v.NVWV_BAU;
        case AfaMethod::Flat20:
            return v.NVW2_BAU;
        case AfaMethod::Residual:
            return v.NVWR_BAU;
    }
    return 0;
}

AfaWertValues afa_rech(const AfaWertValues& in) {
    VESTRAL_OP("AFA_RECH");
    AfaWertValues v = in;
    const double price = v.NKAUFDM;
    if (v.NFA_GRUND > 0) {
        v.NFA_BAU = price - v.NFA_GRUND;
        v.NFA_GPROZ = core::div0(100, price) * v.NFA_GRUND;
        v.NFA_BPROZ = 100 - v.NFA_GPROZ;
    } else {
        v.NFA_BAU = v.NFA_GPROZ = v.NFA_BPROZ = 0;
    }
    v.NVWV_BAU = price / 100 * v.NVW_BPROZ;
    v.NVWV_PROZ = v.NVW_BPROZ;
    if (v.NVW_GRUND > 0) {
        v.NVWR_GRUND = v.NVW_GRUND;
        v.NVWR_BAU = price - v.NVW_GRUND;
        v.NVWR_GPROZ = core::div0(100, price) * v.NVWR_GRUND;
        v.NVWR_PROZ = core::div0(100, price) * v.NVWR_BAU;
    } else {
        v.NVWR_GRUND = v.NVWR_BAU = v.NVWR_GPROZ = v.NVWR_PROZ = 0;
    }
    v.NVW2_GRUND = price / 100 * 20;
    v.NVW2_BAU = price - v.NVW2_GRUND;
    v.NVW2_GPROZ = 20;
    v.NVW2_PROZ = 80;
    return v;
}

double afa_best(const AfaWertValues& v) {
    // Compared in the order tax office, ratio, 20 %, residual; an equal value moves on.
    double best = v.NFA_BAU;
    if (best <= v.NVWV_BAU) best = v.NVWV_BAU;
    if (best <= v.NVW2_BAU) best = v.NVW2_BAU;
    if (best <= v.NVWR_BAU) best = v.NVWR_BAU;
    return best;
}

AfaMethod afa_best_method(const AfaWertValues& v) {
    const double best = afa_best(v);
    for (AfaMethod m : kAfaMethods)
        if (afa_building_value(v, m) == best) return m;
    return AfaMethod::TaxOffice;
}

std::string afa_best_text(const AfaWertValues& v) {
    return std::string("Beste Methode: ") + afa_method_name(afa_best_method(v));
}

void afa_init(int n, AfaWertValues& v) {
    VESTRAL_OP("AFA_INIT");
    if (n == 1) {
        v.NFA_GRUND = v.NFA_BAU = v.NFA_GPROZ = v.NFA_BPROZ = 0;
        v.NVW_GRUND = v.NVW_BAU = v.NVW_GPROZ = v.NVW_BPROZ = 0;
    }
    v.NVWV_BAU = v.NVWV_PROZ = 0;
    v.NVWR_GRUND = v.NVWR_GPROZ = v.NVWR_BAU = v.NVWR_PROZ = 0;
}

void afa_take_market_values(AfaWertValues& v, const VwMarketValues& m) {
    v.NVW_GRUND = m.NVW_GRUND;
    v.NVW_BAU = m.NVW_BAU;
    v.NVW_GPROZ = m.NVW_GPROZ;
    v.NVW_BPROZ = m.NVW_BPROZ;
}

core::InpFail afa_land_check(double land) {
    return {"Grundstückswert FA", land, core::Num{0, 0}, core::Num{99999999, 0}, "", "", ""};
}

std::vector<core::IniFile::Entry> afa_settings_entries(const AfaWertValues& v) {
    return core::section_entries(kAfaWertSettings, AfaWertInputs{v.NKAUFDM, v.NFA_GRUND});
}

std::vector<core::IniFile::Entry> afa_price_entries(const AfaWertValues& v) {
    return {core::key_entry(kAfaWertSettings, &AfaWertInputs::NKAUFDM, v.NKAUFDM)};
}

AfaWertValues afa_read_settings(const core::IniFile& ini) {
    VESTRAL_OP("AFA_GDATA");
    const AfaWertInputs in = core::read_section(ini.load(), kAfaWertSettings);
    AfaWertValues v;
    v.NKAUFDM = in.NKAUFDM;
    v.NFA_GRUND = in.NFA_GRUND;
    return v;
}

}  // namespace vestral::calc
