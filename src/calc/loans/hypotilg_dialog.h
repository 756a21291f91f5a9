// The mortgage amortisation plan's dialog: inputs, results, the store of saved plans, the plan
// table's grid, the chart and the printout. The plan stays in HYPOTHEK after the dialog closes, so
// the financing plans can take it over.
#pragma once

#include <vector>

#include "calc/loans/hypotilg.h"
#include "ui/bar_chart.h"
#include "ui/table_grid.h"

class QWidget;

namespace vestral::calc {

// HYPOTILG: runs the dialog modally over `parent`; true when a plan was computed while it was
// open. A bank name written under "Bankname" of section "HYPO" before the call opens that bank's
// saved plan.
bool hypotilg(QWidget* parent, double amount);

// The columns of the plan grid: monthly rows, or the year-end rows of the compressed view. The
// fee and special-repayment columns appear only when the inputs have fees or a special repayment.
std::vector<ui::GridColumn> ht_show_columns(const HypoInputs& in, bool compressed);

// The columns of the saved-plans list.
std::vector<ui::GridColumn> hypobank_list_columns();

// MAKEHEADER and MAKECOLORS: the chart of the year-end balances. `program_name` heads the window.
ui::ChartArgs ht_chart_args(const HypoChart& chart, const QString& program_name);

}  // namespace vestral::calc
