// The printout of the home-ownership allowance: one page with the inputs, the allowance and the
// eight grant years with their tax saving.
#pragma once

#include <string>
#include <vector>

#include "calc/tax/eigenheimzulage.h"
#include "toolkit/print_job.h"

namespace vestral::calc {

// ABSCHDRUCK's page, from the dialog's values and the rows of the work table.
toolkit::PrintJob abschdruck_job(const AbschrInputs& in, const AbschrResults& r,
                                 const std::vector<AbschRow>& rows, const std::string& program_title);

}  // namespace vestral::calc
