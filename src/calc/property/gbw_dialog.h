// "Grundbesitzwert errechnen" and "Grundbesitzwert nach Ertragswertverfahren und
// Mindestwertberechnung" for the user.
#pragma once

class QWidget;

namespace vestral::calc {

inline constexpr const char* kGbwHelpTopic = "Grundbesitzwert berechnen";
inline constexpr const char* kGbwmHelpTopic = "Grundbesitzwert mit Ertragswertverfahren und Mindestwert";

// BER_GBW: the simple property value; returns when its dialog closes.
void ber_gbw(QWidget* parent);
// BER_GBWM: the earnings method with the minimum value.
void ber_gbwm(QWidget* parent);

}  // namespace vestral::calc
