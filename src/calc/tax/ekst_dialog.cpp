#include "calc/tax/ekst_dialog.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <filesystem>
#include <iterator>
#include <system_error>

#include "calc/tax/ekst.h"
#include "core/files.h"
#include "core/numbers.h"
#include "core/opstack.h"
#include "core/program_settings.h"
#include "toolkit/wait_cursor.h"
#include "ui/blocks.h"
#include "ui/calculator_dialog.h"
#include "ui/grid_dialog.h"
#include "ui/numeric_field.h"

namespace vestral::calc {

namespace {

constexpr int kTableHeight = 300;
constexpr int kTableWidth = 502;
constexpr const char* kMoney = "@E 999,999,999.99 ";

// MAKETEMP: the work table is the dialog's own, created here when it is missing.
bool maketemp(core::dbf::Table& table) {
    VESTRAL_OP("MAKETEMP");
    toolkit::WaitCursor wait;
    return core::dbf::open_or_create(table, core::settings().dir, kEksttempFile, kEksttempLayout,
                                     kEksttempAlias);
}

// The form; the check numbers are those of EKSTCHECK (1 income, 2 start year, 3 growth).
ui::FormSpec ekst_form() {
    ui::FormSpec f;
    f.object_name = "ekstDialog";
    f.title = "Einkommensteuer berechnen";
    f.help_topic = "Einkommensteuerberechnung";
    f.fields = {
        {"einkommField", "zu versteuerndes Einkommen", "€", "@E@K 99,999,999.99 ",
         "Höhe des zu versteuernden Einkommens in €", 1},
        {"steigField", "jährl. Einkommensteigerung", "%", "@E@K 999.99 ",
         "Jährliche Einkommensteigerung in Prozent", 3},
        {"abJahrField", "berechnen ab Jahr", "", "@K 99999 ", "Berechnen ab Jahr", 2},
    };
    f.results = {
        {"einksuResult", "Einkommen gesamt", "€", kMoney},
        {"einkstResult", "Einkommensteuer gesamt", "€", kMoney},
        {"solizuResult", "Solizuschlag gesamt", "€", kMoney},
        {"belastResult", "durchschn. Belastung", "%", kMoney},
        {"jahreResult", "berechnet für", "Jahre", "9999 "},
    };
    f.buttons = {
        {"berechnenButton", "&Berechnen", "Berechnung durchführen", "Einkommensteuer errechen",
         ui::ButtonRole::Compute},
        {"tabelleButton", "&Tabelle", "Tabelle der Steuerberechnung", "Ergebnistabelle anzeigen",
         ui::ButtonRole::Result},
        {"hilfeButton", "&Hilfe", "Hilfe anzeigen", "Hilfe anzeigen", ui::ButtonRole::Help},
        {"schliessenButton", "&Schließen", "Dialog verlassen", "Dialog beenden", ui::ButtonRole::Close},
    };
    f.height = 350;
    f.width = 365;
    return f;
}

class EkstDialog : public ui::CalculatorDialog {
  public:
    EkstDialog(QWidget* parent, core::dbf::Table& table)
        : CalculatorDialog(parent, ekst_form()), table_(table) {
        auto* top = new QVBoxLayout(this);
        auto* inputs_grid = new QGridLayout;
        top->addLayout(inputs_grid);
        addRow(inputs_grid, 0, "einkommField");

        ledig_ = new QRadioButton("ledig", this);
        ledig_->setObjectName("ledigRadio");
        verheiratet_ = new QRadioButton("verheiratet", this);
        verheiratet_->setObjectName("verheiratetRadio");
        statusHint(ledig_, "Familienstand");
        statusHint(verheiratet_, "Familienstand");
        famgroup_ = new QButtonGroup(this);
        famgroup_->addButton(ledig_, 1);
        famgroup_->addButton(verheiratet_, 2);
        auto* radios = new QHBoxLayout;
        radios->addWidget(ledig_);
        radios->addWidget(verheiratet_);
        radios->addStretch();
        inputs_grid->addWidget(ui::label("Familienstand", this), 1, 0);
        inputs_grid->addLayout(radios, 1, 1, 1, 2);
        addRow(inputs_grid, 2, "steigField");
        addRow(inputs_grid, 3, "abJahrField");
        inputs_grid->setColumnStretch(0, 1);

        auto* group = ui::framed_group("Ergebnis", ui::color(ui::rgb(0, 0, 128)), this);
        auto* rg = new QGridLayout(group);
        int row = 0;
        for (const ui::ResultSpec& r : form().results) addRow(rg, row++, r.name);
        rg->setColumnStretch(0, 1);
        top->addWidget(group);
        top->addStretch();

        button("berechnenButton")->setDefault(true);
        top->addLayout(buttonRow({"berechnenButton", "tabelleButton", "hilfeButton", "schliessenButton"}));
        // The order on screen: the radio buttons stand between the income and the growth.
        QWidget* order[] = {field("einkommField"),
                            ledig_,
                            verheiratet_,
                            field("steigField"),
                            field("abJahrField"),
                            button("berechnenButton"),
                            button("tabelleButton"),
                            button("hilfeButton"),
                            button("schliessenButton")};
        for (size_t i = 1; i < std::size(order); ++i) setTabOrder(order[i - 1], order[i]);

        // "berechnet für" follows the start year as soon as it is left, before its check.
        number("abJahrField")->setBeforeCheck([this] {
            result("jahreResult")->setValue(ekst_years(static_cast<int>(number("abJahrField")->value())));
        });
        connect(famgroup_, &QButtonGroup::idToggled, this, [this](int id, bool on) {
            if (!on || loading_) return;
            famstand_ = id;
            guarded([this] { invalidate(); });
        });
        onClick("berechnenButton", [this] { ekstmake_here(); });
        onClick("tabelleButton", [this] { ekstshow(this, table_); });
    }

