#include "ui/saved_plans_dialog.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

#include "core/dbf.h"
#include "core/opstack.h"
#include "toolkit/fonts.h"
#include "toolkit/messages.h"
#include "ui/blocks.h"

namespace vestral::ui {

SavedPlansDialog::SavedPlansDialog(QWidget* parent, core::dbf::Table& store, const QString& title,
                                   std::vector<GridColumn> columns, const SavedPlansTexts& texts)
    : QDialog(parent), store_(store), texts_(texts) {
    setObjectName("savedPlansDialog");
    setWindowTitle(title);
    setFont(toolkit::map_font("Ms Sans Serif", 9));
    grid_ = new TableGrid(this, store, std::move(columns));
    grid_->setFont(font());
    grid_->reload();
    auto* take = button(this, "takeButton", texts.take, texts.take_tooltip, texts.take_status);
    auto* del = button(this, "deleteButton", "&Löschen", "Eintrag löschen", texts.delete_status);
    take->setDefault(texts.take_is_default);
    auto* close = button(this, "closeButton", "&Schließen", "Dialog verlassen", QString(), true);
    on_click(take, [this] { takeCurrent(); });
    on_click(del, [this] { deleteCurrent(); });
    on_click_always(close, [this] { reject(); });
    connect(grid_, &TableGrid::activatedRecord, this, [this](long) { takeCurrent(); });
    connect(grid_, &TableGrid::deletePressed, this,
            [this] { run_guarded(this, [this] { deleteCurrent(); }); });
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(take);
    buttons->addWidget(del);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(grid_);
    layout->addLayout(buttons);
    resize(std::max(420, grid_->fullWidth() + 24), 320);
}

void SavedPlansDialog::takeCurrent() {
    long r = grid_->currentRecno();
    if (r <= 0) return;
    taken_ = r;
    accept();
}

void SavedPlansDialog::deleteCurrent() {
    long r = grid_->currentRecno();
    if (r <= 0) return;
    // "&Löschen" and "&Laden" of the calculator share their accelerator: a second Alt+L must not
    // cost a plan.
    const QString name = grid_->cellText(grid_->currentIndex().row(), 0).trimmed();
    if (texts_.ask_before_delete &&
        !toolkit::ask_yes_no(this, "Löschen", QString("Soll der Eintrag „%1“ gelöscht werden?").arg(name),
                             false))
        return;
    store_.go_to(r);
    store_.delete_record();
    store_.pack();
    store_.flush();
    store_.go_bottom();
    grid_->reload();
    if (grid_->rows() > 0) grid_->selectRow(grid_->rows() - 1);
}

std::optional<long> tabdata(QWidget* parent, core::dbf::Table& store, const QString& title,
                            const QString& empty_message, std::vector<GridColumn> columns) {
    VESTRAL_OP("TABDATA");
    if (store.count() == 0) {
        toolkit::stop(parent, "Problem", empty_message);
        return std::nullopt;
    }
    SavedPlansDialog dialog(parent, store, title, std::move(columns));
    dialog.exec();
    return dialog.taken();
}

}  // namespace vestral::ui
