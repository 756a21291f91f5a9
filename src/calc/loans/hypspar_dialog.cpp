#include "calc/loans/hypspar_dialog.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "calc/loans/hypotilg.h"
#include "calc/loans/hypspar.h"
#include "calc/loans/hypspar_print.h"
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
#include "ui/numeric_field.h"
#include "ui/saved_plans_dialog.h"
#include "ui/text_field.h"

namespace vestral::calc {

namespace {

constexpr const char* kMoney = "@E 999,999,999.99 ";
constexpr const char* kAmountIn = "@K@E 99,999,999.99 ";
constexpr const char* kRateIn = "@K@E 9,999,999.999 ";
const QColor kFrame = ui::color(ui::rgb(0, 0, 128));

ui::FormSpec hypspar_form() {
    ui::FormSpec f;
    f.object_name = "hypsparDialog";
    f.title = "Gesplittete Finanzierung";
    f.help_topic = "Splittfinanzierung";
    f.fields = {
        {"sparname", "Vertragspartner", "", "", "Name des Instituts", 0, ui::FieldKind::Text, 40},
        {"tilgsumm", "Ansparsumme", "€", kAmountIn, "Höhe des Ansparbetrags", 1},
        {"spzins", "Ansparzinssatz", "%", kRateIn, "Nominaler Jahreszins in %", 2},
        {"abjahr", "Vertragsgewinn", "Jahr", "@K 9999 ", "Jahr des Vertragsbeginns", 3},
        {"splzeit", "gewünschte Laufzeit", "Jahre", "@K 9999999999999 ", "Dauer der Zinsfestschreibung", 4},
        {"spmrate", "gew. monatl. Rate", "€", "@K@E 99,999,999.99 ", "monateliche Zahlungsrate", 5},
        {"spktogeb", "jährl. Kontoführungsgebühr", "€", kAmountIn, "Höhe der Kontoführungsgebühren", 6},
        {"spauszu", "Aufschlag", "%", "@K@E 999.99 ", "Höhe der Kreditgebühren in %", 7},
        {"spausdm", "", "€", kAmountIn, "Höhe der Kreditgebühren in EUR", 0},
        {"tilgname", "Hypothekenbank", "", "", "Name des Instituts", 0, ui::FieldKind::Text, 40},
        {"hypothek", "Hypothekenbetrag", "€", kAmountIn, "Höhe der Hypothek", 11},
        {"hypzsatz", "Nominalzinssatz", "%", kRateIn, "Nominaler Jahreszins in %", 12},
        {"hypzfest", "Dauer der Zinsbindung", "Jahre", "@K 9999999999999 ", "Dauer der Zinsfestschreibung",
         13},
        {"hypznach", "Zinssatz nach Festzeit", "%", kRateIn, "Nominaler Jahreszins in % nach Festzeit", 14},
        {"tiktogeb", "jährl. Kontoführungsgebühr", "€", kAmountIn, "Höhe der Kontoführungsgebühren", 0},
        {"kreditpr", "Kreditgebühren", "%", "@K@E 999.99 ", "Höhe der Kreditgebühren in %", 0},
        {"kreditdm", "", "€", kAmountIn, "Höhe der Kreditgebühren in EUR", 0},
    };
    f.results = {
        {"sparsumm", "angesparte Summe", "€", kMoney},
        {"sparzins", "Summe der Sparzinsen", "€", kMoney},
        {"sparlzmr", "", "", kMoney},
        {"spargebs", "Summe der Gebühren", "€", kMoney},
        {"zinssum", "Zinssumme", "€", kMoney},
        {"annuitat", "monatl. Zinsrate", "€", kMoney},
        {"effzins", "Effektivzinssatz", "%", "@E 99.999 "},
        {"gebusum", "Summe der Gebühren", "€", kMoney},
    };
    f.buttons = {
        {"ladenButton", "&Laden", "Bankdaten laden", "Finanzierungsplan laden", ui::ButtonRole::Action},
        {"berechnenButton", "&Berechnen", "Hypothek berechnen", "Finanzierung berechnen",
         ui::ButtonRole::Compute},
        {"sparplanButton", "S&parplan", "Anspartabelle anzeigen", "Anspartabelle anzeigen",
         ui::ButtonRole::Result},
        {"hypoplanButton", "H&ypoplan", "Tilgungtabelle anzeigen", "Tilgungstabelle anzeigen",
         ui::ButtonRole::Result},
        {"druckenButton", "&Drucken", "Tilgungsplan drucken", "Finanzierung drucken", ui::ButtonRole::Result},
        {"hilfeButton", "&Hilfe", "Hilfe anzeigen", "Hilfe anzeigen", ui::ButtonRole::Help},
        {"schliessenButton", "&Schließen", "Dialog verlassen", "", ui::ButtonRole::Close},
    };
    f.height = 560;
    f.width = 900;
    return f;
}

QGridLayout* tight_grid() {
    auto* g = new QGridLayout;
    g->setHorizontalSpacing(6);
    g->setVerticalSpacing(4);
    return g;
}

class HsDialog : public ui::CalculatorDialog {
  public:
    HsDialog(QWidget* parent, double amount, core::dbf::Table& bank, core::dbf::Table& plan, int first_order)
        : CalculatorDialog(parent, hypspar_form()),
          amount_(amount),
          bank_(bank),
          plan_(plan),
          first_order_(first_order) {
        auto* panel = new ui::Panel(this, kFrame);
        auto* columns = new QHBoxLayout;

        // Savings.
        auto* saving = ui::framed_group("Ansparen", kFrame, panel);
        saving->setObjectName("ansparen");
        auto* sg = tight_grid();
        int r = 0;
        sg->addWidget(labelOf("sparname"), r, 0);
        sg->addWidget(field("sparname"), r++, 1, 1, 3);
        for (const char* n : {"tilgsumm", "spzins", "abjahr", "splzeit", "spmrate"}) addRow(sg, r++, n);
        auto* sfees = ui::framed_group("laufende Gebühren", kFrame, saving);
        sfees->setObjectName("ansparenGebuehren");
        auto* sfg = tight_grid();
        addRow(sfg, 0, "spktogeb");
        sfg->addWidget(ui::label("Ausgabeaufschlag bei Wertpapierfonts:", this), 1, 0, 1, 3);
        addRow(sfg, 2, "spauszu");
        addRow(sfg, 3, "spausdm");
        sfees->setLayout(sfg);
        auto* sl = new QVBoxLayout(saving);
        sl->addLayout(sg);
        sl->addWidget(sfees);
        sl->addStretch();

        // Mortgage.
        auto* mortgage = ui::framed_group("Hypothek", kFrame, panel);
        mortgage->setObjectName("hypothekGruppe");
        auto* mg = tight_grid();
        r = 0;
        mg->addWidget(labelOf("tilgname"), r, 0);
        mg->addWidget(field("tilgname"), r++, 1, 1, 3);
        for (const char* n : {"hypothek", "hypzsatz", "hypzfest", "hypznach"}) addRow(mg, r++, n);
        auto* mfees = ui::framed_group("laufende Gebühren", kFrame, mortgage);
        mfees->setObjectName("hypothekGebuehren");
        auto* mfg = tight_grid();
        addRow(mfg, 0, "tiktogeb");
        addRow(mfg, 1, "kreditpr");
        addRow(mfg, 2, "kreditdm");
        mfees->setLayout(mfg);
        auto* ml = new QVBoxLayout(mortgage);
        ml->addLayout(mg);
        ml->addWidget(mfees);
        ml->addStretch();

        columns->addWidget(saving, 1);
        columns->addWidget(mortgage, 1);

        // Results.
        auto* results = new QHBoxLayout;
        auto* rs = ui::framed_group("Ergebnis - Ansparen", kFrame, panel);
        rs->setObjectName("ergebnisAnsparen");
        auto* rsg = new QGridLayout(rs);
        addRow(rsg, 0, "sparsumm");
        addRow(rsg, 1, "sparzins");
        lzmr_label_ = ui::label("", this);
        lzmr_label_->setObjectName("sparlzmrLabel");
        lzmr_unit_ = ui::label("", this);
        lzmr_unit_->setObjectName("sparlzmrUnit");
        rsg->addWidget(lzmr_label_, 2, 0);
        rsg->addWidget(result("sparlzmr"), 2, 1);
        rsg->addWidget(lzmr_unit_, 2, 2);
        addRow(rsg, 3, "spargebs");
        auto* rm = ui::framed_group("Ergebnis - Hypothek", kFrame, panel);
        rm->setObjectName("ergebnisHypothek");
        auto* rmg = new QGridLayout(rm);
        r = 0;
        for (const char* n : {"zinssum", "annuitat", "effzins", "gebusum"}) addRow(rmg, r++, n);
        results->addWidget(rs, 1);
        results->addWidget(rm, 1);
        for (QWidget* g : {static_cast<QWidget*>(saving), static_cast<QWidget*>(mortgage),
                           static_cast<QWidget*>(rs), static_cast<QWidget*>(rm)})
            for (QWidget* w : g->findChildren<QWidget*>()) w->setFont(font());

        auto* pl = new QVBoxLayout(panel);
        pl->setContentsMargins(12, 12, 12, 12);
        pl->addLayout(columns);
        pl->addSpacing(6);
        pl->addLayout(results);
        pl->addStretch();

        auto* main = new QVBoxLayout(this);
        main->addWidget(panel, 1);
        main->addLayout(
            buttonRow({"ladenButton", "berechnenButton", "sparplanButton", "hypoplanButton", "druckenButton"},
                      {"hilfeButton", "schliessenButton"}));

        const char* order[] = {"sparname", "tilgsumm", "spzins",   "abjahr",   "splzeit",  "spmrate",
                               "spktogeb", "spauszu",  "spausdm",  "tilgname", "hypothek", "hypzsatz",
                               "hypzfest", "hypznach", "tiktogeb", "kreditpr", "kreditdm"};
        for (size_t i = 1; i < std::size(order); ++i) setTabOrder(field(order[i - 1]), field(order[i]));

        couple();
        onClick("ladenButton", [this] { laden(); });
        onClick("berechnenButton", [this] { berechnen(); });
        onClick("sparplanButton",
                [this] { hs_show(this, plan_, first_order_, static_cast<int>(HsView::Savings)); });
        onClick("hypoplanButton",
                [this] { hs_show(this, plan_, first_order_, static_cast<int>(HsView::Mortgage)); });
        onClick("druckenButton", [this] { drucken(); });
    }

