#include "calc/loans/hypotilg_dialog.h"

#include <algorithm>
#include <tuple>

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "calc/loans/hypotilg_print.h"
#include "core/catalogue.h"
#include "core/dbf.h"
#include "core/files.h"
#include "core/mask.h"
#include "core/opstack.h"
#include "core/program_settings.h"
#include "toolkit/help.h"
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

namespace dbf = core::dbf;

std::vector<ui::GridColumn> ht_show_columns(const HypoInputs& in, bool compressed) {
    namespace f = hypothek_fields;
    std::vector<ui::GridColumn> c;
    c.push_back(
        {"Datum ",
         [](const dbf::Table& t) { return QString::fromStdString(core::format_date(t.date(f::DATUM))); },
         Qt::AlignCenter});
    c.push_back(ui::masked_column("Hypothek ", f::HYPOTHEK, "@E 999,999,999.99 "));
    c.push_back(ui::masked_column("Zinsen ", compressed ? f::ZINSSUM : f::ZINSEN, "@E 9,999,999.99 "));
    c.push_back(ui::masked_column("Tilgung ", compressed ? f::TILGSUM : f::TILGUNG, "@E 9,999,999.99 "));
    c.push_back(ui::masked_column("Monatsraten ", compressed ? f::MONRSUM : f::MONRATE, "@E 9,999,999.99 "));
    if (in.NKONTOGEB + in.NKREDITDM > 0)
        c.push_back(ui::masked_column_blank0("Gebühren ", f::GEBUEHR, "@E 999,999.99 "));
    if (in.NEINMALDM > 0)
        c.push_back(ui::masked_column_blank0("Sondertilgung ", f::EINMALDM, "@E 999,999.99 "));
    c.push_back(ui::masked_column("Resthypothek ", f::RESTHYP, "@E 999,999,999.99 "));
    c.push_back(ui::masked_column("Gezahlt ", f::GEZAHLT, "@E 999,999,999.99 "));
    c.push_back(ui::masked_column("Restzins ", f::RESTZINS, "@E 999,999,999.99 "));
    if (in.NEINMALDM > 0)
        c.push_back(ui::masked_column("Sum. Sondertilg. ", f::EINMSUM, "@E 999,999,999.99 "));
    return c;
}

std::vector<ui::GridColumn> hypobank_list_columns() {
    namespace f = hypobank_fields;
    std::vector<ui::GridColumn> c;
    c.push_back({" Bankname",
                 [](const dbf::Table& t) { return " " + QString::fromStdString(t.trimmed(f::BANKNAME)); },
                 Qt::AlignLeft | Qt::AlignVCenter});
    c.push_back(ui::masked_column("Hypothek ", f::HYPOTHEK, "@E 99,999,999.99 "));
    c.push_back(ui::masked_column("Zinssatz ", f::ZINSSATZ, "@E 999.99 "));
    c.push_back(ui::masked_column("Tilgung ", f::TILGJAHR, "@E 99.999 "));
    c.push_back({" Datum",
                 [](const dbf::Table& t) {
                     core::Date d = t.date(f::ABDATUM);
                     if (d.empty()) return QString(" ");
                     return QString(" %1.%2").arg(d.month, 2, 10, QChar('0')).arg(d.year, 4, 10, QChar('0'));
                 },
                 Qt::AlignLeft | Qt::AlignVCenter});
    return c;
}

ui::ChartArgs ht_chart_args(const HypoChart& chart, const QString& program_name) {
    VESTRAL_OP("MAKEHEADER");
    ui::ChartArgs a;
    a.values = chart.values;
    for (const std::string& l : chart.labels) a.labels << QString::fromStdString(l);
    a.label_is_number.assign(chart.values.size(), true);
    a.header = {program_name + " - Graphik-Maschine", "Hypothekentilgungsplan",
                "Tilgungsverlauf zum Jahresende", "Jahr", "EUR"};
    // MAKECOLORS: the first entry is unused.
    a.colors = ui::calculator_chart_colors();
    a.depth = 10;
    return a;
}

