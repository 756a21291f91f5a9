#include "calc/property/mietrendite.h"

#include "core/numbers.h"
#include "core/opstack.h"

namespace vestral::calc {

double nmietrech(const NmietInputs& in) {
    VESTRAL_OP("NMIETRECH");
    return core::div0(in.NERTRAG * 100, in.NKAUFDM);
}

BmietResults mietrech1(const BmietInputs& in) {
    VESTRAL_OP("MIETRECH1");
    BmietResults r;
    r.NPMVERHALT = core::div0(in.NKAUFDM, in.NKALTMIETE);
    r.NRENDITE = core::div0(100, r.NPMVERHALT);
    return r;
}

namespace {
core::InpFail price_check(double price) {
    return {"Anschaffungskosten", price, core::Num{0, 0}, core::Num{99999999, 0}, "", "", ""};
}
}  // namespace

std::array<core::InpFail, 2> nmiet_checks(const NmietInputs& in) {
    return {
        core::InpFail{"Jahresreinertrag", in.NERTRAG, core::Num{1, 0}, core::Num{999999999, 0}, "", "", ""},
        price_check(in.NKAUFDM),
    };
}

std::array<core::InpFail, 2> bmiet_checks(const BmietInputs& in) {
    return {
        price_check(in.NKAUFDM),
        core::InpFail{"Jahres-Nettokaltmiete", in.NKALTMIETE, core::Num{1, 0}, core::Num{999999999, 0}, "",
                      "", ""},
    };
}

std::vector<core::IniFile::Entry> nmiet_settings_entries(const NmietInputs& in) {
    return core::section_entries(kNmietSettings, in);
}

NmietInputs nmiet_read_settings(const core::IniFile& ini) {
    VESTRAL_OP("NMIETGDATA");
    return core::read_section(ini.load(), kNmietSettings);
}

std::vector<core::IniFile::Entry> bmiet_settings_entries(const BmietInputs& in) {
    std::vector<core::IniFile::Entry> entries = core::section_entries(kBmietSettings, in);
    core::IniFile::Entry rent = core::key_entry(kBmietSettings, &BmietInputs::NKALTMIETE, in.NKALTMIETE);
    rent.key = kMietKaltmieteKey;
    entries.push_back(rent);
    return entries;
}

BmietInputs bmiet_read_settings(const core::IniFile& ini) {
    VESTRAL_OP("MIETGDATA1");
    return core::read_section(ini.load(), kBmietSettings);
}

}  // namespace vestral::calc
