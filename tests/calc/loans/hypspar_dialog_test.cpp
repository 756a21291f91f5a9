// The split financing dialog driven as a user would: both plans, the couplings, the saved plans
// under a pair of names (also from an old-layout store), the views and the printout.
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QtTest/QTest>

#include "calc/loans/hypspar.h"
#include "calc/loans/hypspar_dialog.h"
#include "core/catalogue.h"
#include "core/clock.h"
#include "core/dbf.h"
#include "support/gui_fixture.h"
#include "support/gui_steps.h"
#include "toolkit/help.h"
#include "ui/blocks.h"
#include "ui/grid_dialog.h"
#include "ui/numeric_field.h"
#include "ui/saved_plans_dialog.h"
#include "ui/text_field.h"

using namespace vestral;
using test::find;
using ui::NumericField;

namespace {

class HypsparDialogTest : public test::CalculatorTest {
  protected:
    void SetUp() override {
        GuiTest::SetUp();
        core::set_today_for_tests({2024, 3, 15});
        core::check_dbf(dir());
    }
    // Opens the dialog, runs `body` in it, then closes it with "Schließen". Returns what the
    // calculator reports: whether a plan was computed.
    bool run(const std::function<void(QWidget*)>& body) {
        bool computed = false;
        inDialog(
            "hypsparDialog", [&] { computed = calc::hypspar(nullptr); }, body, "schliessenButton");
        return computed;
    }
    static void click(QWidget* d, const char* name) { find<QPushButton>(d, name)->click(); }
    static QString result(QWidget* d, const char* name) {
        return find<ui::ResultField>(d, name)->text().trimmed();
    }
    static QString input(QWidget* d, const char* name) { return find<QLineEdit>(d, name)->text().trimmed(); }
    static bool enabled(QWidget* d, const char* name) { return find<QWidget>(d, name)->isEnabled(); }
    static NumericField* num(QWidget* d, const char* name) { return find<NumericField>(d, name); }

    // A savings target with its term and the mortgage of the same amount.
    static void enter(QWidget* d, const QString& spar, const QString& tilg, const QString& target,
                      const QString& term, const QString& rate = "1") {
        test::enter(find<ui::TextField>(d, "sparname"), spar);
        test::enter(num(d, "tilgsumm"), target);
        test::enter(num(d, "spzins"), rate);
        test::enter(num(d, "splzeit"), term);
        test::enter(find<ui::TextField>(d, "tilgname"), tilg);
        test::enter(num(d, "hypzsatz"), "6");
        test::enter(num(d, "hypzfest"), "10");
    }
};

}  // namespace

TEST_F(HypsparDialogTest, TermDrivenPlanFillsBothSidesOfTheTable) {
    EXPECT_TRUE(run([&](QWidget* d) {
        EXPECT_EQ(d->windowTitle(), "Gesplittete Finanzierung");
        EXPECT_EQ(toolkit::help::topic(), "Splittfinanzierung");
        EXPECT_EQ(num(d, "abjahr")->value(), 2024);  // no saved plan: this year
        EXPECT_EQ(find<QLabel>(d, "sparlzmrLabel")->text(), "");
        EXPECT_FALSE(enabled(d, "berechnenButton"));
        enter(d, "Sparkasse", "Hypobank", "12000", "1");
        // The target became the mortgage amount; the rate the follow-up rate.
        EXPECT_EQ(num(d, "hypothek")->value(), 12000);
        EXPECT_EQ(num(d, "hypznach")->value(), 6);
        ASSERT_TRUE(enabled(d, "berechnenButton"));
        click(d, "berechnenButton");
        EXPECT_TRUE(messages().empty()) << lastMessage().toStdString();
        EXPECT_EQ(result(d, "sparlzmr"), "991,00");
        EXPECT_EQ(find<QLabel>(d, "sparlzmrLabel")->text(), "monatl. Sparrate");
        EXPECT_EQ(find<QLabel>(d, "sparlzmrUnit")->text(), "EUR");
        EXPECT_EQ(result(d, "annuitat"), "60,00");
        EXPECT_EQ(result(d, "zinssum"), "720,00");
        EXPECT_EQ(result(d, "effzins"), "6,168");
        EXPECT_TRUE(enabled(d, "sparplanButton"));
        EXPECT_TRUE(enabled(d, "hypoplanButton"));
        EXPECT_TRUE(enabled(d, "druckenButton"));
    }));
    // 12 months carrying both sides, and the year end of both.
    EXPECT_EQ(dbfRows("HYPSPAR", "KEY1 KEY2").substr(0, 8), "1;5\n1;5\n");
    const std::string rows = dbfRows("HYPSPAR", "DATUM KEY1 KEY2 SPARRATE ANUITAT");
    EXPECT_NE(rows.find("2024-12-01;1;5;991.0;60.0"), std::string::npos) << rows;
    EXPECT_NE(rows.find("2024-12-31;2;6;11892.0;60.0"), std::string::npos) << rows;
    EXPECT_EQ(ini().get("HYSP", "SparLZMR", ""), "991");
    EXPECT_EQ(ini().get("HYSP", "Tilgname", "").substr(0, 8), "Hypobank");
}

