// The modal table view of a calculator's work table: a grid, an optional note below it, an
// optional check box row, an "Exportieren…" button that saves the grid as shown as a CSV file, and
// a "Schließen" button.
#pragma once

#include <QDialog>
#include <filesystem>
#include <string>
#include <vector>

#include "ui/table_grid.h"

class QLabel;
class QHBoxLayout;

namespace vestral::ui {

// The grid as shown, as CSV text: the headings, then every row in the grid's order, with the stored
// values of the cells that have them and the shown text of the others.
std::string grid_csv(const TableGrid& grid);
// The proposed file name: the title up to a " - " subtitle, without characters file systems refuse,
// and ".csv" ("Hypothekentilgungsplan - Ablauf" gives "Hypothekentilgungsplan.csv").
QString csv_file_name(const QString& title);

class GridDialog : public QDialog {
    Q_OBJECT
  public:
    GridDialog(QWidget* parent, const QString& title, core::dbf::Table& table,
               std::vector<GridColumn> columns, bool freeze_first = false, const QString& note = QString());
    TableGrid* grid() const { return grid_; }
    // A row above the buttons for extra controls (check boxes).
    QHBoxLayout* extraRow() const { return extra_; }
    // Sizes the dialog to show every column (at least the given size) and centres it on the main window.
    void fitAndCenter(int height, int min_width);
    // Asks for a file and writes the grid there; false when cancelled or the file could not be written
    // (the user was told, an existing file is unchanged).
    bool exportCsv();

  private:
    TableGrid* grid_;
    QHBoxLayout* extra_;
};

}  // namespace vestral::ui
