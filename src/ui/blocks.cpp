#include "ui/blocks.h"

#include <QApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <algorithm>

#include "core/fault.h"
#include "core/inpfail.h"
#include "core/program_settings.h"
#include "toolkit/messages.h"
#include "toolkit/status.h"
#include "ui/input_field.h"

namespace vestral::ui {

QColor color(int n) { return QColor(n & 255, (n >> 8) & 255, (n >> 16) & 255); }

QLabel* label(const QString& text, QWidget* parent) {
    auto* l = new QLabel(toolkit::box_text(text), parent);
    return l;
}

namespace {
class StatusOnFocus : public QObject {
public:
    StatusOnFocus(QObject* parent, QString text) : QObject(parent), text_(std::move(text)) {}
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::FocusIn || e->type() == QEvent::Enter) toolkit::show_status(text_);
        else if (e->type() == QEvent::FocusOut || e->type() == QEvent::Leave) toolkit::show_status(QString());
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

void set_guard_hook(GuardHook hook) { guard_hook() = std::move(hook); }

void run_guarded(QWidget* parent, const std::function<void()>& action) {
    try {
        action();
    } catch (const std::exception& e) {
        if (guard_hook()) guard_hook()(parent, e);
        else toolkit::stop(parent, "Problem", QString::fromUtf8(e.what()));
    }
}

bool leave_focused_field(QWidget* root) {
    // A button's accelerator leaves the focus in the field: check what is typed there exactly as
    // leaving the field by a click would.
    if (InputField* f = InputField::focused(root)) {
        f->commit();
        f->redraw();
        if (!f->runCheck(true)) {
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
    QObject::connect(b, &QPushButton::clicked, b, [b, action = std::move(action)] { run_guarded(b->window(), action); });
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

QGroupBox* framed_group(const QString& title, const QColor& frame, QWidget* parent) {
    auto* g = new QGroupBox(title, parent);
    g->setStyleSheet(QString("QGroupBox { border: 2px groove rgb(%1,%2,%3); border-radius: 2px; margin-top: 1.3em;"
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
    QScreen* screen = QGuiApplication::screenAt(w->geometry().center());
    if (!screen) screen = QGuiApplication::primaryScreen();
    if (!screen) return;
    const QRect avail = screen->availableGeometry();
    // The frame the window system adds is not known before the window is shown: keep room for it.
    const QMargins frame = w->isVisible() ? QMargins(w->geometry().left() - w->frameGeometry().left(),
                                                     w->geometry().top() - w->frameGeometry().top(),
                                                     w->frameGeometry().right() - w->geometry().right(),
                                                     w->frameGeometry().bottom() - w->geometry().bottom())
                                          : QMargins(0, 0, 0, 0);
    QRect r = w->geometry();
    if (r.width() > avail.width() - frame.left() - frame.right())
        r.setWidth(avail.width() - frame.left() - frame.right());
    if (r.height() > avail.height() - frame.top() - frame.bottom())
        r.setHeight(avail.height() - frame.top() - frame.bottom());
    const int x = std::clamp(r.left(), avail.left() + frame.left(), avail.right() - frame.right() - r.width() + 1);
    const int y = std::clamp(r.top(), avail.top() + frame.top(), avail.bottom() - frame.bottom() - r.height() + 1);
    w->setGeometry(x, y, r.width(), r.height());
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
