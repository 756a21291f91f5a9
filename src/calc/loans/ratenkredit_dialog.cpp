#include "calc/loans/ratenkredit_dialog.h"

#include <QDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "calc/loans/ratenkredit.h"
#include "calc/loans/ratenkredit_print.h"
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
#include "ui/numeric_field.h"
#include "ui/saved_plans_dialog.h"
#include "ui/text_field.h"

namespace vestral::calc {

namespace {

namespace fs = std::filesystem;

constexpr const char* kMoney = "@E 999,999,999.99 ";
constexpr const char* kPercent3 = "@E 99,999,999.999 ";

// Creates a catalogue table that is missing (start-up normally did) and opens it exclusively.
bool open_catalogue_table(core::dbf::Table& t, const char* name, const char* alias) {
    return core::dbf::open_or_create(t, core::settings().dir, std::string(name) + ".DBF", core::catalogue_layout(name),
                                     alias);
}

class RkDialog : public QDialog {
  public:
    RkDialog(QWidget* parent, core::dbf::Table& bank, core::dbf::Table& plan);

    void gdata(long recno);  // RK_GDATA
    void wdata();            // RK_WDATA
    void init();             // RK_INIT

  protected:
    void showEvent(QShowEvent* e) override {
        QDialog::showEvent(e);
        if (!shown_) {
            shown_ = true;
            init();
        }
    }

  private:
    RkInputs inputs() const;
    void setInputs(const RkInputs& in);
    void showResults();
    void updateButtons();
    void planChanged();
    void afterCheck(bool passed);
    void berechnen();
    void laden();
    void drucken();
    ui::NumericField* numeric(const char* name, const char* mask, const QString& help, int check);

    core::dbf::Table& bank_;
    core::dbf::Table& plan_;
    RkResults res_;
    bool computed_ = false;      // a plan was computed while the dialog is open and is still in RATKRED
    bool check_failed_ = false;  // the last field check failed
    bool shown_ = false;

