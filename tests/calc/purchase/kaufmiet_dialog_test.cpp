#include "calc/purchase/kaufmiet_dialog.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QtTest/QTest>
#include <filesystem>

#include "app/calculators.h"
#include "core/program_settings.h"
#include "support/gui_fixture.h"
#include "ui/blocks.h"
#include "ui/numeric_field.h"
#include "ui/table_grid.h"

using namespace vestral;
using test::find;
using test::typeInto;

namespace {

struct Typed {
    const char* field;
    const char* text;
};
// rent 500, increase 2, price 100000, rate 5, repayment 2, own capital 20000, in the dialog's order
const std::vector<Typed> kFirstCase = {{"NKALTMIETE", "500"}, {"NMIETERH", "2"},  {"NKAUFPREIS", "100000"},
                                       {"NHYPOZINS", "5"},    {"NTILGANNO", "2"}, {"NEIGENKAP", "20000"}};

// Every text and field gets at least the room it asks for (nothing cut off).
void expectNothingCut(QWidget* dlg) {
    for (QWidget* w : dlg->findChildren<QWidget*>()) {
        if (!w->isVisible() || !(qobject_cast<QLabel*>(w) || qobject_cast<QLineEdit*>(w))) continue;
        EXPECT_GE(w->width(), w->minimumSizeHint().width()) << w->objectName().toStdString();
        EXPECT_GE(w->height(), w->minimumSizeHint().height()) << w->objectName().toStdString();
    }
}

class KaufmietDialog : public test::GuiTest {
  protected:
    std::filesystem::path table() const { return dir() / "MIETKAUF.DBF"; }

    // The records of MIETKAUF as they are on disk; dbfread takes no lock, so this works while the
    // dialog holds the table exclusively.
    std::string py(const std::string& body) const {
        return test::run_python("import dbfread\nt = list(dbfread.DBF('" + table().string() + "'))\n" + body);
    }
    int records() const { return std::stoi(py("print(len(t))\n")); }

    static void type(QWidget* dlg, const std::vector<Typed>& values) {
        for (const Typed& v : values) typeInto(find<QWidget>(dlg, v.field), QString::fromUtf8(v.text));
    }
    static QString text(QWidget* dlg, const char* name) { return find<QLineEdit>(dlg, name)->text(); }
    static QPushButton* button(QWidget* dlg, const char* name) { return find<QPushButton>(dlg, name); }

    // Opens the calculator and runs `body` in its dialog, then closes it with Schließen.
    void run(std::function<void(QWidget*)> body) {
        bool ran = false;
        whenModal(
            [&](QWidget* dlg) {
                body(dlg);
                ran = true;
                if (dlg->isVisible()) button(dlg, "closeButton")->click();
            },
            "kaufmietDialog");
        calc::kaufmiet(nullptr);
        EXPECT_TRUE(ran);
    }

    // Presses "Berechnen" and runs `inspect` in the result dialog, then closes it.
    void computeAndInspect(QWidget* dlg, std::function<void(QWidget*)> inspect) {
        bool shown = false;
        whenModal(
            [&](QWidget* details) {
                shown = true;
                inspect(details);
                if (details->isVisible()) button(details, "closeButton")->click();
            },
            "kmDetails");
        button(dlg, "computeButton")->click();
        EXPECT_TRUE(shown);
        // The offscreen platform has no window manager that hands the activation back.
        dlg->activateWindow();
        QApplication::processEvents();
    }

