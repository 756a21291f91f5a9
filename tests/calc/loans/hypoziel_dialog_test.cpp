// The mortgage target value dialog driven as a user would: inputs, results, HYPOTEMP on disk,
// the plan view with "Kürzen", the chart and the settings section.
#include <QApplication>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QtTest/QTest>
#include <filesystem>

#include "calc/loans/hypoziel.h"
#include "calc/loans/hypoziel_dialog.h"
#include "core/catalogue.h"
#include "core/clock.h"
#include "core/dbf.h"
#include "support/gui_fixture.h"
#include "support/gui_steps.h"
#include "toolkit/help.h"
#include "ui/blocks.h"
#include "ui/calculator_dialog.h"
#include "ui/grid_dialog.h"
#include "ui/numeric_field.h"

using namespace vestral;
using test::find;
using ui::NumericField;

namespace {

class HypozielDialogTest : public test::CalculatorTest {
  protected:
    void SetUp() override {
        GuiTest::SetUp();
        core::set_today_for_tests({2024, 3, 15});
        core::check_dbf(dir());
    }
    void run(const std::function<void(QWidget*)>& body) {
        inDialog(
            "hypozielDialog", [] { calc::hypoziel(nullptr); }, body, "schliessenButton");
    }
    static void click(QWidget* d, const char* name) { find<QPushButton>(d, name)->click(); }
    static QString result(QWidget* d, const char* name) {
        return find<ui::ResultField>(d, name)->text().trimmed();
    }
    static bool enabled(QWidget* d, const char* name) { return find<QWidget>(d, name)->isEnabled(); }
    static void enter(QWidget* d, const QString& a, const QString& r, const QString& n, const QString& g) {
        test::enter(find<NumericField>(d, "hypothek"), a);
        test::enter(find<NumericField>(d, "zinssatz"), r);
        test::enter(find<NumericField>(d, "laufzeit"), n);
        test::enter(find<NumericField>(d, "hypoziel"), g);
    }
    bool temp_exists() const { return std::filesystem::exists(dir() / "HYPOTEMP.DBF"); }
};

}  // namespace

TEST_F(HypozielDialogTest, EightyThousandAfterTenYears) {
    run([&](QWidget* d) {
        EXPECT_EQ(d->windowTitle(), "Hypotheken - Zielwertberechnung");
        EXPECT_EQ(toolkit::help::topic(), "Hypothekenzielwert");
        EXPECT_TRUE(temp_exists());
        EXPECT_FALSE(enabled(d, "berechnenButton"));
        EXPECT_FALSE(enabled(d, "tabelleButton"));
        EXPECT_FALSE(enabled(d, "grafikButton"));
        enter(d, "100000", "5", "10", "80000");
        ASSERT_TRUE(enabled(d, "berechnenButton"));
        click(d, "berechnenButton");
        EXPECT_TRUE(messages().empty()) << lastMessage().toStdString();
        EXPECT_EQ(result(d, "tilganno"), "1,546");
        EXPECT_EQ(result(d, "monrate"), "545,50");
        EXPECT_EQ(result(d, "effzins"), "5,116");
        EXPECT_TRUE(enabled(d, "tabelleButton"));
        core::dbf::Table t;
        // The table is the dialog's while it is open; its record count is in the header already.
        EXPECT_EQ(test::run_python("import dbfread\nprint(len(dbfread.DBF(r'" +
                                   (dir() / "HYPOTEMP.DBF").string() + "')))\n"),
                  "120\n");

        whenModal(
            [&](QWidget* view) {
                EXPECT_EQ(view->windowTitle(), "Hypothekentilgungsplan - Ablauf");
                auto* grid = find<ui::TableGrid>(view, "hzGrid");
                ASSERT_EQ(grid->rows(), 120);
                const char* heads[] = {"Datum ", "Hypothek ", "Zinsen ", "Zinssumme ", "Tilgung ", "Rest "};
                for (int c = 0; c < 6; ++c) EXPECT_EQ(grid->heading(c), heads[c]);
                EXPECT_EQ(grid->cellText(0, 0), "01.01.2024");
                EXPECT_EQ(grid->cellText(0, 2).trimmed(), "416,67");
                auto* k = find<QPushButton>(view, "kuerzenButton");
                EXPECT_EQ(k->text(), "&Kürzen");
                EXPECT_EQ(k->toolTip(), "Darstellung komprimieren");
                k->click();
                EXPECT_FALSE(k->isEnabled());
                ASSERT_EQ(grid->rows(), 11);
                EXPECT_EQ(grid->cellText(0, 0), "01.01.2024");
                EXPECT_EQ(grid->cellText(1, 0), "01.12.2024");
                EXPECT_EQ(grid->cellText(10, 0), "01.12.2033");
                find<QPushButton>(view, "closeButton")->click();
            },
            "hzTableDialog");
        click(d, "tabelleButton");

        click(d, "grafikButton");
        auto charts = static_cast<ui::CalculatorDialog*>(d)->openCharts();
        ASSERT_EQ(charts.size(), 1u);
        EXPECT_EQ(charts[0]->objectName(), "hzChart");
        QApplication::setActiveWindow(d);

        // Any input change empties the plan and closes the chart.
        test::enter(find<NumericField>(d, "laufzeit"), "12");
        EXPECT_FALSE(enabled(d, "tabelleButton"));
        EXPECT_TRUE(static_cast<ui::CalculatorDialog*>(d)->openCharts().empty());
        EXPECT_EQ(result(d, "monrate"), "0,00");
    });
    EXPECT_FALSE(temp_exists());
    EXPECT_EQ(ini().get("HYPOZIEL", "Hypothek", ""), "100000.00");
    EXPECT_EQ(ini().get("HYPOZIEL", "Laufzeit", ""), "12");
    EXPECT_EQ(ini().get("HYPOZIEL", "Hypoziel", ""), "80000.00");
    EXPECT_EQ(toolkit::help::topic(), "Hauptauswahl");
    // Reopened, the inputs come back.
    run([&](QWidget* d) {
        EXPECT_EQ(find<NumericField>(d, "hypothek")->value(), 100000);
        EXPECT_EQ(find<NumericField>(d, "zinssatz")->value(), 5);
        EXPECT_EQ(find<NumericField>(d, "laufzeit")->value(), 12);
        EXPECT_EQ(find<NumericField>(d, "hypoziel")->value(), 80000);
        EXPECT_EQ(result(d, "tilganno"), "0,000");
    });
}

