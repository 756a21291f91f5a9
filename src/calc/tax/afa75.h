// "Abschreibung bei Vermietung": which depreciation under § 7 EStG a let building gets from its
// dates and use, the year-by-year schedule of that kind (table STEU75E), the restriction of the
// straight-line/declining choice, and the settings section AFA75 that the letting plan reads.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "calc/tax/afa75_link.h"
#include "core/clock.h"
#include "core/dbf.h"
#include "core/ini.h"
#include "core/inpfail.h"
#include "core/settings_keys.h"

namespace vestral::calc {

inline constexpr int kAfaStraight = 1;   // "&normale AfA"
inline constexpr int kAfaDeclining = 2;  // "de&gressive Afa"

struct Afa75Inputs {
    double NKAUFPREIS = 0;   // cost without land, EUR
    core::Date DKAUFDAT;     // purchase date or date of the building application
    core::Date DFERTDAT;     // completion date
    bool LBETRVERM = false;  // the building belongs to business assets
    bool LWOHNUNG = false;   // the building serves housing
    int NAFAART = kAfaStraight;
};

// A kind of depreciation: its code (0: none possible) and the text shown and printed, which
// begins with a blank.
struct AfaKind {
    int code = 0;
    const char* text = "";
};

// The two tables of kinds, in the order their rows are tried.
inline constexpr std::array<AfaKind, 3> kStraightKinds{{
    {411, " Normal-AfA nach §7 Abs. 4 Nr. 1"},
    {421, " Ersatz-AFA nach §7 Abs. 4 Nr. 2a"},
    {422, " Ersatz-AFA nach §7 Abs. 4 Nr. 2b"},
}};
inline constexpr std::array<AfaKind, 8> kDecliningKinds{{
    {0, " kein Ersatz-AfA möglich !"},
    {512, " AFA nach §7 Abs. 4 Nr. 1"},
    {511, " AFA nach §7 Abs. 5"},
    {522, " AFA nach §7 Abs. 4 Nr. 2a"},
    {521, " AFA nach §7 Abs. 5"},
    {532, " AFA nach §7 Abs. 5"},
    {531, " AFA nach §7 Abs. 5"},
    {0, " kein Ersatz-AfA möglich !"},
}};

// The first matching row of the table of the chosen kind (NAFAART 2: declining, else straight).
AfaKind afa_kind(const Afa75Inputs& in);

// A stage of a schedule: so many years at so many percent of the cost.
struct AfaStage {
    int years = 0;
    double rate = 0;
};
// The stages of a code, in order; none for 0 or an unknown code.
std::vector<AfaStage> afa_stages(int code);

// The date the schedule starts from: the later of the two dates.
core::Date afa_base_date(const Afa75Inputs& in);

// One record of STEU75E per year of depreciation.
struct Steu75eRow {
    int JAHR = 0;           // calendar year
    double FREIBETRAG = 0;  // amount of that year, to the cent
    int STJAHR = 0;         // running year, from 1
    double STVORTEIL = 0;   // rate in percent of the cost
};

struct Afa75Outcome {
    int NABSCHART = 0;
    std::string CABSCHART;
    double NAFASUM = 0;  // the stored amounts added up
    int NAFADAU = 0;     // number of records
    std::vector<Steu75eRow> rows;
    // No kind applies: the dialog shows this message; the schedule stays empty.
    bool refused() const { return NABSCHART == 0; }
};

inline constexpr const char* kAfaNoneTitle = "Problem";
inline constexpr const char* kAfaNoneText =
    "Eine Abschreibung ist nicht möglich.\rBitte prüfen Sie Ihre Eingaben !";

// P75E_RECH: kind and schedule.
Afa75Outcome p75e_rech(const Afa75Inputs& in);

// CHKAFAGET: how the dates and uses restrict the choice between straight-line and declining.
enum class AfaRadio { Disable, Keep, Enable };
struct AfaRestriction {
    bool force_straight = false;
    AfaRadio radio = AfaRadio::Enable;
};
AfaRestriction chkafaget(const Afa75Inputs& in);

// "&Berechnen": a cost above 0 and both dates given.
bool afa75_can_compute(const Afa75Inputs& in);
// The bound check of the cost field.
core::InpFail afa75_cost_check(double cost);

// Settings section AFA75. Inputs and the code are read when the dialog opens; everything, the
// results included, is written when it closes. The letting plan and its printout read "Kaufpreis",
// the dates, the two flags, "Abschreibung", "AfASum" and "AfADau"; the depreciation value and the
// market value hand over "Kaufpreis".
struct Afa75Values {
    double NKAUFPREIS = 0;
    core::Date DKAUFDAT;  // empty when missing or unreadable: the reader puts in today
    core::Date DFERTDAT;
    bool LBETRVERM = false;
    bool LWOHNUNG = false;
    int NABSCHART = 1;
    int NAFAART = kAfaStraight;
    std::string CABSCHART;  // written only; the dialog shows it only after a computation
};
struct Afa75Totals {
    double NAFASUM = 0;
    double NAFADAU = 0;
};
using Afa75Key = core::SettingsKey<Afa75Values, Afa75Totals>;
inline constexpr core::SettingsSection kAfa75Settings{
    "AFA75", std::array{
                 Afa75Key::number("Kaufpreis", &Afa75Values::NKAUFPREIS, 2, "0.00"),
                 Afa75Key::date("Kaufdatum", &Afa75Values::DKAUFDAT, ""),
                 Afa75Key::date("DatumFertig", &Afa75Values::DFERTDAT, ""),
                 Afa75Key::flag("AlsBetrVerm", &Afa75Values::LBETRVERM, "0"),
                 Afa75Key::flag("AlsWohnung", &Afa75Values::LWOHNUNG, "0"),
                 Afa75Key::whole("AbschreibArt", &Afa75Values::NABSCHART, "1"),
                 Afa75Key::whole("AfAart", &Afa75Values::NAFAART, "1"),
                 Afa75Key::text("Abschreibung", &Afa75Values::CABSCHART, ""),
                 Afa75Key::result("AfASum", &Afa75Totals::NAFASUM),
                 Afa75Key::result("AfADau", &Afa75Totals::NAFADAU, 0),
             }};

// What P75_GDATA loads.
struct Afa75Stored {
    Afa75Inputs inputs;
    int NABSCHART = 0;
};
// P75_GDATA: `today` stands in for missing or unreadable dates; the cost carries the two decimals
// of its field, the kind is 2 or else 1.
Afa75Stored afa75_read_settings(const core::IniDocument& ini, core::Date today);
// P75_WDATA's entries, in the order of the keys.
std::vector<core::IniFile::Entry> afa75_settings_entries(const Afa75Inputs& in, int nabschart,
                                                         const std::string& cabschart, double nafasum,
                                                         int nafadau);

// STEU75E, the schedule table of the start-up catalogue (kSteu75eFile, handle kSteu75eAlias,
// declared with what other calculators hand over), opened while the dialog lives and left on disk
// for the letting plan.
const core::dbf::Layout& steu75e_layout();
// Empties the table, appends the rows in order, flushes it and goes to its first record.
bool write_steu75e_rows(core::dbf::Table& table, const std::vector<Steu75eRow>& rows);
// The records from the first one; the table is left on its first record.
std::vector<Steu75eRow> read_steu75e_rows(core::dbf::Table& table);

}  // namespace vestral::calc
