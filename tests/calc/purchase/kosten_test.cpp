#include <gtest/gtest.h>

#include <set>
#include <string>

#include "calc/purchase/kosten1.h"
#include "calc/purchase/kosten2.h"
#include "core/inpfail.h"
#include "core/mask.h"
#include "core/numbers.h"
#include "support/core_tempdir.h"

using namespace vestral;
namespace k1 = vestral::calc::kosten1;
namespace k2 = vestral::calc::kosten2;

namespace {

double cents(double v) {
    return core::round_to(v, 2);
}

// The defaults of an empty settings file, as the dialogs open for the first time.
k1::Inputs building_defaults() {
    test::TempDir dir;
    return k1::ko_gdata(core::IniFile(dir / "VESTRAL.INI"));
}
k2::Inputs purchase_defaults() {
    test::TempDir dir;
    return k2::ko_gdata(core::IniFile(dir / "VESTRAL.INI"));
}

}  // namespace

// ---- Kosten beim Hausbau ------------------------------------------------------------------------

TEST(KostenHausbau, DefaultsOfAnEmptySettingsFile) {
    const k1::Inputs in = building_defaults();
    EXPECT_EQ(in.NVERMESS, 2.5);
    EXPECT_EQ(in.NNOTAR, 1.5);
    EXPECT_EQ(in.NGRUEST, 3.5);
    EXPECT_EQ(in.NMAKLER, 6.0);
    EXPECT_EQ(in.NMWST, 16.0);
    for (double k1::Inputs::*m : {&k1::Inputs::NGRUNDDM, &k1::Inputs::NGRUNDQM, &k1::Inputs::NERSCHL,
                                  &k1::Inputs::NBAUANTR, &k1::Inputs::NERSTELL, &k1::Inputs::NKELLER,
                                  &k1::Inputs::NANSCHL, &k1::Inputs::NAUSSEN, &k1::Inputs::NGARAGE})
        EXPECT_EQ(in.*m, 0.0);
}

TEST(KostenHausbau, LandWithDevelopmentIsTheBaseOfThePercentages) {
    k1::Inputs in = building_defaults();
    in.NGRUNDDM = 200;
    in.NGRUNDQM = 500;
    in.NERSCHL = 30;
    const k1::Results r = k1::ko_rech(in);
    EXPECT_EQ(cents(r.NGRUNDST), 100000.00);
    EXPECT_EQ(cents(r.NERSCHLDM), 15000.00);
    EXPECT_EQ(cents(r.NGRUNDST + r.NERSCHLDM), 115000.00);
    EXPECT_EQ(cents(r.NVERMESSDM), 2875.00);
    EXPECT_EQ(cents(r.NNOTARDM), 1725.00);
    EXPECT_EQ(cents(r.NGRUESTDM), 4025.00);
    EXPECT_EQ(cents(r.NMAKLERDM), 0.00);  // no building cost, no commission
    EXPECT_EQ(cents(r.NKOSTEN), 123625.00);
}

TEST(KostenHausbau, CommissionOnTheBuildingCostAlonePlusTheTaxSetting) {
    k1::Inputs in = building_defaults();
    in.NERSTELL = 250000;
    EXPECT_EQ(cents(k1::ko_rech(in).NMAKLERDM), 17400.00);
    // Land does not raise the commission.
    in.NGRUNDDM = 200;
    in.NGRUNDQM = 500;
    in.NERSCHL = 30;
    const k1::Results r = k1::ko_rech(in);
    EXPECT_EQ(cents(r.NMAKLERDM), 17400.00);
    EXPECT_EQ(cents(r.NERSTELLDM), 250000.00);
    EXPECT_EQ(cents(r.NKOSTEN), 391025.00);

    // The rate of section SETUP_PROG is used.
    test::TempDir dir;
    core::IniFile ini(dir / "VESTRAL.INI");
    ASSERT_TRUE(ini.set("SETUP_PROG", "MWST", "19"));
    k1::Inputs taxed = k1::ko_gdata(ini);
    EXPECT_EQ(taxed.NMWST, 19.0);
    taxed.NERSTELL = 250000;
    EXPECT_EQ(cents(k1::ko_rech(taxed).NMAKLERDM), 17850.00);
    taxed.NMWST = 0;
    EXPECT_EQ(cents(k1::ko_rech(taxed).NMAKLERDM), 15000.00);
}

TEST(KostenHausbau, LandSizeZeroClearsEveryLandBasedAmount) {
    k1::Inputs in = building_defaults();
    in.NGRUNDDM = 200;
    in.NGRUNDQM = 0;
    in.NERSCHL = 30;
    in.NERSTELL = 250000;
    in.NBAUANTR = 1200;
    const k1::Results r = k1::ko_rech(in);
    EXPECT_EQ(r.NGRUNDST, 0.0);
    EXPECT_EQ(r.NERSCHLDM, 0.0);
    EXPECT_EQ(r.NVERMESSDM, 0.0);
    EXPECT_EQ(r.NNOTARDM, 0.0);
    EXPECT_EQ(r.NGRUESTDM, 0.0);
    EXPECT_EQ(cents(r.NMAKLERDM), 17400.00);
    EXPECT_EQ(cents(r.NKOSTEN), 268600.00);
}

