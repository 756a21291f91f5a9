// The instalment credit dialog driven as a user would: typing, leaving fields, pressing buttons,
// and reading back what the financing plans read (RATKRED, KREDBANK, section "KRED2").
#include <QApplication>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QtTest/QTest>

#include "calc/loans/ratenkredit.h"
#include "calc/loans/ratenkredit_dialog.h"
#include "core/catalogue.h"
#include "core/clock.h"
#include "core/dbf.h"
#include "support/gui_fixture.h"
#include "support/gui_steps.h"
#include "toolkit/help.h"
#include "ui/blocks.h"
#include "ui/grid_dialog.h"
#include "ui/numeric_field.h"
#include "ui/saved_plans_dialog.h"
#include "ui/text_field.h"

using namespace vestral;
using test::find;
using ui::NumericField;

namespace {

class RatenkreditDialogTest : public test::CalculatorTest {
  protected:
    void SetUp() override {
        GuiTest::SetUp();
        core::set_today_for_tests({2024, 3, 15});
        core::check_dbf(dir());
    }

    // Opens the dialog, runs `body` in it, then closes it with "Schließen". Returns what the
    // calculator reports: whether a plan was computed.
    bool run(const std::function<void(QWidget*)>& body) {
        bool computed = false;
        inDialog(
            "ratenkreditDialog", [&] { computed = calc::ratenkredit(nullptr); }, body, "schliessenButton");
        return computed;
    }

    static void click(QWidget* d, const char* name) { find<QPushButton>(d, name)->click(); }
    static QString result(QWidget* d, const char* name) { return find<ui::ResultField>(d, name)->text(); }
    static QString input(QWidget* d, const char* name) { return find<QLineEdit>(d, name)->text(); }
    static bool enabled(QWidget* d, const char* name) { return find<QWidget>(d, name)->isEnabled(); }

    // Credit 10 000 at 6 % with the given fee in EUR and the term or rate.
    static void enter(QWidget* d, const QString& bank, const QString& credit, const QString& rate) {
        test::enter(find<ui::TextField>(d, "bankname"), bank);
        test::enter(find<NumericField>(d, "kredit"), credit);
        test::enter(find<NumericField>(d, "zinssatz"), rate);
    }
};

}  // namespace

TEST_F(RatenkreditDialogTest, TermDrivenPlanAsTheFinancingPlansReadIt) {
    run([&](QWidget* d) {
        EXPECT_EQ(d->windowTitle(), "Ratenkredit");
        EXPECT_FALSE(enabled(d, "berechnenButton"));
        EXPECT_FALSE(enabled(d, "tabelleButton"));
        EXPECT_FALSE(enabled(d, "druckenButton"));
        enter(d, "Kreditbank Köln", "10000", "6");
        EXPECT_FALSE(enabled(d, "berechnenButton"));  // neither term nor rate yet
        test::enter(find<NumericField>(d, "laufzeit"), "12");
        ASSERT_TRUE(enabled(d, "berechnenButton"));
        click(d, "berechnenButton");
        EXPECT_TRUE(messages().empty()) << lastMessage().toStdString();
        EXPECT_EQ(result(d, "erstrate"), "883,33");
        EXPECT_EQ(result(d, "restrate"), "883,33");
        EXPECT_EQ(result(d, "zinssumme"), "600,00");
        EXPECT_EQ(result(d, "tilgsumme"), "10.600,00");
        EXPECT_EQ(result(d, "tilgzeit"), "1,00");
        EXPECT_EQ(result(d, "effzins"), "6,168");
        EXPECT_TRUE(enabled(d, "tabelleButton"));
        EXPECT_TRUE(enabled(d, "druckenButton"));
        // The plan is on disk while the dialog is still open.
        const std::string rows = dbfRows("RATKRED", "BANKNAME JAHR MONAT KREDIT ZINSEN TILGUNG MONRATE");
        EXPECT_EQ(std::count(rows.begin(), rows.end(), '\n'), 12);
        EXPECT_EQ(rows.substr(0, rows.find('\n')), "Kreditbank Köln;2024;1;10000.0;50.0;833.33;883.33");
        EXPECT_NE(rows.find("Kreditbank Köln;2024;12;833.33;50.0;833.33;883.33"), std::string::npos) << rows;
    });
    const std::string sums = dbfRows("RATKRED", "ZINSSUM GETILGT");
    EXPECT_EQ(sums.substr(sums.rfind('\n', sums.size() - 2) + 1), "600.0;10600.0\n");
    // The saved credit, found by the bank name of the plan's first row.
    EXPECT_EQ(dbfRows("KREDBANK",
                      "BANKNAME KREDIT ZINSSATZ LAUFZEIT MONRATE ZAHLRATE LASTRATE ZINSSUM TILGSUM "
                      "TILGZEIT TILGJAHR ABJAHR"),
              "Kreditbank Köln;10000.0;6.0;12;0.0;883.33;883.33;600.0;10600.0;1.0;0;0\n");
    EXPECT_EQ(ini().get("KRED2", "Bankname", ""), "Kreditbank Köln");
    EXPECT_EQ(ini().get("KRED2", "Kredit", ""), "10000.00");
    EXPECT_EQ(ini().get("KRED2", "Laufzeit", ""), "12");
    EXPECT_EQ(ini().get("KRED2", "ErstRate", "").substr(0, 6), "883.33");
    EXPECT_EQ(ini().get("KRED2", "ZinsSumme", ""), "600");
}

