#include "calc/consumption/egkz_dialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest/QTest>

#include "core/program_settings.h"
#include "support/gui_fixture.h"
#include "toolkit/help.h"

using namespace vestral;
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

class EgkzDialog : public test::GuiTest {
  protected:
    void run(std::function<void(QWidget*)> body) {
        bool ran = false;
        whenModal(
            [&](QWidget* dlg) {
                dlg->activateWindow();
                EXPECT_TRUE(QTest::qWaitForWindowActive(dlg));
                body(dlg);
                ran = true;
                if (dlg->isVisible()) click(find<QPushButton>(dlg, "closeButton"));
            },
            "egkzDialog");
        calc::ber_egkz(nullptr);
        EXPECT_TRUE(ran);
    }
};

TEST_F(EgkzDialog, IndexOfAnOilHeatedHouseAndTheHotWaterReduction) {
    run([&](QWidget* d) {
        EXPECT_EQ(d->windowTitle(), "Energiekennzahl berechnen");
        EXPECT_EQ(toolkit::help::topic(), "Energiekennzahl berechnen");
        auto* compute = find<QPushButton>(d, "computeButton");
        EXPECT_FALSE(compute->isEnabled());
        EXPECT_EQ(find<QLabel>(d, "MTEXT")->text(),
                  "Bitte klicken Sie auf 'Berechnen' um die\nEnergiekennzahl zu erfahren !");
        EXPECT_FALSE(find<QWidget>(d, "NPERSONEN")->isEnabled());
        typeInto(find<QWidget>(d, "NSTROMJ"), "3500");
        typeInto(find<QWidget>(d, "NHZOEL"), "2000");
        EXPECT_EQ(shown(d, "NHZOELJ"), "20.000,00");
        EXPECT_EQ(shown(d, "NGESAMT"), "23.500,00");
        EXPECT_FALSE(compute->isEnabled());  // no area yet
        typeInto(find<QWidget>(d, "NWOHNFL"), "150");
        ASSERT_TRUE(compute->isEnabled());
        click(compute);
        EXPECT_TRUE(messages().empty());
        EXPECT_EQ(shown(d, "NERGEBNIS"), "156,67");
        EXPECT_EQ(find<QLabel>(d, "MTEXT")->text(), "Genaue Untersuchung empfehlenswert\nNote: Ausreichend");
        EXPECT_EQ(find<QLabel>(d, "MTEXT")->palette().color(QPalette::WindowText), QColor(Qt::black));

        find<QCheckBox>(d, "LWASSER")->setChecked(true);
        EXPECT_TRUE(find<QWidget>(d, "NPERSONEN")->isEnabled());
        EXPECT_EQ(shown(d, "NERGEBNIS"), "0,00");  // cleared with the prompt in red
        EXPECT_EQ(find<QLabel>(d, "MTEXT")->palette().color(QPalette::WindowText), QColor(Qt::red));
        typeInto(find<QWidget>(d, "NPERSONEN"), "4");
        click(compute);
        EXPECT_EQ(shown(d, "NERGEBNIS"), "125,33");
        typeInto(find<QWidget>(d, "NPERSONEN"), "20");
        click(compute);
        EXPECT_EQ(find<QLabel>(d, "MTEXT")->text(), "Passivhaus\nNote: Sehr Gut");
    });
    // Saved on closing, read back on reopening.
    const core::IniDocument doc = ini().load();
    EXPECT_EQ(doc.get("BER_EGKZ", "StromJ", ""), "3500.00");
    EXPECT_EQ(doc.get("BER_EGKZ", "Wasser", ""), "1");
    run([&](QWidget* d) {
        EXPECT_EQ(shown(d, "NSTROMJ"), "3500,00");
        EXPECT_EQ(shown(d, "NGESAMT"), "23.500,00");
        EXPECT_TRUE(find<QCheckBox>(d, "LWASSER")->isChecked());
        EXPECT_TRUE(find<QPushButton>(d, "computeButton")->isEnabled());
    });
}

TEST_F(EgkzDialog, ConverterOnAnEmptyRowCannotBeTakenOver) {
    run([&](QWidget* d) {
        bool opened = false;
        whenModal(
            [&](QWidget* c) {
                opened = true;
                EXPECT_EQ(c->windowTitle(), "Energiewert-Umrechner");
                EXPECT_FALSE(find<QPushButton>(c, "takeButton")->isEnabled());
                typeInto(find<QWidget>(c, "kWh"), "1");
                EXPECT_EQ(shown(c, "kJ"), "3.600,00");
                EXPECT_EQ(shown(c, "kcal"), "859,85");
                typeInto(find<QWidget>(c, "kcal"), "1000");
                EXPECT_EQ(shown(c, "kWh"), "1,1630");
                EXPECT_EQ(shown(c, "kJ"), "4.186,80");
                EXPECT_FALSE(find<QPushButton>(c, "takeButton")->isEnabled());
                click(find<QPushButton>(c, "closeButton"));
            },
            "converterDialog");
        click(find<QPushButton>(d, "stromConvert"));
        EXPECT_TRUE(opened);
        EXPECT_EQ(shown(d, "NSTROMJ"), "0,00");
    });
}

TEST_F(EgkzDialog, ConverterTakesTheKwhIntoTheRow) {
    run([&](QWidget* d) {
        typeInto(find<QWidget>(d, "NFERNWJ"), "5");
        whenModal(
            [&](QWidget* c) {
                EXPECT_EQ(shown(c, "kWh"), "0,0000");  // every field starts at 0
                typeInto(find<QWidget>(c, "kJ"), "36000");
                EXPECT_EQ(shown(c, "kWh"), "10,0000");
                auto* take = find<QPushButton>(c, "takeButton");
                ASSERT_TRUE(take->isEnabled());
                click(take);
            },
            "converterDialog");
        click(find<QPushButton>(d, "fernwConvert"));
        EXPECT_EQ(shown(d, "NFERNWJ"), "10,00");
        EXPECT_EQ(shown(d, "NGESAMT"), "10,00");
    });
}

}  // namespace

namespace {

// Pictures of the dialog and its converter: VESTRAL_SHOTS=/dir.
TEST_F(EgkzDialog, Screenshots) {
    const char* shots = std::getenv("VESTRAL_SHOTS");
    if (!shots) GTEST_SKIP() << "VESTRAL_SHOTS not set";
    QDir().mkpath(shots);
    auto save = [&](QWidget* w, const QString& name) {
        QApplication::processEvents();
        EXPECT_TRUE(w->grab().save(QDir(shots).filePath(name)));
    };
    run([&](QWidget* d) {
        save(d, "egkz_leer.png");
        typeInto(find<QWidget>(d, "NSTROMJ"), "3500");
        typeInto(find<QWidget>(d, "NHZOEL"), "2000");
        typeInto(find<QWidget>(d, "NWOHNFL"), "150");
        find<QCheckBox>(d, "LWASSER")->setChecked(true);
        typeInto(find<QWidget>(d, "NPERSONEN"), "4");
        click(find<QPushButton>(d, "computeButton"));
        save(d, "egkz_dialog.png");
        whenModal(
            [&](QWidget* c) {
                typeInto(find<QWidget>(c, "kWh"), "1");
                save(c, "egkz_umrechner.png");
                click(find<QPushButton>(c, "closeButton"));
            },
            "converterDialog");
        click(find<QPushButton>(d, "converterButton"));
    });
}

}  // namespace
