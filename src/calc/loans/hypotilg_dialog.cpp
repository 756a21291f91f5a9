#include "calc/loans/hypotilg_dialog.h"

#include <algorithm>
#include <tuple>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QPointer>
#include <QVBoxLayout>

#include "calc/loans/hypotilg_print.h"
#include "core/catalogue.h"
#include "core/dbf.h"
#include "core/files.h"
#include "core/mask.h"
#include "core/opstack.h"
#include "core/program_settings.h"
#include "toolkit/fonts.h"
#include "toolkit/help.h"
#include "toolkit/messages.h"
#include "toolkit/print.h"
#include "toolkit/status.h"
#include "toolkit/wait_cursor.h"
#include "ui/blocks.h"
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

// Shows a control's help text in the status bar while it has the focus.
class StatusText : public QObject {
  public:
    StatusText(QWidget* w, QString text) : QObject(w), text_(std::move(text)) { w->installEventFilter(this); }
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::FocusIn)
            toolkit::show_status(text_);
        else if (e->type() == QEvent::FocusOut)
            toolkit::show_status(QString());
        return false;
    }

  private:
    QString text_;
};

// Opens a catalogue table of the program directory, creating it when it is missing.
bool open_table(dbf::Table& t, const char* name) {
    return dbf::open_or_create(t, core::settings().dir, std::string(name) + ".DBF", core::catalogue_layout(name), name);
}

