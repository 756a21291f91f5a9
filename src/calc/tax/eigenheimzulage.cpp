#include "calc/tax/eigenheimzulage.h"

#include <algorithm>

#include "calc/tax/einksteuer.h"
#include "core/clock.h"
#include "core/numbers.h"
#include "core/opstack.h"

namespace vestral::calc {

namespace {

constexpr int kLedig = 1;
constexpr int kVerheiratet = 2;

// The highest application year the field accepts.
constexpr int kLatestApplicationYear = 2020;

// `percent` of the price, at most `cap`; the rate shrinks with the cap.
void capped_share(double price, double percent, double cap, AbschrResults& r) {
    double share = price / 100 * percent;
    if (share <= cap) {
        r.NABSCHJAHR = share;
        r.NFOERDRATE = percent;
    } else {
        r.NABSCHJAHR = cap;
        r.NFOERDRATE = core::div0(100, price) * cap;
    }
}

void child_and_totals(double per_child, int children, AbschrResults& r) {
    r.NKINDJAHR = per_child * children;
    r.NKINDGELD = kGrantYears * r.NKINDJAHR;
    r.NABSCHREIB = kGrantYears * r.NABSCHJAHR + r.NKINDGELD;
}

// Applications in 2004 and 2005: 1 % of the price, at most 1,250, and 800 per child. The single
// person's limit is compared with half the two-year income, the couple's with all of it.
bool grant_2004(const AbschrInputs& in, double half, AbschrResults& r) {
    bool within = (in.NFAMSTAND == kLedig && half <= 70'000 + 30'000.0 * in.NKINDER) ||
                  (in.NFAMSTAND == kVerheiratet && in.NEINKOMM <= 140'000 + 30'000.0 * in.NKINDER);
    if (!within) return false;
    if (in.LA10E) capped_share(in.NKAUFPREIS, 5, 1'250, r);
    // A rate above 1 is brought down to 1 % of the price; with the cap above, the allowance is 1 %
    // of the price, at most 1,250.
    if (r.NFOERDRATE > 1) {
        r.NABSCHJAHR = in.NKAUFPREIS / 100;
        r.NFOERDRATE = 1;
    }
    child_and_totals(800, in.NKINDER, r);
    return true;
}

// Applications before 2004. From 2000 the limits rise per child; before 2000 they do not.
bool grant_before_2004(const AbschrInputs& in, AbschrResults& r) {
    const int year = in.NEINZUG;
    bool within =
        (year > 1999 && ((in.NFAMSTAND == kLedig && in.NEINKOMM <= 81'807 + 30'678.0 * in.NKINDER) ||
                         (in.NFAMSTAND == kVerheiratet && in.NEINKOMM <= 163'613 + 30'678.0 * in.NKINDER))) ||
        (year < 2000 && ((in.NFAMSTAND == kLedig && in.NEINKOMM <= 120'000) ||
                         (in.NFAMSTAND == kVerheiratet && in.NEINKOMM <= 240'000)));
    if (!within) return false;
    if (in.LA10E) {
        if (in.LNEUBAU)
            capped_share(in.NKAUFPREIS, 5, 2'556, r);
        else
            capped_share(in.NKAUFPREIS, 2.5, 1'278, r);
    }
    // The eco bonus is paid even when the allowance itself is not claimed.
    if (in.LOEKOZUL) r.NABSCHJAHR += std::min(in.NKAUFPREIS / 100 * 2, 256.0);
    if (in.LNEUBAU && in.LENERGIE) r.NABSCHJAHR += 205;
    child_and_totals(767, in.NKINDER, r);
    return true;
}

}  // namespace

AbschrOutcome abschrech(const AbschrInputs& in) {
    VESTRAL_OP("ABSCHRECH");
    AbschrOutcome out;
    const double half = in.NEINKOMM / 2;
    bool granted = false;
    if (in.NEINZUG > kLastGrantYear) {
        out.no_longer_granted = true;
    } else if (in.NEINZUG > 2003) {
        granted = grant_2004(in, half, out.results);
    } else {
        granted = grant_before_2004(in, out.results);
    }
    if (!granted) out.results = AbschrResults{};
    out.rows = abschepl_rows(in, out.results);
    return out;
}

std::vector<AbschRow> abschepl_rows(const AbschrInputs& in, const AbschrResults& r) {
    VESTRAL_OP("WRITEDBF");
    std::vector<AbschRow> rows;
    if (!(r.NABSCHJAHR > 0 || r.NKINDJAHR > 0)) return rows;
    double income = in.NEINKOMM;
    for (int i = 1; i <= kGrantYears; ++i) {
        int year = in.NEINZUG + i - 1;
        double saving = einksteuer(in.NFAMSTAND, income, year) -
                        einksteuer(in.NFAMSTAND, income - r.NABSCHJAHR - r.NKINDJAHR, year);
        rows.push_back(AbschRow{year, income, in.NEINKSTEIG, r.NABSCHJAHR, r.NKINDJAHR, saving});
        income = income + income / 100 * in.NEINKSTEIG;
    }
    return rows;
}

core::InpFail abschr_check(AbschrField field, const AbschrInputs& in) {
    switch (field) {
        case AbschrField::Einkommen:
            return {"Einkommen", in.NEINKOMM, {0, 0}, {9999999, 0}, "", "", ""};
        case AbschrField::EinkSteig:
            return {"Einkommensteigerung", in.NEINKSTEIG, {0, 0}, {99, 0}, "", "", ""};
        case AbschrField::Kinder:
            return {"Kinder", static_cast<double>(in.NKINDER), {0, 0}, {30, 0}, "", "", ""};
        case AbschrField::Kaufpreis:
            return {"Immobilienpreis", in.NKAUFPREIS, {1, 0}, {99999999, 0}, "", "", ""};
        case AbschrField::Einzug:
            break;
    }
    return {
        "Einzugsjahr", static_cast<double>(in.NEINZUG), {1980, 0}, {kLatestApplicationYear, 0}, "", "", ""};
}

int abschr_default_year() {
    return std::min(core::today().year, kLatestApplicationYear);
}

std::string abschr_default_year_text() {
    return std::to_string(abschr_default_year());
}

AbschrInputs abschr_load_settings(const core::IniDocument& ini) {
    VESTRAL_OP("ABSCHR_GDATA");
    AbschrInputs in;
    core::read_section(ini, kAbschrUserSettings, in);
    core::read_section(ini, kAbschrObjektSettings, in);
    core::read_section(ini, kAbschrAfaSettings, in);
    return in;
}

std::vector<core::IniFile::SectionEntries> abschr_settings_sections(const AbschrInputs& in,
                                                                    const AbschrResults& r) {
    return {core::section_write(kAbschrUserSettings, in, r),
            core::section_write(kAbschrObjektSettings, in, r),
            core::section_write(kAbschrAfaSettings, in, r)};
}

UserValues user_values(const core::IniDocument& ini) {
    return core::read_section(ini, kUserSettings);
}
ObjektValues objekt_values(const core::IniDocument& ini) {
    return core::read_section(ini, kObjektSettings);
}
AfaValues afa_values(const core::IniDocument& ini) {
    return core::read_section(ini, kAfaSettings);
}

}  // namespace vestral::calc
