#include "calc/tax/eigenheimzulage_dialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QVBoxLayout>
#include <filesystem>
#include <system_error>

#include "calc/tax/eigenheimzulage.h"
#include "calc/tax/eigenheimzulage_print.h"
#include "core/files.h"
#include "core/numbers.h"
#include "core/opstack.h"
#include "core/program_settings.h"
#include "toolkit/fonts.h"
#include "toolkit/help.h"
#include "toolkit/messages.h"
#include "toolkit/print.h"
#include "toolkit/shell.h"
#include "toolkit/wait_cursor.h"
#include "ui/blocks.h"
#include "ui/grid_dialog.h"
#include "ui/numeric_field.h"

namespace vestral::calc {

namespace {

constexpr int kDialogHeight = 400;
constexpr int kDialogWidth = 571;
constexpr int kTableHeight = 258;
constexpr int kTableWidth = 410;

// ABSCHEPL belongs to the start-up catalogue; should it be missing, it is made with the
// catalogue's layout rather than failing the computation.
bool open_abschepl(core::dbf::Table& table) {
    return core::dbf::open_or_create(table, core::settings().dir, kAbscheplFile, abschepl_layout(), kAbscheplAlias);
}

std::vector<AbschRow> read_abschepl(core::dbf::Table& t) {
    std::vector<AbschRow> rows;
    for (t.go_top(); !t.eof(); t.skip()) {
        rows.push_back({static_cast<int>(t.num("JAHR")), t.num("EINKOMM"), t.num("EINKSTEIG"),
                        t.num("ABSCHJAHR"), t.num("KINDJAHR"), t.num("STEUERERL")});
    }
    return rows;
}

// ABSCHR_GDATA's reading part: the inputs from the settings; the results start at 0.
AbschrInputs abschr_read_settings() {
    VESTRAL_OP("ABSCHR_GDATA");
    namespace k = abschr_settings;
    core::IniFile ini = core::settings().ini();
    AbschrInputs in;
    in.NFAMSTAND = static_cast<int>(ini.get_num(k::kUser, k::kFamilienstand, "1").value);
    in.NEINKOMM = ini.get_num(k::kUser, k::kEinkommen, "0.00").value;
    in.NEINKSTEIG = ini.get_num(k::kUser, k::kEinkSteig, "0.00").value;
    in.NKINDER = static_cast<int>(ini.get_num(k::kUser, k::kKinder, "0").value);
    in.NKAUFPREIS = ini.get_num(k::kObjekt, k::kKaufpreis, "0.00").value;
    in.NEINZUG =
        static_cast<int>(ini.get_num(k::kObjekt, k::kEinzug, std::to_string(abschr_default_year())).value);
    in.LNEUBAU = ini.get_bool(k::kObjekt, k::kNeubau, "0");
    in.LA10E = ini.get_bool(k::kAfa, k::kA10e, "1");
    in.LENERGIE = ini.get_bool(k::kAfa, k::kNEnergiehaus, "0");
    in.LOEKOZUL = ini.get_bool(k::kAfa, k::kOekozulage, "0");
    return in;
}

// ABSCHR_WDATA
void abschr_wdata(const AbschrInputs& in, const AbschrResults& r) {
    VESTRAL_OP("ABSCHR_WDATA");
    namespace k = abschr_settings;
    auto flag = [](bool b) { return std::string(b ? "1" : "0"); };
    core::IniFile ini = core::settings().ini();
    ini.set_many(k::kUser, {
                               {k::kFamilienstand, std::to_string(in.NFAMSTAND)},
                               {k::kEinkommen, core::format_plain(in.NEINKOMM, 2)},
                               {k::kEinkSteig, core::format_plain(in.NEINKSTEIG, 2)},
                               {k::kKinder, std::to_string(in.NKINDER)},
                           });
    ini.set_many(k::kObjekt, {
                                 {k::kKaufpreis, core::format_plain(in.NKAUFPREIS, 2)},
                                 {k::kEinzug, std::to_string(in.NEINZUG)},
                                 {k::kNeubau, flag(in.LNEUBAU)},
                             });
    ini.set_many(k::kAfa, {
                              {k::kA10e, flag(in.LA10E)},
                              {k::kNEnergiehaus, flag(in.LENERGIE)},
                              {k::kOekozulage, flag(in.LOEKOZUL)},
                              {k::kFoerderrate, core::format_plain(r.NFOERDRATE, k::kFoerderrateDecimals)},
                              {k::kAbschrJahr, core::format_shortest(r.NABSCHJAHR)},
                              {k::kAbschreibung, core::format_shortest(r.NABSCHREIB)},
                              {k::kKindgeldJahr, core::format_shortest(r.NKINDJAHR)},
                              {k::kKindergeld, core::format_shortest(r.NKINDGELD)},
                          });
}

// The long labels of this dialog stand above their field, which is indented below them with its
// unit, so that two columns of groups fit side by side.
void labelled(QGridLayout* g, int row, const QString& text, QWidget* field, const QString& unit) {
    QWidget* parent = g->parentWidget();
    g->addWidget(ui::label(text, parent), row, 0, 1, 3);
    g->addWidget(field, row + 1, 1);
    if (!unit.isEmpty()) g->addWidget(ui::label(unit, parent), row + 1, 2);
    g->setColumnMinimumWidth(0, 16);
    g->setColumnStretch(0, 1);
    g->setColumnMinimumWidth(2, 14);
}

QLabel* wrapped(const QString& text, QWidget* parent) {
    QLabel* l = ui::label(text, parent);
    l->setWordWrap(true);
    return l;
}

class AbschrDialog : public QDialog {
  public:
    AbschrDialog(QWidget* parent, const AbschrInputs& in) : QDialog(parent) {
        setObjectName("abschrDialog");
        setWindowTitle("Eigenheimzulage");
        setFont(toolkit::ofont());
        build();
        apply(in);
        connect_changes();
    }

