#include "app/geometry.h"

#include <algorithm>
#include <string>

namespace vestral::app {

core::WindowRect taken_rect(const QRect& frame) {
    // QRect's bottom() and right() already are the last pixel that belongs to the window.
    core::WindowRect r{frame.top(), frame.left(), frame.bottom(), frame.right()};
    if (r.top < 0) {
        r.bottom -= r.top;
        r.top = 0;
    }
    if (r.left < 0) {
        r.right -= r.left;
        r.left = 0;
    }
    return r;
}

void putsetup(core::ProgramSettings& s, const QRect* frame) {
    if (frame) {
        core::WindowRect r = taken_rect(*frame);
        if (r.bottom - r.top != 600 || r.right - r.left != 800) s.ns_winsize = 3;
        s.window = r;
        if ((r.top < 2000 && s.ns_winsize == 2) || s.ns_winsize == 3) {
            // One replacement of the file, which also refreshes the backup copy.
            s.ini().set_sections({
                {"Project", {{"Product", s.pcrelease1 + s.pcrelease2}}},
                {"Setup", {{"WINSIZE", std::to_string(s.ns_winsize)}}},
                {"System",
                 {{"Top", std::to_string(r.top)},
                  {"Left", std::to_string(r.left)},
                  {"Bottom", std::to_string(r.bottom)},
                  {"Right", std::to_string(r.right)},
                  {"Coords", std::to_string(r.top + r.left + r.bottom + r.right)}}},
            });
            return;
        }
    }
    core::write_backup(s.dir);
}

bool isresize(const core::ProgramSettings& s, const QRect& frame) {
    const core::WindowRect& w = s.window;
    int stored = (w.bottom - w.top) + (w.right - w.left);
    int now = (frame.bottom() - frame.top()) + (frame.right() - frame.left());
    return stored != now;
}

bool opens_maximised(const core::ProgramSettings& s, const QRect& desktop) {
    // The desktop's bottom as the platform reports it lies just below its last pixel row.
    int desktop_bottom = desktop.bottom() + 1;
    return s.ns_winsize == 1 || desktop_bottom <= s.window.bottom;
}

QRect initial_frame(const core::WindowRect& stored, const QRect& available) {
    int width = std::max(1, stored.right - stored.left + 1);
    int height = std::max(1, stored.bottom - stored.top + 1);
    if (available.isEmpty()) return QRect(stored.left, stored.top, width, height);
    width = std::min(width, available.width());
    height = std::min(height, available.height());
    int left = std::clamp(stored.left, available.left(), available.right() + 1 - width);
    int top = std::clamp(stored.top, available.top(), available.bottom() + 1 - height);
    return QRect(left, top, width, height);
}

}  // namespace vestral::app
