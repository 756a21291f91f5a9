#include "calc/loans/hypotilg_dialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QPushButton>
#include <QtTest/QTest>
#include <cstdlib>

#include "core/catalogue.h"
#include "core/dbf.h"
#include "support/gui_fixture.h"
#include "toolkit/help.h"
#include "toolkit/print.h"
#include "ui/blocks.h"
#include "ui/grid_dialog.h"
#include "ui/numeric_field.h"
#include "ui/saved_plans_dialog.h"
#include "ui/text_field.h"

using namespace vestral;
using namespace vestral::calc;
using vestral::test::find;
using vestral::test::GuiTest;
using vestral::test::typeInto;
namespace dbf = vestral::core::dbf;

namespace {

void activate(QWidget* w) {
    QApplication::setActiveWindow(w);
    (void)QTest::qWaitForWindowActive(w);
    QApplication::processEvents();
}

QPushButton* btn(QWidget* d, const char* name) {
    return find<QPushButton>(d, name);
}
ui::NumericField* num(QWidget* d, const char* name) {
    return find<ui::NumericField>(d, name);
}
QString result(QWidget* d, const char* name) {
    return find<ui::ResultField>(d, name)->text();
}
QString cell(const ui::TableGrid* g, int row, int col) {
    return g->cellText(row, col).trimmed();
}

void click(QPushButton* b) {
    QTest::mouseClick(b, Qt::LeftButton);
    QApplication::processEvents();
}

// The first edge case of the plan: 100 000 at 5 %, 2 %, from 01.01.2007, 10 years, then 6 %.
void type_first_case(QWidget* d, const QString& bank = "Testbank") {
    typeInto(find<ui::TextField>(d, "bankName"), bank);
    typeInto(num(d, "amount"), "100000");
    typeInto(num(d, "rate"), "5");
    typeInto(num(d, "repayment"), "2");
    typeInto(find<ui::DateField>(d, "startDate"), "01012007");
    typeInto(num(d, "fixedPeriod"), "10");
    typeInto(num(d, "followRate"), "6");
}

// Saved plans written straight into the store.
void save_plan(const std::filesystem::path& dir, const std::string& bank, double amount, double rate) {
    const auto file = dir / "HYPOBANK.DBF";
    if (!std::filesystem::exists(file)) {
        ASSERT_TRUE(dbf::create_table(file, core::catalogue_layout("HYPOBANK")));
    }
    dbf::Table t;
    ASSERT_TRUE(t.open(file, "HYPOBANK"));
    HypoInputs in;
    in.CBANKNAME = bank;
    in.NHYPOTHEK = amount;
    in.NZINSSATZ = rate;
    in.NTILGANNO = 1.5;
    in.DABDATUM = core::Date{2008, 3, 1};
    in.NLAUFZEIT = 15;
    in.NZINSNACH = rate;
    in.NEINMALMO = 4;
    hypobank_save(t, in, HypoResults{});
}

long records(const std::filesystem::path& file) {
    dbf::Table t;
    if (!t.open(file, "T")) return -1;
    return t.count();
}

}  // namespace

class HypotilgDialogTest : public GuiTest {
  protected:
    // Opens the dialog, runs `body` on it once it is shown, then closes it with "Schließen".
    bool run(std::function<void(QWidget*)> body, double amount = 0) {
        whenModal(
            [body](QWidget* d) {
                activate(d);
                body(d);
                if (QApplication::activeModalWidget() == d) click(btn(d, "closeButton"));
            },
            "hypotilgDialog");
        return hypotilg(nullptr, amount);
    }

    std::string py(const std::string& script) {
        return test::run_python("from dbfread import DBF\nt = list(DBF('" +
                                (dir() / "HYPOTHEK.DBF").string() + "', encoding='cp1252'))\n" + script);
    }
};

