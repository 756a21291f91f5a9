#include <QDir>
#include <QFile>
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
