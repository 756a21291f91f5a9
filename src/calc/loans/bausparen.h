// Building-savings contract ("Bausparen"): the savings phase up to the allocation, the loan phase
// after it, the account plan rows of table BAUSPAR, the input checks and the saved-contracts store.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "core/clock.h"
#include "core/ini.h"
#include "core/inpfail.h"
#include "core/settings_keys.h"

namespace vestral::core::dbf {
class Table;
template <class Row>
class RecordMap;
}  // namespace vestral::core::dbf

namespace vestral::calc {

struct BauInputs {
    std::string CBANKNAME;  // up to 40 characters
    double NBAUSPSUM = 0;   // contract sum
    double NABSCHGEB = 0;   // contract fee, % of the contract sum
    double NKONTOGEB = 0;   // monthly account fee
    double NABJAHR = 0;     // year the contract begins
    double NSPARTEIL = 0;   // minimum savings share, %
    double NSZINSSTZ = 0;   // savings interest rate, % per year
    double NMONRATE = 0;    // monthly savings rate
    double NTILGANNO = 0;   // loan repayment per year, %
    double NTZINSSTZ = 0;   // loan interest rate, %
    double NTFESTZEIT = 0;  // fixed-interest years
    double NTZINSNACH = 0;  // loan rate after the fixed period, %

