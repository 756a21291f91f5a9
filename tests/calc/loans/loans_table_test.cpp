// The stored forms of the mortgage plan and the instalment credit, over real table files.
#include <gtest/gtest.h>

#include "calc/loans/hypotilg.h"
#include "calc/loans/ratenkredit.h"
#include "core/catalogue.h"
#include "core/clock.h"
#include "core/dbf.h"
#include "core/files.h"
#include "core/mask.h"
#include "core/numbers.h"
#include "support/core_tempdir.h"

using namespace vestral;
using namespace vestral::calc;
using core::Date;
namespace dbf = vestral::core::dbf;

namespace {

HypoInputs mortgage() {
    HypoInputs in;
    in.CBANKNAME = "Sparkasse Süd";
    in.NHYPOTHEK = 100000;
    in.NZINSSATZ = 5;
    in.NTILGANNO = 2;
    in.DABDATUM = Date{2007, 1, 1};
    in.NLAUFZEIT = 10;
    in.NZINSNACH = 6;
    in.NKONTOGEB = 30;
    in.NKREDITPR = 1;
    in.NKREDITDM = 1000;
    in.NEINMALDM = 2000;
    in.NEINMALMO = 6;
    return in;
}

dbf::Table open_new(const test::TempDir& dir, const std::string& name, const dbf::Layout& layout) {
    const auto file = dir / (name + ".DBF");
    EXPECT_TRUE(dbf::create_table(file, layout));
    dbf::Table t;
    EXPECT_TRUE(t.open(file, name));
    return t;
}

// HYPOBANK with the rate fields widened to three decimals and the fees to N 12,2.
dbf::Layout widened_hypobank() {
    dbf::Layout l = core::catalogue_layout("HYPOBANK");
    for (auto& f : l) {
        if (f.name == "TILGJAHR" || f.name == "ZINSSATZ" || f.name == "ZINSNACH")
            f.width = 10, f.decimals = 3;
        if (f.name == "KONTOGEB" || f.name == "KREDITDM") f.width = 12, f.decimals = 2;
    }
    return l;
}

}  // namespace

TEST(HypothekTable, RowsAreWrittenInOrderAndBlankWhereARowKindHasNoValue) {
    test::TempDir dir;
    dbf::Table t = open_new(dir, "HYPOTHEK", core::catalogue_layout("HYPOTHEK"));
    // Earlier contents go.
    t.append_blank();
    t.set_num("KEY", 1);
    const HypoOutcome o = ht_tab(mortgage());
    ASSERT_TRUE(o.repaid_ok);
    write_hypothek_rows(t, o.rows);
    ASSERT_EQ(t.count(), static_cast<long>(o.rows.size()));
    t.go_top();
    for (const HypoRow& row : o.rows) {
        ASSERT_FALSE(t.eof());
        EXPECT_EQ(t.num("KEY"), row.KEY);
        EXPECT_EQ(t.date("DATUM"), row.DATUM);
        EXPECT_EQ(t.trimmed("BANKNAME"), "Sparkasse Süd");
        EXPECT_EQ(t.num("HYPOTHEK"), core::round_to(row.HYPOTHEK, 2));
        EXPECT_EQ(t.num("RESTZINS"), core::round_to(row.RESTZINS, 2));
        EXPECT_EQ(t.num("GEBUSUM"), core::round_to(row.GEBUSUM, 2));
        if (row.KEY == 1) {
            EXPECT_EQ(t.num("ABJAHR"), row.ABJAHR);
            EXPECT_EQ(t.num("ZINSEN"), core::round_to(row.ZINSEN, 2));
            EXPECT_EQ(t.str("MONRSUM"), std::string(12, ' '));
        } else {
            EXPECT_EQ(t.str("ABJAHR"), std::string(4, ' '));
            EXPECT_EQ(t.str("MONRATE"), std::string(12, ' '));
            EXPECT_EQ(t.num("MONRSUM"), core::round_to(row.MONRSUM, 2));
        }
        t.skip();
    }
    EXPECT_TRUE(t.eof());
    t.close();
    // The file on disk is complete right after writing.
    const auto layout = dbf::read_layout(dir / "HYPOTHEK.DBF");
    ASSERT_TRUE(layout.has_value());
    dbf::Table again;
    ASSERT_TRUE(again.open(dir / "HYPOTHEK.DBF", "HYPOTHEK"));
    EXPECT_EQ(again.count(), static_cast<long>(o.rows.size()));
}

