#include "calc/purchase/kaufmiet.h"

#include <gtest/gtest.h>

#include "core/numbers.h"
#include "support/core_tempdir.h"

using namespace vestral;
using calc::km_rech;
using calc::KmInputs;

namespace {

double cents(double v) {
    return core::round_to(v, 2);
}

KmInputs first_case() {
    KmInputs in;
    in.NKALTMIETE = 500;
    in.NMIETERH = 2;
    in.NKAUFPREIS = 100000;
    in.NEIGENKAP = 20000;
    in.NHYPOZINS = 5;
    in.NTILGANNO = 2;
    return in;
}

}  // namespace

TEST(KaufMiet, FirstCaseToTheCent) {
    const auto out = km_rech(first_case());
    ASSERT_FALSE(out.refused);
    const auto& r = out.results;
    EXPECT_EQ(cents(out.NANUITAT), 5600.00);
    EXPECT_EQ(cents(r.NMONRATE), 466.70);
    EXPECT_EQ(r.NJAHRE, 26);
    EXPECT_EQ(cents(r.NZINSSUM), 60591.74);
    EXPECT_EQ(cents(r.NMIETESUM), 202025.43);
    EXPECT_EQ(cents(r.NMIETE30), 820.30);
    EXPECT_EQ(cents(r.NDIFF), 141433.69);

    ASSERT_EQ(out.rows.size(), 26u);
    const auto& y1 = out.rows.front();
    EXPECT_EQ(y1.JAHR, 1);
    EXPECT_EQ(cents(y1.HYPOTHEK), 78362.41);
    EXPECT_EQ(cents(y1.MIETEJA), 6000.00);
    EXPECT_EQ(cents(y1.MIETEMO), 500.00);
    EXPECT_EQ(cents(y1.MIETEGE), 6000.00);
    EXPECT_EQ(cents(y1.ZINSEN), 3962.81);
    EXPECT_EQ(cents(y1.TILGSUM), 1637.59);
    EXPECT_EQ(cents(y1.ANNUITJA), 5600.00);
    EXPECT_EQ(cents(y1.ANNUITAT), 466.70);
    EXPECT_EQ(cents(out.rows[1].MIETEJA), 6120.00);
    EXPECT_EQ(cents(out.rows[1].MIETEGE), 12120.00);

    const auto& last = out.rows.back();
    EXPECT_EQ(last.JAHR, 26);
    EXPECT_EQ(cents(last.ANNUITAT), 437.40);
    EXPECT_EQ(last.HYPOTHEK, 0.0);
    EXPECT_EQ(cents(last.TILGSUM), 80000.00);
    EXPECT_EQ(cents(last.ZINSEN), 60591.74);
    EXPECT_EQ(cents(last.MIETEGE), 202025.43);
    EXPECT_EQ(cents(last.MIETEMO), 820.30);
    // Every year but the last pays the rounded instalment.
    for (size_t i = 0; i + 1 < out.rows.size(); ++i) {
        EXPECT_EQ(out.rows[i].JAHR, static_cast<int>(i) + 1);
        EXPECT_EQ(out.rows[i].ANNUITAT, 466.7);
        EXPECT_GT(out.rows[i].HYPOTHEK, 0.0);
        if (i > 0) {
            EXPECT_LT(out.rows[i].HYPOTHEK, out.rows[i - 1].HYPOTHEK);
        }
    }

    ASSERT_EQ(out.chart_values.size(), 3u);
    EXPECT_EQ(out.chart_labels, (std::vector<std::string>{"Miete", "Zinsen", "Diff."}));
    EXPECT_EQ(cents(out.chart_values[0]), 202025.43);
    EXPECT_EQ(cents(out.chart_values[1]), 60591.74);
    EXPECT_EQ(cents(out.chart_values[2]), 141433.69);

    const auto d = calc::km_details(first_case(), r, !out.rows.empty());
    EXPECT_EQ(cents(d.H), 80000.00);
    EXPECT_EQ(cents(d.F), 140591.74);
    EXPECT_EQ(cents(d.D), 61433.69);
    EXPECT_FALSE(d.difference_negative);
    EXPECT_TRUE(d.grafik_enabled);
    EXPECT_TRUE(d.verlauf_enabled);
}

