// The energy-index dialog and its converter between kJ, kcal and kWh.
#pragma once

class QWidget;

namespace vestral::calc {

// BER_EGKZ: runs the dialog with the main window as parent.
void ber_egkz(QWidget* parent);

// EGKZ_EUMR: the converter; returns the kWh value when it is taken over, otherwise `value`.
double egkz_eumr(QWidget* parent, double value);

}  // namespace vestral::calc
