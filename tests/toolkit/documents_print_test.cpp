// Showing documents through the desktop's viewer, saving printouts as PDF files where the user
// says, and the help topic a child dialog hands back to its caller.
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTest>
#include <QTextBrowser>
#include <QThread>
#include <QTreeView>

#include "core/clock.h"
#include "support/gui_fixture.h"
#include "toolkit/help.h"
#include "toolkit/print.h"
#include "toolkit/shell.h"

namespace vestral::test {
namespace {

QString qpath(const std::filesystem::path& p) {
    return QString::fromStdString(p.string());
}

class DocumentsTest : public GuiTest {
  protected:
    void TearDown() override {
        toolkit::set_document_viewer({});
        toolkit::set_pdf_save_script({});
        GuiTest::TearDown();
    }
    // A stand-in for the desktop's opener: notes the file it was given, ends with `code`.
    QString viewer(int code) {
        const std::string name = "viewer" + std::to_string(code) + ".sh";
        dir_.write(name, "#!/bin/sh\necho \"$1\" > \"" + (dir() / "viewed.txt").string() + "\"\nexit " +
                             std::to_string(code) + "\n");
        QFile::setPermissions(qpath(dir() / name),
                              QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        return qpath(dir() / name);
    }
    void documents() {
        QDir().mkpath(qpath(dir() / "info"));
        QDir().mkpath(qpath(dir() / "text"));
        dir_.write("info/EStG.pdf", "%PDF-1.4");
        dir_.write("text/Bauvertrag.doc", "{\\rtf1 Bauvertrag}");
    }
    // Waits until the stand-in viewer has run and its verdict has been handled.
    void waitForViewer() {
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(qpath(dir() / "viewed.txt")), 10000);
        for (int i = 0; i < 50; ++i) {
            QApplication::processEvents();
            QThread::msleep(10);
        }
    }
};

TEST_F(DocumentsTest, ADesktopWithoutViewerIsReportedForEveryKindOfDocument) {
    documents();
    toolkit::set_open_recorder([](const QString&) { return false; });
    EXPECT_FALSE(toolkit::open_document(nullptr, ".\\info\\EStG.pdf"));
    EXPECT_FALSE(toolkit::open_document(nullptr, "text/Bauvertrag.doc"));
    ASSERT_EQ(messages().size(), 2u);
    EXPECT_EQ(messages()[0].title, "Problem");
    EXPECT_EQ(messages()[0].text, "Es wurde kein Acrobat-Reader gefunden!");
    EXPECT_EQ(messages()[1].text,
              "Es wurde kein Programm gefunden, das die Datei Bauvertrag.doc anzeigen kann!");
}

TEST_F(DocumentsTest, TheOpenersExitStatusDecidesWhetherTheUserIsTold) {
    documents();
    toolkit::set_open_recorder({});

    // No opener on the machine at all: told at once.
    toolkit::set_document_viewer(qpath(dir() / "xdg-open-missing"));
    EXPECT_FALSE(toolkit::open_document(nullptr, "info/EStG.pdf"));
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(messages()[0].text, "Es wurde kein Acrobat-Reader gefunden!");

    // The opener runs but finds no program for the file (xdg-open's status 3).
    toolkit::set_document_viewer(viewer(3));
    EXPECT_TRUE(toolkit::open_document(nullptr, "text/Bauvertrag.doc"));
    waitForViewer();
    ASSERT_EQ(messages().size(), 2u);
    EXPECT_EQ(messages()[1].text,
              "Es wurde kein Programm gefunden, das die Datei Bauvertrag.doc anzeigen kann!");
    EXPECT_EQ(QString::fromStdString(dir_.read("viewed.txt")).trimmed(),
              qpath(dir() / "text/Bauvertrag.doc"));

    // A viewer showed it: nothing to say.
    QFile::remove(qpath(dir() / "viewed.txt"));
    toolkit::set_document_viewer(viewer(0));
    EXPECT_TRUE(toolkit::open_document(nullptr, "info/EStG.pdf"));
    waitForViewer();
    EXPECT_EQ(messages().size(), 2u);
}

class PdfPrintTest : public DocumentsTest {
  protected:
    void SetUp() override {
        DocumentsTest::SetUp();
        toolkit::set_print_recorder({});
        ini().set("Setup", "Printer", "PDF-Datei");
        core::set_today_for_tests(core::Date{2026, 12, 8});
        job.name = "Bausparplan";
        job.text(1, 5, "Probe");
    }
    bool isPdf(const QString& path) const {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) && f.read(4) == "%PDF";
    }
    toolkit::PrintJob job;
    std::vector<QString> suggested;
};

TEST_F(PdfPrintTest, AsksWhereSuggestsNameAndDateAndRemembersTheFolder) {
    EXPECT_EQ(toolkit::pdf_file_name(job, core::Date{2026, 12, 8}), "Bausparplan_2026-12-08.pdf");
    toolkit::PrintJob odd;
    odd.name = "Plan: 1/2";
    EXPECT_EQ(toolkit::pdf_file_name(odd, core::Date{2027, 1, 2}), "Plan_ 1_2_2027-01-02.pdf");

    // The first time: the documents folder (or the home folder where there is none).
    QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!QFileInfo(documents).isDir()) documents = QDir::homePath();
    QDir().mkpath(qpath(dir() / "Ablage"));
    const QString target = qpath(dir() / "Ablage" / "mein Plan");
    toolkit::set_pdf_save_script([&](const QString& s) {
        suggested.push_back(s);
        return target;
    });
    EXPECT_TRUE(toolkit::print_job(nullptr, job));
    ASSERT_EQ(suggested.size(), 1u);
    EXPECT_EQ(suggested[0], QDir(documents).filePath("Bausparplan_2026-12-08.pdf"));
    // The suffix is added, the file written and shown, the folder kept in the settings file.
    EXPECT_TRUE(isPdf(target + ".pdf"));
    ASSERT_EQ(opened().size(), 1u);
    EXPECT_EQ(opened()[0], target + ".pdf");
    EXPECT_EQ(QString::fromStdString(ini().get("Setup", "PdfOrdner", "")), qpath(dir() / "Ablage"));
    EXPECT_TRUE(messages().empty());

