#include "calc/tax/afawert_dialog.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QShowEvent>
#include <QVBoxLayout>

#include "calc/property/property_dialog.h"
#include "calc/property/verkwert_dialog.h"
#include "calc/tax/afa75_link.h"
#include "calc/tax/afawert.h"
#include "core/opstack.h"
#include "core/program_settings.h"
#include "toolkit/help.h"
#include "toolkit/messages.h"
#include "ui/blocks.h"
#include "ui/calculator_dialog.h"
#include "ui/numeric_field.h"

namespace vestral::calc {

namespace {

constexpr const char* kAmount = "@E 999,999,999.99 ";
constexpr const char* kShare = "@E 999.99 ";

ui::FormSpec afa_form() {
    ui::FormSpec f;
    f.object_name = "afaDialog";
    f.title = "Wert der Abschreibung für Abnutzung (AfA) berechnen";
    f.help_topic = kAfaHelpTopic;
    f.fields = {
        {"NKAUFDM", "Kaufpreis für das bebaute Grundstück insgesamt", "€", "@K@E 999,999,999.99 ",
         "Kaufpreis bebautes Grundstück", 0},
        {"NFA_GRUND", "Wert des Finanzamts für Grund und Boden", "€", "@K@E 999,999,999.99 ",
         "Grundstückswert berechnet vom Finanzamt", 1},
    };
    f.results = {
        {"NFA_GPROZ", "", "%", kShare},
        {"NFA_BAU", "Wert des Gebäudes demzufolge", "€", kAmount},
        {"NFA_BPROZ", "", "%", kShare},
        {"NVW_GRUND", "Verkehrswert für Grund und Boden", "€", kAmount},
        {"NVW_GPROZ", "", "%", kShare},
        {"NVW_BAU", "Verkehrswert für das Gebäude", "€", kAmount},
        {"NVW_BPROZ", "", "%", kShare},
        {"NVWV_BAU", "Ergebnis nach Ansatz des Verhältniswertes", "€", kAmount},
        {"NVWV_PROZ", "", "%", kShare},
        {"NVWR_GRUND", "Grundstückswert aus Verkehrswertberechnung", "€", kAmount},
        {"NVWR_GPROZ", "", "%", kShare},
        {"NVWR_BAU", "Gebäudewert nach Restwertmethode", "€", kAmount},
        {"NVWR_PROZ", "", "%", kShare},
        {"NVW2_GRUND", "Ansatz des Grundstücks mit Pauschal 20%", "€", kAmount},
        {"NVW2_GPROZ", "", "%", kShare},
        {"NVW2_BAU", "Wert des Gebäudes demzufolge", "€", kAmount},
        {"NVW2_PROZ", "", "%", kShare},
    };
    f.buttons = {
        {"marketButton", "&Verkehrswert berechnen", "Verkehrswert berechnen", "Verkehrswert errechen",
         ui::ButtonRole::Action},
        {"computeButton", "&Berechnen", "Ergebnis berechnen", "Ergebnis berechen", ui::ButtonRole::Compute},
        {"detailsButton", "&Details", "Details anzeigen", "Details anzeigen", ui::ButtonRole::Action},
        {"helpButton", "&Hilfe", "Hilfe anzeigen", "", ui::ButtonRole::Help},
        {"closeButton", "&Schließen", "Dialog beenden", "", ui::ButtonRole::Close},
    };
    f.width = 460;
    f.height = 490;
    f.placement = ui::Placement::BelowMain;
    f.dy = 50;
    f.dx = 20;
    return f;
}

// The value of each result field in the values of the calculator.
struct Shown {
    const char* name;
    double AfaWertValues::*value;
};
constexpr Shown kShown[] = {
    {"NFA_GPROZ", &AfaWertValues::NFA_GPROZ},   {"NFA_BAU", &AfaWertValues::NFA_BAU},
    {"NFA_BPROZ", &AfaWertValues::NFA_BPROZ},   {"NVW_GRUND", &AfaWertValues::NVW_GRUND},
    {"NVW_GPROZ", &AfaWertValues::NVW_GPROZ},   {"NVW_BAU", &AfaWertValues::NVW_BAU},
    {"NVW_BPROZ", &AfaWertValues::NVW_BPROZ},   {"NVWV_BAU", &AfaWertValues::NVWV_BAU},
    {"NVWV_PROZ", &AfaWertValues::NVWV_PROZ},   {"NVWR_GRUND", &AfaWertValues::NVWR_GRUND},
    {"NVWR_GPROZ", &AfaWertValues::NVWR_GPROZ}, {"NVWR_BAU", &AfaWertValues::NVWR_BAU},
    {"NVWR_PROZ", &AfaWertValues::NVWR_PROZ},   {"NVW2_GRUND", &AfaWertValues::NVW2_GRUND},
    {"NVW2_GPROZ", &AfaWertValues::NVW2_GPROZ}, {"NVW2_BAU", &AfaWertValues::NVW2_BAU},
    {"NVW2_PROZ", &AfaWertValues::NVW2_PROZ},
};

const char* building_field(AfaMethod m) {
    switch (m) {
        case AfaMethod::TaxOffice:
            return "NFA_BAU";
        case AfaMethod::Ratio:
            return "NVWV_BAU";
        case AfaMethod::Flat20:
            return "NVW2_BAU";
        case AfaMethod::Residual:
            return "NVWR_BAU";
    }
    return "NFA_BAU";
}

ui::FormSpec details_form() {
    ui::FormSpec f;
    f.object_name = "afaDetails";
    f.title = "Wert für AfA errechnen - Details";
    f.results = {
        {"NKAUFDM", "Kaufpreis für das bebaute Grundstück insgesamt", "€", kAmount},
        {"NFA_BAU", "Ergebnis des Finanzamts", "€", kAmount},
        {"NVWV_BAU", "Ergebnis der Verhältnisse der Verkehrswerte", "€", kAmount},
        {"NVW2_BAU", "Ergebnis der 20%-Methode (Pauschalbewertung)", "€", kAmount},
        {"NVWR_BAU", "Ergebnis der Restwert-Methode", "€", kAmount},
        {"BEST", "Günstigster Wert", "€", kAmount},
    };
    f.buttons = {{"closeButton", "&Schließen", "Dialog beenden", "", ui::ButtonRole::Close}};
    f.width = 280;
    f.height = 410;
    return f;
}

// AFA_ERGEBNIS's dialog: the four building values, the best one and its method.
class AfaDetails : public ui::CalculatorDialog {
  public:
    AfaDetails(QWidget* parent, const AfaWertValues& v) : CalculatorDialog(parent, details_form()) {
        QVBoxLayout* inner = look::panel_layout(this);
        QGroupBox* fazit = look::group("Fazit", "groupFazit", this);
        auto* grid = new QGridLayout(fazit);
        grid->setVerticalSpacing(4);
        int row = 0;
        for (const char* n : {"NKAUFDM", "NFA_BAU", "NVWV_BAU", "NVW2_BAU", "NVWR_BAU", "BEST"}) {
            if (std::string(n) == "BEST") grid->setRowMinimumHeight(row++, 8);
            addRow(grid, row++, n);
        }
        auto* method = ui::label(QString::fromStdString(afa_best_text(v)), this);
        method->setObjectName("bestMethod");
        grid->addWidget(method, row, 0, 1, 3);
        inner->addWidget(fazit);
        inner->addStretch();
        inner->addLayout(buttonRow({}, {"closeButton"}));
        button("closeButton")->setDefault(true);

        result("NKAUFDM")->setValue(v.NKAUFDM);
        result("NFA_BAU")->setValue(v.NFA_BAU);
        result("NVWV_BAU")->setValue(v.NVWV_BAU);
        result("NVW2_BAU")->setValue(v.NVW2_BAU);
        result("NVWR_BAU")->setValue(v.NVWR_BAU);
        result("BEST")->setValue(afa_best(v));
    }

