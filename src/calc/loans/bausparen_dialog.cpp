#include "calc/loans/bausparen_dialog.h"

#include <QDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QShowEvent>
#include <QTimer>
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
#include "toolkit/fonts.h"
#include "toolkit/help.h"
#include "toolkit/messages.h"
#include "toolkit/print.h"
#include "toolkit/wait_cursor.h"
#include "ui/blocks.h"
#include "ui/grid_dialog.h"
#include "ui/numeric_field.h"
#include "ui/saved_plans_dialog.h"
#include "ui/text_field.h"

namespace vestral::calc {

namespace {

namespace fs = std::filesystem;

struct InputSpec {
    const char* name;
    const char* label;
    const char* unit;
    const char* mask;
    const char* help;
    double BauInputs::*member;
};

// In the order of the checks: input n is element n - 1.
const std::array<InputSpec, 11> kInputs{{
    {"NBAUSPSUM", "Bausparsumme", "€", "@K@E 99,999,999.99 ", "Zu erzielende Bausparsumme",
     &BauInputs::NBAUSPSUM},
    {"NABSCHGEB", "Abschlußgebühr", "%", "@K@E 9,999,999.999 ", "Vertragsabschluß-Gebühren in %",
     &BauInputs::NABSCHGEB},
    {"NKONTOGEB", "monatliche Gebühr", "€", "@K@E 9,999,999.999 ", "Kontoführungs-Gebühren in EUR",
     &BauInputs::NKONTOGEB},
    {"NABJAHR", "Vertragsbeginn", "", "@K 9999 ", "Laufzeit ab Jahr", &BauInputs::NABJAHR},
    {"NSPARTEIL", "Sparanteil", "%", "@K@E 999999999.99 ", "Zu erzielender Sparanteil - meist 40 - 50 %",
     &BauInputs::NSPARTEIL},
    {"NSZINSSTZ", "Ansparzinssatz", "%", "@K@E 99999999.999 ", "Sparzinsen bis zur Zuteilung",
     &BauInputs::NSZINSSTZ},
    {"NMONRATE", "monatl. Rate", "€", "@K@E 9,999,999.99 ", "monatliche Sparrate in EUR",
     &BauInputs::NMONRATE},
    {"NTILGANNO", "Tilgung pro Jahr", "%", "@K@E 99999999.999 ", "jährliche Tilgung in Prozent",
     &BauInputs::NTILGANNO},
    {"NTZINSSTZ", "Tilgungszinssatz", "%", "@K@E 99999999.999 ", "Tilgungszinsen nach der Zuteilung",
     &BauInputs::NTZINSSTZ},
    {"NTFESTZEIT", "Zinsbindung", "Jahre", "@K 99999999999 ", "Dauer der Festzeit", &BauInputs::NTFESTZEIT},
    {"NTZINSNACH", "Zinssatz nach Bindung", "%", "@K@E 99999999.999 ", "Tilgungszinsen nach der Zuteilung",
     &BauInputs::NTZINSNACH},
}};

struct ResultSpec {
    const char* name;
    const char* label;
    const char* unit;
    const char* mask;
    double BauResults::*member;
};

const std::array<ResultSpec, 7> kResults{{
    {"NSMONATE", "Dauer Sparphase", "Jahre, Monate", "@E 999999999.99 ", &BauResults::NSMONATE},
    {"NTMONATE", "Dauer Tilgungsphase", "Jahre, Monate", "@E 999999999.99 ", &BauResults::NTMONATE},
    {"NMONTILG", "monatliche Tilgung", "€", "@E 999,999,999.99 ", &BauResults::NMONTILG},
    {"NSSUMME", "Ansparsumme", "€", "@E 999,999,999.99 ", &BauResults::NSSUMME},
    {"NTSUMME", "gezahlte Tilgung", "€", "@E 999,999,999.99 ", &BauResults::NTSUMME},
    {"NTZINSEN", "gezahlte Zinsen", "€", "@E 999,999,999.99 ", &BauResults::NTZINSEN},
    {"NZSUMME", "gezahlte Summe", "€", "@E 999,999,999.99 ", &BauResults::NZSUMME},
}};

// Opens a table of the program directory exclusively, creating it from the catalogue when missing.
bool open_table(core::dbf::Table& t, const char* name) {
    return core::dbf::open_or_create(t, core::settings().dir, std::string(name) + ".DBF", core::catalogue_layout(name),
                                     name);
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

class BausparenDialog : public QDialog {
  public:
    BausparenDialog(QWidget* parent, core::dbf::Table& bank, core::dbf::Table& plan)
        : QDialog(parent), bank_(bank), plan_(plan) {
        setObjectName("bausparenDialog");
        setWindowTitle("Bausparen");
        setFont(toolkit::ofont());
        build();
    }

    // BAU_GDATA: the inputs of the given store record, or with 0 of the bank named in the settings.
    void gdata(long recno) {
        VESTRAL_OP("BAU_GDATA");
        const std::string name = core::pad_utf8(core::settings().ini().get(kBauSection, "Bankname", ""), 40);
        if (recno == 0) {
            in_ = bspbank_load(bank_, name);
        } else {
            bank_.go_to(recno);
            in_ = bspbank_load_current(bank_);
        }
        res_ = BauResults{};
        show_results();
    }

    // BAU_IDATA: redraws the input fields from the loaded inputs.
    void idata() {
        name_->setText(QString::fromStdString(core::trim(in_.CBANKNAME)));
        for (size_t i = 0; i < kInputs.size(); ++i) fields_[i]->setValue(in_.*kInputs[i].member);
    }

    // BAU_WDATA: the store's record of the bank and section "BAUSP".
    void wdata() {
        VESTRAL_OP("BAU_WDATA");
        const BauInputs in = inputs();
        bspbank_save(bank_, in, res_);
        core::settings().ini().set_many(kBauSection, bausp_settings_entries(in, res_));
    }

    void updateButtons() {
        const bool failed = ui::NumericField::anyFailed(this);
        const bool has_plan = plan_.reccount() > 0;
        compute_->setEnabled(!failed && bau_can_compute(inputs()));
        table_->setEnabled(!failed && has_plan);
        chart_->setEnabled(!failed && has_plan);
        print_->setEnabled(!failed && has_plan);
    }

  protected:
    void showEvent(QShowEvent* e) override {
        QDialog::showEvent(e);
        if (!shown_) {
            shown_ = true;
            idata();
            updateButtons();
        }
    }

  private:
    BauInputs inputs() const {
        BauInputs in;
        in.CBANKNAME = name_->text().toStdString();
        for (size_t i = 0; i < kInputs.size(); ++i) in.*kInputs[i].member = fields_[i]->value();
        return in;
    }

    void show_results() {
        for (size_t i = 0; i < kResults.size(); ++i) results_[i]->setValue(res_.*kResults[i].member);
    }

    void empty_plan() {
        if (plan_.reccount() == 0) return;
        plan_.zap();
        plan_.flush();
    }

    // Any change of an input: the plan no longer belongs to the inputs.
    void changed() {
        empty_plan();
        compute_->setEnabled(false);
        table_->setEnabled(false);
        chart_->setEnabled(false);
        print_->setEnabled(false);
    }

    void fieldRow(QGridLayout* grid, int row, const QString& text, QWidget* field, const QString& unit) {
        grid->addWidget(ui::label(text, this), row, 0);
        grid->addWidget(field, row, 1);
        if (!unit.isEmpty()) grid->addWidget(ui::label(unit, this), row, 2);
    }

    ui::NumericField* inputField(size_t i) {
        const InputSpec& s = kInputs[i];
        auto* f = new ui::NumericField(QString::fromUtf8(s.mask), this);
        f->setObjectName(s.name);
        f->setHelpText(QString::fromUtf8(s.help));
        const int n = static_cast<int>(i);
        f->setCheck([this, n](double v) {
            BauInputs in = inputs();
            in.*kInputs[static_cast<size_t>(n)].member = v;
            return bau_checks(in)[static_cast<size_t>(n)];
        });
        connect(f, &ui::NumericField::edited, this, [this] { ui::run_guarded(this, [this] { changed(); }); });
        connect(f, &ui::NumericField::checked, this,
                [this](bool) { ui::run_guarded(this, [this] { updateButtons(); }); });
        fields_[i] = f;
        return f;
    }

    void build() {
        const QColor frame = ui::color(ui::rgb(0, 0, 128));
        name_ = new ui::TextField(40, this);
        name_->setObjectName("CBANKNAME");
        name_->setHelpText("Name des Instituts");
        connect(name_, &ui::TextField::edited, this,
                [this] { ui::run_guarded(this, [this] { changed(); }); });
        connect(name_, &QLineEdit::editingFinished, this,
                [this] { ui::run_guarded(this, [this] { updateButtons(); }); });
        for (size_t i = 0; i < kInputs.size(); ++i) inputField(i);

        // One label width for the three input frames, so that their fields line up.
        int label_width = 0;
        for (const InputSpec& in : kInputs)
            label_width = std::max(label_width, fontMetrics().horizontalAdvance(QString::fromUtf8(in.label)));
        label_width += 12;
        auto group = [&](const QString& title, size_t from, size_t to, bool with_name) {
            auto* g = ui::framed_group(title, frame, this);
            auto* grid = new QGridLayout(g);
            int row = 0;
            if (with_name) {
                // The name spans the unit column: 40 characters need the room.
                grid->addWidget(ui::label("Bankname", this), row, 0);
                grid->addWidget(name_, row++, 1, 1, 2);
                name_->setMinimumWidth(fontMetrics().horizontalAdvance(QString(26, 'x')));
            }
            for (size_t i = from; i <= to; ++i)
                fieldRow(grid, row++, QString::fromUtf8(kInputs[i].label), fields_[i],
                         QString::fromUtf8(kInputs[i].unit));
            grid->setColumnStretch(1, 1);
            grid->setColumnMinimumWidth(0, label_width);
            grid->setColumnMinimumWidth(2, fontMetrics().horizontalAdvance("Jahre") + 6);
            return g;
        };
        auto* contract = group(QString(), 0, 3, true);
        contract->setObjectName("contractFrame");
        auto* savings = group("Ansparphase", 4, 6, false);
        savings->setObjectName("savingsFrame");
        auto* loan = group("Tilgungsphase", 7, 10, false);
        loan->setObjectName("loanFrame");

        auto* summary = ui::framed_group("Zusammenfassung", frame, this);
        summary->setObjectName("summaryFrame");
        auto* sgrid = new QGridLayout(summary);
        for (size_t i = 0; i < kResults.size(); ++i) {
            auto* r = new ui::ResultField(QString::fromUtf8(kResults[i].mask), this);
            r->setObjectName(kResults[i].name);
            results_[i] = r;
            fieldRow(sgrid, static_cast<int>(i), QString::fromUtf8(kResults[i].label), r,
                     QString::fromUtf8(kResults[i].unit));
        }
        sgrid->setRowStretch(static_cast<int>(kResults.size()), 1);

        auto* load = ui::button(this, "loadButton", "&Laden", "Bankdaten laden", "Bausparvertrag laden");
        compute_ = ui::button(this, "computeButton", "&Berechnen", "Berechnung durchführen",
                              "Bausparvertrag berechnen");
        table_ = ui::button(this, "tableButton", "&Tabelle", "Bauspartabelle anzeigen", "Tabelle anzeigen");
        chart_ =
            ui::button(this, "chartButton", "&Grafik", "Grafik für Kostenvergleich", "Grafik Bausparverlauf");
        print_ = ui::button(this, "printButton", "&Drucken", "Bausparplan drucken");
        auto* close = ui::button(this, "closeButton", "&Schließen", "Dialog verlassen", QString(), true);
        ui::on_click(load, [this] { laden(); });
        ui::on_click(compute_, [this] { berechnen(); });
        ui::on_click(table_, [this] { bau_show(); });
        ui::on_click(chart_, [this] { grafik(); });
        ui::on_click(print_, [this] { bau_druck_job(); });
        ui::on_click_always(close, [this] { reject(); });

        auto* columns = new QHBoxLayout;
        auto* left = new QVBoxLayout;
        left->addWidget(contract);
        left->addWidget(savings);
        left->addWidget(loan);
        columns->addLayout(left, 3);
        auto* right = new QVBoxLayout;
        right->addWidget(summary);
        columns->addLayout(right, 2);

        auto* buttons = new QHBoxLayout;
        for (QPushButton* b : {load, compute_, table_, chart_, print_}) buttons->addWidget(b);
        buttons->addStretch();
        buttons->addWidget(close);

        auto* layout = new QVBoxLayout(this);
        layout->addLayout(columns);
        layout->addLayout(buttons);
    }

    // BAU_CHECK(0): every input in order; a failing one shows its message and the first of them
    // gets the focus.
    bool check_all() {
        ui::NumericField* first = nullptr;
        for (ui::NumericField* f : fields_) {
            if (!f->runCheck(true) && !first) first = f;
        }
        if (!first) return true;
        first->setFocus(Qt::OtherFocusReason);
        compute_->setEnabled(false);
        table_->setEnabled(false);
        chart_->setEnabled(false);
        print_->setEnabled(false);
        return false;
    }

    void berechnen() {
        if (!check_all()) return;
        // A refused plan is no computation: the store keeps what it had.
        if (bau_rech()) wdata();
        updateButtons();
    }

    // BAU_RECH: the plan into BAUSPAR (emptied first), the results into the fields.
    bool bau_rech() {
        const BauInputs in = inputs();
        BauOutcome out;
        {
            toolkit::WaitCursor wait;
            out = calc::bau_rech(in);
            plan_.zap();
            if (!out.refused)
                write_bauspar_rows(plan_, out.rows);
            else
                plan_.flush();
        }
        res_ = out.results;
        chart_values_ = out.chart_values;
        chart_labels_ = out.chart_labels;
        plan_.go_top();
        show_results();
        if (out.refused)
            toolkit::stop(this, QString::fromStdString(out.title), QString::fromStdString(out.message));
        return !out.refused;
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
        gdata(taken.value_or(0));
        idata();
        empty_plan();
        updateButtons();
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
        dialog.exec();
        plan_.go_top();
    }

    void grafik() {
        QWidget* w = ui::barsingle(bau_chart(chart_values_, chart_labels_));
        w->setObjectName("bausparChart");
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
    std::vector<double> chart_values_;
    std::vector<std::string> chart_labels_;
    ui::TextField* name_ = nullptr;
    std::array<ui::NumericField*, 11> fields_{};
    std::array<ui::ResultField*, 7> results_{};
    QPushButton* compute_ = nullptr;
    QPushButton* table_ = nullptr;
    QPushButton* chart_ = nullptr;
    QPushButton* print_ = nullptr;
    bool shown_ = false;
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
    toolkit::help::TopicScope topic("Bausparvertrag");
    core::dbf::Table bank;
    core::dbf::Table plan;
    if (!open_table(bank, "BSPBANK")) return;
    bank.set_order(bank.add_order("BSPBANK", bspbank_record_key));
    if (!open_table(plan, "BAUSPAR")) return;
    const int key1 =
        plan.add_order("BAUSPAR.NT1", {}, [](const core::dbf::Table& t) { return t.num("KEY") == 1; });
    plan.add_order("BAUSPAR.NT2", {}, [](const core::dbf::Table& t) { return t.num("KEY") == 2; });
    plan.set_order(key1);
    plan.zap();
    plan.flush();

    BausparenDialog dialog(parent, bank, plan);
    dialog.gdata(0);
    dialog.adjustSize();
    ui::center_on_main(&dialog, std::max(dialog.height(), 430), std::max(dialog.width(), 640));
    dialog.exec();
    ui::run_guarded(parent, [&] { dialog.wdata(); });
    // Only this calculator's own tables: a financing plan that started it keeps its tables open.
    plan.close();
    bank.close();
}

}  // namespace vestral::calc
