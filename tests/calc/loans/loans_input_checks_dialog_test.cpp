// Right typing gives right figures in the mortgage plan and the building-savings contract: two
// failing fields never bounce messages, "Berechnen" checks loaded values too, an accelerator
// with a failing field shows the message and typing then replaces the refused value.
#include "calc/loans/bausparen_example.h"
#include "calc/loans/loans_dialog_fixture.h"

using namespace vestral;
using test::find;
using test::typeInto;

namespace {

class LoansInputChecks : public test::LoansDialogTest {
  protected:
    // Event rounds as a user's idle time gives them; the messages shown meanwhile.
    size_t messagesOver50Rounds() {
        const size_t before = messages().size();
        for (int i = 0; i < 50; ++i) {
            QApplication::processEvents();
            QTest::qWait(1);
        }
        return messages().size() - before;
    }
};

// On a fresh store "Zinsbindung" loads 0, below its bound; the date field before it fails too.
TEST_F(LoansInputChecks, TwoFailingFieldsGiveOneMessagePerTabAndKeepTheFocus) {
    ASSERT_TRUE(runHypo([&](QWidget* d) {
        auto* start = find<ui::DateField>(d, "startDate");
        for (const char* typed : {"01012060", "0101"}) {
            clearMessages();
            typeInto(start, typed);
            const size_t later = messagesOver50Rounds();
            EXPECT_EQ(messages().size(), 1u) << typed;
            EXPECT_EQ(later, 0u) << typed;
            EXPECT_EQ(QApplication::focusWidget(), start) << typed;
            // Another Tab: again one message, and the focus stays.
            clearMessages();
            QTest::keyClick(start, Qt::Key_Tab);
            messagesOver50Rounds();
            EXPECT_EQ(messages().size(), 1u) << typed;
            EXPECT_EQ(QApplication::focusWidget(), start) << typed;
        }
        // A valid date: the focus moves on to "Zinsbindung", which now fails on its own.
        clearMessages();
        typeInto(start, "01012007");
        messagesOver50Rounds();
        EXPECT_TRUE(messages().empty());
        EXPECT_EQ(QApplication::focusWidget(), num(d, "fixedPeriod"));
        QTest::keyClick(num(d, "fixedPeriod"), Qt::Key_Tab);
        messagesOver50Rounds();
        ASSERT_EQ(messages().size(), 1u);
        EXPECT_TRUE(messages()[0].text.contains("Laufzeit in Jahren")) << messages()[0].text.toStdString();
        EXPECT_EQ(QApplication::focusWidget(), num(d, "fixedPeriod"));
    }));
}

TEST_F(LoansInputChecks, ComputeChecksLoadedValuesFirstOneMessageNothingComputed) {
    // A saved plan whose rate was refused before: it loads, and "Berechnen" refuses it.
    calc::HypoInputs in = hypoFirstCase("Testbank");
    in.NZINSSATZ = 99;
    storeHypo(in, {});
    ini().set("HYPO", "Bankname", "Testbank");
    ASSERT_TRUE(runHypo([&](QWidget* d) {
        EXPECT_EQ(num(d, "rate")->value(), 99);
        click(d, "computeButton");
        ASSERT_EQ(messages().size(), 1u);
        EXPECT_TRUE(messages()[0].text.contains("Nominalzins")) << messages()[0].text.toStdString();
        QApplication::processEvents();
        EXPECT_EQ(QApplication::focusWidget(), num(d, "rate"));
        EXPECT_EQ(find<ui::ResultField>(d, "annuity")->text(), "0,00");
        EXPECT_FALSE(find<QPushButton>(d, "printButton")->isEnabled());
    }));
    EXPECT_EQ(records("HYPOTHEK.DBF"), 0);

    calc::BauInputs b = test::bausparen_first_case();
    b.CBANKNAME = "Nordkasse";
    b.NTZINSSTZ = 25;
    storeBau(b, {});
    ini().set("BAUSP", "Bankname", "Nordkasse");
    clearMessages();
    ASSERT_TRUE(runBau([&](QWidget* d) {
        click(d, "computeButton");
        ASSERT_EQ(messages().size(), 1u);
        EXPECT_TRUE(messages()[0].text.contains("Tilgungszinssatz")) << messages()[0].text.toStdString();
        QApplication::processEvents();
        EXPECT_EQ(QApplication::focusWidget(), num(d, "NTZINSSTZ"));
        EXPECT_FALSE(find<QPushButton>(d, "tableButton")->isEnabled());
    }));
    EXPECT_EQ(records("BAUSPAR.DBF"), 0);
}

TEST_F(LoansInputChecks, AcceleratorWithAFailingFieldShowsTheMessageAndTypingReplaces) {
    ASSERT_TRUE(runHypo([&](QWidget* d) {
        typeHypoFirstCase(d, "Testbank");
        auto* rate = num(d, "rate");
        typeInto(rate, "99", false);
        QTest::keyClick(rate, Qt::Key_B, Qt::AltModifier);
        QTest::qWait(300);  // an accelerator clicks its button a moment later
        ASSERT_EQ(messages().size(), 1u);
        EXPECT_TRUE(messages()[0].text.contains("Nominalzins")) << messages()[0].text.toStdString();
        QApplication::processEvents();
        EXPECT_EQ(QApplication::focusWidget(), rate);
        EXPECT_EQ(rate->selectedText(), rate->text());
        QTest::keyClicks(rate, "3,875");
        QTest::keyClick(rate, Qt::Key_Tab);
        QApplication::processEvents();
        EXPECT_EQ(rate->value(), 3.875);
        click(d, "computeButton");
        EXPECT_EQ(messages().size(), 1u);
        EXPECT_TRUE(find<QPushButton>(d, "tableButton")->isEnabled());
    }));
}

}  // namespace
