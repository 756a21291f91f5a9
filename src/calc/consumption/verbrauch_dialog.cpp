#include "calc/consumption/verbrauch_dialog.h"

#include <QDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/catalogue.h"
#include "core/dbf.h"
#include "core/opstack.h"
#include "core/program_settings.h"
#include "core/record_map.h"
#include "toolkit/help.h"
#include "toolkit/messages.h"
#include "ui/blocks.h"
#include "ui/calculator_dialog.h"
#include "ui/numeric_field.h"
#include "ui/saved_plans_dialog.h"
#include "ui/table_grid.h"
#include "ui/text_field.h"

namespace vestral::calc {

namespace {

const QColor kPanelEdge = ui::color(ui::rgb(84, 75, 245));
const QColor kGroupFrame = ui::color(ui::rgb(165, 192, 170));
constexpr const char* kAmountMask = "@E 999,999.99 ";
constexpr const char* kReadingMask = "@E 99999999.99 ";
constexpr const char* kFeeMask = "@E 9999.99 ";

const char* op_name(VerbrKind kind, const char* strom, const char* wasser, const char* gas) {
    return kind == VerbrKind::Strom ? strom : kind == VerbrKind::Gas ? gas : wasser;
}

ui::FormSpec verbr_form(VerbrKind kind) {
    const VerbrKindInfo& k = verbr_kind_info(kind);
    ui::FormSpec f;
    f.object_name = k.object_name;
    f.title = k.title;
    f.help_topic = k.title;
    f.fields = {
        {"CLIEFER", k.supplier_label, "", "", k.supplier_hint, 0, ui::FieldKind::Text, 40},
        {"CTELEFON", "Telefon-Nr.", "", "", "Telefonnummer des Lieferanten", 0, ui::FieldKind::Text, 40},
        {"CZAEHLNR", "Zählernummer", "", "", "Ihre Zählernummer", 0, ui::FieldKind::Text, 20},
        {"CKDNR", "Kunden-Nr.", "", "", "Ihre Kundennummer beim Lieferanten", 0, ui::FieldKind::Text, 20},
        {"NGRUNDDM", k.fee_label, "€", kFeeMask, "monatl. Pauschale (Zähler- oder Grundgebühr)"},
        // Four decimals, as the period stores the price: a typed price reloads unchanged.
        {"NKWHDM", k.price_label, "€", "@E 9.9999 ", k.price_hint},
    };
    if (k.uses_factor)
        f.fields.push_back({"NINDEX", "Faktor", "", "@E 99.9999 ", "Multiplikator für den Energiegehalt"});
    f.fields.push_back({"NABSCHLAG", "monatl. Abschlagszahlung", "€", kFeeMask, "monatl. Abschlagszahlung"});
    f.fields.push_back(
        {"NZAEHLER1", "Zählerstand alt", "", kReadingMask, "Zählerstand bei der ersten Ablesung"});
    f.fields.push_back(
        {"DABLES1", "abgelesen am", "", "", "Datum der ersten Ablesung", 0, ui::FieldKind::Date});
    f.fields.push_back(
        {"NZAEHLER2", "Zählerstand neu", "", kReadingMask, "Zählerstand bei der letzten Ablesung"});
    f.fields.push_back(
        {"DABLES2", "abgelesen am", "", "", "Datum der letzten Ablesung", 0, ui::FieldKind::Date});
    f.results = {
        {"NVERBRTAG", "Abrechnungstage", "", "999999999 "},
        {"NVERBRMON", "Abrechnungsmonate", "", "999999999 "},
        {"NVERBRKW", "Verbrauch Menge", k.unit, "@E 99,999,999 "},
        {"NVERBRDM", "Verbrauch Betrag", "€", kAmountMask},
        {"NSGRUNDDM", *k.fee_result_label ? k.fee_result_label : "Grundgebühr", "€", kAmountMask},
        {"NSUMME", k.total_label, "€", kAmountMask},
        {"NSABSCHLAG", "abzgl. Abschlagszahlungen", "€", kAmountMask},
        {"NSKORREKT", "", "€", kAmountMask},
    };
    f.buttons = {
        {"computeButton", "&Berechnen", "Ergebnis berechnen", "Ergebnis berechen", ui::ButtonRole::Compute},
        {"historyButton", "H&istorie", "Historie anzeigen", "Historie anzeigen", ui::ButtonRole::Action},
        {"projectionButton", "Hoch&rechnung", "Hochrechnung anzeigen", "Hochrechnung anzeigen",
         ui::ButtonRole::Result},
        {"helpButton", "&Hilfe", "Hilfe anzeigen", "Hilfe anzeigen", ui::ButtonRole::Help},
        {"closeButton", "&Schließen", "Dialog beenden", "", ui::ButtonRole::Close},
    };
    f.height = k.height;
    f.width = 571;
    f.placement = ui::Placement::BelowMain;
    f.dy = 50;
    f.dx = 20;
    return f;
}

// VERBRCH is opened only for one load, save or history, and closed again.
bool open_verbrch(core::dbf::Table& t) {
    if (!core::dbf::open_or_create(t, core::settings().dir, kVerbrchFile, core::catalogue_layout("VERBRCH"),
                                   "VERBRCH"))
        return false;
    t.set_durable(true);
    return true;
}

class VerbrDialog : public ui::CalculatorDialog {
  public:
    VerbrDialog(QWidget* parent, VerbrKind kind)
        : CalculatorDialog(parent, verbr_form(kind)), kind_(kind), info_(verbr_kind_info(kind)) {
        QVBoxLayout* inner = ui::panel_layout(this, kPanelEdge);
        auto* top = new QHBoxLayout;
        top->setSpacing(16);
        inner->addLayout(top, 1);

        auto* grid = new QGridLayout;
        grid->setHorizontalSpacing(6);
        grid->setVerticalSpacing(4);
        int row = 0;
        for (const ui::FieldSpec& field : form().fields) {
            const std::string name = field.name;
            if (name == "NGRUNDDM" || name == "NZAEHLER1") grid->setRowMinimumHeight(row++, 6);
            addRow(grid, row++, field.name);
        }
        grid->setRowStretch(row, 1);
        top->addLayout(grid);

        auto* right = new QVBoxLayout;
        auto* billing = ui::framed_group("Abrechnung", kGroupFrame, this);
        billing->setObjectName("groupBilling");
        QFont bold = billing->font();
        bold.setBold(true);
        auto* g = new QGridLayout(billing);
        g->setHorizontalSpacing(6);
        g->setVerticalSpacing(3);
        int r = 0;
        for (const char* name :
             {"NVERBRTAG", "NVERBRMON", "NVERBRKW", "NVERBRDM", "NSGRUNDDM", "NSUMME", "NSABSCHLAG"}) {
            addRow(g, r++, name);
            result(name)->setFont(bold);
        }
        right->addWidget(billing);

        auto* box = ui::framed_group("", kGroupFrame, this);
        box->setObjectName("groupCorrection");
        auto* bg = new QGridLayout(box);
        korrekt_ = ui::label("", this);
        korrekt_->setObjectName("CTKORREKT");
        korrekt_->setWordWrap(true);
        korrekt_->setMinimumHeight(korrekt_->fontMetrics().lineSpacing() * 2);
        bg->addWidget(korrekt_, 0, 0, 1, 3);
        bg->addWidget(result("NSKORREKT"), 1, 1);
        bg->addWidget(unitOf("NSKORREKT"), 1, 2);
        bg->setColumnStretch(0, 1);
        result("NSKORREKT")->setFont(bold);
        right->addWidget(box);
        right->addStretch();
        top->addLayout(right);

        button("computeButton")->setDefault(true);
        onClick("computeButton", [this] { compute(); });
        onClick("historyButton", [this] { history(); });
        onClick("projectionButton", [this] { verbr_hoch_dialog(this, kind_, inputs(), res_); });
        inner->addSpacing(6);
        inner->addLayout(
            buttonRow({"computeButton", "historyButton", "projectionButton"}, {"helpButton", "closeButton"}));

        // An emptied date is the calculator's to refuse when it computes.
        date("DABLES1")->setEmptyAllowed(true);
        date("DABLES2")->setEmptyAllowed(true);
        connect(date("DABLES1"), &ui::InputField::checked, this, [this](bool passed) {
            guarded([this, passed] {
                const core::Date old = date("DABLES1")->date();
                if (passed && core::is_valid(old) && date("DABLES2")->date().empty())
                    date("DABLES2")->setDate({old.year, 12, 31});
            });
        });
        // Leaving the new reading shows the meter difference (gas: still without the factor).
        connect(number("NZAEHLER2"), &ui::InputField::checked, this, [this](bool) {
            guarded([this] {
                res_.NVERBRKW = number("NZAEHLER2")->value() - number("NZAEHLER1")->value();
                result("NVERBRKW")->setValue(res_.NVERBRKW);
            });
        });
        verbr_summary_texts(kind_, res_);
        res_.CTKORREKT.clear();
    }

