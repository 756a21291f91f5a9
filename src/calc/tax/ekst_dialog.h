// The dialog "Einkommensteuer berechnen": a taxable income projected from a start year to 2007
// with income tax, solidarity surcharge and burden, and the year table of the projection.
#pragma once

class QWidget;

namespace vestral::core::dbf {
class Table;
}

namespace vestral::calc {

// BER_EKST: builds and runs the modal dialog. Its work table EKSTTEMP lives only as long as the
// dialog does.
void ber_ekst(QWidget* parent);

// EKSTSHOW: the year table of the open work table, as a modal grid dialog.
void ekstshow(QWidget* parent, core::dbf::Table& table);

}  // namespace vestral::calc