  protected:
    // Coloured once shown: the group's style sheet polishes its fields when they are first shown.
    void showEvent(QShowEvent* e) override {
        CalculatorDialog::showEvent(e);
        look::best(result("BEST"));
    }
};

class AfaDialog : public ui::CalculatorDialog {
  public:
    explicit AfaDialog(QWidget* parent) : CalculatorDialog(parent, afa_form()) {
        QVBoxLayout* inner = look::panel_layout(this);

        auto* top = new QGridLayout;
        addRow(top, 0, "NKAUFDM");
        inner->addLayout(top);

        QGroupBox* tax = look::group("So hat das Finanzamt gerechnet", "groupTaxOffice", this);
        auto* g1 = grid(tax);
        addRow(g1, 0, "NFA_GRUND");
        share(g1, 0, "NFA_GPROZ");
        pair(g1, 1, "NFA_BAU", "NFA_BPROZ");
        inner->addWidget(tax);

        QGroupBox* market = look::group("Ergebnis der Verkehrtswertberechnung", "groupMarket", this);
        auto* g2 = grid(market);
        pair(g2, 0, "NVW_GRUND", "NVW_GPROZ");
        pair(g2, 1, "NVW_BAU", "NVW_BPROZ");
        pair(g2, 2, "NVWV_BAU", "NVWV_PROZ");
        auto* market_row = new QHBoxLayout;
        market_row->addWidget(button("marketButton"));
        market_row->addStretch();
        g2->addLayout(market_row, 3, 0, 1, 5);
        inner->addWidget(market);

        QGroupBox* residual = look::group("Ergebnis der Restwert-Methode", "groupResidual", this);
        auto* g3 = grid(residual);
        pair(g3, 0, "NVWR_GRUND", "NVWR_GPROZ");
        pair(g3, 1, "NVWR_BAU", "NVWR_PROZ");
        inner->addWidget(residual);

        QGroupBox* flat = look::group("Ergebnis der 20%-Methode", "groupFlat", this);
        auto* g4 = grid(flat);
        pair(g4, 0, "NVW2_GRUND", "NVW2_GPROZ");
        pair(g4, 1, "NVW2_BAU", "NVW2_PROZ");
        inner->addWidget(flat);
        look::align_with_group(top, flat);
        // One label column for all groups, so the amounts stand one under the other.
        for (QGridLayout* g : {top, g1, g2, g3, g4}) g->setColumnMinimumWidth(0, 290);

        inner->addStretch();
        button("computeButton")->setDefault(true);
        onClick("computeButton", [this] { compute(); });
        onClick("marketButton", [this] { marketValue(); });
        onClick("detailsButton", [this] { details(); });
        inner->addLayout(buttonRow({"computeButton", "detailsButton"}, {"helpButton", "closeButton"}));

        // A new price clears everything computed from the old one (AFA_INIT 1); a Tab through the
        // field without a change keeps it all.
        connect(number("NKAUFDM"), &ui::InputField::edited, this, [this] {
            guarded([this] {
                const ui::NumericField* price = number("NKAUFDM");
                if (price->liveValue() == v_.NKAUFDM) return;
                v_.NKAUFDM = price->liveValue();
                afa_init(1, v_);
                v_.NVW2_GRUND = v_.NVW2_GPROZ = v_.NVW2_BAU = v_.NVW2_PROZ = 0;
                number("NFA_GRUND")->setValue(0);
                highlighted_ = false;
                showValues();
            });
        });
        // A new land value of the tax office leaves no tax-office result of the old one.
        connect(number("NFA_GRUND"), &ui::InputField::edited, this, [this] {
            guarded([this] {
                const ui::NumericField* land = number("NFA_GRUND");
                if (land->liveValue() == v_.NFA_GRUND) return;
                v_.NFA_GRUND = land->liveValue();
                v_.NFA_BAU = v_.NFA_GPROZ = v_.NFA_BPROZ = 0;
                highlighted_ = false;
                showValues();
            });
        });
        // Leaving the land value computes, with a value that passes its check only.
        connect(number("NFA_GRUND"), &ui::InputField::checked, this, [this](bool passed) {
            guarded([this, passed] {
                if (passed) rech();
            });
        });
    }