TEST_F(HypsparDialogTest, SavedUnderTwoNamesReloadsEveryDecimal) {
    run([&](QWidget* d) {
        enter(d, "Fondsbank", "Hypobank Süd", "50000", "10", "2,125");
        test::enter(num(d, "hypzsatz"), "4,375");
        test::enter(num(d, "spauszu"), "3");
        click(d, "berechnenButton");
        ASSERT_TRUE(enabled(d, "sparplanButton"));
    });
    EXPECT_EQ(dbfRows("HYSPBANK", "SPARNAME TILGNAME SPZINS HYPZSATZ HYPZNACH"),
              "Fondsbank;Hypobank Süd;2.125;4.375;4.375\n");
    run([&](QWidget* d) {
        EXPECT_EQ(input(d, "sparname"), "Fondsbank");
        EXPECT_EQ(input(d, "tilgname"), "Hypobank Süd");
        EXPECT_EQ(num(d, "spzins")->value(), 2.125);
        EXPECT_EQ(num(d, "hypzsatz")->value(), 4.375);
        EXPECT_EQ(num(d, "hypznach")->value(), 4.375);
        EXPECT_EQ(num(d, "splzeit")->value(), 10);
        // The surcharge in EUR followed the found rate.
        EXPECT_GT(num(d, "spausdm")->value(), 0);
    });
}

TEST_F(HypsparDialogTest, OldLayoutStoreKeepsAllRecords) {
    // The layout the store had before its rates and fees were widened.
    core::dbf::Layout old = core::catalogue_layout("HYSPBANK");
    for (auto& f : old) {
        if (f.name == "SPZINS") f.width = 12, f.decimals = 2;
        if (f.name == "HYPZSATZ" || f.name == "HYPZNACH" || f.name == "SPAUSDM" || f.name == "TIKTOGEB" ||
            f.name == "KREDITDM")
            f.width = 9, f.decimals = 2;
    }
    ASSERT_EQ(core::dbf::newheadlen(old), 309);
    const auto file = dir() / "HYSPBANK.DBF";
    std::filesystem::remove(file);
    ASSERT_TRUE(core::dbf::create_table(file, old));
    {
        core::dbf::Table t;
        ASSERT_TRUE(t.open(file, "X"));
        const char* names[] = {"Alpha", "Beta", "Gamma"};
        for (int i = 0; i < 3; ++i) {
            t.append_blank();
            t.set_str("SPARNAME", names[i]);
            t.set_str("TILGNAME", "Hypo");
            t.set_num("TILGSUMM", 10000 * (i + 1));
            t.set_num("SPZINS", 2.5);
            t.set_num("HYPZSATZ", 5.13);
            t.set_num("KREDITDM", 1000.5);
        }
        t.flush();
    }
    core::check_dbf(dir());
    EXPECT_EQ(dbfRows("HYSPBANK", "SPARNAME TILGSUMM SPZINS HYPZSATZ KREDITDM"),
              "Alpha;10000.0;2.5;5.13;1000.5\nBeta;20000.0;2.5;5.13;1000.5\nGamma;30000.0;2.5;5.13;1000.5\n");
    auto layout = core::dbf::read_layout(file);
    ASSERT_TRUE(layout);
    EXPECT_EQ(core::dbf::newheadlen(*layout), 318);
    // The list offers all three; "Laden" takes one over and focuses the mortgage amount.
    run([&](QWidget* d) {
        whenModal(
            [](QWidget* list) {
                EXPECT_EQ(list->windowTitle(), "Splittfinanzierung-Tilgungspläne");
                auto* grid = find<ui::TableGrid>(list, "tableGrid");
                ASSERT_EQ(grid->rows(), 3);
                const char* heads[] = {" Sparbank", " Hypobank", "Sparbetrag ", "Zinssatz ", "mon. Rate "};
                for (int c = 0; c < 5; ++c) EXPECT_EQ(grid->heading(c), heads[c]);
                EXPECT_EQ(grid->cellText(1, 0), " Beta");
                EXPECT_EQ(grid->cellText(1, 2).trimmed(), "20.000,00");
                grid->selectRow(1);
                find<QPushButton>(list, "takeButton")->click();
            },
            "savedPlansDialog");
        click(d, "ladenButton");
        EXPECT_EQ(input(d, "sparname"), "Beta");
        EXPECT_EQ(num(d, "tilgsumm")->value(), 20000);
        EXPECT_EQ(num(d, "kreditdm")->value(), 1000.5);
        EXPECT_EQ(d->focusWidget(), num(d, "hypothek"));
    });
}

