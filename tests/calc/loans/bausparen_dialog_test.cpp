// The building-savings dialog driven as a user drives it: typing, leaving fields, pressing the
// buttons, reading the account plan and the settings back from disk.
#include "calc/loans/bausparen_dialog.h"
#include "calc/loans/bausparen_example.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QKeyEvent>
#include <QPushButton>
#include <QtTest/QTest>
#include <cstdlib>

#include "calc/loans/bausparen.h"
#include "core/catalogue.h"
#include "core/dbf.h"
#include "support/gui_fixture.h"
#include "ui/numeric_field.h"
#include "ui/saved_plans_dialog.h"
#include "ui/table_grid.h"
#include "ui/text_field.h"

using namespace vestral;
using test::find;
using test::typeInto;

namespace {

struct Case {
    const char* field;
    const char* typed;
};

// The first edge case as typed (German decimal comma).
const Case kFirstCase[] = {
    {"NBAUSPSUM", "50000"}, {"NABSCHGEB", "1"},   {"NKONTOGEB", "1"},  {"NABJAHR", "2007"},
    {"NSPARTEIL", "40"},    {"NSZINSSTZ", "2"},   {"NMONRATE", "300"}, {"NTILGANNO", "6"},
    {"NTZINSSTZ", "4"},     {"NTFESTZEIT", "10"}, {"NTZINSNACH", "4"},
};

// Types any text (umlauts too) as key events with their text, then leaves the field with Tab.
void typeText(QWidget* w, const QString& text, bool leave = true) {
    w->setFocus(Qt::TabFocusReason);
    QApplication::processEvents();
    for (QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(w, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(w, &release);
    }
    if (leave) {
        QTest::keyClick(w, Qt::Key_Tab);
        QApplication::processEvents();
    }
}

QPushButton* button(QWidget* d, const char* name) {
    return find<QPushButton>(d, name);
}
ui::NumericField* field(QWidget* d, const char* name) {
    return find<ui::NumericField>(d, name);
}
QString result(QWidget* d, const char* name) {
    return find<QLineEdit>(d, name)->text();
}

void typeCase(QWidget* d, const char* bank) {
    typeInto(find<ui::TextField>(d, "CBANKNAME"), bank);
    for (const Case& c : kFirstCase) typeInto(field(d, c.field), c.typed);
}

class BausparenDialogTest : public test::GuiTest {
  protected:
    // Opens the dialog, runs `body` on it once it is shown, then closes it with "Schließen".
    void run(std::function<void(QDialog*)> body) {
        bool ran = false;
        whenModal(
            [&](QWidget* w) {
                auto* d = static_cast<QDialog*>(w);
                QApplication::setActiveWindow(d);
                (void)QTest::qWaitForWindowActive(d);
                topic_inside = toolkit::help::topic();
                body(d);
                ran = true;
                if (d->isVisible()) button(d, "closeButton")->click();
            },
            "bausparenDialog");
        calc::bausparen(nullptr);
        EXPECT_TRUE(ran);
    }

    std::string py(const std::string& script) {
        int rc = 0;
        std::string out = test::run_python("import dbfread\n" + script, &rc);
        EXPECT_EQ(rc, 0) << out;
        return out;
    }
    std::string dbf(const char* name) {
        return "dbfread.DBF('" + (dir() / name).string() + "', encoding='cp1252')";
    }

    // Saves a contract straight into the store, as an earlier run would have.
    void storeContract(const char* bank, double sum, double share, double repayment, double year) {
        core::dbf::Table t;
        const auto file = dir() / "BSPBANK.DBF";
        if (!std::filesystem::exists(file)) {
            ASSERT_TRUE(core::dbf::create_table(file, core::catalogue_layout("BSPBANK")));
        }
        ASSERT_TRUE(t.open(file, "BSPBANK"));
        calc::BauInputs in;
        in.CBANKNAME = bank;
        in.NBAUSPSUM = sum;
        in.NSPARTEIL = share;
        in.NTILGANNO = repayment;
        in.NABJAHR = year;
        ASSERT_TRUE(calc::bspbank_save(t, in, {}));
    }

    QString topic_inside;
};

}  // namespace

TEST_F(BausparenDialogTest, FirstCaseComputesAndLeavesThePlanForTheFinancingPlans) {
    run([&](QDialog* d) {
        EXPECT_EQ(d->windowTitle(), "Bausparen");
        EXPECT_FALSE(button(d, "tableButton")->isEnabled());
        EXPECT_FALSE(button(d, "chartButton")->isEnabled());
        EXPECT_FALSE(button(d, "printButton")->isEnabled());
        typeCase(d, "Bausparkasse Nord");
        ASSERT_TRUE(button(d, "computeButton")->isEnabled());
        button(d, "computeButton")->click();
        EXPECT_TRUE(messages().empty()) << lastMessage().toStdString();
        EXPECT_EQ(result(d, "NSMONATE"), "5,06");
        EXPECT_EQ(result(d, "NTMONATE"), "12,10");
        EXPECT_EQ(result(d, "NMONTILG"), "247,60");
        EXPECT_EQ(result(d, "NSSUMME"), "20.287,50");
        EXPECT_EQ(result(d, "NTSUMME"), "29.712,50");
        EXPECT_EQ(result(d, "NTZINSEN"), "8.295,58");
        EXPECT_EQ(result(d, "NZSUMME"), "38.162,08");
        EXPECT_TRUE(button(d, "tableButton")->isEnabled());
        EXPECT_TRUE(button(d, "chartButton")->isEnabled());
        EXPECT_TRUE(button(d, "printButton")->isEnabled());
        // The plan is complete on disk right after the computation.
        EXPECT_EQ(py("print(len(list(" + dbf("BAUSPAR.DBF") + ")))\n"), "226\n");
    });
    EXPECT_EQ(topic_inside, "Bausparvertrag");
    EXPECT_EQ(toolkit::help::topic(), "Hauptauswahl");

    // What a financing plan reads after the dialog: the first row's bank, the KEY 1 rows, the store
    // record of that bank and section BAUSP.
    EXPECT_EQ(py("t = list(" + dbf("BAUSPAR.DBF") +
                 ")\n"
                 "k1 = [r for r in t if r['KEY'] == 1]\n"
                 "a = [r for r in k1 if r['CODE'] == 0][0]\n"
                 "print(t[0]['BANKNAME'], len(k1), t[0]['DATUM'], t[0]['GEBUEHR'], t[0]['KTOSTAND'])\n"
                 "print(a['DATUM'], a['GUTHABEN'], a['KREDIT'], a['KTOSTAND'], repr(a['BANKNAME']))\n"
                 "print(k1[-1]['DATUM'], k1[-1]['ANUITAT'], k1[-1]['KREDIT'])\n"
                 "b = [r for r in " +
                 dbf("BSPBANK.DBF") +
                 " if r['BANKNAME'].upper() == t[0]['BANKNAME'].upper()]\n"
                 "print(len(b), b[0]['BSPSUMME'], b[0]['TMONRATE'], b[0]['SPARZEIT'], b[0]['TILGZEIT'])\n"),
              "Bausparkasse Nord 221 2007-01-30 501.0 -201.0\n"
              "2012-07-01 20287.5 29712.5 -29712.5 ''\n"
              "2025-04-30 124.64 0.0\n"
              "1 50000.0 247.6 5.06 12.1\n");
    auto ini = this->ini();
    EXPECT_EQ(ini.get("BAUSP", "Bankname", ""), "Bausparkasse Nord");
    EXPECT_EQ(ini.get("BAUSP", "BausparSumme", ""), "50000.00");
    EXPECT_EQ(ini.get("BAUSP", "Sparanteil", ""), "40.00");
    EXPECT_EQ(ini.get("BAUSP", "SparMonat", ""), "300.00");
    // Computed values are written at full precision.
    EXPECT_NEAR(std::stod(ini.get("BAUSP", "SparSumme", "")), 20287.50, 0.005);
    EXPECT_DOUBLE_EQ(std::stod(ini.get("BAUSP", "SparMonate", "")), 5.06);
    EXPECT_NEAR(std::stod(ini.get("BAUSP", "TilgSumme", "")), 29712.50, 0.005);
    EXPECT_DOUBLE_EQ(std::stod(ini.get("BAUSP", "TilgMonate", "")), 12.10);
    EXPECT_NEAR(std::stod(ini.get("BAUSP", "TilgMonat", "")), 247.60, 0.005);
}

TEST_F(BausparenDialogTest, ReopeningReloadsEveryInputWithItsDecimals) {
    const Case typed[] = {
        {"NBAUSPSUM", "45678,91"}, {"NABSCHGEB", "1,625"}, {"NKONTOGEB", "1,255"},   {"NABJAHR", "2010"},
        {"NSPARTEIL", "45,5"},     {"NSZINSSTZ", "2,125"}, {"NMONRATE", "312,45"},   {"NTILGANNO", "1,5"},
        {"NTZINSSTZ", "5,125"},    {"NTFESTZEIT", "12"},   {"NTZINSNACH", "12,375"},
    };
    const double expected[] = {45678.91, 1.625, 1.255, 2010, 45.5, 2.125, 312.45, 1.5, 5.125, 12, 12.375};
    run([&](QDialog* d) {
        typeText(find<ui::TextField>(d, "CBANKNAME"), "Kasse Süd");
        for (const Case& c : typed) typeInto(field(d, c.field), c.typed);
    });
    run([&](QDialog* d) {
        EXPECT_EQ(find<ui::TextField>(d, "CBANKNAME")->text(), "Kasse Süd");
        for (size_t i = 0; i < std::size(typed); ++i)
            EXPECT_EQ(field(d, typed[i].field)->value(), expected[i]) << typed[i].field;
        EXPECT_EQ(field(d, "NTZINSNACH")->text(), "12,375");
        // Nothing was computed: the results start at 0.
        EXPECT_EQ(result(d, "NSSUMME"), "0,00");
    });
    EXPECT_EQ(py("r = list(" + dbf("BSPBANK.DBF") +
                 ")[0]\nprint(r['TILGANNO'], r['TZINSSTZ'], r['TZINSNACH'], r['KONTOGEB'])\n"),
              "1.5 5.125 12.375 1.255\n");
}

TEST_F(BausparenDialogTest, BankNameInTheSettingsPreselectsItsContract) {
    storeContract("Nordkasse", 30000, 45, 7.2, 2008);
    storeContract("Süd-Kasse", 80000, 50, 6.5, 2011);
    ini().set("BAUSP", "Bankname", "süd-kasse");
    run([&](QDialog* d) {
        EXPECT_EQ(find<ui::TextField>(d, "CBANKNAME")->text(), "Süd-Kasse");
        EXPECT_EQ(field(d, "NBAUSPSUM")->value(), 80000);
        EXPECT_EQ(field(d, "NSPARTEIL")->value(), 50);
        EXPECT_EQ(field(d, "NTILGANNO")->value(), 6.5);
        EXPECT_EQ(field(d, "NABJAHR")->value(), 2011);
    });
    // An unknown name gives an empty record: the current year and a share of 40.
    core::set_today_for_tests({2013, 3, 1});
    ini().set("BAUSP", "Bankname", "Westbank");
    run([&](QDialog* d) {
        EXPECT_EQ(find<ui::TextField>(d, "CBANKNAME")->text(), "");
        EXPECT_EQ(field(d, "NBAUSPSUM")->value(), 0);
        EXPECT_EQ(field(d, "NABJAHR")->value(), 2013);
        EXPECT_EQ(field(d, "NSPARTEIL")->value(), 40);
        EXPECT_FALSE(button(d, "computeButton")->isEnabled());  // contract sum 0
    });
}

TEST_F(BausparenDialogTest, ListOfSavedContracts) {
    // An empty store: only the message.
    run([&](QDialog* d) {
        typeInto(field(d, "NBAUSPSUM"), "12345");
        button(d, "loadButton")->click();
        ASSERT_EQ(messages().size(), 1u);
        EXPECT_EQ(messages()[0].title, "Problem");
        EXPECT_EQ(lastMessage(), "Es sind noch keine Bausparpläne gespeichert !");
        // Nothing more: what was typed stays.
        EXPECT_EQ(field(d, "NBAUSPSUM")->value(), 12345);
    });
    clearMessages();
    std::filesystem::remove(dir() / "BSPBANK.DBF");
    storeContract("Nordkasse", 30000, 45, 7.2, 2008);
    storeContract("Süd-Kasse", 80000, 50, 6.5, 2011);
    storeContract("Mittelkasse", 40000, 40, 6, 2009);
    run([&](QDialog* d) {
        // Take over: the list shows the store in name order.
        whenModal(
            [&](QWidget* w) {
                EXPECT_EQ(w->windowTitle(), "Tabelle der Bausparverträge");
                auto* grid = find<ui::TableGrid>(w, "tableGrid");
                ASSERT_EQ(grid->rows(), 3);
                EXPECT_EQ(grid->model()->headerData(0, Qt::Horizontal).toString(), " Bankname");
                EXPECT_EQ(grid->model()->headerData(4, Qt::Horizontal).toString(), "ab Jahr");
                EXPECT_EQ(grid->cellText(0, 0), " Mittelkasse");
                EXPECT_EQ(grid->cellText(2, 0), " Süd-Kasse");
                EXPECT_EQ(grid->cellText(2, 1).trimmed(), "80.000,00");
                EXPECT_EQ(grid->cellText(2, 2).trimmed(), "50,00");
                EXPECT_EQ(grid->cellText(2, 3).trimmed(), "6,500");
                EXPECT_EQ(grid->cellText(2, 4), "2011");
                grid->selectRow(2);
                find<QPushButton>(w, "takeButton")->click();
            },
            "savedPlansDialog");
        button(d, "loadButton")->click();
        EXPECT_EQ(find<ui::TextField>(d, "CBANKNAME")->text(), "Süd-Kasse");
        EXPECT_EQ(field(d, "NBAUSPSUM")->value(), 80000);
        EXPECT_EQ(field(d, "NTILGANNO")->value(), 6.5);
        EXPECT_EQ(field(d, "NBAUSPSUM")->text(), "80.000,00");

        // Delete: the store is compacted.
        whenModal(
            [&](QWidget* w) {
                auto* grid = find<ui::TableGrid>(w, "tableGrid");
                grid->selectRow(0);
                find<QPushButton>(w, "deleteButton")->click();
                EXPECT_EQ(grid->rows(), 2);
                find<QPushButton>(w, "closeButton")->click();
            },
            "savedPlansDialog");
        button(d, "loadButton")->click();
        // Closed without a take-over: the contract of the bank in the settings (none yet).
        EXPECT_EQ(find<ui::TextField>(d, "CBANKNAME")->text(), "");
        typeInto(find<ui::TextField>(d, "CBANKNAME"), "Nordkasse");
    });
    EXPECT_EQ(py("print(sorted(r['BANKNAME'] for r in " + dbf("BSPBANK.DBF") + "))\n"),
              "['Nordkasse', 'Süd-Kasse']\n");
}

TEST_F(BausparenDialogTest, ChecksOfTheInputs) {
    run([&](QDialog* d) {
        // Leaving a field out of its bounds: the message, the focus stays, no computing.
        typeInto(field(d, "NBAUSPSUM"), "50000");
        typeInto(field(d, "NTZINSSTZ"), "25");
        ASSERT_EQ(messages().size(), 1u);
        EXPECT_EQ(messages()[0].title, "Eingabefehler");
        EXPECT_TRUE(lastMessage().contains("Tilgungszinssatz")) << lastMessage().toStdString();
        EXPECT_FALSE(button(d, "computeButton")->isEnabled());
        QApplication::processEvents();
        EXPECT_TRUE(field(d, "NTZINSSTZ")->hasFocus());
        typeInto(field(d, "NTZINSSTZ"), "4");
        EXPECT_TRUE(button(d, "computeButton")->isEnabled());
        clearMessages();

        // "Berechnen" checks the inputs first: the empty store left the fixed years at 0, and the
        // first failing field reports and keeps the focus.
        button(d, "computeButton")->click();
        ASSERT_EQ(messages().size(), 1u);
        EXPECT_TRUE(messages()[0].text.contains("Jahre der Zinsbindung")) << messages()[0].text.toStdString();
        QApplication::processEvents();
        EXPECT_TRUE(field(d, "NTFESTZEIT")->hasFocus());
        EXPECT_FALSE(button(d, "computeButton")->isEnabled());
        EXPECT_FALSE(button(d, "tableButton")->isEnabled());
        EXPECT_EQ(result(d, "NSSUMME"), "0,00");
    });
    EXPECT_EQ(py("print(len(list(" + dbf("BAUSPAR.DBF") + ")))\n"), "0\n");
}

TEST_F(BausparenDialogTest, TypingEmptiesThePlan) {
    run([&](QDialog* d) {
        typeCase(d, "Bausparkasse Nord");
        button(d, "computeButton")->click();
        ASSERT_TRUE(button(d, "tableButton")->isEnabled());
        // One key: the plan is gone; "Berechnen" follows the key, so its accelerator acts at once.
        typeInto(field(d, "NMONRATE"), "3", false);
        EXPECT_TRUE(button(d, "computeButton")->isEnabled());
        EXPECT_FALSE(button(d, "tableButton")->isEnabled());
        EXPECT_FALSE(button(d, "chartButton")->isEnabled());
        EXPECT_FALSE(button(d, "printButton")->isEnabled());
        EXPECT_EQ(py("print(len(list(" + dbf("BAUSPAR.DBF") + ")))\n"), "0\n");
        QTest::keyClicks(field(d, "NMONRATE"), "50");
        QTest::keyClick(field(d, "NMONRATE"), Qt::Key_Tab);
        QApplication::processEvents();
        EXPECT_TRUE(button(d, "computeButton")->isEnabled());
        EXPECT_FALSE(button(d, "tableButton")->isEnabled());
        // The bank name counts as an input too.
        button(d, "computeButton")->click();
        ASSERT_TRUE(button(d, "tableButton")->isEnabled());
        typeInto(find<ui::TextField>(d, "CBANKNAME"), "X", false);
        EXPECT_FALSE(button(d, "tableButton")->isEnabled());
        EXPECT_TRUE(button(d, "computeButton")->isEnabled());
    });
    EXPECT_EQ(py("print(len(list(" + dbf("BAUSPAR.DBF") + ")))\n"), "0\n");
}

TEST_F(BausparenDialogTest, RefusedContractLeavesAnEmptyPlan) {
    run([&](QDialog* d) {
        typeCase(d, "Bausparkasse Nord");
        button(d, "computeButton")->click();
        ASSERT_TRUE(button(d, "tableButton")->isEnabled());
        // The account fee eats the whole savings rate: the target is never reached.
        typeInto(field(d, "NKONTOGEB"), "300");
        button(d, "computeButton")->click();
        ASSERT_EQ(messages().size(), 1u);
        EXPECT_EQ(messages()[0].title, "Problem");
        EXPECT_EQ(lastMessage(), "Der Bausparvertrag kann mit diesen Werten nicht berechnet werden !");
        EXPECT_EQ(result(d, "NSSUMME"), "0,00");
        EXPECT_EQ(result(d, "NZSUMME"), "0,00");
        EXPECT_FALSE(button(d, "tableButton")->isEnabled());
        EXPECT_FALSE(button(d, "printButton")->isEnabled());
        EXPECT_EQ(py("print(len(list(" + dbf("BAUSPAR.DBF") + ")))\n"), "0\n");
    });
}

TEST_F(BausparenDialogTest, WithoutSavingsRateOneAllocationRow) {
    run([&](QDialog* d) {
        typeCase(d, "Bausparkasse Nord");
        typeInto(field(d, "NMONRATE"), "0");
        button(d, "computeButton")->click();
        EXPECT_TRUE(messages().empty());
        EXPECT_EQ(result(d, "NSSUMME"), "0,00");
        EXPECT_TRUE(button(d, "tableButton")->isEnabled());
    });
    EXPECT_EQ(py("t = list(" + dbf("BAUSPAR.DBF") +
                 ")\nprint(len(t), t[0]['AKTION'], t[0]['DATUM'], t[0]['KREDIT'])\n"),
              "1 Zuteilung erfolgt 2007-01-01 0.0\n");
}

TEST_F(BausparenDialogTest, TableChartAndPrintout) {
    run([&](QDialog* d) {
        typeCase(d, "Bausparkasse Nord");
        button(d, "computeButton")->click();

        whenModal(
            [&](QWidget* w) {
                EXPECT_EQ(w->windowTitle(), "Bausparen-Tabelle");
                auto* grid = find<ui::TableGrid>(w, "tableGrid");
                ASSERT_EQ(grid->rows(), 221);
                const QStringList heads{"Datum",      " Aktion", "Zahlung ",
                                        "Gebühren ",  "Zinsen ", "Gutschrift/Tilgung ",
                                        "Kontostand "};
                for (int c = 0; c < heads.size(); ++c)
                    EXPECT_EQ(grid->model()->headerData(c, Qt::Horizontal).toString(), heads[c]);
                EXPECT_EQ(grid->cellText(0, 0), "30.01.2007");
                EXPECT_EQ(grid->cellText(0, 1), " Sparrate");
                EXPECT_EQ(grid->cellText(0, 2).trimmed(), "300,00");
                EXPECT_EQ(grid->cellText(0, 3).trimmed(), "501,00");
                EXPECT_EQ(grid->cellText(0, 4), "");
                EXPECT_EQ(grid->cellText(0, 5).trimmed(), "299,00");
                EXPECT_EQ(grid->cellText(0, 6).trimmed(), "-201,00");
                EXPECT_EQ(grid->cellText(11, 4).trimmed(), "61,76");
                // The allocation, then the first loan month.
                EXPECT_EQ(grid->cellText(66, 0), "01.07.2012");
                EXPECT_EQ(grid->cellText(66, 1), " Zuteilung erfolgt");
                EXPECT_EQ(grid->cellText(66, 2), "");
                EXPECT_EQ(grid->cellText(66, 5), "Zuteilung ");
                EXPECT_EQ(grid->cellText(66, 6).trimmed(), "-29712,50");
                EXPECT_EQ(grid->cellText(67, 1), " Tilgungsrate");
                EXPECT_EQ(grid->cellText(67, 2).trimmed(), "247,60");
                EXPECT_EQ(grid->cellText(220, 0), "30.04.2025");
                EXPECT_EQ(grid->cellText(220, 2).trimmed(), "124,64");
                find<QPushButton>(w, "closeButton")->click();
            },
            "bauShowDialog");
        button(d, "tableButton")->click();

        button(d, "chartButton")->click();
        QWidget* chart = nullptr;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->objectName() == "bausparChart" && w->isVisible()) chart = w;
        ASSERT_NE(chart, nullptr);
        EXPECT_EQ(chart->windowTitle(), "VSH Vestralon - Graphik-Maschine");
        chart->close();

        button(d, "printButton")->click();
        ASSERT_EQ(printed().size(), 1u);
        EXPECT_EQ(printed()[0].name, "Bausparplan");
        EXPECT_EQ(printed()[0].page_count(), 7);
        EXPECT_NE(printed()[0].find("VSH Vestralon v4.13 - Bausparen - Ansparplan", 0), nullptr);
        EXPECT_EQ(printed()[0].find("Bank:", 6) != nullptr, true);
    });
}