    // The next time the dialog opens there.
    EXPECT_TRUE(toolkit::print_job(nullptr, job));
    ASSERT_EQ(suggested.size(), 2u);
    EXPECT_EQ(suggested[1], qpath(dir() / "Ablage" / "Bausparplan_2026-12-08.pdf"));
    // ... unless that folder has gone since.
    QDir(qpath(dir() / "Ablage")).removeRecursively();
    EXPECT_EQ(toolkit::pdf_folder(), documents);
}

TEST_F(PdfPrintTest, AnExistingFileIsReplacedOnlyAfterTheQuestion) {
    dir_.write("alt.pdf", "alter Inhalt");
    const QString target = qpath(dir() / "alt.pdf");
    std::deque<QString> answers{target, ""};
    toolkit::set_pdf_save_script([&](const QString& s) {
        suggested.push_back(s);
        QString a = answers.front();
        answers.pop_front();
        return a;
    });
    answer(toolkit::MsgAnswer::No);
    // "Nein" goes back to the dialog at the same file; cancelling there prints nothing.
    EXPECT_FALSE(toolkit::print_job(nullptr, job));
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(messages()[0].kind, toolkit::MsgKind::Question);
    EXPECT_EQ(messages()[0].text, "Die Datei „alt.pdf“ ist bereits vorhanden.\nMöchten Sie sie ersetzen?");
    EXPECT_FALSE(messages()[0].default_yes);
    ASSERT_EQ(suggested.size(), 2u);
    EXPECT_EQ(suggested[1], target);
    EXPECT_EQ(dir_.read("alt.pdf"), "alter Inhalt");
    EXPECT_TRUE(opened().empty());

    answers = {target};
    answer(toolkit::MsgAnswer::Yes);
    EXPECT_TRUE(toolkit::print_job(nullptr, job));
    EXPECT_TRUE(isPdf(target));
}

TEST_F(PdfPrintTest, TheSaveDialogSpeaksGermanAndShowsGermanDates) {
    dir_.write("Hypothekentilgungsplan_2026-11-30.pdf", "%PDF-1.4");
    std::unique_ptr<QFileDialog> d(
        toolkit::make_pdf_save_dialog(nullptr, qpath(dir() / "Bausparplan_2026-12-08.pdf")));
    d->show();
    EXPECT_EQ(d->windowTitle(), "PDF-Datei speichern");
    EXPECT_EQ(d->acceptMode(), QFileDialog::AcceptSave);
    EXPECT_EQ(d->labelText(QFileDialog::Accept), "&Speichern");
    EXPECT_EQ(d->labelText(QFileDialog::Reject), "Abbrechen");
    EXPECT_EQ(d->labelText(QFileDialog::FileName), "Datei&name:");
    EXPECT_EQ(d->nameFilters().value(0), "PDF-Dateien (*.pdf)");
    EXPECT_EQ(QDir(d->directory()).canonicalPath(), QDir(qpath(dir())).canonicalPath());
    EXPECT_EQ(d->findChild<QLineEdit*>("fileNameEdit")->text(), "Bausparplan_2026-12-08.pdf");
    // The modification time in the list: day.month.year, whatever the system's own locale.
    auto* view = d->findChild<QTreeView*>("treeView");
    ASSERT_NE(view, nullptr);
    QString shown, size;
    QTRY_VERIFY_WITH_TIMEOUT(
        [&] {
            QAbstractItemModel* m = view->model();
            for (int r = 0; r < m->rowCount(view->rootIndex()); ++r)
                if (m->index(r, 0, view->rootIndex()).data().toString().startsWith("Hypotheken")) {
                    shown = m->index(r, 3, view->rootIndex()).data().toString();
                    size = m->index(r, 1, view->rootIndex()).data().toString();
                }
            return !shown.isEmpty();
        }(),
        10000);
    EXPECT_TRUE(QRegularExpression(R"(^\d\d\.\d\d\.\d{4} \d\d:\d\d$)").match(shown).hasMatch())
        << shown.toStdString();
    EXPECT_EQ(size, "8 Byte");
    // For a look at it under a real display (screenshots of the dialog).
    if (int hold = qEnvironmentVariableIntValue("VESTRAL_HOLD_MS"); hold > 0) {
        d->findChild<QLineEdit*>("fileNameEdit")->setFocus();
        QTest::qWait(hold);
    }
}

