#include <QDir>
#include <QFile>
#include <QProcess>
#include <QUrl>

#include "support/gui_fixture.h"
#include "toolkit/help.h"
#include "toolkit/print.h"
#include "toolkit/shell.h"

using namespace vestral;
using vestral::test::GuiTest;

TEST(PrintJob, RecordsTextsLinesAndBoxes) {
    toolkit::PrintJob job;
    job.name = "Test";
    toolkit::title_band(job, 0, 2, 110, 3, 1, 3, 109, "VSH Vestralon v4.13", "Hypothekentilgungsplan", 1);
    job.right(5, 20, "1.234,50");
    job.line(6, 2, 6, 110);
    ASSERT_EQ(job.page_count(), 1);
    const auto* t = job.find("VSH Vestralon v4.13 - Hypothekentilgungsplan");
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t->font, toolkit::title_font());
    const auto* p = job.find("Seite: 1");
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->align, toolkit::PrintAlign::Right);
    EXPECT_EQ(p->col, 109);
    EXPECT_EQ(job.pages[0].items[0].kind, toolkit::PrintItem::Kind::Box);
    EXPECT_EQ(job.pages[0].items[0].pen, 5);
    job.new_page();
    EXPECT_EQ(job.find("1.234,50", 1), nullptr);
    EXPECT_EQ(job.texts(0).size(), 3u);
}

TEST(PrintJob, PrinterIsTheFirstWhoseNameContainsTheStoredText) {
    QStringList installed{"Brother HL", "HP LaserJet 4", "hp deskjet"};
    EXPECT_EQ(toolkit::match_printer(installed, "laserjet"), "HP LaserJet 4");
    EXPECT_EQ(toolkit::match_printer(installed, "HP"), "HP LaserJet 4");
    EXPECT_EQ(toolkit::match_printer(installed, "   "), "");
    EXPECT_EQ(toolkit::match_printer(installed, "Canon"), "");
    EXPECT_TRUE(toolkit::setupprinter().contains("PDF-Datei"));
}

class ToolkitGui : public GuiTest {};

TEST_F(ToolkitGui, TitleBandRendersToAPdfWithThePageNumber) {
    toolkit::PrintJob job;
    job.name = "Probe";
    toolkit::title_band(job, 0, 2, 78, 3, 1, 3, 77, "VSH Vestralon v4.13", "Probe", 1);
    QString file = QString::fromStdString((dir() / "Probe.pdf").string());
    ASSERT_TRUE(toolkit::render_pdf(job, file));
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_TRUE(f.readAll().startsWith("%PDF"));
    // The page itself, read back by an independent PDF reader.
    QProcess text;
    text.start("pdftotext", {"-layout", file, "-"});
    ASSERT_TRUE(text.waitForFinished(20000));
    const QString page = QString::fromUtf8(text.readAllStandardOutput());
    EXPECT_TRUE(page.contains("VSH Vestralon v4.13 - Probe")) << page.toStdString();
    EXPECT_TRUE(page.contains("Seite: 1")) << page.toStdString();
}

TEST(HelpFile, TopicsAreSplitAtTheirMarkers) {
    auto topics = toolkit::help::parse_help_file(
        "<!-- topic: Inhalt | keywords: Übersicht -->\n<h1>Inhalt</h1>\n"
        "<!-- topic: Kaufen oder Mieten | keywords: Miete; Kauf ; -->\n<p>Text</p>\n");
    ASSERT_EQ(topics.size(), 2u);
    EXPECT_EQ(topics[0].title, "Inhalt");
    EXPECT_EQ(topics[0].keywords, (QStringList{"Inhalt", "Übersicht"}));
    EXPECT_EQ(topics[1].keywords, (QStringList{"Kaufen oder Mieten", "Miete", "Kauf"}));
    EXPECT_EQ(topics[1].html, "<p>Text</p>");
    EXPECT_EQ(toolkit::help::help_base_name(".\\info\\Lexikon.Hlp"), "Lexikon");
    EXPECT_EQ(toolkit::help::help_base_name("VESTRAL.HLP"), "VESTRAL");
}

TEST_F(ToolkitGui, TopicScopeRestoresTheMainTopic) {
    {
        toolkit::help::TopicScope scope("Kaufen oder Mieten");
        toolkit::help::show_current(nullptr);
    }
    ASSERT_EQ(helpRequests().size(), 1u);
    EXPECT_EQ(helpRequests()[0].topic, "Kaufen oder Mieten");
    EXPECT_EQ(helpRequests()[0].file, "VESTRAL");
    EXPECT_EQ(toolkit::help::topic(), "Hauptauswahl");
}