TEST_F(RatenkreditDialogTest, FeeInEuroIsPaidOutOfTheFirstRate) {
    run([&](QWidget* d) {
        enter(d, "Bank", "10000", "6");
        test::enter(find<NumericField>(d, "gebuehrEuro"), "200");
        EXPECT_EQ(input(d, "gebuehrProzent"), "2,000");
        test::enter(find<NumericField>(d, "laufzeit"), "12");
        click(d, "berechnenButton");
        EXPECT_EQ(result(d, "erstrate"), "900,00");
        EXPECT_EQ(result(d, "restrate"), "900,00");
    });
    const std::string rows = dbfRows("RATKRED", "MONAT MONRATE TILGUNG ZINSEN");
    EXPECT_EQ(rows.substr(0, rows.find('\n')), "1;700.0;650.0;50.0");
    EXPECT_NE(rows.find("\n2;900.0;850.0;50.0\n"), std::string::npos);
    EXPECT_NE(rows.find("\n12;900.0;850.0;50.0\n"), std::string::npos);
    EXPECT_EQ(dbfRows("KREDBANK", "KREDITPR KREDITDM"), "2.0;200.0\n");
}

TEST_F(RatenkreditDialogTest, FeeInPercentSetsTheAmountAndLocksIt) {
    run([&](QWidget* d) {
        enter(d, "Bank", "10000", "6");
        auto* eur = find<NumericField>(d, "gebuehrEuro");
        EXPECT_TRUE(eur->isEnabled());
        test::enter(find<NumericField>(d, "gebuehrProzent"), "2");
        EXPECT_EQ(eur->text(), "200,00");
        EXPECT_TRUE(eur->isEnabled());  // an amount is there
        test::enter(find<NumericField>(d, "laufzeit"), "12");
        click(d, "berechnenButton");
        EXPECT_EQ(result(d, "erstrate"), "900,00");

        // A percent of a zero credit gives no amount: the amount takes no input then.
        test::enter(find<NumericField>(d, "kredit"), "0");
        test::enter(find<NumericField>(d, "gebuehrProzent"), "3");
        EXPECT_EQ(eur->text(), "0,00");
        EXPECT_FALSE(eur->isEnabled());
        EXPECT_EQ(input(d, "gebuehrProzent"), "3,000");
        test::enter(find<NumericField>(d, "gebuehrProzent"), "0");
        EXPECT_TRUE(eur->isEnabled());
        // A fee above a tenth of the credit fails check 4.
        test::enter(find<NumericField>(d, "kredit"), "1000");
        clearMessages();
        test::enter(eur, "150");
        ASSERT_EQ(messages().size(), 1u);
        EXPECT_EQ(messages()[0].title, "Eingabefehler");
        EXPECT_NE(messages()[0].text.indexOf("Bearbeitungsgebühr"), -1);
        EXPECT_FALSE(enabled(d, "berechnenButton"));
        test::enter(eur, "100");  // the focus stayed; type again
        EXPECT_EQ(input(d, "gebuehrProzent"), "10,000");
    });
}

