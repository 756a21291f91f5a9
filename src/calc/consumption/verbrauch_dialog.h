// The bill-checking dialogs for electricity, water, waste water and gas: inputs and billing,
// the one-year projection and the billing history over VERBRCH.
#pragma once

#include "calc/consumption/verbrauch.h"

class QWidget;

namespace vestral::calc {

// BER_STROM, BER_WASSER, BER_ABWASSER, BER_GAS: run the kind's dialog with the main window as parent.
void verbr_dialog(QWidget* parent, VerbrKind kind);
inline void ber_strom(QWidget* parent) {
    verbr_dialog(parent, VerbrKind::Strom);
}
inline void ber_wasser(QWidget* parent) {
    verbr_dialog(parent, VerbrKind::Wasser);
}
inline void ber_abwasser(QWidget* parent) {
    verbr_dialog(parent, VerbrKind::Abwasser);
}
inline void ber_gas(QWidget* parent) {
    verbr_dialog(parent, VerbrKind::Gas);
}

// STROMHOCH / WASSERHOCH / GASHOCH: the modal projection of the period shown.
void verbr_hoch_dialog(QWidget* parent, VerbrKind kind, const VerbrInputs& in, const VerbrResults& res);

}  // namespace vestral::calc
