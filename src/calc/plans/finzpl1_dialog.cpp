#include "calc/plans/finzpl1_dialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

#include "calc/loans/bausparen_dialog.h"
#include "calc/loans/hypotilg_dialog.h"
#include "calc/loans/ratenkredit_dialog.h"
#include "calc/plans/finzpl1_print.h"
#include "calc/tax/eigenheimzulage_dialog.h"
#include "core/mask.h"
#include "core/opstack.h"
#include "core/program_settings.h"
#include "toolkit/messages.h"
#include "toolkit/print.h"
#include "toolkit/wait_cursor.h"
#include "ui/blocks.h"
#include "ui/calculator_dialog.h"
#include "ui/grid_dialog.h"

namespace vestral::calc {

namespace {

const QColor kPanelEdge = ui::color(ui::rgb(84, 75, 245));
const QColor kGroupFrame = ui::color(ui::rgb(165, 192, 170));
const QColor kGrey(192, 192, 192);
constexpr const char* kAmountMask = "@E 999,999,999.99 ";
constexpr const char* kTitle = "Finanzierungsplan bei Eigennutzung";
constexpr const char* kGridTitle = "Finanzierung bei Eigennutzung - Finanzierungsplan";

ui::FormSpec finzpl1_form() {
    ui::FormSpec f;
    f.object_name = "finzpl1Dialog";
    f.title = kTitle;
    f.help_topic = kFp1HelpTopic;
    f.results = {
        {"ljahre", "Laufzeit zur Tilgung", "Jahre", "999 "},
        {"raten", "Tilgung", "", kAmountMask},
        {"zinsen", "+ Zinsen", "", kAmountMask},
    };
    f.buttons = {
        {"hypo1Button", "&1. Hypothek berechnen", "1. Hypotheken-Finanzierung errechnen", "",
         ui::ButtonRole::Action},
        {"hypo2Button", "&2. Hypothek berechnen", "2. Hypotheken-Finanzierung errechnen", "",
         ui::ButtonRole::Action},
        {"bausparButton", "B&ausparvertrag berechnen", "Bauspar-Finanzierung errechnen", "",
         ui::ButtonRole::Action},
        {"darlehenButton", "&Darlehen berechnen", "Darlehens-Finanzierung errechnen", "",
         ui::ButtonRole::Action},
        {"zulageButton", "&Eigenheimzulage berechnen", "Eigenheimzulage errechnen", "",
         ui::ButtonRole::Action},
        {"computeButton", "&Berechnen", "Finanzierungsplan errechnen", "Finanzierungsplan berechnen",
         ui::ButtonRole::Compute},
        {"tableButton", "&Tabelle", "Finanzierungsplan anzeigen", "Finanzierungsplan anzeigen",
         ui::ButtonRole::Result},
        {"printButton", "&Drucken", "Finanzierungsplan drucken", "Finanzierungsplan ausdrucken",
         ui::ButtonRole::Result},
        {"helpButton", "&Hilfe", "Hilfe anzeigen", "", ui::ButtonRole::Help},
        {"closeButton", "&Schließen", "Dialog verlassen", "", ui::ButtonRole::Close},
    };
    f.height = 415;
    f.width = 611;
    f.placement = ui::Placement::CenterOnMain;
    return f;
}

QString qs(const std::string& s) {
    return QString::fromStdString(s);
}

class Finzpl1Dialog : public ui::CalculatorDialog {
  public:
    explicit Finzpl1Dialog(QWidget* parent) : CalculatorDialog(parent, finzpl1_form()) {
        auto* outer = new QVBoxLayout(this);
        outer->setContentsMargins(0, 0, 0, 0);
        auto* panel = new ui::Panel(this, kPanelEdge);
        panel->setObjectName("panel");
        outer->addWidget(panel);
        auto* inner = new QVBoxLayout(panel);
        inner->setContentsMargins(12, 10, 12, 10);
        inner->setSpacing(4);

        // One framed group per source: its button on the left, then its box and values.
        auto group = [&](const char* name, const QString& caption, const char* button_name) {
            auto* g = ui::framed_group(caption, kGroupFrame, this);
            g->setObjectName(name);
            auto* grid = new QGridLayout(g);
            grid->setContentsMargins(10, 6, 10, 4);
            grid->setHorizontalSpacing(8);
            grid->setVerticalSpacing(2);
            if (button_name) {
                QPushButton* b = button(button_name);
                b->setMinimumWidth(190);
                grid->addWidget(b, 0, 0);
            }
            inner->addWidget(g);
            return grid;
        };
        auto box = [&](const char* name, const QString& text, const QString& hint) {
            auto* c = new QCheckBox(text, this);
            c->setObjectName(name);
            statusHint(c, hint);
            return c;
        };
        auto value = [&](const char* name, const char* mask) {
            auto* f = new ui::ResultField(mask, this);
            f->setObjectName(name);
            values_.push_back(f);
            return f;
        };
        auto bank = [&](const char* name) {
            auto* l = new QLabel(this);
            l->setObjectName(name);
            l->setMinimumWidth(150);
            return l;
        };

        for (int n : {1, 2}) {
            QGridLayout* g =
                group(n == 1 ? "groupHypo1" : "groupHypo2", n == 1 ? "1. Hypothek" : "2. Hypothek",
                      n == 1 ? "hypo1Button" : "hypo2Button");
            Mortgage& m = mortgage_[n - 1];
            m.box = box(n == 1 ? "hypo1Check" : "hypo2Check", "einbeziehen",
                        "Wurde der Hypothekentilgungsplan bereits errechnet ?");
            m.sum = value(n == 1 ? "hyposum1" : "hyposum2", kAmountMask);
            m.bank = bank(n == 1 ? "hypobank1" : "hypobank2");
            g->addWidget(m.box, 0, 1);
            g->addWidget(m.label = ui::label("Betrag", this), 0, 2);
            g->addWidget(m.sum, 0, 3);
            g->addWidget(m.bank, 0, 4);
            g->setColumnStretch(4, 1);
        }
        {
            QGridLayout* g = group("groupBauspar", "Bausparvertrag", "bausparButton");
            bau_box_ =
                box("bausparCheck", "einbeziehen", "Wurde der Bauspartilgungsplan bereits errechnet ?");
            nurtilg_box_ = box("nurTilgCheck", " nur Tilgungsphase",
                               "Nur die Tilgungsphase in die Berechnung einbeziehen");
            bau_bank_ = bank("baubank");
            g->addWidget(bau_box_, 0, 1);
            g->addWidget(nurtilg_box_, 0, 2, 1, 2);
            g->addWidget(bau_bank_, 0, 4);
            g->setColumnStretch(4, 1);
        }
        {
            QGridLayout* g = group("groupDarlehen", "Darlehen", "darlehenButton");
            kre_box_ =
                box("darlehenCheck", "einbeziehen", "Wurde der Darlehenstilgungsplan bereits errechnet ?");
            kre_sum_ = value("darlsum", kAmountMask);
            kre_bank_ = bank("darlbank");
            g->addWidget(kre_box_, 0, 1);
            g->addWidget(kre_label_ = ui::label("Betrag", this), 0, 2);
            g->addWidget(kre_sum_, 0, 3);
            g->addWidget(kre_bank_, 0, 4);
            g->setColumnStretch(4, 1);
        }
        {
            QGridLayout* g = group("groupZulage", "Eigenheimförderung", "zulageButton");
            afa_box_ = box("zulageCheck", "einbeziehen", "Wurde die Eigenheimzulage bereits errechnet ?");
            g->addWidget(afa_box_, 1, 0);
            // The income keeps the amount mask, so a large income shows figures, not asterisks.
            einkomm_ = value("einkomm", kAmountMask);
            kinder_ = value("kinder", "@E 99 ");
            kinder_->setMaximumWidth(kinder_->minimumWidth() + 12);
            abschreib_ = value("abschreib", "@E 999,999.99 ");
            kindgeld_ = value("kindgeld", "@E 999,999.99 ");
            afa_labels_ = {ui::label("Einkommen", this), ui::label("Kinder", this),
                           ui::label("Abschreibung", this), ui::label("Kindergeld", this)};
            g->addWidget(afa_labels_[0], 0, 1);
            g->addWidget(einkomm_, 0, 2);
            g->addWidget(afa_labels_[1], 0, 3);
            g->addWidget(kinder_, 0, 4);
            g->addWidget(afa_labels_[2], 1, 1);
            g->addWidget(abschreib_, 1, 2);
            g->addWidget(afa_labels_[3], 1, 3);
            g->addWidget(kindgeld_, 1, 4);
            g->setColumnStretch(5, 1);
        }
        {
            QGridLayout* g = group("groupErgebnis", "Ergebnis", nullptr);
            // Three figures at most: the term needs no amount-wide field.
            result("ljahre")->setMaximumWidth(result("ljahre")->minimumWidth() + 12);
            g->addWidget(labelOf("ljahre"), 0, 1);
            g->addWidget(result("ljahre"), 0, 2);
            g->addWidget(unitOf("ljahre"), 0, 3);
            g->addWidget(labelOf("raten"), 0, 4);
            g->addWidget(result("raten"), 0, 5);
            g->addWidget(labelOf("zinsen"), 0, 6);
            g->addWidget(result("zinsen"), 0, 7);
            g->setColumnStretch(8, 1);
        }
        inner->addStretch(1);
        inner->addLayout(
            buttonRow({"computeButton", "tableButton", "printButton"}, {"helpButton", "closeButton"}));
        button("computeButton")->setDefault(true);

        for (int n : {1, 2})
            connect(mortgage_[n - 1].box, &QCheckBox::toggled, this, [this, n](bool on) {
                (n == 1 ? s_.LHYPOTH1 : s_.LHYPOTH2) = on;
                includeChanged();
            });
        connect(bau_box_, &QCheckBox::toggled, this, [this](bool on) {
            s_.LBAUSPAR = on;
            includeChanged();
        });
        connect(kre_box_, &QCheckBox::toggled, this, [this](bool on) {
            s_.LSONSDARL = on;
            includeChanged();
        });
        connect(afa_box_, &QCheckBox::toggled, this, [this](bool on) {
            s_.LABSCHREIB = on;
            includeChanged();
        });
        connect(nurtilg_box_, &QCheckBox::toggled, this, [this](bool on) {
            guarded([this, on] {
                s_.LNURTILG = on;
                dropPlan(true);
            });
        });

        onClick("hypo1Button", [this] { fp1Extern(1); });
        onClick("hypo2Button", [this] { fp1Extern(2); });
        onClick("bausparButton", [this] { fp1Extern(3); });
        onClick("darlehenButton", [this] { fp1Extern(4); });
        onClick("zulageButton", [this] { fp1Extern(5); });
        onClick("computeButton", [this] { compute(); });
        onClick("tableButton", [this] {
            if (plan_.is_open()) whileViewing([this] { fp1_show(this, plan_, fp1_include(s_)); });
        });
        onClick("printButton", [this] {
            if (plan_.is_open()) whileViewing([this] { drucken(); });
        });
    }

