// Windows of the mortgage plan and the building-savings contract never trap the user: the chart
// opens beside its calculator and can be closed after a table view and a printout, and the
// compressed mortgage table shows its last column.
#include <QCheckBox>
#include <QComboBox>
#include <QGuiApplication>
#include <QHeaderView>
#include <QPointer>
#include <QScreen>
#include <QScrollBar>
#include <QWindow>

#include "calc/loans/loans_dialog_fixture.h"
#include "toolkit/status.h"
#include "ui/calculator_dialog.h"
#include "ui/grid_dialog.h"

using namespace vestral;
using test::find;
using test::typeInto;

namespace {

class LoansWindows : public test::LoansDialogTest {
  protected:
    // A click or a key as the window system delivers it, so that a blocked window ignores it.
    static void clickWindow(QWidget* w) {
        QTest::mouseClick(w->windowHandle(), Qt::LeftButton, {}, QPoint(w->width() / 2, w->height() / 2));
        QApplication::processEvents();
    }
    static void escapeWindow(QWidget* w) {
        QTest::keyClick(w->windowHandle(), Qt::Key_Escape);
        QApplication::processEvents();
    }

    // Opens the chart, checks that it lies beside the dialog, and returns it.
    QWidget* openChart(QWidget* d, const char* name) {
        click(d, "chartButton");
        QWidget* chart = window(name);
        EXPECT_NE(chart, nullptr);
        if (!chart) return nullptr;
        (void)QTest::qWaitForWindowExposed(chart);
        EXPECT_EQ(chart->pos(), ui::beside(d->frameGeometry(), chart->frameGeometry().size(),
                                           d->screen()->availableGeometry()));
        // Where the screen has room beside the dialog, the chart covers none of it.
        const QRect screen = d->screen()->availableGeometry();
        if (screen.width() >= d->frameGeometry().width() + chart->frameGeometry().width() + 16) {
            EXPECT_FALSE(chart->frameGeometry().intersects(d->frameGeometry())) << "chart over the dialog";
        }
        return chart;
    }

    // The table view opened and closed; while it is open the chart takes no click.
    void tableViewThenPrint(QWidget* d, const char* table_name, QWidget* chart) {
        bool shown = false;
        whenModal(
            [&](QWidget* t) {
                shown = true;
                clickWindow(chart);
                EXPECT_TRUE(chart->isVisible()) << "the chart must wait while the table view is modal";
                find<QPushButton>(t, "closeButton")->click();
            },
            table_name);
        click(d, "tableButton");
        EXPECT_TRUE(shown);
        const size_t before = printed().size();
        click(d, "printButton");
        EXPECT_EQ(printed().size(), before + 1);
    }

