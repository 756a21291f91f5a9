#include "calc/tax/afa75.h"

#include "core/numbers.h"
#include "core/opstack.h"

namespace vestral::calc {

namespace {

using core::Date;

constexpr Date kLawOf1985{1985, 3, 31};
constexpr Date kLawOf1989{1989, 2, 28};
constexpr Date kEndOf1993{1993, 12, 31};
constexpr Date kEndOf1994{1994, 12, 31};
constexpr Date kEndOf1995{1995, 12, 31};

bool business_only(const Afa75Inputs& in) {
    return in.LBETRVERM && !in.LWOHNUNG;
}
bool neither(const Afa75Inputs& in) {
    return !in.LBETRVERM && !in.LWOHNUNG;
}

}  // namespace

AfaKind afa_kind(const Afa75Inputs& in) {
    const Date buy = in.DKAUFDAT;
    if (in.NAFAART != kAfaDeclining) {
        if (business_only(in) && buy > kLawOf1985) return kStraightKinds[0];
        if (in.DFERTDAT.year > 1924) return kStraightKinds[1];
        return kStraightKinds[2];
    }
    const auto& k = kDecliningKinds;
    if (buy > kLawOf1989 && buy.year > in.DFERTDAT.year) return k[0];
    if (business_only(in) && buy > kEndOf1993) return k[1];
    if (business_only(in) && buy > kLawOf1985) return k[2];
    if (neither(in) && buy > kEndOf1994) return k[3];
    if (neither(in) && buy > kLawOf1985) return k[4];
    if (in.LWOHNUNG && buy > kEndOf1995) return k[5];
    if (in.LWOHNUNG && buy > kLawOf1989) return k[6];
    return k[7];
}

std::vector<AfaStage> afa_stages(int code) {
    switch (code) {
        case 411:
        case 512:
            return {{25, 4}};
        case 421:
        case 522:
            return {{50, 2}};
        case 422:
            return {{40, 2.5}};
        case 511:
            return {{4, 10}, {3, 5}, {18, 2.5}};
        case 521:
        case 532:
            return {{8, 5}, {6, 2.5}, {36, 1.25}};
        case 531:
            return {{4, 7}, {6, 5}, {6, 2}, {24, 1.25}};
        default:
            return {};
    }
}

Date afa_base_date(const Afa75Inputs& in) {
    return in.DKAUFDAT < in.DFERTDAT ? in.DFERTDAT : in.DKAUFDAT;
}

Afa75Outcome p75e_rech(const Afa75Inputs& in) {
    VESTRAL_OP("P75E_RECH");
    Afa75Outcome out;
    const AfaKind kind = afa_kind(in);
    out.NABSCHART = kind.code;
    out.CABSCHART = kind.text;
    const int first_year = afa_base_date(in).year;
    int n = 0;
    for (const AfaStage& stage : afa_stages(kind.code)) {
        for (int y = 0; y < stage.years; ++y, ++n) {
            Steu75eRow row;
            row.JAHR = first_year + n;
            // The amount is kept as the table stores it, and the sum adds what is stored; adding
            // the cents exactly keeps the sum free of binary remainders.
            row.FREIBETRAG = core::round_to(core::div0(in.NKAUFPREIS, 100) * stage.rate, 2);
            row.STJAHR = n + 1;
            row.STVORTEIL = stage.rate;
            out.NAFASUM = core::round_to(out.NAFASUM + row.FREIBETRAG, 2);
            out.rows.push_back(row);
        }
    }
    out.NAFADAU = static_cast<int>(out.rows.size());
    return out;
}

AfaRestriction chkafaget(const Afa75Inputs& in) {
    VESTRAL_OP("CHKAFAGET");
    const Date buy = in.DKAUFDAT;
    if (buy <= kLawOf1985) return {true, AfaRadio::Disable};
    if (in.LWOHNUNG && buy <= kLawOf1989) return {true, AfaRadio::Disable};
    if (buy > kLawOf1989 && buy > in.DFERTDAT) return {true, AfaRadio::Disable};
    if (business_only(in) && buy > kEndOf1993) return {true, AfaRadio::Disable};
    if (neither(in) && buy > kEndOf1994) return {true, AfaRadio::Keep};
    return {false, AfaRadio::Enable};
}

bool afa75_can_compute(const Afa75Inputs& in) {
    return in.NKAUFPREIS > 0 && !in.DKAUFDAT.empty() && !in.DFERTDAT.empty();
}

core::InpFail afa75_cost_check(double cost) {
    return {"Kauf- / Baukosten", cost, core::Num{1, 0}, core::Num{99999999, 0}, "", "", ""};
}

Afa75Stored afa75_read_settings(const core::IniDocument& ini, Date today) {
    VESTRAL_OP("P75_GDATA");
    const Afa75Values v = core::read_section(ini, kAfa75Settings);
    Afa75Stored st;
    Afa75Inputs& in = st.inputs;
    in.NKAUFPREIS = core::round_to(v.NKAUFPREIS, 2);
    in.DKAUFDAT = v.DKAUFDAT.empty() ? today : v.DKAUFDAT;
    in.DFERTDAT = v.DFERTDAT.empty() ? today : v.DFERTDAT;
    in.LBETRVERM = v.LBETRVERM;
    in.LWOHNUNG = v.LWOHNUNG;
    in.NAFAART = v.NAFAART == kAfaDeclining ? kAfaDeclining : kAfaStraight;
    st.NABSCHART = v.NABSCHART;
    return st;
}

std::vector<core::IniFile::Entry> afa75_settings_entries(const Afa75Inputs& in, int nabschart,
                                                         const std::string& cabschart, double nafasum,
                                                         int nafadau) {
    Afa75Values v;
    v.NKAUFPREIS = in.NKAUFPREIS;
    v.DKAUFDAT = in.DKAUFDAT;
    v.DFERTDAT = in.DFERTDAT;
    v.LBETRVERM = in.LBETRVERM;
    v.LWOHNUNG = in.LWOHNUNG;
    v.NABSCHART = nabschart;
    v.NAFAART = in.NAFAART == kAfaDeclining ? kAfaDeclining : kAfaStraight;
    v.CABSCHART = cabschart;
    return core::section_entries(kAfa75Settings, v, Afa75Totals{nafasum, static_cast<double>(nafadau)});
}

}  // namespace vestral::calc
