#include "calc/tax/ekst_dialog.h"

#include <QButtonGroup>
#include <QDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <filesystem>
#include <system_error>

#include "calc/tax/ekst.h"
#include "core/files.h"
#include "core/numbers.h"
#include "core/opstack.h"
#include "core/program_settings.h"
#include "toolkit/fonts.h"
#include "toolkit/help.h"
#include "toolkit/wait_cursor.h"
#include "ui/blocks.h"
#include "ui/grid_dialog.h"
#include "ui/numeric_field.h"

namespace vestral::calc {

namespace {

constexpr int kDialogHeight = 350;
constexpr int kDialogWidth = 365;
constexpr int kTableHeight = 300;
constexpr int kTableWidth = 502;

// MAKETEMP: the work table is the dialog's own, created here when it is missing.
bool maketemp(core::dbf::Table& table) {
    VESTRAL_OP("MAKETEMP");
    toolkit::WaitCursor wait;
    return core::dbf::open_or_create(table, core::settings().dir, kEksttempFile, kEksttempLayout, kEksttempAlias);
}

// EKSTGDATA
EkstInputs ekstgdata() {
    VESTRAL_OP("EKSTGDATA");
    namespace k = ekst_settings;
    core::IniFile ini = core::settings().ini();
    EkstInputs in;
    in.NEINKOMM = ini.get_num(k::kSection, k::kEinkomm, "0.00").value;
    in.NFAMSTAND = static_cast<int>(ini.get_num(k::kSection, k::kFamStand, "1").value);
    in.NABJAHR = static_cast<int>(
        ini.get_num(k::kSection, k::kAbJahr, std::to_string(ekst_default_start_year())).value);
    in.NEKSTEIG = ini.get_num(k::kSection, k::kEkSteig, "0.00").value;
    return in;
}

class EkstDialog : public QDialog {
  public:
    EkstDialog(QWidget* parent, core::dbf::Table& table, const EkstInputs& in)
        : QDialog(parent), table_(table) {
        setObjectName("ekstDialog");
        setWindowTitle("Einkommensteuer berechnen");
        setFont(toolkit::ofont());
        famstand_ = in.NFAMSTAND;
        build();
        income_->setValue(in.NEINKOMM);
        growth_->setValue(in.NEKSTEIG);
        year_->setValue(in.NABJAHR);
        ledig_->setChecked(famstand_ == 1);
        verheiratet_->setChecked(famstand_ == 2);
        connect_changes();
        initdata(false);
        refresh_buttons();
    }

    EkstInputs inputs() const {
        return {income_->value(), famstand_, static_cast<int>(year_->value()), growth_->value()};
    }