TEST(KaufMiet, OwnCapitalEqualToThePriceGivesNoYears) {
    auto in = first_case();
    in.NEIGENKAP = in.NKAUFPREIS;
    const auto out = km_rech(in);
    ASSERT_FALSE(out.refused);
    EXPECT_TRUE(out.rows.empty());
    EXPECT_EQ(out.results.NJAHRE, 0);
    EXPECT_EQ(out.results.NZINSSUM, 0);
    EXPECT_EQ(out.results.NMIETESUM, 0);
    EXPECT_EQ(out.results.NDIFF, 0);
    EXPECT_EQ(out.results.NMONRATE, 0);
    EXPECT_EQ(out.results.NMIETE30, 500);
    const auto d = calc::km_details(in, out.results, !out.rows.empty());
    EXPECT_EQ(d.H, 0);
    EXPECT_EQ(d.D, 0);
    EXPECT_FALSE(d.grafik_enabled);
    EXPECT_FALSE(d.verlauf_enabled);
}

TEST(KaufMiet, RestBetweenOneAndAThirteenTwelfthInstalmentsIsPaidInOneMonth) {
    // Without interest every step is exact: 12003 at 8 % repayment gives an instalment of 80.0;
    // after 149 instalments 83 remain, less than 80 + 80/12, so that month pays them all and the
    // year's instalment rises by (83 - 80) / 12.
    KmInputs in;
    in.NKALTMIETE = 500;
    in.NKAUFPREIS = 12003;
    in.NTILGANNO = 8;
    const auto out = km_rech(in);
    ASSERT_FALSE(out.refused);
    EXPECT_EQ(out.results.NMONRATE, 80.0);
    EXPECT_EQ(out.results.NJAHRE, 13);
    ASSERT_EQ(out.rows.size(), 13u);
    EXPECT_EQ(out.rows[11].HYPOTHEK, 12003.0 - 144 * 80);
    EXPECT_EQ(out.rows.back().ANNUITAT, 80.25);
    EXPECT_EQ(out.rows.back().HYPOTHEK, 0.0);
    EXPECT_EQ(out.rows.back().TILGSUM, 12003.0);
    EXPECT_EQ(out.results.NMIETESUM, 13 * 6000.0);
    EXPECT_EQ(out.results.NMIETE30, 500.0);

    // With interest: 100000 at 5 % + 4 % pays 750.00 a month; the rest of the 17th year lies in the
    // band and raises that year's instalment to 751.77.
    KmInputs in2;
    in2.NKALTMIETE = 500;
    in2.NMIETERH = 2;
    in2.NKAUFPREIS = 100000;
    in2.NHYPOZINS = 5;
    in2.NTILGANNO = 4;
    const auto out2 = km_rech(in2);
    ASSERT_FALSE(out2.refused);
    EXPECT_EQ(out2.results.NMONRATE, 750.0);
    EXPECT_EQ(out2.results.NJAHRE, 17);
    EXPECT_EQ(cents(out2.rows.back().ANNUITAT), 751.77);
    EXPECT_EQ(out2.rows.back().HYPOTHEK, 0.0);
    EXPECT_EQ(cents(out2.rows.back().TILGSUM), 100000.00);
}

TEST(KaufMiet, RestBelowOneInstalmentLowersTheLastInstalment) {
    KmInputs in;
    in.NKALTMIETE = 500;
    in.NKAUFPREIS = 12030;  // instalment 80.2; 149 instalments leave one instalment
    in.NTILGANNO = 8;
    const auto out = km_rech(in);
    ASSERT_FALSE(out.refused);
    EXPECT_EQ(out.results.NMONRATE, 80.2);
    // A rest of exactly one instalment is paid as it is, whichever branch takes it.
    EXPECT_NEAR(out.rows.back().ANNUITAT, 80.2, 1e-9);

    in.NKAUFPREIS = 12040;  // instalment 80.3; 149 instalments leave 75.3, below one instalment
    const auto out2 = km_rech(in);
    EXPECT_EQ(out2.results.NMONRATE, 80.3);
    EXPECT_NEAR(out2.rows.back().ANNUITAT, 80.3 - (80.3 - 75.3) / 12, 1e-9);
    EXPECT_EQ(out2.rows.back().HYPOTHEK, 0.0);
}