TEST(HypoBank, SaveAppendsOnceAndRewritesTheRecordOfTheName) {
    test::TempDir dir;
    dbf::Table t = open_new(dir, "HYPOBANK", core::catalogue_layout("HYPOBANK"));
    HypoInputs in = mortgage();
    hypobank_save(t, in, HypoResults{});
    HypoInputs other = mortgage();
    other.CBANKNAME = "Volksbank";
    hypobank_save(t, other, HypoResults{});
    EXPECT_EQ(t.count(), 2);

    // The same name in other case is the same record.
    in.CBANKNAME = "SPARKASSE SÜD";
    in.NHYPOTHEK = 150000;
    const HypoOutcome o = ht_tab(in);
    hypobank_save(t, in, o.results);
    EXPECT_EQ(t.count(), 2);

    ASSERT_TRUE(hypobank_seek(t, "sparkasse süd  "));
    EXPECT_EQ(t.num("HYPOTHEK"), 150000.0);
    EXPECT_EQ(t.num("ZINSSUM"), core::round_to(o.results.NZINSSUM, 2));
    EXPECT_EQ(t.num("ANNUITAT"), core::round_to(o.results.NANNUITAT, 2));
    EXPECT_EQ(t.num("EFFZINS"), core::round_to(o.results.NEFFZINS, 3));
    EXPECT_EQ(t.num("TILGZEIT"), o.results.NTILGZEIT);
    EXPECT_EQ(t.num("EINMALMO"), 6);
    EXPECT_EQ(t.str("ABJAHR"), std::string(4, ' '));

    const HypoInputs back = hypobank_load(t);
    EXPECT_EQ(back.CBANKNAME, core::pad_utf8("SPARKASSE SÜD", 40));
    EXPECT_EQ(back.NHYPOTHEK, 150000.0);
    EXPECT_EQ(back.NZINSSATZ, 5.0);
    EXPECT_EQ(back.NTILGANNO, 2.0);
    EXPECT_EQ(back.DABDATUM, (Date{2007, 1, 1}));
    EXPECT_EQ(back.NLAUFZEIT, 10);
    EXPECT_EQ(back.NKONTOGEB, 30.0);
    EXPECT_EQ(back.NKREDITPR, 1.0);
    EXPECT_EQ(back.NKREDITDM, 1000.0);
    EXPECT_EQ(back.NZINSNACH, 6.0);
    EXPECT_EQ(back.NEINMALDM, 2000.0);
    EXPECT_EQ(back.NEINMALMO, 6);

    EXPECT_FALSE(hypobank_seek(t, "Postbank"));
    // A deleted record is not found any more.
    ASSERT_TRUE(hypobank_seek(t, "Volksbank"));
    t.delete_record();
    EXPECT_FALSE(hypobank_seek(t, "Volksbank"));
}

TEST(HypoBank, EmptyRecordLoadsWithTodayAndMonthOne) {
    test::TempDir dir;
    core::set_today_for_tests(Date{2024, 5, 17});
    dbf::Table t = open_new(dir, "HYPOBANK", core::catalogue_layout("HYPOBANK"));
    EXPECT_FALSE(hypobank_seek(t, "Sparkasse"));
    t.go_top();  // empty table: at its end
    const HypoInputs none = hypobank_load(t);
    EXPECT_EQ(core::trim(none.CBANKNAME), "");
    EXPECT_EQ(none.NHYPOTHEK, 0.0);
    EXPECT_EQ(none.DABDATUM, (Date{2024, 5, 17}));
    EXPECT_EQ(none.NEINMALMO, 1);
    // A record with an empty date and month 0 (as migrated records can be).
    t.append_blank();
    t.set_str("BANKNAME", "Alt");
    t.set_num("HYPOTHEK", 5000);
    const HypoInputs old = hypobank_load(t);
    EXPECT_EQ(old.DABDATUM, (Date{2024, 5, 17}));
    EXPECT_EQ(old.NEINMALMO, 1);
    EXPECT_EQ(old.NHYPOTHEK, 5000.0);
    core::set_today_for_tests(Date{});
}

TEST(HypoBank, RatesKeepTheirDecimalsInTheWidenedLayout) {
    test::TempDir dir;
    dbf::Table t = open_new(dir, "HYPOBANK", widened_hypobank());
    HypoInputs in = mortgage();
    in.NTILGANNO = 1.5;
    in.NZINSSATZ = 5.125;
    in.NZINSNACH = 6.375;
    in.NKREDITDM = 12345678.91;
    in.NKONTOGEB = 99999999.99;
    hypobank_save(t, in, HypoResults{});
    ASSERT_TRUE(hypobank_seek(t, in.CBANKNAME));
    const HypoInputs back = hypobank_load(t);
    EXPECT_EQ(back.NTILGANNO, 1.5);
    EXPECT_EQ(back.NZINSSATZ, 5.125);
    EXPECT_EQ(back.NZINSNACH, 6.375);
    EXPECT_EQ(back.NKREDITDM, 12345678.91);
    EXPECT_EQ(back.NKONTOGEB, 99999999.99);
}

