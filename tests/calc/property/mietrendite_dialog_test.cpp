// The net and gross rent-yield dialogs: computing, enabling, the kept gross results and the rent
// both dialogs share through the settings file.
#include "calc/property/mietrendite_dialog.h"

#include <QScreen>

#include "app/calculators.h"
#include "support/gui_steps.h"
#include "toolkit/help.h"
#include "ui/numeric_field.h"

using namespace vestral;
using test::buttonOf;
using test::enter;
using test::find;
using test::textOf;

namespace {

class MietrenditeDialogTest : public test::CalculatorTest {
  protected:
    static double valueOf(QWidget* d, const char* name) { return find<ui::NumericField>(d, name)->value(); }
    static void net(const std::function<void(QWidget*)>& body) {
        inDialog(
            "nmietDialog", [] { calc::ber_nmiet(nullptr); }, body);
    }
    static void gross(const std::function<void(QWidget*)>& body) {
        inDialog(
            "bmietDialog", [] { calc::ber_bmiet1(nullptr); }, body);
    }
};

TEST_F(MietrenditeDialogTest, NetYield) {
    net([&](QWidget* d) {
        EXPECT_EQ(d->windowTitle(), "Mietrendite errechnen - Netto");
        EXPECT_GE(d->width(), 225);
        EXPECT_GE(d->height(), 301);
        EXPECT_TRUE(d->screen()->availableGeometry().contains(d->geometry()));
        test::expectNothingCut(d);
        EXPECT_EQ(toolkit::help::topic(), "Mietrendite errechnen - Netto");
        auto* compute = buttonOf(d, "computeButton");
        EXPECT_EQ(compute->toolTip(), "Netto-Mietrendite errechnen");
        EXPECT_EQ(find<ui::NumericField>(d, "NERTRAG")->helpText(), "Jahresreinertrag");
        EXPECT_EQ(find<ui::NumericField>(d, "NKAUFDM")->helpText(), "Kaufpreis der Immobilie");
        EXPECT_FALSE(compute->isEnabled());

        enter(d, "NERTRAG", "12000");
        // A price of 0 passes its check but keeps "Berechnen" disabled.
        clearMessages();
        enter(d, "NKAUFDM", "0");
        EXPECT_TRUE(messages().empty());
        EXPECT_FALSE(compute->isEnabled());
        enter(d, "NKAUFDM", "200000");
        ASSERT_TRUE(compute->isEnabled());
        compute->click();
        EXPECT_EQ(textOf(d, "NRENDITE"), "6,00");
        EXPECT_TRUE(find<QLineEdit>(d, "NRENDITE")->font().bold());
        // Every change of an input sets the yield to 0.
        enter(d, "NKAUFDM", "300000");
        EXPECT_EQ(textOf(d, "NRENDITE"), "0,00");
        compute->click();
        EXPECT_EQ(textOf(d, "NRENDITE"), "4,00");

        clearMessages();
        enter(d, "NERTRAG", "0");
        ASSERT_EQ(messages().size(), 1u);
        EXPECT_EQ(messages()[0].text,
                  "Die Eingabe für 'Jahresreinertrag' ist zu niedrig !\n"
                  "Geben Sie einen Wert zwischen 1 und 999999999 ein.");
        enter(d, "NERTRAG", "12000");
    });
    EXPECT_EQ(toolkit::help::topic(), "Hauptauswahl");
    EXPECT_EQ(ini().get("BER_MIET", "KaufWert", ""), "300000.00");
    EXPECT_EQ(ini().get("BER_MIET", "Ertrag", ""), "12000.00");
}

TEST_F(MietrenditeDialogTest, GrossYieldKeepsItsResultsWhileEditing) {
    gross([&](QWidget* d) {
        EXPECT_EQ(d->windowTitle(), "Mietrendite errechnen (Brutto) - Methode 1");
        EXPECT_GE(d->width(), 225);
        EXPECT_GE(d->height(), 301);
        test::expectNothingCut(d);
        EXPECT_EQ(toolkit::help::topic(), "Mietrendite errechnen - Brutto - Methode 1");
        auto* compute = buttonOf(d, "computeButton");
        EXPECT_EQ(compute->toolTip(), "Brutto-Mietrendite errechnen");
        EXPECT_EQ(find<ui::NumericField>(d, "NKALTMIETE")->helpText(), "Jahres-Nettokaltmiete");

        enter(d, "NKAUFDM", "200000");
        enter(d, "NKALTMIETE", "12000");
        compute->click();
        EXPECT_EQ(textOf(d, "NPMVERHALT"), "16,67");
        EXPECT_EQ(textOf(d, "NRENDITE"), "6,00");
        enter(d, "NKAUFDM", "240000");
        EXPECT_EQ(textOf(d, "NPMVERHALT"), "16,67");
        EXPECT_EQ(textOf(d, "NRENDITE"), "6,00");
        compute->click();
        EXPECT_EQ(textOf(d, "NPMVERHALT"), "20,00");
        EXPECT_EQ(textOf(d, "NRENDITE"), "5,00");
        enter(d, "NKAUFDM", "0");
        EXPECT_FALSE(compute->isEnabled());
        EXPECT_EQ(textOf(d, "NRENDITE"), "5,00");
        enter(d, "NKAUFDM", "240000");
    });
    EXPECT_EQ(ini().get("BER_MIET", "Ertrag", ""), "12000.00");
    EXPECT_EQ(ini().get("BER_MIET", "Kaltmiete", ""), "12000.00");
}

TEST_F(MietrenditeDialogTest, TheRentComesBackInBothDialogs) {
    gross([&](QWidget* d) {
        enter(d, "NKAUFDM", "250000");
        enter(d, "NKALTMIETE", "13500");
    });
    gross([&](QWidget* d) {
        EXPECT_EQ(valueOf(d, "NKAUFDM"), 250000);
        EXPECT_EQ(valueOf(d, "NKALTMIETE"), 13500);
    });
    net([&](QWidget* d) {
        EXPECT_EQ(valueOf(d, "NERTRAG"), 13500);
        EXPECT_EQ(valueOf(d, "NKAUFDM"), 250000);
        enter(d, "NERTRAG", "11000");
    });
    gross([&](QWidget* d) { EXPECT_EQ(valueOf(d, "NKALTMIETE"), 11000); });
}

TEST_F(MietrenditeDialogTest, BothStartFromTheMenu) {
    app::register_calculators();
    inDialog(
        "nmietDialog", [] { EXPECT_TRUE(app::launch_calculator("BER_NMIET", nullptr)); }, [](QWidget*) {});
    inDialog(
        "bmietDialog", [] { EXPECT_TRUE(app::launch_calculator("BER_BMIET1", nullptr)); }, [](QWidget*) {});
}

}  // namespace
