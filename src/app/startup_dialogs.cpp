#include "app/startup_dialogs.h"

#include <QCheckBox>
#include <QDialog>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

#include "app/pictures.h"
#include "core/files.h"
#include "core/program_settings.h"
#include "toolkit/fonts.h"
#include "ui/blocks.h"

namespace vestral::app {

namespace {

QString qs(const std::string& s) {
    return QString::fromStdString(s);
}

void center(QDialog* d, QWidget* parent) {
    d->adjustSize();
    QRect area;
    if (parent && parent->isVisible())
        area = parent->frameGeometry();
    else if (QScreen* screen = d->screen())
        area = screen->availableGeometry();
    if (area.isValid()) d->move(area.center() - QPoint(d->width() / 2, d->height() / 2));
}

class AboutDialog : public QDialog {
  public:
    AboutDialog(QWidget* parent, bool at_start, int close_after_ms)
        : QDialog(parent), at_start_(at_start), close_after_ms_(close_after_ms) {
        setObjectName("aboutinfo");
        const core::ProgramSettings& s = core::settings();
        setWindowTitle(qs(s.title()));
        setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
        core::IniDocument ini = s.ini().load();
        const std::string bitmap = ini.get("About", "Bitmap", "");
        const QString firma1 = qs(ini.get("About", "Firma1", core::maker::kName));
        const QString firma2 = qs(ini.get("About", "Firma2", core::maker::kStreet));
        const QString firma3 = qs(ini.get("About", "Firma3", core::maker::kPhone));
        const QString email = qs(ini.get("About", "Email", core::maker::kEmail));
        const QString internet = qs(ini.get("About", "Internet", core::maker::kWeb));

        auto* layout = new QVBoxLayout(this);
        layout->setContentsMargins(0, 0, 0, 12);
        layout->setSpacing(10);
        auto* picture = new QLabel(this);
        picture->setObjectName("aboutPicture");
        QPixmap pm;
        if (!bitmap.empty()) {
            pm.load(qs(core::resolve_ci(s.dir, bitmap).string()));
        }
        if (pm.isNull()) pm = about_picture(qs(s.title()), 440, 120);
        picture->setPixmap(pm);
        picture->setAlignment(Qt::AlignCenter);
        layout->addWidget(picture);

        auto add_block = [&](const QString& text, const char* name) {
            auto* l = new QLabel(text, this);
            l->setObjectName(name);
            l->setAlignment(Qt::AlignCenter);
            l->setContentsMargins(16, 0, 16, 0);
            layout->addWidget(l);
        };
        add_block(firma1 + "\n" + firma2 + "\n" + firma3, "aboutFirma");
        add_block(internet + "\n" + email, "aboutContact");
        add_block(QString::fromUtf8(core::maker::kRights), "aboutRights");
        layout->setSizeConstraint(QLayout::SetFixedSize);
    }

  protected:
    void mousePressEvent(QMouseEvent* e) override {
        e->accept();
        accept();
    }
    void paintEvent(QPaintEvent* e) override {
        QDialog::paintEvent(e);
        if (at_start_ && !timer_started_) {
            timer_started_ = true;
            // A child of the dialog, so it goes with the dialog when it closes earlier.
            auto* t = new QTimer(this);
            t->setSingleShot(true);
            connect(t, &QTimer::timeout, this, &QDialog::accept);
            t->start(close_after_ms_);
        }
    }

  private:
    bool at_start_;
    int close_after_ms_;
    bool timer_started_ = false;
};

class DisclaimerDialog : public QDialog {
  public:
    explicit DisclaimerDialog(QWidget* parent) : QDialog(parent) {
        setObjectName("haftung");
        setWindowTitle("Haftungsausschluss");
        setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
        auto* layout = new QVBoxLayout(this);
        auto* text = new QLabel(
            "Wir, die Veltrano Systemhaus als Hersteller, wie auch der Vertreiber dieser Software, "
            "übernehmen "
            "keine Haftung für die Richtigkeit der Daten oder Informationen und für Schäden, die Sie "
            "erleiden, "
            "wenn Sie dieses Programm benutzen.\n\nWir haben sorgfältig recherchiert und uns von Fachleuten "
            "beraten lassen. Dies ist aber keine Gewähr für die Richtigkeit der Aussagen und Ergebnisse "
            "in "
            "diesem Programm.",
            this);
        text->setObjectName("haftungText");
        text->setWordWrap(true);
        text->setFont(toolkit::map_font("Ms Sans Serif", 10, true));
        text->setMinimumWidth(420);
        layout->addWidget(text);
        layout->addSpacing(8);

        accept_box_ = new QCheckBox(" Ich akzeptiere diesen Haftungsausschluss.", this);
        accept_box_->setObjectName("akzept");
        accept_box_->setChecked(core::settings().ls_akzept);
        layout->addWidget(accept_box_);
        never_box_ = new QCheckBox(" Diese Information in Zukunft nicht mehr anzeigen !", this);
        never_box_->setObjectName("nichtMehr");
        layout->addWidget(never_box_);

        auto* buttons = new QHBoxLayout;
        buttons->addStretch();
        weiter_ = ui::button(this, "weiter", "&Weiter", QString());
        auto* beenden = ui::button(this, "beenden", "&Beenden", QString());
        buttons->addWidget(weiter_);
        buttons->addWidget(beenden);
        layout->addLayout(buttons);

        connect(accept_box_, &QCheckBox::toggled, this, [this] { update_enabling(); });
        connect(weiter_, &QPushButton::clicked, this, [this] {
            confirmed_ = true;
            accept();
        });
        connect(beenden, &QPushButton::clicked, this, [this] {
            quit_ = true;
            reject();
        });
        update_enabling();
    }

    bool confirmed() const { return confirmed_; }
    bool quit() const { return quit_; }
    bool accepted_box() const { return accept_box_->isChecked(); }
    bool never_box() const { return never_box_->isChecked(); }

  protected:
    void keyPressEvent(QKeyEvent* e) override {
        // The disclaimer must be answered; Escape does not leave it.
        if (e->key() == Qt::Key_Escape) {
            e->accept();
            return;
        }
        QDialog::keyPressEvent(e);
    }

  private:
    void update_enabling() {
        bool on = accept_box_->isChecked();
        never_box_->setEnabled(on);
        weiter_->setEnabled(on);
    }

    QCheckBox* accept_box_;
    QCheckBox* never_box_;
    QPushButton* weiter_;
    bool confirmed_ = false;
    bool quit_ = false;
};

}  // namespace

bool aboutinfo(QWidget* parent, bool at_start, int close_after_ms) {
    AboutDialog d(parent, at_start, close_after_ms);
    center(&d, parent);
    d.exec();
    return true;
}

DisclaimerOutcome haftung(QWidget* parent) {
    if (core::settings().ini().get("Setup", "HaftInf", "") == "1") return DisclaimerOutcome::Continue;
    DisclaimerDialog d(parent);
    center(&d, parent);
    d.exec();
    if (d.quit()) return DisclaimerOutcome::Quit;
    if (d.confirmed()) {
        core::settings().ini().set_many(
            "Setup", {{"HaftInf", d.never_box() ? "1" : "0"}, {"Haftung", d.accepted_box() ? "1" : "0"}});
    }
    return DisclaimerOutcome::Continue;
}

}  // namespace vestral::app
