#include "core/inpfail.h"

#include "core/mask.h"
#include "core/opstack.h"

namespace vestral::core {

std::optional<std::string> inpfail_message(const InpFail& c) {
    VESTRAL_OP("INPFAIL");
    std::string msg;
    if (c.value < c.low.value) {
        msg = "Die Eingabe für '" + c.name + "' ist zu niedrig !";
    } else if (c.value > c.high.value) {
        msg = "Die Eingabe für '" + c.name + "' ist zu hoch !";
    } else {
        return std::nullopt;
    }
    msg +=
        "\nGeben Sie einen Wert zwischen " + format_plain(c.low) + " und " + format_plain(c.high) + " ein.";
    std::string t1 = trim(c.typical1), t2 = trim(c.typical2);
    if (!t1.empty() || !t2.empty()) {
        msg += "\n\n";
        if (t1.empty())
            msg += "Durchschnittswert: " + t2 + c.unit + ".";
        else if (t2.empty())
            msg += "Durchschnittswert: " + t1 + c.unit + ".";
        else
            msg += "Durchschnittswerte: " + t1 + c.unit + " bis " + t2 + c.unit + ".";
    }
    return msg;
}

Rect8 bm_centerdialog(int h, int w, int main_top, int main_left, int main_bottom, int main_right) {
    Rect8 r;
    r.height = h;
    r.width = w;
    r.top = static_cast<int>(int_part((main_bottom - main_top) / 2.0 + main_top)) -
            static_cast<int>(int_part(h / 2.0));
    r.left = static_cast<int>(int_part((main_right - main_left) / 2.0 + main_left)) -
             static_cast<int>(int_part(w / 2.0));
    r.bottom = r.top + h;
    r.right = r.left + w;
    return r;
}

}  // namespace vestral::core