namespace {

constexpr const char* kTopic = "Hypothekentilgungsplan";

// The form: inputs with their check numbers (HT_CHECK), results and buttons.
ui::FormSpec hypo_form() {
    using ui::ButtonRole;
    using ui::FieldKind;
    ui::FormSpec f;
    f.object_name = "hypotilgDialog";
    f.title = "Hypothekentilgungsplan";
    f.help_topic = kTopic;
    f.fields = {
        {"bankName", "Bankname", "", "", "Name des Instituts", 0, FieldKind::Text, 40},
        {"amount", "Hypothekenbetrag", "€", "@K@E 99,999,999.99 ", "Höhe der Hypothek", 1},
        {"rate", "Nominalzinssatz", "%", "@K@E 9,999,999.999 ", "Nominaler Jahreszins in %", 2},
        {"repayment", "Tilgung pro Jahr", "%", "@K@E 9,999,999.999 ", "jährliche Tilgung in Prozent", 3},
        {"startDate", "Vertragsbeginn", "Datum", "", "Datum des Vertragsbeginns", 4, FieldKind::Date},
        {"fixedPeriod", "Zinsbindung", "Jahre", "@K 9999999999999 ", "Dauer der Zinsfestschreibung", 5},
        {"accountFee", "jährl. Kontoführungsgebühr", "€", "@K@E 99,999,999.99 ",
         "Höhe der Kontoführungsgebühren"},
        {"creditPercent", "Kreditgebühren", "%", "@K@E 999.99 ", "Höhe der Kreditgebühren in %"},
        {"creditEur", "", "€", "@K@E 99,999,999.99 ", "Höhe der Kreditgebühren in EUR"},
        {"followRate", "Zinssatz nach Ende\rder Zinsbindung", "%", "@K@E 9,999,999.999 ",
         "Nominaler Jahreszins in % nach Festzeit", 6},
        {"special", "jährl. Sondertilgung", "€", "@K@E 99,999,999.99 ",
         "Höhe der jährlichen Sondertilgung (max. 1% der Hyposumme)", 7},
    };
    f.results = {
        {"annuity", "monatliche Rate", "€", "@E 999,999,999.99 "},
        {"annuity2", "Rate nach Zinsfestzeit", "€", "@E 999,999,999.99 "},
        {"residualAfterFixed", "Restschuld nach\rZinsbindung", "€", "@E 999,999,999.99 "},
        {"interestSum", "Zinssumme", "€", "@E 999,999,999.99 "},
        {"paymentSum", "Tilgungssumme", "€", "@E 999,999,999.99 "},
        {"repaymentTime", "Tilgungszeit", "Jahre", "999 "},
        {"effectiveRate", "Effektivzinssatz", "%", "@E 99.999 "},
        {"annualRate", "eff. Jahreszins (PAngV)", "%", "@E 99.999 "},
    };
    f.buttons = {
        {"loadButton", "&Laden", "Bankdaten laden", "Tilgungsplan laden", ButtonRole::Action},
        {"computeButton", "&Berechnen", "Hypothek berechnen", "Hypothek berechnen", ButtonRole::Compute},
        {"tableButton", "&Tabelle", "Tilgungtabelle anzeigen", "Tilgungstabelle anzeigen",
         ButtonRole::Result},
        {"chartButton", "&Grafik", "Grafik Tilgungsverlauf", "Grafik Tilgungsverlauf", ButtonRole::Result},
        {"printButton", "&Drucken", "Tilgungsplan drucken", "", ButtonRole::Result},
        {"closeButton", "&Schließen", "Dialog verlassen", "", ButtonRole::Close},
    };
    f.height = 440;
    f.width = 620;
    return f;
}

class HypoDialog : public ui::CalculatorDialog {
  public:
    HypoDialog(QWidget* parent, dbf::Table& bank, dbf::Table& plan, int monthly, int yearly, double amount)
        : CalculatorDialog(parent, hypo_form()),
          bank_(bank),
          plan_(plan),
          monthly_(monthly),
          yearly_(yearly) {
        build();
        // The given amount is replaced by the loaded plan's.
        number("amount")->setValue(amount);
    }

