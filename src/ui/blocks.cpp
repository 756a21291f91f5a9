#include "ui/blocks.h"

#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <QVBoxLayout>
#include <algorithm>

#include "core/fault.h"
#include "core/inpfail.h"
#include "core/program_settings.h"
#include "toolkit/messages.h"
#include "toolkit/status.h"
#include "ui/input_field.h"

namespace vestral::ui {

QColor color(int n) {
    return QColor(n & 255, (n >> 8) & 255, (n >> 16) & 255);
}

QLabel* label(const QString& text, QWidget* parent) {
    auto* l = new QLabel(toolkit::box_text(text), parent);
    return l;
}

namespace {
class StatusOnFocus : public QObject {
  public:
    StatusOnFocus(QObject* parent, QString text) : QObject(parent), text_(std::move(text)) {}
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::FocusIn || e->type() == QEvent::Enter)
            toolkit::show_status(text_);
        else if (e->type() == QEvent::FocusOut || e->type() == QEvent::Leave)
            toolkit::show_status(QString());
        return false;
    }

  private:
    QString text_;
};

GuardHook& guard_hook() {
    static GuardHook h;
    return h;
}
}  // namespace

QPushButton* button(QWidget* parent, const QString& object_name, const QString& text, const QString& tooltip,
                    const QString& help_text, bool always_acts) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(object_name);
    b->setAutoDefault(false);
    if (!tooltip.isEmpty()) b->setToolTip(tooltip);
    if (!help_text.isEmpty()) b->installEventFilter(new StatusOnFocus(b, help_text));
    if (always_acts) b->setFocusPolicy(Qt::TabFocus);
    return b;
}

void status_hint(QWidget* w, const QString& text) {
    if (!text.isEmpty()) w->installEventFilter(new StatusOnFocus(w, text));
}

void set_guard_hook(GuardHook hook) {
    guard_hook() = std::move(hook);
}

void run_guarded(QWidget* parent, const std::function<void()>& action) {
    try {
        action();
    } catch (const std::exception& e) {
        if (guard_hook())
            guard_hook()(parent, e);
        else
            toolkit::stop(parent, "Problem", QString::fromUtf8(e.what()));
    }
}

bool leave_focused_field(QWidget* root) {
    // A button's accelerator leaves the focus in the field: check what is typed there exactly as
    // leaving the field by a click would.
    if (InputField* f = InputField::focused(root)) {
        f->commit();
        f->redraw();
        const bool passed = f->runCheck(true);
        emit f->checked(passed);  // the dialog's enabling follows, as after leaving the field
        if (!passed) {
            f->refocus();
            return false;
        }
    }
    return !InputField::anyFailed(root);
}

void on_click(QPushButton* b, std::function<void()> action) {
    QObject::connect(b, &QPushButton::clicked, b, [b, action = std::move(action)] {
        if (!leave_focused_field(b->window())) return;
        run_guarded(b->window(), action);
    });
}

void on_click_always(QPushButton* b, std::function<void()> action) {
    QObject::connect(b, &QPushButton::clicked, b,
                     [b, action = std::move(action)] { run_guarded(b->window(), action); });
}

ResultField::ResultField(const QString& mask, QWidget* parent)
    : QLineEdit(parent), mask_(core::Mask::parse(mask.toStdString())) {
    setReadOnly(true);
    setFocusPolicy(Qt::NoFocus);
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    setColors(color(core::ProgramSettings::kColF), color(core::ProgramSettings::kColBH));
    int chars = static_cast<int>(mask_.picture.size()) + 1;
    setMinimumWidth(fontMetrics().horizontalAdvance(QString(chars, '0')));
    setValue(0);
}

void ResultField::setValue(double v) {
    value_ = v;
    setText(QString::fromStdString(core::trim(mask_.format(v))));
}

void ResultField::setValue(std::optional<double> v) {
    if (v) {
        setValue(*v);
        return;
    }
    value_ = 0;
    clear();
}

void ResultField::setColors(const QColor& text, const QColor& background) {
    QPalette pal = palette();
    pal.setColor(QPalette::Base, background);
    pal.setColor(QPalette::Text, text);
    setPalette(pal);
}

Panel::Panel(QWidget* parent, const QColor& edge) : QFrame(parent), edge_(edge) {
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);
}

void Panel::paintEvent(QPaintEvent* e) {
    QFrame::paintEvent(e);
    QPainter p(this);
    QRect r = rect().adjusted(0, 0, -1, -1);
    p.setPen(QPen(edge_, 2));
    p.drawRect(r.adjusted(1, 1, -1, -1));
    p.setPen(QPen(Qt::white, 1));
    p.drawRect(r.adjusted(3, 3, -3, -3));
}

QVBoxLayout* panel_layout(QDialog* dialog, const QColor& edge) {
    auto* outer = new QVBoxLayout(dialog);
    outer->setContentsMargins(0, 0, 0, 0);
    auto* panel = new Panel(dialog, edge);
    panel->setObjectName("panel");
    outer->addWidget(panel);
    auto* inner = new QVBoxLayout(panel);
    inner->setContentsMargins(12, 12, 12, 10);
    return inner;
}

QGroupBox* framed_group(const QString& title, const QColor& frame, QWidget* parent) {
    auto* g = new QGroupBox(title, parent);
    g->setStyleSheet(
        QString("QGroupBox { border: 2px groove rgb(%1,%2,%3); border-radius: 2px; margin-top: 1.3em;"
                " background: white; }"
                "QGroupBox::title { subcontrol-origin: margin; left: 8px; padding: 0 3px; }")
            .arg(frame.red())
            .arg(frame.green())
            .arg(frame.blue()));
    return g;
}

namespace {
// The stated sizes are minimums: a dialog whose layout needs more room (longer texts, larger
// fonts) grows, so that nothing is cut off.
QSize grown(QWidget* dialog, int height, int width) {
    return QSize(width, height).expandedTo(dialog->minimumSizeHint());
}
}  // namespace

void keep_on_screen(QWidget* w) {
    QScreen* screen = QGuiApplication::screenAt(w->frameGeometry().center());
    if (!screen) screen = QGuiApplication::primaryScreen();
    if (!screen) return;
    const QRect avail = screen->availableGeometry();
    // Positions are those of the frame (as move() takes them); the frame's extra size is known
    // once the window is shown.
    const QSize extra = w->frameGeometry().size() - w->size();
    QSize inner = w->size();
    inner = inner.boundedTo(avail.size() - extra);
    if (inner != w->size()) w->resize(inner);
    const QSize outer = inner + extra;
    const int x = std::clamp(w->pos().x(), avail.left(), avail.right() + 1 - outer.width());
    const int y = std::clamp(w->pos().y(), avail.top(), avail.bottom() + 1 - outer.height());
    if (QPoint(x, y) != w->pos()) w->move(x, y);
}

void center_on_main(QWidget* dialog, int height, int width) {
    const QSize s = grown(dialog, height, width);
    height = s.height();
    width = s.width();
    const auto& w = core::settings().window;
    core::Rect8 r = core::bm_centerdialog(height, width, w.top, w.left, w.bottom, w.right);
    dialog->resize(width, height);
    dialog->move(r.left, r.top);
    keep_on_screen(dialog);
}

void place_below_main(QWidget* dialog, int dy, int dx, int height, int width) {
    const auto& w = core::settings().window;
    dialog->resize(grown(dialog, height, width));
    dialog->move(w.left + dx, w.top + dy);
    keep_on_screen(dialog);
}

}  // namespace vestral::ui
