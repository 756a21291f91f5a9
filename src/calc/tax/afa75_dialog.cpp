#include "calc/tax/afa75_dialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>
#include <algorithm>

#include "calc/tax/afa75.h"
#include "calc/tax/afa75_print.h"
#include "core/catalogue.h"
#include "core/opstack.h"
#include "core/program_settings.h"
#include "toolkit/messages.h"
#include "toolkit/print.h"
#include "toolkit/wait_cursor.h"
#include "ui/blocks.h"
#include "ui/calculator_dialog.h"
#include "ui/numeric_field.h"
#include "ui/table_grid.h"
#include "ui/text_field.h"

namespace vestral::calc {

namespace {

const QColor kPanelEdge = ui::color(ui::rgb(84, 75, 245));
const QColor kGroupFrame = ui::color(ui::rgb(165, 192, 170));
constexpr int kCostCheck = 1;

ui::FormSpec afa75_form() {
    ui::FormSpec f;
    f.object_name = "afa75Dialog";
    f.title = "Abschreibung nach §7 EStG. (AfA bei Vermietung)";
    f.help_topic = kAfa75HelpTopic;
    f.fields = {
        {"NKAUFPREIS", "Kauf- oder Baukosten ohne Grund und Boden", "", "@K@E 999,999,999.99 ",
         "Kauf- und Baukosten der Immobilie", kCostCheck},
        {"DKAUFDAT", "Anschaffungsdatum bzw. Datum der\rBauantragsstellung", "", "",
         "Erwerbsjahr oder Bauantragsstellungsjahr", 0, ui::FieldKind::Date},
        {"DFERTDAT", "Datum der Fertigstellung", "", "", "Datum der Fertigstellung", 0, ui::FieldKind::Date},
    };
    f.results = {
        {"NAFASUM", "Addition der Freibeträge", "€", "@E 999,999,999.99 "},
        {"NAFADAU", "Abschreibungsdauer", "Jahre", "9999 "},
    };
    f.buttons = {
        {"computeButton", "&Berechnen", "Abschreibung errechnen", "Abschreibung berechnen",
         ui::ButtonRole::Compute},
        {"printButton", "&Drucken", "Abschreibung drucken", "Abschreibung drucken", ui::ButtonRole::Result},
        {"helpButton", "&Hilfe", "Hilfe anzeigen", "Hilfe anzeigen", ui::ButtonRole::Help},
        {"closeButton", "&Schließen", "Dialog verlassen", "", ui::ButtonRole::Close},
    };
    f.height = 390;
    f.width = 571;
    return f;
}

// The schedule list: its headings, cells and least widths.
std::vector<ui::GridColumn> schedule_columns() {
    auto padded = [](ui::GridColumn c, const QString& before) {
        auto cell = c.cell;
        c.cell = [cell, before](const core::dbf::Table& t) { return before + cell(t); };
        return c;
    };
    ui::GridColumn year = padded(ui::masked_column("  Jahr", "JAHR", "9999", " "), "  ");
    year.align = Qt::AlignLeft | Qt::AlignVCenter;
    return {
        year,
        padded(ui::masked_column("Steuerjahr ", "STJAHR", "9999", "  "), " "),
        ui::masked_column("Freibetrag ", "FREIBETRAG", "@E 999,999,999.99", " "),
        ui::masked_column("%-Satz ", "STVORTEIL", "@E 999,999,999.99", " "),
    };
}
constexpr int kColumnWidths[4] = {40, 60, 100, 75};

class Afa75Dialog : public ui::CalculatorDialog {
  public:
    Afa75Dialog(QWidget* parent, core::dbf::Table& dste)
        : CalculatorDialog(parent, afa75_form()), dste_(dste) {
        auto* outer = new QVBoxLayout(this);
        outer->setContentsMargins(0, 0, 0, 0);
        auto* panel = new ui::Panel(this, kPanelEdge);
        panel->setObjectName("panel");
        outer->addWidget(panel);
        auto* inner = new QVBoxLayout(panel);
        inner->setContentsMargins(12, 12, 12, 10);
        auto* top = new QHBoxLayout;
        top->setSpacing(12);
        inner->addLayout(top, 1);

        auto* left = new QVBoxLayout;
        left->setSpacing(8);
        top->addLayout(left);

        // "Daten": every input with its label above it, so the long labels need no width.
        auto* data = ui::framed_group("Daten", kGroupFrame, this);
        data->setObjectName("groupDaten");
        auto* dg = new QVBoxLayout(data);
        dg->setContentsMargins(10, 8, 10, 8);
        dg->setSpacing(3);
        for (const char* name : {"NKAUFPREIS", "DKAUFDAT", "DFERTDAT"}) {
            dg->addWidget(labelOf(name));
            auto* row = new QHBoxLayout;
            row->addWidget(field(name));
            row->addStretch();
            dg->addLayout(row);
            dg->addSpacing(3);
        }
        betrverm_ = new QCheckBox("&Objekt gehört zum Betriebsvermögen", data);
        betrverm_->setObjectName("LBETRVERM");
        statusHint(betrverm_, "Immobilie gehört zu einem Betriebsvermögen");
        wohnung_ = new QCheckBox("Objekt dient zu Wohnzwecken", data);
        wohnung_->setObjectName("LWOHNUNG");
        statusHint(wohnung_, "Immobilie wird als Wohnung genutzt");
        dg->addWidget(betrverm_);
        dg->addWidget(wohnung_);
        dg->addSpacing(3);
        auto* kind_label = ui::label("Abschreibungsart", data);
        kind_label->setObjectName("kindLabel");
        dg->addWidget(kind_label);
        normal_ = new QRadioButton("&normale AfA", data);
        normal_->setObjectName("afaNormal");
        declining_ = new QRadioButton("de&gressive Afa", data);
        declining_->setObjectName("afaDeclining");
        kind_ = new QButtonGroup(this);
        kind_->addButton(normal_, kAfaStraight);
        kind_->addButton(declining_, kAfaDeclining);
        auto* radios = new QHBoxLayout;
        for (QRadioButton* r : {normal_, declining_}) {
            statusHint(r, "Art der Abschreibung");
            radios->addWidget(r);
        }
        radios->addStretch();
        dg->addLayout(radios);
        left->addWidget(data);

        // "Zusammenfassung": the kind on a line of its own, then the sum and the length.
        auto* summary = ui::framed_group("Zusammenfassung", kGroupFrame, this);
        summary->setObjectName("groupZusammenfassung");
        auto* sg = new QGridLayout(summary);
        sg->setContentsMargins(10, 8, 10, 8);
        sg->setHorizontalSpacing(6);
        sg->setVerticalSpacing(4);
        kind_text_ = ui::label(QString(), summary);
        kind_text_->setObjectName("CABSCHART");
        sg->addWidget(kind_text_, 0, 0, 1, 3);
        addRow(sg, 1, "NAFASUM");
        addRow(sg, 2, "NAFADAU");
        sg->setColumnStretch(1, 1);
        left->addWidget(summary);
        left->addStretch();

        grid_ = new ui::TableGrid(this, dste_, schedule_columns());
        grid_->setObjectName("scheduleGrid");
        grid_->setTextElideMode(Qt::ElideNone);
        top->addWidget(grid_, 1);
        applyWidths();

        inner->addSpacing(8);
        inner->addLayout(buttonRow({"computeButton", "printButton"}, {"helpButton", "closeButton"}));
        button("computeButton")->setDefault(true);
        onClick("computeButton", [this] { compute(); });
        onClick("printButton", [this] { print(); });

        auto restrict = [this] { guarded([this] { restrictKind(); }); };
        connect(betrverm_, &QCheckBox::toggled, this, restrict);
        connect(wohnung_, &QCheckBox::toggled, this, restrict);
        connect(kind_, &QButtonGroup::idToggled, this, [restrict](int, bool on) {
            if (on) restrict();
        });
        connect(date("DKAUFDAT"), &ui::DateField::dateChanged, this, restrict);
        connect(date("DFERTDAT"), &ui::DateField::dateChanged, this, restrict);
    }

