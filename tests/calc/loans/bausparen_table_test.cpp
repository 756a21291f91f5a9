// The account plan and the saved-contracts store on disk. These need the table layer and its
// catalogue; until both are part of the build this file compiles to nothing.
#if __has_include("core/catalogue.h")

#include <gtest/gtest.h>

#include "calc/loans/bausparen.h"
#include "calc/loans/bausparen_example.h"
#include "core/catalogue.h"
#include "core/dbf.h"
#include "core/mask.h"
#include "support/core_tempdir.h"

using namespace vestral;
using core::Date;

namespace {

calc::BauInputs first_case() {
    return vestral::test::bausparen_first_case();
}

struct OpenTable {
    core::dbf::Table table;
    OpenTable(const test::TempDir& dir, const char* name) {
        const auto file = dir / (std::string(name) + ".DBF");
        EXPECT_TRUE(core::dbf::create_table(file, core::catalogue_layout(name)));
        EXPECT_TRUE(table.open(file, name));
    }
};

}  // namespace

TEST(BausparenTable, PlanIsWrittenRowByRowAndReadableByOthers) {
    test::TempDir dir;
    const auto out = calc::bau_rech(first_case());
    {
        OpenTable t(dir, "BAUSPAR");
        ASSERT_TRUE(calc::write_bauspar_rows(t.table, out.rows));
        EXPECT_EQ(t.table.reccount(), static_cast<long>(out.rows.size()));
        t.table.go_top();
        EXPECT_EQ(t.table.trimmed("BANKNAME"), "Bausparkasse Nord");
        EXPECT_EQ(t.table.trimmed("AKTION"), "Sparrate");
        EXPECT_EQ(t.table.date("DATUM"), (Date{2007, 1, 30}));
        EXPECT_EQ(t.table.num("GEBUEHR"), 501.00);
        EXPECT_EQ(t.table.num("KTOSTAND"), -201.00);
        t.table.go_to(13);
        EXPECT_EQ(t.table.num("KEY"), 2);
        EXPECT_EQ(t.table.num("ZINSEN"), 61.76);
        EXPECT_EQ(t.table.num("GUTHABEN"), 3149.76);
        t.table.go_bottom();
        EXPECT_EQ(t.table.date("DATUM"), (Date{2025, 4, 30}));
        EXPECT_EQ(t.table.num("ANUITAT"), 124.64);
        EXPECT_EQ(t.table.num("KREDIT"), 0.0);
    }
    const std::string py =
        "import dbfread\n"
        "t = list(dbfread.DBF('" +
        (dir / "BAUSPAR.DBF").string() +
        "'))\n"
        "a = [r for r in t if r['CODE'] == 0][0]\n"
        "print(len(t), a['DATUM'], a['GUTHABEN'], a['KREDIT'], repr(a['BANKNAME']), t[0]['JAHR'])\n";
    int rc = 0;
    EXPECT_EQ(test::run_python(py, &rc), "226 2012-07-01 20287.5 29712.5 '' 2007\n");
    EXPECT_EQ(rc, 0);

    // A new computation replaces the plan.
    auto in = first_case();
    in.NMONRATE = 0;
    OpenTable t(dir, "BAUSPAR");
    ASSERT_TRUE(calc::write_bauspar_rows(t.table, calc::bau_rech(in).rows));
    ASSERT_TRUE(calc::write_bauspar_rows(t.table, calc::bau_rech(in).rows));
    EXPECT_EQ(t.table.reccount(), 1);
    t.table.go_top();
    EXPECT_EQ(t.table.date("DATUM"), (Date{2007, 1, 1}));
    EXPECT_EQ(t.table.trimmed("AKTION"), "Zuteilung erfolgt");
}

