// The owner-occupied financing plan driven as a user would: the real mortgage and credit dialogs
// started as its children, the plan computed, read back with dbfread, shown and reopened.
#include "calc/plans/finzpl1_dialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QtTest/QTest>
#include <cstdlib>

#include "calc/plans/finzpl1.h"
#include "core/catalogue.h"
#include "core/clock.h"
#include "core/dbf.h"
#include "support/gui_fixture.h"
#include "toolkit/help.h"
#include "ui/blocks.h"
#include "ui/grid_dialog.h"
#include "ui/numeric_field.h"
#include "ui/table_grid.h"
#include "ui/text_field.h"

using namespace vestral;
using test::find;
using test::typeInto;
namespace dbf = vestral::core::dbf;

namespace {

void activate(QWidget* w) {
    QApplication::setActiveWindow(w);
    (void)QTest::qWaitForWindowActive(w);
    QApplication::processEvents();
}

void click(QWidget* d, const char* name) {
    QTest::mouseClick(find<QPushButton>(d, name), Qt::LeftButton);
    QApplication::processEvents();
}
bool enabled(QWidget* d, const char* name) {
    return find<QWidget>(d, name)->isEnabled();
}
bool checked(QWidget* d, const char* name) {
    return find<QCheckBox>(d, name)->isChecked();
}
QString value(QWidget* d, const char* name) {
    return find<ui::ResultField>(d, name)->text();
}
QColor text_colour(QWidget* d, const char* name) {
    return find<ui::ResultField>(d, name)->palette().color(QPalette::Text);
}

class Finzpl1DialogTest : public test::GuiTest {
  protected:
    void SetUp() override {
        GuiTest::SetUp();
        core::set_today_for_tests({2007, 1, 15});
        core::check_dbf(dir());
    }

    void run(const std::function<void(QWidget*)>& body) {
        bool ran = false;
        whenModal(
            [&](QWidget* d) {
                activate(d);
                QApplication::processEvents();  // CHECKDATA once shown
                body(d);
                ran = true;
                if (QApplication::activeModalWidget() == d) click(d, "closeButton");
            },
            "finzpl1Dialog");
        calc::finzpl1(nullptr);
        EXPECT_TRUE(ran);
    }

    // The mortgage child: 100 000 at 5,125 % and 2 % from 01.01.2007, computed, closed.
    void mortgage_child(const QString& bank, const QString& amount) {
        whenModal(
            [=](QWidget* h) {
                activate(h);
                typeInto(find<ui::TextField>(h, "bankName"), bank);
                typeInto(find<ui::NumericField>(h, "amount"), amount);
                typeInto(find<ui::NumericField>(h, "rate"), "5,125");
                typeInto(find<ui::NumericField>(h, "repayment"), "2");
                typeInto(find<ui::DateField>(h, "startDate"), "01012007");
                typeInto(find<ui::NumericField>(h, "fixedPeriod"), "10");
                typeInto(find<ui::NumericField>(h, "followRate"), "6");
                click(h, "computeButton");
                click(h, "closeButton");
            },
            "hypotilgDialog");
    }

    // The credit child: 10 000 at 6 % over `months` months; computed unless `compute` is false.
    void credit_child(const QString& months, bool compute = true) {
        whenModal(
            [=](QWidget* k) {
                activate(k);
                if (compute) {
                    typeInto(find<ui::TextField>(k, "bankname"), "Kreditbank");
                    typeInto(find<ui::NumericField>(k, "kredit"), "10000");
                    typeInto(find<ui::NumericField>(k, "zinssatz"), "6");
                    typeInto(find<ui::NumericField>(k, "laufzeit"), months);
                    click(k, "berechnenButton");
                }
                click(k, "schliessenButton");
            },
            "ratenkreditDialog");
    }

    std::string py(const std::string& script) {
        int rc = 0;
        const std::string out =
            test::run_python("from dbfread import DBF\nd = r'" + dir().string() + "'\n" + script, &rc);
        EXPECT_EQ(rc, 0) << out;
        return out;
    }

    std::string bytes(const char* file) { return dir_.read(file); }
};

}  // namespace

