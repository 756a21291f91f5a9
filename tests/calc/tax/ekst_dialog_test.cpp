#include "calc/tax/ekst_dialog.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest/QTest>
#include <algorithm>
#include <filesystem>

#include "app/calculators.h"
#include "calc/tax/ekst.h"
#include "core/clock.h"
#include "core/mask.h"
#include "support/gui_fixture.h"
#include "toolkit/help.h"
#include "toolkit/status.h"
#include "ui/blocks.h"
#include "ui/numeric_field.h"
#include "ui/table_grid.h"

using namespace vestral;
using vestral::test::find;
using vestral::test::GuiTest;
using vestral::test::typeInto;

namespace {

std::string dbf_rows(const std::filesystem::path& file) {
    return test::run_python(
        "from dbfread import DBF\n"
        "for r in DBF('" +
        file.string() +
        "', load=True):\n"
        "    print(';'.join('%s' % v for v in r.values()))\n");
}

void activate(QWidget* d) {
    QApplication::setActiveWindow(d);
    (void)QTest::qWaitForWindowActive(d);
}

QString result(QWidget* d, const char* name) {
    return find<ui::ResultField>(d, name)->text();
}

ui::NumericField* field(QWidget* d, const char* name) {
    return find<ui::NumericField>(d, name);
}

QPushButton* button(QWidget* d, const char* name) {
    return find<QPushButton>(d, name);
}

}  // namespace

class EkstDialogTest : public GuiTest {
  protected:
    void SetUp() override {
        GuiTest::SetUp();
        core::set_today_for_tests({2005, 6, 1});
    }
    std::filesystem::path temp() const { return dir() / "EKSTTEMP.DBF"; }

    // Runs the dialog; `body` acts on it and then it is closed with "Schließen".
    void run(const std::function<void(QDialog*)>& body) {
        bool ran = false;
        whenModal(
            [&](QWidget* w) {
                auto* d = static_cast<QDialog*>(w);
                activate(d);
                body(d);
                ran = true;
                if (d->isVisible()) button(d, "schliessenButton")->click();
            },
            "ekstDialog");
        calc::ber_ekst(nullptr);
        EXPECT_TRUE(ran);
    }
};