  private:
    void build() {
        auto* top = new QVBoxLayout(this);
        auto* form = new QGridLayout;
        top->addLayout(form);

        income_ = new ui::NumericField("@E@K 99,999,999.99 ", this);
        income_->setObjectName("einkommField");
        income_->setHelpText("Höhe des zu versteuernden Einkommens in €");
        income_->setCheck([this](double v) {
            EkstInputs in = inputs();
            in.NEINKOMM = v;
            return ekstcheck(1, in);
        });
        form->addWidget(ui::label("zu versteuerndes Einkommen", this), 0, 0);
        form->addWidget(income_, 0, 1);
        form->addWidget(ui::label("€", this), 0, 2);

        ledig_ = new QRadioButton("ledig", this);
        ledig_->setObjectName("ledigRadio");
        verheiratet_ = new QRadioButton("verheiratet", this);
        verheiratet_->setObjectName("verheiratetRadio");
        ui::status_hint(ledig_, "Familienstand");
        ui::status_hint(verheiratet_, "Familienstand");
        famgroup_ = new QButtonGroup(this);
        famgroup_->addButton(ledig_, 1);
        famgroup_->addButton(verheiratet_, 2);
        auto* radios = new QHBoxLayout;
        radios->addWidget(ledig_);
        radios->addWidget(verheiratet_);
        radios->addStretch();
        form->addWidget(ui::label("Familienstand", this), 1, 0);
        form->addLayout(radios, 1, 1, 1, 2);

        growth_ = new ui::NumericField("@E@K 999.99 ", this);
        growth_->setObjectName("steigField");
        growth_->setHelpText("Jährliche Einkommensteigerung in Prozent");
        growth_->setCheck([this](double v) {
            EkstInputs in = inputs();
            in.NEKSTEIG = v;
            return ekstcheck(3, in);
        });
        form->addWidget(ui::label("jährl. Einkommensteigerung", this), 2, 0);
        form->addWidget(growth_, 2, 1);
        form->addWidget(ui::label("%", this), 2, 2);

        year_ = new ui::NumericField("@K 99999 ", this);
        year_->setObjectName("abJahrField");
        year_->setHelpText("Berechnen ab Jahr");
        year_->setBeforeCheck([this] {
            results_.NJAHRE = kEkstLastYear - static_cast<int>(year_->value()) + 1;
            jahre_->setValue(results_.NJAHRE);
        });
        year_->setCheck([this](double v) {
            EkstInputs in = inputs();
            in.NABJAHR = static_cast<int>(v);
            return ekstcheck(2, in);
        });
        form->addWidget(ui::label("berechnen ab Jahr", this), 3, 0);
        form->addWidget(year_, 3, 1);
        form->setColumnStretch(0, 1);

        auto* group = ui::framed_group("Ergebnis", ui::color(ui::rgb(0, 0, 128)), this);
        auto* rg = new QGridLayout(group);
        const char* mask = "@E 999,999,999.99 ";
        auto add_result = [&](int row, const char* name, const QString& text, const char* m,
                              const QString& unit) {
            auto* f = new ui::ResultField(m, group);
            f->setObjectName(name);
            rg->addWidget(ui::label(text, group), row, 0);
            rg->addWidget(f, row, 1);
            rg->addWidget(ui::label(unit, group), row, 2);
            return f;
        };
        einksu_ = add_result(0, "einksuResult", "Einkommen gesamt", mask, "€");
        einkst_ = add_result(1, "einkstResult", "Einkommensteuer gesamt", mask, "€");
        solizu_ = add_result(2, "solizuResult", "Solizuschlag gesamt", mask, "€");
        belast_ = add_result(3, "belastResult", "durchschn. Belastung", mask, "%");
        jahre_ = add_result(4, "jahreResult", "berechnet für", "9999 ", "Jahre");
        rg->setColumnStretch(0, 1);
        top->addWidget(group);
        top->addStretch();

        berechnen_ = ui::button(this, "berechnenButton", "&Berechnen", "Berechnung durchführen",
                                "Einkommensteuer errechen");
        berechnen_->setDefault(true);
        tabelle_ = ui::button(this, "tabelleButton", "&Tabelle", "Tabelle der Steuerberechnung",
                              "Ergebnistabelle anzeigen");
        auto* hilfe = ui::button(this, "hilfeButton", "&Hilfe", "Hilfe anzeigen", "Hilfe anzeigen", true);
        auto* schliessen =
            ui::button(this, "schliessenButton", "&Schließen", "Dialog verlassen", "Dialog beenden", true);
        auto* buttons = new QHBoxLayout;
        for (QPushButton* b : {berechnen_, tabelle_, hilfe, schliessen}) buttons->addWidget(b);
        top->addLayout(buttons);

        // "Berechnen" checks every field itself, so a field that failed an earlier check of all
        // fields does not block it; only a field whose own leave check just failed does.
        ui::on_click_always(berechnen_, [this] {
            if (leave_failed_ && leave_failed_->failed()) return;
            if (ekstcheck_all()) ekstmake_here();
        });
        ui::on_click(tabelle_, [this] { ekstshow(this, table_); });
        ui::on_click_always(hilfe, [this] { toolkit::help::show_current(this); });
        ui::on_click_always(schliessen, [this] { reject(); });
    }

    void connect_changes() {
        for (ui::NumericField* f : {income_, growth_, year_}) {
            QObject::connect(f, &ui::NumericField::edited, this, [this] { changed(); });
            QObject::connect(f, &ui::NumericField::valueChanged, this, [this] { refresh_buttons(); });
            QObject::connect(f, &ui::NumericField::checked, this,
                             [this, f](bool ok) { leave_failed_ = ok ? nullptr : f; });
        }
        QObject::connect(famgroup_, &QButtonGroup::idToggled, this, [this](int id, bool on) {
            if (!on) return;
            famstand_ = id;
            changed();
        });
    }

    // Every change of an input: the results and the work table no longer fit it.
    void changed() {
        ui::run_guarded(this, [this] {
            initdata(true);
            table_.zap();
            table_.flush();
            refresh_buttons();
        });
    }

    // INITDATA: with `clear` the results go and both buttons wait for their rules again.
    void initdata(bool clear) {
        if (clear) {
            results_ = {};
            berechnen_->setEnabled(false);
            tabelle_->setEnabled(false);
        }
        einksu_->setValue(results_.NEINKSU);
        einkst_->setValue(results_.NEINKST);
        solizu_->setValue(results_.NSOLIZU);
        belast_->setValue(results_.NBELAST);
        jahre_->setValue(results_.NJAHRE);
    }

    void refresh_buttons() {
        EkstInputs in = inputs();
        in.NEINKOMM = income_->liveValue();
        in.NABJAHR = static_cast<int>(year_->liveValue());
        berechnen_->setEnabled(ekst_can_compute(in));
        tabelle_->setEnabled(table_.is_open() && table_.count() > 0);
    }

