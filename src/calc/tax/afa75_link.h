// What other calculators hand to the depreciation for letting: its cost in section AFA75 and,
// when a new cost makes its schedule stale, an emptied schedule table STEU75E.
#pragma once

#include <filesystem>

#include "core/ini.h"
#include "core/settings_keys.h"

namespace vestral::calc {

// The key of section AFA75 that other calculators set: the cost, written at full precision.
struct Afa75Cost {
    double Kaufpreis = 0;
};
inline constexpr core::SettingsSection kAfa75CostSettings{
    "AFA75", std::array{core::SettingsKey<Afa75Cost>::number("Kaufpreis", &Afa75Cost::Kaufpreis,
                                                             core::kFullPrecision, "0")}};
inline constexpr const char* kSteu75eFile = "STEU75E.DBF";
inline constexpr const char* kSteu75eAlias = "DSTE";

// Asked before a computed base replaces the cost ("Nein" preselected).
inline constexpr const char* kAfa75Question = "Das Ergebnis in die AfA bei Vermietung übernehmen ?";
inline constexpr const char* kAfa75QuestionTitle = "Frage";

// The cost the depreciation for letting starts from (default 0).
double afa75_cost(const core::IniFile& ini);
// Writes the cost at full precision. Returns false when the settings file could not be written.
bool set_afa75_cost(core::IniFile& ini, double cost);
// Whether `cost` is the value "Kaufpreis" holds (compared in the text the key stores).
bool afa75_cost_equals(double stored, double cost);

// Opens STEU75E.DBF of `dir` (creating it with the catalogue's layout when it is missing),
// empties it and closes just that table; other open tables stay open.
bool empty_steu75e(const std::filesystem::path& dir);

}  // namespace vestral::calc
