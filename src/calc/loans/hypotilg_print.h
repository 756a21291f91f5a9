// The printed mortgage plan: every monthly row under a page band with column headings, then a
// page with the inputs ("Zusammenfassung:") and the results ("Ergebnis:").
#pragma once

#include <string_view>
#include <vector>

#include "calc/loans/hypotilg.h"
#include "toolkit/print_job.h"

namespace vestral::calc {

// The month list of the dialog; a special-repayment month is stored as its position 1..12.
inline constexpr const char* kHypoMonths[12] = {"Januar",    "Februar", "März",     "April",
                                                "Mai",       "Juni",    "Juli",     "August",
                                                "September", "Oktober", "November", "Dezember"};
// The name of a stored month; records from older files may hold a month outside 1..12.
const char* hypo_month_name(int month);

// The page grid: 50 rows, 110 columns, a tab every 10 columns; the body breaks to a new page once
// the row position passes 44.
inline constexpr double kHtRows = 50, kHtCols = 110, kHtTab = 10, kHtBreakRow = 44;

// HT_DRUCK (with HT_DRUCK2 for every page head): the job for the plan's rows in record order
// (year-end rows are skipped). `program_title` is the program name and version.
toolkit::PrintJob ht_druck(const HypoInputs& in, const HypoResults& res, const std::vector<HypoRow>& rows,
                           std::string_view program_title);

}  // namespace vestral::calc
