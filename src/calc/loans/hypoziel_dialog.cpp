#include "calc/loans/hypoziel_dialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>
#include <filesystem>
#include <system_error>

#include "calc/loans/hypoziel.h"
#include "core/catalogue.h"
#include "core/clock.h"
#include "core/dbf.h"
#include "core/files.h"
#include "core/opstack.h"
#include "core/program_settings.h"
#include "toolkit/wait_cursor.h"
#include "ui/blocks.h"
#include "ui/calculator_dialog.h"
#include "ui/grid_dialog.h"
#include "ui/numeric_field.h"

namespace vestral::calc {

namespace {

constexpr const char* kMoney = "@E 999,999,999.99 ";
constexpr const char* kRate = "@E 9,999,999.999 ";
const QColor kFrame = ui::color(ui::rgb(0, 0, 128));

ui::FormSpec hypoziel_form() {
    ui::FormSpec f;
    f.object_name = "hypozielDialog";
    f.title = "Hypotheken - Zielwertberechnung";
    f.help_topic = "Hypothekenzielwert";
    f.fields = {
        {"hypothek", "Hypothekenbetrag", "€", kMoney, "Höhe der Hypothekensumme in EUR", 1},
        {"zinssatz", "Nominalzins", "%", kRate, "nominaler Jahreszins in %", 2},
        {"laufzeit", "Laufzeit in Jahren", "Jahre", "9999999999999 ", "Laufzeit der Zinsfestsetzung", 3},
        {"hypoziel", "Hypothekenrest", "€", kMoney, "Hypothekenrest", 4},
    };
    f.results = {
        {"hyporest", "verbleib. Restschuld", "€", kMoney},
        {"monrate", "monatliche Rate", "€", kMoney},
        {"tilganno", "Tilgung pro Jahr", "%", kRate},
        {"effzins", "Effektivzinssatz", "%", kRate},
    };
    f.buttons = {
        {"berechnenButton", "&Berechnen", "Berechnung durchführen", "Zielwert berechnen",
         ui::ButtonRole::Compute},
        {"tabelleButton", "&Tabelle", "Tabelle für Tilgungsverlauf", "Tilgungstabelle anzeigen",
         ui::ButtonRole::Result},
        {"grafikButton", "&Grafik", "Grafik für Kostenvergleich", "Grafik Tilgungsverlauf",
         ui::ButtonRole::Result},
        {"hilfeButton", "&Hilfe", "Hilfe anzeigen", "Hilfe anzeigen", ui::ButtonRole::Help},
        {"schliessenButton", "&Schließen", "Dialog verlassen", "", ui::ButtonRole::Close},
    };
    f.height = 330;
    f.width = 480;
    return f;
}

class HzDialog : public ui::CalculatorDialog {
  public:
    HzDialog(QWidget* parent, core::dbf::Table& temp)
        : CalculatorDialog(parent, hypoziel_form()), temp_(temp) {
        auto* panel = new ui::Panel(this, kFrame);
        QGridLayout* inputs = rowsGrid({"hypothek", "zinssatz", "laufzeit", "hypoziel"});
        auto* group = resultsGroup("Ergebnis", kFrame, panel);
        group->setObjectName("ergebnis");

        auto* pl = new QVBoxLayout(panel);
        pl->setContentsMargins(14, 14, 14, 14);
        pl->addLayout(inputs);
        pl->addSpacing(8);
        pl->addWidget(group);
        pl->addStretch();

        auto* buttons = buttonColumn({"berechnenButton", "tabelleButton", "grafikButton"},
                                     {"hilfeButton", "schliessenButton"});
        auto* main = new QHBoxLayout(this);
        main->addWidget(panel, 1);
        main->addLayout(buttons);

        button("berechnenButton")->setDefault(true);
        onClick("berechnenButton", [this] { berechnen(); });
        onClick("tabelleButton", [this] { hz_show(this, temp_); });
        onClick("grafikButton", [this] {
            if (QWidget* w = showChart(hz_chart_args(outcome_))) w->setObjectName("hzChart");
        });
    }

    HzInputs inputs() const {
        HzInputs in;
        in.NHYPOTHEK = number("hypothek")->value();
        in.NZINSSATZ = number("zinssatz")->value();
        in.NLAUFZEIT = static_cast<int>(number("laufzeit")->value());
        in.NHYPOZIEL = number("hypoziel")->value();
        return in;
    }

  protected:
    core::InpFail check(int n) const override { return hz_checks(inputs())[static_cast<size_t>(n - 1)]; }

    bool canCompute() const override {
        return hz_can_compute(HzInputs{number("hypothek")->liveValue(), number("zinssatz")->liveValue(),
                                       static_cast<int>(number("laufzeit")->liveValue()), 0});
    }

