#include "calc/property/gbw_dialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QVBoxLayout>
#include <array>

#include "calc/property/gbw.h"
#include "calc/property/property_dialog.h"
#include "core/opstack.h"
#include "core/program_settings.h"
#include "ui/blocks.h"
#include "ui/calculator_dialog.h"
#include "ui/numeric_field.h"

namespace vestral::calc {

namespace {

ui::FormSpec gbw_form() {
    ui::FormSpec f;
    f.object_name = "gbwDialog";
    f.title = "Grundbesitzwert errechnen";
    f.help_topic = kGbwHelpTopic;
    f.fields = {
        {"NJAHR", "bezugsfertig seit", "Jahr", "@K@E 99999 ", "Jahr der Bezugsfertigkeit", 1},
        {"NFLAECHE", "Wohnfläche", "m²", "@K@E 999,999.99 ", "Wohnfläche in qm", 2},
        {"NMIETE", "monatliche Netto-Kaltmiete", "€ / m²", "@K@E 999,999.99 ", "Miete pro qm", 3},
    };
    f.results = {{"NGBWERT", "Grundbesitzwert", "€", "@E 999,999,999.99 "}};
    f.buttons = {
        {"computeButton", "&Berechnen", "Grundbesitzwert errechnen", "Grundbesitzwert errechnen",
         ui::ButtonRole::Compute},
        {"helpButton", "&Hilfe", "Hilfe anzeigen", "", ui::ButtonRole::Help},
        {"closeButton", "&Schließen", "Dialog beenden", "", ui::ButtonRole::Close},
    };
    f.width = 225;
    f.height = 301;
    return f;
}

constexpr std::array<double GbwInputs::*, 3> kMembers{&GbwInputs::NJAHR, &GbwInputs::NFLAECHE,
                                                      &GbwInputs::NMIETE};

class GbwDialog : public ui::CalculatorDialog {
  public:
    explicit GbwDialog(QWidget* parent) : CalculatorDialog(parent, gbw_form()) {
        QVBoxLayout* inner = look::panel_layout(this);
        QGridLayout* grid = rowsGrid({"NJAHR", "NFLAECHE", "NMIETE"});
        house_ = new QCheckBox(" Ein- oder Zweifamilienhaus", this);
        house_->setObjectName("LEINZWEI");
        statusHint(house_, "Handelt es sich um ein Ein- oder Zweifamilienhaus ?");
        connect(house_, &QCheckBox::toggled, this, [this] { guarded([this] { invalidate(); }); });
        grid->addWidget(house_, 3, 0, 1, 3);
        grid->setRowMinimumHeight(4, 10);
        addRow(grid, 5, "NGBWERT");
        look::bold(result("NGBWERT"));
        inner->addLayout(grid);
        inner->addStretch();
        button("computeButton")->setDefault(true);
        onClick("computeButton", [this] { compute(); });
        inner->addLayout(buttonRow({"computeButton"}, {"helpButton", "closeButton"}));
    }

  protected:
    core::InpFail check(int n) const override {
        return gbw_checks(inputs(false), look::current_year())[static_cast<size_t>(n - 1)];
    }
    bool canCompute() const override { return gbw_can_compute(inputs(true)); }

    // GBWGDATA
    void load() override {
        const GbwInputs in = gbw_read_settings(core::settings().ini());
        for (size_t i = 0; i < kMembers.size(); ++i) number(form().fields[i].name)->setValue(in.*kMembers[i]);
        house_->setChecked(in.LEINZWEI);
    }

    // GBWWDATA1
    void save() override {
        VESTRAL_OP("GBWWDATA1");
        core::settings().ini().set_many(kGbwSection, gbw_settings_entries(inputs(false)));
    }

  private:
    // `live`: what the fields hold while being typed in, for the enabling rule.
    GbwInputs inputs(bool live) const {
        GbwInputs in;
        for (size_t i = 0; i < kMembers.size(); ++i) {
            const ui::NumericField* f = number(form().fields[i].name);
            in.*kMembers[i] = live ? f->liveValue() : f->value();
        }
        in.LEINZWEI = house_->isChecked();
        return in;
    }

    void compute() {
        result("NGBWERT")->setValue(gbwrech(inputs(false), look::current_year()));
        setHasResults(true);
    }

    QCheckBox* house_ = nullptr;
};

}  // namespace

void ber_gbw(QWidget* parent) {
    VESTRAL_OP("BER_GBW");
    GbwDialog dlg(parent);
    dlg.exec();
}

}  // namespace vestral::calc