    VerbrInputs inputs() const {
        VerbrInputs in = in_;
        in.CLIEFER = text("CLIEFER")->text().toStdString();
        in.CTELEFON = text("CTELEFON")->text().toStdString();
        in.CZAEHLNR = text("CZAEHLNR")->text().toStdString();
        in.CKDNR = text("CKDNR")->text().toStdString();
        in.NGRUNDDM = number("NGRUNDDM")->value();
        in.NKWHDM = number("NKWHDM")->value();
        if (info_.uses_factor) in.NINDEX = number("NINDEX")->value();
        in.NABSCHLAG = number("NABSCHLAG")->value();
        in.NZAEHLER1 = number("NZAEHLER1")->value();
        in.NZAEHLER2 = number("NZAEHLER2")->value();
        in.DABLES1 = date("DABLES1")->date();
        in.DABLES2 = date("DABLES2")->date();
        return in;
    }

  protected:
    bool canCompute() const override {
        return number("NGRUNDDM")->liveValue() > 0 && number("NKWHDM")->liveValue() > 0 &&
               number("NZAEHLER1")->liveValue() > 0 && number("NZAEHLER2")->liveValue() > 0;
    }

    void updateExtra() override {
        if (QPushButton* h = button("historyButton")) h->setEnabled(hisfound_);
        if (QPushButton* p = button("projectionButton")) p->setEnabled(hasResults() && res_.NSUMME > 0);
    }

