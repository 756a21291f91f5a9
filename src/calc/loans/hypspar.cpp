#include "calc/loans/hypspar.h"

#include <algorithm>
#include <cmath>

#include "core/numbers.h"
#include "core/opstack.h"

namespace vestral::calc {

namespace {

// The savings account month by month: a rate less its surcharge in, then in a year step the
// account fee out and the year's interest in.
struct Account {
    double q, p, a, k;
    double balance = 0, interest_total = 0, fees = 0, surcharges = 0, rates = 0, fee_total = 0;
    double month_step() {
        const double surcharge = q / 100 * a;
        balance += q - surcharge;
        fees += surcharge;
        surcharges += surcharge;
        rates += q;
        return surcharge;
    }
    double year_step() {
        balance -= k;
        const double interest = balance / 100 * p;
        interest_total += interest;
        balance += interest;
        fees += k;
        fee_total += k;
        return interest;
    }
};

}  // namespace

HsSaving hs_simulate(double q, int months, double p, double a, double k) {
    Account acc{q, p, a, k};
    for (int m = 1; m <= months; ++m) {
        acc.month_step();
        if (m % 12 == 0) acc.year_step();
    }
    return {acc.balance, acc.interest_total, acc.fees};
}

double hs_search_rate_linear(double G, int years, double p, double a, double k) {
    double q = 1;
    while (hs_simulate(q, years * 12, p, a, k).balance < G) q += 1;
    return q;
}

double hs_search_rate(double G, int years, double p, double a, double k) {
    const int months = years * 12;
    if (hs_simulate(1, months, p, a, k).balance >= G) return 1;
    // Without interest the balance is at least 12 years q (1 − a / 100) − years k; interest only adds.
    double hi = std::ceil(core::div0(G + years * k, months * (1 - a / 100))) + 1;
    while (hs_simulate(hi, months, p, a, k).balance < G) hi *= 2;
    double lo = 1;  // lo fails, hi reaches
    while (hi - lo > 1) {
        const double mid = std::floor((lo + hi) / 2);
        if (hs_simulate(mid, months, p, a, k).balance >= G)
            hi = mid;
        else
            lo = mid;
    }
    return hi;
}

HsOutcome hs_rech(const HsInputs& in) {
    VESTRAL_OP("HS_RECH");
    HsOutcome out;
    HsResults& res = out.results;
    const double G = in.NTILGSUMM, p = in.NSPZINS, a = in.NSPAUSZU, k = in.NSPKTOGEB;
    if (in.NSPLZEIT <= 0 && in.NSPMRATE <= 0) {
        out.refused = HsRefusal::NoTermNoRate;
        return out;
    }
    out.term_drives = in.NSPMRATE == 0;

    // Step 3: the search.
    double q = 0;
    if (out.term_drives) {
        q = hs_search_rate(G, in.NSPLZEIT, p, a, k);
        res.NSPARLZMR = q;
        res.NSPARGEBS = hs_simulate(q, in.NSPLZEIT * 12, p, a, k).fees;
    } else {
        q = in.NSPMRATE;
        Account acc{q, p, a, k};
        int months = 0;
        while (acc.balance < G) {
            if (months == kHsMaxMonths) {
                out.refused = HsRefusal::RateTooSmall;
                return out;
            }
            acc.month_step();
            ++months;
            if (months % 12 == 0) acc.year_step();
        }
        out.savings_months = months;
        res.NSPARLZMR = hs_years_months(months);
        res.NSPARGEBS = acc.fees;
    }
    out.rate = q;
    out.surcharge_eur = a == 0 ? 0 : q / 100 * a;

    // Step 4: the savings rows. The rows end after the first closing month in which a month's rate
    // reached the target, even when that month's fee takes the balance below it again.
    std::vector<HsRow>& rows = out.rows;
    {
        Account acc{q, p, a, k};
        int year = in.NABJAHR, month = 1;
        // Each month adds at least 0,81 q, so the target is reached within the search's months;
        // the bound only guards against inputs no check allows.
        for (int guard = 0; acc.balance < G && guard < 12 * kHsMaxMonths; ++guard) {
            const double surcharge = acc.month_step();
            const bool reached = acc.balance >= G;
            const bool closing = month == 12 || reached;
            double interest = 0;
            if (closing) interest = acc.year_step();
            HsRow r;
            r.DATUM = {year, month, 1};
            r.SPARNAME = in.CSPARNAME;
            r.KEY1 = 1;
            r.TILGSUMM = G;
            r.SPARDAT = r.DATUM;
            r.SPARSUMM = acc.balance - acc.interest_total;
            r.SPARRATE = q;
            r.SGEBAUSZU = a;
            r.SGEBAUSDM = surcharge;
            r.SPARKONTO = acc.balance;
            if (closing) {
                r.SPARZINS = interest;
                r.SPARZSUM = acc.interest_total;
                r.SGEBUEHR = k;
                r.SGEBUSUM = acc.fee_total;
            }
            rows.push_back(r);
            if (closing) {
                HsRow y;
                y.DATUM = {year, 12, 31};
                y.SPARNAME = in.CSPARNAME;
                y.KEY1 = 2;
                y.TILGSUMM = G;
                y.SPARDAT = y.DATUM;
                y.SPARSUMM = acc.balance;
                y.SPARZINS = interest;
                y.SPARZSUM = acc.interest_total;
                y.SPARRATE = acc.rates;
                y.SGEBUSUM = acc.fee_total;
                y.SGEBAUSZU = a;
                y.SGEBAUSDM = acc.surcharges;
                y.SPARKONTO = acc.balance;
                rows.push_back(y);
                month = 1;
                ++year;
            } else {
                ++month;
            }
            if (reached) break;
        }
        res.NSPARSUMM = acc.balance;
        res.NSPARZINS = acc.interest_total;
    }

    // Step 5: the mortgage runs as long as the savings.
    out.mortgage_months = in.NSPLZEIT > 0 ? in.NSPLZEIT * 12 : out.savings_months;

    // Steps 6 and 7: interest only, the follow-up rate from January of y0 + N.
    const double H = in.NHYPOTHEK, K = in.NTIKTOGEB, F = in.NKREDITDM;
    const double I1 = H / 100 * in.NHYPZSATZ / 12;
    const double I2 = H / 100 * in.NHYPZNACH / 12;
    res.NANNUITAT = I1;
    res.NANNUITA2 = I2;
    double payment = I1, rate = in.NHYPZSATZ, interest_total = 0, fee_total = 0, paid = 0, year_fees = 0;
    double pending = F;
    int month = 1, year = in.NABJAHR;
    auto find_row = [&rows](const core::Date& d, int key1) -> HsRow& {
        auto it = std::find_if(rows.begin(), rows.end(), [&](const HsRow& r) {
            return r.KEY1 == key1 && r.DATUM.year == d.year && r.DATUM.month == d.month &&
                   r.DATUM.day == d.day;
        });
        if (it != rows.end()) return *it;
        HsRow r;
        r.DATUM = d;
        rows.push_back(r);
        return rows.back();
    };
    for (int m = 0; m < out.mortgage_months; ++m) {
        const double Z = H / 100 * rate / 12;
        interest_total += Z;
        payment = std::min(payment, H);
        paid += payment;
        fee_total += month == 12 ? K : pending;
        const core::Date d{year, month, 1};
        const bool first_record = !rows.empty() && rows.front().KEY1 == 1 &&
                                  rows.front().DATUM.year == d.year && rows.front().DATUM.month == d.month &&
                                  rows.front().DATUM.day == 1;
        HsRow& r = find_row(d, 1);
        r.TILGNAME = in.CTILGNAME;
        r.KEY2 = 5;
        r.TILGDAT = d;
        r.ABJAHR = year;
        r.ABMONAT = month;
        r.HYPOTHEK = H;
        r.ZINSEN = Z;
        r.ZINSSUM = interest_total;
        r.ANUITAT = payment;
        r.TGEBUEHR = month == 12 ? K : (first_record ? F : 0);
        r.TGEBUSUM = month == 12 ? fee_total : pending;
        r.GEZAHLT = paid;
        year_fees += r.TGEBUEHR;
        pending = 0;
        ++month;
        if (month == 13) {
            HsRow& y = find_row({year, 12, 31}, 2);
            y.TILGNAME = in.CTILGNAME;
            y.KEY2 = 6;
            y.TILGDAT = {year, 12, 31};
            y.ABJAHR = year;
            y.ABMONAT = 12;
            y.HYPOTHEK = H;
            y.ZINSSUM = interest_total;
            y.ANUITAT = payment;
            y.TGEBUEHR = K;
            y.TGEBUSUM = year_fees;
            y.GEZAHLT = paid;
            year_fees = 0;
            if (m + 1 < out.mortgage_months) {
                month = 1;
                ++year;
                if (year - in.NABJAHR == in.NHYPZFEST) {
                    res.NRESTNACH = H;
                    payment = I2;
                    rate = in.NHYPZNACH;
                }
            }
        }
    }

    // Steps 8 and 9.
    res.NZINSSUM = interest_total;
    res.NGEBUSUM = fee_total;
    res.NEFFZINS = 100 * (std::pow(1 + in.NHYPZSATZ / 1200, 12) - 1);
    res.NSEFFZINS = 100 * (std::pow(1 + p / 1200, 12) - 1);
    for (HsRow& r : rows) r.RESTZINS = interest_total - r.ZINSSUM;
    return out;
}

core::InpFail hs_check(const HsInputs& in, int n) {
    using core::InpFail;
    using core::Num;
    switch (n) {
        case 1:
            return {"Ansparbetrag", in.NTILGSUMM, Num{0, 0}, Num{99999999, 0}, "", "", ""};
        case 2:
            return {"Ansparzins", in.NSPZINS, Num{1, 0}, Num{19, 0}, "2", "4", "%"};
        case 3:
            return {
                "Laufzeit ab Jahr", static_cast<double>(in.NABJAHR), Num{1990, 0}, Num{2050, 0}, "", "", ""};
        case 4:
            return {
                "Laufzeit in Jahren", static_cast<double>(in.NSPLZEIT), Num{0, 0}, Num{50, 0}, "", "", ""};
        case 5:
            // The bound follows the entered target and is shown with two decimals.
            return {"monatl. Rate", in.NSPMRATE, Num{0, 0}, Num{in.NTILGSUMM / 12, 2}, "", "", ""};
        case 6:
            return {"Kontoführungsgebühr", in.NSPKTOGEB, Num{0, 0}, Num{999, 0}, "", "", ""};
        case 7:
            return {"Ausgabeaufschlag", in.NSPAUSZU, Num{0, 0}, Num{19, 0}, ".5", "3", "%"};
        case 11:
            return {"Hypothekbetrag", in.NHYPOTHEK, Num{0, 0}, Num{99999999, 0}, "", "", ""};
        case 12:
            return {"Nominalzins", in.NHYPZSATZ, Num{1, 0}, Num{19, 0}, "4", "12", "%"};
        case 13:
            return {"Dauer der Zinsbindung",
                    static_cast<double>(in.NHYPZFEST),
                    Num{5, 0},
                    Num{50, 0},
                    "",
                    "",
                    ""};
        case 14:
            return {"Zinssatz nach Festzeit", in.NHYPZNACH, Num{1, 0}, Num{19, 0}, "4", "12", "%"};
        default:
            return {"", 0, Num{0, 0}, Num{0, 0}, "", "", ""};
    }
}

std::vector<int> hs_check_failures(const HsInputs& in, int n) {
    VESTRAL_OP("HS_CHECK");
    std::vector<int> failed;
    for (int k : kHsCheckNumbers) {
        if (n != 0 && n != k) continue;
        if (!core::inpfail_passes(hs_check(in, k))) failed.push_back(k);
    }
    return failed;
}

std::vector<core::IniFile::Entry> hs_settings_entries(const HsInputs& in, const HsResults& res) {
    return core::section_entries(kHsSettings, in, res);
}

std::pair<std::string, std::string> hs_bank_names(const core::IniDocument& ini) {
    return {core::read_key(ini, kHsSettings, &HsInputs::CSPARNAME),
            core::read_key(ini, kHsSettings, &HsInputs::CTILGNAME)};
}

}  // namespace vestral::calc