TEST_F(Finzpl1DialogTest, AMortgageAndACreditThroughTheirOwnDialogs) {
    std::string kre2;
    run([&](QWidget* d) {
        EXPECT_EQ(d->windowTitle(), "Finanzierungsplan bei Eigennutzung");
        EXPECT_EQ(toolkit::help::topic(), "Finanzierung bei Eigennutzung");
        // Nothing copied yet: every box off and disabled, nothing to compute.
        EXPECT_FALSE(checked(d, "hypo1Check"));
        EXPECT_FALSE(enabled(d, "hypo1Check"));
        EXPECT_FALSE(enabled(d, "computeButton"));
        EXPECT_FALSE(enabled(d, "tableButton"));
        EXPECT_FALSE(enabled(d, "printButton"));
        EXPECT_EQ(find<QPushButton>(d, "hypo1Button")->toolTip(), "1. Hypotheken-Finanzierung errechnen");

        mortgage_child("Testbank", "100000");
        click(d, "hypo1Button");
        EXPECT_EQ(toolkit::help::topic(), "Finanzierung bei Eigennutzung");
        EXPECT_TRUE(checked(d, "hypo1Check"));
        EXPECT_TRUE(enabled(d, "hypo1Check"));
        EXPECT_EQ(value(d, "hyposum1"), "100.000,00");
        EXPECT_EQ(find<QLabel>(d, "hypobank1")->text(), "Testbank");
        EXPECT_NE(text_colour(d, "hyposum1"), QColor(192, 192, 192));
        EXPECT_EQ(text_colour(d, "hyposum2"), QColor(192, 192, 192));

        credit_child("12");
        click(d, "darlehenButton");
        EXPECT_TRUE(checked(d, "darlehenCheck"));
        EXPECT_EQ(value(d, "darlsum"), "10.000,00");
        EXPECT_EQ(find<QLabel>(d, "darlbank")->text(), "Kreditbank");

        ASSERT_TRUE(enabled(d, "computeButton"));
        click(d, "computeButton");
        EXPECT_TRUE(messages().empty()) << lastMessage().toStdString();
        EXPECT_TRUE(enabled(d, "tableButton"));
        EXPECT_TRUE(enabled(d, "printButton"));
        EXPECT_EQ(value(d, "raten"), "110.000,00");  // principal + credit amount
        EXPECT_NE(value(d, "zinsen"), "0,00");

        // The grid in combined mode, with the dialog's buttons locked while it is open.
        bool shown = false;
        whenModal(
            [&](QWidget* g) {
                auto* grid = find<ui::TableGrid>(g, nullptr);
                EXPECT_EQ(g->windowTitle(), "Finanzierung bei Eigennutzung - Finanzierungsplan");
                EXPECT_EQ(find<QLabel>(g, "gridNote")->text(), "1. Hypothek und Ratenkredit");
                EXPECT_EQ(grid->heading(0), "Jahr ");
                EXPECT_EQ(grid->heading(1), "1. Hypothek ");
                EXPECT_EQ(grid->heading(2), "Ratenkredit ");
                EXPECT_EQ(grid->heading(5), "Kontostand ");
                EXPECT_EQ(grid->cellText(0, 0).trimmed(), "2007");
                EXPECT_EQ(grid->cellText(0, 1).trimmed(), "-100.000,00");
                EXPECT_EQ(grid->cellText(0, 5).trimmed(), "-110.000,00");
                for (const char* b : {"computeButton", "tableButton", "helpButton", "closeButton"})
                    EXPECT_FALSE(enabled(d, b)) << b;
                shown = true;
                click(g, "closeButton");
            },
            "fp1ShowDialog");
        click(d, "tableButton");
        EXPECT_TRUE(shown);
        EXPECT_TRUE(enabled(d, "closeButton"));

        // "Drucken": "Nein" twice opens and ends a job without pages.
        clearMessages();
        answer(toolkit::MsgAnswer::No);
        answer(toolkit::MsgAnswer::No);
        click(d, "printButton");
        ASSERT_EQ(messages().size(), 2u);
        EXPECT_EQ(messages()[0].title, "Drucken");
        EXPECT_EQ(messages()[0].text, "Einzeltilgungspläne drucken ?");
        EXPECT_EQ(messages()[1].text, "Gesamt-Tilgungsplan drucken ?");
        ASSERT_EQ(printed().size(), 1u);
        EXPECT_EQ(printed()[0].page_count(), 0);
        // "Ja" twice: the mortgage's and the credit's sections from the copies, then the overview.
        const std::string plan_bytes = bytes("FINZPL1.DBF");
        click(d, "printButton");
        ASSERT_EQ(printed().size(), 3u);
        const toolkit::PrintJob& sections = printed()[1];
        EXPECT_EQ(sections.name, "Finanzierungsplan bei Eigennutzung");
        ASSERT_NE(sections.find("Testbank"), nullptr);
        ASSERT_NE(sections.find("Ratenkredit - Details:"), nullptr);
        ASSERT_NE(sections.find("Kreditbank"), nullptr);
        EXPECT_NE(sections.find("2007"), nullptr);
        EXPECT_TRUE(printed()[2].landscape);
        EXPECT_NE(printed()[2].find("Gesamter Tilgungsplan als Übersicht"), nullptr);
        EXPECT_EQ(bytes("FINZPL1.DBF"), plan_bytes);  // printing changes nothing on disk
        EXPECT_TRUE(enabled(d, "closeButton"));

        // A credit dialog closed without "Berechnen" leaves the credit's copies as they were.
        kre2 = bytes("FP1KRE2.DBF");
        const std::string kre = bytes("FP1KRE.DBF");
        credit_child("", false);
        click(d, "darlehenButton");
        EXPECT_EQ(bytes("FP1KRE2.DBF"), kre2);
        EXPECT_EQ(bytes("FP1KRE.DBF"), kre);
        EXPECT_TRUE(checked(d, "darlehenCheck"));
        EXPECT_FALSE(enabled(d, "tableButton"));  // a source button clears the plan's validity
    });
    EXPECT_EQ(toolkit::help::topic(), "Hauptauswahl");

    const std::string check =
        py("from collections import defaultdict\n"
           "hyp = list(DBF(d + '/FP1HYP1.DBF'))\n"
           "z = defaultdict(float); a = defaultdict(float)\n"
           "for r in hyp:\n"
           "    z[r['ABJAHR']] += r['ZINSEN']; a[r['ABJAHR']] += r['ANUITAT']\n"
           "plan = list(DBF(d + '/FINZPL1.DBF'))\n"
           "bad = [p['JAHR'] for p in plan if abs(p['H1ZINSEN'] - round(z[p['JAHR']], 2)) > 0.001 or\n"
           "       abs(p['H1RATEN'] - round(a[p['JAHR']], 2)) > 0.001]\n"
           "print(set(r['KEY'] for r in hyp), len(plan) == len(z), bad, plan[0]['H1SUMME'], "
           "plan[0]['RKSUMME'])\n"
           "t = list(DBF(d + '/FP1HYT1.DBF'))\n"
           "print(len(t), t[0]['BANKNAME'], t[0]['ZINSSATZ'], t[0]['TILGJAHR'], t[0]['HYPOTHEK'])\n");
    EXPECT_EQ(check, "{1} True [] -100000.0 -10000.0\n1 Testbank 5.125 2.0 100000.0\n");
    EXPECT_EQ(ini().get("FINZPL1", "Hypothek1", ""), "1");
    EXPECT_EQ(ini().get("FINZPL1", "HypoBank1", ""), "Testbank");
    EXPECT_EQ(ini().get("FINZPL1", "Ratkredit", ""), "1");
    EXPECT_EQ(ini().get("FINZPL1", "DarlSum", ""), "10000.00");
    EXPECT_EQ(ini().get("FINZPL1", "LaufZK", "missing"), "missing");
    EXPECT_EQ(ini().get("FINZPL1", "MonRateK", "missing"), "missing");
}