TEST_F(HypotilgDialogTest, FirstCaseComputesAndWritesThePlanTable) {
    QString topic;
    const bool computed = run([&](QWidget* d) {
        topic = toolkit::help::topic();
        EXPECT_EQ(d->windowTitle(), "Hypothekentilgungsplan");
        EXPECT_FALSE(btn(d, "tableButton")->isEnabled());
        type_first_case(d);
        EXPECT_EQ(num(d, "followRate")->value(), 6);
        ASSERT_TRUE(btn(d, "computeButton")->isEnabled());
        click(btn(d, "computeButton"));
        EXPECT_TRUE(messages().empty()) << lastMessage().toStdString();
        EXPECT_EQ(result(d, "annuity"), "583,33");
        EXPECT_EQ(result(d, "annuity2"), "666,67");
        EXPECT_EQ(result(d, "residualAfterFixed"), "74.119,62");
        EXPECT_EQ(result(d, "interestSum"), "78.497,20");
        EXPECT_EQ(result(d, "paymentSum"), "178.497,20");
        EXPECT_EQ(result(d, "repaymentTime"), "23");
        EXPECT_EQ(result(d, "effectiveRate"), "5,116");
        for (const char* b : {"tableButton", "chartButton", "printButton"})
            EXPECT_TRUE(btn(d, b)->isEnabled()) << b;
        // The file is complete while the dialog is still open.
        const std::string out =
            py("m = [r for r in t if r['KEY'] == 1]\n"
               "y = [r for r in t if r['KEY'] == 2]\n"
               "print(len(m), len(y))\n"
               "print(m[0]['ZINSEN'], m[0]['TILGUNG'], m[0]['RESTHYP'], m[0]['BANKNAME'])\n"
               "print(y[0]['DATUM'], y[0]['HYPOTHEK'], y[0]['ZINSSUM'])\n"
               "print(m[-1]['DATUM'], m[-1]['HYPOTHEK'], m[-1]['ZINSEN'], m[-1]['ANUITAT'])\n"
               "print(t[12]['KEY'], t[12]['DATUM'])\n");
        EXPECT_EQ(out,
                  "283 24\n"
                  "416.67 166.67 99833.33 Testbank\n"
                  "2007-12-31 97953.52 4953.52\n"
                  "2030-07-01 494.73 2.47 494.73\n"
                  "2 2007-12-31\n");
    });
    EXPECT_TRUE(computed);
    EXPECT_EQ(topic, "Hypothekentilgungsplan");
    EXPECT_EQ(toolkit::help::topic(), "Hauptauswahl");
    // The plan stays for the financing plans.
    EXPECT_EQ(records(dir() / "HYPOTHEK.DBF"), 283 + 24);
    EXPECT_EQ(core::trim(ini().get("HYPO", "Bankname", "")), "Testbank");
    EXPECT_EQ(ini().get("HYPO", "Annuitaet", ""), "583.333333333333");
    EXPECT_EQ(ini().get("HYPO", "Laufzeit", ""), "23");
}

TEST_F(HypotilgDialogTest, SavedPlanReloadsWithEveryDecimalOnReopenAndThroughLaden) {
    run([&](QWidget* d) {
        type_first_case(d, "Zinsbank");
        typeInto(num(d, "rate"), "5,125");
        typeInto(num(d, "repayment"), "1,5");
        typeInto(num(d, "followRate"), "6,375");
        typeInto(num(d, "special"), "1000");
        find<QComboBox>(d, "monthList")->setCurrentIndex(5);
        typeInto(num(d, "accountFee"), "24,5");
        click(btn(d, "computeButton"));
        EXPECT_TRUE(btn(d, "tableButton")->isEnabled());
    });
    const bool computed = run([&](QWidget* d) {
        EXPECT_EQ(find<ui::TextField>(d, "bankName")->text(), "Zinsbank");
        EXPECT_EQ(num(d, "amount")->value(), 100000);
        EXPECT_EQ(num(d, "rate")->value(), 5.125);
        EXPECT_EQ(num(d, "rate")->text(), "5,125");
        EXPECT_EQ(num(d, "repayment")->value(), 1.5);
        EXPECT_EQ(num(d, "followRate")->value(), 6.375);
        EXPECT_EQ(num(d, "accountFee")->value(), 24.5);
        EXPECT_EQ(num(d, "special")->value(), 1000);
        EXPECT_EQ(find<QComboBox>(d, "monthList")->currentText(), "Juni");
        EXPECT_EQ(find<ui::DateField>(d, "startDate")->text(), "01.01.2007");
        // Results are not kept: they come with the next computation.
        EXPECT_EQ(result(d, "annuity"), "0,00");
        EXPECT_FALSE(btn(d, "tableButton")->isEnabled());

        // "Laden": change the inputs, take the plan over from the list.
        typeInto(num(d, "rate"), "7");
        whenModal(
            [](QWidget* list) {
                auto* l = static_cast<ui::SavedPlansDialog*>(list);
                l->grid()->selectRow(0);
                click(find<QPushButton>(list, "takeButton"));
            },
            "savedPlansDialog");
        click(btn(d, "loadButton"));
        EXPECT_EQ(num(d, "rate")->value(), 5.125);
        EXPECT_EQ(num(d, "repayment")->value(), 1.5);
        EXPECT_EQ(d->focusWidget(), num(d, "amount"));
    });
    EXPECT_FALSE(computed);
    // Opening emptied the plan of the first session; nothing was computed in the second.
    EXPECT_EQ(records(dir() / "HYPOTHEK.DBF"), 0);
    dbf::Table bank;
    ASSERT_TRUE(bank.open(dir() / "HYPOBANK.DBF", "HYPOBANK"));
    EXPECT_EQ(bank.count(), 1);
    bank.go_top();
    EXPECT_EQ(bank.num("TILGJAHR"), 1.5);
    EXPECT_EQ(bank.num("ZINSSATZ"), 5.125);
    // Closing without computing keeps the results saved with these very inputs.
    EXPECT_EQ(bank.num("ANNUITAT"), 552.08);
}

