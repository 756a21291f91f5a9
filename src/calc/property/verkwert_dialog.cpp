#include "calc/property/verkwert_dialog.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>
#include <array>

#include "calc/property/property_dialog.h"
#include "calc/property/verkwert.h"
#include "calc/tax/afa75_link.h"
#include "core/opstack.h"
#include "core/program_settings.h"
#include "toolkit/messages.h"
#include "ui/blocks.h"
#include "ui/calculator_dialog.h"
#include "ui/numeric_field.h"

namespace vestral::calc {

namespace {

constexpr const char* kAmount = "@E 999,999,999.99 ";
constexpr const char* kShare = "@E 999.99 ";

ui::FormSpec verkwert_form() {
    ui::FormSpec f;
    f.object_name = "verkwertDialog";
    f.title = "Verkehrswert berechnen";
    f.help_topic = kVerkwertHelpTopic;
    f.fields = {
        {"NFLAECHE", "Grundstücksfläche", "m²", "@K@E 999,999.99 ", "Grundstücksfläche", 1},
        {"NBORIWERT", "Bodenrichtwert", "€", "@K@E 999,999.99 ", "Bodenrichtwert", 2},
        {"NBAUKOST", "Erstellungskosten", "€", "@K@E 99,999,999.99 ", "Baukosten", 3},
        {"NBKINDEX1", "Baukostenindex\rim Berechnungsjahr", "", "@K@E 999,999.99 ",
         "Baukostenindex im Berechnungsjahr", 4},
        {"NBKINDEX2", "Baukostenindex\rim Herstellungsjahr", "", "@K@E 999,999.99 ",
         "Baukostenindex im Herstellungsjahr", 5},
        {"NBEZJAHR", "Jahr der Bezugsfähigkeit", "", "@K@E 99999 ", "Jahr der Bezugsfertigkeit", 6},
        {"NBERJAHR", "Berechnungsjahr", "", "@K@E 99999 ", "Berechnungsjahr", 7},
    };
    f.results = {
        {"NVKWGRUND", "Grundstückswert", "€", kAmount},
        {"NVKWGPROZ", "", "%", kShare},
        {"NALTER", "Gebäudealter", "", "9999 "},
        {"NVKWBAU", "Gebäudewert", "€", kAmount},
        {"NVKWBPROZ", "", "%", kShare},
        {"NVKWALLES", "Verkehrswert für Grundstück + Gebäude insgesamt", "€", kAmount},
        {"NVKWAPROZ", "", "%", kShare},
    };
    f.buttons = {
        {"computeButton", "&Berechnen", "Verkehrswert errechnen", "Verkehrswert errechen",
         ui::ButtonRole::Compute},
        {"afaButton", "&Afa", "AfA errechnen", "AfA errechen", ui::ButtonRole::Action},
        {"helpButton", "&Hilfe", "Hilfe anzeigen", "Hilfe anzeigen", ui::ButtonRole::Help},
        {"closeButton", "&Schließen", "Dialog beenden", "Dialog beenden", ui::ButtonRole::Close},
    };
    f.width = 350;
    f.height = 565;
    return f;
}

ui::FormSpec vw_afa_form() {
    ui::FormSpec f;
    f.object_name = "vwAfaDialog";
    f.title = "AfA aus Verkehrswert berechnen";
    f.fields = {{"NKAUFDM", "Kaufpreis", "€", "@K@E 999,999,999.99 ", "Kaufpreis der Immobilie", 1}};
    f.results = {
        {"NVKWBPROZ", "Anteil des Gebäudewertes\raus vorheriger Berechnung", "%", kAmount},
        {"NWERTAFA", "Bemessungsgrundlage für\rdie Absetzung für Abnutzung", "€", kAmount},
    };
    f.buttons = {
        {"computeButton", "&Berechnen", "AfA berechnen", "AfA berechnen", ui::ButtonRole::Compute},
        {"closeButton", "&Schließen", "Dialog beenden", "Dialog beenden", ui::ButtonRole::Close},
    };
    f.width = 200;
    f.height = 301;
    return f;
}

// VERK_AFA: the depreciable base of a price by the building's share of the last calculation.
class VwAfaDialog : public ui::CalculatorDialog {
  public:
    VwAfaDialog(QWidget* parent, double price, double building_share)
        : CalculatorDialog(parent, vw_afa_form()), price_(price), share_(building_share) {
        QVBoxLayout* inner = look::panel_layout(this);
        inner->addLayout(rowsGrid({"NKAUFDM", "NVKWBPROZ", "NWERTAFA"}));
        inner->addStretch();
        inner->addLayout(buttonRow({"computeButton"}, {"closeButton"}));
        button("computeButton")->setDefault(true);
        onClick("computeButton", [this] {
            base_ = vw_afa_rech(number("NKAUFDM")->value(), share_);
            showResults();
            setHasResults(true);
            number("NKAUFDM")->setFocus();
        });
        showResults();
    }

