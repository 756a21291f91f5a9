#include "calc/consumption/egkz_dialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "calc/consumption/egkz.h"
#include "core/opstack.h"
#include "core/program_settings.h"
#include "toolkit/messages.h"
#include "ui/blocks.h"
#include "ui/calculator_dialog.h"
#include "ui/numeric_field.h"

namespace vestral::calc {

namespace {

const QColor kPanelEdge = ui::color(ui::rgb(84, 75, 245));
constexpr const char* kInputMask = "@K@E 999999.99 ";
constexpr const char* kKwhMask = "@E 999,999,999.99 ";

ui::FormSpec egkz_form() {
    ui::FormSpec f;
    f.object_name = "egkzDialog";
    f.title = "Energiekennzahl berechnen";
    f.help_topic = "Energiekennzahl berechnen";
    f.fields = {
        {"NSTROMJ", "Strom gesamt", "", kInputMask, "Stromverbrauch pro Jahr in kWh"},
        {"NFERNWJ", "Fernwärme", "", kInputMask, "Fernwärme pro Jahr in kWh"},
        {"NHZOEL", "Heizöl", "Liter", kInputMask, "Heizölverbrauch pro Jahr in Litern"},
        {"NERDGAS", "Erdgas", "m³", kInputMask, "Erdgasverbrauch pro Jahr in m³"},
        {"NFLGAS", "Flüssiggas", "kg", kInputMask, "Flüssiggasverbrauch pro Jahr in kg"},
        {"NHOLZ", "Holz", "rm", kInputMask, "Holzverbrauch pro Jahr in Raummetern"},
        {"NKOHLE", "Kohle", "kg", kInputMask, "Kohleverbrauch pro Jahr in kg"},
        {"NWOHNFL", "dividiert durch die beheizte Brutto-Wohnfläche", "m²", kInputMask,
         "Beheizte Brutto-Wohnfläche in m²"},
        {"NPERSONEN", "Anzahl Personen in Ihrem Haushalt", "", "@K@E 999999999 ",
         "Anzahl der Personen im Haushalt"},
    };
    f.results = {
        {"NHZOELJ", "", "", kKwhMask},
        {"NERDGASJ", "", "", kKwhMask},
        {"NFLGASJ", "", "", kKwhMask},
        {"NHOLZJ", "", "", kKwhMask},
        {"NKOHLEJ", "", "", kKwhMask},
        {"NGESAMT", "Gesamt (in kWh / Jahr)", "", kKwhMask},
        {"NERGEBNIS", "Energiekennzahl (kWh pro m³ und Jahr)", "", "@E 999,999.99 "},
    };
    f.buttons = {
        {"stromConvert", "!", "Energieeinheiten-Umrechner", "", ui::ButtonRole::Action},
        {"fernwConvert", "!", "Energieeinheiten-Umrechner", "", ui::ButtonRole::Action},
        {"computeButton", "&Berechnen", "Energiekennzahl berechnen", "Energiekennzahl berechnen",
         ui::ButtonRole::Compute},
        {"converterButton", "&Umrechner", "Energieeinheiten-Umrechner", "Energiewerteumrechner",
         ui::ButtonRole::Action},
        {"helpButton", "&Hilfe", "Hilfe anzeigen", "", ui::ButtonRole::Help},
        {"closeButton", "&Schließen", "Dialog beenden", "", ui::ButtonRole::Close},
    };
    f.height = 439;
    f.width = 440;
    f.placement = ui::Placement::BelowMain;
    f.dy = 50;
    f.dx = 20;
    return f;
}

constexpr const char* kCarriers[] = {"NSTROMJ", "NFERNWJ", "NHZOEL", "NERDGAS", "NFLGAS", "NHOLZ", "NKOHLE"};

class EgkzDialog : public ui::CalculatorDialog {
  public:
    explicit EgkzDialog(QWidget* parent) : CalculatorDialog(parent, egkz_form()) {
        QVBoxLayout* inner = ui::panel_layout(this, kPanelEdge);
        QPalette pal = palette();
        pal.setColor(QPalette::Window, Qt::cyan);
        pal.setColor(QPalette::WindowText, Qt::white);
        auto* strip = new QWidget(this);
        strip->setObjectName("headerStrip");
        strip->setAutoFillBackground(true);
        strip->setPalette(pal);
        auto* sl = new QHBoxLayout(strip);
        sl->setContentsMargins(4, 2, 4, 2);
        for (const char* h : {"Energieart", "Verbrauch pro Jahr", "kWh pro Jahr"}) {
            auto* l = ui::label(h, strip);
            l->setPalette(pal);
            QFont b = l->font();
            b.setBold(true);
            l->setFont(b);
            sl->addWidget(l, 1);
        }
        inner->addWidget(strip);

        auto* g = new QGridLayout;
        g->setHorizontalSpacing(6);
        g->setVerticalSpacing(3);
        auto sign = [&](int row, const char* s) { g->addWidget(ui::label(s, this), row, 3); };
        // Electricity and district heating are entered in kWh, with the converter beside them.
        int row = 0;
        for (const char* n : {"NSTROMJ", "NFERNWJ"}) {
            g->addWidget(labelOf(n), row, 0);
            sign(row, "+");
            g->addWidget(field(n), row, 4);
            g->addWidget(button(n == std::string("NSTROMJ") ? "stromConvert" : "fernwConvert"), row, 5);
            ++row;
        }
        const std::pair<const char*, const char*> amounts[] = {{"NHZOEL", "NHZOELJ"},
                                                               {"NERDGAS", "NERDGASJ"},
                                                               {"NFLGAS", "NFLGASJ"},
                                                               {"NHOLZ", "NHOLZJ"},
                                                               {"NKOHLE", "NKOHLEJ"}};
        for (auto [in, kwh] : amounts) {
            g->addWidget(labelOf(in), row, 0);
            g->addWidget(field(in), row, 1);
            g->addWidget(unitOf(in), row, 2);
            sign(row, "+");
            g->addWidget(result(kwh), row, 4);
            ++row;
        }
        g->addWidget(labelOf("NGESAMT"), row, 0, 1, 3);
        sign(row, "=");
        g->addWidget(result("NGESAMT"), row, 4);
        ++row;
        g->addWidget(labelOf("NWOHNFL"), row, 0, 1, 3);
        sign(row, "/");
        g->addWidget(field("NWOHNFL"), row, 4);
        g->addWidget(unitOf("NWOHNFL"), row, 5);
        for (const char* n : {"stromConvert", "fernwConvert"})
            button(n)->setFixedWidth(button(n)->sizeHint().height() + 4);
        inner->addLayout(g);

        water_ = new QCheckBox("Warmwasseraufbereitung erfolgt durch die Heizungsanlage", this);
        water_->setObjectName("LWASSER");
        statusHint(water_, "Warmwasseraufbereitung erfolgt durch die Heizungsanlage");
        inner->addWidget(water_);
        auto* g2 = new QGridLayout;
        g2->addWidget(labelOf("NPERSONEN"), 0, 0);
        g2->addWidget(field("NPERSONEN"), 0, 1);
        g2->addWidget(labelOf("NERGEBNIS"), 1, 0);
        g2->addWidget(result("NERGEBNIS"), 1, 1);
        QFont bold = result("NERGEBNIS")->font();
        bold.setBold(true);
        result("NERGEBNIS")->setFont(bold);
        labelOf("NERGEBNIS")->setFont(bold);
        g2->setColumnStretch(2, 1);
        inner->addLayout(g2);
        rating_ = new QLabel(this);
        rating_->setObjectName("MTEXT");
        rating_->setAlignment(Qt::AlignCenter);
        rating_->setAutoFillBackground(true);
        rating_->setMinimumHeight(rating_->fontMetrics().lineSpacing() * 2 + 6);
        inner->addWidget(rating_);
        inner->addStretch();
        inner->addLayout(buttonRow({"computeButton", "converterButton"}, {"helpButton", "closeButton"}));

        button("computeButton")->setDefault(true);
        onClick("computeButton", [this] { compute(); });
        onClick("converterButton", [this] { egkz_eumr(this, 0); });
        onClick("stromConvert", [this] { convertInto("NSTROMJ"); });
        onClick("fernwConvert", [this] { convertInto("NFERNWJ"); });
        for (const char* n : kCarriers)
            connect(field(n), &ui::InputField::checked, this, [this](bool) { guarded([this] { multi(); }); });
        connect(field("NWOHNFL"), &ui::InputField::checked, this,
                [this](bool) { guarded([this] { multi(); }); });
        connect(field("NPERSONEN"), &ui::InputField::checked, this, [this](bool) {
            guarded([this] {
                clearAll();
                multi();
            });
        });
        connect(water_, &QCheckBox::toggled, this, [this](bool on) {
            guarded([this, on] {
                field("NPERSONEN")->setEnabled(on);
                clearAll();
                multi();
            });
        });
    }

