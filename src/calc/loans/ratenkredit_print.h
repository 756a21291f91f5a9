// The printed instalment credit plan: the monthly rows of RATKRED, then a page with the credit's
// details and results.
#pragma once

#include <string_view>
#include <vector>

#include "calc/loans/ratenkredit.h"
#include "toolkit/print_job.h"

namespace vestral::calc {

inline constexpr const char* kRkPrintName = "Ratenkredit-Tilgungsplan";

// RK_DRUCK: the whole job. `in` and `res` are the dialog's current inputs and results, `rows`
// the plan table in record order, `program_title` the program name and version.
toolkit::PrintJob rk_druck(const RkInputs& in, const RkResults& res, const std::vector<RkRow>& rows,
                           std::string_view program_title);

}  // namespace vestral::calc