  protected:
    bool canCompute() const override { return fp1_view(s_, bau_rows_).compute; }

    // FP1GDATA, the plan table, and CHECKDATA once the dialog is shown.
    void load() override {
        fp1_load_settings(core::settings().ini().load(), s_);
        fp1_open_plan(plan_, core::settings().dir);
        checkdata();
        QTimer::singleShot(0, this, [this] { guarded([this] { checkdata(); }); });
    }

    // Settings are saved after a successful computation only; closing keeps the tables on disk.
    void save() override { plan_.close(); }

    void clearResults() override {
        s_.LOK = false;
        s_.NLJAHRE = 0;
        s_.NRATEN = s_.NZINSEN = 0;
        if (empty_plan_ && plan_.is_open() && plan_.reccount() > 0) {
            plan_.zap();
            plan_.flush();
        }
    }

    // The help and close buttons have no enabling rule of their own, so they are given back here.
    void updateExtra() override {
        for (const char* b : {"helpButton", "closeButton"}) button(b)->setEnabled(!viewing_);
        if (viewing_)
            for (const char* b : {"computeButton", "tableButton"}) button(b)->setEnabled(false);
    }

  private:
    struct Mortgage {
        QCheckBox* box = nullptr;
        QLabel* label = nullptr;
        ui::ResultField* sum = nullptr;
        QLabel* bank = nullptr;
    };

