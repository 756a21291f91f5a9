// What a table file looks like after the program stops at any write: ghost records behind the
// count, compaction and copies by temporary file and rename, the order of the append path, and
// the stores that are synced.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>
#include <string>
#include <vector>

#include "core/catalogue.h"
#include "core/dbf.h"
#include "core/fault.h"
#include "support/core_faults.h"
#include "support/core_tempdir.h"

using namespace vestral::core;
using vestral::test::dbfread_view;
using vestral::test::ScriptedFaults;
using vestral::test::TempDir;

namespace {

const dbf::Layout kLayout = {{"NAME", 'C', 10, 0}, {"BETRAG", 'N', 12, 2}};
constexpr size_t kHeader = 32 + 2 * 32 + 1;
constexpr size_t kRecord = 1 + 10 + 12;

struct PowerCut {};

// Lets `allowed` writes of the table layer through and stops it at the next one, and at every
// later one, as a power cut would; records the steps it saw.
class CutAfter {
  public:
    explicit CutAfter(int allowed) : allowed_(allowed) {
        old_ = dbf::set_write_seam([this](std::string_view step) {
            if (static_cast<int>(steps.size()) >= allowed_) {
                cut = true;
                throw PowerCut{};
            }
            steps.emplace_back(step);
        });
    }
    ~CutAfter() { dbf::set_write_seam(std::move(old_)); }
    std::vector<std::string> steps;
    bool cut = false;

  private:
    int allowed_;
    dbf::WriteSeam old_;
};

void write_names(const std::filesystem::path& file, const std::vector<std::string>& names) {
    ASSERT_TRUE(dbf::create_table(file, kLayout));
    dbf::Table t;
    ASSERT_TRUE(t.open(file, "T"));
    for (size_t i = 0; i < names.size(); ++i) {
        t.append_blank();
        t.set_str("NAME", names[i]);
        t.set_num("BETRAG", static_cast<double>(i + 1));
    }
}

// The names of the visible records, as the table layer reads them, joined by commas.
std::string names_in(const std::filesystem::path& file) {
    dbf::Table t;
    if (!t.open(file, "T")) return "<not readable>";
    std::string out;
    for (t.go_top(); !t.eof(); t.skip()) out += (out.empty() ? "" : ",") + t.trimmed("NAME");
    return out;
}

uint32_t declared(const std::string& bytes) {
    auto b = [&](size_t i) { return static_cast<uint32_t>(static_cast<unsigned char>(bytes[i])); };
    return b(4) | b(5) << 8 | b(6) << 16 | b(7) << 24;
}

void set_declared(std::string& bytes, uint32_t n) {
    for (int i = 0; i < 4; ++i) bytes[4 + static_cast<size_t>(i)] = static_cast<char>((n >> (8 * i)) & 0xFF);
}

}  // namespace

TEST(GhostRecords, WholeRecordsBehindTheCountAreCutWhenTheTableOpens) {
    TempDir dir;
    write_names(dir / "T.DBF", {"eins", "zwei", "drei", "vier", "fünf", "sechs", "sieben"});
    std::string bytes = dir.read("T.DBF");
    set_declared(bytes, 4);
    dir.write("T.DBF", bytes);
    EXPECT_EQ(dbfread_view(dir / "T.DBF", "NAME").substr(0, 2), "7 ") << "other readers show the ghosts";

    EXPECT_EQ(names_in(dir / "T.DBF"), "eins,zwei,drei,vier");
    const std::string after = dir.read("T.DBF");
    ASSERT_EQ(after.size(), kHeader + 4 * kRecord + 1);
    EXPECT_EQ(after.substr(0, after.size() - 1), bytes.substr(0, after.size() - 1))
        << "the counted records stay";
    EXPECT_EQ(static_cast<unsigned char>(after.back()), 0x1A);
    EXPECT_EQ(dbfread_view(dir / "T.DBF", "NAME"), "4 NAME BETRAG\neins\nzwei\ndrei\nvier\n");
}

TEST(GhostRecords, HalfARecordBehindTheCountIsCutAndASoundTableIsLeftAlone) {
    TempDir dir;
    write_names(dir / "T.DBF", {"eins", "zwei"});
    const std::string sound = dir.read("T.DBF");
    EXPECT_EQ(names_in(dir / "T.DBF"), "eins,zwei");
    EXPECT_EQ(dir.read("T.DBF"), sound) << "opening a sound table writes nothing";

    std::string bytes = sound;
    bytes.pop_back();  // the end marker
    bytes += std::string(kRecord / 2, 'x');
    dir.write("T.DBF", bytes);
    EXPECT_EQ(names_in(dir / "T.DBF"), "eins,zwei");
    EXPECT_EQ(dir.read("T.DBF"), sound);
}

