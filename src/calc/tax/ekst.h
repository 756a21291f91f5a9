// The income-tax projection: a taxable income grown yearly from a start year to 2007, with income
// tax, solidarity surcharge and burden per year and in total. The dialog lives elsewhere.
#pragma once

#include <string>
#include <vector>

#include "core/dbf.h"
#include "core/ini.h"
#include "core/inpfail.h"
#include "core/record_map.h"
#include "core/settings_keys.h"

namespace vestral::calc {

// The projection always ends with this year.
inline constexpr int kEkstLastYear = 2007;
// The solidarity surcharge is levied from this year on, at 5.5 % of the income tax.
inline constexpr int kSoliFirstYear = 1995;
inline constexpr double kSoliRate = 5.5;

struct EkstInputs {
    double NEINKOMM = 0;  // taxable income of the first year, EUR
    int NFAMSTAND = 0;    // 1 "ledig", 2 "verheiratet"
    int NABJAHR = 0;      // first year of the projection
    double NEKSTEIG = 0;  // yearly income growth, percent
};

struct EkstResults {
    int NJAHRE = 0;      // number of projected years
    double NEINKSU = 0;  // sum of the incomes
    double NEINKST = 0;  // sum of income tax
    double NSOLIZU = 0;  // sum of solidarity surcharge
    double NBELAST = 0;  // mean of the yearly burdens, percent
};

// One record of EKSTTEMP.
struct EkstRow {
    int JAHR = 0;
    double EINKOMM = 0;
    double EKSTEIG = 0;
    double EINKST = 0;
    double SOLIZU = 0;
    double BELAST = 0;
};

struct EkstOutcome {
    EkstResults results;
    std::vector<EkstRow> rows;
};

// The number of years projected from `start_year` to the last year; none for a start after it.
int ekst_years(int start_year);

// EKSTMAKE: the projection. Totals are sums of the unrounded yearly values; the burden is the
// mean of the yearly burdens, not total tax over total income.
EkstOutcome ekstmake(const EkstInputs& in);

// The work table: created by the dialog itself, not by the start-up catalogue.
inline constexpr const char* kEksttempFile = "EKSTTEMP.DBF";
inline constexpr const char* kEksttempAlias = "DEKST";
inline const core::dbf::Layout kEksttempLayout = {
    {"JAHR", 'N', 4, 0},    {"EINKOMM", 'N', 12, 2}, {"EKSTEIG", 'N', 4, 2},
    {"EINKST", 'N', 12, 2}, {"SOLIZU", 'N', 12, 2},  {"BELAST", 'N', 12, 2},
};

// Empties the open EKSTTEMP table, appends one record per row and flushes it to disk.
void write_ekst_rows(core::dbf::Table& table, const std::vector<EkstRow>& rows);
// The record map of EKSTTEMP.
const core::dbf::RecordMap<EkstRow>& eksttemp_map();

// EKSTCHECK: the bound check of one field, n = 1 income, 2 start year, 3 growth.
core::InpFail ekstcheck(int n, const EkstInputs& in);
// EKSTCHECK(0): the fields in the order they are checked; "Berechnen" reports the first that
// fails and gives it the focus.
inline constexpr int kEkstcheckOrder[] = {1, 2, 3};
// The fields of EKSTCHECK(0) that fail, in check order.
std::vector<int> ekstcheck_failures(const EkstInputs& in);

// "&Berechnen" is offered only with an income and a plausible start year.
inline bool ekst_can_compute(const EkstInputs& in) {
    return in.NEINKOMM > 0 && in.NABJAHR > 1957;
}

// The start year when none is stored: this year, but never beyond the last year the field accepts,
// so the first computation does not fail its own check.
int ekst_default_start_year();

// The year cell of the result table: "#  " marks approximate years before 2000, "*  " planned
// years after 2005.
std::string ekstshow_year_cell(int year);

// Settings section "EINKST".
namespace ekst_settings {
inline constexpr const char* kSection = "EINKST";
inline constexpr const char* kEinkomm = "Einkomm";    // default "0.00"
inline constexpr const char* kFamStand = "FamStand";  // default "1"
inline constexpr const char* kAbJahr = "AbJahr";      // default: ekst_default_start_year()
inline constexpr const char* kEkSteig = "EKSteig";    // default "0.00"
}  // namespace ekst_settings
std::string ekst_default_start_year_text();

using EkstKey = core::SettingsKey<EkstInputs>;
inline constexpr core::SettingsSection kEkstSettings{
    ekst_settings::kSection,
    std::array{
        EkstKey::number(ekst_settings::kEinkomm, &EkstInputs::NEINKOMM, 2, "0.00"),
        EkstKey::whole(ekst_settings::kFamStand, &EkstInputs::NFAMSTAND, "1"),
        EkstKey::whole(ekst_settings::kAbJahr, &EkstInputs::NABJAHR, &ekst_default_start_year_text),
        EkstKey::number(ekst_settings::kEkSteig, &EkstInputs::NEKSTEIG, 2, "0.00"),
    }};
// EKSTGDATA's reading and EKSTWDATA's entries.
EkstInputs ekst_load_settings(const core::IniDocument& ini);
std::vector<core::IniFile::Entry> ekst_settings_entries(const EkstInputs& in);

}  // namespace vestral::calc