    void computeFirstCase(QWidget* dlg) {
        type(dlg, kFirstCase);
        computeAndInspect(dlg, [](QWidget*) {});
        ASSERT_EQ(records(), 26);
    }
};

TEST_F(KaufmietDialog, OpensAsDescribed) {
    run([&](QWidget* dlg) {
        auto* d = qobject_cast<QDialog*>(dlg);
        ASSERT_NE(d, nullptr);
        EXPECT_EQ(d->windowTitle(), "Kaufen oder Mieten ?");
        EXPECT_GE(d->width(), 510);
        EXPECT_GE(d->height(), 230);
        const auto& w = core::settings().window;
        // 50 right of and below the main window, moved left where the screen ends.
        const QRect screen = d->screen()->availableGeometry();
        EXPECT_EQ(d->pos().y(), w.top + 50);
        EXPECT_EQ(d->pos().x(), std::min(w.left + 50, screen.right() + 1 - d->width()));
        EXPECT_TRUE(screen.contains(d->geometry()));
        expectNothingCut(dlg);
        // The work table exists, empty, while the dialog is open.
        EXPECT_TRUE(std::filesystem::exists(table()));
        EXPECT_EQ(records(), 0);
        EXPECT_EQ(toolkit::help::topic(), "Kaufen oder Mieten");

        auto* compute = button(dlg, "computeButton");
        EXPECT_EQ(compute->text(), "&Berechnen");
        EXPECT_EQ(compute->toolTip(), "Berechnung durchführen");
        EXPECT_TRUE(compute->isDefault());
        EXPECT_EQ(button(dlg, "helpButton")->text(), "&Hilfe");
        EXPECT_EQ(button(dlg, "helpButton")->toolTip(), "Hilfe anzeigen");
        EXPECT_EQ(button(dlg, "closeButton")->text(), "&Schließen");
        EXPECT_EQ(button(dlg, "closeButton")->toolTip(), "Dialog beenden");
        // Nothing stored yet: everything 0, so nothing to compute.
        EXPECT_FALSE(compute->isEnabled());
        EXPECT_EQ(text(dlg, "NKALTMIETE"), "0,00");
        EXPECT_EQ(text(dlg, "NMIETERH"), "0,000");

        auto* rent = find<ui::NumericField>(dlg, "NKALTMIETE");
        EXPECT_EQ(rent->helpText(), "Momentane Kaltmiete ohne Nebenkosten in EUR");
        EXPECT_EQ(find<ui::NumericField>(dlg, "NEIGENKAP")->helpText(), "Höhe des Eigenkapitals in EUR");
        EXPECT_EQ(find<ui::NumericField>(dlg, "NTILGANNO")->mask().picture, "99999999.999");
        EXPECT_EQ(find<QLabel>(dlg, "note4")->text(),
                  "Steuerersparnisse durch Eigenheimförderung und\nAfA werden hier nicht berücksichtigt.");
        QStringList labels;
        for (QLabel* l : dlg->findChildren<QLabel*>()) labels << l->text();
        for (const char* l : {"Momentane Kaltmiete", "Mieterhöhung pro Jahr", "Kaufpreis der Immobilie",
                              "Hypothekenzinssatz", "Tilgung pro Jahr", "Ihr Eigenkapital", "€", "%"})
            EXPECT_TRUE(labels.contains(QString::fromUtf8(l))) << l;

        button(dlg, "helpButton")->click();
        ASSERT_FALSE(helpRequests().empty());
        EXPECT_EQ(helpRequests().back().topic, "Kaufen oder Mieten");
    });
    EXPECT_EQ(toolkit::help::topic(), "Hauptauswahl");
    EXPECT_FALSE(std::filesystem::exists(table()));
}

TEST_F(KaufmietDialog, FirstCaseFillsTheTableAndTheResultDialog) {
    run([&](QWidget* dlg) {
        type(dlg, kFirstCase);
        ASSERT_TRUE(button(dlg, "computeButton")->isEnabled());
        computeAndInspect(dlg, [&](QWidget* details) {
            EXPECT_EQ(details->windowTitle(), "Kaufen oder Mieten - Details");
            EXPECT_GE(details->width(), 510);
            EXPECT_GE(details->height(), 350);
            expectNothingCut(details);
            // The table on disk is complete while the results are shown.
            EXPECT_EQ(
                py("print(len(t))\n"
                   "a = t[0]; print(a['JAHR'], a['HYPOTHEK'], a['MIETEJA'], a['ZINSEN'], a['MIETEMO'])\n"
                   "print(t[1]['MIETEJA'])\n"
                   "z = t[-1]; print(z['JAHR'], z['ANNUITAT'], z['HYPOTHEK'], z['ANNUITJA'], "
                   "z['MIETEGE'])\n"),
                "26\n1 78362.41 6000.0 3962.81 500.0\n6120.0\n26 437.4 0.0 5600.0 202025.43\n");

            EXPECT_EQ(text(details, "NMONRATE"), "466,70");
            EXPECT_EQ(text(details, "NKAUFPREIS"), "100.000,00");
            EXPECT_EQ(text(details, "NEIGENKAP"), "20.000,00");
            EXPECT_EQ(text(details, "H"), "80.000,00");
            EXPECT_EQ(text(details, "NZINSSUM"), "60.591,74");
            EXPECT_EQ(text(details, "F"), "140.591,74");
            EXPECT_EQ(text(details, "NKALTMIETE"), "500,00");
            EXPECT_EQ(text(details, "NMIETE30"), "820,30");
            EXPECT_EQ(text(details, "NMIETERH"), "2,00");
            EXPECT_EQ(text(details, "NMIETESUM"), "202.025,43");
            EXPECT_EQ(text(details, "NJAHRE"), "26");
            EXPECT_EQ(text(details, "NMIETESUM_ERG"), "202.025,43");
            EXPECT_EQ(text(details, "F_ERG"), "140.591,74");
            EXPECT_EQ(text(details, "D"), "61.433,69");
            // A positive difference: bright white on magenta.
            auto* diff = find<QLineEdit>(details, "D");
            EXPECT_EQ(diff->palette().color(QPalette::Text), QColor(255, 255, 255));
            EXPECT_EQ(diff->palette().color(QPalette::Base), QColor(255, 0, 255));
            EXPECT_EQ(find<QGroupBox>(details, "groupBought")->title(), "Hätten Sie Ihre Immobilie gekauft");
            EXPECT_EQ(find<QGroupBox>(details, "groupRented")->title(),
                      "Würden Sie Ihre Immobilie weiterhin mieten");
            EXPECT_EQ(find<QGroupBox>(details, "groupResult")->title(), "Ergebnis");

            auto* grafik = button(details, "grafikButton");
            auto* verlauf = button(details, "verlaufButton");
            EXPECT_EQ(grafik->toolTip(), "Grafik anzeigen");
            EXPECT_EQ(verlauf->toolTip(), "Verlauf anzeigen");
            EXPECT_EQ(button(details, "closeButton")->toolTip(), "Dialog beenden");
            EXPECT_TRUE(grafik->isEnabled());
            EXPECT_TRUE(verlauf->isEnabled());

            // The chart is a window of its own, owned by the result dialog so that it stays usable.
            grafik->click();
            QWidget* chart = nullptr;
            for (QWidget* w : QApplication::topLevelWidgets())
                if (w->objectName() == "chartWindow" && w->isVisible()) chart = w;
            ASSERT_NE(chart, nullptr);
            EXPECT_EQ(chart->windowTitle(), "VESTRALON - Graphik-Maschine");
            EXPECT_TRUE(chart->isWindow());
            EXPECT_EQ(chart->parentWidget(), details);

            // The year table over MIETKAUF.
            bool grid_shown = false;
            whenModal(
                [&](QWidget* show) {
                    grid_shown = true;
                    EXPECT_EQ(show->windowTitle(), "Kaufen oder Mieten - Verlauf von Miete und Tilgung");
                    EXPECT_GE(show->width(), 601);
                    EXPECT_GE(show->height(), 325);
                    expectNothingCut(show);
                    auto* grid = find<ui::TableGrid>(show, "tableGrid");
                    ASSERT_EQ(grid->rows(), 26);
                    EXPECT_EQ(grid->model()->headerData(0, Qt::Horizontal).toString(), "Jahr ");
                    EXPECT_EQ(grid->model()->headerData(7, Qt::Horizontal).toString(), "Differenz ");
                    EXPECT_EQ(grid->cellText(0, 0), "   1 ");
                    EXPECT_EQ(grid->cellText(0, 1), "  6000,00 ");
                    EXPECT_EQ(grid->cellText(0, 3), " 78362,41 ");
                    EXPECT_EQ(grid->cellText(0, 4), "   466,70 ");
                    EXPECT_EQ(grid->cellText(0, 7), "   -33,30 ");
                    EXPECT_EQ(grid->cellText(25, 4), "   437,40 ");
                    EXPECT_EQ(grid->cellText(25, 3), "     0,00 ");
                    EXPECT_EQ(find<QLabel>(show, "gridNote")->text(), "Alle Beträge in EURO.");
                    auto* close = button(show, "closeButton");
                    EXPECT_EQ(close->toolTip(), "Dialog verlassen");
                    close->click();
                },
                "kmShow");
            verlauf->click();
            EXPECT_TRUE(grid_shown);
        });
        // Saved after the computation already, with the decimals of the masks.
        EXPECT_EQ(ini().get("KAUFMIET", "Kaltmiete", ""), "500.00");
        EXPECT_EQ(ini().get("KAUFMIET", "Tilgung", ""), "2.000");
        // The results are gone from the dialog, the inputs are reloaded, the table stays.
        EXPECT_EQ(text(dlg, "NEIGENKAP"), "20000,00");
        EXPECT_EQ(records(), 26);
    });
}

TEST_F(KaufmietDialog, EveryKeyInAFieldEmptiesTheTable) {
    run([&](QWidget* dlg) {
        computeFirstCase(dlg);
        // A digit (then the same value again, so the inputs stay the first case).
        typeInto(find<QWidget>(dlg, "NMIETERH"), "2");
        EXPECT_EQ(records(), 0);

        for (const char* name :
             {"NKALTMIETE", "NMIETERH", "NKAUFPREIS", "NHYPOZINS", "NTILGANNO", "NEIGENKAP"}) {
            computeAndInspect(dlg, [](QWidget*) {});
            ASSERT_EQ(records(), 26) << name;
            auto* f = find<QWidget>(dlg, name);
            f->setFocus();
            QApplication::processEvents();
            QTest::keyClick(f, Qt::Key_Tab);
            EXPECT_EQ(records(), 0) << "Tab in " << name;

            computeAndInspect(dlg, [](QWidget*) {});
            f->setFocus();
            QApplication::processEvents();
            QTest::keyClick(f, Qt::Key_Return);
            EXPECT_EQ(records(), 0) << "Enter in " << name;
        }

        computeAndInspect(dlg, [](QWidget*) {});
        auto* f = find<QWidget>(dlg, "NKAUFPREIS");
        f->setFocus();
        QApplication::processEvents();
        QTest::keyClick(f, Qt::Key_End);
        QTest::keyClick(f, Qt::Key_Backspace);
        EXPECT_EQ(records(), 0) << "Backspace";
    });
}

TEST_F(KaufmietDialog, ClosingSavesTheInputsAndDeletesTheTable) {
    run([&](QWidget* dlg) {
        type(dlg, {{"NKALTMIETE", "512,5"},
                   {"NMIETERH", "2,25"},
                   {"NKAUFPREIS", "123456,78"},
                   {"NHYPOZINS", "4,875"},
                   {"NTILGANNO", "1,5"},
                   {"NEIGENKAP", "23456,7"}});
    });
    EXPECT_FALSE(std::filesystem::exists(table()));
    EXPECT_EQ(ini().get("KAUFMIET", "Kaltmiete", ""), "512.50");
    EXPECT_EQ(ini().get("KAUFMIET", "Mieterh.", ""), "2.250");
    EXPECT_EQ(ini().get("KAUFMIET", "Kaufpreis", ""), "123456.78");
    EXPECT_EQ(ini().get("KAUFMIET", "HypoZins", ""), "4.875");
    EXPECT_EQ(ini().get("KAUFMIET", "Tilgung", ""), "1.500");
    EXPECT_EQ(ini().get("KAUFMIET", "Eigenkap.", ""), "23456.70");

    // Escape closes the same way, and the reopened dialog shows the inputs again.
    bool ran = false;
    whenModal(
        [&](QWidget* dlg) {
            ran = true;
            EXPECT_EQ(text(dlg, "NKALTMIETE"), "512,50");
            EXPECT_EQ(text(dlg, "NMIETERH"), "2,250");
            EXPECT_EQ(text(dlg, "NKAUFPREIS"), "123456,78");
            EXPECT_EQ(text(dlg, "NHYPOZINS"), "4,875");
            EXPECT_EQ(text(dlg, "NTILGANNO"), "1,500");
            EXPECT_EQ(text(dlg, "NEIGENKAP"), "23456,70");
            EXPECT_TRUE(button(dlg, "computeButton")->isEnabled());
            typeInto(find<QWidget>(dlg, "NKALTMIETE"), "600");
            QTest::keyClick(dlg, Qt::Key_Escape);
        },
        "kaufmietDialog");
    calc::kaufmiet(nullptr);
    ASSERT_TRUE(ran);
    EXPECT_FALSE(std::filesystem::exists(table()));
    EXPECT_EQ(ini().get("KAUFMIET", "Kaltmiete", ""), "600.00");
    EXPECT_EQ(toolkit::help::topic(), "Hauptauswahl");

    // And the close box.
    whenModal([&](QWidget* dlg) { dlg->close(); }, "kaufmietDialog");
    calc::kaufmiet(nullptr);
    EXPECT_FALSE(std::filesystem::exists(table()));
}

TEST_F(KaufmietDialog, ANegativeDifferenceIsYellowOnRedWithoutChart) {
    run([&](QWidget* dlg) {
        type(dlg, kFirstCase);
        typeInto(find<QWidget>(dlg, "NKALTMIETE"), "100");
        computeAndInspect(dlg, [&](QWidget* details) {
            // 40405.09 rent against 140591.74 financed, to the cent -100186.66
            EXPECT_EQ(text(details, "NMIETESUM"), "40.405,09");
            EXPECT_EQ(text(details, "D"), "-100.186,66");
            auto* diff = find<QLineEdit>(details, "D");
            EXPECT_EQ(diff->palette().color(QPalette::Text), QColor(255, 255, 0));
            EXPECT_EQ(diff->palette().color(QPalette::Base), QColor(255, 0, 0));
            EXPECT_FALSE(button(details, "grafikButton")->isEnabled());
            EXPECT_TRUE(button(details, "verlaufButton")->isEnabled());
        });
    });
}

TEST_F(KaufmietDialog, OwnCapitalEqualToThePriceShowsNothingToChartOrList) {
    run([&](QWidget* dlg) {
        type(dlg, kFirstCase);
        typeInto(find<QWidget>(dlg, "NEIGENKAP"), "100000");
        computeAndInspect(dlg, [&](QWidget* details) {
            EXPECT_EQ(records(), 0);
            EXPECT_EQ(text(details, "NJAHRE"), "0");
            EXPECT_EQ(text(details, "NZINSSUM"), "0,00");
            EXPECT_EQ(text(details, "NMIETESUM"), "0,00");
            EXPECT_EQ(text(details, "NMIETE30"), "500,00");
            EXPECT_EQ(text(details, "D"), "0,00");
            EXPECT_FALSE(button(details, "grafikButton")->isEnabled());
            EXPECT_FALSE(button(details, "verlaufButton")->isEnabled());
        });
    });
}

TEST_F(KaufmietDialog, FieldChecksKeepTheFocusWithTheirMessages) {
    run([&](QWidget* dlg) {
        type(dlg, kFirstCase);
        clearMessages();
        auto* increase = find<QWidget>(dlg, "NMIETERH");
        typeInto(increase, "20");
        ASSERT_EQ(messages().size(), 1u);
        EXPECT_EQ(messages()[0].title, "Eingabefehler");
        EXPECT_EQ(messages()[0].text,
                  "Die Eingabe für 'Mieterhöhung' ist zu hoch !\n"
                  "Geben Sie einen Wert zwischen 0 und 19 ein.\n\n"
                  "Durchschnittswert: 3,0%.");
        QApplication::processEvents();
        EXPECT_TRUE(increase->hasFocus());
        // Berechnen does nothing while a check fails.
        button(dlg, "computeButton")->click();
        EXPECT_EQ(records(), 0);
        typeInto(increase, "2");

        clearMessages();
        typeInto(find<QWidget>(dlg, "NHYPOZINS"), "25");
        ASSERT_EQ(messages().size(), 1u);
        EXPECT_EQ(messages()[0].text,
                  "Die Eingabe für 'Hypothekenzinssatz' ist zu hoch !\n"
                  "Geben Sie einen Wert zwischen 0 und 19 ein.\n\n"
                  "Durchschnittswerte: 4% bis 12%.");
        typeInto(find<QWidget>(dlg, "NHYPOZINS"), "5");

        clearMessages();
        typeInto(find<QWidget>(dlg, "NTILGANNO"), "9,5");
        ASSERT_EQ(messages().size(), 1u);
        EXPECT_EQ(messages()[0].text,
                  "Die Eingabe für 'Tilgung pro Jahr' ist zu hoch !\n"
                  "Geben Sie einen Wert zwischen 0 und 9 ein.\n\n"
                  "Durchschnittswert: 1,0%.");
        typeInto(find<QWidget>(dlg, "NTILGANNO"), "2");

        clearMessages();
        typeInto(find<QWidget>(dlg, "NKALTMIETE"), "100000");
        ASSERT_EQ(messages().size(), 1u);
        EXPECT_EQ(
            messages()[0].text,
            "Die Eingabe für 'Kaltmiete' ist zu hoch !\nGeben Sie einen Wert zwischen 0 und 99999 ein.");
        typeInto(find<QWidget>(dlg, "NKALTMIETE"), "500");

        clearMessages();
        typeInto(find<QWidget>(dlg, "NKAUFPREIS"), "10000000");
        ASSERT_EQ(messages().size(), 1u);
        EXPECT_EQ(
            messages()[0].text,
            "Die Eingabe für 'Kaufpreis' ist zu hoch !\nGeben Sie einen Wert zwischen 0 und 9999999 ein.");
        typeInto(find<QWidget>(dlg, "NKAUFPREIS"), "100000");

        // The own capital is bounded by the price of the moment.
        clearMessages();
        typeInto(find<QWidget>(dlg, "NEIGENKAP"), "100000,01");
        ASSERT_EQ(messages().size(), 1u);
        EXPECT_EQ(messages()[0].text,
                  "Die Eingabe für 'Eigenkapital' ist zu hoch !\n"
                  "Geben Sie einen Wert zwischen 0 und 100000.00 ein.");
        typeInto(find<QWidget>(dlg, "NEIGENKAP"), "100000");
        EXPECT_EQ(messages().size(), 1u);
        EXPECT_TRUE(button(dlg, "computeButton")->isEnabled());
    });
}

TEST_F(KaufmietDialog, ComputeIsEnabledByRentPriceRateRepaymentAndTheOwnCapital) {
    run([&](QWidget* dlg) {
        auto* compute = button(dlg, "computeButton");
        typeInto(find<QWidget>(dlg, "NKALTMIETE"), "500");
        typeInto(find<QWidget>(dlg, "NKAUFPREIS"), "100000");
        typeInto(find<QWidget>(dlg, "NHYPOZINS"), "5");
        EXPECT_FALSE(compute->isEnabled());
        // Increase and own capital may stay 0.
        typeInto(find<QWidget>(dlg, "NTILGANNO"), "2");
        EXPECT_TRUE(compute->isEnabled());
        typeInto(find<QWidget>(dlg, "NHYPOZINS"), "0");
        EXPECT_FALSE(compute->isEnabled());
        typeInto(find<QWidget>(dlg, "NHYPOZINS"), "5");
        EXPECT_TRUE(compute->isEnabled());

        // Own capital checked against the price, then the price lowered below it.
        typeInto(find<QWidget>(dlg, "NEIGENKAP"), "80000");
        EXPECT_TRUE(compute->isEnabled());
        clearMessages();
        typeInto(find<QWidget>(dlg, "NKAUFPREIS"), "60000");
        EXPECT_TRUE(messages().empty());
        EXPECT_FALSE(compute->isEnabled());
        typeInto(find<QWidget>(dlg, "NKAUFPREIS"), "80000");
        EXPECT_TRUE(compute->isEnabled());
    });
}

TEST_F(KaufmietDialog, ALoanThatNeverFallsIsRefused) {
    run([&](QWidget* dlg) {
        computeFirstCase(dlg);
        // 10181 at 5 %: the instalment rounds down below the monthly interest.
        typeInto(find<QWidget>(dlg, "NKAUFPREIS"), "10181");
        typeInto(find<QWidget>(dlg, "NTILGANNO"), "0,001");
        typeInto(find<QWidget>(dlg, "NEIGENKAP"), "0");
        clearMessages();
        bool details = false;
        QTimer::singleShot(0, [&] {
            if (QWidget* m = QApplication::activeModalWidget(); m && m->objectName() == "kmDetails") {
                details = true;
                m->close();
            }
        });
        ASSERT_TRUE(button(dlg, "computeButton")->isEnabled());
        button(dlg, "computeButton")->click();
        ASSERT_EQ(messages().size(), 1u) << details;
        EXPECT_EQ(messages()[0].title, "Problem");
        EXPECT_EQ(messages()[0].text, "Mit dieser Tilgung wird die Hypothek nie getilgt !");
        QApplication::processEvents();
        EXPECT_FALSE(details);
        EXPECT_EQ(records(), 0);
    });
}

TEST_F(KaufmietDialog, YearTableShowsAsterisksFromOneMillion) {
    core::dbf::Table t;
    ASSERT_TRUE(calc::km_checkdbf(t));
    calc::MietkaufRow row;
    row.JAHR = 30;
    row.MIETEGE = 1000000.00;
    row.MIETEMO = 999999.99;
    row.ANNUITAT = 100;
    ASSERT_TRUE(calc::write_mietkauf_rows(t, {row}));
    bool shown = false;
    whenModal(
        [&](QWidget* show) {
            shown = true;
            auto* grid = find<ui::TableGrid>(show, "tableGrid");
            EXPECT_EQ(grid->cellText(0, 0), "  30 ");
            EXPECT_EQ(grid->cellText(0, 1), "******,** ");
            EXPECT_EQ(grid->cellText(0, 2), "999999,99 ");
            EXPECT_EQ(grid->cellText(0, 7), "******,** ");
            button(show, "closeButton")->click();
        },
        "kmShow");
    calc::km_show(nullptr, t);
    EXPECT_TRUE(shown);
}

TEST_F(KaufmietDialog, ChartCarriesTheValuesTextsAndColours) {
    calc::KmInputs in;
    in.NKALTMIETE = 500;
    in.NMIETERH = 2;
    in.NKAUFPREIS = 100000;
    in.NEIGENKAP = 20000;
    in.NHYPOZINS = 5;
    in.NTILGANNO = 2;
    const ui::ChartArgs a = calc::km_chart_args(calc::km_rech(in));
    ASSERT_EQ(a.values.size(), 3u);
    EXPECT_NEAR(a.values[0], 202025.43, 0.005);
    EXPECT_NEAR(a.values[1], 60591.74, 0.005);
    EXPECT_NEAR(a.values[2], 141433.69, 0.005);
    EXPECT_EQ(a.labels, QStringList({"Miete", "Zinsen", "Diff."}));
    EXPECT_EQ(a.header,
              (std::array<QString, 5>{"VESTRALON - Graphik-Maschine", "Kaufen oder Mieten", "", "", "EUR"}));
    EXPECT_EQ(a.colors, (std::array<int, 10>{0, 16711680, 8388608, 128, 128, 8421376, 8421376, 12632256,
                                             16711680, 8388608}));
    EXPECT_EQ(a.depth, 5);
    // Ten grid lines from 20000 to 200000 in the window the calculator opens.
    const auto g = ui::chart_geometry(a, 416, 657, 16, 7);
    ASSERT_EQ(g.lines.size(), 10u);
    EXPECT_EQ(g.lines.back().value, 200000);
}

TEST_F(KaufmietDialog, IsAMenuEntry) {
    app::register_calculators();
    EXPECT_TRUE(app::has_calculator("KAUFMIET"));
    whenModal([](QWidget* dlg) { dlg->close(); }, "kaufmietDialog");
    EXPECT_TRUE(app::launch_calculator("KAUFMIET", nullptr));
}

TEST_F(KaufmietDialog, BlocksOnlyTheWindowItBelongsTo) {
    QWidget main;
    main.show();
    bool ran = false;
    whenModal(
        [&](QWidget* dlg) {
            ran = true;
            EXPECT_EQ(dlg->windowModality(), Qt::WindowModal);
            EXPECT_EQ(dlg->parentWidget(), &main);
            dlg->close();
        },
        "kaufmietDialog");
    calc::kaufmiet(&main);
    EXPECT_TRUE(ran);
    EXPECT_FALSE(std::filesystem::exists(table()));
}

// Pictures of every window of the calculator, only when VESTRAL_SHOTS names a directory.
TEST_F(KaufmietDialog, Screenshots) {
    const QString out = qEnvironmentVariable("VESTRAL_SHOTS");
    if (out.isEmpty()) GTEST_SKIP() << "VESTRAL_SHOTS not set";
    QDir().mkpath(out);
    auto save = [&](QWidget* w, const QString& name) {
        QApplication::processEvents();
        EXPECT_TRUE(w->grab().save(out + "/" + name + ".png"));
    };
    run([&](QWidget* dlg) {
        type(dlg, kFirstCase);
        save(dlg, "kaufmiet_input");
        computeAndInspect(dlg, [&](QWidget* details) {
            save(details, "kaufmiet_details_positive");
            button(details, "grafikButton")->click();
            for (QWidget* w : QApplication::topLevelWidgets())
                if (w->objectName() == "chartWindow" && w->isVisible()) save(w, "kaufmiet_chart");
            whenModal(
                [&](QWidget* show) {
                    save(show, "kaufmiet_verlauf");
                    button(show, "closeButton")->click();
                },
                "kmShow");
            button(details, "verlaufButton")->click();
        });
        typeInto(find<QWidget>(dlg, "NKALTMIETE"), "100");
        computeAndInspect(dlg, [&](QWidget* details) { save(details, "kaufmiet_details_negative"); });
    });
}

}  // namespace
