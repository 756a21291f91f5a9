#include "calc/purchase/kredrahmen_dialog.h"

#include <QFontMetrics>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QVBoxLayout>
#include <algorithm>

#include "calc/property/property_dialog.h"
#include "calc/purchase/kredrahmen.h"
#include "core/mask.h"
#include "core/opstack.h"
#include "core/program_settings.h"
#include "toolkit/wait_cursor.h"
#include "ui/blocks.h"
#include "ui/calculator_dialog.h"
#include "ui/table_grid.h"

namespace vestral::calc {

namespace {

constexpr const char* kBurdenMask = "@E 999,999.99  ";
constexpr const char* kAmountMask = "@E 999,999,999 ";

ui::FormSpec kredrahmen_form() {
    ui::FormSpec f;
    f.object_name = "kredrahmenDialog";
    f.title = "Mögliche Belastung";
    f.help_topic = kKredHelpTopic;
    f.buttons = {{"closeButton", "&Schließen", "Dialog verlassen", "", ui::ButtonRole::Close}};
    f.width = 900;
    f.height = 600;
    return f;
}

std::vector<ui::GridColumn> kredit_columns() {
    std::vector<ui::GridColumn> columns{ui::masked_column("Belastung ", "MONRATE", kBurdenMask)};
    for (int i = 0; i < kKredRateCount; ++i)
        columns.push_back(
            ui::masked_column(QString::fromStdString(kred_heading(i)), kred_field(i).c_str(), kAmountMask));
    return columns;
}

class KredrahmenDialog : public ui::CalculatorDialog {
  public:
    KredrahmenDialog(QWidget* parent, core::dbf::Table& table) : CalculatorDialog(parent, kredrahmen_form()) {
        QVBoxLayout* inner = look::panel_layout(this);
        auto* notes = new QGridLayout;
        auto* first = ui::label(
            "Die Tabelle unten zeigt Ihnen, welchen Kreditrahmen Sie mit einer möglichen monatlichen "
            "Belastung \r"
            "finanzieren können. Dieser Kreditrahmen ist von dieser monatlichen Belastung und dem effektiven "
            "\r"
            "Zinssatz abhängig. Als jährliche Tilgungsrate wird 1% der Hypothekensumme angenommen.",
            this);
        first->setObjectName("note1");
        auto* second = ui::label(
            "Beispiel: Bei einer monatlichen Belastung von EUR 1000,- und einem nominellen \r"
            "Zinssatz von 7% können Sie EUR 150.000,- finanzieren.",
            this);
        second->setObjectName("note2");
        notes->addWidget(first, 0, 0, 1, 2);
        notes->addWidget(second, 1, 0);
        notes->addWidget(button("closeButton"), 1, 1, Qt::AlignRight | Qt::AlignBottom);
        notes->setColumnStretch(0, 1);
        inner->addLayout(notes);
        button("closeButton")->setDefault(true);

        table.go_top();
        grid_ = new ui::TableGrid(this, table, kredit_columns(), true, true);
        grid_->setObjectName("tableGrid");
        // Equal columns, each wide enough for the largest amount its mask can show.
        const core::Mask amount = core::Mask::parse(kAmountMask);
        int width =
            grid_->fontMetrics().horizontalAdvance(QString::fromStdString(amount.format(999999999))) + 12;
        for (int c = 0; c < grid_->columns(); ++c) width = std::max(width, grid_->columnWidth(c));
        for (int c = 0; c < grid_->columns(); ++c) grid_->setColumnWidth(c, width);
        inner->addWidget(grid_, 1);
    }

    ui::TableGrid* grid() const { return grid_; }

  private:
    ui::TableGrid* grid_ = nullptr;
};

}  // namespace

void kredrahmen(QWidget* parent) {
    VESTRAL_OP("KREDRAHMEN");
    core::dbf::Table table;
    {
        toolkit::WaitCursor wait;
        if (!kred_make(core::settings().dir, table)) return;
        if (!kred_fill(table)) {
            kred_drop(table);
            return;
        }
    }
    {
        KredrahmenDialog dlg(parent, table);
        dlg.exec();
    }
    kred_drop(table);
}

}  // namespace vestral::calc
