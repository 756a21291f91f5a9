// Which calculator each menu entry starts: entry operations by their names (KAUFMIET, HYPOTILG, ...).
#pragma once

#include <QString>
#include <functional>

class QWidget;

namespace vestral::app {

using Launcher = std::function<void(QWidget* parent)>;

// Starts the calculator with the main window as parent; false when it is not part of the program yet.
bool launch_calculator(const QString& operation, QWidget* parent);
bool has_calculator(const QString& operation);

// The list of calculators the program has (calculators.cpp: one line per calculator).
void register_calculators();
void register_calculator(const QString& operation, Launcher launcher);

}  // namespace vestral::app
