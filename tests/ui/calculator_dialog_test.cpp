// The shared behaviour every calculator dialog gets from its base, on a small calculator of its own.
#include "ui/calculator_dialog.h"

#include <QApplication>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>
#include <QtTest/QTest>

#include "support/gui_fixture.h"
#include "toolkit/help.h"
#include "ui/blocks.h"
#include "ui/numeric_field.h"
#include "ui/text_field.h"

using namespace vestral;
using vestral::test::GuiTest;
using vestral::test::typeInto;

namespace {

ui::FormSpec test_form() {
    ui::FormSpec f;
    f.object_name = "testCalc";
    f.title = "Probe";
    f.help_topic = "Proberechner";
    f.fields = {
        {"amount", "Betrag", "€", "@K@E 999,999.99 ", "Betrag in EUR", 1},
        {"start", "Beginn", "", "", "Datum des Beginns", 2, ui::FieldKind::Date},
        {"years", "Zinsbindung", "Jahre", "@K 99 ", "Dauer", 3},
        {"bank", "Bankname", "", "", "Name des Instituts", 0, ui::FieldKind::Text},
    };
    f.results = {{"twice", "doppelt", "€"}};
    f.buttons = {
        {"compute", "&Berechnen", "Berechnung durchführen", "", ui::ButtonRole::Compute},
        {"table", "&Tabelle", "Tabelle anzeigen", "", ui::ButtonRole::Result},
        {"chart", "&Grafik", "Grafik anzeigen", "", ui::ButtonRole::Result},
        {"help", "&Hilfe", "Hilfe anzeigen", "", ui::ButtonRole::Help},
        {"close", "&Schließen", "Dialog beenden", "", ui::ButtonRole::Close},
    };
    f.height = 200;
    f.width = 300;
    return f;
}

struct Saved {
    double amount = -1;
    core::Date start;
    double years = -1;
    int saves = 0;
};

class TestCalc : public ui::CalculatorDialog {
  public:
    TestCalc(QWidget* parent, Saved& saved, double loaded_years)
        : CalculatorDialog(parent, test_form()), saved_(saved), loaded_years_(loaded_years) {
        auto* l = new QVBoxLayout(this);
        l->addLayout(rowsGrid({"amount", "start", "years", "bank", "twice"}));
        l->addLayout(buttonRow({"compute", "table", "chart"}, {"help", "close"}));
        onClick("compute", [this] {
            ++computed;
            result("twice")->setValue(number("amount")->value() * 2);
            setHasResults(true);
        });
        onClick("table", [this] { ++tables; });
        onClick("chart", [this] {
            ui::ChartArgs a;
            a.values = {1, 2};
            a.labels = {"a", "b"};
            showChart(a);
        });
    }
    int computed = 0, tables = 0, cleared = 0;

  protected:
    core::InpFail check(int n) const override {
        switch (n) {
            case 1:
                return {"Betrag", number("amount")->value(), {0, 0}, {1000, 0}, "", "", "€"};
            case 2:
                return {"Jahr", static_cast<double>(date("start")->date().year), {1990, 0}, {2050, 0}, "", "",
                        ""};
            case 3:
                return {"Jahre der Zinsbindung", number("years")->value(), {1, 0}, {30, 0}, "", "", ""};
        }
        return {};
    }
    bool canCompute() const override { return number("amount")->liveValue() > 0; }
    void load() override {
        number("amount")->setValue(500);
        date("start")->setDate(core::Date{2030, 1, 1});
        number("years")->setValue(loaded_years_);
    }
    void save() override {
        saved_.amount = number("amount")->value();
        saved_.start = date("start")->date();
        saved_.years = number("years")->value();
        ++saved_.saves;
    }
    void clearResults() override { ++cleared; }