    AbschrInputs inputs() const {
        AbschrInputs in;
        in.NFAMSTAND = famgroup_->checkedId() > 0 ? famgroup_->checkedId() : 0;
        in.NEINKOMM = einkomm_->value();
        in.NEINKSTEIG = steig_->value();
        in.NKINDER = static_cast<int>(kinder_->value());
        in.NKAUFPREIS = kaufpreis_->value();
        in.NEINZUG = static_cast<int>(einzug_->value());
        in.LNEUBAU = neubau_->isChecked();
        in.LA10E = a10e_->isChecked();
        in.LENERGIE = energie_->isChecked();
        in.LOEKOZUL = oeko_->isChecked();
        return in;
    }
    const AbschrResults& results() const { return results_; }

  protected:
    void showEvent(QShowEvent* e) override {
        QDialog::showEvent(e);
        if (shown_) return;
        shown_ = true;
        // ABSCHR_GDATA(true): the settings once more, now with the enabling of the boxes.
        ui::run_guarded(this, [this] { apply(abschr_read_settings()); });
    }

  private:
    void build() {
        auto* top = new QVBoxLayout(this);
        auto* columns = new QHBoxLayout;
        top->addLayout(columns);
        auto* left = new QVBoxLayout;
        auto* right = new QVBoxLayout;
        columns->addLayout(left, 3);
        columns->addLayout(right, 2);
        const QColor frame = ui::color(ui::rgb(128, 128, 128));

        auto field = [this](const char* name, const char* mask, const QString& help) {
            auto* f = new ui::NumericField(mask, this);
            f->setObjectName(name);
            f->setHelpText(help);
            return f;
        };
        auto check_of = [this](AbschrField which) {
            return [this, which](double v) {
                AbschrInputs in = inputs();
                switch (which) {
                    case AbschrField::Einkommen:
                        in.NEINKOMM = v;
                        break;
                    case AbschrField::EinkSteig:
                        in.NEINKSTEIG = v;
                        break;
                    case AbschrField::Kinder:
                        in.NKINDER = static_cast<int>(v);
                        break;
                    case AbschrField::Kaufpreis:
                        in.NKAUFPREIS = v;
                        break;
                    case AbschrField::Einzug:
                        in.NEINZUG = static_cast<int>(v);
                        break;
                }
                return abschr_check(which, in);
            };
        };

        // Einkommensdaten
        auto* eink = ui::framed_group("Einkommensdaten", frame, this);
        auto* eg = new QGridLayout(eink);
        ledig_ = new QRadioButton("ledig", eink);
        ledig_->setObjectName("ledigRadio");
        verheiratet_ = new QRadioButton("verheiratet", eink);
        verheiratet_->setObjectName("verheiratetRadio");
        for (QRadioButton* r : {ledig_, verheiratet_})
            ui::status_hint(r, "Veranschlagung nach Grund- oder Splitting-Tabelle");
        famgroup_ = new QButtonGroup(this);
        famgroup_->addButton(ledig_, 1);
        famgroup_->addButton(verheiratet_, 2);
        auto* radios = new QHBoxLayout;
        radios->addWidget(ledig_);
        radios->addWidget(verheiratet_);
        radios->addStretch();
        eg->addWidget(ui::label("Familienstand", eink), 0, 0, 1, 3);
        eg->addLayout(radios, 1, 0, 1, 3);
        einkomm_ = field("einkommField", "@K@E 99,999,999.99 ", "Ihr zu versteuerndes Zweijahres-Einkommen");
        einkomm_->setCheck(check_of(AbschrField::Einkommen));
        labelled(eg, 2, "zu versteuerndes Einkommen des laufenden und Vorjahrs", einkomm_, "€");
        steig_ = field("steigField", "@K@E 99,999,999.99 ", "erwartete jährliche Einkommensteigerung");
        steig_->setCheck(check_of(AbschrField::EinkSteig));
        labelled(eg, 4, "erwartete jährliche Steigerung des Einkommens", steig_, "%");
        kinder_ = field("kinderField", "@K 999 ", "Anzahl der im Objekt lebenden Kinder");
        kinder_->setCheck(check_of(AbschrField::Kinder));
        labelled(eg, 6, "Anzahl der Kinder bis 18 Jahre die im Haushalt leben", kinder_, QString());
        left->addWidget(eink);

        // Immobiliendaten
        auto* immo = ui::framed_group("Immobiliendaten", frame, this);
        auto* ig = new QGridLayout(immo);
        kaufpreis_ =
            field("kaufpreisField", "@K@E 99,999,999.99 ", "Kauf- bzw. Erstellungspreis der Immobilie");
        kaufpreis_->setCheck(check_of(AbschrField::Kaufpreis));
        labelled(ig, 0, "Kauf- bzw. Erstellungspreis inkl. Grundstückspreis", kaufpreis_, "€");
        einzug_ = field("einzugField", "@K 9999 ", "Datum des Einzugs in die Immobilie");
        einzug_->setCheck(check_of(AbschrField::Einzug));
        labelled(ig, 2, "In welchem Jahr wurde der Bauantrag gestellt", einzug_, QString());
        left->addWidget(immo);

        // Eigenheimzulage (results)
        auto* res = ui::framed_group("Eigenheimzulage", frame, this);
        auto* rg = new QGridLayout(res);
        auto result = [&](int row, const char* name, const QString& text, const char* mask,
                          const QString& unit) {
            auto* f = new ui::ResultField(mask, res);
            f->setObjectName(name);
            labelled(rg, 2 * row, text, f, unit);
            return f;
        };
        rate_ = result(0, "foerderrateResult", "Zulagenrate (max. 1%)", "@E 99,999,999.999 ", "%");
        jahr_ = result(1, "abschjahrResult", "Zulage pro Jahr (max. 1250,-)", "@E 999,999,999.99 ", "€");
        kindjahr_ = result(2, "kindjahrResult", "Baukindergeld pro Jahr", "@E 999,999,999.99 ", "€");
        gesamt_ =
            result(3, "abschreibResult", "Zulagenbetrag für die nächsten 8 Jahre", "@E 999,999,999.99 ", "€");
        right->addWidget(res);

        // Förderungsmöglichkeiten
        auto* foerd = ui::framed_group("Förderungsmöglichkeiten", frame, this);
        auto* fl = new QVBoxLayout(foerd);
        auto box = [&](const char* name, const QString& text, const QString& hint) {
            auto* c = new QCheckBox(text, foerd);
            c->setObjectName(name);
            ui::status_hint(c, hint);
            fl->addWidget(c);
            return c;
        };
        neubau_ = box("neubauCheck", "Es wurde ein Neubau erstellt oder erworben",
                      "Handelt es sich um einen Neu- oder Altbau");
        a10e_ = box("a10eCheck", "Eigenheim&zulage", "Eigenheimzulage nutzen");
        energie_ = box("energieCheck", "Bau eines &Niedrigenergiehauses", "Niedrigenergiehaus");
        oeko_ = box("oekoCheck", "Einbau von &Solaranlagen, Wärmepumpen, etc.", "Ökozulage nutzen");
        left->addWidget(foerd);
        left->addStretch();

        // Information
        auto* info = ui::framed_group("Information", frame, this);
        auto* il = new QVBoxLayout(info);
        auto* text = wrapped(
            "Bitte beachten Sie: Ab dem 1.1.2006 wird keine Eigenheimförderung mehr gewährt! Sie "
            "können diese nur in Anspruch nehmen, wenn Sie den Bauantrag bis zum 31.12.2005 "
            "gestellt haben.",
            info);
        text->setObjectName("infoText");
        il->addWidget(text);
        right->addWidget(info);
        right->addStretch();

        // Buttons
        berechnen_ = ui::button(this, "berechnenButton", "&Berechnen", "Zulage errechnen",
                                "Eigenheimzulage berechnen");
        berechnen_->setDefault(true);
        tabelle_ =
            ui::button(this, "tabelleButton", "&Tabelle", "Zulage anzeigen", "Abschreibungtabelle anzeigen");
        drucken_ = ui::button(this, "druckenButton", "&Drucken", "Zulage drucken", "Eigenheimzulage drucken");
        auto* gesetz = ui::button(this, "gesetzButton", "&Gesetz", "Eigenheimzulagengesetz",
                                  "Eigenheimzulagengesetz anzeigen");
        auto* hilfe = ui::button(this, "hilfeButton", "&Hilfe", "Hilfe anzeigen", "Hilfe anzeigen", true);
        auto* schliessen =
            ui::button(this, "schliessenButton", "&Schließen", "Dialog beenden", QString(), true);
        auto* buttons = new QHBoxLayout;
        for (QPushButton* b : {berechnen_, tabelle_, drucken_, gesetz, hilfe, schliessen})
            buttons->addWidget(b);
        top->addLayout(buttons);

        ui::on_click(berechnen_, [this] { abschrech_here(); });
        ui::on_click(tabelle_, [this] { abschshow(this); });
        ui::on_click(drucken_, [this] { abschdruck(); });
        ui::on_click(gesetz, [this] { toolkit::open_document(this, ".\\info\\EigZulG.pdf"); });
        ui::on_click_always(hilfe, [this] { toolkit::help::show_current(this); });
        ui::on_click_always(schliessen, [this] { reject(); });
    }

