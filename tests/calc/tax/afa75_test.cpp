#include "calc/tax/afa75.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>

#include "core/catalogue.h"
#include "core/ini.h"
#include "support/core_tempdir.h"

using namespace vestral;
using namespace vestral::calc;
using core::Date;

namespace {

Afa75Inputs inputs(Date buy, Date done, bool business, bool housing, int kind, double cost = 100'000) {
    Afa75Inputs in;
    in.NKAUFPREIS = cost;
    in.DKAUFDAT = buy;
    in.DFERTDAT = done;
    in.LBETRVERM = business;
    in.LWOHNUNG = housing;
    in.NAFAART = kind;
    return in;
}

// The stages of a schedule as (years, rate) runs of equal rates.
std::vector<std::pair<int, double>> runs(const Afa75Outcome& out) {
    std::vector<std::pair<int, double>> r;
    for (const Steu75eRow& row : out.rows) {
        if (r.empty() || r.back().second != row.STVORTEIL) r.emplace_back(0, row.STVORTEIL);
        ++r.back().first;
    }
    return r;
}

// --- the kinds ---------------------------------------------------------------------------------

struct KindCase {
    const char* name;
    Date buy, done;
    bool business, housing;
    int kind;
    int code;
    const char* text;
};

class AfaKindTable : public ::testing::TestWithParam<KindCase> {};

TEST_P(AfaKindTable, FirstMatchingRowWins) {
    const KindCase& c = GetParam();
    const AfaKind k = afa_kind(inputs(c.buy, c.done, c.business, c.housing, c.kind));
    EXPECT_EQ(k.code, c.code);
    EXPECT_STREQ(k.text, c.text);
}

const char* const k411 = " Normal-AfA nach §7 Abs. 4 Nr. 1";
const char* const k421 = " Ersatz-AFA nach §7 Abs. 4 Nr. 2a";
const char* const k422 = " Ersatz-AFA nach §7 Abs. 4 Nr. 2b";
const char* const kNone = " kein Ersatz-AfA möglich !";
const char* const kAbs5 = " AFA nach §7 Abs. 5";
const char* const kNr1 = " AFA nach §7 Abs. 4 Nr. 1";
const char* const kNr2a = " AFA nach §7 Abs. 4 Nr. 2a";

INSTANTIATE_TEST_SUITE_P(
    Straight, AfaKindTable,
    ::testing::Values(
        KindCase{"BusinessAfter1985", {1985, 4, 1}, {1985, 4, 1}, true, false, 1, 411, k411},
        KindCase{"BusinessOn31March1985", {1985, 3, 31}, {1985, 3, 31}, true, false, 1, 421, k421},
        KindCase{"BusinessHousingIsNot411", {2000, 1, 1}, {2000, 1, 1}, true, true, 1, 421, k421},
        KindCase{"PrivateCompleted1925", {2000, 1, 1}, {1925, 1, 1}, false, false, 1, 421, k421},
        KindCase{"PrivateCompleted1924", {2000, 1, 1}, {1924, 12, 31}, false, false, 1, 422, k422},
        KindCase{"BusinessBefore1985Completed1924", {1980, 1, 1}, {1924, 6, 1}, true, false, 1, 422, k422}),
    [](const auto& i) { return std::string(i.param.name); });

INSTANTIATE_TEST_SUITE_P(
    Declining, AfaKindTable,
    ::testing::Values(
        // Row 1: bought after 28.02.1989 in a later year than completed.
        KindCase{
            "BoughtYearAfterCompletionAfter1989", {1990, 1, 1}, {1989, 12, 31}, true, false, 2, 0, kNone},
        KindCase{
            "BoughtOn28Feb1989YearAfterCompletion", {1989, 2, 28}, {1988, 1, 1}, true, false, 2, 511, kAbs5},
        KindCase{"BoughtSameYearAsCompletion", {1990, 12, 1}, {1990, 1, 1}, true, false, 2, 511, kAbs5},
        // Rows 2 and 3: business assets, not housing.
        KindCase{"BusinessAfter1993", {1994, 1, 1}, {1994, 6, 1}, true, false, 2, 512, kNr1},
        KindCase{"BusinessOn31Dec1993", {1993, 12, 31}, {1994, 6, 1}, true, false, 2, 511, kAbs5},
        KindCase{"BusinessAfterMarch1985", {1985, 4, 1}, {1986, 1, 1}, true, false, 2, 511, kAbs5},
        KindCase{"BusinessOn31March1985", {1985, 3, 31}, {1986, 1, 1}, true, false, 2, 0, kNone},
        // Rows 4 and 5: neither business assets nor housing.
        KindCase{"PrivateAfter1994", {1995, 1, 1}, {1995, 6, 1}, false, false, 2, 522, kNr2a},
        KindCase{"PrivateOn31Dec1994", {1994, 12, 31}, {1995, 6, 1}, false, false, 2, 521, kAbs5},
        KindCase{"PrivateAfterMarch1985", {1985, 4, 1}, {1986, 1, 1}, false, false, 2, 521, kAbs5},
        KindCase{"PrivateOn31March1985", {1985, 3, 31}, {1986, 1, 1}, false, false, 2, 0, kNone},
        // Rows 6 and 7: housing (business assets or not).
        KindCase{"HousingAfter1995", {1996, 1, 1}, {1996, 6, 1}, false, true, 2, 532, kAbs5},
        KindCase{"HousingOn31Dec1995", {1995, 12, 31}, {1996, 6, 1}, false, true, 2, 531, kAbs5},
        KindCase{"BusinessHousingAfter1995", {1996, 1, 1}, {1996, 6, 1}, true, true, 2, 532, kAbs5},
        KindCase{"HousingAfterFeb1989", {1989, 3, 1}, {1989, 6, 1}, false, true, 2, 531, kAbs5},
        // Row 8: housing bought on or before 28.02.1989.
        KindCase{"HousingOn28Feb1989", {1989, 2, 28}, {1989, 6, 1}, false, true, 2, 0, kNone}),
    [](const auto& i) { return std::string(i.param.name); });

// --- the schedules -----------------------------------------------------------------------------

struct StagesCase {
    int code;
    int years;
    std::vector<std::pair<int, double>> runs;
};

TEST(AfaSchedule, EveryCodeHasItsStagesAndDepreciatesTheWholeCost) {
    const std::vector<StagesCase> cases = {
        {411, 25, {{25, 4}}},
        {421, 50, {{50, 2}}},
        {422, 40, {{40, 2.5}}},
        {511, 25, {{4, 10}, {3, 5}, {18, 2.5}}},
        {512, 25, {{25, 4}}},
        {521, 50, {{8, 5}, {6, 2.5}, {36, 1.25}}},
        {522, 50, {{50, 2}}},
        {531, 40, {{4, 7}, {6, 5}, {6, 2}, {24, 1.25}}},
        {532, 50, {{8, 5}, {6, 2.5}, {36, 1.25}}},
    };
    for (const StagesCase& c : cases) {
        SCOPED_TRACE(c.code);
        const auto stages = afa_stages(c.code);
        int years = 0;
        double percent = 0;
        for (const AfaStage& s : stages) {
            years += s.years;
            percent += s.years * s.rate;
        }
        EXPECT_EQ(years, c.years);
        EXPECT_DOUBLE_EQ(percent, 100);
    }
    EXPECT_TRUE(afa_stages(0).empty());
    EXPECT_TRUE(afa_stages(123).empty());
}

struct ScheduleCase {
    const char* name;
    Afa75Inputs in;
    int code;
    std::vector<std::pair<int, double>> runs;
    int first_year;
};

class AfaScheduleOfCode : public ::testing::TestWithParam<ScheduleCase> {};

TEST_P(AfaScheduleOfCode, AddsUpTo100000) {
    const ScheduleCase& c = GetParam();
    const Afa75Outcome out = p75e_rech(c.in);
    ASSERT_EQ(out.NABSCHART, c.code);
    EXPECT_EQ(runs(out), c.runs);
    EXPECT_EQ(out.NAFASUM, 100'000);
    EXPECT_EQ(out.NAFADAU, static_cast<int>(out.rows.size()));
    ASSERT_FALSE(out.rows.empty());
    for (size_t i = 0; i < out.rows.size(); ++i) {
        EXPECT_EQ(out.rows[i].STJAHR, static_cast<int>(i) + 1);
        EXPECT_EQ(out.rows[i].JAHR, c.first_year + static_cast<int>(i));
        EXPECT_EQ(out.rows[i].FREIBETRAG, out.rows[i].STVORTEIL * 1000);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Codes, AfaScheduleOfCode,
    ::testing::Values(
        ScheduleCase{"C411", inputs({1990, 5, 1}, {1989, 1, 1}, true, false, 1), 411, {{25, 4}}, 1990},
        ScheduleCase{"C421", inputs({2001, 1, 1}, {2002, 7, 1}, false, false, 1), 421, {{50, 2}}, 2002},
        ScheduleCase{"C422", inputs({2001, 1, 1}, {1900, 7, 1}, false, false, 1), 422, {{40, 2.5}}, 2001},
        ScheduleCase{"C511",
                     inputs({1987, 1, 1}, {1987, 6, 1}, true, false, 2),
                     511,
                     {{4, 10}, {3, 5}, {18, 2.5}},
                     1987},
        ScheduleCase{"C512", inputs({1994, 2, 1}, {1994, 8, 1}, true, false, 2), 512, {{25, 4}}, 1994},
        ScheduleCase{"C521",
                     inputs({1986, 1, 1}, {1987, 6, 1}, false, false, 2),
                     521,
                     {{8, 5}, {6, 2.5}, {36, 1.25}},
                     1987},
        ScheduleCase{"C522", inputs({1996, 1, 1}, {1996, 6, 1}, false, false, 2), 522, {{50, 2}}, 1996},
        ScheduleCase{"C531",
                     inputs({1990, 6, 15}, {1991, 3, 1}, false, true, 2),
                     531,
                     {{4, 7}, {6, 5}, {6, 2}, {24, 1.25}},
                     1991},
        ScheduleCase{"C532",
                     inputs({1997, 1, 1}, {1997, 9, 1}, false, true, 2),
                     532,
                     {{8, 5}, {6, 2.5}, {36, 1.25}},
                     1997}),
    [](const auto& i) { return std::string(i.param.name); });

TEST(AfaSchedule, HousingAppliedIn1990CompletedIn1991DecliningIs531From1991) {
    const Afa75Outcome out = p75e_rech(inputs({1990, 6, 15}, {1991, 4, 30}, false, true, 2));
    EXPECT_EQ(out.NABSCHART, 531);
    EXPECT_EQ(out.CABSCHART, kAbs5);
    ASSERT_EQ(out.rows.size(), 40u);
    EXPECT_EQ(out.NAFADAU, 40);
    EXPECT_EQ(out.rows.front().JAHR, 1991);
    EXPECT_EQ(out.rows.back().JAHR, 2030);
    EXPECT_EQ(out.rows[3].FREIBETRAG, 7'000);
    EXPECT_EQ(out.rows[4].FREIBETRAG, 5'000);
    EXPECT_EQ(out.rows[10].FREIBETRAG, 2'000);
    EXPECT_EQ(out.rows[16].FREIBETRAG, 1'250);
    EXPECT_EQ(out.rows[16].STVORTEIL, 1.25);
}

TEST(AfaSchedule, BaseYearIsThatOfTheLaterDate) {
    EXPECT_EQ(afa_base_date(inputs({1990, 6, 15}, {1991, 1, 1}, false, false, 1)), (Date{1991, 1, 1}));
    EXPECT_EQ(afa_base_date(inputs({1992, 6, 15}, {1991, 1, 1}, false, false, 1)), (Date{1992, 6, 15}));
    EXPECT_EQ(afa_base_date(inputs({1992, 6, 15}, {1992, 6, 15}, false, false, 1)), (Date{1992, 6, 15}));
}

TEST(AfaSchedule, BusinessNotHousingStraightIs411With25TimesFourPercent) {
    const Afa75Outcome out = p75e_rech(inputs({1994, 2, 1}, {1993, 5, 1}, true, false, 1));
    EXPECT_EQ(out.NABSCHART, 411);
    EXPECT_EQ(runs(out), (std::vector<std::pair<int, double>>{{25, 4}}));
    EXPECT_EQ(out.rows.front().JAHR, 1994);
}

TEST(AfaSchedule, StoredDecliningChoiceForAPrivateBuildingAfter1994Is522) {
    const Afa75Outcome out = p75e_rech(inputs({2003, 3, 1}, {2003, 10, 1}, false, false, 2));
    EXPECT_EQ(out.NABSCHART, 522);
    EXPECT_EQ(out.CABSCHART, kNr2a);
    EXPECT_EQ(runs(out), (std::vector<std::pair<int, double>>{{50, 2}}));
}

TEST(AfaSchedule, NoKindGivesAnEmptyScheduleAndZeros) {
    const Afa75Outcome out = p75e_rech(inputs({1995, 1, 10}, {1994, 11, 1}, false, true, 2));
    EXPECT_TRUE(out.refused());
    EXPECT_EQ(out.CABSCHART, kNone);
    EXPECT_TRUE(out.rows.empty());
    EXPECT_EQ(out.NAFASUM, 0);
    EXPECT_EQ(out.NAFADAU, 0);
    EXPECT_STREQ(kAfaNoneText, "Eine Abschreibung ist nicht möglich.\rBitte prüfen Sie Ihre Eingaben !");
    EXPECT_STREQ(kAfaNoneTitle, "Problem");
}

TEST(AfaSchedule, Cost100000With421Gives50Times2000) {
    const Afa75Outcome out = p75e_rech(inputs({2004, 1, 1}, {2004, 1, 1}, false, false, 1));
    ASSERT_EQ(out.NABSCHART, 421);
    ASSERT_EQ(out.rows.size(), 50u);
    for (const Steu75eRow& r : out.rows) EXPECT_EQ(r.FREIBETRAG, 2'000);
    EXPECT_EQ(out.NAFASUM, 100'000);
}

TEST(AfaSchedule, AmountsAreStoredToTheCentAndTheSumAddsThem) {
    const Afa75Outcome out = p75e_rech(inputs({2004, 1, 1}, {1910, 1, 1}, false, false, 1, 33'333.33));
    ASSERT_EQ(out.NABSCHART, 422);
    ASSERT_EQ(out.rows.size(), 40u);
    for (const Steu75eRow& r : out.rows) EXPECT_EQ(r.FREIBETRAG, 833.33);
    EXPECT_EQ(out.NAFASUM, 33'333.20);
    // Half a cent rounds up: 0.50 × 2.5 % = 0.0125.
    EXPECT_EQ(p75e_rech(inputs({2004, 1, 1}, {1910, 1, 1}, false, false, 1, 0.5)).rows[0].FREIBETRAG, 0.01);
}

TEST(AfaSchedule, LargestCostFitsTheTableFields) {
    const Afa75Outcome out = p75e_rech(inputs({1987, 1, 1}, {1987, 6, 1}, true, false, 2, 99'999'999));
    ASSERT_EQ(out.NABSCHART, 511);
    EXPECT_EQ(out.rows.front().FREIBETRAG, 9'999'999.9);
    // 2.5 % of it is 2 499 999.975, stored as ...98: the stored amounts add up to 9 cents more.
    EXPECT_EQ(out.rows.back().FREIBETRAG, 2'499'999.98);
    EXPECT_EQ(out.NAFASUM, 99'999'999.09);
}

// --- the restriction of the choice ----------------------------------------------------------------

struct RestrictCase {
    const char* name;
    Date buy, done;
    bool business, housing;
    bool force;
    AfaRadio radio;
};

class Chkafaget : public ::testing::TestWithParam<RestrictCase> {};

TEST_P(Chkafaget, FirstMatchingRuleDecides) {
    const RestrictCase& c = GetParam();
    for (int kind : {1, 2}) {
        const AfaRestriction r = chkafaget(inputs(c.buy, c.done, c.business, c.housing, kind));
        EXPECT_EQ(r.force_straight, c.force) << kind;
        EXPECT_EQ(r.radio, c.radio) << kind;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Rules, Chkafaget,
    ::testing::Values(
        // 1: on or before 31.03.1985.
        RestrictCase{"On31March1985", {1985, 3, 31}, {1986, 1, 1}, false, false, true, AfaRadio::Disable},
        RestrictCase{"After31March1985", {1985, 4, 1}, {1986, 1, 1}, false, false, false, AfaRadio::Enable},
        // 2: housing on or before 28.02.1989.
        RestrictCase{"HousingOn28Feb1989", {1989, 2, 28}, {1990, 1, 1}, false, true, true, AfaRadio::Disable},
        RestrictCase{"HousingOn1March1989", {1989, 3, 1}, {1990, 1, 1}, false, true, false, AfaRadio::Enable},
        RestrictCase{
            "NotHousingOn28Feb1989", {1989, 2, 28}, {1990, 1, 1}, false, false, false, AfaRadio::Enable},
        // 3: after 28.02.1989 and after completion.
        RestrictCase{"AfterCompletion", {1989, 3, 2}, {1989, 3, 1}, false, true, true, AfaRadio::Disable},
        RestrictCase{"OnCompletionDay", {1989, 3, 1}, {1989, 3, 1}, false, true, false, AfaRadio::Enable},
        RestrictCase{
            "AfterCompletionOn28Feb1989", {1989, 2, 28}, {1980, 1, 1}, false, false, false, AfaRadio::Enable},
        // 4: business assets, not housing, after 31.12.1993.
        RestrictCase{"BusinessOn1Jan1994", {1994, 1, 1}, {1994, 6, 1}, true, false, true, AfaRadio::Disable},
        RestrictCase{
            "BusinessOn31Dec1993", {1993, 12, 31}, {1994, 6, 1}, true, false, false, AfaRadio::Enable},
        RestrictCase{
            "BusinessHousingOn1Jan1994", {1994, 1, 1}, {1994, 6, 1}, true, true, false, AfaRadio::Enable},
        // 5: neither, after 31.12.1994: forced, the radio left as it is.
        RestrictCase{"PrivateOn1Jan1995", {1995, 1, 1}, {1995, 6, 1}, false, false, true, AfaRadio::Keep},
        RestrictCase{
            "PrivateOn31Dec1994", {1994, 12, 31}, {1995, 6, 1}, false, false, false, AfaRadio::Enable},
        // Housing after 1995 is free to choose.
        RestrictCase{"HousingOn1Jan1996", {1996, 1, 1}, {1996, 6, 1}, false, true, false, AfaRadio::Enable},
        RestrictCase{
            "HousingOn31Dec1995", {1995, 12, 31}, {1996, 6, 1}, false, true, false, AfaRadio::Enable}),
    [](const auto& i) { return std::string(i.param.name); });

TEST(AfaInputs, ComputeNeedsCostAndBothDates) {
    Afa75Inputs in = inputs({2000, 1, 1}, {2000, 1, 1}, false, false, 1, 1);
    EXPECT_TRUE(afa75_can_compute(in));
    in.NKAUFPREIS = 0;
    EXPECT_FALSE(afa75_can_compute(in));
    in.NKAUFPREIS = 1;
    in.DFERTDAT = {};
    EXPECT_FALSE(afa75_can_compute(in));
    in.DFERTDAT = {2000, 1, 1};
    in.DKAUFDAT = {};
    EXPECT_FALSE(afa75_can_compute(in));
}

TEST(AfaInputs, CostCheckNamesTheFieldAndItsBounds) {
    EXPECT_TRUE(core::inpfail_passes(afa75_cost_check(1)));
    EXPECT_TRUE(core::inpfail_passes(afa75_cost_check(99'999'999)));
    EXPECT_EQ(*core::inpfail_message(afa75_cost_check(0.99)),
              "Die Eingabe für 'Kauf- / Baukosten' ist zu niedrig !\nGeben Sie einen Wert zwischen 1 und "
              "99999999 ein.");
    EXPECT_EQ(*core::inpfail_message(afa75_cost_check(99'999'999.01)),
              "Die Eingabe für 'Kauf- / Baukosten' ist zu hoch !\nGeben Sie einen Wert zwischen 1 und "
              "99999999 ein.");
}

// --- settings and table -----------------------------------------------------------------------------

TEST(AfaSettings, DefaultsAreTodayAndStraightLine) {
    test::TempDir dir;
    dir.write("VESTRAL.INI", "[AFA75]\n");
    const core::IniFile ini(dir / "VESTRAL.INI");
    const Afa75Stored st = afa75_read_settings(ini.load(), {2026, 12, 8});
    EXPECT_EQ(st.inputs.NKAUFPREIS, 0);
    EXPECT_EQ(st.inputs.DKAUFDAT, (Date{2026, 12, 8}));
    EXPECT_EQ(st.inputs.DFERTDAT, (Date{2026, 12, 8}));
    EXPECT_FALSE(st.inputs.LBETRVERM);
    EXPECT_FALSE(st.inputs.LWOHNUNG);
    EXPECT_EQ(st.inputs.NAFAART, 1);
    EXPECT_EQ(st.NABSCHART, 1);
}

TEST(AfaSettings, WrittenAndReadBack) {
    test::TempDir dir;
    dir.write("VESTRAL.INI", "[AFA75]\nKaufpreis=1\n");
    core::IniFile ini(dir / "VESTRAL.INI");
    Afa75Inputs in = inputs({1990, 6, 15}, {1991, 4, 30}, false, true, 2, 33'333.33);
    ASSERT_TRUE(ini.set_many(kAfa75Settings.name, afa75_settings_entries(in, 531, kAbs5, 33'333.2, 40)));
    EXPECT_EQ(ini.get("AFA75", "Kaufpreis", ""), "33333.33");
    EXPECT_EQ(ini.get("AFA75", "Kaufdatum", ""), "15.06.1990");
    EXPECT_EQ(ini.get("AFA75", "DatumFertig", ""), "30.04.1991");
    EXPECT_EQ(ini.get("AFA75", "AlsBetrVerm", ""), "0");
    EXPECT_EQ(ini.get("AFA75", "AlsWohnung", ""), "1");
    EXPECT_EQ(ini.get("AFA75", "AbschreibArt", ""), "531");
    EXPECT_EQ(ini.get("AFA75", "AfAart", ""), "2");
    EXPECT_EQ(ini.get("AFA75", "Abschreibung", ""), "AFA nach §7 Abs. 5");
    EXPECT_EQ(ini.get("AFA75", "AfASum", ""), "33333.2");
    EXPECT_EQ(ini.get("AFA75", "AfADau", ""), "40");
    const Afa75Stored st = afa75_read_settings(ini.load(), {2026, 1, 1});
    EXPECT_EQ(st.inputs.NKAUFPREIS, in.NKAUFPREIS);
    EXPECT_EQ(st.inputs.DKAUFDAT, in.DKAUFDAT);
    EXPECT_EQ(st.inputs.DFERTDAT, in.DFERTDAT);
    EXPECT_EQ(st.inputs.LWOHNUNG, true);
    EXPECT_EQ(st.inputs.NAFAART, 2);
    EXPECT_EQ(st.NABSCHART, 531);
}

TEST(AfaSettings, ForeignValuesAreReadLeniently) {
    test::TempDir dir;
    // A cost handed over at full precision, a broken date, a kind other than 2.
    dir.write("VESTRAL.INI", "[AFA75]\nKaufpreis=179275.6543\nKaufdatum=31.02.1999\nAfAart=7\n");
    const Afa75Stored st = afa75_read_settings(core::IniFile(dir / "VESTRAL.INI").load(), {2026, 3, 4});
    EXPECT_EQ(st.inputs.NKAUFPREIS, 179'275.65);
    EXPECT_EQ(st.inputs.DKAUFDAT, (Date{2026, 3, 4}));
    EXPECT_EQ(st.inputs.NAFAART, 1);
}

TEST(AfaSettings, TheCostHandedOverByOtherCalculatorsIsTheOneLoaded) {
    test::TempDir dir;
    dir.write("VESTRAL.INI", "[AFA75]\nKaufdatum=01.01.2000\n");
    core::IniFile ini(dir / "VESTRAL.INI");
    ASSERT_TRUE(set_afa75_cost(ini, 179'275.6543));
    EXPECT_EQ(afa75_read_settings(ini.load(), {2026, 3, 4}).inputs.NKAUFPREIS, 179'275.65);
    // What the dialog writes back is what they read.
    Afa75Inputs in = inputs({2000, 1, 1}, {2000, 1, 1}, false, false, 1, 179'275.65);
    ASSERT_TRUE(ini.set_many(kAfa75Settings.name, afa75_settings_entries(in, 421, "", 0, 0)));
    EXPECT_EQ(afa75_cost(ini), 179'275.65);
    EXPECT_TRUE(afa75_cost_equals(afa75_cost(ini), 179'275.65));
}

TEST(Steu75eTable, RowsAreWrittenAsTheLettingPlanReadsThem) {
    EXPECT_EQ(steu75e_layout(), core::catalogue_layout("STEU75E"));
    test::TempDir dir;
    const auto file = dir / kSteu75eFile;
    ASSERT_TRUE(core::dbf::create_table(file, steu75e_layout()));
    core::dbf::Table table;
    ASSERT_TRUE(table.open(file, kSteu75eAlias));
    write_steu75e_rows(table, p75e_rech(inputs({1990, 6, 15}, {1991, 4, 30}, false, true, 2)).rows);
    const Afa75Outcome small = p75e_rech(inputs({2004, 1, 1}, {1910, 1, 1}, false, false, 1, 33'333.33));
    write_steu75e_rows(table, small.rows);
    EXPECT_EQ(table.reccount(), 40);
    EXPECT_EQ(table.recno(), 1);
    const auto back = read_steu75e_rows(table);
    ASSERT_EQ(back.size(), 40u);
    EXPECT_EQ(back[39].JAHR, 2043);
    EXPECT_EQ(back[39].STJAHR, 40);
    EXPECT_EQ(back[39].FREIBETRAG, 833.33);

    const std::string text = test::run_python(
        "from dbfread import DBF\n"
        "t = list(DBF('" +
        file.string() +
        "'))\n"
        "print(len(t), [f.name + f.type + str(f.length) + '.' + str(f.decimal_count) for f in DBF('" +
        file.string() +
        "').fields])\n"
        "print(';'.join(str(v) for v in t[0].values()))\n"
        "print(round(sum(r['FREIBETRAG'] for r in t), 2))\n");
    EXPECT_EQ(text,
              "40 ['JAHRN4.0', 'FREIBETRAGN12.2', 'STJAHRN3.0', 'STVORTEILN12.2']\n"
              "2004;833.33;1;2.5\n"
              "33333.2\n");
}

}  // namespace
