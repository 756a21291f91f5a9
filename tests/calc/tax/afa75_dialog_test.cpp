#include "calc/tax/afa75_dialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QtTest/QTest>
#include <filesystem>

#include "app/calculators.h"
#include "calc/tax/afa75.h"
#include "core/catalogue.h"
#include "core/clock.h"
#include "core/dbf.h"
#include "support/gui_fixture.h"
#include "support/gui_steps.h"
#include "toolkit/status.h"
#include "ui/numeric_field.h"
#include "ui/table_grid.h"
#include "ui/text_field.h"

using namespace vestral;
using test::find;
using test::typeInto;

namespace {

class Afa75Dialog : public test::CalculatorTest {
  protected:
    void SetUp() override {
        GuiTest::SetUp();
        core::set_today_for_tests({2026, 12, 8});
    }

    std::filesystem::path table() const { return dir() / "STEU75E.DBF"; }
    // STEU75E as it is on disk, read by an independent reader (it takes no lock).
    std::string py(const std::string& body) const {
        return test::run_python("import dbfread\nt = list(dbfread.DBF('" + table().string() + "'))\n" + body);
    }
    int records() const { return std::stoi(py("print(len(t))\n")); }

    void store(const char* key, const char* value) { ini().set("AFA75", key, value); }

    static QPushButton* button(QWidget* dlg, const char* name) { return find<QPushButton>(dlg, name); }
    static QString text(QWidget* dlg, const char* name) { return find<QLineEdit>(dlg, name)->text(); }
    static ui::TableGrid* grid(QWidget* dlg) { return find<ui::TableGrid>(dlg, "scheduleGrid"); }
    static QRadioButton* normal(QWidget* dlg) { return find<QRadioButton>(dlg, "afaNormal"); }
    static QRadioButton* declining(QWidget* dlg) { return find<QRadioButton>(dlg, "afaDeclining"); }
    static QString kind(QWidget* dlg) { return find<QLabel>(dlg, "CABSCHART")->text(); }

    // Opens the calculator, runs `body` in its dialog and closes it with "Schließen".
    void run(const std::function<void(QWidget*)>& body, QWidget* parent = nullptr) {
        inDialog(
            "afa75Dialog", [parent] { calc::p75e_prog(parent); }, body);
    }

