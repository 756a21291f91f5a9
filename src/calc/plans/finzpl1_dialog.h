// The dialog "Finanzierungsplan bei Eigennutzung": starts the five source calculators as its
// children, keeps copies of their plans, merges them into FINZPL1 and shows the plan as a grid.
#pragma once

#include <vector>

#include "calc/plans/finzpl1.h"
#include "ui/table_grid.h"

class QWidget;

namespace vestral::calc {

// FINZPL1: builds and runs the modal dialog over `parent`.
void finzpl1(QWidget* parent);

// FP1_SHOW's columns for the included sources (the text line comes from fp1_grid).
std::vector<ui::GridColumn> fp1_show_columns(const Fp1Include& inc);

// FP1_SHOW: the plan table (open, ordered by year) as a modal grid.
void fp1_show(QWidget* parent, core::dbf::Table& finzpl1, const Fp1Include& inc);

}  // namespace vestral::calc