TEST_F(HypozielDialogTest, TargetAboveTheAmountIsRefused) {
    run([&](QWidget* d) {
        test::enter(find<NumericField>(d, "hypothek"), "100000");
        test::enter(find<NumericField>(d, "zinssatz"), "5");
        test::enter(find<NumericField>(d, "laufzeit"), "10");
        clearMessages();
        test::enter(find<NumericField>(d, "hypoziel"), "120000");
        ASSERT_EQ(messages().size(), 1u);
        EXPECT_EQ(messages()[0].title, "Eingabefehler");
        EXPECT_EQ(messages()[0].text,
                  "Die Eingabe für 'Hypothekenrest' ist zu hoch !\nGeben Sie einen Wert zwischen 0 und "
                  "100000.00 ein.");
        EXPECT_FALSE(enabled(d, "berechnenButton"));
        clearMessages();
        test::enter(find<NumericField>(d, "zinssatz"), "25");
    });
}

TEST_F(HypozielDialogTest, LabelsAndHelpTexts) {
    run([&](QWidget* d) {
        QStringList labels;
        for (QLabel* l : d->findChildren<QLabel*>()) labels << l->text();
        for (const char* t : {"Hypothekenbetrag", "Nominalzins", "Laufzeit in Jahren", "Hypothekenrest",
                              "verbleib. Restschuld", "monatliche Rate", "Tilgung pro Jahr",
                              "Effektivzinssatz", "Jahre", "€", "%"})
            EXPECT_TRUE(labels.contains(t)) << t;
        EXPECT_EQ(find<QGroupBox>(d, "ergebnis")->title(), "Ergebnis");
        EXPECT_EQ(find<NumericField>(d, "hypothek")->helpText(), "Höhe der Hypothekensumme in EUR");
        EXPECT_EQ(find<NumericField>(d, "laufzeit")->helpText(), "Laufzeit der Zinsfestsetzung");
        EXPECT_EQ(find<QPushButton>(d, "berechnenButton")->toolTip(), "Berechnung durchführen");
        EXPECT_EQ(find<QPushButton>(d, "grafikButton")->toolTip(), "Grafik für Kostenvergleich");
        EXPECT_EQ(find<QPushButton>(d, "tabelleButton")->toolTip(), "Tabelle für Tilgungsverlauf");
    });
}

TEST_F(HypozielDialogTest, Screenshots) {
    const QByteArray shots = qgetenv("VESTRAL_SHOTS");
    if (shots.isEmpty()) GTEST_SKIP() << "VESTRAL_SHOTS names no directory";
    QDir().mkpath(QString::fromLocal8Bit(shots));
    auto save = [&](QWidget* w, const char* name) {
        QApplication::processEvents();
        EXPECT_TRUE(w->grab().save(QString::fromLocal8Bit(shots) + "/" + name + ".png"));
    };
    run([&](QWidget* d) {
        enter(d, "100000", "5", "10", "80000");
        click(d, "berechnenButton");
        save(d, "hypoziel_dialog");
        whenModal(
            [&](QWidget* view) {
                save(view, "hypoziel_tabelle");
                find<QPushButton>(view, "kuerzenButton")->click();
                save(view, "hypoziel_tabelle_gekuerzt");
                find<QPushButton>(view, "closeButton")->click();
            },
            "hzTableDialog");
        click(d, "tabelleButton");
        click(d, "grafikButton");
        auto charts = static_cast<ui::CalculatorDialog*>(d)->openCharts();
        if (!charts.empty()) save(charts[0], "hypoziel_grafik");
    });
}

TEST_F(HypozielDialogTest, TypingAfterTabReplacesTheValue) {
    run([&](QWidget* d) {
        test::enter(find<NumericField>(d, "hypothek"), "100000");
        test::enter(find<NumericField>(d, "zinssatz"), "5");
        test::enter(find<NumericField>(d, "laufzeit"), "10");
        test::enter(find<NumericField>(d, "hypoziel"), "50000");
        // Back by Tab from the amount: the rate is entered by Tab and takes the typed value whole.
        auto* amount = find<NumericField>(d, "hypothek");
        amount->setFocus(Qt::TabFocusReason);
        QApplication::processEvents();
        QTest::keyClick(amount, Qt::Key_Tab);
        QApplication::processEvents();
        auto* rate = find<NumericField>(d, "zinssatz");
        ASSERT_TRUE(rate->hasFocus() || d->focusWidget() == rate);
        QTest::keyClicks(rate, "6");
        QTest::keyClick(rate, Qt::Key_Tab);
        QApplication::processEvents();
        EXPECT_EQ(rate->value(), 6);
    });
}
