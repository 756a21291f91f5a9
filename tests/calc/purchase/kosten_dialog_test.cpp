#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest/QTest>

#include "app/calculators.h"
#include "calc/purchase/kosten1.h"
#include "calc/purchase/kosten1_dialog.h"
#include "calc/purchase/kosten2.h"
#include "calc/purchase/kosten2_dialog.h"
#include "core/mask.h"
#include "core/numbers.h"
#include "support/gui_fixture.h"
#include "toolkit/help.h"
#include "toolkit/status.h"
#include "ui/numeric_field.h"

using namespace vestral;
using test::find;
using test::typeInto;

namespace {

struct Typed {
    const char* field;
    const char* text;
};

const char* const kBuildingAmounts[] = {"NGRUNDST",  "NERSCHLDM",  "NVERMESSDM", "NNOTARDM",  "NBAUANTRDM",
                                        "NGRUESTDM", "NERSTELLDM", "NMAKLERDM",  "NKELLERDM", "NANSCHLDM",
                                        "NAUSSENDM", "NGARAGEDM",  "NKOSTEN"};
const char* const kPurchaseAmounts[] = {"NGRUNDST",  "NERSTELLDM", "NPREIS", "NNOTARDM",
                                        "NGRUESTDM", "NMAKLERDM",  "NKOSTEN"};

class KostenDialog : public test::GuiTest {
  protected:
    static QString text(QWidget* dlg, const char* name) { return find<QLineEdit>(dlg, name)->text(); }
    static QPushButton* button(QWidget* dlg, const char* name) { return find<QPushButton>(dlg, name); }
    static void type(QWidget* dlg, const std::vector<Typed>& values) {
        for (const Typed& v : values) typeInto(find<QWidget>(dlg, v.field), QString::fromUtf8(v.text));
    }
    template <size_t N>
    static void expectAllZero(QWidget* dlg, const char* const (&names)[N]) {
        for (const char* n : names) EXPECT_EQ(text(dlg, n), "0,00") << n;
    }

    // Opens the calculator and runs `body` in its dialog, then closes it with "Schließen".
    void run(bool (*entry)(QWidget*), const char* dialog, std::function<void(QWidget*)> body) {
        bool ran = false;
        whenModal(
            [&](QWidget* dlg) {
                // Typing starts once the dialog has the focus, as it does for a user.
                dlg->activateWindow();
                EXPECT_TRUE(QTest::qWaitForWindowActive(dlg, 2000));
                body(dlg);
                ran = true;
                if (dlg->isVisible()) button(dlg, "closeButton")->click();
            },
            dialog);
        EXPECT_TRUE(entry(nullptr));
        EXPECT_TRUE(ran);
    }
    void building(std::function<void(QWidget*)> body) { run(calc::kosten1::kosten1, "kosten1Dialog", body); }
    void purchase(std::function<void(QWidget*)> body) { run(calc::kosten2::kosten2, "kosten2Dialog", body); }

    // Every text and field gets at least the room it asks for, inside the dialog.
    static void expectNothingCut(QWidget* dlg) {
        for (QWidget* w : dlg->findChildren<QWidget*>()) {
            if (!w->isVisible() ||
                !(qobject_cast<QLabel*>(w) || qobject_cast<QLineEdit*>(w) || qobject_cast<QPushButton*>(w)))
                continue;
            const std::string name = w->objectName().toStdString();
            EXPECT_GE(w->width(), w->minimumSizeHint().width()) << name;
            EXPECT_GE(w->height(), w->minimumSizeHint().height()) << name;
            const QRect inside = QRect(w->mapTo(dlg, QPoint(0, 0)), w->size());
            EXPECT_TRUE(dlg->rect().contains(inside)) << name;
        }
    }

    static void expectButtons(QWidget* dlg) {
        const char* expected[][3] = {{"computeButton", "&Berechnen", "Berechnung durchführen"},
                                     {"printButton", "&Drucken", "Berechnung ausdrucken"},
                                     {"helpButton", "&Hilfe", "Hilfe anzeigen"},
                                     {"closeButton", "&Schließen", "Dialog beenden"}};
        for (const auto& b : expected) {
            QPushButton* w = button(dlg, b[0]);
            EXPECT_EQ(w->text(), QString::fromUtf8(b[1]));
            EXPECT_EQ(w->toolTip(), QString::fromUtf8(b[2]));
            EXPECT_TRUE(w->isEnabled()) << b[0];
        }
        EXPECT_TRUE(button(dlg, "computeButton")->isDefault());
    }
};

}  // namespace

