#include "calc/loans/bausparen.h"
#include "calc/loans/bausparen_example.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "core/numbers.h"

using namespace vestral;
using calc::bau_rech;
using calc::BauInputs;
using calc::BausparRow;
using core::Date;

namespace {

double cents(double v) {
    return core::round_to(v, 2);
}

BauInputs first_case() {
    return vestral::test::bausparen_first_case();
}

// No fees and no interest: the balance after n months is n x the rate, so the month in which the
// target of 6000 is passed is set by the rate alone.
BauInputs plain_case(double rate) {
    BauInputs in;
    in.CBANKNAME = "Test";
    in.NBAUSPSUM = 12000;
    in.NABJAHR = 2007;
    in.NSPARTEIL = 50;
    in.NMONRATE = rate;
    in.NTILGANNO = 10;
    in.NTZINSSTZ = 5;
    in.NTFESTZEIT = 10;
    in.NTZINSNACH = 5;
    return in;
}

const BausparRow& allocation(const std::vector<BausparRow>& rows) {
    auto it = std::find_if(rows.begin(), rows.end(), [](const BausparRow& r) { return r.CODE == 0; });
    EXPECT_NE(it, rows.end());
    return *it;
}

std::vector<BausparRow> loan_rows(const std::vector<BausparRow>& rows) {
    std::vector<BausparRow> out;
    for (const auto& r : rows)
        if (r.CODE == 2) out.push_back(r);
    return out;
}

}  // namespace

TEST(Bausparen, FirstCaseToTheCent) {
    const auto out = bau_rech(first_case());
    ASSERT_FALSE(out.refused);
    const auto& rows = out.rows;

    const auto& first = rows.front();
    EXPECT_EQ(first.DATUM, (Date{2007, 1, 30}));
    EXPECT_EQ(first.JAHR, 2007);
    EXPECT_EQ(first.KEY, 1);
    EXPECT_EQ(first.CODE, 1);
    EXPECT_EQ(first.AKTION, "Sparrate");
    EXPECT_EQ(first.BANKNAME, "Bausparkasse Nord");
    EXPECT_EQ(cents(first.GEBUEHR), 501.00);
    EXPECT_EQ(cents(first.EINZAHLUNG), 300.00);
    EXPECT_EQ(cents(first.SPAREN), 299.00);
    EXPECT_EQ(cents(first.GUTHABEN), -201.00);
    EXPECT_EQ(cents(first.KTOSTAND), -201.00);
    EXPECT_EQ(rows[1].DATUM, (Date{2007, 2, 28}));
    EXPECT_EQ(cents(rows[1].GEBUEHR), 1.00);

    // December: the month row carries the year's interest, then the year-end row follows.
    const auto& dec = rows[11];
    EXPECT_EQ(dec.DATUM, (Date{2007, 12, 30}));
    EXPECT_EQ(cents(dec.ZINSEN), 61.76);
    EXPECT_EQ(cents(dec.SPAREN), 360.76);
    EXPECT_EQ(cents(dec.GUTHABEN), 3149.76);
    const auto& ye = rows[12];
    EXPECT_EQ(ye.KEY, 2);
    EXPECT_EQ(ye.CODE, 1);
    EXPECT_EQ(ye.AKTION, "Sparraten");
    EXPECT_EQ(ye.DATUM, (Date{2007, 12, 31}));
    EXPECT_EQ(cents(ye.EINZAHLUNG), 3600.00);
    EXPECT_EQ(cents(ye.ZINSEN), 61.76);
    EXPECT_EQ(cents(ye.GUTHABEN), 3149.76);
    EXPECT_EQ(cents(ye.KTOSTAND), 3149.76);
    EXPECT_EQ(cents(ye.GEBUEHR), 1.00);
    EXPECT_EQ(cents(ye.SPARSUM), 12 * 299 + 61.76);  // net savings leave the contract fee out
    EXPECT_EQ(rows[13].DATUM, (Date{2008, 1, 30}));
    EXPECT_EQ(cents(rows[13].GEBUEHR), 1.00);

    const auto& alloc = allocation(rows);
    EXPECT_EQ(alloc.AKTION, "Zuteilung erfolgt");
    EXPECT_EQ(alloc.KEY, 1);
    EXPECT_EQ(alloc.BANKNAME, "");
    EXPECT_EQ(alloc.DATUM, (Date{2012, 7, 1}));
    EXPECT_EQ(alloc.JAHR, 2012);
    EXPECT_EQ(cents(alloc.GUTHABEN), 20287.50);
    EXPECT_EQ(cents(alloc.KREDIT), 29712.50);
    EXPECT_EQ(cents(alloc.KTOSTAND), -29712.50);

    const auto& res = out.results;
    EXPECT_EQ(cents(res.NSMONATE), 5.06);
    EXPECT_EQ(cents(res.NSSUMME), 20287.50);
    EXPECT_EQ(cents(res.NTSUMME), 29712.50);
    EXPECT_EQ(cents(res.NMONTILG), 247.60);
    EXPECT_EQ(cents(res.NTMONATE), 12.10);
    EXPECT_EQ(cents(res.NTZINSEN), 8295.58);
    EXPECT_EQ(cents(res.NZSUMME), 38162.08);
    EXPECT_EQ(cents(res.NGEBSUM), 720.00);

    const auto loan = loan_rows(rows);
    ASSERT_EQ(loan.size(), 154u);
    EXPECT_EQ(loan.front().DATUM, (Date{2012, 7, 30}));
    EXPECT_EQ(loan.front().AKTION, "Tilgungsrate");
    // The first loan month's interest also runs on that month's account fee.
    EXPECT_DOUBLE_EQ(loan.front().ZINSEN, (res.NTSUMME + 1) / 100 * 4 / 12);
    EXPECT_DOUBLE_EQ(loan.front().TILGUNG, res.NMONTILG - loan.front().ZINSEN);
    const auto& last = loan.back();
    EXPECT_EQ(last.DATUM, (Date{2025, 4, 30}));
    EXPECT_EQ(cents(last.EINZAHLUNG), 124.64);
    EXPECT_EQ(cents(last.ANUITAT), 124.64);
    EXPECT_EQ(last.KREDIT, 0.0);
    EXPECT_EQ(last.KTOSTAND, 0.0);
    EXPECT_EQ(&last == &loan.back(), true);
    EXPECT_EQ(rows.back().DATUM, last.DATUM);

    // 66 savings months, five year-ends, the allocation and 154 loan months, in time order.
    EXPECT_EQ(rows.size(), 66u + 5u + 1u + 154u);
    for (size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(rows[i].JAHR, rows[i].DATUM.year);
        if (i > 0) {
            EXPECT_LE(rows[i - 1].DATUM, rows[i].DATUM);
        }
        EXPECT_EQ(rows[i].KEY == 2, rows[i].AKTION == "Sparraten");
    }
    EXPECT_TRUE(std::none_of(rows.begin(), rows.end(),
                             [](const BausparRow& r) { return r.AKTION == "Neuer Zinssatz"; }));

    ASSERT_EQ(out.chart_labels, (std::vector<std::string>{"Sparsumme", "Darlehen", "Zinsen", "Gebühren"}));
    EXPECT_EQ(cents(out.chart_values[0]), 20000.00);
    EXPECT_EQ(cents(out.chart_values[1]), 29712.50);
    EXPECT_EQ(cents(out.chart_values[2]), 8295.58);
    EXPECT_EQ(cents(out.chart_values[3]), 720.00);
}