    double price() const { return number("NKAUFDM")->value(); }
    double base() const { return base_; }

  protected:
    core::InpFail check(int) const override { return vw_afa_check(number("NKAUFDM")->value()); }
    void load() override { number("NKAUFDM")->setValue(price_); }
    // A new price leaves no base of the old one; the building's share stays as it was computed.
    void clearResults() override {
        base_ = 0;
        showResults();
    }

  private:
    void showResults() {
        result("NVKWBPROZ")->setValue(share_);
        result("NWERTAFA")->setValue(base_);
    }

    double price_;
    double share_;
    double base_ = 0;
};

constexpr std::array<double VwInputs::*, 7> kMembers{
    &VwInputs::NFLAECHE,  &VwInputs::NBORIWERT, &VwInputs::NBAUKOST, &VwInputs::NBKINDEX1,
    &VwInputs::NBKINDEX2, &VwInputs::NBEZJAHR,  &VwInputs::NBERJAHR};

class VerkwertDialog : public ui::CalculatorDialog {
  public:
    explicit VerkwertDialog(QWidget* parent) : CalculatorDialog(parent, verkwert_form()) {
        QVBoxLayout* inner = look::panel_layout(this);

        QGroupBox* land = look::group("Verkehrswert von Grund und Boden", "groupLand", this);
        auto* g1 = new QGridLayout(land);
        g1->setVerticalSpacing(3);
        addRow(g1, 0, "NFLAECHE");
        addRow(g1, 1, "NBORIWERT");
        addRow(g1, 2, "NVKWGRUND");
        g1->addWidget(result("NVKWGPROZ"), 3, 1);
        g1->addWidget(unitOf("NVKWGPROZ"), 3, 2);
        inner->addWidget(land);

        QGroupBox* building = look::group("Verkehrswert des Gebäudes", "groupBuilding", this);
        auto* g2 = new QGridLayout(building);
        g2->setVerticalSpacing(3);
        int row = 0;
        for (const char* n :
             {"NBAUKOST", "NBKINDEX1", "NBKINDEX2", "NBEZJAHR", "NBERJAHR", "NALTER", "NVKWBAU"})
            addRow(g2, row++, n);
        g2->addWidget(result("NVKWBPROZ"), row, 1);
        g2->addWidget(unitOf("NVKWBPROZ"), row, 2);
        inner->addWidget(building);

        auto* total = new QGridLayout;
        total->addWidget(labelOf("NVKWALLES"), 0, 0, 1, 3);
        total->addWidget(result("NVKWALLES"), 1, 1);
        total->addWidget(unitOf("NVKWALLES"), 1, 2);
        total->addWidget(result("NVKWAPROZ"), 2, 1);
        total->addWidget(unitOf("NVKWAPROZ"), 2, 2);
        look::align_with_group(total, building);
        inner->addLayout(total);
        for (QGridLayout* g : {g1, g2, total}) g->setColumnMinimumWidth(0, 150);
        // Shares and the age are short numbers; they stand right-aligned under the amounts.
        for (const char* n : {"NVKWGPROZ", "NVKWBPROZ", "NVKWAPROZ", "NALTER"}) {
            for (QGridLayout* g : {g1, g2, total}) {
                const int i = g->indexOf(result(n));
                if (i >= 0) g->itemAt(i)->setAlignment(Qt::AlignRight);
            }
        }
        for (const ui::ResultSpec& r : form().results) look::bold(result(r.name));

        inner->addStretch();
        button("computeButton")->setDefault(true);
        onClick("computeButton", [this] { compute(); });
        onClick("afaButton", [this] { verkAfa(); });
        inner->addLayout(buttonRow({"computeButton", "afaButton"}, {"helpButton", "closeButton"}));
    }

