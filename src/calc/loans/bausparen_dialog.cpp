#include "calc/loans/bausparen_dialog.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>
#include <algorithm>
#include <array>

#include "calc/loans/bausparen.h"
#include "calc/loans/bausparen_print.h"
#include "core/catalogue.h"
#include "core/clock.h"
#include "core/dbf.h"
#include "core/files.h"
#include "core/mask.h"
#include "core/opstack.h"
#include "core/program_settings.h"
#include "toolkit/messages.h"
#include "toolkit/print.h"
#include "toolkit/wait_cursor.h"
#include "ui/blocks.h"
#include "ui/calculator_dialog.h"
#include "ui/grid_dialog.h"
#include "ui/numeric_field.h"
#include "ui/saved_plans_dialog.h"
#include "ui/text_field.h"

namespace vestral::calc {

namespace {

// Which member of the inputs each field edits, in the order of the checks (field n + 1 has
// check n + 1).
constexpr std::array<double BauInputs::*, 11> kMembers{
    &BauInputs::NBAUSPSUM, &BauInputs::NABSCHGEB,  &BauInputs::NKONTOGEB,  &BauInputs::NABJAHR,
    &BauInputs::NSPARTEIL, &BauInputs::NSZINSSTZ,  &BauInputs::NMONRATE,   &BauInputs::NTILGANNO,
    &BauInputs::NTZINSSTZ, &BauInputs::NTFESTZEIT, &BauInputs::NTZINSNACH,
};
constexpr std::array<double BauResults::*, 7> kResultMembers{
    &BauResults::NSMONATE, &BauResults::NTMONATE, &BauResults::NMONTILG, &BauResults::NSSUMME,
    &BauResults::NTSUMME,  &BauResults::NTZINSEN, &BauResults::NZSUMME,
};

// The form: the bank name, then the eleven inputs in the order of their checks.
ui::FormSpec bausparen_form() {
    using ui::ButtonRole;
    ui::FormSpec f;
    f.object_name = "bausparenDialog";
    f.title = "Bausparen";
    f.help_topic = "Bausparvertrag";
    f.fields = {
        {"CBANKNAME", "Bankname", "", "", "Name des Instituts", 0, ui::FieldKind::Text, 40},
        {"NBAUSPSUM", "Bausparsumme", "€", "@K@E 99,999,999.99 ", "Zu erzielende Bausparsumme", 1},
        {"NABSCHGEB", "Abschlußgebühr", "%", "@K@E 9,999,999.999 ", "Vertragsabschluß-Gebühren in %", 2},
        {"NKONTOGEB", "monatliche Gebühr", "€", "@K@E 9,999,999.999 ", "Kontoführungs-Gebühren in EUR", 3},
        {"NABJAHR", "Vertragsbeginn", "", "@K 9999 ", "Laufzeit ab Jahr", 4},
        {"NSPARTEIL", "Sparanteil", "%", "@K@E 999999999.99 ", "Zu erzielender Sparanteil - meist 40 - 50 %",
         5},
        {"NSZINSSTZ", "Ansparzinssatz", "%", "@K@E 99999999.999 ", "Sparzinsen bis zur Zuteilung", 6},
        {"NMONRATE", "monatl. Rate", "€", "@K@E 9,999,999.99 ", "monatliche Sparrate in EUR", 7},
        {"NTILGANNO", "Tilgung pro Jahr", "%", "@K@E 99999999.999 ", "jährliche Tilgung in Prozent", 8},
        {"NTZINSSTZ", "Tilgungszinssatz", "%", "@K@E 99999999.999 ", "Tilgungszinsen nach der Zuteilung", 9},
        {"NTFESTZEIT", "Zinsbindung", "Jahre", "@K 99999999999 ", "Dauer der Festzeit", 10},
        {"NTZINSNACH", "Zinssatz nach Bindung", "%", "@K@E 99999999.999 ",
         "Tilgungszinsen nach der Zuteilung", 11},
    };
    f.results = {
        {"NSMONATE", "Dauer Sparphase", "Jahre, Monate", "@E 999999999.99 "},
        {"NTMONATE", "Dauer Tilgungsphase", "Jahre, Monate", "@E 999999999.99 "},
        {"NMONTILG", "monatliche Tilgung", "€", "@E 999,999,999.99 "},
        {"NSSUMME", "Ansparsumme", "€", "@E 999,999,999.99 "},
        {"NTSUMME", "gezahlte Tilgung", "€", "@E 999,999,999.99 "},
        {"NTZINSEN", "gezahlte Zinsen", "€", "@E 999,999,999.99 "},
        {"NZSUMME", "gezahlte Summe", "€", "@E 999,999,999.99 "},
    };
    f.buttons = {
        {"loadButton", "&Laden", "Bankdaten laden", "Bausparvertrag laden", ButtonRole::Action},
        {"computeButton", "&Berechnen", "Berechnung durchführen", "Bausparvertrag berechnen",
         ButtonRole::Compute},
        {"tableButton", "&Tabelle", "Bauspartabelle anzeigen", "Tabelle anzeigen", ButtonRole::Result},
        {"chartButton", "&Grafik", "Grafik für Kostenvergleich", "Grafik Bausparverlauf", ButtonRole::Result},
        {"printButton", "&Drucken", "Bausparplan drucken", "", ButtonRole::Result},
        {"closeButton", "&Schließen", "Dialog verlassen", "", ButtonRole::Close},
    };
    f.height = 430;
    f.width = 640;
    return f;
}

// A grid cell with the amount when it is above 0, otherwise blank.
ui::GridColumn positive_column(const QString& heading, const char* field) {
    std::string f = field;
    const core::Mask m = core::Mask::parse("@E 999999.99 ");
    return {heading, [f, m](const core::dbf::Table& t) {
                const double v = t.num(f);
                return v > 0 ? QString::fromStdString(m.format(v)) : QString();
            }};
}

class BausparenDialog : public ui::CalculatorDialog {
  public:
    BausparenDialog(QWidget* parent, core::dbf::Table& bank, core::dbf::Table& plan)
        : CalculatorDialog(parent, bausparen_form()), bank_(bank), plan_(plan) {
        build();
    }