TEST_F(Finzpl1DialogTest, ReopeningFindsTheCopiesAndADeletedCopyClearsItsBox) {
    {
        dbf::Table t;
        ASSERT_TRUE(t.open(dir() / "HYPOTHEK.DBF", "HYPOTHEK"));
        std::vector<calc::HypoRow> rows(3);
        for (int i = 0; i < 3; ++i) {
            rows[i].BANKNAME = "Hausbank";
            rows[i].ABJAHR = 2007;
            rows[i].HYPOTHEK = 75000 - i * 100;
            rows[i].ANUITAT = 400;
        }
        calc::write_hypothek_rows(t, rows);
        t.close();
        ASSERT_TRUE(calc::fp1_copy_mortgage(dir(), 1).taken);
    }
    ini().set_many("FINZPL1", {{"HypoBank1", "Hausbank"}});
    run([&](QWidget* d) {
        EXPECT_TRUE(checked(d, "hypo1Check"));
        EXPECT_EQ(value(d, "hyposum1"), "75.000,00");
        EXPECT_EQ(find<QLabel>(d, "hypobank1")->text(), "Hausbank");
        // Only the first mortgage: single mode.
        click(d, "computeButton");
        bool shown = false;
        whenModal(
            [&](QWidget* g) {
                auto* grid = find<ui::TableGrid>(g, nullptr);
                EXPECT_EQ(find<QLabel>(g, "gridNote")->text(), "Nur 1. Hypothek");
                EXPECT_EQ(grid->columns(), 5);
                EXPECT_EQ(grid->heading(4), "Jahrestilgung ");
                EXPECT_EQ(grid->cellText(0, 2).trimmed(), "1.200,00");
                shown = true;
                click(g, "closeButton");
            },
            "fp1ShowDialog");
        click(d, "tableButton");
        EXPECT_TRUE(shown);
        // Unticking the box empties the plan and locks the views.
        find<QCheckBox>(d, "hypo1Check")->click();
        EXPECT_FALSE(enabled(d, "tableButton"));
        EXPECT_FALSE(enabled(d, "printButton"));
        EXPECT_FALSE(enabled(d, "computeButton"));
        EXPECT_EQ(value(d, "raten"), "0,00");
    });
    {
        dbf::Table plan;
        ASSERT_TRUE(plan.open(dir() / "FINZPL1.DBF", "FINZPL1"));
        EXPECT_EQ(plan.count(), 0);
    }
    std::filesystem::remove(dir() / "FP1HYP1.DBF");
    ini().set_many("FINZPL1", {{"Hypothek1", "1"}});
    run([&](QWidget* d) {
        EXPECT_FALSE(checked(d, "hypo1Check"));
        EXPECT_FALSE(enabled(d, "hypo1Check"));
        EXPECT_EQ(value(d, "hyposum1"), "0,00");
    });
}