TEST_F(PdfPrintTest, TheRealDialogIsAnsweredLikeAUserWould) {
    const QString target = qpath(dir() / "Kopie.pdf");
    ini().set("Setup", "PdfOrdner", dir().string());
    QString title;
    whenModal(
        [&](QWidget* w) {
            auto* d = qobject_cast<QFileDialog*>(w);
            title = d->windowTitle();
            d->findChild<QLineEdit*>("fileNameEdit")->setText("Kopie.pdf");
            QTest::keyClick(d->findChild<QLineEdit*>("fileNameEdit"), Qt::Key_Return);
        },
        "pdfSaveDialog");
    EXPECT_TRUE(toolkit::print_job(nullptr, job));
    EXPECT_EQ(title, "PDF-Datei speichern");
    EXPECT_TRUE(isPdf(target));
}

class HelpTopicTest : public GuiTest {};

TEST_F(HelpTopicTest, AChildDialogHandsItsCallersTopicBack) {
    toolkit::help::TopicScope caller("Hypothekentilgungsplan");
    QString inside;
    whenModal([&](QWidget* d) {
        QTest::keyClick(d, Qt::Key_F1);
        toolkit::help::show_current(d);
        inside = toolkit::help::topic();
        static_cast<QDialog*>(d)->accept();
    });
    {
        QDialog child;
        toolkit::help::TopicScope topic("Ratenkreditberechnung");
        child.exec();
    }
    EXPECT_EQ(inside, "Ratenkreditberechnung");
    EXPECT_EQ(toolkit::help::topic(), "Hypothekentilgungsplan");
    toolkit::help::show_current(nullptr);
    ASSERT_FALSE(helpRequests().empty());
    EXPECT_EQ(helpRequests().back().topic, "Hypothekentilgungsplan");
    EXPECT_EQ(helpRequests().front().topic, "Ratenkreditberechnung");
}

TEST_F(HelpTopicTest, TheKeywordSearchShowsTheEntryItHighlights) {
    QDir().mkpath(qpath(dir() / "info"));
    dir_.write("info/Lexikon.html",
               "<!-- topic: Inhalt | keywords: -->\n<p>Lexikon</p>\n"
               "<!-- topic: Annuität | keywords: Rate -->\n<p>Zins und Tilgung</p>\n"
               "<!-- topic: Bauzinsen | keywords: Zins -->\n<p>Preis des Geldes</p>\n"
               "<!-- topic: Zinsbindung | keywords: Festzins -->\n<p>Zeit fester Zinsen</p>\n");
    toolkit::help::set_recorder({});
    toolkit::help::show_index(nullptr, "Lexikon.Hlp");
    QWidget* w = nullptr;
    for (QWidget* t : QApplication::topLevelWidgets())
        if (t->objectName() == "helpWindow") w = t;
    ASSERT_NE(w, nullptr);
    auto* search = w->findChild<QLineEdit*>("helpSearch");
    auto* index = w->findChild<QListWidget*>("helpIndex");
    auto* browser = w->findChild<QTextBrowser*>("helpBrowser");
    QTest::keyClicks(search, "zinsb");
    ASSERT_NE(index->currentItem(), nullptr);
    EXPECT_EQ(index->currentItem()->text(), "Zinsbindung");
    EXPECT_TRUE(browser->toPlainText().contains("Zeit fester Zinsen"));
    // The arrow keys move the highlight among the entries found, and the entry follows.
    search->clear();
    QTest::keyClicks(search, "zins");
    const QString first = index->currentItem()->text();
    QTest::keyClick(search, Qt::Key_Down);
    EXPECT_NE(index->currentItem()->text(), first);
    EXPECT_FALSE(index->currentItem()->isHidden());
    QTest::keyClick(search, Qt::Key_Return);
    const int topic = index->currentItem()->data(Qt::UserRole).toInt();
    EXPECT_TRUE(browser->toPlainText().contains(topic == 2 ? "Preis des Geldes" : "Zeit fester Zinsen"));
    // Nothing found: nothing is highlighted, and Return opens nothing hidden.
    search->clear();
    QTest::keyClicks(search, "xyz");
    EXPECT_EQ(index->currentItem(), nullptr);
    const QString before = browser->toPlainText();
    QTest::keyClick(search, Qt::Key_Return);
    EXPECT_EQ(browser->toPlainText(), before);
    w->close();
}

}  // namespace
}  // namespace vestral::test