TEST(KaufMiet, RefusesALoanThatNeverFalls) {
    // 10181 at 5 %: 42.42 interest a month, but the instalment rounds down to 42.40.
    KmInputs in;
    in.NKALTMIETE = 500;
    in.NKAUFPREIS = 10181;
    in.NHYPOZINS = 5;
    in.NTILGANNO = 0.001;
    ASSERT_TRUE(calc::km_can_compute(in));
    const auto out = km_rech(in);
    EXPECT_TRUE(out.refused);
    EXPECT_EQ(out.message, "Mit dieser Tilgung wird die Hypothek nie getilgt !");
    EXPECT_EQ(out.title, "Problem");
    EXPECT_TRUE(out.rows.empty());
    EXPECT_EQ(out.results.NJAHRE, 0);
    EXPECT_EQ(out.results.NMIETESUM, 0);

    in.NTILGANNO = 0;
    EXPECT_TRUE(km_rech(in).refused);
}

TEST(KaufMiet, ASlowlyFallingLoanIsNotRefused) {
    KmInputs in;
    in.NKALTMIETE = 500;
    in.NKAUFPREIS = 100000;
    in.NHYPOZINS = 5;
    in.NTILGANNO = 0.001;
    const auto out = km_rech(in);
    ASSERT_FALSE(out.refused);
    EXPECT_EQ(out.results.NJAHRE, 162);
    EXPECT_EQ(out.rows.size(), 162u);
    EXPECT_EQ(out.rows.back().HYPOTHEK, 0.0);
}

TEST(KaufMiet, ComputeIsEnabledOnlyForPositiveInputsAndOwnCapitalWithinThePrice) {
    auto in = first_case();
    EXPECT_TRUE(calc::km_can_compute(in));
    in.NMIETERH = 0;
    in.NEIGENKAP = 0;
    EXPECT_TRUE(calc::km_can_compute(in));
    in.NEIGENKAP = in.NKAUFPREIS;
    EXPECT_TRUE(calc::km_can_compute(in));
    in.NEIGENKAP = in.NKAUFPREIS + 0.01;
    EXPECT_FALSE(calc::km_can_compute(in));

    for (double KmInputs::*field :
         {&KmInputs::NKALTMIETE, &KmInputs::NKAUFPREIS, &KmInputs::NHYPOZINS, &KmInputs::NTILGANNO}) {
        auto z = first_case();
        z.*field = 0;
        EXPECT_FALSE(calc::km_can_compute(z));
    }
}

TEST(KaufMiet, FieldChecks) {
    auto in = first_case();
    auto checks = calc::km_checks(in);
    for (const auto& c : checks) EXPECT_TRUE(core::inpfail_passes(c)) << c.name;
    EXPECT_EQ(checks[0].name, "Kaltmiete");
    EXPECT_EQ(checks[1].name, "Mieterhöhung");
    EXPECT_EQ(checks[2].name, "Kaufpreis");
    EXPECT_EQ(checks[3].name, "Hypothekenzinssatz");
    EXPECT_EQ(checks[4].name, "Tilgung pro Jahr");
    EXPECT_EQ(checks[5].name, "Eigenkapital");

    in.NHYPOZINS = 25;
    EXPECT_EQ(*core::inpfail_message(calc::km_checks(in)[3]),
              "Die Eingabe für 'Hypothekenzinssatz' ist zu hoch !\n"
              "Geben Sie einen Wert zwischen 0 und 19 ein.\n\n"
              "Durchschnittswerte: 4% bis 12%.");
    in.NMIETERH = 20;
    EXPECT_EQ(*core::inpfail_message(calc::km_checks(in)[1]),
              "Die Eingabe für 'Mieterhöhung' ist zu hoch !\n"
              "Geben Sie einen Wert zwischen 0 und 19 ein.\n\n"
              "Durchschnittswert: 3,0%.");
    in.NTILGANNO = 9.001;
    EXPECT_FALSE(core::inpfail_passes(calc::km_checks(in)[4]));
    in.NKALTMIETE = 100000;
    EXPECT_EQ(*core::inpfail_message(calc::km_checks(in)[0]),
              "Die Eingabe für 'Kaltmiete' ist zu hoch !\nGeben Sie einen Wert zwischen 0 und 99999 ein.");

    // The own capital is bounded by the price as it is now, shown as an amount.
    in = first_case();
    in.NEIGENKAP = 100000.01;
    EXPECT_EQ(*core::inpfail_message(calc::km_checks(in)[5]),
              "Die Eingabe für 'Eigenkapital' ist zu hoch !\n"
              "Geben Sie einen Wert zwischen 0 und 100000.00 ein.");
    in.NKAUFPREIS = 200000;
    EXPECT_TRUE(core::inpfail_passes(calc::km_checks(in)[5]));
}