// ---- Kosten beim Hausbau ------------------------------------------------------------------------

TEST_F(KostenDialog, HausbauOpensWithItsRowsAndDefaults) {
    building([&](QWidget* dlg) {
        EXPECT_EQ(dlg->windowTitle(), "Kosten beim Hausbau - Beispiel-Rechnung");
        EXPECT_GE(dlg->width(), 401);
        EXPECT_GE(dlg->height(), 425);
        expectNothingCut(dlg);
        expectButtons(dlg);
        EXPECT_EQ(toolkit::help::topic(), "Kosten beim Hausbau");

        QStringList labels;
        for (QLabel* l : dlg->findChildren<QLabel*>()) labels << l->text();
        for (const calc::kosten1::Field& f : calc::kosten1::kFields) {
            EXPECT_TRUE(labels.contains(QString::fromUtf8(f.label))) << f.label;
            auto* field = find<ui::NumericField>(dlg, f.object_name);
            EXPECT_EQ(field->helpText(), QString::fromUtf8(f.help));
            EXPECT_EQ(field->mask().picture, core::Mask::parse(f.mask).picture);
        }
        EXPECT_EQ(labels.count("="), 12);
        EXPECT_EQ(labels.count("€"), 8 + 13);
        EXPECT_EQ(labels.count("%"), 4);
        EXPECT_EQ(labels.count("m²"), 1);
        EXPECT_TRUE(labels.contains("Kosten gesamt"));

        // First opening: the default rates, everything else 0.
        EXPECT_EQ(text(dlg, "NVERMESS"), "2,500");
        EXPECT_EQ(text(dlg, "NNOTAR"), "1,500");
        EXPECT_EQ(text(dlg, "NGRUEST"), "3,500");
        EXPECT_EQ(text(dlg, "NMAKLER"), "6,000");
        EXPECT_EQ(text(dlg, "NERSTELL"), "0,00");
        expectAllZero(dlg, kBuildingAmounts);

        button(dlg, "helpButton")->click();
        ASSERT_FALSE(helpRequests().empty());
        EXPECT_EQ(helpRequests().back().topic, "Kosten beim Hausbau");
        find<QWidget>(dlg, "NANSCHL")->setFocus();
        QApplication::processEvents();
        EXPECT_EQ(toolkit::last_status(), "Anschlußkosten für Gas, Wasser und Strom in EUR");
    });
    EXPECT_EQ(toolkit::help::topic(), "Hauptauswahl");
}

TEST_F(KostenDialog, HausbauLeavingAFieldComputesEveryAmount) {
    building([&](QWidget* dlg) {
        type(dlg, {{"NGRUNDDM", "200"}, {"NGRUNDQM", "500"}, {"NERSCHL", "30"}});
        EXPECT_EQ(text(dlg, "NGRUNDST"), "100.000,00");
        EXPECT_EQ(text(dlg, "NERSCHLDM"), "15.000,00");
        EXPECT_EQ(text(dlg, "NVERMESSDM"), "2.875,00");
        EXPECT_EQ(text(dlg, "NNOTARDM"), "1.725,00");
        EXPECT_EQ(text(dlg, "NGRUESTDM"), "4.025,00");
        EXPECT_EQ(text(dlg, "NKOSTEN"), "123.625,00");
        type(dlg, {{"NERSTELL", "250000"},
                   {"NBAUANTR", "1800"},
                   {"NKELLER", "35000"},
                   {"NANSCHL", "6500"},
                   {"NAUSSEN", "12000"},
                   {"NGARAGE", "9500"}});
        EXPECT_EQ(text(dlg, "NMAKLERDM"), "17.400,00");
        EXPECT_EQ(text(dlg, "NERSTELLDM"), "250.000,00");
        EXPECT_EQ(text(dlg, "NBAUANTRDM"), "1.800,00");
        EXPECT_EQ(text(dlg, "NKELLERDM"), "35.000,00");
        EXPECT_EQ(text(dlg, "NANSCHLDM"), "6.500,00");
        EXPECT_EQ(text(dlg, "NAUSSENDM"), "12.000,00");
        EXPECT_EQ(text(dlg, "NGARAGEDM"), "9.500,00");
        EXPECT_EQ(text(dlg, "NKOSTEN"), "455.825,00");

        // Typing shows zeros until the field is left.
        auto* size = find<QWidget>(dlg, "NGRUNDQM");
        typeInto(size, "0", false);
        expectAllZero(dlg, kBuildingAmounts);
        QTest::keyClick(size, Qt::Key_Tab);
        EXPECT_EQ(text(dlg, "NGRUNDST"), "0,00");
        EXPECT_EQ(text(dlg, "NVERMESSDM"), "0,00");
        EXPECT_EQ(text(dlg, "NMAKLERDM"), "17.400,00");
        EXPECT_EQ(text(dlg, "NKOSTEN"), "332.200,00");

        // "Berechnen" takes over what is typed and computes.
        typeInto(size, "500", false);
        expectAllZero(dlg, kBuildingAmounts);
        button(dlg, "computeButton")->click();
        EXPECT_EQ(text(dlg, "NKOSTEN"), "455.825,00");
        EXPECT_TRUE(messages().empty());
    });
}

