// Mortgage target value: the initial repayment rate that leaves a wanted remaining debt after a
// number of years, found digit by digit, and the monthly plan paid with that rate rounded to ten
// cents. Computation, checks and the settings section; no dialog here.
#pragma once

#include <string>
#include <vector>

#include "core/clock.h"
#include "core/ini.h"
#include "core/inpfail.h"
#include "core/settings_keys.h"

namespace vestral::core::dbf {
class Table;
}

namespace vestral::calc {

struct HzInputs {
    double NHYPOTHEK = 0;  // amount A
    double NZINSSATZ = 0;  // nominal rate r, % per year
    int NLAUFZEIT = 0;     // term N, years
    double NHYPOZIEL = 0;  // wanted remaining debt G
};

struct HzResults {
    double NHYPOREST = 0;  // remaining debt reached with the rounded rate
    double NMONRATE = 0;   // monthly rate, rounded to ten cents
    double NTILGANNO = 0;  // repayment rate found, % per year
    double NEFFZINS = 0;   // effective rate, %
};

// One record of HYPOTEMP.
struct HzRow {
    core::Date DATUM;
    double HYPOTHEK = 0;
    double ZINSEN = 0;
    double ZINSSUM = 0;
    double TILGUNG = 0;
    double TILGSUM = 0;
    double ANUITAT = 0;
    double MONRATE = 0;
    double RESTHYP = 0;
};

// What the search did: the rate, the remaining debt of its last trial and how many trials ran.
struct HzSearch {
    double t = 1;
    double remaining = 0;
    int trials = 0;
};

// The search gives up after this many trials or once its step is this small, keeping its rate.
inline constexpr int kHzMaxTrials = 5000;
inline constexpr double kHzMinStep = 1e-12;

// The remaining debt after N full years paying (A / 100 × r + A / 100 × t) / 12 a month; it may
// end below 0 when the debt is repaid early.
double hz_remaining(double A, double r, int N, double t);

// HZ_ZIEL.
HzSearch hz_ziel(const HzInputs& in);

struct HzOutcome {
    HzResults results;
    std::vector<HzRow> rows;
    std::vector<double> chart_values;       // balance after each December
    std::vector<std::string> chart_labels;  // the following year's number
    int trials = 0;
};

// HZ_TAB: the search, then the plan from January of `start_year`.
HzOutcome hz_tab(const HzInputs& in, int start_year);

// The four bound checks in the order of the fields.
std::vector<core::InpFail> hz_checks(const HzInputs& in);
// "Berechnen" is enabled for an amount, a rate and a term above 0.
inline bool hz_can_compute(const HzInputs& in) {
    return in.NHYPOTHEK > 0 && in.NZINSSATZ > 0 && in.NLAUFZEIT > 0;
}

// KUERZEN's rule: the plan's first row and the December rows stay.
inline bool hz_kept_when_compressed(long position, const core::Date& d) {
    return position == 0 || d.month == 12;
}

// Section "HYPOZIEL": the four inputs, read when the dialog opens and written when it closes.
using HzKey = core::SettingsKey<HzInputs>;
inline constexpr core::SettingsSection kHzSettings{
    "HYPOZIEL", std::array{
                    HzKey::number("Hypothek", &HzInputs::NHYPOTHEK, 2, "0.00"),
                    HzKey::number("Zinssatz", &HzInputs::NZINSSATZ, 3, "0.00"),
                    HzKey::number("Hypoziel", &HzInputs::NHYPOZIEL, 2, "0.00"),
                    HzKey::whole("Laufzeit", &HzInputs::NLAUFZEIT, "0.00"),
                }};

// Empties the open HYPOTEMP, writes the rows and flushes it.
void write_hypotemp_rows(core::dbf::Table& table, const std::vector<HzRow>& rows);
std::vector<HzRow> read_hypotemp_rows(core::dbf::Table& table);
// KUERZEN: deletes every row but the first and the December rows, compacts the table and goes to
// its first row.
void hz_kuerzen(core::dbf::Table& table);

}  // namespace vestral::calc
