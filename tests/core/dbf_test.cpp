#include "core/dbf.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstring>
#include <deque>
#include <iomanip>
#include <random>

#include "core/fault.h"
#include "core/files.h"
#include "core/numbers.h"
#include "support/core_faults.h"
#include "support/core_tempdir.h"

using namespace vestral::core;
using vestral::test::ScriptedFaults;
using vestral::test::TempDir;

namespace {

dbf::Layout mixed_layout() {
    return {{"NAME", 'C', 10, 0}, {"BETRAG", 'N', 12, 2}, {"JAHR", 'N', 4, 0}, {"DATUM", 'D', 8, 0}};
}

uint32_t u32_at(const std::string& b, size_t at) {
    return static_cast<uint32_t>(static_cast<unsigned char>(b[at])) |
           static_cast<uint32_t>(static_cast<unsigned char>(b[at + 1])) << 8 |
           static_cast<uint32_t>(static_cast<unsigned char>(b[at + 2])) << 16 |
           static_cast<uint32_t>(static_cast<unsigned char>(b[at + 3])) << 24;
}

struct TodayFor {
    explicit TodayFor(Date d) { set_today_for_tests(d); }
    ~TodayFor() { set_today_for_tests({}); }
};

// A table file with a few records, written by the layer itself.
void make_names(const std::filesystem::path& file,
                std::initializer_list<std::pair<const char*, double>> rows) {
    ASSERT_TRUE(dbf::create_table(file, mixed_layout()));
    dbf::Table t;
    ASSERT_TRUE(t.open(file, "T"));
    for (auto& [name, amount] : rows) {
        t.append_blank();
        t.set_str("NAME", name);
        t.set_num("BETRAG", amount);
    }
}

}  // namespace

TEST(DbfFormat, HeaderDescriptorsAndEndMarker) {
    TempDir dir;
    TodayFor today({2024, 3, 7});
    auto file = dir / "T.DBF";
    ASSERT_TRUE(
        dbf::create_table(file, {{"liefer", 'C', 40, 2}, {"BETRAG", 'N', 9, 4}, {"DATUM", 'D', 8, 0}}));
    std::string b = dir.read("T.DBF");
    ASSERT_EQ(b.size(), 32u + 3 * 32 + 1 + 1);
    EXPECT_EQ(static_cast<unsigned char>(b[0]), 0x03);
    EXPECT_EQ(static_cast<unsigned char>(b[1]), 124);  // years since 1900
    EXPECT_EQ(b[2], 3);
    EXPECT_EQ(b[3], 7);
    EXPECT_EQ(u32_at(b, 4), 0u);
    EXPECT_EQ(static_cast<unsigned char>(b[8]) | static_cast<unsigned char>(b[9]) << 8, 32 + 96 + 1);
    EXPECT_EQ(static_cast<unsigned char>(b[10]) | static_cast<unsigned char>(b[11]) << 8, 1 + 40 + 9 + 8);
    EXPECT_EQ(static_cast<unsigned char>(b[29]), 0x03);
    EXPECT_EQ(std::string(b.data() + 32, 11), std::string("LIEFER\0\0\0\0\0", 11));
    EXPECT_EQ(b[32 + 11], 'C');
    EXPECT_EQ(static_cast<unsigned char>(b[32 + 16]), 40);
    EXPECT_EQ(b[32 + 17], 0) << "a character field carries no decimals";
    EXPECT_EQ(b[64 + 11], 'N');
    EXPECT_EQ(b[64 + 16], 9);
    EXPECT_EQ(b[64 + 17], 4);
    EXPECT_EQ(static_cast<unsigned char>(b[32 + 96]), 0x0D);
    EXPECT_EQ(static_cast<unsigned char>(b.back()), 0x1A);

    auto layout = dbf::read_layout(file);
    ASSERT_TRUE(layout);
    EXPECT_EQ(*layout, (dbf::Layout{{"LIEFER", 'C', 40, 0}, {"BETRAG", 'N', 9, 4}, {"DATUM", 'D', 8, 0}}));
    EXPECT_EQ(dbf::newheadlen(*layout), 58);
    EXPECT_FALSE(dbf::read_layout(dir / "FEHLT.DBF"));
}

