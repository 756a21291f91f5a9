// The one bound check of every input field and its German message; the box itself is shown by the
// dialog layer. Also the placement rule of the calculators' result dialogs.
#pragma once

#include <optional>
#include <string>

#include "core/numbers.h"

namespace vestral::core {

struct InpFail {
    std::string name;  // the field's name as the user knows it
    double value = 0;
    Num low;  // bounds carry their decimals: 0 and 99999, or an entered amount 1250.00
    Num high;
    std::string typical1, typical2, unit;
};

// The message for a value outside [low, high], lines joined by "\n"; nothing when it passes.
// The test for "too low" comes first.
std::optional<std::string> inpfail_message(const InpFail& check);
inline bool inpfail_passes(const InpFail& check) {
    return !inpfail_message(check).has_value();
}
inline const char* inpfail_title() {
    return "Eingabefehler";
}

struct Rect8 {
    int height = 0, width = 0;
    int top = 0, left = 0, bottom = 0, right = 0;
};

// Centres a dialog of height h and width w on the main window's remembered geometry.
Rect8 bm_centerdialog(int h, int w, int main_top, int main_left, int main_bottom, int main_right);

}  // namespace vestral::core
