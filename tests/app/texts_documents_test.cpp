// The texts users read in the menu, the disclaimer and the settings dialog, and what the menu's
// documents do on a desktop that has no program to show them.
#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>

#include "app/main_window.h"
#include "app/setup_dialog.h"
#include "app/startup_dialogs.h"
#include "support/gui_fixture.h"
#include "toolkit/shell.h"

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

void menuTexts(QMenu* m, QStringList& out) {
    for (QAction* a : m->actions()) {
        out << a->text() << a->statusTip();
        if (a->menu()) menuTexts(a->menu(), out);
    }
}

QAction* entry(QMenu* m, const QString& text) {
    for (QAction* a : m->actions()) {
        if (a->text() == text) return a;
        if (a->menu())
            if (QAction* inner = entry(a->menu(), text)) return inner;
    }
    return nullptr;
}

class TextsTest : public GuiTest {
  protected:
    std::unique_ptr<app::MainWindow> open() {
        core::setpublics(core::settings(), false);
        auto w = std::make_unique<app::MainWindow>();
        w->show();
        QApplication::processEvents();
        return w;
    }
    QMenu* infos(app::MainWindow* w) {
        for (QAction* a : w->findChild<QMenuBar*>()->actions())
            if (a->text() == "&Infos") return a->menu();
        return nullptr;
    }
};

TEST_F(TextsTest, MenuDisclaimerAndSettingsAreFreeOfTheKnownSlips) {
    auto w = open();
    QStringList texts;
    for (QAction* a : w->findChild<QMenuBar*>()->actions()) {
        texts << a->text() << a->statusTip();
        if (a->menu()) menuTexts(a->menu(), texts);
    }
    expectNoSlip(texts);
    EXPECT_TRUE(texts.contains("&Wohnungsmietvertrag"));
    EXPECT_TRUE(texts.contains("Wohnungsmietvertrag"));
    EXPECT_TRUE(texts.contains("Wohnungsübergabe&protokoll"));
    EXPECT_TRUE(texts.contains("Stromverbrauch"));

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

TEST_F(TextsTest, MenuDocumentsTellWhenNoProgramCanShowThem) {
    QDir().mkpath(QString::fromStdString((dir() / "info").string()));
    QDir().mkpath(QString::fromStdString((dir() / "text").string()));
    dir_.write("info/EStG.pdf", "%PDF-1.4");
    dir_.write("text/Wohnungsmietvertrag.doc", "{\\rtf1 Mietvertrag}");
    toolkit::set_open_recorder([](const QString&) { return false; });
    auto w = open();
    QMenu* m = infos(w.get());
    ASSERT_NE(m, nullptr);
    QAction* law = entry(m, "Einkommen&steuergesetz (PDF)");
    QAction* form = entry(m, "&Wohnungsmietvertrag");
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
