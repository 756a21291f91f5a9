#include <gtest/gtest.h>

#include <algorithm>

#include "calc/tax/eigenheimzulage.h"
#include "calc/tax/ekst.h"
#include "core/catalogue.h"
#include "core/dbf.h"
#include "support/core_tempdir.h"

using namespace vestral;
using namespace vestral::calc;

namespace {

// Reads a table with an independent dBASE reader: one line per record, fields joined by ";".
std::string read_with_dbfread(const std::filesystem::path& file) {
    return test::run_python(
        "from dbfread import DBF\n"
        "for r in DBF('" +
        file.string() +
        "', load=True):\n"
        "    print(';'.join('%s' % v for v in r.values()))\n");
}

TEST(EksttempTable, RowsAreWrittenAndReplacedOnEveryComputation) {
    test::TempDir dir;
    const auto file = dir / kEksttempFile;
    ASSERT_TRUE(core::dbf::create_table(file, kEksttempLayout));
    EXPECT_EQ(core::dbf::newheadlen(kEksttempLayout), 57);
    EXPECT_EQ(kEksttempLayout[2], (core::dbf::Field{"EKSTEIG", 'N', 4, 2}));
    core::dbf::Table table;
    ASSERT_TRUE(table.open(file, kEksttempAlias));

    EkstInputs in{40'000, 2, 1994, 2};
    write_ekst_rows(table, ekstmake(in).rows);
    EXPECT_EQ(table.reccount(), 14);

    in = EkstInputs{20'000, 1, 2005, 1};
    EkstOutcome out = ekstmake(in);
    write_ekst_rows(table, out.rows);
    EXPECT_EQ(table.reccount(), 3);
    table.go_top();
    EXPECT_EQ(table.num("JAHR"), 2005);
    EXPECT_EQ(table.num("EINKST"), 2'850);
    EXPECT_EQ(table.num("SOLIZU"), 156.75);
    EXPECT_EQ(table.num("EKSTEIG"), 1);

    // Flushed: the file on disk is complete while the table is still open.
    std::string text = read_with_dbfread(file);
    EXPECT_EQ(text.substr(0, text.find('\n')), "2005;20000.0;1.0;2850.0;156.75;15.03");
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 3);
}

TEST(AbscheplTable, GrantYearsAreWrittenAndAnEmptyResultEmptiesTheTable) {
    EXPECT_EQ(abschepl_layout(), core::catalogue_layout("ABSCHEPL"));
    EXPECT_EQ(core::dbf::newheadlen(abschepl_layout()), 65);

    test::TempDir dir;
    const auto file = dir / kAbscheplFile;
    ASSERT_TRUE(core::dbf::create_table(file, abschepl_layout()));
    core::dbf::Table table;
    ASSERT_TRUE(table.open(file, kAbscheplAlias));

    AbschrInputs in;
    in.NFAMSTAND = 2;
    in.NEINKOMM = 100'000;
    in.NKINDER = 2;
    in.NKAUFPREIS = 60'000;
    in.NEINZUG = 2002;
    in.LNEUBAU = in.LA10E = in.LENERGIE = in.LOEKOZUL = true;
    write_abschepl_rows(table, abschrech(in).rows);
    EXPECT_EQ(table.reccount(), 8);

    std::string text = read_with_dbfread(file);
    EXPECT_EQ(text.substr(0, text.find('\n')), "2002;100000.0;0.0;3017.0;1534.0;2044.0");
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 8);

    in.NEINZUG = 2006;
    write_abschepl_rows(table, abschrech(in).rows);
    EXPECT_EQ(table.reccount(), 0);
    EXPECT_EQ(read_with_dbfread(file), "");
}

}  // namespace
