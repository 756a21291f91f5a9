// BARSINGLE: the bar-chart window of the calculators. The geometry is computed by a pure
// function (tests assert on it); the window draws it with QPainter on every paint.
#pragma once

#include <QString>
#include <QStringList>
#include <QWidget>
#include <array>
#include <vector>

namespace vestral::ui {

struct ChartArgs {
    std::vector<double> values;
    QStringList labels;                 // one per value; number labels are given as their text
    std::vector<bool> label_is_number;  // optional: true where the label is a number
    std::array<QString, 5> header;      // window title, chart title, subtitle, footer, unit
    std::array<int, 10> colors{};  // colour numbers; 2 title, 3 subtitle, 4 footer, 5 labels, 6 unit, 7 scale
    int depth = 5;                 // the bars' three-dimensional side in pixels
};

// The colours every calculator's chart uses (MAKECOLORS): unused, then blue, navy, maroon, maroon,
// teal, teal, silver, blue, navy.
std::array<int, 10> calculator_chart_colors();

// MAKECOLA: the 14 colours of the bars (7 faces, then 7 sides).
const std::array<int, 14>& chart_palette();

struct ChartGeometry {
    double plot_top = 0, plot_left = 0, plot_bottom = 0, plot_right = 0;
    double y0 = 0, x0 = 0, gap = 10, area = 0, slot = 0;
    int label_len = 0;
    bool alternate = false;
    int bar_width = 0;
    double max = 0;
    // the scale
    int e = 0, t = 0, k = 0, q = 0;
    double v = 0;
    struct Line {
        double value;
        double y;
    };
    std::vector<Line> lines;  // only those inside the plot
    struct Bar {
        double x, h;
        int face, side;  // colour numbers
        QString label;
        double label_y;
    };
    std::vector<Bar> bars;
};

// H and W are the window's outer height and width; ch and cw the chart font's character height
// and average width.
ChartGeometry chart_geometry(const ChartArgs& args, double H, double W, double ch, double cw);

// Opens the chart window (not modal) and returns it at once. With an owner (the calculator's
// dialog) it opens beside the owner, stays usable while the owner is modal, and closes with it;
// without one it is centred on the screen. A click, Escape or the close box closes it.
QWidget* barsingle(const ChartArgs& args, QWidget* owner = nullptr);
// Where a window of `size` goes beside a window with the frame `owner`: right of it, else left of
// it, always on the screen (the available rectangle `screen`).
QPoint beside(const QRect& owner, const QSize& size, const QRect& screen);

}  // namespace vestral::ui
