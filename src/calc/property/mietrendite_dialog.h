// "Mietrenditen berechnen" for the user: the net and the gross rent yield.
#pragma once

class QWidget;

namespace vestral::calc {

inline constexpr const char* kNmietHelpTopic = "Mietrendite errechnen - Netto";
inline constexpr const char* kBmietHelpTopic = "Mietrendite errechnen - Brutto - Methode 1";

// BER_NMIET and BER_BMIET1; each returns when its dialog closes.
void ber_nmiet(QWidget* parent);
void ber_bmiet1(QWidget* parent);

}  // namespace vestral::calc