TEST(BausparenTable, StoreKeepsOneRecordPerBankName) {
    test::TempDir dir;
    core::set_today_for_tests(Date{2009, 5, 17});
    OpenTable t(dir, "BSPBANK");
    auto in = first_case();
    const auto res = calc::bau_rech(in).results;
    ASSERT_TRUE(calc::bspbank_save(t.table, in, res));
    auto other = first_case();
    other.CBANKNAME = "Süd-Kasse";
    other.NBAUSPSUM = 80000;
    ASSERT_TRUE(calc::bspbank_save(t.table, other, {}));
    EXPECT_EQ(t.table.reccount(), 2);

    // The same bank in other case rewrites its record.
    in.CBANKNAME = "BAUSPARKASSE NORD";
    in.NMONRATE = 350;
    ASSERT_TRUE(calc::bspbank_save(t.table, in, res));
    EXPECT_EQ(t.table.reccount(), 2);

    ASSERT_TRUE(calc::bspbank_find(t.table, "bausparkasse nord"));
    EXPECT_EQ(t.table.num("TMONRATE"), 247.60);
    EXPECT_EQ(t.table.num("SPARSUM"), 20287.50);
    EXPECT_EQ(t.table.num("SPARZEIT"), 5.06);
    EXPECT_EQ(t.table.num("TILGSUM"), 29712.50);
    EXPECT_EQ(t.table.num("TILGZEIT"), 12.10);
    EXPECT_EQ(t.table.num("TILGZINS"), 8449.58);  // total paid minus the loan
    EXPECT_EQ(t.table.num("GEBUSUM"), 720.00);

    const auto back = calc::bspbank_load(t.table, "Bausparkasse NORD");
    EXPECT_EQ(core::trim(back.CBANKNAME), "BAUSPARKASSE NORD");
    EXPECT_EQ(back.NBAUSPSUM, 50000);
    EXPECT_EQ(back.NABSCHGEB, 1);
    EXPECT_EQ(back.NKONTOGEB, 1);
    EXPECT_EQ(back.NABJAHR, 2007);
    EXPECT_EQ(back.NSPARTEIL, 40);
    EXPECT_EQ(back.NSZINSSTZ, 2);
    EXPECT_EQ(back.NMONRATE, 350);
    EXPECT_EQ(back.NTILGANNO, 6);
    EXPECT_EQ(back.NTZINSSTZ, 4);
    EXPECT_EQ(back.NTFESTZEIT, 10);
    EXPECT_EQ(back.NTZINSNACH, 4);

    EXPECT_EQ(calc::bspbank_load(t.table, "Süd-Kasse").NBAUSPSUM, 80000);

    // The saved results read back as they were saved, so that saving them again changes nothing.
    ASSERT_TRUE(calc::bspbank_find(t.table, "Bausparkasse Nord"));
    const calc::BauResults saved = calc::bspbank_results(t.table);
    EXPECT_NEAR(saved.NMONTILG, res.NMONTILG, 0.005);
    EXPECT_NEAR(saved.NSSUMME, res.NSSUMME, 0.005);
    EXPECT_NEAR(saved.NSMONATE, res.NSMONATE, 0.005);
    EXPECT_NEAR(saved.NTSUMME, res.NTSUMME, 0.005);
    EXPECT_NEAR(saved.NTMONATE, res.NTMONATE, 0.005);
    EXPECT_NEAR(saved.NZSUMME, res.NZSUMME, 0.01);
    EXPECT_NEAR(saved.NGEBSUM, res.NGEBSUM, 0.005);
    ASSERT_TRUE(calc::bspbank_save(t.table, in, saved));
    ASSERT_TRUE(calc::bspbank_find(t.table, "Bausparkasse Nord"));
    EXPECT_EQ(t.table.num("TILGZINS"), 8449.58);
    EXPECT_EQ(t.table.num("TMONRATE"), 247.60);

    // No record of that name: an empty record, with the current year and a savings share of 40.
    const auto none = calc::bspbank_load(t.table, "Unbekannt");
    EXPECT_TRUE(t.table.eof());
    EXPECT_EQ(core::trim(none.CBANKNAME), "");
    EXPECT_EQ(none.NBAUSPSUM, 0);
    EXPECT_EQ(none.NABJAHR, 2009);
    EXPECT_EQ(none.NSPARTEIL, 40);
    core::set_today_for_tests(Date{});
}

#endif
