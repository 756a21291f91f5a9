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
