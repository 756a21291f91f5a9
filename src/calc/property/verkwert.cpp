#include "calc/property/verkwert.h"

#include "core/numbers.h"
#include "core/opstack.h"

namespace vestral::calc {

VwResults vw_rech(const VwInputs& in) {
    VESTRAL_OP("VW_RECH");
    VwResults r;
    r.NALTER = in.NBERJAHR - in.NBEZJAHR;
    r.NVKWGRUND = core::round_to(in.NFLAECHE * in.NBORIWERT, 0);
    r.NIBAUKOST = core::round_to(in.NBAUKOST * core::div0(in.NBKINDEX1, in.NBKINDEX2), 0);
    // One percent per year of age, without a cap: past 100 years the building value turns negative.
    r.NVKWBAU = core::round_to(r.NIBAUKOST - r.NIBAUKOST / 100 * r.NALTER, 0);
    r.NVKWALLES = r.NVKWGRUND + r.NVKWBAU;
    r.NVKWAPROZ = 100;
    r.NVKWGPROZ = core::div0(100, r.NVKWALLES) * r.NVKWGRUND;
    r.NVKWBPROZ = core::div0(100, r.NVKWALLES) * r.NVKWBAU;
    return r;
}

void vw_init(int n, const VwInputs& in, VwResults& res) {
    VESTRAL_OP("VW_INIT");
    if (n == 1) {
        res.NVKWGRUND = 0;
        res.NVKWGPROZ = 0;
        res.NALTER = vw_age_after_change(in);
    } else if (n == 2) {
        res.NVKWBAU = 0;
        res.NVKWBPROZ = 0;
        res.NVKWALLES = 0;
        res.NVKWAPROZ = 0;
    }
}

void vw_input_changed(const VwInputs& in, VwResults& res) {
    vw_init(1, in, res);
    vw_init(2, in, res);
}

std::array<core::InpFail, 7> vw_checks(const VwInputs& in, int current_year) {
    using core::InpFail;
    using core::Num;
    const Num year_high{static_cast<double>(current_year + 5), 0};
    return {
        InpFail{"Grundstücksfläche", in.NFLAECHE, Num{0, 0}, Num{99999999, 0}, "", "", ""},
        InpFail{"Bodenrichtwert", in.NBORIWERT, Num{1, 0}, Num{9999, 0}, "", "", ""},
        InpFail{"Baukosten", in.NBAUKOST, Num{0, 0}, Num{99999999, 0}, "", "", ""},
        InpFail{"Baukostenindex", in.NBKINDEX1, Num{0, 0}, Num{999999, 0}, "", "", ""},
        InpFail{"Baukostenindex", in.NBKINDEX2, Num{0, 0}, Num{999999, 0}, "", "", ""},
        InpFail{"Jahr Bezugsfertig", in.NBEZJAHR, Num{1900, 0}, year_high, "", "", ""},
        InpFail{"Berechnungsjahr", in.NBERJAHR, Num{1990, 0}, year_high, "", "", ""},
    };
}

double vw_afa_rech(double price, double building_share) {
    VESTRAL_OP("VW_AFA_RECH");
    return price / 100 * building_share;
}

core::InpFail vw_afa_check(double price) {
    return {"Kaufpreis", price, core::Num{0, 0}, core::Num{9999999999.0, 0}, "", "", ""};
}

VwLoaded vw_read_settings(const core::IniFile& ini, int current_year) {
    VESTRAL_OP("VW_GDATA");
    VwLoaded l;
    const std::string this_year = std::to_string(current_year);
    for (const VwInputKey& k : kVwInputKeys)
        l.in.*k.value = ini.get_num(k.section, k.key, k.fallback ? k.fallback : this_year.c_str()).value;
    l.res.NIBAUKOST = ini.get_num(kVkwSection, kIBaukostKey, "0.00").value;
    l.res.NALTER = vw_loaded_age(l.in);
    l.NKAUFDM = ini.get_num(kBerAfaSection, kKaufDmKey, "0.00").value;
    return l;
}

void vw_put_settings(core::IniDocument& doc, const VwInputs& in, const VwResults& res, double kaufdm,
                     double wertafa) {
    VESTRAL_OP("VW_WDATA");
    for (const VwInputKey& k : kVwInputKeys)
        doc.set(k.section, k.key, core::format_plain(in.*k.value, k.decimals));
    doc.set(kBerAfaSection, kKaufDmKey, core::format_plain(kaufdm, 2));
    for (const VwResultKey& k : kVwResultKeys)
        doc.set(kVkwSection, k.key, core::format_shortest(res.*k.value));
    doc.set(kVkwSection, kWertAfaKey, core::format_shortest(wertafa));
}

VwMarketValues vw_read_market_values(const core::IniFile& ini) {
    VwResults r;
    for (const VwResultKey& k : kVwResultKeys) r.*k.value = ini.get_num(kVkwSection, k.key, "0.00").value;
    return {r.NVKWGRUND, r.NVKWBAU, r.NVKWGPROZ, r.NVKWBPROZ};
}

}  // namespace vestral::calc
