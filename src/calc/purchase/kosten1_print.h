// The one-page printout of "Kosten beim Hausbau".
#pragma once

#include "calc/purchase/kosten1.h"
#include "core/program_settings.h"
#include "toolkit/print_job.h"

namespace vestral::calc::kosten1 {

inline constexpr const char* kJobName = "Kosten beim Hausbau";

// KO_DRUCK's page: property, the additional costs on it, further costs and the total.
toolkit::PrintJob ko_druck_job(const Inputs& in, const Results& r, const core::ProgramSettings& settings);

}  // namespace vestral::calc::kosten1