    HsInputs inputs() const {
        HsInputs in;
        in.CSPARNAME = core::trim(text("sparname")->text().toStdString());
        in.NTILGSUMM = number("tilgsumm")->value();
        in.NSPZINS = number("spzins")->value();
        in.NABJAHR = static_cast<int>(number("abjahr")->value());
        in.NSPLZEIT = static_cast<int>(number("splzeit")->value());
        in.NSPMRATE = number("spmrate")->value();
        in.NSPKTOGEB = number("spktogeb")->value();
        in.NSPAUSZU = number("spauszu")->value();
        in.NSPAUSDM = number("spausdm")->value();
        in.CTILGNAME = core::trim(text("tilgname")->text().toStdString());
        in.NHYPOTHEK = number("hypothek")->value();
        in.NHYPZSATZ = number("hypzsatz")->value();
        in.NHYPZFEST = static_cast<int>(number("hypzfest")->value());
        in.NHYPZNACH = number("hypznach")->value();
        in.NTIKTOGEB = number("tiktogeb")->value();
        in.NKREDITPR = number("kreditpr")->value();
        in.NKREDITDM = number("kreditdm")->value();
        return in;
    }

  protected:
    core::InpFail check(int n) const override { return hs_check(inputs(), n); }

    bool canCompute() const override {
        return number("tilgsumm")->liveValue() > 0 && number("hypothek")->liveValue() > 0;
    }

