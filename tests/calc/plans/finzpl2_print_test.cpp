// The printed letting financing plan: the depreciation section and the eleven-column overview.
#include <gtest/gtest.h>

#include <QDir>
#include <QString>
#include <algorithm>
#include <cstdlib>

#include "calc/plans/finzpl1_print.h"
#include "calc/plans/finzpl2.h"
#include "core/ini.h"
#include "toolkit/print.h"

using namespace vestral;
using calc::Fp1PrintInput;
using calc::Fp1Row;
using toolkit::PrintAlign;
using toolkit::PrintItem;
using toolkit::PrintJob;

namespace {

constexpr const char* kTitle = "Vestralon 1.0";

bool has(const std::vector<std::string>& v, const std::string& t) {
    return std::find(v.begin(), v.end(), t) != v.end();
}

std::vector<std::string> at_col(const PrintJob& job, int page, double col, PrintAlign align) {
    std::vector<std::string> out;
    for (const PrintItem& it : job.pages[page].items)
        if (it.kind == PrintItem::Kind::Text && it.align == align && std::abs(it.col - col) < 0.01)
            out.push_back(it.text);
    return out;
}

// Depreciation from 2007 for `years` years, rent 12 000 and no income.
Fp1PrintInput depreciation_only(int years) {
    Fp1PrintInput in;
    in.variant = calc::FpVariant::Letting;
    in.inc.afa = true;
    for (int k = 0; k < years; ++k) {
        Fp1Row r;
        r.JAHR = 2007 + k;
        r.AFA = 2000;
        r.AFARATE = 2;
        r.MIETE = 12000;
        in.rows.push_back(r);
    }
    in.user.NMIETE = {12000, 2};
    in.afa75.AfADau = 50;
    in.afa75.AfASum = 100000;
    in.afa75.Abschreibung = "linear 2 %";
    return in;
}

}  // namespace

TEST(Fp2Print, DepreciationWithRentAndNoIncomePrintsEveryYear) {
    const auto jobs = calc::fp1_druck(depreciation_only(50), true, false, kTitle);
    ASSERT_EQ(jobs.size(), 1u);
    const PrintJob& job = jobs[0];
    EXPECT_EQ(job.name, "Finanzierungsplan bei Vermietung");
    ASSERT_GE(job.page_count(), 2);
    const auto first = job.texts(0);
    EXPECT_TRUE(has(first, "Vestralon 1.0 - Finanzierungsplan bei Vermietung"));
    EXPECT_TRUE(has(first, "3. Abschreibung für Abnutzung:"));
    EXPECT_TRUE(has(first, "linear 2 %"));
    EXPECT_TRUE(has(first, "jährliche Miet-Einnahmen:"));
    EXPECT_TRUE(has(first, "12.000,00 EUR"));
    EXPECT_TRUE(has(first, "Nein"));
    EXPECT_FALSE(has(job.texts(1), "1. Finanzdaten:"));  // the details on the first page only
    const double tab = 80.0 / 11;
    std::size_t years = 0;
    for (int p = 0; p < job.page_count(); ++p) {
        const auto col = at_col(job, p, tab, PrintAlign::Left);
        ASSERT_FALSE(col.empty());
        EXPECT_EQ(col.front(), "Jahr");
        years += col.size() - 1;
        EXPECT_TRUE(has(at_col(job, p, tab * 8, PrintAlign::Right), "Mieteinnahmen"));
    }
    EXPECT_EQ(years, 50u);
    EXPECT_TRUE(has(at_col(job, 0, tab * 4, PrintAlign::Right), "2,00"));
    const auto last = job.texts(job.page_count() - 1);
    EXPECT_TRUE(has(last, "Ergebnis:"));
    EXPECT_TRUE(has(last, "Summe der Mieteinnahmen:"));
    EXPECT_TRUE(has(last, "600.000,00 EUR"));
    EXPECT_TRUE(has(last, "Dauer der Abschreibung:"));
    EXPECT_TRUE(has(last, "50 Jahre"));
}