TEST(DbfFormat, LayoutTestComparesCountAndLengthOnly) {
    dbf::Layout a{{"A", 'C', 10, 0}, {"B", 'N', 5, 2}};
    dbf::Layout b{{"X", 'N', 7, 0}, {"Y", 'D', 8, 0}};
    dbf::Layout c{{"A", 'C', 10, 0}, {"B", 'N', 6, 2}};
    EXPECT_TRUE(dbf::layout_matches(a, b));
    EXPECT_FALSE(dbf::layout_matches(a, c));
    EXPECT_FALSE(dbf::layout_matches(a, {{"A", 'C', 15, 0}}));
    EXPECT_EQ(dbf::newheadlen(a), 16);
}

TEST(DbfTable, EveryFieldTypeRoundTrips) {
    TempDir dir;
    TodayFor today({2023, 12, 31});
    auto file = dir / "T.DBF";
    ASSERT_TRUE(dbf::create_table(file, mixed_layout()));
    {
        dbf::Table t;
        ASSERT_TRUE(t.open(file, "DMIT"));
        EXPECT_EQ(t.alias(), "DMIT");
        t.append_blank();
        t.set_str("name", "Sparkasse");
        t.set_num("BETRAG", 1234.565);
        t.set_num("JAHR", 2024);
        t.set_date("DATUM", {2024, 2, 29});
        EXPECT_EQ(t.raw_record(), " Sparkasse      1234.57202420240229");
        t.append_blank();
        t.set_num("BETRAG", -0.5);
        t.set_num("JAHR", -7.5);
        EXPECT_EQ(t.raw_record(), "                  -0.50  -8        ");
        ASSERT_TRUE(t.flush());
        EXPECT_EQ(u32_at(dir.read("T.DBF"), 4), 2u) << "flush writes the count";
    }
    dbf::Table t;
    ASSERT_TRUE(t.open(file, "DMIT"));
    EXPECT_EQ(t.reccount(), 2);
    EXPECT_EQ(t.recno(), 1);
    EXPECT_EQ(t.str("NAME"), "Sparkasse ");
    EXPECT_EQ(t.trimmed("NAME"), "Sparkasse");
    EXPECT_DOUBLE_EQ(t.num("BETRAG"), 1234.57);
    EXPECT_DOUBLE_EQ(t.num("JAHR"), 2024);
    EXPECT_EQ(t.date("DATUM"), (Date{2024, 2, 29}));
    t.skip();
    EXPECT_DOUBLE_EQ(t.num("BETRAG"), -0.5);
    EXPECT_DOUBLE_EQ(t.num("JAHR"), -8);
    EXPECT_TRUE(t.date("DATUM").empty());
    EXPECT_EQ(t.trimmed("NAME"), "");
    t.skip();
    EXPECT_TRUE(t.eof());
    EXPECT_EQ(t.recno(), 3);
    // At the end reads are empty and writes go nowhere.
    EXPECT_EQ(t.str("NAME"), "          ");
    EXPECT_EQ(t.num("BETRAG"), 0.0);
    t.set_num("BETRAG", 5);
    EXPECT_EQ(t.reccount(), 2);
    EXPECT_EQ(t.raw_record(), "");
}

TEST(DbfTable, UmlautsAreWindows1252AndCutAtWholeCharacters) {
    TempDir dir;
    auto file = dir / "T.DBF";
    ASSERT_TRUE(dbf::create_table(file, {{"A", 'C', 12, 0}, {"B", 'C', 5, 0}, {"C", 'N', 3, 0}}));
    dbf::Table t;
    ASSERT_TRUE(t.open(file, "T"));
    t.append_blank();
    t.set_str("A", "Grüße 5 €");
    t.set_str("B", "ÄÖÜäößx");
    t.set_num("C", 7);
    EXPECT_EQ(t.raw_record(), std::string(" Gr\xFC\xDF\x65 5 \x80   \xC4\xD6\xDC\xE4\xF6  7"));
    t.close();
    ASSERT_TRUE(t.open(file, "T"));
    EXPECT_EQ(t.trimmed("A"), "Grüße 5 €");
    EXPECT_EQ(t.str("B"), "ÄÖÜäö");
    EXPECT_DOUBLE_EQ(t.num("C"), 7);
}

