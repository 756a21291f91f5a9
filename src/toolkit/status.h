// The main window's status bar as the fields and menus see it: a field's help text while it has
// the focus, a menu entry's status text while it is highlighted, the rights notice otherwise.
#pragma once

#include <QString>
#include <functional>

namespace vestral::toolkit {

using StatusSink = std::function<void(const QString&)>;
void set_status_sink(StatusSink sink);
void show_status(const QString& text);  // an empty text returns to the main window's own text
QString last_status();

}  // namespace vestral::toolkit