TEST(KaufMiet, DifferenceBelowZeroDisablesTheChart) {
    auto in = first_case();
    in.NKALTMIETE = 100;
    const auto out = km_rech(in);
    ASSERT_FALSE(out.rows.empty());
    const auto d = calc::km_details(in, out.results, true);
    EXPECT_LT(d.D, 0);
    EXPECT_TRUE(d.difference_negative);
    EXPECT_FALSE(d.grafik_enabled);
    EXPECT_TRUE(d.verlauf_enabled);
}

TEST(KaufMiet, SettingsCarryTheDecimalsOfTheMasks) {
    const auto entries = calc::km_settings_entries(first_case());
    ASSERT_EQ(entries.size(), 6u);
    const std::vector<std::pair<std::string, std::string>> want = {
        {"Kaltmiete", "500.00"}, {"Kaufpreis", "100000.00"}, {"Eigenkap.", "20000.00"},
        {"HypoZins", "5.000"},   {"Mieterh.", "2.000"},      {"Tilgung", "2.000"}};
    for (size_t i = 0; i < want.size(); ++i) {
        EXPECT_EQ(entries[i].key, want[i].first);
        EXPECT_EQ(entries[i].value, want[i].second);
    }

    test::TempDir dir;
    core::IniFile ini(dir / "VESTRAL.INI");
    EXPECT_EQ(calc::km_read_settings(ini).NKAUFPREIS, 0.0);  // missing keys read as 0.00
    auto in = first_case();
    in.NHYPOZINS = 5.125;
    in.NKALTMIETE = 612.345;  // an amount keeps two decimals
    ASSERT_TRUE(ini.set_many(calc::kKmSection, calc::km_settings_entries(in)));
    const auto back = calc::km_read_settings(ini);
    EXPECT_EQ(back.NKALTMIETE, 612.35);
    EXPECT_EQ(back.NHYPOZINS, 5.125);
    EXPECT_EQ(back.NKAUFPREIS, 100000);
    EXPECT_EQ(back.NEIGENKAP, 20000);
    EXPECT_EQ(back.NMIETERH, 2);
    EXPECT_EQ(back.NTILGANNO, 2);
    EXPECT_NE(dir.read("VESTRAL.INI").find("[KAUFMIET]"), std::string::npos);
}

TEST(KaufMiet, TableLayout) {
    ASSERT_EQ(calc::kMietkaufLayout.size(), 9u);
    EXPECT_EQ(calc::kMietkaufLayout[0], (core::dbf::Field{"JAHR", 'N', 4, 0}));
    for (size_t i = 1; i < calc::kMietkaufLayout.size(); ++i) {
        EXPECT_EQ(calc::kMietkaufLayout[i].type, 'N');
        EXPECT_EQ(calc::kMietkaufLayout[i].width, 12);
        EXPECT_EQ(calc::kMietkaufLayout[i].decimals, 2);
    }
    EXPECT_EQ(calc::kMietkaufLayout[8].name, "ZINSEN");
}
