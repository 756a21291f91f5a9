#include "calc/purchase/kaufmiet_dialog.h"

#include <QDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QShowEvent>
#include <QVBoxLayout>
#include <array>
#include <filesystem>
#include <system_error>

#include "core/files.h"
#include "core/mask.h"
#include "core/opstack.h"
#include "core/program_settings.h"
#include "toolkit/help.h"
#include "toolkit/messages.h"
#include "toolkit/wait_cursor.h"
#include "ui/blocks.h"
#include "ui/calculator_dialog.h"
#include "ui/grid_dialog.h"
#include "ui/numeric_field.h"

namespace vestral::calc {

namespace {

const QColor kPanelEdge = ui::color(ui::rgb(84, 75, 245));
const QColor kGroupFrame = ui::color(ui::rgb(165, 192, 170));
constexpr const char* kAmountMask = "@E 999,999,999.99 ";

// The form: the six inputs in the order they stand in the dialog; their check numbers are the
// positions in km_checks().
ui::FormSpec kaufmiet_form() {
    ui::FormSpec f;
    f.object_name = "kaufmietDialog";
    f.title = "Kaufen oder Mieten ?";
    f.help_topic = kKmHelpTopic;
    f.fields = {
        {"NKALTMIETE", "Momentane Kaltmiete", "€", "@K@E 999999999.99",
         "Momentane Kaltmiete ohne Nebenkosten in EUR", 1},
        {"NMIETERH", "Mieterhöhung pro Jahr", "%", "@K@E 99999999.999",
         "Voraussichtliche jährliche Mieterhöhung in %", 2},
        {"NKAUFPREIS", "Kaufpreis der Immobilie", "€", "@K@E 999999999.99", "Kaufpreis des Objektes in EUR",
         3},
        {"NHYPOZINS", "Hypothekenzinssatz", "%", "@K@E 99999999.999", "Effektiver Hypotheken-Jahreszins in %",
         4},
        {"NTILGANNO", "Tilgung pro Jahr", "%", "@K@E 99999999.999", "Jährliche Tilgungsrate in %", 5},
        {"NEIGENKAP", "Ihr Eigenkapital", "€", "@K@E 999999999.99", "Höhe des Eigenkapitals in EUR", 6},
    };
    f.buttons = {
        {"computeButton", "&Berechnen", "Berechnung durchführen", "", ui::ButtonRole::Compute},
        {"helpButton", "&Hilfe", "Hilfe anzeigen", "", ui::ButtonRole::Help},
        {"closeButton", "&Schließen", "Dialog beenden", "", ui::ButtonRole::Close},
    };
    f.height = 230;
    f.width = 510;
    f.placement = ui::Placement::BelowMain;
    return f;
}

// Which member of the inputs each field edits.
constexpr std::array<double KmInputs::*, 6> kMembers{&KmInputs::NKALTMIETE, &KmInputs::NMIETERH,
                                                     &KmInputs::NKAUFPREIS, &KmInputs::NHYPOZINS,
                                                     &KmInputs::NTILGANNO,  &KmInputs::NEIGENKAP};

std::filesystem::path mietkauf_path() {
    return core::resolve_ci(core::settings().dir, kMietkaufFile);
}

// The calculator's dialogs block only the windows they belong to, as the platform's owned
// dialogs do, so that a chart window opened from them can still be looked at and clicked away.
int exec_owned(QDialog& dialog) {
    if (dialog.parentWidget()) dialog.setWindowModality(Qt::WindowModal);
    return dialog.exec();
}

// The reference calculator dialog: the form above, its layout, and the steps particular to it.
class KaufmietDialog : public ui::CalculatorDialog {
  public:
    KaufmietDialog(QWidget* parent, core::dbf::Table& dmit)
        : CalculatorDialog(parent, kaufmiet_form()), dmit_(dmit) {
        QVBoxLayout* inner = ui::panel_layout(this, kPanelEdge);
        auto* top = new QHBoxLayout;
        top->setSpacing(24);
        inner->addLayout(top, 1);

        // Left half: rent block, financing block, own capital apart below them.
        auto* grid = new QGridLayout;
        grid->setHorizontalSpacing(6);
        grid->setVerticalSpacing(4);
        int row = 0;
        for (const ui::FieldSpec& field : form().fields) {
            const std::string name = field.name;
            if (name == "NKAUFPREIS" || name == "NEIGENKAP") grid->setRowMinimumHeight(row++, 10);
            addRow(grid, row++, field.name);
        }
        grid->setRowStretch(row, 1);
        top->addLayout(grid);

        // Right half: what the calculator answers and what it leaves out.
        auto* texts = new QVBoxLayout;
        texts->setSpacing(8);
        const char* notes[] = {
            "Kalkulieren Sie auf schnelle und einfache Art und\rWeise, ob es sich lohnt, Ihre Immobilie zu "
            "kaufen\roder doch besser weiterhin zur Miete zu wohnen.",
            "Die Kalkulation erfolgt auf Basis der zur Zeit\rüblichen Konditionen und Tilgungsraten "
            "und\rorientiert "
            "sich an Ihrer Kaltmiete.",
            "Beachten Sie, dass bei einem Kauf eine Menge\rzusätzlicher Kosten auf Sie zukommen, nämlich "
            "für\rInstandhaltung, Versicherungen, Steuern etc.!",
            "Steuerersparnisse durch Eigenheimförderung und\rAfA werden hier nicht berücksichtigt.",
        };
        int n = 0;
        for (const char* note : notes) {
            auto* l = ui::label(note, this);
            l->setObjectName(QString("note%1").arg(++n));
            texts->addWidget(l);
        }
        texts->addStretch();
        top->addLayout(texts);

        button("computeButton")->setDefault(true);
        onClick("computeButton", [this] { compute(); });
        inner->addSpacing(8);
        inner->addLayout(buttonRow({"computeButton"}, {"helpButton", "closeButton"}));
    }