TEST_F(Finzpl1DialogTest, OnlyTheCreditWithAnEmptyCopyFindsNoData) {
    ASSERT_TRUE(dbf::create_table(dir() / "FP1KRE.DBF", core::catalogue_layout("RATKRED")));
    ini().set_many("FINZPL1", {{"Hypothek1", "0"}, {"Ratkredit", "1"}, {"DarlSum", "5000.00"}});
    const std::string before = bytes("VESTRAL.INI");
    run([&](QWidget* d) {
        EXPECT_TRUE(checked(d, "darlehenCheck"));
        ASSERT_TRUE(enabled(d, "computeButton"));
        click(d, "computeButton");
        ASSERT_EQ(messages().size(), 1u);
        EXPECT_EQ(messages()[0].title, "Fehler");
        EXPECT_EQ(messages()[0].text, "Es wurden keine Daten gefunden !");
        EXPECT_FALSE(enabled(d, "tableButton"));
        EXPECT_FALSE(enabled(d, "printButton"));
    });
    EXPECT_EQ(bytes("VESTRAL.INI"), before);  // nothing saved
}

TEST_F(Finzpl1DialogTest, TheContractBoxDependsOnTheStoredSumAndOnlyAmortisationEmptiesThePlan) {
    ini().set_many("FINZPL1",
                   {{"Hypothek1", "0"}, {"Bauspar", "1"}, {"BauSpSum", "50000.00"}, {"Abschreib", "1"}});
    ini().set_many("USER", {{"Einkommen ", "80000.00"}, {"Kinder", "2"}});
    ini().set_many("AFA", {{"Abschreibung", "10000.00"}, {"Kindergeld", "6400.00"}});
    {
        dbf::Table t;
        ASSERT_TRUE(t.open(dir() / "ABSCHEPL.DBF", "ABSCHEPL"));
        calc::write_abschepl_rows(t, {{2007, 80000, 0, 1250, 800, 400}, {2008, 80000, 0, 1250, 800, 410}});
        t.close();
    }
    run([&](QWidget* d) {
        EXPECT_TRUE(checked(d, "bausparCheck"));  // FP1BAU is missing; the box stays
        EXPECT_TRUE(enabled(d, "bausparCheck"));
        EXPECT_TRUE(enabled(d, "nurTilgCheck"));
        EXPECT_TRUE(checked(d, "zulageCheck"));
        EXPECT_EQ(value(d, "einkomm"), "80.000,00");
        EXPECT_EQ(value(d, "kinder"), "2");
        EXPECT_EQ(value(d, "abschreib"), "10.000,00");
        EXPECT_NE(text_colour(d, "einkomm"), QColor(192, 192, 192));
        click(d, "computeButton");  // the contract is skipped, the allowance computed
        EXPECT_TRUE(messages().empty()) << lastMessage().toStdString();
        EXPECT_EQ(value(d, "ljahre"), "2");
        EXPECT_TRUE(enabled(d, "tableButton"));
        find<QCheckBox>(d, "nurTilgCheck")->click();
        EXPECT_FALSE(enabled(d, "tableButton"));
        find<QCheckBox>(d, "zulageCheck")->click();
        EXPECT_EQ(text_colour(d, "einkomm"), QColor(192, 192, 192));
    });
    EXPECT_EQ(ini().get("FINZPL1", "Abschreib", ""), "1");
    EXPECT_EQ(ini().get("FINZPL1", "Abschreibung", ""), "10000.00");
}

