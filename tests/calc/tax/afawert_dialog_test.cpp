// The depreciation value driven as a user would: the price, the tax office's land value, the
// market value run as a child, the four methods, the details and the hand-over.
#include "calc/tax/afawert_dialog.h"
#include "calc/tax/afa75_dialog.h"

#include <QGroupBox>
#include <QLabel>
#include <QScreen>
#include <QtTest/QTest>

#include "app/calculators.h"
#include "core/clock.h"
#include "core/program_settings.h"
#include "support/gui_steps.h"
#include "toolkit/help.h"
#include "ui/numeric_field.h"
#include "ui/table_grid.h"

using namespace vestral;
using test::buttonOf;
using test::enter;
using test::find;
using test::textOf;

namespace {

const QColor kMagenta(255, 0, 255);

class AfaDialogTest : public test::CalculatorTest {
  protected:
    void SetUp() override {
        CalculatorTest::SetUp();
        core::set_today_for_tests({2006, 6, 1});
    }
    static void afa(const std::function<void(QWidget*)>& body) {
        inDialog(
            "afaDialog", [] { calc::ber_afa(nullptr); }, body);
    }
    static QColor background(QWidget* d, const char* name) {
        return find<QLineEdit>(d, name)->palette().color(QPalette::Base);
    }
    // "Verkehrswert berechnen" with the market value's example: land 100,000, building 148,500.
    void runMarketValue(QWidget* d) {
        inDialog(
            "verkwertDialog", [&] { buttonOf(d, "marketButton")->click(); },
            [&](QWidget* m) {
                // Opened as this dialog's child, with its own help topic.
                EXPECT_EQ(m->parentWidget(), d);
                EXPECT_EQ(toolkit::help::topic(), "Verkehrswertberechnung");
                enter(m, "NFLAECHE", "500");
                enter(m, "NBORIWERT", "200");
                enter(m, "NBAUKOST", "150000");
                enter(m, "NBKINDEX1", "110");
                enter(m, "NBKINDEX2", "100");
                enter(m, "NBEZJAHR", "1996");
                enter(m, "NBERJAHR", "2006");
                buttonOf(m, "computeButton")->click();
                EXPECT_EQ(textOf(m, "NVKWALLES"), "248.500,00");
            });
        EXPECT_EQ(toolkit::help::topic(), "Wert der AfA berechnen");
    }
    void example(QWidget* d) {
        enter(d, "NKAUFDM", "300000");
        enter(d, "NFA_GRUND", "90000");
        runMarketValue(d);
        buttonOf(d, "computeButton")->click();
    }
};

TEST_F(AfaDialogTest, OpensBelowTheMainWindow) {
    afa([&](QWidget* d) {
        EXPECT_EQ(d->windowTitle(), "Wert der Abschreibung für Abnutzung (AfA) berechnen");
        EXPECT_GE(d->width(), 460);
        EXPECT_GE(d->height(), 490);
        const auto& w = core::settings().window;
        const QRect screen = d->screen()->availableGeometry();
        EXPECT_EQ(d->pos().y(), std::min(w.top + 50, screen.bottom() + 1 - d->height()));
        EXPECT_EQ(d->pos().x(), std::min(w.left + 20, screen.right() + 1 - d->width()));
        EXPECT_TRUE(screen.contains(d->geometry()));
        test::expectNothingCut(d);
        EXPECT_EQ(toolkit::help::topic(), "Wert der AfA berechnen");
        EXPECT_EQ(find<QGroupBox>(d, "groupTaxOffice")->title(), "So hat das Finanzamt gerechnet");
        EXPECT_EQ(find<QGroupBox>(d, "groupMarket")->title(), "Ergebnis der Verkehrtswertberechnung");
        EXPECT_EQ(find<QGroupBox>(d, "groupResidual")->title(), "Ergebnis der Restwert-Methode");
        EXPECT_EQ(find<QGroupBox>(d, "groupFlat")->title(), "Ergebnis der 20%-Methode");
        EXPECT_EQ(find<ui::NumericField>(d, "NKAUFDM")->helpText(), "Kaufpreis bebautes Grundstück");
        EXPECT_EQ(find<ui::NumericField>(d, "NFA_GRUND")->helpText(),
                  "Grundstückswert berechnet vom Finanzamt");
        EXPECT_EQ(buttonOf(d, "marketButton")->text(), "&Verkehrswert berechnen");
        EXPECT_EQ(buttonOf(d, "marketButton")->toolTip(), "Verkehrswert berechnen");
        EXPECT_EQ(buttonOf(d, "computeButton")->toolTip(), "Ergebnis berechnen");
        EXPECT_EQ(buttonOf(d, "detailsButton")->toolTip(), "Details anzeigen");
        // Nothing stored: no price, so neither the market value nor a calculation.
        for (const char* b : {"marketButton", "computeButton", "detailsButton"})
            EXPECT_FALSE(buttonOf(d, b)->isEnabled()) << b;
        enter(d, "NKAUFDM", "300000");
        EXPECT_TRUE(buttonOf(d, "marketButton")->isEnabled());
        EXPECT_FALSE(buttonOf(d, "computeButton")->isEnabled());
    });
    EXPECT_EQ(toolkit::help::topic(), "Hauptauswahl");
    EXPECT_EQ(ini().get("BER_AFA", "KaufDM", ""), "300000.00");
}

TEST_F(AfaDialogTest, TheFourMethodsTheDetailsAndTheHandOver) {
    ini().set("AFA75", "Kaufpreis", "100000");
    afa([&](QWidget* d) {
        enter(d, "NKAUFDM", "300000");
        // Leaving the land value computes at once.
        enter(d, "NFA_GRUND", "90000");
        EXPECT_EQ(textOf(d, "NFA_BAU"), "210.000,00");
        EXPECT_EQ(textOf(d, "NFA_GPROZ"), "30,00");
        EXPECT_EQ(textOf(d, "NFA_BPROZ"), "70,00");
        EXPECT_EQ(textOf(d, "NVW2_BAU"), "240.000,00");
        EXPECT_FALSE(buttonOf(d, "detailsButton")->isEnabled());

        runMarketValue(d);
        EXPECT_EQ(ini().get("BER_AFA", "KaufDM", ""), "300000.00");
        EXPECT_EQ(textOf(d, "NVW_GRUND"), "100.000,00");
        EXPECT_EQ(textOf(d, "NVW_GPROZ"), "40,24");
        EXPECT_EQ(textOf(d, "NVW_BAU"), "148.500,00");
        EXPECT_EQ(textOf(d, "NVW_BPROZ"), "59,76");
        // The market value clears the ratio and residual values until the next calculation.
        EXPECT_EQ(textOf(d, "NVWV_BAU"), "0,00");
        EXPECT_FALSE(buttonOf(d, "detailsButton")->isEnabled());

        buttonOf(d, "computeButton")->click();
        EXPECT_EQ(textOf(d, "NFA_BAU"), "210.000,00");
        EXPECT_EQ(textOf(d, "NVWV_BAU"), "179.275,65");
        EXPECT_EQ(textOf(d, "NVWV_PROZ"), "59,76");
        EXPECT_EQ(textOf(d, "NVWR_GRUND"), "100.000,00");
        EXPECT_EQ(textOf(d, "NVWR_GPROZ"), "33,33");
        EXPECT_EQ(textOf(d, "NVWR_BAU"), "200.000,00");
        EXPECT_EQ(textOf(d, "NVWR_PROZ"), "66,67");
        EXPECT_EQ(textOf(d, "NVW2_GRUND"), "60.000,00");
        EXPECT_EQ(textOf(d, "NVW2_GPROZ"), "20,00");
        EXPECT_EQ(textOf(d, "NVW2_BAU"), "240.000,00");
        EXPECT_EQ(textOf(d, "NVW2_PROZ"), "80,00");
        // Only the best building value is white on magenta.
        EXPECT_EQ(background(d, "NVW2_BAU"), kMagenta);
        for (const char* n : {"NFA_BAU", "NVWV_BAU", "NVWR_BAU"}) EXPECT_NE(background(d, n), kMagenta) << n;
        ASSERT_TRUE(buttonOf(d, "detailsButton")->isEnabled());

        clearMessages();
        answer(toolkit::MsgAnswer::Yes);
        inDialog(
            "afaDetails", [&] { buttonOf(d, "detailsButton")->click(); },
            [&](QWidget* x) {
                EXPECT_EQ(x->windowTitle(), "Wert für AfA errechnen - Details");
                EXPECT_GE(x->width(), 280);
                EXPECT_GE(x->height(), 410);
                test::expectNothingCut(x);
                EXPECT_EQ(find<QGroupBox>(x, "groupFazit")->title(), "Fazit");
                EXPECT_EQ(textOf(x, "NKAUFDM"), "300.000,00");
                EXPECT_EQ(textOf(x, "NFA_BAU"), "210.000,00");
                EXPECT_EQ(textOf(x, "NVWV_BAU"), "179.275,65");
                EXPECT_EQ(textOf(x, "NVW2_BAU"), "240.000,00");
                EXPECT_EQ(textOf(x, "NVWR_BAU"), "200.000,00");
                EXPECT_EQ(textOf(x, "BEST"), "240.000,00");
                EXPECT_EQ(background(x, "BEST"), QColor(0, 0, 255));
                EXPECT_EQ(find<QLabel>(x, "bestMethod")->text(), "Beste Methode: 20% Methode");
                EXPECT_EQ(buttonOf(x, "closeButton")->toolTip(), "Dialog beenden");
                EXPECT_TRUE(messages().empty());  // asked only after the details close
            });
        ASSERT_EQ(messages().size(), 1u);
        EXPECT_EQ(messages()[0].title, "Frage");
        EXPECT_EQ(messages()[0].text, "Das Ergebnis in die AfA bei Vermietung übernehmen ?");
        EXPECT_FALSE(messages()[0].default_yes);
        EXPECT_EQ(ini().get("AFA75", "Kaufpreis", ""), "240000");

        // The cost already is the best value: no question.
        clearMessages();
        inDialog(
            "afaDetails", [&] { buttonOf(d, "detailsButton")->click(); }, [](QWidget*) {});
        EXPECT_TRUE(messages().empty());

        // The tax office's land value set to 0: its results are 0 and cannot be the best method.
        enter(d, "NFA_GRUND", "0");
        for (const char* n : {"NFA_BAU", "NFA_GPROZ", "NFA_BPROZ"}) EXPECT_EQ(textOf(d, n), "0,00") << n;
        EXPECT_FALSE(buttonOf(d, "computeButton")->isEnabled());
        EXPECT_FALSE(buttonOf(d, "detailsButton")->isEnabled());
        EXPECT_EQ(background(d, "NVW2_BAU"), kMagenta);
        EXPECT_NE(background(d, "NFA_BAU"), kMagenta);
    });
    EXPECT_EQ(ini().get("BER_AFA", "FAGrund", ""), "0.00");

    // The depreciation for letting then starts from the handed-over cost, with an empty schedule.
    inDialog(
        "afa75Dialog", [] { calc::p75e_prog(nullptr); },
        [](QWidget* p) {
            EXPECT_EQ(find<ui::NumericField>(p, "NKAUFPREIS")->value(), 240000);
            EXPECT_EQ(find<ui::TableGrid>(p, "scheduleGrid")->rows(), 0);
        });
}

TEST_F(AfaDialogTest, ATieIsHighlightedAtTheFirstMethod) {
    afa([&](QWidget* d) {
        example(d);
        enter(d, "NFA_GRUND", "60000");  // the tax office gives 240,000 as well
        EXPECT_EQ(textOf(d, "NFA_BAU"), "240.000,00");
        EXPECT_EQ(background(d, "NFA_BAU"), kMagenta);
        EXPECT_NE(background(d, "NVW2_BAU"), kMagenta);
        answer(toolkit::MsgAnswer::No);
        inDialog(
            "afaDetails", [&] { buttonOf(d, "detailsButton")->click(); },
            [&](QWidget* x) {
                EXPECT_EQ(find<QLabel>(x, "bestMethod")->text(), "Beste Methode: Berechnung des Finanzamts");
            });
    });
    // Answered "Nein": the cost stays.
    EXPECT_EQ(ini().get("AFA75", "Kaufpreis", "none"), "none");
}

TEST_F(AfaDialogTest, APriceChangeClearsTheTaxOfficeAndMarketValues) {
    afa([&](QWidget* d) {
        example(d);
        ASSERT_EQ(textOf(d, "NVW_BAU"), "148.500,00");
        enter(d, "NKAUFDM", "320000");
        EXPECT_EQ(textOf(d, "NFA_GRUND"), "0,00");
        for (const char* n : {"NFA_BAU", "NFA_GPROZ", "NVW_GRUND", "NVW_GPROZ", "NVW_BAU", "NVW_BPROZ",
                              "NVWV_BAU", "NVWR_GRUND", "NVWR_BAU", "NVW2_BAU"})
            EXPECT_EQ(textOf(d, n), "0,00") << n;
        EXPECT_FALSE(buttonOf(d, "detailsButton")->isEnabled());
        for (const char* n : {"NFA_BAU", "NVWV_BAU", "NVWR_BAU", "NVW2_BAU"})
            EXPECT_NE(background(d, n), kMagenta) << n;
        // A Tab through the price without a change keeps what was entered since.
        enter(d, "NFA_GRUND", "90000");
        EXPECT_EQ(textOf(d, "NFA_BAU"), "230.000,00");
        find<QWidget>(d, "NKAUFDM")->setFocus();
        QApplication::processEvents();
        QTest::keyClick(find<QWidget>(d, "NKAUFDM"), Qt::Key_Tab);
        EXPECT_EQ(textOf(d, "NFA_GRUND"), "90000,00");  // it has the focus now
        EXPECT_EQ(textOf(d, "NFA_BAU"), "230.000,00");
    });
    EXPECT_EQ(ini().get("BER_AFA", "KaufDM", ""), "320000.00");
    EXPECT_EQ(ini().get("BER_AFA", "FAGrund", ""), "90000.00");
}

TEST_F(AfaDialogTest, TheLandValueIsCheckedWhenLeft) {
    afa([&](QWidget* d) {
        enter(d, "NKAUFDM", "300000");
        clearMessages();
        enter(d, "NFA_GRUND", "100000000");
        ASSERT_EQ(messages().size(), 1u);
        EXPECT_EQ(messages()[0].text,
                  "Die Eingabe für 'Grundstückswert FA' ist zu hoch !\n"
                  "Geben Sie einen Wert zwischen 0 und 99999999 ein.");
        // Nothing is computed from a refused value.
        EXPECT_EQ(textOf(d, "NFA_BAU"), "0,00");
        enter(d, "NFA_GRUND", "90000");
        EXPECT_EQ(textOf(d, "NFA_BAU"), "210.000,00");
    });
}

TEST_F(AfaDialogTest, StartsFromTheMenu) {
    app::register_calculators();
    EXPECT_TRUE(app::has_calculator("BER_AFA"));
    inDialog(
        "afaDialog", [] { EXPECT_TRUE(app::launch_calculator("BER_AFA", nullptr)); }, [](QWidget*) {});
}

}  // namespace