TEST_F(HypsparDialogTest, EmptyStoreAndRefusals) {
    run([&](QWidget* d) {
        clearMessages();
        click(d, "ladenButton");
        ASSERT_EQ(messages().size(), 1u);
        EXPECT_EQ(messages()[0].title, "Problem");
        EXPECT_EQ(messages()[0].text, "Es sind noch keine Tilgungspläne gespeichert !");
        enter(d, "S", "H", "12000", "0");
        clearMessages();
        click(d, "berechnenButton");
        ASSERT_EQ(messages().size(), 1u);
        EXPECT_EQ(messages()[0].text, "Bitte geben Sie die Laufzeit oder die monatliche Rate ein !");
        EXPECT_FALSE(enabled(d, "sparplanButton"));
        test::enter(num(d, "tilgsumm"), "100000");
        test::enter(num(d, "spmrate"), "10");
        clearMessages();
        click(d, "berechnenButton");
        ASSERT_EQ(messages().size(), 1u);
        EXPECT_EQ(messages()[0].text, "Mit dieser Rate wird die Ansparsumme nicht erreicht !");
        // The rate is bounded by a twelfth of the target.
        clearMessages();
        test::enter(num(d, "spmrate"), "9000");
        ASSERT_EQ(messages().size(), 1u);
        EXPECT_EQ(
            messages()[0].text,
            "Die Eingabe für 'monatl. Rate' ist zu hoch !\nGeben Sie einen Wert zwischen 0 und 8333.33 ein.");
        EXPECT_FALSE(enabled(d, "berechnenButton"));
    });
}

