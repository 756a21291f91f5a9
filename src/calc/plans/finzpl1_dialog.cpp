#include "calc/plans/finzpl1_dialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

#include "calc/loans/bausparen_dialog.h"
#include "calc/loans/hypotilg_dialog.h"
#include "calc/loans/ratenkredit_dialog.h"
#include "calc/plans/finzpl1_print.h"
#include "calc/plans/finzpl2.h"
#include "calc/plans/finzpl2_dialog.h"
#include "calc/tax/afa75_dialog.h"
#include "calc/tax/eigenheimzulage_dialog.h"
#include "core/clock.h"
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

namespace vestral::calc {

namespace {

const QColor kPanelEdge = ui::color(ui::rgb(84, 75, 245));
const QColor kGroupFrame = ui::color(ui::rgb(165, 192, 170));
const QColor kGrey(192, 192, 192);
constexpr const char* kAmountMask = "@E 999,999,999.99 ";
constexpr const char* kTitle = "Finanzierungsplan bei Eigennutzung";
constexpr const char* kGridTitle = "Finanzierung bei Eigennutzung - Finanzierungsplan";
constexpr const char* kFp2Title = "Finanzierungsplan bei Vermietung";
constexpr const char* kFp2GridTitle = "Finanzierung bei Vermietung - Finanzierungsplan";

// The letting plan's typed values: check n is field n.
enum Fp2Field { kEinkommen = 1, kEinkSteig, kMiete, kMietSteig };

ui::FormSpec finzpl_form(FpVariant v) {
    const bool letting = v == FpVariant::Letting;
    ui::FormSpec f;
    f.object_name = letting ? "finzpl2Dialog" : "finzpl1Dialog";
    f.title = letting ? kFp2Title : kTitle;
    f.help_topic = letting ? kFp2HelpTopic : kFp1HelpTopic;
    if (letting)
        f.fields = {
            {"einkommen", "jährl. Einkommen", "", "@E 999,999.99 ", "Ihr zu versteuerndes Jahreseinkommen",
             kEinkommen},
            {"einksteig", "voraus. Steigerung", "% pro Jahr", "@E 99.99 ",
             "Die erwartete jährliche Einkommenssteigerung in %", kEinkSteig},
            {"miete", "jährl. Mieteinnahme", "", "@E 999,999.99 ", "Die jährliche Kaltmiete", kMiete},
            {"mietsteig", "voraus. Steigerung", "% pro Jahr", "@E 99.99 ",
             "Die erwartete jährliche Mietsteigerung", kMietSteig},
        };
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
        letting ? ui::ButtonSpec{"abschreibButton", "&Abschreibung berechnen", "Abschreibung errechnen", "",
                                 ui::ButtonRole::Action}
                : ui::ButtonSpec{"zulageButton", "&Eigenheimzulage berechnen", "Eigenheimzulage errechnen",
                                 "", ui::ButtonRole::Action},
        {"computeButton", "&Berechnen", "Finanzierungsplan errechnen", "Finanzierungsplan berechnen",
         ui::ButtonRole::Compute},
        {"tableButton", "&Tabelle", "Finanzierungsplan anzeigen", "Finanzierungsplan anzeigen",
         ui::ButtonRole::Result},
        {"printButton", "&Drucken", "Finanzierungsplan drucken", "Finanzierungsplan ausdrucken",
         ui::ButtonRole::Result},
        {"helpButton", "&Hilfe", "Hilfe anzeigen", "", ui::ButtonRole::Help},
        {"closeButton", "&Schließen", "Dialog verlassen", "", ui::ButtonRole::Close},
    };
    f.height = letting ? 470 : 415;
    f.width = 611;
    f.placement = ui::Placement::CenterOnMain;
    return f;
}

QString qs(const std::string& s) {
    return QString::fromStdString(s);
}

// Both financing plans: the owner-occupied one and, as its variant, the letting one.
class FinzplDialog : public ui::CalculatorDialog {
  public:
    FinzplDialog(QWidget* parent, FpVariant variant)
        : CalculatorDialog(parent, finzpl_form(variant)),
          variant_(variant),
          letting_(variant == FpVariant::Letting) {
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
        if (letting_) {
            QGridLayout* g = group("groupAfa", "Abschreibung (AfA)", "abschreibButton");
            afa_box_ = box("afaCheck", "einbeziehen", "Wurde die Abschreibung bereits errechnet ?");
            immowert_ = value("immowert", kAmountMask);
            afa_labels_ = {ui::label("Immobilienpreis", this)};
            g->addWidget(afa_box_, 0, 1);
            g->addWidget(afa_labels_[0], 0, 2);
            g->addWidget(immowert_, 0, 3);
            g->setColumnStretch(4, 1);

            QGridLayout* e = group("groupEinkommen", "Einkommen und Mieteinnahmen", nullptr);
            addRow(e, 0, "einkommen");
            addRow(e, 0, "einksteig", 3);
            addRow(e, 1, "miete");
            addRow(e, 1, "mietsteig", 3);
            ledig_ = new QRadioButton("ledig", this);
            ledig_->setObjectName("ledigRadio");
            verheiratet_ = new QRadioButton("verheiratet", this);
            verheiratet_->setObjectName("verheiratetRadio");
            famgroup_ = new QButtonGroup(this);
            famgroup_->addButton(ledig_, 1);
            famgroup_->addButton(verheiratet_, 2);
            auto* radios = new QHBoxLayout;
            for (QRadioButton* r : {ledig_, verheiratet_}) {
                statusHint(r, "Veranschlagung nach Grund- oder Splitting-Tabelle");
                radios->addWidget(r);
            }
            radios->addStretch(1);
            e->addWidget(ui::label("Familienstand", this), 2, 0);
            e->addLayout(radios, 2, 1, 1, 5);
            e->setColumnStretch(6, 1);
        } else {
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
        onClick(letting_ ? "abschreibButton" : "zulageButton", [this] { fp1Extern(5); });
        if (letting_) {
            connect(famgroup_, &QButtonGroup::idClicked, this, [this](int id) {
                if (refreshing_) return;
                guarded([this, id] {
                    s_.NFAMSTAND = id;
                    invalidate();
                });
            });
        }
        onClick("computeButton", [this] { compute(); });
        onClick("tableButton", [this] {
            if (!plan_.is_open()) return;
            if (letting_)
                whileViewing(
                    [this] { fp2_show(this, plan_, fp1_include(s_), s_.NEINKOMM.value, s_.NMIETE.value); });
            else
                whileViewing([this] { fp1_show(this, plan_, fp1_include(s_)); });
        });
        onClick("printButton", [this] {
            if (plan_.is_open()) whileViewing([this] { drucken(); });
        });
    }

  protected:
    bool canCompute() const override { return fp1_view(s_, bau_rows_).compute; }

    // The letting plan's bound checks, with the Part's names and bounds.
    core::InpFail check(int n) const override {
        auto fail = [&](const char* field, const char* name, double high) {
            core::InpFail f;
            f.name = name;
            f.value = number(field)->value();
            f.low = {0, 0};
            f.high = {high, 0};
            return f;
        };
        switch (n) {
            case kEinkommen:
                return fail("einkommen", "Einkommen", 99999999);
            case kEinkSteig:
                return fail("einksteig", "Einkommenssteigerung", 19);
            case kMiete:
                return fail("miete", "Mieteinnahmen", 9999999);
            case kMietSteig:
                return fail("mietsteig", "Mietsteigerung", 19);
        }
        return {};
    }

    // FP1GDATA, the plan table, and CHECKDATA once the dialog is shown.
    void load() override {
        if (letting_) {
            fp2_load_settings(core::settings().ini().load(), s_);
            number("einkommen")->setValue(s_.NEINKOMM.value);
            number("einksteig")->setValue(s_.NEINKSTEIG.value);
            number("miete")->setValue(s_.NMIETE.value);
            number("mietsteig")->setValue(s_.NMIETSTEIG.value);
        } else {
            fp1_load_settings(core::settings().ini().load(), s_);
        }
        fp_open_plan(plan_, core::settings().dir, variant_);
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
        // The depreciation's box follows the income being typed.
        if (letting_) afa_box_->setEnabled(number("einkommen")->liveValue() > 0);
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
        const auto heads = fp1_copy_heads(core::settings().dir, variant_);
        bau_rows_ = heads.bau_rows;
        if (letting_) {
            fp2_checkdata(s_, heads);
        } else {
            const core::IniDocument ini = core::settings().ini().load();
            fp1_checkdata(s_, heads, user_values(ini), afa_values(ini));
        }
        refresh();
    }

    void refresh() {
        refreshing_ = true;
        if (letting_) takeTyped();
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
        if (letting_) {
            immowert_->setValue(s_.NIMMOWERT);
            tint(immowert_, v.afa_grey);
            (s_.NFAMSTAND == 2 ? verheiratet_ : ledig_)->setChecked(true);
        } else {
            einkomm_->setValue(s_.NEINKOMM.value);
            kinder_->setValue(s_.NKINDER);
            abschreib_->setValue(s_.NABSCHREIB.value);
            kindgeld_->setValue(s_.NKINDGELD.value);
            for (ui::ResultField* f : {einkomm_, kinder_, abschreib_, kindgeld_}) tint(f, v.afa_grey);
        }
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

    // The typed income and rent as last accepted by their fields.
    void takeTyped() {
        s_.NEINKOMM = {number("einkommen")->value(), 2};
        s_.NEINKSTEIG = {number("einksteig")->value(), 2};
        s_.NMIETE = {number("miete")->value(), 2};
        s_.NMIETSTEIG = {number("mietsteig")->value(), 2};
    }

    // FP1_EXTERN / FP2_EXTERN: the source calculator as a child, then its copy.
    bool fp1Extern(int n) {
        VESTRAL_OP(letting_ ? "FP2_EXTERN" : "FP1_EXTERN");
        const auto dir = core::settings().dir;
        bool taken = false;
        if (n == 1 || n == 2) {
            std::string& bank = n == 1 ? s_.CHYPBANK1 : s_.CHYPBANK2;
            if (!core::trim(bank).empty())
                core::settings().ini().set_many(kHypoSection, {hypo_bank_name_entry(bank)});
            // A mortgage dialog closed without computing leaves an older plan in HYPOTHEK, which
            // may be the other mortgage's: only a plan computed now is taken over.
            if (hypotilg(this, 0)) {
                const Fp1Copied c = fp1_copy_mortgage(dir, n, variant_);
                if (c.taken) {
                    bank = c.bank;
                    (n == 1 ? s_.LHYPOTH1 : s_.LHYPOTH2) = true;
                    taken = true;
                }
            }
        } else if (n == 3) {
            bausparen(this);
            const Fp1Copied c = fp1_copy_contract(dir, variant_);
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
                const Fp1Copied c = fp1_copy_credit(dir, variant_);
                if (c.taken) {
                    s_.CDARLBANK = c.bank;
                    s_.LSONSDARL = true;
                    taken = true;
                } else {
                    s_.LSONSDARL = false;
                }
            }
        } else if (n == 5 && letting_) {
            p75e_prog(this);
            if (fp2_copy_depreciation(dir).taken) {
                s_.LABSCHREIB = true;
                fp2_take_afa75(core::settings().ini().load(), s_);
                taken = true;
            } else {
                s_.LABSCHREIB = false;
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
        if (!plan_.is_open() && !fp_open_plan(plan_, core::settings().dir, variant_)) return;
        Fp1Outcome out;
        {
            toolkit::WaitCursor wait;
            const Fp1Include inc = fp1_include(s_);
            const auto dir = core::settings().dir;
            if (letting_) {
                takeTyped();
                Fp2Sources src{fp1_read_sources(dir, inc, variant_), std::nullopt};
                if (inc.afa) src.afa = fp2_read_depreciation(dir);
                // Every row is taxed with this year's tariff.
                out = fp2_rech(inc, src, fp2_income(s_), core::today().year);
                fp2_write_plan(plan_, out.rows);
            } else {
                out = fp1_rech(inc, fp1_read_sources(dir, inc));
                fp1_write_plan(plan_, out.rows);
            }
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
        if (letting_) {
            core::settings().ini().set_many(kFp2Settings.name, fp2_settings_entries(s_));
            core::settings().ini().set_many(kUserSettings.name, fp2_user_entries(s_));
        } else {
            core::settings().ini().set_many(kFp1Settings.name, fp1_settings_entries(s_));
        }
        setHasResults(true);
    }

    // FP1_DRUCK: the two questions, then the jobs of the plan on screen.
    void drucken() {
        const bool singles = toolkit::ask_yes_no(this, kFpPrintTitle, kFp1AskSingles, true);
        const bool overview =
            toolkit::ask_yes_no(this, kFpPrintTitle, letting_ ? kFp2AskOverview : kFp1AskOverview, true);
        std::vector<toolkit::PrintJob> jobs;
        {
            toolkit::WaitCursor wait;
            Fp1PrintInput in;
            in.variant = variant_;
            in.inc = fp1_include(s_);
            const auto& map = letting_ ? finzpl2_map() : finzpl1_map();
            for (plan_.go_top(); !plan_.eof(); plan_.skip()) in.rows.push_back(map.read(plan_));
            plan_.go_top();
            fp1_read_print_terms(core::settings().dir, in);
            const core::IniDocument ini = core::settings().ini().load();
            in.user = user_values(ini);
            in.objekt = objekt_values(ini);
            in.afa = afa_values(ini);
            in.afa75 = afa75_print_values(ini);
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
            FinzplDialog* d;
            ~Unlock() {
                d->viewing_ = false;
                d->updateButtons();
            }
        } unlock{this};
        view();
    }

    FpVariant variant_;
    bool letting_;
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
    ui::ResultField* immowert_ = nullptr;
    QRadioButton *ledig_ = nullptr, *verheiratet_ = nullptr;
    QButtonGroup* famgroup_ = nullptr;
    std::vector<ui::ResultField*> values_;
};

}  // namespace

std::vector<ui::GridColumn> fp_show_columns(const Fp1Grid& grid, const Fp1Include& inc, FpVariant variant) {
    const auto& map = variant == FpVariant::Letting ? finzpl2_map() : finzpl1_map();
    std::vector<ui::GridColumn> columns;
    for (const Fp1Column& c : grid.columns) {
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
            // The rate and the rent have masks of their own.
            const char* mask = v == Fp1Value::AfaRate ? "@E 999.99 "
                               : v == Fp1Value::Miete ? "@E 9,999,999.99 "
                                                      : kAmountMask;
            g.cell = [v, inc, &map, mask](const core::dbf::Table& t) {
                return qs(core::format_mask(fp1_value(v, map.read(t), inc), mask));
            };
            g.value = [v, inc, &map](const core::dbf::Table& t) {
                return ui::GridValue(core::Num{fp1_value(v, map.read(t), inc), 2});
            };
            // Wide enough for the largest amount and the heading.
            g.width = std::max<int>(v == Fp1Value::AfaRate ? 9
                                    : v == Fp1Value::Miete ? 13
                                                           : 15,
                                    static_cast<int>(g.heading.size()));
        }
        columns.push_back(std::move(g));
    }
    return columns;
}

std::vector<ui::GridColumn> fp1_show_columns(const Fp1Include& inc) {
    return fp_show_columns(fp1_grid(inc), inc, FpVariant::Owner);
}

std::vector<ui::GridColumn> fp2_show_columns(const Fp1Include& inc, double neinkomm, double nmiete) {
    return fp_show_columns(fp_grid(inc, FpVariant::Letting, neinkomm, nmiete), inc, FpVariant::Letting);
}

void fp2_show(QWidget* parent, core::dbf::Table& finzpl2, const Fp1Include& inc, double neinkomm,
              double nmiete) {
    VESTRAL_OP("FP2_SHOW");
    finzpl2.go_top();
    const Fp1Grid grid = fp_grid(inc, FpVariant::Letting, neinkomm, nmiete);
    ui::GridDialog dlg(parent, kFp2GridTitle, finzpl2, fp_show_columns(grid, inc, FpVariant::Letting), true,
                       qs(grid.text));
    dlg.setObjectName("fp2ShowDialog");
    dlg.fitAndCenter(491, 686);
    dlg.exec();
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
    FinzplDialog dlg(parent, FpVariant::Owner);
    dlg.exec();
}

void finzpl2(QWidget* parent) {
    VESTRAL_OP("FINZPL2");
    FinzplDialog dlg(parent, FpVariant::Letting);
    dlg.exec();
}

}  // namespace vestral::calc
