#include "calc/purchase/kosten1_dialog.h"

#include <QVBoxLayout>

#include "calc/purchase/kosten1.h"
#include "calc/purchase/kosten1_print.h"
#include "calc/purchase/kosten_dialog.h"

namespace vestral::calc::kosten1 {

namespace {

struct Calc {
    using Inputs = kosten1::Inputs;
    using Results = kosten1::Results;
    static const auto& fields() { return kFields; }
    static std::vector<kosten::Total<Results>> totals() {
        return {{"NKOSTEN", "Kosten gesamt", &Results::NKOSTEN}};
    }
    static Results rech(const Inputs& in) { return ko_rech(in); }
    static Results idata() { return ko_idata(); }
    static Inputs gdata(const core::IniFile& ini) { return ko_gdata(ini); }
    static bool wdata(core::IniFile ini, const Inputs& in) { return ko_wdata(std::move(ini), in); }
    static toolkit::PrintJob druck(const Inputs& in, const Results& r, const core::ProgramSettings& s) {
        return ko_druck_job(in, r, s);
    }
};

// Thirteen rows, each input with "=" and its amount beside it, then the total.
class Kosten1Dialog : public kosten::CostDialog<Calc> {
  public:
    explicit Kosten1Dialog(QWidget* parent)
        : CostDialog(parent,
                     kosten::cost_form<Calc>("kosten1Dialog", kTitle, kHelpTopic, kHeight, kWidth, "=")) {
        auto* outer = new QVBoxLayout(this);
        outer->setContentsMargins(10, 10, 10, 8);
        QGridLayout* grid = costGrid();
        int row = 0;
        for (const Field& f : kFields) costRow(grid, row++, f.object_name, f.amount_name);
        grid->setRowMinimumHeight(row++, 6);
        costRow(grid, row, "", "NKOSTEN");
        outer->addLayout(grid);
        outer->addStretch(1);
        outer->addLayout(buttonRow({"computeButton", "printButton"}, {"helpButton", "closeButton"}));
    }
};

}  // namespace

bool kosten1(QWidget* parent) {
    VESTRAL_OP("KOSTEN1");
    Kosten1Dialog dialog(parent);
    dialog.exec();
    return true;
}

}  // namespace vestral::calc::kosten1
