#include <gtest/gtest.h>

#include "calc/consumption/verbrauch.h"
#include "core/catalogue.h"
#include "core/dbf.h"
#include "core/record_map.h"
#include "support/core_tempdir.h"

using namespace vestral;
using calc::VerbrKind;

namespace {

constexpr const char* kFieldNames =
    "VERBRART DATUM LIEFER TELEFON KDNR ZAEHLER GRUNDDM GRUNDTEIL PROEINHEIT INDEX ABSCHLAGDM ZAEHLER1 "
    "ZAEHLER2 ABLESDAT1 ABLESDAT2 VERBREINH VERBRDM VERBRTAG VERBRMON SGRUNDDM SABSCHLAG SUMME MWPROZ SMWST "
    "SNETTO SKORREKT";

class VerbrchTable : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(core::dbf::create_table(file(), core::catalogue_layout("VERBRCH"))); }
    std::filesystem::path file() const { return dir_ / "VERBRCH.DBF"; }

    bool store(VerbrKind kind, core::Date old_date, const std::string& supplier, double sum = 1) {
        calc::VerbrInputs in;
        in.CLIEFER = supplier;
        in.DABLES1 = old_date;
        in.DABLES2 = {old_date.year, 12, 31};
        calc::VerbrResults res;
        res.NSUMME = sum;
        return store(kind, in, res);
    }
    bool store(VerbrKind kind, const calc::VerbrInputs& in, const calc::VerbrResults& res) {
        core::dbf::Table t;
        EXPECT_TRUE(t.open(file(), "VERBRCH"));
        return calc::verbr_store(t, kind, in, res);
    }
    std::optional<calc::VerbrRow> find(VerbrKind kind, core::Date date) {
        core::dbf::Table t;
        EXPECT_TRUE(t.open(file(), "VERBRCH"));
        return calc::verbr_find(t, kind, date);
    }

    test::TempDir dir_;
};

TEST_F(VerbrchTable, PeriodIsTheKindAndTheOldReadingDate) {
    EXPECT_TRUE(store(VerbrKind::Strom, {2006, 1, 1}, "A"));
    EXPECT_TRUE(store(VerbrKind::Strom, {2006, 1, 1}, "B"));  // overwrites
    EXPECT_TRUE(store(VerbrKind::Gas, {2006, 1, 1}, "Gas"));  // another kind, same date
    EXPECT_TRUE(store(VerbrKind::Strom, {2005, 1, 1}, "C"));  // appended, earlier
    EXPECT_EQ(test::dbfread_view(file(), "LIEFER"), std::string("3 ") + kFieldNames + "\nB\nGas\nC\n");
    // The latest period of a kind in key order, an exact date, and a miss.
    EXPECT_EQ(find(VerbrKind::Strom, {})->LIEFER, "B");
    EXPECT_EQ(find(VerbrKind::Strom, {2005, 1, 1})->LIEFER, "C");
    EXPECT_EQ(find(VerbrKind::Strom, {2004, 1, 1})->LIEFER, "B");
    EXPECT_EQ(find(VerbrKind::Gas, {})->LIEFER, "Gas");
    EXPECT_FALSE(find(VerbrKind::Wasser, {}));
    EXPECT_FALSE(find(VerbrKind::Abwasser, {2006, 1, 1}));
}

TEST_F(VerbrchTable, NothingStoredWithoutAValidOldDateOrWithNothingEntered) {
    EXPECT_FALSE(store(VerbrKind::Strom, core::Date{}, "A"));
    EXPECT_FALSE(store(VerbrKind::Strom, core::Date{2006, 2, 30}, "A"));
    EXPECT_FALSE(store(VerbrKind::Strom, core::Date{2006, 1, 1}, ""));
    EXPECT_EQ(test::dbfread_view(file(), "LIEFER"), std::string("0 ") + kFieldNames + "\n");
}

TEST_F(VerbrchTable, FieldsAsStoredAndOverflowKeepsTheNeighbours) {
    calc::VerbrInputs in;
    in.CLIEFER = std::string(45, 'x');  // 40 characters of text
    in.NKWHDM = 0.12345;                // four decimals
    in.NINDEX = 10.5;                   // not a gas period: not written
    in.DABLES1 = {2006, 1, 1};
    in.DABLES2 = {2006, 12, 31};
    calc::VerbrResults res;
    res.NVERBRKW = 3500.6;    // whole
    res.NSUMME = 12345678.9;  // too wide for N 9,2
    res.NVERBRDM = 1e9;       // too wide at any decimals
    res.NSABSCHLAG = 720;
    res.NSKORREKT = 5;
    ASSERT_TRUE(store(VerbrKind::Strom, in, res));
    const std::string script =
        "import dbfread\nr = list(dbfread.DBF(r'''" + file().string() +
        "''', raw=True))[0]\nfor f in ['LIEFER','PROEINHEIT','INDEX','GRUNDTEIL','VERBREINH',"
        "'VERBRDM','VERBRTAG','SABSCHLAG','SUMME','MWPROZ','SKORREKT']: print(f, repr(r[f].decode()))\n";
    const std::string out = test::run_python(script);
    EXPECT_NE(out.find("LIEFER '" + std::string(40, 'x') + "'"), std::string::npos) << out;
    EXPECT_NE(out.find("PROEINHEIT '   0.1235'"), std::string::npos) << out;
    EXPECT_NE(out.find("INDEX '         '"), std::string::npos) << out;
    EXPECT_NE(out.find("GRUNDTEIL '    12.00'"), std::string::npos) << out;
    EXPECT_NE(out.find("VERBREINH '     3501'"), std::string::npos) << out;
    EXPECT_NE(out.find("VERBRTAG '     0.00'"), std::string::npos) << out;
    EXPECT_NE(out.find("SABSCHLAG '   720.00'"), std::string::npos) << out;
    EXPECT_NE(out.find("SUMME ' 12345679'"), std::string::npos) << out;  // fewer decimals, never wider
    EXPECT_NE(out.find("VERBRDM '*********'"), std::string::npos) << out;
    EXPECT_NE(out.find("MWPROZ '    16.00'"), std::string::npos) << out;
    EXPECT_NE(out.find("SKORREKT '     5.00'"), std::string::npos) << out;
}

TEST_F(VerbrchTable, GasKeepsItsFactor) {
    calc::VerbrInputs in;
    in.NINDEX = 10.5;
    in.NKWHDM = 0.05;
    in.DABLES1 = {2006, 1, 1};
    ASSERT_TRUE(store(VerbrKind::Gas, in, {}));
    const auto row = find(VerbrKind::Gas, {2006, 1, 1});
    ASSERT_TRUE(row);
    EXPECT_EQ(row->INDEX, 10.5);
    EXPECT_EQ(row->VERBRART, 4);
    EXPECT_EQ(row->GRUNDTEIL, 12);
}

}  // namespace