    // Saved results belong to exactly these inputs.
    friend bool operator==(const BauInputs&, const BauInputs&) = default;
};

struct BauResults {
    double NSMONATE = 0;  // savings duration, years + months / 100
    double NTMONATE = 0;  // loan duration, years + months / 100
    double NMONTILG = 0;  // monthly loan instalment
    double NSSUMME = 0;   // saved sum at allocation
    double NTSUMME = 0;   // loan amount
    double NTZINSEN = 0;  // loan interest paid
    double NZSUMME = 0;   // total paid in the loan phase
    double NSZINSEN = 0;  // savings interest total
    double NGEBSUM = 0;   // fees of both phases
};

// One record of BAUSPAR. Fields a row kind does not use stay 0 / empty.
struct BausparRow {
    std::string BANKNAME;
    int KEY = 0;
    int CODE = 0;
    std::string AKTION;
    int JAHR = 0;
    core::Date DATUM;
    double EINZAHLUNG = 0;
    double GEBUEHR = 0;
    double ZINSEN = 0;
    double ZINSSUM = 0;
    double SPAREN = 0;
    double SPARSUM = 0;
    double TILGUNG = 0;
    double TILGSUM = 0;
    double ANUITAT = 0;
    double GUTHABEN = 0;
    double KREDIT = 0;
    double KTOSTAND = 0;
};

struct BauOutcome {
    bool refused = false;
    std::string message;  // the box text when refused
    std::string title;
    BauResults results;
    std::vector<BausparRow> rows;
    std::vector<double> chart_values;
    std::vector<std::string> chart_labels;
};

inline constexpr int kBauMaxPhaseMonths = 1200;
inline constexpr const char* kBauRefusal =
    "Der Bausparvertrag kann mit diesen Werten nicht berechnet werden !";

// BAU_RECH. No intermediate value is rounded.
BauOutcome bau_rech(const BauInputs& in);

// The date of a month's row: day 30, in February day 28.
core::Date bau_month_date(int year, int month);

// BAU_CHECK as data: the eleven bound checks in their order (check n is element n - 1).
std::array<core::InpFail, 11> bau_checks(const BauInputs& in);
// BAU_CHECK(n): n = 0 runs all checks; returns the numbers (1-based) of the failing ones, in order.
std::vector<int> bau_check(const BauInputs& in, int n);

// "&Berechnen" is enabled while the contract sum is above 0.
inline bool bau_can_compute(const BauInputs& in) {
    return in.NBAUSPSUM > 0;
}

// --- Table BAUSPAR and the store BSPBANK (bausparen_table.cpp) ---

// Empties the table, appends the rows in order with all fields assigned, and flushes it.
bool write_bauspar_rows(core::dbf::Table& table, const std::vector<BausparRow>& rows);

// The records of the table's active order as rows (the printout walks them in this order).
std::vector<BausparRow> read_bauspar_rows(core::dbf::Table& table);
// The record map of BAUSPAR, for every other reader of the table.
const core::dbf::RecordMap<BausparRow>& bauspar_map();

// The look-up key of BSPBANK: the upper-cased name padded to the field's 40 characters.
std::string bspbank_key(std::string_view bank_name);
// The key of the current BSPBANK record, for the name order the dialog builds.
std::string bspbank_record_key(const core::dbf::Table& table);
// Positions BSPBANK on the record of that name (without regard to case); false leaves it at its end.
bool bspbank_find(core::dbf::Table& table, std::string_view bank_name);

// BAU_GDATA's table part: the inputs of the current record (an empty record at the end of the table):
// a start year of 0 becomes the current year, a savings share of 0 becomes 40.
BauInputs bspbank_load_current(const core::dbf::Table& table);
// The same for the record of the named bank.
BauInputs bspbank_load(core::dbf::Table& table, std::string_view bank_name);
// The results saved with the current record (0 at the end of the table). The loan interest is
// saved only inside the loan-phase total and stays 0.
BauResults bspbank_results(const core::dbf::Table& table);
// BAU_WDATA's table part: looks the bank up, appends a record when there is none, writes the
// inputs and results, and flushes.
bool bspbank_save(core::dbf::Table& table, const BauInputs& in, const BauResults& res);

// Settings section "BAUSP" as BAU_WDATA writes it, in its order.
// Settings section "BAUSP", in the order it is written: the inputs keep the decimals of their
// fields, the computed values go out at full precision. The bank name is read padded to 40
// characters and written without trailing blanks.
using BauKey = core::SettingsKey<BauInputs, BauResults>;
inline constexpr core::SettingsSection kBauSettings{
    "BAUSP", std::array{
                 BauKey::text("Bankname", &BauInputs::CBANKNAME, "", {40, true}),
                 BauKey::number("BausparSumme", &BauInputs::NBAUSPSUM, 2, "0"),
                 BauKey::number("AGebuehren", &BauInputs::NABSCHGEB, 3, "0"),
                 BauKey::number("KGebuehren", &BauInputs::NKONTOGEB, 3, "0"),
                 BauKey::number("AbJahr", &BauInputs::NABJAHR, 0, "0"),
                 BauKey::number("Sparanteil", &BauInputs::NSPARTEIL, 2, "0"),
                 BauKey::number("Sparzins", &BauInputs::NSZINSSTZ, 3, "0"),
                 BauKey::number("Kreditzins", &BauInputs::NTZINSSTZ, 3, "0"),
                 BauKey::number("Festzeit", &BauInputs::NTFESTZEIT, 0, "0"),
                 BauKey::number("KZinsNach", &BauInputs::NTZINSNACH, 3, "0"),
                 BauKey::result("SparSumme", &BauResults::NSSUMME),
                 BauKey::result("SparMonate", &BauResults::NSMONATE),
                 BauKey::number("TilgProm", &BauInputs::NTILGANNO, 3, "0"),
                 BauKey::result("TilgSumme", &BauResults::NTSUMME),
                 BauKey::result("TilgMonate", &BauResults::NTMONATE),
                 BauKey::number("SparMonat", &BauInputs::NMONRATE, 2, "0"),
                 BauKey::result("TilgMonat", &BauResults::NMONTILG),
             }};
inline constexpr const char* kBauSection = kBauSettings.name;
std::vector<core::IniFile::Entry> bausp_settings_entries(const BauInputs& in, const BauResults& res);

// The bank the contract dialog opens on: "Bankname" of section "BAUSP", padded to 40 characters.
std::string bausp_bank_name(const core::IniDocument& ini);

// What the financing plans take over from section "BAUSP" after the contract was computed, each
// with the decimals of its text (default "0").
struct BauspTakeOver {
    core::Num NBAUSPSUM;  // "BausparSumme", contract sum
    core::Num NSPARTEIL;  // "Sparanteil", minimum savings share, %
    core::Num NSPARSUM;   // "SparSumme", saved sum at allocation
    core::Num NLAUFZS;    // "SparMonate", savings duration, years + months / 100
    core::Num NMONRATES;  // "SparMonat", monthly savings rate
    core::Num NTILGSUM;   // "TilgSumme", loan amount
    core::Num NLAUFZT;    // "TilgMonate", loan duration, years + months / 100
    core::Num NMONRATET;  // "TilgMonat", monthly loan instalment
};
BauspTakeOver bausp_take_over(const core::IniDocument& ini);

}  // namespace vestral::calc
