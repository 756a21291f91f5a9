#include "calc/plans/finzpl2.h"

#include <algorithm>

#include "calc/tax/einksteuer.h"
#include "core/opstack.h"

namespace vestral::calc {

namespace {

namespace d = core::dbf;

const d::RecordMap<Fp2AfaRow> kFp2AfaMap{"FP2AFA",
                                         {
                                             d::number("JAHR", &Fp2AfaRow::JAHR),
                                             d::number("FREIBETRAG", &Fp2AfaRow::FREIBETRAG),
                                             d::number("STVORTEIL", &Fp2AfaRow::STVORTEIL),
                                         }};

const d::RecordMap<Fp1Row> kFinzpl2Map{
    "FINZPL2",
    {
        d::number("JAHR", &Fp1Row::JAHR),           d::text("H1BANK", &Fp1Row::H1BANK),
        d::number("H1SUMME", &Fp1Row::H1SUMME),     d::number("H1ZINSEN", &Fp1Row::H1ZINSEN),
        d::number("H1RATEN", &Fp1Row::H1RATEN),     d::number("H1REST", &Fp1Row::H1REST),
        d::text("H2BANK", &Fp1Row::H2BANK),         d::number("H2SUMME", &Fp1Row::H2SUMME),
        d::number("H2ZINSEN", &Fp1Row::H2ZINSEN),   d::number("H2RATEN", &Fp1Row::H2RATEN),
        d::number("H2REST", &Fp1Row::H2REST),       d::text("BSPBANK", &Fp1Row::BSPBANK),
        d::number("BSSUMME", &Fp1Row::BSSUMME),     d::text("BSAKTION", &Fp1Row::BSAKTION),
        d::number("BSEINZAHL", &Fp1Row::BSEINZAHL), d::number("BSSPARSUM", &Fp1Row::BSSPARSUM),
        d::number("BSSPZINS", &Fp1Row::BSSPZINS),   d::number("BSTILGSUM", &Fp1Row::BSTILGSUM),
        d::number("BSTIZINS", &Fp1Row::BSTIZINS),   d::number("KTOSTAND", &Fp1Row::KTOSTAND),
        d::text("RKBANK", &Fp1Row::RKBANK),         d::number("RKSUMME", &Fp1Row::RKSUMME),
        d::number("RKZINSEN", &Fp1Row::RKZINSEN),   d::number("RKTILGUNG", &Fp1Row::RKTILGUNG),
        d::number("RKRATEN", &Fp1Row::RKRATEN),     d::number("RKREST", &Fp1Row::RKREST),
        d::number("ZINSENGES", &Fp1Row::ZINSENGES), d::number("RATENGES", &Fp1Row::RATENGES),
        d::number("RESTGES", &Fp1Row::RESTGES),     d::number("AFA", &Fp1Row::AFA),
        d::number("AFARATE", &Fp1Row::AFARATE),     d::number("EINKOMM", &Fp1Row::EINKOMM),
        d::number("MIETE", &Fp1Row::MIETE),         d::number("AFAEKST1", &Fp1Row::AFAEKST1),
        d::number("AFAEKST2", &Fp1Row::AFAEKST2),   d::number("STEUERERL", &Fp1Row::STEUERERL),
    }};

}  // namespace

const d::RecordMap<Fp2AfaRow>& fp2afa_map() {
    return kFp2AfaMap;
}

const d::RecordMap<Fp1Row>& finzpl2_map() {
    return kFinzpl2Map;
}

void fp2_load_settings(const core::IniDocument& ini, Fp1State& s) {
    VESTRAL_OP("FP2GDATA");
    core::read_section(ini, kFp2Settings, s);
    if (!(s.NBAUSPSUM.value > 0)) s.LBAUSPAR = false;
    const UserValues u = user_values(ini);
    s.NEINKOMM = u.NEINKOMM;
    s.NEINKSTEIG = u.NEINKSTEIG;
    s.NMIETE = u.NMIETE;
    s.NMIETSTEIG = u.NMIETSTEIG;
    s.NFAMSTAND = u.NFAMSTAND == 1 ? 1 : 2;
    s.NIMMOWERT = core::parse_lenient(ini.get("AFA75", "Kaufpreis", "0.00")).value;
}

std::vector<core::IniFile::Entry> fp2_settings_entries(const Fp1State& s) {
    return core::section_entries(kFp2Settings, s);
}

std::vector<core::IniFile::Entry> fp2_user_entries(const Fp1State& s) {
    return {core::key_entry(kUserSettings, &UserValues::NEINKOMM, s.NEINKOMM),
            core::key_entry(kUserSettings, &UserValues::NEINKSTEIG, s.NEINKSTEIG),
            core::key_entry(kUserSettings, &UserValues::NFAMSTAND, s.NFAMSTAND == 1 ? 1 : 2),
            core::key_entry(kUserSettings, &UserValues::NMIETE, s.NMIETE),
            core::key_entry(kUserSettings, &UserValues::NMIETSTEIG, s.NMIETSTEIG)};
}

void fp2_take_afa75(const core::IniDocument& ini, Fp1State& s) {
    s.NIMMOWERT = core::parse_lenient(ini.get("AFA75", "Kaufpreis", "0.00")).value;
    s.NAFASUM = core::parse_lenient(ini.get("AFA75", "AfASum", "0.00")).value;
}

void fp2_checkdata(Fp1State& s, const Fp1CopyHeads& heads) {
    VESTRAL_OP("CHECKDATA");
    fp_check_copies(s, heads, FpVariant::Letting);
}

Fp2Income fp2_income(const Fp1State& s) {
    return {s.NEINKOMM.value, s.NEINKSTEIG.value, s.NMIETE.value, s.NMIETSTEIG.value,
            s.NFAMSTAND == 2 ? 2 : 1};
}

bool fp2_depreciation_pass(Fp1Plan& plan, std::vector<Fp2AfaRow> rows) {
    std::stable_sort(rows.begin(), rows.end(),
                     [](const Fp2AfaRow& a, const Fp2AfaRow& b) { return a.JAHR < b.JAHR; });
    for (const Fp2AfaRow& r : rows) {
        Fp1Row& p = plan.year(r.JAHR);
        p.AFA = core::round_to(r.FREIBETRAG, 2);
        p.AFARATE = core::round_to(r.STVORTEIL, 2);
    }
    return !rows.empty();
}

void fp2_tax_pass(std::vector<Fp1Row>& rows, const Fp2Income& in, int tax_year) {
    if (!(in.NEINKOMM > 0 || in.NMIETE > 0)) return;
    double income = in.NEINKOMM, rent = in.NMIETE;
    const int divisor = in.NFAMSTAND == 2 ? 2 : 1;
    auto tax = [&](double x) { return einksteuer(divisor, core::round_to(x, 2), tax_year); };
    for (std::size_t k = 0; k < rows.size(); ++k) {
        Fp1Row& r = rows[k];
        if (k > 0) {
            income += income / 100 * in.NEINKSTEIG;
            rent += rent / 100 * in.NMIETSTEIG;
        }
        // The taxes take the two-decimal values the row stores, computed here rather than read
        // back, so an amount too wide for its field after decades of growth still counts.
        const double einkomm = core::round_to(income, 2), miete = core::round_to(rent, 2);
        r.EINKOMM = einkomm;
        r.MIETE = miete;
        double t1 = 0, t2 = 0;
        if (income > 0 && rent > 0) {
            t1 = tax(einkomm + miete);
            t2 = tax(einkomm + miete + r.BSSPZINS - r.AFA - r.ZINSENGES);
        } else if (in.NEINKOMM > 0) {
            t1 = tax(einkomm);
            t2 = tax(einkomm + r.BSSPZINS - r.AFA - r.ZINSENGES);
        } else {
            continue;
        }
        r.AFAEKST1 = core::round_to(t1, 2);
        r.AFAEKST2 = core::round_to(t2, 2);
        r.STEUERERL = core::round_to(t1 - t2, 2);
    }
}

Fp1Outcome fp2_rech(const Fp1Include& inc, const Fp2Sources& src, const Fp2Income& income, int tax_year) {
    VESTRAL_OP("FP2_RECH");
    Fp1Outcome out;
    Fp1Plan plan;
    double nraten = 0, nzinsen = 0;
    bool ran = fp_loan_passes(plan, inc, src.loans, nraten, nzinsen);
    if (inc.afa && src.afa && fp2_depreciation_pass(plan, *src.afa)) ran = true;
    out.rows = plan.rows();
    fp2_tax_pass(out.rows, income, tax_year);
    out.NLJAHRE = static_cast<int>(out.rows.size());
    out.NRATEN = core::round_to(nraten, 2);
    out.NZINSEN = core::round_to(nzinsen, 2);
    out.LOK = ran;
    return out;
}

}  // namespace vestral::calc
