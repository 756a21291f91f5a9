// The classic face names of the program's texts mapped once to faces this system has.
#pragma once

#include <QFont>
#include <QString>

namespace vestral::toolkit {

// Registers the substitutions (Arial -> Liberation Sans, ...); called once at start.
void install_font_substitutions();

// "Ms Sans Serif", "SYSTEM", "Arial" at a point size.
QFont map_font(const QString& face, double points, bool bold = false);

// OFONT and OFONTB: the dialogs' and grids' font.
QFont ofont(bool bold = false);

}  // namespace vestral::toolkit
