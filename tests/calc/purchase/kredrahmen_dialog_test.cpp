// "Mögliche Belastung": the table made when the dialog opens, read from disk while it is open,
// shown in the grid, and deleted when the dialog closes.
#include "calc/purchase/kredrahmen_dialog.h"

#include <QLabel>
#include <QScreen>
#include <QScrollBar>
#include <QtTest/QTest>
#include <filesystem>

#include "app/calculators.h"
#include "support/gui_steps.h"
#include "toolkit/help.h"
#include "ui/table_grid.h"

using namespace vestral;
using test::buttonOf;
using test::find;

namespace {

class KredrahmenDialogTest : public test::CalculatorTest {
  protected:
    std::filesystem::path table() const { return dir() / "KREDIT.DBF"; }
    static void open(const std::function<void(QWidget*)>& body) {
        inDialog(
            "kredrahmenDialog", [] { calc::kredrahmen(nullptr); }, body);
    }
};

TEST_F(KredrahmenDialogTest, TheTableExistsWhileOpenAndGoesWithTheDialog) {
    dir_.write("kredit.dbf", "an old file of that name");
    open([&](QWidget* d) {
        EXPECT_EQ(d->windowTitle(), "Mögliche Belastung");
        // About 900 x 600, narrowed to the screen where it is smaller (the test screen is 800 wide).
        const QRect screen = d->screen()->availableGeometry();
        EXPECT_GE(d->width(), std::min(900, screen.width() - 10));
        EXPECT_GE(d->height(), 600);
        EXPECT_LE(d->width(), screen.width());
        test::expectNothingCut(d);
        EXPECT_EQ(toolkit::help::topic(), "Mögliche Belastung");
        EXPECT_EQ(find<QLabel>(d, "note1")->text(),
                  "Die Tabelle unten zeigt Ihnen, welchen Kreditrahmen Sie mit einer möglichen monatlichen "
                  "Belastung \n"
                  "finanzieren können. Dieser Kreditrahmen ist von dieser monatlichen Belastung und dem "
                  "effektiven \n"
                  "Zinssatz abhängig. Als jährliche Tilgungsrate wird 1% der Hypothekensumme angenommen.");
        EXPECT_EQ(find<QLabel>(d, "note2")->text(),
                  "Beispiel: Bei einer monatlichen Belastung von EUR 1000,- und einem nominellen \n"
                  "Zinssatz von 7% können Sie EUR 150.000,- finanzieren.");
        auto* close = buttonOf(d, "closeButton");
        EXPECT_EQ(close->text(), "&Schließen");
        EXPECT_EQ(close->toolTip(), "Dialog verlassen");
        EXPECT_TRUE(close->isDefault());

        // On disk, complete, while the dialog holds it: every cell the exact value.
        ASSERT_TRUE(std::filesystem::exists(table()));
        EXPECT_FALSE(std::filesystem::exists(dir() / "kredit.dbf"));
        EXPECT_EQ(test::run_python("import dbfread\n"
                                   "rows = list(dbfread.DBF('" +
                                   table().string() +
                                   "'))\n"
                                   "bad = 0\n"
                                   "for row in rows:\n"
                                   "    y = int(row['MONRATE']) * 12\n"
                                   "    for i in range(29):\n"
                                   "        name = 'WERT100' if i == 28 else 'WERT%03d' % (300 + 25 * i)\n"
                                   "        if row[name] != (10 * y) // (400 + 25 * i) * 1000: bad += 1\n"
                                   "print(len(rows), bad, rows[8]['WERT700'], rows[8]['WERT325'])\n"),
                  "29 0 150000 282000\n");

        auto* grid = find<ui::TableGrid>(d, "tableGrid");
        ASSERT_EQ(grid->rows(), 29);
        ASSERT_EQ(grid->columns(), 30);
        EXPECT_EQ(grid->heading(0), "Belastung ");
        EXPECT_EQ(grid->heading(1), "Zinssatz 3 % ");
        EXPECT_EQ(grid->heading(5), "4 % ");
        EXPECT_EQ(grid->heading(17), "7,00 % ");
        EXPECT_EQ(grid->heading(29), "10,00 % ");
        EXPECT_EQ(grid->cellText(0, 0).trimmed(), "200,00");
        EXPECT_EQ(grid->cellText(0, 1).trimmed(), "60.000");
        EXPECT_EQ(grid->cellText(8, 0).trimmed(), "1.000,00");
        EXPECT_EQ(grid->cellText(8, 17).trimmed(), "150.000");
        EXPECT_EQ(grid->cellText(8, 2).trimmed(), "282.000");
        EXPECT_EQ(grid->cellText(28, 1).trimmed(), "900.000");
        // Columns of one width, each wide enough for the largest amount of the mask.
        const int width = grid->columnWidth(1);
        for (int c = 0; c < grid->columns(); ++c) EXPECT_EQ(grid->columnWidth(c), width) << c;
        EXPECT_GE(width, grid->fontMetrics().horizontalAdvance("999.999.999 "));
        EXPECT_GE(width, grid->fontMetrics().horizontalAdvance("Zinssatz 3 % "));
        // The table is wider than the dialog: it scrolls sideways.
        EXPECT_GT(grid->fullWidth(), grid->width());
        EXPECT_EQ(grid->horizontalScrollBarPolicy(), Qt::ScrollBarAsNeeded);
    });
    EXPECT_FALSE(std::filesystem::exists(table()));
    EXPECT_EQ(toolkit::help::topic(), "Hauptauswahl");
}

TEST_F(KredrahmenDialogTest, EscapeAndTheMenuEntry) {
    app::register_calculators();
    EXPECT_TRUE(app::has_calculator("KREDRAHMEN"));
    inDialog(
        "kredrahmenDialog", [] { EXPECT_TRUE(app::launch_calculator("KREDRAHMEN", nullptr)); },
        [&](QWidget* d) {
            EXPECT_TRUE(std::filesystem::exists(table()));
            QTest::keyClick(d, Qt::Key_Escape);
        });
    EXPECT_FALSE(std::filesystem::exists(table()));
}

}  // namespace
