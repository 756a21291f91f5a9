// The main window's menu, status bar and what each kind of entry does.
#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusTipEvent>
#include <QTest>

#include "app/calculators.h"
#include "app/main_window.h"
#include "app/setup_dialog.h"
#include "app/startup.h"
#include "app/startup_dialogs.h"
#include "support/gui_fixture.h"
#include "toolkit/shell.h"
#include "toolkit/status.h"

namespace vestral::test {
namespace {

// Typing slips found in the program's texts; none may come back.
const QStringList kSlips{"Fehlerdate ", "Wohung", "für für", "Stomverbrauch", "Gewähr für für"};

void expectNoSlip(const QStringList& texts) {
    for (const QString& t : texts)
        for (const QString& slip : kSlips) EXPECT_FALSE(t.contains(slip)) << t.toStdString();
}

QStringList widgetTexts(QWidget* root) {
    QStringList out;
    for (auto* l : root->findChildren<QLabel*>()) out << l->text();
    for (auto* b : root->findChildren<QAbstractButton*>()) out << b->text();
    return out;
}

QAction* find_entry(QMenu* m, const QString& text) {
    for (QAction* a : m->actions()) {
        if (a->text() == text) return a;
        if (a->menu())
            if (QAction* inner = find_entry(a->menu(), text)) return inner;
    }
    return nullptr;
}

class MainWindowTest : public GuiTest {
  protected:
    std::unique_ptr<app::MainWindow> open() {
        core::setpublics(core::settings(), false);
        auto w = std::make_unique<app::MainWindow>();
        w->show();
        QApplication::processEvents();
        return w;
    }

