// The offer comparison dialog ("Angebotsvergleich"): up to four saved mortgage plans and saved
// credits, taken from their saved-plans lists, side by side in one grid that prints and exports.
#pragma once

class QWidget;

namespace vestral::calc {

// ANGEBOTSVERGLEICH: runs the dialog modally over `parent`. The offers are recomputed from the
// saved inputs; the work table VERGLEICH lives while the dialog is open.
void angebotsvergleich(QWidget* parent);

}  // namespace vestral::calc
