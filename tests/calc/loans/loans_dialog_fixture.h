// What the dialog tests of the mortgage plan and the building-savings contract share: running a
// calculator with a body once its dialog is shown, filling the stores as an earlier run would,
// and finding the chart window.
#pragma once

#include <QApplication>
#include <QPushButton>
#include <QtTest/QTest>
#include <filesystem>
#include <functional>
#include <string>

#include "calc/loans/bausparen.h"
#include "calc/loans/bausparen_dialog.h"
#include "calc/loans/hypotilg.h"
#include "calc/loans/hypotilg_dialog.h"
#include "core/catalogue.h"
#include "core/dbf.h"
#include "support/gui_fixture.h"
#include "ui/blocks.h"
#include "ui/numeric_field.h"
#include "ui/text_field.h"

namespace vestral::test {

class LoansDialogTest : public GuiTest {
  protected:
    // Runs the calculator; `body` runs once its dialog `object_name` is shown, then the dialog is
    // closed with "Schließen" unless the body closed it. Returns whether the body ran.
    bool runCalculator(const char* object_name, const std::function<void()>& start,
                       const std::function<void(QWidget*)>& body) {
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
            object_name);
        start();
        return ran;
    }
    bool runHypo(const std::function<void(QWidget*)>& body) {
        return runCalculator(
            "hypotilgDialog", [] { calc::hypotilg(nullptr, 0); }, body);
    }
    bool runBau(const std::function<void(QWidget*)>& body) {
        return runCalculator(
            "bausparenDialog", [] { calc::bausparen(nullptr); }, body);
    }

    static void click(QWidget* d, const char* button) {
        QTest::mouseClick(find<QPushButton>(d, button), Qt::LeftButton);
        QApplication::processEvents();
    }
    static ui::NumericField* num(QWidget* d, const char* name) { return find<ui::NumericField>(d, name); }

    // The first mortgage example: 100 000 at 5 %, 2 %, from 01.01.2007, 10 years, then 6 %.
    static calc::HypoInputs hypoFirstCase(const std::string& bank) {
        calc::HypoInputs in;
        in.CBANKNAME = bank;
        in.NHYPOTHEK = 100000;
        in.NZINSSATZ = 5;
        in.NTILGANNO = 2;
        in.DABDATUM = core::Date{2007, 1, 1};
        in.NLAUFZEIT = 10;
        in.NZINSNACH = 6;
        return in;
    }
    static void typeHypoFirstCase(QWidget* d, const QString& bank) {
        typeInto(find<ui::TextField>(d, "bankName"), bank);
        typeInto(num(d, "amount"), "100000");
        typeInto(num(d, "rate"), "5");
        typeInto(num(d, "repayment"), "2");
        typeInto(find<ui::DateField>(d, "startDate"), "01012007");
        typeInto(num(d, "fixedPeriod"), "10");
        typeInto(num(d, "followRate"), "6");
    }
    static void typeBauFirstCase(QWidget* d, const QString& bank) {
        typeInto(find<ui::TextField>(d, "CBANKNAME"), bank);
        const char* typed[][2] = {{"NBAUSPSUM", "50000"}, {"NABSCHGEB", "1"},  {"NKONTOGEB", "1"},
                                  {"NABJAHR", "2007"},    {"NSPARTEIL", "40"}, {"NSZINSSTZ", "2"},
                                  {"NMONRATE", "300"},    {"NTILGANNO", "6"},  {"NTZINSSTZ", "4"},
                                  {"NTFESTZEIT", "10"},   {"NTZINSNACH", "4"}};
        for (const auto& t : typed) typeInto(num(d, t[0]), t[1]);
    }

    // A saved plan in HYPOBANK (created when missing), with the results given.
    void storeHypo(const calc::HypoInputs& in, const calc::HypoResults& res) {
        core::dbf::Table t;
        openStore(t, "HYPOBANK");
        calc::hypobank_save(t, in, res);
    }
    // A saved contract in BSPBANK (created when missing), with the results given.
    void storeBau(const calc::BauInputs& in, const calc::BauResults& res) {
        core::dbf::Table t;
        openStore(t, "BSPBANK");
        ASSERT_TRUE(calc::bspbank_save(t, in, res));
    }
    void openStore(core::dbf::Table& t, const std::string& name) {
        const auto file = dir() / (name + ".DBF");
        if (!std::filesystem::exists(file)) {
            ASSERT_TRUE(core::dbf::create_table(file, core::catalogue_layout(name)));
        }
        ASSERT_TRUE(t.open(file, name));
    }
    long records(const char* file) {
        core::dbf::Table t;
        if (!t.open(dir() / file, "T")) return -1;
        return t.count();
    }

    // The visible top-level window of that name, or null.
    static QWidget* window(const char* name) {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->objectName() == name && w->isVisible()) return w;
        return nullptr;
    }
};

}  // namespace vestral::test