TEST_F(KostenDialog, HausbauRefusedValueIsShownInTheAmountsAndKeepsTheFocus) {
    building([&](QWidget* dlg) {
        type(dlg, {{"NGRUNDDM", "200"}, {"NGRUNDQM", "500"}, {"NERSCHL", "30"}});
        auto* notary = find<QWidget>(dlg, "NNOTAR");
        typeInto(notary, "12");
        ASSERT_EQ(messages().size(), 1u);
        EXPECT_EQ(messages()[0].title, "Eingabefehler");
        EXPECT_EQ(messages()[0].text,
                  "Die Eingabe für 'Notarkosten' ist zu hoch !\n"
                  "Geben Sie einen Wert zwischen 0 und 9 ein.\n\n"
                  "Durchschnittswerte: 1% bis 1,5%.");
        QApplication::processEvents();
        EXPECT_TRUE(notary->hasFocus());
        EXPECT_EQ(text(dlg, "NNOTARDM"), "13.800,00");  // 12 % of 115 000
        EXPECT_EQ(text(dlg, "NKOSTEN"), "135.700,00");

        // All four buttons stay enabled; "Drucken" first checks the field again and prints nothing.
        for (const char* b : {"computeButton", "printButton", "helpButton", "closeButton"})
            EXPECT_TRUE(button(dlg, b)->isEnabled()) << b;
        clearMessages();
        button(dlg, "printButton")->click();
        EXPECT_TRUE(printed().empty());
        ASSERT_EQ(messages().size(), 1u);
        EXPECT_EQ(messages()[0].title, "Eingabefehler");
        // "Hilfe" acts.
        button(dlg, "helpButton")->click();
        EXPECT_FALSE(helpRequests().empty());
    });
    // The refused value is never saved: the last accepted one is.
    EXPECT_EQ(ini().get("KOSTEN1", "Notar", ""), "1.500");
    EXPECT_EQ(ini().get("KOSTEN1", "Kosten", ""), "123625.00");
}

TEST_F(KostenDialog, HausbauClosingSavesAndReopeningShowsTheSameFigures) {
    QStringList shown;
    building([&](QWidget* dlg) {
        type(dlg, {{"NGRUNDDM", "123,45"},
                   {"NGRUNDQM", "617,33"},
                   {"NERSCHL", "27,5"},
                   {"NVERMESS", "2,345"},
                   {"NERSTELL", "198765,43"},
                   {"NMAKLER", "3,57"},
                   {"NGARAGE", "8999,99"}});
        for (const char* n : kBuildingAmounts) shown << text(dlg, n);
    });
    const auto& in = calc::kosten1::ko_gdata(ini());
    const double total = calc::kosten1::ko_rech(in).NKOSTEN;
    EXPECT_EQ(ini().get("KOSTEN1", "Kosten", ""), core::format_plain(total, 2));
    EXPECT_EQ(ini().get("KOSTEN1", "GrundDM", ""), "123.45");
    EXPECT_EQ(ini().get("KOSTEN1", "Vermess", ""), "2.345");
    EXPECT_EQ(ini().get("KOSTEN1", "Makler", ""), "3.570");
    EXPECT_EQ(ini().get("KOSTEN1", "Garage", ""), "8999.99");
    const std::string kosten = ini().get("KOSTEN1", "Kosten", "");
    EXPECT_EQ(kosten.size() - kosten.find('.'), 3u);

    building([&](QWidget* dlg) {
        QStringList again;
        for (const char* n : kBuildingAmounts) again << text(dlg, n);
        EXPECT_EQ(again, shown);
        EXPECT_EQ(text(dlg, "NGRUNDQM"), "617,33");
        // Escape closes and saves as well, with what was typed.
        typeInto(find<QWidget>(dlg, "NKELLER"), "1000");
        QTest::keyClick(dlg, Qt::Key_Escape);
    });
    EXPECT_EQ(ini().get("KOSTEN1", "Keller", ""), "1000.00");
    EXPECT_EQ(toolkit::help::topic(), "Hauptauswahl");

    // And the close box.
    building([&](QWidget* dlg) {
        typeInto(find<QWidget>(dlg, "NAUSSEN"), "2000");
        dlg->close();
    });
    EXPECT_EQ(ini().get("KOSTEN1", "Aussen", ""), "2000.00");
}