    // Puts loaded values into the controls; the results start at 0.
    void apply(const AbschrInputs& in) {
        loading_ = true;
        ledig_->setChecked(in.NFAMSTAND == 1);
        verheiratet_->setChecked(in.NFAMSTAND == 2);
        if (in.NFAMSTAND != 1 && in.NFAMSTAND != 2) {
            famgroup_->setExclusive(false);
            ledig_->setChecked(false);
            verheiratet_->setChecked(false);
            famgroup_->setExclusive(true);
        }
        einkomm_->setValue(in.NEINKOMM);
        steig_->setValue(in.NEINKSTEIG);
        kinder_->setValue(in.NKINDER);
        kaufpreis_->setValue(in.NKAUFPREIS);
        einzug_->setValue(in.NEINZUG);
        neubau_->setChecked(in.LNEUBAU);
        a10e_->setChecked(in.LA10E);
        energie_->setChecked(in.LENERGIE);
        oeko_->setChecked(in.LOEKOZUL);
        loading_ = false;
        abschrinit();
        refresh();
    }

    void connect_changes() {
        for (ui::NumericField* f : {einkomm_, steig_, kinder_, kaufpreis_, einzug_}) {
            QObject::connect(f, &ui::NumericField::edited, this, [this] { changed(); });
            QObject::connect(f, &ui::NumericField::valueChanged, this, [this] { refresh(); });
        }
        for (QCheckBox* c : {neubau_, a10e_, energie_, oeko_})
            QObject::connect(c, &QCheckBox::toggled, this, [this] { changed(); });
        QObject::connect(famgroup_, &QButtonGroup::idToggled, this, [this](int, bool on) {
            if (on) changed();
        });
    }