    // The latest period at opening, then the calculation on it, so its messages show at once.
    void load() override {
        in_.NMWPROZ = 16;
        loadPeriod({});
        calculate();
    }

    // Closing stores the period on screen.
    void save() override { storePeriod(); }

    void clearResults() override {
        korrekt_->clear();
        result("NSKORREKT")->setColors(Qt::black, Qt::white);
    }

  private:
    // STROM_GDATA (show = true): the period of `date`, else the latest one of the kind.
    void loadPeriod(core::Date date) {
        VESTRAL_OP(op_name(kind_, "STROM_GDATA", "WASSER_GDATA", "GAS_GDATA"));
        std::optional<VerbrRow> row;
        {
            core::dbf::Table t;
            if (!open_verbrch(t)) return;
            row = verbr_find(t, kind_, date);
        }
        if (row) {
            verbr_from_row(kind_, *row, in_, res_);
            hisfound_ = true;
        } else if (kind_ == VerbrKind::Gas) {
            // Gas copies the empty record it found: empty texts and dates, all numbers 0.
            VerbrRow empty;
            empty.VERBRART = 4;
            verbr_from_row(kind_, empty, in_, res_);
            hisfound_ = true;
        } else {
            const core::Date today = core::today();
            in_.DABLES1 = {today.year, 1, 1};
            in_.DABLES2 = today;
            hisfound_ = false;
        }
        if (res_.NSUMME == 0 && res_.NSABSCHLAG == 0) res_.CTKORREKT.clear();
        showAll();
    }

    void showAll() {
        text("CLIEFER")->setAcceptedText(QString::fromStdString(in_.CLIEFER));
        text("CTELEFON")->setAcceptedText(QString::fromStdString(in_.CTELEFON));
        text("CZAEHLNR")->setAcceptedText(QString::fromStdString(in_.CZAEHLNR));
        text("CKDNR")->setAcceptedText(QString::fromStdString(in_.CKDNR));
        number("NGRUNDDM")->setValue(in_.NGRUNDDM);
        number("NKWHDM")->setValue(in_.NKWHDM);
        if (info_.uses_factor) number("NINDEX")->setValue(in_.NINDEX);
        number("NABSCHLAG")->setValue(in_.NABSCHLAG);
        number("NZAEHLER1")->setValue(in_.NZAEHLER1);
        number("NZAEHLER2")->setValue(in_.NZAEHLER2);
        date("DABLES1")->setDate(in_.DABLES1);
        date("DABLES2")->setDate(in_.DABLES2);
        showResults();
        setHasResults(true);
    }