TEST(BausparenChart, ValuesLabelsHeaderAndColours) {
    const auto out = calc::bau_rech([] {
        calc::BauInputs in = vestral::test::bausparen_first_case();
        in.CBANKNAME.clear();
        return in;
    }());
    core::settings().pcrelease1 = "VSH Vestralon";
    const auto a = calc::bau_chart(out.chart_values, out.chart_labels);
    ASSERT_EQ(a.values.size(), 4u);
    EXPECT_EQ(a.values[0], 20000);
    EXPECT_NEAR(a.values[1], 50000 - 20287.5, 0.005);
    EXPECT_NEAR(a.values[2], 8295.58, 0.005);
    EXPECT_NEAR(a.values[3], 720, 1e-9);
    EXPECT_EQ(a.labels, (QStringList{"Sparsumme", "Darlehen", "Zinsen", "Gebühren"}));
    EXPECT_EQ(a.header[0], "VSH Vestralon - Graphik-Maschine");
    EXPECT_EQ(a.header[1], "Bausparvertrag");
    EXPECT_EQ(a.header[2], "Kostenvergleich");
    EXPECT_EQ(a.header[3], "");
    EXPECT_EQ(a.header[4], "EUR");
    EXPECT_EQ(a.depth, 5);
    EXPECT_EQ(a.colors[0], 0);
    EXPECT_EQ(a.colors[1], 16711680);  // blue
    EXPECT_EQ(a.colors[2], 8388608);   // navy
    EXPECT_EQ(a.colors[3], 128);       // maroon
    EXPECT_EQ(a.colors[7], 12632256);  // silver
    EXPECT_EQ(a.colors[9], 8388608);

    // Without a savings rate only interest and fees are charted.
    const auto none = calc::bau_chart({0, 12.0}, {"Zinsen", "Gebühren"});
    EXPECT_EQ(none.values.size(), 2u);
}