    // The results go; the plan table is emptied too unless only LOK is to be cleared.
    void dropPlan(bool empty_table) {
        empty_plan_ = empty_table;
        invalidate();
        empty_plan_ = true;
    }

    // An "einbeziehen" box changed: the plan no longer fits the sources.
    void includeChanged() {
        if (refreshing_) return;
        guarded([this] {
            dropPlan(true);
            checkdata();
        });
    }

    // CHECKDATA: re-read the copies and the settings, refresh the values and colours.
    void checkdata() {
        const auto heads = fp1_copy_heads(core::settings().dir);
        bau_rows_ = heads.bau_rows;
        const core::IniDocument ini = core::settings().ini().load();
        fp1_checkdata(s_, heads, user_values(ini), afa_values(ini));
        refresh();
    }

    void refresh() {
        refreshing_ = true;
        const Fp1View v = fp1_view(s_, bau_rows_);
        const bool include[2] = {s_.LHYPOTH1, s_.LHYPOTH2};
        const bool box_on[2] = {v.hyp1_box, v.hyp2_box};
        const bool grey[2] = {v.hyp1_grey, v.hyp2_grey};
        const double sum[2] = {s_.NHYPOSUM1, s_.NHYPOSUM2};
        const std::string* banks[2] = {&s_.CHYPBANK1, &s_.CHYPBANK2};
        for (int i = 0; i < 2; ++i) {
            Mortgage& m = mortgage_[i];
            m.box->setChecked(include[i]);
            m.box->setEnabled(box_on[i]);
            m.sum->setValue(sum[i]);
            m.bank->setText(qs(*banks[i]));
            tint(m.sum, grey[i]);
            tint(m.bank, grey[i]);
            tint(m.label, grey[i]);
        }
        bau_box_->setChecked(s_.LBAUSPAR);
        bau_box_->setEnabled(v.bau_box);
        nurtilg_box_->setChecked(s_.LNURTILG);
        nurtilg_box_->setEnabled(v.nurtilg_box);
        bau_bank_->setText(qs(s_.CBAUBANK));
        tint(bau_bank_, v.bau_grey);
        kre_box_->setChecked(s_.LSONSDARL);
        kre_box_->setEnabled(v.kre_box);
        kre_sum_->setValue(s_.NDARLSUM);
        kre_bank_->setText(qs(s_.CDARLBANK));
        tint(kre_sum_, v.kre_grey);
        tint(kre_bank_, v.kre_grey);
        tint(kre_label_, v.kre_grey);
        afa_box_->setChecked(s_.LABSCHREIB);
        afa_box_->setEnabled(v.afa_box);
        einkomm_->setValue(s_.NEINKOMM.value);
        kinder_->setValue(s_.NKINDER);
        abschreib_->setValue(s_.NABSCHREIB.value);
        kindgeld_->setValue(s_.NKINDGELD.value);
        for (ui::ResultField* f : {einkomm_, kinder_, abschreib_, kindgeld_}) tint(f, v.afa_grey);
        for (QLabel* l : afa_labels_) tint(l, v.afa_grey);
        result("ljahre")->setValue(s_.NLJAHRE);
        result("raten")->setValue(s_.NRATEN);
        result("zinsen")->setValue(s_.NZINSEN);
        refreshing_ = false;
        updateButtons();
    }