TEST_F(KostenDialog, HausbauCommissionCarriesTheTaxSetting) {
    ASSERT_TRUE(ini().set("SETUP_PROG", "MWST", "19"));
    building([&](QWidget* dlg) {
        type(dlg, {{"NERSTELL", "250000"}});
        EXPECT_EQ(text(dlg, "NMAKLERDM"), "17.850,00");
    });
}

TEST_F(KostenDialog, HausbauPrintsThePageOfTheInputsOnScreen) {
    building([&](QWidget* dlg) {
        type(dlg, {{"NGRUNDDM", "200"}, {"NGRUNDQM", "500"}, {"NERSCHL", "30"}, {"NERSTELL", "250000"}});
        // Typed but not left: the page still shows it.
        typeInto(find<QWidget>(dlg, "NKELLER"), "35000", false);
        button(dlg, "printButton")->click();
        ASSERT_EQ(printed().size(), 1u);
        const toolkit::PrintJob& job = printed()[0];
        EXPECT_EQ(job.name, "Kosten beim Hausbau");
        EXPECT_EQ(job.page_count(), 1);
        EXPECT_NE(job.find("35.000,00 EUR"), nullptr);
        EXPECT_NE(job.find("17.400,00 EUR"), nullptr);
        EXPECT_NE(job.find("426.025,00 EUR"), nullptr);
        EXPECT_EQ(text(dlg, "NKOSTEN"), "426.025,00");
    });
}

TEST_F(KostenDialog, HausbauAcceleratorsTakeOverWhatIsTyped) {
    building([&](QWidget* dlg) {
        type(dlg, {{"NGRUNDDM", "200"}, {"NGRUNDQM", "500"}});
        // Pressed the way an accelerator presses a button, with the focus still in the field:
        // what is typed there is computed.
        typeInto(find<QWidget>(dlg, "NGRUNDQM"), "600", false);
        expectAllZero(dlg, kBuildingAmounts);
        button(dlg, "computeButton")->click();
        EXPECT_EQ(text(dlg, "NGRUNDST"), "120.000,00");
        // "Drucken" prints what is typed.
        auto* size = find<QLineEdit>(dlg, "NGRUNDQM");
        ASSERT_TRUE(size->hasFocus());
        size->selectAll();
        QTest::keyClicks(size, "700");
        button(dlg, "printButton")->click();
        ASSERT_EQ(printed().size(), 1u);
        EXPECT_NE(printed()[0].find("140.000,00 EUR"), nullptr);
        EXPECT_EQ(text(dlg, "NGRUNDST"), "140.000,00");
        // A refused value typed: "Drucken" shows the message and prints nothing.
        typeInto(find<QWidget>(dlg, "NVERMESS"), "10", false);
        button(dlg, "printButton")->click();
        EXPECT_EQ(printed().size(), 1u);
        ASSERT_EQ(messages().size(), 1u);
        EXPECT_EQ(messages()[0].text,
                  "Die Eingabe für 'Vermessungskosten' ist zu hoch !\n"
                  "Geben Sie einen Wert zwischen 0 und 9 ein.\n\n"
                  "Durchschnittswerte: 0,5% bis 2,5%.");
        typeInto(find<QWidget>(dlg, "NVERMESS"), "2,5");

        // The buttons' help texts in the status bar.
        button(dlg, "printButton")->setFocus();
        QApplication::processEvents();
        EXPECT_EQ(toolkit::last_status(), "Berechnung ausdrucken");
        button(dlg, "computeButton")->setFocus();
        QApplication::processEvents();
        EXPECT_EQ(toolkit::last_status(), "Berechnung durchführen");
    });
}