    bool computed() const { return computed_; }

  protected:
    core::InpFail check(int n) const override { return ht_checks(inputs())[static_cast<size_t>(n - 1)]; }
    bool canCompute() const override {
        return number("amount")->liveValue() > 0 && number("rate")->liveValue() > 0;
    }
    void updateExtra() override { months_->setEnabled(number("special")->value() > 0); }

    // HT_GDATA with record 0 (the bank named in the settings), then HT_IDATA.
    void load() override {
        gdata(0);
        idata();
    }

    // HT_WDATA when the dialog closes.
    void save() override { wdata(); }

    // The plan of earlier inputs goes with them.
    void clearResults() override {
        if (plan_.reccount() > 0) {
            plan_.zap();
            plan_.flush();
        }
        chart_data_ = {};
        rows_.clear();
        // No rate is defined without a plan: empty, never 0.
        result("annualRate")->setValue(std::optional<double>{});
    }

  private:
    // --- building ---------------------------------------------------------------------------

    void build() {
        specialpz_ = new ui::ResultField("@E 99.99", this);
        specialpz_->setObjectName("specialPercent");
        months_ = new QComboBox(this);
        months_->setObjectName("monthList");
        for (const char* m : kHypoMonths) months_->addItem(QString::fromUtf8(m));
        statusHint(months_, "Zahlungsmonat der jährlichen Sondertilgung");
        connect(months_, &QComboBox::currentIndexChanged, this, [this](int) {
            if (!loading_) guarded([this] { invalidate(); });
        });

        // Couplings, when the field is left with a value that passed its check.
        ui::NumericField* rate = number("rate");
        ui::NumericField* creditpr = number("creditPercent");
        ui::NumericField* creditdm = number("creditEur");
        connect(rate, &ui::InputField::checked, this, [this](bool ok) {
            if (ok) number("followRate")->setValue(number("rate")->value());
        });
        connect(creditpr, &ui::InputField::edited, this, [this] { number("creditEur")->setValue(0); });
        connect(creditdm, &ui::InputField::edited, this, [this] { number("creditPercent")->setValue(0); });
        connect(creditpr, &ui::InputField::checked, this, [this](bool) {
            number("creditEur")
                ->setValue(ht_credit_fee_eur(number("amount")->value(), number("creditPercent")->value()));
        });
        connect(creditdm, &ui::InputField::checked, this, [this](bool) {
            number("creditPercent")
                ->setValue(ht_credit_fee_percent(number("amount")->value(), number("creditEur")->value()));
        });
        for (const char* name : {"special", "amount"})
            connect(number(name), &ui::InputField::checked, this, [this](bool) { showSpecialPercent(); });

        onClick("loadButton", [this] { laden(); });
        onClick("computeButton", [this] { compute(); });
        onClick("tableButton", [this] { ht_show(); });
        onClick("chartButton", [this] {
            QWidget* w =
                showChart(ht_chart_args(chart_data_, QString::fromStdString(core::settings().pcrelease1)));
            w->setObjectName("hypoChart");
        });
        onClick("printButton", [this] { ht_druck_job(); });

        // Layout: inputs on the left, results on the right, buttons below.
        const QColor frame = ui::color(ui::rgb(0, 0, 128));
        auto* inputs_box = new QGridLayout;
        int r = 0;
        inputs_box->addWidget(labelOf("bankName"), r, 0);
        inputs_box->addWidget(field("bankName"), r, 1, 1, 3);
        inputs_box->addWidget(button("loadButton"), r, 4);
        ++r;
        for (const char* name : {"amount", "rate", "repayment", "startDate", "fixedPeriod"})
            addRow(inputs_box, r++, name);

        auto* fees = ui::framed_group("mitfinanzierte Gebühren", frame, this);
        fees->setObjectName("feesGroup");
        auto* fg = new QGridLayout(fees);
        addRow(fg, 0, "accountFee");
        fg->addWidget(labelOf("creditPercent"), 1, 0);
        auto* credit_line = new QHBoxLayout;
        credit_line->addWidget(field("creditPercent"));
        credit_line->addWidget(unitOf("creditPercent"));
        credit_line->addWidget(field("creditEur"));
        fg->addLayout(credit_line, 1, 1);
        fg->addWidget(unitOf("creditEur"), 1, 2);
        addRow(fg, 2, "followRate");
        inputs_box->addWidget(fees, r++, 0, 1, 5);

        addRow(inputs_box, r, "special");
        auto* pz_line = new QHBoxLayout;
        pz_line->addWidget(specialpz_);
        pz_line->addWidget(ui::label("%", this));
        inputs_box->addLayout(pz_line, r++, 3, 1, 2);
        inputs_box->addWidget(ui::label("Zahlungsmonat", this), r, 0);
        inputs_box->addWidget(months_, r++, 1);

        auto* results = ui::framed_group("Ergebnis", frame, this);
        results->setObjectName("resultsGroup");
        auto* rg = new QGridLayout(results);
        int k = 0;
        for (const ui::ResultSpec& res : form().results) addRow(rg, k++, res.name);
        rg->setRowStretch(k, 1);

        auto* top = new QHBoxLayout;
        top->addLayout(inputs_box, 3);
        top->addWidget(results, 2);
        auto* layout = new QVBoxLayout(this);
        layout->addLayout(top);
        layout->addStretch();
        layout->addLayout(
            buttonRow({}, {"computeButton", "tableButton", "chartButton", "printButton", "closeButton"}));

        QWidget* chain[] = {field("bankName"),
                            button("loadButton"),
                            field("amount"),
                            field("rate"),
                            field("repayment"),
                            field("startDate"),
                            field("fixedPeriod"),
                            field("accountFee"),
                            field("creditPercent"),
                            field("creditEur"),
                            field("followRate"),
                            field("special"),
                            months_,
                            button("computeButton"),
                            button("tableButton"),
                            button("chartButton"),
                            button("printButton")};
        for (size_t i = 0; i + 1 < std::size(chain); ++i) setTabOrder(chain[i], chain[i + 1]);
    }

