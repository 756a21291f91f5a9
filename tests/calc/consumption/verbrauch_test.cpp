#include "calc/consumption/verbrauch.h"

#include <gtest/gtest.h>

#include "calc/consumption/egkz.h"
#include "core/numbers.h"

using namespace vestral;
using calc::VerbrKind;
using calc::VerbrStop;

namespace {

double cents(double v) {
    return core::round_to(v, 2);
}

calc::VerbrInputs electricity() {
    calc::VerbrInputs in;
    in.NZAEHLER1 = 10000;
    in.NZAEHLER2 = 13500;
    in.DABLES1 = {2006, 1, 1};
    in.DABLES2 = {2006, 12, 31};
    in.NKWHDM = 0.18;
    in.NGRUNDDM = 8.00;
    in.NABSCHLAG = 60.00;
    return in;
}

calc::VerbrInputs water() {
    calc::VerbrInputs in;
    in.NZAEHLER1 = 100;
    in.NZAEHLER2 = 220;
    in.DABLES1 = {2006, 1, 1};
    in.DABLES2 = {2006, 12, 31};
    in.NKWHDM = 2.00;
    in.NGRUNDDM = 5.00;
    in.NABSCHLAG = 20.00;
    return in;
}

calc::VerbrInputs gas() {
    calc::VerbrInputs in;
    in.NZAEHLER1 = 1000;
    in.NZAEHLER2 = 3000;
    in.DABLES1 = {2006, 1, 1};
    in.DABLES2 = {2006, 12, 31};
    in.NINDEX = 10.5;
    in.NKWHDM = 0.05;
    in.NGRUNDDM = 120.00;
    in.NABSCHLAG = 100.00;
    return in;
}

TEST(Verbrauch, ElectricityYearWithAdditionalPaymentInRed) {
    const calc::VerbrOutcome o = calc::verbr_rech(VerbrKind::Strom, electricity(), {});
    ASSERT_EQ(o.stop, VerbrStop::None);
    const calc::VerbrResults& r = o.results;
    EXPECT_EQ(r.NVERBRTAG, 365);
    EXPECT_EQ(r.NVERBRMON, 12);
    EXPECT_EQ(r.NVERBRKW, 3500);
    EXPECT_EQ(cents(r.NVERBRDM), 630.00);
    EXPECT_EQ(cents(r.NSGRUNDDM), 96.00);
    EXPECT_EQ(cents(r.NSUMME), 726.00);
    EXPECT_EQ(cents(r.NSABSCHLAG), 720.00);
    EXPECT_EQ(cents(r.NSKORREKT), 6.00);
    EXPECT_EQ(r.CTKORREKT, "Es erwartet Sie eine Nachzahlung in Höhe von ca.");
    EXPECT_EQ(r.CTGRUNDDM, "Grundgebühr für 12 Monate");
    EXPECT_TRUE(r.additional);
}

TEST(Verbrauch, MonthsRoundedForElectricityAndGasTruncatedForWater) {
    EXPECT_EQ(calc::verbr_months(VerbrKind::Strom, 45), 2);
    EXPECT_EQ(calc::verbr_months(VerbrKind::Strom, 44), 1);
    EXPECT_EQ(calc::verbr_months(VerbrKind::Gas, 45), 2);
    EXPECT_EQ(calc::verbr_months(VerbrKind::Wasser, 59), 1);
    EXPECT_EQ(calc::verbr_months(VerbrKind::Wasser, 60), 2);
    EXPECT_EQ(calc::verbr_months(VerbrKind::Abwasser, 45), 1);
    EXPECT_EQ(calc::verbr_months(VerbrKind::Strom, 0), 0);
    // 45 days counted from both reading dates: 01.01. to 14.02.
    calc::VerbrInputs in = electricity();
    in.DABLES2 = {2006, 2, 14};
    EXPECT_EQ(calc::verbr_rech(VerbrKind::Strom, in, {}).results.NVERBRMON, 2);
    in.DABLES2 = {2006, 2, 13};
    EXPECT_EQ(calc::verbr_rech(VerbrKind::Strom, in, {}).results.NVERBRMON, 1);
}

TEST(Verbrauch, ElectricityReadingTests) {
    calc::VerbrInputs in = electricity();
    calc::VerbrResults before;
    before.NSUMME = 11;
    before.CTKORREKT = "alt";
    in.NZAEHLER2 = in.NZAEHLER1 - 1;
    calc::VerbrOutcome o = calc::verbr_rech(VerbrKind::Strom, in, before);
    EXPECT_EQ(o.stop, VerbrStop::Meter);
    EXPECT_EQ(o.message, "Bitte korrigieren Sie die Zählerstände!");
    EXPECT_EQ(o.results.NSUMME, 11);
    in.NZAEHLER2 = in.NZAEHLER1 + 900000;
    EXPECT_EQ(calc::verbr_rech(VerbrKind::Strom, in, before).stop, VerbrStop::Meter);
    in.NZAEHLER2 = in.NZAEHLER1 + 899999.99;
    EXPECT_EQ(calc::verbr_rech(VerbrKind::Strom, in, before).stop, VerbrStop::None);
    // Equal readings: consumption and cost 0, the summary stays, no message.
    in.NZAEHLER2 = in.NZAEHLER1;
    o = calc::verbr_rech(VerbrKind::Strom, in, before);
    EXPECT_EQ(o.stop, VerbrStop::None);
    EXPECT_EQ(o.results.NVERBRKW, 0);
    EXPECT_EQ(o.results.NVERBRDM, 0);
    EXPECT_EQ(o.results.NSUMME, 11);
    EXPECT_EQ(o.results.CTKORREKT, "alt");
}

TEST(Verbrauch, DatesAndPriceStopTheCalculation) {
    calc::VerbrResults before;
    before.NVERBRTAG = 7;
    for (VerbrKind kind : {VerbrKind::Strom, VerbrKind::Wasser, VerbrKind::Abwasser, VerbrKind::Gas}) {
        calc::VerbrInputs in = kind == VerbrKind::Gas     ? gas()
                               : kind == VerbrKind::Strom ? electricity()
                                                          : water();
        in.DABLES2 = {2005, 12, 31};
        calc::VerbrOutcome o = calc::verbr_rech(kind, in, before);
        EXPECT_EQ(o.stop, VerbrStop::Dates);
        EXPECT_EQ(o.message, "Bitte korrigieren Sie die Ablesedaten!");
        EXPECT_EQ(o.results.NVERBRTAG, 7);
        in.DABLES2 = {};
        EXPECT_EQ(calc::verbr_rech(kind, in, before).stop, VerbrStop::Dates);
        in.DABLES2 = {2006, 2, 30};
        EXPECT_EQ(calc::verbr_rech(kind, in, before).stop, VerbrStop::Dates);
        in.DABLES2 = in.DABLES1;  // one day
        EXPECT_EQ(calc::verbr_rech(kind, in, before).results.NVERBRTAG, 1);
        in.NKWHDM = 0;
        o = calc::verbr_rech(kind, in, before);
        EXPECT_EQ(o.stop, VerbrStop::Price);
        EXPECT_EQ(o.results.NVERBRTAG, 7);
    }
    EXPECT_EQ(calc::verbr_kind_info(VerbrKind::Strom).price_message,
              std::string("Bitte geben Sie den Preis pro kW/h ein!"));
    EXPECT_EQ(calc::verbr_kind_info(VerbrKind::Wasser).price_message,
              std::string("Bitte geben Sie den Preis pro m³ ein !"));
    EXPECT_EQ(calc::verbr_kind_info(VerbrKind::Abwasser).price_message,
              std::string("Bitte geben Sie den Preis pro m³ ein !"));
    EXPECT_EQ(calc::verbr_kind_info(VerbrKind::Gas).price_message,
              std::string("Bitte geben Sie den Preis pro KW/h ein !"));
}

TEST(Verbrauch, WaterFeeOnceAndEqualReadingsRefused) {
    for (VerbrKind kind : {VerbrKind::Wasser, VerbrKind::Abwasser}) {
        calc::VerbrOutcome o = calc::verbr_rech(kind, water(), {});
        ASSERT_EQ(o.stop, VerbrStop::None);
        const calc::VerbrResults& r = o.results;
        EXPECT_EQ(r.NVERBRTAG, 365);
        EXPECT_EQ(r.NVERBRMON, 12);
        EXPECT_EQ(r.NVERBRKW, 120);
        EXPECT_EQ(cents(r.NVERBRDM), 240.00);
        EXPECT_EQ(cents(r.NSGRUNDDM), 5.00);
        EXPECT_EQ(cents(r.NSUMME), 245.00);
        EXPECT_EQ(cents(r.NSABSCHLAG), 240.00);
        EXPECT_EQ(cents(r.NSKORREKT), 5.00);
        EXPECT_TRUE(r.additional);
        EXPECT_EQ(r.CTGRUNDDM, "Verbrauchskosten");
        calc::VerbrInputs in = water();
        in.NZAEHLER2 = in.NZAEHLER1;
        o = calc::verbr_rech(kind, in, {});
        EXPECT_EQ(o.stop, VerbrStop::Meter);
        EXPECT_EQ(o.message, "Bitte korrigieren Sie die Zählerstände!");
        in.NZAEHLER2 = in.NZAEHLER1 + 5e6;  // no upper limit
        EXPECT_EQ(calc::verbr_rech(kind, in, {}).stop, VerbrStop::None);
    }
}

TEST(Verbrauch, GasFactorYearlyFeeAndRefundInBlack) {
    calc::VerbrOutcome o = calc::verbr_rech(VerbrKind::Gas, gas(), {});
    ASSERT_EQ(o.stop, VerbrStop::None);
    const calc::VerbrResults& r = o.results;
    EXPECT_EQ(cents(r.NVERBRKW), 21000);
    EXPECT_EQ(cents(r.NVERBRDM), 1050.00);
    EXPECT_EQ(cents(r.NSGRUNDDM), 120.00);
    EXPECT_EQ(cents(r.NSUMME), 1170.00);
    EXPECT_EQ(cents(r.NSABSCHLAG), 1200.00);
    EXPECT_EQ(cents(r.NSKORREKT), 30.00);
    EXPECT_EQ(r.CTKORREKT, "Sie bekommen eine Rückerstattung in Höhe von ca.");
    EXPECT_FALSE(r.additional);
    EXPECT_EQ(r.CTGRUNDDM, "jährl. Grundgebühr");
    // Factor 0: consumption and cost 0, the summary stays.
    calc::VerbrInputs in = gas();
    in.NINDEX = 0;
    calc::VerbrOutcome zero = calc::verbr_rech(VerbrKind::Gas, in, r);
    EXPECT_EQ(zero.stop, VerbrStop::None);
    EXPECT_EQ(zero.results.NVERBRKW, 0);
    EXPECT_EQ(zero.results.NVERBRDM, 0);
    EXPECT_EQ(cents(zero.results.NSUMME), 1170.00);
    EXPECT_EQ(cents(zero.results.NSKORREKT), 30.00);
    // Gas needs a rising meter; the first opening has both readings 0.
    in = gas();
    in.NZAEHLER1 = in.NZAEHLER2 = 0;
    in.DABLES1 = in.DABLES2 = {};
    EXPECT_EQ(calc::verbr_rech(VerbrKind::Gas, in, {}).stop, VerbrStop::Meter);
}

TEST(Verbrauch, ProjectionScalesToTheYearOfTheOldReading) {
    calc::VerbrInputs in = electricity();
    calc::VerbrResults r = calc::verbr_rech(VerbrKind::Strom, in, {}).results;
    calc::VerbrProjection p = calc::verbr_hoch(VerbrKind::Strom, in, r);
    EXPECT_EQ(p.days_of_year, 365);
    EXPECT_EQ(cents(p.year_kw), 3500);
    EXPECT_EQ(cents(p.year_cost), 630.00);
    EXPECT_EQ(cents(p.cost_per_day), 1.73);
    EXPECT_EQ(cents(p.kw_per_day), 9.59);
    EXPECT_EQ(cents(p.fee), 96.00);
    EXPECT_EQ(cents(p.total), 726.00);
    EXPECT_EQ(cents(p.advances), 720.00);
    EXPECT_EQ(cents(p.amount), 6.00);
    EXPECT_EQ(p.text, "Rechnen Sie mir einer Nachzahlung von ca.");
    EXPECT_TRUE(p.additional);

    in.DABLES1 = {2008, 1, 1};
    in.DABLES2 = {2008, 12, 31};
    r = calc::verbr_rech(VerbrKind::Strom, in, {}).results;
    p = calc::verbr_hoch(VerbrKind::Strom, in, r);
    EXPECT_EQ(p.days_of_year, 366);
    EXPECT_EQ(cents(p.year_kw), 3500);

    // Water: the fee once; a refund in white on cyan.
    in = water();
    r = calc::verbr_rech(VerbrKind::Wasser, in, {}).results;
    p = calc::verbr_hoch(VerbrKind::Wasser, in, r);
    EXPECT_EQ(cents(p.year_kw), 120);
    EXPECT_EQ(cents(p.year_cost), 240.00);
    EXPECT_EQ(cents(p.fee), 5.00);
    EXPECT_EQ(cents(p.total), 245.00);
    EXPECT_EQ(cents(p.advances), 240.00);
    EXPECT_EQ(p.text, "Rechnen Sie mir einer Nachzahlung");
    in.NABSCHLAG = 30;
    p = calc::verbr_hoch(VerbrKind::Wasser, in, r);
    EXPECT_EQ(p.text, "Eventuell erhalten Sie eine Rückerstattung");
    EXPECT_FALSE(p.additional);
    EXPECT_EQ(cents(p.amount), 115.00);

    // Zero billing days divide to 0.
    p = calc::verbr_hoch(VerbrKind::Strom, {}, {});
    EXPECT_EQ(p.kw_per_day, 0);
    EXPECT_EQ(p.cost_per_day, 0);
}

TEST(Verbrauch, BlankPeriodIsRecognised) {
    calc::VerbrInputs in;
    in.DABLES1 = {2006, 1, 1};
    EXPECT_TRUE(calc::verbr_is_blank(in));
    in.CKDNR = "4711";
    EXPECT_FALSE(calc::verbr_is_blank(in));
    EXPECT_FALSE(calc::verbr_is_blank(electricity()));
}

TEST(Verbrauch, KeyIsTheKindRightAlignedAndTheDate) {
    EXPECT_EQ(calc::verbr_key(VerbrKind::Strom, {2006, 1, 1}), " 120060101");
    EXPECT_EQ(calc::verbr_key(VerbrKind::Gas, {2010, 12, 31}), " 420101231");
}

TEST(Verbrauch, RowCarriesEveryFieldAndGasAloneTheFactor) {
    calc::VerbrInputs in = gas();
    in.CLIEFER = "Stadtwerke";
    const calc::VerbrResults r = calc::verbr_rech(VerbrKind::Gas, in, {}).results;
    calc::VerbrRow row = calc::verbr_row(VerbrKind::Gas, in, r);
    EXPECT_EQ(row.VERBRART, 4);
    EXPECT_EQ(row.DATUM, in.DABLES1);
    EXPECT_EQ(row.GRUNDTEIL, 12);
    EXPECT_EQ(row.PROEINHEIT, 0.05);
    EXPECT_EQ(row.INDEX, 10.5);
    EXPECT_EQ(row.VERBREINH, 21000);
    EXPECT_EQ(row.MWPROZ, 16);
    calc::VerbrInputs back;
    calc::VerbrResults back_res;
    calc::verbr_from_row(VerbrKind::Gas, row, back, back_res);
    EXPECT_EQ(back.CLIEFER, "Stadtwerke");
    EXPECT_EQ(back.NINDEX, 10.5);
    EXPECT_EQ(back.DABLES2, in.DABLES2);
    EXPECT_EQ(cents(back_res.NSKORREKT), 30.00);
    EXPECT_EQ(back_res.CTKORREKT, "Sie bekommen eine Rückerstattung in Höhe von ca.");
}

// ---- energy index ------------------------------------------------------------------------

calc::EgkzInputs house() {
    calc::EgkzInputs in;
    in.NSTROMJ = 3500;
    in.NHZOEL = 2000;
    in.NWOHNFL = 150;
    return in;
}

TEST(Egkz, CarriersConvertWithTheirFactors) {
    calc::EgkzInputs in;
    in.NSTROMJ = 1;
    in.NFERNWJ = 2;
    in.NHZOEL = 1;
    in.NERDGAS = 1;
    in.NFLGAS = 1;
    in.NHOLZ = 1;
    in.NKOHLE = 1;
    const calc::EgkzKwh k = calc::egkz_multi(in);
    EXPECT_EQ(k.NHZOELJ, 10);
    EXPECT_EQ(k.NERDGASJ, 10);
    EXPECT_EQ(k.NFLGASJ, 12.8);
    EXPECT_EQ(k.NHOLZJ, 2000);
    EXPECT_EQ(k.NKOHLEJ, 8.1);
    EXPECT_EQ(cents(k.NGESAMT), 2043.9);
}

TEST(Egkz, IndexAndRating) {
    calc::EgkzInputs in = house();
    EXPECT_EQ(calc::egkz_multi(in).NGESAMT, 23500);
    auto r = calc::egkz_rech(in);
    ASSERT_TRUE(r);
    EXPECT_EQ(cents(r->NERGEBNIS), 156.67);
    EXPECT_EQ(r->line1, "Genaue Untersuchung empfehlenswert");
    EXPECT_EQ(r->line2, "Note: Ausreichend");
    in.LWASSER = true;
    in.NPERSONEN = 4;
    r = calc::egkz_rech(in);
    EXPECT_EQ(cents(r->NERGEBNIS), 125.33);
    EXPECT_EQ(r->line2, "Note: Ausreichend");
    // Persons count only with the hot water.
    in.LWASSER = false;
    EXPECT_EQ(cents(calc::egkz_rech(in)->NERGEBNIS), 156.67);
    in.LWASSER = true;
    in.NPERSONEN = 20;
    r = calc::egkz_rech(in);
    EXPECT_LE(r->NERGEBNIS, 0.0);
    EXPECT_EQ(r->line1, "Passivhaus");
    in.NPERSONEN = 25;
    EXPECT_EQ(calc::egkz_rech(in)->line1, "Passivhaus");
}

TEST(Egkz, ClassBoundaries) {
    EXPECT_EQ(calc::egkz_rating(15).first, "Passivhaus");
    EXPECT_EQ(calc::egkz_rating(15).second, "Note: Sehr Gut");
    EXPECT_EQ(calc::egkz_rating(15.01).first, "Niedrigenergiehaus");
    EXPECT_EQ(calc::egkz_rating(15.01).second, "Note: Gut (3-Liter-Haus)");
    EXPECT_EQ(calc::egkz_rating(60).second, "Note: Gut (6-Liter-Haus)");
    EXPECT_EQ(calc::egkz_rating(80).second, "Note: Gut (8-Liter-Haus)");
    EXPECT_EQ(calc::egkz_rating(100).first, "Festgelegte Grenze der Wärmeschutzverordnung '95");
    EXPECT_EQ(calc::egkz_rating(200.5).second, "Note: Mangelhaft");
    EXPECT_EQ(calc::egkz_rating(400).second, "Note: Ungenügend");
    EXPECT_EQ(calc::egkz_rating(500).first, "Das Gebäude ist ein Luftschloß");
    EXPECT_EQ(calc::egkz_rating(500.01).second, "Note: Nicht akzeptabel");
    EXPECT_EQ(calc::egkz_rating(100000).first, "Das Gebäude ist ein Luftschloß");
}

TEST(Egkz, AreaOrTotalZeroComputesNothing) {
    calc::EgkzInputs in = house();
    in.NWOHNFL = 0;
    EXPECT_FALSE(calc::egkz_rech(in));
    in = calc::EgkzInputs{};
    in.NWOHNFL = 100;
    EXPECT_FALSE(calc::egkz_rech(in));
}

TEST(Egkz, Converter) {
    calc::EgkzUnits u = calc::egkz_eumr2({0, 1, 0});
    EXPECT_EQ(cents(u.kj), 3600);
    EXPECT_EQ(cents(u.kcal), 859.85);
    u = calc::egkz_eumr2({0, 0, 1000});
    EXPECT_EQ(core::round_to(u.kwh, 4), 1.163);
    EXPECT_EQ(cents(u.kj), 4186.8);
    u = calc::egkz_eumr2({3600, 0, 0});
    EXPECT_EQ(core::round_to(u.kwh, 4), 1.0);
    EXPECT_EQ(cents(u.kcal), 859.85);
    // Two fields filled: nothing is converted.
    u = calc::egkz_eumr2({1, 1, 0});
    EXPECT_EQ(u.kcal, 0);
}

TEST(Egkz, SettingsSectionRoundTrip) {
    calc::EgkzInputs in = house();
    in.LWASSER = true;
    in.NPERSONEN = 4;
    const auto entries = calc::egkz_settings_entries(in);
    ASSERT_EQ(entries.size(), 10u);
    std::string text = "[BER_EGKZ]\n";
    for (const auto& e : entries) text += e.key + "=" + e.value + "\n";
    EXPECT_NE(text.find("StromJ=3500.00"), std::string::npos);
    EXPECT_NE(text.find("Wasser=1"), std::string::npos);
    const calc::EgkzInputs back = calc::egkz_read_settings(core::IniDocument(text));
    EXPECT_EQ(back.NSTROMJ, 3500);
    EXPECT_EQ(back.NHZOEL, 2000);
    EXPECT_EQ(back.NWOHNFL, 150);
    EXPECT_TRUE(back.LWASSER);
    EXPECT_EQ(back.NPERSONEN, 4);
    const calc::EgkzInputs empty = calc::egkz_read_settings(core::IniDocument(""));
    EXPECT_EQ(empty.NSTROMJ, 0);
    EXPECT_FALSE(empty.LWASSER);
}

}  // namespace
