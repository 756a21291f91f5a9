// The owner-occupied financing plan: up to five sources (two mortgages, a building-savings
// contract, an instalment credit and the home-ownership allowance), each computed by its own
// calculator and copied into a table of the plan's own, merged into one row per calendar year.
// The plan computes no loan itself; it sums the two-decimal values read from the copies.
// The letting plan merges the same sources and reuses the passes below.
#pragma once

#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "calc/loans/bausparen.h"
#include "calc/loans/hypotilg.h"
#include "calc/loans/ratenkredit.h"
#include "calc/tax/eigenheimzulage.h"
#include "core/ini.h"
#include "core/numbers.h"
#include "core/record_map.h"
#include "core/settings_keys.h"

namespace vestral::calc {

inline constexpr const char* kFp1HelpTopic = "Finanzierung bei Eigennutzung";
inline constexpr const char* kFinzpl1File = "FINZPL1.DBF";
inline constexpr const char* kNoDataText = "Es wurden keine Daten gefunden !";
inline constexpr const char* kNoDataTitle = "Fehler";

// The copies the plan keeps of its sources' work tables (each with its source's layout).
namespace fp1_files {
inline constexpr const char* kHyp1 = "FP1HYP1.DBF";
inline constexpr const char* kHyp2 = "FP1HYP2.DBF";
inline constexpr const char* kHyt1 = "FP1HYT1.DBF";
inline constexpr const char* kHyt2 = "FP1HYT2.DBF";
inline constexpr const char* kBau = "FP1BAU.DBF";
inline constexpr const char* kBau2 = "FP1BAU2.DBF";
inline constexpr const char* kKre = "FP1KRE.DBF";
inline constexpr const char* kKre2 = "FP1KRE2.DBF";
}  // namespace fp1_files

// The two plans differ in their fifth source: the owner-occupied plan's allowance, the letting
// plan's depreciation with the typed income and rent.
enum class FpVariant { Owner, Letting };

// The names of a plan's copies.
struct FpFiles {
    const char *hyp1, *hyp2, *hyt1, *hyt2, *bau, *bau2, *kre, *kre2;
};
inline constexpr FpFiles kFp1Files{fp1_files::kHyp1, fp1_files::kHyp2, fp1_files::kHyt1, fp1_files::kHyt2,
                                   fp1_files::kBau,  fp1_files::kBau2, fp1_files::kKre,  fp1_files::kKre2};
inline constexpr FpFiles kFp2Files{"FP2HYP1.DBF", "FP2HYP2.DBF", "FP2HYT1.DBF", "FP2HYT2.DBF",
                                   "FP2BAU.DBF",  "FP2BAU2.DBF", "FP2KRE.DBF",  "FP2KRE2.DBF"};
inline const FpFiles& fp_files(FpVariant v) {
    return v == FpVariant::Letting ? kFp2Files : kFp1Files;
}

// The values the dialog holds for its lifetime.
struct Fp1State {
    bool LHYPOTH1 = true;
    std::string CHYPBANK1;
    double NHYPOSUM1 = 0;  // HYPOTHEK of the first row of FP1HYP1
    double NMONRATE1 = 0;  // ANUITAT of that row
    bool LHYPOTH2 = false;
    std::string CHYPBANK2;
    double NHYPOSUM2 = 0;
    double NMONRATE2 = 0;

    bool LBAUSPAR = false;
    bool LNURTILG = false;  // only the amortisation phase of the contract
    std::string CBAUBANK;
    core::Num NBAUSPSUM, NSPARTEIL, NSPARSUM, NLAUFZS, NMONRATES, NTILGSUM, NLAUFZT, NMONRATET;

    bool LSONSDARL = false;
    std::string CDARLBANK;
    double NDARLSUM = 0;   // KREDIT of the first row of FP1KRE
    double NMONRATEK = 0;  // MONRATE of that row
    double NLAUFZK = 0;

    bool LABSCHREIB = false;
    core::Num NEINKOMM;  // section USER
    int NKINDER = 0;
    int NFAMSTAND = 1;
    core::Num NABSCHREIB;  // section AFA
    core::Num NKINDGELD;