TEST(KostenHausbau, FixedAmountsPassThroughIntoTheTotal) {
    struct Case {
        double k1::Inputs::*input;
        double k1::Results::*amount;
    };
    const Case cases[] = {
        {&k1::Inputs::NBAUANTR, &k1::Results::NBAUANTRDM}, {&k1::Inputs::NERSTELL, &k1::Results::NERSTELLDM},
        {&k1::Inputs::NKELLER, &k1::Results::NKELLERDM},   {&k1::Inputs::NANSCHL, &k1::Results::NANSCHLDM},
        {&k1::Inputs::NAUSSEN, &k1::Results::NAUSSENDM},   {&k1::Inputs::NGARAGE, &k1::Results::NGARAGEDM}};
    for (const Case& c : cases) {
        k1::Inputs in;  // every rate 0: only the amount itself counts
        in.*c.input = 12345.67;
        const k1::Results r = k1::ko_rech(in);
        EXPECT_EQ(r.*c.amount, 12345.67);
        EXPECT_EQ(r.NKOSTEN, 12345.67);
    }
}

TEST(KostenHausbau, NothingIsRoundedUntilItIsShown) {
    k1::Inputs in = building_defaults();
    in.NGRUNDDM = 123.45;
    in.NGRUNDQM = 617.33;
    in.NVERMESS = 2.345;
    const k1::Results r = k1::ko_rech(in);
    EXPECT_DOUBLE_EQ(r.NVERMESSDM, 123.45 * 617.33 / 100 * 2.345);
    EXPECT_NE(r.NVERMESSDM, cents(r.NVERMESSDM));
}

TEST(KostenHausbau, EditingShowsZeros) {
    const k1::Results r = k1::ko_idata();
    EXPECT_EQ(r.NGRUNDST, 0.0);
    EXPECT_EQ(r.NMAKLERDM, 0.0);
    EXPECT_EQ(r.NKOSTEN, 0.0);
}

TEST(KostenHausbau, ThirteenRowsWithTheirTexts) {
    ASSERT_EQ(k1::kFields.size(), 13u);
    const char* labels[] = {"Grundstückspreis pro m²", "Grundstücks-Größe", "Erschließungskosten m²",
                            "Vermessungskosten",       "Notarkosten",       "Bauantragskosten",
                            "Grunderwerbsteuer",       "Hausbaukosten",     "Maklerkosten (inkl. Mwst.)",
                            "Keller / Bodenplatte",    "Anschlußkosten",    "Außenanlage",
                            "Garage / Carport"};
    for (size_t i = 0; i < 13; ++i) EXPECT_STREQ(k1::kFields[i].label, labels[i]);
    EXPECT_EQ(k1::kFields[0].amount, nullptr);  // the price per m² has no amount of its own
    for (size_t i = 1; i < 13; ++i) EXPECT_NE(k1::kFields[i].amount, nullptr) << labels[i];
    EXPECT_STREQ(k1::kFields[1].unit, "m²");
    EXPECT_STREQ(k1::kFields[8].help, "Maklerkosten (Courtage) in %");
    EXPECT_STREQ(k1::kFields[10].help, "Anschlußkosten für Gas, Wasser und Strom in EUR");
    // Only the two land fields replace their content with the first key.
    for (size_t i = 0; i < 13; ++i)
        EXPECT_EQ(core::Mask::parse(k1::kFields[i].mask).replace_on_first_key, i < 2) << labels[i];
}