    // HZ_GDATA: the inputs of the last use; the results start at 0.
    void load() override {
        VESTRAL_OP("HZ_GDATA");
        const HzInputs in = core::read_section(core::settings().ini().load(), kHzSettings);
        number("hypothek")->setValue(in.NHYPOTHEK);
        number("zinssatz")->setValue(in.NZINSSATZ);
        number("laufzeit")->setValue(in.NLAUFZEIT);
        number("hypoziel")->setValue(in.NHYPOZIEL);
    }

    // HZ_WDATA, and the plan table goes with the dialog.
    void save() override {
        VESTRAL_OP("HZ_WDATA");
        core::settings().ini().set_many(kHzSettings.name, core::section_entries(kHzSettings, inputs()));
        const std::filesystem::path file = temp_.path();
        temp_.close();
        std::error_code ec;
        if (!file.empty()) std::filesystem::remove(file, ec);
    }

    void clearResults() override {
        outcome_ = {};
        if (temp_.is_open() && temp_.reccount() > 0) {
            temp_.zap();
            temp_.flush();
        }
    }

  private:
    // HZ_TAB and HZ_IDATA.
    void berechnen() {
        VESTRAL_OP("HZ_TAB");
        const HzInputs in = inputs();
        {
            toolkit::WaitCursor wait;
            outcome_ = hz_tab(in, core::today().year);
            write_hypotemp_rows(temp_, outcome_.rows);
        }
        result("hyporest")->setValue(outcome_.results.NHYPOREST);
        result("monrate")->setValue(outcome_.results.NMONRATE);
        result("tilganno")->setValue(outcome_.results.NTILGANNO);
        result("effzins")->setValue(outcome_.results.NEFFZINS);
        setHasResults(!outcome_.rows.empty());
    }

    core::dbf::Table& temp_;
    HzOutcome outcome_;
};

}  // namespace

ui::ChartArgs hz_chart_args(const HzOutcome& outcome) {
    VESTRAL_OP("MAKEHEADER");
    ui::ChartArgs a;
    a.values = outcome.chart_values;
    for (const std::string& l : outcome.chart_labels) a.labels << QString::fromStdString(l);
    a.label_is_number.assign(a.values.size(), true);
    a.header = {"VESTRALON - Graphik-Maschine", "Hypothekenrestschuld", "Tilgungsverlauf", "Jahr", "EUR"};
    a.colors = ui::calculator_chart_colors();
    a.depth = 5;
    return a;
}

void hz_show(QWidget* parent, core::dbf::Table& hypotemp) {
    VESTRAL_OP("HZ_SHOW");
    std::vector<ui::GridColumn> columns = {
        {"Datum ",
         [](const core::dbf::Table& t) { return QString::fromStdString(core::format_date(t.date("DATUM"))); },
         Qt::AlignCenter},
        ui::masked_column("Hypothek ", "HYPOTHEK", kMoney),
        ui::masked_column("Zinsen ", "ZINSEN", "@E 9,999,999.99 "),
        ui::masked_column("Zinssumme ", "ZINSSUM", kMoney),
        ui::masked_column("Tilgung ", "TILGUNG", kMoney),
        ui::masked_column("Rest ", "RESTHYP", kMoney),
    };
    hypotemp.set_order(0);
    hypotemp.go_top();
    ui::GridDialog d(parent, "Hypothekentilgungsplan - Ablauf", hypotemp, std::move(columns));
    d.setObjectName("hzTableDialog");
    d.grid()->setObjectName("hzGrid");
    auto* kuerzen = ui::button(&d, "kuerzenButton", "&Kürzen", "Darstellung komprimieren");
    d.extraRow()->addWidget(kuerzen);
    d.extraRow()->addStretch();
    ui::on_click(kuerzen, [&d, &hypotemp, kuerzen] {
        kuerzen->setEnabled(false);
        hz_kuerzen(hypotemp);
        d.grid()->reload();
        d.grid()->scrollToTop();
        if (d.grid()->rows() > 0) d.grid()->selectRow(0);
    });
    d.grid()->reload();
    d.fitAndCenter(480, 600);
    d.exec();
    hypotemp.go_top();
}

void hypoziel(QWidget* parent) {
    VESTRAL_OP("HYPOZIEL");
    core::dbf::Table temp;
    {
        toolkit::WaitCursor wait;
        if (!core::make_hydbf(core::settings().dir, temp)) return;
        temp.zap();
        temp.flush();
    }
    HzDialog dialog(parent, temp);
    dialog.exec();
}

}  // namespace vestral::calc