TEST_F(RatenkreditDialogTest, RateDrivenPlanEndsWithTheRemainderPlusInterest) {
    run([&](QWidget* d) {
        enter(d, "Bank", "10000", "6");
        test::enter(find<NumericField>(d, "laufzeit"), "12");
        // A rate above a twelfth of the credit fails check 6 when the field is left.
        clearMessages();
        test::enter(find<NumericField>(d, "monrate"), "1000");
        ASSERT_EQ(messages().size(), 1u);
        EXPECT_NE(messages()[0].text.indexOf("monatliche Rate"), -1);
        EXPECT_EQ(input(d, "laufzeit"), "12");  // the failed field did not drive the coupling
        test::enter(find<NumericField>(d, "monrate"), "800");
        EXPECT_EQ(input(d, "laufzeit"), "0");
        click(d, "berechnenButton");
        EXPECT_EQ(result(d, "erstrate"), "800,00");
        EXPECT_EQ(result(d, "restrate"), "300,00");
        EXPECT_EQ(result(d, "tilgzeit"), "1,02");
        EXPECT_EQ(result(d, "zinssumme"), "700,00");
        const std::string rows = dbfRows("RATKRED", "JAHR MONAT KREDIT MONRATE TILGUNG");
        EXPECT_EQ(std::count(rows.begin(), rows.end(), '\n'), 14);
        EXPECT_NE(rows.find("\n2025;13;1000.0;800.0;750.0\n"), std::string::npos) << rows;
        EXPECT_EQ(rows.substr(rows.rfind("2025;14")), "2025;14;250.0;300.0;250.0\n");
        // The term drives again: the rate input goes back to 0.
        test::enter(find<NumericField>(d, "laufzeit"), "24");
        EXPECT_EQ(input(d, "monrate"), "0,00");
    });
    EXPECT_EQ(dbfRows("RATKRED", "MONAT"), "");           // the plan went with the changed term
    EXPECT_EQ(ini().get("KRED2", "Laufzeit", ""), "24");  // saved again when the dialog closed
}

TEST_F(RatenkreditDialogTest, RefusedRateLeavesNothingComputedAndKeepsTheSavedCredit) {
    run([&](QWidget* d) {
        enter(d, "Bank", "10000", "6");
        test::enter(find<NumericField>(d, "monrate"), "100");
        click(d, "berechnenButton");
        EXPECT_EQ(result(d, "restrate"), "100,00");
        EXPECT_EQ(result(d, "tilgzeit"), "16,08");
        const std::string bank_before = dir_.read("KREDBANK.DBF");
        EXPECT_EQ(ini().get("KRED2", "MonRate", ""), "100.00");

        for (const char* rate : {"40", "50", "60"}) {
            clearMessages();
            test::enter(find<NumericField>(d, "monrate"), rate);
            EXPECT_TRUE(messages().empty());  // within the bounds of the field
            click(d, "berechnenButton");
            ASSERT_EQ(messages().size(), 1u) << rate;
            EXPECT_EQ(messages()[0].text, "Die monatliche Rate ist zu klein !");
            // The saved credit is not overwritten by a plan that was never made ...
            EXPECT_EQ(dir_.read("KREDBANK.DBF"), bank_before) << rate;
            EXPECT_EQ(ini().get("KRED2", "MonRate", ""), "100.00");
            // ... and nothing of the earlier plan stays beside the new inputs.
            EXPECT_EQ(result(d, "restrate"), "0,00");
            EXPECT_EQ(result(d, "tilgzeit"), "0,00");
            EXPECT_FALSE(enabled(d, "tabelleButton"));
            EXPECT_FALSE(enabled(d, "druckenButton"));
            EXPECT_EQ(dbfRows("RATKRED", "MONAT"), "");
        }
    });
}

TEST_F(RatenkreditDialogTest, AnyInputChangeEmptiesThePlan) {
    run([&](QWidget* d) {
        auto compute = [&] {
            click(d, "berechnenButton");
            ASSERT_TRUE(enabled(d, "tabelleButton"));
            ASSERT_TRUE(enabled(d, "druckenButton"));
            const std::string rows = dbfRows("RATKRED", "MONAT");
            ASSERT_EQ(std::count(rows.begin(), rows.end(), '\n'), 12);
        };
        auto expect_emptied = [&] {
            EXPECT_FALSE(enabled(d, "tabelleButton"));
            EXPECT_FALSE(enabled(d, "druckenButton"));
            EXPECT_EQ(result(d, "erstrate"), "0,00");
            EXPECT_EQ(dbfRows("RATKRED", "MONAT"), "");
        };
        enter(d, "Bank", "10000", "6");
        test::enter(find<NumericField>(d, "laufzeit"), "12");
        compute();
        // One key in the credit, before the field is left.
        test::typeOver(find<NumericField>(d, "kredit"), "12000");
        expect_emptied();
        EXPECT_TRUE(enabled(d, "berechnenButton"));  // the rule follows what is typed
        QTest::keyClick(find<NumericField>(d, "kredit"), Qt::Key_Tab);
        compute();
        // The rate alone, too: the plan and the printout would show another rate than they used.
        test::typeOver(find<NumericField>(d, "zinssatz"), "7");
        expect_emptied();
        QTest::keyClick(find<NumericField>(d, "zinssatz"), Qt::Key_Tab);
        compute();
        test::typeOver(find<ui::TextField>(d, "bankname"), "Andere Bank");
        expect_emptied();
    });
}

