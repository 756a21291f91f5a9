#include "calc/loans/ratenkredit_dialog.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>
#include <iterator>

#include "calc/loans/ratenkredit.h"
#include "calc/loans/ratenkredit_print.h"
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

std::vector<ui::GridColumn> kredbank_list_columns() {
    namespace f = kredbank_fields;
    return {{" Bankname",
             [](const core::dbf::Table& t) { return " " + QString::fromStdString(t.trimmed(f::BANKNAME)); },
             Qt::AlignLeft | Qt::AlignVCenter},
            ui::masked_column("Kredit ", f::KREDIT, "@E 99,999,999.99 "),
            ui::masked_column("Zinssatz ", f::ZINSSATZ, "@E 999.99 "),
            ui::masked_column("Laufzeit ", f::LAUFZEIT, "@E 999999999 "),
            ui::masked_column("mon. Rate ", f::MONRATE, "@E 999,999.99 ")};
}

namespace {

constexpr const char* kMoney = "@E 999,999,999.99 ";
constexpr const char* kPercent3 = "@E 99,999,999.999 ";
const QColor kFrame = ui::color(ui::rgb(0, 0, 128));

// The form; the check numbers are the positions in rk_checks().
ui::FormSpec ratenkredit_form() {
    ui::FormSpec f;
    f.object_name = "ratenkreditDialog";
    f.title = "Ratenkredit";
    f.help_topic = "Ratenkreditberechnung";
    f.fields = {
        {"bankname", "Bankname", "", "", "Name des Instituts", 0, ui::FieldKind::Text, 40},
        {"kredit", "Kreditbetrag", "€", kMoney, "Kreditsumme in EUR", 1},
        {"zinssatz", "Nominalzinssatz", "%", kPercent3, "Monatlicher Zinssatz in %", 2},
        {"gebuehrProzent", "Bearbeitungsgebühr", "%", kPercent3, "Bearbeitungsgebühr in %", 3},
        {"gebuehrEuro", "Bearbeitungsgebühr", "€", kMoney, "Bearbeitungsgebühr in EUR", 4},
        {"laufzeit", "Laufzeit in Monaten", "", "@E 99999999999 ", "Laufzeit in Monaten", 5},
        {"monrate", "monatliche Rate", "€", kMoney, "monatliche Rate in EUR", 6},
    };
    f.results = {
        {"erstrate", "monatliche Rate", "€", kMoney},
        {"restrate", "letzte Rate", "€", kMoney},
        {"effzins", "Effektivzinssatz", "%", "@E 99.999 "},
        {"jahreszins", "eff. Jahreszins (PAngV)", "%", "@E 99.999 "},
        {"zinssumme", "Zinssumme", "€", kMoney},
        {"tilgsumme", "Tilgungssumme", "€", kMoney},
        {"tilgzeit", "Tilgungszeit", "Jahre", kMoney},
    };
    f.buttons = {
        {"ladenButton", "&Laden", "", "Tilgungsplan laden", ui::ButtonRole::Action},
        {"berechnenButton", "&Berechnen", "Berechnung durchführen", "Kredit berechnen",
         ui::ButtonRole::Compute},
        {"tabelleButton", "&Tabelle", "Tabelle für Tilgungsverlauf", "Tilgungstabelle anzeigen",
         ui::ButtonRole::Result},
        {"druckenButton", "&Drucken", "Tilgungsplan drucken", "Tilgungsplan drucken", ui::ButtonRole::Result},
        {"hilfeButton", "&Hilfe", "Hilfe aufrufen", "", ui::ButtonRole::Help},
        {"schliessenButton", "&Schließen", "Dialog verlassen", "", ui::ButtonRole::Close},
    };
    f.height = 450;
    f.width = 620;
    return f;
}

class RkDialog : public ui::CalculatorDialog {
  public:
    RkDialog(QWidget* parent, core::dbf::Table& bank, core::dbf::Table& plan)
        : CalculatorDialog(parent, ratenkredit_form()), bank_(bank), plan_(plan) {
        auto* panel = new ui::Panel(this, kFrame);
        auto* grid = new QGridLayout;
        grid->addWidget(labelOf("bankname"), 0, 0);
        grid->addWidget(field("bankname"), 0, 1, 1, 2);
        grid->addWidget(button("ladenButton"), 0, 3);
        int r = 1;
        for (const char* name :
             {"kredit", "zinssatz", "gebuehrProzent", "gebuehrEuro", "laufzeit", "monrate"})
            addRow(grid, r++, name);
        grid->setColumnStretch(1, 1);

        auto* group = resultsGroup("Ergebnis", kFrame, panel);
        group->setObjectName("ergebnis");

        auto* pl = new QVBoxLayout(panel);
        pl->setContentsMargins(14, 14, 14, 14);
        pl->addLayout(grid);
        pl->addSpacing(8);
        pl->addWidget(group);
        pl->addStretch();

        auto* buttons = buttonColumn({"berechnenButton", "tabelleButton", "druckenButton"},
                                     {"hilfeButton", "schliessenButton"});

        auto* main = new QHBoxLayout(this);
        main->addWidget(panel, 1);
        main->addLayout(buttons);

        const char* order[] = {"bankname",    "kredit",   "zinssatz", "gebuehrProzent",
                               "gebuehrEuro", "laufzeit", "monrate"};
        for (size_t i = 1; i < std::size(order); ++i) setTabOrder(field(order[i - 1]), field(order[i]));
        setTabOrder(field("monrate"), button("berechnenButton"));
        setTabOrder(button("berechnenButton"), button("tabelleButton"));
        setTabOrder(button("tabelleButton"), button("druckenButton"));
        setTabOrder(button("druckenButton"), button("ladenButton"));

        couple();
        onClick("ladenButton", [this] { laden(); });
        onClick("berechnenButton", [this] { berechnen(); });
        onClick("tabelleButton", [this] { rk_tabelle(this, plan_); });
        onClick("druckenButton", [this] { drucken(); });
        // No plan yet: no legal rate either.
        result("jahreszins")->setValue(std::optional<double>{});
    }

