// The printed offer comparison: one landscape page with the offers side by side, the cheapest
// figure of every cost row in bold.
#pragma once

#include <string_view>
#include <vector>

#include "calc/loans/angebotsvergleich.h"
#include "toolkit/print_job.h"

namespace vestral::calc {

inline constexpr const char* kVergleichTitle = "Angebotsvergleich";

toolkit::PrintJob vergleich_druck(const std::vector<Offer>& offers, std::string_view program_title);

}  // namespace vestral::calc