    // Every change: the results no longer fit the inputs.
    void changed() {
        if (loading_) return;
        abschrinit();
        tabelle_->setEnabled(false);
        refresh();
    }

    // ABSCHRINIT
    void abschrinit() {
        results_ = {};
        redraw_results();
    }

    void redraw_results() {
        rate_->setValue(results_.NFOERDRATE);
        jahr_->setValue(results_.NABSCHJAHR);
        kindjahr_->setValue(results_.NKINDJAHR);
        gesamt_->setValue(results_.NABSCHREIB);
    }

    // The enabling rules, with the value being typed counting already.
    void refresh() {
        AbschrInputs in = inputs();
        in.NEINKOMM = einkomm_->liveValue();
        in.NKAUFPREIS = kaufpreis_->liveValue();
        in.NEINZUG = static_cast<int>(einzug_->liveValue());
        neubau_->setEnabled(neubau_enabled(in));
        energie_->setEnabled(energie_enabled(in));
        oeko_->setEnabled(oekozul_enabled(in));
        berechnen_->setEnabled(abschr_can_compute(in));
        tabelle_->setEnabled(abschr_has_results(results_));
        drucken_->setEnabled(abschr_has_results(results_));
    }

    // ABSCHRECH, then WRITEDBF.
    void abschrech_here() {
        VESTRAL_OP("ABSCHRECH");
        AbschrInputs in = inputs();
        AbschrOutcome out = abschrech(in);
        if (out.no_longer_granted) toolkit::information(this, kNoLongerGrantedTitle, kNoLongerGrantedText);
        results_ = out.results;
        redraw_results();
        writedbf(out.rows);
        refresh();
    }