  protected:
    core::InpFail check(int n) const override { return bau_checks(inputs())[static_cast<size_t>(n - 1)]; }
    bool canCompute() const override { return number("NBAUSPSUM")->liveValue() > 0; }

    // BAU_GDATA with 0 (the bank named in the settings), then BAU_IDATA.
    void load() override {
        gdata(0);
        idata();
    }
    void save() override { wdata(); }

    // The plan no longer belongs to the inputs.
    void clearResults() override {
        chart_values_.clear();
        chart_labels_.clear();
        if (plan_.reccount() == 0) return;
        plan_.zap();
        plan_.flush();
    }

  private:
    BauInputs inputs() const {
        BauInputs in;
        in.CBANKNAME = text("CBANKNAME")->text().toStdString();
        for (size_t i = 0; i < kMembers.size(); ++i)
            in.*kMembers[i] = number(form().fields[i + 1].name)->value();
        return in;
    }

    // BAU_GDATA: the inputs of the given store record, or with 0 of the bank named in the
    // settings, and the results saved with them.
    void gdata(long recno) {
        VESTRAL_OP("BAU_GDATA");
        const std::string name = bausp_bank_name(core::settings().ini().load());
        if (recno == 0) {
            in_ = bspbank_load(bank_, name);
        } else {
            bank_.go_to(recno);
            in_ = bspbank_load_current(bank_);
        }
        saved_res_ = bspbank_results(bank_);
    }

    // BAU_IDATA: the input fields from the loaded inputs; the results start empty.
    void idata() {
        text("CBANKNAME")->setAcceptedText(QString::fromStdString(core::trim(in_.CBANKNAME)));
        for (size_t i = 0; i < kMembers.size(); ++i)
            number(form().fields[i + 1].name)->setValue(in_.*kMembers[i]);
        saved_for_ = inputs();
        res_ = BauResults{};
        invalidate();
    }

    // BAU_WDATA: the store's record of the bank and section "BAUSP", with the results that
    // belong to the inputs. A contract without a bank name is not saved.
    void wdata() {
        VESTRAL_OP("BAU_WDATA");
        const BauInputs in = inputs();
        if (core::trim(in.CBANKNAME).empty()) return;
        const BauResults res = in == saved_for_ ? saved_res_ : BauResults{};
        bspbank_save(bank_, in, res);
        core::settings().ini().set_many(kBauSection, bausp_settings_entries(in, res));
    }