// The saved-plans list deletes a plan and compacts its store; the program may stop after any
// prefix of the compaction's writes.
TEST(Compaction, AnInterruptionAfterAnyWriteLeavesTheOldOrTheNewStoreNeverADuplicate) {
    int prefixes = 0;
    for (int allowed = 0;; ++allowed) {
        TempDir dir;
        const auto file = dir / "HYPOBANK.DBF";
        write_names(file, {"Sparkasse", "Spreewald", "Volksbank", "Hausbank"});
        bool cut;
        {
            CutAfter power(allowed);
            dbf::Table t;
            ASSERT_TRUE(t.open(file, "DHB"));
            t.go_to(2);
            t.delete_record();
            try {
                EXPECT_TRUE(t.pack());
            } catch (const PowerCut&) {
            }
            cut = power.cut;
        }
        const std::string seen = names_in(file);
        EXPECT_TRUE(seen == "Sparkasse,Spreewald,Volksbank,Hausbank" ||
                    seen == "Sparkasse,Volksbank,Hausbank")
            << "after " << allowed << " writes: " << seen;
        const std::string outside = dbfread_view(file, "NAME");
        EXPECT_TRUE(outside == "4 NAME BETRAG\nSparkasse\nSpreewald\nVolksbank\nHausbank\n" ||
                    outside == "3 NAME BETRAG\nSparkasse\nVolksbank\nHausbank\n")
            << "after " << allowed << " writes: " << outside;
        if (!cut) {
            EXPECT_EQ(seen, "Sparkasse,Volksbank,Hausbank");
            break;
        }
        ++prefixes;
    }
    // create, header, records, end marker, sync, rename, sync of the directory
    EXPECT_GE(prefixes, 7);
}

TEST(Compaction, TheStoreIsReplacedInOneRenameAndStaysLocked) {
    TempDir dir;
    const auto file = dir / "T.DBF";
    write_names(file, {"a", "b", "c"});
    dbf::Table t;
    ASSERT_TRUE(t.open(file, "T"));
    t.go_to(1);
    t.delete_record();
    std::vector<std::string> steps;
    {
        CutAfter watch(1000);
        ASSERT_TRUE(t.pack());
        steps = watch.steps;
    }
    ASSERT_FALSE(steps.empty());
    EXPECT_EQ(steps.front(), "create");
    EXPECT_EQ(std::count(steps.begin(), steps.end(), "rename"), 1);
    const auto rename_at = std::find(steps.begin(), steps.end(), "rename");
    EXPECT_NE(std::find(steps.begin(), rename_at, "sync"), rename_at) << "synced before the rename";
    EXPECT_EQ(t.reccount(), 2);
    // The new file is the table now: still held exclusively, and further writes go into it.
    dbf::Table other;
    ScriptedFaults faults;
    EXPECT_FALSE(other.open(file, "X"));
    ASSERT_EQ(faults.faults.size(), 1u);
    EXPECT_EQ(faults.faults[0].os_code, kOsSharing);
    dbf::net_error_flag() = false;
    t.append_blank();
    t.set_str("NAME", "d");
    t.close();
    EXPECT_EQ(names_in(file), "b,c,d");
    for (const auto& e : std::filesystem::directory_iterator(dir.path()))
        EXPECT_EQ(e.path().filename(), "T.DBF") << "no temporary file stays behind";
}

TEST(AppendPath, EveryPrefixOfAFlushIsTheOldTableOrTheOldTableWithUncountedRecords) {
    for (bool durable : {false, true}) {
        for (int allowed = 0;; ++allowed) {
            TempDir dir;
            const auto file = dir / "T.DBF";
            write_names(file, {"alt1", "alt2", "alt3", "alt4"});
            bool cut;
            {
                CutAfter power(allowed);
                dbf::Table t;
                ASSERT_TRUE(t.open(file, "T"));
                t.set_durable(durable);
                for (const char* n : {"neu1", "neu2", "neu3"}) {
                    t.append_blank();
                    t.set_str("NAME", n);
                }
                try {
                    EXPECT_TRUE(t.flush());
                } catch (const PowerCut&) {
                }
                cut = power.cut;
            }
            const std::string bytes = dir.read("T.DBF");
            const uint32_t count = declared(bytes);
            ASSERT_TRUE(count == 4 || count == 7) << allowed;
            ASSERT_GE(bytes.size(), kHeader + count * kRecord) << "every counted record is on disk";
            const std::string seen = names_in(file);
            EXPECT_TRUE(seen == "alt1,alt2,alt3,alt4" || seen == "alt1,alt2,alt3,alt4,neu1,neu2,neu3")
                << "after " << allowed << " writes: " << seen;
            EXPECT_EQ(dbfread_view(file, "BETRAG").substr(0, 2), std::to_string(count) + " ")
                << "the next open cut the uncounted records";
            if (!cut) break;
        }
    }
}

TEST(AppendPath, ADurableTableIsSyncedBeforeItsHeaderCountsTheRecordsAndAfterwards) {
    TempDir dir;
    const auto file = dir / "T.DBF";
    write_names(file, {"a"});
    for (bool durable : {false, true}) {
        dbf::Table t;
        ASSERT_TRUE(t.open(file, "T"));
        t.set_durable(durable);
        t.append_blank();
        t.set_str("NAME", "b");
        CutAfter watch(1000);
        ASSERT_TRUE(t.flush());
        const std::vector<std::string> want =
            durable ? std::vector<std::string>{"write", "sync", "write", "write", "sync"}
                    : std::vector<std::string>{"write", "write", "write"};
        EXPECT_EQ(watch.steps, want) << "records, (sync), end marker, header count, (sync)";
    }
}

