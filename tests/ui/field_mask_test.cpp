// What a numeric field takes: only what its picture mask can show, typed or pasted, and no
// letters; an Alt+letter that no button answers types nothing.
#include <QApplication>
#include <QDialog>
#include <QPushButton>
#include <QVBoxLayout>
#include <QtTest/QTest>

#include "support/gui_fixture.h"
#include "ui/blocks.h"
#include "ui/numeric_field.h"

using namespace vestral;
using vestral::test::GuiTest;

namespace {

// An amount and a rate as the calculators mask them, and one button with an accelerator.
struct MaskForm {
    QDialog dialog;
    ui::NumericField* amount = new ui::NumericField("@E 999,999,999.99 ", &dialog);
    ui::NumericField* rate = new ui::NumericField("@E 99.999 ", &dialog);
    ui::NumericField* years = new ui::NumericField("@K 9999 ", &dialog);
    QPushButton* compute = ui::button(&dialog, "compute", "&Berechnen", "Berechnung durchführen");
    int computed = 0;

    MaskForm() {
        ui::on_click(compute, [this] { ++computed; });
        auto* l = new QVBoxLayout(&dialog);
        for (QWidget* w : std::initializer_list<QWidget*>{amount, rate, years, compute}) l->addWidget(w);
        dialog.show();
        QApplication::setActiveWindow(&dialog);
        (void)QTest::qWaitForWindowActive(&dialog);
    }

    // Enters the field with Tab, as a user does, and types.
    static void type(ui::NumericField* f, const char* keys) {
        if (f->hasFocus()) f->clearFocus();
        QApplication::processEvents();
        f->setFocus(Qt::TabFocusReason);
        QApplication::processEvents();
        QTest::keyClicks(f, keys);
    }
    static void leave(ui::NumericField* f) {
        QTest::keyClick(f, Qt::Key_Tab);
        QApplication::processEvents();
    }
};

}  // namespace

class FieldMaskTest : public GuiTest {};

TEST_F(FieldMaskTest, NoMoreDigitsThanTheMaskHolds) {
    MaskForm f;
    MaskForm::type(f.amount, "123456789012");
    EXPECT_EQ(f.amount->text(), "123456789");  // the tenth digit on is refused
    MaskForm::leave(f.amount);
    EXPECT_EQ(f.amount->value(), 123456789);
    EXPECT_EQ(f.amount->text(), "123.456.789,00");
    EXPECT_FALSE(f.amount->text().contains('*'));

    MaskForm::type(f.amount, "5,678");
    EXPECT_EQ(f.amount->text(), "5,67");  // two decimals
    MaskForm::type(f.rate, "123,45678");
    EXPECT_EQ(f.rate->text(), "12,456");  // two integer digits, three decimals
    MaskForm::type(f.years, "202620");
    EXPECT_EQ(f.years->text(), "2026");
    // A comma in a whole-number field is refused as well.
    MaskForm::type(f.years, "20,5");
    EXPECT_EQ(f.years->text(), "205");

    // Pasting goes through the same rule: a value too long is not taken at all.
    f.amount->setFocus(Qt::TabFocusReason);
    QApplication::processEvents();
    const QString before = f.amount->text();
    f.amount->selectAll();
    f.amount->insert("123456789012");
    EXPECT_EQ(f.amount->text(), before);
    f.amount->selectAll();
    f.amount->insert("987654321");
    EXPECT_EQ(f.amount->text(), "987654321");
}

TEST_F(FieldMaskTest, LettersAndSignsAreNotTaken) {
    MaskForm f;
    MaskForm::type(f.amount, "1a2b3EUR");
    EXPECT_EQ(f.amount->text(), "123");
    MaskForm::type(f.rate, "x4%,5");
    EXPECT_EQ(f.rate->text(), "4,5");
    MaskForm::leave(f.rate);
    EXPECT_EQ(f.rate->value(), 4.5);
    EXPECT_TRUE(messages().empty());
}

TEST_F(FieldMaskTest, AltLetterTypesNothingAndOnlyAButtonsAcceleratorActs) {
    MaskForm f;
    MaskForm::type(f.amount, "42");
    for (Qt::Key k : {Qt::Key_X, Qt::Key_Q, Qt::Key_E, Qt::Key_5})
        QTest::keyClick(f.amount, k, Qt::AltModifier);
    QApplication::processEvents();
    EXPECT_EQ(f.amount->text(), "42");
    EXPECT_EQ(f.computed, 0);
    // The button's own accelerator clicks it and types nothing either.
    QTest::keyClick(f.amount, Qt::Key_B, Qt::AltModifier);
    QTRY_COMPARE(f.computed, 1);
    EXPECT_EQ(f.amount->text(), "42,00");  // taken over, still in the field's edit form
    EXPECT_EQ(f.amount->value(), 42);
}