    EkstInputs inputs() const {
        return {number("einkommField")->value(), famstand_, static_cast<int>(number("abJahrField")->value()),
                number("steigField")->value()};
    }

  protected:
    core::InpFail check(int n) const override { return ekstcheck(n, inputs()); }

    // What is being typed counts already, so the button follows every key.
    bool canCompute() const override {
        EkstInputs in = inputs();
        in.NEINKOMM = number("einkommField")->liveValue();
        in.NABJAHR = static_cast<int>(number("abJahrField")->liveValue());
        return ekst_can_compute(in);
    }

    // EKSTGDATA
    void load() override {
        const EkstInputs in = ekst_load_settings(core::settings().ini().load());
        loading_ = true;
        famstand_ = in.NFAMSTAND;
        ledig_->setChecked(famstand_ == 1);
        verheiratet_->setChecked(famstand_ == 2);
        loading_ = false;
        number("einkommField")->setValue(in.NEINKOMM);
        number("steigField")->setValue(in.NEKSTEIG);
        number("abJahrField")->setValue(in.NABJAHR);
    }

    // EKSTWDATA
    void save() override {
        VESTRAL_OP("EKSTWDATA");
        core::settings().ini().set_many(kEkstSettings.name, ekst_settings_entries(inputs()));
    }

    // The results and the work table no longer fit the inputs.
    void clearResults() override {
        if (!table_.is_open() || table_.reccount() == 0) return;
        table_.zap();
        table_.flush();
    }

  private:
    void ekstmake_here() {
        toolkit::WaitCursor wait;
        const EkstOutcome out = ekstmake(inputs());
        write_ekst_rows(table_, out.rows);
        const EkstResults& r = out.results;
        result("einksuResult")->setValue(r.NEINKSU);
        result("einkstResult")->setValue(r.NEINKST);
        result("solizuResult")->setValue(r.NSOLIZU);
        result("belastResult")->setValue(r.NBELAST);
        result("jahreResult")->setValue(r.NJAHRE);
        setHasResults(true);
    }

    core::dbf::Table& table_;
    int famstand_ = 0;
    bool loading_ = false;
    QRadioButton* ledig_ = nullptr;
    QRadioButton* verheiratet_ = nullptr;
    QButtonGroup* famgroup_ = nullptr;
};

}  // namespace

void ekstshow(QWidget* parent, core::dbf::Table& table) {
    VESTRAL_OP("EKSTSHOW");
    table.go_top();
    std::vector<ui::GridColumn> columns = {
        {"Jahr ",
         [](const core::dbf::Table& t) {
             return QString::fromStdString(ekstshow_year_cell(static_cast<int>(t.num("JAHR"))));
         }},
        ui::masked_column("Einkommen ", "EINKOMM", "@E 999,999,999.99 "),
        ui::masked_column("EK-Steig % ", "EKSTEIG", "@E 999.99", " % "),
        ui::masked_column("EK-Steuer ", "EINKST", "@E 999,999,999.99 "),
        ui::masked_column("Soli-Zuschlag ", "SOLIZU", "@E 999,999,999.99 "),
        ui::masked_column("Belastung % ", "BELAST", "@E 999.99", " % "),
    };
    ui::GridDialog dlg(parent, "Einkommensteuer-Berechnung Tabelle", table, std::move(columns), false,
                       "# = Näherungswerte   * = Planung");
    dlg.setObjectName("ekstShowDialog");
    if (auto* close = dlg.findChild<QPushButton*>("closeButton")) ui::status_hint(close, "Dialog beenden");
    dlg.fitAndCenter(kTableHeight, kTableWidth);
    dlg.exec();
}

void ber_ekst(QWidget* parent) {
    VESTRAL_OP("BER_EKST");
    core::dbf::Table table;
    if (!maketemp(table)) return;
    {
        EkstDialog dlg(parent, table);
        dlg.exec();
    }
    std::filesystem::path file = table.path();
    table.close();
    std::error_code ec;
    std::filesystem::remove(file, ec);
}

}  // namespace vestral::calc
