// The result grid's columns: fitted to their contents, or as wide as a column asks for.
#include <QFontMetrics>

#include "core/dbf.h"
#include "support/gui_fixture.h"
#include "ui/table_grid.h"

namespace vestral::test {
namespace {

class TableGridTest : public GuiTest {};

TEST_F(TableGridTest, AColumnWithAWidthKeepsItWhateverItsCells) {
    namespace dbf = core::dbf;
    const auto file = dir() / "PLAN.DBF";
    ASSERT_TRUE(dbf::create_table(file, {{"JAHR", 'N', 4, 0}, {"BETRAG", 'N', 12, 2}}));
    dbf::Table t;
    ASSERT_TRUE(t.open(file, "PLAN"));
    for (int i = 0; i < 3; ++i) {
        t.append_blank();
        t.set_num("JAHR", 2020 + i);
        t.set_num("BETRAG", 1234567.5 * (i + 1));
    }
    ASSERT_TRUE(t.flush());
    std::vector<ui::GridColumn> columns{ui::masked_column("Jahr", "JAHR", "9999"),
                                        ui::masked_column("Betrag", "BETRAG", "@E 999,999,999.99")};
    columns[0].width = 20;
    ui::TableGrid grid(nullptr, t, columns);
    grid.show();
    const int digit = grid.fontMetrics().horizontalAdvance(QLatin1Char('0'));
    EXPECT_EQ(grid.columnWidth(0), 20 * digit + 6);
    // The fitted column shows its widest cell in full.
    EXPECT_GE(grid.columnWidth(1), grid.fontMetrics().horizontalAdvance(grid.cellText(2, 1).trimmed()));
    EXPECT_LT(grid.columnWidth(1), 20 * digit + 6);
    EXPECT_EQ(grid.rows(), 3);
}

}  // namespace
}  // namespace vestral::test
