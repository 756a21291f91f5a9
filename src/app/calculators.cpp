#include "app/calculators.h"

#include <QHash>

#include "calc/loans/ratenkredit_dialog.h"

namespace vestral::app {

namespace {
QHash<QString, Launcher>& registry() {
    static QHash<QString, Launcher> r;
    return r;
}
}  // namespace

void register_calculator(const QString& operation, Launcher launcher) { registry().insert(operation, std::move(launcher)); }

bool has_calculator(const QString& operation) { return registry().contains(operation); }

bool launch_calculator(const QString& operation, QWidget* parent) {
    auto it = registry().find(operation);
    if (it == registry().end()) return false;
    it.value()(parent);
    return true;
}

void register_calculators() {
    // One line per calculator, e.g.:
    // register_calculator("KAUFMIET", [](QWidget* p) { calc::kaufmiet(p); });
    register_calculator("RATENKREDIT", [](QWidget* p) { calc::ratenkredit(p); });
}

}  // namespace vestral::app