    // Cost and both dates typed as a user would.
    static void type(QWidget* dlg, const char* cost, const char* bought, const char* done) {
        typeInto(find<QWidget>(dlg, "NKAUFPREIS"), cost);
        typeInto(find<QWidget>(dlg, "DKAUFDAT"), bought);
        typeInto(find<QWidget>(dlg, "DFERTDAT"), done);
    }
    static void compute(QWidget* dlg) {
        button(dlg, "computeButton")->click();
        QApplication::processEvents();
    }
};

TEST_F(Afa75Dialog, OpensAsDescribed) {
    run([&](QWidget* dlg) {
        auto* d = qobject_cast<QDialog*>(dlg);
        ASSERT_NE(d, nullptr);
        EXPECT_EQ(d->windowTitle(), "Abschreibung nach §7 EStG. (AfA bei Vermietung)");
        EXPECT_GE(d->width(), 571);
        EXPECT_GE(d->height(), 390);
        EXPECT_TRUE(d->screen()->availableGeometry().contains(d->geometry()))
            << d->geometry().x() << "," << d->geometry().y() << " " << d->width() << "x" << d->height()
            << " in " << d->screen()->availableGeometry().width() << "x"
            << d->screen()->availableGeometry().height();
        EXPECT_EQ(toolkit::help::topic(), "Abschreibung bei Vermietung");
        // Every text and field gets the room it asks for.
        for (QWidget* w : dlg->findChildren<QWidget*>()) {
            if (!w->isVisible() || !(qobject_cast<QLabel*>(w) || qobject_cast<QLineEdit*>(w) ||
                                     qobject_cast<QAbstractButton*>(w)))
                continue;
            EXPECT_GE(w->width(), w->minimumSizeHint().width()) << w->objectName().toStdString();
            EXPECT_GE(w->height(), w->minimumSizeHint().height()) << w->objectName().toStdString();
        }
        EXPECT_EQ(find<QGroupBox>(dlg, "groupDaten")->title(), "Daten");
        EXPECT_EQ(find<QGroupBox>(dlg, "groupZusammenfassung")->title(), "Zusammenfassung");
        // The table is open and empty.
        EXPECT_TRUE(std::filesystem::exists(table()));
        EXPECT_EQ(records(), 0);

        // Nothing stored: cost 0, both dates today, straight-line, the radio free.
        EXPECT_EQ(text(dlg, "NKAUFPREIS"), "0,00");
        EXPECT_EQ(text(dlg, "DKAUFDAT"), "08.12.2026");
        EXPECT_EQ(text(dlg, "DFERTDAT"), "08.12.2026");
        EXPECT_FALSE(find<QCheckBox>(dlg, "LBETRVERM")->isChecked());
        EXPECT_FALSE(find<QCheckBox>(dlg, "LWOHNUNG")->isChecked());
        EXPECT_TRUE(normal(dlg)->isChecked());
        EXPECT_TRUE(normal(dlg)->isEnabled());
        EXPECT_TRUE(declining(dlg)->isEnabled());
        EXPECT_EQ(kind(dlg), "");
        EXPECT_EQ(text(dlg, "NAFASUM"), "0,00");
        EXPECT_EQ(text(dlg, "NAFADAU"), "0");

        QStringList labels;
        for (QLabel* l : dlg->findChildren<QLabel*>()) labels << l->text();
        for (const char* l :
             {"Kauf- oder Baukosten ohne Grund und Boden",
              "Anschaffungsdatum bzw. Datum der\nBauantragsstellung", "Datum der Fertigstellung",
              "Abschreibungsart", "Addition der Freibeträge", "€", "Abschreibungsdauer", "Jahre"})
            EXPECT_TRUE(labels.contains(QString::fromUtf8(l))) << l;
        EXPECT_EQ(find<QCheckBox>(dlg, "LBETRVERM")->text(), "&Objekt gehört zum Betriebsvermögen");
        EXPECT_EQ(find<QCheckBox>(dlg, "LWOHNUNG")->text(), "Objekt dient zu Wohnzwecken");
        EXPECT_EQ(normal(dlg)->text(), "&normale AfA");
        EXPECT_EQ(declining(dlg)->text(), "de&gressive Afa");
        EXPECT_EQ(find<ui::NumericField>(dlg, "NKAUFPREIS")->mask().picture, "999,999,999.99 ");
        EXPECT_EQ(find<ui::NumericField>(dlg, "NKAUFPREIS")->helpText(), "Kauf- und Baukosten der Immobilie");
        EXPECT_EQ(find<ui::DateField>(dlg, "DKAUFDAT")->helpText(),
                  "Erwerbsjahr oder Bauantragsstellungsjahr");
        EXPECT_EQ(find<ui::DateField>(dlg, "DFERTDAT")->helpText(), "Datum der Fertigstellung");

        struct B {
            const char* name;
            const char* text;
            const char* tooltip;
        };
        for (const B& b : {B{"computeButton", "&Berechnen", "Abschreibung errechnen"},
                           B{"printButton", "&Drucken", "Abschreibung drucken"},
                           B{"helpButton", "&Hilfe", "Hilfe anzeigen"},
                           B{"closeButton", "&Schließen", "Dialog verlassen"}}) {
            EXPECT_EQ(button(dlg, b.name)->text(), QString::fromUtf8(b.text));
            EXPECT_EQ(button(dlg, b.name)->toolTip(), QString::fromUtf8(b.tooltip));
        }
        EXPECT_TRUE(button(dlg, "computeButton")->isDefault());
        EXPECT_FALSE(button(dlg, "computeButton")->isEnabled());
        EXPECT_FALSE(button(dlg, "printButton")->isEnabled());

        // The list: four headings, the first column left, no horizontal scroll bar.
        ui::TableGrid* g = grid(dlg);
        ASSERT_EQ(g->columns(), 4);
        EXPECT_EQ(g->heading(0), "  Jahr");
        EXPECT_EQ(g->heading(1), "Steuerjahr ");
        EXPECT_EQ(g->heading(2), "Freibetrag ");
        EXPECT_EQ(g->heading(3), "%-Satz ");
        EXPECT_EQ(g->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
        const int least[4] = {40, 60, 100, 75};
        for (int c = 0; c < 4; ++c) EXPECT_GE(g->columnWidth(c), least[c]) << c;
        EXPECT_GE(g->width(), g->fullWidth());
        EXPECT_EQ(g->rows(), 0);

        button(dlg, "helpButton")->click();
        ASSERT_FALSE(helpRequests().empty());
        EXPECT_EQ(helpRequests().back().topic, "Abschreibung bei Vermietung");
    });
    EXPECT_EQ(toolkit::help::topic(), "Hauptauswahl");
    // The table stays on disk for the letting plan.
    EXPECT_TRUE(std::filesystem::exists(table()));
}

TEST_F(Afa75Dialog, EveryControlShowsItsHintInTheStatusBar) {
    store("Kaufpreis", "1000.00");
    run([&](QWidget* dlg) {
        const std::vector<std::pair<const char*, const char*>> hints = {
            {"NKAUFPREIS", "Kauf- und Baukosten der Immobilie"},
            {"DKAUFDAT", "Erwerbsjahr oder Bauantragsstellungsjahr"},
            {"DFERTDAT", "Datum der Fertigstellung"},
            {"LBETRVERM", "Immobilie gehört zu einem Betriebsvermögen"},
            {"LWOHNUNG", "Immobilie wird als Wohnung genutzt"},
            {"afaNormal", "Art der Abschreibung"},
            {"afaDeclining", "Art der Abschreibung"},
            {"computeButton", "Abschreibung berechnen"},
        };
        for (const auto& [name, hint] : hints) {
            QWidget* w = find<QWidget>(dlg, name);
            w->setEnabled(true);
            w->setFocus(Qt::TabFocusReason);
            QApplication::processEvents();
            EXPECT_EQ(toolkit::last_status().toStdString(), hint) << name;
        }
    });
}

TEST_F(Afa75Dialog, ComputesAndLeavesTableAndSectionForTheLettingPlan) {
    run([&](QWidget* dlg) {
        type(dlg, "100000", "01032004", "15092004");
        ASSERT_TRUE(button(dlg, "computeButton")->isEnabled());
        compute(dlg);
        EXPECT_TRUE(messages().empty());
        EXPECT_EQ(kind(dlg), " Ersatz-AFA nach §7 Abs. 4 Nr. 2a");
        EXPECT_EQ(text(dlg, "NAFASUM"), "100.000,00");
        EXPECT_EQ(text(dlg, "NAFADAU"), "50");
        EXPECT_TRUE(button(dlg, "printButton")->isEnabled());
        ui::TableGrid* g = grid(dlg);
        ASSERT_EQ(g->rows(), 50);
        EXPECT_EQ(g->currentIndex().row(), 0);
        EXPECT_EQ(g->cellText(0, 0), "  2004 ");
        EXPECT_EQ(g->cellText(0, 1), "    1  ");
        EXPECT_EQ(g->cellText(0, 2), "      2.000,00 ");
        EXPECT_EQ(g->cellText(0, 3), "          2,00 ");
        EXPECT_EQ(g->cellText(49, 0), "  2053 ");
        EXPECT_EQ(g->cellText(49, 1), "   50  ");
        EXPECT_EQ(g->model()->headerData(0, Qt::Horizontal, Qt::TextAlignmentRole).value<Qt::Alignment>() &
                      Qt::AlignHorizontal_Mask,
                  Qt::AlignLeft);
        EXPECT_EQ(g->model()->headerData(2, Qt::Horizontal, Qt::TextAlignmentRole).value<Qt::Alignment>() &
                      Qt::AlignHorizontal_Mask,
                  Qt::AlignRight);
        // The file is complete while the dialog still shows it.
        EXPECT_EQ(records(), 50);
    });
    // What the letting plan reads: the year, the amount and the rate of every record...
    EXPECT_EQ(py("print(len(t), sum(r['FREIBETRAG'] for r in t))\n"
                 "for r in (t[0], t[-1]): print(r['JAHR'], r['FREIBETRAG'], r['STJAHR'], r['STVORTEIL'])\n"),
              "50 100000.0\n2004 2000.0 1 2.0\n2053 2000.0 50 2.0\n");
    // ... and the section, the results at full precision.
    const std::vector<std::pair<const char*, const char*>> expected = {
        {"Kaufpreis", "100000.00"},
        {"Kaufdatum", "01.03.2004"},
        {"DatumFertig", "15.09.2004"},
        {"AlsBetrVerm", "0"},
        {"AlsWohnung", "0"},
        {"AbschreibArt", "421"},
        {"AfAart", "1"},
        {"Abschreibung", "Ersatz-AFA nach §7 Abs. 4 Nr. 2a"},
        {"AfASum", "100000"},
        {"AfADau", "50"},
    };
    for (const auto& [key, value] : expected) EXPECT_EQ(ini().get("AFA75", key, "?"), value) << key;

    // Reopened: the same inputs; the schedule starts empty again.
    run([&](QWidget* dlg) {
        EXPECT_EQ(find<ui::NumericField>(dlg, "NKAUFPREIS")->value(), 100'000);
        EXPECT_EQ(text(dlg, "DKAUFDAT"), "01.03.2004");
        EXPECT_EQ(text(dlg, "DFERTDAT"), "15.09.2004");
        EXPECT_TRUE(normal(dlg)->isChecked());
        EXPECT_EQ(grid(dlg)->rows(), 0);
        EXPECT_EQ(records(), 0);
        EXPECT_TRUE(button(dlg, "computeButton")->isEnabled());
    });
}

TEST_F(Afa75Dialog, CostOutsideItsBoundsIsRefusedAndKeepsTheFocus) {
    run([&](QWidget* dlg) {
        type(dlg, "100000", "01032004", "15092004");
        compute(dlg);
        ASSERT_EQ(records(), 50);
        auto* cost = find<ui::NumericField>(dlg, "NKAUFPREIS");
        typeInto(cost, "100000000");
        QApplication::processEvents();
        ASSERT_FALSE(messages().empty());
        EXPECT_EQ(messages().back().title, "Eingabefehler");
        EXPECT_EQ(lastMessage(),
                  "Die Eingabe für 'Kauf- / Baukosten' ist zu hoch !\n"
                  "Geben Sie einen Wert zwischen 1 und 99999999 ein.");
        EXPECT_TRUE(cost->hasFocus());
        // Any change of the cost empties the schedule; a refused one blocks both buttons.
        EXPECT_EQ(records(), 0);
        EXPECT_EQ(grid(dlg)->rows(), 0);
        EXPECT_FALSE(button(dlg, "computeButton")->isEnabled());
        EXPECT_FALSE(button(dlg, "printButton")->isEnabled());
        clearMessages();
        typeInto(cost, "0,5");
        QApplication::processEvents();
        EXPECT_EQ(lastMessage(),
                  "Die Eingabe für 'Kauf- / Baukosten' ist zu niedrig !\n"
                  "Geben Sie einen Wert zwischen 1 und 99999999 ein.");
        clearMessages();
        typeInto(cost, "99999999");
        QApplication::processEvents();
        EXPECT_TRUE(messages().empty());
        EXPECT_TRUE(button(dlg, "computeButton")->isEnabled());
    });
    // The refused values are never saved.
    EXPECT_EQ(ini().get("AFA75", "Kaufpreis", ""), "99999999.00");
}

TEST_F(Afa75Dialog, ComputeWithARefusedCostTypedShowsTheMessageAndComputesNothing) {
    run([&](QWidget* dlg) {
        type(dlg, "100000", "01032004", "15092004");
        // Typed but not left: "Berechnen" checks the field first and computes nothing.
        typeInto(find<QWidget>(dlg, "NKAUFPREIS"), "123456789", false);
        ASSERT_TRUE(button(dlg, "computeButton")->isEnabled());
        button(dlg, "computeButton")->click();
        QApplication::processEvents();
        ASSERT_EQ(messages().size(), 1u);
        EXPECT_EQ(lastMessage(),
                  "Die Eingabe für 'Kauf- / Baukosten' ist zu hoch !\n"
                  "Geben Sie einen Wert zwischen 1 und 99999999 ein.");
        EXPECT_EQ(records(), 0);
        EXPECT_EQ(grid(dlg)->rows(), 0);
        EXPECT_EQ(kind(dlg), "");
        // "Hilfe" acts all the same.
        button(dlg, "helpButton")->click();
        EXPECT_FALSE(helpRequests().empty());
    });
    EXPECT_EQ(ini().get("AFA75", "Kaufpreis", ""), "100000.00");
}

TEST_F(Afa75Dialog, AnEmptyDateOrCostKeepsComputeDisabled) {
    run([&](QWidget* dlg) {
        type(dlg, "50000", "01032004", "15092004");
        ASSERT_TRUE(button(dlg, "computeButton")->isEnabled());
        auto* done = find<ui::DateField>(dlg, "DFERTDAT");
        done->setFocus(Qt::TabFocusReason);
        QApplication::processEvents();
        QTest::keyClick(done, Qt::Key_Backspace);
        EXPECT_FALSE(button(dlg, "computeButton")->isEnabled());
        QTest::keyClicks(done, "01012005");
        EXPECT_TRUE(button(dlg, "computeButton")->isEnabled());
        auto* cost = find<ui::NumericField>(dlg, "NKAUFPREIS");
        cost->setFocus(Qt::TabFocusReason);
        QApplication::processEvents();
        QTest::keyClick(cost, '0');
        EXPECT_FALSE(button(dlg, "computeButton")->isEnabled());
    });
}

TEST_F(Afa75Dialog, EveryChangeOfABoxTheRadioOrADateEmptiesTheSchedule) {
    run([&](QWidget* dlg) {
        type(dlg, "100000", "01031996", "15091996");
        auto recompute = [&] {
            compute(dlg);
            ASSERT_GT(records(), 0);
            ASSERT_TRUE(button(dlg, "printButton")->isEnabled());
        };
        auto expect_emptied = [&](const char* what) {
            EXPECT_EQ(records(), 0) << what;
            EXPECT_EQ(grid(dlg)->rows(), 0) << what;
            EXPECT_FALSE(button(dlg, "printButton")->isEnabled()) << what;
            EXPECT_EQ(text(dlg, "NAFASUM"), "0,00") << what;
            EXPECT_EQ(kind(dlg), "") << what;
        };
        recompute();
        find<QCheckBox>(dlg, "LWOHNUNG")->click();
        expect_emptied("housing");
        recompute();
        EXPECT_EQ(kind(dlg), " Ersatz-AFA nach §7 Abs. 4 Nr. 2a");
        declining(dlg)->click();
        expect_emptied("radio");
        EXPECT_TRUE(declining(dlg)->isChecked());
        recompute();
        EXPECT_EQ(records(), 50);
        EXPECT_EQ(grid(dlg)->cellText(0, 3), "          5,00 ");
        find<QCheckBox>(dlg, "LBETRVERM")->click();
        expect_emptied("business");
        recompute();
        typeInto(find<QWidget>(dlg, "DFERTDAT"), "16091996");
        expect_emptied("date");
    });
}

TEST_F(Afa75Dialog, HousingAppliedIn1990Declining531) {
    run([&](QWidget* dlg) {
        type(dlg, "100000", "15061990", "30041991");
        find<QCheckBox>(dlg, "LWOHNUNG")->click();
        ASSERT_TRUE(declining(dlg)->isEnabled());
        declining(dlg)->click();
        compute(dlg);
        EXPECT_EQ(kind(dlg), " AFA nach §7 Abs. 5");
        ui::TableGrid* g = grid(dlg);
        ASSERT_EQ(g->rows(), 40);
        EXPECT_EQ(g->cellText(0, 0), "  1991 ");
        EXPECT_EQ(g->cellText(0, 3), "          7,00 ");
        EXPECT_EQ(g->cellText(4, 3), "          5,00 ");
        EXPECT_EQ(g->cellText(10, 3), "          2,00 ");
        EXPECT_EQ(g->cellText(16, 3), "          1,25 ");
        EXPECT_EQ(g->cellText(39, 2), "      1.250,00 ");
        EXPECT_EQ(text(dlg, "NAFADAU"), "40");
    });
    EXPECT_EQ(ini().get("AFA75", "AbschreibArt", ""), "531");
    EXPECT_EQ(ini().get("AFA75", "AfAart", ""), "2");
}

TEST_F(Afa75Dialog, BusinessNotHousingAfter1993ForcesStraightLineWithTheRadioDisabled) {
    run([&](QWidget* dlg) {
        type(dlg, "100000", "01021994", "01051994");
        declining(dlg)->click();
        ASSERT_TRUE(declining(dlg)->isChecked());
        find<QCheckBox>(dlg, "LBETRVERM")->click();
        EXPECT_TRUE(normal(dlg)->isChecked());
        EXPECT_FALSE(normal(dlg)->isEnabled());
        EXPECT_FALSE(declining(dlg)->isEnabled());
        compute(dlg);
        EXPECT_EQ(kind(dlg), " Normal-AfA nach §7 Abs. 4 Nr. 1");
        ASSERT_EQ(grid(dlg)->rows(), 25);
        EXPECT_EQ(grid(dlg)->cellText(0, 0), "  1994 ");
        EXPECT_EQ(grid(dlg)->cellText(24, 3), "          4,00 ");
        // Housing lifts the restriction.
        find<QCheckBox>(dlg, "LWOHNUNG")->click();
        EXPECT_TRUE(declining(dlg)->isEnabled());
    });
}

TEST_F(Afa75Dialog, PrivateAfter1994KeepsTheRadioButSnapsBackToStraightLine) {
    run([&](QWidget* dlg) {
        typeInto(find<QWidget>(dlg, "DKAUFDAT"), "01011995");
        EXPECT_TRUE(normal(dlg)->isChecked());
        EXPECT_TRUE(declining(dlg)->isEnabled());
        declining(dlg)->click();
        EXPECT_TRUE(normal(dlg)->isChecked());
        EXPECT_TRUE(declining(dlg)->isEnabled());
    });
    EXPECT_EQ(ini().get("AFA75", "AfAart", ""), "1");
}

TEST_F(Afa75Dialog, StoredDecliningChoiceIsNotRevisedOnLoading) {
    store("Kaufpreis", "100000.00");
    store("Kaufdatum", "01.03.2003");
    store("DatumFertig", "01.10.2003");
    store("AfAart", "2");
    run([&](QWidget* dlg) {
        EXPECT_TRUE(declining(dlg)->isChecked());
        compute(dlg);
        EXPECT_TRUE(messages().empty());
        EXPECT_EQ(kind(dlg), " AFA nach §7 Abs. 4 Nr. 2a");
        ASSERT_EQ(grid(dlg)->rows(), 50);
        EXPECT_EQ(grid(dlg)->cellText(0, 3), "          2,00 ");
    });
    EXPECT_EQ(ini().get("AFA75", "AbschreibArt", ""), "522");
    EXPECT_EQ(ini().get("AFA75", "AfAart", ""), "2");
}

TEST_F(Afa75Dialog, NoKindPossibleShowsTheMessageAndAnEmptySchedule) {
    store("Kaufpreis", "100000.00");
    store("Kaufdatum", "10.01.1995");
    store("DatumFertig", "01.11.1994");
    store("AlsWohnung", "1");
    store("AfAart", "2");
    run([&](QWidget* dlg) {
        compute(dlg);
        ASSERT_EQ(messages().size(), 1u);
        EXPECT_EQ(messages()[0].title, "Problem");
        EXPECT_EQ(messages()[0].text,
                  "Eine Abschreibung ist nicht möglich.\nBitte prüfen Sie Ihre Eingaben !");
        EXPECT_EQ(kind(dlg), " kein Ersatz-AfA möglich !");
        EXPECT_EQ(grid(dlg)->rows(), 0);
        EXPECT_EQ(records(), 0);
        EXPECT_EQ(text(dlg, "NAFASUM"), "0,00");
        EXPECT_EQ(text(dlg, "NAFADAU"), "0");
        EXPECT_FALSE(button(dlg, "printButton")->isEnabled());
    });
    EXPECT_EQ(ini().get("AFA75", "AbschreibArt", ""), "0");
    EXPECT_EQ(ini().get("AFA75", "AfASum", ""), "0");
    EXPECT_EQ(ini().get("AFA75", "AfADau", ""), "0");
}

TEST_F(Afa75Dialog, PrintsThePlanOnScreenAndReturnsToTheFirstRow) {
    run([&](QWidget* dlg) {
        type(dlg, "100000", "01032004", "15092004");
        compute(dlg);
        ui::TableGrid* g = grid(dlg);
        g->selectRow(30);
        button(dlg, "printButton")->click();
        ASSERT_EQ(printed().size(), 1u);
        const toolkit::PrintJob& job = printed()[0];
        EXPECT_EQ(job.name, "Abschreibung bei Vermietung");
        ASSERT_NE(job.find("100.000,00 EUR"), nullptr);
        EXPECT_NE(job.find("01.03.2004"), nullptr);
        EXPECT_NE(job.find(" Ersatz-AFA nach §7 Abs. 4 Nr. 2a"), nullptr);
        EXPECT_NE(job.find("50 Jahre"), nullptr);
        EXPECT_EQ(g->currentIndex().row(), 0);
    });
}

TEST_F(Afa75Dialog, AsAChildItClosesOnlyItsOwnTable) {
    QDialog parent;
    parent.setObjectName("plan");
    core::dbf::Table plan_table;
    ASSERT_TRUE(core::dbf::open_or_create(plan_table, dir(), "FINZPL2.DBF", core::catalogue_layout("FINZPL2"),
                                          "DFP2"));
    run(
        [&](QWidget* dlg) {
            EXPECT_EQ(dlg->parentWidget(), &parent);
            type(dlg, "80000", "01032004", "15092004");
            compute(dlg);
        },
        &parent);
    EXPECT_TRUE(plan_table.is_open());
    for (core::dbf::Table* t : core::dbf::open_tables()) EXPECT_NE(t->alias(), "DSTE");
    EXPECT_EQ(records(), 50);
}

TEST_F(Afa75Dialog, TheMenuStartsIt) {
    app::register_calculators();
    ASSERT_TRUE(app::has_calculator("P75E_PROG"));
    bool shown = false;
    whenModal(
        [&](QWidget* dlg) {
            shown = true;
            button(dlg, "closeButton")->click();
        },
        "afa75Dialog");
    EXPECT_TRUE(app::launch_calculator("P75E_PROG", nullptr));
    EXPECT_TRUE(shown);
}

}  // namespace
