#include "calc/loans/hypotilg.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "core/files.h"
#include "core/numbers.h"
#include "core/opstack.h"

namespace vestral::calc {

using core::div0;

double ht_einmalpz(double amount, double special) {
    return div0(100, amount) * special;
}

double ht_credit_fee_eur(double amount, double percent) {
    return amount / 100 * percent;
}

double ht_credit_fee_percent(double amount, double eur) {
    return div0(100, amount) * eur;
}

namespace {

std::string two_digit_year(int year) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "%02d", ((year % 100) + 100) % 100);
    return buf;
}

}  // namespace

HypoOutcome ht_tab(const HypoInputs& in) {
    VESTRAL_OP("HT_TAB");
    HypoOutcome out;
    HypoResults& res = out.results;

    const double A = in.NHYPOTHEK;
    const double F = in.NKREDITDM;
    const double K = in.NKONTOGEB;
    const double i = in.NZINSSATZ;
    const double i2 = in.NZINSNACH;
    const double t = in.NTILGANNO;
    const int N = in.NLAUFZEIT;
    const int mS = in.NEINMALMO;
    const double S_entered = in.NEINMALDM;
    double S = in.NEINMALDM;
    // Months are counted on from the start date: without a calendar date there is no plan.
    if (!core::is_valid(in.DABDATUM)) {
        HypoOutcome refused;
        refused.repaid_ok = false;
        refused.date_ok = false;
        refused.results.NEINMALPZ = ht_einmalpz(A, S);
        return refused;
    }
    const int y0 = in.DABDATUM.year;
    const int m0 = in.DABDATUM.month;

    res.NEINMALPZ = ht_einmalpz(A, S);

    double B = A + F;
    const double R1 = (B / 100 * i + B / 100 * t) / 12;
    const double R2 = (B / 100 * i2 + B / 100 * t) / 12;
    res.NANNUITAT = R1;
    res.NANNUITA2 = R2;
    // Monthly compounding of the nominal rate alone; the fees do not enter it.
    res.NEFFZINS = (std::pow(div0(B + B / 100 * i / 12, B), 1 / (1.0 / 12)) - 1) * 100;

    double R = R1;
    double r = i;
    int year = y0;
    int month = m0;
    double zinssum = 0;
    double tilgsum = 0;
    double paid = 0;
    double year_inst = 0;
    double fee_sum = 0;
    double special_sum = 0;
    int tilgzeit = 0;
    double pending_fee = F;
    double restnach = 0;
    // Balance when the current calendar year began; a full year that does not lower it means
    // the account fee eats the repayment and the plan would never end.
    double year_start_balance = B;
    bool not_repaid = false;

    auto running = [&] {
        if (t == 0) return tilgzeit < N && B > 0;
        return B > 0;
    };

    while (running()) {
        const double Z = B / 100 * r / 12;
        double T = R - Z;
        bool cut = false;
        if (S_entered > 0 && month == mS && S + T > B) {
            S = B - T;
            cut = true;
        }
        // After a cut, T + S is B; taking B itself keeps a rounding remnant of 1e-12 from
        // becoming one more (empty) month.
        if (month == mS) T = cut ? B : T + S;
        if (month == 12) T = T - K;
        // The final month repays exactly what is left, so the plan ends on a balance of 0.
        if (T > B) T = B;
        tilgsum += T;
        const double B_new = B - T;
        zinssum += Z;
        R = std::min(R, B);
        year_inst += R;
        if (month == mS) special_sum += S;
        paid += R;
        if (month == mS) paid += S;
        fee_sum += (month == 12) ? K : pending_fee;
        res.NTILGSUM = A + zinssum;

        HypoRow row;
        row.BANKNAME = in.CBANKNAME;
        row.KEY = 1;
        row.DATUM = core::Date{year, month, 1};
        row.ABJAHR = year;
        row.ABMONAT = month;
        row.HYPOTHEK = B;
        row.ZINSEN = Z;
        row.ZINSSUM = zinssum;
        row.TILGUNG = T;
        row.TILGSUM = A + zinssum;
        row.ANUITAT = R;
        row.MONRATE = R;
        row.EINMALDM = (month == mS) ? S : 0;
        row.GEBUEHR = (month == 12) ? K : (out.rows.empty() ? F : 0);
        row.RESTHYP = B_new > 0 ? B_new : 0;
        row.GEZAHLT = paid;
        row.EINMSUM = (month == mS) ? special_sum : 0;
        row.GEBUSUM = (month == 12) ? fee_sum : pending_fee;
        const bool plan_ended = row.RESTHYP == 0;
        const core::Date row_date = row.DATUM;
        out.rows.push_back(std::move(row));

        pending_fee = 0;
        B = B_new;
        month += 1;

        if (month == 13 || plan_ended) {
            HypoRow ye;
            ye.BANKNAME = in.CBANKNAME;
            ye.KEY = 2;
            ye.DATUM = (month == 13) ? core::Date{year, 12, 31} : row_date;
            ye.HYPOTHEK = B;
            ye.ZINSSUM = zinssum;
            ye.TILGSUM = tilgsum;
            ye.ANUITAT = R;
            ye.EINMALDM = S;
            ye.EINMSUM = special_sum;
            ye.MONRSUM = year_inst;
            ye.RESTHYP = B_new > 0 ? B_new : 0;
            ye.GEZAHLT = paid;
            ye.GEBUEHR = K;
            ye.GEBUSUM = fee_sum;
            out.rows.push_back(std::move(ye));
            year_inst = 0;
            out.chart.values.push_back(B);
            out.chart.labels.push_back(two_digit_year(year));

            // Once the balance is paid off the plan ends, also with a repayment rate of 0, so
            // the final partial year never counts as a year of repayment.
            if (B_new > 0) {
                if (t != 0 && year != y0 && B_new >= year_start_balance) {
                    not_repaid = true;
                    break;
                }
                if (year + 1 > 9999) {
                    not_repaid = true;
                    break;
                }
                month = 1;
                year += 1;
                tilgzeit += 1;
                year_start_balance = B;
                if (year - y0 == N) {
                    restnach = B;
                    R = R2;
                    r = i2;
                }
            }
        }
    }

    if (not_repaid) {
        HypoOutcome refused;
        refused.repaid_ok = false;
        refused.results.NEINMALPZ = res.NEINMALPZ;
        return refused;
    }

    for (HypoRow& row : out.rows) row.RESTZINS = zinssum - row.ZINSSUM;

    res.NZINSSUM = zinssum;
    res.NTILGZEIT = tilgzeit;
    res.NGEBUSUM = fee_sum;
    res.NEINMSUM = special_sum;
    res.NRESTNACH = restnach;
    res.NJAHRESZINS = ht_jahreszins(in, out.rows);
    return out;
}

