// HYSPBANK with the annual percentage rate of the mortgage: old files come over with every record
// and decimal, and the rate is written, or left blank when none is defined.
#include <gtest/gtest.h>

#include "calc/loans/hypspar.h"
#include "core/catalogue.h"
#include "core/dbf.h"
#include "support/core_tempdir.h"

using namespace vestral;
namespace dbf = vestral::core::dbf;

namespace {

// HYSPBANK before it carried the annual percentage rate.
dbf::Layout hyspbank_without_apr() {
    dbf::Layout l = core::catalogue_layout("HYSPBANK");
    std::erase_if(l, [](const dbf::Field& f) { return f.name == "JAHRESZINS"; });
    return l;
}

}  // namespace

TEST(CatalogueHyspbank, HyspbankWithoutTheAnnualRateIsMigratedWithEveryDecimal) {
    const dbf::Layout& l = core::catalogue_layout("HYSPBANK");
    ASSERT_EQ(l.size(), 29u);
    EXPECT_EQ(l.back(), (dbf::Field{"JAHRESZINS", 'N', 7, 3}));
    EXPECT_EQ(l[l.size() - 2], (dbf::Field{"EFFZINS", 'N', 7, 3}));
    EXPECT_FALSE(dbf::layout_matches(hyspbank_without_apr(), l));

    test::TempDir dir;
    const auto file = dir / "HYSPBANK.DBF";
    ASSERT_TRUE(dbf::create_table(file, hyspbank_without_apr()));
    const char* spar[] = {"Fondsbank Köln", "Sparkasse Nord", "Volksbank Mitte", "Gelöscht"};
    {
        dbf::Table t;
        ASSERT_TRUE(t.open_unchecked(file, "HYSPBANK"));
        for (int i = 0; i < 4; ++i) {
            t.append_blank();
            t.set_str("SPARNAME", spar[i]);
            t.set_num("TILGSUMM", 99999999.99 - i);
            t.set_num("ABJAHR", 2020 + i);
            t.set_num("SPZINS", 2.125);
            t.set_num("SPLZEIT", 25);
            t.set_num("SPMRATE", 12345678.91);
            t.set_num("SPKTOGEB", 999.99);
            t.set_num("SPAUSZU", 2.75);
            t.set_num("SPAUSDM", 12345678.9);
            t.set_str("TILGNAME", "Hypobank Süd");
            t.set_num("HYPOTHEK", 87654321.09);
            t.set_num("HYPZSATZ", 4.375);
            t.set_num("HYPZFEST", 15);
            t.set_num("HYPZNACH", 6.875);
            t.set_num("TIKTOGEB", 12345678.91);
            t.set_num("KREDITPR", 1.25);
            t.set_num("KREDITDM", 99999999.99);
            t.set_num("ZINSSUM", 98765.43);
            t.set_num("GEBUSUM", 1234.56);
            t.set_num("ANNUITAT", 546.88);
            t.set_num("EFFZINS", 4.462);
            if (i == 3) t.delete_record();
        }
        t.flush();
    }
    core::check_dbf(dir.path());

    dbf::Table t;
    ASSERT_TRUE(t.open(file, "HYSPBANK"));
    EXPECT_EQ(t.layout(), l);
    ASSERT_EQ(t.count(), 3);
    int i = 0;
    for (t.go_top(); !t.eof(); t.skip(), ++i) {
        const calc::HsInputs in = calc::hyspbank_load(t, 2024);
        EXPECT_EQ(in.CSPARNAME, spar[i]);
        EXPECT_EQ(in.NTILGSUMM, 99999999.99 - i);
        EXPECT_EQ(in.NABJAHR, 2020 + i);
        EXPECT_EQ(in.NSPZINS, 2.125);
        EXPECT_EQ(in.NSPLZEIT, 25);
        EXPECT_EQ(in.NSPMRATE, 12345678.91);
        EXPECT_EQ(in.NSPKTOGEB, 999.99);
        EXPECT_EQ(in.NSPAUSZU, 2.75);
        EXPECT_EQ(in.NSPAUSDM, 12345678.9);
        EXPECT_EQ(in.CTILGNAME, "Hypobank Süd");
        EXPECT_EQ(in.NHYPOTHEK, 87654321.09);
        EXPECT_EQ(in.NHYPZSATZ, 4.375);
        EXPECT_EQ(in.NHYPZFEST, 15);
        EXPECT_EQ(in.NHYPZNACH, 6.875);
        EXPECT_EQ(in.NTIKTOGEB, 12345678.91);
        EXPECT_EQ(in.NKREDITPR, 1.25);
        EXPECT_EQ(in.NKREDITDM, 99999999.99);
        const calc::HsResults res = calc::hyspbank_results(t);
        EXPECT_EQ(res.NZINSSUM, 98765.43);
        EXPECT_EQ(res.NGEBUSUM, 1234.56);
        EXPECT_EQ(res.NANNUITAT, 546.88);
        EXPECT_EQ(res.NEFFZINS, 4.462);
        // Saved before the rate existed: not defined, not 0.
        EXPECT_TRUE(t.blank("JAHRESZINS"));
        EXPECT_FALSE(res.NJAHRESZINS);
    }
    EXPECT_FALSE(std::filesystem::exists(dir / "HYSPBANK.BAK"));
}

TEST(CatalogueHyspbank, AnnualRateIsStoredOrLeftBlank) {
    test::TempDir dir;
    ASSERT_TRUE(dbf::create_table(dir / "HYSPBANK.DBF", core::catalogue_layout("HYSPBANK")));
    dbf::Table t;
    ASSERT_TRUE(t.open(dir / "HYSPBANK.DBF", "HYSPBANK"));
    calc::HsInputs in;
    in.CSPARNAME = "Fondsbank";
    in.CTILGNAME = "Hypobank";
    calc::HsResults res;
    res.NEFFZINS = 6.1678;
    res.NJAHRESZINS = 6.4516;
    calc::hyspbank_save(t, in, res);
    ASSERT_TRUE(calc::hyspbank_seek(t, "Fondsbank", "Hypobank"));
    EXPECT_EQ(calc::hyspbank_results(t).NEFFZINS, 6.168);
    EXPECT_EQ(calc::hyspbank_results(t).NJAHRESZINS, 6.452);
    // Saved again without a plan: the rate goes blank, the record stays one.
    calc::hyspbank_save(t, in, {});
    ASSERT_TRUE(calc::hyspbank_seek(t, "FONDSBANK", "hypobank"));
    EXPECT_EQ(t.count(), 1);
    EXPECT_TRUE(t.blank("JAHRESZINS"));
    EXPECT_FALSE(calc::hyspbank_results(t).NJAHRESZINS);
}