    void writedbf(const std::vector<AbschRow>& rows) {
        VESTRAL_OP("WRITEDBF");
        toolkit::WaitCursor wait;
        core::dbf::Table table;
        if (!open_abschepl(table)) return;
        write_abschepl_rows(table, rows);
        table.close();
    }

    void abschdruck() {
        VESTRAL_OP("ABSCHDRUCK");
        std::vector<AbschRow> rows;
        {
            core::dbf::Table table;
            if (!open_abschepl(table)) return;
            rows = read_abschepl(table);
        }
        toolkit::print_job(this, abschdruck_job(inputs(), results_, rows, core::settings().title()));
    }

    AbschrResults results_;
    bool loading_ = false;
    bool shown_ = false;
    QRadioButton* ledig_ = nullptr;
    QRadioButton* verheiratet_ = nullptr;
    QButtonGroup* famgroup_ = nullptr;
    ui::NumericField* einkomm_ = nullptr;
    ui::NumericField* steig_ = nullptr;
    ui::NumericField* kinder_ = nullptr;
    ui::NumericField* kaufpreis_ = nullptr;
    ui::NumericField* einzug_ = nullptr;
    QCheckBox* neubau_ = nullptr;
    QCheckBox* a10e_ = nullptr;
    QCheckBox* energie_ = nullptr;
    QCheckBox* oeko_ = nullptr;
    ui::ResultField* rate_ = nullptr;
    ui::ResultField* jahr_ = nullptr;
    ui::ResultField* kindjahr_ = nullptr;
    ui::ResultField* gesamt_ = nullptr;
    QPushButton* berechnen_ = nullptr;
    QPushButton* tabelle_ = nullptr;
    QPushButton* drucken_ = nullptr;
};

}  // namespace

void abschshow(QWidget* parent) {
    VESTRAL_OP("ABSCHSHOW");
    core::dbf::Table table;
    if (!open_abschepl(table)) return;
    table.go_top();
    std::vector<ui::GridColumn> columns = {
        {"Jahr", [](const core::dbf::Table& t) { return QString::number(static_cast<int>(t.num("JAHR"))); },
         Qt::AlignCenter},
        ui::masked_column("Einkommen € ", "EINKOMM", "@E 99,999,999.99 "),
        ui::masked_column("Eigenheimzulage € ", "ABSCHJAHR", "@E 9,999,999.99 "),
        ui::masked_column("Bau-Kindergeld € ", "KINDJAHR", "@E 9,999,999.99 "),
        {"Auszahlung € ",
         [](const core::dbf::Table& t) {
             return QString::fromStdString(
                 core::format_mask(t.num("ABSCHJAHR") + t.num("KINDJAHR"), "@E 9,999,999.99 "));
         }},
    };
    {
        ui::GridDialog dlg(parent, "Eigenheimzulage - Verlauf", table, std::move(columns));
        dlg.setObjectName("abschShowDialog");
        dlg.fitAndCenter(kTableHeight, kTableWidth);
        dlg.exec();
    }
    table.close();
}

void abschr_prog(QWidget* parent) {
    VESTRAL_OP("ABSCHR_PROG");
    AbschrInputs in = abschr_read_settings();
    toolkit::help::TopicScope topic("Abschreibung bei Eigennutzung");
    AbschrResults results;
    {
        AbschrDialog dlg(parent, in);
        // The stated size is the least; the layout may need more so that no text is cut.
        QSize size = dlg.minimumSizeHint().expandedTo(QSize(kDialogWidth, kDialogHeight));
        dlg.setMinimumSize(size);
        if (parent) {
            dlg.resize(size);
            dlg.move(parent->window()->frameGeometry().topLeft() + QPoint(20, 50));
        } else {
            ui::place_below_main(&dlg, 50, 20, size.height(), size.width());
        }
        dlg.exec();
        in = dlg.inputs();
        results = dlg.results();
    }
    abschr_wdata(in, results);
}

}  // namespace vestral::calc
