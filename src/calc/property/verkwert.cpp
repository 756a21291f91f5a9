#include "calc/property/verkwert.h"

#include "calc/tax/afawert_settings.h"
#include "core/clock.h"
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
        res.NWERTAFA = 0;
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

std::string vw_this_year() {
    return std::to_string(core::today().year);
}

VwLoaded vw_read_settings(const core::IniFile& ini) {
    VESTRAL_OP("VW_GDATA");
    const core::IniDocument doc = ini.load();
    VwLoaded l;
    core::read_section(doc, kVwLandSettings, l.in);
    core::read_section(doc, kVwSettings, l.in);
    l.res.NIBAUKOST = core::read_num(doc, kVwSettings, &VwResults::NIBAUKOST, "0.00").value;
    l.res.NALTER = vw_loaded_age(l.in);
    l.NKAUFDM = core::read_key(doc, kAfaWertSettings, &AfaWertInputs::NKAUFDM);
    return l;
}

std::vector<core::IniFile::SectionEntries> vw_settings_write(const VwInputs& in, const VwResults& res,
                                                             double kaufdm) {
    VESTRAL_OP("VW_WDATA");
    return {
        core::section_write(kVwLandSettings, in),
        core::section_write(kVwSettings, in, res),
        {kAfaWertSettings.name, {core::key_entry(kAfaWertSettings, &AfaWertInputs::NKAUFDM, kaufdm)}},
    };
}

VwMarketValues vw_read_market_values(const core::IniFile& ini) {
    const core::IniDocument doc = ini.load();
    VwResults r;
    VwInputs unused;
    core::read_section(doc, kVwSettings, unused, r);
    return {r.NVKWGRUND, r.NVKWBAU, r.NVKWGPROZ, r.NVKWBPROZ};
}

}  // namespace vestral::calc
