// Split financing: an interest-only mortgage beside a savings plan that is to reach the mortgage
// amount. Either the savings term or the monthly savings rate is given and the other is searched;
// both plans go into one table. Computation, checks and the stored forms (plan table, saved
// plans, settings section); no dialog here.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/clock.h"
#include "core/ini.h"
#include "core/inpfail.h"
#include "core/settings_keys.h"

namespace vestral::core::dbf {
class Table;
}

namespace vestral::calc {

struct HsInputs {
    std::string CSPARNAME;  // savings institution
    double NTILGSUMM = 0;   // savings target G
    double NSPZINS = 0;     // savings rate p, %
    int NABJAHR = 0;        // start year y0
    int NSPLZEIT = 0;       // wanted term, years (0: the rate drives)
    double NSPMRATE = 0;    // wanted monthly rate (0: the term drives)
    double NSPKTOGEB = 0;   // yearly account fee of the savings k
    double NSPAUSZU = 0;    // surcharge a, % of each rate
    double NSPAUSDM = 0;    // surcharge per rate, EUR
    std::string CTILGNAME;  // mortgage bank
    double NHYPOTHEK = 0;   // mortgage amount H
    double NHYPZSATZ = 0;   // mortgage rate i, %
    int NHYPZFEST = 0;      // fixed-interest period N, years
    double NHYPZNACH = 0;   // follow-up rate i2, %
    double NTIKTOGEB = 0;   // yearly account fee of the mortgage K
    double NKREDITPR = 0;   // credit fee, % of the amount
    double NKREDITDM = 0;   // credit fee F, EUR
};

struct HsResults {
    double NSPARSUMM = 0;  // saved sum
    double NSPARZINS = 0;  // savings interest total
    double NSPARLZMR = 0;  // the found rate (term drives) or duration as years + months / 100
    double NSPARGEBS = 0;  // savings fees: surcharges and account fees
    double NZINSSUM = 0;   // mortgage interest total
    double NANNUITAT = 0;  // monthly interest payment
    double NANNUITA2 = 0;  // monthly interest payment after the fixed period
    double NRESTNACH = 0;  // mortgage balance when the follow-up rate starts
    double NEFFZINS = 0;   // effective mortgage rate
    double NGEBUSUM = 0;   // mortgage fee total
    double NSEFFZINS = 0;  // effective savings rate
};

// One record of HYPSPAR: a savings month (KEY1 1) or year end (KEY1 2), and/or the mortgage month
// (KEY2 5) or year end (KEY2 6) of the same date. Fields of a side the row does not carry are
// left blank.
struct HsRow {
    core::Date DATUM;
    std::string SPARNAME;
    int KEY1 = 0;
    double TILGSUMM = 0;
    core::Date SPARDAT;
    double SPARSUMM = 0;
    double SPARZINS = 0;
    double SPARZSUM = 0;
    double SPARRATE = 0;
    double SGEBUEHR = 0;
    double SGEBUSUM = 0;
    double SGEBAUSZU = 0;
    double SGEBAUSDM = 0;
    double SPARKONTO = 0;
    std::string TILGNAME;
    int KEY2 = 0;
    core::Date TILGDAT;
    int ABJAHR = 0;
    int ABMONAT = 0;
    double HYPOTHEK = 0;
    double ZINSEN = 0;
    double ZINSSUM = 0;
    double ANUITAT = 0;
    double TGEBUEHR = 0;
    double TGEBUSUM = 0;
    double GEZAHLT = 0;
    double RESTZINS = 0;
};

enum class HsRefusal {
    None,
    NoTermNoRate,  // kHsNoTermNoRate
    RateTooSmall,  // kHsRateTooSmall
};

inline constexpr const char* kHsNoTermNoRate = "Bitte geben Sie die Laufzeit oder die monatliche Rate ein !";
inline constexpr const char* kHsRateTooSmall = "Mit dieser Rate wird die Ansparsumme nicht erreicht !";
// The rate-driven search gives up after this many months.
inline constexpr int kHsMaxMonths = 600;

struct HsOutcome {
    HsRefusal refused = HsRefusal::None;
    bool term_drives = false;  // the found value is a monthly rate (else a duration)
    double rate = 0;           // the monthly savings rate of the plan
    int savings_months = 0;    // the found duration in whole months (rate drives)
    int mortgage_months = 0;
    double surcharge_eur = 0;  // the surcharge field after the search: q / 100 × a
    HsResults results;
    std::vector<HsRow> rows;  // in record order
};

// One savings simulation from a zero balance over `months` months (year steps after every twelfth).
struct HsSaving {
    double balance = 0, interest = 0, fees = 0;
};
HsSaving hs_simulate(double q, int months, double p, double a, double k);

// The term-driven search: the smallest whole-euro rate q ≥ 1 whose `years` × 12 months reach G.
// Searched by bisection over whole euros, which gives the same q as trying 1, 2, 3 … because the
// final balance grows with q (by at least 0,81 per euro and month, far above rounding).
double hs_search_rate(double G, int years, double p, double a, double k);
// The same by trying every euro from 1 up (kept as the reference the bisection is tested against).
double hs_search_rate_linear(double G, int years, double p, double a, double k);

// HS_RECH.
HsOutcome hs_rech(const HsInputs& in);

// Years and months as shown (7 years 5 months = 7,05) from a whole month count.
inline double hs_years_months(int months) {
    return months / 12 + (months % 12) / 100.0;
}

// HS_CHECK as data: the checks 1–7 and 11–14 by their numbers.
inline constexpr int kHsCheckNumbers[] = {1, 2, 3, 4, 5, 6, 7, 11, 12, 13, 14};
core::InpFail hs_check(const HsInputs& in, int n);
// Numbers of the failing checks; n = 0 tests all.
std::vector<int> hs_check_failures(const HsInputs& in, int n = 0);

// "Berechnen" is enabled for a savings target and a mortgage amount above 0.
inline bool hs_can_compute(const HsInputs& in) {
    return in.NTILGSUMM > 0 && in.NHYPOTHEK > 0;
}

// --- Stored forms ---------------------------------------------------------------------------

namespace hyspbank_fields {
inline constexpr const char* SPARNAME = "SPARNAME";
inline constexpr const char* TILGSUMM = "TILGSUMM";
inline constexpr const char* ABJAHR = "ABJAHR";
inline constexpr const char* SPZINS = "SPZINS";
inline constexpr const char* SPLZEIT = "SPLZEIT";
inline constexpr const char* SPMRATE = "SPMRATE";
inline constexpr const char* SPKTOGEB = "SPKTOGEB";
inline constexpr const char* SPAUSZU = "SPAUSZU";
inline constexpr const char* SPAUSDM = "SPAUSDM";
inline constexpr const char* TILGNAME = "TILGNAME";
inline constexpr const char* HYPOTHEK = "HYPOTHEK";
inline constexpr const char* HYPZSATZ = "HYPZSATZ";
inline constexpr const char* HYPZFEST = "HYPZFEST";
inline constexpr const char* HYPZNACH = "HYPZNACH";
inline constexpr const char* TIKTOGEB = "TIKTOGEB";
inline constexpr const char* KREDITPR = "KREDITPR";
inline constexpr const char* KREDITDM = "KREDITDM";
inline constexpr const char* ZINSSUM = "ZINSSUM";
inline constexpr const char* TILGSUM = "TILGSUM";
inline constexpr const char* TILGZEIT = "TILGZEIT";
inline constexpr const char* GEBUSUM = "GEBUSUM";
inline constexpr const char* ANNUITAT = "ANNUITAT";
inline constexpr const char* EFFZINS = "EFFZINS";
}  // namespace hyspbank_fields

// Section "HYSP": the 24 keys in the order they are written.
using HsKey = core::SettingsKey<HsInputs, HsResults>;
inline constexpr core::SettingsSection kHsSettings{
    "HYSP", std::array{
                HsKey::text("Sparname", &HsInputs::CSPARNAME, "", {40}),
                HsKey::result("SparSumm", &HsResults::NSPARSUMM),
                HsKey::number("SpZins", &HsInputs::NSPZINS, 3, "0.000"),
                HsKey::whole("AbJahr", &HsInputs::NABJAHR, "0"),
                HsKey::whole("SplZeit", &HsInputs::NSPLZEIT, "0"),
                HsKey::number("SpmRate", &HsInputs::NSPMRATE, 2, "0.00"),
                HsKey::number("SpKtoGeb", &HsInputs::NSPKTOGEB, 2, "0.00"),
                HsKey::number("SpAusZu", &HsInputs::NSPAUSZU, 2, "0.00"),
                HsKey::number("SpAusDM", &HsInputs::NSPAUSDM, 2, "0.00"),
                HsKey::result("SparZins", &HsResults::NSPARZINS),
                HsKey::result("SparLZMR", &HsResults::NSPARLZMR),
                HsKey::result("SparGebs", &HsResults::NSPARGEBS),
                HsKey::text("Tilgname", &HsInputs::CTILGNAME, "", {40}),
                HsKey::number("Hypothek", &HsInputs::NHYPOTHEK, 2, "0.00"),
                HsKey::number("HypzSatz", &HsInputs::NHYPZSATZ, 3, "0.000"),
                HsKey::whole("HypzFest", &HsInputs::NHYPZFEST, "0"),
                HsKey::number("HypzNach", &HsInputs::NHYPZNACH, 3, "0.000"),
                HsKey::number("TiKtoGeb", &HsInputs::NTIKTOGEB, 2, "0.00"),
                HsKey::number("KreditPr", &HsInputs::NKREDITPR, 2, "0.00"),
                HsKey::number("KreditDM", &HsInputs::NKREDITDM, 2, "0.00"),
                HsKey::result("Zinssumm", &HsResults::NZINSSUM),
                HsKey::result("Annuitat", &HsResults::NANNUITAT),
                HsKey::result("Effzins", &HsResults::NEFFZINS),
                HsKey::result("GebuSum", &HsResults::NGEBUSUM),
            }};
inline constexpr const char* kHsSection = kHsSettings.name;

std::vector<core::IniFile::Entry> hs_settings_entries(const HsInputs& in, const HsResults& res);
// The pair of names the dialog opens on ("Sparname", "Tilgname" of section "HYSP", padded to 40).
std::pair<std::string, std::string> hs_bank_names(const core::IniDocument& ini);

// The key of a saved plan: both names upper-cased, each padded to 40 characters.
std::string hyspbank_key(std::string_view sparname, std::string_view tilgname);
// Adds the key order to the open HYSPBANK and makes it active.
void hyspbank_index(core::dbf::Table& table);
// Positions HYSPBANK on the record of the pair; false when there is none.
bool hyspbank_seek(core::dbf::Table& table, std::string_view sparname, std::string_view tilgname);
// HS_WDATA, table part: rewrites (or appends) the record of the pair and flushes.
void hyspbank_save(core::dbf::Table& table, const HsInputs& in, const HsResults& res);
// HS_GDATA, table part: the inputs of the current record (at the end: an empty record's). A start
// year of 0 becomes `current_year`.
HsInputs hyspbank_load(const core::dbf::Table& table, int current_year);

// HYPSPAR's orders: 1 savings months, 2 savings year ends, 3 mortgage months, 4 mortgage year
// ends, 5 date and KEY1. Added to the open table; returns the number of the first.
int hypspar_orders(core::dbf::Table& table);
// Empties the open HYPSPAR, writes the rows and flushes.
void write_hypspar_rows(core::dbf::Table& table, const std::vector<HsRow>& rows);
// The rows of the active order, from the top.
std::vector<HsRow> read_hypspar_rows(core::dbf::Table& table);

}  // namespace vestral::calc