TEST(DbfTable, NumbersThatDoNotFitLoseDecimalsThenBecomeStars) {
    TempDir dir;
    auto file = dir / "T.DBF";
    ASSERT_TRUE(dbf::create_table(
        file,
        {{"L", 'C', 3, 0}, {"BETRAG", 'N', 12, 2}, {"R", 'C', 3, 0}, {"SATZ", 'N', 4, 2}, {"Z", 'N', 4, 0}}));
    dbf::Table t;
    ASSERT_TRUE(t.open(file, "T"));
    t.append_blank();
    t.set_str("L", "abc");
    t.set_str("R", "xyz");
    t.set_num("BETRAG", 1e12);
    t.set_num("SATZ", 5.125);
    t.set_num("Z", 12345);
    std::string raw = t.raw_record();
    EXPECT_EQ(raw.size(), 1u + 3 + 12 + 3 + 4 + 4);
    EXPECT_EQ(raw, " abc************xyz5.13****");
    EXPECT_EQ(t.num("BETRAG"), 0.0) << "stars read back as 0";
    EXPECT_EQ(t.str("L"), "abc");
    EXPECT_EQ(t.str("R"), "xyz");

    t.set_num("BETRAG", 1234567890.125);  // 13 characters at 2 decimals, 12 at 1
    EXPECT_EQ(t.str("BETRAG"), "1234567890.1");
    t.set_num("BETRAG", 99999999999.5);  // rounds up to 12 digits: no decimals fit
    EXPECT_EQ(t.str("BETRAG"), "100000000000");
    t.set_num("BETRAG", -123456789.99);
    EXPECT_EQ(t.str("BETRAG"), "-123456790.0");
    t.set_num("SATZ", 9.999);
    EXPECT_EQ(t.str("SATZ"), "10.0");
    t.set_num("SATZ", std::numeric_limits<double>::infinity());
    EXPECT_EQ(t.str("SATZ"), "****");
    t.close();
    ASSERT_TRUE(t.open(file, "T"));
    EXPECT_EQ(t.str("L"), "abc");
    EXPECT_EQ(t.str("R"), "xyz");
    EXPECT_DOUBLE_EQ(t.num("BETRAG"), -123456790.0);
}

TEST(DbfOpen, SecondOpenIsRefusedInTheSameProcessAndReported) {
    TempDir dir;
    auto file = dir / "T.DBF";
    ASSERT_TRUE(dbf::create_table(file, mixed_layout()));
    dbf::Table first;
    ASSERT_TRUE(first.open(file, "A"));
    {
        ScriptedFaults faults;
        dbf::net_error_flag() = false;
        dbf::Table second;
        EXPECT_FALSE(second.open(file, "B"));
        EXPECT_FALSE(second.is_open());
        ASSERT_EQ(faults.faults.size(), 1u);
        const Fault& f = faults.faults[0];
        EXPECT_EQ(f.gen_code, 21);
        EXPECT_EQ(f.os_code, 32);
        EXPECT_TRUE(f.can_retry);
        EXPECT_TRUE(f.can_default);
        EXPECT_EQ(f.filename, file.string());
        EXPECT_TRUE(dbf::net_error_flag());
        // Replacing the file under its holder is refused too.
        EXPECT_FALSE(dbf::create_table(file, mixed_layout()));
        ASSERT_EQ(faults.faults.size(), 2u);
        EXPECT_EQ(faults.faults[1].gen_code, kGenCreate);
        EXPECT_EQ(faults.faults[1].os_code, 32);
    }
    {
        // "Wiederholen" after the holder let go succeeds.
        ScriptedFaults faults;
        faults.script = {FaultAnswer::Retry};
        faults.on_fault = [&](const Fault&) { first.close(); };
        dbf::Table second;
        EXPECT_TRUE(second.open(file, "B"));
        EXPECT_EQ(faults.faults.size(), 1u);
    }
    dbf::net_error_flag() = false;
}

TEST(DbfOpen, AnotherProcessIsRefusedWhileTheTableIsOpen) {
    TempDir dir;
    auto file = dir / "T.DBF";
    ASSERT_TRUE(dbf::create_table(file, mixed_layout()));
    auto child_can_open = [&]() {
        pid_t pid = ::fork();
        if (pid == 0) {
            set_fault_handler([](const Fault&) { return FaultAnswer::Default; });
            dbf::Table t;
            bool ok = t.open(file, "X");
            t.close();
            ::_exit(ok ? 0 : 1);
        }
        int status = 0;
        ::waitpid(pid, &status, 0);
        return WIFEXITED(status) && WEXITSTATUS(status) == 0;
    };
    {
        dbf::Table t;
        ASSERT_TRUE(t.open(file, "A"));
        EXPECT_FALSE(child_can_open());
    }
    EXPECT_TRUE(child_can_open());
}

