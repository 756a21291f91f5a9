// The error log: every section's heading and labels in order, the exact lines that can be known,
// CR LF line ends, and the file replacing an older log of any spelling.
#include <gtest/gtest.h>

#include <fstream>

#include "core/files.h"
#include "core/opstack.h"
#include "errors_fixture.h"

namespace vestral::test {
namespace {

using errors::build_log;
using errors::format_bytes;

// The lines every log holds, in this order (the parts that vary are checked elsewhere).
std::vector<std::string> expected_headings(const std::string& title) {
    std::string heading = "Anwendung " + title;
    return {
        heading,
        std::string(core::utf8_length(heading), '='),
        "   Pfad und Name: /opt/vestralon/vestralon",
        "   Groesse: 1,234,567 Bytes",
        "   Max Datei-Handles verfuegbar: ( SetHandleCount() ) 1024",
        "   Zeitpunkt des Fehlers: 24.12.2023, 13:05:09",
        "         Qt 6 Widgets",
        "   Fehlerbeschreibung: Error DBFNTX/1001  Write error: KUNDEN.DBF",
        "   Args:",
        "     [   1] = C   KUNDEN.DBF",
        "     [   2] = C   12",
        "",
        "Stack Aufrufe",
        "=============",
        "   Aufgerufen von KM_RECH(n/a)",
        "   Aufgerufen von KAUFMIET(n/a)",
        "",
        "System",
        "======",
        "   CPU Type: x86_64",
        "   Hardware Speicher: 8192000 (8000 megas)",
        "",
        "  Freie System Resourcen: % 42",
        "        GDI    Resourcen: % n/a",
        "        User   Resourcen: % n/a",
        "",
        "  Windows und MsDos Versionen: 12. 0,  6. 1",
        "   Anzahl laufender Windows-Applikationen:   1",
        "      1 vestralon",
        "",
        "Benutzte Variablen",
        "==================",
        "   Prozedur      Type    Wert",
        "   ==========================",
        "   KM_RECH",
        "   KAUFMIET",
        "",
        "Linked RDDs",
        "===========",
        "   DBFNTX",
        "",
        "Benutzte DataBanken",
        "===================",
    };
}

core::Fault write_fault() {
    core::Fault f;
    f.gen_code = core::kGenWrite;
    f.sub_code = 1001;
    f.description = "Write error";
    f.filename = "KUNDEN.DBF";
    f.args = {"KUNDEN.DBF", "12"};
    return f;
}

TEST_F(ErrorsTest, LogHasEverySectionInOrderWithCrLf) {
    VESTRAL_OP("KAUFMIET");
    VESTRAL_OP("KM_RECH");
    std::string log = build_log(write_fault(), fixed_system_info(), core::op_stack(), {});
    std::vector<std::string> lines = crlf_lines(log);
    std::vector<std::string> want = expected_headings(core::settings().title());
    ASSERT_GE(lines.size(), want.size() + 6);
    for (size_t i = 0; i < want.size(); ++i) EXPECT_EQ(lines[i], want[i]) << "line " << i + 1;
    std::vector<std::string> tail(lines.begin() + static_cast<long>(want.size()), lines.end());
    std::vector<std::string> want_tail = {"",
                                          "Speicher-Analyse",
                                          "================",
                                          "   Static memory:",
                                          "      data segment: 64k",
                                          "      Programmgroesse (VmSize): 1000 Bytes"};
    EXPECT_EQ(tail, want_tail);
    EXPECT_FALSE(core::settings().title().empty());
}

TEST_F(ErrorsTest, LogListsOpenTablesWithTheirPosition) {
    core::dbf::Layout layout = {{"NAME", 'C', 10, 0}, {"BETRAG", 'N', 12, 2}};
    ASSERT_TRUE(core::dbf::create_table(dir() / "KUNDEN.DBF", layout));
    core::dbf::Table t;
    ASSERT_TRUE(t.open(dir() / "KUNDEN.DBF", "KUND"));
    t.append_blank();
    t.append_blank();
    t.add_order("NAME", [](const core::dbf::Table& x) { return x.str("NAME"); });
    t.set_order(1);
    t.go_top();
    std::string section = errors::log_tables(errors::open_table_info());
    std::vector<std::string> lines = crlf_lines(section);
    std::vector<std::string> want = {
        "",
        "Benutzte DataBanken",
        "===================",
        "",
        "  1: => KUND           " + std::string(20, ' ') + "RddName: DBFNTX",
        "     ==============================",
        "     Satznr.  RecCount    BOF   EOF",
        "        1          2      .F.   .F.",
        "",
        "     Benutzte Indexe " + std::string(23, ' ') + "TagName",
        "        => n/a" + std::string(32, ' ') + "NAME",
        "",
        "     Benutzte Relationen",
    };
    EXPECT_EQ(lines, want);
}

TEST(ErrorLogFormat, BytesPictureAndNumbers) {
    EXPECT_EQ(format_bytes(0), "        0 Bytes");
    EXPECT_EQ(format_bytes(999), "      999 Bytes");
    EXPECT_EQ(format_bytes(1000), "    1,000 Bytes");
    EXPECT_EQ(format_bytes(9999999), "9,999,999 Bytes");
    EXPECT_EQ(format_bytes(10000000), "********* Bytes");
    EXPECT_EQ(errors::pad_num(7, 3), "  7");
    EXPECT_EQ(errors::pad_num(1048576, 3), "1048576");
}

TEST(ErrorLogFormat, FaultWithoutArgsHasNoArgsLines) {
    core::Fault f;
    f.gen_code = core::kGenOpen;
    f.os_code = 2;
    f.description = "Open error";
    f.operation = "USE";
    std::vector<std::string> lines = crlf_lines(errors::log_fault(f));
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0], "   Fehlerbeschreibung: (DOS Error 2) DBFNTX/???  Open error: USE");
}

TEST(ErrorLogFormat, RealSystemInfoIsFilled) {
    errors::SystemInfo s = errors::collect_system_info();
    EXPECT_FALSE(s.program_path.empty());
    EXPECT_GT(s.program_size, 0);
    EXPECT_GT(s.open_max, 0);
    EXPECT_GT(s.mem_kb, 0);
    EXPECT_FALSE(s.cpu.empty());
    EXPECT_GE(s.year, 2024);
    EXPECT_EQ(s.memory_lines.size(), 7u);
}

TEST_F(ErrorsTest, WriteReplacesAnOlderLogOfAnySpelling) {
    std::ofstream(dir() / "ERROR.LOG") << "alt\r\n";
    ASSERT_TRUE(logExists());
    ASSERT_TRUE(errors::write_log(dir(), "neu\r\n"));
    EXPECT_FALSE(std::filesystem::exists(dir() / "ERROR.LOG"));
    EXPECT_EQ(core::read_file(dir() / "Error.log").value_or(""), "neu\r\n");
    EXPECT_TRUE(errors::delete_log(dir()));
    EXPECT_FALSE(logExists());
}

}  // namespace
}  // namespace vestral::test