    // What the dialog holds now: the fields' taken-over values, the boxes and the radio.
    Afa75Inputs inputs() const {
        Afa75Inputs in;
        in.NKAUFPREIS = number("NKAUFPREIS")->value();
        in.DKAUFDAT = date("DKAUFDAT")->date();
        in.DFERTDAT = date("DFERTDAT")->date();
        in.LBETRVERM = betrverm_->isChecked();
        in.LWOHNUNG = wohnung_->isChecked();
        in.NAFAART = declining_->isChecked() ? kAfaDeclining : kAfaStraight;
        return in;
    }

  protected:
    core::InpFail check(int) const override { return afa75_cost_check(number("NKAUFPREIS")->value()); }

    // Follows every key: the typed cost and what the date fields show right now.
    bool canCompute() const override {
        Afa75Inputs in;
        in.NKAUFPREIS = number("NKAUFPREIS")->liveValue();
        auto typed = [this](const char* name) {
            const auto d = core::parse_date(date(name)->text().toStdString());
            return d ? *d : core::Date{};
        };
        in.DKAUFDAT = typed("DKAUFDAT");
        in.DFERTDAT = typed("DFERTDAT");
        return afa75_can_compute(in);
    }

    // P75_GDATA. A stored declining choice is shown as it is; the restriction runs only when the
    // user changes something.
    void load() override {
        VESTRAL_OP("P75_GDATA");
        const Afa75Stored st = afa75_read_settings(core::settings().ini().load(), core::today());
        const QSignalBlocker b1(betrverm_), b2(wohnung_), b3(kind_);
        number("NKAUFPREIS")->setValue(st.inputs.NKAUFPREIS);
        date("DKAUFDAT")->setDate(st.inputs.DKAUFDAT);
        date("DFERTDAT")->setDate(st.inputs.DFERTDAT);
        betrverm_->setChecked(st.inputs.LBETRVERM);
        wohnung_->setChecked(st.inputs.LWOHNUNG);
        (st.inputs.NAFAART == kAfaDeclining ? declining_ : normal_)->setChecked(true);
        nabschart_ = st.NABSCHART;
    }