TEST_F(HypsparDialogTest, CouplingsOfTheFields) {
    run([&](QWidget* d) {
        // Each field passed on the way must hold a valid value, or its message keeps the focus.
        test::enter(num(d, "tilgsumm"), "24000");
        test::enter(num(d, "spzins"), "1");
        test::enter(num(d, "splzeit"), "2");
        test::enter(num(d, "spmrate"), "500,50");
        EXPECT_EQ(num(d, "spmrate")->value(), 500.5);  // the comma is the decimal comma
        EXPECT_EQ(num(d, "splzeit")->value(), 0);
        test::enter(num(d, "splzeit"), "3");
        EXPECT_EQ(num(d, "spmrate")->value(), 0);
        test::enter(num(d, "spmrate"), "500");
        test::enter(num(d, "spauszu"), "3");
        EXPECT_EQ(num(d, "spausdm")->value(), 15);
        // Typing in the percent empties the EUR field until the percent is left.
        QWidget* pct = num(d, "spauszu");
        pct->setFocus(Qt::TabFocusReason);
        QApplication::processEvents();
        QTest::keyClick(pct, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(pct, '2');
        EXPECT_EQ(num(d, "spausdm")->value(), 0);
        QTest::keyClick(pct, Qt::Key_Tab);
        EXPECT_EQ(num(d, "spausdm")->value(), 10);
        test::enter(num(d, "hypothek"), "50000");
        test::enter(num(d, "hypzsatz"), "6");
        test::enter(num(d, "hypzfest"), "10");
        test::enter(num(d, "kreditpr"), "2");
        EXPECT_EQ(num(d, "kreditdm")->value(), 1000);
        test::enter(num(d, "kreditdm"), "500");
        EXPECT_EQ(num(d, "kreditpr")->value(), 1);
    });
}

TEST_F(HypsparDialogTest, ViewsOfBothPlans) {
    run([&](QWidget* d) {
        // Target 12 000 at 1 % with a fee of 999 over two years: the savings end before the
        // second December, whose mortgage month gets a row of its own.
        enter(d, "S", "H", "12000", "2");
        test::enter(num(d, "spktogeb"), "999");
        click(d, "berechnenButton");
        ASSERT_TRUE(enabled(d, "hypoplanButton"));
        // The surcharge in EUR is the one input whose change keeps the plan; any other empties it.
        test::enter(num(d, "spausdm"), "5");
        EXPECT_TRUE(enabled(d, "sparplanButton"));
        EXPECT_NE(dbfRows("HYPSPAR", "KEY1"), "");
        test::enter(num(d, "spktogeb"), "998");
        EXPECT_FALSE(enabled(d, "sparplanButton"));
        EXPECT_EQ(dbfRows("HYPSPAR", "KEY1"), "");
        test::enter(num(d, "spktogeb"), "999");
        click(d, "berechnenButton");
        ASSERT_TRUE(enabled(d, "hypoplanButton"));
        whenModal(
            [&](QWidget* view) {
                EXPECT_EQ(view->windowTitle(), "Splittfinanzierung - Ansparplan");
                auto* grid = find<ui::TableGrid>(view, "hsGrid");
                const char* heads[] = {"Datum",     "Sparsumme ",   "Zinsen ",        "Zinssumme ",
                                       "Sparrate ", "Kto.-FGbühr ", "Ausg.Aufschl. ", "Kontostand "};
                for (int c = 0; c < 8; ++c) EXPECT_EQ(grid->heading(c), heads[c]);
                EXPECT_LT(grid->rows(), 24);
                EXPECT_EQ(grid->cellText(0, 0), "01.01.2024");
                auto* box = find<QCheckBox>(view, "compressedBox");
                EXPECT_EQ(box->text(), " &komprimierte Darstellung");
                box->setChecked(true);
                EXPECT_EQ(grid->rows(), 2);
                EXPECT_EQ(grid->cellText(0, 0), "31.12.2024");
                find<QPushButton>(view, "closeButton")->click();
            },
            "hsSavingsDialog");
        click(d, "sparplanButton");
        whenModal(
            [&](QWidget* view) {
                EXPECT_EQ(view->windowTitle(), "Splittfinanzierung - Tilgungsplan");
                auto* grid = find<ui::TableGrid>(view, "hsGrid");
                EXPECT_EQ(grid->heading(1), "Hypothek ");
                ASSERT_EQ(grid->rows(), 24);
                EXPECT_EQ(grid->cellText(23, 0), "01.12.2025");
                EXPECT_EQ(grid->cellText(0, 1).trimmed(), "12.000,00");
                EXPECT_EQ(grid->cellText(0, 2).trimmed(), "60,00");
                find<QCheckBox>(view, "compressedBox")->setChecked(true);
                EXPECT_EQ(grid->rows(), 2);
                EXPECT_EQ(grid->cellText(0, 0), "31.12.2024");
                find<QPushButton>(view, "closeButton")->click();
            },
            "hsMortgageDialog");
        click(d, "hypoplanButton");
        clearMessages();
        core::dbf::Table none;
        calc::hs_show(d, none, 1, 3);
        ASSERT_EQ(messages().size(), 1u);
        EXPECT_EQ(messages()[0].text, "Programmfehler !!!");
        click(d, "druckenButton");
    });
    ASSERT_EQ(printed().size(), 1u);
    const toolkit::PrintJob& job = printed()[0];
    EXPECT_EQ(job.name, "Splittfinanzierung");
    // The mortgage plan prints all 24 months, the December without a savings row among them.
    int mortgage_months = 0;
    bool december = false;
    for (const auto& page : job.pages) {
        bool mortgage_page = false;
        for (const auto& it : page.items)
            if (it.text.find("Hypothekenplan") != std::string::npos) mortgage_page = true;
        if (!mortgage_page) continue;
        for (const auto& it : page.items) {
            if (it.text.size() == 10 && it.text.rfind("01.", 0) == 0) ++mortgage_months;
            if (it.text == "01.12.2025") december = true;
        }
    }
    EXPECT_EQ(mortgage_months, 24);
    EXPECT_TRUE(december);
}

TEST_F(HypsparDialogTest, Screenshots) {
    const QByteArray shots = qgetenv("VESTRAL_SHOTS");
    if (shots.isEmpty()) GTEST_SKIP() << "VESTRAL_SHOTS names no directory";
    QDir().mkpath(QString::fromLocal8Bit(shots));
    auto save = [&](QWidget* w, const char* name) {
        QApplication::processEvents();
        EXPECT_TRUE(w->grab().save(QString::fromLocal8Bit(shots) + "/" + name + ".png"));
    };
    run([&](QWidget* d) {
        enter(d, "Fondsbank Köln", "Hypobank Süd", "150000", "25", "3,5");
        test::enter(num(d, "spktogeb"), "24");
        test::enter(num(d, "spauszu"), "2,5");
        test::enter(num(d, "hypzsatz"), "4,375");
        test::enter(num(d, "kreditpr"), "1");
        click(d, "berechnenButton");
        save(d, "hypspar_dialog");
        for (const char* which : {"hsSavingsDialog", "hsMortgageDialog"}) {
            whenModal(
                [&](QWidget* view) {
                    save(view, which);
                    find<QCheckBox>(view, "compressedBox")->setChecked(true);
                    save(view, (std::string(which) + "_komprimiert").c_str());
                    find<QPushButton>(view, "closeButton")->click();
                },
                which);
            click(d, which[2] == 'S' ? "sparplanButton" : "hypoplanButton");
        }
        whenModal(
            [&](QWidget* list) {
                save(list, "hypspar_liste");
                find<QPushButton>(list, "closeButton")->click();
            },
            "savedPlansDialog");
        click(d, "ladenButton");
    });
}
