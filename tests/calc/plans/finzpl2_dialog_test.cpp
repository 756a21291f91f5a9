// The letting financing plan driven as a user would: typed income and rent, the depreciation's
// copy, the plan computed and read back with dbfread, its grid and its printout.
#include "calc/plans/finzpl2_dialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest/QTest>
#include <cstdlib>
#include <sstream>

#include "calc/tax/einksteuer.h"
#include "core/catalogue.h"
#include "core/clock.h"
#include "core/dbf.h"
#include "support/gui_fixture.h"
#include "support/plan_sources.h"
#include "toolkit/help.h"
#include "ui/blocks.h"
#include "ui/grid_dialog.h"
#include "ui/numeric_field.h"
#include "ui/table_grid.h"

using namespace vestral;
using test::find;
using test::typeInto;
namespace dbf = vestral::core::dbf;

namespace {

void click(QWidget* d, const char* name) {
    QTest::mouseClick(find<QPushButton>(d, name), Qt::LeftButton);
    QApplication::processEvents();
}
bool enabled(QWidget* d, const char* name) {
    return find<QWidget>(d, name)->isEnabled();
}

class Finzpl2DialogTest : public test::GuiTest {
  protected:
    void SetUp() override {
        GuiTest::SetUp();
        core::set_today_for_tests({2003, 6, 1});
        core::check_dbf(dir());
    }
    void TearDown() override {
        core::set_today_for_tests({});
        GuiTest::TearDown();
    }

    // The depreciation's copy: 2 000 a year at 2 % from 2003 for `years` years.
    void depreciation_copy(int years) {
        ASSERT_TRUE(dbf::create_table(dir() / "FP2AFA.DBF", core::catalogue_layout("STEU75E")));
        dbf::Table t;
        ASSERT_TRUE(t.open(dir() / "FP2AFA.DBF", "FP2AFA"));
        for (int k = 0; k < years; ++k) {
            t.append_blank();
            t.set_num("JAHR", 2003 + k);
            t.set_num("FREIBETRAG", 2000);
            t.set_num("STJAHR", k + 1);
            t.set_num("STVORTEIL", 2);
        }
        t.flush();
        t.close();
    }

    void run(const std::function<void(QWidget*)>& body) {
        bool ran = false;
        whenModal(
            [&](QWidget* d) {
                QApplication::setActiveWindow(d);
                (void)QTest::qWaitForWindowActive(d);
                QApplication::processEvents();
                body(d);
                ran = true;
                if (QApplication::activeModalWidget() == d) click(d, "closeButton");
            },
            "finzpl2Dialog");
        calc::finzpl2(nullptr);
        EXPECT_TRUE(ran);
    }

    std::string bytes(const char* file) { return dir_.read(file); }
};

}  // namespace