TEST(RatkredTable, RowsAreWrittenInOrder) {
    test::TempDir dir;
    dbf::Table t = open_new(dir, "RATKRED", core::catalogue_layout("RATKRED"));
    RkInputs in;
    in.CBANKNAME = "Kreditbank";
    in.NKREDIT = 10000;
    in.NMONZINS = 6;
    in.NMONRATE = 100;
    const RkOutcome o = rk_rech(in, 2024);
    ASSERT_FALSE(o.refused);
    write_ratkred_rows(t, o.rows);
    ASSERT_EQ(t.count(), 200);
    t.go_bottom();
    EXPECT_EQ(t.num("MONAT"), 200);
    EXPECT_EQ(t.num("JAHR"), 2040);
    EXPECT_EQ(t.num("KREDIT"), 50.0);
    EXPECT_EQ(t.num("MONRATE"), 100.0);
    EXPECT_EQ(t.num("GETILGT"), 20000.0);
    EXPECT_EQ(t.trimmed("BANKNAME"), "Kreditbank");
    // A second computation replaces the rows.
    in.NLAUFZEIT = 12;
    write_ratkred_rows(t, rk_rech(in, 2024).rows);
    EXPECT_EQ(t.count(), 12);
}

TEST(KredBank, SaveAndLoadByName) {
    test::TempDir dir;
    dbf::Table t = open_new(dir, "KREDBANK", core::catalogue_layout("KREDBANK"));
    RkInputs in;
    in.CBANKNAME = "Kreditbank";
    in.NKREDIT = 10000;
    in.NMONZINS = 6;
    in.NBEARBPRO = 2;
    in.NBEARBGEB = 200;
    in.NLAUFZEIT = 12;
    const RkOutcome o = rk_rech(in, 2024);
    kredbank_save(t, in, o.results);
    kredbank_save(t, in, o.results);
    EXPECT_EQ(t.count(), 1);
    RkInputs second = in;
    second.CBANKNAME = "Andere Bank";
    kredbank_save(t, second, RkResults{});
    EXPECT_EQ(t.count(), 2);

    ASSERT_TRUE(kredbank_seek(t, "KREDITBANK"));
    EXPECT_EQ(t.num("ZAHLRATE"), 900.0);
    EXPECT_EQ(t.num("LASTRATE"), 900.0);
    EXPECT_EQ(t.num("TILGZEIT"), 1.0);
    EXPECT_EQ(t.num("TILGJAHR"), 0.0);
    EXPECT_EQ(t.num("ZINSSUM"), 600.0);
    EXPECT_EQ(t.num("TILGSUM"), 10600.0);
    const RkInputs back = kredbank_load(t);
    EXPECT_EQ(core::trim(back.CBANKNAME), "Kreditbank");
    EXPECT_EQ(back.NKREDIT, 10000.0);
    EXPECT_EQ(back.NMONZINS, 6.0);
    EXPECT_EQ(back.NBEARBPRO, 2.0);
    EXPECT_EQ(back.NBEARBGEB, 200.0);
    EXPECT_EQ(back.NLAUFZEIT, 12);
    EXPECT_EQ(back.NMONRATE, 0.0);
}

// Closing a dialog without computing saves the results it loaded: they must come back unchanged.
TEST(HypoBank, SavedResultsReadBackAsTheyWereSaved) {
    test::TempDir dir;
    dbf::Table t = open_new(dir, "HYPOBANK", core::catalogue_layout("HYPOBANK"));
    const HypoInputs in = mortgage();
    const HypoResults res = ht_tab(in).results;
    hypobank_save(t, in, res);
    ASSERT_TRUE(hypobank_seek(t, in.CBANKNAME));
    const HypoResults back = hypobank_results(t);
    for (auto [saved, read] : {std::pair{res.NZINSSUM, back.NZINSSUM},
                               {res.NTILGSUM, back.NTILGSUM},
                               {res.NTILGZEIT, back.NTILGZEIT},
                               {res.NGEBUSUM, back.NGEBUSUM},
                               {res.NEINMSUM, back.NEINMSUM},
                               {res.NANNUITAT, back.NANNUITAT},
                               {res.NANNUITA2, back.NANNUITA2}})
        EXPECT_NEAR(read, saved, 0.005);
    EXPECT_NEAR(back.NEFFZINS, res.NEFFZINS, 0.0005);
    // Saving what was read changes nothing in the settings entries.
    EXPECT_EQ(hypo_settings_entries(in, back)[5].value, core::format_shortest(back.NZINSSUM));
    hypobank_save(t, in, back);
    ASSERT_TRUE(hypobank_seek(t, in.CBANKNAME));
    EXPECT_EQ(hypobank_results(t).NANNUITAT, back.NANNUITAT);
    // At the end of the table: nothing saved, nothing read.
    t.go_bottom();
    t.skip();
    EXPECT_EQ(hypobank_results(t).NZINSSUM, 0);
}
