// Saved plans and contracts are never lost: no blank record, no refused value, no zeroed results,
// no plan deleted by a repeated accelerator.
#include <QPushButton>

#include "calc/loans/bausparen_example.h"
#include "calc/loans/loans_dialog_fixture.h"
#include "ui/saved_plans_dialog.h"

using namespace vestral;
using test::find;
using test::typeInto;

namespace {

class LoansSavedData : public test::LoansDialogTest {
  protected:
    // The mortgage plan of the first example, saved with its computed results and named in the
    // settings, so that the dialog opens with it.
    calc::HypoResults storeComputedHypo(const std::string& bank) {
        const calc::HypoInputs in = hypoFirstCase(bank);
        const calc::HypoResults res = calc::ht_tab(in).results;
        storeHypo(in, res);
        ini().set_many("HYPO", calc::hypo_settings_entries(in, res));
        return res;
    }
    calc::BauResults storeComputedBau(const std::string& bank) {
        calc::BauInputs in = test::bausparen_first_case();
        in.CBANKNAME = bank;
        const calc::BauResults res = calc::bau_rech(in).results;
        storeBau(in, res);
        ini().set_many("BAUSP", calc::bausp_settings_entries(in, res));
        return res;
    }
    // The saved record of `bank`.
    void hypoRecord(const std::string& bank, const std::function<void(core::dbf::Table&)>& look) {
        core::dbf::Table t;
        ASSERT_TRUE(t.open(dir() / "HYPOBANK.DBF", "HYPOBANK"));
        ASSERT_EQ(t.count(), 1);
        t.go_top();
        EXPECT_EQ(t.trimmed("BANKNAME"), bank);
        look(t);
    }
};

TEST_F(LoansSavedData, WithoutABankNameNothingIsSaved) {
    // Mortgage plan: computed and closed without a name.
    ASSERT_TRUE(runHypo([&](QWidget* d) {
        typeHypoFirstCase(d, "");
        click(d, "computeButton");
        EXPECT_TRUE(find<QPushButton>(d, "tableButton")->isEnabled());
    }));
    EXPECT_EQ(records("HYPOBANK.DBF"), 0);
    EXPECT_EQ(ini().get("HYPO", "Hypothek", "none"), "none");
    // The plan itself stays for a financing plan.
    EXPECT_EQ(records("HYPOTHEK.DBF"), 283 + 24);

    // A named plan loaded, its name cleared: the saved record stays as it was.
    const calc::HypoResults res = storeComputedHypo("Testbank");
    ASSERT_TRUE(runHypo([&](QWidget* d) {
        EXPECT_EQ(find<ui::TextField>(d, "bankName")->text(), "Testbank");
        auto* name = find<ui::TextField>(d, "bankName");
        name->setFocus(Qt::TabFocusReason);
        name->selectAll();
        QTest::keyClick(name, Qt::Key_Delete);
        QTest::keyClick(name, Qt::Key_Tab);
        typeInto(num(d, "amount"), "5000");
    }));
    hypoRecord("Testbank", [&](core::dbf::Table& t) {
        EXPECT_EQ(t.num("HYPOTHEK"), 100000);
        EXPECT_NEAR(t.num("ANNUITAT"), res.NANNUITAT, 0.005);
    });
    EXPECT_EQ(core::trim(ini().get("HYPO", "Bankname", "")), "Testbank");

    // Building-savings contract.
    ASSERT_TRUE(runBau([&](QWidget* d) {
        typeBauFirstCase(d, "");
        click(d, "computeButton");
        EXPECT_TRUE(find<QPushButton>(d, "tableButton")->isEnabled());
    }));
    EXPECT_EQ(records("BSPBANK.DBF"), 0);
    EXPECT_EQ(ini().get("BAUSP", "BausparSumme", "none"), "none");
}

TEST_F(LoansSavedData, ARefusedValueIsNeverSavedAndTheSavedResultsStay) {
    const calc::HypoResults res = storeComputedHypo("Testbank");
    // Start date 01.01.1985: the message, then Escape.
    ASSERT_TRUE(runHypo([&](QWidget* d) {
        typeInto(find<ui::DateField>(d, "startDate"), "01011985");
        ASSERT_EQ(messages().size(), 1u);
        EXPECT_TRUE(messages()[0].text.contains("Laufzeit ab Datum")) << messages()[0].text.toStdString();
        QApplication::processEvents();
        ASSERT_EQ(QApplication::focusWidget(), find<QWidget>(d, "startDate"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        QApplication::processEvents();
        EXPECT_FALSE(d->isVisible());
    }));
    hypoRecord("Testbank", [&](core::dbf::Table& t) {
        EXPECT_EQ(core::format_date(t.date("ABDATUM")), "01.01.2007");
        EXPECT_NEAR(t.num("ANNUITAT"), res.NANNUITAT, 0.005);
        EXPECT_NEAR(t.num("ZINSSUM"), res.NZINSSUM, 0.005);
        EXPECT_EQ(t.num("TILGZEIT"), 23);
    });
    EXPECT_EQ(ini().get("HYPO", "AbDatum", ""), "01.01.2007");
    EXPECT_EQ(ini().get("HYPO", "Laufzeit", ""), "23");

    // An unfinished date and the close box: the same.
    clearMessages();
    ASSERT_TRUE(runHypo([&](QWidget* d) {
        typeInto(find<ui::DateField>(d, "startDate"), "0101");
        EXPECT_EQ(messages().size(), 1u);
        d->close();
    }));
    hypoRecord("Testbank", [&](core::dbf::Table& t) {
        EXPECT_EQ(core::format_date(t.date("ABDATUM")), "01.01.2007");
        EXPECT_NEAR(t.num("ANNUITAT"), res.NANNUITAT, 0.005);
    });

    // Inputs changed and not computed: the old results no longer belong to them.
    ASSERT_TRUE(runHypo([&](QWidget* d) { typeInto(num(d, "rate"), "6"); }));
    hypoRecord("Testbank", [&](core::dbf::Table& t) {
        EXPECT_EQ(t.num("ZINSSATZ"), 6);
        EXPECT_EQ(t.num("ANNUITAT"), 0);
    });

    // The building-savings contract: a refused sum, then "Schließen".
    const calc::BauResults bres = storeComputedBau("Bausparkasse Nord");
    clearMessages();
    ASSERT_TRUE(runBau([&](QWidget* d) {
        typeInto(num(d, "NBAUSPSUM"), "2000000");
        ASSERT_EQ(messages().size(), 1u);
        EXPECT_TRUE(messages()[0].text.contains("Bausparsumme")) << messages()[0].text.toStdString();
    }));
    core::dbf::Table t;
    ASSERT_TRUE(t.open(dir() / "BSPBANK.DBF", "BSPBANK"));
    ASSERT_EQ(t.count(), 1);
    t.go_top();
    EXPECT_EQ(t.num("BSPSUMME"), 50000);
    EXPECT_NEAR(t.num("TMONRATE"), bres.NMONTILG, 0.005);
    EXPECT_NEAR(t.num("SPARSUM"), bres.NSSUMME, 0.005);
    EXPECT_EQ(ini().get("BAUSP", "BausparSumme", ""), "50000.00");
}

TEST_F(LoansSavedData, AltLTwiceOpensTheListAndAsksBeforeDeleting) {
    storeComputedHypo("Erste Bank");
    storeHypo(hypoFirstCase("Zweite Bank"), {});
    ASSERT_TRUE(runHypo([&](QWidget* d) {
        bool listed = false;
        whenModal(
            [&](QWidget* list) {
                listed = true;
                QApplication::setActiveWindow(list);
                (void)QTest::qWaitForWindowActive(list);
                auto* grid = static_cast<ui::SavedPlansDialog*>(list)->grid();
                EXPECT_EQ(grid->rows(), 2);
                answer(toolkit::MsgAnswer::No);  // Enter on the preselected "Nein"
                QTest::keyClick(grid, Qt::Key_L, Qt::AltModifier);
                QTest::qWait(300);  // an accelerator clicks its button a moment later
                EXPECT_EQ(messages().size(), 1u);
                if (!messages().empty()) {
                    EXPECT_EQ(messages()[0].kind, toolkit::MsgKind::Question);
                    EXPECT_EQ(messages()[0].title, "Löschen");
                    EXPECT_EQ(messages()[0].text, "Soll der Eintrag „Erste Bank“ gelöscht werden?");
                    EXPECT_FALSE(messages()[0].default_yes);
                }
                EXPECT_EQ(grid->rows(), 2);
                click(list, "closeButton");
            },
            "savedPlansDialog");
        QTest::keyClick(num(d, "amount"), Qt::Key_L, Qt::AltModifier);
        QTest::qWait(300);
        EXPECT_TRUE(listed);
    }));
    EXPECT_EQ(records("HYPOBANK.DBF"), 2);
}

}  // namespace