    KmInputs inputs() const {
        KmInputs in;
        for (size_t i = 0; i < kMembers.size(); ++i) in.*kMembers[i] = number(form().fields[i].name)->value();
        return in;
    }

  protected:
    core::InpFail check(int n) const override { return km_checks(inputs())[static_cast<size_t>(n - 1)]; }
    bool canCompute() const override { return km_can_compute(inputs()); }

    // KM_GDATA
    void load() override {
        VESTRAL_OP("KM_GDATA");
        const KmInputs in = km_read_settings(core::settings().ini());
        for (size_t i = 0; i < kMembers.size(); ++i) number(form().fields[i].name)->setValue(in.*kMembers[i]);
    }

    // KM_WDATA, and the work table goes with the dialog.
    void save() override {
        VESTRAL_OP("KM_WDATA");
        core::settings().ini().set_many(kKmSection, km_settings_entries(inputs()));
        dmit_.close();
        std::error_code ec;
        std::filesystem::remove(mietkauf_path(), ec);
    }

    // Whatever is typed makes the last results stale.
    void clearResults() override {
        if (!dmit_.is_open() || dmit_.reccount() == 0) return;
        dmit_.zap();
        dmit_.flush();
    }

  private:
    void compute() {
        VESTRAL_OP("KAUFMIET");
        const KmInputs in = inputs();
        KmOutcome outcome;
        {
            toolkit::WaitCursor wait;
            dmit_.zap();
            dmit_.flush();
            outcome = km_rech(in);
            if (!outcome.refused) write_mietkauf_rows(dmit_, outcome.rows);
        }
        if (outcome.refused) {
            toolkit::stop(this, QString::fromStdString(outcome.title),
                          QString::fromStdString(outcome.message));
            return;
        }
        core::settings().ini().set_many(kKmSection, km_settings_entries(in));
        km_details_dialog(this, in, outcome, dmit_);
        load();
    }

