#include "app/main_window.h"

#include <QCloseEvent>
#include <QLabel>
#include <QMenuBar>
#include <QPainter>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QUrl>
#include <QUrlQuery>

#include "app/calculators.h"
#include "app/geometry.h"
#include "app/pictures.h"
#include "app/setup_dialog.h"
#include "app/startup_dialogs.h"
#include "core/program_settings.h"
#include "toolkit/fonts.h"
#include "toolkit/help.h"
#include "toolkit/messages.h"
#include "toolkit/shell.h"
#include "toolkit/status.h"
#include "ui/blocks.h"

namespace vestral::app {

namespace {

QString qs(const std::string& s) {
    return QString::fromStdString(s);
}

// The black client area with the program picture, name and rights notice. Their places are taken
// from the window's size when it is first shown and kept afterwards.
class Backdrop : public QWidget {
  public:
    explicit Backdrop(QWidget* parent) : QWidget(parent) {
        setObjectName("backdrop");
        setAutoFillBackground(true);
        QPalette pal = palette();
        pal.setColor(QPalette::Window, Qt::black);
        setPalette(pal);
    }

  protected:
    void paintEvent(QPaintEvent*) override {
        if (!placed_) {
            const QRect r = window()->frameGeometry();
            // Places are measured on the outer rectangle; the client area begins below the menu.
            const QPoint origin =
                mapFrom(window(), QPoint(0, 0)) + (window()->geometry().topLeft() - r.topLeft());
            centre_ = QPoint(r.width() / 2, r.height() / 2) + origin;
            placed_ = true;
        }
        const core::ProgramSettings& s = core::settings();
        QPainter p(this);
        p.drawPixmap(centre_.x() - 180, centre_.y() - 70, program_picture(32));
        QFont name = toolkit::map_font("Ms Sans Serif", 8, true);
        name.setPixelSize(32);
        p.setFont(name);
        p.setPen(QColor(235, 235, 235));
        const int text_left = centre_.x() - 140;
        p.drawText(QRect(text_left, centre_.y() - 70, width() - text_left, 40),
                   Qt::AlignLeft | Qt::AlignVCenter, qs(s.title()));
        p.setFont(toolkit::ofont());
        p.setPen(QColor(200, 200, 200));
        p.drawText(QRect(text_left, centre_.y() - 20, width() - text_left, 20),
                   Qt::AlignLeft | Qt::AlignVCenter, qs(s.pcrelease0));
    }

