// The plan's copies of its sources: which rows they take, that they replace the older copy, keep
// the bank terms with every decimal, and that CHECKDATA can read them again.
#include <gtest/gtest.h>

#include "calc/plans/finzpl1.h"
#include "core/catalogue.h"
#include "support/core_faults.h"
#include "support/core_tempdir.h"

using namespace vestral;
namespace dbf = vestral::core::dbf;

namespace {

dbf::Table open_new(const test::TempDir& dir, const std::string& table) {
    dbf::Table t;
    EXPECT_TRUE(dbf::create_table(dir / (table + ".DBF"), core::catalogue_layout(table)));
    EXPECT_TRUE(t.open(dir / (table + ".DBF"), table));
    return t;
}

void write_mortgage(const test::TempDir& dir, const std::string& bank, double principal, int key0_rows) {
    std::vector<calc::HypoRow> rows;
    for (int i = 0; i < key0_rows; ++i) {
        calc::HypoRow r;
        r.BANKNAME = bank;
        r.KEY = 0;
        r.ABJAHR = 2007;
        rows.push_back(r);
    }
    for (int m = 0; m < 14; ++m) {
        calc::HypoRow r;
        r.BANKNAME = bank;
        r.KEY = 1;
        r.ABJAHR = 2007 + m / 12;
        r.ABMONAT = m % 12 + 1;
        r.HYPOTHEK = principal - 100 * m;
        r.ZINSEN = 10.01 + m;
        r.ANUITAT = 110.01 + m;
        r.RESTHYP = principal - 100 * (m + 1);
        rows.push_back(r);
    }
    dbf::Table t = open_new(dir, "HYPOTHEK");
    calc::write_hypothek_rows(t, rows);
    t.close();
}

void write_hypobank(const test::TempDir& dir) {
    dbf::Table t = open_new(dir, "HYPOBANK");
    for (const char* bank : {"Andere Bank", "Hausbank"}) {
        t.append_blank();
        t.set_str("BANKNAME", bank);
        t.set_num("HYPOTHEK", 180000);
        t.set_num("ZINSSATZ", 5.125);
        t.set_num("TILGJAHR", 1.5);
        t.set_num("KONTOGEB", 12345678.91);
    }
    t.close();
}

}  // namespace

TEST(Finzpl1Copies, AMortgageCopyTakesTheMonthRowsAndTheBanksTermsWithEveryDecimal) {
    test::TempDir dir;
    write_mortgage(dir, "Hausbank", 90000, 3);
    write_hypobank(dir);
    const auto c = calc::fp1_copy_mortgage(dir.path(), 1);
    ASSERT_TRUE(c.taken);
    EXPECT_EQ(c.bank, "Hausbank");
    const auto heads = calc::fp1_copy_heads(dir.path());
    ASSERT_TRUE(heads.hyp1 && *heads.hyp1);
    EXPECT_DOUBLE_EQ((*heads.hyp1)->HYPOTHEK, 90000);
    EXPECT_DOUBLE_EQ((*heads.hyp1)->ANUITAT, 110.01);
    EXPECT_FALSE(heads.hyp2);

    calc::Fp1Include inc;
    inc.hyp1 = true;
    const auto src = calc::fp1_read_sources(dir.path(), inc);
    ASSERT_TRUE(src.hyp1);
    EXPECT_EQ(src.hyp1->size(), 14u);  // the KEY = 0 rows stay behind

    dbf::Table hyt;
    ASSERT_TRUE(hyt.open(dir / "FP1HYT1.DBF", "FP1HYT1"));
    ASSERT_EQ(hyt.count(), 1);
    hyt.go_top();
    EXPECT_EQ(hyt.trimmed("BANKNAME"), "Hausbank");
    EXPECT_DOUBLE_EQ(hyt.num("ZINSSATZ"), 5.125);
    EXPECT_DOUBLE_EQ(hyt.num("TILGJAHR"), 1.5);
    EXPECT_DOUBLE_EQ(hyt.num("KONTOGEB"), 12345678.91);
    hyt.close();

    // The copy was closed after reading, so the next take-over replaces it.
    write_mortgage(dir, "Hausbank", 50000, 0);
    ASSERT_TRUE(calc::fp1_copy_mortgage(dir.path(), 1).taken);
    EXPECT_DOUBLE_EQ((*calc::fp1_copy_heads(dir.path()).hyp1)->HYPOTHEK, 50000);
}