TEST(DbfOpen, MissingFileIsReportedAsOpenFault) {
    TempDir dir;
    ScriptedFaults faults;
    dbf::Table t;
    EXPECT_FALSE(t.open(dir / "FEHLT.DBF", "X"));
    ASSERT_EQ(faults.faults.size(), 1u);
    EXPECT_EQ(faults.faults[0].gen_code, 21);
    EXPECT_EQ(faults.faults[0].os_code, 2);
}

TEST(DbfOpen, NamesAreFoundWithoutRegardToCase) {
    TempDir dir;
    make_names(dir / "hypobank.dbf", {{"A", 1}});
    dbf::Table t;
    ASSERT_TRUE(t.open(dir / "HYPOBANK.DBF", "DHB"));
    EXPECT_EQ(t.path().filename(), "hypobank.dbf");
    EXPECT_EQ(t.reccount(), 1);
}

TEST(DbfTable, EmptyTablesAppendDeletePackZap) {
    TempDir dir;
    auto file = dir / "T.DBF";
    ASSERT_TRUE(dbf::create_table(file, mixed_layout()));
    dbf::Table t;
    ASSERT_TRUE(t.open(file, "T"));
    EXPECT_TRUE(t.eof());
    EXPECT_TRUE(t.bof());
    EXPECT_EQ(t.reccount(), 0);
    EXPECT_EQ(t.count(), 0);
    EXPECT_EQ(t.recno(), 1);
    t.go_top();
    EXPECT_TRUE(t.eof());
    t.go_bottom();
    EXPECT_TRUE(t.eof());
    t.skip();
    t.skip(-1);
    EXPECT_TRUE(t.eof());
    t.zap();
    t.pack();
    EXPECT_TRUE(t.eof());
    EXPECT_FALSE(t.seek("x"));

    for (const char* n : {"eins", "zwei", "drei", "vier"}) {
        t.append_blank();
        EXPECT_FALSE(t.eof());
        t.set_str("NAME", n);
    }
    EXPECT_EQ(t.recno(), 4);
    t.go_to(2);
    t.delete_record();
    EXPECT_TRUE(t.deleted());
    EXPECT_EQ(t.reccount(), 4);
    EXPECT_EQ(t.count(), 3);
    // Deleted records are passed over in navigation, and stepping from one goes on from its place.
    t.skip();
    EXPECT_EQ(t.trimmed("NAME"), "drei");
    t.go_to(2);
    t.skip(-1);
    EXPECT_EQ(t.trimmed("NAME"), "eins");
    t.go_top();
    std::string seen;
    for (; !t.eof(); t.skip()) seen += t.trimmed("NAME") + ",";
    EXPECT_EQ(seen, "eins,drei,vier,");
    t.go_top();
    t.skip(-1);
    EXPECT_TRUE(t.bof());
    EXPECT_EQ(t.trimmed("NAME"), "eins");
    t.go_bottom();
    EXPECT_EQ(t.trimmed("NAME"), "vier");
    t.skip(-2);
    EXPECT_EQ(t.trimmed("NAME"), "eins");

    t.pack();
    EXPECT_EQ(t.reccount(), 3);
    EXPECT_EQ(t.recno(), 1);
    t.close();
    ASSERT_TRUE(t.open(file, "T"));
    EXPECT_EQ(t.reccount(), 3);
    t.go_to(2);
    EXPECT_EQ(t.trimmed("NAME"), "drei");
    EXPECT_FALSE(t.deleted());

    t.zap();
    EXPECT_TRUE(t.eof());
    EXPECT_EQ(t.reccount(), 0);
    ASSERT_TRUE(t.flush());
    std::string b = dir.read("T.DBF");
    EXPECT_EQ(b.size(), 32u + 4 * 32 + 1 + 1) << "zap leaves the header and the end marker";
    EXPECT_EQ(u32_at(b, 4), 0u);
    EXPECT_EQ(static_cast<unsigned char>(b.back()), 0x1A);
}

