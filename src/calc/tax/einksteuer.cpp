#include "calc/tax/einksteuer.h"

#include <algorithm>
#include <limits>
#include <utility>

#include "core/numbers.h"

namespace vestral::calc {

namespace tariff {

namespace {

// The tariff's zone variables run in steps of ten thousand currency units above the zone's origin.
constexpr double kZoneUnit = 10'000;

Rounding per(double step, double offset = 0) {
    return Rounding{step, offset, 0, 0};
}

// The basic allowance: no tax.
Zone exempt() {
    return Zone{};
}

// INT(a * x + b) on the rounded amount itself.
Zone linear(double from, double a, double b) {
    return Zone{from, 0, 1, {a, b}, false, 0};
}

// INT(P(y)), y = (x - origin) / 10,000.
Zone progressive(double from, double origin, std::vector<double> poly) {
    return Zone{from, origin, kZoneUnit, std::move(poly), false, 0};
}

// INT(P(y)) * y + add, y = (x - origin) / 10,000: the tariffs before 1981 truncate only the inner
// polynomial.
Zone progressive_times(double from, double origin, std::vector<double> poly, double add) {
    return Zone{from, origin, kZoneUnit, std::move(poly), true, add};
}

std::vector<YearGroup> build_tariff() {
    using enum Currency;
    constexpr int kAllEarlierYears = std::numeric_limits<int>::min();
    // One line per zone, as the law lists them.
    // clang-format off
    return {
        // 1979/80 tariff, used for every year before 1981. Amounts up to 48,000 DM are rounded
        // to 30 DM, above that to 60 DM.
        {kAllEarlierYears, DM, Rounding{30, 0, 48'000, 60},
         {exempt(),
          linear(3'691, 0.22, -812),
          progressive_times(16'001, 16'000, {10.86, -154.42, 925, 2'200}, 2'708),
          progressive_times(48'000, 48'000, {0.1, -6.07, 109.95, 4'800}, 15'298),
          linear(130'000, 0.56, -13'644)}},
        {1981, DM, per(54),
         {exempt(),
          progressive(12'366, 12'312, {91.19, 2'590, 0}),
          progressive(58'644, 58'590, {151.96, 3'434, 13'938}),
          linear(120'042, 0.53, -22'842)}},
        {1999, DM, per(54),
         {exempt(),
          progressive(13'068, 13'014, {350.38, 2'390, 0}),
          progressive(17'064, 17'010, {101.31, 2'670, 1'011}),
          progressive(66'366, 66'312, {151.93, 3'669, 16'637}),
          linear(120'042, 0.53, -22'886)}},
        {2000, DM, per(54),
         {exempt(),
          progressive(13'500, 13'446, {262.76, 2'290, 0}),
          progressive(17'496, 17'442, {133.74, 2'500, 957}),
          linear(114'696, 0.51, -20'575)}},
        {2001, DM, per(54, 27),
         {exempt(),
          progressive(14'094, 14'040, {387.89, 1'990, 0}),
          progressive(18'090, 18'036, {142.49, 2'300, 857}),
          linear(107'568, 0.485, -19'299)}},
        {2002, EUR, per(36, 18),
         {exempt(),
          progressive(7'236, 7'200, {768.85, 1'990, 0}),
          progressive(9'252, 9'216, {278.65, 2'300, 432}),
          linear(55'008, 0.485, -9'872)}},
        {2004, EUR, per(1),
         {exempt(),
          progressive(7'665, 7'665, {793.1, 1'600, 0}),
          progressive(12'740, 12'740, {265.78, 2'405, 1'016}),
          linear(52'152, 0.45, -8'845)}},
        // From 2005 on (later years are taxed with this tariff as well).
        {2005, EUR, per(1),
         {exempt(),
          progressive(7'665, 7'664, {883.74, 1'500, 0}),
          progressive(12'740, 12'739, {228.74, 2'397, 989}),
          linear(52'152, 0.42, -7'914)}},
    };
    // clang-format on
}

}  // namespace

const std::vector<YearGroup>& income_tax_tariff() {
    static const std::vector<YearGroup> tariff = build_tariff();
    return tariff;
}

const YearGroup& tariff_for(int year) {
    const auto& groups = income_tax_tariff();
    auto after = std::upper_bound(groups.begin(), groups.end(), year,
                                  [](int y, const YearGroup& g) { return y < g.first_year; });
    return after == groups.begin() ? groups.front() : *std::prev(after);
}

double round_taxable(const Rounding& rule, double x) {
    double step = rule.coarse_step > 0 && x > rule.coarse_above ? rule.coarse_step : rule.step;
    return core::int_part(x / step) * step + rule.offset;
}

double zone_tax(const Zone& zone, double x) {
    if (zone.poly.empty()) return 0;
    double v = (x - zone.origin) / zone.unit;
    double p = 0;
    for (double c : zone.poly) p = p * v + c;
    double t = core::int_part(p);
    return zone.times_v ? t * v + zone.add : t;
}

const Zone& zone_for(const YearGroup& group, double x) {
    auto after = std::upper_bound(group.zones.begin(), group.zones.end(), x,
                                  [](double v, const Zone& z) { return v < z.from; });
    return after == group.zones.begin() ? group.zones.front() : *std::prev(after);
}

double tariff_tax(const YearGroup& group, double x) {
    // No zone covers a negative amount (an income reduced by allowances or a letting loss).
    if (x < 0) return 0;
    return zone_tax(zone_for(group, x), x);
}

}  // namespace tariff

double einksteuer(int divisor, double income, int year) {
    const tariff::YearGroup& group = tariff::tariff_for(year);
    const bool dm = group.currency == tariff::Currency::DM;
    double x = dm ? income * kNeuro2Dm : income;
    x = core::div0(x, divisor);
    // A loss pays no tax; tested before rounding, so no rounding offset can move it into a zone.
    if (x < 0) return 0;
    x = tariff::round_taxable(group.rounding, x);
    double t = tariff::tariff_tax(group, x);
    if (dm) t = t * kNdm2Euro;
    return t * divisor;
}

}  // namespace vestral::calc