  private:
    bool placed_ = false;
    QPoint centre_;
};

}  // namespace

MainWindow::MainWindow(QWidget* parent) : QMainWindow(parent) {
    setObjectName("mainWindow");
    const core::ProgramSettings& s = core::settings();
    setWindowTitle(qs(s.title()));
    setWindowIcon(program_icon());
    setFont(toolkit::ofont());
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    setCentralWidget(new Backdrop(this));

    status_ = new QLabel(this);
    status_->setObjectName("statusText");
    status_->setAlignment(Qt::AlignCenter);
    statusBar()->addWidget(status_, 1);
    showStatusText(QString());
    toolkit::set_status_sink([this](const QString& text) { showStatusText(text); });

    throttle_.setSingleShot(true);
    throttle_.setInterval(kGeometrySaveInterval);
    connect(&throttle_, &QTimer::timeout, this, [this] {
        // The trailing save once the window has stopped moving.
        if (pending_) {
            saveGeometryNow();
            throttle_.start();
        }
    });

    makemenu();
}

MainWindow::~MainWindow() {
    toolkit::set_status_sink({});
}

void MainWindow::showStatusText(const QString& text) {
    status_->setText(text.isEmpty() ? qs(core::settings().status_text()) : text);
}

QString MainWindow::statusText() const {
    return status_->text();
}

bool MainWindow::event(QEvent* e) {
    if (e->type() == QEvent::StatusTip) {
        // Menu status texts go to the same centred field as the rest.
        showStatusText(static_cast<QStatusTipEvent*>(e)->tip());
        return true;
    }
    return QMainWindow::event(e);
}

void MainWindow::moveEvent(QMoveEvent* e) {
    QMainWindow::moveEvent(e);
    if (tracking_) geometryChanged();
}

void MainWindow::resizeEvent(QResizeEvent* e) {
    QMainWindow::resizeEvent(e);
    if (tracking_ && isresize(core::settings(), frameGeometry())) geometryChanged();
}

void MainWindow::geometryChanged() {
    // Saves at once, then at most every kGeometrySaveInterval while the window keeps moving, and a
    // last time when it stops: a drag of two seconds replaces the settings file (and with it the
    // backup copy) at most four times.
    pending_ = true;
    if (!throttle_.isActive()) {
        saveGeometryNow();
        throttle_.start();
    }
}

void MainWindow::saveGeometryNow() {
    pending_ = false;
    const QRect frame = frameGeometry();
    putsetup(core::settings(), &frame);
}

void MainWindow::flushGeometry() {
    throttle_.stop();
    if (pending_) saveGeometryNow();
}

void MainWindow::closeEvent(QCloseEvent* e) {
    flushGeometry();
    tracking_ = false;
    QMainWindow::closeEvent(e);
    emit closed();
}

QAction* MainWindow::entry(QMenu* menu, const QString& label, const QString& status,
                           std::function<void()> action) {
    QAction* a = menu->addAction(label);
    a->setStatusTip(status);
    connect(a, &QAction::triggered, this,
            [this, action = std::move(action)] { ui::run_guarded(this, action); });
    return a;
}

void MainWindow::calculator(QMenu* menu, const QString& label, const QString& status,
                            const QString& operation) {
    QAction* a = entry(menu, label, status, [this, operation] {
        if (!launch_calculator(operation, this)) {
            toolkit::information(this, qs(core::settings().title()),
                                 "Dieser Rechner ist noch nicht verfügbar.");
        }
    });
    a->setObjectName(operation);
    a->setData(operation);
}

void MainWindow::document(QMenu* menu, const QString& label, const QString& status, const QString& path) {
    QAction* a = entry(menu, label, status, [this, path] { toolkit::open_document(this, path); });
    a->setData(path);
}

void MainWindow::makemenu() {
    namespace help = toolkit::help;
    const core::ProgramSettings& s = core::settings();
    QMenuBar* bar = menuBar();

    QMenu* program = bar->addMenu("&Programm");
    program->setObjectName("menuProgramm");
    entry(program, "&Über " + qs(s.pcrelease1), "Copyright anzeigen", [this] { aboutinfo(this, false); });
    program->addSeparator();
    entry(program, "&Verlassen / Alt-F4", "Programm beenden", [this] { close(); });

    QMenu* plan = bar->addMenu("&Vorausplanung");
    plan->setObjectName("menuVorausplanung");
    calculator(plan, "Kaufen &oder Mieten", "Kaufen oder Mieten ?", "KAUFMIET");
    calculator(plan, "&Mögliche Belastung", "Ihre maximalen Belastungen", "KREDRAHMEN");
    QMenu* costs = plan->addMenu("&Kostenrechnung");
    calculator(costs, "Kosten beim Haus&bau", "Kosten beim Hausbau ermitteln", "KOSTEN1");
    calculator(costs, "Kosten beim Haus&kauf", "Kosten beim Hauskauf ermitteln", "KOSTEN2");
    QMenu* financing_plan = plan->addMenu("&Finanzierungsplan");
    calculator(financing_plan, "Finanzierung bei &Eigennutzung", "Finanzierungsplan für Eigennutzung",
               "FINZPL1");
    calculator(financing_plan, "Finanzierung bei &Vermietung", "Finanzierungsplan für Vermietung", "FINZPL2");

    QMenu* financing = bar->addMenu("&Finanzierung");
    financing->setObjectName("menuFinanzierung");
    calculator(financing, "&Hypothekentilgungsplan", "Hypothekentilgungsplan", "HYPOTILG");
    calculator(financing, "Hypotheken&zielwert", "Hypotheken Zielwert errechnen", "HYPOZIEL");
    financing->addSeparator();
    calculator(financing, "&Bausparvertrag", "Bausparen", "BAUSPAREN");
    financing->addSeparator();
    calculator(financing, "&Ratenkreditberechnung", "Ratenkreditberechnung", "RATENKREDIT");
    calculator(financing, "&Angebotsvergleich", "Gespeicherte Angebote vergleichen", "ANGEBOTSVERGLEICH");
    financing->addSeparator();
    calculator(financing, "gesplittete &Finanzierung", "gesplittete Finanzierung", "HYPSPAR");

    QMenu* depreciation = bar->addMenu("&Abschreibung / Eigenheimzulage");
    depreciation->setObjectName("menuAbschreibung");
    calculator(depreciation, "&Eigenheimzulage bei Eigennutzung", "Eigenheimzulage bei Eigennutzung",
               "ABSCHR_PROG");
    calculator(depreciation, "&Abschreibung bei Vermietung", "Abschreibung bei Vermietung", "P75E_PROG");

    QMenu* calc = bar->addMenu("&Berechnungen");
    calc->setObjectName("menuBerechnungen");
    QMenu* gbw = calc->addMenu("&Grundbesitzwert berechnen");
    calculator(gbw, "&Grundbesitzwert berechnen (einfach)", "Grundbesitzwert", "BER_GBW");
    calculator(gbw, "Grundbesitzwert mit &Ertragswertverfahren und Mindestwert", "Grundbesitzwert",
               "BER_GBWM");
    QMenu* yields = calc->addMenu("&Mietrenditen berechnen");
    calculator(yields, "Mietrendite &netto berechnen", "Netto-Mietrendite", "BER_NMIET");
    calculator(yields, "Mietrendite &brutto berechnen", "Brutto-Mietrendite 1", "BER_BMIET1");
    calculator(calc, "&Verkehrswert berechnen", "Der Wert Ihres Objektes", "VERKWERT");
    calculator(calc, "&Wert der Abschreibung für Abnutzung (AfA)", "AfA-Wert berechnen", "BER_AFA");
    QMenu* usage = calc->addMenu("Ver&brauchswerte berechnen");
    calculator(usage, "&Stromverbrauch berechnen", "Stromverbrauch", "BER_STROM");
    calculator(usage, "&Wasserverbrauch berechnen", "Wasserverbrauch", "BER_WASSER");
    calculator(usage, "&Abwasserverbrauch berechnen", "Abwasserverbrauch", "BER_ABWASSER");
    calculator(usage, "&Gasverbrauch berechnen", "Gasverbrauch", "BER_GAS");
    usage->addSeparator();
    calculator(usage, "&Energiekennzahl berechnen", "Energiekennzahl", "BER_EGKZ");
    calc->addSeparator();
    calculator(calc, "&Einkommensteuer berechnen", "Einkommensteuer berechnen", "BER_EKST");

    QMenu* infos = bar->addMenu("&Infos");
    infos->setObjectName("menuInfos");
    entry(infos, "Das Bau&lexikon", "Baulexikon", [this] { help::show_contents(this, "Lexikon.HLP"); });
    entry(infos, "&Stichwortverzeichnis", "Stichwortsuche", [this] {
        help::set_file("Lexikon.Hlp");
        help::show_index(this, help::file());
        // The dialogs' help buttons and "Hilfe Index" keep using the program's own help file.
        help::set_file("VESTRAL.HLP");
    });
    infos->addSeparator();
    document(infos, "&Energiesparen im Haushalt", QString(), "info/Energiesparen.pdf");
    entry(infos, "&Tipps", "Tipps zur Finanzierung Ihres Eigenheims",
          [this] { help::show_contents(this, "Tips.Hlp"); });
    entry(infos, "&Interessante Internetlinks", "Interessante Internetlinks",
          [this] { help::show_contents(this, "Links.Hlp"); });
    QMenu* laws = infos->addMenu("&Gesetzestexte");
    document(laws, "&Eigenheimzulagengesetz (PDF)", "Eigenheimzulagengesetz", "info/EigZulG.pdf");
    document(laws, "Einkommen&steuergesetz (PDF)", "Einkommensteuergesetz", "info/EStG.pdf");
    document(laws, "Einkommensteuer&durchführungsverordnung (PDF)", "Einkommensteuerdurchführungsverordnung",
             "info/EstDV.pdf");
    QMenu* forms = infos->addMenu("&Beispielformulare");
    document(forms, "&Architektenvertrag", "Architektenvertrag", "text/Architektenvertrag.doc");
    document(forms, "A&usschreibung", "Ausschreibung", "text/Ausschreibung.doc");
    document(forms, "&Bauabnahme", "Bauabnahmeprotokoll", "text/Abnahmeprotokoll.doc");
    document(forms, "Bau&vertrag", "Bauvertrag", "text/Bauvertrag.doc");
    document(forms, "&Nachbesserung", "Nachbesserung", "text/Nachbesserung.doc");
    forms->addSeparator();
    document(forms, "&Wohnungsmietvertrag", "Wohnungsmietvertrag", "text/Wohnungsmietvertrag.doc");
    document(forms, "Ab&mahnung", "Abmahnung", "text/Abmahnung.doc");
    document(forms, "&Fristlose Kündigung", "Fristlose Kündigung", "text/FristloseKuendigung.doc");
    document(forms, "Wohnungsübergabe&protokoll", "Wohnungsübergabeprotokoll", "text/Wohnungsuebergabe.doc");
    document(forms, "Neben&kostenabrechnung", "Nebenkostenabrechnung", "text/NebenkostenAbrechnung.doc");
    QMenu* tables = infos->addMenu("Tab&ellen");
    document(tables, "Durchschnittlicher &Baukostenindex", "Baukostenindex", "text/Baukostenindex.doc");

    QAction* settings = bar->addAction("&Einstellungen");
    settings->setObjectName("actionEinstellungen");
    settings->setStatusTip("Programm-Einstellungen");
    connect(settings, &QAction::triggered, this, [this] { ui::run_guarded(this, [this] { setup(this); }); });

    QMenu* helpmenu = bar->addMenu("&Hilfe");
    helpmenu->setObjectName("menuHilfe");
    entry(helpmenu, "&Hilfe anzeigen", "Hilfe zum Programm anzeigen",
          [this] { help::show_contents(this, "VESTRAL.hlp"); });
    entry(helpmenu, "Hilfe Inde&x", "Hilfeindex", [this] { help::show_index(this, help::file()); });
    helpmenu->addSeparator();
    if (!s.cs_www_m.empty()) {
        const QString address = qs(s.cs_www);
        entry(helpmenu, qs(s.cs_www_m), "Mit der Support-Homepage '" + address + "' verbinden",
              [address] { toolkit::open_url(QUrl::fromUserInput(address)); });
    }
    if (!s.cs_email_m.empty()) {
        const QString address = qs(s.cs_email);
        const QString subject = qs(s.title());
        entry(helpmenu, qs(s.cs_email_m), "Eine Email an den Support '" + address + "' versenden",
              [address, subject] {
                  QUrl url;
                  url.setScheme("mailto");
                  url.setPath(address);
                  QUrlQuery query;
                  query.addQueryItem("subject", subject);
                  url.setQuery(query);
                  toolkit::open_url(url);
              });
    }
    if (!s.cs_hotline.empty()) {
        const QString hotline = qs(s.cs_hotline);
        entry(helpmenu, "Telefon-Hotline", "Telefon-Hotline",
              [this, hotline] { toolkit::information(this, "Telefon-Hotline", hotline); });
    }
}

}  // namespace vestral::app