// Pictures of every window of the calculator, for looking at them: VESTRAL_SHOTS=/dir.
TEST_F(BausparenDialogTest, Screenshots) {
    const char* shots = std::getenv("VESTRAL_SHOTS");
    if (!shots) GTEST_SKIP() << "VESTRAL_SHOTS not set";
    QDir().mkpath(shots);
    auto save = [&](QWidget* w, const char* name) {
        QApplication::processEvents();
        EXPECT_TRUE(w->grab().save(QDir(shots).filePath(name)));
    };
    storeContract("Süd-Kasse", 80000, 50, 6.5, 2011);
    storeContract("Bausparkasse Nord", 50000, 40, 6, 2007);
    run([&](QDialog* d) {
        typeCase(d, "Bausparkasse Nord");
        button(d, "computeButton")->click();
        save(d, "bausparen_dialog.png");
        button(d, "chartButton")->click();
        bool charted = false;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->objectName() == "bausparChart" && w->isVisible()) {
                save(w, "bausparen_grafik.png");
                w->close();
                charted = true;
            }
        EXPECT_TRUE(charted);
        whenModal(
            [&](QWidget* w) {
                save(w, "bausparen_tabelle.png");
                find<QPushButton>(w, "closeButton")->click();
            },
            "bauShowDialog");
        button(d, "tableButton")->click();
        whenModal(
            [&](QWidget* w) {
                save(w, "bausparen_liste.png");
                find<QPushButton>(w, "closeButton")->click();
            },
            "savedPlansDialog");
        button(d, "loadButton")->click();
    });
}

// Started from a financing plan: the plan's own tables stay open, BAUSPAR and BSPBANK are closed.
TEST_F(BausparenDialogTest, ClosingLeavesTheCallersTablesOpen) {
    core::dbf::Table callers;
    ASSERT_TRUE(core::dbf::create_table(dir() / "FINZPL1.DBF", core::catalogue_layout("FINZPL1")));
    ASSERT_TRUE(callers.open(dir() / "FINZPL1.DBF", "FINZPL1"));
    run([&](QDialog*) { EXPECT_EQ(core::dbf::open_tables().size(), 3u); });
    EXPECT_TRUE(callers.is_open());
    ASSERT_EQ(core::dbf::open_tables().size(), 1u);
    EXPECT_EQ(core::dbf::open_tables()[0], &callers);
    EXPECT_TRUE(std::filesystem::exists(dir() / "BAUSPAR.DBF"));
}
