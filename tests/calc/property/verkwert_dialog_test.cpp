// The market value and its depreciable-base dialog: the example, the age after an input change,
// the results in BER_VKW and the hand-over to the depreciation for letting.
#include "calc/property/verkwert_dialog.h"

#include <QGroupBox>
#include <QScreen>

#include "app/calculators.h"
#include "core/catalogue.h"
#include "core/clock.h"
#include "core/dbf.h"
#include "support/gui_steps.h"
#include "toolkit/help.h"
#include "ui/numeric_field.h"

using namespace vestral;
using test::buttonOf;
using test::enter;
using test::find;
using test::textOf;

namespace {

class VerkwertDialogTest : public test::CalculatorTest {
  protected:
    void SetUp() override {
        CalculatorTest::SetUp();
        core::set_today_for_tests({2006, 6, 1});
    }
    static void market(const std::function<void(QWidget*)>& body) {
        inDialog(
            "verkwertDialog", [] { calc::verkwert(nullptr); }, body);
    }
    static void example(QWidget* d) {
        enter(d, "NFLAECHE", "500");
        enter(d, "NBORIWERT", "200");
        enter(d, "NBAUKOST", "150000");
        enter(d, "NBKINDEX1", "110");
        enter(d, "NBKINDEX2", "100");
        enter(d, "NBEZJAHR", "1996");
        enter(d, "NBERJAHR", "2006");
    }
    // A schedule of three years, as the depreciation for letting leaves it.
    void scheduleOfThreeYears() const {
        const auto file = dir() / "STEU75E.DBF";
        ASSERT_TRUE(core::dbf::create_table(file, core::catalogue_layout("STEU75E")));
        core::dbf::Table t;
        ASSERT_TRUE(t.open(file, "DSTE"));
        for (int y = 2006; y < 2009; ++y) {
            t.append_blank();
            t.set_num("JAHR", y);
        }
        ASSERT_TRUE(t.flush());
    }
    long scheduleRows() const {
        core::dbf::Table t;
        if (!t.open(dir() / "STEU75E.DBF", "DSTE")) return -1;
        return t.reccount();
    }
};

TEST_F(VerkwertDialogTest, TheExampleAndItsShares) {
    market([&](QWidget* d) {
        EXPECT_EQ(d->windowTitle(), "Verkehrswert berechnen");
        EXPECT_GE(d->width(), 350);
        EXPECT_GE(d->height(), 565);
        EXPECT_TRUE(d->screen()->availableGeometry().contains(d->geometry()));
        test::expectNothingCut(d);
        EXPECT_EQ(toolkit::help::topic(), "Verkehrswertberechnung");
        EXPECT_EQ(find<QGroupBox>(d, "groupLand")->title(), "Verkehrswert von Grund und Boden");
        EXPECT_EQ(find<QGroupBox>(d, "groupBuilding")->title(), "Verkehrswert des Gebäudes");
        EXPECT_EQ(find<ui::NumericField>(d, "NBKINDEX1")->helpText(), "Baukostenindex im Berechnungsjahr");
        EXPECT_EQ(find<ui::NumericField>(d, "NBEZJAHR")->helpText(), "Jahr der Bezugsfertigkeit");
        EXPECT_EQ(buttonOf(d, "afaButton")->toolTip(), "AfA errechnen");
        EXPECT_EQ(buttonOf(d, "computeButton")->toolTip(), "Verkehrswert errechnen");
        // Nothing stored: the calculation year is the current year, nothing to compute yet.
        EXPECT_EQ(textOf(d, "NBERJAHR"), "2006");
        EXPECT_FALSE(buttonOf(d, "computeButton")->isEnabled());
        EXPECT_FALSE(buttonOf(d, "afaButton")->isEnabled());

        example(d);
        buttonOf(d, "computeButton")->click();
        EXPECT_EQ(textOf(d, "NVKWGRUND"), "100.000,00");
        EXPECT_EQ(textOf(d, "NVKWGPROZ"), "40,24");
        EXPECT_EQ(textOf(d, "NALTER"), "10");
        EXPECT_EQ(textOf(d, "NVKWBAU"), "148.500,00");
        EXPECT_EQ(textOf(d, "NVKWBPROZ"), "59,76");
        EXPECT_EQ(textOf(d, "NVKWALLES"), "248.500,00");
        EXPECT_EQ(textOf(d, "NVKWAPROZ"), "100,00");
        EXPECT_TRUE(buttonOf(d, "afaButton")->isEnabled());
        EXPECT_TRUE(find<QWidget>(d, "NFLAECHE")->hasFocus());
    });
    // The results and inputs as the depreciation value and the property values read them.
    EXPECT_EQ(ini().get("BER_VKW", "VKWGrund", ""), "100000");
    EXPECT_EQ(ini().get("BER_VKW", "VKWBau", ""), "148500");
    EXPECT_EQ(ini().get("BER_VKW", "VKWBProz", ""), "59.7585513078471");
    EXPECT_EQ(ini().get("BER_VKW", "VKWAlles", ""), "248500");
    EXPECT_EQ(ini().get("BER_VKW", "IBaukost", ""), "165000");
    EXPECT_EQ(ini().get("BER_VKW", "BKIndex1", ""), "110.00");
    EXPECT_EQ(ini().get("BER_GBW", "GFlaeche", ""), "500.00");
    EXPECT_EQ(ini().get("BER_GBW", "BezJahr", ""), "1996");
    EXPECT_EQ(ini().get("BER_GBW", "BerJahr", ""), "2006");
    EXPECT_EQ(ini().get("BER_VKW", "WertAFA", ""), "0");
}

TEST_F(VerkwertDialogTest, AnInputChangeClearsTheResultsAndTheAgeWaitsForTheCalculation) {
    market([&](QWidget* d) {
        example(d);
        buttonOf(d, "computeButton")->click();
        ASSERT_EQ(textOf(d, "NVKWALLES"), "248.500,00");
        enter(d, "NBORIWERT", "210");
        for (const char* n : {"NVKWGRUND", "NVKWGPROZ", "NVKWBAU", "NVKWBPROZ", "NVKWALLES", "NVKWAPROZ"})
            EXPECT_EQ(textOf(d, n), "0,00") << n;
        EXPECT_EQ(textOf(d, "NALTER"), "10");
        EXPECT_FALSE(buttonOf(d, "afaButton")->isEnabled());
        // Calculated before it was ready: age 0 until "Berechnen", then negative and a higher value.
        enter(d, "NBEZJAHR", "2008");
        EXPECT_EQ(textOf(d, "NALTER"), "0");
        buttonOf(d, "computeButton")->click();
        EXPECT_EQ(textOf(d, "NALTER"), "-2");
        EXPECT_EQ(textOf(d, "NVKWBAU"), "168.300,00");

        clearMessages();
        enter(d, "NBERJAHR", "2012");
        ASSERT_EQ(messages().size(), 1u);
        EXPECT_EQ(messages()[0].text,
                  "Die Eingabe für 'Berechnungsjahr' ist zu hoch !\nGeben Sie einen Wert zwischen 1990 und "
                  "2011 ein.");
        enter(d, "NBERJAHR", "2006");
    });
    // Closed after an input change: no stale results are handed on.
    EXPECT_EQ(ini().get("BER_VKW", "VKWAlles", ""), "0");
    EXPECT_EQ(ini().get("BER_GBW", "BerJahr", ""), "2006");
}

TEST_F(VerkwertDialogTest, DepreciableBaseHandedToTheDepreciationForLetting) {
    scheduleOfThreeYears();
    ini().set("BER_AFA", "KaufDM", "300000.00");
    market([&](QWidget* d) {
        example(d);
        buttonOf(d, "computeButton")->click();
        inDialog(
            "vwAfaDialog", [&] { buttonOf(d, "afaButton")->click(); },
            [&](QWidget* a) {
                EXPECT_EQ(a->windowTitle(), "AfA aus Verkehrswert berechnen");
                EXPECT_GE(a->width(), 200);
                EXPECT_GE(a->height(), 301);
                test::expectNothingCut(a);
                EXPECT_EQ(textOf(a, "NKAUFDM"), "300000,00");
                EXPECT_EQ(textOf(a, "NVKWBPROZ"), "59,76");
                EXPECT_EQ(textOf(a, "NWERTAFA"), "0,00");
                EXPECT_EQ(buttonOf(a, "computeButton")->toolTip(), "AfA berechnen");
                buttonOf(a, "computeButton")->click();
                EXPECT_EQ(textOf(a, "NWERTAFA"), "179.275,65");
                clearMessages();
                answer(toolkit::MsgAnswer::Yes);
            });
        ASSERT_EQ(messages().size(), 1u);
        EXPECT_EQ(messages()[0].kind, toolkit::MsgKind::Question);
        EXPECT_EQ(messages()[0].title, "Frage");
        EXPECT_EQ(messages()[0].text, "Das Ergebnis in die AfA bei Vermietung übernehmen ?");
        EXPECT_FALSE(messages()[0].default_yes);
        EXPECT_EQ(ini().get("AFA75", "Kaufpreis", ""), "179275.653923541");
        EXPECT_EQ(scheduleRows(), 0);

        // "Nein" changes nothing.
        ini().set("AFA75", "Kaufpreis", "1");
        inDialog(
            "vwAfaDialog", [&] { buttonOf(d, "afaButton")->click(); },
            [&](QWidget* a) {
                enter(a, "NKAUFDM", "250000");
                buttonOf(a, "computeButton")->click();
                EXPECT_EQ(textOf(a, "NWERTAFA"), "149.396,38");
                answer(toolkit::MsgAnswer::No);
            });
        EXPECT_EQ(ini().get("AFA75", "Kaufpreis", ""), "1");

        // No base computed: no question.
        clearMessages();
        inDialog(
            "vwAfaDialog", [&] { buttonOf(d, "afaButton")->click(); },
            [&](QWidget* a) { EXPECT_EQ(textOf(a, "NKAUFDM"), "250000,00"); });
        EXPECT_TRUE(messages().empty());
    });
    EXPECT_EQ(ini().get("BER_AFA", "KaufDM", ""), "250000.00");
}

TEST_F(VerkwertDialogTest, OnlyLandGivesTheWholeShareToTheLand) {
    market([&](QWidget* d) {
        enter(d, "NFLAECHE", "500");
        enter(d, "NBORIWERT", "200");
        enter(d, "NBEZJAHR", "1996");
        buttonOf(d, "computeButton")->click();
        EXPECT_EQ(textOf(d, "NVKWGPROZ"), "100,00");
        EXPECT_EQ(textOf(d, "NVKWBAU"), "0,00");
        EXPECT_EQ(textOf(d, "NVKWBPROZ"), "0,00");
        // Built 1900: age above 100 gives a negative building value.
        enter(d, "NBAUKOST", "150000");
        enter(d, "NBKINDEX1", "110");
        enter(d, "NBKINDEX2", "100");
        enter(d, "NBEZJAHR", "1900");
        buttonOf(d, "computeButton")->click();
        EXPECT_EQ(textOf(d, "NALTER"), "106");
        EXPECT_EQ(textOf(d, "NVKWBAU"), "-9.900,00");
    });
}

TEST_F(VerkwertDialogTest, StartsFromTheMenu) {
    app::register_calculators();
    inDialog(
        "verkwertDialog", [] { EXPECT_TRUE(app::launch_calculator("VERKWERT", nullptr)); }, [](QWidget*) {});
}

}  // namespace
