// The German income-tax tariff from the late 1950s on: one shared operation for every calculator
// that needs the tax of a taxable income (the income-tax projection, the home-ownership allowance,
// the letting financing plan). The tariff itself is data: one entry per year group, as the law
// states it, so a new tariff year is one more entry.
#pragma once

#include <vector>

namespace vestral::calc {

// DM per EUR, and EUR per DM. The way back is a multiplication with the published factor; a
// division by kNeuro2Dm would differ in the last digits and show up in the cents.
inline constexpr double kNeuro2Dm = 1.95583;             // NEURO2DM
inline constexpr double kNdm2Euro = 0.5112918811962185;  // NDM2EURO

namespace tariff {

enum class Currency { DM, EUR };

// x becomes INT(x / step) * step + offset; above `coarse_above` the coarser step applies instead.
struct Rounding {
    double step = 1;
    double offset = 0;
    double coarse_above = 0;  // 0: no coarser step
    double coarse_step = 0;
};

// One zone of the tariff, from `from` (whole currency units) up to the next zone's start.
// With v = (x - origin) / unit and P the polynomial `poly` (highest power first):
//   T = INT(P(v))                 when times_v is false,
//   T = INT(P(v)) * v + add       when times_v is true (the older tariffs truncate only the inner
//                                 polynomial).
// An empty polynomial is the tax-free zone.
struct Zone {
    double from = 0;
    double origin = 0;
    double unit = 1;
    std::vector<double> poly;
    bool times_v = false;
    double add = 0;
};

struct YearGroup {
    int first_year = 0;  // the group holds up to the next group's first year - 1
    Currency currency = Currency::EUR;
    Rounding rounding;
    std::vector<Zone> zones;  // ascending by `from`; the first starts at 0
};

// The whole tariff, ascending by first year; the first group also covers every earlier year and
// the last every later one.
const std::vector<YearGroup>& income_tax_tariff();
const YearGroup& tariff_for(int year);

// The taxable amount rounded by the group's rule.
double round_taxable(const Rounding& rule, double x);
// The zone's formula at x, whether or not x lies in the zone (the tests compare neighbours).
double zone_tax(const Zone& zone, double x);
// The zone a rounded x falls into.
const Zone& zone_for(const YearGroup& group, double x);
// T per person in the group's currency for a rounded x; 0 for x < 0.
double tariff_tax(const YearGroup& group, double x);

}  // namespace tariff

// EINKSTEUER: the income tax of a household in EUR. divisor 1 is individual assessment, 2 joint
// assessment (splitting: the tariff on half the income, doubled); callers pass their
// "Familienstand" choice directly. income is the taxable income of the household in EUR. The
// result is not rounded; years before 2002 carry the fractions of the currency conversion.
// A negative taxable amount pays no tax.
double einksteuer(int divisor, double income, int year);

}  // namespace vestral::calc
