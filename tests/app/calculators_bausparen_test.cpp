// The menu entry "Bausparen" starts the building-savings dialog over the given parent.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QPushButton>

#include "app/calculators.h"
#include "support/gui_fixture.h"

using namespace vestral;

class CalculatorsBausparenTest : public test::GuiTest {};

TEST_F(CalculatorsBausparenTest, MenuEntryOpensTheDialogOverTheMainWindow) {
    app::register_calculators();
    ASSERT_TRUE(app::has_calculator("BAUSPAREN"));
    QWidget main;
    QWidget* parent_seen = nullptr;
    QString title;
    whenModal(
        [&](QWidget* w) {
            parent_seen = w->parentWidget();
            title = w->windowTitle();
            test::find<QPushButton>(w, "closeButton")->click();
        },
        "bausparenDialog");
    EXPECT_TRUE(app::launch_calculator("BAUSPAREN", &main));
    EXPECT_EQ(parent_seen, &main);
    EXPECT_EQ(title, "Bausparen");
}
