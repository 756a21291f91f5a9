#include "calc/purchase/kredrahmen.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>

#include "core/dbf.h"
#include "support/core_tempdir.h"

using namespace vestral;
using namespace vestral::calc;

namespace {

// The exact value of the table: the rate of column i is (300 + 25 i) / 100 %, so
// Y / (r + 1) x 100 / 1000 = 10 Y / (400 + 25 i), cut down to a whole number of thousands.
std::int64_t exact_cell(std::int64_t burden, int i) {
    const std::int64_t yearly = burden * 12;
    return (10 * yearly) / (400 + 25 * i) * 1000;
}

}  // namespace

TEST(KredRech, TheNoteAndTheCornerCases) {
    EXPECT_EQ(kred_amount(12000, 7.0), 150000);
    EXPECT_EQ(kred_amount(2400, 3.0), 60000);
    EXPECT_EQ(kred_amount(36000, 3.0), 900000);
    EXPECT_EQ(kred_amount(12000, 3.25), 282000);  // 282,352.9... cut down
}

TEST(KredRech, AllCellsEqualTheExactRationalFloor) {
    const auto rows = kred_rech();
    ASSERT_EQ(rows.size(), static_cast<size_t>(kKredRowCount));
    int cells = 0;
    double largest = 0;
    for (int r = 0; r < kKredRowCount; ++r) {
        const std::int64_t burden = 200 + 100 * r;
        EXPECT_EQ(rows[static_cast<size_t>(r)].MONRATE, static_cast<double>(burden));
        for (int i = 0; i < kKredRateCount; ++i) {
            const double cell = rows[static_cast<size_t>(r)].WERT[static_cast<size_t>(i)];
            EXPECT_EQ(cell, static_cast<double>(exact_cell(burden, i)))
                << burden << " at " << kred_rate(i) << " %";
            if (cell > largest) largest = cell;
            ++cells;
        }
    }
    EXPECT_EQ(cells, 841);
    EXPECT_EQ(largest, 900000);
    EXPECT_EQ(rows.back().MONRATE, 3000);
    EXPECT_EQ(rows[8].WERT[16], 150000);  // 1000 at 7 %
    EXPECT_EQ(rows[8].WERT[1], 282000);   // 1000 at 3.25 %
    EXPECT_EQ(rows[0].WERT[0], 60000);
    EXPECT_EQ(rows[0].WERT[28], 21000);  // 200 at 10 %: 2400 / 11 x 100
}

TEST(KredRech, FieldNamesAndHeadings) {
    EXPECT_EQ(kred_field(0), "WERT300");
    EXPECT_EQ(kred_field(1), "WERT325");
    EXPECT_EQ(kred_field(4), "WERT400");
    EXPECT_EQ(kred_field(27), "WERT975");
    EXPECT_EQ(kred_field(28), "WERT100");
    EXPECT_EQ(kred_rate(28), 10.0);
    EXPECT_EQ(kred_heading(0), "Zinssatz 3 % ");
    EXPECT_EQ(kred_heading(4), "4 % ");
    EXPECT_EQ(kred_heading(8), "5 % ");
    EXPECT_EQ(kred_heading(12), "6,00 % ");
    EXPECT_EQ(kred_heading(28), "10,00 % ");
    const auto& layout = kredit_layout();
    ASSERT_EQ(layout.size(), 30u);
    EXPECT_EQ(layout[0], (core::dbf::Field{"MONRATE", 'N', 5, 0}));
    for (int i = 0; i < kKredRateCount; ++i)
        EXPECT_EQ(layout[static_cast<size_t>(i) + 1], (core::dbf::Field{kred_field(i), 'N', 6, 0}));
    EXPECT_EQ(core::dbf::newheadlen(layout), 1 + 5 + 29 * 6);
}

TEST(KreditTable, MadeAfreshFilledReadableByOthersAndDeleted) {
    test::TempDir dir;
    dir.write("kredit.dbf", "left over, not a table");
    core::dbf::Table t;
    ASSERT_TRUE(kred_make(dir.path(), t));
    EXPECT_FALSE(std::filesystem::exists(dir / "kredit.dbf"));
    ASSERT_TRUE(kred_fill(t));
    EXPECT_EQ(t.reccount(), 29);
    EXPECT_EQ(t.recno(), 1);
    EXPECT_EQ(t.num("MONRATE"), 200);
    EXPECT_EQ(t.num("WERT300"), 60000);
    // Filling again empties first.
    ASSERT_TRUE(kred_fill(t));
    EXPECT_EQ(t.reccount(), 29);
    const auto back = kred_read(t);
    const auto computed = kred_rech();
    ASSERT_EQ(back.size(), computed.size());
    for (size_t r = 0; r < back.size(); ++r) {
        EXPECT_EQ(back[r].MONRATE, computed[r].MONRATE);
        EXPECT_EQ(back[r].WERT, computed[r].WERT) << "row " << r;
    }
    EXPECT_EQ(t.recno(), 1);

    // Read back by an independent reader while the table is open, against the exact values.
    const std::string py =
        "import dbfread\n"
        "t = dbfread.DBF('" +
        (dir / kKreditFile).string() +
        "')\n"
        "print(','.join(f.name + ':' + f.type + str(f.length) for f in t.fields))\n"
        "bad = 0\n"
        "rows = list(t)\n"
        "for row in rows:\n"
        "    y = int(row['MONRATE']) * 12\n"
        "    for i in range(29):\n"
        "        name = 'WERT100' if i == 28 else 'WERT%03d' % (300 + 25 * i)\n"
        "        if row[name] != (10 * y) // (400 + 25 * i) * 1000: bad += 1\n"
        "print(len(rows), bad, rows[8]['MONRATE'], rows[8]['WERT700'], rows[-1]['WERT300'])\n";
    const std::string out = test::run_python(py);
    std::string fields = "MONRATE:N5";
    for (int i = 0; i < kKredRateCount; ++i) fields += "," + kred_field(i) + ":N6";
    EXPECT_EQ(out, fields + "\n29 0 1000 150000 900000\n");

    kred_drop(t);
    EXPECT_FALSE(t.is_open());
    EXPECT_FALSE(std::filesystem::exists(dir / kKreditFile));
}