TEST_F(RatenkreditDialogTest, ReopeningReloadsEveryInputWithItsDecimals) {
    run([&](QWidget* d) {
        enter(d, "Volksbank Süd", "12345,67", "5,125");
        test::enter(find<NumericField>(d, "gebuehrProzent"), "1,125");
        EXPECT_EQ(input(d, "gebuehrEuro"), "138,89");
        test::enter(find<NumericField>(d, "laufzeit"), "24");
        // Closed without computing: the inputs are saved all the same.
    });
    EXPECT_EQ(ini().get("KRED2", "MonZins", ""), "5.125");
    EXPECT_EQ(ini().get("KRED2", "BearbProz", ""), "1.125");
    run([&](QWidget* d) {
        EXPECT_EQ(input(d, "bankname"), "Volksbank Süd");
        EXPECT_EQ(input(d, "kredit"), "12.345,67");
        EXPECT_EQ(input(d, "zinssatz"), "5,125");
        EXPECT_EQ(input(d, "gebuehrProzent"), "1,125");
        EXPECT_EQ(input(d, "gebuehrEuro"), "138,89");
        EXPECT_EQ(input(d, "laufzeit"), "24");
        EXPECT_EQ(input(d, "monrate"), "0,00");
        EXPECT_EQ(result(d, "erstrate"), "0,00");
        EXPECT_TRUE(enabled(d, "berechnenButton"));
        EXPECT_FALSE(enabled(d, "tabelleButton"));  // RATKRED is kept, but nothing was computed here
        test::enter(find<NumericField>(d, "monrate"), "600,5");
        click(d, "berechnenButton");
    });
    run([&](QWidget* d) {
        EXPECT_EQ(input(d, "laufzeit"), "0");
        EXPECT_EQ(input(d, "monrate"), "600,50");
        EXPECT_EQ(input(d, "zinssatz"), "5,125");
    });
    EXPECT_EQ(dbfRows("KREDBANK", "BANKNAME ZINSSATZ KREDITPR KREDITDM MONRATE"),
              "Volksbank Süd;5.125;1.125;138.89;600.5\n");
}

TEST_F(RatenkreditDialogTest, BankNamedInTheSettingsIsPreselected) {
    for (const char* bank : {"Erste Bank", "Zweite Bank"}) {
        run([&](QWidget* d) {
            enter(d, bank, bank[0] == 'E' ? "5000" : "8000", "7,5");
            test::enter(find<NumericField>(d, "laufzeit"), "36");
            click(d, "berechnenButton");
        });
    }
    // What a financing plan does before it opens the calculator.
    ASSERT_TRUE(ini().set("KRED2", "Bankname", "erste bank"));
    run([&](QWidget* d) {
        EXPECT_EQ(input(d, "bankname"), "Erste Bank");
        EXPECT_EQ(input(d, "kredit"), "5.000,00");
        EXPECT_EQ(input(d, "laufzeit"), "36");
    });
    // A bank without a saved credit opens with empty inputs.
    ASSERT_TRUE(ini().set("KRED2", "Bankname", "Dritte Bank"));
    run([&](QWidget* d) {
        EXPECT_EQ(input(d, "bankname"), "");
        EXPECT_EQ(input(d, "kredit"), "0,00");
    });
}