    core::dbf::Table& dmit_;
};

// One row of a result group: label, value on the result background, unit.
ui::ResultField* result_row(QGridLayout* grid, int row, int column, const QString& text, const char* name,
                            double value, const QString& unit, QWidget* parent) {
    auto* f = new ui::ResultField(kAmountMask, parent);
    f->setObjectName(name);
    f->setValue(value);
    grid->addWidget(ui::label(text, parent), row, column);
    grid->addWidget(f, row, column + 1);
    grid->addWidget(ui::label(unit, parent), row, column + 2);
    return f;
}

QGridLayout* group_grid(QGroupBox* group) {
    auto* grid = new QGridLayout(group);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(3);
    grid->setContentsMargins(10, 8, 10, 6);
    grid->setColumnMinimumWidth(3, 16);
    return grid;
}

}  // namespace

ui::ChartArgs km_makecolors() {
    VESTRAL_OP("MAKECOLORS");
    ui::ChartArgs a;
    a.header = {"VESTRALON - Graphik-Maschine", "Kaufen oder Mieten", "", "", "EUR"};
    a.colors = ui::calculator_chart_colors();
    a.depth = 5;
    return a;
}

ui::ChartArgs km_chart_args(const KmOutcome& outcome) {
    ui::ChartArgs a = km_makecolors();
    a.values = outcome.chart_values;
    for (const std::string& l : outcome.chart_labels) a.labels << QString::fromStdString(l);
    return a;
}

bool km_checkdbf(core::dbf::Table& dmit) {
    VESTRAL_OP("CHECKDBF");
    toolkit::WaitCursor wait;
    if (!core::dbf::open_or_create(dmit, core::settings().dir, kMietkaufFile, kMietkaufLayout, "DMIT"))
        return false;
    dmit.zap();
    return dmit.flush();
}

void km_details_dialog(QWidget* parent, const KmInputs& in, const KmOutcome& outcome,
                       core::dbf::Table& dmit) {
    VESTRAL_OP("KM_DETAILS");
    const KmResults& res = outcome.results;
    const KmDetails d = km_details(in, res, dmit.count() > 0);

    QDialog dlg(parent);
    dlg.setObjectName("kmDetails");
    dlg.setWindowTitle("Kaufen oder Mieten - Details");
    QVBoxLayout* inner = ui::panel_layout(&dlg, kPanelEdge);

    auto* bought = ui::framed_group("Hätten Sie Ihre Immobilie gekauft", kGroupFrame, &dlg);
    bought->setObjectName("groupBought");
    QGridLayout* g1 = group_grid(bought);
    result_row(g1, 0, 0, "wäre Ihre monatliche\rBelastung zur Finanzierung", "NMONRATE", res.NMONRATE, "€",
               &dlg);
    result_row(g1, 1, 0, "Kaufpreis", "NKAUFPREIS", in.NKAUFPREIS, "€", &dlg);
    result_row(g1, 2, 0, "abzgl. Eigenkapital", "NEIGENKAP", in.NEIGENKAP, "€", &dlg);
    result_row(g1, 0, 4, "Hypothekensumme", "H", d.H, "€", &dlg);
    result_row(g1, 1, 4, "zzgl. Zinsen", "NZINSSUM", res.NZINSSUM, "€", &dlg);
    result_row(g1, 2, 4, "getilgte Hypothek", "F", d.F, "€", &dlg);
    inner->addWidget(bought);

    auto* rented = ui::framed_group("Würden Sie Ihre Immobilie weiterhin mieten", kGroupFrame, &dlg);
    rented->setObjectName("groupRented");
    QGridLayout* g2 = group_grid(rented);
    result_row(g2, 0, 0, "erste monatliche Miete", "NKALTMIETE", in.NKALTMIETE, "€", &dlg);
    result_row(g2, 1, 0, "letzte monatliche Miete", "NMIETE30", res.NMIETE30, "€", &dlg);
    result_row(g2, 2, 0, "jährl. Mieterhöhung", "NMIETERH", in.NMIETERH, "%", &dlg);
    result_row(g2, 0, 4, "gezahlte Miete", "NMIETESUM", res.NMIETESUM, "€", &dlg);
    inner->addWidget(rented);

    auto* outcome_group = ui::framed_group("Ergebnis", kGroupFrame, &dlg);
    outcome_group->setObjectName("groupResult");
    QGridLayout* g3 = group_grid(outcome_group);
    auto* years_row = new QHBoxLayout;
    years_row->setSpacing(6);
    years_row->addWidget(ui::label("nach", &dlg));
    auto* years = new ui::ResultField("@E 999", &dlg);
    years->setObjectName("NJAHRE");
    years->setValue(res.NJAHRE);
    years->setFixedWidth(years->minimumWidth());
    years_row->addWidget(years);
    years_row->addWidget(ui::label("Jahren wäre Ihre Immobilie komplett finanziert.", &dlg));
    years_row->addStretch();
    g3->addLayout(years_row, 0, 0, 1, 3);
    result_row(g3, 1, 0, "gezahlte Miete in diesem Zeitraum", "NMIETESUM_ERG", res.NMIETESUM, "€", &dlg);
    result_row(g3, 2, 0, "finanzierte Summe im gleichen Zeitraum", "F_ERG", d.F, "€", &dlg);
    ui::ResultField* diff = result_row(g3, 3, 0, "Differenz", "D", d.D, "€", &dlg);
    if (d.difference_negative)
        diff->setColors(QColor(255, 255, 0), QColor(255, 0, 0));
    else
        diff->setColors(QColor(255, 255, 255), QColor(255, 0, 255));
    g3->setColumnStretch(3, 1);
    inner->addWidget(outcome_group);

    auto* buttons = new QHBoxLayout;
    auto* grafik = ui::button(&dlg, "grafikButton", "&Grafik", "Grafik anzeigen");
    auto* verlauf = ui::button(&dlg, "verlaufButton", "&Verlauf", "Verlauf anzeigen");
    auto* help = ui::button(&dlg, "helpButton", "&Hilfe", "Hilfe anzeigen", QString(), true);
    auto* close = ui::button(&dlg, "closeButton", "&Schließen", "Dialog beenden", QString(), true);
    grafik->setEnabled(d.grafik_enabled);
    verlauf->setEnabled(d.verlauf_enabled);
    const ui::ChartArgs chart = km_chart_args(outcome);
    ui::on_click(grafik, [chart, &dlg] { ui::barsingle(chart, &dlg); });
    ui::on_click(verlauf, [&dlg, &dmit] { km_show(&dlg, dmit); });
    ui::on_click_always(help, [&dlg] { toolkit::help::show_current(&dlg); });
    ui::on_click_always(close, [&dlg] { dlg.accept(); });
    close->setDefault(true);
    buttons->addWidget(grafik);
    buttons->addWidget(verlauf);
    buttons->addStretch();
    buttons->addWidget(help);
    buttons->addWidget(close);
    inner->addLayout(buttons);

    ui::center_on_main(&dlg, 350, 510);
    exec_owned(dlg);
}

void km_show(QWidget* parent, core::dbf::Table& dmit) {
    VESTRAL_OP("KM_SHOW");
    const char* m = "@E 999999.99";
    const core::Mask diff_mask = core::Mask::parse(m);
    std::vector<ui::GridColumn> columns = {
        ui::masked_column("Jahr ", "JAHR", "9999", " "),
        ui::masked_column("Miete ges. ", "MIETEGE", m, " "),
        ui::masked_column("mon. Miete ", "MIETEMO", m, " "),
        ui::masked_column("Hypothek ", "HYPOTHEK", m, " "),
        ui::masked_column("mon. Zahlung ", "ANNUITAT", m, " "),
        ui::masked_column("Tilgung ges. ", "TILGSUM", m, " "),
        ui::masked_column("Zinssumme ", "ZINSEN", m, " "),
        ui::GridColumn{
            "Differenz ",
            [diff_mask](const core::dbf::Table& t) {
                return QString::fromStdString(diff_mask.format(t.num("ANNUITAT") - t.num("MIETEMO"))) + " ";
            }},
    };
    dmit.go_top();
    ui::GridDialog dlg(parent, "Kaufen oder Mieten - Verlauf von Miete und Tilgung", dmit, std::move(columns),
                       false, "Alle Beträge in EURO.");
    dlg.setObjectName("kmShow");
    dlg.fitAndCenter(325, 601);
    exec_owned(dlg);
}

void kaufmiet(QWidget* parent) {
    VESTRAL_OP("KAUFMIET");
    core::dbf::Table dmit;
    if (!km_checkdbf(dmit)) return;
    KaufmietDialog dlg(parent, dmit);
    dlg.exec();
}

}  // namespace vestral::calc
