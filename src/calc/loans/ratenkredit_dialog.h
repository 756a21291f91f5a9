// The instalment credit dialog ("Ratenkredit"), its plan table view and the list of saved credits.
#pragma once

#include <vector>

#include "ui/table_grid.h"

class QWidget;

namespace vestral::core::dbf {
class Table;
}

namespace vestral::calc {

// RATENKREDIT: opens the dialog modally over `parent` (the main window, or a financing plan that
// wrote the bank to preselect under "Bankname" of section "KRED2"). True when the dialog closed
// with a plan computed while it was open that still belongs to its inputs: only then are RATKRED
// and the results in KREDBANK and "KRED2" the credit's. Leaves RATKRED and KREDBANK on disk for
// the caller and closes only its own tables.
bool ratenkredit(QWidget* parent);

// The columns of the saved-credits list.
std::vector<ui::GridColumn> kredbank_list_columns();

// RK_TABELLE: the monthly plan of the open RATKRED in a read-only grid.
void rk_tabelle(QWidget* parent, core::dbf::Table& ratkred);

}  // namespace vestral::calc
