// Mortgage amortisation plan: an annuity mortgage repaid month by month, with a follow-up rate
// after the fixed-interest period, a financed credit fee, an account fee taken out of every
// December instalment and a yearly special repayment. Computation, input checks and the
// stored forms (plan table, saved plans, settings section); no dialog here.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/apr.h"
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

struct HypoInputs {
    std::string CBANKNAME;
    double NHYPOTHEK = 0;  // mortgage amount A
    double NZINSSATZ = 0;  // nominal annual rate i, %
    double NTILGANNO = 0;  // initial repayment per year t, %
    core::Date DABDATUM;   // contract start
    int NLAUFZEIT = 0;     // fixed-interest period N, years
    double NKONTOGEB = 0;  // annual account fee K
    double NKREDITPR = 0;  // credit fee, % of the amount
    double NKREDITDM = 0;  // credit fee F, EUR (the one the computation uses)
    double NZINSNACH = 0;  // follow-up rate i2, %
    double NEINMALDM = 0;  // yearly special repayment S
    int NEINMALMO = 1;     // month of the special repayment, 1..12

    // Saved results belong to exactly these inputs.
    friend bool operator==(const HypoInputs&, const HypoInputs&) = default;
};

struct HypoResults {
    double NANNUITAT = 0;  // monthly instalment
    double NANNUITA2 = 0;  // monthly instalment after the fixed period
    double NRESTNACH = 0;  // residual debt when the follow-up rate takes over
    double NZINSSUM = 0;   // interest total
    double NTILGSUM = 0;   // amount plus interest total
    double NTILGZEIT = 0;  // repayment time, whole years
    double NEFFZINS = 0;   // effective annual rate, %
    double NGEBUSUM = 0;   // fee total
    double NEINMSUM = 0;   // special repayment total
    double NEINMALPZ = 0;  // special repayment as % of the amount (display only)
    // Annual percentage rate over the fixed-interest period, every fee counted; nothing when no
    // rate is defined (no plan, or payments below the payout).
    std::optional<double> NJAHRESZINS;
};

// One record of the plan table HYPOTHEK. KEY 1: a month; KEY 2: the end of a year (or of the plan).
// Fields a year-end row does not carry (ABJAHR, ABMONAT, ZINSEN, TILGUNG, MONRATE) and the one a
// monthly row does not carry (MONRSUM) stay 0 and are left blank in the table.
struct HypoRow {
    std::string BANKNAME;
    int KEY = 1;
    core::Date DATUM;
    int ABJAHR = 0;
    int ABMONAT = 0;
    double HYPOTHEK = 0;
    double ZINSEN = 0;
    double ZINSSUM = 0;
    double TILGUNG = 0;
    double TILGSUM = 0;
    double ANUITAT = 0;
    double EINMALDM = 0;
    double EINMSUM = 0;
    double GEBUEHR = 0;
    double GEBUSUM = 0;
    double MONRATE = 0;
    double MONRSUM = 0;
    double RESTHYP = 0;
    double GEZAHLT = 0;
    double RESTZINS = 0;
};

// The bar chart of the year-end balances, labelled with two-digit years ("07").
struct HypoChart {
    std::vector<double> values;
    std::vector<std::string> labels;
};

struct HypoOutcome {
    // false: the balance does not fall (or the plan would run past the year 9999); rows, chart
    // and results are then empty / 0 and the dialog shows kHypoNotRepaid.
    bool repaid_ok = true;
    // false: the start date is empty or no calendar date; nothing was computed (repaid_ok is
    // false too) and the dialog stops with the start date's check message.
    bool date_ok = true;
    HypoResults results;
    std::vector<HypoRow> rows;
    HypoChart chart;
};

inline constexpr const char* kHypoNotRepaid = "Die Hypothek wird mit diesen Eingaben nicht getilgt !";
inline constexpr const char* kHypoNotRepaidTitle = "Problem";

// HT_TAB: the whole plan in one go.
HypoOutcome ht_tab(const HypoInputs& in);

// The payments of the fixed-interest period as the borrower makes them, dated in months from the
// payout: every month's instalment (with the special repayment in its month, the account fee
// inside the December instalment, the smaller final instalment), and the debt left when the
// follow-up rate takes over, counted as paid at the last month of the period. The payout is the
// amount without the financed credit fee, so that fee costs what it costs the borrower.
std::vector<core::DatedPayment> ht_apr_payments(const HypoInputs& in, const std::vector<HypoRow>& rows);
// The annual percentage rate of a computed plan (payout: the amount).
std::optional<double> ht_jahreszins(const HypoInputs& in, const std::vector<HypoRow>& rows);

// The special repayment as a percentage of the amount (100 / amount × special), and its warning
// colour rule.
double ht_einmalpz(double amount, double special);
inline bool ht_einmalpz_is_red(double percent) {
    return percent > 5;
}

// Coupling of the two credit-fee fields.
double ht_credit_fee_eur(double amount, double percent);  // amount / 100 × percent
double ht_credit_fee_percent(double amount, double eur);  // 100 / amount × EUR, 0 for amount 0

// HT_CHECK as data: the seven bound checks in order (check n is element n − 1).
std::vector<core::InpFail> ht_checks(const HypoInputs& in);
// Numbers (1..7) of the checks that fail; n = 0 tests all, otherwise only check n.
std::vector<int> ht_check_failures(const HypoInputs& in, int n = 0);

// --- Stored forms ---------------------------------------------------------------------------

