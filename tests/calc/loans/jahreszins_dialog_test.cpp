// Both rates in the result groups of the mortgage plan and the instalment credit: the legal rate
// beside the nominal-based one, empty while no plan belongs to the inputs, and saved with the plan.
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QtTest/QTest>

#include "calc/loans/loans_dialog_fixture.h"
#include "calc/loans/ratenkredit.h"
#include "calc/loans/ratenkredit_dialog.h"

using namespace vestral;
using test::find;
using test::typeInto;

namespace {

class JahreszinsDialog : public test::LoansDialogTest {
  protected:
    void SetUp() override {
        LoansDialogTest::SetUp();
        core::set_today_for_tests({2024, 3, 15});
        core::check_dbf(dir());
    }
    bool runCredit(const std::function<void(QWidget*)>& body) {
        return runCalculator(
            "ratenkreditDialog", [] { calc::ratenkredit(nullptr); },
            [&](QWidget* d) {
                body(d);
                if (QApplication::activeModalWidget() == d) click(d, "schliessenButton");
            });
    }
    // The label standing in the same row of the result group as the result field `name`.
    static QString labelBeside(QWidget* d, const char* group, const char* name) {
        auto* box = find<QGroupBox>(d, group);
        auto* field = find<ui::ResultField>(d, name);
        for (QLabel* l : box->findChildren<QLabel*>())
            if (std::abs(l->geometry().center().y() - field->geometry().center().y()) < 6 &&
                l->geometry().right() < field->geometry().left())
                return l->text();
        return {};
    }
    double stored(const char* table, const char* bank) {
        core::dbf::Table t;
        if (!t.open(dir() / (std::string(table) + ".DBF"), table)) return -1;
        for (t.go_top(); !t.eof(); t.skip())
            if (t.trimmed("BANKNAME") == bank) return t.blank("JAHRESZINS") ? -2 : t.num("JAHRESZINS");
        return -3;
    }
};

TEST_F(JahreszinsDialog, MortgageShowsBothRatesAndSavesTheLegalOne) {
    double legal = 0;
    ASSERT_TRUE(runHypo([&](QWidget* d) {
        EXPECT_EQ(labelBeside(d, "resultsGroup", "annualRate"), "eff. Jahreszins (PAngV)");
        EXPECT_EQ(labelBeside(d, "resultsGroup", "effectiveRate"), "Effektivzinssatz");
        EXPECT_EQ(find<ui::ResultField>(d, "annualRate")->text(), "");
        typeHypoFirstCase(d, "Sparkasse Nord");
        typeInto(num(d, "creditPercent"), "2");
        click(d, "computeButton");
        const calc::HypoInputs in = [] {
            calc::HypoInputs i = hypoFirstCase("Sparkasse Nord");
            i.NKREDITPR = 2;
            i.NKREDITDM = 2000;
            return i;
        }();
        const calc::HypoResults res = calc::ht_tab(in).results;
        ASSERT_TRUE(res.NJAHRESZINS);
        EXPECT_EQ(find<ui::ResultField>(d, "effectiveRate")->text(), "5,116");
        EXPECT_EQ(
            find<ui::ResultField>(d, "annualRate")->text(),
            QString::fromStdString(core::trim(core::Mask::parse("@E 99.999 ").format(*res.NJAHRESZINS))));
        // The financed fee costs: the legal rate lies above the nominal-based one.
        EXPECT_GT(*res.NJAHRESZINS, 5.116 + 0.1);
        legal = *res.NJAHRESZINS;
        // An edit takes the plan away: the legal rate is empty, not 0.
        typeInto(num(d, "amount"), "120000");
        EXPECT_EQ(find<ui::ResultField>(d, "annualRate")->text(), "");
        EXPECT_EQ(find<ui::ResultField>(d, "effectiveRate")->text(), "0,000");
        // Back to the computed inputs: the saved plan keeps the rate it was computed with.
        typeInto(num(d, "amount"), "100000");
        click(d, "computeButton");
    }));
    EXPECT_NEAR(stored("HYPOBANK", "Sparkasse Nord"), legal, 0.0005);
}

TEST_F(JahreszinsDialog, CreditShowsTheFlatRateCostOfTheExample) {
    ASSERT_TRUE(runCredit([&](QWidget* d) {
        EXPECT_EQ(labelBeside(d, "ergebnis", "jahreszins"), "eff. Jahreszins (PAngV)");
        EXPECT_EQ(find<ui::ResultField>(d, "jahreszins")->text(), "");
        typeInto(find<ui::TextField>(d, "bankname"), "Teilzahlungsbank");
        typeInto(num(d, "kredit"), "15000");
        typeInto(num(d, "zinssatz"), "5,9");
        typeInto(num(d, "laufzeit"), "48");
        click(d, "berechnenButton");
        EXPECT_EQ(find<ui::ResultField>(d, "erstrate")->text(), "386,25");
        EXPECT_EQ(find<ui::ResultField>(d, "effzins")->text(), "6,062");
        EXPECT_EQ(find<ui::ResultField>(d, "jahreszins")->text(), "11,354");
        typeInto(num(d, "laufzeit"), "36");
        EXPECT_EQ(find<ui::ResultField>(d, "jahreszins")->text(), "");
        typeInto(num(d, "laufzeit"), "48");
        click(d, "berechnenButton");
    }));
    EXPECT_EQ(stored("KREDBANK", "Teilzahlungsbank"), 11.354);
}

}  // namespace