TEST(DbfTable, OrdersSortFilterSeekAndFollowChanges) {
    TempDir dir;
    auto file = dir / "T.DBF";
    make_names(file, {{"Volksbank", 3}, {"Sparkasse", 1}, {"Commerz", 2}, {"Postbank", 0}, {"Allianz", 5}});
    dbf::Table t;
    ASSERT_TRUE(t.open(file, "T"));
    int by_name = t.add_order("NAME", [](const dbf::Table& x) { return to_upper_name(x.trimmed("NAME")); });
    int with_amount = t.add_order(
        "BETRAG", [](const dbf::Table& x) { return x.str("BETRAG"); },
        [](const dbf::Table& x) { return x.num("BETRAG") > 0; });
    EXPECT_EQ(t.order_names(), (std::vector<std::string>{"NAME", "BETRAG"}));
    t.set_order(by_name);
    EXPECT_EQ(t.order(), by_name);
    t.go_top();
    std::string seen;
    for (; !t.eof(); t.skip()) seen += t.trimmed("NAME") + ",";
    EXPECT_EQ(seen, "Allianz,Commerz,Postbank,Sparkasse,Volksbank,");

    EXPECT_TRUE(t.seek("POSTBANK"));
    EXPECT_EQ(t.recno(), 4);
    t.skip();
    EXPECT_EQ(t.trimmed("NAME"), "Sparkasse");
    EXPECT_FALSE(t.seek("POST")) << "look-ups match exactly";
    EXPECT_TRUE(t.eof());
    EXPECT_EQ(t.recno(), 6);
    t.skip(-1);
    EXPECT_EQ(t.trimmed("NAME"), "Volksbank");

    t.set_order(with_amount);
    EXPECT_EQ(t.count(), 4);
    t.go_top();
    EXPECT_EQ(t.trimmed("NAME"), "Sparkasse");
    t.go_bottom();
    EXPECT_EQ(t.trimmed("NAME"), "Allianz");
    EXPECT_FALSE(t.seek("        0.00"));

    // A change of a key moves the record at the next use of the order.
    t.set_order(by_name);
    EXPECT_TRUE(t.seek("ALLIANZ"));
    t.set_str("NAME", "Zentrale");
    t.go_top();
    EXPECT_EQ(t.trimmed("NAME"), "Commerz");
    t.go_bottom();
    EXPECT_EQ(t.trimmed("NAME"), "Zentrale");
    t.append_blank();
    t.set_str("NAME", "Bauspar");
    EXPECT_TRUE(t.seek("BAUSPAR"));
    t.skip();
    EXPECT_EQ(t.trimmed("NAME"), "Commerz");
    // Deleting the current record: the next skip goes on from where it stood.
    EXPECT_TRUE(t.seek("POSTBANK"));
    t.delete_record();
    t.skip();
    EXPECT_EQ(t.trimmed("NAME"), "Sparkasse");
    EXPECT_FALSE(t.seek("POSTBANK"));

    t.set_order(0);
    t.go_top();
    EXPECT_EQ(t.trimmed("NAME"), "Volksbank");
    t.go_to(4);
    EXPECT_TRUE(t.deleted());
}

TEST(DbfTable, AppendFromMatchesFieldsByName) {
    TempDir dir;
    auto src = dir / "QUELLE.DBF";
    ASSERT_TRUE(dbf::create_table(src, {{"DATUM", 'D', 8, 0},
                                        {"ZINSSATZ", 'N', 9, 2},
                                        {"ALT", 'C', 5, 0},
                                        {"NAME", 'C', 20, 0},
                                        {"JAHR", 'C', 4, 0}}));
    {
        dbf::Table s;
        ASSERT_TRUE(s.open(src, "S"));
        const char* names[] = {"Bank Ä", "gelöscht", "Bank Ü mit langem Namen"};
        for (int i = 0; i < 3; ++i) {
            s.append_blank();
            s.set_date("DATUM", {2020 + i, 1, 15});
            s.set_num("ZINSSATZ", 4.56 + i);
            s.set_str("ALT", "x");
            s.set_str("NAME", names[i]);
            s.set_str("JAHR", std::to_string(1999 + i));
        }
        s.go_to(2);
        s.delete_record();
    }
    auto dst = dir / "ZIEL.DBF";
    ASSERT_TRUE(dbf::create_table(dst, {{"NAME", 'C', 10, 0},
                                        {"ZINSSATZ", 'N', 10, 3},
                                        {"NEU", 'N', 5, 1},
                                        {"DATUM", 'D', 8, 0},
                                        {"JAHR", 'N', 4, 0}}));
    dbf::Table d;
    ASSERT_TRUE(d.open(dst, "D"));
    ASSERT_TRUE(d.append_from(src));
    EXPECT_EQ(d.reccount(), 2);
    d.go_top();
    EXPECT_EQ(d.trimmed("NAME"), "Bank Ä");
    EXPECT_EQ(d.str("ZINSSATZ"), "     4.560");
    EXPECT_EQ(d.str("NEU"), "     ");
    EXPECT_EQ(d.date("DATUM"), (Date{2020, 1, 15}));
    EXPECT_DOUBLE_EQ(d.num("JAHR"), 1999);
    d.skip();
    EXPECT_EQ(d.str("NAME"), "Bank Ü mit");
    EXPECT_DOUBLE_EQ(d.num("ZINSSATZ"), 6.56);
    EXPECT_DOUBLE_EQ(d.num("JAHR"), 2001);
    EXPECT_FALSE(d.has_field("ALT"));
    d.close();
    ASSERT_TRUE(d.open(dst, "D"));
    EXPECT_EQ(d.reccount(), 2);
}

