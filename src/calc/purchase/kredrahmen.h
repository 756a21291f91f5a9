// "Mögliche Belastung": how large a loan a monthly burden carries at nominal rates from 3 % to
// 10 % with 1 % yearly amortisation, as the rows of the temporary table KREDIT.
#pragma once

#include <array>
#include <filesystem>
#include <string>
#include <vector>

#include "core/dbf.h"

namespace vestral::calc {

inline constexpr int kKredRateCount = 29;  // 3.00 % to 10.00 % in steps of 0.25
inline constexpr int kKredRowCount = 29;   // burdens 200 to 3000 in steps of 100
inline constexpr double kKredTilgung = 1;  // yearly amortisation, percent

// One row of KREDIT: the monthly burden and the loan it carries at each rate, in field order.
struct KreditRow {
    double MONRATE = 0;
    std::array<double, kKredRateCount> WERT{};
};

// The rate of column i (0 is 3.00 %, 28 is 10.00 %), in percent.
inline double kred_rate(int i) {
    return 3.0 + 0.25 * i;
}
// The field of column i: "WERT" and the rate times 100 in three digits; 10.00 % is "WERT100".
std::string kred_field(int i);
// The grid heading of column i ("Zinssatz 3 % ", "3,25 % ", ..., "10,00 % ").
std::string kred_heading(int i);

// The loan a yearly payment carries at a rate: INT(((Y / (r + A)) * 100) / 1000) * 1000, in
// exactly this order of double operations.
double kred_amount(double yearly, double rate);

// KRED_RECH's rows: the burdens 200, 300, ... while below 3100.
std::vector<KreditRow> kred_rech();

// KREDIT: created afresh when the dialog opens, deleted when it closes; not in the catalogue.
inline constexpr const char* kKreditFile = "KREDIT.DBF";
inline constexpr const char* kKreditAlias = "DKRE";
const core::dbf::Layout& kredit_layout();

// KRED_MAKE: creates KREDIT.DBF in `dir` (replacing any file of that name) and opens it.
bool kred_make(const std::filesystem::path& dir, core::dbf::Table& table);
// KRED_RECH on the open table: empties it, appends the rows, flushes and goes to the first row.
bool kred_fill(core::dbf::Table& table);
// The rows of the open table from its first record (the table is left at its first row).
std::vector<KreditRow> kred_read(core::dbf::Table& table);
// Closes the table and deletes its file.
void kred_drop(core::dbf::Table& table);

}  // namespace vestral::calc