TEST_F(KostenDialog, HausbauAmountsTooLargeForTheirMaskShowAsterisks) {
    building([&](QWidget* dlg) {
        type(dlg, {{"NGRUNDDM", "99999"}, {"NGRUNDQM", "999999"}});
        EXPECT_TRUE(messages().empty());
        EXPECT_EQ(text(dlg, "NGRUNDST"), "***********,**");
        EXPECT_EQ(text(dlg, "NKOSTEN"), "***********,**");
        EXPECT_EQ(text(dlg, "NVERMESSDM"), "***********,**");  // 2 499 972 500,03
        type(dlg, {{"NGRUNDQM", "10"}});
        EXPECT_EQ(text(dlg, "NGRUNDST"), "999.990,00");
    });
}

// ---- Kosten beim Hauskauf -----------------------------------------------------------------------

TEST_F(KostenDialog, HauskaufOpensWithItsNoteAndGroups) {
    purchase([&](QWidget* dlg) {
        EXPECT_EQ(dlg->windowTitle(), "Kosten beim Hauskauf - Beispiel-Rechnung");
        EXPECT_GE(dlg->width(), 401);
        EXPECT_GE(dlg->height(), 390);
        expectNothingCut(dlg);
        expectButtons(dlg);
        EXPECT_EQ(toolkit::help::topic(), "Kosten beim Hauskauf");
        EXPECT_EQ(find<QLabel>(dlg, "note")->text(),
                  "Die in diesem Dialog errechneten Kosten fallen nur beim Kauf einer\n"
                  "Immobilie an. Der Kaufpreis der Immobilie inkl. Grundstück kann auch\n"
                  "im Feld 'Hauskaufpreis' zusammengefaßt werden.");
        EXPECT_EQ(find<QGroupBox>(dlg, "groupProperty")->title(), "Immobilienkosten");
        EXPECT_EQ(find<QGroupBox>(dlg, "groupAdditional")->title(), "zusätzliche Kosten");
        EXPECT_EQ(find<QGroupBox>(dlg, "groupResult")->title(), "Ergebnis");
        // Each row in its group, in order.
        auto* property = find<QGroupBox>(dlg, "groupProperty");
        for (const char* n : {"NGRUNDDM", "NGRUNDQM", "NERSTELL", "NGRUNDST", "NERSTELLDM", "NPREIS"})
            EXPECT_TRUE(property->isAncestorOf(find<QWidget>(dlg, n))) << n;
        auto* additional = find<QGroupBox>(dlg, "groupAdditional");
        for (const char* n : {"NNOTAR", "NGRUEST", "NMAKLER", "NNOTARDM", "NGRUESTDM", "NMAKLERDM"})
            EXPECT_TRUE(additional->isAncestorOf(find<QWidget>(dlg, n))) << n;
        EXPECT_TRUE(find<QGroupBox>(dlg, "groupResult")->isAncestorOf(find<QWidget>(dlg, "NKOSTEN")));
        EXPECT_LT(find<QWidget>(dlg, "NGRUNDDM")->y(), find<QWidget>(dlg, "NGRUNDQM")->y());
        EXPECT_LT(find<QWidget>(dlg, "NNOTAR")->y(), find<QWidget>(dlg, "NMAKLER")->y());
        // The inputs and the amounts of the three groups stand under each other.
        auto x = [&](const char* n) { return find<QWidget>(dlg, n)->mapTo(dlg, QPoint(0, 0)).x(); };
        EXPECT_EQ(x("NMAKLERDM"), x("NPREIS"));
        EXPECT_EQ(x("NKOSTEN"), x("NPREIS"));
        EXPECT_EQ(x("NNOTAR"), x("NGRUNDDM"));

        for (const calc::kosten2::Field& f : calc::kosten2::kFields)
            EXPECT_EQ(find<ui::NumericField>(dlg, f.object_name)->helpText(), QString::fromUtf8(f.help));
        EXPECT_EQ(text(dlg, "NNOTAR"), "1,500");
        EXPECT_EQ(text(dlg, "NGRUEST"), "3,500");
        EXPECT_EQ(text(dlg, "NMAKLER"), "6,000");
        expectAllZero(dlg, kPurchaseAmounts);
    });
    EXPECT_EQ(toolkit::help::topic(), "Hauptauswahl");
}

