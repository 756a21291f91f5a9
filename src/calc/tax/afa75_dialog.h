// "Abschreibung nach §7 EStG. (AfA bei Vermietung)" for the user: the inputs, the kind and the
// schedule beside them over the work table STEU75E, and its printout.
#pragma once

class QWidget;

namespace vestral::calc {

inline constexpr const char* kAfa75HelpTopic = "Abschreibung bei Vermietung";

// P75E_PROG: opens and empties STEU75E, runs the modal dialog and leaves the table on disk for
// the letting plan. Started from another dialog, it closes only its own table.
void p75e_prog(QWidget* parent);

}  // namespace vestral::calc