TEST_F(EkstDialogTest, TypedInputsComputeTotalsAndTheYearTable) {
    run([&](QDialog* d) {
        EXPECT_EQ(d->windowTitle(), "Einkommensteuer berechnen");
        EXPECT_GE(d->width(), 365);
        EXPECT_GE(d->height(), 350);
        EXPECT_TRUE(std::filesystem::exists(temp()));
        EXPECT_EQ(toolkit::help::topic(), "Einkommensteuerberechnung");
        EXPECT_FALSE(button(d, "berechnenButton")->isEnabled());  // no income yet
        EXPECT_FALSE(button(d, "tabelleButton")->isEnabled());

        typeInto(field(d, "einkommField"), "20000");
        EXPECT_EQ(field(d, "einkommField")->text(), "20.000,00");
        find<QRadioButton>(d, "ledigRadio")->click();
        typeInto(field(d, "steigField"), "0");
        typeInto(field(d, "abJahrField"), "2005");
        EXPECT_EQ(result(d, "jahreResult"), "3");  // "berechnet für" follows the start year at once
        EXPECT_TRUE(messages().empty());
        ASSERT_TRUE(button(d, "berechnenButton")->isEnabled());
        EXPECT_TRUE(button(d, "berechnenButton")->isDefault());
        button(d, "berechnenButton")->click();

        // 2005 to 2007 all with the 2005 tariff: 2,850 tax and 156.75 surcharge a year.
        EXPECT_EQ(result(d, "einksuResult"), "60.000,00");
        EXPECT_EQ(result(d, "einkstResult"), "8.550,00");
        EXPECT_EQ(result(d, "solizuResult"), "470,25");
        EXPECT_EQ(result(d, "belastResult"), "15,03");
        EXPECT_EQ(result(d, "jahreResult"), "3");
        EXPECT_EQ(dbf_rows(temp()),
                  "2005;20000.0;0.0;2850.0;156.75;15.03\n"
                  "2006;20000.0;0.0;2850.0;156.75;15.03\n"
                  "2007;20000.0;0.0;2850.0;156.75;15.03\n");

        ASSERT_TRUE(button(d, "tabelleButton")->isEnabled());
        bool shown = false;
        whenModal(
            [&](QWidget* g) {
                EXPECT_EQ(g->windowTitle(), "Einkommensteuer-Berechnung Tabelle");
                EXPECT_GE(g->width(), 502);
                EXPECT_GE(g->height(), 300);
                auto* grid = find<ui::TableGrid>(g, "tableGrid");
                EXPECT_EQ(grid->rows(), 3);
                EXPECT_EQ(grid->model()->headerData(0, Qt::Horizontal).toString(), "Jahr ");
                EXPECT_EQ(grid->model()->headerData(2, Qt::Horizontal).toString(), "EK-Steig % ");
                EXPECT_EQ(grid->cellText(0, 0), " 2005 ");
                EXPECT_EQ(grid->cellText(1, 0), "*   2006 ");
                EXPECT_EQ(grid->cellText(2, 0), "*   2007 ");
                EXPECT_EQ(grid->cellText(0, 1).trimmed(), "20.000,00");
                EXPECT_EQ(grid->cellText(0, 2).trimmed(), "0,00 %");
                EXPECT_EQ(grid->cellText(0, 3).trimmed(), "2.850,00");
                EXPECT_EQ(grid->cellText(0, 4).trimmed(), "156,75");
                EXPECT_EQ(grid->cellText(0, 5).trimmed(), "15,03 %");
                EXPECT_EQ(find<QLabel>(g, "gridNote")->text(), "# = Näherungswerte   * = Planung");
                shown = true;
                find<QPushButton>(g, "closeButton")->click();
            },
            "ekstShowDialog");
        button(d, "tabelleButton")->click();
        EXPECT_TRUE(shown);
    });
    // Closing deletes the work table and gives the help topic back.
    EXPECT_FALSE(std::filesystem::exists(temp()));
    EXPECT_EQ(toolkit::help::topic(), "Hauptauswahl");
}

TEST_F(EkstDialogTest, EarlyStartMarksApproximateYearsAndLeavesOutTheSurchargeBefore1995) {
    run([&](QDialog* d) {
        typeInto(field(d, "einkommField"), "40000");
        find<QRadioButton>(d, "verheiratetRadio")->click();
        typeInto(field(d, "steigField"), "2");
        typeInto(field(d, "abJahrField"), "1994");
        EXPECT_EQ(result(d, "jahreResult"), "14");
        button(d, "berechnenButton")->click();
        EXPECT_EQ(result(d, "jahreResult"), "14");
        std::string rows = dbf_rows(temp());
        EXPECT_EQ(std::count(rows.begin(), rows.end(), '\n'), 14);
        EXPECT_EQ(rows.rfind("1994;40000.0;2.0;", 0), 0u) << rows;
        EXPECT_NE(rows.find("1995;40800.0;2.0;"), std::string::npos) << rows;
        bool shown = false;
        whenModal(
            [&](QWidget* g) {
                auto* grid = find<ui::TableGrid>(g, "tableGrid");
                EXPECT_EQ(grid->rows(), 14);
                EXPECT_EQ(grid->cellText(0, 0), "#   1994 ");
                EXPECT_EQ(grid->cellText(0, 4).trimmed(), "0,00");  // no surcharge before 1995
                EXPECT_NE(grid->cellText(1, 4).trimmed(), "0,00");
                EXPECT_EQ(grid->cellText(5, 0), "#   1999 ");
                EXPECT_EQ(grid->cellText(6, 0), " 2000 ");
                EXPECT_EQ(grid->cellText(12, 0), "*   2006 ");
                shown = true;
                find<QPushButton>(g, "closeButton")->click();
            },
            "ekstShowDialog");
        button(d, "tabelleButton")->click();
        EXPECT_TRUE(shown);
    });
}

