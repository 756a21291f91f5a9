// The letting plan's tables: its own copies next to the owner-occupied ones, the depreciation's
// copy, and FINZPL2 as other programs read it.
#include <gtest/gtest.h>

#include <sstream>

#include "calc/plans/finzpl2.h"
#include "calc/tax/einksteuer.h"
#include "core/catalogue.h"
#include "core/files.h"
#include "support/core_tempdir.h"
#include "support/plan_sources.h"

using namespace vestral;
namespace dbf = vestral::core::dbf;

namespace {

void write_steu75e(const test::TempDir& dir, int rows) {
    ASSERT_TRUE(dbf::create_table(dir / "STEU75E.DBF", core::catalogue_layout("STEU75E")));
    dbf::Table t;
    ASSERT_TRUE(t.open(dir / "STEU75E.DBF", "STEU75E"));
    for (int k = 0; k < rows; ++k) {
        t.append_blank();
        t.set_num("JAHR", 2005 + k);
        t.set_num("FREIBETRAG", 3000 - 100 * k);
        t.set_num("STJAHR", k + 1);
        t.set_num("STVORTEIL", 2.5);
    }
    t.flush();
    t.close();
}

}  // namespace

TEST(Finzpl2Tables, TheDepreciationIsCopiedWholeAndAnEmptyOneChangesNothing) {
    test::TempDir dir;
    write_steu75e(dir, 0);
    EXPECT_FALSE(calc::fp2_copy_depreciation(dir.path()).taken);
    EXPECT_FALSE(calc::fp2_read_depreciation(dir.path()));
    write_steu75e(dir, 4);
    EXPECT_TRUE(calc::fp2_copy_depreciation(dir.path()).taken);
    const auto rows = calc::fp2_read_depreciation(dir.path());
    ASSERT_TRUE(rows);
    ASSERT_EQ(rows->size(), 4u);
    EXPECT_EQ((*rows)[3].JAHR, 2008);
    EXPECT_DOUBLE_EQ((*rows)[3].FREIBETRAG, 2700);
    EXPECT_DOUBLE_EQ((*rows)[3].STVORTEIL, 2.5);
}

TEST(Finzpl2Tables, TheLettingPlanKeepsItsOwnLoanCopies) {
    test::TempDir dir;
    ASSERT_TRUE(dbf::create_table(dir / "RATKRED.DBF", core::catalogue_layout("RATKRED")));
    {
        dbf::Table t;
        ASSERT_TRUE(t.open(dir / "RATKRED.DBF", "RATKRED"));
        for (const calc::RkRow& r : test::plans::credit(5000, 2006, 1, 12, 450)) {
            t.append_blank();
            calc::ratkred_map().write(t, r);
        }
        t.flush();
        t.close();
    }
    EXPECT_TRUE(calc::fp1_copy_credit(dir.path(), calc::FpVariant::Letting).taken);
    EXPECT_TRUE(core::exists_ci(dir.path(), "FP2KRE.DBF"));
    EXPECT_FALSE(core::exists_ci(dir.path(), "FP1KRE.DBF"));
    calc::Fp1Include inc;
    inc.kre = inc.afa = true;
    const auto src = calc::fp1_read_sources(dir.path(), inc, calc::FpVariant::Letting);
    ASSERT_TRUE(src.kre);
    EXPECT_EQ(src.kre->size(), 12u);
    EXPECT_FALSE(src.afa);  // the letting plan reads no allowance
    const auto heads = calc::fp1_copy_heads(dir.path(), calc::FpVariant::Letting);
    ASSERT_TRUE(heads.kre && *heads.kre);
    EXPECT_FALSE(heads.hyp1);
}

TEST(Finzpl2Tables, StoredTaxesAreTheTaxOfTheStoredFields) {
    test::TempDir dir;
    calc::Fp1Include inc;
    inc.hyp1 = inc.afa = true;
    calc::Fp2Sources src;
    src.loans.hyp1 = test::plans::mortgage("Hausbank", 150000, 2005, 1, 60, 1400);
    std::vector<calc::Fp2AfaRow> afa;
    for (int k = 0; k < 8; ++k) afa.push_back({2005 + k, 3000, 2});
    src.afa = afa;
    const auto out = calc::fp2_rech(inc, src, {42000, 3, 8000, 1.5, 2}, 2005);
    ASSERT_TRUE(out.LOK);
    dbf::Table plan;
    ASSERT_TRUE(calc::fp_open_plan(plan, dir.path(), calc::FpVariant::Letting));
    ASSERT_TRUE(calc::fp2_write_plan(plan, out.rows));
    plan.close();
    int rc = 0;
    const std::string text = test::run_python(
        "from dbfread import DBF\n"
        "for r in DBF(r'" +
            (dir.path() / "FINZPL2.DBF").string() +
            "'):\n"
            "    print(r['JAHR'], r['EINKOMM'], r['MIETE'], r['BSSPZINS'], r['AFA'], r['ZINSENGES'], "
            "r['AFAEKST1'], r['AFAEKST2'], r['STEUERERL'], r['AFARATE'])\n",
        &rc);
    ASSERT_EQ(rc, 0) << text;
    std::istringstream lines(text);
    int n = 0;
    int jahr;
    double e, m, bz, a, z, t1, t2, st, rate;
    while (lines >> jahr >> e >> m >> bz >> a >> z >> t1 >> t2 >> st >> rate) {
        SCOPED_TRACE(jahr);
        ++n;
        EXPECT_NEAR(t1, calc::einksteuer(2, core::round_to(e + m, 2), 2005), 0.005);
        EXPECT_NEAR(t2, calc::einksteuer(2, core::round_to(e + m + bz - a - z, 2), 2005), 0.005);
        EXPECT_NEAR(st, t1 - t2, 0.011);
        EXPECT_DOUBLE_EQ(rate, jahr <= 2012 ? 2 : 0);
    }
    EXPECT_EQ(n, static_cast<int>(out.rows.size()));
    EXPECT_EQ(n, 8);
}
