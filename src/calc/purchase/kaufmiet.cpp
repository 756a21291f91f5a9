#include "calc/purchase/kaufmiet.h"

#include "core/numbers.h"
#include "core/opstack.h"

namespace vestral::calc {

KmOutcome km_rech(const KmInputs& in) {
    VESTRAL_OP("KM_RECH");
    KmOutcome out;
    KmResults& res = out.results;

    double R = in.NKALTMIETE * 12;
    double L = in.NKAUFPREIS - in.NEIGENKAP;
    double T = 0;

    const double I = (L / 100) * in.NHYPOZINS;
    const double P = (L / 100) * in.NTILGANNO;
    out.NANUITAT = I + P;
    double rate = core::round_to(out.NANUITAT / 12, 1);
    const double M0 = rate;

    double S = L;
    const double m = in.NHYPOZINS / 12;
    int years = 0;

    while (L > 0) {
        // An instalment that does not outrun the interest never repays the loan.
        if (years >= kKmMaxYears) {
            KmOutcome refused;
            refused.refused = true;
            refused.message = kKmRefusal;
            refused.title = "Problem";
            return refused;
        }
        double year_interest = 0;
        double year_repayment = 0;
        for (int month = 1; month <= 12; ++month) {
            const double i = (L / 100) * m;
            if (L < rate) {
                rate = rate - (rate - (L + i)) / 12;
                year_repayment += L;
                year_interest += i;
                L = 0;
                break;
            } else if (L < rate + rate / 12) {
                rate = rate + ((L + i) - rate) / 12;
                year_repayment += L;
                year_interest += i;
                L = 0;
                break;
            } else {
                year_repayment += rate - i;
                year_interest += i;
                L = S - year_repayment;
            }
        }
        if (L >= S) {
            KmOutcome refused;
            refused.refused = true;
            refused.message = kKmRefusal;
            refused.title = "Problem";
            return refused;
        }
        years += 1;
        res.NZINSSUM += year_interest;
        T += year_repayment;
        if (years > 1) R = R + (R / 100) * in.NMIETERH;
        res.NMIETESUM += R;

        MietkaufRow row;
        row.JAHR = years;
        row.HYPOTHEK = L < 0 ? 0.0 : L;
        row.TILGSUM = T;
        row.ANNUITJA = out.NANUITAT;
        row.ANNUITAT = rate;
        row.ZINSEN = res.NZINSSUM;
        row.MIETEGE = res.NMIETESUM;
        row.MIETEJA = R;
        row.MIETEMO = R / 12;
        out.rows.push_back(row);

        S = L;
    }

    res.NJAHRE = years;
    res.NMONRATE = M0;  // the adjusted instalment lives on only in the last row
    res.NMIETE30 = R / 12;
    res.NDIFF = res.NMIETESUM - res.NZINSSUM;
    out.chart_values = {res.NMIETESUM, res.NZINSSUM, res.NDIFF};
    out.chart_labels = {"Miete", "Zinsen", "Diff."};
    return out;
}

bool km_can_compute(const KmInputs& in) {
    return in.NKALTMIETE > 0 && in.NKAUFPREIS > 0 && in.NHYPOZINS > 0 && in.NTILGANNO > 0 &&
           in.NEIGENKAP <= in.NKAUFPREIS;
}

std::array<core::InpFail, 6> km_checks(const KmInputs& in) {
    using core::InpFail;
    using core::Num;
    return {
        InpFail{"Kaltmiete", in.NKALTMIETE, Num{0, 0}, Num{99999, 0}, "", "", ""},
        InpFail{"Mieterhöhung", in.NMIETERH, Num{0, 0}, Num{19, 0}, "3,0", "", "%"},
        InpFail{"Kaufpreis", in.NKAUFPREIS, Num{0, 0}, Num{9999999, 0}, "", "", ""},
        InpFail{"Hypothekenzinssatz", in.NHYPOZINS, Num{0, 0}, Num{19, 0}, "4", "12", "%"},
        InpFail{"Tilgung pro Jahr", in.NTILGANNO, Num{0, 0}, Num{9, 0}, "1,0", "", "%"},
        // The price is an entered amount and is shown with its two decimals.
        InpFail{"Eigenkapital", in.NEIGENKAP, Num{0, 0}, Num{in.NKAUFPREIS, 2}, "", "", ""},
    };
}

KmDetails km_details(const KmInputs& in, const KmResults& res, bool table_has_rows) {
    VESTRAL_OP("KM_DETAILS");
    KmDetails d;
    d.H = in.NKAUFPREIS - in.NEIGENKAP;
    d.F = d.H + res.NZINSSUM;
    d.D = res.NMIETESUM - d.F;
    d.difference_negative = d.D < 0;
    d.grafik_enabled = d.D > 0 && table_has_rows;
    d.verlauf_enabled = table_has_rows;
    return d;
}

std::vector<core::IniFile::Entry> km_settings_entries(const KmInputs& in) {
    return core::section_entries(kKmSettings, in);
}

KmInputs km_read_settings(const core::IniDocument& ini) {
    VESTRAL_OP("KM_GDATA");
    return core::read_section(ini, kKmSettings);
}

KmInputs km_read_settings(const core::IniFile& ini) {
    return km_read_settings(ini.load());
}

}  // namespace vestral::calc