TEST_F(EkstDialogTest, EveryChangeClearsTheResultsAndEmptiesTheWorkTable) {
    ini().set("EINKST", "Einkomm", "50000.00");
    ini().set("EINKST", "AbJahr", "2003");
    const std::string expected = core::trim(
        core::format_mask(calc::ekstmake({50000, 1, 2003, 0}).results.NEINKST, "@E 999,999,999.99 "));
    run([&](QDialog* d) {
        auto compute = [&] {
            button(d, "berechnenButton")->click();
            ASSERT_EQ(result(d, "einkstResult").toStdString(), expected);
            ASSERT_TRUE(button(d, "tabelleButton")->isEnabled());
            ASSERT_FALSE(dbf_rows(temp()).empty());
        };
        auto expect_cleared = [&] {
            EXPECT_EQ(result(d, "einkstResult"), "0,00");
            EXPECT_EQ(result(d, "einksuResult"), "0,00");
            EXPECT_FALSE(button(d, "tabelleButton")->isEnabled());
            EXPECT_EQ(dbf_rows(temp()), "");
        };
        EXPECT_TRUE(find<QRadioButton>(d, "ledigRadio")->isChecked());  // the default "1"
        EXPECT_EQ(field(d, "abJahrField")->value(), 2003);
        compute();
        // A single key in a field, before the field is left.
        ui::NumericField* growth = field(d, "steigField");
        typeInto(growth, "1", false);
        expect_cleared();
        EXPECT_TRUE(button(d, "berechnenButton")->isEnabled());  // its rule holds again at once
        QTest::keyClick(growth, Qt::Key_Tab);
        EXPECT_EQ(growth->value(), 1);
        typeInto(growth, "0");
        compute();
        // A radio choice.
        find<QRadioButton>(d, "verheiratetRadio")->click();
        expect_cleared();
        // An income of 0 leaves "Berechnen" off.
        typeInto(field(d, "einkommField"), "0", false);
        EXPECT_FALSE(button(d, "berechnenButton")->isEnabled());
    });
}

TEST_F(EkstDialogTest, BerechnenChecksLoadedValuesAndStopsAtTheFirstFaultyField) {
    ini().set("EINKST", "Einkomm", "100.00");
    ini().set("EINKST", "AbJahr", "2010");
    ini().set("EINKST", "EKSteig", "12.00");
    run([&](QDialog* d) {
        calc::EkstInputs in{100, 1, 2010, 12};
        // One message per press, for the first faulty field in check order, which gets the focus.
        auto press_expecting = [&](int check, const char* name) {
            clearMessages();
            ASSERT_TRUE(button(d, "berechnenButton")->isEnabled());
            button(d, "berechnenButton")->click();
            ASSERT_EQ(messages().size(), 1u);
            EXPECT_EQ(messages()[0].title, "Eingabefehler");
            EXPECT_EQ(messages()[0].text.toStdString(), *core::inpfail_message(calc::ekstcheck(check, in)));
            QApplication::processEvents();
            EXPECT_EQ(QApplication::focusWidget(), field(d, name));
            EXPECT_EQ(field(d, name)->selectedText(), field(d, name)->text());
            EXPECT_EQ(result(d, "einkstResult"), "0,00");
            EXPECT_EQ(dbf_rows(temp()), "");
        };
        press_expecting(1, "einkommField");
        typeInto(field(d, "einkommField"), "20000");
        in.NEINKOMM = 20000;
        press_expecting(2, "abJahrField");
        typeInto(field(d, "abJahrField"), "2005");
        in.NABJAHR = 2005;
        press_expecting(3, "steigField");
        clearMessages();
        typeInto(field(d, "steigField"), "1");
        button(d, "berechnenButton")->click();
        EXPECT_TRUE(messages().empty());
        EXPECT_EQ(result(d, "jahreResult"), "3");
        EXPECT_NE(result(d, "einkstResult"), "0,00");
    });
}

