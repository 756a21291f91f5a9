// The printed building-savings plan: savings plan, loan plan and summary pages.
#pragma once

#include <string_view>
#include <vector>

#include "calc/loans/bausparen.h"
#include "toolkit/print_job.h"

namespace vestral::calc {

enum class BauPlan { Savings, Loan, Summary };

// BAU_DRUCK: the job "Bausparplan" (portrait, 60 rows by 80 columns) from the inputs, the results
// and the rows of BAUSPAR's active order (savings months, the allocation, loan months).
toolkit::PrintJob bau_druck(const BauInputs& in, const BauResults& res, const std::vector<BausparRow>& rows,
                            std::string_view program_title);

}  // namespace vestral::calc
