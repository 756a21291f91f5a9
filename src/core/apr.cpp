#include "core/apr.h"

#include <cmath>

namespace vestral::core {

namespace {
// The payments' present value at rate x minus the payout; falls as x rises.
double gap(double payout, const std::vector<DatedPayment>& payments, double x) {
    double sum = 0;
    for (const DatedPayment& p : payments) sum += p.amount * std::pow(1.0 + x, -p.months / 12.0);
    return sum - payout;
}
}  // namespace

std::optional<double> annual_percentage_rate(double payout, const std::vector<DatedPayment>& payments) {
    if (payments.empty() || !(payout > 0)) return std::nullopt;
    double total = 0;
    for (const DatedPayment& p : payments) {
        if (!std::isfinite(p.amount) || !std::isfinite(p.months) || p.months < 0) return std::nullopt;
        total += p.amount;
    }
    if (total < payout - 1e-9) return std::nullopt;
    if (std::fabs(total - payout) <= 1e-9) return 0.0;
    // A rate of 0 leaves the payments above the payout; find a rate that takes them below it.
    double lo = 0, hi = 1;
    while (gap(payout, payments, hi) > 0) {
        lo = hi;
        hi *= 2;
        if (hi > 1e6) return std::nullopt;  // payments arriving only after centuries
    }
    while (hi - lo > 1e-11) {
        const double mid = lo + (hi - lo) / 2;
        if (gap(payout, payments, mid) > 0)
            lo = mid;
        else
            hi = mid;
    }
    return (lo + (hi - lo) / 2) * 100.0;
}

}  // namespace vestral::core
