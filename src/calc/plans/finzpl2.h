// The letting financing plan: the owner-occupied plan's four loan sources with the depreciation
// for a let property in place of the home-ownership allowance, and the owner's income and rent
// typed in. Year by year it taxes income and rent with and without the financing and shows the
// difference as the tax relief. Rows, loan passes, grid and printout are the owner-occupied
// plan's, run as the letting variant.
#pragma once

#include <filesystem>
#include <optional>
#include <vector>

#include "calc/plans/finzpl1.h"

namespace vestral::calc {

inline constexpr const char* kFp2HelpTopic = "Finanzierung bei Vermietung";
inline constexpr const char* kFinzpl2File = "FINZPL2.DBF";

// The letting plan's loan copies are named in kFp2Files; the depreciation's is its own.
namespace fp2_files {
inline constexpr const char* kAfa = "FP2AFA.DBF";  // all rows of the depreciation's STEU75E
}  // namespace fp2_files

// Section "FINZPL2": the owner-occupied plan's keys without the credit's amount and the
// allowance's totals.
inline constexpr core::SettingsSection kFp2Settings{"FINZPL2",
                                                    std::array{
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
                                                        Fp1Key::flag("Abschreib", &Fp1State::LABSCHREIB, "0"),
                                                    }};

// FP2GDATA: section FINZPL2, the typed income and rent of section USER ("Familienstand" 1 is
// single, anything else married) and the property's cost of section AFA75.
void fp2_load_settings(const core::IniDocument& ini, Fp1State& s);
// FP2WDATA: the entries of section FINZPL2, and those of section USER the letting plan writes.
std::vector<core::IniFile::Entry> fp2_settings_entries(const Fp1State& s);
std::vector<core::IniFile::Entry> fp2_user_entries(const Fp1State& s);
// After the depreciation calculator: its cost and total from section AFA75.
void fp2_take_afa75(const core::IniDocument& ini, Fp1State& s);
// CHECKDATA of the letting plan: only the loan copies are looked at.
void fp2_checkdata(Fp1State& s, const Fp1CopyHeads& heads);
// The typed values the tax pass needs.
struct Fp2Income;
Fp2Income fp2_income(const Fp1State& s);

// A row of the depreciation copy: the year's amount (FREIBETRAG) and rate in % (STVORTEIL).
struct Fp2AfaRow {
    int JAHR = 0;
    double FREIBETRAG = 0;
    double STVORTEIL = 0;
};
const core::dbf::RecordMap<Fp2AfaRow>& fp2afa_map();

// The plan table FINZPL2: the owner-occupied row without KINDGELD, with the letting fields.
const core::dbf::RecordMap<Fp1Row>& finzpl2_map();

// The typed income and rent and their yearly growth in %; NFAMSTAND 1 single, 2 married.
struct Fp2Income {
    double NEINKOMM = 0;
    double NEINKSTEIG = 0;
    double NMIETE = 0;
    double NMIETSTEIG = 0;
    int NFAMSTAND = 1;
};

struct Fp2Sources {
    Fp1Sources loans;  // mortgages, contract and credit (the allowance stays unread)
    std::optional<std::vector<Fp2AfaRow>> afa;
};

// The depreciation pass: AFA and AFARATE of each year's plan row; true when it read a row.
bool fp2_depreciation_pass(Fp1Plan& plan, std::vector<Fp2AfaRow> rows);

// The tax pass over the rows in year order, every row taxed with the tariff of `tax_year`. The
// running income and rent carry on unrounded; the taxes are computed from the two-decimal values
// the row stores.
void fp2_tax_pass(std::vector<Fp1Row>& rows, const Fp2Income& income, int tax_year);

// FP2_RECH: the loan passes, the depreciation pass, then the tax pass. Only the sources make the
// plan successful; income alone gives "Es wurden keine Daten gefunden !".
Fp1Outcome fp2_rech(const Fp1Include& inc, const Fp2Sources& src, const Fp2Income& income, int tax_year);

// --- the letting plan's tables (program directory `dir`) -------------------------------------

// FP2_EXTERN for the depreciation: all rows of STEU75E to FP2AFA; nothing changes (taken is
// false) when the depreciation left no rows.
Fp1Copied fp2_copy_depreciation(const std::filesystem::path& dir);
// The rows of FP2AFA; nothing when the copy is missing.
std::optional<std::vector<Fp2AfaRow>> fp2_read_depreciation(const std::filesystem::path& dir);
// Empties the open FINZPL2 and writes the rows; false when the write failed (reported).
bool fp2_write_plan(core::dbf::Table& finzpl2, const std::vector<Fp1Row>& rows);

}  // namespace vestral::calc