    void showResults() {
        result("NVERBRTAG")->setValue(res_.NVERBRTAG);
        result("NVERBRMON")->setValue(res_.NVERBRMON);
        result("NVERBRKW")->setValue(res_.NVERBRKW);
        result("NVERBRDM")->setValue(res_.NVERBRDM);
        result("NSGRUNDDM")->setValue(res_.NSGRUNDDM);
        result("NSUMME")->setValue(res_.NSUMME);
        result("NSABSCHLAG")->setValue(res_.NSABSCHLAG);
        result("NSKORREKT")->setValue(res_.NSKORREKT);
        labelOf("NSGRUNDDM")->setText(QString::fromStdString(res_.CTGRUNDDM));
        korrekt_->setText(QString::fromStdString(res_.CTKORREKT));
        if (res_.additional)
            result("NSKORREKT")->setColors(Qt::white, Qt::red);
        else
            result("NSKORREKT")->setColors(Qt::black, Qt::white);
    }

    // The calculation on the values on screen; a stop shows its message and leaves the results.
    VerbrStop calculate() {
        const VerbrOutcome o = verbr_rech(kind_, inputs(), res_);
        if (o.stop != VerbrStop::None) {
            toolkit::stop(this, "Problem", QString::fromStdString(o.message));
            return o.stop;
        }
        res_ = o.results;
        showResults();
        setHasResults(true);
        return o.stop;
    }

    void compute() {
        // Bad dates compute nothing and store nothing.
        if (calculate() != VerbrStop::Dates) storePeriod();
        updateButtons();
    }

    // STROM_WDATA
    void storePeriod() {
        VESTRAL_OP(op_name(kind_, "STROM_WDATA", "WASSER_WDATA", "GAS_WDATA"));
        const VerbrInputs in = inputs();
        if (!core::is_valid(in.DABLES1)) return;
        core::dbf::Table t;
        if (!open_verbrch(t)) return;
        verbr_store(t, kind_, in, res_);
    }

    // STROMHIST: store the period, list the kind's periods; a period taken over is loaded and
    // calculated, otherwise the latest one is loaded again.
    void history() {
        VESTRAL_OP(op_name(kind_, "STROMHIST", "WASSERHIST", "GASHIST"));
        storePeriod();
        std::optional<core::Date> taken;
        {
            core::dbf::Table t;
            if (!open_verbrch(t)) return;
            verbrch_map().bind(t);
            verbr_set_order(t, kind_);
            auto date_column = [](const QString& heading, const char* field) {
                ui::GridColumn c{heading, [field](const core::dbf::Table& tb) {
                                     return QString::fromStdString(core::format_date(tb.date(field)));
                                 }};
                c.align = Qt::AlignCenter;
                c.value = [field](const core::dbf::Table& tb) -> ui::GridValue { return tb.date(field); };
                return c;
            };
            ui::GridColumn supplier{" Lieferant", [](const core::dbf::Table& tb) {
                                        return QString::fromStdString(tb.trimmed("LIEFER"));
                                    }};
            supplier.align = Qt::AlignLeft | Qt::AlignVCenter;
            const char* m = "@E 9,999,999.99 ";
            std::vector<ui::GridColumn> columns = {
                date_column("von Datum", "ABLESDAT1"),
                date_column("bis Datum", "ABLESDAT2"),
                supplier,
                ui::masked_column(info_.history_heading, "VERBREINH", m),
                ui::masked_column("Verbrauch € ", "VERBRDM", m),
                ui::masked_column("Betrag € ", "SUMME", m),
                ui::masked_column("Abschlag € ", "SABSCHLAG", m),
            };
            ui::SavedPlansTexts texts;
            texts.take = "&Übernehmen";
            texts.take_tooltip = "Eintrag übernehmen";
            texts.take_status = "Datensatz übernehmen";
            texts.delete_status = "Datensatz löschen";
            texts.take_is_default = true;
            texts.ask_before_delete = false;
            t.go_top();
            ui::SavedPlansDialog dlg(this, t, info_.history_title, std::move(columns), texts);
            dlg.setObjectName("historyDialog");
            // At least the stated size; wider when the columns need it, so none is cut.
            ui::center_on_main(&dlg, 430, std::max(630, dlg.grid()->fullWidth() + 24));
            dlg.setWindowModality(Qt::WindowModal);
            dlg.exec();
            if (dlg.taken()) {
                t.go_to(*dlg.taken());
                taken = t.date("DATUM");
            }
        }
        loadPeriod(taken.value_or(core::Date{}));
        if (taken) calculate();
        updateButtons();
    }

