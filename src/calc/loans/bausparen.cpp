#include "calc/loans/bausparen.h"

#include "core/files.h"
#include "core/numbers.h"
#include "core/opstack.h"

namespace vestral::calc {

namespace {

// Years plus months / 100: 66 months are 5.06.
double years_months(int months) {
    return static_cast<double>(months / 12) + (months % 12) / 100.0;
}

BauOutcome refusal() {
    BauOutcome out;
    out.refused = true;
    out.message = kBauRefusal;
    out.title = "Problem";
    return out;
}

}  // namespace

core::Date bau_month_date(int year, int month) {
    return core::Date{year, month, month == 2 ? 28 : 30};
}

BauOutcome bau_rech(const BauInputs& in) {
    VESTRAL_OP("BAU_RECH");
    const double A = in.NBAUSPSUM;
    const double g = in.NABSCHGEB;
    const double k = in.NKONTOGEB;
    const double s = in.NSPARTEIL;
    const double ps = in.NSZINSSTZ;
    const double R = in.NMONRATE;
    const double t = in.NTILGANNO;
    const double r = in.NTZINSSTZ;
    const double r2 = in.NTZINSNACH;
    const int N = static_cast<int>(in.NTFESTZEIT);
    const int start_year = static_cast<int>(in.NABJAHR);

    BauOutcome out;
    BauResults& res = out.results;
    double fee_total = 0;
    const double target = A / 100 * s;
    double pending_fee = A / 100 * g;  // the contract fee goes with the first month
    double b = 0;
    int month = 1;
    int year = start_year;
    double deposits_of_year = 0;
    double net_total = 0;
    int savings_months = 0;

    double L = 0;
    core::Date allocation_date{start_year, 1, 1};
    double saved = 0;

    if (R > 0) {
        while (b <= target) {
            if (savings_months >= kBauMaxPhaseMonths) return refusal();
            pending_fee += k;
            b = b - pending_fee + R;
            const double interest = month == 12 ? b / 100 * ps : 0.0;
            deposits_of_year += R;
            const double net = R - k + interest;
            net_total += net;
            res.NSZINSEN += interest;

            BausparRow row;
            row.BANKNAME = in.CBANKNAME;
            row.KEY = 1;
            row.CODE = 1;
            row.AKTION = "Sparrate";
            row.DATUM = bau_month_date(year, month);
            row.JAHR = row.DATUM.year;
            row.GEBUEHR = pending_fee;
            row.EINZAHLUNG = R;
            row.ZINSEN = interest;
            row.SPAREN = net;
            row.GUTHABEN = b + interest;
            row.KTOSTAND = b + interest;
            out.rows.push_back(row);

            if (month == 12) {
                BausparRow ye;
                ye.BANKNAME = in.CBANKNAME;
                ye.KEY = 2;
                ye.CODE = 1;
                ye.AKTION = "Sparraten";
                ye.DATUM = core::Date{year, 12, 31};
                ye.JAHR = ye.DATUM.year;
                ye.GEBUEHR = pending_fee;
                ye.SPARSUM = net_total;
                ye.EINZAHLUNG = deposits_of_year;
                ye.ZINSEN = b / 100 * ps;
                ye.GUTHABEN = b + ye.ZINSEN;
                ye.KTOSTAND = b + ye.ZINSEN;
                out.rows.push_back(ye);
                deposits_of_year = 0;
                month = 0;
                year += 1;
            }

            b += interest;
            fee_total += pending_fee;
            pending_fee = 0;
            month += 1;
            savings_months += 1;
        }
        const BausparRow& last = out.rows.back();
        L = A - last.GUTHABEN;
        // The last savings row's date is built from the year counter; past the year 9999 it is
        // no date, and nothing can be allocated on it.
        const auto next_day = core::add_days(last.DATUM, 1);
        if (!next_day) return refusal();
        allocation_date = *next_day;
        saved = last.GUTHABEN;
        res.NSMONATE = years_months(savings_months);
        res.NSSUMME = saved;
        out.chart_values.push_back(A / 100 * s);
        out.chart_labels.push_back("Sparsumme");
        out.chart_values.push_back(A - saved);
        out.chart_labels.push_back("Darlehen");
    }

    // Without savings there is nothing allocated: one allocation row on 1 January of the start year.
    BausparRow alloc;
    alloc.KEY = 1;
    alloc.CODE = 0;
    alloc.AKTION = "Zuteilung erfolgt";
    alloc.DATUM = allocation_date;
    alloc.JAHR = alloc.DATUM.year;
    alloc.KREDIT = L;
    alloc.GUTHABEN = saved;
    alloc.KTOSTAND = R > 0 ? -(A - saved) : 0.0;
    out.rows.push_back(alloc);

    if (R > 0) {
        res.NTSUMME = L;
        double rate = r;
        const double M = (L / 100 * r + L / 100 * t) / 12;
        res.NMONTILG = M;
        double instalment = M;  // governs repayment and payment until the rate switch
        double P = M;
        const double P2 = (L / 100 * r2 + L / 100 * t) / 12;
        double B = L;
        double fee_base = L;
        double loan_interest = 0;
        int loan_months = 0;
        bool new_rate_row = false;

        while (B > 0) {
            if (loan_months >= kBauMaxPhaseMonths) return refusal();
            pending_fee += k;
            fee_base += pending_fee;
            double Z, T, new_balance;
            if (loan_months == 0) {
                // The first month's interest also runs on that month's account fee.
                Z = fee_base / 100 * rate / 12;
                T = instalment - Z;
                new_balance = B - T;
            } else if (B < instalment) {
                Z = B / 100 * rate / 12;
                T = B;
                P = B + Z;
                new_balance = 0;
            } else {
                Z = B / 100 * rate / 12;
                T = instalment - Z;
                new_balance = B - T;
            }

            BausparRow row;
            row.BANKNAME = in.CBANKNAME;
            row.KEY = 1;
            row.CODE = 2;
            row.AKTION = new_rate_row ? "Neuer Zinssatz" : "Tilgungsrate";
            new_rate_row = false;
            row.DATUM = bau_month_date(year, month);
            row.JAHR = row.DATUM.year;
            row.GEBUEHR = pending_fee;
            row.EINZAHLUNG = P;
            row.ANUITAT = P;
            row.ZINSEN = Z;
            row.TILGUNG = T;
            row.KREDIT = new_balance;
            row.KTOSTAND = -new_balance;
            out.rows.push_back(row);

            if (month == 12) {
                month = 0;
                year += 1;
            }
            B = new_balance;
            loan_interest += Z;
            fee_total += pending_fee;
            pending_fee = 0;
            loan_months += 1;
            month += 1;

            if (loan_months == 12 * N && r2 != r) {
                P = P2;
                instalment = P2;
                rate = r2;
                new_rate_row = true;
            }
        }
        res.NTMONATE = years_months(loan_months);
        res.NTZINSEN = loan_interest;
        res.NZSUMME = fee_base + loan_interest;
    }

    res.NGEBSUM = fee_total;
    out.chart_values.push_back(res.NTZINSEN);
    out.chart_labels.push_back("Zinsen");
    out.chart_values.push_back(fee_total);
    out.chart_labels.push_back("Gebühren");
    return out;
}

std::array<core::InpFail, 11> bau_checks(const BauInputs& in) {
    using core::Num;
    auto check = [](const char* name, double value, double low, double high, const char* t1 = "",
                    const char* t2 = "", const char* unit = "") {
        return core::InpFail{name, value, Num{low, 0}, Num{high, 0}, t1, t2, unit};
    };
    return {
        check("Bausparsumme", in.NBAUSPSUM, 0, 999999),
        check("Abschlußgebühr", in.NABSCHGEB, 0, 3, "1,0", "1,6", "%"),
        check("Kontoführungsgebühr", in.NKONTOGEB, 0, 99999),
        check("Beginn ab Jahr", in.NABJAHR, 1990, 2050),
        check("Sparanteil", in.NSPARTEIL, 0, 99, "40", "50", "%"),
        check("Ansparzinssatz", in.NSZINSSTZ, 0, 10, "2,0", "5,0", "%"),
        check("monatliche Sparrate", in.NMONRATE, 0, 99999999),
        check("Tilgung pro Jahr", in.NTILGANNO, 0, 20, "7,2", "", "%"),
        check("Tilgungszinssatz", in.NTZINSSTZ, 1, 19, "4", "12", "%"),
        check("Jahre der Zinsbindung", in.NTFESTZEIT, 1, 20),
        check("Tilgungszinssatz nach Festzeit", in.NTZINSNACH, 1, 19, "4", "12", "%"),
    };
}

std::vector<int> bau_check(const BauInputs& in, int n) {
    VESTRAL_OP("BAU_CHECK");
    const auto checks = bau_checks(in);
    std::vector<int> failed;
    for (int i = 1; i <= static_cast<int>(checks.size()); ++i) {
        if ((n == 0 || n == i) && !core::inpfail_passes(checks[static_cast<size_t>(i - 1)]))
            failed.push_back(i);
    }
    return failed;
}

std::string bspbank_key(std::string_view bank_name) {
    return core::pad_utf8(core::to_upper_name(bank_name), 40);
}

std::vector<core::IniFile::Entry> bausp_settings_entries(const BauInputs& in, const BauResults& res) {
    return core::section_entries(kBauSettings, in, res);
}

std::string bausp_bank_name(const core::IniDocument& ini) {
    return core::read_key(ini, kBauSettings, &BauInputs::CBANKNAME);
}

BauspTakeOver bausp_take_over(const core::IniDocument& ini) {
    const auto& s = kBauSettings;
    BauspTakeOver t;
    t.NBAUSPSUM = core::read_num(ini, s, &BauInputs::NBAUSPSUM, "0");
    t.NSPARTEIL = core::read_num(ini, s, &BauInputs::NSPARTEIL, "0");
    t.NSPARSUM = core::read_num(ini, s, &BauResults::NSSUMME, "0");
    t.NLAUFZS = core::read_num(ini, s, &BauResults::NSMONATE, "0");
    t.NMONRATES = core::read_num(ini, s, &BauInputs::NMONRATE, "0");
    t.NTILGSUM = core::read_num(ini, s, &BauResults::NTSUMME, "0");
    t.NLAUFZT = core::read_num(ini, s, &BauResults::NTMONATE, "0");
    t.NMONRATET = core::read_num(ini, s, &BauResults::NMONTILG, "0");
    return t;
}

}  // namespace vestral::calc
