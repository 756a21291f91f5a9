// "Verkehrswert berechnen" for the user, with its depreciable-base dialog "AfA aus Verkehrswert
// berechnen" and the hand-over of that base to the depreciation for letting.
#pragma once

class QWidget;

namespace vestral::calc {

inline constexpr const char* kVerkwertHelpTopic = "Verkehrswertberechnung";

// VERKWERT: runs the market value with `parent` as parent (the main window, or the depreciation
// value's dialog); returns when it closes, its results written to BER_VKW.
void verkwert(QWidget* parent);

}  // namespace vestral::calc