    RkInputs inputs() const {
        RkInputs in;
        in.CBANKNAME = core::trim(text("bankname")->text().toStdString());
        in.NKREDIT = number("kredit")->value();
        in.NMONZINS = number("zinssatz")->value();
        in.NBEARBPRO = number("gebuehrProzent")->value();
        in.NBEARBGEB = number("gebuehrEuro")->value();
        in.NLAUFZEIT = static_cast<int>(number("laufzeit")->value());
        in.NMONRATE = number("monrate")->value();
        return in;
    }

  protected:
    // RK_CHECK for one field, with the bounds that follow the other inputs at this moment.
    core::InpFail check(int n) const override { return rk_checks(inputs())[static_cast<size_t>(n - 1)]; }

    // What is being typed counts already, so the button follows every key.
    bool canCompute() const override {
        return number("kredit")->liveValue() > 0 && number("zinssatz")->liveValue() > 0 &&
               (number("laufzeit")->liveValue() > 0 || number("monrate")->liveValue() > 0);
    }

    void updateExtra() override {
        number("gebuehrEuro")
            ->setEnabled(
                rk_fee_eur_editable(number("gebuehrProzent")->value(), number("gebuehrEuro")->value()));
    }

    // RK_GDATA for the bank named in the settings (a financing plan writes it there to preselect
    // a credit).
    void load() override { gdata(0); }

    // RK_WDATA when the dialog closes.
    void save() override {
        const RkInputs in = inputs();
        if (hasResults()) {
            wdata(in, res_);
            return;
        }
        // No plan belongs to these inputs. The saved credit keeps its results while its inputs are
        // unchanged; changed inputs are saved without results, since the old ones are not theirs.
        RkResults kept;
        bool unchanged = false;
        if (!in.CBANKNAME.empty() && kredbank_seek(bank_, in.CBANKNAME)) {
            unchanged = rk_same_inputs(kredbank_load(bank_), in);
            if (unchanged) kept = kredbank_load_results(bank_);
        }
        if (unchanged)
            core::settings().ini().set_many(kRkSection, rk_settings_entries(in, kept));
        else
            wdata(in, kept);
    }

    // Whatever is typed makes the plan in RATKRED stale.
    void clearResults() override {
        res_ = RkResults{};
        // No rate is defined without a plan: empty, never 0.
        result("jahreszins")->setValue(std::optional<double>{});
        if (plan_.is_open() && plan_.reccount() > 0) {
            plan_.zap();
            plan_.flush();
        }
    }

  private:
    // Either the term or the monthly rate drives the plan; the fee is given in percent or EUR.
    void couple() {
        ui::NumericField* pro = number("gebuehrProzent");
        ui::NumericField* eur = number("gebuehrEuro");
        ui::NumericField* term = number("laufzeit");
        ui::NumericField* rate = number("monrate");
        auto after = [this](const std::function<void()>& step) {
            guarded([this, &step] {
                step();
                updateButtons();
            });
        };
        connect(pro, &ui::InputField::checked, this, [this, pro, eur, after](bool ok) {
            after([&] {
                if (ok && pro->value() != 0)
                    eur->setValue(rk_fee_eur(number("kredit")->value(), pro->value()));
            });
        });
        connect(eur, &ui::InputField::checked, this, [this, pro, eur, after](bool ok) {
            // Losing the focus because it stopped taking input is no leaving by the user.
            if (!eur->isEnabled()) return;
            after([&] {
                if (ok) pro->setValue(rk_fee_percent(number("kredit")->value(), eur->value()));
            });
        });
        connect(term, &ui::InputField::checked, this, [term, rate, after](bool ok) {
            after([&] {
                if (ok && term->value() > 0) rate->setValue(0);
            });
        });
        connect(rate, &ui::InputField::checked, this, [term, rate, after](bool ok) {
            after([&] {
                if (ok && rate->value() > 0) term->setValue(0);
            });
        });
    }