TEST(Bausparen, SavingsStartInJanuaryOfTheStartYear) {
    auto in = first_case();
    in.NABJAHR = 2031;
    const auto out = bau_rech(in);
    EXPECT_EQ(out.rows.front().DATUM, (Date{2031, 1, 30}));
}

TEST(Bausparen, AllocationIsTheDayAfterTheLastSavingsRow) {
    // Passing the target in December: the year-end row is last, the allocation falls on 1 January.
    auto dec = bau_rech(plain_case(501));
    ASSERT_FALSE(dec.refused);
    EXPECT_EQ(dec.results.NSMONATE, 1.0);
    EXPECT_EQ(allocation(dec.rows).DATUM, (Date{2008, 1, 1}));
    EXPECT_EQ(loan_rows(dec.rows).front().DATUM, (Date{2008, 1, 30}));

    // Passing it in May: allocation on 31 May, the loan starts in June.
    auto may = bau_rech(plain_case(1201));
    EXPECT_EQ(may.results.NSMONATE, 0.05);
    EXPECT_EQ(allocation(may.rows).DATUM, (Date{2007, 5, 31}));
    EXPECT_EQ(loan_rows(may.rows).front().DATUM, (Date{2007, 6, 30}));
    EXPECT_EQ(allocation(may.rows).GUTHABEN, 6005);
    EXPECT_EQ(allocation(may.rows).KREDIT, 12000 - 6005);

    // February rows are dated the 28th; the day after is 29 February in a leap year.
    auto in = plain_case(3001);
    in.NABJAHR = 2008;
    auto feb = bau_rech(in);
    EXPECT_EQ(feb.rows[1].DATUM, (Date{2008, 2, 28}));
    EXPECT_EQ(allocation(feb.rows).DATUM, (Date{2008, 2, 29}));
    EXPECT_EQ(loan_rows(feb.rows).front().DATUM, (Date{2008, 3, 30}));
}

