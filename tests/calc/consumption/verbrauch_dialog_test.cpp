#include "calc/consumption/verbrauch_dialog.h"

#include <QApplication>
#include <QDir>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QtTest/QTest>

#include "app/calculators.h"
#include "core/catalogue.h"
#include "core/clock.h"
#include "core/dbf.h"
#include "support/gui_fixture.h"
#include "toolkit/help.h"
#include "ui/blocks.h"
#include "ui/numeric_field.h"
#include "ui/table_grid.h"
#include "ui/text_field.h"

using namespace vestral;
using calc::VerbrKind;
using test::find;
using test::typeInto;

namespace {

void click(QPushButton* b) {
    QTest::mouseClick(b, Qt::LeftButton);
    QApplication::processEvents();
}
QString shown(QWidget* d, const char* name) {
    return find<QLineEdit>(d, name)->text().trimmed();
}

class VerbrauchDialog : public test::GuiTest {
  protected:
    std::filesystem::path table() const { return dir() / "VERBRCH.DBF"; }

    // What dbfread sees: one line per record, "kind date supplier sum".
    std::string records() const {
        return test::run_python(
            "import dbfread\nfor r in dbfread.DBF('" + table().string() +
            "'):\n    print(r['VERBRART'], r['DATUM'], r['LIEFER'], r['SUMME'], r['PROEINHEIT'], "
            "r['INDEX'], r['GRUNDTEIL'], r['VERBREINH'])\n");
    }
    long count_lines(const std::string& s) const { return std::count(s.begin(), s.end(), '\n'); }

    void run(VerbrKind kind, const char* object, std::function<void(QWidget*)> body) {
        bool ran = false;
        whenModal(
            [&](QWidget* dlg) {
                dlg->activateWindow();
                EXPECT_TRUE(QTest::qWaitForWindowActive(dlg));
                body(dlg);
                ran = true;
                if (dlg->isVisible()) click(find<QPushButton>(dlg, "closeButton"));
            },
            object);
        calc::verbr_dialog(nullptr, kind);
        EXPECT_TRUE(ran);
    }

    static void typeElectricity(QWidget* d, const char* old_date = "01012006") {
        typeInto(find<QWidget>(d, "CLIEFER"), "Stadtwerke Nord");
        typeInto(find<QWidget>(d, "NGRUNDDM"), "8");
        typeInto(find<QWidget>(d, "NKWHDM"), "0,18");
        typeInto(find<QWidget>(d, "NABSCHLAG"), "60");
        typeInto(find<QWidget>(d, "NZAEHLER1"), "10000");
        typeInto(find<QWidget>(d, "DABLES1"), old_date);
        typeInto(find<QWidget>(d, "DABLES2"), "31122006");
        typeInto(find<QWidget>(d, "NZAEHLER2"), "13500");
    }

