// The start screen / about box (ABOUTINFO) and the disclaimer (HAFTUNG).
#pragma once

class QWidget;

namespace vestral::app {

// ABOUTINFO: modal, centred; a click closes it. At start-up it also closes itself
// `close_after_ms` after it has first been painted.
bool aboutinfo(QWidget* parent, bool at_start, int close_after_ms = 3000);

enum class DisclaimerOutcome {
    Continue,  // confirmed, not needed, or closed with the window's close button
    Quit,      // "Beenden": the program ends at once, nothing written
};

// HAFTUNG: shows the disclaimer unless Setup/HaftInf is "1"; writes HaftInf and Haftung only when
// it was confirmed with "Weiter".
DisclaimerOutcome haftung(QWidget* parent);

}  // namespace vestral::app