TEST(DbfTable, FlushWritesOnlyWhatChanged) {
    TempDir dir;
    auto file = dir / "T.DBF";
    {
        TodayFor today({2001, 1, 2});
        make_names(file, {{"A", 1}, {"B", 2}, {"C", 3}});
    }
    std::string before = dir.read("T.DBF");
    TodayFor today({2030, 6, 6});
    {
        dbf::Table t;
        ASSERT_TRUE(t.open(file, "T"));
        t.go_to(2);
        EXPECT_DOUBLE_EQ(t.num("BETRAG"), 2);
    }
    EXPECT_EQ(dir.read("T.DBF"), before) << "reading alone leaves the file as it was";
    {
        dbf::Table t;
        ASSERT_TRUE(t.open(file, "T"));
        t.go_to(2);
        t.set_num("BETRAG", 22);
    }
    std::string after = dir.read("T.DBF");
    ASSERT_EQ(after.size(), before.size());
    EXPECT_EQ(static_cast<unsigned char>(after[1]), 130) << "the date of the change";
    size_t rec2 = 32 + 4 * 32 + 1 + 35;
    for (size_t i = 4; i < after.size(); ++i)
        if (i < rec2 || i >= rec2 + 35) {
            EXPECT_EQ(after[i], before[i]) << "byte " << i;
        }
    EXPECT_NE(after.substr(rec2, 35), before.substr(rec2, 35));
}

TEST(DbfTable, DiskFullLeavesTheHeaderAsItWas) {
    TempDir dir;
    auto file = dir / "T.DBF";
    make_names(file, {{"A", 1}});
    dbf::Table t;
    ASSERT_TRUE(t.open(file, "T"));
    for (int i = 0; i < 500; ++i) {
        t.append_blank();
        t.set_num("BETRAG", i);
    }
    auto size = static_cast<rlim_t>(std::filesystem::file_size(file));
    struct rlimit old {};
    ::getrlimit(RLIMIT_FSIZE, &old);
    auto old_signal = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = old;
    small.rlim_cur = size + 1000;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    bool flushed;
    std::vector<Fault> seen;
    {
        ScriptedFaults faults;
        flushed = t.flush();
        seen = faults.faults;
    }
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, old_signal);
    EXPECT_FALSE(flushed);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].gen_code, kGenWrite);
    EXPECT_TRUE(seen[0].can_retry);
    EXPECT_EQ(u32_at(dir.read("T.DBF"), 4), 1u) << "the header still declares the old records only";
    // The records are still in memory; with space again they reach the file.
    ASSERT_TRUE(t.flush());
    t.close();
    ASSERT_TRUE(t.open(file, "T"));
    EXPECT_EQ(t.reccount(), 501);
    t.go_bottom();
    EXPECT_DOUBLE_EQ(t.num("BETRAG"), 499);
}