TEST_F(RatenkreditDialogTest, ListOfSavedCreditsTakesOverAndDeletes) {
    run([&](QWidget* d) {
        clearMessages();
        click(d, "ladenButton");
        ASSERT_EQ(messages().size(), 1u);
        EXPECT_EQ(messages()[0].title, "Problem");
        EXPECT_EQ(messages()[0].text, "Es sind noch keine Tilgungspläne gespeichert !");
        for (const char* bank : {"Mitte Bank", "Alpha Bank", "Zeta Bank"}) {
            enter(d, bank, bank[0] == 'Z' ? "9000" : "3000", "4,25");
            test::enter(find<NumericField>(d, "laufzeit"), bank[0] == 'A' ? "48" : "12");
            click(d, "berechnenButton");
        }
        ASSERT_TRUE(enabled(d, "tabelleButton"));

        // Take over the first row of the name order: Alpha Bank.
        whenModal(
            [](QWidget* list) {
                EXPECT_EQ(list->windowTitle(), "Tabelle der Ratenkredit-Tilgungspläne");
                auto* grid = find<ui::TableGrid>(list, "tableGrid");
                ASSERT_EQ(grid->rows(), 3);
                EXPECT_EQ(grid->model()->headerData(0, Qt::Horizontal).toString(), " Bankname");
                EXPECT_EQ(grid->model()->headerData(4, Qt::Horizontal).toString(), "mon. Rate ");
                EXPECT_EQ(grid->cellText(0, 0), " Alpha Bank");
                EXPECT_EQ(grid->cellText(0, 1).trimmed(), "3.000,00");
                EXPECT_EQ(grid->cellText(0, 2).trimmed(), "4,25");
                EXPECT_EQ(grid->cellText(0, 3).trimmed(), "48");
                EXPECT_EQ(grid->cellText(2, 0), " Zeta Bank");
                grid->selectRow(0);
                find<QPushButton>(list, "takeButton")->click();
            },
            "savedPlansDialog");
        click(d, "ladenButton");
        EXPECT_EQ(input(d, "bankname"), "Alpha Bank");
        EXPECT_EQ(input(d, "laufzeit"), "48");
        EXPECT_EQ(result(d, "erstrate"), "0,00");
        EXPECT_FALSE(enabled(d, "tabelleButton"));  // "Laden" empties the plan
        EXPECT_EQ(dbfRows("RATKRED", "MONAT"), "");

        // Delete Mitte Bank (second in name order); the store is compacted.
        whenModal(
            [](QWidget* list) {
                auto* grid = find<ui::TableGrid>(list, "tableGrid");
                grid->selectRow(1);
                find<QPushButton>(list, "deleteButton")->click();
                EXPECT_EQ(grid->rows(), 2);
                find<QPushButton>(list, "closeButton")->click();
            },
            "savedPlansDialog");
        click(d, "ladenButton");
        EXPECT_EQ(input(d, "bankname"), "Zeta Bank");  // closed without a take-over: the bank of the settings
    });
    EXPECT_EQ(dbfRows("KREDBANK", "BANKNAME"), "Alpha Bank\nZeta Bank\n");
    core::dbf::Table t;
    ASSERT_TRUE(t.open(dir() / "KREDBANK.DBF", "X"));
    EXPECT_EQ(t.reccount(), 2);
}

TEST_F(RatenkreditDialogTest, TableViewShowsThePlanUnderItsOwnHelpTopic) {
    run([&](QWidget* d) {
        EXPECT_EQ(toolkit::help::topic(), "Ratenkreditberechnung");
        click(d, "hilfeButton");
        ASSERT_EQ(helpRequests().size(), 1u);
        EXPECT_EQ(helpRequests()[0].topic, "Ratenkreditberechnung");
        enter(d, "Bank", "10000", "6");
        test::enter(find<NumericField>(d, "gebuehrEuro"), "200");
        test::enter(find<NumericField>(d, "laufzeit"), "12");
        click(d, "berechnenButton");
        QString topic_inside;
        whenModal(
            [&](QWidget* view) {
                topic_inside = toolkit::help::topic();
                EXPECT_EQ(view->windowTitle(), "Ratenkredit-Tilgungsplan");
                auto* grid = find<ui::TableGrid>(view, "rkGrid");
                ASSERT_EQ(grid->rows(), 12);
                const char* heads[] = {"Monat ",   "Kredit ",        "Zinsen ",    "Zinssumme ",
                                       "Tilgung ", "Tilgungssumme ", "mon. Rate ", "Gezahlt "};
                ASSERT_EQ(grid->model()->columnCount(), 8);
                for (int c = 0; c < 8; ++c)
                    EXPECT_EQ(grid->model()->headerData(c, Qt::Horizontal).toString(), heads[c]);
                EXPECT_EQ(grid->cellText(0, 0), "1");
                EXPECT_EQ(grid->cellText(0, 1).trimmed(), "10.000,00");
                EXPECT_EQ(grid->cellText(0, 4).trimmed(), "650,00");
                EXPECT_EQ(grid->cellText(0, 6).trimmed(), "700,00");
                EXPECT_EQ(grid->cellText(11, 0), "12");
                EXPECT_EQ(grid->cellText(11, 3).trimmed(), "600,00");
                EXPECT_EQ(grid->cellText(11, 7).trimmed(), "10.600,00");
                EXPECT_EQ(find<QPushButton>(view, "closeButton")->toolTip(), "Dialog verlassen");
                find<QPushButton>(view, "closeButton")->click();
            },
            "rkTabelle");
        click(d, "tabelleButton");
        EXPECT_EQ(topic_inside, "Ratenkredit-Berechnung");
        // Back in the credit dialog, F1 shows the credit's topic again.
        EXPECT_EQ(toolkit::help::topic(), "Ratenkreditberechnung");
    });
    EXPECT_EQ(toolkit::help::topic(), "Hauptauswahl");
}

