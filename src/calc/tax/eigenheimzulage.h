// The home-ownership allowance for an owner-occupied home: the yearly allowance and child
// allowance over the eight grant years, the income limits of the application year, and the
// income tax the household would save in each grant year. The dialog lives elsewhere.
#pragma once

#include <string>
#include <vector>

#include "core/dbf.h"
#include "core/ini.h"
#include "core/inpfail.h"
#include "core/record_map.h"
#include "core/settings_keys.h"

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
// The record map of ABSCHEPL, for the financing plans that read the grant years.
const core::dbf::RecordMap<AbschRow>& abschepl_map();

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
std::string abschr_default_year_text();

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

// Written by the letting financing plan only.
inline constexpr const char* kMiete = "Miete";          // USER, default "0.00"
inline constexpr const char* kMietSteig = "MietSteig";  // USER, default "0.00"
}  // namespace abschr_settings

// The allowance's three sections, each in the order it is written.
using AbschrKey = core::SettingsKey<AbschrInputs, AbschrResults>;
inline constexpr core::SettingsSection kAbschrUserSettings{
    abschr_settings::kUser,
    std::array{
        AbschrKey::whole(abschr_settings::kFamilienstand, &AbschrInputs::NFAMSTAND, "1"),
        AbschrKey::number(abschr_settings::kEinkommen, &AbschrInputs::NEINKOMM, 2, "0.00"),
        AbschrKey::number(abschr_settings::kEinkSteig, &AbschrInputs::NEINKSTEIG, 2, "0.00"),
        AbschrKey::whole(abschr_settings::kKinder, &AbschrInputs::NKINDER, "0"),
    }};
inline constexpr core::SettingsSection kAbschrObjektSettings{
    abschr_settings::kObjekt,
    std::array{
        AbschrKey::number(abschr_settings::kKaufpreis, &AbschrInputs::NKAUFPREIS, 2, "0.00"),
        AbschrKey::whole(abschr_settings::kEinzug, &AbschrInputs::NEINZUG, &abschr_default_year_text),
        AbschrKey::flag(abschr_settings::kNeubau, &AbschrInputs::LNEUBAU, "0"),
    }};
inline constexpr core::SettingsSection kAbschrAfaSettings{
    abschr_settings::kAfa, std::array{
                               AbschrKey::flag(abschr_settings::kA10e, &AbschrInputs::LA10E, "1"),
                               AbschrKey::flag(abschr_settings::kNEnergiehaus, &AbschrInputs::LENERGIE, "0"),
                               AbschrKey::flag(abschr_settings::kOekozulage, &AbschrInputs::LOEKOZUL, "0"),
                               AbschrKey::result(abschr_settings::kFoerderrate, &AbschrResults::NFOERDRATE,
                                                 abschr_settings::kFoerderrateDecimals, "0.00"),
                               AbschrKey::result(abschr_settings::kAbschrJahr, &AbschrResults::NABSCHJAHR,
                                                 core::kFullPrecision, "0.00"),
                               AbschrKey::result(abschr_settings::kAbschreibung, &AbschrResults::NABSCHREIB,
                                                 core::kFullPrecision, "0.00"),
                               AbschrKey::result(abschr_settings::kKindgeldJahr, &AbschrResults::NKINDJAHR,
                                                 core::kFullPrecision, "0.00"),
                               AbschrKey::result(abschr_settings::kKindergeld, &AbschrResults::NKINDGELD,
                                                 core::kFullPrecision, "0.00"),
                           }};

// ABSCHR_GDATA's reading: the inputs from the three sections (the results start at 0).
AbschrInputs abschr_load_settings(const core::IniDocument& ini);
// ABSCHR_WDATA: the three sections, for one IniFile::set_sections.
std::vector<core::IniFile::SectionEntries> abschr_settings_sections(const AbschrInputs& in,
                                                                    const AbschrResults& r);

