// The main window's stored rectangle: taking it from the window (PUTSETUP), the size test
// (ISRESIZE), and where the window opens at start.
#pragma once

#include <QRect>

#include "core/program_settings.h"

namespace vestral::app {

// The outer rectangle as stored: bottom and right are the last pixel row and column of the window.
// A window dragged partly above or left of the screen is shifted back, not clipped, so its size
// (and thereby its size mode) survives.
core::WindowRect taken_rect(const QRect& frame);

// PUTSETUP: with a frame, takes and (by the mode rules) writes the geometry in one write of the
// settings file, which refreshes the backup copy; without a write, copies the settings file to
// the backup copy.
void putsetup(core::ProgramSettings& s, const QRect* frame);

// ISRESIZE(false): whether the window's size differs from the remembered one. Only the sum of
// height and width is compared.
bool isresize(const core::ProgramSettings& s, const QRect& frame);

// Whether the window opens maximised (and is not tracked): mode 1, or the stored window reaches
// to or beyond the bottom of the desktop.
bool opens_maximised(const core::ProgramSettings& s, const QRect& desktop);

// The outer rectangle the window opens with: the stored one, moved and if need be shrunk into the
// available screen area (a monitor may be gone since it was stored).
QRect initial_frame(const core::WindowRect& stored, const QRect& available);

}  // namespace vestral::app
