// Small building blocks of the calculator dialogs: colours, labels, buttons with tooltip and
// status text, the read-only result field, framed groups and the coloured panels.
#pragma once

#include <optional>

#include <QColor>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <functional>

#include "core/mask.h"

class QDialog;
class QVBoxLayout;

namespace vestral::ui {

// A colour number red + 256 × green + 65536 × blue.
QColor color(int number);
inline constexpr int rgb(int r, int g, int b) {
    return r + 256 * g + 65536 * b;
}

// A label; "\r" in the program's texts becomes a line break.
QLabel* label(const QString& text, QWidget* parent);

// A button with its tooltip and the status-bar text shown while it has the focus. A button that
// "always acts" ("Schließen", "Hilfe") does not take the focus on a click, so leaving a field
// with a failing check never swallows it.
QPushButton* button(QWidget* parent, const QString& object_name, const QString& text, const QString& tooltip,
                    const QString& help_text = QString(), bool always_acts = false);

// Shows `text` in the status bar while the widget (a radio button, a check box) has the focus or
// the mouse is over it, as the buttons' and fields' help texts are shown.
void status_hint(QWidget* w, const QString& text);

// Before a button acts: the field that holds the focus (a button's accelerator leaves it there)
// is taken over and checked, with its message; false when it or another field's check failed.
bool leave_focused_field(QWidget* root);

// Connects a button's click to `action`, which runs only while no field's check has failed,
// and never lets an exception cross the event loop.
void on_click(QPushButton* b, std::function<void()> action);
// The same for buttons that always act.
void on_click_always(QPushButton* b, std::function<void()> action);

// Runs a handler; a fault that cannot continue ends here with a message instead of unwinding
// through Qt. The fault handler, once installed, decides what happens.
void run_guarded(QWidget* parent, const std::function<void()>& action);
using GuardHook = std::function<void(QWidget*, const std::exception&)>;
void set_guard_hook(GuardHook hook);

// A read-only result on the result background, shown with its mask.
class ResultField : public QLineEdit {
  public:
    ResultField(const QString& mask, QWidget* parent);
    void setValue(double v);
    // Nothing shown for a value that is not defined (never a 0 that could be read as a rate).
    void setValue(std::optional<double> v);
    double value() const { return value_; }
    void setColors(const QColor& text, const QColor& background);

  private:
    core::Mask mask_;
    double value_ = 0;
};

// The panel that carries a whole dialog, drawn in white with a coloured edge.
class Panel : public QFrame {
  public:
    Panel(QWidget* parent, const QColor& edge);

  protected:
    void paintEvent(QPaintEvent* e) override;

  private:
    QColor edge_;
};

// Lays a whole dialog on one white panel with a coloured edge; returns the panel's own layout.
QVBoxLayout* panel_layout(QDialog* dialog, const QColor& edge);

// A titled frame drawn in white and the given colour.
QGroupBox* framed_group(const QString& title, const QColor& frame, QWidget* parent);

// Places a dialog as the calculators do: centred on the main window's remembered geometry. The
// sizes are minimums; a dialog whose layout needs more room is made larger.
void center_on_main(QWidget* dialog, int height, int width);
// Moves (and if need be shrinks) a window so that it lies fully on its screen.
void keep_on_screen(QWidget* w);
// 50 pixels right of and below the main window's top-left corner (and the like).
void place_below_main(QWidget* dialog, int dy, int dx, int height, int width);

}  // namespace vestral::ui