  protected:
    core::InpFail check(int) const override { return afa_land_check(number("NFA_GRUND")->value()); }
    bool canCompute() const override {
        AfaWertValues v = v_;
        v.NKAUFDM = number("NKAUFDM")->liveValue();
        v.NFA_GRUND = number("NFA_GRUND")->liveValue();
        return afa_can_compute(v);
    }
    void updateExtra() override {
        button("marketButton")->setEnabled(number("NKAUFDM")->liveValue() > 0);
        button("detailsButton")->setEnabled(afa_details_enabled(v_));
    }

    // AFA_GDATA, then AFA_INIT 0.
    void load() override {
        const AfaWertValues loaded = afa_read_settings(core::settings().ini());
        number("NKAUFDM")->setValue(loaded.NKAUFDM);
        number("NFA_GRUND")->setValue(loaded.NFA_GRUND);
        v_.NKAUFDM = loaded.NKAUFDM;
        v_.NFA_GRUND = loaded.NFA_GRUND;
        afa_init(0, v_);
        showValues();
    }

    // AFA_WDATA
    void save() override {
        VESTRAL_OP("AFA_WDATA");
        core::settings().ini().set_many(kAfaWertSettings.name, afa_settings_entries(inputs()));
    }

    // The base clears the result fields; what still holds is drawn again from the values.
    void clearResults() override { showValues(); }