TEST_F(Finzpl2DialogTest, TypedIncomeAndRentAreTaxedWithTheDepreciation) {
    depreciation_copy(31);
    ini().set_many("FINZPL2", {{"Hypothek1", "0"}, {"Abschreib", "1"}});
    ini().set_many("AFA75", {{"Kaufpreis", "100000.00"}, {"AfADau", "50"}});
    run([&](QWidget* d) {
        EXPECT_EQ(d->windowTitle(), "Finanzierungsplan bei Vermietung");
        EXPECT_EQ(toolkit::help::topic(), "Finanzierung bei Vermietung");
        EXPECT_GE(d->height(), 470);
        EXPECT_GE(d->width(), 611);
        EXPECT_EQ(find<QPushButton>(d, "abschreibButton")->text(), "&Abschreibung berechnen");
        EXPECT_EQ(find<QPushButton>(d, "abschreibButton")->toolTip(), "Abschreibung errechnen");
        EXPECT_TRUE(find<QCheckBox>(d, "afaCheck")->isChecked());
        EXPECT_EQ(find<ui::ResultField>(d, "immowert")->text(), "100.000,00");
        EXPECT_FALSE(enabled(d, "afaCheck"));  // no income yet
        EXPECT_TRUE(find<QRadioButton>(d, "ledigRadio")->isChecked());

        // A value out of bounds is refused with its message; the field keeps the focus.
        typeInto(find<ui::NumericField>(d, "einksteig"), "25");
        ASSERT_FALSE(messages().empty());
        EXPECT_NE(lastMessage().indexOf("Einkommenssteigerung"), -1) << lastMessage().toStdString();
        EXPECT_TRUE(find<ui::NumericField>(d, "einksteig")->hasFocus());
        clearMessages();
        typeInto(find<ui::NumericField>(d, "einksteig"), "2");
        EXPECT_TRUE(messages().empty());
        typeInto(find<ui::NumericField>(d, "einkommen"), "50000");
        typeInto(find<ui::NumericField>(d, "miete"), "12000");
        EXPECT_TRUE(enabled(d, "afaCheck"));
        find<QRadioButton>(d, "verheiratetRadio")->click();

        click(d, "computeButton");
        EXPECT_TRUE(messages().empty()) << lastMessage().toStdString();
        EXPECT_EQ(find<ui::ResultField>(d, "ljahre")->text().trimmed(), "31");
        ASSERT_TRUE(enabled(d, "tableButton"));

        bool shown = false;
        whenModal(
            [&](QWidget* g) {
                auto* grid = find<ui::TableGrid>(g, nullptr);
                QStringList heads;
                for (int c = 0; c < grid->columns(); ++c) heads << grid->heading(c);
                EXPECT_EQ(heads, (QStringList{"Jahr ", "Abschreibung ", "AfA-Rate ", "Einkommen ",
                                              "Mieteinn. ", "Steuererleicht. ", "Zinsen gesamt ",
                                              "Raten gesamt ", "Kontostand "}));
                EXPECT_EQ(grid->cellText(1, 3).trimmed(), "51.000,00");
                shown = true;
                click(g, "closeButton");
            },
            "fp2ShowDialog");
        click(d, "tableButton");
        EXPECT_TRUE(shown);

        answer(toolkit::MsgAnswer::Yes);
        answer(toolkit::MsgAnswer::Yes);
        click(d, "printButton");
        ASSERT_EQ(messages().size(), 2u);
        EXPECT_EQ(messages()[1].text, "Gesamttilgungsplan drucken ?");
        ASSERT_EQ(printed().size(), 2u);
        EXPECT_EQ(printed()[0].name, "Finanzierungsplan bei Vermietung");
        EXPECT_NE(printed()[0].find("Dauer der Abschreibung:"), nullptr);
        EXPECT_NE(printed()[0].find("Splittingtabelle"), nullptr);
        EXPECT_NE(printed()[1].find("Eink. + Mieten"), nullptr);
    });
    // The stored taxes are the tax of the stored fields with this year's tariff, also 30 years on.
    int rc = 0;
    const std::string text = test::run_python(
        "from dbfread import DBF\n"
        "for r in DBF(r'" +
            (dir() / "FINZPL2.DBF").string() +
            "'):\n"
            "    print(r['JAHR'], r['EINKOMM'], r['MIETE'], r['BSSPZINS'], r['AFA'], r['ZINSENGES'], "
            "r['AFAEKST1'], r['AFAEKST2'], r['STEUERERL'])\n",
        &rc);
    ASSERT_EQ(rc, 0) << text;
    std::istringstream lines(text);
    int n = 0, jahr = 0;
    double e, m, bz, a, z, t1, t2, st;
    while (lines >> jahr >> e >> m >> bz >> a >> z >> t1 >> t2 >> st) {
        ++n;
        EXPECT_NEAR(t1, calc::einksteuer(2, e + m, 2003), 0.005) << jahr;
        EXPECT_NEAR(t2, calc::einksteuer(2, core::round_to(e + m + bz - a - z, 2), 2003), 0.005) << jahr;
    }
    EXPECT_EQ(n, 31);
    EXPECT_EQ(jahr, 2033);
    // Saved after the computation: the letting section and the shared income keys.
    EXPECT_EQ(ini().get("FINZPL2", "Abschreib", ""), "1");
    EXPECT_EQ(ini().get("FINZPL2", "DarlSum", "missing"), "missing");
    EXPECT_EQ(ini().get("FINZPL2", "Kindergeld", "missing"), "missing");
    EXPECT_EQ(ini().get("USER", "Einkommen ", ""), "50000.00");
    EXPECT_EQ(ini().get("USER", "Familienstand", ""), "2");
    EXPECT_EQ(ini().get("USER", "Miete", ""), "12000.00");

    // Reopened: the typed values come back.
    run([&](QWidget* d) {
        EXPECT_EQ(find<ui::NumericField>(d, "einkommen")->value(), 50000);
        EXPECT_EQ(find<ui::NumericField>(d, "einksteig")->value(), 2);
        EXPECT_TRUE(find<QRadioButton>(d, "verheiratetRadio")->isChecked());
    });
}

