// The building-savings dialog ("Bausparen"): inputs, the computed account plan BAUSPAR, its
// table, chart and printout, and the store of saved contracts BSPBANK.
#pragma once

#include <string>
#include <vector>

#include "ui/bar_chart.h"

class QWidget;

namespace vestral::calc {

// The chart of the contract (MAKEHEADER, MAKECOLORS): the values and labels of the computation.
ui::ChartArgs bau_chart(const std::vector<double>& values, const std::vector<std::string>& labels);

// BAUSPAREN: runs the dialog modally over `parent`. BAUSPAR keeps the last plan afterwards, for
// the financing plans that started it.
void bausparen(QWidget* parent);

}  // namespace vestral::calc
