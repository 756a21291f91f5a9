// The mortgage target value dialog ("Hypotheken - Zielwertberechnung"), its plan view and chart.
#pragma once

#include "calc/loans/hypoziel.h"
#include "ui/bar_chart.h"

class QWidget;

namespace vestral::core::dbf {
class Table;
}

namespace vestral::calc {

// HYPOZIEL: runs the dialog modally over `parent`. HYPOTEMP lives while it is open.
void hypoziel(QWidget* parent);

// HZ_SHOW: the plan in HYPOTEMP with its "&Kürzen" button.
void hz_show(QWidget* parent, core::dbf::Table& hypotemp);

// MAKEHEADER and MAKECOLORS: the chart of the balances after each December.
ui::ChartArgs hz_chart_args(const HzOutcome& outcome);

}  // namespace vestral::calc
