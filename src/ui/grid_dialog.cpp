#include "ui/grid_dialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "toolkit/fonts.h"
#include "ui/blocks.h"

namespace vestral::ui {

GridDialog::GridDialog(QWidget* parent, const QString& title, core::dbf::Table& table, std::vector<GridColumn> columns,
                       bool freeze_first, const QString& note)
    : QDialog(parent) {
    setObjectName("gridDialog");
    setWindowTitle(title);
    setFont(toolkit::ofont());
    grid_ = new TableGrid(this, table, std::move(columns), freeze_first);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(grid_);
    if (!note.isEmpty()) {
        auto* n = label(note, this);
        n->setObjectName("gridNote");
        layout->addWidget(n);
    }
    extra_ = new QHBoxLayout;
    layout->addLayout(extra_);
    auto* close = button(this, "closeButton", "&Schließen", "Dialog verlassen", QString(), true);
    close->setDefault(true);
    on_click_always(close, [this] { accept(); });
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(close);
    layout->addLayout(buttons);
}

void GridDialog::fitAndCenter(int height, int min_width) {
    int w = std::max(min_width, grid_->fullWidth() + 24);
    center_on_main(this, height, w);
}

}  // namespace vestral::ui
