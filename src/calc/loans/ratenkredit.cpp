#include "calc/loans/ratenkredit.h"

#include <cmath>

#include "core/files.h"
#include "core/mask.h"
#include "core/numbers.h"
#include "core/opstack.h"

namespace vestral::calc {

using core::div0;

double rk_monrate(double credit, double rate, double fee_eur, int n) {
    VESTRAL_OP("RK_MONRATE");
    if (n <= 0) return 0;
    return (credit / 100 * (rate / 12) * n + credit + fee_eur) / n;
}

double rk_fee_eur(double credit, double percent) {
    return credit / 100 * percent;
}

double rk_fee_percent(double credit, double eur) {
    return div0(100, credit) * eur;
}

namespace {

// One month of the rate-driven plan: the rate paid and the repayment. The last month pays what is
// left plus the interest.
struct RateMonth {
    double P, T;
};

RateMonth rate_month(int m, double R, double D, double Z, double f) {
    if (R > D && R > D + Z) {
        // P − Z is D; taking D itself keeps a rounding remnant of 1e-14 from becoming one more
        // month that charges a whole month's interest.
        const double P = D + Z;
        return {P, m == 1 ? D - f : D};
    }
    const double P = R;
    return {P, m == 1 ? P - Z - f : P - Z};
}

// Months the rate-driven plan needs, counted without building it; stops counting above `cap`.
int months_needed(double A, double R, double Z, double f, int cap) {
    double D = A;
    int m = 0;
    while (D > 0 && m <= cap) {
        ++m;
        D -= rate_month(m, R, D, Z, f).T;
    }
    return m;
}

}  // namespace

RkOutcome rk_rech(const RkInputs& in, int current_year) {
    VESTRAL_OP("RK_RECH");
    RkOutcome out;
    const double A = in.NKREDIT;
    const double r = in.NMONZINS;
    const double f = in.NBEARBGEB;
    const int n = in.NLAUFZEIT;
    const bool term_given = n > 0;

    const double R = (in.NMONRATE == 0 || term_given) ? rk_monrate(A, r, f, n) : in.NMONRATE;
    const double Z = A / 100 * r / 12;
    int year = current_year;
    const double effzins = 100 * (std::pow(1 + r / 1200, 12) - 1);

    // A rate that only covers the interest never repays anything; a plan longer than the month
    // field can hold is refused with the same message.
    if (Z >= R) {
        out.refused = true;
        return out;
    }
    if (term_given ? n > kRkMaxMonths : months_needed(A, R, Z, f, kRkMaxMonths) > kRkMaxMonths) {
        out.refused = true;
        return out;
    }

    double D = A;
    double zinssum = 0;
    double tilgsum = 0;
    double paid = 0;
    int months = 0;
    auto append = [&](int m, double P, double T) {
        RkRow row;
        row.BANKNAME = in.CBANKNAME;
        row.JAHR = year;
        row.MONAT = m;
        row.KREDIT = D;
        row.ZINSEN = Z;
        row.ZINSSUM = zinssum;
        row.TILGUNG = T;
        row.TILGSUM = tilgsum;
        row.MONRATE = P;
        row.GETILGT = paid;
        out.rows.push_back(std::move(row));
    };

    if (!term_given) {
        for (int m = 1; D > 0; ++m) {
            zinssum += Z;
            const auto [P, T] = rate_month(m, R, D, Z, f);
            paid += (m == 1) ? P - f : P;
            tilgsum += T;
            append(m, P, T);
            D -= T;
            if (m % 12 == 0) ++year;
            months = m;
        }
    } else {
        // The processing fee is paid out of the first rate.
        for (int m = 1; m <= n; ++m) {
            const double P = (m == 1) ? R - f : R;
            zinssum += Z;
            const double T = P - Z;
            tilgsum += T;
            paid += P;
            append(m, P, T);
            D -= T;
            if (m % 12 == 0) ++year;
        }
        months = n;
    }

    RkResults& res = out.results;
    res.NEFFZINS = effzins;
    res.NZINSSUM = zinssum;
    res.NTILGSUM = paid;
    res.NLZSUMME = months / 12 + (months % 12) / 100.0;
    res.NERSTRATE = R;
    res.NRESTRATE = out.rows.empty() ? 0 : out.rows.back().MONRATE;
    res.NJAHRESZINS = rk_jahreszins(in, out.rows);
    return out;
}

std::vector<core::DatedPayment> rk_apr_payments(const RkInputs& in, const std::vector<RkRow>& rows) {
    std::vector<core::DatedPayment> payments;
    payments.reserve(rows.size());
    for (const RkRow& r : rows) {
        // The plan books the fee as repaid out of the first rate (term-driven: the rate shown is
        // lowered by it; rate-driven: the repayment is); either way the borrower paid it then.
        double paid = r.TILGUNG + r.ZINSEN;
        if (r.MONAT == 1) paid += in.NBEARBGEB;
        payments.push_back({static_cast<double>(r.MONAT), paid});
    }
    return payments;
}

std::optional<double> rk_jahreszins(const RkInputs& in, const std::vector<RkRow>& rows) {
    return core::annual_percentage_rate(in.NKREDIT, rk_apr_payments(in, rows));
}

std::vector<core::InpFail> rk_checks(const RkInputs& in) {
    using core::InpFail;
    using core::Num;
    return {
        InpFail{"Darlehensbetrag", in.NKREDIT, Num{0, 0}, Num{99999999, 0}, "", "", ""},
        InpFail{"Zinssatz", in.NMONZINS, Num{0, 0}, Num{20, 0}, "8,0", "15,0", "%"},
        InpFail{"Bearbeitungsgebühr", in.NBEARBPRO, Num{0, 0}, Num{10, 0}, "1,0", "3,0", "%"},
        // Bounds that follow the credit: a tenth of it as an amount, and the whole-number twelfth.
        InpFail{"Bearbeitungsgebühr", in.NBEARBGEB, Num{0, 0}, Num{in.NKREDIT / 10, 2}, "", "", ""},
        InpFail{"Laufzeit in Monaten", static_cast<double>(in.NLAUFZEIT), Num{0, 0}, Num{120, 0}, "", "", ""},
        InpFail{"monatliche Rate", in.NMONRATE, Num{0, 0}, Num{core::int_part(in.NKREDIT / 12), 0}, "", "",
                ""},
    };
}

std::vector<int> rk_check_failures(const RkInputs& in, int n) {
    VESTRAL_OP("RK_CHECK");
    std::vector<int> failed;
    const auto checks = rk_checks(in);
    for (int k = 1; k <= static_cast<int>(checks.size()); ++k) {
        if (n != 0 && n != k) continue;
        if (!core::inpfail_passes(checks[static_cast<size_t>(k - 1)])) failed.push_back(k);
    }
    return failed;
}

bool rk_same_inputs(const RkInputs& a, const RkInputs& b) {
    // Each amount compared at the decimals it is entered with.
    auto same = [](double x, double y, int decimals) {
        return core::round_to(x, decimals) == core::round_to(y, decimals);
    };
    return core::to_upper_name(core::trim(a.CBANKNAME)) == core::to_upper_name(core::trim(b.CBANKNAME)) &&
           same(a.NKREDIT, b.NKREDIT, 2) && same(a.NMONZINS, b.NMONZINS, 3) &&
           same(a.NBEARBPRO, b.NBEARBPRO, 3) && same(a.NBEARBGEB, b.NBEARBGEB, 2) &&
           a.NLAUFZEIT == b.NLAUFZEIT && same(a.NMONRATE, b.NMONRATE, 2);
}

std::vector<core::IniFile::Entry> rk_settings_entries(const RkInputs& in, const RkResults& res) {
    return core::section_entries(kRkSettings, in, res);
}

std::string rk_bank_name(const core::IniDocument& ini) {
    return core::read_key(ini, kRkSettings, &RkInputs::CBANKNAME);
}

core::IniFile::Entry rk_bank_name_entry(std::string_view name) {
    return core::key_entry(kRkSettings, &RkInputs::CBANKNAME, std::string(name));
}

}  // namespace vestral::calc
