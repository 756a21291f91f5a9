// "Mietrenditen berechnen": the net rent yield of a purchase price, and the gross yield with the
// price-to-rent ratio. Both dialogs share the settings section BER_MIET.
#pragma once

#include <array>
#include <vector>

#include "core/ini.h"
#include "core/inpfail.h"
#include "core/settings_keys.h"

namespace vestral::calc {

struct NmietInputs {
    double NERTRAG = 0;  // yearly net earnings ("Jahres-Nettokaltmiete")
    double NKAUFDM = 0;  // purchase price
};

struct BmietInputs {
    double NKAUFDM = 0;     // purchase price
    double NKALTMIETE = 0;  // yearly net cold rent
};

struct BmietResults {
    double NPMVERHALT = 0;  // price-to-rent ratio, times
    double NRENDITE = 0;    // gross yield, percent
};

// NMIETRECH: the net yield in percent; a price of 0 gives 0.
double nmietrech(const NmietInputs& in);
// MIETRECH1.
BmietResults mietrech1(const BmietInputs& in);

inline bool nmiet_can_compute(const NmietInputs& in) {
    return in.NERTRAG > 0 && in.NKAUFDM > 0;
}
inline bool bmiet_can_compute(const BmietInputs& in) {
    return in.NKAUFDM > 0 && in.NKALTMIETE > 0;
}

std::array<core::InpFail, 2> nmiet_checks(const NmietInputs& in);
std::array<core::InpFail, 2> bmiet_checks(const BmietInputs& in);

// Settings section BER_MIET. Both dialogs read and write the price as "KaufWert" and the yearly
// rent as "Ertrag", so a rent entered in either comes back in both; the gross dialog also keeps
// writing its rent as "Kaltmiete", which it never reads.
using NmietKey = core::SettingsKey<NmietInputs>;
inline constexpr core::SettingsSection kNmietSettings{
    "BER_MIET", std::array{
                    NmietKey::number("KaufWert", &NmietInputs::NKAUFDM, 2, "0.00"),
                    NmietKey::number("Ertrag", &NmietInputs::NERTRAG, 2, "0.00"),
                }};
using BmietKey = core::SettingsKey<BmietInputs>;
inline constexpr core::SettingsSection kBmietSettings{
    kNmietSettings.name, std::array{
                             BmietKey::number("KaufWert", &BmietInputs::NKAUFDM, 2, "0.00"),
                             BmietKey::number("Ertrag", &BmietInputs::NKALTMIETE, 2, "0.00"),
                         }};
inline constexpr const char* kMietSection = kNmietSettings.name;
inline constexpr const char* kMietKaltmieteKey = "Kaltmiete";

std::vector<core::IniFile::Entry> nmiet_settings_entries(const NmietInputs& in);
NmietInputs nmiet_read_settings(const core::IniFile& ini);
std::vector<core::IniFile::Entry> bmiet_settings_entries(const BmietInputs& in);
BmietInputs bmiet_read_settings(const core::IniFile& ini);

}  // namespace vestral::calc