    EgkzInputs inputs() const {
        EgkzInputs in;
        in.NSTROMJ = number("NSTROMJ")->value();
        in.NFERNWJ = number("NFERNWJ")->value();
        in.NHZOEL = number("NHZOEL")->value();
        in.NERDGAS = number("NERDGAS")->value();
        in.NFLGAS = number("NFLGAS")->value();
        in.NHOLZ = number("NHOLZ")->value();
        in.NKOHLE = number("NKOHLE")->value();
        in.NWOHNFL = number("NWOHNFL")->value();
        in.LWASSER = water_->isChecked();
        in.NPERSONEN = number("NPERSONEN")->value();
        return in;
    }

  protected:
    // The values as they are typed, so the button follows every key.
    bool canCompute() const override {
        EgkzInputs in;
        in.NSTROMJ = number("NSTROMJ")->liveValue();
        in.NFERNWJ = number("NFERNWJ")->liveValue();
        in.NHZOEL = number("NHZOEL")->liveValue();
        in.NERDGAS = number("NERDGAS")->liveValue();
        in.NFLGAS = number("NFLGAS")->liveValue();
        in.NHOLZ = number("NHOLZ")->liveValue();
        in.NKOHLE = number("NKOHLE")->liveValue();
        return number("NWOHNFL")->liveValue() > 0 && egkz_multi(in).NGESAMT > 0;
    }

