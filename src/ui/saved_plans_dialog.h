// The one list of saved plans (mortgages, building-savings contracts, credits, split financings):
// take a record over, delete (after asking) and compact, close.
#pragma once

#include <QDialog>
#include <optional>
#include <vector>

#include "ui/table_grid.h"

namespace vestral::ui {

// What differs between the lists: the take-over button's caption and texts, and whether a delete
// asks first (the stores of saved plans do; the consumption history deletes at once).
struct SavedPlansTexts {
    QString take = "&Übertragen";
    QString take_tooltip = "Eintrag übernehmen";
    QString take_status;  // status-bar text while the button has the focus
    QString delete_status;
    bool take_is_default = false;
    bool ask_before_delete = true;
};

class SavedPlansDialog : public QDialog {
    Q_OBJECT
  public:
    SavedPlansDialog(QWidget* parent, core::dbf::Table& store, const QString& title,
                     std::vector<GridColumn> columns, const SavedPlansTexts& texts = {});
    std::optional<long> taken() const { return taken_; }
    TableGrid* grid() const { return grid_; }

    void takeCurrent();
    // Asks first ("Nein" preselected) unless the texts say otherwise; only "Ja" deletes and compacts.
    void deleteCurrent();

  private:
    core::dbf::Table& store_;
    TableGrid* grid_;
    std::optional<long> taken_;
    SavedPlansTexts texts_;
};

// TABDATA: the empty-store message (title "Problem") when the store holds no records; otherwise
// the list. Returns the physical record number taken over, if any.
std::optional<long> tabdata(QWidget* parent, core::dbf::Table& store, const QString& title,
                            const QString& empty_message, std::vector<GridColumn> columns);

}  // namespace vestral::ui