TEST_F(HypotilgDialogTest, TypingAfterAComputationEmptiesThePlanAndDisablesItsViews) {
    run([&](QWidget* d) {
        type_first_case(d);
        click(btn(d, "computeButton"));
        EXPECT_EQ(py("print(len(t))\n"), "307\n");
        auto* amount = num(d, "amount");
        amount->setFocus();
        QApplication::processEvents();
        QTest::keyClicks(amount, "9");
        EXPECT_EQ(py("print(len(t))\n"), "0\n");
        for (const char* b : {"tableButton", "chartButton", "printButton"})
            EXPECT_FALSE(btn(d, b)->isEnabled()) << b;
        // "Berechnen" follows what is typed, so that its accelerator acts right away.
        EXPECT_TRUE(btn(d, "computeButton")->isEnabled());
        QTest::keyClick(amount, Qt::Key_Tab);
        QApplication::processEvents();
        EXPECT_TRUE(btn(d, "computeButton")->isEnabled());
        EXPECT_FALSE(btn(d, "tableButton")->isEnabled());

        // The month list and the bank name count as inputs, too.
        typeInto(num(d, "amount"), "100000");
        typeInto(num(d, "special"), "1");
        click(btn(d, "computeButton"));
        ASSERT_TRUE(btn(d, "tableButton")->isEnabled());
        auto* months = find<QComboBox>(d, "monthList");
        months->setFocus();
        QApplication::processEvents();
        QTest::keyClick(months, Qt::Key_Down);
        EXPECT_EQ(months->currentIndex(), 1);
        EXPECT_FALSE(btn(d, "tableButton")->isEnabled());
        EXPECT_TRUE(btn(d, "computeButton")->isEnabled());
        typeInto(num(d, "amount"), "100000");
        click(btn(d, "computeButton"));
        ASSERT_TRUE(btn(d, "tableButton")->isEnabled());
        typeInto(find<ui::TextField>(d, "bankName"), "Andere", false);
        EXPECT_FALSE(btn(d, "tableButton")->isEnabled());
    });
    EXPECT_EQ(records(dir() / "HYPOTHEK.DBF"), 0);
}

TEST_F(HypotilgDialogTest, BankNamedInTheSettingsIsPreselected) {
    save_plan(dir(), "Erste Bank", 150000, 4.5);
    save_plan(dir(), "Zweite Bank", 250000, 5.25);
    ini().set("HYPO", "Bankname", "zweite bank");
    run([&](QWidget* d) {
        EXPECT_EQ(find<ui::TextField>(d, "bankName")->text(), "Zweite Bank");
        EXPECT_EQ(num(d, "amount")->value(), 250000);
        EXPECT_EQ(num(d, "rate")->value(), 5.25);
        EXPECT_EQ(num(d, "repayment")->value(), 1.5);
        EXPECT_EQ(find<QComboBox>(d, "monthList")->currentText(), "April");
        EXPECT_FALSE(find<QComboBox>(d, "monthList")->isEnabled());  // no special repayment
    });
    // An unknown name gives the inputs of an empty record, dated today.
    core::set_today_for_tests(core::Date{2009, 5, 17});
    ini().set("HYPO", "Bankname", "Dritte Bank");
    run(
        [&](QWidget* d) {
            EXPECT_EQ(find<ui::TextField>(d, "bankName")->text(), "");
            EXPECT_EQ(num(d, "amount")->value(), 0);
            EXPECT_EQ(find<ui::DateField>(d, "startDate")->text(), "17.05.2009");
            EXPECT_EQ(find<QComboBox>(d, "monthList")->currentText(), "Januar");
            EXPECT_FALSE(btn(d, "computeButton")->isEnabled());
        },
        80000);
}

