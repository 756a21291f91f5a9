// "Kaufen oder Mieten": the mortgage of a purchase amortised month by month against the rent that
// rises once a year over the same years; the year rows of table MIETKAUF and the input checks.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "core/dbf.h"
#include "core/ini.h"
#include "core/inpfail.h"
#include "core/record_map.h"
#include "core/settings_keys.h"

namespace vestral::calc {

struct KmInputs {
    double NKALTMIETE = 0;  // current monthly rent without running costs
    double NMIETERH = 0;    // rent increase per year, %
    double NKAUFPREIS = 0;  // purchase price
    double NHYPOZINS = 0;   // mortgage rate, % per year
    double NTILGANNO = 0;   // repayment, % per year
    double NEIGENKAP = 0;   // own capital
};

struct KmResults {
    double NMONRATE = 0;   // monthly instalment (annuity / 12, to ten cents)
    double NJAHRE = 0;     // years until the loan is repaid
    double NZINSSUM = 0;   // interest over those years
    double NMIETESUM = 0;  // rent over the same years
    double NMIETE30 = 0;   // monthly rent in the last of those years
    double NDIFF = 0;      // NMIETESUM - NZINSSUM
};

// One record of MIETKAUF per year of the loan.
struct MietkaufRow {
    int JAHR = 0;
    double MIETEGE = 0;   // rent up to and including this year
    double MIETEJA = 0;   // rent of this year
    double MIETEMO = 0;   // monthly rent of this year
    double HYPOTHEK = 0;  // loan left at the end of this year, never negative
    double TILGSUM = 0;   // repaid up to the end of this year
    double ANNUITJA = 0;  // annual annuity
    double ANNUITAT = 0;  // monthly instalment of this year (adjusted in the last year)
    double ZINSEN = 0;    // interest up to the end of this year
};

struct KmOutcome {
    bool refused = false;
    std::string message;  // the box text when refused
    std::string title;
    KmResults results;
    double NANUITAT = 0;  // the annual annuity
    std::vector<MietkaufRow> rows;
    std::vector<double> chart_values;
    std::vector<std::string> chart_labels;
};

inline constexpr const char* kKmRefusal = "Mit dieser Tilgung wird die Hypothek nie getilgt !";
inline constexpr int kKmMaxYears = 9999;  // the width of the year field

// KM_RECH. The only rounding is the instalment's, to one decimal.
KmOutcome km_rech(const KmInputs& in);

// "&Berechnen" is enabled while rent, price, rate and repayment are above 0 and the own capital
// does not exceed the price (a price lowered after the own capital was checked would otherwise
// give a negative mortgage).
bool km_can_compute(const KmInputs& in);

// The six field checks in the order of the fields; the own capital is bounded by the current price.
std::array<core::InpFail, 6> km_checks(const KmInputs& in);

// KM_DETAILS: derived values and the enabling of its buttons.
struct KmDetails {
    double H = 0;                      // mortgage sum
    double F = 0;                      // financed sum, mortgage plus interest
    double D = 0;                      // rent paid minus the financed sum
    bool difference_negative = false;  // shown yellow on red
    bool grafik_enabled = false;
    bool verlauf_enabled = false;
};
KmDetails km_details(const KmInputs& in, const KmResults& res, bool table_has_rows);

// Settings section KAUFMIET: the keys in the order they are written, each with its member, the
// decimals of its field's mask and its default.
using KmKey = core::SettingsKey<KmInputs>;
inline constexpr core::SettingsSection kKmSettings{
    "KAUFMIET", std::array{
                    KmKey::number("Kaltmiete", &KmInputs::NKALTMIETE, 2, "0.00"),
                    KmKey::number("Kaufpreis", &KmInputs::NKAUFPREIS, 2, "0.00"),
                    KmKey::number("Eigenkap.", &KmInputs::NEIGENKAP, 2, "0.00"),
                    KmKey::number("HypoZins", &KmInputs::NHYPOZINS, 3, "0.00"),
                    KmKey::number("Mieterh.", &KmInputs::NMIETERH, 3, "0.00"),
                    KmKey::number("Tilgung", &KmInputs::NTILGANNO, 3, "0.00"),
                }};
inline constexpr const char* kKmSection = kKmSettings.name;
// KM_WDATA's entries and KM_GDATA's reading.
std::vector<core::IniFile::Entry> km_settings_entries(const KmInputs& in);
KmInputs km_read_settings(const core::IniDocument& ini);
KmInputs km_read_settings(const core::IniFile& ini);

// The layout of MIETKAUF (handle DMIT).
inline const core::dbf::Layout kMietkaufLayout = {
    {"JAHR", 'N', 4, 0},      {"MIETEGE", 'N', 12, 2},  {"MIETEJA", 'N', 12, 2},
    {"MIETEMO", 'N', 12, 2},  {"HYPOTHEK", 'N', 12, 2}, {"TILGSUM", 'N', 12, 2},
    {"ANNUITJA", 'N', 12, 2}, {"ANNUITAT", 'N', 12, 2}, {"ZINSEN", 'N', 12, 2},
};

// Empties the table, appends the rows in order with all fields assigned, and flushes it
// (kaufmiet_table.cpp).
bool write_mietkauf_rows(core::dbf::Table& table, const std::vector<MietkaufRow>& rows);
// The record map of MIETKAUF, for every other reader of the table.
const core::dbf::RecordMap<MietkaufRow>& mietkauf_map();

}  // namespace vestral::calc
