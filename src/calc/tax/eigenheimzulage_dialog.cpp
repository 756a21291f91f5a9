#include "calc/tax/eigenheimzulage_dialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QVBoxLayout>
#include <iterator>

#include "calc/tax/eigenheimzulage.h"
#include "calc/tax/eigenheimzulage_print.h"
#include "core/numbers.h"
#include "core/opstack.h"
#include "core/program_settings.h"
#include "toolkit/messages.h"
#include "toolkit/print.h"
#include "toolkit/shell.h"
#include "toolkit/wait_cursor.h"
#include "ui/blocks.h"
#include "ui/calculator_dialog.h"
#include "ui/grid_dialog.h"
#include "ui/numeric_field.h"

namespace vestral::calc {

namespace {

constexpr int kTableHeight = 258;
constexpr int kTableWidth = 410;
constexpr const char* kAmount = "@K@E 99,999,999.99 ";
constexpr const char* kMoney = "@E 999,999,999.99 ";

// ABSCHEPL belongs to the start-up catalogue; should it be missing, it is made with the
// catalogue's layout rather than failing the computation.
bool open_abschepl(core::dbf::Table& table) {
    return core::dbf::open_or_create(table, core::settings().dir, kAbscheplFile, abschepl_layout(),
                                     kAbscheplAlias);
}

std::vector<AbschRow> read_abschepl(core::dbf::Table& t) {
    std::vector<AbschRow> rows;
    for (t.go_top(); !t.eof(); t.skip()) {
        rows.push_back({static_cast<int>(t.num("JAHR")), t.num("EINKOMM"), t.num("EINKSTEIG"),
                        t.num("ABSCHJAHR"), t.num("KINDJAHR"), t.num("STEUERERL")});
    }
    return rows;
}

// The form; check n is the bound check of AbschrField n − 1.
ui::FormSpec abschr_form() {
    ui::FormSpec f;
    f.object_name = "abschrDialog";
    f.title = "Eigenheimzulage";
    f.help_topic = "Abschreibung bei Eigennutzung";
    f.fields = {
        {"einkommField", "zu versteuerndes Einkommen des laufenden und Vorjahrs", "€", kAmount,
         "Ihr zu versteuerndes Zweijahres-Einkommen", 1},
        {"steigField", "erwartete jährliche Steigerung des Einkommens", "%", kAmount,
         "erwartete jährliche Einkommensteigerung", 2},
        {"kinderField", "Anzahl der Kinder bis 18 Jahre die im Haushalt leben", "", "@K 999 ",
         "Anzahl der im Objekt lebenden Kinder", 3},
        {"kaufpreisField", "Kauf- bzw. Erstellungspreis inkl. Grundstückspreis", "€", kAmount,
         "Kauf- bzw. Erstellungspreis der Immobilie", 4},
        {"einzugField", "In welchem Jahr wurde der Bauantrag gestellt", "", "@K 9999 ",
         "Datum des Einzugs in die Immobilie", 5},
    };
    f.results = {
        {"foerderrateResult", "Zulagenrate (max. 1%)", "%", "@E 99,999,999.999 "},
        {"abschjahrResult", "Zulage pro Jahr (max. 1250,-)", "€", kMoney},
        {"kindjahrResult", "Baukindergeld pro Jahr", "€", kMoney},
        {"abschreibResult", "Zulagenbetrag für die nächsten 8 Jahre", "€", kMoney},
    };
    f.buttons = {
        {"berechnenButton", "&Berechnen", "Zulage errechnen", "Eigenheimzulage berechnen",
         ui::ButtonRole::Compute},
        {"tabelleButton", "&Tabelle", "Zulage anzeigen", "Abschreibungtabelle anzeigen",
         ui::ButtonRole::Result},
        {"druckenButton", "&Drucken", "Zulage drucken", "Eigenheimzulage drucken", ui::ButtonRole::Result},
        {"gesetzButton", "&Gesetz", "Eigenheimzulagengesetz", "Eigenheimzulagengesetz anzeigen",
         ui::ButtonRole::Action},
        {"hilfeButton", "&Hilfe", "Hilfe anzeigen", "Hilfe anzeigen", ui::ButtonRole::Help},
        {"schliessenButton", "&Schließen", "Dialog beenden", "", ui::ButtonRole::Close},
    };
    f.height = 400;
    f.width = 571;
    f.placement = ui::Placement::BelowMain;
    f.dy = 50;
    f.dx = 20;
    return f;
}

QLabel* wrapped(const QString& text, QWidget* parent) {
    QLabel* l = ui::label(text, parent);
    l->setWordWrap(true);
    return l;
}

class AbschrDialog : public ui::CalculatorDialog {
  public:
    explicit AbschrDialog(QWidget* parent) : CalculatorDialog(parent, abschr_form()) {
        auto* top = new QVBoxLayout(this);
        auto* columns = new QHBoxLayout;
        top->addLayout(columns);
        auto* left = new QVBoxLayout;
        auto* right = new QVBoxLayout;
        columns->addLayout(left, 3);
        columns->addLayout(right, 2);
        const QColor frame = ui::color(ui::rgb(128, 128, 128));

        // Einkommensdaten
        auto* eink = ui::framed_group("Einkommensdaten", frame, this);
        auto* eg = new QGridLayout(eink);
        ledig_ = new QRadioButton("ledig", eink);
        ledig_->setObjectName("ledigRadio");
        verheiratet_ = new QRadioButton("verheiratet", eink);
        verheiratet_->setObjectName("verheiratetRadio");
        for (QRadioButton* r : {ledig_, verheiratet_})
            statusHint(r, "Veranschlagung nach Grund- oder Splitting-Tabelle");
        famgroup_ = new QButtonGroup(this);
        famgroup_->addButton(ledig_, 1);
        famgroup_->addButton(verheiratet_, 2);
        auto* radios = new QHBoxLayout;
        radios->addWidget(ledig_);
        radios->addWidget(verheiratet_);
        radios->addStretch();
        eg->addWidget(ui::label("Familienstand", eink), 0, 0, 1, 3);
        eg->addLayout(radios, 1, 0, 1, 3);
        labelled(eg, 2, "einkommField");
        labelled(eg, 4, "steigField");
        labelled(eg, 6, "kinderField");
        left->addWidget(eink);

        // Immobiliendaten
        auto* immo = ui::framed_group("Immobiliendaten", frame, this);
        auto* ig = new QGridLayout(immo);
        labelled(ig, 0, "kaufpreisField");
        labelled(ig, 2, "einzugField");
        left->addWidget(immo);

        // Eigenheimzulage (results)
        auto* res = ui::framed_group("Eigenheimzulage", frame, this);
        auto* rg = new QGridLayout(res);
        int row = 0;
        for (const ui::ResultSpec& r : form().results) {
            labelled(rg, row, r.name);
            row += 2;
        }
        right->addWidget(res);

        // Förderungsmöglichkeiten
        auto* foerd = ui::framed_group("Förderungsmöglichkeiten", frame, this);
        auto* fl = new QVBoxLayout(foerd);
        auto box = [&](const char* name, const QString& text, const QString& hint) {
            auto* c = new QCheckBox(text, foerd);
            c->setObjectName(name);
            statusHint(c, hint);
            fl->addWidget(c);
            connect(c, &QCheckBox::toggled, this, [this] { changed(); });
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
        // The frames' style sheets stop the dialog's font from reaching their contents.
        for (QGroupBox* g : {eink, immo, res, foerd, info})
            for (QWidget* w : g->findChildren<QWidget*>()) w->setFont(font());

        button("berechnenButton")->setDefault(true);
        top->addLayout(buttonRow({"berechnenButton", "tabelleButton", "druckenButton", "gesetzButton",
                                  "hilfeButton", "schliessenButton"}));

        connect(famgroup_, &QButtonGroup::idToggled, this, [this](int, bool on) {
            if (on) changed();
        });
        // The order on screen: family status, the input groups, the boxes, then the buttons.
        QWidget* order[] = {ledig_,
                            verheiratet_,
                            field("einkommField"),
                            field("steigField"),
                            field("kinderField"),
                            field("kaufpreisField"),
                            field("einzugField"),
                            neubau_,
                            a10e_,
                            energie_,
                            oeko_,
                            button("berechnenButton"),
                            button("tabelleButton"),
                            button("druckenButton"),
                            button("gesetzButton"),
                            button("hilfeButton"),
                            button("schliessenButton")};
        for (size_t i = 1; i < std::size(order); ++i) setTabOrder(order[i - 1], order[i]);
        onClick("berechnenButton", [this] { abschrech_here(); });
        onClick("tabelleButton", [this] { abschshow(this); });
        onClick("druckenButton", [this] { abschdruck(); });
        onClick("gesetzButton", [this] { toolkit::open_document(this, ".\\info\\EigZulG.pdf"); });
    }

    AbschrInputs inputs() const {
        AbschrInputs in;
        in.NFAMSTAND = famgroup_->checkedId() > 0 ? famgroup_->checkedId() : 0;
        in.NEINKOMM = number("einkommField")->value();
        in.NEINKSTEIG = number("steigField")->value();
        in.NKINDER = static_cast<int>(number("kinderField")->value());
        in.NKAUFPREIS = number("kaufpreisField")->value();
        in.NEINZUG = static_cast<int>(number("einzugField")->value());
        in.LNEUBAU = neubau_->isChecked();
        in.LA10E = a10e_->isChecked();
        in.LENERGIE = energie_->isChecked();
        in.LOEKOZUL = oeko_->isChecked();
        return in;
    }

  protected:
    core::InpFail check(int n) const override {
        return abschr_check(static_cast<AbschrField>(n - 1), inputs());
    }

    // The inputs with the values being typed, so the enabling rules follow every key.
    AbschrInputs liveInputs() const {
        AbschrInputs in = inputs();
        in.NEINKOMM = number("einkommField")->liveValue();
        in.NKAUFPREIS = number("kaufpreisField")->liveValue();
        in.NEINZUG = static_cast<int>(number("einzugField")->liveValue());
        return in;
    }
    bool canCompute() const override { return abschr_can_compute(liveInputs()); }
    void updateExtra() override {
        const AbschrInputs in = liveInputs();
        neubau_->setEnabled(neubau_enabled(in));
        energie_->setEnabled(energie_enabled(in));
        oeko_->setEnabled(oekozul_enabled(in));
    }

    // ABSCHR_GDATA: the inputs from the settings; the results start at 0.
    void load() override {
        const AbschrInputs in = abschr_load_settings(core::settings().ini().load());
        loading_ = true;
        ledig_->setChecked(in.NFAMSTAND == 1);
        verheiratet_->setChecked(in.NFAMSTAND == 2);
        if (in.NFAMSTAND != 1 && in.NFAMSTAND != 2) {
            famgroup_->setExclusive(false);
            ledig_->setChecked(false);
            verheiratet_->setChecked(false);
            famgroup_->setExclusive(true);
        }
        number("einkommField")->setValue(in.NEINKOMM);
        number("steigField")->setValue(in.NEINKSTEIG);
        number("kinderField")->setValue(in.NKINDER);
        number("kaufpreisField")->setValue(in.NKAUFPREIS);
        number("einzugField")->setValue(in.NEINZUG);
        neubau_->setChecked(in.LNEUBAU);
        a10e_->setChecked(in.LA10E);
        energie_->setChecked(in.LENERGIE);
        oeko_->setChecked(in.LOEKOZUL);
        loading_ = false;
        // The dialog opens on the family status, the first thing on screen.
        (verheiratet_->isChecked() ? verheiratet_ : ledig_)->setFocus(Qt::OtherFocusReason);
    }

    // ABSCHR_WDATA: the results written belong to the inputs (0 when nothing was computed).
    void save() override {
        core::settings().ini().set_sections(abschr_settings_sections(inputs(), results_));
    }

    // ABSCHRINIT
    void clearResults() override { results_ = {}; }

    void showEvent(QShowEvent* e) override {
        // Opened from another calculator's dialog: beside that dialog rather than the main window.
        if (!placed_ && parentWidget()) {
            move(parentWidget()->window()->frameGeometry().topLeft() + QPoint(20, 50));
            ui::keep_on_screen(this);
        }
        placed_ = true;
        CalculatorDialog::showEvent(e);
    }

  private:
    // A label above its field (or result), which stands indented below it with its unit, so that
    // two columns of groups fit side by side.
    void labelled(QGridLayout* g, int row, const char* name) {
        g->addWidget(labelOf(name), row, 0, 1, 3);
        QWidget* w = field(name);
        if (!w) w = result(name);
        g->addWidget(w, row + 1, 1);
        if (QLabel* u = unitOf(name)) g->addWidget(u, row + 1, 2);
        g->setColumnMinimumWidth(0, 16);
        g->setColumnStretch(0, 1);
        g->setColumnMinimumWidth(2, 14);
    }

    // A choice changed: the results no longer fit the inputs.
    void changed() {
        if (loading_) return;
        guarded([this] { invalidate(); });
    }

    // ABSCHRECH, then WRITEDBF.
    void abschrech_here() {
        VESTRAL_OP("ABSCHRECH");
        const AbschrOutcome out = abschrech(inputs());
        if (out.no_longer_granted) toolkit::information(this, kNoLongerGrantedTitle, kNoLongerGrantedText);
        results_ = out.results;
        result("foerderrateResult")->setValue(results_.NFOERDRATE);
        result("abschjahrResult")->setValue(results_.NABSCHJAHR);
        result("kindjahrResult")->setValue(results_.NKINDJAHR);
        result("abschreibResult")->setValue(results_.NABSCHREIB);
        writedbf(out.rows);
        // A child allowance alone is shown, but gives no table or printout.
        setHasResults(abschr_has_results(results_));
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
    bool placed_ = false;
    QRadioButton* ledig_ = nullptr;
    QRadioButton* verheiratet_ = nullptr;
    QButtonGroup* famgroup_ = nullptr;
    QCheckBox* neubau_ = nullptr;
    QCheckBox* a10e_ = nullptr;
    QCheckBox* energie_ = nullptr;
    QCheckBox* oeko_ = nullptr;
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
    AbschrDialog dlg(parent);
    dlg.exec();
}

}  // namespace vestral::calc