TEST_F(HypotilgDialogTest, SavedPlansListReportsAnEmptyStoreTakesOverAndDeletes) {
    run([&](QWidget* d) {
        typeInto(num(d, "amount"), "1234");
        typeInto(num(d, "rate"), "5");
        click(btn(d, "loadButton"));
        ASSERT_EQ(messages().size(), 1u);
        EXPECT_EQ(messages()[0].title, "Problem");
        EXPECT_EQ(messages()[0].text, "Es sind noch keine Tilgungspläne gespeichert !");
        EXPECT_EQ(num(d, "amount")->value(), 1234);
    });
    // A plan without a bank name is not saved; add two named ones.
    EXPECT_EQ(records(dir() / "HYPOBANK.DBF"), 0);
    save_plan(dir(), "Erste Bank", 150000, 4.5);
    save_plan(dir(), "Zweite Bank", 250000, 5.25);
    clearMessages();
    run([&](QWidget* d) {
        whenModal(
            [](QWidget* list) {
                EXPECT_EQ(list->windowTitle(), "Tabelle der Hypotheken-Tilgungspläne");
                auto* grid = static_cast<ui::SavedPlansDialog*>(list)->grid();
                EXPECT_EQ(grid->rows(), 2);
                // In the order of the upper-cased names.
                EXPECT_EQ(grid->cellText(0, 0), " Erste Bank");
                EXPECT_EQ(cell(grid, 0, 1), "150.000,00");
                EXPECT_EQ(cell(grid, 0, 2), "4,50");
                EXPECT_EQ(cell(grid, 0, 3), "1,500");
                EXPECT_EQ(grid->cellText(0, 4), " 03.2008");
                grid->selectRow(0);
                click(find<QPushButton>(list, "deleteButton"));  // asked, answered "Ja"
                EXPECT_EQ(grid->rows(), 1);
                EXPECT_EQ(grid->cellText(0, 0), " Zweite Bank");
                grid->selectRow(0);
                click(find<QPushButton>(list, "takeButton"));
            },
            "savedPlansDialog");
        click(btn(d, "loadButton"));
        EXPECT_EQ(find<ui::TextField>(d, "bankName")->text(), "Zweite Bank");
        EXPECT_EQ(num(d, "amount")->value(), 250000);
        // Closed without taking over: the bank of the settings comes back (none: an empty plan).
        whenModal([](QWidget* list) { click(find<QPushButton>(list, "closeButton")); }, "savedPlansDialog");
        click(btn(d, "loadButton"));
        EXPECT_EQ(num(d, "amount")->value(), 0);
    });
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(messages()[0].text, "Soll der Eintrag „Erste Bank“ gelöscht werden?");
    // Compacted: the deleted plan is gone from the file.
    dbf::Table bank;
    ASSERT_TRUE(bank.open(dir() / "HYPOBANK.DBF", "HYPOBANK"));
    EXPECT_EQ(bank.reccount(), 1);
}

