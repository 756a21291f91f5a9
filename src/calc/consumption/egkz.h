// The energy index of a home: yearly consumption of each energy carrier converted to kWh, summed,
// divided by the heated gross living area, reduced when the heating also makes the hot water, and
// rated; plus the converter between kJ, kcal and kWh. Settings section "BER_EGKZ".
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "core/ini.h"
#include "core/settings_keys.h"

namespace vestral::calc {

struct EgkzInputs {
    double NSTROMJ = 0;  // electricity, kWh
    double NFERNWJ = 0;  // district heating, kWh
    double NHZOEL = 0;   // heating oil, litres
    double NERDGAS = 0;  // natural gas, m³
    double NFLGAS = 0;   // liquefied gas, kg
    double NHOLZ = 0;    // wood, stacked cubic metres
    double NKOHLE = 0;   // coal, kg
    double NWOHNFL = 0;  // heated gross living area, m²
    bool LWASSER = false;
    double NPERSONEN = 0;
};

// EGKZMULTI: the carriers in kWh and their total.
struct EgkzKwh {
    double NHZOELJ = 0, NERDGASJ = 0, NFLGASJ = 0, NHOLZJ = 0, NKOHLEJ = 0;
    double NGESAMT = 0;
};
EgkzKwh egkz_multi(const EgkzInputs& in);

inline constexpr double kEgkzOil = 10, kEgkzGas = 10, kEgkzLiquidGas = 12.8, kEgkzWood = 2000,
                        kEgkzCoal = 8.1;

// EGKZRECH: the index and its rating (two lines); nothing when area or total is not above 0.
struct EgkzResult {
    double NERGEBNIS = 0;
    std::string line1, line2;
};
std::optional<EgkzResult> egkz_rech(const EgkzInputs& in);
inline constexpr const char* kEgkzInputMessage = "Bitte korrigieren Sie Ihre Eingaben !";
// The rating of an index.
std::pair<std::string, std::string> egkz_rating(double index);
// What EGKZCLEAR shows (in red): the prompt to compute.
inline constexpr const char* kEgkzPrompt1 = "Bitte klicken Sie auf 'Berechnen' um die";
inline constexpr const char* kEgkzPrompt2 = "Energiekennzahl zu erfahren !";

// EGKZ_EUMR2: the filled field is recognised by the other two being 0.
struct EgkzUnits {
    double kj = 0, kwh = 0, kcal = 0;
};
EgkzUnits egkz_eumr2(EgkzUnits given);

using EgkzKey = core::SettingsKey<EgkzInputs>;
inline constexpr core::SettingsSection kEgkzSettings{
    "BER_EGKZ", std::array{
                    EgkzKey::number("StromJ", &EgkzInputs::NSTROMJ, 2, "0.00"),
                    EgkzKey::number("FernWJ", &EgkzInputs::NFERNWJ, 2, "0.00"),
                    EgkzKey::number("HzOel", &EgkzInputs::NHZOEL, 2, "0.00"),
                    EgkzKey::number("ErdGas", &EgkzInputs::NERDGAS, 2, "0.00"),
                    EgkzKey::number("FlGas", &EgkzInputs::NFLGAS, 2, "0.00"),
                    EgkzKey::number("Holz", &EgkzInputs::NHOLZ, 2, "0.00"),
                    EgkzKey::number("Kohle", &EgkzInputs::NKOHLE, 2, "0.00"),
                    EgkzKey::number("WohnFl", &EgkzInputs::NWOHNFL, 2, "0.00"),
                    EgkzKey::flag("Wasser", &EgkzInputs::LWASSER, "0"),
                    EgkzKey::number("Personen", &EgkzInputs::NPERSONEN, 2, "0.00"),
                }};

// EGKZ_GDATA / EGKZ_WDATA
EgkzInputs egkz_read_settings(const core::IniDocument& ini);
std::vector<core::IniFile::Entry> egkz_settings_entries(const EgkzInputs& in);

}  // namespace vestral::calc
