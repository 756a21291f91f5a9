// The dialog "Finanzierungsplan bei Vermietung": the owner-occupied plan's dialog as its letting
// variant, with the depreciation for letting as fifth source and the typed income and rent.
#pragma once

#include <vector>

#include "calc/plans/finzpl2.h"
#include "ui/table_grid.h"

class QWidget;

namespace vestral::calc {

// FINZPL2: builds and runs the modal dialog over `parent`.
void finzpl2(QWidget* parent);

// FP2_SHOW's columns for the included sources and the typed income and rent.
std::vector<ui::GridColumn> fp2_show_columns(const Fp1Include& inc, double neinkomm, double nmiete);

// FP2_SHOW: the plan table (open, ordered by year) as a modal grid.
void fp2_show(QWidget* parent, core::dbf::Table& finzpl2, const Fp1Include& inc, double neinkomm,
              double nmiete);

}  // namespace vestral::calc