TEST_F(EkstDialogTest, ResultLineNeverShowsANegativeNumberOfYears) {
    run([&](QDialog* d) {
        typeInto(field(d, "einkommField"), "20000");
        clearMessages();
        typeInto(field(d, "abJahrField"), "2026");
        ASSERT_EQ(messages().size(), 1u);  // beyond the field's bound
        EXPECT_TRUE(messages()[0].text.contains("ab Jahr"));
        EXPECT_EQ(result(d, "jahreResult"), "0");
        typeInto(field(d, "abJahrField"), "2007");
        EXPECT_EQ(result(d, "jahreResult"), "1");
    });
    // A start year beyond the bound in the settings file is refused before anything is computed.
    ini().set("EINKST", "Einkomm", "20000.00");
    ini().set("EINKST", "AbJahr", "2026");
    run([&](QDialog* d) {
        clearMessages();
        button(d, "berechnenButton")->click();
        ASSERT_EQ(messages().size(), 1u);
        EXPECT_EQ(result(d, "jahreResult"), "0");
        EXPECT_FALSE(button(d, "tabelleButton")->isEnabled());
    });
}

TEST_F(EkstDialogTest, AcceleratorWithAFailingFieldShowsTheMessageAndSelectsTheContent) {
    ini().set("EINKST", "Einkomm", "20000.00");
    run([&](QDialog* d) {
        ui::NumericField* growth = field(d, "steigField");
        typeInto(growth, "12", false);
        clearMessages();
        QTest::keyClick(growth, Qt::Key_B, Qt::AltModifier);
        QTRY_COMPARE(messages().size(), size_t{1});
        EXPECT_EQ(messages()[0].title, "Eingabefehler");
        EXPECT_TRUE(messages()[0].text.contains("Einkommensteigerung"));
        QTRY_VERIFY(growth->hasFocus());
        EXPECT_EQ(growth->selectedText(), growth->text());
        EXPECT_EQ(result(d, "einkstResult"), "0,00");
        // The value typed next replaces the refused one.
        QTest::keyClicks(growth, "3,5");
        QTest::keyClick(growth, Qt::Key_Tab);
        EXPECT_EQ(growth->value(), 3.5);
        EXPECT_EQ(messages().size(), 1u);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_B, Qt::AltModifier);
        QTRY_COMPARE(result(d, "jahreResult"), QString("3"));
    });
}

TEST_F(EkstDialogTest, LeavingAFieldOutOfBoundsReportsItAndKeepsTheFocus) {
    run([&](QDialog* d) {
        // The income field has the focus first; a fresh 0 fails its check as soon as it is left.
        field(d, "steigField")->setFocus();
        QApplication::processEvents();
        ASSERT_EQ(messages().size(), 1u);
        EXPECT_TRUE(messages()[0].text.contains("Einkommen"));
        QApplication::processEvents();
        EXPECT_EQ(QApplication::focusWidget(), field(d, "einkommField"));
        typeInto(field(d, "einkommField"), "20000");
        clearMessages();
        typeInto(field(d, "abJahrField"), "1957");
        ASSERT_EQ(messages().size(), 1u);
        EXPECT_EQ(messages()[0].title, "Eingabefehler");
        EXPECT_TRUE(messages()[0].text.contains("ab Jahr"));
        EXPECT_EQ(result(d, "jahreResult"), "51");  // drawn before the check
        QApplication::processEvents();
        EXPECT_EQ(QApplication::focusWidget(), field(d, "abJahrField"));
    });
}

TEST_F(EkstDialogTest, SettingsAreWrittenOnCloseAndReloaded) {
    EXPECT_EQ(ini().get("EINKST", "AbJahr", "none"), "none");
    run([&](QDialog* d) {
        EXPECT_EQ(field(d, "abJahrField")->value(), 2005);
        typeInto(field(d, "einkommField"), "30000,5");
        find<QRadioButton>(d, "verheiratetRadio")->click();
        typeInto(field(d, "steigField"), "1,5");
        typeInto(field(d, "abJahrField"), "2000");
    });
    EXPECT_EQ(ini().get("EINKST", "Einkomm", ""), "30000.50");
    EXPECT_EQ(ini().get("EINKST", "FamStand", ""), "2");
    EXPECT_EQ(ini().get("EINKST", "AbJahr", ""), "2000");
    EXPECT_EQ(ini().get("EINKST", "EKSteig", ""), "1.50");
    run([&](QDialog* d) {
        EXPECT_EQ(field(d, "einkommField")->value(), 30000.5);
        EXPECT_TRUE(find<QRadioButton>(d, "verheiratetRadio")->isChecked());
        EXPECT_EQ(field(d, "steigField")->text(), "1,50");
        EXPECT_EQ(field(d, "abJahrField")->value(), 2000);
        // Results are not kept.
        EXPECT_EQ(result(d, "jahreResult"), "0");
    });
}