TEST_F(ToolkitGui, MissingDocumentsAreReportedExistingOnesOpened) {
    QDir().mkpath(QString::fromStdString((dir() / "info").string()));
    EXPECT_FALSE(toolkit::open_document(nullptr, ".\\info\\EStG.pdf"));
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(messages()[0].text, "Die Datei EStG.pdf wurde nicht gefunden.");
    EXPECT_EQ(messages()[0].title, "Problem");
    dir_.write("info/estg.PDF", "%PDF-1.4");
    EXPECT_TRUE(toolkit::open_document(nullptr, ".\\info\\EStG.pdf"));
    ASSERT_EQ(opened().size(), 1u);
    EXPECT_TRUE(opened()[0].endsWith("info/estg.PDF"));
}

TEST_F(ToolkitGui, OnlyWebAndMailAddressesAreOpened) {
    EXPECT_FALSE(toolkit::open_url(QUrl("/bin/sh")));
    EXPECT_FALSE(toolkit::open_url(QUrl("file:///bin/sh")));
    EXPECT_TRUE(opened().empty());
    QUrl mail("mailto:support@example.org");
    mail.setQuery("subject=VSH Vestralon v4.13");
    EXPECT_TRUE(toolkit::open_url(mail));
    ASSERT_EQ(opened().size(), 1u);
    EXPECT_EQ(opened()[0], "mailto:support@example.org?subject=VSH%20Vestralon%20v4.13");
    EXPECT_EQ(toolkit::run_program(QString::fromStdString((dir() / "VodUred.exe").string()), {}, "."), -1);
}

#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QTextBrowser>

TEST_F(ToolkitGui, HelpWindowShowsTopicsFollowsLinksAndFiltersTheIndex) {
    QDir().mkpath(QString::fromStdString((dir() / "info").string()));
    dir_.write("info/VESTRAL.html",
               "<!-- topic: Inhalt | keywords: Übersicht -->\n<p>Startseite <a href=\"topic:Kaufen oder "
               "Mieten\">KM</a></p>\n"
               "<!-- topic: Kaufen oder Mieten | keywords: Miete; Kaufpreis -->\n<p>Vergleich von Miete und "
               "Kauf</p>\n");
    dir_.write("info/Lexikon.html",
               "<!-- topic: Inhalt | keywords: -->\n<p>Lexikon</p>\n"
               "<!-- topic: Annuität | keywords: Rate -->\n<p>Zins und Tilgung</p>\n");
    toolkit::help::set_recorder({});
    toolkit::help::show_topic(nullptr, "VESTRAL.HLP", "Kaufen oder Mieten");
    QWidget* w = nullptr;
    for (QWidget* t : QApplication::topLevelWidgets())
        if (t->objectName() == "helpWindow") w = t;
    ASSERT_NE(w, nullptr);
    auto* browser = w->findChild<QTextBrowser*>("helpBrowser");
    EXPECT_TRUE(browser->toPlainText().contains("Vergleich von Miete und Kauf"));
    toolkit::help::show_contents(nullptr, "VESTRAL");
    EXPECT_TRUE(browser->toPlainText().contains("Startseite"));
    emit browser->anchorClicked(QUrl("topic:Kaufen oder Mieten"));
    EXPECT_TRUE(browser->toPlainText().contains("Vergleich"));
    emit browser->anchorClicked(QUrl("topic:Lexikon.html#Annuität"));
    EXPECT_TRUE(browser->toPlainText().contains("Zins und Tilgung"));
    toolkit::help::show_index(nullptr, "Lexikon.Hlp");
    auto* search = w->findChild<QLineEdit*>("helpSearch");
    auto* index = w->findChild<QListWidget*>("helpIndex");
    search->setText("ann");
    int visible = 0;
    for (int i = 0; i < index->count(); ++i) visible += index->item(i)->isHidden() ? 0 : 1;
    EXPECT_EQ(visible, 1);
    emit search->returnPressed();
    EXPECT_TRUE(browser->toPlainText().contains("Zins und Tilgung"));
    w->close();
}

TEST_F(ToolkitGui, MissingHelpFileIsReportedWithItsTopic) {
    toolkit::help::set_recorder({});
    toolkit::help::show_topic(nullptr, "VESTRAL.HLP", "Kaufen oder Mieten");
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_TRUE(messages()[0].text.contains("Kaufen oder Mieten"));
}

TEST(ShippedHelp, EveryProgramTopicOfTheDialogsExists) {
    QFile f(QString(VESTRAL_SOURCE_DIR) + "/data/info/VESTRAL.html");
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    auto topics = toolkit::help::parse_help_file(QString::fromUtf8(f.readAll()));
    QStringList titles;
    for (const auto& t : topics) titles << t.title;
    for (const char* t : {"Hauptauswahl", "Einstellungen", "Kaufen oder Mieten", "Hypothekentilgungsplan",
                          "Bausparvertrag", "Ratenkreditberechnung", "Ratenkredit-Berechnung",
                          "Einkommensteuerberechnung", "Abschreibung bei Eigennutzung"})
        EXPECT_TRUE(titles.contains(t)) << t;
}
