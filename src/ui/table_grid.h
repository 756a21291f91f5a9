// The read-only grid over a work table: one row per record of the active order, masked columns,
// rows alternately white and light pink, optionally a frozen first column.
#pragma once

#include <QTableView>
#include <functional>
#include <variant>
#include <vector>

#include "core/clock.h"
#include "core/numbers.h"

namespace vestral::core::dbf {
class Table;
}

namespace vestral::ui {

// The stored value behind a cell (a number with its decimals, a date or a text), for exports that
// must not carry the mask's thousands points, asterisks or units.
using GridValue = std::variant<std::monostate, core::Num, core::Date, QString>;

struct GridColumn {
    QString heading;
    std::function<QString(const core::dbf::Table&)> cell;
    Qt::Alignment align = Qt::AlignRight | Qt::AlignVCenter;
    // Empty: the shown text, without its padding blanks, is the value.
    std::function<GridValue(const core::dbf::Table&)> value = {};
    // In characters of the grid's font (the width of "0"); 0: as wide as heading and cells need.
    int width = 0;
    // Cells to stand out (bold on kGridMark), e.g. the best value of a row; empty: none.
    std::function<bool(const core::dbf::Table&)> marked = {};
};

// A cell showing a numeric field with a mask ("@E 999999.99"), optionally followed by a text.
GridColumn masked_column(const QString& heading, const char* field, const char* mask,
                         const QString& suffix = {});
// A cell left blank when the value is 0.
GridColumn masked_column_blank0(const QString& heading, const char* field, const char* mask);

inline const QColor kGridTint(249, 227, 233);
inline const QColor kGridMark(198, 239, 206);

class TableGrid : public QTableView {
    Q_OBJECT
  public:
    TableGrid(QWidget* parent, core::dbf::Table& table, std::vector<GridColumn> columns,
              bool freeze_first = false, bool horizontal_scroll = false);
    ~TableGrid() override;

    // Reads the records again from the first one of the active order.
    void reload();
    void setColumns(std::vector<GridColumn> columns);
    long recnoAt(int row) const;
    long currentRecno() const;
    int rows() const;
    QString cellText(int row, int column) const;
    // The stored value of a cell as read with the shown text (monostate when the column has none).
    GridValue cellValue(int row, int column) const;
    bool cellMarked(int row, int column) const;
    int columns() const;
    QString heading(int column) const;
    // Width that shows every column without scrolling.
    int fullWidth() const;

  signals:
    void activatedRecord(long recno);
    void deletePressed();

  protected:
    void keyPressEvent(QKeyEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void scrollContentsBy(int dx, int dy) override;

  private:
    class Model;
    void updateFrozen();
    core::dbf::Table& table_;
    Model* model_;
    QTableView* frozen_ = nullptr;
};

}  // namespace vestral::ui
