// The one-page printout of "Kosten beim Hauskauf".
#pragma once

#include "calc/purchase/kosten2.h"
#include "core/program_settings.h"
#include "toolkit/print_job.h"

namespace vestral::calc::kosten2 {

inline constexpr const char* kJobName = "Kosten beim Hauskauf";

// KO_DRUCK's page: property, the additional costs and the sum of both.
toolkit::PrintJob ko_druck_job(const Inputs& in, const Results& r, const core::ProgramSettings& settings);

}  // namespace vestral::calc::kosten2
