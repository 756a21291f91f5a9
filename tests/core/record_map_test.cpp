// Record maps: rows written and read by one declaration, and a map that does not fit its table's
// layout reported when the table opens.
#include "core/record_map.h"

#include <gtest/gtest.h>

#include "core/fault.h"
#include "support/core_faults.h"
#include "support/core_tempdir.h"

using namespace vestral::core;
using vestral::test::ScriptedFaults;
using vestral::test::TempDir;

namespace {

struct Row {
    std::string NAME;
    int JAHR = 0;
    double BETRAG = 0;
    Date DATUM;
    int KEY = 1;
};

const dbf::Layout kLayout = {{"NAME", 'C', 12, 0},
                             {"JAHR", 'N', 4, 0},
                             {"BETRAG", 'N', 12, 2},
                             {"DATUM", 'D', 8, 0},
                             {"KEY", 'N', 1, 0}};

bool detail(const Row& r) {
    return r.KEY == 1;
}

const dbf::RecordMap<Row> kGood{"RMGUT",
                                {
                                    dbf::text("NAME", &Row::NAME),
                                    dbf::number("JAHR", &Row::JAHR),
                                    dbf::number("BETRAG", &Row::BETRAG, detail),
                                    dbf::date("DATUM", &Row::DATUM),
                                    dbf::number("KEY", &Row::KEY),
                                }};

// One misspelled field, one member of the wrong kind.
const dbf::RecordMap<Row> kMisspelled{"RMTIPP",
                                      {dbf::text("NAME", &Row::NAME), dbf::number("BETRG", &Row::BETRAG)}};
const dbf::RecordMap<Row> kWrongKind{"RMART",
                                     {dbf::text("BETRAG", &Row::NAME), dbf::number("DATUM", &Row::JAHR)}};

std::filesystem::path table(const TempDir& dir, const std::string& name) {
    auto file = dir / (name + ".DBF");
    EXPECT_TRUE(dbf::create_table(file, kLayout));
    return file;
}

}  // namespace

TEST(RecordMap, RowsGoInAndComeBackFieldByField) {
    TempDir dir;
    auto file = table(dir, "RMGUT");
    const std::vector<Row> rows = {{"Köln", 2024, 1234.56, {2024, 2, 29}, 1}, {"Summe", 2025, 99.99, {}, 2}};
    {
        ScriptedFaults faults;
        dbf::Table t;
        ASSERT_TRUE(t.open(file, "T"));
        t.append_blank();  // write_rows empties the table first
        ASSERT_TRUE(kGood.write_rows(t, rows));
        EXPECT_EQ(t.recno(), 1);
        EXPECT_TRUE(faults.faults.empty());
    }
    dbf::Table t;
    ASSERT_TRUE(t.open(file, "T"));
    ASSERT_EQ(t.reccount(), 2);
    const auto back = kGood.read_rows(t);
    ASSERT_EQ(back.size(), 2u);
    EXPECT_EQ(back[0].NAME, "Köln");
    EXPECT_EQ(back[0].JAHR, 2024);
    EXPECT_DOUBLE_EQ(back[0].BETRAG, 1234.56);
    EXPECT_EQ(back[0].DATUM, (Date{2024, 2, 29}));
    EXPECT_EQ(back[1].KEY, 2);
    EXPECT_TRUE(back[1].DATUM.empty());
    t.go_to(2);
    EXPECT_EQ(t.str("BETRAG"), std::string(12, ' ')) << "a field whose test fails stays blank";
}

TEST(RecordMap, AMisspelledFieldOrAWrongKindIsReportedWhenTheTableOpens) {
    TempDir dir;
    auto misspelled = table(dir, "RMTIPP");
    {
        ScriptedFaults faults;
        dbf::Table t;
        ASSERT_TRUE(t.open(misspelled, "T"));
        ASSERT_EQ(faults.faults.size(), 1u) << "before anything is read or written";
        EXPECT_EQ(faults.faults[0].gen_code, kGenNoField);
        EXPECT_EQ(faults.faults[0].description, "Das Feld BETRG fehlt in RMTIPP.DBF");
        EXPECT_FALSE(faults.faults[0].can_retry);
        // Once per open: writing through the map does not report it again, and the fields
        // that fit are written.
        kMisspelled.write_rows(t, {{"Bonn", 0, 5, {}, 1}});
        EXPECT_EQ(faults.faults.size(), 1u);
        EXPECT_EQ(t.trimmed("NAME"), "Bonn");
    }
    auto wrong = table(dir, "RMART");
    {
        ScriptedFaults faults;
        dbf::Table t;
        ASSERT_TRUE(t.open(wrong, "T"));
        ASSERT_EQ(faults.faults.size(), 2u);
        EXPECT_EQ(faults.faults[0].description,
                  "Das Feld BETRAG von RMART.DBF hat den Typ N, erwartet ist C");
        EXPECT_EQ(faults.faults[1].description, "Das Feld DATUM von RMART.DBF hat den Typ D, erwartet ist N");
    }
    // Without a handler the fault unwinds: it is never passed over.
    dbf::Table t;
    EXPECT_THROW(t.open(misspelled, "T"), FaultError);
}

TEST(RecordMap, ATableOfAnotherNameIsCheckedOnFirstUse) {
    TempDir dir;
    auto file = table(dir, "ANDERS");
    dbf::Table t;
    ScriptedFaults faults;
    ASSERT_TRUE(t.open(file, "T"));
    EXPECT_TRUE(faults.faults.empty());
    kMisspelled.read_rows(t);
    kMisspelled.read_rows(t);
    ASSERT_EQ(faults.faults.size(), 1u);
    EXPECT_EQ(faults.faults[0].description, "Das Feld BETRG fehlt in ANDERS.DBF");
    EXPECT_TRUE(kGood.read_rows(t).empty());
    EXPECT_EQ(faults.faults.size(), 1u) << "a map that fits is silent";
}