    ui::TextField* bankname_;
    ui::NumericField *kredit_, *zins_, *pro_, *eur_, *laufzeit_, *rate_;
    ui::ResultField *erstrate_, *restrate_, *effzins_, *zinssum_, *tilgsum_, *lzsumme_;
    QPushButton *laden_, *berechnen_, *tabelle_, *drucken_, *hilfe_, *schliessen_;
};

ui::NumericField* RkDialog::numeric(const char* name, const char* mask, const QString& help, int check) {
    auto* f = new ui::NumericField(mask, this);
    f->setObjectName(name);
    f->setHelpText(help);
    // RK_CHECK for this field, with the bounds that follow the other inputs at this moment.
    f->setCheck([this, check](double) { return rk_checks(inputs())[static_cast<size_t>(check - 1)]; });
    return f;
}

RkDialog::RkDialog(QWidget* parent, core::dbf::Table& bank, core::dbf::Table& plan)
    : QDialog(parent), bank_(bank), plan_(plan) {
    setObjectName("ratenkreditDialog");
    setWindowTitle("Ratenkredit");
    setFont(toolkit::ofont());

    bankname_ = new ui::TextField(40, this);
    bankname_->setObjectName("bankname");
    bankname_->setHelpText("Name des Instituts");
    laden_ = ui::button(this, "ladenButton", "&Laden", QString(), "Tilgungsplan laden");
    kredit_ = numeric("kredit", kMoney, "Kreditsumme in EUR", 1);
    zins_ = numeric("zinssatz", kPercent3, "Monatlicher Zinssatz in %", 2);
    pro_ = numeric("gebuehrProzent", kPercent3, "Bearbeitungsgebühr in %", 3);
    eur_ = numeric("gebuehrEuro", kMoney, "Bearbeitungsgebühr in EUR", 4);
    laufzeit_ = numeric("laufzeit", "@E 99999999999 ", "Laufzeit in Monaten", 5);
    rate_ = numeric("monrate", kMoney, "monatliche Rate in EUR", 6);

    auto* panel = new ui::Panel(this, ui::color(ui::rgb(0, 0, 128)));
    auto* grid = new QGridLayout;
    int r = 0;
    auto add_input = [&](const char* text, QWidget* field, const char* unit) {
        grid->addWidget(ui::label(text, panel), r, 0);
        grid->addWidget(field, r, 1);
        if (unit) grid->addWidget(ui::label(unit, panel), r, 2);
        ++r;
    };
    grid->addWidget(ui::label("Bankname", panel), r, 0);
    grid->addWidget(bankname_, r, 1, 1, 2);
    grid->addWidget(laden_, r, 3);
    ++r;
    add_input("Kreditbetrag", kredit_, "€");
    add_input("Nominalzinssatz", zins_, "%");
    add_input("Bearbeitungsgebühr", pro_, "%");
    add_input("Bearbeitungsgebühr", eur_, "€");
    add_input("Laufzeit in Monaten", laufzeit_, nullptr);
    add_input("monatliche Rate", rate_, "€");
    grid->setColumnStretch(1, 1);

    auto* group = ui::framed_group("Ergebnis", ui::color(ui::rgb(0, 0, 128)), panel);
    group->setObjectName("ergebnis");
    auto* rgrid = new QGridLayout(group);
    int rr = 0;
    auto add_result = [&](const char* name, const char* text, const char* mask, const char* unit) {
        auto* f = new ui::ResultField(mask, group);
        f->setObjectName(name);
        rgrid->addWidget(ui::label(text, group), rr, 0);
        rgrid->addWidget(f, rr, 1);
        rgrid->addWidget(ui::label(unit, group), rr, 2);
        ++rr;
        return f;
    };
    erstrate_ = add_result("erstrate", "monatliche Rate", kMoney, "€");
    restrate_ = add_result("restrate", "letzte Rate", kMoney, "€");
    effzins_ = add_result("effzins", "Effektivzinssatz", "@E 99.999 ", "%");
    zinssum_ = add_result("zinssumme", "Zinssumme", kMoney, "€");
    tilgsum_ = add_result("tilgsumme", "Tilgungssumme", kMoney, "€");
    lzsumme_ = add_result("tilgzeit", "Tilgungszeit", kMoney, "Jahre");
    rgrid->setColumnStretch(1, 1);
    // The frame's style sheet stops the dialog's font from reaching its contents.
    for (QWidget* w : group->findChildren<QWidget*>()) w->setFont(font());

    auto* pl = new QVBoxLayout(panel);
    pl->setContentsMargins(14, 14, 14, 14);
    pl->addLayout(grid);
    pl->addSpacing(8);
    pl->addWidget(group);
    pl->addStretch();

    berechnen_ =
        ui::button(this, "berechnenButton", "&Berechnen", "Berechnung durchführen", "Kredit berechnen");
    tabelle_ = ui::button(this, "tabelleButton", "&Tabelle", "Tabelle für Tilgungsverlauf",
                          "Tilgungstabelle anzeigen");
    drucken_ = ui::button(this, "druckenButton", "&Drucken", "Tilgungsplan drucken", "Tilgungsplan drucken");
    hilfe_ = ui::button(this, "hilfeButton", "&Hilfe", "Hilfe aufrufen", QString(), true);
    schliessen_ = ui::button(this, "schliessenButton", "&Schließen", "Dialog verlassen", QString(), true);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(berechnen_);
    buttons->addWidget(tabelle_);
    buttons->addWidget(drucken_);
    buttons->addStretch();
    buttons->addWidget(hilfe_);
    buttons->addWidget(schliessen_);

    auto* main = new QHBoxLayout(this);
    main->addWidget(panel, 1);
    main->addLayout(buttons);

    setTabOrder(bankname_, kredit_);
    setTabOrder(kredit_, zins_);
    setTabOrder(zins_, pro_);
    setTabOrder(pro_, eur_);
    setTabOrder(eur_, laufzeit_);
    setTabOrder(laufzeit_, rate_);
    setTabOrder(rate_, berechnen_);
    setTabOrder(berechnen_, tabelle_);
    setTabOrder(tabelle_, drucken_);
    setTabOrder(drucken_, laden_);

    // A new bank or credit makes the plan in RATKRED stale.
    connect(bankname_, &ui::TextField::edited, this, [this] { planChanged(); });
    connect(kredit_, &ui::NumericField::edited, this, [this] { planChanged(); });
    connect(bankname_, &QLineEdit::editingFinished, this, [this] { updateButtons(); });

    for (ui::NumericField* f : {kredit_, zins_, laufzeit_, rate_})
        connect(f, &ui::NumericField::checked, this, [this](bool ok) { afterCheck(ok); });
    connect(pro_, &ui::NumericField::checked, this, [this](bool ok) {
        if (ok && pro_->value() != 0) eur_->setValue(rk_fee_eur(kredit_->value(), pro_->value()));
        afterCheck(ok);
    });
    connect(eur_, &ui::NumericField::checked, this, [this](bool ok) {
        // Losing the focus because it stopped taking input is no leaving by the user.
        if (!eur_->isEnabled()) return;
        if (ok) pro_->setValue(rk_fee_percent(kredit_->value(), eur_->value()));
        afterCheck(ok);
    });
    // Either the term or the monthly rate drives the plan.
    connect(laufzeit_, &ui::NumericField::checked, this, [this](bool ok) {
        if (ok && laufzeit_->value() > 0) rate_->setValue(0);
    });
    connect(rate_, &ui::NumericField::checked, this, [this](bool ok) {
        if (ok && rate_->value() > 0) laufzeit_->setValue(0);
    });

    ui::on_click(laden_, [this] { laden(); });
    ui::on_click(berechnen_, [this] { berechnen(); });
    ui::on_click(tabelle_, [this] { rk_tabelle(this, plan_); });
    ui::on_click(drucken_, [this] { drucken(); });
    ui::on_click_always(hilfe_, [this] { toolkit::help::show_current(this); });
    ui::on_click_always(schliessen_, [this] { reject(); });

    const QSize hint = sizeHint();
    ui::center_on_main(this, std::max(430, hint.height()), std::max(620, hint.width()));
    updateButtons();
}

RkInputs RkDialog::inputs() const {
    RkInputs in;
    in.CBANKNAME = bankname_->text().toStdString();
    in.NKREDIT = kredit_->value();
    in.NMONZINS = zins_->value();
    in.NBEARBPRO = pro_->value();
    in.NBEARBGEB = eur_->value();
    in.NLAUFZEIT = static_cast<int>(laufzeit_->value());
    in.NMONRATE = rate_->value();
    return in;
}

void RkDialog::setInputs(const RkInputs& in) {
    bankname_->setText(QString::fromStdString(core::trim(in.CBANKNAME)));
    kredit_->setValue(in.NKREDIT);
    zins_->setValue(in.NMONZINS);
    pro_->setValue(in.NBEARBPRO);
    eur_->setValue(in.NBEARBGEB);
    laufzeit_->setValue(in.NLAUFZEIT);
    rate_->setValue(in.NMONRATE);
}

void RkDialog::showResults() {
    erstrate_->setValue(res_.NERSTRATE);
    restrate_->setValue(res_.NRESTRATE);
    effzins_->setValue(res_.NEFFZINS);
    zinssum_->setValue(res_.NZINSSUM);
    tilgsum_->setValue(res_.NTILGSUM);
    lzsumme_->setValue(res_.NLZSUMME);
}

void RkDialog::gdata(long recno) {
    RkInputs in;
    if (recno == 0) {
        // The bank named in the settings; a financing plan writes it there to preselect a credit.
        const std::string name = core::pad_utf8(core::settings().ini().get(kRkSection, "Bankname", ""), 40);
        if (kredbank_seek(bank_, name)) in = kredbank_load(bank_);
    } else {
        bank_.go_to(recno);
        in = kredbank_load(bank_);
    }
    setInputs(in);
    res_ = RkResults{};
}

void RkDialog::init() {
    res_ = RkResults{};
    setInputs(inputs());
    showResults();
    updateButtons();
}

void RkDialog::wdata() {
    const RkInputs in = inputs();
    kredbank_save(bank_, in, res_);
    core::settings().ini().set_many(kRkSection, rk_settings_entries(in, res_));
}

void RkDialog::updateButtons() {
    const RkInputs in = inputs();
    berechnen_->setEnabled(in.NKREDIT > 0 && (in.NLAUFZEIT > 0 || in.NMONRATE > 0) && in.NMONZINS > 0 &&
                           !check_failed_);
    tabelle_->setEnabled(computed_ && !check_failed_);
    drucken_->setEnabled(computed_);
    eur_->setEnabled(rk_fee_eur_editable(in.NBEARBPRO, in.NBEARBGEB));
}

void RkDialog::planChanged() {
    plan_.zap();
    plan_.flush();
    computed_ = false;
    berechnen_->setEnabled(false);
    tabelle_->setEnabled(false);
    drucken_->setEnabled(false);
}

void RkDialog::afterCheck(bool passed) {
    check_failed_ = !passed;
    updateButtons();
}

void RkDialog::berechnen() {
    VESTRAL_OP("RK_RECH");
    RkOutcome out;
    {
        toolkit::WaitCursor wait;
        out = rk_rech(inputs(), core::today().year);
    }
    if (out.refused) {
        toolkit::warning(this, "Problem", kRkRateTooSmall);
        return;
    }
    {
        toolkit::WaitCursor wait;
        write_ratkred_rows(plan_, out.rows);
    }
    res_ = out.results;
    showResults();
    computed_ = true;
    wdata();
    updateButtons();
}

void RkDialog::laden() {
    VESTRAL_OP("TABDATA");
    namespace f = kredbank_fields;
    const bool any = bank_.count() > 0;
    std::optional<long> taken = ui::tabdata(
        this, bank_, "Tabelle der Ratenkredit-Tilgungspläne",
        "Es sind noch keine Tilgungspläne gespeichert !",
        {{" Bankname",
          [](const core::dbf::Table& t) { return " " + QString::fromStdString(t.trimmed(f::BANKNAME)); },
          Qt::AlignLeft | Qt::AlignVCenter},
         ui::masked_column("Kredit ", f::KREDIT, "@E 99,999,999.99 "),
         ui::masked_column("Zinssatz ", f::ZINSSATZ, "@E 999.99 "),
         ui::masked_column("Laufzeit ", f::LAUFZEIT, "@E 999999999 "),
         ui::masked_column("mon. Rate ", f::MONRATE, "@E 999,999.99 ")});
    if (taken) {
        gdata(*taken);
        init();
    } else if (any) {
        // Closed without a take-over: the credit of the bank named in the settings again.
        gdata(0);
        init();
    }
    planChanged();
    updateButtons();
    kredit_->setFocus();
}

void RkDialog::drucken() {
    toolkit::PrintJob job;
    {
        toolkit::WaitCursor wait;
        job = rk_druck(inputs(), res_, read_ratkred_rows(plan_), core::settings().title());
    }
    toolkit::print_job(this, job);
}

}  // namespace

void ratenkredit(QWidget* parent) {
    VESTRAL_OP("RATENKREDIT");
    toolkit::help::TopicScope topic("Ratenkreditberechnung");
    core::dbf::Table bank;
    core::dbf::Table plan;
    {
        toolkit::WaitCursor wait;
        if (!open_catalogue_table(bank, "KREDBANK", "DKRED")) return;
        if (!open_catalogue_table(plan, "RATKRED", "DRATK")) return;
        bank.set_order(bank.add_order("KREDNAME", [](const core::dbf::Table& t) {
            return core::to_upper_name(t.trimmed(kredbank_fields::BANKNAME));
        }));
    }
    RkDialog dialog(parent, bank, plan);
    dialog.gdata(0);
    dialog.exec();
    dialog.wdata();
    // Only this calculator's tables close here; a financing plan that opened it keeps its own.
}

}  // namespace vestral::calc
