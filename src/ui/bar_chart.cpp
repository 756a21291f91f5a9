#include "ui/bar_chart.h"

#include <QApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <algorithm>
#include <cmath>

#include "core/numbers.h"
#include "core/opstack.h"
#include "toolkit/fonts.h"
#include "ui/blocks.h"

namespace vestral::ui {

using core::div0;

std::array<int, 10> calculator_chart_colors() {
    return {0, 16711680, 8388608, 128, 128, 8421376, 8421376, 12632256, 16711680, 8388608};
}

const std::array<int, 14>& chart_palette() {
    static const std::array<int, 14> p = {0,       8388608,  32768, 8421376,  128, 8388736,  32896,
                                          8421504, 16711680, 65280, 16776960, 255, 16711935, 65535};
    return p;
}

namespace {
// The maximum written without leading blanks, with its decimals, as the scale reads it.
QString number_text(double m) {
    return QString::fromStdString(core::format_shortest(m));
}
}  // namespace

ChartGeometry chart_geometry(const ChartArgs& a, double H, double W, double ch, double cw) {
    ChartGeometry g;
    g.plot_top = 3 * ch;
    g.plot_left = 13 * cw;
    g.plot_bottom = H - 5.5 * ch;
    g.plot_right = W - 3 * cw;
    const int n = static_cast<int>(a.values.size());
    g.y0 = g.plot_bottom;
    g.x0 = g.plot_left + 10;
    g.gap = 10;
    g.area = (g.plot_bottom - g.plot_top) * 0.8;
    g.slot = div0((g.plot_right - g.plot_left) - 10, n);
    g.label_len = static_cast<int>(core::int_part(div0(g.slot - g.gap / 2, cw)));
    if (g.label_len < 2) {
        g.label_len = 2;
        g.alternate = true;
    }
    g.bar_width = static_cast<int>(core::int_part(g.slot - g.gap));
    g.max = 0;
    for (double v : a.values) g.max = std::max(g.max, v);

    // BMLEGENDE
    const double M = g.max;
    g.e = static_cast<int>(QString::number(static_cast<long long>(std::llround(M))).size()) - 2;
    g.t = static_cast<int>(core::parse_lenient(number_text(M).left(2).toStdString()).value);
    g.k = std::min(9, static_cast<int>(core::int_part(g.t / 2.0)));
    g.q = static_cast<int>(core::int_part(div0(g.t, g.k)));
    // Below 100 the step lies far above the plot, so no scale is visible.
    g.v = g.e > 0 ? g.q * std::pow(10.0, g.e) : g.q * 1e10;
    if (g.v * g.k <= M) g.k += 1;
    for (int j = 1; j <= g.k; ++j) {
        double y = g.y0 - div0(g.area, M) * (g.v * j);
        if (y < g.plot_top - 0.5 || y > g.plot_bottom + 0.5) continue;  // outside the plot: not drawn
        g.lines.push_back({g.v * j, y});
    }

    // MAKEGRAPH
    const auto& pal = chart_palette();
    for (int i = 1; i <= n; ++i) {
        ChartGeometry::Bar b;
        b.x = g.x0 + g.gap * (i - 1) + g.bar_width * (i - 1);
        b.h = div0(g.area, M) * a.values[static_cast<size_t>(i - 1)];
        b.face = pal[static_cast<size_t>((i - 1) % 7)];
        b.side = pal[static_cast<size_t>((i - 1) % 7 + 7)];
        QString label = i - 1 < a.labels.size() ? a.labels[i - 1] : QString();
        bool is_number = static_cast<size_t>(i - 1) < a.label_is_number.size() &&
                         a.label_is_number[static_cast<size_t>(i - 1)];
        b.label = is_number ? label.trimmed().right(g.label_len) : label.left(g.label_len);
        b.label_y = (g.alternate && i % 2 == 0) ? H - 4 * ch : H - 5 * ch;
        g.bars.push_back(b);
    }
    return g;
}

namespace {
class ChartWindow : public QWidget {
  public:
    ChartWindow(ChartArgs args, QWidget* owner)
        : QWidget(owner,
                  Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
          args_(std::move(args)) {
        setObjectName("chartWindow");
        setAttribute(Qt::WA_DeleteOnClose);
        setWindowTitle(args_.header[0]);
        setAutoFillBackground(true);
        QPalette pal = palette();
        pal.setColor(QPalette::Window, Qt::white);
        setPalette(pal);
        font_ = toolkit::map_font("SYSTEM", 10);
        QFontMetrics def(QApplication::font());
        resize(73 * def.averageCharWidth(), 26 * def.height());
        if (owner) {
            placeBeside(owner);
        } else if (QScreen* s = QGuiApplication::primaryScreen()) {
            QRect r = s->availableGeometry();
            move(r.center() - QPoint(width() / 2, height() / 2));
        }
    }

    void placeBeside(QWidget* owner) {
        const QRect frame = owner->window()->frameGeometry();
        QRect screen(0, 0, 1024, 768);
        if (QScreen* s = QGuiApplication::screenAt(frame.center()))
            screen = s->availableGeometry();
        else if (QScreen* p = QGuiApplication::primaryScreen())
            screen = p->availableGeometry();
        move(beside(frame, frameGeometry().size(), screen));
    }

  protected:
    void keyPressEvent(QKeyEvent* e) override {
        if (e->key() == Qt::Key_Escape)
            close();
        else
            QWidget::keyPressEvent(e);
    }
    void mousePressEvent(QMouseEvent* e) override {
        if (e->button() == Qt::LeftButton || e->button() == Qt::RightButton) close();
    }
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.setFont(font_);
        QFontMetricsF fm(font_);
        const double ch = fm.height(), cw = fm.averageCharWidth();
        // The outer size, as the layout values are defined on it.
        const double H = frameGeometry().height(), W = frameGeometry().width();
        ChartGeometry g = chart_geometry(args_, H, W, ch, cw);
        // DRAWBOX
        QRectF plot(QPointF(g.plot_left, g.plot_top), QPointF(g.plot_right, g.plot_bottom));
        p.fillRect(plot, Qt::white);
        p.setPen(QPen(Qt::black, 1));
        p.drawLine(QPointF(g.plot_left, g.plot_top), QPointF(g.plot_right, g.plot_top));
        p.drawLine(QPointF(g.plot_right, g.plot_top), QPointF(g.plot_right, g.plot_bottom));
        p.drawLine(QPointF(g.plot_right, g.plot_bottom), QPointF(g.plot_left, g.plot_bottom));
        p.drawLine(QPointF(g.plot_left, g.plot_bottom), QPointF(g.plot_left, g.plot_top));
        // The scale first: the bars stand in front of its grid lines.
        for (const auto& l : g.lines) {
            text(p, QRectF(0, l.y - ch / 2, g.plot_left * 0.9, ch), Qt::AlignRight,
                 QString::number(static_cast<long long>(std::llround(l.value))), args_.colors[6]);
            p.setPen(QPen(Qt::black, 1));
            p.drawLine(QPointF(g.x0 - 10, l.y), QPointF(g.plot_right, l.y));
        }
        // Bars and labels.
        for (const auto& b : g.bars) {
            QColor face = color(b.face), side = color(b.side);
            p.setPen(QPen(face, 1));
            for (int k = 1; k <= g.bar_width; ++k)
                p.drawLine(QPointF(b.x + k, g.y0), QPointF(b.x + k, g.y0 - b.h));
            p.setPen(QPen(side, 1));
            for (int k = 1; k <= args_.depth; ++k) {
                p.drawLine(QPointF(b.x + g.bar_width + k, g.y0 - k),
                           QPointF(b.x + g.bar_width + k, g.y0 - b.h - k));
                p.drawLine(QPointF(b.x + k, g.y0 - b.h - k), QPointF(b.x + g.bar_width + k, g.y0 - b.h - k));
            }
            text(p, QRectF(b.x, b.label_y, g.slot, ch), Qt::AlignLeft, b.label, args_.colors[4]);
        }
        // SHOWINFOS
        text(p, QRectF(0, 0.5 * ch, width(), ch), Qt::AlignHCenter, args_.header[1], args_.colors[1]);
        text(p, QRectF(0, 1.5 * ch, width(), ch), Qt::AlignHCenter, args_.header[2], args_.colors[2]);
        text(p, QRectF(g.plot_left, H - 3 * ch, g.plot_right - g.plot_left, ch), Qt::AlignHCenter,
             args_.header[3], args_.colors[3]);
        text(p, QRectF(0, g.plot_top - ch / 2, g.plot_left * 0.9, ch), Qt::AlignRight, args_.header[4],
             args_.colors[5]);
    }

