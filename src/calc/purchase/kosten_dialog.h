// The dialog both side-cost calculators share: one row per input with its amount beside it, the
// totals, and the four buttons. Leaving a field redraws it, recomputes every amount and only then
// checks the field, so the amounts show even a value that is refused; any key typed shows zeros
// until then. The calculator supplies its tables and operations through `Calc`:
//   Inputs, Results; fields() (its kosten::Field table); totals() (amounts without an input);
//   rech(), idata(), gdata(ini), wdata(ini, in), druck(in, results, settings).
#pragma once

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <vector>

#include "calc/purchase/kosten.h"
#include "core/opstack.h"
#include "core/program_settings.h"
#include "toolkit/print.h"
#include "ui/blocks.h"
#include "ui/calculator_dialog.h"
#include "ui/numeric_field.h"

namespace vestral::calc::kosten {

// An amount that has no input of its own ("Kaufpreis gesamt", "Kosten gesamt").
template <class Results>
struct Total {
    const char* name;
    const char* label;
    double Results::*value;
};

// The form of a cost dialog: the fields of the calculator's table with their checks (numbered in
// table order), an amount per field that has one (`amount_label` before it), the totals, and the
// buttons every cost dialog has.
template <class Calc>
ui::FormSpec cost_form(const char* object_name, const char* title, const char* help_topic, int height,
                       int width, const char* amount_label) {
    ui::FormSpec form;
    form.object_name = object_name;
    form.title = title;
    form.help_topic = help_topic;
    int n = 0;
    for (const auto& f : Calc::fields()) {
        form.fields.push_back({f.object_name, f.label, f.unit, f.mask, f.help, ++n});
        if (f.amount) form.results.push_back({f.amount_name, amount_label, "€", kAmountMask});
    }
    for (const auto& t : Calc::totals()) form.results.push_back({t.name, t.label, "€", kAmountMask});
    form.buttons = {
        {"computeButton", "&Berechnen", "Berechnung durchführen", "Berechnung durchführen",
         ui::ButtonRole::Compute},
        {"printButton", "&Drucken", "Berechnung ausdrucken", "Berechnung ausdrucken", ui::ButtonRole::Action},
        {"helpButton", "&Hilfe", "Hilfe anzeigen", "", ui::ButtonRole::Help},
        {"closeButton", "&Schließen", "Dialog beenden", "", ui::ButtonRole::Close},
    };
    form.height = height;
    form.width = width;
    return form;
}

template <class Calc>
class CostDialog : public ui::CalculatorDialog {
  public:
    using Inputs = typename Calc::Inputs;
    using Results = typename Calc::Results;

    CostDialog(QWidget* parent, ui::FormSpec form) : CalculatorDialog(parent, std::move(form)) {
        for (const auto& f : Calc::fields()) number(f.object_name)->setBeforeCheck([this] { recompute(); });
        button("computeButton")->setDefault(true);
        onClick("computeButton", [this] { recompute(); });
        onClick("printButton", [this] { print(); });
    }

    // The inputs as the fields hold them, with the values the dialog holds besides its fields.
    Inputs inputs() const {
        Inputs in = held_;
        for (const auto& f : Calc::fields()) in.*f.value = number(f.object_name)->value();
        return in;
    }
    const Results& results() const { return shown_; }

  protected:
    core::InpFail check(int n) const override {
        const auto& f = Calc::fields()[static_cast<std::size_t>(n - 1)];
        return f.check(number(f.object_name)->value());
    }

    // KO_GDATA, then the amounts of what was loaded.
    void load() override {
        held_ = Calc::gdata(core::settings().ini());
        for (const auto& f : Calc::fields()) number(f.object_name)->setValue(held_.*f.value);
        recompute();
    }

    // KO_WDATA: the base has put back the last accepted value of any refused field by now.
    void save() override { Calc::wdata(core::settings().ini(), inputs()); }

    // KO_IDATA: the base has cleared the shown amounts; the kept ones go with them.
    void clearResults() override { shown_ = Calc::idata(); }

    // Every button of a cost dialog stays enabled; a refused field still stops all but
    // "Hilfe" and "Schließen" when they are pressed.
    void updateExtra() override { button("computeButton")->setEnabled(true); }

    // KO_RECH.
    void recompute() {
        shown_ = Calc::rech(inputs());
        for (const auto& f : Calc::fields())
            if (f.amount) result(f.amount_name)->setValue(shown_.*f.amount);
        for (const auto& t : Calc::totals()) result(t.name)->setValue(shown_.*t.value);
        setHasResults(true);
    }

    // KO_DRUCK: the page always shows the amounts of the inputs on screen.
    void print() {
        VESTRAL_OP("KO_DRUCK");
        recompute();
        toolkit::print_job(this, Calc::druck(inputs(), shown_, core::settings()));
    }

    // One row of the form: the input's label, field and unit in columns 0 to 2, and its amount's
    // label ("=" or none), field and unit in columns 3 to 5. A total without an input puts its
    // label over columns 0 to 2. Either name may be empty.
    void costRow(QGridLayout* grid, int row, const char* input, const char* amount) {
        if (input && *input) addRow(grid, row, input, 0);
        if (!amount || !*amount) return;
        if (input && *input) {
            addRow(grid, row, amount, 3);
            return;
        }
        if (QLabel* l = labelOf(amount)) grid->addWidget(l, row, 0, 1, 3);
        grid->addWidget(result(amount), row, 4);
        if (QLabel* u = unitOf(amount)) grid->addWidget(u, row, 5);
    }

    // A grid for such rows.
    static QGridLayout* costGrid() {
        auto* grid = new QGridLayout;
        grid->setHorizontalSpacing(4);
        grid->setVerticalSpacing(3);
        grid->setColumnStretch(0, 1);
        return grid;
    }

  private:
    Inputs held_{};
    Results shown_{};
};

}  // namespace vestral::calc::kosten