TEST(Bausparen, SavingsShareZeroEndsAfterTheFirstMonth) {
    auto in = first_case();
    in.NSPARTEIL = 0;
    in.NABSCHGEB = 0;
    const auto out = bau_rech(in);
    ASSERT_FALSE(out.refused);
    EXPECT_EQ(out.rows[0].CODE, 1);
    EXPECT_EQ(out.rows[0].GUTHABEN, 299);
    EXPECT_EQ(out.rows[1].CODE, 0);
    EXPECT_EQ(out.rows[1].DATUM, (Date{2007, 1, 31}));
    EXPECT_EQ(out.results.NSMONATE, 0.01);
    EXPECT_EQ(out.results.NSSUMME, 299);
    EXPECT_EQ(out.results.NTSUMME, 50000 - 299);
}

TEST(Bausparen, FinalLoanMonthRepaysExactlyTheRest) {
    const auto loan = loan_rows(bau_rech(first_case()).rows);
    ASSERT_GE(loan.size(), 2u);
    const auto& before = loan[loan.size() - 2];
    const auto& last = loan.back();
    EXPECT_LT(before.KREDIT, 247.60);
    EXPECT_DOUBLE_EQ(last.TILGUNG, before.KREDIT);
    EXPECT_DOUBLE_EQ(last.ZINSEN, before.KREDIT / 100 * 4 / 12);
    EXPECT_DOUBLE_EQ(last.EINZAHLUNG, before.KREDIT + last.ZINSEN);
    EXPECT_EQ(last.KREDIT, 0.0);
    // Every other loan month pays the instalment, split into interest and repayment.
    for (size_t i = 1; i + 1 < loan.size(); ++i) {
        EXPECT_NEAR(loan[i].ZINSEN + loan[i].TILGUNG, loan[i].ANUITAT, 1e-9);
        EXPECT_NEAR(loan[i].KREDIT, loan[i - 1].KREDIT - loan[i].TILGUNG, 1e-9);
        EXPECT_EQ(loan[i].GEBUEHR, 1.0);
    }
}

TEST(Bausparen, FollowUpRateGovernsPaymentAndRepayment) {
    auto in = first_case();
    in.NTFESTZEIT = 2;
    in.NTZINSNACH = 7;
    const auto out = bau_rech(in);
    ASSERT_FALSE(out.refused);
    const auto loan = loan_rows(out.rows);
    const double L = out.results.NTSUMME;
    const double M = (L / 100 * 4 + L / 100 * 6) / 12;
    const double P2 = (L / 100 * 7 + L / 100 * 6) / 12;
    EXPECT_DOUBLE_EQ(out.results.NMONTILG, M);  // the result shows the first instalment

    size_t relabelled = 0;
    for (const auto& r : loan) relabelled += r.AKTION == "Neuer Zinssatz";
    EXPECT_EQ(relabelled, 1u);
    ASSERT_GT(loan.size(), 25u);
    EXPECT_EQ(loan[23].AKTION, "Tilgungsrate");
    EXPECT_EQ(loan[24].AKTION, "Neuer Zinssatz");
    EXPECT_EQ(loan[24].DATUM, (Date{2014, 7, 30}));
    EXPECT_DOUBLE_EQ(loan[23].ANUITAT, M);
    EXPECT_DOUBLE_EQ(loan[24].ANUITAT, P2);
    EXPECT_DOUBLE_EQ(loan[24].ZINSEN, loan[23].KREDIT / 100 * 7 / 12);
    EXPECT_DOUBLE_EQ(loan[24].TILGUNG, P2 - loan[24].ZINSEN);
    for (size_t i = 25; i + 1 < loan.size(); ++i) {
        EXPECT_DOUBLE_EQ(loan[i].EINZAHLUNG, P2);
        EXPECT_NEAR(loan[i].TILGUNG + loan[i].ZINSEN, P2, 1e-9);
    }
    EXPECT_EQ(loan.back().KREDIT, 0.0);

    // A follow-up rate whose interest exceeds the first instalment still ends, because P2 repays.
    in.NTILGANNO = 1;
    in.NTZINSSTZ = 1;
    in.NTZINSNACH = 19;
    in.NTFESTZEIT = 1;
    const auto steep = bau_rech(in);
    ASSERT_FALSE(steep.refused);
    EXPECT_EQ(loan_rows(steep.rows).back().KREDIT, 0.0);
}

