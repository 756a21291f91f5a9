#include "calc/purchase/kosten2.h"

#include "core/opstack.h"

namespace vestral::calc::kosten2 {

Results ko_rech(const Inputs& in) {
    VESTRAL_OP("KO_RECH");
    Results r;
    r.NGRUNDST = in.NGRUNDDM * in.NGRUNDQM;
    r.NERSTELLDM = in.NERSTELL;
    r.NPREIS = r.NGRUNDST + r.NERSTELLDM;
    // All three percentages, the commission included, are taken on land and house together.
    r.NNOTARDM = r.NPREIS / 100 * in.NNOTAR;
    r.NGRUESTDM = r.NPREIS / 100 * in.NGRUEST;
    r.NMAKLERDM = kosten::plus_vat(r.NPREIS / 100 * in.NMAKLER, kVat);
    r.NKOSTEN = r.NGRUNDST + r.NNOTARDM + r.NGRUESTDM + r.NERSTELLDM + r.NMAKLERDM;
    return r;
}

Inputs ko_gdata(const core::IniFile& ini) {
    VESTRAL_OP("KO_GDATA");
    Inputs in;
    kosten::read_keys(ini, kSection, kKeys, in);
    return in;
}

std::vector<core::IniFile::Entry> ko_wdata_entries(const Inputs& in) {
    return kosten::key_entries(kKeys, in);
}

bool ko_wdata(core::IniFile ini, const Inputs& in) {
    VESTRAL_OP("KO_WDATA");
    return ini.set_many(kSection, ko_wdata_entries(in));
}

}  // namespace vestral::calc::kosten2