    // EKSTCHECK(0): every field reports its fault in turn; the focus ends on the last faulty one.
    bool ekstcheck_all() {
        VESTRAL_OP("EKSTCHECK");
        // A shortcut press leaves the focus in a field: take over what is typed there.
        for (ui::NumericField* f : {income_, year_, growth_})
            if (f->hasFocus()) f->commit();
        ui::NumericField* last = nullptr;
        for (int n : kEkstcheckOrder) {
            ui::NumericField* f = n == 1 ? income_ : n == 2 ? year_ : growth_;
            if (!f->runCheck(true)) last = f;
        }
        if (!last) return true;
        // A field that holds the focus (a shortcut was pressed in it) has been checked and
        // reported above; it must not report again when the focus leaves it for the last one.
        auto* holder = qobject_cast<ui::NumericField*>(focusWidget());
        if (holder && holder != last) {
            last->setFocus(Qt::ActiveWindowFocusReason);
            holder->setValue(holder->value());  // back to its display form
        } else {
            last->setFocus(Qt::OtherFocusReason);
        }
        return false;
    }

    void ekstmake_here() {
        toolkit::WaitCursor wait;
        EkstOutcome out = ekstmake(inputs());
        write_ekst_rows(table_, out.rows);
        results_ = out.results;
        initdata(false);
        refresh_buttons();
    }

    core::dbf::Table& table_;
    int famstand_ = 0;
    EkstResults results_;
    ui::NumericField* income_ = nullptr;
    ui::NumericField* growth_ = nullptr;
    ui::NumericField* year_ = nullptr;
    QRadioButton* ledig_ = nullptr;
    QRadioButton* verheiratet_ = nullptr;
    QButtonGroup* famgroup_ = nullptr;
    ui::ResultField* einksu_ = nullptr;
    ui::ResultField* einkst_ = nullptr;
    ui::ResultField* solizu_ = nullptr;
    ui::ResultField* belast_ = nullptr;
    ui::ResultField* jahre_ = nullptr;
    QPushButton* berechnen_ = nullptr;
    QPushButton* tabelle_ = nullptr;
    QPointer<ui::NumericField> leave_failed_;
};

// EKSTWDATA
void ekstwdata(const EkstInputs& in) {
    VESTRAL_OP("EKSTWDATA");
    namespace k = ekst_settings;
    core::settings().ini().set_many(k::kSection, {
                                                     {k::kEinkomm, core::format_plain(in.NEINKOMM, 2)},
                                                     {k::kFamStand, std::to_string(in.NFAMSTAND)},
                                                     {k::kAbJahr, std::to_string(in.NABJAHR)},
                                                     {k::kEkSteig, core::format_plain(in.NEKSTEIG, 2)},
                                                 });
}

}  // namespace

void ekstshow(QWidget* parent, core::dbf::Table& table) {
    VESTRAL_OP("EKSTSHOW");
    table.go_top();
    std::vector<ui::GridColumn> columns = {
        {"Jahr ",
         [](const core::dbf::Table& t) {
             return QString::fromStdString(ekstshow_year_cell(static_cast<int>(t.num("JAHR"))));
         }},
        ui::masked_column("Einkommen ", "EINKOMM", "@E 999,999,999.99 "),
        ui::masked_column("EK-Steig % ", "EKSTEIG", "@E 999.99", " % "),
        ui::masked_column("EK-Steuer ", "EINKST", "@E 999,999,999.99 "),
        ui::masked_column("Soli-Zuschlag ", "SOLIZU", "@E 999,999,999.99 "),
        ui::masked_column("Belastung % ", "BELAST", "@E 999.99", " % "),
    };
    ui::GridDialog dlg(parent, "Einkommensteuer-Berechnung Tabelle", table, std::move(columns), false,
                       "# = Näherungswerte   * = Planung");
    dlg.setObjectName("ekstShowDialog");
    if (auto* close = dlg.findChild<QPushButton*>("closeButton")) ui::status_hint(close, "Dialog beenden");
    dlg.fitAndCenter(kTableHeight, kTableWidth);
    dlg.exec();
}

void ber_ekst(QWidget* parent) {
    VESTRAL_OP("BER_EKST");
    toolkit::help::TopicScope topic("Einkommensteuerberechnung");
    core::dbf::Table table;
    if (!maketemp(table)) return;
    EkstInputs in = ekstgdata();
    {
        EkstDialog dlg(parent, table, in);
        // The stated size is the least; the layout may need more so that no text is cut.
        QSize size = dlg.minimumSizeHint().expandedTo(QSize(kDialogWidth, kDialogHeight));
        dlg.setMinimumSize(size);
        ui::center_on_main(&dlg, size.height(), size.width());
        dlg.exec();
        in = dlg.inputs();
    }
    ekstwdata(in);
    std::filesystem::path file = table.path();
    table.close();
    std::error_code ec;
    std::filesystem::remove(file, ec);
}

}  // namespace vestral::calc
