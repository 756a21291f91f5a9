#include "ui/bar_chart.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFontMetricsF>
#include <QImage>
#include <cmath>

#include "toolkit/fonts.h"
#include "ui/blocks.h"

using namespace vestral::ui;

namespace {
ChartArgs args(std::vector<double> values, QStringList labels) {
    ChartArgs a;
    a.values = std::move(values);
    a.labels = std::move(labels);
    return a;
}
}  // namespace

TEST(BarChart, ScaleFor202025HasTenLines) {
    auto g =
        chart_geometry(args({202025.43, 60591.74, 141433.69}, {"Miete", "Zinsen", "Diff."}), 500, 700, 16, 7);
    EXPECT_EQ(g.e, 4);
    EXPECT_EQ(g.t, 20);
    EXPECT_EQ(g.q, 2);
    EXPECT_EQ(g.v, 20000);
    ASSERT_EQ(g.k, 10);
    ASSERT_EQ(g.lines.size(), 10u);
    EXPECT_EQ(g.lines.front().value, 20000);
    EXPECT_EQ(g.lines.back().value, 200000);
    // Bars in the ratio of the values.
    ASSERT_EQ(g.bars.size(), 3u);
    EXPECT_NEAR(g.bars[0].h / g.bars[1].h, 202025.43 / 60591.74, 1e-9);
    EXPECT_NEAR(g.bars[0].h, g.area, 1e-9);
    EXPECT_EQ(g.bars[1].x - g.bars[0].x, g.bar_width + 10);
    EXPECT_EQ(g.bars[0].label, "Miete");
}

TEST(BarChart, LayoutValuesFollowTheWindowSize) {
    auto g = chart_geometry(args({1, 2}, {"a", "b"}), 400, 600, 10, 5);
    EXPECT_EQ(g.plot_top, 30);
    EXPECT_EQ(g.plot_left, 65);
    EXPECT_EQ(g.plot_bottom, 345);
    EXPECT_EQ(g.plot_right, 585);
    EXPECT_EQ(g.area, (345 - 30) * 0.8);
    EXPECT_EQ(g.slot, (585 - 65 - 10) / 2.0);
}

TEST(BarChart, MaximumBelowTwoGivesOneLineAtZero) {
    auto g = chart_geometry(args({1.5, 0.5}, {"a", "b"}), 400, 600, 10, 5);
    ASSERT_EQ(g.k, 1);
    ASSERT_EQ(g.lines.size(), 1u);
    EXPECT_EQ(g.lines[0].value, 0);
    EXPECT_EQ(g.lines[0].y, g.y0);
    auto zero = chart_geometry(args({0, -3}, {"a", "b"}), 400, 600, 10, 5);
    EXPECT_EQ(zero.bars[0].h, 0);
    EXPECT_EQ(zero.bars[1].h, 0);
    ASSERT_EQ(zero.lines.size(), 1u);
}

TEST(BarChart, SmallMaximumShowsNoScale) {
    auto g = chart_geometry(args({50}, {"a"}), 400, 600, 10, 5);
    EXPECT_TRUE(g.lines.empty());
    EXPECT_NEAR(g.bars[0].h, g.area, 1e-9);
}

TEST(BarChart, LongLabelsAreCutAndNarrowSlotsAlternateRows) {
    std::vector<double> v(40, 1000);
    QStringList labels;
    std::vector<bool> numbers;
    for (int i = 0; i < 40; ++i) {
        labels << QString::number(2000 + i);
        numbers.push_back(true);
    }
    ChartArgs a = args(v, labels);
    a.label_is_number = numbers;
    auto g = chart_geometry(a, 400, 600, 10, 8);
    EXPECT_TRUE(g.alternate);
    EXPECT_EQ(g.label_len, 2);
    EXPECT_EQ(g.bars[0].label, "00");  // the last two characters of a number
    EXPECT_EQ(g.bars[1].label_y, 400 - 40);
    EXPECT_EQ(g.bars[0].label_y, 400 - 50);
    auto wide = chart_geometry(args({1, 2}, {"Sparsumme", "Darlehen"}), 400, 200, 10, 8);
    EXPECT_FALSE(wide.alternate);
    EXPECT_EQ(wide.bars[0].label, QString("Sparsumme").left(wide.label_len));
}

TEST(BarChart, PaletteAlternatesFacesAndSides) {
    auto g = chart_geometry(args(std::vector<double>(9, 1), QStringList(9, "x")), 400, 1000, 10, 5);
    EXPECT_EQ(g.bars[0].face, 0);
    EXPECT_EQ(g.bars[0].side, 8421504);
    EXPECT_EQ(g.bars[7].face, 0);
    EXPECT_EQ(g.bars[8].side, 16711680);
}

TEST(BarChart, BarsStandInFrontOfTheGridLines) {
    ChartArgs a = args({202025.43, 60591.74, 141433.69}, {"Miete", "Zinsen", "Diff."});
    QWidget* w = barsingle(a);
    QApplication::processEvents();
    const QImage img = w->grab().toImage();
    QFontMetricsF fm(vestral::toolkit::map_font("SYSTEM", 10));
    const auto g = chart_geometry(a, w->frameGeometry().height(), w->frameGeometry().width(), fm.height(),
                                  fm.averageCharWidth());
    const auto& bar = g.bars[1];  // navy, 60591.74: the lines at 20000 and 40000 pass behind it
    const int x = static_cast<int>(bar.x + g.bar_width / 2);
    for (int j = 0; j < 2; ++j) {
        const double y = g.lines[static_cast<size_t>(j)].y;
        EXPECT_EQ(img.pixelColor(x, static_cast<int>(std::floor(y))), color(bar.face)) << y;
        EXPECT_EQ(img.pixelColor(x, static_cast<int>(std::ceil(y))), color(bar.face)) << y;
    }
    // Beside the bars the line is drawn.
    const int gap_x = static_cast<int>(bar.x + g.bar_width + a.depth + 3);
    const double y = g.lines[0].y;
    EXPECT_TRUE(img.pixelColor(gap_x, static_cast<int>(std::floor(y))) == QColor(Qt::black) ||
                img.pixelColor(gap_x, static_cast<int>(std::ceil(y))) == QColor(Qt::black));
    w->close();
}
