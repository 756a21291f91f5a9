#include "calc/plans/finzpl1.h"

#include <algorithm>
#include <map>

#include "core/opstack.h"

namespace vestral::calc {

namespace {

// Every plan field keeps two decimals, so a sum carried in a field is rounded at each step, as
// the table would store it.
void add(double& field, double value) {
    field = core::round_to(field + value, 2);
}

namespace d = core::dbf;
const d::RecordMap<Fp1Row> kFinzpl1Map{"FINZPL1",
                                       {
                                           d::number("JAHR", &Fp1Row::JAHR),
                                           d::number("EINKOMM", &Fp1Row::EINKOMM),
                                           d::text("H1BANK", &Fp1Row::H1BANK),
                                           d::number("H1SUMME", &Fp1Row::H1SUMME),
                                           d::number("H1ZINSEN", &Fp1Row::H1ZINSEN),
                                           d::number("H1RATEN", &Fp1Row::H1RATEN),
                                           d::number("H1REST", &Fp1Row::H1REST),
                                           d::text("H2BANK", &Fp1Row::H2BANK),
                                           d::number("H2SUMME", &Fp1Row::H2SUMME),
                                           d::number("H2ZINSEN", &Fp1Row::H2ZINSEN),
                                           d::number("H2RATEN", &Fp1Row::H2RATEN),
                                           d::number("H2REST", &Fp1Row::H2REST),
                                           d::text("BSPBANK", &Fp1Row::BSPBANK),
                                           d::number("BSSUMME", &Fp1Row::BSSUMME),
                                           d::text("BSAKTION", &Fp1Row::BSAKTION),
                                           d::number("BSEINZAHL", &Fp1Row::BSEINZAHL),
                                           d::number("BSSPARSUM", &Fp1Row::BSSPARSUM),
                                           d::number("BSSPZINS", &Fp1Row::BSSPZINS),
                                           d::number("BSTILGSUM", &Fp1Row::BSTILGSUM),
                                           d::number("BSTIZINS", &Fp1Row::BSTIZINS),
                                           d::number("KTOSTAND", &Fp1Row::KTOSTAND),
                                           d::text("RKBANK", &Fp1Row::RKBANK),
                                           d::number("RKSUMME", &Fp1Row::RKSUMME),
                                           d::number("RKZINSEN", &Fp1Row::RKZINSEN),
                                           d::number("RKTILGUNG", &Fp1Row::RKTILGUNG),
                                           d::number("RKRATEN", &Fp1Row::RKRATEN),
                                           d::number("RKREST", &Fp1Row::RKREST),
                                           d::number("ZINSENGES", &Fp1Row::ZINSENGES),
                                           d::number("RATENGES", &Fp1Row::RATENGES),
                                           d::number("RESTGES", &Fp1Row::RESTGES),
                                           d::number("AFA", &Fp1Row::AFA),
                                           d::number("STEUERERL", &Fp1Row::STEUERERL),
                                           d::number("KINDGELD", &Fp1Row::KINDGELD),
                                       }};

template <class Row, class Key>
void sort_by(std::vector<Row>& rows, Key key) {
    std::stable_sort(rows.begin(), rows.end(), [&](const Row& a, const Row& b) { return key(a) < key(b); });
}

}  // namespace

const core::dbf::RecordMap<Fp1Row>& finzpl1_map() {
    return kFinzpl1Map;
}

void fp1_load_settings(const core::IniDocument& ini, Fp1State& s) {
    VESTRAL_OP("FP1GDATA");
    core::read_section(ini, kFp1Settings, s);
    core::read_section(ini, kFp1ReadOnlySettings, s);
    if (!(s.NBAUSPSUM.value > 0)) s.LBAUSPAR = false;
}

std::vector<core::IniFile::Entry> fp1_settings_entries(const Fp1State& s) {
    return core::section_entries(kFp1Settings, s);
}

void fp1_take_bausp(const BauspTakeOver& t, Fp1State& s) {
    s.NBAUSPSUM = t.NBAUSPSUM;
    s.NSPARTEIL = t.NSPARTEIL;
    s.NSPARSUM = t.NSPARSUM;
    s.NLAUFZS = t.NLAUFZS;
    s.NMONRATES = t.NMONRATES;
    s.NTILGSUM = t.NTILGSUM;
    s.NLAUFZT = t.NLAUFZT;
    s.NMONRATET = t.NMONRATET;
}

void fp1_take_afa(const AfaValues& a, Fp1State& s) {
    s.NABSCHREIB = a.NABSCHREIB;
    s.NKINDGELD = a.NKINDGELD;
    s.LABSCHREIB = a.NABSCHREIB.value + a.NKINDGELD.value > 0;
}

Fp1Include fp1_include(const Fp1State& s) {
    return {s.LHYPOTH1, s.LHYPOTH2, s.LBAUSPAR, s.LSONSDARL, s.LABSCHREIB, s.LNURTILG};
}

Fp1Row& Fp1Plan::year(int jahr) {
    for (Fp1Row& r : rows_)
        if (r.JAHR == jahr) return r;
    rows_.push_back({});
    rows_.back().JAHR = jahr;
    return rows_.back();
}

std::vector<Fp1Row> Fp1Plan::rows() const {
    std::vector<Fp1Row> out = rows_;
    sort_by(out, [](const Fp1Row& r) { return r.JAHR; });
    return out;
}

bool fp1_mortgage_pass(Fp1Plan& plan, std::vector<HypoRow> rows, int which, double& nraten, double& nzinsen) {
    sort_by(rows, [](const HypoRow& r) { return r.ABJAHR; });
    if (rows.empty()) return false;
    nraten += rows.front().HYPOTHEK;
    for (std::size_t i = 0; i < rows.size();) {
        const int jahr = rows[i].ABJAHR;
        Fp1Row& p = plan.year(jahr);
        std::string& bank = which == 1 ? p.H1BANK : p.H2BANK;
        double& summe = which == 1 ? p.H1SUMME : p.H2SUMME;
        double& zinsen = which == 1 ? p.H1ZINSEN : p.H2ZINSEN;
        double& raten = which == 1 ? p.H1RATEN : p.H2RATEN;
        double& rest = which == 1 ? p.H1REST : p.H2REST;
        bank = rows[i].BANKNAME;
        summe = -rows[i].HYPOTHEK;
        for (; i < rows.size() && rows[i].ABJAHR == jahr; ++i) {
            const HypoRow& r = rows[i];
            add(zinsen, r.ZINSEN);
            add(raten, r.ANUITAT);
            rest = r.RESTHYP;
            add(p.ZINSENGES, r.ZINSEN);
            add(p.RATENGES, r.ANUITAT);
            p.RESTGES = rest;
        }
        nzinsen += zinsen;
    }
    return true;
}

bool fp1_contract_pass(Fp1Plan& plan, std::vector<BausparRow> rows, bool nur_tilg, double& nraten,
                       double& nzinsen) {
    sort_by(rows, [](const BausparRow& r) { return r.JAHR; });
    for (const BausparRow& r : rows) {
        Fp1Row& p = plan.year(r.JAHR);
        if (r.TILGUNG == 0 && !nur_tilg) {
            add(p.BSEINZAHL, r.EINZAHLUNG);
            p.BSSPARSUM = r.GUTHABEN;
            add(p.BSSPZINS, r.ZINSEN);
            p.KTOSTAND = r.KTOSTAND;
            nraten += r.EINZAHLUNG;
            nzinsen -= r.ZINSEN;
        } else if (r.TILGUNG > 0) {
            add(p.BSEINZAHL, r.EINZAHLUNG);
            add(p.BSTILGSUM, r.TILGUNG);
            add(p.BSTIZINS, -r.ZINSEN);
            p.KTOSTAND = r.KTOSTAND;
            nraten += r.TILGUNG;
            nzinsen += r.ZINSEN;
        }
        p.BSPBANK = r.BANKNAME;
        p.RATENGES = r.KTOSTAND;
    }
    return !rows.empty();
}

bool fp1_credit_pass(Fp1Plan& plan, std::vector<RkRow> rows, double& nraten, double& nzinsen) {
    std::stable_sort(rows.begin(), rows.end(), [](const RkRow& a, const RkRow& b) {
        return a.JAHR != b.JAHR ? a.JAHR < b.JAHR : a.MONAT < b.MONAT;
    });
    if (rows.empty()) return false;
    nraten += rows.front().KREDIT;
    for (std::size_t i = 0; i < rows.size();) {
        const int jahr = rows[i].JAHR;
        Fp1Row& p = plan.year(jahr);
        p.RKBANK = rows[i].BANKNAME;
        p.RKSUMME = -rows[i].KREDIT;
        for (; i < rows.size() && rows[i].JAHR == jahr; ++i) {
            const RkRow& r = rows[i];
            add(p.RKZINSEN, r.ZINSEN);
            add(p.RKTILGUNG, r.TILGUNG);
            add(p.RKRATEN, r.MONRATE);
            p.RKREST = core::round_to(r.KREDIT - r.TILGUNG, 2);
            add(p.RATENGES, r.GETILGT);
        }
        nzinsen += p.RKZINSEN;
    }
    return true;
}

bool fp1_allowance_pass(Fp1Plan& plan, std::vector<AbschRow> rows) {
    sort_by(rows, [](const AbschRow& r) { return r.JAHR; });
    for (const AbschRow& r : rows) {
        Fp1Row& p = plan.year(r.JAHR);
        p.EINKOMM = r.EINKOMM;
        p.AFA = r.ABSCHJAHR;
        p.KINDGELD = r.KINDJAHR;
        p.STEUERERL = r.STEUERERL;
    }
    return !rows.empty();
}

bool fp_loan_passes(Fp1Plan& plan, const Fp1Include& inc, const Fp1Sources& src, double& nraten,
                    double& nzinsen) {
    bool ran = false;
    if (inc.hyp1 && src.hyp1) {
        fp1_mortgage_pass(plan, *src.hyp1, 1, nraten, nzinsen);
        ran = true;
    }
    if (inc.hyp2 && src.hyp2) {
        fp1_mortgage_pass(plan, *src.hyp2, 2, nraten, nzinsen);
        ran = true;
    }
    if (inc.bau && src.bau) {
        fp1_contract_pass(plan, *src.bau, inc.nur_tilg, nraten, nzinsen);
        ran = true;
    }
    if (inc.kre && src.kre && fp1_credit_pass(plan, *src.kre, nraten, nzinsen)) ran = true;
    return ran;
}

Fp1Outcome fp1_rech(const Fp1Include& inc, const Fp1Sources& src) {
    VESTRAL_OP("FP1_RECH");
    Fp1Outcome out;
    Fp1Plan plan;
    double nraten = 0, nzinsen = 0;
    bool ran = fp_loan_passes(plan, inc, src, nraten, nzinsen);
    // The allowance counts only when it read a row.
    if (inc.afa && src.afa && fp1_allowance_pass(plan, *src.afa)) ran = true;
    out.rows = plan.rows();
    out.NLJAHRE = static_cast<int>(out.rows.size());
    out.NRATEN = core::round_to(nraten, 2);
    out.NZINSEN = core::round_to(nzinsen, 2);
    out.LOK = ran;
    return out;
}

void fp_check_copies(Fp1State& s, const Fp1CopyHeads& heads, FpVariant v) {
    const bool owner = v == FpVariant::Owner;
    auto mortgage = [owner](const std::optional<std::optional<HypoRow>>& head, bool& include, double& sum,
                            double& rate) {
        if (!head) {
            include = false;
            sum = 0;
        } else if (*head) {
            sum = (*head)->HYPOTHEK;
            if (owner) rate = (*head)->ANUITAT;
        }
    };
    mortgage(heads.hyp1, s.LHYPOTH1, s.NHYPOSUM1, s.NMONRATE1);
    mortgage(heads.hyp2, s.LHYPOTH2, s.NHYPOSUM2, s.NMONRATE2);
    if (!heads.kre) {
        s.LSONSDARL = false;
        s.NDARLSUM = 0;
        if (owner) s.NMONRATEK = 0;
    } else if (*heads.kre) {
        s.NDARLSUM = (*heads.kre)->KREDIT;
        if (owner) s.NMONRATEK = (*heads.kre)->MONRATE;
    }
}

void fp1_checkdata(Fp1State& s, const Fp1CopyHeads& heads, const UserValues& user, const AfaValues& afa) {
    VESTRAL_OP("CHECKDATA");
    fp_check_copies(s, heads, FpVariant::Owner);
    s.NEINKOMM = user.NEINKOMM;
    s.NKINDER = user.NKINDER;
    s.NFAMSTAND = user.NFAMSTAND;
    s.NABSCHREIB = afa.NABSCHREIB;
    s.NKINDGELD = afa.NKINDGELD;
}

Fp1View fp1_view(const Fp1State& s, bool bau_rows) {
    Fp1View v;
    v.hyp1_box = s.NHYPOSUM1 > 0;
    v.hyp2_box = s.NHYPOSUM2 > 0;
    v.bau_box = s.NBAUSPSUM.value > 0 || bau_rows;
    v.nurtilg_box = v.bau_box;
    v.kre_box = s.NDARLSUM > 0;
    v.afa_box = s.NEINKOMM.value > 0;
    v.compute = s.LHYPOTH1 || s.LHYPOTH2 || s.LBAUSPAR || s.LSONSDARL || s.LABSCHREIB;
    v.results = s.LOK;
    v.hyp1_grey = !(s.LHYPOTH1 && s.NHYPOSUM1 > 0);
    v.hyp2_grey = !(s.LHYPOTH2 && s.NHYPOSUM2 > 0);
    v.bau_grey = !s.LBAUSPAR;
    v.kre_grey = !(s.LSONSDARL && s.NDARLSUM > 0);
    v.afa_grey = !s.LABSCHREIB;
    return v;
}

Fp1Grid fp_grid(const Fp1Include& inc, FpVariant variant, double neinkomm, double nmiete) {
    using V = Fp1Value;
    const bool letting = variant == FpVariant::Letting;
    const int included = int(inc.hyp1) + int(inc.hyp2) + int(inc.bau) + int(inc.kre) + int(inc.afa);
    // A typed income puts the letting plan's grid in the combined mode, whatever is included.
    const bool combined = included >= 2 || (letting && neinkomm > 0);
    const bool alone = included == 1 && !combined;
    Fp1Grid g;
    g.columns.push_back({"Jahr ", V::Jahr});
    if (inc.hyp1) {
        g.columns.push_back({"1. Hypothek ", V::H1Summe});
        if (alone) {
            g.text = "Nur 1. Hypothek";
            g.columns.push_back({"Jahresraten ", V::H1Raten});
            g.columns.push_back({"Jahreszinsen ", V::H1Zinsen});
            g.columns.push_back({"Jahrestilgung ", V::H1Tilgung});
        }
    }
    if (inc.hyp2) {
        g.columns.push_back({"2. Hypothek ", V::H2Summe});
        if (alone) {
            g.text = "Nur 2. Hypothek";
            g.columns.push_back({"Jahresraten ", V::H2Raten});
            g.columns.push_back({"Jahreszinsen ", V::H2Zinsen});
            g.columns.push_back({"Jahrestilgung ", V::H2Tilgung});
        }
    }
    if (inc.bau) {
        g.columns.push_back({"BSP Kontostand ", V::Ktostand});
        if (alone) {
            g.text = "Nur Bausparen";
            g.columns.push_back({"BSP Einzahlung ", V::BsEinzahl});
            g.columns.push_back({"BSP Zinsen ", V::BsZinsen});
        }
    }
    if (inc.kre) {
        g.columns.push_back({"Ratenkredit ", V::RkSumme});
        if (alone) {
            g.text = "Nur Ratenkredit";
            g.columns.push_back({"RK Jahreszinsen ", V::RkZinsen});
            g.columns.push_back({"RK Jahrestilgung ", V::RkTilgung});
            g.columns.push_back({"RK Jahresraten ", V::RkRaten});
        }
    }
    if (inc.afa && letting) {
        // The depreciation has no single-source mode.
        g.columns.push_back({"Abschreibung ", V::Afa});
        g.columns.push_back({"AfA-Rate ", V::AfaRate});
    }
    if (letting && neinkomm > 0) {
        g.columns.push_back({"Einkommen ", V::Einkomm});
        if (nmiete > 0) g.columns.push_back({"Mieteinn. ", V::Miete});
        g.columns.push_back({"Steuererleicht. ", V::Steuererl});
    }
    if (inc.afa && !letting) {
        g.columns.push_back({"EH-Förderung ", V::Afa});
        g.columns.push_back({"Kindergeld ", V::Kindgeld});
        if (alone) {
            g.text = "Nur Eigenheimförderung";
            g.columns.push_back({"Einkommen ", V::Einkomm});
            g.columns.push_back({"Steuerersparn. ", V::Steuererl});
        }
    }
    if (combined) {
        std::vector<std::string> names;
        if (inc.hyp1) names.push_back("1. Hypothek");
        if (inc.hyp2) names.push_back("2. Hypothek");
        if (inc.bau) names.push_back("Bausparen");
        if (inc.kre) names.push_back("Ratenkredit");
        if (inc.afa) names.push_back(letting ? "Abschreibung" : "Eigenheim-Förderung");
        if (letting && neinkomm > 0) names.push_back("Einkommen");
        if (letting && nmiete > 0) names.push_back("Mieteinnahmen");
        g.text.clear();
        for (std::size_t i = 0; i < names.size(); ++i) g.text += (i ? " und " : "") + names[i];
        g.columns.push_back({"Zinsen gesamt ", V::ZinsenGesamt});
        g.columns.push_back({"Raten gesamt ", V::RatenGesamt});
        g.columns.push_back({"Kontostand ", V::KontostandGesamt});
    }
    return g;
}

double fp1_value(Fp1Value v, const Fp1Row& r, const Fp1Include& inc) {
    using V = Fp1Value;
    switch (v) {
        case V::Jahr:
            return r.JAHR;
        case V::H1Summe:
            return r.H1SUMME;
        case V::H1Raten:
            return r.H1RATEN;
        case V::H1Zinsen:
            return r.H1ZINSEN;
        case V::H1Tilgung:
            return core::round_to(r.H1RATEN - r.H1ZINSEN, 2);
        case V::H2Summe:
            return r.H2SUMME;
        case V::H2Raten:
            return r.H2RATEN;
        case V::H2Zinsen:
            return r.H2ZINSEN;
        case V::H2Tilgung:
            return core::round_to(r.H2RATEN - r.H2ZINSEN, 2);
        case V::Ktostand:
            return r.KTOSTAND;
        case V::BsEinzahl:
            return r.BSEINZAHL;
        case V::BsZinsen:
            return core::round_to(r.BSTIZINS + r.BSSPZINS, 2);
        case V::RkSumme:
            return r.RKSUMME;
        case V::RkZinsen:
            return r.RKZINSEN;
        case V::RkTilgung:
            return r.RKTILGUNG;
        case V::RkRaten:
            return r.RKRATEN;
        case V::Afa:
            return r.AFA;
        case V::Kindgeld:
            return r.KINDGELD;
        case V::Einkomm:
            return r.EINKOMM;
        case V::Steuererl:
            return r.STEUERERL;
        case V::AfaRate:
            return r.AFARATE;
        case V::Miete:
            return r.MIETE;
        case V::ZinsenGesamt: {
            double z = 0;
            if (inc.hyp1) z += r.H1ZINSEN;
            if (inc.hyp2) z += r.H2ZINSEN;
            if (inc.bau) z -= r.BSSPZINS + r.BSTIZINS;
            if (inc.kre) z += r.RKZINSEN;
            return core::round_to(z, 2);
        }
        case V::RatenGesamt: {
            double z = 0;
            if (inc.hyp1) z += r.H1RATEN;
            if (inc.hyp2) z += r.H2RATEN;
            if (inc.bau) z += r.BSEINZAHL;
            if (inc.kre) z += r.RKRATEN;
            return core::round_to(z, 2);
        }
        case V::KontostandGesamt: {
            double z = 0;
            if (inc.hyp1) z += r.H1SUMME;
            if (inc.hyp2) z += r.H2SUMME;
            if (inc.bau) z += r.KTOSTAND;
            if (inc.kre) z += r.RKSUMME;
            return core::round_to(z, 2);
        }
    }
    return 0;
}

}  // namespace vestral::calc
