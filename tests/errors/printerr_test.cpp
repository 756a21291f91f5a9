// The start-up offer of a pending error log: the dialog, deleting, printing and mailing, and what
// stays on disk when a way out fails.
#include <gtest/gtest.h>

#include <QLabel>
#include <QObject>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QtTest/QTest>
#include <fstream>

#include "core/files.h"
#include "core/ini.h"
#include "errors/printerr.h"
#include "errors_fixture.h"
#include "toolkit/print.h"

namespace vestral::test {
namespace {

using errors::printerr;

std::string numbered_log(int lines) {
    std::string s;
    for (int i = 1; i <= lines; ++i) s += "Zeile " + std::to_string(i) + "\r\n";
    return s;
}

class PrintErrTest : public ErrorsTest {
  protected:
    void SetUp() override {
        ErrorsTest::SetUp();
        ini().set("Project", "Email_URL", "support@veltrano-systemhaus.example");
        core::setpublics(core::settings(), false);
        std::ofstream(dir() / "Error.log", std::ios::binary) << numbered_log(3);
    }
    // Runs printerr and, in its dialog, picks `option` and presses `button`.
    bool run(const char* option, const char* button = "weiter") {
        bool shown = false;
        whenModal(
            [&, option, button](QWidget* d) {
                shown = true;
                if (option) {
                    // On the circle, where a user clicks.
                    auto* radio = d->findChild<QRadioButton*>(option);
                    QTest::mouseClick(radio, Qt::LeftButton, {}, QPoint(6, radio->height() / 2));
                    EXPECT_TRUE(radio->isChecked());
                }
                QTest::mouseClick(d->findChild<QPushButton*>(button), Qt::LeftButton);
            },
            "PrintErrDialog");
        printerr(nullptr);
        return shown;
    }
};

TEST_F(PrintErrTest, DialogShowsTheChoicesWithDeletionPreselected) {
    const auto& s = core::settings();
    whenModal(
        [&](QWidget* d) {
            EXPECT_EQ(d->windowTitle(), "Programmfehler");
            EXPECT_EQ(d->size(), QSize(330, 205));
            auto* bold = d->findChild<QLabel*>("meldung");
            ASSERT_TRUE(bold);
            EXPECT_EQ(bold->text(),
                      QString::fromStdString("Es ist ein Laufzeitfehler aufgetreten. Das Programm " +
                                             s.pcrelease1 + " wird beendet!"));
            EXPECT_TRUE(bold->font().bold());
            EXPECT_EQ(d->findChild<QLabel*>("frage")->text(),
                      "Wählen Sie nun, wie Sie mit dem Fehlerprotokoll verfahren möchten !");
            auto* del = d->findChild<QRadioButton*>("loeschen");
            auto* prn = d->findChild<QRadioButton*>("drucken");
            auto* mail = d->findChild<QRadioButton*>("email");
            ASSERT_TRUE(del && prn && mail);
            EXPECT_EQ(del->text(), " &Löschen und vergessen :-(");
            EXPECT_EQ(prn->text(), QString(" &Drucken - an Faxdrucker ") + core::maker::kFax);
            EXPECT_EQ(mail->text(), QString::fromStdString(" &Email-Versand an " + s.cs_email));
            EXPECT_TRUE(del->isChecked());
            auto* weiter = d->findChild<QPushButton*>("weiter");
            EXPECT_EQ(weiter->text(), "&Weiter");
            EXPECT_TRUE(weiter->isDefault());
            EXPECT_EQ(d->findChild<QPushButton*>("hilfe")->text(), "&Hilfe");
            EXPECT_EQ(d->findChild<QPushButton*>("abbrechen")->text(), "&Abbrechen");
            // Help shows the help file's contents and keeps the dialog open.
            QTest::mouseClick(d->findChild<QPushButton*>("hilfe"), Qt::LeftButton);
            EXPECT_TRUE(d->isVisible());
            QTest::mouseClick(d->findChild<QPushButton*>("abbrechen"), Qt::LeftButton);
        },
        "PrintErrDialog");
    printerr(nullptr);
    ASSERT_EQ(helpRequests().size(), 1u);
    EXPECT_EQ(helpRequests()[0].file, "VESTRAL");
    EXPECT_EQ(helpRequests()[0].mode, toolkit::help::Mode::Contents);
    EXPECT_FALSE(s.cs_email.empty());
}

TEST_F(PrintErrTest, WithoutSupportAddressTheMailChoiceIsNotOffered) {
    ini().set("Project", "Email_URL", "");
    core::setpublics(core::settings(), false);
    bool mail_visible = true;
    QStringList texts;
    whenModal(
        [&](QWidget* d) {
            mail_visible = d->findChild<QRadioButton*>("email")->isVisible();
            for (auto* r : d->findChildren<QRadioButton*>())
                if (r->isVisible()) texts << r->text();
            QTest::mouseClick(d->findChild<QPushButton*>("abbrechen"), Qt::LeftButton);
        },
        "PrintErrDialog");
    printerr(nullptr);
    EXPECT_FALSE(mail_visible);
    EXPECT_EQ(texts.size(), 2);
    for (const QString& t : texts) EXPECT_FALSE(t.contains("Email-Versand")) << t.toStdString();
}

TEST_F(PrintErrTest, NoLogNoDialog) {
    errors::delete_log(dir());
    bool shown = false;
    QObject guard;  // the check dies with the test
    QTimer::singleShot(300, &guard, [&] {
        if (QWidget* m = QApplication::activeModalWidget()) {
            shown = true;
            m->close();
        }
    });
    printerr(nullptr);
    QTest::qWait(400);
    EXPECT_FALSE(shown);
}

TEST_F(PrintErrTest, DeleteRemovesTheLogOfAnySpelling) {
    errors::delete_log(dir());
    std::ofstream(dir() / "ERROR.LOG") << "x\r\n";
    ASSERT_TRUE(run(nullptr));
    EXPECT_FALSE(logExists());
    EXPECT_TRUE(messages().empty());
}

TEST_F(PrintErrTest, AbbrechenKeepsTheLog) {
    ASSERT_TRUE(run("email", "abbrechen"));
    EXPECT_TRUE(logExists());
    EXPECT_TRUE(messages().empty());
    EXPECT_TRUE(printed().empty());
}

TEST_F(PrintErrTest, PrintingDeletesOnlyWhenPrinted) {
    ASSERT_TRUE(run("drucken"));
    ASSERT_EQ(printed().size(), 1u);
    EXPECT_EQ(printed()[0].texts(0), (std::vector<std::string>{"Zeile 1", "Zeile 2", "Zeile 3"}));
    EXPECT_FALSE(logExists());

    std::ofstream(dir() / "Error.log", std::ios::binary) << numbered_log(3);
    toolkit::set_print_recorder([](const toolkit::PrintJob&) { return false; });  // cancelled
    ASSERT_TRUE(run("drucken"));
    EXPECT_TRUE(logExists());
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(messages()[0].text, errors::kNotSentText);
}

TEST_F(PrintErrTest, MailAnsweredNoDeletesWithoutAMessage) {
    answer(toolkit::MsgAnswer::No);
    ASSERT_TRUE(run("email"));
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(messages()[0].title, "Email-Versand");
    EXPECT_EQ(messages()[0].text, "Möchten Sie das Fehlerprotokoll nun per Email versenden ?");
    EXPECT_FALSE(messages()[0].default_yes);
    EXPECT_FALSE(logExists());
    EXPECT_FALSE(core::exists_ci(dir(), "VODURED.INI"));
}

TEST_F(PrintErrTest, MailWithoutMailProgramKeepsTheLogAndSaysSo) {
    answer(toolkit::MsgAnswer::Yes);
    ASSERT_TRUE(run("email"));
    ASSERT_EQ(messages().size(), 2u);
    EXPECT_EQ(messages()[1].text, errors::kNotSentText);
    EXPECT_TRUE(logExists());
    // The request was written all the same.
    core::IniFile req(dir() / "VODURED.INI");
    const auto& s = core::settings();
    EXPECT_EQ(req.get("Main", "BodyFile", ""), (dir() / "Error.log").string());
    EXPECT_EQ(req.get("Main", "Address", ""), s.cs_email);
    EXPECT_EQ(req.get("Main", "Subject", ""), "Programmfehler in " + s.pcrelease1 + s.pcrelease2);
}

void mail_program(const std::filesystem::path& dir, int exit_code) {
    auto p = dir / errors::kMailProgram;
    // The stand-in checks that it was started in the program directory with the request beside it.
    std::ofstream(p) << "#!/bin/sh\n[ -f VODURED.INI ] || exit 9\nexit " << exit_code << "\n";
    std::filesystem::permissions(p, std::filesystem::perms::owner_all);
}

TEST_F(PrintErrTest, MailProgramDecidesWhetherTheLogGoes) {
    mail_program(dir(), 3);
    answer(toolkit::MsgAnswer::Yes);
    ASSERT_TRUE(run("email"));
    EXPECT_TRUE(logExists());
    EXPECT_EQ(lastMessage(), errors::kNotSentText);

    clearMessages();
    mail_program(dir(), 0);
    answer(toolkit::MsgAnswer::Yes);
    ASSERT_TRUE(run("email"));
    EXPECT_FALSE(logExists());
    EXPECT_EQ(messages().size(), 1u);  // only the question
}

TEST(LogPrintout, HundredTwentyLinesOnThreePages) {
    toolkit::PrintJob job = errors::log_print_job(numbered_log(120));
    EXPECT_EQ(job.rows, 60);
    EXPECT_EQ(job.cols, 80);
    ASSERT_EQ(job.page_count(), 3);
    EXPECT_EQ(job.pages[0].items.size(), 50u);
    EXPECT_EQ(job.pages[1].items.size(), 50u);
    EXPECT_EQ(job.pages[2].items.size(), 20u);
    const auto& first = job.pages[1].items.front();
    EXPECT_EQ(first.text, "Zeile 51");
    EXPECT_EQ(first.row, 0);
    EXPECT_EQ(first.col, 8);
    EXPECT_EQ(job.pages[0].items.back().row, 49);
    EXPECT_EQ(job.pages[2].items.back().text, "Zeile 120");
    EXPECT_EQ(errors::log_print_job(numbered_log(50)).page_count(), 1);
    EXPECT_EQ(errors::log_print_job(numbered_log(51)).page_count(), 2);
}

TEST(LogPrintout, LongLinesAreCutAfterSeventyCharacters) {
    std::string umlauts;
    for (int i = 0; i < 75; ++i) umlauts += "ä";
    std::string text = std::string(150, 'x') + "\r\n\r\n" + umlauts + "\nEnde";
    std::vector<std::string> lines = errors::split_log_lines(text);
    ASSERT_EQ(lines.size(), 7u);
    EXPECT_EQ(lines[0], std::string(70, 'x'));
    EXPECT_EQ(lines[1], std::string(70, 'x'));
    EXPECT_EQ(lines[2], std::string(10, 'x'));
    EXPECT_EQ(lines[3], "");
    EXPECT_EQ(core::utf8_length(lines[4]), 70u);
    EXPECT_EQ(core::utf8_length(lines[5]), 5u);
    EXPECT_EQ(lines[6], "Ende");
}

}  // namespace
}  // namespace vestral::test
