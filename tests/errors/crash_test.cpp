// Fatal faults: a child process of the test installs the handlers like the program does, then
// dies of a signal or std::terminate; the log it leaves is complete and offered at the next start.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QPushButton>
#include <QtTest/QTest>
#include <fstream>
#include <functional>
#include <stdexcept>

#include "core/opstack.h"
#include "errors/printerr.h"
#include "errors_fixture.h"

namespace vestral::test {
namespace {

// Runs `body` in a child process and returns its exit code (-signal when killed by a signal).
int in_child(const std::function<void()>& body) {
    pid_t pid = ::fork();
    if (pid == 0) {
        body();
        ::_exit(99);  // the body was meant not to come back
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    if (WIFEXITED(status)) return WEXITSTATUS(status);
    if (WIFSIGNALED(status)) return -WTERMSIG(status);
    return -1000;
}

void expect_complete_log(const std::string& log, const std::string& description) {
    std::vector<std::string> lines = crlf_lines(log);
    std::vector<std::string> want = {"Anwendung " + core::settings().title(),
                                     "   Pfad und Name: /opt/vestralon/vestralon",
                                     "   Groesse: 1,234,567 Bytes",
                                     "   Max Datei-Handles verfuegbar: ( SetHandleCount() ) 1024",
                                     "         Qt 6 Widgets",
                                     "   Fehlerbeschreibung: " + description,
                                     "Stack Aufrufe",
                                     "   Aufgerufen von KM_RECH(n/a)",
                                     "   Aufgerufen von KAUFMIET(n/a)",
                                     "System",
                                     "        GDI    Resourcen: % n/a",
                                     "Benutzte Variablen",
                                     "   KM_RECH",
                                     "Linked RDDs",
                                     "Benutzte DataBanken",
                                     "Speicher-Analyse",
                                     "      data segment: 64k"};
    size_t at = 0;
    for (const auto& w : want) {
        auto it = std::find(lines.begin() + static_cast<long>(at), lines.end(), w);
        ASSERT_NE(it, lines.end()) << "missing or out of order: " << w;
        at = static_cast<size_t>(it - lines.begin()) + 1;
    }
    bool has_time = false;
    for (const auto& l : lines)
        if (l.rfind("   Zeitpunkt des Fehlers: ", 0) == 0 && l.size() == 26 + 20 && l[28] == '.' &&
            l[36] == ',')
            has_time = true;
    EXPECT_TRUE(has_time);
}

class CrashTest : public ErrorsTest, public ::testing::WithParamInterface<int> {};

TEST_P(CrashTest, FatalSignalLeavesALogAndEndsWithCodeOne) {
    const int sig = GetParam();
    int rc = in_child([sig] {
        errors::errorsys();
        VESTRAL_OP("KAUFMIET");
        VESTRAL_OP("KM_RECH");
        ::raise(sig);
    });
    EXPECT_EQ(rc, 1);
    ASSERT_TRUE(logExists());
    std::string log = logText();
    const char* name = sig == SIGSEGV   ? "(SIGSEGV)"
                       : sig == SIGABRT ? "(SIGABRT)"
                       : sig == SIGFPE  ? "(SIGFPE)"
                       : sig == SIGBUS  ? "(SIGBUS)"
                                        : "(SIGILL)";
    std::string line;
    for (const auto& l : crlf_lines(log))
        if (l.rfind("   Fehlerbeschreibung: ", 0) == 0) line = l.substr(23);
    EXPECT_NE(line.find(name), std::string::npos) << line;
    expect_complete_log(log, line);
}

INSTANTIATE_TEST_SUITE_P(Signals, CrashTest, ::testing::Values(SIGSEGV, SIGABRT, SIGFPE, SIGBUS, SIGILL));

TEST_F(ErrorsTest, TerminateLeavesALogAndPrinterrOffersIt) {
    std::ofstream(dir() / "ERROR.LOG") << "ein altes Protokoll\r\n";
    int rc = in_child([] {
        errors::errorsys();
        VESTRAL_OP("KAUFMIET");
        VESTRAL_OP("KM_RECH");
        try {
            throw std::runtime_error("Zustand verloren");
        } catch (...) {
            std::terminate();
        }
    });
    EXPECT_EQ(rc, 1);
    std::string log = logText();
    expect_complete_log(log, "Error BASE/???  std::terminate: Zustand verloren");
    EXPECT_EQ(log.find("ein altes Protokoll"), std::string::npos);

    // At the next start the log is offered; "Abbrechen" keeps it for the start after.
    bool offered = false;
    whenModal(
        [&](QWidget* d) {
            offered = true;
            QTest::mouseClick(d->findChild<QPushButton*>("abbrechen"), Qt::LeftButton);
        },
        "PrintErrDialog");
    errors::printerr(nullptr);
    EXPECT_TRUE(offered);
    EXPECT_TRUE(logExists());
}

TEST_F(ErrorsTest, EndeClosesTheTablesAndLeavesWithCodeOne) {
    const auto file = dir() / "KUNDEN.DBF";
    ASSERT_TRUE(core::dbf::create_table(file, {{"NAME", 'C', 10, 0}}));
    int rc = in_child([&] {
        errors::set_exit_function({});  // the real end
        errors::set_dialog_script([](const errors::DialogInfo&) { return errors::Choice::Ende; });
        core::dbf::Table t;
        if (!t.open(file, "KUND")) ::_exit(98);
        t.append_blank();
        t.set_str("NAME", "Meier");  // buffered until the table is closed
        core::Fault f;
        f.gen_code = core::kGenWrite;
        core::report_fault(f);
    });
    EXPECT_EQ(rc, 1);
    EXPECT_TRUE(logExists());
    core::dbf::Table t;
    ASSERT_TRUE(t.open(file, "KUND"));
    EXPECT_EQ(t.reccount(), 1);
    EXPECT_EQ(t.trimmed("NAME"), "Meier");
}

}  // namespace
}  // namespace vestral::test