    static void tint(ui::ResultField* f, bool grey) {
        f->setColors(grey ? kGrey : ui::color(core::ProgramSettings::kColF),
                     ui::color(core::ProgramSettings::kColBH));
    }
    static void tint(QLabel* l, bool grey) {
        QPalette pal = l->palette();
        pal.setColor(QPalette::WindowText, grey ? kGrey : QColor(Qt::black));
        l->setPalette(pal);
    }

    // FP1_EXTERN: the source calculator as a child, then its copy.
    bool fp1Extern(int n) {
        VESTRAL_OP("FP1_EXTERN");
        const auto dir = core::settings().dir;
        bool taken = false;
        if (n == 1 || n == 2) {
            std::string& bank = n == 1 ? s_.CHYPBANK1 : s_.CHYPBANK2;
            if (!core::trim(bank).empty())
                core::settings().ini().set_many(kHypoSection, {hypo_bank_name_entry(bank)});
            // A mortgage dialog closed without computing leaves an older plan in HYPOTHEK, which
            // may be the other mortgage's: only a plan computed now is taken over.
            if (hypotilg(this, 0)) {
                const Fp1Copied c = fp1_copy_mortgage(dir, n);
                if (c.taken) {
                    bank = c.bank;
                    (n == 1 ? s_.LHYPOTH1 : s_.LHYPOTH2) = true;
                    taken = true;
                }
            }
        } else if (n == 3) {
            bausparen(this);
            const Fp1Copied c = fp1_copy_contract(dir);
            if (c.taken) {
                s_.CBAUBANK = c.bank;
                fp1_take_bausp(bausp_take_over(core::settings().ini().load()), s_);
                s_.LBAUSPAR = true;
                taken = true;
            }
        } else if (n == 4) {
            if (!core::trim(s_.CDARLBANK).empty())
                core::settings().ini().set_many(kRkSection, {rk_bank_name_entry(s_.CDARLBANK)});
            // A credit dialog closed without "Berechnen" leaves the copies as they were.
            if (ratenkredit(this)) {
                const Fp1Copied c = fp1_copy_credit(dir);
                if (c.taken) {
                    s_.CDARLBANK = c.bank;
                    s_.LSONSDARL = true;
                    taken = true;
                } else {
                    s_.LSONSDARL = false;
                }
            }
        } else if (n == 5) {
            abschr_prog(this);
            fp1_take_afa(afa_values(core::settings().ini().load()), s_);
        }
        dropPlan(false);
        checkdata();
        return taken;
    }