TEST(Finzpl1Copies, AnEmptySourceChangesNothing) {
    test::TempDir dir;
    write_mortgage(dir, "Hausbank", 90000, 0);
    ASSERT_TRUE(calc::fp1_copy_mortgage(dir.path(), 2).taken);
    const std::string before = dir.read("FP1HYP2.DBF");
    {
        dbf::Table t = open_new(dir, "HYPOTHEK");
        t.close();
    }
    EXPECT_FALSE(calc::fp1_copy_mortgage(dir.path(), 2).taken);
    EXPECT_EQ(dir.read("FP1HYP2.DBF"), before);
    EXPECT_FALSE(calc::fp1_copy_credit(dir.path()).taken);  // no RATKRED at all
    EXPECT_FALSE(std::filesystem::exists(dir / "FP1KRE.DBF"));
}

TEST(Finzpl1Copies, TheCreditAndTheContractAreCopiedWhole) {
    test::TempDir dir;
    {
        dbf::Table t = open_new(dir, "RATKRED");
        std::vector<calc::RkRow> rows(3);
        for (int i = 0; i < 3; ++i) {
            rows[i].BANKNAME = "Kreditbank";
            rows[i].JAHR = 2007;
            rows[i].MONAT = i + 1;
            rows[i].KREDIT = 3000 - 1000 * i;
            rows[i].MONRATE = 1010;
        }
        calc::write_ratkred_rows(t, rows);
        t.close();
        dbf::Table k = open_new(dir, "KREDBANK");
        k.append_blank();
        k.set_str("BANKNAME", "KREDITBANK");
        k.set_num("ZINSSATZ", 7.125);
        k.close();
        dbf::Table b = open_new(dir, "BAUSPAR");
        std::vector<calc::BausparRow> brows(2);
        brows[0].BANKNAME = brows[1].BANKNAME = "Bausparkasse";
        brows[0].KEY = 0;
        brows[1].KEY = 1;
        brows[1].JAHR = 2008;
        calc::write_bauspar_rows(b, brows);
        b.close();
    }
    const auto c = calc::fp1_copy_credit(dir.path());
    ASSERT_TRUE(c.taken);
    EXPECT_EQ(c.bank, "Kreditbank");
    const auto heads = calc::fp1_copy_heads(dir.path());
    ASSERT_TRUE(heads.kre && *heads.kre);
    EXPECT_DOUBLE_EQ((*heads.kre)->KREDIT, 3000);
    EXPECT_DOUBLE_EQ((*heads.kre)->MONRATE, 1010);
    EXPECT_NE(test::dbfread_view(dir / "FP1KRE2.DBF", "ZINSSATZ").find("7.125"), std::string::npos);

    ASSERT_TRUE(calc::fp1_copy_contract(dir.path()).taken);
    calc::Fp1Include inc;
    inc.bau = inc.kre = true;
    const auto src = calc::fp1_read_sources(dir.path(), inc);
    ASSERT_TRUE(src.bau && src.kre);
    EXPECT_EQ(src.bau->size(), 1u);
    EXPECT_EQ(src.kre->size(), 3u);
    EXPECT_TRUE(calc::fp1_copy_heads(dir.path()).bau_rows);
    EXPECT_FALSE(std::filesystem::exists(dir / "FP1BAU2.DBF"));  // BSPBANK missing: no terms copy
}

TEST(Finzpl1Copies, ADamagedCopyIsReportedAndCountsAsMissing) {
    test::TempDir dir;
    dir.write("FP1HYP1.DBF", "not a table");
    test::ScriptedFaults faults;
    calc::Fp1Include inc;
    inc.hyp1 = true;
    const auto src = calc::fp1_read_sources(dir.path(), inc);
    EXPECT_FALSE(src.hyp1);
    EXPECT_FALSE(faults.faults.empty());
    const auto heads = calc::fp1_copy_heads(dir.path());
    ASSERT_TRUE(heads.hyp1);
    EXPECT_FALSE(*heads.hyp1);
}

TEST(Finzpl1Copies, ThePlanTableIsWrittenAndReadInYearOrder) {
    test::TempDir dir;
    dbf::Table plan;
    ASSERT_TRUE(calc::fp1_open_plan(plan, dir.path()));
    calc::Fp1Row a, b;
    a.JAHR = 2009;
    a.H1SUMME = -1234567.89;
    b.JAHR = 2008;
    ASSERT_TRUE(calc::fp1_write_plan(plan, {a, b}));
    plan.go_top();
    EXPECT_EQ(plan.num("JAHR"), 2008);
    plan.skip();
    EXPECT_DOUBLE_EQ(plan.num("H1SUMME"), -1234567.89);
    plan.close();
}