TEST(DbfDamage, HeaderFaultsAreReportedNeverReadOutOfBounds) {
    TempDir dir;
    make_names(dir / "GUT.DBF", {{"A", 1}, {"B", 2}});
    std::string good = dir.read("GUT.DBF");
    auto expect_corrupt = [&](const std::string& bytes, const char* what) {
        dir.write("X.DBF", bytes);
        ScriptedFaults faults;
        dbf::Table t;
        EXPECT_FALSE(t.open(dir / "X.DBF", "X")) << what;
        ASSERT_EQ(faults.faults.size(), 1u) << what;
        EXPECT_EQ(faults.faults[0].gen_code, 32) << what;
        EXPECT_TRUE(faults.faults[0].can_retry && faults.faults[0].can_default) << what;
        EXPECT_FALSE(t.is_open());
    };
    expect_corrupt("", "empty file");
    expect_corrupt(good.substr(0, 20), "truncated main header");
    expect_corrupt(good.substr(0, 70), "truncated field descriptors");
    std::string b = good;
    b[8] = static_cast<char>(0xFF);
    b[9] = static_cast<char>(0x7F);
    expect_corrupt(b, "header length past the end");
    b = good;
    b[10] = 99;
    expect_corrupt(b, "record length inconsistent");
    b = good;
    b[0] = 0x30;
    expect_corrupt(b, "other version");
    b = good;
    b[8] = 32;
    b[9] = 0;
    expect_corrupt(b, "header length too small");
    EXPECT_FALSE(dbf::read_layout(dir / "X.DBF"));

    // Without a handler, a damaged file is a fault that unwinds.
    dir.write("X.DBF", good.substr(0, 20));
    dbf::Table t;
    EXPECT_THROW(t.open(dir / "X.DBF", "X"), FaultError);
    EXPECT_FALSE(t.is_open());
}

TEST(DbfDamage, RecordCountBeyondTheDataIsReportedNeverShortenedInSilence) {
    TempDir dir;
    make_names(dir / "GUT.DBF", {{"A", 1}, {"B", 2}, {"C", 3}});
    std::string b = dir.read("GUT.DBF");
    b[4] = b[5] = b[6] = b[7] = static_cast<char>(0xFF);
    dir.write("X.DBF", b);
    std::string cut = dir.read("GUT.DBF");
    cut.resize(cut.size() - 20);  // the last record is cut short
    dir.write("Y.DBF", cut);
    for (const char* name : {"X.DBF", "Y.DBF"}) {
        ScriptedFaults faults;
        dbf::Table t;
        EXPECT_FALSE(t.open(dir / name, "X")) << name;
        ASSERT_EQ(faults.faults.size(), 1u) << name;
        EXPECT_EQ(faults.faults[0].gen_code, kGenCorruption);
        EXPECT_EQ(faults.faults[0].description,
                  std::string("Der letzte Datensatz von ") + name + " ist abgeschnitten");
        EXPECT_FALSE(t.is_open());
    }
    EXPECT_EQ(dir.read("Y.DBF"), cut) << "the file stays as it was";
}

TEST(DbfDamage, BadNumbersReadAsZero) {
    TempDir dir;
    make_names(dir / "GUT.DBF", {{"A", 1}, {"B", 2}});
    std::string b = dir.read("GUT.DBF");
    size_t first = 32 + 4 * 32 + 1;
    b.replace(first + 11, 12, "   12a4.50  ");
    dir.write("X.DBF", b);
    dbf::Table t;
    ASSERT_TRUE(t.open(dir / "X.DBF", "X"));
    EXPECT_EQ(t.num("BETRAG"), 0.0);
    t.skip();
    EXPECT_DOUBLE_EQ(t.num("BETRAG"), 2);
}

TEST(DbfDamage, RandomBytesNeverCrash) {
    TempDir dir;
    make_names(dir / "GUT.DBF", {{"A", 1}, {"B", 2}, {"C", 3}});
    std::string good = dir.read("GUT.DBF");
    std::mt19937 rng(4711);
    ScriptedFaults faults;
    for (int round = 0; round < 300; ++round) {
        std::string b = good;
        int flips = 1 + static_cast<int>(rng() % 8);
        for (int k = 0; k < flips; ++k) b[rng() % b.size()] = static_cast<char>(rng());
        if (round % 3 == 0) b.resize(rng() % b.size());
        if (round % 50 == 0) {
            b.assign(rng() % 400, '\0');
            for (char& c : b) c = static_cast<char>(rng());
        }
        dir.write("X.DBF", b);
        dbf::Table t;
        if (!t.open(dir / "X.DBF", "X")) continue;
        for (t.go_top(); !t.eof(); t.skip())
            for (const auto& f : t.layout()) {
                (void)t.num(f.name);
                (void)t.str(f.name);
                (void)t.date(f.name);
            }
        t.go_bottom();
        t.skip(-5);
    }
}

