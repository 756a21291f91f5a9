#include "calc/property/gbwm.h"

#include <cmath>

#include "core/numbers.h"
#include "core/opstack.h"

namespace vestral::calc {

GbwmResults gbwmrech(const GbwmInputs& in) {
    VESTRAL_OP("GBWMRECH");
    GbwmResults r;
    r.NJMIETE = in.NWFLAECHE * in.NMMIETE * 12;
    r.NJMIETEV = r.NJMIETE * 12.5;
    r.NALTER = in.NBESJAHR - in.NBEZJAHR;
    r.NWERTMPR = r.NALTER * r.NWERTMIND;
    if (r.NWERTMPR > 25) r.NWERTMPR = 25;
    r.NWERTMDM = r.NJMIETEV / 100 * r.NWERTMPR;
    r.NWERTREST = r.NJMIETEV - r.NWERTMDM;
    r.NEINZWODM = in.LEINZWO ? r.NWERTREST / 100 * 20 : 0;
    r.NWERTALL = r.NWERTREST + r.NEINZWODM;
    r.NGBRWERT = std::trunc(core::round_to(in.NGFLAECHE * in.NBRWERT, 0));
    r.NGBRREST = r.NGBRWERT * 0.8;
    r.NGBRALL = r.NGBRREST;
    // A tie keeps the earnings value.
    r.NERGEBNIS = r.NGBRREST > r.NWERTALL ? r.NGBRREST : r.NWERTALL;
    return r;
}

bool gbwm_can_compute(const GbwmInputs& in) {
    return in.NWFLAECHE > 0 && in.NBEZJAHR > 0;
}

std::array<core::InpFail, 6> gbwm_checks(const GbwmInputs& in) {
    using core::InpFail;
    using core::Num;
    return {
        InpFail{"Wohnfläche", in.NWFLAECHE, Num{0, 0}, Num{999999999, 0}, "", "", ""},
        InpFail{"monatl. Miete", in.NMMIETE, Num{1, 0}, Num{9999999, 0}, "", "", ""},
        InpFail{"Bezugsjahr", in.NBEZJAHR, Num{1900, 0}, Num{2099, 0}, "", "", ""},
        InpFail{"Besteuerungsjahr", in.NBESJAHR, Num{1900, 0}, Num{2099, 0}, "", "", ""},
        InpFail{"Grundstücksfläche", in.NGFLAECHE, Num{0, 0}, Num{999999999, 0}, "", "", ""},
        InpFail{"Bodenrichtwert", in.NBRWERT, Num{0, 0}, Num{999999.99, 2}, "", "", ""},
    };
}

std::vector<core::IniFile::Entry> gbwm_settings_entries(const GbwmInputs& in) {
    return core::section_entries(kGbwmSettings, in);
}

GbwmInputs gbwm_read_settings(const core::IniFile& ini) {
    VESTRAL_OP("GBWMGDATA");
    GbwmInputs in = core::read_section(ini.load(), kGbwmSettings);
    in.NWFLAECHE = core::round_to(in.NWFLAECHE, 0);
    return in;
}

}  // namespace vestral::calc