    static QMenu* menu(QWidget* w, const QString& title) {
        for (QAction* a : w->findChild<QMenuBar*>()->actions()) {
            if (a->text() == title) return a->menu();
        }
        ADD_FAILURE() << "no menu " << title.toStdString();
        return nullptr;
    }
    static QAction* action(QMenu* m, const QString& text) {
        for (QAction* a : m->actions()) {
            if (a->text() == text) return a;
        }
        ADD_FAILURE() << "no entry " << text.toStdString();
        return nullptr;
    }
    // Every entry below a menu, depth first, as "label|status".
    static void collect(QMenu* m, QStringList& out) {
        for (QAction* a : m->actions()) {
            if (a->isSeparator())
                out << "-";
            else if (a->menu()) {
                out << a->text() + " >";
                collect(a->menu(), out);
                out << "<";
            } else
                out << a->text() + "|" + a->statusTip();
        }
    }
};

TEST_F(MainWindowTest, TitleStatusBarAndMenuBar) {
    ini().set("Project", "Verlag", "Muster Verlag");
    auto w = open();
    EXPECT_EQ(w->windowTitle(), "VSH Vestralon v4.13");
    EXPECT_FALSE(w->windowIcon().isNull());
    EXPECT_FALSE(w->windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_EQ(w->statusText(), "Copyright (c) Veltrano Systemhaus. Alle Rechte vorbehalten. - Muster Verlag");
    QStringList bar;
    for (QAction* a : w->findChild<QMenuBar*>()->actions()) bar << a->text();
    EXPECT_EQ(bar,
              QStringList({"&Programm", "&Vorausplanung", "&Finanzierung", "&Abschreibung / Eigenheimzulage",
                           "&Berechnungen", "&Infos", "&Einstellungen", "&Hilfe"}));
    QAction* settings = w->findChild<QMenuBar*>()->actions()[6];
    EXPECT_EQ(settings->menu(), nullptr);
    EXPECT_EQ(settings->statusTip(), "Programm-Einstellungen");
}

TEST_F(MainWindowTest, StatusBarShowsFieldAndMenuTextsAndReturnsToItsOwn) {
    auto w = open();
    toolkit::show_status("Geben Sie den Kaufpreis ein");
    EXPECT_EQ(w->statusText(), "Geben Sie den Kaufpreis ein");
    toolkit::show_status(QString());
    EXPECT_EQ(w->statusText(), "Copyright (c) Veltrano Systemhaus. Alle Rechte vorbehalten.");
    QStatusTipEvent tip("Bausparen");
    QApplication::sendEvent(w.get(), &tip);
    EXPECT_EQ(w->statusText(), "Bausparen");
    QStatusTipEvent empty{QString()};
    QApplication::sendEvent(w.get(), &empty);
    EXPECT_EQ(w->statusText(), "Copyright (c) Veltrano Systemhaus. Alle Rechte vorbehalten.");
}

TEST_F(MainWindowTest, ProgramAndPlanningMenus) {
    auto w = open();
    QStringList got;
    collect(menu(w.get(), "&Programm"), got);
    EXPECT_EQ(got, QStringList({"&Über VSH Vestralon|Copyright anzeigen", "-",
                                "&Verlassen / Alt-F4|Programm beenden"}));
    got.clear();
    collect(menu(w.get(), "&Vorausplanung"), got);
    EXPECT_EQ(
        got, QStringList({"Kaufen &oder Mieten|Kaufen oder Mieten ?",
                          "&Mögliche Belastung|Ihre maximalen Belastungen", "&Kostenrechnung >",
                          "Kosten beim Haus&bau|Kosten beim Hausbau ermitteln",
                          "Kosten beim Haus&kauf|Kosten beim Hauskauf ermitteln", "<", "&Finanzierungsplan >",
                          "Finanzierung bei &Eigennutzung|Finanzierungsplan für Eigennutzung",
                          "Finanzierung bei &Vermietung|Finanzierungsplan für Vermietung", "<"}));
    got.clear();
    collect(menu(w.get(), "&Finanzierung"), got);
    EXPECT_EQ(got,
              QStringList({"&Hypothekentilgungsplan|Hypothekentilgungsplan",
                           "Hypotheken&zielwert|Hypotheken Zielwert errechnen", "-",
                           "&Bausparvertrag|Bausparen", "-", "&Ratenkreditberechnung|Ratenkreditberechnung",
                           "&Angebotsvergleich|Gespeicherte Angebote vergleichen", "-",
                           "gesplittete &Finanzierung|gesplittete Finanzierung"}));
}

TEST_F(MainWindowTest, TheOfferComparisonOpensOverTheMainWindow) {
    app::register_calculators();
    auto w = open();
    QWidget* shown_parent = nullptr;
    whenModal(
        [&](QWidget* d) {
            shown_parent = d->parentWidget();
            EXPECT_EQ(d->windowTitle(), "Angebotsvergleich");
            d->findChild<QPushButton*>("closeButton")->click();
        },
        "vergleichDialog");
    w->findChild<QAction*>("ANGEBOTSVERGLEICH")->trigger();
    EXPECT_EQ(shown_parent, w.get());
    EXPECT_TRUE(messages().empty());
}

TEST_F(MainWindowTest, CalculationAndInfoMenus) {
    auto w = open();
    QStringList got;
    collect(menu(w.get(), "&Berechnungen"), got);
    EXPECT_EQ(got, QStringList({"&Grundbesitzwert berechnen >",
                                "&Grundbesitzwert berechnen (einfach)|Grundbesitzwert",
                                "Grundbesitzwert mit &Ertragswertverfahren und Mindestwert|Grundbesitzwert",
                                "<",
                                "&Mietrenditen berechnen >",
                                "Mietrendite &netto berechnen|Netto-Mietrendite",
                                "Mietrendite &brutto berechnen|Brutto-Mietrendite 1",
                                "<",
                                "&Verkehrswert berechnen|Der Wert Ihres Objektes",
                                "&Wert der Abschreibung für Abnutzung (AfA)|AfA-Wert berechnen",
                                "Ver&brauchswerte berechnen >",
                                "&Stromverbrauch berechnen|Stromverbrauch",
                                "&Wasserverbrauch berechnen|Wasserverbrauch",
                                "&Abwasserverbrauch berechnen|Abwasserverbrauch",
                                "&Gasverbrauch berechnen|Gasverbrauch",
                                "-",
                                "&Energiekennzahl berechnen|Energiekennzahl",
                                "<",
                                "-",
                                "&Einkommensteuer berechnen|Einkommensteuer berechnen"}));
    got.clear();
    collect(menu(w.get(), "&Infos"), got);
    ASSERT_GE(got.size(), 6);
    EXPECT_EQ(got.mid(0, 7),
              QStringList({"Das Bau&lexikon|Baulexikon", "&Stichwortverzeichnis|Stichwortsuche", "-",
                           "&Energiesparen im Haushalt|", "&Tipps|Tipps zur Finanzierung Ihres Eigenheims",
                           "&Interessante Internetlinks|Interessante Internetlinks", "&Gesetzestexte >"}));
    EXPECT_TRUE(got.contains("Wohnungsübergabe&protokoll|Wohnungsübergabeprotokoll"));
    EXPECT_EQ(got.last(2), QStringList({"Durchschnittlicher &Baukostenindex|Baukostenindex", "<"}));
    EXPECT_TRUE(action(menu(w.get(), "&Infos"), "&Energiesparen im Haushalt")->statusTip().isEmpty());
}

TEST_F(MainWindowTest, HelpMenuEndsWithTheSeparatorWhenNoSupportIsSet) {
    auto w = open();
    QStringList got;
    collect(menu(w.get(), "&Hilfe"), got);
    EXPECT_EQ(got,
              QStringList({"&Hilfe anzeigen|Hilfe zum Programm anzeigen", "Hilfe Inde&x|Hilfeindex", "-"}));
}

TEST_F(MainWindowTest, SupportEntriesOpenOnlyWebAndMailAddresses) {
    ini().set_many("Project", {{"Internet_Menue", "&Support im Internet"},
                               {"Internet_URL", "https://support.example.org/vestralon"},
                               {"Email_Menue", "Support per &Email"},
                               {"Email_URL", "hilfe@example.org"},
                               {"Hotline", "Hotline: 0800 123456"}});
    auto w = open();
    QMenu* help = menu(w.get(), "&Hilfe");
    QStringList got;
    collect(help, got);
    EXPECT_EQ(
        got.mid(3),
        QStringList({"&Support im Internet|Mit der Support-Homepage 'https://support.example.org/vestralon' "
                     "verbinden",
                     "Support per &Email|Eine Email an den Support 'hilfe@example.org' versenden",
                     "Telefon-Hotline|Telefon-Hotline"}));
    action(help, "&Support im Internet")->trigger();
    action(help, "Support per &Email")->trigger();
    ASSERT_EQ(opened().size(), 2u);
    EXPECT_EQ(opened()[0], "https://support.example.org/vestralon");
    EXPECT_EQ(opened()[1], "mailto:hilfe@example.org?subject=VSH%20Vestralon%20v4.13");
    action(help, "Telefon-Hotline")->trigger();
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(messages()[0].title, "Telefon-Hotline");
    EXPECT_EQ(messages()[0].text, "Hotline: 0800 123456");
}

TEST_F(MainWindowTest, SupportAddressNamingALocalProgramStartsNothing) {
    ini().set_many("Project", {{"Internet_Menue", "Support"}, {"Internet_URL", "/bin/sh"}});
    auto w = open();
    action(menu(w.get(), "&Hilfe"), "Support")->trigger();
    EXPECT_TRUE(opened().empty());
    ini().set("Project", "Internet_URL", "file:///bin/sh");
    auto w2 = open();
    action(menu(w2.get(), "&Hilfe"), "Support")->trigger();
    EXPECT_TRUE(opened().empty());
}

TEST_F(MainWindowTest, KeywordSearchInTheLexiconLeavesTheProgramsHelpFileCurrent) {
    auto w = open();
    action(menu(w.get(), "&Infos"), "&Stichwortverzeichnis")->trigger();
    ASSERT_EQ(helpRequests().size(), 1u);
    EXPECT_EQ(helpRequests()[0].file, "Lexikon");
    EXPECT_EQ(helpRequests()[0].mode, toolkit::help::Mode::Index);
    toolkit::help::set_topic("Kaufen oder Mieten");
    toolkit::help::show_current(w.get());  // what every dialog's help button does
    EXPECT_EQ(helpRequests()[1].file, "VESTRAL");
    EXPECT_EQ(helpRequests()[1].topic, "Kaufen oder Mieten");
    action(menu(w.get(), "&Hilfe"), "Hilfe Inde&x")->trigger();
    EXPECT_EQ(helpRequests()[2].file, "VESTRAL");
    EXPECT_EQ(helpRequests()[2].mode, toolkit::help::Mode::Index);
}

TEST_F(MainWindowTest, HelpFilesOpenAtTheirContentsWithoutChangingTheCurrentFile) {
    auto w = open();
    action(menu(w.get(), "&Infos"), "Das Bau&lexikon")->trigger();
    action(menu(w.get(), "&Infos"), "&Tipps")->trigger();
    action(menu(w.get(), "&Infos"), "&Interessante Internetlinks")->trigger();
    action(menu(w.get(), "&Hilfe"), "&Hilfe anzeigen")->trigger();
    ASSERT_EQ(helpRequests().size(), 4u);
    QStringList files;
    for (const auto& r : helpRequests()) {
        files << r.file;
        EXPECT_EQ(r.mode, toolkit::help::Mode::Contents);
    }
    EXPECT_EQ(files, QStringList({"Lexikon", "Tips", "Links", "VESTRAL"}));
    EXPECT_EQ(toolkit::help::file(), "VESTRAL");
}

TEST_F(MainWindowTest, F1ShowsTheCurrentTopicAlsoInsideAModalDialog) {
    app::install_application_wide();
    auto w = open();
    QTest::keyClick(w.get(), Qt::Key_F1);
    ASSERT_EQ(helpRequests().size(), 1u);
    EXPECT_EQ(helpRequests()[0].topic, "Hauptauswahl");
    QDialog d(w.get());
    whenModal([&](QWidget* m) {
        toolkit::help::set_topic("Einstellungen");
        QTest::keyClick(m, Qt::Key_F1);
        m->close();
    });
    d.exec();
    ASSERT_EQ(helpRequests().size(), 2u);
    EXPECT_EQ(helpRequests()[1].topic, "Einstellungen");
}

TEST_F(MainWindowTest, MissingPdfIsReportedByName) {
    auto w = open();
    QMenu* laws = action(menu(w.get(), "&Infos"), "&Gesetzestexte")->menu();
    action(laws, "Einkommen&steuergesetz (PDF)")->trigger();
    EXPECT_TRUE(opened().empty());
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(messages()[0].text, "Die Datei EStG.pdf wurde nicht gefunden.");
}

TEST_F(MainWindowTest, ExistingDocumentsAreOpenedFromTheProgramDirectory) {
    std::filesystem::create_directories(dir() / "info");
    std::filesystem::create_directories(dir() / "text");
    dir_.write("info/Energiesparen.pdf", "%PDF-1.4\n");
    dir_.write("text/bauvertrag.doc", "x");
    auto w = open();
    action(menu(w.get(), "&Infos"), "&Energiesparen im Haushalt")->trigger();
    QMenu* forms = action(menu(w.get(), "&Infos"), "&Beispielformulare")->menu();
    action(forms, "Bau&vertrag")->trigger();
    ASSERT_EQ(opened().size(), 2u);
    EXPECT_EQ(opened()[0], QString::fromStdString((dir() / "info" / "Energiesparen.pdf").string()));
    EXPECT_EQ(opened()[1], QString::fromStdString((dir() / "text" / "bauvertrag.doc").string()));
    EXPECT_TRUE(messages().empty());
}

TEST_F(MainWindowTest, EveryCalculatorEntryStartsItsOperationWithTheMainWindowAsParent) {
    auto w = open();
    const QStringList operations = {
        "KAUFMIET",    "KREDRAHMEN", "KOSTEN1",   "KOSTEN2",     "FINZPL1",           "FINZPL2",
        "HYPOTILG",    "HYPOZIEL",   "BAUSPAREN", "RATENKREDIT", "ANGEBOTSVERGLEICH", "HYPSPAR",
        "ABSCHR_PROG", "P75E_PROG",  "BER_GBW",   "BER_GBWM",    "BER_NMIET",         "BER_BMIET1",
        "VERKWERT",    "BER_AFA",    "BER_STROM", "BER_WASSER",  "BER_ABWASSER",      "BER_GAS",
        "BER_EGKZ",    "BER_EKST"};
    for (const QString& op : operations) {
        QAction* a = w->findChild<QAction*>(op);
        ASSERT_NE(a, nullptr) << op.toStdString();
        clearMessages();
        if (app::has_calculator(op)) continue;  // a real dialog would open
        a->trigger();
        ASSERT_EQ(messages().size(), 1u) << op.toStdString();
        EXPECT_EQ(messages()[0].text, "Dieser Rechner ist noch nicht verfügbar.");
        EXPECT_EQ(messages()[0].kind, toolkit::MsgKind::Information);
    }
    QWidget* parent = nullptr;
    app::register_calculator("TESTRECHNER_KAUFMIET", [&](QWidget* p) { parent = p; });
    EXPECT_TRUE(app::launch_calculator("TESTRECHNER_KAUFMIET", w.get()));
    EXPECT_EQ(parent, w.get());
}

TEST_F(MainWindowTest, FaultInAMenuHandlerDoesNotCrossTheEventLoop) {
    auto w = open();
    app::register_calculator("BER_EKST", [](QWidget*) { throw std::runtime_error("Tabelle gesperrt"); });
    w->findChild<QAction*>("BER_EKST")->trigger();
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(messages()[0].text, "Tabelle gesperrt");
}

TEST_F(MainWindowTest, VerlassenClosesTheWindow) {
    auto w = open();
    bool closed = false;
    QObject::connect(w.get(), &app::MainWindow::closed, [&] { closed = true; });
    action(menu(w.get(), "&Programm"), "&Verlassen / Alt-F4")->trigger();
    EXPECT_TRUE(closed);
    EXPECT_FALSE(w->isVisible());
}

// The texts users read in the menu, the disclaimer and the settings dialog, and what the menu's
// documents do on a desktop without a program to show them.
TEST_F(MainWindowTest, MenuDisclaimerAndSettingsAreFreeOfTheKnownSlips) {
    auto w = open();
    QStringList texts;
    for (QAction* a : w->findChild<QMenuBar*>()->actions()) {
        texts << a->text() + "|" + a->statusTip();
        if (a->menu()) collect(a->menu(), texts);
    }
    expectNoSlip(texts);
    EXPECT_TRUE(texts.contains("&Wohnungsmietvertrag|Wohnungsmietvertrag"));
    EXPECT_TRUE(texts.contains("Wohnungsübergabe&protokoll|Wohnungsübergabeprotokoll"));
    EXPECT_TRUE(texts.contains("&Stromverbrauch berechnen|Stromverbrauch"));

    QStringList disclaimer;
    whenModal(
        [&](QWidget* d) {
            disclaimer = widgetTexts(d);
            find<QPushButton>(d, "beenden")->click();
        },
        "haftung");
    app::haftung(nullptr);
    expectNoSlip(disclaimer);
    EXPECT_TRUE(disclaimer.join('\n').contains("Dies ist aber keine Gewähr für die Richtigkeit"));

    QStringList settings;
    whenModal([&](QWidget* d) {
        settings = widgetTexts(d);
        find<QPushButton>(d, "beenden")->click();
    });
    app::setup(nullptr);
    expectNoSlip(settings);
    EXPECT_TRUE(settings.join('\n').contains("eine Fehlerdatei mit Namen ERROR.LOG"));
}

TEST_F(MainWindowTest, MenuDocumentsTellWhenNoProgramCanShowThem) {
    QDir().mkpath(QString::fromStdString((dir() / "info").string()));
    QDir().mkpath(QString::fromStdString((dir() / "text").string()));
    dir_.write("info/EStG.pdf", "%PDF-1.4");
    dir_.write("text/Wohnungsmietvertrag.doc", "{\\rtf1 Mietvertrag}");
    toolkit::set_open_recorder([](const QString&) { return false; });
    auto w = open();
    QMenu* m = menu(w.get(), "&Infos");
    ASSERT_NE(m, nullptr);
    QAction* law = find_entry(m, "Einkommen&steuergesetz (PDF)");
    QAction* form = find_entry(m, "&Wohnungsmietvertrag");
    ASSERT_TRUE(law && form);
    law->trigger();
    form->trigger();
    ASSERT_EQ(messages().size(), 2u);
    EXPECT_EQ(messages()[0].title, "Problem");
    EXPECT_EQ(messages()[0].text, "Es wurde kein Acrobat-Reader gefunden!");
    EXPECT_EQ(messages()[1].text,
              "Es wurde kein Programm gefunden, das die Datei Wohnungsmietvertrag.doc anzeigen kann!");
}

}  // namespace
}  // namespace vestral::test