    void store(VerbrKind kind, core::Date old_date, const char* supplier, double sum) {
        core::dbf::Table t;
        ASSERT_TRUE(
            core::dbf::open_or_create(t, dir(), "VERBRCH.DBF", core::catalogue_layout("VERBRCH"), "VERBRCH"));
        calc::VerbrInputs in;
        in.CLIEFER = supplier;
        in.DABLES1 = old_date;
        in.DABLES2 = {old_date.year, 12, 31};
        calc::VerbrResults res;
        res.NSUMME = sum;
        ASSERT_TRUE(calc::verbr_store(t, kind, in, res));
    }
};

TEST_F(VerbrauchDialog, EmptyTableElectricityShowsThePriceMessageOnceAndNoHistory) {
    const core::Date today = core::today();
    run(VerbrKind::Strom, "stromDialog", [&](QWidget* d) {
        EXPECT_EQ(d->windowTitle(), "Stromverbrauch berechnen");
        EXPECT_EQ(toolkit::help::topic(), "Stromverbrauch berechnen");
        ASSERT_EQ(messages().size(), 1u);
        EXPECT_EQ(messages()[0].title, "Problem");
        EXPECT_EQ(messages()[0].text, "Bitte geben Sie den Preis pro kW/h ein!");
        EXPECT_FALSE(find<QPushButton>(d, "historyButton")->isEnabled());
        EXPECT_FALSE(find<QPushButton>(d, "computeButton")->isEnabled());
        EXPECT_FALSE(find<QPushButton>(d, "projectionButton")->isEnabled());
        EXPECT_EQ(shown(d, "DABLES1"), QString::fromStdString(core::format_date({today.year, 1, 1})));
        EXPECT_EQ(shown(d, "DABLES2"), QString::fromStdString(core::format_date(today)));
    });
    EXPECT_EQ(toolkit::help::topic(), "Hauptauswahl");
}

TEST_F(VerbrauchDialog, EmptyTableWaterAndGasStopAtTheEqualReadings) {
    run(VerbrKind::Wasser, "wasserDialog", [&](QWidget* d) {
        ASSERT_EQ(messages().size(), 1u);
        EXPECT_EQ(messages()[0].text, "Bitte korrigieren Sie die Zählerstände!");
        EXPECT_FALSE(find<QPushButton>(d, "historyButton")->isEnabled());
        EXPECT_EQ(find<QLabel>(d, "CTKORREKT")->text(), "");
    });
    // Opening and closing without an entry stores no empty period.
    EXPECT_EQ(count_lines(records()), 0);
    clearMessages();
    run(VerbrKind::Gas, "gasDialog", [&](QWidget* d) {
        EXPECT_EQ(d->windowTitle(), "Gasverbrauch berechnen");
        ASSERT_EQ(messages().size(), 1u);
        EXPECT_EQ(messages()[0].text, "Bitte korrigieren Sie die Zählerstände!");
        EXPECT_EQ(shown(d, "DABLES1"), "..");
        EXPECT_EQ(shown(d, "DABLES2"), "..");
        EXPECT_TRUE(find<QPushButton>(d, "historyButton")->isEnabled());
        EXPECT_NE(d->findChild<QWidget*>("NINDEX"), nullptr);
    });
}

TEST_F(VerbrauchDialog, ElectricityBillWithAdditionalPaymentInRed) {
    run(VerbrKind::Strom, "stromDialog", [&](QWidget* d) {
        clearMessages();
        typeElectricity(d);
        // Leaving the new reading shows the consumption at once.
        EXPECT_EQ(shown(d, "NVERBRKW"), "3.500");
        ASSERT_TRUE(find<QPushButton>(d, "computeButton")->isEnabled());
        click(find<QPushButton>(d, "computeButton"));
        EXPECT_TRUE(messages().empty());
        EXPECT_EQ(shown(d, "NVERBRTAG"), "365");
        EXPECT_EQ(shown(d, "NVERBRMON"), "12");
        EXPECT_EQ(shown(d, "NVERBRDM"), "630,00");
        EXPECT_EQ(shown(d, "NSGRUNDDM"), "96,00");
        EXPECT_EQ(shown(d, "NSUMME"), "726,00");
        EXPECT_EQ(shown(d, "NSABSCHLAG"), "720,00");
        EXPECT_EQ(shown(d, "NSKORREKT"), "6,00");
        EXPECT_EQ(find<QLabel>(d, "CTKORREKT")->text(), "Es erwartet Sie eine Nachzahlung in Höhe von ca.");
        auto* k = find<QLineEdit>(d, "NSKORREKT");
        EXPECT_EQ(k->palette().color(QPalette::Base), QColor(Qt::red));
        EXPECT_EQ(k->palette().color(QPalette::Text), QColor(Qt::white));
        EXPECT_TRUE(find<QPushButton>(d, "projectionButton")->isEnabled());

        bool projected = false;
        whenModal(
            [&](QWidget* p) {
                projected = true;
                EXPECT_EQ(p->windowTitle(), "Stromverbrauch - Hochrechnung für 1 Jahr");
                EXPECT_EQ(shown(p, "yearCost"), "630,00");
                EXPECT_EQ(shown(p, "total"), "726,00");
                EXPECT_EQ(find<QLabel>(p, "projectionText")->text(),
                          "Rechnen Sie mir einer Nachzahlung von ca.");
                click(find<QPushButton>(p, "closeButton"));
            },
            "projectionDialog");
        click(find<QPushButton>(d, "projectionButton"));
        EXPECT_TRUE(projected);
    });
    const std::string r = records();
    EXPECT_EQ(count_lines(r), 1) << r;
    EXPECT_NE(r.find("1 2006-01-01 Stadtwerke Nord 726.0 0.18 None 12.0 3500"), std::string::npos) << r;
}

TEST_F(VerbrauchDialog, OnePeriodPerOldReadingDate) {
    run(VerbrKind::Strom, "stromDialog", [&](QWidget* d) {
        typeElectricity(d);
        click(find<QPushButton>(d, "computeButton"));
        click(find<QPushButton>(d, "computeButton"));
    });
    EXPECT_EQ(count_lines(records()), 1);
    // Reopened: the period is there, and the history may be opened.
    run(VerbrKind::Strom, "stromDialog", [&](QWidget* d) {
        EXPECT_EQ(shown(d, "CLIEFER"), "Stadtwerke Nord");
        EXPECT_EQ(shown(d, "NKWHDM"), "0,1800");
        EXPECT_EQ(shown(d, "NSUMME"), "726,00");
        EXPECT_TRUE(find<QPushButton>(d, "historyButton")->isEnabled());
        typeInto(find<QWidget>(d, "DABLES1"), "01022006");
        click(find<QPushButton>(d, "computeButton"));
    });
    const std::string r = records();
    EXPECT_EQ(count_lines(r), 2) << r;
    EXPECT_NE(r.find("2006-02-01"), std::string::npos);
}

TEST_F(VerbrauchDialog, BadDatesStopAndStoreNothing) {
    run(VerbrKind::Strom, "stromDialog", [&](QWidget* d) {
        typeElectricity(d, "01012007");
        clearMessages();
        click(find<QPushButton>(d, "computeButton"));
        ASSERT_EQ(messages().size(), 1u);
        EXPECT_EQ(messages()[0].text, "Bitte korrigieren Sie die Ablesedaten!");
        EXPECT_EQ(shown(d, "NSUMME"), "0,00");
        // An emptied new date becomes 31 December of the old date's year when the old date is left.
        auto* d2 = find<ui::DateField>(d, "DABLES2");
        d2->setFocus(Qt::TabFocusReason);
        QApplication::processEvents();
        d2->selectAll();
        QTest::keyClick(d2, Qt::Key_Backspace);
        QTest::keyClick(d2, Qt::Key_Tab);
        QApplication::processEvents();
        EXPECT_TRUE(d2->date().empty());
        typeInto(find<QWidget>(d, "DABLES1"), "01012006");
        EXPECT_EQ(shown(d, "DABLES2"), "31.12.2006");
        // An emptied old date sets nothing and stops the calculation.
        auto* d1 = find<ui::DateField>(d, "DABLES1");
        d1->setFocus(Qt::TabFocusReason);
        QApplication::processEvents();
        d1->selectAll();
        QTest::keyClick(d1, Qt::Key_Backspace);
        QTest::keyClick(d1, Qt::Key_Tab);
        QApplication::processEvents();
        clearMessages();
        click(find<QPushButton>(d, "computeButton"));
        ASSERT_EQ(messages().size(), 1u);
        EXPECT_EQ(messages()[0].text, "Bitte korrigieren Sie die Ablesedaten!");
    });
    EXPECT_EQ(count_lines(records()), 0);
}

TEST_F(VerbrauchDialog, HistoryTakesOverAndDeletesWithoutAsking) {
    store(VerbrKind::Strom, {2004, 1, 1}, "Alt", 100);
    store(VerbrKind::Gas, {2005, 1, 1}, "Gaswerk", 300);
    store(VerbrKind::Strom, {2005, 1, 1}, "Neu", 200);
    run(VerbrKind::Strom, "stromDialog", [&](QWidget* d) {
        EXPECT_EQ(shown(d, "CLIEFER"), "Neu");
        bool listed = false;
        whenModal(
            [&](QWidget* h) {
                listed = true;
                EXPECT_EQ(h->windowTitle(), "Stromverbrauch - Historie");
                auto* take = find<QPushButton>(h, "takeButton");
                EXPECT_EQ(take->text(), "&Übernehmen");
                EXPECT_EQ(take->toolTip(), "Eintrag übernehmen");
                auto* g = h->findChild<ui::TableGrid*>();
                ASSERT_NE(g, nullptr);
                ASSERT_EQ(g->rows(), 2);  // the gas period is not listed
                EXPECT_EQ(g->heading(3), "Verbr. kW/h ");
                EXPECT_EQ(g->cellText(0, 0), "01.01.2004");
                EXPECT_EQ(g->cellText(1, 2).trimmed(), "Neu");
                g->selectRow(0);
                clearMessages();
                click(find<QPushButton>(h, "deleteButton"));
                EXPECT_TRUE(messages().empty());  // no question
                ASSERT_EQ(g->rows(), 1);
                EXPECT_EQ(g->cellText(0, 2).trimmed(), "Neu");
                g->selectRow(0);
                click(take);
            },
            "historyDialog");
        click(find<QPushButton>(d, "historyButton"));
        EXPECT_TRUE(listed);
    });
    const std::string r = records();
    EXPECT_EQ(count_lines(r), 2) << r;
    EXPECT_EQ(r.find("Alt"), std::string::npos);
    EXPECT_NE(r.find("Gaswerk"), std::string::npos);
}

TEST_F(VerbrauchDialog, DeleteKeyAndDoubleClickInTheHistory) {
    store(VerbrKind::Wasser, {2004, 1, 1}, "Erster", 100);
    store(VerbrKind::Wasser, {2005, 1, 1}, "Zweiter", 200);
    store(VerbrKind::Wasser, {2006, 1, 1}, "Dritter", 300);
    run(VerbrKind::Wasser, "wasserDialog", [&](QWidget* d) {
        EXPECT_EQ(shown(d, "CLIEFER"), "Dritter");
        whenModal(
            [&](QWidget* h) {
                EXPECT_EQ(h->windowTitle(), "Wasserverbrauch - Historie");
                auto* g = h->findChild<ui::TableGrid*>();
                ASSERT_NE(g, nullptr);
                EXPECT_EQ(g->heading(3), "Verbrauch m³ ");
                g->setFocus();
                g->selectRow(2);
                QKeyEvent del(QEvent::KeyPress, Qt::Key_Delete, Qt::NoModifier);
                QApplication::sendEvent(g, &del);
                QApplication::processEvents();
                ASSERT_EQ(g->rows(), 2);
                EXPECT_EQ(g->cellText(1, 2).trimmed(), "Zweiter");  // the last row again
                const QRect cell = g->visualRect(g->model()->index(0, 2));
                QTest::mousePress(g->viewport(), Qt::LeftButton, {}, cell.center());
                QTest::mouseRelease(g->viewport(), Qt::LeftButton, {}, cell.center());
                QTest::mouseDClick(g->viewport(), Qt::LeftButton, {}, cell.center());
                QApplication::processEvents();
                EXPECT_FALSE(h->isVisible());
                if (h->isVisible()) click(find<QPushButton>(h, "closeButton"));
            },
            "historyDialog");
        clearMessages();
        click(find<QPushButton>(d, "historyButton"));
        // The first period was taken over and calculated: its readings are equal, so the meter message.
        EXPECT_EQ(shown(d, "CLIEFER"), "Erster");
        EXPECT_EQ(shown(d, "DABLES1"), "01.01.2004");
        ASSERT_EQ(messages().size(), 1u);
        EXPECT_EQ(messages()[0].text, "Bitte korrigieren Sie die Zählerstände!");
    });
    const std::string r = records();
    EXPECT_EQ(count_lines(r), 2) << r;
    EXPECT_EQ(r.find("Dritter"), std::string::npos);
}

TEST_F(VerbrauchDialog, NoKindSeesAnothersPeriods) {
    store(VerbrKind::Wasser, {2006, 1, 1}, "Wasserwerk", 245);
    store(VerbrKind::Abwasser, {2006, 1, 1}, "Klärwerk", 99);
    run(VerbrKind::Abwasser, "abwasserDialog", [&](QWidget* d) {
        EXPECT_EQ(d->windowTitle(), "Abwasserverbrauch berechnen");
        EXPECT_EQ(shown(d, "CLIEFER"), "Klärwerk");
    });
    run(VerbrKind::Wasser, "wasserDialog", [&](QWidget* d) { EXPECT_EQ(shown(d, "CLIEFER"), "Wasserwerk"); });
    run(VerbrKind::Strom, "stromDialog", [&](QWidget* d) {
        EXPECT_EQ(shown(d, "CLIEFER"), "");
        EXPECT_FALSE(find<QPushButton>(d, "historyButton")->isEnabled());
    });
}

TEST_F(VerbrauchDialog, GasBillWithFactorAndRefundInBlack) {
    run(VerbrKind::Gas, "gasDialog", [&](QWidget* d) {
        typeInto(find<QWidget>(d, "NGRUNDDM"), "120");
        EXPECT_EQ(shown(d, "NGRUNDDM"), "120,00");
        typeInto(find<QWidget>(d, "NKWHDM"), "0,05");
        typeInto(find<QWidget>(d, "NINDEX"), "10,5");
        typeInto(find<QWidget>(d, "NABSCHLAG"), "100");
        typeInto(find<QWidget>(d, "NZAEHLER1"), "1000");
        typeInto(find<QWidget>(d, "DABLES1"), "01012006");
        EXPECT_EQ(shown(d, "DABLES2"), "31.12.2006");
        typeInto(find<QWidget>(d, "NZAEHLER2"), "3000");
        EXPECT_EQ(shown(d, "NVERBRKW"), "2.000");  // without the factor until computed
        clearMessages();
        click(find<QPushButton>(d, "computeButton"));
        EXPECT_TRUE(messages().empty());
        EXPECT_EQ(shown(d, "NVERBRKW"), "21.000");
        EXPECT_EQ(shown(d, "NVERBRDM"), "1.050,00");
        EXPECT_EQ(shown(d, "NSUMME"), "1.170,00");
        EXPECT_EQ(shown(d, "NSABSCHLAG"), "1.200,00");
        EXPECT_EQ(shown(d, "NSKORREKT"), "30,00");
        EXPECT_EQ(find<QLabel>(d, "CTKORREKT")->text(), "Sie bekommen eine Rückerstattung in Höhe von ca.");
        EXPECT_EQ(find<QLineEdit>(d, "NSKORREKT")->palette().color(QPalette::Base), QColor(Qt::white));
    });
    const std::string r = records();
    EXPECT_NE(r.find("4 2006-01-01  1170.0 0.05 10.5 12.0 21000"), std::string::npos) << r;
}

// Pictures of every window of the four calculators, for looking at them: VESTRAL_SHOTS=/dir.
TEST_F(VerbrauchDialog, Screenshots) {
    const char* shots = std::getenv("VESTRAL_SHOTS");
    if (!shots) GTEST_SKIP() << "VESTRAL_SHOTS not set";
    QDir().mkpath(shots);
    auto save = [&](QWidget* w, const QString& name) {
        QApplication::processEvents();
        EXPECT_TRUE(w->grab().save(QDir(shots).filePath(name)));
    };
    store(VerbrKind::Strom, {2004, 1, 1}, "Überlandwerk Süd", 650.5);
    store(VerbrKind::Strom, {2005, 1, 1}, "Überlandwerk Süd", 701.25);
    run(VerbrKind::Strom, "stromDialog", [&](QWidget* d) {
        typeElectricity(d);
        click(find<QPushButton>(d, "computeButton"));
        save(d, "strom_dialog.png");
        whenModal(
            [&](QWidget* p) {
                save(p, "strom_hochrechnung.png");
                click(find<QPushButton>(p, "closeButton"));
            },
            "projectionDialog");
        click(find<QPushButton>(d, "projectionButton"));
        whenModal(
            [&](QWidget* h) {
                save(h, "strom_historie.png");
                click(find<QPushButton>(h, "closeButton"));
            },
            "historyDialog");
        click(find<QPushButton>(d, "historyButton"));
    });
    store(VerbrKind::Wasser, {2005, 1, 1}, "Wasserwerk Öhringen", 230);
    run(VerbrKind::Wasser, "wasserDialog", [&](QWidget* d) {
        typeInto(find<QWidget>(d, "NGRUNDDM"), "5");
        typeInto(find<QWidget>(d, "NKWHDM"), "2");
        typeInto(find<QWidget>(d, "NABSCHLAG"), "20");
        typeInto(find<QWidget>(d, "NZAEHLER1"), "100");
        typeInto(find<QWidget>(d, "DABLES1"), "01012006");
        typeInto(find<QWidget>(d, "DABLES2"), "31122006");
        typeInto(find<QWidget>(d, "NZAEHLER2"), "220");
        click(find<QPushButton>(d, "computeButton"));
        save(d, "wasser_dialog.png");
        whenModal(
            [&](QWidget* p) {
                save(p, "wasser_hochrechnung.png");
                click(find<QPushButton>(p, "closeButton"));
            },
            "projectionDialog");
        click(find<QPushButton>(d, "projectionButton"));
        whenModal(
            [&](QWidget* h) {
                save(h, "wasser_historie.png");
                click(find<QPushButton>(h, "closeButton"));
            },
            "historyDialog");
        click(find<QPushButton>(d, "historyButton"));
    });
    run(VerbrKind::Abwasser, "abwasserDialog", [&](QWidget* d) { save(d, "abwasser_dialog.png"); });
    run(VerbrKind::Gas, "gasDialog", [&](QWidget* d) {
        save(d, "gas_dialog_leer.png");
        typeInto(find<QWidget>(d, "NGRUNDDM"), "120");
        typeInto(find<QWidget>(d, "NKWHDM"), "0,05");
        typeInto(find<QWidget>(d, "NINDEX"), "10,5");
        typeInto(find<QWidget>(d, "NABSCHLAG"), "100");
        typeInto(find<QWidget>(d, "NZAEHLER1"), "1000");
        typeInto(find<QWidget>(d, "DABLES1"), "01012006");
        typeInto(find<QWidget>(d, "NZAEHLER2"), "3000");
        click(find<QPushButton>(d, "computeButton"));
        save(d, "gas_dialog.png");
        whenModal(
            [&](QWidget* p) {
                save(p, "gas_hochrechnung.png");
                click(find<QPushButton>(p, "closeButton"));
            },
            "projectionDialog");
        click(find<QPushButton>(d, "projectionButton"));
    });
}

TEST_F(VerbrauchDialog, MenuOperationsAreRegistered) {
    app::register_calculators();
    for (const char* op : {"BER_STROM", "BER_WASSER", "BER_ABWASSER", "BER_GAS", "BER_EGKZ"})
        EXPECT_TRUE(app::has_calculator(op)) << op;
}

}  // namespace