    void build() {
        onClick("loadButton", [this] { laden(); });
        onClick("computeButton", [this] { berechnen(); });
        onClick("tableButton", [this] { bau_show(); });
        onClick("chartButton", [this] {
            showChart(bau_chart(chart_values_, chart_labels_))->setObjectName("bausparChart");
        });
        onClick("printButton", [this] { bau_druck_job(); });

        const QColor frame = ui::color(ui::rgb(0, 0, 128));
        // One label width for the three input frames, so that their fields line up.
        int label_width = 0;
        for (const ui::FieldSpec& f : form().fields)
            label_width = std::max(label_width, fontMetrics().horizontalAdvance(QString::fromUtf8(f.label)));
        label_width += 12;
        auto group = [&](const QString& title, size_t from, size_t to, bool with_name) {
            auto* g = ui::framed_group(title, frame, this);
            auto* grid = new QGridLayout(g);
            int row = 0;
            if (with_name) {
                // The name spans the unit column: 40 characters need the room.
                grid->addWidget(labelOf("CBANKNAME"), row, 0);
                grid->addWidget(field("CBANKNAME"), row++, 1, 1, 2);
                field("CBANKNAME")->setMinimumWidth(fontMetrics().horizontalAdvance(QString(26, 'x')));
            }
            for (size_t i = from; i <= to; ++i) addRow(grid, row++, form().fields[i].name);
            grid->setColumnStretch(1, 1);
            grid->setColumnMinimumWidth(0, label_width);
            grid->setColumnMinimumWidth(2, fontMetrics().horizontalAdvance("Jahre") + 6);
            return g;
        };
        auto* contract = group(QString(), 1, 4, true);
        contract->setObjectName("contractFrame");
        auto* savings = group("Ansparphase", 5, 7, false);
        savings->setObjectName("savingsFrame");
        auto* loan = group("Tilgungsphase", 8, 11, false);
        loan->setObjectName("loanFrame");

        auto* summary = ui::framed_group("Zusammenfassung", frame, this);
        summary->setObjectName("summaryFrame");
        auto* sgrid = new QGridLayout(summary);
        int row = 0;
        for (const ui::ResultSpec& r : form().results) addRow(sgrid, row++, r.name);
        sgrid->setRowStretch(row, 1);

        auto* columns = new QHBoxLayout;
        auto* left = new QVBoxLayout;
        left->addWidget(contract);
        left->addWidget(savings);
        left->addWidget(loan);
        columns->addLayout(left, 3);
        auto* right = new QVBoxLayout;
        right->addWidget(summary);
        columns->addLayout(right, 2);

        auto* layout = new QVBoxLayout(this);
        layout->addLayout(columns);
        layout->addLayout(buttonRow(
            {"loadButton", "computeButton", "tableButton", "chartButton", "printButton"}, {"closeButton"}));
    }

    // BAU_RECH into BAUSPAR (emptied first), then BAU_WDATA. A refused plan is no computation:
    // the store keeps what it had.
    void berechnen() {
        VESTRAL_OP("BAU_RECH");
        const BauInputs in = inputs();
        BauOutcome out;
        {
            toolkit::WaitCursor wait;
            invalidate();
            out = calc::bau_rech(in);
            if (!out.refused) write_bauspar_rows(plan_, out.rows);
            plan_.go_top();
        }
        if (out.refused) {
            toolkit::stop(this, QString::fromStdString(out.title), QString::fromStdString(out.message));
            return;
        }
        res_ = out.results;
        chart_values_ = out.chart_values;
        chart_labels_ = out.chart_labels;
        for (size_t i = 0; i < kResultMembers.size(); ++i)
            result(form().results[i].name)->setValue(res_.*kResultMembers[i]);
        saved_res_ = res_;
        saved_for_ = in;
        setHasResults(true);
        wdata();
    }

    // TABDATA, then the inputs of the contract taken over (or of the bank in the settings).
    void laden() {
        std::vector<ui::GridColumn> columns{
            {" Bankname",
             [](const core::dbf::Table& t) { return " " + QString::fromStdString(t.trimmed("BANKNAME")); },
             Qt::AlignLeft | Qt::AlignVCenter},
            ui::masked_column("Summe ", "BSPSUMME", "@E 99,999,999.99 "),
            ui::masked_column("Sparsatz ", "SPARSATZ", "@E 999.99 "),
            ui::masked_column("Tilgung ", "TILGANNO", "@E 99.999 "),
            {"ab Jahr",
             [](const core::dbf::Table& t) {
                 return QString::fromStdString(core::format_plain(t.num("ABJAHR"), 0));
             },
             Qt::AlignCenter},
        };
        const auto taken = ui::tabdata(this, bank_, "Tabelle der Bausparverträge",
                                       "Es sind noch keine Bausparpläne gespeichert !", std::move(columns));
        // An empty store is only reported: what is typed stays.
        if (bank_.count() == 0 && !taken) return;
        gdata(taken.value_or(0));
        idata();
    }