    // P75_WDATA; the table stays on disk for the letting plan.
    void save() override {
        VESTRAL_OP("P75_WDATA");
        core::settings().ini().set_many(
            kAfa75Settings.name,
            afa75_settings_entries(inputs(), nabschart_, cabschart_, nafasum_, nafadau_));
        dste_.close();
    }

    void clearResults() override {
        cabschart_.clear();
        nafasum_ = 0;
        nafadau_ = 0;
        if (kind_text_) kind_text_->clear();
        if (!dste_.is_open() || dste_.reccount() == 0) return;
        dste_.zap();
        dste_.flush();
        reloadGrid();
    }

  private:
    // CHKAFAGET; the radio's own change comes back here once more and finds nothing to force.
    void restrictKind() {
        const AfaRestriction r = chkafaget(inputs());
        if (r.force_straight && !normal_->isChecked()) normal_->setChecked(true);
        if (r.radio != AfaRadio::Keep) {
            normal_->setEnabled(r.radio == AfaRadio::Enable);
            declining_->setEnabled(r.radio == AfaRadio::Enable);
        }
        invalidate();
    }

    // P75E_RECH
    void compute() {
        VESTRAL_OP("P75E_RECH");
        Afa75Outcome out;
        {
            toolkit::WaitCursor wait;
            dste_.zap();
            dste_.flush();
            out = p75e_rech(inputs());
            write_steu75e_rows(dste_, out.rows);
        }
        nabschart_ = out.NABSCHART;
        if (out.refused())
            toolkit::stop(this, QString::fromUtf8(kAfaNoneTitle), QString::fromUtf8(kAfaNoneText));
        cabschart_ = out.CABSCHART;
        nafasum_ = out.NAFASUM;
        nafadau_ = out.NAFADAU;
        kind_text_->setText(QString::fromStdString(cabschart_));
        result("NAFASUM")->setValue(nafasum_);
        result("NAFADAU")->setValue(nafadau_);
        reloadGrid();
        setHasResults(!out.rows.empty());
    }

    // P75E_DRUCK
    void print() {
        const std::vector<Steu75eRow> rows = read_steu75e_rows(dste_);
        toolkit::print_job(this, p75e_druck_job(inputs(), cabschart_, rows, core::settings().title()));
        grid_->scrollToTop();
        if (grid_->rows() > 0) grid_->selectRow(0);
    }

    void reloadGrid() {
        grid_->reload();
        applyWidths();
        grid_->scrollToTop();
    }

    // The list's columns at least as wide as laid out, wider where the heading or a value needs
    // it. Cells are not elided: a right-aligned cell loses only its leading blanks.
    void applyWidths() {
        const QFontMetrics fm(grid_->font());
        const int pad = fm.horizontalAdvance("  ") + 8;
        for (int c = 0; c < grid_->columns(); ++c) {
            int w = std::max(kColumnWidths[c], grid_->horizontalHeader()->sectionSizeHint(c));
            for (int r = 0; r < grid_->rows(); ++r)
                w = std::max(w, fm.horizontalAdvance(grid_->cellText(r, c).trimmed()) + pad);
            grid_->setColumnWidth(c, w);
        }
        grid_->setMinimumWidth(grid_->fullWidth());
    }

    core::dbf::Table& dste_;
    QCheckBox* betrverm_ = nullptr;
    QCheckBox* wohnung_ = nullptr;
    QRadioButton* normal_ = nullptr;
    QRadioButton* declining_ = nullptr;
    QButtonGroup* kind_ = nullptr;
    QLabel* kind_text_ = nullptr;
    ui::TableGrid* grid_ = nullptr;
    int nabschart_ = 0;
    std::string cabschart_;
    double nafasum_ = 0;
    int nafadau_ = 0;
};

}  // namespace

void p75e_prog(QWidget* parent) {
    VESTRAL_OP("P75E_PROG");
    core::dbf::Table dste;
    {
        toolkit::WaitCursor wait;
        if (!core::open_catalogue_table(dste, core::settings().dir, "STEU75E", kSteu75eAlias)) return;
        dste.zap();
        if (!dste.flush()) return;
    }
    Afa75Dialog dlg(parent, dste);
    dlg.exec();
}

}  // namespace vestral::calc