  private:
    Saved& saved_;
    double loaded_years_;
};

class CalculatorDialogTest : public GuiTest {
  protected:
    // Opens the test calculator modally and runs `body` in it.
    void run(double loaded_years, const std::function<void(TestCalc*)>& body) {
        QWidget owner;
        owner.resize(640, 480);
        owner.show();
        TestCalc dlg(&owner, saved, loaded_years);
        whenModal([&](QWidget* w) {
            body(static_cast<TestCalc*>(w));
            if (w->isVisible()) static_cast<QDialog*>(w)->reject();
        });
        dlg.exec();
    }
    QPushButton* button(QWidget* d, const char* name) { return vestral::test::find<QPushButton>(d, name); }
    template <class T>
    T* field(QWidget* d, const char* name) {
        return vestral::test::find<T>(d, name);
    }
    Saved saved;
};

}  // namespace

TEST_F(CalculatorDialogTest, TwoFailingFieldsNeverBounceMessagesBetweenEachOther) {
    // The fixed years load as 0, below their bound, as on a fresh store; a date beyond its bound
    // (or an incomplete one) left with Tab lands in them.
    for (const char* typed : {"01012060", "0101"}) {
        clearMessages();
        run(0, [&](TestCalc* d) {
            auto* start = field<ui::DateField>(d, "start");
            start->setFocus(Qt::TabFocusReason);
            QApplication::processEvents();
            start->selectAll();
            QTest::keyClicks(start, typed);
            QTest::keyClick(start, Qt::Key_Tab);
            for (int i = 0; i < 50; ++i) QApplication::processEvents();
            ASSERT_EQ(messages().size(), 1u) << typed;
            EXPECT_EQ(messages()[0].title, "Eingabefehler");
            EXPECT_TRUE(start->hasFocus());
            EXPECT_TRUE(start->hasSelectedText());
            EXPECT_EQ(start->selectionStart(), 0);
        });
    }
}

TEST_F(CalculatorDialogTest, TabSelectsTheContentSoTypingReplacesIt) {
    run(10, [&](TestCalc* d) {
        auto* amount = field<ui::NumericField>(d, "amount");
        typeInto(amount, "750");
        EXPECT_EQ(amount->value(), 750);
        // Without "@K" too: the years field is entered by Tab from the date.
        field<ui::DateField>(d, "start")->setFocus(Qt::OtherFocusReason);
        QApplication::processEvents();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QTest::keyClicks(QApplication::focusWidget(), "25");
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(field<ui::NumericField>(d, "years")->value(), 25);
        EXPECT_TRUE(messages().empty());
    });
}

TEST_F(CalculatorDialogTest, ComputeChecksLoadedValuesFirstAndComputesNothingOnAFailure) {
    run(0, [&](TestCalc* d) {
        button(d, "compute")->click();
        ASSERT_EQ(messages().size(), 1u);
        EXPECT_TRUE(messages()[0].text.contains("Jahre der Zinsbindung"));
        EXPECT_EQ(d->computed, 0);
        QApplication::processEvents();
        EXPECT_TRUE(field<ui::NumericField>(d, "years")->hasFocus());
        EXPECT_FALSE(button(d, "table")->isEnabled());

        typeInto(field<ui::NumericField>(d, "years"), "10");
        clearMessages();
        button(d, "compute")->click();
        EXPECT_TRUE(messages().empty());
        EXPECT_EQ(d->computed, 1);
        EXPECT_EQ(d->result("twice")->value(), 1000);
        EXPECT_TRUE(button(d, "table")->isEnabled());
    });
}

TEST_F(CalculatorDialogTest, AnEditClearsTheResultsAndClosesTheChart) {
    run(10, [&](TestCalc* d) {
        button(d, "compute")->click();
        button(d, "chart")->click();
        ASSERT_EQ(d->openCharts().size(), 1u);
        QWidget* chart = d->openCharts()[0];
        EXPECT_TRUE(d->screen()->availableGeometry().contains(chart->frameGeometry()));

        auto* amount = field<ui::NumericField>(d, "amount");
        amount->setFocus(Qt::TabFocusReason);
        QApplication::processEvents();
        QTest::keyClicks(amount, "7");
        EXPECT_EQ(d->result("twice")->value(), 0);
        EXPECT_FALSE(button(d, "table")->isEnabled());
        EXPECT_FALSE(button(d, "chart")->isEnabled());
        EXPECT_TRUE(d->openCharts().empty());
        EXPECT_GE(d->cleared, 1);
    });
}