TEST_F(RatenkreditDialogTest, LabelsTooltipsAndPrintout) {
    run([&](QWidget* d) {
        EXPECT_EQ(find<QPushButton>(d, "berechnenButton")->toolTip(), "Berechnung durchführen");
        EXPECT_EQ(find<QPushButton>(d, "tabelleButton")->toolTip(), "Tabelle für Tilgungsverlauf");
        EXPECT_EQ(find<QPushButton>(d, "druckenButton")->toolTip(), "Tilgungsplan drucken");
        EXPECT_EQ(find<QPushButton>(d, "hilfeButton")->toolTip(), "Hilfe aufrufen");
        EXPECT_EQ(find<QPushButton>(d, "schliessenButton")->toolTip(), "Dialog verlassen");
        EXPECT_EQ(find<QPushButton>(d, "ladenButton")->text(), "&Laden");
        EXPECT_EQ(find<NumericField>(d, "zinssatz")->helpText(), "Monatlicher Zinssatz in %");
        EXPECT_EQ(find<NumericField>(d, "laufzeit")->helpText(), "Laufzeit in Monaten");
        EXPECT_EQ(find<NumericField>(d, "monrate")->helpText(), "monatliche Rate in EUR");
        QStringList labels;
        for (QLabel* l : d->findChildren<QLabel*>()) labels << l->text();
        for (const char* t : {"Bankname", "Kreditbetrag", "Nominalzinssatz", "Bearbeitungsgebühr",
                              "Laufzeit in Monaten", "monatliche Rate", "letzte Rate", "Effektivzinssatz",
                              "Zinssumme", "Tilgungssumme", "Tilgungszeit", "Jahre", "€", "%"})
            EXPECT_TRUE(labels.contains(t)) << t;
        EXPECT_EQ(find<QGroupBox>(d, "ergebnis")->title(), "Ergebnis");

        enter(d, "Bank", "10000", "6");
        test::enter(find<NumericField>(d, "laufzeit"), "12");
        click(d, "berechnenButton");
        click(d, "druckenButton");
    });
    ASSERT_EQ(printed().size(), 1u);
    const toolkit::PrintJob& job = printed()[0];
    EXPECT_EQ(job.name, "Ratenkredit-Tilgungsplan");
    ASSERT_EQ(job.page_count(), 2);
    EXPECT_NE(job.find("883,33", 0), nullptr);
    EXPECT_NE(job.find("0,00 EUR", 1), nullptr);    // the rate input of a term-driven credit
    EXPECT_NE(job.find("883,33 EUR", 1), nullptr);  // the computed rate
    EXPECT_NE(job.find("12 Monate", 1), nullptr);
}

// --- What the caller is told, and what is saved ------------------------------------------------

TEST_F(RatenkreditDialogTest, ReportsWhetherAPlanBelongingToTheInputsWasComputed) {
    EXPECT_TRUE(run([&](QWidget* d) {
        enter(d, "Kreditbank Köln", "10000", "6");
        test::enter(find<NumericField>(d, "laufzeit"), "12");
        click(d, "berechnenButton");
    }));
    const std::string bank = dir_.read("KREDBANK.DBF");
    const std::string plan = dir_.read("RATKRED.DBF");
    const std::string results = dbfRows("KREDBANK", "ZAHLRATE ZINSSUM TILGSUM TILGZEIT");
    EXPECT_EQ(results, "883.33;600.0;10600.0;1.0\n");

    // Opened and closed without computing: "not computed", and the saved credit keeps its results
    // beside the plan that belongs to them.
    EXPECT_FALSE(run([&](QWidget* d) { EXPECT_EQ(input(d, "bankname"), "Kreditbank Köln"); }));
    EXPECT_EQ(dir_.read("KREDBANK.DBF"), bank);
    EXPECT_EQ(dir_.read("RATKRED.DBF"), plan);
    EXPECT_EQ(ini().get("KRED2", "ErstRate", "").substr(0, 6), "883.33");
    EXPECT_EQ(ini().get("KRED2", "ZinsSumme", ""), "600");

    // A plan computed and then left behind by a changed input does not count either.
    EXPECT_FALSE(run([&](QWidget* d) {
        click(d, "berechnenButton");
        ASSERT_TRUE(enabled(d, "druckenButton"));
        test::enter(find<NumericField>(d, "laufzeit"), "24");
    }));
    // The changed credit is saved, without the results of the old one.
    EXPECT_EQ(dbfRows("KREDBANK", "LAUFZEIT ZAHLRATE ZINSSUM"), "24;0.0;0.0\n");
    EXPECT_EQ(ini().get("KRED2", "ErstRate", ""), "0");
    EXPECT_EQ(dbfRows("RATKRED", "MONAT"), "");
}

