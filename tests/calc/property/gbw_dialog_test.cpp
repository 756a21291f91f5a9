// The two property-value dialogs driven as a user would: type, leave, compute, close, reopen.
#include "calc/property/gbw_dialog.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QScreen>
#include <QtTest/QTest>

#include "app/calculators.h"
#include "core/clock.h"
#include "support/gui_steps.h"
#include "toolkit/help.h"
#include "toolkit/status.h"
#include "ui/blocks.h"
#include "ui/numeric_field.h"

using namespace vestral;
using test::buttonOf;
using test::find;
using test::textOf;

namespace {

class GbwDialogTest : public test::CalculatorTest {
  protected:
    void SetUp() override {
        CalculatorTest::SetUp();
        core::set_today_for_tests({2006, 6, 1});
    }
    static void simple(const std::function<void(QWidget*)>& body) {
        inDialog(
            "gbwDialog", [] { calc::ber_gbw(nullptr); }, body);
    }
    static void earnings(const std::function<void(QWidget*)>& body) {
        inDialog(
            "gbwmDialog", [] { calc::ber_gbwm(nullptr); }, body);
    }
};

TEST_F(GbwDialogTest, SimpleValueOpensComputesAndSaves) {
    simple([&](QWidget* d) {
        EXPECT_EQ(d->windowTitle(), "Grundbesitzwert errechnen");
        EXPECT_GE(d->width(), 225);
        EXPECT_GE(d->height(), 301);
        EXPECT_TRUE(d->screen()->availableGeometry().contains(d->geometry()));
        test::expectNothingCut(d);
        EXPECT_EQ(toolkit::help::topic(), "Grundbesitzwert berechnen");
        auto* compute = buttonOf(d, "computeButton");
        EXPECT_TRUE(compute->isDefault());
        EXPECT_EQ(compute->toolTip(), "Grundbesitzwert errechnen");
        EXPECT_EQ(buttonOf(d, "closeButton")->toolTip(), "Dialog beenden");
        EXPECT_EQ(buttonOf(d, "helpButton")->toolTip(), "Hilfe anzeigen");
        EXPECT_FALSE(compute->isEnabled());  // nothing stored yet
        EXPECT_EQ(find<ui::NumericField>(d, "NJAHR")->helpText(), "Jahr der Bezugsfertigkeit");
        EXPECT_EQ(find<ui::NumericField>(d, "NMIETE")->helpText(), "Miete pro qm");
        EXPECT_EQ(find<QCheckBox>(d, "LEINZWEI")->text(), " Ein- oder Zweifamilienhaus");

        test::enter(d, "NJAHR", "1990");
        test::enter(d, "NFLAECHE", "100");
        test::enter(d, "NMIETE", "6");
        ASSERT_TRUE(compute->isEnabled());
        compute->click();
        EXPECT_EQ(textOf(d, "NGBWERT"), "82.800,00");
        EXPECT_TRUE(find<QLineEdit>(d, "NGBWERT")->font().bold());

        // The house option is an input: the value goes until the next computation.
        find<QCheckBox>(d, "LEINZWEI")->click();
        EXPECT_EQ(textOf(d, "NGBWERT"), "0,00");
        compute->click();
        EXPECT_EQ(textOf(d, "NGBWERT"), "99.360,00");
        test::enter(d, "NMIETE", "6,5");
        EXPECT_EQ(textOf(d, "NGBWERT"), "0,00");
        test::enter(d, "NMIETE", "6");
    });
    EXPECT_EQ(toolkit::help::topic(), "Hauptauswahl");
    EXPECT_EQ(ini().get("BER_GBW", "BezJahr", ""), "1990");
    EXPECT_EQ(ini().get("BER_GBW", "WFlaeche", ""), "100.00");
    EXPECT_EQ(ini().get("BER_GBW", "MMiete", ""), "6.00");
    EXPECT_EQ(ini().get("BER_GBW", "EinZwo", ""), "1");

    simple([&](QWidget* d) {
        EXPECT_EQ(textOf(d, "NJAHR"), "1990");
        EXPECT_EQ(textOf(d, "NFLAECHE"), "100,00");
        EXPECT_TRUE(find<QCheckBox>(d, "LEINZWEI")->isChecked());
        EXPECT_EQ(textOf(d, "NGBWERT"), "0,00");
        buttonOf(d, "computeButton")->click();
        EXPECT_EQ(textOf(d, "NGBWERT"), "99.360,00");
    });
}

TEST_F(GbwDialogTest, SimpleValueBoundsFollowTheClock) {
    simple([&](QWidget* d) {
        clearMessages();
        auto* year = find<QWidget>(d, "NJAHR");
        test::enter(year, "2012");
        ASSERT_EQ(messages().size(), 1u);
        EXPECT_EQ(messages()[0].title, "Eingabefehler");
        EXPECT_EQ(messages()[0].text,
                  "Die Eingabe für 'Jahr Bezugsfertig' ist zu hoch !\nGeben Sie einen Wert zwischen 1900 und "
                  "2011 ein.");
        QApplication::processEvents();
        EXPECT_TRUE(year->hasFocus());
        test::enter(year, "2011");
        EXPECT_EQ(messages().size(), 1u);
        test::enter(d, "NFLAECHE", "100");
        test::enter(d, "NMIETE", "6");
        buttonOf(d, "computeButton")->click();
        // Ready in five years: the value rises by 2.5 %.
        EXPECT_EQ(textOf(d, "NGBWERT"), "92.250,00");

        clearMessages();
        test::enter(d, "NMIETE", "0");
        ASSERT_EQ(messages().size(), 1u);
        EXPECT_EQ(
            messages()[0].text,
            "Die Eingabe für 'Miete qm' ist zu niedrig !\nGeben Sie einen Wert zwischen 1 und 9999999 ein.");
        test::enter(d, "NMIETE", "7");
    });
    // A refused value is never saved.
    EXPECT_EQ(ini().get("BER_GBW", "MMiete", ""), "7.00");
    EXPECT_EQ(ini().get("BER_GBW", "BezJahr", ""), "2011");
}

TEST_F(GbwDialogTest, EarningsMethodShowsEveryStep) {
    earnings([&](QWidget* d) {
        EXPECT_EQ(d->windowTitle(), "Grundbesitzwert nach Ertragswertverfahren und Mindestwertberechnung");
        EXPECT_GE(d->width(), 450);
        EXPECT_GE(d->height(), 551);
        EXPECT_TRUE(d->screen()->availableGeometry().contains(d->geometry()));
        test::expectNothingCut(d);
        EXPECT_EQ(toolkit::help::topic(), "Grundbesitzwert mit Ertragswertverfahren und Mindestwert");
        EXPECT_EQ(find<QGroupBox>(d, "groupEarnings")->title(), "Ertragswertverfahren");
        EXPECT_EQ(find<QGroupBox>(d, "groupMinimum")->title(), "Mindestwertberechnung");
        EXPECT_EQ(find<QCheckBox>(d, "LEINZWO")->text(), "&Ja");
        EXPECT_EQ(find<ui::NumericField>(d, "NBEZJAHR")->helpText(), "Erstbezugsjahr");
        EXPECT_EQ(find<ui::NumericField>(d, "NMMIETE")->helpText(), "monatliche Miete");
        EXPECT_EQ(textOf(d, "NWERTMIND"), "0,50");
        EXPECT_FALSE(buttonOf(d, "computeButton")->isEnabled());

        test::enter(d, "NWFLAECHE", "100");
        test::enter(d, "NMMIETE", "6");
        test::enter(d, "NBEZJAHR", "1990");
        test::enter(d, "NBESJAHR", "2006");
        find<QCheckBox>(d, "LEINZWO")->click();
        auto* compute = buttonOf(d, "computeButton");
        ASSERT_TRUE(compute->isEnabled());
        compute->click();
        EXPECT_EQ(textOf(d, "NJMIETE"), "7.200,00");
        EXPECT_EQ(textOf(d, "NJMIETEV"), "90.000,00");
        EXPECT_EQ(textOf(d, "NALTER"), "16");
        EXPECT_EQ(textOf(d, "NWERTMIND"), "0,50");
        EXPECT_EQ(textOf(d, "NWERTMPR"), "8,00");
        EXPECT_EQ(textOf(d, "NWERTMDM"), "7.200,00");
        EXPECT_EQ(textOf(d, "NWERTREST"), "82.800,00");
        EXPECT_EQ(textOf(d, "NEINZWODM"), "16.560,00");
        EXPECT_TRUE(find<QLineEdit>(d, "NEINZWODM")->isEnabled());
        EXPECT_EQ(textOf(d, "NWERTALL"), "99.360,00");
        // No land: the minimum value is greyed and the earnings value is used.
        for (const char* n : {"NGBRWERT", "NGBRREST", "NGBRALL"}) {
            EXPECT_EQ(textOf(d, n), "0,00") << n;
            EXPECT_FALSE(find<QLineEdit>(d, n)->isEnabled()) << n;
            EXPECT_EQ(find<QLineEdit>(d, n)->palette().color(QPalette::Text), QColor(128, 128, 128)) << n;
        }
        EXPECT_EQ(textOf(d, "NERGEBNIS"), "99.360,00");
        auto* all = find<QLineEdit>(d, "NERGEBNIS");
        EXPECT_EQ(all->palette().color(QPalette::Base), QColor(255, 0, 255));

        test::enter(d, "NGFLAECHE", "500");
        // An edit clears every result; the fixed reduction per year stays.
        EXPECT_EQ(textOf(d, "NERGEBNIS"), "0,00");
        EXPECT_EQ(textOf(d, "NWERTALL"), "0,00");
        EXPECT_EQ(textOf(d, "NWERTMIND"), "0,50");
        test::enter(d, "NBRWERT", "250");
        compute->click();
        EXPECT_EQ(textOf(d, "NGBRWERT"), "125.000,00");
        EXPECT_EQ(textOf(d, "NGBRREST"), "100.000,00");
        EXPECT_EQ(textOf(d, "NGBRALL"), "100.000,00");
        EXPECT_TRUE(find<QLineEdit>(d, "NGBRALL")->isEnabled());
        EXPECT_EQ(find<QLineEdit>(d, "NGBRALL")->palette().color(QPalette::Base), QColor(255, 0, 255));
        EXPECT_EQ(find<QLineEdit>(d, "NWERTALL")->palette().color(QPalette::Base), QColor(255, 0, 255));
        EXPECT_EQ(textOf(d, "NERGEBNIS"), "100.000,00");

        // Without the house option the surcharge display is greyed.
        find<QCheckBox>(d, "LEINZWO")->click();
        compute->click();
        EXPECT_EQ(textOf(d, "NEINZWODM"), "0,00");
        EXPECT_FALSE(find<QLineEdit>(d, "NEINZWODM")->isEnabled());
        EXPECT_EQ(textOf(d, "NWERTALL"), "82.800,00");
        EXPECT_EQ(textOf(d, "NERGEBNIS"), "100.000,00");

        // Taxed before it was ready: a negative age raises the value.
        test::enter(d, "NBESJAHR", "1986");
        test::enter(d, "NGFLAECHE", "0");
        compute->click();
        EXPECT_EQ(textOf(d, "NALTER"), "-4");
        EXPECT_EQ(textOf(d, "NWERTALL"), "91.800,00");

        clearMessages();
        test::enter(d, "NBESJAHR", "2100");
        ASSERT_EQ(messages().size(), 1u);
        EXPECT_EQ(messages()[0].text,
                  "Die Eingabe für 'Besteuerungsjahr' ist zu hoch !\n"
                  "Geben Sie einen Wert zwischen 1900 und 2099 ein.");
        test::enter(d, "NBESJAHR", "2006");
    });
    EXPECT_EQ(ini().get("BER_GBW", "WFlaeche", ""), "100");
    EXPECT_EQ(ini().get("BER_GBW", "BesJahr", ""), "2006");
    EXPECT_EQ(ini().get("BER_GBW", "GFlaeche", ""), "0.00");
    EXPECT_EQ(ini().get("BER_GBW", "BRWert", ""), "250.00");
    EXPECT_EQ(ini().get("BER_GBW", "EinZwo", ""), "0");
}

TEST_F(GbwDialogTest, BothShareTheirSectionAndTheAreaIsShownAsWholeSquareMetres) {
    simple([&](QWidget* d) {
        test::enter(d, "NJAHR", "1990");
        test::enter(d, "NFLAECHE", "99,6");
        test::enter(d, "NMIETE", "6");
        find<QCheckBox>(d, "LEINZWEI")->click();
    });
    EXPECT_EQ(ini().get("BER_GBW", "WFlaeche", ""), "99.60");
    earnings([&](QWidget* d) {
        EXPECT_EQ(textOf(d, "NWFLAECHE"), "100");
        EXPECT_EQ(textOf(d, "NMMIETE"), "6,00");
        EXPECT_EQ(textOf(d, "NBEZJAHR"), "1990");
        EXPECT_TRUE(find<QCheckBox>(d, "LEINZWO")->isChecked());
        test::enter(d, "NBESJAHR", "2006");
        buttonOf(d, "computeButton")->click();
        // Computed with the 100 m² shown, not with 99.6.
        EXPECT_EQ(textOf(d, "NJMIETE"), "7.200,00");
    });
    simple([&](QWidget* d) { EXPECT_EQ(textOf(d, "NFLAECHE"), "100,00"); });
}

TEST_F(GbwDialogTest, BothStartFromTheMenu) {
    app::register_calculators();
    for (const char* op : {"BER_GBW", "BER_GBWM"}) EXPECT_TRUE(app::has_calculator(op)) << op;
    inDialog(
        "gbwDialog", [] { EXPECT_TRUE(app::launch_calculator("BER_GBW", nullptr)); }, [](QWidget*) {});
    inDialog(
        "gbwmDialog", [] { EXPECT_TRUE(app::launch_calculator("BER_GBWM", nullptr)); }, [](QWidget*) {});
}

}  // namespace