    void load() override {
        const EgkzInputs in = egkz_read_settings(core::settings().ini().load());
        number("NSTROMJ")->setValue(in.NSTROMJ);
        number("NFERNWJ")->setValue(in.NFERNWJ);
        number("NHZOEL")->setValue(in.NHZOEL);
        number("NERDGAS")->setValue(in.NERDGAS);
        number("NFLGAS")->setValue(in.NFLGAS);
        number("NHOLZ")->setValue(in.NHOLZ);
        number("NKOHLE")->setValue(in.NKOHLE);
        number("NWOHNFL")->setValue(in.NWOHNFL);
        number("NPERSONEN")->setValue(in.NPERSONEN);
        {
            const QSignalBlocker block(water_);
            water_->setChecked(in.LWASSER);
        }
        field("NPERSONEN")->setEnabled(in.LWASSER);
        clearResults();
        multi();
        field("NSTROMJ")->setFocus();
    }

    void save() override {
        VESTRAL_OP("EGKZ_WDATA");
        core::settings().ini().set_many(kEgkzSettings.name, egkz_settings_entries(inputs()));
    }

    // EGKZCLEAR's prompt; the base clears the values.
    void clearResults() override { showRating(kEgkzPrompt1, kEgkzPrompt2, true); }

  private:
    void clearAll() { invalidate(); }

    // EGKZMULTI
    void multi() {
        const EgkzKwh k = egkz_multi(inputs());
        result("NHZOELJ")->setValue(k.NHZOELJ);
        result("NERDGASJ")->setValue(k.NERDGASJ);
        result("NFLGASJ")->setValue(k.NFLGASJ);
        result("NHOLZJ")->setValue(k.NHOLZJ);
        result("NKOHLEJ")->setValue(k.NKOHLEJ);
        result("NGESAMT")->setValue(k.NGESAMT);
        updateButtons();
    }

