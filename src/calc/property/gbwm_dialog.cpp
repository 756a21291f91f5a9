// The earnings method with the minimum value: every intermediate value in two groups.
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QShowEvent>
#include <QVBoxLayout>
#include <array>

#include "calc/property/gbw_dialog.h"
#include "calc/property/gbwm.h"
#include "calc/property/property_dialog.h"
#include "core/opstack.h"
#include "core/program_settings.h"
#include "ui/blocks.h"
#include "ui/calculator_dialog.h"
#include "ui/numeric_field.h"

namespace vestral::calc {

namespace {

ui::FormSpec gbwm_form() {
    ui::FormSpec f;
    f.object_name = "gbwmDialog";
    f.title = "Grundbesitzwert nach Ertragswertverfahren und Mindestwertberechnung";
    f.help_topic = kGbwmHelpTopic;
    f.fields = {
        {"NWFLAECHE", "Wohnfläche", "m²", "@K@E 999,999,999 ", "Wohnfläche in qm", 1},
        {"NMMIETE", "monatliche Netto-Kaltmiete", "€ / m²", "@K@E 999,999.99 ", "monatliche Miete", 2},
        {"NBEZJAHR", "Jahr der Bezugsfertigkeit", "", "@K 99999 ", "Erstbezugsjahr", 3},
        {"NBESJAHR", "Besteuerungsjahr", "", "@K 99999 ", "Besteuerungsjahr", 4},
        {"NGFLAECHE", "Grundstücksfläche", "m²", "@K@E 999,999,999.99 ", "Grundstücksfläche", 5},
        {"NBRWERT", "Bodenrichtwert", "€ / m²", "@K@E 999,999.99 ", "Bodenrichtwert", 6},
    };
    const char* amount = "@E 999,999,999.99 ";
    f.results = {
        {"NJMIETE", "Jahresmiete", "€", amount},
        {"NJMIETEV", "Jahresmiete * Vervielfältiger (12,5)", "€", amount},
        {"NALTER", "Alter", "Jahre", "9999 "},
        {"NWERTMIND", "Wertminderung pro Jahr", "%", amount},
        {"NWERTMPR", "insgesamt", "%", amount},
        {"NWERTMDM", "abzuzieh. Wertminderung", "€", amount},
        {"NWERTREST", "verbleibend", "€", amount},
        {"NEINZWODM", "Zuschlag", "€", amount},
        {"NWERTALL", "Grundbesitzwert", "€", amount},
        {"NGBRWERT", "Fläche x Bodenrichtwert", "€", amount},
        {"NGBRREST", "davon 80 %", "€", amount},
        {"NGBRALL", "Mindestwert", "€", amount},
        {"NERGEBNIS", "anzusetzender Grundbesitzwert", "€", amount},
    };
    f.buttons = {
        {"computeButton", "&Berechnen", "Grundbesitzwert errechnen", "Grundbesitzwert errechnen",
         ui::ButtonRole::Compute},
        {"helpButton", "&Hilfe", "Hilfe anzeigen", "Hilfe anzeigen", ui::ButtonRole::Help},
        {"closeButton", "&Schließen", "Dialog beenden", "Dialog beenden", ui::ButtonRole::Close},
    };
    f.width = 450;
    f.height = 551;
    return f;
}

constexpr std::array<double GbwmInputs::*, 6> kMembers{&GbwmInputs::NWFLAECHE, &GbwmInputs::NMMIETE,
                                                       &GbwmInputs::NBEZJAHR,  &GbwmInputs::NBESJAHR,
                                                       &GbwmInputs::NGFLAECHE, &GbwmInputs::NBRWERT};

class GbwmDialog : public ui::CalculatorDialog {
  public:
    explicit GbwmDialog(QWidget* parent) : CalculatorDialog(parent, gbwm_form()) {
        QVBoxLayout* inner = look::panel_layout(this);

        QGroupBox* earnings = look::group("Ertragswertverfahren", "groupEarnings", this);
        auto* g1 = new QGridLayout(earnings);
        g1->setVerticalSpacing(3);
        int row = 0;
        for (const char* n : {"NWFLAECHE", "NMMIETE", "NBEZJAHR", "NBESJAHR"}) addRow(g1, row++, n);
        house_ = new QCheckBox("&Ja", this);
        house_->setObjectName("LEINZWO");
        statusHint(house_, "Handelt es sich um ein Ein- oder Zweifamilienhaus ?");
        connect(house_, &QCheckBox::toggled, this, [this] { guarded([this] { invalidate(); }); });
        g1->addWidget(ui::label("Ein- oder Zweifamilienhaus", this), row, 0);
        g1->addWidget(house_, row++, 1);
        g1->setRowMinimumHeight(row++, 6);
        for (const char* n : {"NJMIETE", "NJMIETEV", "NALTER", "NWERTMIND", "NWERTMPR", "NWERTMDM",
                              "NWERTREST", "NEINZWODM", "NWERTALL"})
            addRow(g1, row++, n);
        inner->addWidget(earnings);

        QGroupBox* minimum = look::group("Mindestwertberechnung", "groupMinimum", this);
        auto* g2 = new QGridLayout(minimum);
        g2->setVerticalSpacing(3);
        row = 0;
        for (const char* n : {"NGFLAECHE", "NBRWERT", "NGBRWERT", "NGBRREST", "NGBRALL"})
            addRow(g2, row++, n);
        inner->addWidget(minimum);

        QGridLayout* total = rowsGrid({"NERGEBNIS"});
        look::align_with_group(total, minimum);
        inner->addLayout(total);
        // The labels of all three blocks share one column width, so the values line up.
        for (QGridLayout* g : {g1, g2, total}) g->setColumnMinimumWidth(0, 230);

        for (const char* n :
             {"NJMIETE", "NJMIETEV", "NALTER", "NWERTMIND", "NWERTMPR", "NWERTMDM", "NWERTREST", "NEINZWODM",
              "NWERTALL", "NGBRWERT", "NGBRREST", "NGBRALL", "NERGEBNIS"})
            look::bold(result(n));

        inner->addStretch();
        button("computeButton")->setDefault(true);
        onClick("computeButton", [this] { compute(); });
        inner->addLayout(buttonRow({"computeButton"}, {"helpButton", "closeButton"}));
        showResults(GbwmResults{});
    }

