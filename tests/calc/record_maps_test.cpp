// The record maps of the landed work tables fit the layouts their tables are created with, and a
// calculation stops on a start date that is no date.
#include <gtest/gtest.h>

#include "calc/loans/bausparen.h"
#include "calc/loans/hypotilg.h"
#include "calc/loans/ratenkredit.h"
#include "calc/purchase/kaufmiet.h"
#include "calc/tax/eigenheimzulage.h"
#include "calc/tax/ekst.h"
#include "core/catalogue.h"
#include "core/record_map.h"
#include "support/core_faults.h"
#include "support/core_tempdir.h"

using namespace vestral;
namespace dbf = vestral::core::dbf;

namespace {

void expect_fits(const std::string& table, const dbf::Layout& layout) {
    test::TempDir dir;
    const auto file = dir / (table + ".DBF");
    ASSERT_TRUE(dbf::create_table(file, layout));
    test::ScriptedFaults faults;
    dbf::Table t;
    ASSERT_TRUE(t.open(file, table));
    for (const auto& f : faults.faults) ADD_FAILURE() << table << ": " << f.description;
}

}  // namespace

TEST(RecordMaps, EveryLandedMapFitsItsTable) {
    EXPECT_EQ(calc::bauspar_map().table(), "BAUSPAR");
    expect_fits("BAUSPAR", core::catalogue_layout("BAUSPAR"));
    EXPECT_EQ(calc::hypothek_map().fields().size(), 20u);
    expect_fits("HYPOTHEK", core::catalogue_layout("HYPOTHEK"));
    expect_fits("RATKRED", core::catalogue_layout("RATKRED"));
    expect_fits("ABSCHEPL", core::catalogue_layout("ABSCHEPL"));
    expect_fits("MIETKAUF", calc::kMietkaufLayout);
    expect_fits("EKSTTEMP", calc::kEksttempLayout);
    EXPECT_EQ(calc::mietkauf_map().fields().size(), calc::kMietkaufLayout.size());
    EXPECT_EQ(calc::eksttemp_map().fields().size(), calc::kEksttempLayout.size());
    EXPECT_EQ(calc::ratkred_map().fields().size(), core::catalogue_layout("RATKRED").size());
    EXPECT_EQ(calc::abschepl_map().fields().size(), core::catalogue_layout("ABSCHEPL").size());
}

TEST(RecordMaps, ALayoutThatLostAFieldIsReportedWhenItsTableOpens) {
    test::TempDir dir;
    dbf::Layout layout = core::catalogue_layout("RATKRED");
    layout.pop_back();
    ASSERT_TRUE(dbf::create_table(dir / "RATKRED.DBF", layout));
    test::ScriptedFaults faults;
    dbf::Table t;
    ASSERT_TRUE(t.open(dir / "RATKRED.DBF", "DRATK"));
    ASSERT_EQ(faults.faults.size(), 1u);
    EXPECT_EQ(faults.faults[0].description, "Das Feld GETILGT fehlt in RATKRED.DBF");
}

TEST(RecordMaps, AnOlderLayoutIsMigratedAtStartWithoutAFault) {
    test::TempDir dir;
    dbf::Layout old = core::catalogue_layout("HYPOTHEK");
    old.pop_back();
    ASSERT_TRUE(dbf::create_table(dir / "HYPOTHEK.DBF", old));
    {
        dbf::Table t;
        ASSERT_TRUE(t.open_unchecked(dir / "HYPOTHEK.DBF", "DHYPO"));
        t.append_blank();
        t.set_str("BANKNAME", "Sparkasse");
    }
    test::ScriptedFaults faults;
    core::check_dbf(dir.path());
    for (const auto& f : faults.faults) ADD_FAILURE() << f.description;
    dbf::Table t;
    ASSERT_TRUE(t.open(dir / "HYPOTHEK.DBF", "DHYPO"));
    EXPECT_EQ(t.layout(), core::catalogue_layout("HYPOTHEK"));
    EXPECT_EQ(t.trimmed("BANKNAME"), "Sparkasse");
    EXPECT_TRUE(faults.faults.empty());
}

TEST(DateChecks, TheMortgagePlanStopsOnAStartDateThatIsNoDate) {
    calc::HypoInputs in;
    in.NHYPOTHEK = 100000;
    in.NZINSSATZ = 5;
    in.NTILGANNO = 2;
    in.NLAUFZEIT = 10;
    in.NZINSNACH = 5;
    in.NEINMALMO = 1;
    for (core::Date d : {core::Date{}, core::Date{2020, 13, 1}, core::Date{2021, 2, 29}}) {
        in.DABDATUM = d;
        const auto out = calc::ht_tab(in);
        EXPECT_FALSE(out.date_ok);
        EXPECT_FALSE(out.repaid_ok);
        EXPECT_TRUE(out.rows.empty());
        // The start date's own check fails with its message.
        const auto failed = calc::ht_check_failures(in, 0);
        EXPECT_NE(std::find(failed.begin(), failed.end(), 4), failed.end());
    }
    in.DABDATUM = core::Date{2020, 1, 1};
    EXPECT_TRUE(calc::ht_tab(in).date_ok);
    EXPECT_TRUE(calc::ht_check_failures(in, 0).empty());
}