    // The whole round for one calculator.
    void chartStaysClosable(QWidget* d, const char* chart_name, const char* table_name) {
        // At once: a click closes it.
        QPointer<QWidget> chart = openChart(d, chart_name);
        ASSERT_TRUE(chart);
        clickWindow(chart);
        EXPECT_FALSE(chart) << "a click closes the chart";

        // After the table view and the printout: Escape.
        chart = openChart(d, chart_name);
        ASSERT_TRUE(chart);
        tableViewThenPrint(d, table_name, chart);
        ASSERT_TRUE(chart);
        escapeWindow(chart);
        EXPECT_FALSE(chart) << "Escape closes the chart after the table view";

        // And a click after the same round.
        chart = openChart(d, chart_name);
        ASSERT_TRUE(chart);
        tableViewThenPrint(d, table_name, chart);
        ASSERT_TRUE(chart);
        clickWindow(chart);
        EXPECT_FALSE(chart) << "a click closes the chart after the table view";
        EXPECT_TRUE(d->isVisible());
    }
};

TEST_F(LoansWindows, MortgageChartOpensBesideTheDialogAndStaysClosable) {
    ASSERT_TRUE(runHypo([&](QWidget* d) {
        typeHypoFirstCase(d, "Testbank");
        click(d, "computeButton");
        chartStaysClosable(d, "hypoChart", "hypoTableDialog");
    }));
}

TEST_F(LoansWindows, BuildingSavingsChartOpensBesideTheDialogAndStaysClosable) {
    ASSERT_TRUE(runBau([&](QWidget* d) {
        typeBauFirstCase(d, "Bausparkasse Nord");
        click(d, "computeButton");
        chartStaysClosable(d, "bausparChart", "bauShowDialog");
    }));
}

TEST_F(LoansWindows, AnInputChangeClosesTheChart) {
    ASSERT_TRUE(runHypo([&](QWidget* d) {
        typeHypoFirstCase(d, "Testbank");
        click(d, "computeButton");
        click(d, "chartButton");
        QPointer<QWidget> chart = window("hypoChart");
        ASSERT_TRUE(chart);
        auto* months = find<QComboBox>(d, "monthList");
        months->setCurrentIndex(3);
        QApplication::processEvents();
        EXPECT_TRUE(!chart || !chart->isVisible());
        EXPECT_FALSE(find<QPushButton>(d, "chartButton")->isEnabled());
        EXPECT_EQ(find<ui::ResultField>(d, "annuity")->text(), "0,00");
    }));
}

TEST_F(LoansWindows, CompressedMortgageTableShowsItsLastColumnWithoutAClick) {
    // The last column lies fully in the view, or, where the screen is narrower than the table, a
    // scroll bar leads to it.
    const auto lastColumnShows = [](ui::TableGrid* grid, const char* heading) {
        QApplication::processEvents();
        const int last = grid->model()->columnCount() - 1;
        EXPECT_EQ(grid->model()->headerData(last, Qt::Horizontal).toString(), heading);
        const int right = grid->columnViewportPosition(last) + grid->columnWidth(last);
        if (grid->fullWidth() <= grid->window()->screen()->availableGeometry().width() - 40) {
            EXPECT_GE(grid->columnViewportPosition(last), 0) << heading;
            EXPECT_LE(right, grid->viewport()->width()) << heading;
        } else {
            EXPECT_TRUE(grid->horizontalScrollBar()->isVisible()) << heading;
        }
    };
    ASSERT_TRUE(runHypo([&](QWidget* d) {
        typeHypoFirstCase(d, "Testbank");
        click(d, "computeButton");
        bool shown = false;
        whenModal(
            [&](QWidget* t) {
                shown = true;
                auto* grid = static_cast<ui::GridDialog*>(t)->grid();
                lastColumnShows(grid, "Restzins ");
                auto* box = find<QCheckBox>(t, "compressedBox");
                // The status text while the box has the focus.
                box->setFocus(Qt::TabFocusReason);
                QApplication::processEvents();
                EXPECT_EQ(toolkit::last_status(), "detaillierte oder jährliche Darstellung");
                box->setChecked(true);
                EXPECT_EQ(grid->rows(), 24);
                lastColumnShows(grid, "Restzins ");
                // The monthly amounts are narrower: nothing jumps back.
                box->setChecked(false);
                lastColumnShows(grid, "Restzins ");
                find<QPushButton>(t, "closeButton")->click();
            },
            "hypoTableDialog");
        click(d, "tableButton");
        EXPECT_TRUE(shown);

        // With a special repayment the table gets two more columns.
        QApplication::setActiveWindow(d);
        (void)QTest::qWaitForWindowActive(d);
        typeInto(num(d, "special"), "5000");
        click(d, "computeButton");
        shown = false;
        whenModal(
            [&](QWidget* t) {
                shown = true;
                auto* grid = static_cast<ui::GridDialog*>(t)->grid();
                find<QCheckBox>(t, "compressedBox")->setChecked(true);
                lastColumnShows(grid, "Sum. Sondertilg. ");
                find<QPushButton>(t, "closeButton")->click();
            },
            "hypoTableDialog");
        click(d, "tableButton");
        EXPECT_TRUE(shown);
    }));
}

// Pictures of the whole (offscreen) screen: each calculator with its chart after the table view
// was closed, and the real question box before a saved plan is deleted. Only when VESTRAL_SHOTS
// names a directory.
TEST_F(LoansWindows, Screenshots) {
    const QString out = qEnvironmentVariable("VESTRAL_SHOTS");
    if (out.isEmpty()) GTEST_SKIP() << "VESTRAL_SHOTS not set";
    const auto shoot = [&](const char* name) {
        QTest::qWait(300);
        EXPECT_TRUE(QGuiApplication::primaryScreen()->grabWindow(0).save(out + "/" + name));
    };
    const auto afterTableView = [&](QWidget* d, const char* table_name) {
        whenModal([](QWidget* t) { find<QPushButton>(t, "closeButton")->click(); }, table_name);
        click(d, "tableButton");
        click(d, "chartButton");
    };
    storeHypo(hypoFirstCase("Erste Bank"), {});
    ASSERT_TRUE(runHypo([&](QWidget* d) {
        typeHypoFirstCase(d, "Sparkasse");
        click(d, "computeButton");
        afterTableView(d, "hypoTableDialog");
        shoot("hypotilg_screen_chart.png");
        // The real question box: shown, pictured, answered "Nein".
        const toolkit::MsgScript script = toolkit::set_message_script({});
        whenModal(
            [&](QWidget* list) {
                whenModal(
                    [&](QWidget* box) {
                        shoot("saved_plans_delete_question.png");
                        QTest::keyClick(box, Qt::Key_Return);
                    },
                    "QMessageBox");
                find<QPushButton>(list, "deleteButton")->click();
                find<QPushButton>(list, "closeButton")->click();
            },
            "savedPlansDialog");
        click(d, "loadButton");
        toolkit::set_message_script(script);
        QApplication::setActiveWindow(d);
        shoot("hypotilg_after_list.png");
    }));
    EXPECT_EQ(records("HYPOBANK.DBF"), 2);
    ASSERT_TRUE(runBau([&](QWidget* d) {
        typeBauFirstCase(d, "Bausparkasse Nord");
        click(d, "computeButton");
        afterTableView(d, "bauShowDialog");
        shoot("bausparen_screen_chart.png");
    }));
}

}  // namespace
