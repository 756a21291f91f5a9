// The start screen, the disclaimer and the settings dialog.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QElapsedTimer>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>

#include "app/setup_dialog.h"
#include "app/startup.h"
#include "app/startup_dialogs.h"
#include "core/files.h"
#include "core/mask.h"
#include "support/gui_fixture.h"

namespace vestral::test {
namespace {

class ShellDialogTest : public GuiTest {
  protected:
    std::string iniBytes() const { return dir_.read("VESTRAL.INI"); }
};

TEST_F(ShellDialogTest, StartScreenClosesItselfAfterItWasPainted) {
    QElapsedTimer t;
    t.start();
    app::aboutinfo(nullptr, true, 200);
    EXPECT_GE(t.elapsed(), 190);
    EXPECT_LT(t.elapsed(), 5000);
}

TEST_F(ShellDialogTest, AboutBoxShowsTheTextsOfSectionAboutAndClosesOnAClick) {
    ini().set("About", "Firma1", "Muster GmbH");
    QString title, firma, contact;
    whenModal([&](QWidget* d) {
        title = d->windowTitle();
        firma = find<QLabel>(d, "aboutFirma")->text();
        contact = find<QLabel>(d, "aboutContact")->text();
        QTest::mouseClick(find<QLabel>(d, "aboutPicture"), Qt::LeftButton);
    });
    app::aboutinfo(nullptr, false);
    EXPECT_EQ(title, "VSH Vestralon v4.13");
    EXPECT_TRUE(firma.startsWith("Muster GmbH\n" + QString(core::maker::kStreet)));
    EXPECT_EQ(contact, QString(core::maker::kWeb) + "\n" + core::maker::kEmail);
}

TEST_F(ShellDialogTest, DisclaimerCannotBeLeftWithEscapeAndBeendenEndsWithoutWriting) {
    std::string before = iniBytes();
    bool still_open_after_escape = false;
    bool weiter_enabled = true, never_enabled = true;
    whenModal([&](QWidget* d) {
        weiter_enabled = find<QPushButton>(d, "weiter")->isEnabled();
        never_enabled = find<QCheckBox>(d, "nichtMehr")->isEnabled();
        QTest::keyClick(d, Qt::Key_Escape);
        QApplication::processEvents();
        still_open_after_escape = d->isVisible();
        find<QPushButton>(d, "beenden")->click();
    });
    EXPECT_EQ(app::haftung(nullptr), app::DisclaimerOutcome::Quit);
    EXPECT_TRUE(still_open_after_escape);
    EXPECT_FALSE(weiter_enabled);
    EXPECT_FALSE(never_enabled);
    EXPECT_EQ(iniBytes(), before);
}

TEST_F(ShellDialogTest, DisclaimerConfirmedWithBothBoxesIsNotShownAgain) {
    whenModal([&](QWidget* d) {
        find<QCheckBox>(d, "akzept")->click();
        EXPECT_TRUE(find<QPushButton>(d, "weiter")->isEnabled());
        find<QCheckBox>(d, "nichtMehr")->click();
        find<QPushButton>(d, "weiter")->click();
    });
    EXPECT_EQ(app::haftung(nullptr), app::DisclaimerOutcome::Continue);
    EXPECT_EQ(ini().get("Setup", "HaftInf", ""), "1");
    EXPECT_EQ(ini().get("Setup", "Haftung", ""), "1");
    // Shown again it would block here; the next start passes straight through.
    EXPECT_EQ(app::haftung(nullptr), app::DisclaimerOutcome::Continue);
}

TEST_F(ShellDialogTest, DisclaimerAcceptedOnlyIsShownNextTimeWithTheBoxTicked) {
    whenModal([&](QWidget* d) {
        find<QCheckBox>(d, "akzept")->click();
        find<QPushButton>(d, "weiter")->click();
    });
    app::haftung(nullptr);
    EXPECT_EQ(ini().get("Setup", "HaftInf", ""), "0");
    EXPECT_EQ(ini().get("Setup", "Haftung", ""), "1");
    core::setpublics(core::settings(), false);
    bool ticked = false;
    whenModal([&](QWidget* d) {
        ticked = find<QCheckBox>(d, "akzept")->isChecked();
        find<QPushButton>(d, "weiter")->click();
    });
    app::haftung(nullptr);
    EXPECT_TRUE(ticked);
}

TEST_F(ShellDialogTest, DisclaimerClosedWithTheCloseBoxWritesNothingAndContinues) {
    std::string before = iniBytes();
    whenModal([&](QWidget* d) {
        find<QCheckBox>(d, "akzept")->click();
        d->close();
    });
    EXPECT_EQ(app::haftung(nullptr), app::DisclaimerOutcome::Continue);
    EXPECT_EQ(iniBytes(), before);
}

TEST_F(ShellDialogTest, BeendenInTheDisclaimerEndsTheStartBeforeAnyTable) {
    app::StartupOptions o;
    o.dir = dir();
    o.show_about = false;
    o.desktop = QRect(0, 0, 1600, 1200);
    whenModal([&](QWidget* d) { find<QPushButton>(d, "beenden")->click(); }, "haftung");
    app::Session s(o);
    EXPECT_EQ(s.start(), app::StartOutcome::Declined);
    EXPECT_EQ(s.window(), nullptr);
    EXPECT_FALSE(core::exists_ci(dir(), "HYPOBANK.DBF"));
}

TEST_F(ShellDialogTest, SettingsFullScreenAndSaveShowsTheRestartNoticeAndWritesInOrder) {
    QString topic_inside;
    QStringList tabs;
    whenModal([&](QWidget* d) {
        topic_inside = toolkit::help::topic();
        auto* t = find<QTabWidget>(d, "setupTabs");
        for (int i = 0; i < t->count(); ++i) tabs << t->tabText(i);
        find<QRadioButton>(d, "vollbild")->click();
        find<QRadioButton>(d, "loeschen")->click();
        find<QPushButton>(d, "speichern")->click();
    });
    app::setup(nullptr);
    EXPECT_EQ(topic_inside, "Einstellungen");
    EXPECT_EQ(toolkit::help::topic(), "Hauptauswahl");
    EXPECT_EQ(tabs, QStringList({"&Programm", "&Drucker", "&Programmfehler"}));
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(messages()[0].title, "Setup");
    EXPECT_EQ(messages()[0].text,
              "Starten Sie VESTRALON erneut um die Änderung\ndieser Einstellungen zu übernehmen !");
    EXPECT_EQ(ini().get("Setup", "WINSIZE", ""), "1");
    EXPECT_EQ(ini().get("Setup", "ERROR", ""), "3");
    EXPECT_EQ(core::settings().ns_winsize, 1);
    const std::string text = iniBytes();
    EXPECT_LT(text.find("WINSIZE"), text.find("BackBMP"));
}

TEST_F(ShellDialogTest, SettingsBeendenWritesNothingButKeepsTheChoiceInMemory) {
    std::string before = iniBytes();
    whenModal([&](QWidget* d) {
        find<QRadioButton>(d, "vollbild")->click();
        find<QCheckBox>(d, "backbmp")->click();
        find<QPushButton>(d, "beenden")->click();
    });
    app::setup(nullptr);
    EXPECT_EQ(iniBytes(), before);
    EXPECT_TRUE(messages().empty());
    EXPECT_EQ(core::settings().ns_winsize, 1);
    EXPECT_FALSE(core::settings().ls_backbmp);
    EXPECT_EQ(toolkit::help::topic(), "Hauptauswahl");
}

TEST_F(ShellDialogTest, SettingsSaveWithoutChangeOfModeShowsNoNoticeAndKeepsThePrinterPadded) {
    ini().set("Setup", "Printer", "PDF-Datei");
    QString shown;
    whenModal([&](QWidget* d) {
        shown = find<QComboBox>(d, "printer")->currentText();
        find<QRadioButton>(d, "archivieren")->click();
        find<QPushButton>(d, "speichern")->click();
    });
    app::setup(nullptr);
    EXPECT_EQ(shown, "PDF-Datei");
    EXPECT_TRUE(messages().empty());
    EXPECT_EQ(ini().get("Setup", "ERROR", ""), "2");
    EXPECT_EQ(core::settings().ns_error, 2);
    EXPECT_EQ(core::trim(core::settings().cs_printer), "PDF-Datei");
    EXPECT_EQ(core::settings().cs_printer.size(), 40u);
}

TEST_F(ShellDialogTest, SettingsHelpButtonShowsTheSettingsTopic) {
    whenModal([&](QWidget* d) {
        find<QPushButton>(d, "hilfe")->click();
        find<QPushButton>(d, "beenden")->click();
    });
    app::setup(nullptr);
    ASSERT_EQ(helpRequests().size(), 1u);
    EXPECT_EQ(helpRequests()[0].topic, "Einstellungen");
    EXPECT_EQ(helpRequests()[0].file, "VESTRAL");
}

}  // namespace
}  // namespace vestral::test