    void load() override {
        gdata(0);
        number("hypothek")->setValue(in_loaded_ ? number("hypothek")->value() : amount_);
    }

    // HS_WDATA when the dialog closes: results only while they belong to the inputs.
    void save() override { wdata(inputs(), hasResults() ? res_ : HsResults{}); }

    void clearResults() override {
        res_ = HsResults{};
        if (plan_.is_open() && plan_.reccount() > 0) {
            plan_.zap();
            plan_.flush();
        }
    }

  private:
    void couple() {
        ui::NumericField* target = number("tilgsumm");
        ui::NumericField* amount = number("hypothek");
        ui::NumericField* term = number("splzeit");
        ui::NumericField* rate = number("spmrate");
        ui::NumericField* pct = number("spauszu");
        ui::NumericField* eur = number("spausdm");
        ui::NumericField* zins = number("hypzsatz");
        ui::NumericField* nach = number("hypznach");
        ui::NumericField* fpct = number("kreditpr");
        ui::NumericField* feur = number("kreditdm");
        auto after = [this](bool ok, const std::function<void()>& step) {
            if (!ok) return;
            guarded([this, &step] {
                step();
                updateButtons();
            });
        };
        connect(target, &ui::InputField::checked, this, [=](bool ok) {
            after(ok, [&] {
                if (amount->value() == 0) amount->setValue(target->value());
            });
        });
        connect(term, &ui::InputField::checked, this, [=](bool ok) {
            after(ok, [&] {
                if (term->value() > 0) rate->setValue(0);
            });
        });
        connect(rate, &ui::InputField::checked, this, [=](bool ok) {
            after(ok, [&] {
                if (rate->value() > 0) term->setValue(0);
            });
        });
        connect(pct, &ui::InputField::checked, this,
                [=](bool ok) { after(ok, [&] { eur->setValue(rate->value() / 100 * pct->value()); }); });
        connect(pct, &ui::InputField::textEdited, this, [eur] { eur->setValue(0); });
        // The surcharge in EUR is recomputed by every computation, so typing there keeps the plan.
        disconnect(eur, &ui::InputField::edited, this, nullptr);
        connect(zins, &ui::InputField::checked, this,
                [=](bool ok) { after(ok, [&] { nach->setValue(zins->value()); }); });
        connect(fpct, &ui::InputField::checked, this, [=](bool ok) {
            after(ok, [&] { feur->setValue(ht_credit_fee_eur(amount->value(), fpct->value())); });
        });
        connect(feur, &ui::InputField::checked, this, [=](bool ok) {
            after(ok, [&] { fpct->setValue(ht_credit_fee_percent(amount->value(), feur->value())); });
        });
        connect(fpct, &ui::InputField::textEdited, this, [feur] { feur->setValue(0); });
        connect(feur, &ui::InputField::textEdited, this, [fpct] { fpct->setValue(0); });
    }

