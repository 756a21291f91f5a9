#include "calc/consumption/egkz.h"

#include "core/numbers.h"
#include "core/opstack.h"

namespace vestral::calc {

EgkzKwh egkz_multi(const EgkzInputs& in) {
    VESTRAL_OP("EGKZMULTI");
    EgkzKwh k;
    k.NHZOELJ = in.NHZOEL * kEgkzOil;
    k.NERDGASJ = in.NERDGAS * kEgkzGas;
    k.NFLGASJ = in.NFLGAS * kEgkzLiquidGas;
    k.NHOLZJ = in.NHOLZ * kEgkzWood;
    k.NKOHLEJ = in.NKOHLE * kEgkzCoal;
    k.NGESAMT = in.NSTROMJ + in.NFERNWJ + k.NHZOELJ + k.NERDGASJ + k.NFLGASJ + k.NHOLZJ + k.NKOHLEJ;
    return k;
}

std::pair<std::string, std::string> egkz_rating(double index) {
    struct Class {
        double up_to;
        const char* line1;
        const char* line2;
    };
    static const Class kClasses[] = {
        {15, "Passivhaus", "Note: Sehr Gut"},
        {30, "Niedrigenergiehaus", "Note: Gut (3-Liter-Haus)"},
        {60, "Niedrigenergiehaus", "Note: Gut (6-Liter-Haus)"},
        {80, "Niedrigenergiehaus", "Note: Gut (8-Liter-Haus)"},
        {100, "Festgelegte Grenze der Wärmeschutzverordnung '95", "Note: Akzeptabel"},
        {200, "Genaue Untersuchung empfehlenswert", "Note: Ausreichend"},
        {300, "Massnahmen dringend erforderlich", "Note: Mangelhaft"},
        {400, "Massnahmen dringend erforderlich", "Note: Ungenügend"},
    };
    for (const Class& c : kClasses)
        if (index <= c.up_to) return {c.line1, c.line2};
    // Above 400, also beyond 500: the last class.
    return {"Das Gebäude ist ein Luftschloß", "Note: Nicht akzeptabel"};
}

std::optional<EgkzResult> egkz_rech(const EgkzInputs& in) {
    VESTRAL_OP("EGKZRECH");
    const EgkzKwh k = egkz_multi(in);
    const double reduction = in.LWASSER ? in.NPERSONEN * 5 : 0;
    if (!(in.NWOHNFL > 0 && k.NGESAMT > 0)) return std::nullopt;
    EgkzResult r;
    r.NERGEBNIS = core::div0(k.NGESAMT, in.NWOHNFL);
    r.NERGEBNIS = r.NERGEBNIS - r.NERGEBNIS / 100 * reduction;
    auto [l1, l2] = egkz_rating(r.NERGEBNIS);
    r.line1 = l1;
    r.line2 = l2;
    return r;
}

EgkzUnits egkz_eumr2(EgkzUnits g) {
    VESTRAL_OP("EGKZ_EUMR2");
    EgkzUnits u = g;
    if (g.kj != 0 && g.kwh == 0 && g.kcal == 0) {
        u.kwh = g.kj * 0.0002777778;
        u.kcal = g.kj * 0.2388459;
    } else if (g.kwh != 0 && g.kj == 0 && g.kcal == 0) {
        u.kj = g.kwh * 3600;
        u.kcal = g.kwh * 859.8452;
    } else if (g.kcal != 0 && g.kwh == 0 && g.kj == 0) {
        u.kwh = g.kcal * 0.001163;
        u.kj = g.kcal * 4.1868;
    }
    return u;
}

EgkzInputs egkz_read_settings(const core::IniDocument& ini) {
    VESTRAL_OP("EGKZ_GDATA");
    return core::read_section(ini, kEgkzSettings);
}

std::vector<core::IniFile::Entry> egkz_settings_entries(const EgkzInputs& in) {
    return core::section_entries(kEgkzSettings, in);
}

}  // namespace vestral::calc