TEST(KostenHausbau, FieldChecksAndTheirMessages) {
    // Every bound passes itself and fails just above it.
    for (const k1::Field& f : k1::kFields) {
        EXPECT_TRUE(core::inpfail_passes(f.check(f.high))) << f.check_name;
        EXPECT_TRUE(core::inpfail_passes(f.check(0))) << f.check_name;
        EXPECT_FALSE(core::inpfail_passes(f.check(f.high + 0.001))) << f.check_name;
        EXPECT_FALSE(core::inpfail_passes(f.check(-0.01))) << f.check_name;
    }
    EXPECT_EQ(*core::inpfail_message(k1::kFields[4].check(12)),
              "Die Eingabe für 'Notarkosten' ist zu hoch !\n"
              "Geben Sie einen Wert zwischen 0 und 9 ein.\n\n"
              "Durchschnittswerte: 1% bis 1,5%.");
    EXPECT_EQ(*core::inpfail_message(k1::kFields[6].check(10)),
              "Die Eingabe für 'Grunderwerbssteuer' ist zu hoch !\n"
              "Geben Sie einen Wert zwischen 0 und 9 ein.\n\n"
              "Durchschnittswert: 3,5%.");
    EXPECT_EQ(*core::inpfail_message(k1::kFields[3].check(-1)),
              "Die Eingabe für 'Vermessungskosten' ist zu niedrig !\n"
              "Geben Sie einen Wert zwischen 0 und 9 ein.\n\n"
              "Durchschnittswerte: 0,5% bis 2,5%.");
    EXPECT_EQ(*core::inpfail_message(k1::kFields[9].check(100000000)),
              "Die Eingabe für 'Kosten Keller/Bodenplatte' ist zu hoch !\n"
              "Geben Sie einen Wert zwischen 0 und 99999999 ein.");
    EXPECT_EQ(k1::kFields[8].high, 19);
    EXPECT_EQ(k1::kFields[5].high, 9999999);
}

TEST(KostenHausbau, SettingsSectionWithTheTotal) {
    k1::Inputs in = building_defaults();
    in.NGRUNDDM = 200;
    in.NGRUNDQM = 500;
    in.NERSCHL = 30;
    in.NERSTELL = 250000;
    in.NVERMESS = 2.345;
    const auto entries = k1::ko_wdata_entries(in);
    ASSERT_EQ(entries.size(), 14u);
    const std::pair<const char*, const char*> want[] = {
        {"GrundDM", "200.00"}, {"GrundQM", "500.00"},  {"Erschl", "30.00"}, {"Vermess", "2.345"},
        {"Notar", "1.500"},    {"Bauantr", "0.00"},    {"GruEst", "3.500"}, {"Erstell", "250000.00"},
        {"Makler", "6.000"},   {"Keller", "0.00"},     {"Anschl", "0.00"},  {"Aussen", "0.00"},
        {"Garage", "0.00"},    {"Kosten", "390846.75"}};
    for (size_t i = 0; i < 14; ++i) {
        EXPECT_EQ(entries[i].key, want[i].first);
        EXPECT_EQ(entries[i].value, want[i].second) << want[i].first;
    }

    // Written and read back; the tax rate is never written to this section.
    test::TempDir dir;
    core::IniFile ini(dir / "VESTRAL.INI");
    in.NMWST = 19;
    ASSERT_TRUE(k1::ko_wdata(ini, in));
    EXPECT_EQ(ini.get("KOSTEN1", "Kosten", ""), "391296.75");
    EXPECT_EQ(ini.get("KOSTEN1", "MWST", "<none>"), "<none>");
    const k1::Inputs back = k1::ko_gdata(ini);
    EXPECT_EQ(back.NVERMESS, 2.345);
    EXPECT_EQ(back.NERSTELL, 250000);
    EXPECT_EQ(back.NMWST, 16);  // from SETUP_PROG, which holds nothing here
}

TEST(KostenHausbau, KeysAreWrittenWithTheDecimalsOfTheirMasks) {
    for (const auto& key : k1::kKeys) {
        const k1::Field* field = nullptr;
        for (const k1::Field& f : k1::kFields)
            if (f.value == key.value) field = &f;
        ASSERT_NE(field, nullptr) << key.key;
        EXPECT_EQ(core::Mask::parse(field->mask).decimals(), key.decimals) << key.key;
    }
    std::set<std::string> names;
    for (const auto& key : k1::kKeys) names.insert(key.key);
    EXPECT_EQ(names.size(), 13u);
}

// ---- Kosten beim Hauskauf -----------------------------------------------------------------------

TEST(KostenHauskauf, AllPercentagesOnLandAndHouse) {
    k2::Inputs in = purchase_defaults();
    EXPECT_EQ(in.NNOTAR, 1.5);
    EXPECT_EQ(in.NGRUEST, 3.5);
    EXPECT_EQ(in.NMAKLER, 6.0);
    in.NGRUNDDM = 200;
    in.NGRUNDQM = 500;
    in.NERSTELL = 200000;
    const k2::Results r = k2::ko_rech(in);
    EXPECT_EQ(cents(r.NGRUNDST), 100000.00);
    EXPECT_EQ(cents(r.NERSTELLDM), 200000.00);
    EXPECT_EQ(cents(r.NPREIS), 300000.00);
    EXPECT_EQ(cents(r.NNOTARDM), 4500.00);
    EXPECT_EQ(cents(r.NGRUESTDM), 10500.00);
    EXPECT_EQ(cents(r.NMAKLERDM), 20880.00);  // 18 000 plus 16 %
    EXPECT_EQ(cents(k2::additional(r)), 35880.00);
    EXPECT_EQ(cents(r.NKOSTEN), 335880.00);
}

