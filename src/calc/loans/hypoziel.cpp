#include "calc/loans/hypoziel.h"

#include <cmath>

#include "core/numbers.h"
#include "core/opstack.h"

namespace vestral::calc {

double hz_remaining(double A, double r, int N, double t) {
    const double M = (A / 100 * r + A / 100 * t) / 12;
    double B = A;
    for (int month = 0; month < N * 12 && B > 0; ++month) {
        const double interest = B / 100 * r / 12;
        B -= M - interest;
    }
    return B;
}

HzSearch hz_ziel(const HzInputs& in) {
    VESTRAL_OP("HZ_ZIEL");
    const double A = in.NHYPOTHEK, r = in.NZINSSATZ, G = in.NHYPOZIEL;
    HzSearch s;
    s.t = 1;
    s.remaining = A;
    double u = 1;
    if (!(A > G)) return s;
    bool first = true;
    while (s.trials < kHzMaxTrials) {
        s.remaining = hz_remaining(A, r, in.NLAUFZEIT, s.t);
        ++s.trials;
        if (core::round_to(s.remaining, 2) == core::round_to(G, 2)) break;
        if (first && s.remaining < G) {
            // One percent already repays too much: the digits are searched upwards from 0.
            first = false;
            s.t = 0;
            continue;
        }
        first = false;
        if (s.remaining > G) {
            s.t += u / 10;
        } else {
            u /= 10;
            if (u < kHzMinStep) break;
            s.t -= u;
        }
    }
    return s;
}

HzOutcome hz_tab(const HzInputs& in, int start_year) {
    VESTRAL_OP("HZ_TAB");
    HzOutcome out;
    const HzSearch s = hz_ziel(in);
    out.trials = s.trials;
    const double A = in.NHYPOTHEK, r = in.NZINSSATZ;
    HzResults& res = out.results;
    res.NTILGANNO = s.t;
    const double M = (A / 100 * r + A / 100 * s.t) / 12;
    res.NMONRATE = core::round_to(M, 1);
    res.NEFFZINS = 100 * (std::pow(1 + r / 1200, 12) - 1);

    double B = A, zinssum = 0, tilgsum = 0, last = A;
    int year = start_year, month = 1, years = 0;
    while (years < in.NLAUFZEIT && B > 0) {
        const double Z = B / 100 * r / 12;
        const double T = res.NMONRATE - Z;
        double next = B - T;
        if (next < 0) next = 0;
        zinssum += Z;
        tilgsum += T;
        HzRow row;
        row.DATUM = {year, month, 1};
        row.HYPOTHEK = B;
        row.ZINSEN = Z;
        row.ZINSSUM = zinssum;
        row.TILGUNG = T;
        row.TILGSUM = tilgsum;
        row.ANUITAT = M;
        row.MONRATE = res.NMONRATE;
        row.RESTHYP = next;
        out.rows.push_back(row);
        B = next;
        last = next;
        if (month == 12) {
            ++years;
            out.chart_values.push_back(B);
            out.chart_labels.push_back(std::to_string(year + 1));
            month = 1;
            ++year;
        } else {
            ++month;
        }
    }
    res.NHYPOREST = last;
    return out;
}

std::vector<core::InpFail> hz_checks(const HzInputs& in) {
    using core::InpFail;
    using core::Num;
    return {
        InpFail{"Hypothekbetrag", in.NHYPOTHEK, Num{0, 0}, Num{99999999, 0}, "", "", ""},
        InpFail{"Nominalzins", in.NZINSSATZ, Num{0, 0}, Num{19, 0}, "4", "12", "%"},
        InpFail{"Laufzeit", static_cast<double>(in.NLAUFZEIT), Num{0, 0}, Num{99, 0}, "", "", ""},
        // The bound follows the entered amount and is shown with its two decimals.
        InpFail{"Hypothekenrest", in.NHYPOZIEL, Num{0, 0}, Num{in.NHYPOTHEK, 2}, "", "", ""},
    };
}

}  // namespace vestral::calc