  private:
    static QGridLayout* grid(QGroupBox* g) {
        auto* l = new QGridLayout(g);
        l->setVerticalSpacing(3);
        l->setHorizontalSpacing(6);
        return l;
    }
    void share(QGridLayout* g, int row, const char* name) {
        g->addWidget(result(name), row, 3);
        g->addWidget(unitOf(name), row, 4);
    }
    void pair(QGridLayout* g, int row, const char* amount, const char* percent) {
        addRow(g, row, amount);
        share(g, row, percent);
    }

    AfaWertValues inputs() const {
        AfaWertValues v = v_;
        v.NKAUFDM = number("NKAUFDM")->value();
        v.NFA_GRUND = number("NFA_GRUND")->value();
        return v;
    }

    void showValues() {
        for (const Shown& s : kShown) result(s.name)->setValue(v_.*s.value);
        for (AfaMethod m : kAfaMethods) look::highlight(result(building_field(m)), false);
        if (highlighted_) look::highlight(result(building_field(afa_best_method(v_))), true);
        updateButtons();
    }

    // AFA_RECH
    void rech() {
        v_ = afa_rech(inputs());
        highlighted_ = true;
        showValues();
    }

    void compute() { rech(); }

    void marketValue() {
        VESTRAL_OP("BER_AFA");
        button("computeButton")->setEnabled(false);
        button("detailsButton")->setEnabled(false);
        v_ = inputs();
        afa_init(0, v_);
        highlighted_ = false;
        showValues();
        core::settings().ini().set_many(kAfaWertSettings.name, afa_price_entries(v_));
        verkwert(this);
        toolkit::help::set_topic(kAfaHelpTopic);
        afa_take_market_values(v_, vw_read_market_values(core::settings().ini()));
        showValues();
    }

    // AFA_ERGEBNIS
    void details() {
        VESTRAL_OP("AFA_ERGEBNIS");
        const AfaWertValues v = inputs();
        const double before = afa75_cost(core::settings().ini());
        {
            AfaDetails dlg(this, v);
            dlg.exec();
        }
        const double best = afa_best(v);
        if (afa75_cost_equals(before, best)) return;
        if (!toolkit::ask_yes_no(this, kAfa75QuestionTitle, kAfa75Question, false)) return;
        core::IniFile ini = core::settings().ini();
        set_afa75_cost(ini, best);
    }

    AfaWertValues v_;
    bool highlighted_ = false;
};

}  // namespace

void ber_afa(QWidget* parent) {
    VESTRAL_OP("BER_AFA");
    AfaDialog dlg(parent);
    dlg.exec();
}

}  // namespace vestral::calc