TEST_F(HypotilgDialogTest, BoundChecksOnLeavingAndAllSevenBeforeComputing) {
    run([&](QWidget* d) {
        typeInto(num(d, "amount"), "100000");
        typeInto(num(d, "rate"), "25");
        ASSERT_EQ(messages().size(), 1u);
        EXPECT_EQ(messages()[0].title, "Eingabefehler");
        EXPECT_TRUE(messages()[0].text.contains("Nominalzins")) << messages()[0].text.toStdString();
        QApplication::processEvents();
        EXPECT_EQ(QApplication::focusWidget(), num(d, "rate"));
        typeInto(num(d, "rate"), "5");
        clearMessages();
        typeInto(num(d, "special"), "9000");
        EXPECT_TRUE(messages().empty());
        typeInto(num(d, "amount"), "50000");
        EXPECT_TRUE(messages().empty());
        // Fixed period 0 (never left) and a special repayment above a tenth of the amount: the
        // first failing field only gets its message and the focus.
        click(btn(d, "computeButton"));
        ASSERT_EQ(messages().size(), 1u);
        EXPECT_TRUE(messages()[0].text.contains("Laufzeit in Jahren")) << messages()[0].text.toStdString();
        QApplication::processEvents();
        EXPECT_EQ(QApplication::focusWidget(), num(d, "fixedPeriod"));
        EXPECT_FALSE(btn(d, "computeButton")->isEnabled());
        EXPECT_EQ(py("print(len(t))\n"), "0\n");
        // The start year is checked when the date is left.
        typeInto(num(d, "fixedPeriod"), "10");
        clearMessages();
        click(btn(d, "computeButton"));
        ASSERT_EQ(messages().size(), 1u);
        EXPECT_TRUE(messages()[0].text.contains("jährl. Sondertilgung")) << messages()[0].text.toStdString();
        typeInto(num(d, "special"), "0");
        clearMessages();
        typeInto(find<ui::DateField>(d, "startDate"), "01012051");
        ASSERT_EQ(messages().size(), 1u);
        EXPECT_TRUE(messages()[0].text.contains("Laufzeit ab Datum")) << messages()[0].text.toStdString();
    });
}

TEST_F(HypotilgDialogTest, CouplingsOfRatesFeesAndSpecialRepayment) {
    run([&](QWidget* d) {
        typeInto(num(d, "amount"), "200000");
        typeInto(num(d, "rate"), "4,75");
        EXPECT_EQ(num(d, "followRate")->value(), 4.75);
        typeInto(num(d, "creditPercent"), "1,5");
        EXPECT_EQ(num(d, "creditEur")->value(), 3000);
        typeInto(num(d, "creditEur"), "1000", false);
        EXPECT_EQ(num(d, "creditPercent")->value(), 0);  // typing in one clears the other
        QTest::keyClick(num(d, "creditEur"), Qt::Key_Tab);
        QApplication::processEvents();
        EXPECT_EQ(num(d, "creditPercent")->value(), 0.5);

        auto* months = find<QComboBox>(d, "monthList");
        auto* pz = find<ui::ResultField>(d, "specialPercent");
        EXPECT_FALSE(months->isEnabled());
        typeInto(num(d, "special"), "12000");
        EXPECT_TRUE(months->isEnabled());
        EXPECT_EQ(pz->text(), "6,00");
        EXPECT_EQ(pz->palette().color(QPalette::Text), QColor(Qt::red));
        typeInto(num(d, "special"), "10000");
        EXPECT_EQ(pz->text(), "5,00");
        EXPECT_NE(pz->palette().color(QPalette::Text), QColor(Qt::red));
        typeInto(num(d, "special"), "0");
        EXPECT_FALSE(months->isEnabled());
    });
}

TEST_F(HypotilgDialogTest, PlanThatIsNeverRepaidIsReported) {
    run([&](QWidget* d) {
        typeInto(num(d, "amount"), "100000");
        typeInto(num(d, "rate"), "5");
        typeInto(num(d, "repayment"), "0,1");
        typeInto(find<ui::DateField>(d, "startDate"), "01012007");
        typeInto(num(d, "fixedPeriod"), "10");
        typeInto(num(d, "accountFee"), "200");
        click(btn(d, "computeButton"));
        ASSERT_EQ(messages().size(), 1u);
        EXPECT_EQ(messages()[0].title, "Problem");
        EXPECT_EQ(messages()[0].text, "Die Hypothek wird mit diesen Eingaben nicht getilgt !");
        EXPECT_EQ(py("print(len(t))\n"), "0\n");
        EXPECT_EQ(result(d, "annuity"), "0,00");
        EXPECT_EQ(result(d, "interestSum"), "0,00");
        EXPECT_FALSE(btn(d, "tableButton")->isEnabled());
    });
}

