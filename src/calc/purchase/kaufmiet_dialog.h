// "Kaufen oder Mieten" for the user: the input dialog with its work table MIETKAUF, the result
// dialog, the year table and the bar chart.
#pragma once

#include "calc/purchase/kaufmiet.h"
#include "core/dbf.h"
#include "ui/bar_chart.h"

class QWidget;

namespace vestral::calc {

inline constexpr const char* kKmHelpTopic = "Kaufen oder Mieten";
inline constexpr const char* kMietkaufFile = "MIETKAUF.DBF";

// KAUFMIET: runs the calculator with the main window as parent; returns when its dialog closes.
void kaufmiet(QWidget* parent);

// MAKECOLORS: the chart's header texts, colours and depth; the values come with each computation.
ui::ChartArgs km_makecolors();
// The chart of one computation: rent, interest and their difference.
ui::ChartArgs km_chart_args(const KmOutcome& outcome);

// CHECKDBF: creates MIETKAUF.DBF when it is missing, opens it exclusively as DMIT and empties it.
bool km_checkdbf(core::dbf::Table& dmit);

// KM_DETAILS: the modal result dialog over the inputs, the results and the filled work table.
void km_details_dialog(QWidget* parent, const KmInputs& in, const KmOutcome& outcome, core::dbf::Table& dmit);

// KM_SHOW: the modal year table over MIETKAUF.
void km_show(QWidget* parent, core::dbf::Table& dmit);

}  // namespace vestral::calc