namespace {

// Writes a source table from rows computed by its own calculator and takes it over, as the
// source buttons do after the child dialog closed.
template <class Row>
void source_table(const std::filesystem::path& dir, const char* table, const core::dbf::RecordMap<Row>& map,
                  const std::vector<Row>& rows) {
    dbf::Table t;
    ASSERT_TRUE(t.open(dir / (std::string(table) + ".DBF"), table));
    map.write_rows(t, rows);
    t.close();
}

calc::HypoInputs mortgage_inputs(const std::string& bank, double amount, double rate) {
    calc::HypoInputs in;
    in.CBANKNAME = bank;
    in.NHYPOTHEK = amount;
    in.NZINSSATZ = rate;
    in.NTILGANNO = 2;
    in.DABDATUM = {2007, 3, 1};
    in.NLAUFZEIT = 10;
    in.NZINSNACH = rate;
    return in;
}

}  // namespace

// Pictures of the dialog and of the grid in combined and single mode: VESTRAL_SHOTS=/dir, run
// under xvfb-run with VESTRAL_QPA=xcb (the whole virtual screen is taken with ImageMagick).
TEST_F(Finzpl1DialogTest, Screenshots) {
    const char* shots = std::getenv("VESTRAL_SHOTS");
    if (!shots) GTEST_SKIP() << "VESTRAL_SHOTS not set";
    std::filesystem::create_directories(shots);
    auto save = [&](QWidget* w, const char* name) {
        w->raise();
        QTest::qWait(300);
        const std::string file = std::string(shots) + "/" + name + ".png";
        if (std::system(("import -window root '" + file + "' 2>/dev/null").c_str()) != 0) {
            EXPECT_TRUE(w->grab().save(QString::fromStdString(file)));
        }
    };
    source_table(dir(), "HYPOTHEK", calc::hypothek_map(),
                 calc::ht_tab(mortgage_inputs("Sparkasse Köln", 600000, 5.125)).rows);
    ASSERT_TRUE(calc::fp1_copy_mortgage(dir(), 1).taken);
    source_table(dir(), "HYPOTHEK", calc::hypothek_map(),
                 calc::ht_tab(mortgage_inputs("Volksbank Süd", 600000, 4.5)).rows);
    ASSERT_TRUE(calc::fp1_copy_mortgage(dir(), 2).taken);
    calc::RkInputs rk;
    rk.CBANKNAME = "Kreditbank";
    rk.NKREDIT = 20000;
    rk.NMONZINS = 6;
    rk.NLAUFZEIT = 60;
    source_table(dir(), "RATKRED", calc::ratkred_map(), calc::rk_rech(rk, 2007).rows);
    ASSERT_TRUE(calc::fp1_copy_credit(dir()).taken);
    calc::BauInputs bau;
    bau.CBANKNAME = "Bausparkasse Nord";
    bau.NBAUSPSUM = 50000;
    bau.NABSCHGEB = 1;
    bau.NKONTOGEB = 1;
    bau.NABJAHR = 2007;
    bau.NSPARTEIL = 40;
    bau.NSZINSSTZ = 2;
    bau.NMONRATE = 300;
    bau.NTILGANNO = 6;
    bau.NTZINSSTZ = 4;
    bau.NTFESTZEIT = 10;
    bau.NTZINSNACH = 4;
    source_table(dir(), "BAUSPAR", calc::bauspar_map(), calc::bau_rech(bau).rows);
    ASSERT_TRUE(calc::fp1_copy_contract(dir()).taken);
    calc::AbschrInputs a;
    a.NFAMSTAND = 2;
    a.NEINKOMM = 120000;
    a.NKINDER = 2;
    a.NKAUFPREIS = 300000;
    a.NEINZUG = 2005;
    a.LNEUBAU = a.LA10E = true;
    const calc::AbschrOutcome ao = calc::abschrech(a);
    source_table(dir(), "ABSCHEPL", calc::abschepl_map(), ao.rows);
    ini().set_many("FINZPL1", {{"HypoBank1", "Sparkasse Köln"},
                               {"Hypothek2", "1"},
                               {"HypoBank2", "Volksbank Süd"},
                               {"BauBank", "Bausparkasse Nord"},
                               {"Bauspar", "1"},
                               {"BauSpSum", "50000.00"},
                               {"DarlBank", "Kreditbank"},
                               {"Ratkredit", "1"},
                               {"Abschreib", "1"}});
    ini().set_many("USER", {{"Einkommen ", "120000.00"}, {"Kinder", "2"}});
    ini().set_many("AFA", {{"Abschreibung", core::format_plain(ao.results.NABSCHREIB, 2)},
                           {"Kindergeld", core::format_plain(ao.results.NKINDGELD, 2)}});
    run([&](QWidget* d) {
        click(d, "computeButton");
        save(d, "finzpl1_dialog");
        whenModal(
            [&](QWidget* g) {
                save(g, "finzpl1_grid_combined");
                click(g, "closeButton");
            },
            "fp1ShowDialog");
        click(d, "tableButton");
        for (const char* box : {"hypo2Check", "bausparCheck", "darlehenCheck", "zulageCheck"})
            find<QCheckBox>(d, box)->click();
        click(d, "computeButton");
        save(d, "finzpl1_dialog_single");
        whenModal(
            [&](QWidget* g) {
                save(g, "finzpl1_grid_single");
                click(g, "closeButton");
            },
            "fp1ShowDialog");
        click(d, "tableButton");
    });
}

TEST_F(Finzpl1DialogTest, TwoLargeMortgagesShowFiguresInTheTotals) {
    source_table(dir(), "HYPOTHEK", calc::hypothek_map(),
                 calc::ht_tab(mortgage_inputs("Bank A", 600000, 5)).rows);
    ASSERT_TRUE(calc::fp1_copy_mortgage(dir(), 1).taken);
    source_table(dir(), "HYPOTHEK", calc::hypothek_map(),
                 calc::ht_tab(mortgage_inputs("Bank B", 600000, 6)).rows);
    ASSERT_TRUE(calc::fp1_copy_mortgage(dir(), 2).taken);
    ini().set_many("FINZPL1", {{"Hypothek2", "1"}});
    run([&](QWidget* d) {
        EXPECT_TRUE(checked(d, "hypo2Check"));
        click(d, "computeButton");
        EXPECT_EQ(value(d, "raten"), "1.200.000,00");
        EXPECT_EQ(value(d, "zinsen").indexOf('*'), -1) << value(d, "zinsen").toStdString();
    });
}
