// Checking a utility bill (electricity, water, waste water, gas): billing days and months,
// consumption and its cost, the total and the refund or additional payment, the one-year
// projection, and the billing history kept in VERBRCH. One module serves the four kinds; they
// differ only in the rules and texts of VerbrKindInfo.
#pragma once

#include <optional>
#include <string>

#include "core/clock.h"

namespace vestral::core::dbf {
class Table;
template <class Row>
class RecordMap;
}  // namespace vestral::core::dbf

namespace vestral::calc {

enum class VerbrKind { Strom = 1, Wasser = 2, Abwasser = 3, Gas = 4 };

// What sets a kind apart: its rules and every text that differs.
struct VerbrKindInfo {
    VerbrKind kind;
    const char* object_name;  // of the main dialog
    const char* title;        // also the help topic
    int height;               // least size of the main dialog
    bool months_rounded;      // else truncated
    bool fee_per_month;       // else the entered fee once per period and per year
    bool equal_readings_ok;   // new reading may equal the old one
    bool uses_factor;         // gas: consumption = meter difference × factor
    double meter_limit;       // the difference must stay below it (0: no limit)
    const char* supplier_label;
    const char* supplier_hint;
    const char* fee_label;
    const char* price_label;
    const char* price_hint;
    const char* price_message;
    const char* fee_result_label;  // fixed label of the flat-fee line ("" : built from the months)
    const char* total_label;
    const char* unit;
    const char* projection_title;
    const char* projection_first;
    const char* projection_total;
    const char* projection_more;  // the text of an additional payment in the projection
    const char* history_title;
    const char* history_heading;
};
const VerbrKindInfo& verbr_kind_info(VerbrKind kind);

struct VerbrInputs {
    std::string CLIEFER, CTELEFON, CZAEHLNR, CKDNR;
    double NGRUNDDM = 0;   // flat fee (a month; gas: a year; water: the period)
    double NKWHDM = 0;     // price per unit
    double NINDEX = 0;     // gas: energy content factor
    double NABSCHLAG = 0;  // monthly advance payment
    double NZAEHLER1 = 0, NZAEHLER2 = 0;
    core::Date DABLES1, DABLES2;
    double NMWPROZ = 16, NSMWST = 0, NSNETTO = 0;  // loaded and saved with the period, never computed
};

struct VerbrResults {
    int NVERBRTAG = 0;
    int NVERBRMON = 0;
    double NVERBRKW = 0;
    double NVERBRDM = 0;
    double NSGRUNDDM = 0;
    double NSUMME = 0;
    double NSABSCHLAG = 0;
    double NSKORREKT = 0;  // never negative
    std::string CTGRUNDDM;
    std::string CTKORREKT;
    bool additional = false;  // an additional payment: shown white on red
};

inline constexpr const char* kVerbrMeterMessage = "Bitte korrigieren Sie die Zählerstände!";
inline constexpr const char* kVerbrDateMessage = "Bitte korrigieren Sie die Ablesedaten!";
inline constexpr const char* kVerbrRefund = "Sie bekommen eine Rückerstattung in Höhe von ca.";
inline constexpr const char* kVerbrAdditional = "Es erwartet Sie eine Nachzahlung in Höhe von ca.";

enum class VerbrStop { None, Meter, Dates, Price };

struct VerbrOutcome {
    VerbrStop stop = VerbrStop::None;
    std::string message;  // title "Problem"
    VerbrResults results;
};

// STROMRECH / WASSERRECH / GASRECH. `previous` is what the dialog shows now: a stop leaves it as
// it is, and a period without consumption cost keeps its summary.
VerbrOutcome verbr_rech(VerbrKind kind, const VerbrInputs& in, const VerbrResults& previous);

// Billing months from billing days for the kind (rounded, halves up, or truncated).
int verbr_months(VerbrKind kind, long days);

// The summary texts for results loaded from the history (the flat-fee label and the refund or
// additional-payment text follow from the stored figures).
void verbr_summary_texts(VerbrKind kind, VerbrResults& res);

// STROMHOCH / WASSERHOCH / GASHOCH: the period scaled to one year.
struct VerbrProjection {
    int days_of_year = 365;
    double kw_per_day = 0, cost_per_day = 0;
    double year_kw = 0, year_cost = 0;
    double fee = 0, total = 0, advances = 0;
    double amount = 0;  // |total − advances|
    std::string text;
    bool additional = false;  // white on red, else white on cyan
};
VerbrProjection verbr_hoch(VerbrKind kind, const VerbrInputs& in, const VerbrResults& res);

// ---- the billing history VERBRCH ------------------------------------------------------------
inline constexpr const char* kVerbrchFile = "VERBRCH.DBF";

// One stored period, field by field.
struct VerbrRow {
    int VERBRART = 0;
    core::Date DATUM;
    std::string LIEFER, TELEFON, KDNR, ZAEHLER;
    double GRUNDDM = 0, GRUNDTEIL = 12, PROEINHEIT = 0, INDEX = 0, ABSCHLAGDM = 0;
    double ZAEHLER1 = 0, ZAEHLER2 = 0;
    core::Date ABLESDAT1, ABLESDAT2;
    double VERBREINH = 0, VERBRDM = 0, VERBRTAG = 0, VERBRMON = 0, SGRUNDDM = 0, SABSCHLAG = 0, SUMME = 0;
    double MWPROZ = 0, SMWST = 0, SNETTO = 0, SKORREKT = 0;
};
const core::dbf::RecordMap<VerbrRow>& verbrch_map();

VerbrRow verbr_row(VerbrKind kind, const VerbrInputs& in, const VerbrResults& res);
// The values of a stored period (the summary texts rebuilt from its figures).
void verbr_from_row(VerbrKind kind, const VerbrRow& row, VerbrInputs& in, VerbrResults& res);

// The index key of a period: the kind as two right-aligned characters and the date as yyyymmdd.
std::string verbr_key(VerbrKind kind, core::Date date);
// Builds the order "VERBRCH" over the records of the kind only, in key order, and activates it.
void verbr_set_order(core::dbf::Table& table, VerbrKind kind);

// STROM_GDATA, table part: the period of the kind with this old-reading date, else the latest one
// of the kind; the table is positioned on it. Nothing when the kind has no period (the table is
// then at its end).
std::optional<VerbrRow> verbr_find(core::dbf::Table& table, VerbrKind kind, core::Date date);

// Nothing entered: no supplier data, no fee, price, factor, advance or reading. Such a period is
// never stored, so opening and closing a calculator leaves no empty period behind.
bool verbr_is_blank(const VerbrInputs& in);

// STROM_WDATA, table part: overwrites the period of the kind with the same old-reading date or
// appends one, and flushes. A period needs a valid old-reading date and something entered;
// otherwise nothing is stored and false is returned.
bool verbr_store(core::dbf::Table& table, VerbrKind kind, const VerbrInputs& in, const VerbrResults& res);

}  // namespace vestral::calc