    // FP1_RECH
    void compute() {
        // A plan table that could not be opened was reported when the dialog opened; try again.
        if (!plan_.is_open() && !fp1_open_plan(plan_, core::settings().dir)) return;
        Fp1Outcome out;
        {
            toolkit::WaitCursor wait;
            const Fp1Include inc = fp1_include(s_);
            out = fp1_rech(inc, fp1_read_sources(core::settings().dir, inc));
            fp1_write_plan(plan_, out.rows);
        }
        s_.NLJAHRE = out.NLJAHRE;
        s_.NRATEN = out.NRATEN;
        s_.NZINSEN = out.NZINSEN;
        s_.LOK = out.LOK;
        refresh();
        if (!out.LOK) {
            toolkit::stop(this, kNoDataTitle, kNoDataText);
            setHasResults(false);
            return;
        }
        core::settings().ini().set_many(kFp1Settings.name, fp1_settings_entries(s_));
        setHasResults(true);
    }

    // FP1_DRUCK: the two questions, then the jobs of the plan on screen.
    void drucken() {
        const bool singles = toolkit::ask_yes_no(this, kFpPrintTitle, kFp1AskSingles, true);
        const bool overview = toolkit::ask_yes_no(this, kFpPrintTitle, kFp1AskOverview, true);
        std::vector<toolkit::PrintJob> jobs;
        {
            toolkit::WaitCursor wait;
            Fp1PrintInput in;
            in.inc = fp1_include(s_);
            for (plan_.go_top(); !plan_.eof(); plan_.skip()) in.rows.push_back(finzpl1_map().read(plan_));
            plan_.go_top();
            fp1_read_print_terms(core::settings().dir, in);
            const core::IniDocument ini = core::settings().ini().load();
            in.user = user_values(ini);
            in.objekt = objekt_values(ini);
            in.afa = afa_values(ini);
            jobs = fp1_druck(in, singles, overview, core::settings().title());
        }
        for (const toolkit::PrintJob& job : jobs)
            if (!toolkit::print_job(this, job)) break;
    }