    // --- values -----------------------------------------------------------------------------

    HypoInputs inputs() const {
        HypoInputs in;
        in.CBANKNAME = text("bankName")->text().toStdString();
        in.NHYPOTHEK = number("amount")->value();
        in.NZINSSATZ = number("rate")->value();
        in.NTILGANNO = number("repayment")->value();
        in.DABDATUM = date("startDate")->date();
        in.NLAUFZEIT = static_cast<int>(number("fixedPeriod")->value());
        in.NKONTOGEB = number("accountFee")->value();
        in.NKREDITPR = number("creditPercent")->value();
        in.NKREDITDM = number("creditEur")->value();
        in.NZINSNACH = number("followRate")->value();
        in.NEINMALDM = number("special")->value();
        in.NEINMALMO = months_->currentIndex() + 1;
        return in;
    }

    void showSpecialPercent() {
        const double pz = ht_einmalpz(number("amount")->value(), number("special")->value());
        specialpz_->setValue(pz);
        const QColor text =
            ht_einmalpz_is_red(pz) ? QColor(Qt::red) : ui::color(core::ProgramSettings::kColF);
        specialpz_->setColors(text, ui::color(core::ProgramSettings::kColBH));
        months_->setEnabled(number("special")->value() > 0);
    }

    // HT_GDATA: the inputs of a saved plan (record 0: the bank named in the settings), and the
    // results saved with them.
    void gdata(long recno) {
        VESTRAL_OP("HT_GDATA");
        const std::string name = hypo_bank_name(core::settings().ini().load());
        bool found = true;
        if (recno == 0)
            found = hypobank_seek(bank_, name);
        else
            bank_.go_to(recno);
        if (!found) {
            bank_.go_bottom();
            bank_.skip();
        }
        in_ = hypobank_load(bank_);
        saved_res_ = hypobank_results(bank_);
    }