TEST_F(EkstDialogTest, DefaultStartYearIsThisYearButNeverBeyond2005) {
    const std::string fresh = dir_.read("VESTRAL.INI");
    core::set_today_for_tests({2012, 3, 1});
    run([&](QDialog* d) { EXPECT_EQ(field(d, "abJahrField")->value(), 2005); });
    dir_.write("VESTRAL.INI", fresh);
    core::set_today_for_tests({2003, 3, 1});
    run([&](QDialog* d) {
        EXPECT_EQ(field(d, "abJahrField")->value(), 2003);
        EXPECT_TRUE(find<QRadioButton>(d, "ledigRadio")->isChecked());
        EXPECT_EQ(field(d, "einkommField")->value(), 0);
        EXPECT_EQ(field(d, "steigField")->value(), 0);
    });
}

TEST_F(EkstDialogTest, HelpAndHintsOfTheControls) {
    ini().set("EINKST", "Einkomm", "20000.00");
    run([&](QDialog* d) {
        button(d, "hilfeButton")->click();
        ASSERT_EQ(helpRequests().size(), 1u);
        EXPECT_EQ(helpRequests()[0].topic, "Einkommensteuerberechnung");
        EXPECT_EQ(button(d, "berechnenButton")->toolTip(), "Berechnung durchführen");
        EXPECT_EQ(button(d, "tabelleButton")->toolTip(), "Tabelle der Steuerberechnung");
        EXPECT_EQ(button(d, "schliessenButton")->toolTip(), "Dialog verlassen");
        EXPECT_EQ(field(d, "einkommField")->helpText(), "Höhe des zu versteuernden Einkommens in €");
        EXPECT_EQ(field(d, "steigField")->helpText(), "Jährliche Einkommensteigerung in Prozent");
        EXPECT_EQ(field(d, "abJahrField")->helpText(), "Berechnen ab Jahr");
        find<QRadioButton>(d, "ledigRadio")->setFocus();
        QApplication::processEvents();
        EXPECT_EQ(toolkit::last_status(), "Familienstand");
        button(d, "berechnenButton")->setFocus();
        QApplication::processEvents();
        EXPECT_EQ(toolkit::last_status(), "Einkommensteuer errechen");
    });
}

TEST_F(EkstDialogTest, BothTaxCalculatorsAreStartedFromTheMenu) {
    app::register_calculators();
    EXPECT_TRUE(app::has_calculator("BER_EKST"));
    EXPECT_TRUE(app::has_calculator("ABSCHR_PROG"));
    bool ran = false;
    whenModal(
        [&](QWidget* d) {
            ran = true;
            button(d, "schliessenButton")->click();
        },
        "ekstDialog");
    EXPECT_TRUE(app::launch_calculator("BER_EKST", nullptr));
    EXPECT_TRUE(ran);
}

// Saves pictures of the dialog and its table when VESTRAL_SHOTS names a directory.
TEST_F(EkstDialogTest, Screenshots) {
    QString shots = qEnvironmentVariable("VESTRAL_SHOTS");
    if (shots.isEmpty()) GTEST_SKIP() << "VESTRAL_SHOTS not set";
    QDir().mkpath(shots);
    ini().set("EINKST", "Einkomm", "45000.00");
    ini().set("EINKST", "AbJahr", "1996");
    ini().set("EINKST", "EKSteig", "2.50");
    run([&](QDialog* d) {
        button(d, "berechnenButton")->click();
        d->grab().save(shots + "/ekst_dialog.png");
        whenModal(
            [&](QWidget* g) {
                g->grab().save(shots + "/ekst_table.png");
                find<QPushButton>(g, "closeButton")->click();
            },
            "ekstShowDialog");
        button(d, "tabelleButton")->click();
    });
}
