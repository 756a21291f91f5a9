// The dialog "Eigenheimzulage": the home-ownership allowance, the child allowance and the tax
// saving of the eight grant years, with their table and printout.
#pragma once

class QWidget;

namespace vestral::calc {

// ABSCHR_PROG: builds and runs the modal dialog. It may run as a child of another dialog: it
// opens its work table ABSCHEPL only while it writes, shows or prints it, and leaves every other
// table alone.
void abschr_prog(QWidget* parent);

// ABSCHSHOW: the grant years of ABSCHEPL as a modal grid dialog.
void abschshow(QWidget* parent);

}  // namespace vestral::calc