TEST_F(RatenkreditDialogTest, ClosingSavesTheLastAcceptedTermNeverARefusedOne) {
    run([&](QWidget* d) {
        enter(d, "Bank", "10000", "6");
        test::enter(find<NumericField>(d, "laufzeit"), "12");
        clearMessages();
        test::enter(find<NumericField>(d, "laufzeit"), "999");
        ASSERT_EQ(messages().size(), 1u);
        EXPECT_EQ(messages()[0].title, "Eingabefehler");
        EXPECT_NE(messages()[0].text.indexOf("Laufzeit in Monaten"), -1);
        // "Schließen" right after the message, the refused value still in the field.
    });
    EXPECT_EQ(ini().get("KRED2", "Laufzeit", ""), "12");
    EXPECT_EQ(dbfRows("KREDBANK", "BANKNAME LAUFZEIT"), "Bank;12\n");
    run([&](QWidget* d) { EXPECT_EQ(input(d, "laufzeit"), "12"); });
}

TEST_F(RatenkreditDialogTest, WithoutABankNameNothingGoesToTheStore) {
    run([&](QWidget* d) {
        enter(d, "", "10000", "6");
        test::enter(find<NumericField>(d, "laufzeit"), "12");
        click(d, "berechnenButton");
        EXPECT_EQ(result(d, "erstrate"), "883,33");  // computed all the same
    });
    EXPECT_EQ(dbfRows("KREDBANK", "BANKNAME"), "");
    // A name typed and removed again saves no blank record either.
    run([&](QWidget* d) {
        auto* bank = find<ui::TextField>(d, "bankname");
        test::typeOver(bank, "Bank");
        QTest::keyClick(bank, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(bank, Qt::Key_Backspace);
        QTest::keyClick(bank, Qt::Key_Tab);
        test::enter(find<NumericField>(d, "kredit"), "5000");
    });
    core::dbf::Table t;
    ASSERT_TRUE(t.open(dir() / "KREDBANK.DBF", "X"));
    EXPECT_EQ(t.reccount(), 0);
}

// --- Typing gives the figures typed ---------------------------------------------------------------

TEST_F(RatenkreditDialogTest, TypingAfterTabReplacesTheAmount) {
    run([&](QWidget* d) {
        auto* bank = find<ui::TextField>(d, "bankname");
        test::typeOver(bank, "Bank");
        ASSERT_EQ(input(d, "kredit"), "0,00");
        QTest::keyClick(bank, Qt::Key_Tab);  // into the credit amount
        auto* credit = find<NumericField>(d, "kredit");
        ASSERT_TRUE(credit->hasFocus());
        QTest::keyClicks(credit, "15000");
        QTest::keyClick(credit, Qt::Key_Tab);
        EXPECT_EQ(input(d, "kredit"), "15.000,00");
        // Back with Shift+Tab: the next value replaces it as well.
        QTest::keyClick(find<NumericField>(d, "zinssatz"), Qt::Key_Backtab);
        ASSERT_TRUE(credit->hasFocus());
        QTest::keyClicks(credit, "8000");
        QTest::keyClick(credit, Qt::Key_Tab);
        EXPECT_EQ(credit->value(), 8000);
    });
}

TEST_F(RatenkreditDialogTest, RefusedRateFromTheStoreIsNotComputed) {
    // A rate of 99 % that an earlier run saved.
    run([&](QWidget* d) {
        enter(d, "Bank", "10000", "6");
        test::enter(find<NumericField>(d, "laufzeit"), "12");
        click(d, "berechnenButton");
    });
    {
        core::dbf::Table t;
        ASSERT_TRUE(t.open(dir() / "KREDBANK.DBF", "X"));
        t.go_top();
        t.set_num("ZINSSATZ", 99);
        ASSERT_TRUE(t.flush());
    }
    run([&](QWidget* d) {
        auto* rate = find<NumericField>(d, "zinssatz");
        EXPECT_EQ(rate->text(), "99,000");
        ASSERT_TRUE(enabled(d, "berechnenButton"));
        clearMessages();
        click(d, "berechnenButton");
        ASSERT_EQ(messages().size(), 1u);
        EXPECT_EQ(messages()[0].title, "Eingabefehler");
        EXPECT_NE(messages()[0].text.indexOf("Zinssatz"), -1);
        EXPECT_EQ(result(d, "erstrate"), "0,00");
        EXPECT_FALSE(enabled(d, "druckenButton"));
        QApplication::processEvents();
        EXPECT_TRUE(rate->hasFocus());
        EXPECT_EQ(dbfRows("RATKRED", "MONAT"), "");  // no plan beside a refused rate
        // The message once, not again when the focus comes back.
        QApplication::processEvents();
        EXPECT_EQ(messages().size(), 1u);
    });
}

TEST_F(RatenkreditDialogTest, AcceleratorInAFailingFieldShowsTheMessageAndSelectsIt) {
    run([&](QWidget* d) {
        enter(d, "Bank", "10000", "6");
        test::enter(find<NumericField>(d, "laufzeit"), "12");
        auto* rate = find<NumericField>(d, "zinssatz");
        test::typeOver(rate, "99");
        clearMessages();
        QTest::keyClick(rate, Qt::Key_B, Qt::AltModifier);
        QTRY_COMPARE(messages().size(), size_t{1});
        EXPECT_EQ(messages()[0].title, "Eingabefehler");
        EXPECT_NE(messages()[0].text.indexOf("Zinssatz"), -1);
        QTRY_VERIFY(rate->hasFocus());
        EXPECT_EQ(rate->selectedText(), rate->text());
        EXPECT_EQ(result(d, "erstrate"), "0,00");
        // The next value typed replaces the refused one.
        QTest::keyClicks(rate, "3,875");
        QTest::keyClick(rate, Qt::Key_Tab);
        EXPECT_EQ(rate->text(), "3,875");
        EXPECT_EQ(messages().size(), 1u);
    });
}

TEST_F(RatenkreditDialogTest, PrintoutNeverShowsInputsBesideResultsOfOthers) {
    run([&](QWidget* d) {
        enter(d, "Bank", "10000", "6");
        test::enter(find<NumericField>(d, "laufzeit"), "48");
        click(d, "berechnenButton");
        ASSERT_TRUE(enabled(d, "druckenButton"));
        // The rate now drives: the term becomes 0, and the 48-month results go.
        test::enter(find<NumericField>(d, "monrate"), "50");
        EXPECT_EQ(input(d, "laufzeit"), "0");
        EXPECT_FALSE(enabled(d, "druckenButton"));
        EXPECT_FALSE(enabled(d, "tabelleButton"));
        EXPECT_EQ(result(d, "erstrate"), "0,00");
        // A refused computation leaves nothing printable.
        click(d, "berechnenButton");
        EXPECT_EQ(lastMessage(), "Die monatliche Rate ist zu klein !");
        EXPECT_FALSE(enabled(d, "druckenButton"));
        QTest::keyClick(find<NumericField>(d, "kredit"), Qt::Key_D, Qt::AltModifier);
        QTest::qWait(150);
        EXPECT_TRUE(printed().empty());
        test::enter(find<NumericField>(d, "monrate"), "300");
        click(d, "berechnenButton");
        ASSERT_TRUE(enabled(d, "druckenButton"));
        click(d, "druckenButton");
    });
    ASSERT_EQ(printed().size(), 1u);
    const toolkit::PrintJob& job = printed()[0];
    const int last = job.page_count() - 1;
    EXPECT_NE(job.find("300,00 EUR", last), nullptr);
    EXPECT_EQ(job.find("258,33 EUR", last), nullptr);  // the rate of the 48-month plan
}

TEST_F(RatenkreditDialogTest, Screenshots) {
    const QByteArray shots = qgetenv("VESTRAL_SHOTS");
    if (shots.isEmpty()) GTEST_SKIP() << "VESTRAL_SHOTS names no directory";
    QDir().mkpath(QString::fromLocal8Bit(shots));
    auto save = [&](QWidget* w, const char* name) {
        QApplication::processEvents();
        EXPECT_TRUE(w->grab().save(QString::fromLocal8Bit(shots) + "/" + name + ".png"));
    };
    run([&](QWidget* d) {
        enter(d, "Kreditbank Köln", "12345,67", "6,75");
        test::enter(find<NumericField>(d, "gebuehrProzent"), "2,5");
        test::enter(find<NumericField>(d, "laufzeit"), "60");
        click(d, "berechnenButton");
        find<ui::TextField>(d, "bankname")->setFocus();
        save(d, "ratenkredit_dialog");
        whenModal(
            [&](QWidget* view) {
                save(view, "ratenkredit_tabelle");
                find<QPushButton>(view, "closeButton")->click();
            },
            "rkTabelle");
        click(d, "tabelleButton");
        whenModal(
            [&](QWidget* list) {
                save(list, "ratenkredit_liste");
                find<QPushButton>(list, "closeButton")->click();
            },
            "savedPlansDialog");
        click(d, "ladenButton");
    });
}