    // "Tabelle" and "Drucken" run with the other buttons locked.
    void whileViewing(const std::function<void()>& view) {
        viewing_ = true;
        updateButtons();
        struct Unlock {
            Finzpl1Dialog* d;
            ~Unlock() {
                d->viewing_ = false;
                d->updateButtons();
            }
        } unlock{this};
        view();
    }

    Fp1State s_;
    core::dbf::Table plan_;
    bool bau_rows_ = false;
    bool refreshing_ = false;
    bool empty_plan_ = true;
    bool viewing_ = false;
    Mortgage mortgage_[2];
    QCheckBox *bau_box_ = nullptr, *nurtilg_box_ = nullptr, *kre_box_ = nullptr, *afa_box_ = nullptr;
    QLabel *bau_bank_ = nullptr, *kre_bank_ = nullptr, *kre_label_ = nullptr;
    ui::ResultField *kre_sum_ = nullptr, *einkomm_ = nullptr, *kinder_ = nullptr, *abschreib_ = nullptr,
                    *kindgeld_ = nullptr;
    std::vector<QLabel*> afa_labels_;
    std::vector<ui::ResultField*> values_;
};

}  // namespace

std::vector<ui::GridColumn> fp1_show_columns(const Fp1Include& inc) {
    std::vector<ui::GridColumn> columns;
    for (const Fp1Column& c : fp1_grid(inc).columns) {
        ui::GridColumn g;
        g.heading = qs(c.heading);
        const Fp1Value v = c.value;
        if (v == Fp1Value::Jahr) {
            g.cell = [](const core::dbf::Table& t) {
                return QString::number(static_cast<int>(t.num("JAHR"))) + ' ';
            };
            g.value = [](const core::dbf::Table& t) { return ui::GridValue(core::Num{t.num("JAHR"), 0}); };
            g.width = 6;
        } else {
            g.cell = [v, inc](const core::dbf::Table& t) {
                return qs(core::format_mask(fp1_value(v, finzpl1_map().read(t), inc), kAmountMask));
            };
            g.value = [v, inc](const core::dbf::Table& t) {
                return ui::GridValue(core::Num{fp1_value(v, finzpl1_map().read(t), inc), 2});
            };
            // Wide enough for the largest amount and the heading.
            g.width = std::max<int>(15, static_cast<int>(g.heading.size()));
        }
        columns.push_back(std::move(g));
    }
    return columns;
}

void fp1_show(QWidget* parent, core::dbf::Table& finzpl1, const Fp1Include& inc) {
    VESTRAL_OP("FP1_SHOW");
    finzpl1.go_top();
    ui::GridDialog dlg(parent, kGridTitle, finzpl1, fp1_show_columns(inc), true, qs(fp1_grid(inc).text));
    dlg.setObjectName("fp1ShowDialog");
    dlg.fitAndCenter(491, 686);
    dlg.exec();
}

void finzpl1(QWidget* parent) {
    VESTRAL_OP("FINZPL1");
    Finzpl1Dialog dlg(parent);
    dlg.exec();
}

}  // namespace vestral::calc
