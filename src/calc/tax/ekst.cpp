#include "calc/tax/ekst.h"

#include <algorithm>

#include "calc/tax/einksteuer.h"
#include "core/clock.h"
#include "core/numbers.h"
#include "core/opstack.h"

namespace vestral::calc {

namespace {
// The highest start year the field accepts.
constexpr int kEkstLatestStartYear = 2005;
}  // namespace

int ekst_years(int start_year) {
    return std::max(0, kEkstLastYear - start_year + 1);
}

EkstOutcome ekstmake(const EkstInputs& in) {
    VESTRAL_OP("EKSTMAKE");
    EkstOutcome out;
    EkstResults& r = out.results;
    double income = in.NEINKOMM;
    r.NJAHRE = ekst_years(in.NABJAHR);
    for (int i = 1; i <= r.NJAHRE; ++i) {
        int year = in.NABJAHR + i - 1;
        if (i > 1) income = income + income / 100 * in.NEKSTEIG;
        double tax = einksteuer(in.NFAMSTAND, income, year);
        double soli = year >= kSoliFirstYear ? tax / 100 * kSoliRate : 0.0;
        double burden = core::div0(100, income) * (tax + soli);
        out.rows.push_back(EkstRow{year, income, in.NEKSTEIG, tax, soli, burden});
        r.NEINKSU += income;
        r.NEINKST += tax;
        r.NSOLIZU += soli;
        r.NBELAST += burden;
    }
    r.NBELAST = core::div0(r.NBELAST, r.NJAHRE);
    return out;
}

core::InpFail ekstcheck(int n, const EkstInputs& in) {
    switch (n) {
        case 1:
            return {"Einkommen", in.NEINKOMM, {20000, 0}, {99999999, 0}, "", "", ""};
        case 2:
            return {"ab Jahr", static_cast<double>(in.NABJAHR), {1958, 0}, {kEkstLatestStartYear, 0}, "", "",
                    ""};
        default:
            return {"Einkommensteigerung", in.NEKSTEIG, {0, 0}, {9, 0}, "1,0", "", "%"};
    }
}

std::vector<int> ekstcheck_failures(const EkstInputs& in) {
    std::vector<int> failed;
    for (int n : kEkstcheckOrder)
        if (!core::inpfail_passes(ekstcheck(n, in))) failed.push_back(n);
    return failed;
}

int ekst_default_start_year() {
    return std::min(core::today().year, kEkstLatestStartYear);
}

std::string ekstshow_year_cell(int year) {
    const char* marker = year < 2000 ? "#  " : year > 2005 ? "*  " : "";
    std::string digits = std::to_string(year);
    if (digits.size() < 4) digits.insert(0, 4 - digits.size(), ' ');
    return std::string(marker) + " " + digits + " ";
}

std::string ekst_default_start_year_text() {
    return std::to_string(ekst_default_start_year());
}

EkstInputs ekst_load_settings(const core::IniDocument& ini) {
    VESTRAL_OP("EKSTGDATA");
    return core::read_section(ini, kEkstSettings);
}

std::vector<core::IniFile::Entry> ekst_settings_entries(const EkstInputs& in) {
    return core::section_entries(kEkstSettings, in);
}

}  // namespace vestral::calc
