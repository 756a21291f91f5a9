// The annual percentage rate of a loan as the German price-indication rules define it: the rate X
// at which the payments, discounted by (1 + X)^-t with t in years (a month is a twelfth), equal
// the amount paid out. Unlike the nominal-based effective rate it counts every fee.
#pragma once

#include <optional>
#include <vector>

namespace vestral::core {

struct DatedPayment {
    double months = 0;  // from the payout
    double amount = 0;
};

// X in percent, solved to 1e-9 by bisection (it always converges; no Newton step can run away).
// Nothing when there are no payments or they add up to less than the payout: no rate is defined.
std::optional<double> annual_percentage_rate(double payout, const std::vector<DatedPayment>& payments);

}  // namespace vestral::core