  protected:
    core::InpFail check(int n) const override {
        return vw_checks(inputs(false), look::current_year())[static_cast<size_t>(n - 1)];
    }
    bool canCompute() const override { return vw_can_compute(inputs(true)); }
    void updateExtra() override { button("afaButton")->setEnabled(vw_afa_enabled(res_)); }

    // VW_GDATA, then VW_INIT 0.
    void load() override {
        const VwLoaded l = vw_read_settings(core::settings().ini());
        for (size_t i = 0; i < kMembers.size(); ++i)
            number(form().fields[i].name)->setValue(l.in.*kMembers[i]);
        res_ = l.res;
        kaufdm_ = l.NKAUFDM;
        showResults();
    }

    // VW_WDATA: the inputs, the price and the results in one write of the settings file.
    void save() override {
        core::settings().ini().set_sections(vw_settings_write(inputs(false), res_, kaufdm_));
    }

    // An input changed: no value of the old inputs stays; the age is shown as VW_INIT 1 gives it.
    void clearResults() override {
        vw_input_changed(inputs(true), res_);
        showResults();
    }

  private:
    VwInputs inputs(bool live) const {
        VwInputs in;
        for (size_t i = 0; i < kMembers.size(); ++i) {
            const ui::NumericField* f = number(form().fields[i].name);
            in.*kMembers[i] = live ? f->liveValue() : f->value();
        }
        return in;
    }

    void showResults() {
        result("NVKWGRUND")->setValue(res_.NVKWGRUND);
        result("NVKWGPROZ")->setValue(res_.NVKWGPROZ);
        result("NALTER")->setValue(res_.NALTER);
        result("NVKWBAU")->setValue(res_.NVKWBAU);
        result("NVKWBPROZ")->setValue(res_.NVKWBPROZ);
        result("NVKWALLES")->setValue(res_.NVKWALLES);
        result("NVKWAPROZ")->setValue(res_.NVKWAPROZ);
    }

    // VW_RECH
    void compute() {
        res_ = vw_rech(inputs(false));
        showResults();
        setHasResults(true);
        number("NFLAECHE")->setFocus();
    }

    // VERK_AFA, and the question whether the base goes to the depreciation for letting.
    void verkAfa() {
        VESTRAL_OP("VERK_AFA");
        VwAfaDialog dlg(this, kaufdm_, res_.NVKWBPROZ);
        dlg.exec();
        kaufdm_ = dlg.price();
        res_.NWERTAFA = dlg.base();
        if (res_.NWERTAFA <= 0) return;
        if (!toolkit::ask_yes_no(this, kAfa75QuestionTitle, kAfa75Question, false)) return;
        core::IniFile ini = core::settings().ini();
        set_afa75_cost(ini, res_.NWERTAFA);
        empty_steu75e(core::settings().dir);
    }

    VwResults res_;
    double kaufdm_ = 0;
};

}  // namespace

void verkwert(QWidget* parent) {
    VESTRAL_OP("VERKWERT");
    VerkwertDialog dlg(parent);
    dlg.exec();
}

}  // namespace vestral::calc