    // HT_IDATA: every field from the loaded values; the results start empty.
    void idata() {
        VESTRAL_OP("HT_IDATA");
        loading_ = true;
        text("bankName")->setAcceptedText(QString::fromStdString(core::trim(in_.CBANKNAME)));
        number("amount")->setValue(in_.NHYPOTHEK);
        number("rate")->setValue(in_.NZINSSATZ);
        number("repayment")->setValue(in_.NTILGANNO);
        date("startDate")->setDate(in_.DABDATUM);
        number("fixedPeriod")->setValue(in_.NLAUFZEIT);
        number("accountFee")->setValue(in_.NKONTOGEB);
        number("creditPercent")->setValue(in_.NKREDITPR);
        number("creditEur")->setValue(in_.NKREDITDM);
        number("followRate")->setValue(in_.NZINSNACH);
        number("special")->setValue(in_.NEINMALDM);
        months_->setCurrentIndex(std::clamp(in_.NEINMALMO, 1, 12) - 1);
        loading_ = false;
        // What the fields hold now is what the saved results belong to.
        saved_for_ = inputs();
        res_ = HypoResults{};
        showSpecialPercent();
        invalidate();
    }

    // HT_WDATA: the inputs, with the results that belong to them, into the store and the
    // settings section. A plan without a bank name is not saved.
    void wdata() {
        VESTRAL_OP("HT_WDATA");
        const HypoInputs in = inputs();
        if (core::trim(in.CBANKNAME).empty()) return;
        const HypoResults res = in == saved_for_ ? saved_res_ : HypoResults{};
        hypobank_save(bank_, in, res);
        core::settings().ini().set_many(kHypoSection, hypo_settings_entries(in, res));
    }

    // --- actions ----------------------------------------------------------------------------

    // HT_TAB, then HT_WDATA.
    void compute() {
        VESTRAL_OP("HT_TAB");
        bool repaid = false;
        {
            toolkit::WaitCursor wait;
            invalidate();
            in_ = inputs();
            res_ = HypoResults{};
            HypoOutcome o = ht_tab(in_);
            repaid = o.repaid_ok;
            if (repaid) {
                write_hypothek_rows(plan_, o.rows);
                plan_.set_order(monthly_);
                plan_.go_top();
                res_ = o.results;
                rows_ = std::move(o.rows);
                chart_data_ = std::move(o.chart);
                computed_ = true;
                saved_res_ = res_;
                saved_for_ = in_;
            }
            showResults();
        }
        if (!repaid) {
            toolkit::stop(this, kHypoNotRepaidTitle, kHypoNotRepaid);
            return;
        }
        setHasResults(true);
        wdata();
    }

    void showResults() {
        result("annuity")->setValue(res_.NANNUITAT);
        result("annuity2")->setValue(res_.NANNUITA2);
        result("residualAfterFixed")->setValue(res_.NRESTNACH);
        result("interestSum")->setValue(res_.NZINSSUM);
        result("paymentSum")->setValue(res_.NTILGSUM);
        result("repaymentTime")->setValue(res_.NTILGZEIT);
        result("effectiveRate")->setValue(res_.NEFFZINS);
        result("annualRate")->setValue(res_.NJAHRESZINS);
    }

    // TABDATA and the "Laden" steps after it.
    void laden() {
        VESTRAL_OP("TABDATA");
        auto taken = ui::tabdata(this, bank_, "Tabelle der Hypotheken-Tilgungspläne",
                                 "Es sind noch keine Tilgungspläne gespeichert !", hypobank_list_columns());
        if (bank_.count() > 0 || taken) {
            gdata(taken.value_or(0));
            idata();
        }
        invalidate();
        field("amount")->setFocus(Qt::OtherFocusReason);
    }

