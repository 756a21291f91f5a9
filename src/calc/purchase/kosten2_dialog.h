// The dialog "Kosten beim Hauskauf - Beispiel-Rechnung" (entry operation KOSTEN2).
#pragma once

class QWidget;

namespace vestral::calc::kosten2 {

// KOSTEN2: builds and runs the modal dialog with `parent` as its parent; returns true.
bool kosten2(QWidget* parent);

}  // namespace vestral::calc::kosten2