TEST_F(HypotilgDialogTest, TableViewSwitchesToTheYearEndRows) {
    run([&](QWidget* d) {
        type_first_case(d);
        click(btn(d, "computeButton"));
        whenModal(
            [](QWidget* w) {
                auto* g = static_cast<ui::GridDialog*>(w);
                EXPECT_EQ(w->windowTitle(), "Hypothekentilgungsplan - Ablauf");
                auto* grid = g->grid();
                EXPECT_EQ(grid->rows(), 283);
                auto* model = grid->model();
                // No fees and no special repayment: their columns are left out.
                QStringList heads;
                for (int c = 0; c < model->columnCount(); ++c)
                    heads << model->headerData(c, Qt::Horizontal).toString();
                EXPECT_EQ(heads, (QStringList{"Datum ", "Hypothek ", "Zinsen ", "Tilgung ", "Monatsraten ",
                                              "Resthypothek ", "Gezahlt ", "Restzins "}));
                EXPECT_EQ(cell(grid, 0, 0), "01.01.2007");
                EXPECT_EQ(cell(grid, 0, 2), "416,67");
                EXPECT_EQ(cell(grid, 0, 5), "99.833,33");
                auto* box = find<QCheckBox>(w, "compressedBox");
                EXPECT_EQ(box->text(), " &komprimierte Darstellung");
                EXPECT_FALSE(box->isChecked());
                box->setChecked(true);
                QApplication::processEvents();
                EXPECT_EQ(grid->rows(), 24);
                EXPECT_EQ(cell(grid, 0, 0), "31.12.2007");
                EXPECT_EQ(cell(grid, 0, 1), "97.953,52");
                EXPECT_EQ(cell(grid, 0, 2), "4.953,52");  // the interest so far
                box->setChecked(false);
                EXPECT_EQ(grid->rows(), 283);
                box->setChecked(true);
                click(find<QPushButton>(w, "closeButton"));
            },
            "hypoTableDialog");
        click(btn(d, "tableButton"));
        // The monthly order is active again: a second view starts with the monthly rows.
        whenModal(
            [](QWidget* w) {
                EXPECT_EQ(cell(static_cast<ui::GridDialog*>(w)->grid(), 0, 0), "01.01.2007");
                click(find<QPushButton>(w, "closeButton"));
            },
            "hypoTableDialog");
        click(btn(d, "tableButton"));
    });
}

TEST(HypotilgColumns, FeeAndSpecialColumnsOnlyWhenTheInputsHaveThem) {
    const auto heads = [](const HypoInputs& in, bool compressed) {
        QStringList h;
        for (const auto& c : ht_show_columns(in, compressed)) h << c.heading;
        return h;
    };
    HypoInputs in;
    in.NKREDITDM = 1000;
    EXPECT_TRUE(heads(in, false).contains("Gebühren "));
    EXPECT_FALSE(heads(in, false).contains("Sondertilgung "));
    in.NKREDITDM = 0;
    in.NKONTOGEB = 30;
    in.NEINMALDM = 500;
    EXPECT_EQ(heads(in, true),
              (QStringList{"Datum ", "Hypothek ", "Zinsen ", "Tilgung ", "Monatsraten ", "Gebühren ",
                           "Sondertilgung ", "Resthypothek ", "Gezahlt ", "Restzins ", "Sum. Sondertilg. "}));
    EXPECT_EQ(ht_show_columns(in, false)[0].align, Qt::AlignCenter);
}

TEST_F(HypotilgDialogTest, ChartAndPrintoutOfThePlan) {
    run([&](QWidget* d) {
        type_first_case(d);
        click(btn(d, "computeButton"));
        click(btn(d, "chartButton"));
        QWidget* chart = nullptr;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->objectName() == "hypoChart" && w->isVisible()) chart = w;
        ASSERT_NE(chart, nullptr);
        EXPECT_TRUE(chart->windowTitle().endsWith(" - Graphik-Maschine"));
        chart->close();
        click(btn(d, "printButton"));
        ASSERT_EQ(printed().size(), 1u);
        EXPECT_EQ(printed()[0].name, "Hypothekentilgungsplan");
        EXPECT_NE(printed()[0].find("583,33 EUR"), nullptr);
        EXPECT_NE(printed()[0].find("Testbank"), nullptr);
    });
}

