// SETUP: the settings dialog "Einstellungen" of the main menu (window size, printer, what happens
// to an error log).
#pragma once

class QWidget;

namespace vestral::app {

bool setup(QWidget* parent);

}  // namespace vestral::app