    // HT_SHOW.
    void ht_show() {
        VESTRAL_OP("HT_SHOW");
        ui::GridDialog d(this, "Hypothekentilgungsplan - Ablauf", plan_, ht_show_columns(in_, false), true);
        d.setObjectName("hypoTableDialog");
        d.grid()->setObjectName("hypoGrid");
        auto* compress = new QCheckBox(" &komprimierte Darstellung", &d);
        compress->setObjectName("compressedBox");
        ui::status_hint(compress, "detaillierte oder jährliche Darstellung");
        d.extraRow()->addWidget(compress);
        d.extraRow()->addStretch();
        const auto show = [this, &d](bool compressed) {
            plan_.set_order(compressed ? yearly_ : monthly_);
            plan_.go_top();
            d.grid()->setColumns(ht_show_columns(in_, compressed));
            d.grid()->scrollToTop();
            if (d.grid()->rows() > 0) d.grid()->selectRow(0);
        };
        // The year-end sums are wider than the monthly amounts: the view takes the width of the
        // wider of its two forms, so that the last column shows in both without scrolling.
        show(true);
        const int compressed_width = d.grid()->fullWidth();
        show(false);
        connect(compress, &QCheckBox::toggled, &d,
                [&d, show](bool on) { ui::run_guarded(&d, [&] { show(on); }); });
        d.fitAndCenter(500, std::max(700, compressed_width + 24));
        // A screen narrower than the table: the frozen date column stays, the others scroll.
        d.grid()->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
        d.setWindowModality(Qt::WindowModal);
        d.exec();
        plan_.set_order(monthly_);
        plan_.go_top();
    }

    void ht_druck_job() {
        toolkit::print_job(this, ht_druck(in_, res_, rows_, core::settings().title()));
        plan_.set_order(monthly_);
        plan_.go_top();
    }

    dbf::Table& bank_;
    dbf::Table& plan_;
    int monthly_, yearly_;
    HypoInputs in_;
    HypoResults res_;
    // The results saved on closing, and the inputs they belong to (loaded or last computed).
    HypoResults saved_res_;
    HypoInputs saved_for_;
    HypoChart chart_data_;
    std::vector<HypoRow> rows_;
    bool computed_ = false;
    bool loading_ = false;

    ui::ResultField* specialpz_ = nullptr;
    QComboBox* months_ = nullptr;
};

}  // namespace

bool hypotilg(QWidget* parent, double amount) {
    VESTRAL_OP("HYPOTILG");
    dbf::Table bank;
    dbf::Table plan;
    if (!core::open_catalogue_table(bank, core::settings().dir, "HYPOBANK") ||
        !core::open_catalogue_table(plan, core::settings().dir, "HYPOTHEK"))
        return false;
    bank.set_order(bank.add_order("HYPOBANK.NTX", [](const dbf::Table& t) {
        return core::to_upper_name(t.trimmed(hypobank_fields::BANKNAME));
    }));
    const auto key = [](const dbf::Table& t) {
        return std::to_string(static_cast<int>(t.num(hypothek_fields::KEY)));
    };
    const int monthly = plan.add_order("HYPOTHEK.NT1", key,
                                       [](const dbf::Table& t) { return t.num(hypothek_fields::KEY) == 1; });
    const int yearly = plan.add_order("HYPOTHEK.NT2", key,
                                      [](const dbf::Table& t) { return t.num(hypothek_fields::KEY) == 2; });
    plan.set_order(monthly);
    plan.zap();
    plan.flush();

    bool computed = false;
    {
        HypoDialog d(parent, bank, plan, monthly, yearly, amount);
        d.exec();
        computed = d.computed();
    }
    // Only this calculator's own tables close here (a calling financing plan keeps its tables).
    bank.close();
    plan.close();
    return computed;
}

}  // namespace vestral::calc