TEST_F(CalculatorDialogTest, AChartClosesByEscapeAndStaysUsableWhileTheDialogIsModal) {
    run(10, [&](TestCalc* d) {
        button(d, "compute")->click();
        // A table view opened and closed first.
        button(d, "table")->click();
        button(d, "chart")->click();
        ASSERT_EQ(d->openCharts().size(), 1u);
        QWidget* chart = d->openCharts()[0];
        EXPECT_FALSE(QApplication::activeModalWidget() && QApplication::activeModalWidget() != d);
        EXPECT_TRUE(chart->isEnabled());
        QTest::keyClick(chart, Qt::Key_Escape);
        QApplication::processEvents();
        EXPECT_TRUE(d->openCharts().empty());
    });
}

TEST_F(CalculatorDialogTest, AnAcceleratorWithAFailingFieldShowsItsMessageAndSelectsTheContent) {
    run(10, [&](TestCalc* d) {
        button(d, "compute")->click();
        auto* amount = field<ui::NumericField>(d, "amount");
        typeInto(amount, "5000", false);
        clearMessages();
        // "&Grafik" enabled as if the edit had not cleared the results, and pressed the way its
        // accelerator presses it: the focus stays in the field.
        button(d, "chart")->setEnabled(true);
        button(d, "chart")->click();
        for (int i = 0; i < 5; ++i) QApplication::processEvents();
        ASSERT_EQ(messages().size(), 1u);
        EXPECT_TRUE(messages()[0].text.contains("Betrag"));
        EXPECT_TRUE(d->openCharts().empty());
        EXPECT_TRUE(amount->hasFocus());
        EXPECT_EQ(amount->selectedText(), amount->text());
        QTest::keyClicks(amount, "3,5");
        EXPECT_EQ(amount->text(), "3,5");
    });
}

TEST_F(CalculatorDialogTest, ClosingSavesTheLastAcceptedValueNeverARefusedOne) {
    run(10, [&](TestCalc* d) {
        typeInto(field<ui::NumericField>(d, "amount"), "800");
        typeInto(field<ui::DateField>(d, "start"), "01011985");
        ASSERT_EQ(messages().size(), 1u);
        QApplication::processEvents();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    });
    EXPECT_EQ(saved.saves, 1);
    EXPECT_EQ(saved.amount, 800);
    EXPECT_EQ(saved.start, (core::Date{2030, 1, 1}));
    EXPECT_EQ(saved.years, 10);

    // Typed into a field and closed without leaving it: a refused value is not saved either.
    run(10, [&](TestCalc* d) {
        typeInto(field<ui::NumericField>(d, "years"), "99", false);
        button(d, "close")->click();
    });
    EXPECT_EQ(saved.years, 10);
}

TEST_F(CalculatorDialogTest, SetsItsHelpTopicAndLiesOnTheScreen) {
    toolkit::help::set_topic("Aufrufer");
    run(10, [&](TestCalc* d) {
        EXPECT_EQ(toolkit::help::topic(), "Proberechner");
        const QRect screen = d->screen()->availableGeometry();
        EXPECT_TRUE(screen.contains(d->frameGeometry()))
            << d->frameGeometry().x() << "," << d->frameGeometry().y();
        EXPECT_GE(d->width(), 300);
    });
}

TEST(ChartPlacement, BesideTheDialogRightThenLeftAlwaysOnTheScreen) {
    const QRect screen(0, 0, 1280, 1024);
    const QSize chart(440, 440);
    // Room on the right: beside the dialog's right edge, at its top.
    EXPECT_EQ(ui::beside(QRect(100, 100, 400, 300), chart, screen), QPoint(508, 100));
    // No room on the right: left of it.
    EXPECT_EQ(ui::beside(QRect(800, 100, 400, 300), chart, screen), QPoint(352, 100));
    // A dialog low on the screen: the chart is moved up to stay on it.
    EXPECT_EQ(ui::beside(QRect(100, 900, 400, 100), chart, screen), QPoint(508, 584));
    // No room on either side: at the screen's right edge.
    EXPECT_EQ(ui::beside(QRect(300, 0, 700, 300), chart, screen).x(), 1280 - 440);
}