    // The letting plan's own values: the property's cost and depreciation total (section AFA75)
    // and the typed growth of income and rent, the rent itself.
    double NIMMOWERT = 0;
    double NAFASUM = 0;
    core::Num NEINKSTEIG, NMIETE, NMIETSTEIG;

    // Results.
    int NLJAHRE = 0;
    double NRATEN = 0;
    double NZINSEN = 0;
    bool LOK = false;
};

// Section "FINZPL1", in the order it is written. Keys are case-insensitive, so "Hypobank1" is
// read through the spelling "HypoBank1" that is written.
using Fp1Key = core::SettingsKey<Fp1State>;
inline constexpr core::SettingsSection kFp1Settings{
    "FINZPL1", std::array{
                   Fp1Key::flag("Hypothek1", &Fp1State::LHYPOTH1, "1"),
                   Fp1Key::text("HypoBank1", &Fp1State::CHYPBANK1, ""),
                   Fp1Key::flag("Hypothek2", &Fp1State::LHYPOTH2, "0"),
                   Fp1Key::text("HypoBank2", &Fp1State::CHYPBANK2, ""),
                   Fp1Key::text("BauBank", &Fp1State::CBAUBANK, ""),
                   Fp1Key::flag("Bauspar", &Fp1State::LBAUSPAR, "0"),
                   Fp1Key::exact("BauSpSum", &Fp1State::NBAUSPSUM, "0"),
                   Fp1Key::exact("Sparteil", &Fp1State::NSPARTEIL, "0"),
                   Fp1Key::exact("SparSum", &Fp1State::NSPARSUM, "0"),
                   Fp1Key::exact("LaufzeitS", &Fp1State::NLAUFZS, "0"),
                   Fp1Key::exact("MonRateS", &Fp1State::NMONRATES, "0"),
                   Fp1Key::exact("TilgSum", &Fp1State::NTILGSUM, "0"),
                   Fp1Key::exact("LaufzeitT", &Fp1State::NLAUFZT, "0"),
                   Fp1Key::exact("MonRateT", &Fp1State::NMONRATET, "0"),
                   Fp1Key::flag("NurTilg", &Fp1State::LNURTILG, "0"),
                   Fp1Key::text("DarlBank", &Fp1State::CDARLBANK, ""),
                   Fp1Key::flag("Ratkredit", &Fp1State::LSONSDARL, "0"),
                   Fp1Key::number("DarlSum", &Fp1State::NDARLSUM, 2, "0"),
                   Fp1Key::flag("Abschreib", &Fp1State::LABSCHREIB, "0"),
                   Fp1Key::exact("Abschreibung", &Fp1State::NABSCHREIB, "0"),
                   Fp1Key::exact("Kindergeld", &Fp1State::NKINDGELD, "0"),
               }};
// Read but never written: the credit's term and rate come from its copy.
inline constexpr core::SettingsSection kFp1ReadOnlySettings{
    "FINZPL1", std::array{
                   Fp1Key::number("LaufZK", &Fp1State::NLAUFZK, 0, "0"),
                   Fp1Key::number("MonRateK", &Fp1State::NMONRATEK, 2, "0"),
               }};

// FP1GDATA: the section into the held values; the contract stays off unless its sum is above 0.
void fp1_load_settings(const core::IniDocument& ini, Fp1State& s);
// FP1WDATA: the entries of section "FINZPL1" in their order.
std::vector<core::IniFile::Entry> fp1_settings_entries(const Fp1State& s);
// What the contract calculator left in section "BAUSP", into the held values.
void fp1_take_bausp(const BauspTakeOver& t, Fp1State& s);
// The allowance's totals of section "AFA"; the source is included exactly when they sum above 0.
void fp1_take_afa(const AfaValues& a, Fp1State& s);

// One row of the plan table FINZPL1: a calendar year.
struct Fp1Row {
    int JAHR = 0;
    double EINKOMM = 0;
    std::string H1BANK;
    double H1SUMME = 0, H1ZINSEN = 0, H1RATEN = 0, H1REST = 0;
    std::string H2BANK;
    double H2SUMME = 0, H2ZINSEN = 0, H2RATEN = 0, H2REST = 0;
    std::string BSPBANK;
    double BSSUMME = 0;
    std::string BSAKTION;
    double BSEINZAHL = 0, BSSPARSUM = 0, BSSPZINS = 0, BSTILGSUM = 0, BSTIZINS = 0, KTOSTAND = 0;
    std::string RKBANK;
    double RKSUMME = 0, RKZINSEN = 0, RKTILGUNG = 0, RKRATEN = 0, RKREST = 0;
    double ZINSENGES = 0, RATENGES = 0, RESTGES = 0;
    double AFA = 0, STEUERERL = 0, KINDGELD = 0;
    // The letting plan's own fields (its table has them, the owner-occupied one does not).
    double AFARATE = 0, MIETE = 0, AFAEKST1 = 0, AFAEKST2 = 0;
};
const core::dbf::RecordMap<Fp1Row>& finzpl1_map();

// The sources as read from their copies: nothing when a copy does not exist, the rows in their
// stored order otherwise (mortgages from FP1HYP1/FP1HYP2, the contract from FP1BAU, the credit
// from FP1KRE, the allowance from ABSCHEPL).
struct Fp1Sources {
    std::optional<std::vector<HypoRow>> hyp1, hyp2;
    std::optional<std::vector<BausparRow>> bau;
    std::optional<std::vector<RkRow>> kre;
    std::optional<std::vector<AbschRow>> afa;
};

// Which sources take part, and whether only the contract's amortisation phase counts.
struct Fp1Include {
    bool hyp1 = false, hyp2 = false, bau = false, kre = false, afa = false;
    bool nur_tilg = false;
};
Fp1Include fp1_include(const Fp1State& s);

struct Fp1Outcome {
    std::vector<Fp1Row> rows;  // ordered by JAHR
    double NRATEN = 0;         // initial principals, contract payments and repayments
    double NZINSEN = 0;        // mortgage, credit and contract-loan interest less saving interest
    int NLJAHRE = 0;
    bool LOK = false;  // false: "Es wurden keine Daten gefunden !"
};

// The plan being built: one row per year, found by the year. The letting plan fills its own rows
// through the same passes.
class Fp1Plan {
  public:
    Fp1Row& year(int jahr);
    std::vector<Fp1Row> rows() const;
    std::size_t size() const { return rows_.size(); }

