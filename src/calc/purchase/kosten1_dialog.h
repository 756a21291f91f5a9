// The dialog "Kosten beim Hausbau - Beispiel-Rechnung" (entry operation KOSTEN1).
#pragma once

class QWidget;

namespace vestral::calc::kosten1 {

// KOSTEN1: builds and runs the modal dialog with `parent` as its parent; returns true.
bool kosten1(QWidget* parent);

}  // namespace vestral::calc::kosten1
