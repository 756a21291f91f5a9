// The split financing dialog ("Gesplittete Finanzierung"): inputs of both plans, results, the
// saved plans, the savings and mortgage views and the printout.
#pragma once

#include <vector>

#include "calc/loans/hypspar.h"
#include "ui/table_grid.h"

class QWidget;

namespace vestral::core::dbf {
class Table;
}

namespace vestral::calc {

// HYPSPAR: runs the dialog modally over `parent`; `amount` is the mortgage amount unless a saved
// plan is loaded. True when a plan was computed while it was open.
bool hypspar(QWidget* parent, double amount = 0);

// The views of HS_SHOW.
enum class HsView { Savings = 1, Mortgage = 2 };
// The columns of the savings (order 1, compressed order 2) and mortgage views (order 3,
// compressed order 4).
std::vector<ui::GridColumn> hs_savings_columns(bool compressed);
std::vector<ui::GridColumn> hs_mortgage_columns(bool compressed);
// HS_SHOW over the open HYPSPAR whose five orders start at `first_order`; any other view number
// shows "Programmfehler !!!". Order 1 is active again afterwards.
void hs_show(QWidget* parent, core::dbf::Table& hypspar, int first_order, int view);

// The columns of the saved-plans list.
std::vector<ui::GridColumn> hyspbank_list_columns();

}  // namespace vestral::calc
