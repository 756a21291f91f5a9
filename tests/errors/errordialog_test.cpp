// The fault handler: quiet answers, the dialog's buttons and what each does, the log it leaves,
// faults during fault handling, and exceptions reaching a button handler.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QtTest/QTest>
#include <fstream>

#include "core/opstack.h"
#include "errors/error_dialog.h"
#include "errors_fixture.h"
#include "ui/blocks.h"

namespace vestral::test {
namespace {

using core::Fault;
using core::FaultAnswer;
using errors::Choice;
using errors::ProgramExit;

const core::dbf::Layout kLayout = {{"NAME", 'C', 10, 0}, {"BETRAG", 'N', 12, 2}};

Fault plain_fault(bool retry, bool deflt) {
    Fault f;
    f.gen_code = core::kGenWrite;
    f.os_code = 28;
    f.description = "Write error";
    f.filename = "KUNDEN.DBF";
    f.can_retry = retry;
    f.can_default = deflt;
    return f;
}

QPushButton* button(QWidget* dialog, const char* name) {
    return dialog->findChild<QPushButton*>(name);
}
int center_x(QWidget* w) {
    return w->mapTo(w->window(), w->rect().center()).x();
}

TEST_F(ErrorsTest, OpenFaultOffersRetryAndRepeatsTheOpen) {
    const auto file = dir() / "KUNDEN.DBF";
    core::dbf::Table t;
    bool checked = false;
    whenModal(
        [&](QWidget* d) {
            checked = true;
            EXPECT_EQ(d->windowTitle(), QString::fromStdString(core::settings().title()) + " Laufzeitfehler");
            QPushButton* retry = button(d, "wiederholen");
            QPushButton* ende = button(d, "ende");
            QPushButton* deflt = button(d, "default");
            ASSERT_TRUE(retry && ende && deflt);
            EXPECT_EQ(retry->text(), "&Wiederholen");
            EXPECT_EQ(ende->text(), "&Ende");
            EXPECT_EQ(deflt->text(), "&Default");
            EXPECT_LT(center_x(retry), center_x(ende));
            EXPECT_LT(center_x(ende), center_x(deflt));
            EXPECT_TRUE(ende->isDefault());
            auto* msg = d->findChild<QLabel*>("beschreibung");
            ASSERT_TRUE(msg);
            EXPECT_TRUE(msg->text().startsWith(
                "   Fehlerbeschreibung: (DOS Error 2) DBFNTX/???  Fehler beim Öffnen der Tabelle: "));
            EXPECT_EQ(d->findChild<QLabel*>("stacklabel")->text(), "&Stackliste");
            EXPECT_EQ(d->findChild<QLabel*>("siehe")->text(), "Siehe Error.log Datei");
            auto* list = d->findChild<QListWidget*>("stackliste");
            ASSERT_TRUE(list);
            ASSERT_EQ(list->count(), 1);
            EXPECT_EQ(list->item(0)->text(), "   Aufgerufen von KM_GDATA(n/a)");
            // The log is on disk before the user answers.
            EXPECT_TRUE(logExists());
            // The user makes the file available, then asks to try again.
            EXPECT_TRUE(core::dbf::create_table(file, kLayout));
            QTest::mouseClick(retry, Qt::LeftButton);
        },
        "ErrorDialog");
    VESTRAL_OP("KM_GDATA");
    EXPECT_TRUE(t.open(file, "KUND"));
    EXPECT_TRUE(checked);
    EXPECT_TRUE(t.is_open());
    EXPECT_TRUE(exits_.empty());
    EXPECT_FALSE(core::dbf::net_error_flag());
}

TEST_F(ErrorsTest, HeldTableIsRefusedQuietly) {
    const auto file = dir() / "KUNDEN.DBF";
    ASSERT_TRUE(core::dbf::create_table(file, kLayout));
    core::dbf::Table holder, second;
    ASSERT_TRUE(holder.open(file, "HALTER"));
    script({});  // any dialog fails the test
    EXPECT_FALSE(second.open(file, "KUND"));
    EXPECT_TRUE(shown_.empty());
    EXPECT_TRUE(core::dbf::net_error_flag());
    EXPECT_FALSE(logExists());
    EXPECT_TRUE(exits_.empty());
    // Once released, the same open succeeds.
    holder.close();
    EXPECT_TRUE(second.open(file, "KUND"));
}

TEST_F(ErrorsTest, QuietAnswersNeedADefault) {
    script({Choice::Default});
    struct Case {
        int gen, os;
        bool deflt, quiet;
    };
    for (Case c : {Case{21, 32, true, true}, Case{21, 5, true, true}, Case{40, 0, true, true},
                   Case{21, 2, true, false}}) {
        SCOPED_TRACE(std::to_string(c.gen) + "/" + std::to_string(c.os));
        Fault f = plain_fault(true, c.deflt);
        f.gen_code = c.gen;
        f.os_code = c.os;
        core::dbf::net_error_flag() = false;
        shown_.clear();
        errors::delete_log(dir());
        EXPECT_EQ(core::report_fault(f), FaultAnswer::Default);
        EXPECT_EQ(shown_.size(), c.quiet ? 0u : 1u);
        EXPECT_EQ(core::dbf::net_error_flag(), c.quiet);
        EXPECT_EQ(logExists(), !c.quiet);
    }
    // Without a default the sharing fault is no longer quiet.
    script({Choice::Wiederholen});
    shown_.clear();
    Fault f = plain_fault(true, false);
    f.gen_code = 21;
    f.os_code = 32;
    core::dbf::net_error_flag() = false;
    EXPECT_EQ(core::report_fault(f), FaultAnswer::Retry);
    EXPECT_EQ(shown_.size(), 1u);
    EXPECT_FALSE(core::dbf::net_error_flag());
    EXPECT_TRUE(logExists());
}

TEST_F(ErrorsTest, DivisionByZeroIsAnsweredQuietly) {
    script({});
    Fault f;
    f.gen_code = core::kGenZeroDiv;
    f.can_default = true;
    EXPECT_EQ(core::report_fault(f), FaultAnswer::Default);
    EXPECT_TRUE(shown_.empty());
    EXPECT_FALSE(logExists());
}

TEST_F(ErrorsTest, OnlyEndeStandsInTheMiddleAndEndsWithCodeOne) {
    bool checked = false;
    whenModal(
        [&](QWidget* d) {
            checked = true;
            EXPECT_EQ(button(d, "wiederholen"), nullptr);
            EXPECT_EQ(button(d, "default"), nullptr);
            QPushButton* ende = button(d, "ende");
            ASSERT_TRUE(ende);
            EXPECT_TRUE(ende->isDefault());
            EXPECT_NEAR(center_x(ende), d->width() / 2, 3);
            QTest::mouseClick(ende, Qt::LeftButton);
        },
        "ErrorDialog");
    try {
        core::report_fault(plain_fault(false, false));
        ADD_FAILURE() << "the program went on";
    } catch (const ProgramExit& e) {
        EXPECT_EQ(e.code, 1);
    }
    EXPECT_TRUE(checked);
    EXPECT_EQ(exits_, std::vector<int>{1});
    // The log stays for the next start.
    std::string log = logText();
    EXPECT_NE(log.find("   Fehlerbeschreibung: (DOS Error 28) DBFNTX/???  Write error: KUNDEN.DBF\r\n"),
              std::string::npos);
    EXPECT_TRUE(std::filesystem::exists(dir() / "Error.log"));
}

TEST_F(ErrorsTest, TwoButtonsPutEndeLeft) {
    for (bool retry : {true, false}) {
        SCOPED_TRACE(retry ? "retry" : "default");
        bool checked = false;
        whenModal(
            [&](QWidget* d) {
                checked = true;
                QPushButton* ende = button(d, "ende");
                QPushButton* other = button(d, retry ? "wiederholen" : "default");
                ASSERT_TRUE(ende && other);
                EXPECT_EQ(button(d, retry ? "default" : "wiederholen"), nullptr);
                EXPECT_LT(center_x(ende), d->width() / 2);
                EXPECT_GT(center_x(other), d->width() / 2);
                QTest::mouseClick(other, Qt::LeftButton);
            },
            "ErrorDialog");
        EXPECT_EQ(core::report_fault(plain_fault(retry, !retry)),
                  retry ? FaultAnswer::Retry : FaultAnswer::Default);
        EXPECT_TRUE(checked);
    }
    EXPECT_TRUE(exits_.empty());
}

TEST_F(ErrorsTest, CloseBoxEndsLikeEnde) {
    whenModal([](QWidget* d) { d->close(); }, "ErrorDialog");
    EXPECT_THROW(core::report_fault(plain_fault(true, true)), ProgramExit);
    EXPECT_EQ(exits_, std::vector<int>{1});
}

TEST_F(ErrorsTest, RetryBeforeTheMainLoopEnds) {
    errors::set_main_loop_running(false);
    script({Choice::Wiederholen});
    EXPECT_THROW(core::report_fault(plain_fault(true, true)), ProgramExit);
    EXPECT_EQ(exits_, std::vector<int>{1});
}

TEST_F(ErrorsTest, FaultWhileHandlingAFaultEndsAtOnce) {
    int dialogs = 0;
    errors::set_dialog_script([&](const errors::DialogInfo&) {
        ++dialogs;
        core::report_fault(plain_fault(true, true));  // e.g. a table failing while the dialog is up
        return Choice::Default;
    });
    EXPECT_THROW(core::report_fault(plain_fault(true, true)), ProgramExit);
    EXPECT_EQ(dialogs, 1);
    EXPECT_EQ(exits_, std::vector<int>{1});
    // The handler is usable again afterwards (the flag does not stick).
    script({Choice::Default});
    EXPECT_EQ(core::report_fault(plain_fault(true, true)), FaultAnswer::Default);
    EXPECT_EQ(exits_.size(), 1u);
}

TEST_F(ErrorsTest, ExceptionInAButtonHandlerIsLoggedAndEnds) {
    errors::install_fault_handler();
    script({Choice::Ende});
    EXPECT_THROW(ui::run_guarded(nullptr, [] { throw std::runtime_error("Tabelle kaputt"); }), ProgramExit);
    ASSERT_EQ(shown_.size(), 1u);
    EXPECT_FALSE(shown_[0].can_retry);
    EXPECT_FALSE(shown_[0].can_default);
    EXPECT_EQ(shown_[0].message, "Error BASE/???  Tabelle kaputt");
    EXPECT_EQ(exits_, std::vector<int>{1});
    EXPECT_NE(logText().find("Tabelle kaputt"), std::string::npos);
    ui::set_guard_hook({});
}

TEST_F(ErrorsTest, ExceptionEscapingAnEventIsLoggedAndEnds) {
    script({Choice::Ende});
    EXPECT_TRUE(errors::deliver_guarded([] { return true; }));
    EXPECT_TRUE(shown_.empty());
    EXPECT_THROW(errors::deliver_guarded([]() -> bool { throw std::runtime_error("Ereignis kaputt"); }),
                 ProgramExit);
    ASSERT_EQ(shown_.size(), 1u);
    EXPECT_EQ(shown_[0].message, "Error BASE/???  Ereignis kaputt");
    EXPECT_EQ(exits_, std::vector<int>{1});
    script({Choice::Ende});
    EXPECT_THROW(errors::deliver_guarded([]() -> bool { throw 42; }), ProgramExit);
    EXPECT_EQ(shown_.size(), 2u);
}

TEST_F(ErrorsTest, UnwritableLogStillShowsTheDialog) {
    std::filesystem::create_directory(dir() / "Error.log");  // a directory where the file belongs
    script({Choice::Default});
    EXPECT_EQ(core::report_fault(plain_fault(true, true)), FaultAnswer::Default);
    EXPECT_EQ(shown_.size(), 1u);
    std::filesystem::remove(dir() / "Error.log");
}

}  // namespace
}  // namespace vestral::test