namespace hypothek_fields {
inline constexpr const char* BANKNAME = "BANKNAME";
inline constexpr const char* KEY = "KEY";
inline constexpr const char* DATUM = "DATUM";
inline constexpr const char* ABJAHR = "ABJAHR";
inline constexpr const char* ABMONAT = "ABMONAT";
inline constexpr const char* HYPOTHEK = "HYPOTHEK";
inline constexpr const char* ZINSEN = "ZINSEN";
inline constexpr const char* ZINSSUM = "ZINSSUM";
inline constexpr const char* TILGUNG = "TILGUNG";
inline constexpr const char* TILGSUM = "TILGSUM";
inline constexpr const char* ANUITAT = "ANUITAT";
inline constexpr const char* EINMALDM = "EINMALDM";
inline constexpr const char* EINMSUM = "EINMSUM";
inline constexpr const char* GEBUEHR = "GEBUEHR";
inline constexpr const char* GEBUSUM = "GEBUSUM";
inline constexpr const char* MONRATE = "MONRATE";
inline constexpr const char* MONRSUM = "MONRSUM";
inline constexpr const char* RESTHYP = "RESTHYP";
inline constexpr const char* GEZAHLT = "GEZAHLT";
inline constexpr const char* RESTZINS = "RESTZINS";
}  // namespace hypothek_fields

namespace hypobank_fields {
inline constexpr const char* BANKNAME = "BANKNAME";
inline constexpr const char* HYPOTHEK = "HYPOTHEK";
inline constexpr const char* ZINSSATZ = "ZINSSATZ";
inline constexpr const char* TILGJAHR = "TILGJAHR";
inline constexpr const char* ABDATUM = "ABDATUM";
inline constexpr const char* ABJAHR = "ABJAHR";
inline constexpr const char* LAUFZEIT = "LAUFZEIT";
inline constexpr const char* KONTOGEB = "KONTOGEB";
inline constexpr const char* KREDITPR = "KREDITPR";
inline constexpr const char* KREDITDM = "KREDITDM";
inline constexpr const char* ZINSNACH = "ZINSNACH";
inline constexpr const char* EINMALDM = "EINMALDM";
inline constexpr const char* EINMALMO = "EINMALMO";
inline constexpr const char* ZINSSUM = "ZINSSUM";
inline constexpr const char* TILGSUM = "TILGSUM";
inline constexpr const char* TILGZEIT = "TILGZEIT";
inline constexpr const char* GEBUSUM = "GEBUSUM";
inline constexpr const char* EINMSUM = "EINMSUM";
inline constexpr const char* ANNUITAT = "ANNUITAT";
inline constexpr const char* ANNUITA2 = "ANNUITA2";
inline constexpr const char* EFFZINS = "EFFZINS";
inline constexpr const char* JAHRESZINS = "JAHRESZINS";  // blank: not defined
}  // namespace hypobank_fields

// Settings section "HYPO": the inputs keep the decimals of their masks, the computed values go out
// at full precision. The financing plans write "Bankname" before they start the plan, so that it
// opens on that bank.
using HypoKey = core::SettingsKey<HypoInputs, HypoResults>;
inline constexpr core::SettingsSection kHypoSettings{
    "HYPO", std::array{
                HypoKey::text("Bankname", &HypoInputs::CBANKNAME, "", {40}),
                HypoKey::number("Hypothek", &HypoInputs::NHYPOTHEK, 2, "0.00"),
                HypoKey::number("Zinssatz", &HypoInputs::NZINSSATZ, 3, "0.000"),
                HypoKey::number("TilgungJahr", &HypoInputs::NTILGANNO, 3, "0.000"),
                HypoKey::date("AbDatum", &HypoInputs::DABDATUM, ""),
                HypoKey::result("Zinssumme", &HypoResults::NZINSSUM),
                HypoKey::result("Gesamtsumme", &HypoResults::NTILGSUM),
                HypoKey::result("Laufzeit", &HypoResults::NTILGZEIT),
                HypoKey::result("Annuitaet", &HypoResults::NANNUITAT),
            }};
inline constexpr const char* kHypoSection = kHypoSettings.name;

// Empties the open plan table, appends every row in order and flushes it to disk.
void write_hypothek_rows(core::dbf::Table& table, const std::vector<HypoRow>& rows);
// The record map of HYPOTHEK, for every other reader of the plan table.
const core::dbf::RecordMap<HypoRow>& hypothek_map();

// Positions HYPOBANK on the (not deleted) record whose upper-cased name equals the upper-cased
// `name`; false when there is none (the position is then unspecified).
bool hypobank_seek(core::dbf::Table& table, std::string_view name);

// HT_WDATA, table part: rewrites the record of the bank name, appending one when it is missing,
// and flushes.
void hypobank_save(core::dbf::Table& table, const HypoInputs& in, const HypoResults& res);

// HT_GDATA, table part: the inputs of the current record (at the end of the table: those of an
// empty record). An empty start date becomes today, a special month of 0 becomes 1.
HypoInputs hypobank_load(const core::dbf::Table& table);

// The results saved with the current record (0 at the end of the table). The residual debt after
// the fixed period and the special-repayment percentage are not saved and stay 0.
HypoResults hypobank_results(const core::dbf::Table& table);

// HT_WDATA, settings part: the entries of section "HYPO" in their order.
std::vector<core::IniFile::Entry> hypo_settings_entries(const HypoInputs& in, const HypoResults& res);

// The bank the plan opens on: "Bankname" of section "HYPO", padded to 40 characters.
std::string hypo_bank_name(const core::IniDocument& ini);
// The entry that makes the plan open on `name` (written by the financing plans).
core::IniFile::Entry hypo_bank_name_entry(std::string_view name);

}  // namespace vestral::calc