TEST_F(Finzpl2DialogTest, IncomeWithoutASourceFindsNoData) {
    ini().set_many("FINZPL2", {{"Hypothek1", "0"}, {"Abschreib", "1"}});
    ini().set_many("USER", {{"Einkommen ", "50000.00"}});
    const std::string before = bytes("VESTRAL.INI");
    run([&](QWidget* d) {
        ASSERT_TRUE(enabled(d, "computeButton"));
        click(d, "computeButton");
        ASSERT_EQ(messages().size(), 1u);
        EXPECT_EQ(messages()[0].text, "Es wurden keine Daten gefunden !");
        EXPECT_FALSE(enabled(d, "printButton"));
    });
    EXPECT_EQ(bytes("VESTRAL.INI"), before);
}

// Pictures of the dialog and its grid: VESTRAL_SHOTS=/dir, run under xvfb-run with VESTRAL_QPA=xcb.
TEST_F(Finzpl2DialogTest, Screenshots) {
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
    depreciation_copy(20);
    ini().set_many("FINZPL2", {{"Hypothek1", "0"}, {"Abschreib", "1"}});
    ini().set_many("USER", {{"Einkommen ", "65000.00"},
                            {"EinkSteig ", "2.00"},
                            {"Miete", "9600.00"},
                            {"MietSteig", "1.50"},
                            {"Familienstand", "2"}});
    ini().set_many("AFA75", {{"Kaufpreis", "250000.00"}});
    run([&](QWidget* d) {
        click(d, "computeButton");
        save(d, "finzpl2_dialog");
        whenModal(
            [&](QWidget* g) {
                save(g, "finzpl2_grid");
                click(g, "closeButton");
            },
            "fp2ShowDialog");
        click(d, "tableButton");
    });
}

TEST_F(Finzpl2DialogTest, TheDepreciationIsTakenOverFromItsCalculator) {
    ini().set_many("FINZPL2", {{"Hypothek1", "0"}});
    ini().set_many("USER", {{"Einkommen ", "40000.00"}});
    run([&](QWidget* d) {
        EXPECT_FALSE(find<QCheckBox>(d, "afaCheck")->isChecked());
        bool started = false;
        whenModal(
            [&](QWidget* a) {
                started = true;
                EXPECT_EQ(a->parentWidget(), d);
                typeInto(find<ui::NumericField>(a, "NKAUFPREIS"), "100000");
                typeInto(find<QWidget>(a, "DKAUFDAT"), "01032004");
                typeInto(find<QWidget>(a, "DFERTDAT"), "15092004");
                click(a, "computeButton");
                click(a, "closeButton");
            },
            "afa75Dialog");
        click(d, "abschreibButton");
        ASSERT_TRUE(started);
        EXPECT_TRUE(find<QCheckBox>(d, "afaCheck")->isChecked());
        EXPECT_EQ(find<ui::ResultField>(d, "immowert")->text(), "100.000,00");
        click(d, "computeButton");
        EXPECT_TRUE(messages().empty()) << lastMessage().toStdString();
        EXPECT_EQ(find<ui::ResultField>(d, "ljahre")->text().trimmed(), "50");
    });
    const auto copy = calc::fp2_read_depreciation(dir());
    ASSERT_TRUE(copy);
    EXPECT_EQ(copy->size(), 50u);
    EXPECT_EQ(ini().get("FINZPL2", "Abschreib", ""), "1");
}