class HypoDialog : public QDialog {
  public:
    HypoDialog(QWidget* parent, dbf::Table& bank, dbf::Table& plan, int monthly, int yearly, double amount)
        : QDialog(parent), bank_(bank), plan_(plan), monthly_(monthly), yearly_(yearly) {
        setObjectName("hypotilgDialog");
        setWindowTitle("Hypothekentilgungsplan");
        setFont(toolkit::ofont());
        build();
        in_.NHYPOTHEK = amount;
        gdata(0);
        connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
            if (now && isAncestorOf(now)) updateButtons();
        });
        updateButtons();
        const QSize hint = sizeHint();
        ui::center_on_main(this, std::max(hint.height(), 420), std::max(hint.width(), 620));
    }

    bool computed() const { return computed_; }

    // HT_WDATA: the inputs and results into the store and the settings section.
    void wdata() {
        VESTRAL_OP("HT_WDATA");
        in_ = inputs();
        hypobank_save(bank_, in_, res_);
        core::settings().ini().set_many(kHypoSection, hypo_settings_entries(in_, res_));
    }

  protected:
    void showEvent(QShowEvent* e) override {
        QDialog::showEvent(e);
        idata();
    }

  private:
    // --- building ---------------------------------------------------------------------------

    ui::NumericField* numeric(const char* name, const char* mask, const char* help) {
        auto* f = new ui::NumericField(mask, this);
        f->setObjectName(name);
        f->setHelpText(QString::fromUtf8(help));
        connect(f, &ui::NumericField::edited, this, [this] { changed(); });
        return f;
    }

    ui::ResultField* result(const char* name, const char* mask, QWidget* parent) {
        auto* r = new ui::ResultField(mask, parent);
        r->setObjectName(name);
        return r;
    }

    void row(QGridLayout* g, int r, const QString& label, QWidget* field, const QString& unit,
             QWidget* parent) {
        g->addWidget(ui::label(label, parent), r, 0);
        g->addWidget(field, r, 1);
        if (!unit.isEmpty()) g->addWidget(ui::label(unit, parent), r, 2);
    }

    void build() {
        bankname_ = new ui::TextField(40, this);
        bankname_->setObjectName("bankName");
        bankname_->setHelpText("Name des Instituts");
        connect(bankname_, &ui::TextField::edited, this, [this] { changed(); });
        load_ = ui::button(this, "loadButton", "&Laden", "Bankdaten laden", "Tilgungsplan laden");

        amount_ = numeric("amount", "@K@E 99,999,999.99 ", "Höhe der Hypothek");
        rate_ = numeric("rate", "@K@E 9,999,999.999 ", "Nominaler Jahreszins in %");
        repay_ = numeric("repayment", "@K@E 9,999,999.999 ", "jährliche Tilgung in Prozent");
        start_ = new ui::DateField(this);
        start_->setObjectName("startDate");
        start_->setHelpText("Datum des Vertragsbeginns");
        connect(start_, &ui::DateField::edited, this, [this] { changed(); });
        period_ = numeric("fixedPeriod", "@K 9999999999999 ", "Dauer der Zinsfestschreibung");
        account_ = numeric("accountFee", "@K@E 99,999,999.99 ", "Höhe der Kontoführungsgebühren");
        creditpr_ = numeric("creditPercent", "@K@E 999.99 ", "Höhe der Kreditgebühren in %");
        creditdm_ = numeric("creditEur", "@K@E 99,999,999.99 ", "Höhe der Kreditgebühren in EUR");
        follow_ = numeric("followRate", "@K@E 9,999,999.999 ", "Nominaler Jahreszins in % nach Festzeit");
        special_ = numeric("special", "@K@E 99,999,999.99 ",
                           "Höhe der jährlichen Sondertilgung (max. 1% der Hyposumme)");
        specialpz_ = result("specialPercent", "@E 99.99", this);
        months_ = new QComboBox(this);
        months_->setObjectName("monthList");
        for (const char* m : kHypoMonths) months_->addItem(QString::fromUtf8(m));
        new StatusText(months_, "Zahlungsmonat der jährlichen Sondertilgung");
        connect(months_, &QComboBox::currentIndexChanged, this, [this](int) {
            if (!loading_) changed();
        });

        // The bound checks run when a field is left (HT_CHECK with the field's number).
        const std::pair<ui::NumericField*, int> checked_fields[] = {
            {amount_, 1}, {rate_, 2}, {repay_, 3}, {period_, 5}, {follow_, 6}, {special_, 7}};
        for (auto [field, n] : checked_fields)
            field->setCheck(
                [this, n = n](double) { return ht_checks(inputs())[static_cast<size_t>(n - 1)]; });
        start_->setCheck([this](core::Date) { return ht_checks(inputs())[3]; });

        // Couplings.
        connect(rate_, &ui::NumericField::checked, this, [this](bool) { follow_->setValue(rate_->value()); });
        connect(creditpr_, &ui::NumericField::edited, this, [this] { creditdm_->setValue(0); });
        connect(creditdm_, &ui::NumericField::edited, this, [this] { creditpr_->setValue(0); });
        connect(creditpr_, &ui::NumericField::checked, this, [this](bool) {
            creditdm_->setValue(ht_credit_fee_eur(amount_->value(), creditpr_->value()));
        });
        connect(creditdm_, &ui::NumericField::checked, this, [this](bool) {
            creditpr_->setValue(ht_credit_fee_percent(amount_->value(), creditdm_->value()));
        });
        connect(special_, &ui::NumericField::checked, this, [this](bool) { showSpecialPercent(); });
        connect(amount_, &ui::NumericField::checked, this, [this](bool) { showSpecialPercent(); });

        annuitat_ = result("annuity", "@E 999,999,999.99 ", this);
        annuita2_ = result("annuity2", "@E 999,999,999.99 ", this);
        restnach_ = result("residualAfterFixed", "@E 999,999,999.99 ", this);
        zinssum_ = result("interestSum", "@E 999,999,999.99 ", this);
        tilgsum_ = result("paymentSum", "@E 999,999,999.99 ", this);
        tilgzeit_ = result("repaymentTime", "999 ", this);
        effzins_ = result("effectiveRate", "@E 99.999 ", this);

        compute_ =
            ui::button(this, "computeButton", "&Berechnen", "Hypothek berechnen", "Hypothek berechnen");
        table_ = ui::button(this, "tableButton", "&Tabelle", "Tilgungtabelle anzeigen",
                            "Tilgungstabelle anzeigen");
        chart_ =
            ui::button(this, "chartButton", "&Grafik", "Grafik Tilgungsverlauf", "Grafik Tilgungsverlauf");
        print_ = ui::button(this, "printButton", "&Drucken", "Tilgungsplan drucken");
        close_ = ui::button(this, "closeButton", "&Schließen", "Dialog verlassen", QString(), true);
        ui::on_click(load_, [this] { load(); });
        ui::on_click(compute_, [this] { compute(); });
        ui::on_click(table_, [this] { ht_show(); });
        ui::on_click(chart_, [this] { showChart(); });
        ui::on_click(print_, [this] { ht_druck_job(); });
        ui::on_click_always(close_, [this] { accept(); });

        // Layout: inputs on the left, results on the right, buttons below.
        const QColor frame = ui::color(ui::rgb(0, 0, 128));
        auto* inputs_box = new QGridLayout;
        int r = 0;
        inputs_box->addWidget(ui::label("Bankname", this), r, 0);
        inputs_box->addWidget(bankname_, r, 1, 1, 3);
        inputs_box->addWidget(load_, r, 4);
        ++r;
        row(inputs_box, r++, "Hypothekenbetrag", amount_, "€", this);
        row(inputs_box, r++, "Nominalzinssatz", rate_, "%", this);
        row(inputs_box, r++, "Tilgung pro Jahr", repay_, "%", this);
        row(inputs_box, r++, "Vertragsbeginn", start_, "Datum", this);
        row(inputs_box, r++, "Zinsbindung", period_, "Jahre", this);

        auto* fees = ui::framed_group("mitfinanzierte Gebühren", frame, this);
        fees->setObjectName("feesGroup");
        auto* fg = new QGridLayout(fees);
        row(fg, 0, "jährl. Kontoführungsgebühr", account_, "€", fees);
        fg->addWidget(ui::label("Kreditgebühren", fees), 1, 0);
        auto* credit_line = new QHBoxLayout;
        credit_line->addWidget(creditpr_);
        credit_line->addWidget(ui::label("%", fees));
        credit_line->addWidget(creditdm_);
        fg->addLayout(credit_line, 1, 1);
        fg->addWidget(ui::label("€", fees), 1, 2);
        row(fg, 2, "Zinssatz nach Ende\rder Zinsbindung", follow_, "%", fees);
        inputs_box->addWidget(fees, r++, 0, 1, 5);

        inputs_box->addWidget(ui::label("jährl. Sondertilgung", this), r, 0);
        inputs_box->addWidget(special_, r, 1);
        inputs_box->addWidget(ui::label("€", this), r, 2);
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
        for (auto [text, field, unit] :
             {std::tuple<const char*, ui::ResultField*, const char*>{"monatliche Rate", annuitat_, "€"},
              {"Rate nach Zinsfestzeit", annuita2_, "€"},
              {"Restschuld nach\rZinsbindung", restnach_, "€"},
              {"Zinssumme", zinssum_, "€"},
              {"Tilgungssumme", tilgsum_, "€"},
              {"Tilgungszeit", tilgzeit_, "Jahre"},
              {"Effektivzinssatz", effzins_, "%"}}) {
            row(rg, k++, QString::fromUtf8(text), field, QString::fromUtf8(unit), results);
        }
        rg->setRowStretch(k, 1);

        auto* top = new QHBoxLayout;
        top->addLayout(inputs_box, 3);
        top->addWidget(results, 2);
        auto* buttons = new QHBoxLayout;
        buttons->addStretch();
        for (QPushButton* b : {compute_, table_, chart_, print_, close_}) buttons->addWidget(b);
        auto* layout = new QVBoxLayout(this);
        layout->addLayout(top);
        layout->addStretch();
        layout->addLayout(buttons);

        setTabOrder(bankname_, load_);
        setTabOrder(load_, amount_);
        QWidget* chain[] = {amount_, rate_,    repay_,  start_,   period_, account_, creditpr_, creditdm_,
                            follow_, special_, months_, compute_, table_,  chart_,   print_};
        for (size_t i = 0; i + 1 < std::size(chain); ++i) setTabOrder(chain[i], chain[i + 1]);
    }

    // --- values -----------------------------------------------------------------------------

    HypoInputs inputs() const {
        HypoInputs in;
        in.CBANKNAME = bankname_->text().toStdString();
        in.NHYPOTHEK = amount_->value();
        in.NZINSSATZ = rate_->value();
        in.NTILGANNO = repay_->value();
        in.DABDATUM = start_->date();
        in.NLAUFZEIT = static_cast<int>(period_->value());
        in.NKONTOGEB = account_->value();
        in.NKREDITPR = creditpr_->value();
        in.NKREDITDM = creditdm_->value();
        in.NZINSNACH = follow_->value();
        in.NEINMALDM = special_->value();
        in.NEINMALMO = months_->currentIndex() + 1;
        return in;
    }

    void showSpecialPercent() {
        res_.NEINMALPZ = ht_einmalpz(amount_->value(), special_->value());
        specialpz_->setValue(res_.NEINMALPZ);
        const QColor text =
            ht_einmalpz_is_red(res_.NEINMALPZ) ? QColor(Qt::red) : ui::color(core::ProgramSettings::kColF);
        specialpz_->setColors(text, ui::color(core::ProgramSettings::kColBH));
        months_->setEnabled(special_->value() > 0);
    }

    // HT_GDATA: the inputs of a saved plan (record 0: the bank named in the settings).
    void gdata(long recno) {
        VESTRAL_OP("HT_GDATA");
        const std::string name = core::pad_utf8(core::settings().ini().get(kHypoSection, "Bankname", ""), 40);
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
        res_ = HypoResults{};
        res_.NEINMALPZ = ht_einmalpz(in_.NHYPOTHEK, in_.NEINMALDM);
    }

    // HT_IDATA: every field from the values.
    void idata() {
        VESTRAL_OP("HT_IDATA");
        loading_ = true;
        bankname_->setText(QString::fromStdString(core::trim(in_.CBANKNAME)));
        amount_->setValue(in_.NHYPOTHEK);
        rate_->setValue(in_.NZINSSATZ);
        repay_->setValue(in_.NTILGANNO);
        start_->setDate(in_.DABDATUM);
        period_->setValue(in_.NLAUFZEIT);
        account_->setValue(in_.NKONTOGEB);
        creditpr_->setValue(in_.NKREDITPR);
        creditdm_->setValue(in_.NKREDITDM);
        follow_->setValue(in_.NZINSNACH);
        special_->setValue(in_.NEINMALDM);
        months_->setCurrentIndex(std::clamp(in_.NEINMALMO, 1, 12) - 1);
        annuitat_->setValue(res_.NANNUITAT);
        annuita2_->setValue(res_.NANNUITA2);
        restnach_->setValue(res_.NRESTNACH);
        zinssum_->setValue(res_.NZINSSUM);
        tilgsum_->setValue(res_.NTILGSUM);
        tilgzeit_->setValue(res_.NTILGZEIT);
        effzins_->setValue(res_.NEFFZINS);
        const double pz = res_.NEINMALPZ;
        showSpecialPercent();
        res_.NEINMALPZ = pz;
        loading_ = false;
        updateButtons();
    }

    // --- enabling ---------------------------------------------------------------------------

    void emptyPlan() {
        if (plan_.reccount() > 0) {
            plan_.zap();
            plan_.flush();
        }
        chart_data_ = {};
        rows_.clear();
    }

    // Any change of an input: the plan of the earlier inputs goes, and "Berechnen" waits for
    // the next evaluation of the rules (the next change of focus).
    void changed() {
        if (loading_) return;
        emptyPlan();
        compute_->setEnabled(false);
        const bool has_plan = plan_.count() > 0;
        for (QPushButton* b : {table_, chart_, print_}) b->setEnabled(has_plan);
    }

    void updateButtons() {
        compute_->setEnabled(amount_->value() > 0 && rate_->value() > 0);
        const bool has_plan = plan_.count() > 0;
        for (QPushButton* b : {table_, chart_, print_}) b->setEnabled(has_plan);
        months_->setEnabled(special_->value() > 0);
    }

    // --- actions ----------------------------------------------------------------------------

    // HT_CHECK: n = 0 runs all seven checks in order, each failing one with its message.
    bool check(int n) {
        VESTRAL_OP("HT_CHECK");
        const auto checks = ht_checks(inputs());
        QWidget* fields[] = {amount_, rate_, repay_, start_, period_, follow_, special_};
        QWidget* first_failed = nullptr;
        for (int k = 1; k <= 7; ++k) {
            if (n != 0 && n != k) continue;
            auto msg = core::inpfail_message(checks[static_cast<size_t>(k - 1)]);
            if (!msg) continue;
            toolkit::warning(this, core::inpfail_title(), QString::fromStdString(*msg));
            if (!first_failed) first_failed = fields[k - 1];
        }
        if (!first_failed) return true;
        first_failed->setFocus(Qt::OtherFocusReason);
        for (QPushButton* b : {compute_, table_, chart_}) b->setEnabled(false);
        return false;
    }

    // HT_TAB.
    void tab() {
        VESTRAL_OP("HT_TAB");
        bool repaid = false;
        {
            toolkit::WaitCursor wait;
            emptyPlan();
            in_ = inputs();
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
            } else {
                res_ = HypoResults{};
                res_.NEINMALPZ = ht_einmalpz(in_.NHYPOTHEK, in_.NEINMALDM);
            }
            idata();
        }
        if (!repaid) toolkit::stop(this, kHypoNotRepaidTitle, kHypoNotRepaid);
    }

    void compute() {
        if (!check(0)) return;
        tab();
        wdata();
        updateButtons();
    }

    // TABDATA and the "Laden" steps after it.
    void load() {
        VESTRAL_OP("TABDATA");
        auto taken = ui::tabdata(this, bank_, "Tabelle der Hypotheken-Tilgungspläne",
                                 "Es sind noch keine Tilgungspläne gespeichert !", hypobank_list_columns());
        if (bank_.count() > 0 || taken) {
            gdata(taken.value_or(0));
            idata();
        }
        emptyPlan();
        updateButtons();
        amount_->setFocus(Qt::OtherFocusReason);
    }

    // HT_SHOW.
    void ht_show() {
        VESTRAL_OP("HT_SHOW");
        plan_.set_order(monthly_);
        plan_.go_top();
        ui::GridDialog d(this, "Hypothekentilgungsplan - Ablauf", plan_, ht_show_columns(in_, false), true);
        d.setObjectName("hypoTableDialog");
        d.grid()->setObjectName("hypoGrid");
        auto* compress = new QCheckBox(" &komprimierte Darstellung", &d);
        compress->setObjectName("compressedBox");
        new StatusText(compress, "detaillierte oder jährlich Darstellung");
        d.extraRow()->addWidget(compress);
        d.extraRow()->addStretch();
        connect(compress, &QCheckBox::toggled, &d, [this, &d](bool on) {
            ui::run_guarded(&d, [&] {
                plan_.set_order(on ? yearly_ : monthly_);
                plan_.go_top();
                d.grid()->setColumns(ht_show_columns(in_, on));
                d.grid()->reload();
                d.grid()->scrollToTop();
                if (d.grid()->rows() > 0) d.grid()->selectRow(0);
            });
        });
        d.grid()->reload();
        d.fitAndCenter(500, 700);
        d.exec();
        plan_.set_order(monthly_);
        plan_.go_top();
    }

    void showChart() {
        QPointer<QWidget> w =
            ui::barsingle(ht_chart_args(chart_data_, QString::fromStdString(core::settings().pcrelease1)));
        if (w) w->setObjectName("hypoChart");
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
    HypoChart chart_data_;
    std::vector<HypoRow> rows_;
    bool computed_ = false;
    bool loading_ = false;

    ui::TextField* bankname_ = nullptr;
    ui::NumericField *amount_ = nullptr, *rate_ = nullptr, *repay_ = nullptr, *period_ = nullptr;
    ui::DateField* start_ = nullptr;
    ui::NumericField *account_ = nullptr, *creditpr_ = nullptr, *creditdm_ = nullptr, *follow_ = nullptr;
    ui::NumericField* special_ = nullptr;
    ui::ResultField* specialpz_ = nullptr;
    QComboBox* months_ = nullptr;
    ui::ResultField *annuitat_ = nullptr, *annuita2_ = nullptr, *restnach_ = nullptr, *zinssum_ = nullptr,
                    *tilgsum_ = nullptr, *tilgzeit_ = nullptr, *effzins_ = nullptr;
    QPushButton *load_ = nullptr, *compute_ = nullptr, *table_ = nullptr, *chart_ = nullptr,
                *print_ = nullptr, *close_ = nullptr;
};

}  // namespace

bool hypotilg(QWidget* parent, double amount) {
    VESTRAL_OP("HYPOTILG");
    toolkit::help::TopicScope topic(kTopic);
    dbf::Table bank;
    dbf::Table plan;
    if (!open_table(bank, "HYPOBANK") || !open_table(plan, "HYPOTHEK")) return false;
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
        d.wdata();
        computed = d.computed();
    }
    // Only this calculator's own tables close here (a calling financing plan keeps its tables).
    bank.close();
    plan.close();
    return computed;
}

}  // namespace vestral::calc
