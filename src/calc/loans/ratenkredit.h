// Instalment credit with flat-rate interest: every month's interest is charged on the credit as
// granted. Either the term or the monthly rate drives the plan. Computation, input checks and the
// stored forms (plan table, saved credits, settings section); no dialog here.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/apr.h"
#include "core/ini.h"
#include "core/inpfail.h"
#include "core/settings_keys.h"

namespace vestral::core::dbf {
class Table;
template <class Row>
class RecordMap;
}  // namespace vestral::core::dbf

namespace vestral::calc {

struct RkInputs {
    std::string CBANKNAME;
    double NKREDIT = 0;    // credit amount A
    double NMONZINS = 0;   // nominal rate per year r, %
    double NBEARBPRO = 0;  // processing fee, % of the credit
    double NBEARBGEB = 0;  // processing fee f, EUR (the one the computation uses)
    int NLAUFZEIT = 0;     // term in months; 0: the monthly rate drives
    double NMONRATE = 0;   // monthly rate
};

struct RkResults {
    double NERSTRATE = 0;  // monthly rate
    double NRESTRATE = 0;  // rate of the last month
    double NEFFZINS = 0;   // effective rate, %
    double NZINSSUM = 0;   // interest total
    double NTILGSUM = 0;   // total paid, without the processing fee
    double NLZSUMME = 0;   // duration: whole years + months / 100
    // Annual percentage rate, the processing fee and the flat-rate interest counted; nothing when
    // no rate is defined.
    std::optional<double> NJAHRESZINS;
};

// One record of the plan table RATKRED.
struct RkRow {
    std::string BANKNAME;
    int JAHR = 0;
    int MONAT = 0;  // 1, 2, 3 ... counted from the start
    double KREDIT = 0;
    double ZINSEN = 0;
    double ZINSSUM = 0;
    double TILGUNG = 0;
    double TILGSUM = 0;
    double MONRATE = 0;
    double GETILGT = 0;
};

struct RkOutcome {
    // true: the rate does not exceed the monthly interest or needs more than kRkMaxMonths months;
    // the dialog shows kRkRateTooSmall and leaves the table and results as they were.
    bool refused = false;
    RkResults results;
    std::vector<RkRow> rows;
};

inline constexpr const char* kRkRateTooSmall = "Die monatliche Rate ist zu klein !";
// The month number is stored in three digits.
inline constexpr int kRkMaxMonths = 999;

// RK_MONRATE: the rate that repays credit, interest and fee in n months; 0 for n = 0.
double rk_monrate(double credit, double rate, double fee_eur, int n);

// RK_RECH. `current_year` is the calendar year of the first twelve rows.
RkOutcome rk_rech(const RkInputs& in, int current_year);

// The payments of a computed plan as the borrower makes them, dated in months from the payout: each
// month's interest and repayment, and with the first rate the processing fee the plan takes out of
// it (whichever of term or rate drives the plan).
std::vector<core::DatedPayment> rk_apr_payments(const RkInputs& in, const std::vector<RkRow>& rows);
// The annual percentage rate of a computed plan (payout: the credit).
std::optional<double> rk_jahreszins(const RkInputs& in, const std::vector<RkRow>& rows);

// Coupling of the two fee fields.
double rk_fee_eur(double credit, double percent);  // credit / 100 × percent
double rk_fee_percent(double credit, double eur);  // 100 / credit × EUR, 0 for credit 0
// The EUR field takes input only while the percent is 0 or an amount is already there.
inline bool rk_fee_eur_editable(double percent, double eur) {
    return percent == 0 || eur > 0;
}

// RK_CHECK as data: the six bound checks in order (check n is element n − 1).
std::vector<core::InpFail> rk_checks(const RkInputs& in);
// Numbers (1..6) of the checks that fail; n = 0 tests all, otherwise only check n.
std::vector<int> rk_check_failures(const RkInputs& in, int n = 0);

// --- Stored forms ---------------------------------------------------------------------------

namespace ratkred_fields {
inline constexpr const char* BANKNAME = "BANKNAME";
inline constexpr const char* JAHR = "JAHR";
inline constexpr const char* MONAT = "MONAT";
inline constexpr const char* KREDIT = "KREDIT";
inline constexpr const char* ZINSEN = "ZINSEN";
inline constexpr const char* ZINSSUM = "ZINSSUM";
inline constexpr const char* TILGUNG = "TILGUNG";
inline constexpr const char* TILGSUM = "TILGSUM";
inline constexpr const char* MONRATE = "MONRATE";
inline constexpr const char* GETILGT = "GETILGT";
}  // namespace ratkred_fields

namespace kredbank_fields {
inline constexpr const char* BANKNAME = "BANKNAME";
inline constexpr const char* KREDIT = "KREDIT";
inline constexpr const char* ZINSSATZ = "ZINSSATZ";
inline constexpr const char* TILGJAHR = "TILGJAHR";
inline constexpr const char* ABJAHR = "ABJAHR";
inline constexpr const char* LAUFZEIT = "LAUFZEIT";
inline constexpr const char* KONTOGEB = "KONTOGEB";
inline constexpr const char* KREDITPR = "KREDITPR";
inline constexpr const char* KREDITDM = "KREDITDM";
inline constexpr const char* MONRATE = "MONRATE";
inline constexpr const char* ZAHLRATE = "ZAHLRATE";
inline constexpr const char* LASTRATE = "LASTRATE";
inline constexpr const char* ZINSSUM = "ZINSSUM";
inline constexpr const char* TILGSUM = "TILGSUM";
inline constexpr const char* TILGZEIT = "TILGZEIT";
inline constexpr const char* EFFZINS = "EFFZINS";
inline constexpr const char* JAHRESZINS = "JAHRESZINS";  // blank: not defined
}  // namespace kredbank_fields

// Settings section "KRED2": the inputs keep the decimals of their masks, the computed values go out
// at full precision. The financing plans write "Bankname" before they start the credit.
using RkKey = core::SettingsKey<RkInputs, RkResults>;
inline constexpr core::SettingsSection kRkSettings{
    "KRED2", std::array{
                 RkKey::text("Bankname", &RkInputs::CBANKNAME, "", {40}),
                 RkKey::number("Kredit", &RkInputs::NKREDIT, 2, "0.00"),
                 RkKey::whole("Laufzeit", &RkInputs::NLAUFZEIT, "0"),
                 RkKey::number("MonZins", &RkInputs::NMONZINS, 3, "0.000"),
                 RkKey::number("MonRate", &RkInputs::NMONRATE, 2, "0.00"),
                 RkKey::number("BearbProz", &RkInputs::NBEARBPRO, 3, "0.000"),
                 RkKey::number("BearbGeb", &RkInputs::NBEARBGEB, 2, "0.00"),
                 RkKey::result("ZinsSumme", &RkResults::NZINSSUM),
                 RkKey::result("TilgSumme", &RkResults::NTILGSUM),
                 RkKey::result("LzSumme", &RkResults::NLZSUMME),
                 RkKey::result("ErstRate", &RkResults::NERSTRATE),
                 RkKey::result("RestRate", &RkResults::NRESTRATE),
             }};
inline constexpr const char* kRkSection = kRkSettings.name;

// Empties the open plan table, appends every row in order and flushes it to disk.
void write_ratkred_rows(core::dbf::Table& table, const std::vector<RkRow>& rows);

// The rows of the open plan table in record order (for the printout); leaves it at the first row.
std::vector<RkRow> read_ratkred_rows(core::dbf::Table& table);
// The record map of RATKRED, for every other reader of the plan table.
const core::dbf::RecordMap<RkRow>& ratkred_map();

// Positions KREDBANK on the (not deleted) record whose upper-cased name equals the upper-cased
// `name`; false when there is none (the position is then unspecified).
bool kredbank_seek(core::dbf::Table& table, std::string_view name);

// RK_WDATA, table part: rewrites the record of the bank name, appending one when it is missing,
// and flushes.
void kredbank_save(core::dbf::Table& table, const RkInputs& in, const RkResults& res);

// RK_GDATA, table part: the inputs of the current record (at the end of the table: those of an
// empty record).
RkInputs kredbank_load(const core::dbf::Table& table);
// The results saved with the current record.
RkResults kredbank_load_results(const core::dbf::Table& table);

// True when two sets of inputs describe the same credit (bank names without regard to case and
// padding; amounts as stored).
bool rk_same_inputs(const RkInputs& a, const RkInputs& b);

// RK_WDATA, settings part: the entries of section "KRED2" in their order.
std::vector<core::IniFile::Entry> rk_settings_entries(const RkInputs& in, const RkResults& res);

// The bank the credit opens on: "Bankname" of section "KRED2", padded to 40 characters.
std::string rk_bank_name(const core::IniDocument& ini);
// The entry that makes the credit open on `name` (written by the financing plans).
core::IniFile::Entry rk_bank_name_entry(std::string_view name);

}  // namespace vestral::calc