    void showRating(const QString& l1, const QString& l2, bool red) {
        rating_->setText(l1 + "\n" + l2);
        QPalette p = rating_->palette();
        p.setColor(QPalette::Window, Qt::white);
        p.setColor(QPalette::WindowText, red ? Qt::red : Qt::black);
        rating_->setPalette(p);
    }

    // EGKZRECH
    void compute() {
        multi();
        const auto r = egkz_rech(inputs());
        if (!r) {
            toolkit::stop(this, "Problem", kEgkzInputMessage);
            return;
        }
        result("NERGEBNIS")->setValue(r->NERGEBNIS);
        showRating(QString::fromStdString(r->line1), QString::fromStdString(r->line2), false);
        setHasResults(true);
    }

    void convertInto(const char* name) {
        ui::NumericField* f = number(name);
        const double v = egkz_eumr(this, f->value());
        if (v == f->value()) return;
        f->setValue(v);
        invalidate();
        multi();
    }

    QCheckBox* water_ = nullptr;
    QLabel* rating_ = nullptr;
};

ui::FormSpec eumr_form() {
    ui::FormSpec f;
    f.object_name = "converterDialog";
    f.title = "Energiewert-Umrechner";
    f.fields = {
        {"kJ", "kJ", "", "@K@E 999,999,999.99 ", ""},
        {"kcal", "kcal", "", "@K@E 999,999,999.99 ", ""},
        {"kWh", "kWh", "", "@K@E 9,999,999.9999 ", ""},
    };
    f.buttons = {
        {"takeButton", "&Übernehmen", "Ergebnis übernehmen", "", ui::ButtonRole::Action},
        {"closeButton", "&Schließen", "Dialog schließen", "", ui::ButtonRole::Close},
    };
    f.height = 190;
    f.width = 250;
    return f;
}

class EumrDialog : public ui::CalculatorDialog {
  public:
    EumrDialog(QWidget* parent, double given)
        : CalculatorDialog(parent, eumr_form()), given_(given), value_(given) {
        QVBoxLayout* inner = ui::panel_layout(this, kPanelEdge);
        auto* note = ui::label("Geben Sie einfach den Ausgangswert\rin das entsprechende Feld ein!", this);
        note->setObjectName("note");
        inner->addWidget(note);
        inner->addLayout(rowsGrid({"kJ", "kcal", "kWh"}));
        inner->addStretch();
        inner->addLayout(buttonRow({}, {"takeButton", "closeButton"}));
        button("closeButton")->setDefault(true);
        onClick("takeButton", [this] {
            value_ = number("kWh")->value();
            accept();
        });
        for (const char* n : {"kJ", "kcal", "kWh"}) {
            connect(field(n), &ui::InputField::edited, this, [this, n] {
                guarded([this, n] {
                    for (const char* other : {"kJ", "kcal", "kWh"})
                        if (std::string(other) != n && number(other)->value() != 0)
                            number(other)->setValue(0);
                });
            });
            connect(field(n), &ui::InputField::checked, this,
                    [this](bool) { guarded([this] { convert(); }); });
        }
    }
    double value() const { return value_; }

  protected:
    void updateExtra() override {
        if (QPushButton* b = button("takeButton")) b->setEnabled(given_ > 0);
    }

  private:
    // EGKZ_EUMR2
    void convert() {
        const EgkzUnits u =
            egkz_eumr2({number("kJ")->value(), number("kWh")->value(), number("kcal")->value()});
        number("kJ")->setValue(u.kj);
        number("kcal")->setValue(u.kcal);
        number("kWh")->setValue(u.kwh);
    }

    double given_;
    double value_;
};

}  // namespace

double egkz_eumr(QWidget* parent, double value) {
    VESTRAL_OP("EGKZ_EUMR");
    EumrDialog dlg(parent, value);
    dlg.exec();
    return dlg.value();
}

void ber_egkz(QWidget* parent) {
    VESTRAL_OP("BER_EGKZ");
    EgkzDialog dlg(parent);
    dlg.exec();
}

}  // namespace vestral::calc
