#include "ui/numeric_field.h"

#include <QApplication>
#include <QDialog>
#include <QPushButton>
#include <QVBoxLayout>
#include <QtTest/QTest>

#include "support/gui_fixture.h"
#include "toolkit/status.h"
#include "ui/blocks.h"

using namespace vestral;
using vestral::test::GuiTest;
using vestral::test::typeInto;

namespace {
struct Form {
    QDialog dialog;
    ui::NumericField* price;
    ui::NumericField* capital;
    ui::NumericField* rate;
    QPushButton* compute;
    QPushButton* close;
    int computed = 0;
    int edits = 0;

    Form() {
        price = new ui::NumericField("@K@E 999999999.99", &dialog);
        price->setObjectName("price");
        price->setHelpText("Kaufpreis des Objektes in EUR");
        price->setCheck([](double) {
            return core::InpFail{"Kaufpreis", 0, {0, 0}, {9999999, 0}, "", "", ""};
        });
        capital = new ui::NumericField("@K@E 999999999.99", &dialog);
        capital->setObjectName("capital");
        capital->setCheck([this](double) {
            return core::InpFail{"Eigenkapital", 0, {0, 0}, price->num(), "", "", ""};
        });
        rate = new ui::NumericField("@K@E 99999999.999", &dialog);
        rate->setObjectName("rate");
        rate->setCheck([](double) {
            return core::InpFail{"Mieterhöhung", 0, {0, 0}, {19, 0}, "3,0", "", "%"};
        });
        compute = ui::button(&dialog, "compute", "&Berechnen", "Berechnung durchführen");
        close = ui::button(&dialog, "close", "&Schließen", "Dialog beenden", QString(), true);
        ui::on_click(compute, [this] { ++computed; });
        auto* l = new QVBoxLayout(&dialog);
        l->addWidget(price);
        l->addWidget(capital);
        l->addWidget(rate);
        l->addWidget(compute);
        l->addWidget(close);
        QObject::connect(price, &ui::NumericField::edited, [this] { ++edits; });
        dialog.show();
        QApplication::setActiveWindow(&dialog);
        (void)QTest::qWaitForWindowActive(&dialog);
    }
};
}  // namespace

class NumericFieldTest : public GuiTest {};

TEST_F(NumericFieldTest, TypedValueTakesTheMaskDecimalsAndShowsThousandsWhenLeft) {
    Form f;
    typeInto(f.price, "1250.5");
    EXPECT_EQ(f.price->value(), 1250.5);
    EXPECT_EQ(core::format_plain(f.price->num()), "1250.50");
    EXPECT_EQ(f.price->text(), "1250,50");
    typeInto(f.rate, "3");
    EXPECT_EQ(core::format_plain(f.rate->num()), "3.000");
    EXPECT_EQ(f.rate->text(), "3,000");
    EXPECT_TRUE(messages().empty());
}

TEST_F(NumericFieldTest, FirstKeyReplacesTheOldValueCursorKeysKeepIt) {
    Form f;
    f.price->setValue(4711);
    typeInto(f.price, "9");
    EXPECT_EQ(f.price->value(), 9);
    f.price->setFocus();
    QApplication::processEvents();
    QTest::keyClick(f.price, Qt::Key_End);
    QTest::keyClicks(f.price, "5");
    QTest::keyClick(f.price, Qt::Key_Tab);
    EXPECT_EQ(f.price->value(), 9);  // "9,00" takes no third decimal: the mask could not show it
}

TEST_F(NumericFieldTest, SecondSeparatorIsRefusedAndKeypadPointEntersTheComma) {
    Form f;
    f.price->setFocus();
    QApplication::processEvents();
    QTest::keyClicks(f.price, "12");
    QTest::keyClick(f.price, Qt::Key_Period, Qt::KeypadModifier);
    QTest::keyClicks(f.price, "5,7");
    EXPECT_EQ(f.price->text(), "12,57");
}

TEST_F(NumericFieldTest, FailedCheckShowsTheMessageAndKeepsTheFocus) {
    Form f;
    typeInto(f.rate, "25");
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(messages()[0].title, "Eingabefehler");
    EXPECT_EQ(messages()[0].kind, toolkit::MsgKind::Warning);
    EXPECT_EQ(messages()[0].text,
              "Die Eingabe für 'Mieterhöhung' ist zu hoch !\nGeben Sie einen Wert zwischen 0 und 19 ein.\n\n"
              "Durchschnittswert: 3,0%.");
    QApplication::processEvents();
    EXPECT_TRUE(f.rate->hasFocus());
    EXPECT_TRUE(f.rate->failed());
    // Other buttons do nothing while the check fails; "Schließen" always acts.
    QTest::mouseClick(f.compute, Qt::LeftButton);
    EXPECT_EQ(f.computed, 0);
    QApplication::processEvents();
    EXPECT_TRUE(f.rate->hasFocus());
    QTest::mouseClick(f.close, Qt::LeftButton);
    QApplication::processEvents();
    EXPECT_TRUE(f.rate->hasFocus());
}

TEST_F(NumericFieldTest, BoundsThatAreOtherInputsAreReadWhenTheFieldIsLeft) {
    Form f;
    typeInto(f.price, "100000");
    typeInto(f.capital, "150000");
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_NE(messages()[0].text.indexOf("zwischen 0 und 100000.00 ein."), -1);
    clearMessages();
    f.capital->setValue(50000);
    QApplication::processEvents();
    typeInto(f.price, "200000");  // raising the price does not re-check the capital field
    EXPECT_TRUE(messages().empty());
}

TEST_F(NumericFieldTest, EveryEditAndTabOrEnterIsReported) {
    Form f;
    f.price->setFocus();
    QApplication::processEvents();
    QTest::keyClicks(f.price, "12");
    int after_typing = f.edits;
    EXPECT_GE(after_typing, 2);
    QTest::keyClick(f.price, Qt::Key_Backspace);
    EXPECT_EQ(f.edits, after_typing + 1);
    f.price->setFocus();
    QApplication::processEvents();
    int before = f.edits;
    QTest::keyClick(f.price, Qt::Key_Return);
    EXPECT_EQ(f.edits, before + 1);
    EXPECT_FALSE(f.price->hasFocus());  // Enter leaves the field
    f.price->setFocus();
    QApplication::processEvents();
    before = f.edits;
    QTest::keyClick(f.price, Qt::Key_Tab);
    EXPECT_EQ(f.edits, before + 1);
    EXPECT_FALSE(f.price->hasFocus());
    f.price->setFocus();
    QApplication::processEvents();
    before = f.edits;
    QTest::keyClick(f.price, Qt::Key_Backtab);
    EXPECT_EQ(f.edits, before + 1);
}

TEST_F(NumericFieldTest, HelpTextIsShownWhileFocused) {
    Form f;
    f.price->setFocus();
    QApplication::processEvents();
    EXPECT_EQ(toolkit::last_status(), "Kaufpreis des Objektes in EUR");
    f.capital->setFocus();
    QApplication::processEvents();
    EXPECT_EQ(toolkit::last_status(), "");
}