TEST(AppendPath, RewritingAfterZapNeverShowsOldRecordsUnderTheNewCount) {
    for (int allowed = 0;; ++allowed) {
        TempDir dir;
        const auto file = dir / "T.DBF";
        write_names(file, {"alt1", "alt2", "alt3", "alt4", "alt5"});
        bool cut;
        {
            CutAfter power(allowed);
            dbf::Table t;
            ASSERT_TRUE(t.open(file, "T"));
            t.zap();
            for (const char* n : {"neu1", "neu2"}) {
                t.append_blank();
                t.set_str("NAME", n);
            }
            try {
                t.flush();
            } catch (const PowerCut&) {
            }
            cut = power.cut;
        }
        const std::string seen = names_in(file);
        EXPECT_TRUE(seen == "alt1,alt2,alt3,alt4,alt5" || seen == "" || seen == "neu1,neu2")
            << "after " << allowed << " writes: " << seen;
        if (!cut) {
            EXPECT_EQ(seen, "neu1,neu2");
            break;
        }
    }
}

TEST(AppendFrom, CopiesTheFilteredRecordsByRenameAndAFailedCopyLeavesTheTableAsItWas) {
    TempDir dir;
    write_names(dir / "QUELLE.DBF", {"q1", "q2", "q3", "q4"});
    const auto target = dir / "ZIEL.DBF";
    write_names(target, {"z1", "z2"});
    const auto odd = [](const dbf::Table& s) { return static_cast<int>(s.num("BETRAG")) % 2 == 1; };
    {
        dbf::Table t;
        ASSERT_TRUE(t.open(target, "Z"));
        ASSERT_TRUE(t.append_from(dir / "QUELLE.DBF", odd));
        EXPECT_EQ(t.reccount(), 4);
    }
    EXPECT_EQ(names_in(target), "z1,z2,q1,q3");

    // A disk that is full halfway through the copy: the fault is reported, the target keeps its
    // four records in memory and on disk, and no temporary file stays.
    const std::string before = dir.read("ZIEL.DBF");
    dbf::Table t;
    ASSERT_TRUE(t.open(target, "Z"));
    for (int i = 0; i < 400; ++i) {
        t.append_blank();
        t.set_str("NAME", "viel");
    }
    struct rlimit old {};
    ::getrlimit(RLIMIT_FSIZE, &old);
    auto old_signal = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = old;
    small.rlim_cur = before.size() + 2000;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    bool copied;
    std::vector<Fault> seen;
    {
        ScriptedFaults faults;
        copied = t.append_from(dir / "QUELLE.DBF");
        seen = faults.faults;
    }
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, old_signal);
    EXPECT_FALSE(copied);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].gen_code, kGenWrite);
    EXPECT_EQ(seen[0].description, "Schreibfehler");
    EXPECT_EQ(t.reccount(), 404) << "the copied records are gone again, the own ones stay";
    EXPECT_EQ(dir.read("ZIEL.DBF"), before);
    for (const auto& e : std::filesystem::directory_iterator(dir.path()))
        EXPECT_EQ(e.path().filename().string().find(".tmp"), std::string::npos) << e.path();

    // Interrupted at any write: the old or the new table.
    t.close();
    const std::string four = "z1,z2,q1,q3";
    for (int allowed = 0;; ++allowed) {
        dir.write("ZIEL.DBF", before);
        bool cut;
        {
            CutAfter power(allowed);
            dbf::Table z;
            ASSERT_TRUE(z.open(target, "Z"));
            try {
                z.append_from(dir / "QUELLE.DBF");
            } catch (const PowerCut&) {
            }
            cut = power.cut;
        }
        const std::string now = names_in(target);
        EXPECT_TRUE(now == four || now == four + ",q1,q2,q3,q4") << allowed << ": " << now;
        if (!cut) break;
    }
}

TEST(Durable, TheStoresOfSavedPlansAreDurableAndWorkTablesAreNot) {
    TempDir dir;
    check_dbf(dir.path());
    for (const auto& e : catalogue()) {
        dbf::Table t;
        ASSERT_TRUE(t.open(dir / (std::string(e.table) + ".DBF"), "X"));
        EXPECT_EQ(t.durable(), e.store) << e.table;
        const bool store = e.table == "HYPOBANK" || e.table == "BSPBANK" || e.table == "KREDBANK" ||
                           e.table == "HYSPBANK" || e.table == "VERBRCH";
        EXPECT_EQ(e.store, store) << e.table;
    }
    // A save into a store is synced once its records are written, and once more at the end.
    dbf::Table bank;
    ASSERT_TRUE(bank.open(dir / "hypobank.dbf", "DHB"));
    bank.append_blank();
    bank.set_str("BANKNAME", "Sparkasse");
    CutAfter watch(1000);
    ASSERT_TRUE(bank.flush());
    EXPECT_EQ(std::count(watch.steps.begin(), watch.steps.end(), "sync"), 2);
}