  private:
    std::vector<Fp1Row> rows_;
};

// The passes of FP1_RECH, each over its source's rows (sorted by year here, keeping the stored
// order within a year); each returns whether it read a row. NRATEN and NZINSEN accumulate.
bool fp1_mortgage_pass(Fp1Plan& plan, std::vector<HypoRow> rows, int which, double& nraten, double& nzinsen);
bool fp1_contract_pass(Fp1Plan& plan, std::vector<BausparRow> rows, bool nur_tilg, double& nraten,
                       double& nzinsen);
bool fp1_credit_pass(Fp1Plan& plan, std::vector<RkRow> rows, double& nraten, double& nzinsen);
bool fp1_allowance_pass(Fp1Plan& plan, std::vector<AbschRow> rows);

// The four loan passes both plans run, over the included loans whose copies exist; true when one
// of them counts as run (the mortgages and the contract even over an empty copy, the credit only
// when it read a row).
bool fp_loan_passes(Fp1Plan& plan, const Fp1Include& inc, const Fp1Sources& src, double& nraten,
                    double& nzinsen);

// FP1_RECH: the plan of the included sources whose copies exist.
Fp1Outcome fp1_rech(const Fp1Include& inc, const Fp1Sources& src);

// What CHECKDATA finds in the copies: for each, nothing when the file is missing, else its first
// row when it has one.
struct Fp1CopyHeads {
    std::optional<std::optional<HypoRow>> hyp1, hyp2;
    bool bau_rows = false;
    std::optional<std::optional<RkRow>> kre;
};

// CHECKDATA's look at the loan copies, shared by both plans: a missing mortgage or credit copy
// switches its source off; the owner-occupied plan also takes the rates.
void fp_check_copies(Fp1State& s, const Fp1CopyHeads& heads, FpVariant v);

// CHECKDATA steps 1 to 4: the held values after re-reading the copies and the settings.
void fp1_checkdata(Fp1State& s, const Fp1CopyHeads& heads, const UserValues& user, const AfaValues& afa);

// The enabling and grey rules of the dialog.
struct Fp1View {
    bool hyp1_box = false, hyp2_box = false, bau_box = false, nurtilg_box = false, kre_box = false,
         afa_box = false;
    bool compute = false;  // "Berechnen"
    bool results = false;  // "Tabelle", "Drucken"
    bool hyp1_grey = true, hyp2_grey = true, bau_grey = true, kre_grey = true, afa_grey = true;
};
Fp1View fp1_view(const Fp1State& s, bool bau_rows);

// FP1_SHOW: the grid's columns (heading and what it shows) and its text line.
enum class Fp1Value {
    Jahr,
    H1Summe,
    H1Raten,
    H1Zinsen,
    H1Tilgung,
    H2Summe,
    H2Raten,
    H2Zinsen,
    H2Tilgung,
    Ktostand,
    BsEinzahl,
    BsZinsen,
    RkSumme,
    RkZinsen,
    RkTilgung,
    RkRaten,
    Afa,
    Kindgeld,
    Einkomm,
    Steuererl,
    ZinsenGesamt,
    RatenGesamt,
    KontostandGesamt,
    AfaRate,
    Miete,
};
struct Fp1Column {
    std::string heading;
    Fp1Value value;
};
struct Fp1Grid {
    std::string text;  // the line below the grid
    std::vector<Fp1Column> columns;
};
// The letting plan's grid shows the typed income and rent (`neinkomm`, `nmiete`).
Fp1Grid fp_grid(const Fp1Include& inc, FpVariant variant, double neinkomm = 0, double nmiete = 0);
inline Fp1Grid fp1_grid(const Fp1Include& inc) {
    return fp_grid(inc, FpVariant::Owner);
}
// A cell of the grid: the column's value on a plan row (the totals count only included sources).
double fp1_value(Fp1Value v, const Fp1Row& row, const Fp1Include& inc);

// --- the plan's tables (program directory `dir`) -------------------------------------------

// FP1_EXTERN's copy steps, after the source calculator closed. Each copy replaces the older file
// of its name and stays on disk; an empty or missing source changes nothing (taken is false).
struct Fp1Copied {
    bool taken = false;
    std::string bank;  // BANKNAME of the source's first row
};
// HYPOTHEK's rows with KEY = 1 to FP1HYP1/FP1HYP2 (`which` 1 or 2), and, when HYPOBANK has rows,
// those of the mortgage's bank to FP1HYT1/FP1HYT2.
Fp1Copied fp1_copy_mortgage(const std::filesystem::path& dir, int which, FpVariant v = FpVariant::Owner);
// BAUSPAR's rows with KEY = 1 to FP1BAU, and, when BSPBANK has rows, those of the bank to FP1BAU2.
Fp1Copied fp1_copy_contract(const std::filesystem::path& dir, FpVariant v = FpVariant::Owner);
// All of RATKRED to FP1KRE, and, when KREDBANK has rows, those of the bank to FP1KRE2.
Fp1Copied fp1_copy_credit(const std::filesystem::path& dir, FpVariant v = FpVariant::Owner);

// CHECKDATA's look at the copies; each is closed again after it was read, so the next take-over
// can replace it.
Fp1CopyHeads fp1_copy_heads(const std::filesystem::path& dir, FpVariant v = FpVariant::Owner);
// The copies of the included sources (and, for the owner-occupied plan, ABSCHEPL), read and closed
// again. A copy that cannot be opened was reported by the table layer and counts as missing.
Fp1Sources fp1_read_sources(const std::filesystem::path& dir, const Fp1Include& inc,
                            FpVariant v = FpVariant::Owner);
// Empties the open plan table and writes the rows; false when the write failed (reported).
bool fp1_write_plan(core::dbf::Table& finzpl1, const std::vector<Fp1Row>& rows);
// Opens (creating when missing) FINZPL1 ordered by JAHR, as the dialog keeps it.
bool fp1_open_plan(core::dbf::Table& finzpl1, const std::filesystem::path& dir);
// The same for either plan (FINZPL2 for the letting plan).
bool fp_open_plan(core::dbf::Table& plan, const std::filesystem::path& dir, FpVariant v);

}  // namespace vestral::calc