  private:
    // Chart texts stand on silver.
    void text(QPainter& p, const QRectF& box, Qt::Alignment align, const QString& s, int colour) {
        if (s.isEmpty()) return;
        QFontMetricsF fm(font_);
        double w = fm.horizontalAdvance(s);
        double x = box.left();
        if (align & Qt::AlignRight)
            x = box.right() - w;
        else if (align & Qt::AlignHCenter)
            x = box.left() + (box.width() - w) / 2;
        QRectF r(x, box.top(), w, fm.height());
        p.fillRect(r, QColor(192, 192, 192));
        p.setPen(color(colour));
        p.drawText(r, Qt::AlignLeft | Qt::AlignVCenter, s);
    }

    ChartArgs args_;
    QFont font_;
};
}  // namespace

QPoint beside(const QRect& owner, const QSize& size, const QRect& screen) {
    const int gap = 8;
    int x = owner.right() + 1 + gap;  // right of the owner, where its buttons are not covered
    if (x + size.width() > screen.right() + 1) x = owner.left() - gap - size.width();  // else left of it
    if (x < screen.left()) x = screen.right() + 1 - size.width();  // else at the screen's right edge
    const int y = std::min(owner.top(), screen.bottom() + 1 - size.height());
    return {std::max(x, screen.left()), std::max(y, screen.top())};
}

QWidget* barsingle(const ChartArgs& args, QWidget* owner) {
    VESTRAL_OP("BARSINGLE");
    auto* w = new ChartWindow(args, owner);
    w->show();
    // Its frame is known once it is shown.
    if (owner) w->placeBeside(owner);
    return w;
}

}  // namespace vestral::ui
