// The look the property, yield and depreciation-value dialogs share: a white panel with a blue
// edge, sage-framed groups, bold results and the three result colourings (highlighted, best value,
// greyed while 0).
#pragma once

#include <QString>

class QDialog;
class QGridLayout;
class QGroupBox;
class QVBoxLayout;
class QWidget;

namespace vestral::ui {
class ResultField;
}

namespace vestral::calc::look {

// The dialog's panel; returns the panel's own layout.
QVBoxLayout* panel_layout(QDialog* dialog);
// A titled group drawn in sage green.
QGroupBox* group(const QString& title, const char* object_name, QWidget* parent);

// Rows outside the groups indented like the rows inside them, so that the values line up.
void align_with_group(QGridLayout* outside, const QGroupBox* group);

void bold(ui::ResultField* f);
// White on magenta: a value the calculator picked.
void highlight(ui::ResultField* f, bool on);
// White on blue: the best value of a comparison.
void best(ui::ResultField* f);
// A display that shows 0 is disabled and drawn grey.
void grey_when_zero(ui::ResultField* f);

// The calendar year of the clock, for the bounds and ages that count from "now".
int current_year();

}  // namespace vestral::calc::look
