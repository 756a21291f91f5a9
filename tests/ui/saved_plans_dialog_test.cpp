// The one list of saved plans asks before it deletes: "&Löschen" and the Delete key alike, with
// "Nein" preselected; only "Ja" deletes and compacts.
#include "ui/saved_plans_dialog.h"

#include <QApplication>
#include <QPushButton>
#include <QtTest/QTest>

#include "core/catalogue.h"
#include "core/dbf.h"
#include "support/gui_fixture.h"

using namespace vestral;
using test::find;

namespace {

class SavedPlansList : public test::GuiTest {
  protected:
    void SetUp() override {
        GuiTest::SetUp();
        const auto file = dir() / "BSPBANK.DBF";
        ASSERT_TRUE(core::dbf::create_table(file, core::catalogue_layout("BSPBANK")));
        ASSERT_TRUE(store_.open(file, "BSPBANK"));
        for (const char* name : {"Nordkasse", "Süd-Kasse", "Westbank"}) {
            store_.append_blank();
            store_.set_str("BANKNAME", name);
        }
        ASSERT_TRUE(store_.flush());
    }

    std::vector<ui::GridColumn> columns() {
        return {
            {" Bankname",
             [](const core::dbf::Table& t) { return " " + QString::fromStdString(t.trimmed("BANKNAME")); },
             Qt::AlignLeft | Qt::AlignVCenter}};
    }

    // Runs the list with `body`, then closes it.
    void runList(const std::function<void(ui::SavedPlansDialog*)>& body) {
        ui::SavedPlansDialog list(nullptr, store_, "Tabelle", columns());
        list.show();
        (void)QTest::qWaitForWindowExposed(&list);
        body(&list);
        list.close();
    }

    core::dbf::Table store_;
};

TEST_F(SavedPlansList, DeleteButtonAsksWithTheBankNameAndNoKeepsTheRecord) {
    runList([&](ui::SavedPlansDialog* list) {
        list->grid()->selectRow(1);
        answer(toolkit::MsgAnswer::No);
        find<QPushButton>(list, "deleteButton")->click();
        ASSERT_EQ(messages().size(), 1u);
        const toolkit::MsgRequest& q = messages()[0];
        EXPECT_EQ(q.kind, toolkit::MsgKind::Question);
        EXPECT_EQ(q.title, "Löschen");
        EXPECT_EQ(q.text, "Soll der Eintrag „Süd-Kasse“ gelöscht werden?");
        EXPECT_FALSE(q.default_yes);
        EXPECT_EQ(list->grid()->rows(), 3);
        EXPECT_TRUE(list->isVisible());
    });
    EXPECT_EQ(store_.reccount(), 3);
}

TEST_F(SavedPlansList, DeleteKeyAsksTooAndYesDeletesAndCompacts) {
    runList([&](ui::SavedPlansDialog* list) {
        auto* grid = list->grid();
        grid->selectRow(0);
        grid->setFocus();
        answer(toolkit::MsgAnswer::No);
        QTest::keyClick(grid, Qt::Key_Delete);
        ASSERT_EQ(messages().size(), 1u);
        EXPECT_EQ(messages()[0].text, "Soll der Eintrag „Nordkasse“ gelöscht werden?");
        EXPECT_EQ(grid->rows(), 3);

        answer(toolkit::MsgAnswer::Yes);
        QTest::keyClick(grid, Qt::Key_Delete);
        ASSERT_EQ(messages().size(), 2u);
        ASSERT_EQ(grid->rows(), 2);
        EXPECT_EQ(grid->cellText(0, 0), " Süd-Kasse");
    });
    // Compacted: the record is gone from the file, not only marked.
    EXPECT_EQ(store_.reccount(), 2);
}

}  // namespace
