// The home-ownership allowance for an owner-occupied home: the yearly allowance and child
// allowance over the eight grant years, the income limits of the application year, and the
// income tax the household would save in each grant year. The dialog lives elsewhere.
#pragma once

#include <vector>

#include "core/dbf.h"
#include "core/ini.h"
#include "core/inpfail.h"

namespace vestral::calc {

struct AbschrInputs {
    int NFAMSTAND = 0;      // 1 "ledig", 2 "verheiratet"
    double NEINKOMM = 0;    // taxable income of the current and the previous year together, EUR
    double NEINKSTEIG = 0;  // expected yearly income growth, percent
    int NKINDER = 0;        // children up to 18 in the household
    double NKAUFPREIS = 0;  // purchase or building price including land, EUR
    int NEINZUG = 0;        // year of the building application
    bool LNEUBAU = false;   // new building built or bought
    bool LA10E = false;     // the allowance is claimed
    bool LENERGIE = false;  // low-energy house
    bool LOEKOZUL = false;  // eco bonus (solar plant, heat pump, ...)
};

struct AbschrResults {
    double NFOERDRATE = 0;  // allowance rate, percent
    double NABSCHJAHR = 0;  // allowance per year, EUR
    double NKINDJAHR = 0;   // child allowance per year, EUR
    double NKINDGELD = 0;   // child allowance over the eight years, EUR
    double NABSCHREIB = 0;  // allowance plus child allowance over the eight years, EUR
};

// One record of ABSCHEPL: a grant year.
struct AbschRow {
    int JAHR = 0;
    double EINKOMM = 0;
    double EINKSTEIG = 0;
    double ABSCHJAHR = 0;
    double KINDJAHR = 0;
    double STEUERERL = 0;
};

struct AbschrOutcome {
    AbschrResults results;
    // The application year is after 2005: the dialog says so (kNoLongerGrantedText) and the
    // results stay 0 with no rows.
    bool no_longer_granted = false;
    std::vector<AbschRow> rows;
};

// The allowance is granted for eight years.
inline constexpr int kGrantYears = 8;
// Applications after this year get no allowance any more.
inline constexpr int kLastGrantYear = 2005;
inline constexpr const char* kNoLongerGrantedText = "Es wird keine Eigenheimzulage mehr gewährt!";
inline constexpr const char* kNoLongerGrantedTitle = "Information";

// ABSCHRECH: the allowance and the grant years (WRITEDBF's rows).
AbschrOutcome abschrech(const AbschrInputs& in);
// WRITEDBF's rows alone: the eight grant years with the tax saving of each, or none when neither
// an allowance nor a child allowance is paid.
std::vector<AbschRow> abschepl_rows(const AbschrInputs& in, const AbschrResults& r);

// The work table, created at start-up by the catalogue and opened only while it is written, shown
// or printed; it keeps the grant years for the owner-occupied financing plan.
inline constexpr const char* kAbscheplFile = "ABSCHEPL.DBF";
inline constexpr const char* kAbscheplAlias = "DABP";
// Its layout is the start-up catalogue's.
const core::dbf::Layout& abschepl_layout();

// Empties the open ABSCHEPL table, appends one record per row and flushes it to disk.
void write_abschepl_rows(core::dbf::Table& table, const std::vector<AbschRow>& rows);

// Enabling rules of the dialog. The building kind and both bonuses matter only for applications
// before 2004; the low-energy bonus needs a new building.
inline bool neubau_enabled(const AbschrInputs& in) {
    return in.NEINZUG < 2004;
}
inline bool energie_enabled(const AbschrInputs& in) {
    return in.LNEUBAU && in.NEINZUG < 2004;
}
inline bool oekozul_enabled(const AbschrInputs& in) {
    return in.NEINZUG < 2004;
}
inline bool abschr_can_compute(const AbschrInputs& in) {
    return in.NEINKOMM > 0 && in.NKAUFPREIS > 0;
}
// "&Tabelle" and "&Drucken": only with a rate, so a child allowance alone is not shown.
inline bool abschr_has_results(const AbschrResults& r) {
    return r.NFOERDRATE > 0;
}

// The bound checks of the input fields, in dialog order.
enum class AbschrField { Einkommen, EinkSteig, Kinder, Kaufpreis, Einzug };
core::InpFail abschr_check(AbschrField field, const AbschrInputs& in);

// The application year when none is stored: this year, but never beyond the field's bound.
int abschr_default_year();

// Settings. "USER" and "OBJEKT" are shared with the financing plans; two keys are spelled with a
// trailing blank.
namespace abschr_settings {
inline constexpr const char* kUser = "USER";
inline constexpr const char* kObjekt = "OBJEKT";
inline constexpr const char* kAfa = "AFA";

inline constexpr const char* kFamilienstand = "Familienstand";  // USER, read as an integer, default 1
inline constexpr const char* kEinkommen = "Einkommen ";         // USER, default "0.00"
inline constexpr const char* kEinkSteig = "EinkSteig ";         // USER, default "0.00"
inline constexpr const char* kKinder = "Kinder";                // USER, default "0"
inline constexpr const char* kKaufpreis = "Kaufpreis";          // OBJEKT, default "0.00"
inline constexpr const char* kEinzug = "Einzug";                // OBJEKT, default abschr_default_year()
inline constexpr const char* kNeubau = "Neubau";                // OBJEKT, default "0"
inline constexpr const char* kA10e = "A10e";                    // AFA, default "1"
inline constexpr const char* kNEnergiehaus = "NEnergiehaus";    // AFA, default "0"
inline constexpr const char* kOekozulage = "Oekozulage";        // AFA, default "0"

// Results, written only (the owner-occupied financing plan reads "Abschreibung" and "Kindergeld").
inline constexpr const char* kFoerderrate = "Foerderrate";  // written 12 wide with 3 decimals
inline constexpr int kFoerderrateWidth = 12;
inline constexpr int kFoerderrateDecimals = 3;
inline constexpr const char* kAbschrJahr = "Abschr/Jahr";
inline constexpr const char* kAbschreibung = "Abschreibung";
inline constexpr const char* kKindgeldJahr = "Kindgeld/Jahr";
inline constexpr const char* kKindergeld = "Kindergeld";
}  // namespace abschr_settings

// ABSCHR_GDATA's reading part: the inputs from sections "USER", "OBJEKT" and "AFA".
AbschrInputs abschr_read_settings(const core::IniFile& ini);
// ABSCHR_WDATA: the inputs and results into their sections.
void abschr_write_settings(core::IniFile ini, const AbschrInputs& in, const AbschrResults& r);

}  // namespace vestral::calc