    void setInputs(const HsInputs& in) {
        text("sparname")->setAcceptedText(QString::fromStdString(core::trim(in.CSPARNAME)));
        number("tilgsumm")->setValue(in.NTILGSUMM);
        number("spzins")->setValue(in.NSPZINS);
        number("abjahr")->setValue(in.NABJAHR);
        number("splzeit")->setValue(in.NSPLZEIT);
        number("spmrate")->setValue(in.NSPMRATE);
        number("spktogeb")->setValue(in.NSPKTOGEB);
        number("spauszu")->setValue(in.NSPAUSZU);
        number("spausdm")->setValue(in.NSPAUSDM);
        text("tilgname")->setAcceptedText(QString::fromStdString(core::trim(in.CTILGNAME)));
        number("hypothek")->setValue(in.NHYPOTHEK);
        number("hypzsatz")->setValue(in.NHYPZSATZ);
        number("hypzfest")->setValue(in.NHYPZFEST);
        number("hypznach")->setValue(in.NHYPZNACH);
        number("tiktogeb")->setValue(in.NTIKTOGEB);
        number("kreditpr")->setValue(in.NKREDITPR);
        number("kreditdm")->setValue(in.NKREDITDM);
    }

    // HS_IDATA: the results on screen.
    void showResults(const HsOutcome& out) {
        result("sparsumm")->setValue(res_.NSPARSUMM);
        result("sparzins")->setValue(res_.NSPARZINS);
        result("sparlzmr")->setValue(res_.NSPARLZMR);
        result("spargebs")->setValue(res_.NSPARGEBS);
        result("zinssum")->setValue(res_.NZINSSUM);
        result("annuitat")->setValue(res_.NANNUITAT);
        result("effzins")->setValue(res_.NEFFZINS);
        result("gebusum")->setValue(res_.NGEBUSUM);
        lzmr_label_->setText(out.term_drives ? "monatl. Sparrate" : "Spar-Laufzeit");
        lzmr_unit_->setText(out.term_drives ? "EUR" : "Jahre");
    }

