// The printout of the depreciation for letting: one portrait page with the inputs, the kind and
// the schedule in two halves side by side.
#pragma once

#include <string>
#include <vector>

#include "calc/tax/afa75.h"
#include "toolkit/print_job.h"

namespace vestral::calc {

// Records 1 to this many go into the left half of the plan, the rest into the right half.
inline constexpr int kAfaPrintHalf = 25;

// P75E_DRUCK's page, from the inputs on screen, the kind text and the records of STEU75E.
toolkit::PrintJob p75e_druck_job(const Afa75Inputs& in, const std::string& cabschart,
                                 const std::vector<Steu75eRow>& rows, const std::string& program_title);

}  // namespace vestral::calc