    void setInputs(const RkInputs& in) {
        text("bankname")->setAcceptedText(QString::fromStdString(core::trim(in.CBANKNAME)));
        number("kredit")->setValue(in.NKREDIT);
        number("zinssatz")->setValue(in.NMONZINS);
        number("gebuehrProzent")->setValue(in.NBEARBPRO);
        number("gebuehrEuro")->setValue(in.NBEARBGEB);
        number("laufzeit")->setValue(in.NLAUFZEIT);
        number("monrate")->setValue(in.NMONRATE);
    }

    void showResults() {
        result("erstrate")->setValue(res_.NERSTRATE);
        result("restrate")->setValue(res_.NRESTRATE);
        result("effzins")->setValue(res_.NEFFZINS);
        result("jahreszins")->setValue(res_.NJAHRESZINS);
        result("zinssumme")->setValue(res_.NZINSSUM);
        result("tilgsumme")->setValue(res_.NTILGSUM);
        result("tilgzeit")->setValue(res_.NLZSUMME);
    }

    // RK_GDATA: the saved credit of record `recno`, or with 0 that of the bank in the settings.
    void gdata(long recno) {
        RkInputs in;
        if (recno == 0) {
            const std::string name = core::pad_utf8(rk_bank_name(core::settings().ini().load()), 40);
            if (kredbank_seek(bank_, name)) in = kredbank_load(bank_);
        } else {
            bank_.go_to(recno);
            in = kredbank_load(bank_);
        }
        setInputs(in);
    }

    // RK_WDATA: the credit into the store (not without a bank name) and the settings.
    void wdata(const RkInputs& in, const RkResults& res) {
        VESTRAL_OP("RK_WDATA");
        if (!in.CBANKNAME.empty()) kredbank_save(bank_, in, res);
        core::settings().ini().set_many(kRkSection, rk_settings_entries(in, res));
    }

    void berechnen() {
        VESTRAL_OP("RK_RECH");
        const RkInputs in = inputs();
        RkOutcome out;
        {
            toolkit::WaitCursor wait;
            out = rk_rech(in, core::today().year);
        }
        if (out.refused) {
            // Nothing of an earlier plan stays printable beside inputs that gave none.
            invalidate();
            toolkit::warning(this, "Problem", kRkRateTooSmall);
            return;
        }
        {
            toolkit::WaitCursor wait;
            write_ratkred_rows(plan_, out.rows);
        }
        res_ = out.results;
        showResults();
        setHasResults(true);
        wdata(in, res_);
    }

    // TABDATA and the "Laden" steps after it.
    void laden() {
        VESTRAL_OP("TABDATA");
        const bool any = bank_.count() > 0;
        std::optional<long> taken =
            ui::tabdata(this, bank_, "Tabelle der Ratenkredit-Tilgungspläne",
                        "Es sind noch keine Tilgungspläne gespeichert !", kredbank_list_columns());
        // Closed without a take-over: the credit of the bank named in the settings again.
        if (taken)
            gdata(*taken);
        else if (any)
            gdata(0);
        invalidate();
        field("kredit")->setFocus(Qt::OtherFocusReason);
    }

    void drucken() {
        toolkit::PrintJob job;
        {
            toolkit::WaitCursor wait;
            job = rk_druck(inputs(), res_, read_ratkred_rows(plan_), core::settings().title());
        }
        toolkit::print_job(this, job);
    }

    core::dbf::Table& bank_;
    core::dbf::Table& plan_;
    RkResults res_;
};

}  // namespace

bool ratenkredit(QWidget* parent) {
    VESTRAL_OP("RATENKREDIT");
    core::dbf::Table bank;
    core::dbf::Table plan;
    {
        toolkit::WaitCursor wait;
        if (!core::open_catalogue_table(bank, core::settings().dir, "KREDBANK", "DKRED")) return false;
        if (!core::open_catalogue_table(plan, core::settings().dir, "RATKRED", "DRATK")) return false;
        bank.set_order(bank.add_order("KREDNAME", [](const core::dbf::Table& t) {
            return core::to_upper_name(t.trimmed(kredbank_fields::BANKNAME));
        }));
    }
    RkDialog dialog(parent, bank, plan);
    dialog.exec();
    // Only this calculator's tables close here; a financing plan that opened it keeps its own.
    return dialog.hasResults();
}

}  // namespace vestral::calc