std::vector<core::DatedPayment> ht_apr_payments(const HypoInputs& in, const std::vector<HypoRow>& rows) {
    std::vector<core::DatedPayment> payments;
    if (!core::is_valid(in.DABDATUM)) return payments;
    // The follow-up rate takes over on 1 January of this year.
    const int follow_year = in.DABDATUM.year + in.NLAUFZEIT;
    double months = 0;
    double left = 0;
    for (const HypoRow& r : rows) {
        if (r.KEY != 1) continue;
        if (r.DATUM.year >= follow_year) break;
        months += 1;
        // What leaves the borrower's account: the month's interest and repayment, and in
        // December the account fee that was taken out of the instalment. For every month but the
        // last this is the instalment (plus the special repayment in its month).
        double paid = r.TILGUNG + r.ZINSEN;
        if (r.ABMONAT == 12) paid += r.GEBUEHR;
        payments.push_back({months, paid});
        left = r.RESTHYP;
    }
    if (left > 0 && !payments.empty()) payments.push_back({months, left});
    return payments;
}

std::optional<double> ht_jahreszins(const HypoInputs& in, const std::vector<HypoRow>& rows) {
    return core::annual_percentage_rate(in.NHYPOTHEK, ht_apr_payments(in, rows));
}

std::vector<core::InpFail> ht_checks(const HypoInputs& in) {
    using core::InpFail;
    using core::Num;
    return {
        InpFail{"Hypothekbetrag", in.NHYPOTHEK, Num{0, 0}, Num{99999999, 0}, "", "", ""},
        InpFail{"Nominalzins", in.NZINSSATZ, Num{1, 0}, Num{19, 0}, "4", "12", "%"},
        InpFail{"Tilgung pro Jahr", in.NTILGANNO, Num{0, 0}, Num{20, 0}, "1,0", "", "%"},
        // An empty or impossible date counts as year 0, so it fails with the date's message.
        InpFail{"Laufzeit ab Datum", static_cast<double>(core::is_valid(in.DABDATUM) ? in.DABDATUM.year : 0),
                Num{1990, 0}, Num{2050, 0}, "", "", ""},
        InpFail{"Laufzeit in Jahren", static_cast<double>(in.NLAUFZEIT), Num{5, 0}, Num{50, 0}, "", "", ""},
        InpFail{"Nominalzins", in.NZINSNACH, Num{1, 0}, Num{19, 0}, "4", "12", "%"},
        // The bound follows the entered amount and is shown with its two decimals.
        InpFail{"jährl. Sondertilgung", in.NEINMALDM, Num{0, 0}, Num{in.NHYPOTHEK / 10, 2}, "", "", ""},
    };
}

std::vector<int> ht_check_failures(const HypoInputs& in, int n) {
    VESTRAL_OP("HT_CHECK");
    std::vector<int> failed;
    const auto checks = ht_checks(in);
    for (int k = 1; k <= static_cast<int>(checks.size()); ++k) {
        if (n != 0 && n != k) continue;
        if (!core::inpfail_passes(checks[static_cast<size_t>(k - 1)])) failed.push_back(k);
    }
    return failed;
}

std::vector<core::IniFile::Entry> hypo_settings_entries(const HypoInputs& in, const HypoResults& res) {
    return core::section_entries(kHypoSettings, in, res);
}

std::string hypo_bank_name(const core::IniDocument& ini) {
    return core::read_key(ini, kHypoSettings, &HypoInputs::CBANKNAME);
}

core::IniFile::Entry hypo_bank_name_entry(std::string_view name) {
    return core::key_entry(kHypoSettings, &HypoInputs::CBANKNAME, std::string(name));
}

}  // namespace vestral::calc