    // BAU_SHOW: the rows with KEY 1.
    void bau_show() {
        const core::Mask m = core::Mask::parse("@E 999999.99 ");
        std::vector<ui::GridColumn> columns{
            {"Datum",
             [](const core::dbf::Table& t) {
                 return QString::fromStdString(core::format_date(t.date("DATUM")));
             },
             Qt::AlignCenter},
            {" Aktion",
             [](const core::dbf::Table& t) { return " " + QString::fromStdString(t.trimmed("AKTION")); },
             Qt::AlignLeft | Qt::AlignVCenter},
            positive_column("Zahlung ", "EINZAHLUNG"),
            positive_column("Gebühren ", "GEBUEHR"),
            positive_column("Zinsen ", "ZINSEN"),
            {"Gutschrift/Tilgung ",
             [m](const core::dbf::Table& t) {
                 if (t.num("TILGUNG") > 0) return QString::fromStdString(m.format(t.num("TILGUNG")));
                 if (t.num("SPAREN") != 0) return QString::fromStdString(m.format(t.num("SPAREN")));
                 return QString("Zuteilung ");
             }},
            ui::masked_column("Kontostand ", "KTOSTAND", "@E 999999.99 "),
        };
        plan_.set_order(1);
        ui::GridDialog dialog(this, "Bausparen-Tabelle", plan_, std::move(columns));
        dialog.setObjectName("bauShowDialog");
        dialog.grid()->reload();
        dialog.fitAndCenter(480, 560);
        dialog.setWindowModality(Qt::WindowModal);
        dialog.exec();
        plan_.go_top();
    }

    void bau_druck_job() {
        plan_.set_order(1);
        const auto rows = read_bauspar_rows(plan_);
        const auto job = bau_druck(inputs(), res_, rows, core::settings().title());
        toolkit::print_job(this, job);
        plan_.go_top();
    }

    core::dbf::Table& bank_;
    core::dbf::Table& plan_;
    BauInputs in_;
    BauResults res_;
    // The results saved on closing, and the inputs they belong to (loaded or last computed).
    BauResults saved_res_;
    BauInputs saved_for_;
    std::vector<double> chart_values_;
    std::vector<std::string> chart_labels_;
};

}  // namespace

ui::ChartArgs bau_chart(const std::vector<double>& values, const std::vector<std::string>& labels) {
    ui::ChartArgs a;
    a.values = values;
    for (const std::string& l : labels) a.labels << QString::fromStdString(l);
    // MAKEHEADER
    a.header = {QString::fromStdString(core::settings().pcrelease1) + " - Graphik-Maschine", "Bausparvertrag",
                "Kostenvergleich", "", "EUR"};
    // MAKECOLORS
    a.colors = ui::calculator_chart_colors();
    a.depth = 5;
    return a;
}

void bausparen(QWidget* parent) {
    VESTRAL_OP("BAUSPAREN");
    core::dbf::Table bank;
    core::dbf::Table plan;
    if (!core::open_catalogue_table(bank, core::settings().dir, "BSPBANK")) return;
    bank.set_order(bank.add_order("BSPBANK", bspbank_record_key));
    if (!core::open_catalogue_table(plan, core::settings().dir, "BAUSPAR")) return;
    const int key1 =
        plan.add_order("BAUSPAR.NT1", {}, [](const core::dbf::Table& t) { return t.num("KEY") == 1; });
    plan.add_order("BAUSPAR.NT2", {}, [](const core::dbf::Table& t) { return t.num("KEY") == 2; });
    plan.set_order(key1);
    plan.zap();
    plan.flush();

    {
        BausparenDialog dialog(parent, bank, plan);
        dialog.exec();
    }
    // Only this calculator's own tables: a financing plan that started it keeps its tables open.
    plan.close();
    bank.close();
}

}  // namespace vestral::calc