TEST_F(KostenDialog, HauskaufComputesSavesAndReopens) {
    ASSERT_TRUE(ini().set("SETUP_PROG", "MWST", "19"));  // not for this calculator
    purchase([&](QWidget* dlg) {
        type(dlg, {{"NGRUNDDM", "200"}, {"NGRUNDQM", "500"}, {"NERSTELL", "200000"}});
        EXPECT_EQ(text(dlg, "NGRUNDST"), "100.000,00");
        EXPECT_EQ(text(dlg, "NERSTELLDM"), "200.000,00");
        EXPECT_EQ(text(dlg, "NPREIS"), "300.000,00");
        EXPECT_EQ(text(dlg, "NNOTARDM"), "4.500,00");
        EXPECT_EQ(text(dlg, "NGRUESTDM"), "10.500,00");
        EXPECT_EQ(text(dlg, "NMAKLERDM"), "20.880,00");
        EXPECT_EQ(text(dlg, "NKOSTEN"), "335.880,00");

        typeInto(find<QWidget>(dlg, "NMAKLER"), "20");
        ASSERT_EQ(messages().size(), 1u);
        EXPECT_EQ(messages()[0].text,
                  "Die Eingabe für 'Maklercourtage' ist zu hoch !\n"
                  "Geben Sie einen Wert zwischen 0 und 19 ein.\n\n"
                  "Durchschnittswerte: 3,0% bis 6,0%.");
        EXPECT_EQ(text(dlg, "NMAKLERDM"), "69.600,00");
        typeInto(find<QWidget>(dlg, "NMAKLER"), "6");
        EXPECT_EQ(text(dlg, "NKOSTEN"), "335.880,00");

        button(dlg, "printButton")->click();
        ASSERT_EQ(printed().size(), 1u);
        EXPECT_EQ(printed()[0].name, "Kosten beim Hauskauf");
        EXPECT_NE(printed()[0].find("    335.880,00 EUR"), nullptr);
    });
    EXPECT_EQ(ini().get("KOSTEN2", "GrundDM", ""), "200.00");
    EXPECT_EQ(ini().get("KOSTEN2", "GrundQM", ""), "500.00");
    EXPECT_EQ(ini().get("KOSTEN2", "Erstell", ""), "200000.00");
    EXPECT_EQ(ini().get("KOSTEN2", "Makler", ""), "6.000");
    EXPECT_EQ(ini().get("KOSTEN2", "Kosten", "<none>"), "<none>");

    purchase([&](QWidget* dlg) {
        EXPECT_EQ(text(dlg, "NKOSTEN"), "335.880,00");
        // Without land the percentages are those of the house price alone.
        typeInto(find<QWidget>(dlg, "NGRUNDQM"), "0");
        EXPECT_EQ(text(dlg, "NPREIS"), "200.000,00");
        EXPECT_EQ(text(dlg, "NMAKLERDM"), "13.920,00");
        EXPECT_EQ(text(dlg, "NKOSTEN"), "223.920,00");
        QTest::keyClick(dlg, Qt::Key_Escape);
    });
    EXPECT_EQ(ini().get("KOSTEN2", "GrundQM", ""), "0.00");
}

TEST_F(KostenDialog, BothAreStartedFromTheMenu) {
    app::register_calculators();
    for (const char* op : {"KOSTEN1", "KOSTEN2"}) {
        ASSERT_TRUE(app::has_calculator(op)) << op;
        QWidget main;
        QWidget* parent_seen = nullptr;
        whenModal([&](QWidget* d) {
            parent_seen = d->parentWidget();
            button(d, "closeButton")->click();
        });
        EXPECT_TRUE(app::launch_calculator(op, &main));
        EXPECT_EQ(parent_seen, &main) << op;
    }
}

// Pictures of both dialogs with figures, when VESTRAL_SHOTS names a directory.
TEST_F(KostenDialog, Screenshots) {
    const QString shots = qEnvironmentVariable("VESTRAL_SHOTS");
    if (shots.isEmpty()) GTEST_SKIP() << "VESTRAL_SHOTS not set";
    QDir().mkpath(shots);
    building([&](QWidget* dlg) {
        type(dlg, {{"NGRUNDDM", "200"},
                   {"NGRUNDQM", "500"},
                   {"NERSCHL", "30"},
                   {"NBAUANTR", "1800"},
                   {"NERSTELL", "250000"},
                   {"NKELLER", "35000"},
                   {"NANSCHL", "6500"},
                   {"NAUSSEN", "12000"},
                   {"NGARAGE", "9500"}});
        EXPECT_TRUE(dlg->grab().save(shots + "/kosten1_grab.png"));
    });
    purchase([&](QWidget* dlg) {
        type(dlg, {{"NGRUNDDM", "200"}, {"NGRUNDQM", "500"}, {"NERSTELL", "200000"}});
        EXPECT_TRUE(dlg->grab().save(shots + "/kosten2_grab.png"));
    });
}