TEST(HypotilgChart, YearEndBalancesWithTwoDigitYearsHeadersAndColours) {
    HypoInputs in;
    in.CBANKNAME = "Testbank";
    in.NHYPOTHEK = 100000;
    in.NZINSSATZ = 5;
    in.NTILGANNO = 2;
    in.DABDATUM = core::Date{2007, 1, 1};
    in.NLAUFZEIT = 10;
    in.NZINSNACH = 6;
    const HypoOutcome o = ht_tab(in);
    const ui::ChartArgs a = ht_chart_args(o.chart, "Vestralon");
    ASSERT_EQ(a.values.size(), 24u);
    EXPECT_NEAR(a.values.front(), 97953.52, 0.005);
    EXPECT_EQ(a.values.back(), 0);
    EXPECT_EQ(a.labels.front(), "07");
    EXPECT_EQ(a.labels.back(), "30");
    EXPECT_EQ(a.label_is_number, std::vector<bool>(24, true));
    EXPECT_EQ(a.header[0], "Vestralon - Graphik-Maschine");
    EXPECT_EQ(a.header[1], "Hypothekentilgungsplan");
    EXPECT_EQ(a.header[2], "Tilgungsverlauf zum Jahresende");
    EXPECT_EQ(a.header[3], "Jahr");
    EXPECT_EQ(a.header[4], "EUR");
    EXPECT_EQ(a.depth, 10);
    const std::array<int, 10> colors{0,
                                     ui::rgb(0, 0, 255),
                                     ui::rgb(0, 0, 128),
                                     ui::rgb(128, 0, 0),
                                     ui::rgb(128, 0, 0),
                                     ui::rgb(0, 128, 128),
                                     ui::rgb(0, 128, 128),
                                     ui::rgb(192, 192, 192),
                                     ui::rgb(0, 0, 255),
                                     ui::rgb(0, 0, 128)};
    EXPECT_EQ(a.colors, colors);
}

TEST_F(HypotilgDialogTest, AsAChildDialogItClosesOnlyItsOwnTables) {
    core::check_dbf(dir());
    dbf::Table caller;
    ASSERT_TRUE(caller.open(dir() / "FINZPL1.DBF", "FINZPL1"));
    run([&](QWidget* d) {
        type_first_case(d);
        click(btn(d, "computeButton"));
    });
    EXPECT_TRUE(caller.is_open());
    EXPECT_EQ(dbf::open_tables().size(), 1u);
    // The financing plans read the plan afterwards.
    dbf::Table plan;
    ASSERT_TRUE(plan.open(dir() / "HYPOTHEK.DBF", "HYPOTHEK"));
    plan.go_top();
    EXPECT_EQ(plan.trimmed("BANKNAME"), "Testbank");
    EXPECT_EQ(plan.num("KEY"), 1);
}

// Screenshots of every window of the calculator, only when a directory is named.
TEST_F(HypotilgDialogTest, Screenshots) {
    const char* out = std::getenv("VESTRAL_SHOTS");
    if (!out) GTEST_SKIP() << "VESTRAL_SHOTS not set";
    QDir().mkpath(out);
    const QString dirname(out);
    save_plan(dir(), "Erste Bank", 150000, 4.5);
    save_plan(dir(), "Zweite Bank", 250000, 5.25);
    run([&](QWidget* d) {
        type_first_case(d, "Sparkasse");
        find<ui::TextField>(d, "bankName")->setText("Sparkasse Süd");  // QTest types ASCII only
        typeInto(num(d, "accountFee"), "30");
        typeInto(num(d, "creditPercent"), "1");
        typeInto(num(d, "special"), "6000");
        find<QComboBox>(d, "monthList")->setCurrentIndex(5);
        typeInto(num(d, "amount"), "100000");
        click(btn(d, "computeButton"));
        d->grab().save(dirname + "/hypotilg_dialog.png");
        for (bool compressed : {false, true}) {
            whenModal(
                [&](QWidget* w) {
                    if (compressed) find<QCheckBox>(w, "compressedBox")->setChecked(true);
                    QApplication::processEvents();
                    w->grab().save(dirname +
                                   (compressed ? "/hypotilg_table_years.png" : "/hypotilg_table.png"));
                    click(find<QPushButton>(w, "closeButton"));
                },
                "hypoTableDialog");
            click(btn(d, "tableButton"));
        }
        whenModal(
            [&](QWidget* w) {
                w->grab().save(dirname + "/hypotilg_list.png");
                click(find<QPushButton>(w, "closeButton"));
            },
            "savedPlansDialog");
        click(btn(d, "loadButton"));
        activate(d);
        type_first_case(d, "Sparkasse");
        click(btn(d, "computeButton"));
        click(btn(d, "chartButton"));
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->objectName() == "hypoChart" && w->isVisible()) {
                w->resize(800, 520);
                QApplication::processEvents();
                w->grab().save(dirname + "/hypotilg_chart.png");
                w->close();
            }
    });
}
