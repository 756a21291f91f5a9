// "Wert der Abschreibung für Abnutzung (AfA) berechnen" for the user: the four methods, the
// market value opened from here, the details and the hand-over of the best value.
#pragma once

class QWidget;

namespace vestral::calc {

inline constexpr const char* kAfaHelpTopic = "Wert der AfA berechnen";

// BER_AFA: returns when its dialog closes.
void ber_afa(QWidget* parent);

}  // namespace vestral::calc