TEST(Bausparen, NoSavingsRateGivesOneEmptyAllocationRow) {
    auto in = first_case();
    in.NMONRATE = 0;
    const auto out = bau_rech(in);
    ASSERT_FALSE(out.refused);
    ASSERT_EQ(out.rows.size(), 1u);
    const auto& a = out.rows[0];
    EXPECT_EQ(a.CODE, 0);
    EXPECT_EQ(a.KEY, 1);
    EXPECT_EQ(a.AKTION, "Zuteilung erfolgt");
    EXPECT_EQ(a.DATUM, (Date{2007, 1, 1}));
    EXPECT_EQ(a.JAHR, 2007);
    EXPECT_EQ(a.GUTHABEN, 0);
    EXPECT_EQ(a.KREDIT, 0);
    EXPECT_EQ(a.KTOSTAND, 0);
    const auto& r = out.results;
    EXPECT_EQ(r.NSMONATE, 0);
    EXPECT_EQ(r.NTMONATE, 0);
    EXPECT_EQ(r.NSSUMME, 0);
    EXPECT_EQ(r.NTSUMME, 0);
    EXPECT_EQ(r.NMONTILG, 0);
    EXPECT_EQ(r.NZSUMME, 0);
    EXPECT_EQ(r.NGEBSUM, 0);
    EXPECT_EQ(out.chart_labels, (std::vector<std::string>{"Zinsen", "Gebühren"}));
    EXPECT_EQ(out.chart_values, (std::vector<double>{0, 0}));
}

TEST(Bausparen, BothPhasesAreBoundedAt1200Months) {
    // Fees eat the savings rate: the target is never reached.
    auto in = first_case();
    in.NKONTOGEB = 300;
    in.NSZINSSTZ = 0;
    auto out = bau_rech(in);
    EXPECT_TRUE(out.refused);
    EXPECT_EQ(out.message, "Der Bausparvertrag kann mit diesen Werten nicht berechnet werden !");
    EXPECT_EQ(out.title, "Problem");
    EXPECT_TRUE(out.rows.empty());
    EXPECT_TRUE(out.chart_values.empty());
    EXPECT_EQ(out.results.NSSUMME, 0);

    // Exactly 1200 months of saving are allowed, 1201 are not.
    auto ok = bau_rech(plain_case(5.001));
    ASSERT_FALSE(ok.refused);
    EXPECT_EQ(ok.results.NSMONATE, 100.0);
    EXPECT_TRUE(bau_rech(plain_case(5.0)).refused);

    // A repayment rate of 0 never repays the loan.
    in = first_case();
    in.NTILGANNO = 0;
    out = bau_rech(in);
    EXPECT_TRUE(out.refused);
    EXPECT_TRUE(out.rows.empty());
    EXPECT_EQ(out.results.NTSUMME, 0);
    EXPECT_EQ(out.results.NMONTILG, 0);

    // A tiny repayment that needs more than 100 years is refused too; a small one that fits is not.
    in.NTILGANNO = 0.05;
    EXPECT_TRUE(bau_rech(in).refused);
    in.NTILGANNO = 0.1;
    out = bau_rech(in);
    ASSERT_FALSE(out.refused);
    EXPECT_GT(loan_rows(out.rows).size(), 1000u);
    EXPECT_LE(loan_rows(out.rows).size(), 1200u);
}

