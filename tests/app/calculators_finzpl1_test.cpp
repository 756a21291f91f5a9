// The menu entry "Finanzierung bei Eigennutzung" starts the financing plan over the given parent
// and gives the main window its help topic back.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QPushButton>

#include "app/calculators.h"
#include "core/catalogue.h"
#include "support/gui_fixture.h"
#include "toolkit/help.h"

using namespace vestral;

class CalculatorsFinzpl1Test : public test::GuiTest {};

TEST_F(CalculatorsFinzpl1Test, MenuEntryOpensTheDialogOverTheMainWindow) {
    core::check_dbf(dir());
    app::register_calculators();
    ASSERT_TRUE(app::has_calculator("FINZPL1"));
    toolkit::help::set_topic("Hauptauswahl");
    QWidget main;
    QWidget* parent_seen = nullptr;
    QString title, topic;
    whenModal(
        [&](QWidget* w) {
            parent_seen = w->parentWidget();
            title = w->windowTitle();
            topic = toolkit::help::topic();
            test::find<QPushButton>(w, "closeButton")->click();
        },
        "finzpl1Dialog");
    EXPECT_TRUE(app::launch_calculator("FINZPL1", &main));
    EXPECT_EQ(parent_seen, &main);
    EXPECT_EQ(title, "Finanzierungsplan bei Eigennutzung");
    EXPECT_EQ(topic, "Finanzierung bei Eigennutzung");
    EXPECT_EQ(toolkit::help::topic(), "Hauptauswahl");
}