TEST(Fp2Print, TheContractSaysSparteilAndTheOverviewHasElevenColumns) {
    Fp1PrintInput in = depreciation_only(2);
    in.inc.bau = true;
    calc::FpTerms bau;
    bau.num["SPARSATZ"] = 40;
    in.bau2 = bau;
    in.rows[0].BSEINZAHL = 1200;
    in.rows[0].KTOSTAND = 1200;
    in.rows[0].EINKOMM = 50000;
    in.rows[0].STEUERERL = 1234.56;
    const auto jobs = calc::fp1_druck(in, true, true, kTitle);
    ASSERT_EQ(jobs.size(), 2u);
    EXPECT_NE(jobs[0].find("Sparteil:"), nullptr);
    EXPECT_EQ(jobs[0].find("Sparanteil:"), nullptr);
    const PrintJob& land = jobs[1];
    EXPECT_TRUE(land.landscape);
    const double tab = 110.0 / 11;
    const auto t = land.texts(0);
    EXPECT_FALSE(has(t, "Kindergeld"));
    EXPECT_EQ(at_col(land, 0, tab * 10, PrintAlign::Right),
              (std::vector<std::string>{"Eink. + Mieten", "62.000,00", "12.000,00"}));
    EXPECT_EQ(at_col(land, 0, tab * 11, PrintAlign::Right),
              (std::vector<std::string>{"Steuerersparn.", "1.234,56", "0,00"}));
    EXPECT_EQ(at_col(land, 0, tab * 9, PrintAlign::Right),
              (std::vector<std::string>{"Kontostand", "-1.200,00", "0,00"}));
}

TEST(Fp2Print, Afa75KeysWithTheirDefaults) {
    core::IniDocument ini;
    auto v = calc::afa75_print_values(ini);
    EXPECT_EQ(v.Kaufdatum, "0");
    EXPECT_EQ(v.DatumFertig, "0");
    EXPECT_FALSE(v.AlsWohnung);
    EXPECT_EQ(v.AfADau, 0);
    ini.set("AFA75", "AlsWohnung", "1");
    ini.set("AFA75", "AfADau", "50");
    ini.set("AFA75", "Kaufdatum", "01.03.2004");
    v = calc::afa75_print_values(ini);
    EXPECT_TRUE(v.AlsWohnung);
    EXPECT_EQ(v.AfADau, 50);
    EXPECT_EQ(v.Kaufdatum, "01.03.2004");
}

// Renders the letting plan's pages for looking at them (only when a directory is named).
TEST(Fp2Print, RendersToPdfWhenAsked) {
    const char* out = std::getenv("VESTRAL_SHOTS");
    if (!out) GTEST_SKIP() << "VESTRAL_SHOTS not set";
    Fp1PrintInput in = depreciation_only(30);
    in.inc.hyp1 = true;
    calc::FpTerms h;
    h.text["BANKNAME"] = "Testbank";
    h.num = {{"HYPOTHEK", 100000}, {"ZINSSATZ", 5.125}, {"TILGJAHR", 2}, {"ABJAHR", 2007}};
    in.hyt1 = h;
    for (std::size_t k = 0; k < in.rows.size(); ++k) {
        Fp1Row& r = in.rows[k];
        r.H1SUMME = 100000 - 2500.0 * k;
        r.H1ZINSEN = 5000;
        r.H1RATEN = 7125;
        r.EINKOMM = 50000 + 1000.0 * k;
        r.STEUERERL = 2100;
    }
    in.user.NEINKOMM = {50000, 2};
    const auto jobs = calc::fp1_druck(in, true, true, kTitle);
    QDir().mkpath(out);
    EXPECT_TRUE(toolkit::render_pdf(jobs[0], QString(out) + "/finzpl2_sections.pdf"));
    EXPECT_TRUE(toolkit::render_pdf(jobs[1], QString(out) + "/finzpl2_overview.pdf"));
}