TEST(Bausparen, Checks) {
    const auto in = first_case();
    EXPECT_TRUE(calc::bau_check(in, 0).empty());
    const auto checks = calc::bau_checks(in);
    const char* names[] = {
        "Bausparsumme",     "Abschlußgebühr",        "Kontoführungsgebühr",           "Beginn ab Jahr",
        "Sparanteil",       "Ansparzinssatz",        "monatliche Sparrate",           "Tilgung pro Jahr",
        "Tilgungszinssatz", "Jahre der Zinsbindung", "Tilgungszinssatz nach Festzeit"};
    const double lows[] = {0, 0, 0, 1990, 0, 0, 0, 0, 1, 1, 1};
    const double highs[] = {999999, 3, 99999, 2050, 99, 10, 99999999, 20, 19, 20, 19};
    for (size_t i = 0; i < checks.size(); ++i) {
        EXPECT_EQ(checks[i].name, names[i]);
        EXPECT_EQ(checks[i].low.value, lows[i]);
        EXPECT_EQ(checks[i].high.value, highs[i]);
        EXPECT_EQ(checks[i].low.decimals, 0);
        EXPECT_EQ(checks[i].high.decimals, 0);
    }

    auto bad = in;
    bad.NABSCHGEB = 3.5;
    bad.NABJAHR = 1989;
    bad.NTZINSNACH = 0;  // below the lower bound 1
    EXPECT_EQ(calc::bau_check(bad, 0), (std::vector<int>{2, 4, 11}));
    EXPECT_EQ(calc::bau_check(bad, 4), (std::vector<int>{4}));
    EXPECT_TRUE(calc::bau_check(bad, 5).empty());
    EXPECT_EQ(*core::inpfail_message(calc::bau_checks(bad)[1]),
              "Die Eingabe für 'Abschlußgebühr' ist zu hoch !\n"
              "Geben Sie einen Wert zwischen 0 und 3 ein.\n\n"
              "Durchschnittswerte: 1,0% bis 1,6%.");
    EXPECT_EQ(*core::inpfail_message(calc::bau_checks(bad)[10]),
              "Die Eingabe für 'Tilgungszinssatz nach Festzeit' ist zu niedrig !\n"
              "Geben Sie einen Wert zwischen 1 und 19 ein.\n\n"
              "Durchschnittswerte: 4% bis 12%.");
    bad = in;
    bad.NTILGANNO = 21;
    EXPECT_EQ(*core::inpfail_message(calc::bau_checks(bad)[7]),
              "Die Eingabe für 'Tilgung pro Jahr' ist zu hoch !\n"
              "Geben Sie einen Wert zwischen 0 und 20 ein.\n\n"
              "Durchschnittswert: 7,2%.");

    EXPECT_TRUE(calc::bau_can_compute(in));
    bad = in;
    bad.NBAUSPSUM = 0;
    EXPECT_FALSE(calc::bau_can_compute(bad));
}

TEST(Bausparen, SettingsSectionInItsOrder) {
    auto in = first_case();
    in.CBANKNAME = "Bausparkasse Nord       ";  // as loaded: padded to the field
    const auto out = bau_rech(in);
    const auto entries = calc::bausp_settings_entries(in, out.results);
    const std::vector<std::string> keys = {
        "Bankname", "BausparSumme", "AGebuehren", "KGebuehren", "AbJahr",    "Sparanteil",
        "Sparzins", "Kreditzins",   "Festzeit",   "KZinsNach",  "SparSumme", "SparMonate",
        "TilgProm", "TilgSumme",    "TilgMonate", "SparMonat",  "TilgMonat"};
    ASSERT_EQ(entries.size(), keys.size());
    for (size_t i = 0; i < keys.size(); ++i) EXPECT_EQ(entries[i].key, keys[i]);
    EXPECT_EQ(entries[0].value, "Bausparkasse Nord");
    EXPECT_EQ(entries[1].value, "50000.00");
    EXPECT_EQ(entries[2].value, "1.000");
    EXPECT_EQ(entries[3].value, "1.000");
    EXPECT_EQ(entries[4].value, "2007");
    EXPECT_EQ(entries[5].value, "40.00");
    EXPECT_EQ(entries[6].value, "2.000");
    EXPECT_EQ(entries[7].value, "4.000");
    EXPECT_EQ(entries[8].value, "10");
    EXPECT_EQ(entries[9].value, "4.000");
    EXPECT_NEAR(core::parse_lenient(entries[10].value).value, out.results.NSSUMME, 1e-9);
    EXPECT_EQ(entries[11].value, "5.06");
    EXPECT_EQ(entries[12].value, "6.000");
    EXPECT_NEAR(core::parse_lenient(entries[13].value).value, out.results.NTSUMME, 1e-9);
    EXPECT_EQ(entries[14].value, "12.1");
    EXPECT_EQ(entries[15].value, "300.00");
    EXPECT_NEAR(core::parse_lenient(entries[16].value).value, out.results.NMONTILG, 1e-9);
}

TEST(Bausparen, StoreKeyIgnoresCaseAndPadding) {
    EXPECT_EQ(calc::bspbank_key("Bausparkasse Süd"), calc::bspbank_key("BAUSPARKASSE SÜD"));
    EXPECT_EQ(calc::bspbank_key("abc").size(), 40u);
    EXPECT_EQ(calc::bspbank_key("abc"), calc::bspbank_key("ABC                 "));
    EXPECT_NE(calc::bspbank_key("abc"), calc::bspbank_key("abd"));
}