    // HS_GDATA: the saved plan of record `recno`, or with 0 that of the pair named in the settings.
    void gdata(long recno) {
        HsInputs in;
        in.NABJAHR = core::today().year;
        in_loaded_ = false;
        if (recno == 0) {
            const auto [spar, tilg] = hs_bank_names(core::settings().ini().load());
            if (hyspbank_seek(bank_, spar, tilg)) {
                in = hyspbank_load(bank_, core::today().year);
                in_loaded_ = true;
            }
        } else {
            bank_.go_to(recno);
            in = hyspbank_load(bank_, core::today().year);
            in_loaded_ = true;
        }
        setInputs(in);
    }

    // HS_WDATA: the plan into the store (not without a name) and the settings.
    void wdata(const HsInputs& in, const HsResults& res) {
        VESTRAL_OP("HS_WDATA");
        if (!in.CSPARNAME.empty() || !in.CTILGNAME.empty()) hyspbank_save(bank_, in, res);
        core::settings().ini().set_many(kHsSection, hs_settings_entries(in, res));
    }

    void berechnen() {
        VESTRAL_OP("HS_RECH");
        const HsInputs in = inputs();
        HsOutcome out;
        {
            toolkit::WaitCursor wait;
            out = hs_rech(in);
        }
        if (out.refused != HsRefusal::None) {
            invalidate();
            toolkit::warning(this, "Problem",
                             out.refused == HsRefusal::NoTermNoRate ? kHsNoTermNoRate : kHsRateTooSmall);
            return;
        }
        {
            toolkit::WaitCursor wait;
            write_hypspar_rows(plan_, out.rows);
            plan_.set_order(first_order_);
            plan_.go_top();
        }
        number("spausdm")->setValue(out.surcharge_eur);
        res_ = out.results;
        showResults(out);
        setHasResults(true);
        wdata(inputs(), res_);
    }

    // TABDATA and the steps of "Laden" after it.
    void laden() {
        VESTRAL_OP("TABDATA");
        const bool any = bank_.count() > 0;
        std::optional<long> taken =
            ui::tabdata(this, bank_, "Splittfinanzierung-Tilgungspläne",
                        "Es sind noch keine Tilgungspläne gespeichert !", hyspbank_list_columns());
        if (taken)
            gdata(*taken);
        else if (any)
            gdata(0);
        invalidate();
        field("hypothek")->setFocus(Qt::OtherFocusReason);
    }

    void drucken() {
        toolkit::PrintJob job;
        {
            toolkit::WaitCursor wait;
            plan_.set_order(first_order_);
            const std::vector<HsRow> savings = read_hypspar_rows(plan_);
            plan_.set_order(first_order_ + 2);
            const std::vector<HsRow> mortgage = read_hypspar_rows(plan_);
            plan_.set_order(first_order_);
            plan_.go_top();
            job = hs_druck(inputs(), res_, savings, mortgage, core::settings().title());
        }
        toolkit::print_job(this, job);
    }

    double amount_;
    core::dbf::Table& bank_;
    core::dbf::Table& plan_;
    int first_order_;
    HsResults res_;
    bool in_loaded_ = false;
    QLabel* lzmr_label_ = nullptr;
    QLabel* lzmr_unit_ = nullptr;
};

}  // namespace

bool hypspar(QWidget* parent, double amount) {
    VESTRAL_OP("HYPSPAR");
    core::dbf::Table bank;
    core::dbf::Table plan;
    int first = 0;
    {
        toolkit::WaitCursor wait;
        if (!core::open_catalogue_table(bank, core::settings().dir, "HYSPBANK", "DHYSP")) return false;
        if (!core::open_catalogue_table(plan, core::settings().dir, "HYPSPAR", "DHYSPAR")) return false;
        hyspbank_index(bank);
        first = hypspar_orders(plan);
        plan.set_order(first);
        plan.zap();
        plan.flush();
    }
    HsDialog dialog(parent, amount, bank, plan, first);
    dialog.exec();
    return dialog.hasResults();
}

}  // namespace vestral::calc
