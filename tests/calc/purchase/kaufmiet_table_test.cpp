// The year table on disk. It needs the table layer; until that is part of the build (it arrives
// together with the catalogue) this file compiles to nothing.
#if __has_include("core/catalogue.h")

#include <gtest/gtest.h>

#include "calc/purchase/kaufmiet.h"
#include "core/dbf.h"
#include "support/core_tempdir.h"

using namespace vestral;

TEST(KaufMietTable, YearsAreWrittenAndReadableByOthers) {
    test::TempDir dir;
    calc::KmInputs in;
    in.NKALTMIETE = 500;
    in.NMIETERH = 2;
    in.NKAUFPREIS = 100000;
    in.NEIGENKAP = 20000;
    in.NHYPOZINS = 5;
    in.NTILGANNO = 2;
    const auto out = calc::km_rech(in);
    const auto file = dir / "MIETKAUF.DBF";
    {
        ASSERT_TRUE(core::dbf::create_table(file, calc::kMietkaufLayout));
        core::dbf::Table t;
        ASSERT_TRUE(t.open(file, "DMIT"));
        ASSERT_TRUE(calc::write_mietkauf_rows(t, out.rows));
        EXPECT_EQ(t.reccount(), 26);
        t.go_top();
        EXPECT_EQ(t.num("JAHR"), 1);
        EXPECT_EQ(t.num("HYPOTHEK"), 78362.41);
        EXPECT_EQ(t.num("ZINSEN"), 3962.81);
        EXPECT_EQ(t.num("MIETEJA"), 6000.00);
        t.skip();
        EXPECT_EQ(t.num("MIETEJA"), 6120.00);
        t.go_bottom();
        EXPECT_EQ(t.num("ANNUITAT"), 437.40);
        EXPECT_EQ(t.num("HYPOTHEK"), 0.0);
        EXPECT_EQ(t.num("ANNUITJA"), 5600.00);
    }
    EXPECT_EQ(core::dbf::newheadlen(calc::kMietkaufLayout), 1 + 4 + 8 * 12);
    const std::string py =
        "import dbfread\n"
        "t = list(dbfread.DBF('" +
        file.string() +
        "'))\n"
        "print(len(t), t[0]['JAHR'], t[0]['HYPOTHEK'], t[-1]['ANNUITAT'], t[-1]['MIETEGE'])\n";
    EXPECT_EQ(test::run_python(py), "26 1 78362.41 437.4 202025.43\n");

    // Own capital equal to the price: an empty table.
    in.NEIGENKAP = in.NKAUFPREIS;
    core::dbf::Table t;
    ASSERT_TRUE(t.open(file, "DMIT"));
    ASSERT_TRUE(calc::write_mietkauf_rows(t, calc::km_rech(in).rows));
    EXPECT_EQ(t.reccount(), 0);
    EXPECT_TRUE(t.eof());
}

#endif