TEST(DbfRegistry, OpenTablesAreListedAndClosedTogether) {
    TempDir dir;
    make_names(dir / "A.DBF", {});
    make_names(dir / "B.DBF", {});
    dbf::Table a, b;
    ASSERT_TRUE(a.open(dir / "A.DBF", "DA"));
    ASSERT_TRUE(b.open(dir / "B.DBF", "DB"));
    auto open = dbf::open_tables();
    ASSERT_EQ(open.size(), 2u);
    EXPECT_EQ(open[0], &a);
    EXPECT_EQ(open[1], &b);
    dbf::Table moved(std::move(a));
    EXPECT_EQ(dbf::open_tables()[0], &moved);
    EXPECT_FALSE(a.is_open());
    EXPECT_EQ(moved.alias(), "DA");
    dbf::close_all_tables();
    EXPECT_TRUE(dbf::open_tables().empty());
    EXPECT_FALSE(b.is_open());
    EXPECT_TRUE(a.open(dir / "A.DBF", "DA")) << "closing released the lock";
}

TEST(DbfIndependentReader, PythonDbfreadSeesFieldsAndValues) {
    TempDir dir;
    auto file = dir / "VERBRCH.DBF";
    ASSERT_TRUE(dbf::create_table(file, {{"VERBRART", 'N', 2, 0},
                                         {"DATUM", 'D', 8, 0},
                                         {"LIEFER", 'C', 40, 2},
                                         {"PROEINHEIT", 'N', 9, 4},
                                         {"SUMME", 'N', 9, 2}}));
    {
        dbf::Table t;
        ASSERT_TRUE(t.open(file, "DVER"));
        t.append_blank();
        t.set_num("VERBRART", 3);
        t.set_date("DATUM", {2024, 12, 24});
        t.set_str("LIEFER", "Stadtwerke Düsseldorf Größe €");
        t.set_num("PROEINHEIT", 0.28345);
        t.set_num("SUMME", -1234.5);
        t.append_blank();
        t.set_str("LIEFER", "leer");
        t.append_blank();
        t.delete_record();
    }
    std::string script =
        "import dbfread\n"
        "t = dbfread.DBF(r'''" +
        file.string() +
        "''', encoding='cp1252')\n"
        "for f in t.fields: print('F', f.name, f.type, f.length, f.decimal_count)\n"
        "for r in t: print('R', repr(r['VERBRART']), repr(r['DATUM']), repr(r['LIEFER']), "
        "repr(r['PROEINHEIT']), "
        "repr(r['SUMME']))\n"
        "print('N', len(t), len(t.deleted))\n";
    int rc = -1;
    std::string out = vestral::test::run_python(script, &rc);
    ASSERT_EQ(rc, 0) << out;
    EXPECT_EQ(out,
              "F VERBRART N 2 0\n"
              "F DATUM D 8 0\n"
              "F LIEFER C 40 0\n"
              "F PROEINHEIT N 9 4\n"
              "F SUMME N 9 2\n"
              "R 3 datetime.date(2024, 12, 24) 'Stadtwerke Düsseldorf Größe €' 0.2835 -1234.5\n"
              "R None None 'leer' None None\n"
              "N 2 1\n");
}

TEST(DbfTable, NumberTextAgreesWithTheSettingsRounding) {
    TempDir dir;
    auto file = dir / "T.DBF";
    ASSERT_TRUE(dbf::create_table(
        file, {{"N0", 'N', 30, 0}, {"N2", 'N', 30, 2}, {"N3", 'N', 30, 3}, {"N4", 'N', 30, 4}}));
    dbf::Table t;
    ASSERT_TRUE(t.open(file, "T"));
    t.append_blank();
    std::mt19937_64 rng(99);
    std::vector<double> values = {0.0,   -0.0,    1.005,   466.65,    -2.5,       0.5,
                                  0.125, -0.0049, 999.995, 9.9999995, 1e14 + 0.5, 123456789012.345,
                                  1e-7,  -1e-12,  2.675,   1.0 / 3.0, 5e15,       1e25,
                                  4.35,  0.285};
    for (int i = 0; i < 3000; ++i) {
        double mag = std::pow(10.0, static_cast<double>(rng() % 28) - 10.0);
        double v = (static_cast<double>(rng() % 2000001) / 1000000.0 - 1.0) * mag;
        if (i % 3 == 0) v = static_cast<double>(static_cast<long long>(rng() % 100000000)) / 1000.0 + 0.0005;
        values.push_back(v);
    }
    for (double v : values) {
        for (auto [name, dec] : {std::pair{"N0", 0}, {"N2", 2}, {"N3", 3}, {"N4", 4}}) {
            t.set_num(name, v);
            std::string want = format_plain(v, dec);
            if (want.size() > 30) continue;
            ASSERT_EQ(t.trimmed(name), want) << std::setprecision(17) << v << " at " << dec;
        }
    }
}
