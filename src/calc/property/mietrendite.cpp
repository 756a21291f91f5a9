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
    return {
        {kMietKaufWertKey, core::format_plain(in.NKAUFDM, kMietDecimals)},
        {kMietErtragKey, core::format_plain(in.NERTRAG, kMietDecimals)},
    };
}

NmietInputs nmiet_read_settings(const core::IniFile& ini) {
    VESTRAL_OP("NMIETGDATA");
    NmietInputs in;
    in.NKAUFDM = ini.get_num(kMietSection, kMietKaufWertKey, "0.00").value;
    in.NERTRAG = ini.get_num(kMietSection, kMietErtragKey, "0.00").value;
    return in;
}

std::vector<core::IniFile::Entry> bmiet_settings_entries(const BmietInputs& in) {
    const std::string rent = core::format_plain(in.NKALTMIETE, kMietDecimals);
    return {
        {kMietKaufWertKey, core::format_plain(in.NKAUFDM, kMietDecimals)},
        {kMietErtragKey, rent},
        {kMietKaltmieteKey, rent},
    };
}

BmietInputs bmiet_read_settings(const core::IniFile& ini) {
    VESTRAL_OP("MIETGDATA1");
    BmietInputs in;
    in.NKAUFDM = ini.get_num(kMietSection, kMietKaufWertKey, "0.00").value;
    in.NKALTMIETE = ini.get_num(kMietSection, kMietErtragKey, "0.00").value;
    return in;
}

}  // namespace vestral::calc
