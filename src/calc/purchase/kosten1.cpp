#include "calc/purchase/kosten1.h"

#include "core/opstack.h"

namespace vestral::calc::kosten1 {

Results ko_rech(const Inputs& in) {
    VESTRAL_OP("KO_RECH");
    Results r;
    r.NGRUNDST = in.NGRUNDDM * in.NGRUNDQM;
    r.NERSCHLDM = in.NERSCHL * in.NGRUNDQM;
    // Surveying, notary and land transfer tax are taken on the land with its development.
    const double base = r.NGRUNDST + r.NERSCHLDM;
    r.NVERMESSDM = base / 100 * in.NVERMESS;
    r.NNOTARDM = base / 100 * in.NNOTAR;
    r.NGRUESTDM = base / 100 * in.NGRUEST;
    r.NBAUANTRDM = in.NBAUANTR;
    r.NERSTELLDM = in.NERSTELL;
    // The commission is taken on the building cost alone.
    r.NMAKLERDM = kosten::plus_vat(r.NERSTELLDM / 100 * in.NMAKLER, in.NMWST);
    r.NKELLERDM = in.NKELLER;
    r.NANSCHLDM = in.NANSCHL;
    r.NAUSSENDM = in.NAUSSEN;
    r.NGARAGEDM = in.NGARAGE;
    r.NKOSTEN = r.NGRUNDST + r.NERSCHLDM + r.NVERMESSDM + r.NNOTARDM + r.NBAUANTRDM + r.NGRUESTDM +
                r.NERSTELLDM + r.NMAKLERDM + r.NKELLERDM + r.NANSCHLDM + r.NAUSSENDM + r.NGARAGEDM;
    return r;
}

Inputs ko_gdata(const core::IniFile& ini) {
    VESTRAL_OP("KO_GDATA");
    Inputs in;
    kosten::read_keys(ini, kSection, kKeys, in);
    in.NMWST = ini.get_num(kVatSection, kVatKey, "16").value;
    return in;
}

std::vector<core::IniFile::Entry> ko_wdata_entries(const Inputs& in) {
    std::vector<core::IniFile::Entry> entries = kosten::key_entries(kKeys, in);
    // The stored total is that of the stored inputs, never a cleared one of a field being edited.
    entries.push_back({kTotalKey, core::format_plain(ko_rech(in).NKOSTEN, 2)});
    return entries;
}

bool ko_wdata(core::IniFile ini, const Inputs& in) {
    VESTRAL_OP("KO_WDATA");
    return ini.set_many(kSection, ko_wdata_entries(in));
}

}  // namespace vestral::calc::kosten1
