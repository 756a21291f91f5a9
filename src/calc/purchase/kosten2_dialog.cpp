#include "calc/purchase/kosten2_dialog.h"

#include <QGroupBox>
#include <QVBoxLayout>
#include <algorithm>
#include <array>

#include "calc/purchase/kosten2.h"
#include "calc/purchase/kosten2_print.h"
#include "calc/purchase/kosten_dialog.h"
#include "ui/blocks.h"

namespace vestral::calc::kosten2 {

namespace {

const QColor kGroupFrame = ui::color(ui::rgb(165, 192, 170));

struct Calc {
    using Inputs = kosten2::Inputs;
    using Results = kosten2::Results;
    static const auto& fields() { return kFields; }
    static std::vector<kosten::Total<Results>> totals() {
        return {{"NPREIS", kPriceLabel, &Results::NPREIS}, {"NKOSTEN", kTotalLabel, &Results::NKOSTEN}};
    }
    static Results rech(const Inputs& in) { return ko_rech(in); }
    static Results idata() { return ko_idata(); }
    static Inputs gdata(const core::IniFile& ini) { return ko_gdata(ini); }
    static bool wdata(core::IniFile ini, const Inputs& in) { return ko_wdata(std::move(ini), in); }
    static toolkit::PrintJob druck(const Inputs& in, const Results& r, const core::ProgramSettings& s) {
        return ko_druck_job(in, r, s);
    }
};

// The note, then the groups "Immobilienkosten", "zusätzliche Kosten" and "Ergebnis".
class Kosten2Dialog : public kosten::CostDialog<Calc> {
  public:
    explicit Kosten2Dialog(QWidget* parent)
        : CostDialog(parent,
                     kosten::cost_form<Calc>("kosten2Dialog", kTitle, kHelpTopic, kHeight, kWidth, "")) {
        auto* outer = new QVBoxLayout(this);
        outer->setContentsMargins(10, 10, 10, 8);
        outer->setSpacing(6);
        QLabel* note = ui::label(kNote, this);
        note->setObjectName("note");
        outer->addWidget(note);

        QGridLayout* property = group(outer, "groupProperty", "Immobilienkosten");
        int row = 0;
        for (int i = 0; i < kPropertyFields; ++i)
            costRow(property, row++, kFields[i].object_name, kFields[i].amount_name);
        costRow(property, row, "", "NPREIS");

        QGridLayout* additional = group(outer, "groupAdditional", "zusätzliche Kosten");
        row = 0;
        for (size_t i = kPropertyFields; i < kFields.size(); ++i)
            costRow(additional, row++, kFields[i].object_name, kFields[i].amount_name);

        QGridLayout* total = group(outer, "groupResult", "Ergebnis");
        costRow(total, 0, "", "NKOSTEN");

        alignColumns({property, additional, total});
        outer->addStretch(1);
        outer->addLayout(buttonRow({"computeButton", "printButton"}, {"helpButton", "closeButton"}));
    }

  private:
    QGridLayout* group(QVBoxLayout* outer, const char* name, const char* title) {
        QGroupBox* box = ui::framed_group(title, kGroupFrame, this);
        box->setObjectName(name);
        QGridLayout* grid = costGrid();
        grid->setContentsMargins(8, 6, 8, 6);
        box->setLayout(grid);
        outer->addWidget(box);
        return grid;
    }

    // The three groups share their columns, so the amounts stand under each other.
    static void alignColumns(std::initializer_list<QGridLayout*> grids) {
        std::array<int, 6> widest{};
        for (QGridLayout* g : grids) {
            for (int i = 0; i < g->count(); ++i) {
                int r = 0, c = 0, rows = 0, cols = 0;
                g->getItemPosition(i, &r, &c, &rows, &cols);
                QWidget* w = g->itemAt(i)->widget();
                if (!w || cols != 1 || c >= 6) continue;  // a total's label spans the input columns
                widest[static_cast<size_t>(c)] =
                    std::max(widest[static_cast<size_t>(c)], w->sizeHint().width());
            }
        }
        for (QGridLayout* g : grids)
            for (int c = 0; c < 6; ++c) g->setColumnMinimumWidth(c, widest[static_cast<size_t>(c)]);
    }
};

}  // namespace

bool kosten2(QWidget* parent) {
    VESTRAL_OP("KOSTEN2");
    Kosten2Dialog dialog(parent);
    dialog.exec();
    return true;
}

}  // namespace vestral::calc::kosten2