    VerbrKind kind_;
    const VerbrKindInfo& info_;
    VerbrInputs in_;
    VerbrResults res_;
    bool hisfound_ = false;
    QLabel* korrekt_ = nullptr;
};

// One projection row: label, left value with unit, right value with unit.
ui::ResultField* hoch_value(QGridLayout* g, int row, int column, const char* name, double v, const char* mask,
                            QWidget* parent) {
    auto* f = new ui::ResultField(mask, parent);
    f->setObjectName(name);
    f->setValue(v);
    g->addWidget(f, row, column);
    return f;
}

}  // namespace

void verbr_hoch_dialog(QWidget* parent, VerbrKind kind, const VerbrInputs& in, const VerbrResults& res) {
    const VerbrKindInfo& k = verbr_kind_info(kind);
    const VerbrProjection p = verbr_hoch(kind, in, res);
    QDialog dlg(parent);
    dlg.setObjectName("projectionDialog");
    dlg.setWindowTitle(QString::fromUtf8(k.projection_title));
    QVBoxLayout* inner = ui::panel_layout(&dlg, kPanelEdge);
    auto* g = new QGridLayout;
    g->setHorizontalSpacing(6);
    g->setVerticalSpacing(4);
    const char* right = "@E 999,999,999.99 ";
    const QString unit = QString::fromUtf8(k.unit);
    auto lab = [&](int row, const QString& text) { g->addWidget(ui::label(text, &dlg), row, 0); };
    auto unit_at = [&](int row, int col, const QString& u) { g->addWidget(ui::label(u, &dlg), row, col); };
    lab(0, QString::fromUtf8(k.projection_first));
    hoch_value(g, 0, 1, "NVERBRKW", res.NVERBRKW, "@E 99,999,999 ", &dlg);
    unit_at(0, 2, unit);
    lab(1, "Abrechnungstage");
    hoch_value(g, 1, 1, "NVERBRTAG", res.NVERBRTAG, "@E 9999999 ", &dlg);
    lab(2, "Verbrauch pro Tag");
    hoch_value(g, 2, 1, "kwPerDay", p.kw_per_day, "@E 9999.99 ", &dlg);
    unit_at(2, 2, unit);
    hoch_value(g, 2, 3, "costPerDay", p.cost_per_day, right, &dlg);
    unit_at(2, 4, "€");
    lab(3, "Jahresverbrauch");
    hoch_value(g, 3, 1, "yearKw", p.year_kw, "@E 99,999,999.99 ", &dlg);
    unit_at(3, 2, unit);
    hoch_value(g, 3, 3, "yearCost", p.year_cost, right, &dlg);
    unit_at(3, 4, "€");
    lab(4, "Grundgebühr für 12 Monate");
    hoch_value(g, 4, 3, "fee", p.fee, right, &dlg);
    unit_at(4, 4, "€");
    lab(5, QString::fromUtf8(k.projection_total));
    hoch_value(g, 5, 3, "total", p.total, right, &dlg);
    unit_at(5, 4, "€");
    lab(6, "Abschlagszahlungen");
    hoch_value(g, 6, 3, "advances", p.advances, right, &dlg);
    unit_at(6, 4, "€");
    auto* text = ui::label(QString::fromStdString(p.text), &dlg);
    text->setObjectName("projectionText");
    g->addWidget(text, 7, 0, 1, 3);
    ui::ResultField* amount = hoch_value(g, 7, 3, "amount", p.amount, right, &dlg);
    if (p.additional)
        amount->setColors(Qt::white, Qt::red);
    else
        amount->setColors(Qt::white, Qt::cyan);
    unit_at(7, 4, "€");
    inner->addLayout(g);
    inner->addStretch();
    auto* close = ui::button(&dlg, "closeButton", "&Schließen", "Dialog beenden", QString(), true);
    close->setDefault(true);
    ui::on_click_always(close, [&dlg] { dlg.accept(); });
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(close);
    inner->addLayout(buttons);
    ui::center_on_main(&dlg, 280, 410);
    if (parent) dlg.setWindowModality(Qt::WindowModal);
    dlg.exec();
}

void verbr_dialog(QWidget* parent, VerbrKind kind) {
    VESTRAL_OP(kind == VerbrKind::Strom      ? "BER_STROM"
               : kind == VerbrKind::Wasser   ? "BER_WASSER"
               : kind == VerbrKind::Abwasser ? "BER_ABWASSER"
                                             : "BER_GAS");
    VerbrDialog dlg(parent, kind);
    dlg.exec();
}

}  // namespace vestral::calc
