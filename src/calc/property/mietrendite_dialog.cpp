#include "calc/property/mietrendite_dialog.h"

#include <QGridLayout>
#include <QVBoxLayout>

#include "calc/property/mietrendite.h"
#include "calc/property/property_dialog.h"
#include "core/opstack.h"
#include "core/program_settings.h"
#include "ui/blocks.h"
#include "ui/calculator_dialog.h"
#include "ui/numeric_field.h"

namespace vestral::calc {

namespace {

constexpr const char* kAmountInput = "@K@E 999,999,999.99 ";

ui::FormSpec nmiet_form() {
    ui::FormSpec f;
    f.object_name = "nmietDialog";
    f.title = "Mietrendite errechnen - Netto";
    f.help_topic = kNmietHelpTopic;
    f.fields = {
        {"NERTRAG", "Jahres-Nettokaltmiete", "€", kAmountInput, "Jahresreinertrag", 1},
        {"NKAUFDM", "Kaufpreis", "€", kAmountInput, "Kaufpreis der Immobilie", 2},
    };
    f.results = {{"NRENDITE", "Mietrendite netto", "%", "@E 999,999,999.99 "}};
    f.buttons = {
        {"computeButton", "&Berechnen", "Netto-Mietrendite errechnen", "Nettorendite errechen",
         ui::ButtonRole::Compute},
        {"helpButton", "&Hilfe", "Hilfe anzeigen", "Hilfe anzeigen", ui::ButtonRole::Help},
        {"closeButton", "&Schließen", "Dialog beenden", "Dialog beenden", ui::ButtonRole::Close},
    };
    f.width = 225;
    f.height = 301;
    return f;
}

ui::FormSpec bmiet_form() {
    ui::FormSpec f;
    f.object_name = "bmietDialog";
    f.title = "Mietrendite errechnen (Brutto) - Methode 1";
    f.help_topic = kBmietHelpTopic;
    f.fields = {
        {"NKAUFDM", "Kaufpreis", "€", kAmountInput, "Kaufpreis der Immobilie", 1},
        {"NKALTMIETE", "Jahres-Nettokaltmiete", "€", kAmountInput, "Jahres-Nettokaltmiete", 2},
    };
    f.results = {
        {"NPMVERHALT", "Preis-Miet-Verhältnis", "fach", "@E 999,999,999.99"},
        {"NRENDITE", "Mietrendite brutto", "%", "@E 999,999,999.99"},
    };
    f.buttons = {
        {"computeButton", "&Berechnen", "Brutto-Mietrendite errechnen", "Bruttoredite errechen",
         ui::ButtonRole::Compute},
        {"helpButton", "&Hilfe", "Hilfe anzeigen", "Hilfe anzeigen", ui::ButtonRole::Help},
        {"closeButton", "&Schließen", "Dialog beenden", "Dialog beenden", ui::ButtonRole::Close},
    };
    f.width = 225;
    f.height = 301;
    return f;
}

// Both dialogs: inputs above, the results below them, the buttons at the bottom.
void lay_out(ui::CalculatorDialog* d, QGridLayout* inputs, QGridLayout* results, QHBoxLayout* buttons) {
    QVBoxLayout* inner = look::panel_layout(d);
    inner->addLayout(inputs);
    inner->addSpacing(10);
    inner->addLayout(results);
    inner->addStretch();
    inner->addLayout(buttons);
}

double field_value(const ui::NumericField* f, bool live) {
    return live ? f->liveValue() : f->value();
}

class NmietDialog : public ui::CalculatorDialog {
  public:
    explicit NmietDialog(QWidget* parent) : CalculatorDialog(parent, nmiet_form()) {
        lay_out(this, rowsGrid({"NERTRAG", "NKAUFDM"}), rowsGrid({"NRENDITE"}),
                buttonRow({"computeButton"}, {"helpButton", "closeButton"}));
        look::bold(result("NRENDITE"));
        button("computeButton")->setDefault(true);
        onClick("computeButton", [this] {
            result("NRENDITE")->setValue(nmietrech(inputs(false)));
            setHasResults(true);
        });
    }

  protected:
    core::InpFail check(int n) const override {
        return nmiet_checks(inputs(false))[static_cast<size_t>(n - 1)];
    }
    bool canCompute() const override { return nmiet_can_compute(inputs(true)); }
    void load() override {
        const NmietInputs in = nmiet_read_settings(core::settings().ini());
        number("NERTRAG")->setValue(in.NERTRAG);
        number("NKAUFDM")->setValue(in.NKAUFDM);
    }
    void save() override {
        VESTRAL_OP("NMIETWDATA");
        core::settings().ini().set_many(kMietSection, nmiet_settings_entries(inputs(false)));
    }

  private:
    NmietInputs inputs(bool live) const {
        return {field_value(number("NERTRAG"), live), field_value(number("NKAUFDM"), live)};
    }
};

class BmietDialog : public ui::CalculatorDialog {
  public:
    explicit BmietDialog(QWidget* parent) : CalculatorDialog(parent, bmiet_form()) {
        lay_out(this, rowsGrid({"NKAUFDM", "NKALTMIETE"}), rowsGrid({"NPMVERHALT", "NRENDITE"}),
                buttonRow({"computeButton"}, {"helpButton", "closeButton"}));
        look::bold(result("NPMVERHALT"));
        look::bold(result("NRENDITE"));
        button("computeButton")->setDefault(true);
        onClick("computeButton", [this] {
            shown_ = mietrech1(inputs(false));
            showResults();
            setHasResults(true);
        });
    }

  protected:
    core::InpFail check(int n) const override {
        return bmiet_checks(inputs(false))[static_cast<size_t>(n - 1)];
    }
    bool canCompute() const override { return bmiet_can_compute(inputs(true)); }
    void load() override {
        const BmietInputs in = bmiet_read_settings(core::settings().ini());
        number("NKAUFDM")->setValue(in.NKAUFDM);
        number("NKALTMIETE")->setValue(in.NKALTMIETE);
    }
    void save() override {
        VESTRAL_OP("MIETWDATA1");
        core::settings().ini().set_many(kMietSection, bmiet_settings_entries(inputs(false)));
    }
    // This calculator keeps its last results on screen while the inputs are edited, until the
    // next "Berechnen".
    void clearResults() override { showResults(); }

  private:
    BmietInputs inputs(bool live) const {
        return {field_value(number("NKAUFDM"), live), field_value(number("NKALTMIETE"), live)};
    }
    void showResults() {
        result("NPMVERHALT")->setValue(shown_.NPMVERHALT);
        result("NRENDITE")->setValue(shown_.NRENDITE);
    }

    BmietResults shown_;
};

}  // namespace

void ber_nmiet(QWidget* parent) {
    VESTRAL_OP("BER_NMIET");
    NmietDialog dlg(parent);
    dlg.exec();
}

void ber_bmiet1(QWidget* parent) {
    VESTRAL_OP("BER_BMIET1");
    BmietDialog dlg(parent);
    dlg.exec();
}

}  // namespace vestral::calc
