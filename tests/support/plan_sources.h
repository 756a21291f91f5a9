// Hand-built copies of the financing plans' sources, as their calculators leave them.
#pragma once

#include <string>
#include <vector>

#include "calc/loans/bausparen.h"
#include "calc/loans/hypotilg.h"
#include "calc/loans/ratenkredit.h"
#include "core/numbers.h"

namespace vestral::test::plans {

namespace calc = vestral::calc;

// The monthly rows of a mortgage that runs about 50 years (5 %, 0,45 % repayment, from 2007), as the
// mortgage plan computes them: the largest source the benchmarks feed the plans.
inline std::vector<calc::HypoRow> fifty_year_mortgage(const std::string& bank, double amount) {
    calc::HypoInputs in;
    in.CBANKNAME = bank;
    in.NHYPOTHEK = amount;
    in.NZINSSATZ = 5;
    in.NTILGANNO = 0.45;
    in.DABDATUM = {2007, 1, 1};
    in.NLAUFZEIT = 10;
    in.NZINSNACH = 5;
    std::vector<calc::HypoRow> rows;
    for (const calc::HypoRow& r : calc::ht_tab(in).rows)
        if (r.KEY == 1) rows.push_back(r);
    return rows;
}

// Monthly mortgage rows from `month` of `year`: interest 1 % a month of the balance, instalment
// `rate`, as the mortgage plan leaves them with two decimals.
inline std::vector<calc::HypoRow> mortgage(const std::string& bank, double principal, int year, int month,
                                           int months, double rate) {
    std::vector<calc::HypoRow> rows;
    double b = principal;
    for (int i = 0; i < months; ++i) {
        calc::HypoRow r;
        r.BANKNAME = bank;
        r.ABJAHR = year + (month - 1 + i) / 12;
        r.ABMONAT = (month - 1 + i) % 12 + 1;
        r.HYPOTHEK = b;
        r.ZINSEN = core::round_to(b * 0.01, 2);
        r.ANUITAT = rate;
        r.RESTHYP = core::round_to(b - (rate - r.ZINSEN), 2);
        b = r.RESTHYP;
        rows.push_back(r);
    }
    return rows;
}

inline std::vector<calc::RkRow> credit(double amount, int year, int month, int months, double rate) {
    std::vector<calc::RkRow> rows;
    double b = amount, paid = 0;
    for (int i = 0; i < months; ++i) {
        calc::RkRow r;
        r.BANKNAME = "Kreditbank";
        r.JAHR = year + (month - 1 + i) / 12;
        r.MONAT = i + 1;
        r.KREDIT = b;
        r.ZINSEN = core::round_to(b * 0.005, 2);
        r.TILGUNG = core::round_to(rate - r.ZINSEN, 2);
        r.MONRATE = rate;
        paid += rate;
        r.GETILGT = paid;
        b = core::round_to(b - r.TILGUNG, 2);
        rows.push_back(r);
    }
    return rows;
}

inline calc::BausparRow bau(int year, double pay, double guthaben, double zinsen, double tilgung,
                            double kto) {
    calc::BausparRow r;
    r.BANKNAME = "Bausparkasse";
    r.KEY = 1;
    r.JAHR = year;
    r.EINZAHLUNG = pay;
    r.GUTHABEN = guthaben;
    r.ZINSEN = zinsen;
    r.TILGUNG = tilgung;
    r.KTOSTAND = kto;
    return r;
}

inline double sum_year(const std::vector<calc::HypoRow>& rows, int year, double calc::HypoRow::*m) {
    double s = 0;
    for (const auto& r : rows)
        if (r.ABJAHR == year) s += r.*m;
    return core::round_to(s, 2);
}

}  // namespace vestral::test::plans