TEST(KostenHauskauf, WithoutLandThePercentagesApplyToTheHousePriceAlone) {
    k2::Inputs in = purchase_defaults();
    in.NGRUNDDM = 200;
    in.NGRUNDQM = 0;
    in.NERSTELL = 200000;
    const k2::Results r = k2::ko_rech(in);
    EXPECT_EQ(r.NGRUNDST, 0.0);
    EXPECT_EQ(cents(r.NPREIS), 200000.00);
    EXPECT_EQ(cents(r.NNOTARDM), 3000.00);
    EXPECT_EQ(cents(r.NGRUESTDM), 7000.00);
    EXPECT_EQ(cents(r.NMAKLERDM), 13920.00);
    EXPECT_EQ(cents(r.NKOSTEN), 223920.00);
}

TEST(KostenHauskauf, TheTaxSettingDoesNotApply) {
    test::TempDir dir;
    core::IniFile ini(dir / "VESTRAL.INI");
    ASSERT_TRUE(ini.set("SETUP_PROG", "MWST", "19"));
    k2::Inputs in = k2::ko_gdata(ini);
    in.NGRUNDDM = 200;
    in.NGRUNDQM = 500;
    in.NERSTELL = 200000;
    EXPECT_EQ(cents(k2::ko_rech(in).NMAKLERDM), 20880.00);
    EXPECT_EQ(k2::kVat, 16);
}

TEST(KostenHauskauf, SixInputsWithTheirTexts) {
    ASSERT_EQ(k2::kFields.size(), 6u);
    const char* labels[] = {"Grundstückspreis pro m²", "Grundstücks-Größe",
                            "Hauskaufpreis",           "Notarkosten",
                            "Grunderwerbsteuer",       "Maklerkosten inkl. Mwst."};
    for (size_t i = 0; i < 6; ++i) EXPECT_STREQ(k2::kFields[i].label, labels[i]);
    // Here the three rates replace their content with the first key as well.
    for (size_t i = 0; i < 6; ++i)
        EXPECT_EQ(core::Mask::parse(k2::kFields[i].mask).replace_on_first_key, i != 2) << labels[i];
    EXPECT_STREQ(k2::kFields[4].help, "Grunderwerbssteuer in %");
    EXPECT_EQ(*core::inpfail_message(k2::kFields[5].check(20)),
              "Die Eingabe für 'Maklercourtage' ist zu hoch !\n"
              "Geben Sie einen Wert zwischen 0 und 19 ein.\n\n"
              "Durchschnittswerte: 3,0% bis 6,0%.");
    EXPECT_EQ(*core::inpfail_message(k2::kFields[1].check(1000000)),
              "Die Eingabe für 'Grundstücksgröße' ist zu hoch !\n"
              "Geben Sie einen Wert zwischen 0 und 999999 ein.");
    EXPECT_TRUE(core::inpfail_passes(k2::kFields[2].check(99999999)));
    EXPECT_EQ(std::string(k2::kNote),
              "Die in diesem Dialog errechneten Kosten fallen nur beim Kauf einer\n"
              "Immobilie an. Der Kaufpreis der Immobilie inkl. Grundstück kann auch\n"
              "im Feld 'Hauskaufpreis' zusammengefaßt werden.");
}

TEST(KostenHauskauf, SettingsSectionWithoutTheTotal) {
    k2::Inputs in = purchase_defaults();
    in.NGRUNDDM = 199.999;  // an amount keeps two decimals
    in.NERSTELL = 200000;
    in.NMAKLER = 3.57;
    const auto entries = k2::ko_wdata_entries(in);
    ASSERT_EQ(entries.size(), 6u);
    const std::pair<const char*, const char*> want[] = {{"GrundDM", "200.00"},    {"GrundQM", "0.00"},
                                                        {"Erstell", "200000.00"}, {"Notar", "1.500"},
                                                        {"GruEst", "3.500"},      {"Makler", "3.570"}};
    for (size_t i = 0; i < 6; ++i) {
        EXPECT_EQ(entries[i].key, want[i].first);
        EXPECT_EQ(entries[i].value, want[i].second);
    }
    test::TempDir dir;
    core::IniFile ini(dir / "VESTRAL.INI");
    ASSERT_TRUE(k2::ko_wdata(ini, in));
    EXPECT_EQ(ini.get("KOSTEN2", "Kosten", "<none>"), "<none>");
    const k2::Inputs back = k2::ko_gdata(ini);
    EXPECT_EQ(back.NGRUNDDM, 200);
    EXPECT_EQ(back.NMAKLER, 3.57);
    for (const auto& key : k2::kKeys) {
        for (const k2::Field& f : k2::kFields) {
            if (f.value == key.value) {
                EXPECT_EQ(core::Mask::parse(f.mask).decimals(), key.decimals) << key.key;
            }
        }
    }
}
