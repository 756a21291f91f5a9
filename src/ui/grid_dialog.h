// The modal table view of a calculator's work table: a grid, an optional note below it, an
// optional check box row and a "Schließen" button.
#pragma once

#include <QDialog>
#include <vector>

#include "ui/table_grid.h"

class QLabel;
class QHBoxLayout;

namespace vestral::ui {

class GridDialog : public QDialog {
    Q_OBJECT
public:
    GridDialog(QWidget* parent, const QString& title, core::dbf::Table& table, std::vector<GridColumn> columns,
               bool freeze_first = false, const QString& note = QString());
    TableGrid* grid() const { return grid_; }
    // A row above the buttons for extra controls (check boxes).
    QHBoxLayout* extraRow() const { return extra_; }
    // Sizes the dialog to show every column (at least the given size) and centres it on the main window.
    void fitAndCenter(int height, int min_width);

private:
    TableGrid* grid_;
    QHBoxLayout* extra_;
};

}  // namespace vestral::ui