  protected:
    core::InpFail check(int n) const override {
        return gbwm_checks(inputs(false))[static_cast<size_t>(n - 1)];
    }
    bool canCompute() const override { return gbwm_can_compute(inputs(true)); }

    // GBWMGDATA
    void load() override {
        const GbwmInputs in = gbwm_read_settings(core::settings().ini());
        for (size_t i = 0; i < kMembers.size(); ++i) number(form().fields[i].name)->setValue(in.*kMembers[i]);
        house_->setChecked(in.LEINZWO);
        showResults(GbwmResults{});
    }

    // GBWMWDATA
    void save() override {
        VESTRAL_OP("GBWMWDATA");
        core::settings().ini().set_many(kGbwSection, gbwm_settings_entries(inputs(false)));
    }

    // The groups' style sheet polishes their fields when they are first shown; the colours of the
    // results are set after that.
    void showEvent(QShowEvent* e) override {
        CalculatorDialog::showEvent(e);
        colour();
    }

    // GBWMIDATA: the results are 0 again (the fixed reduction per year stays), greyed where 0.
    void clearResults() override { showResults(GbwmResults{}); }

  private:
    GbwmInputs inputs(bool live) const {
        GbwmInputs in;
        for (size_t i = 0; i < kMembers.size(); ++i) {
            const ui::NumericField* f = number(form().fields[i].name);
            in.*kMembers[i] = live ? f->liveValue() : f->value();
        }
        in.LEINZWO = house_ && house_->isChecked();
        return in;
    }

    void showResults(const GbwmResults& r) {
        result("NJMIETE")->setValue(r.NJMIETE);
        result("NJMIETEV")->setValue(r.NJMIETEV);
        result("NALTER")->setValue(r.NALTER);
        result("NWERTMIND")->setValue(r.NWERTMIND);
        result("NWERTMPR")->setValue(r.NWERTMPR);
        result("NWERTMDM")->setValue(r.NWERTMDM);
        result("NWERTREST")->setValue(r.NWERTREST);
        result("NEINZWODM")->setValue(r.NEINZWODM);
        result("NWERTALL")->setValue(r.NWERTALL);
        result("NGBRWERT")->setValue(r.NGBRWERT);
        result("NGBRREST")->setValue(r.NGBRREST);
        result("NGBRALL")->setValue(r.NGBRALL);
        result("NERGEBNIS")->setValue(r.NERGEBNIS);
        colour();
    }

    // The picked values on magenta; the surcharge and the minimum value greyed while 0.
    void colour() {
        for (const char* n : {"NEINZWODM", "NGBRWERT", "NGBRREST", "NGBRALL"})
            look::grey_when_zero(result(n));
        for (const char* n : {"NWERTALL", "NGBRALL", "NERGEBNIS"})
            if (result(n)->isEnabled()) look::highlight(result(n), true);
    }

    void compute() {
        showResults(gbwmrech(inputs(false)));
        setHasResults(true);
    }

    QCheckBox* house_ = nullptr;
};

}  // namespace

void ber_gbwm(QWidget* parent) {
    VESTRAL_OP("BER_GBWM");
    GbwmDialog dlg(parent);
    dlg.exec();
}

}  // namespace vestral::calc
