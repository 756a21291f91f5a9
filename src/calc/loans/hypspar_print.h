// The printed split financing: the savings plan with its summary page, then the mortgage plan with
// its summary page, landscape.
#pragma once

#include <string_view>
#include <vector>

#include "calc/loans/hypspar.h"
#include "toolkit/print_job.h"

namespace vestral::calc {

inline constexpr const char* kHsPrintName = "Splittfinanzierung";

// HS_DRUCK with HS_DRUCK2: `savings` are the savings months (order 1), `mortgage` the mortgage
// months (order 3), both in date order.
toolkit::PrintJob hs_druck(const HsInputs& in, const HsResults& res, const std::vector<HsRow>& savings,
                           const std::vector<HsRow>& mortgage, std::string_view program_title);

}  // namespace vestral::calc
