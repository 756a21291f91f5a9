#include "app/setup_dialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "core/files.h"
#include "core/mask.h"
#include "core/program_settings.h"
#include "toolkit/help.h"
#include "toolkit/messages.h"
#include "toolkit/print.h"
#include "ui/blocks.h"

namespace vestral::app {

namespace {

QLabel* note(const QString& text, QWidget* parent) {
    auto* l = new QLabel(text, parent);
    l->setWordWrap(true);
    return l;
}

// Option buttons that write the chosen number straight into `target` while the dialog is open.
QButtonGroup* options(QWidget* page, QVBoxLayout* layout, int& target,
                      const std::vector<std::pair<const char*, QString>>& buttons) {
    auto* group = new QButtonGroup(page);
    int id = 1;
    for (const auto& [name, text] : buttons) {
        auto* r = new QRadioButton(text, page);
        r->setObjectName(name);
        group->addButton(r, id);
        if (id == target) r->setChecked(true);
        layout->addWidget(r);
        ++id;
    }
    QObject::connect(group, &QButtonGroup::idClicked, page, [&target](int chosen) { target = chosen; });
    return group;
}

}  // namespace

bool setup(QWidget* parent) {
    core::ProgramSettings& s = core::settings();
    const int old_winsize = s.ns_winsize;
    const bool old_backbmp = s.ls_backbmp;
    const QStringList printers = toolkit::setupprinter();
    std::string printer = core::pad_utf8(s.ini().get("Setup", "Printer", ""), 40);
    toolkit::help::TopicScope topic("Einstellungen");

    QDialog d(parent);
    d.setObjectName("setup");
    d.setWindowTitle("Einstellungen");
    d.setWindowFlags(d.windowFlags() & ~Qt::WindowContextHelpButtonHint);
    auto* layout = new QVBoxLayout(&d);
    auto* tabs = new QTabWidget(&d);
    tabs->setObjectName("setupTabs");
    layout->addWidget(tabs);

    // Page "Programm".
    auto* program = new QWidget(tabs);
    program->setObjectName("pageProgramm");
    auto* pl = new QVBoxLayout(program);
    pl->addWidget(note("Wählen Sie hier, wie die Vestralon-Software auf Ihrem Rechner angezeigt werden soll.",
                       program));
    pl->addSpacing(6);
    pl->addWidget(new QLabel("Fenstergröße", program));
    options(program, pl, s.ns_winsize,
            {{"vollbild", " &Vollbild"}, {"normal", " &Normal (800 * 600)"}, {"beliebig", " Beliebi&g"}});
    pl->addSpacing(6);
    auto* backbmp = new QCheckBox(" Hintergrundbild anzeigen", program);
    backbmp->setObjectName("backbmp");
    backbmp->setChecked(s.ls_backbmp);
    QObject::connect(backbmp, &QCheckBox::toggled, program, [&s](bool on) { s.ls_backbmp = on; });
    pl->addWidget(backbmp);
    pl->addStretch();
    tabs->addTab(program, "&Programm");

    // Page "Drucker".
    auto* printer_page = new QWidget(tabs);
    printer_page->setObjectName("pageDrucker");
    auto* dl = new QVBoxLayout(printer_page);
    dl->addWidget(
        note("Wählen Sie jetzt den Drucker, der für alle Druckausgaben dieses Programms benutzt werden "
             "soll. Eine Druckausgabe erfolgt dann ohne Nachfrage sofort auf dem ausgewählten Drucker !",
             printer_page));
    dl->addSpacing(6);
    auto* prow = new QHBoxLayout;
    prow->addWidget(new QLabel("Drucker", printer_page));
    auto* combo = new QComboBox(printer_page);
    combo->setObjectName("printer");
    combo->addItems(printers);
    combo->setCurrentIndex(combo->findText(QString::fromStdString(core::trim(printer))));
    QObject::connect(combo, &QComboBox::currentTextChanged, printer_page, [&printer](const QString& name) {
        if (!name.isEmpty()) printer = core::pad_utf8(name.toStdString(), 40);
    });
    prow->addWidget(combo, 1);
    dl->addLayout(prow);
    dl->addStretch();
    tabs->addTab(printer_page, "&Drucker");

    // Page "Programmfehler".
    auto* errors = new QWidget(tabs);
    errors->setObjectName("pageProgrammfehler");
    auto* el = new QVBoxLayout(errors);
    el->addWidget(
        note("Wählen Sie jetzt die Vorgehensweise beim Auftreten eines Programmfehlers. Bei einem "
             "Programmfehler wird eine Fehlerdatei mit Namen ERROR.LOG erstellt. Senden Sie uns diese "
             "Datei zu, damit wir den Fehler korrigieren können !",
             errors));
    el->addWidget(
        note(QString("Wir empfehlen die Option \"Löschen\": Sie werden dann gefragt, ob das Protokoll "
                     "per E-Mail an uns gehen soll. Sie erreichen uns auch per Fax unter ") +
                 QString::fromUtf8(core::maker::kFax) + ".",
             errors));
    el->addSpacing(6);
    el->addWidget(new QLabel("Vorgehensweise", errors));
    options(errors, el, s.ns_error,
            {{"drucken", " &Drucken"}, {"archivieren", " A&rchivieren"}, {"loeschen", " &Löschen"}});
    el->addStretch();
    tabs->addTab(errors, "&Programmfehler");

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    auto* save = ui::button(&d, "speichern", "&Speichern", "Einstellungen speichern");
    auto* help = ui::button(&d, "hilfe", "&Hilfe", "Hilfe anzeigen", QString(), true);
    auto* quit = ui::button(&d, "beenden", "&Beenden", "Beenden ohne Speichern", QString(), true);
    buttons->addWidget(save);
    buttons->addWidget(help);
    buttons->addWidget(quit);
    layout->addLayout(buttons);

    bool saved = false;
    ui::on_click(save, [&] {
        saved = true;
        d.accept();
    });
    ui::on_click_always(help, [&d] { toolkit::help::show_current(&d); });
    ui::on_click_always(quit, [&d] { d.reject(); });

    d.resize(520, 340);
    if (parent && parent->isVisible()) d.move(parent->frameGeometry().center() - QPoint(260, 170));
    d.exec();

    if (saved) {
        s.ini().set_many("Setup", {{"WINSIZE", std::to_string(s.ns_winsize)},
                                   {"BackBMP", s.ls_backbmp ? "1" : "0"},
                                   {"ERROR", std::to_string(s.ns_error)},
                                   {"Printer", printer}});
        if (s.ns_winsize != old_winsize || s.ls_backbmp != old_backbmp) {
            toolkit::information(
                parent, "Setup",
                "Starten Sie VESTRALON erneut um die Änderung\rdieser Einstellungen zu übernehmen !");
        }
        core::setpublics(s, false);
    }
    return true;
}

}  // namespace vestral::app
