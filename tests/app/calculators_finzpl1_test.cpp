// The menu entries "Finanzierung bei Eigennutzung" and "Finanzierung bei Vermietung" start the
// financing plans over the given parent and give the main window its help topic back.
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

TEST_F(CalculatorsFinzpl1Test, MenuEntriesOpenTheDialogsOverTheMainWindow) {
    core::check_dbf(dir());
    app::register_calculators();
    struct Entry {
        const char *op, *dialog, *title, *topic;
    };
    for (const Entry& e : {Entry{"FINZPL1", "finzpl1Dialog", "Finanzierungsplan bei Eigennutzung",
                                 "Finanzierung bei Eigennutzung"},
                           Entry{"FINZPL2", "finzpl2Dialog", "Finanzierungsplan bei Vermietung",
                                 "Finanzierung bei Vermietung"}}) {
        SCOPED_TRACE(e.op);
        ASSERT_TRUE(app::has_calculator(e.op));
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
            e.dialog);
        EXPECT_TRUE(app::launch_calculator(e.op, &main));
        EXPECT_EQ(parent_seen, &main);
        EXPECT_EQ(title, e.title);
        EXPECT_EQ(topic, e.topic);
        EXPECT_EQ(toolkit::help::topic(), "Hauptauswahl");
    }
}