// What the financing plans and their printouts read from the sections "USER", "OBJEKT" and "AFA",
// with the defaults they read them with; amounts keep the decimals of their text.
struct UserValues {
    core::Num NEINKOMM;    // "Einkommen ", default "0.00"
    core::Num NEINKSTEIG;  // "EinkSteig ", default "0.00"
    int NFAMSTAND = 1;     // "Familienstand", integer, default 1
    int NKINDER = 0;       // "Kinder", default "0"
    core::Num NMIETE;      // "Miete", default "0.00"
    core::Num NMIETSTEIG;  // "MietSteig", default "0.00"
};
using UserKey = core::SettingsKey<UserValues>;
inline constexpr core::SettingsSection kUserSettings{
    abschr_settings::kUser, std::array{
                                UserKey::exact(abschr_settings::kEinkommen, &UserValues::NEINKOMM, "0.00"),
                                UserKey::exact(abschr_settings::kEinkSteig, &UserValues::NEINKSTEIG, "0.00"),
                                UserKey::whole(abschr_settings::kFamilienstand, &UserValues::NFAMSTAND, "1"),
                                UserKey::whole(abschr_settings::kKinder, &UserValues::NKINDER, "0"),
                                UserKey::exact(abschr_settings::kMiete, &UserValues::NMIETE, "0.00"),
                                UserKey::exact(abschr_settings::kMietSteig, &UserValues::NMIETSTEIG, "0.00"),
                            }};
UserValues user_values(const core::IniDocument& ini);

struct ObjektValues {
    core::Num NKAUFPREIS;  // "Kaufpreis", default "0.00"
    int NEINZUG = 0;       // "Einzug", default this year (abschr_default_year)
    bool LNEUBAU = false;  // "Neubau", default "0"
};
using ObjektKey = core::SettingsKey<ObjektValues>;
inline constexpr core::SettingsSection kObjektSettings{
    abschr_settings::kObjekt,
    std::array{
        ObjektKey::exact(abschr_settings::kKaufpreis, &ObjektValues::NKAUFPREIS, "0.00"),
        ObjektKey::whole(abschr_settings::kEinzug, &ObjektValues::NEINZUG, &abschr_default_year_text),
        ObjektKey::flag(abschr_settings::kNeubau, &ObjektValues::LNEUBAU, "0"),
    }};
ObjektValues objekt_values(const core::IniDocument& ini);

struct AfaValues {
    core::Num NABSCHREIB;   // "Abschreibung", default "0.00"
    core::Num NKINDGELD;    // "Kindergeld", default "0.00"
    core::Num NFOERDRATE;   // "Foerderrate", default "0.00"
    core::Num NABSCHJAHR;   // "Abschr/Jahr", default "0.00"
    core::Num NKINDJAHR;    // "Kindgeld/Jahr", default "0.00"
    bool LA10E = true;      // "A10e", default "1"
    bool LENERGIE = false;  // "NEnergiehaus", default "0"
    bool LOEKOZUL = false;  // "Oekozulage", default "0"
};
using AfaKey = core::SettingsKey<AfaValues>;
inline constexpr core::SettingsSection kAfaSettings{
    abschr_settings::kAfa, std::array{
                               AfaKey::exact(abschr_settings::kAbschreibung, &AfaValues::NABSCHREIB, "0.00"),
                               AfaKey::exact(abschr_settings::kKindergeld, &AfaValues::NKINDGELD, "0.00"),
                               AfaKey::exact(abschr_settings::kFoerderrate, &AfaValues::NFOERDRATE, "0.00"),
                               AfaKey::exact(abschr_settings::kAbschrJahr, &AfaValues::NABSCHJAHR, "0.00"),
                               AfaKey::exact(abschr_settings::kKindgeldJahr, &AfaValues::NKINDJAHR, "0.00"),
                               AfaKey::flag(abschr_settings::kA10e, &AfaValues::LA10E, "1"),
                               AfaKey::flag(abschr_settings::kNEnergiehaus, &AfaValues::LENERGIE, "0"),
                               AfaKey::flag(abschr_settings::kOekozulage, &AfaValues::LOEKOZUL, "0"),
                           }};
AfaValues afa_values(const core::IniDocument& ini);

}  // namespace vestral::calc
