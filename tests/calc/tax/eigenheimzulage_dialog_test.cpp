#include "calc/tax/eigenheimzulage_dialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QDir>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <QtTest/QTest>
#include <filesystem>

#include "calc/tax/eigenheimzulage.h"
#include "core/catalogue.h"
#include "core/clock.h"
#include "core/dbf.h"
#include "core/numbers.h"
#include "support/gui_fixture.h"
#include "toolkit/help.h"
#include "toolkit/status.h"
#include "ui/blocks.h"
#include "ui/numeric_field.h"
#include "ui/table_grid.h"

using namespace vestral;
using vestral::test::find;
using vestral::test::GuiTest;
using vestral::test::typeInto;

namespace {

void activate(QWidget* d) {
    QApplication::setActiveWindow(d);
    (void)QTest::qWaitForWindowActive(d);
}
QString result(QWidget* d, const char* name) {
    return find<ui::ResultField>(d, name)->text();
}
ui::NumericField* field(QWidget* d, const char* name) {
    return find<ui::NumericField>(d, name);
}
QPushButton* button(QWidget* d, const char* name) {
    return find<QPushButton>(d, name);
}
QCheckBox* box(QWidget* d, const char* name) {
    return find<QCheckBox>(d, name);
}
void set_box(QWidget* d, const char* name, bool on) {
    QCheckBox* c = box(d, name);
    if (c->isChecked() != on) c->click();
}

std::vector<calc::AbschRow> read_rows(const std::filesystem::path& file) {
    core::dbf::Table t;
    EXPECT_TRUE(t.open(file, "TEST"));
    std::vector<calc::AbschRow> rows;
    for (t.go_top(); !t.eof(); t.skip())
        rows.push_back({static_cast<int>(t.num("JAHR")), t.num("EINKOMM"), t.num("EINKSTEIG"),
                        t.num("ABSCHJAHR"), t.num("KINDJAHR"), t.num("STEUERERL")});
    return rows;
}

}  // namespace

class AbschrDialogTest : public GuiTest {
  protected:
    void SetUp() override {
        GuiTest::SetUp();
        core::set_today_for_tests({2005, 6, 1});
        core::check_dbf(dir());
    }
    std::filesystem::path table() const { return dir() / "ABSCHEPL.DBF"; }

    void run(const std::function<void(QDialog*)>& body, QWidget* parent = nullptr) {
        bool ran = false;
        whenModal(
            [&](QWidget* w) {
                auto* d = static_cast<QDialog*>(w);
                activate(d);
                body(d);
                ran = true;
                if (d->isVisible()) button(d, "schliessenButton")->click();
            },
            "abschrDialog");
        calc::abschr_prog(parent);
        EXPECT_TRUE(ran);
    }

    // The 2002 new building with both bonuses and two children.
    void enter_2002_example(QDialog* d) {
        find<QRadioButton>(d, "ledigRadio")->click();
        typeInto(field(d, "einkommField"), "80000");
        typeInto(field(d, "steigField"), "3");
        typeInto(field(d, "kinderField"), "2");
        typeInto(field(d, "kaufpreisField"), "60000");
        typeInto(field(d, "einzugField"), "2002");
        set_box(d, "neubauCheck", true);
        set_box(d, "a10eCheck", true);
        set_box(d, "energieCheck", true);
        set_box(d, "oekoCheck", true);
    }
    static calc::AbschrInputs example_2002() {
        calc::AbschrInputs in;
        in.NFAMSTAND = 1;
        in.NEINKOMM = 80000;
        in.NEINKSTEIG = 3;
        in.NKINDER = 2;
        in.NKAUFPREIS = 60000;
        in.NEINZUG = 2002;
        in.LNEUBAU = in.LA10E = in.LENERGIE = in.LOEKOZUL = true;
        return in;
    }
};

TEST_F(AbschrDialogTest, Example2002ThroughTheDialogFillsResultsTableAndGrid) {
    run([&](QDialog* d) {
        EXPECT_EQ(d->windowTitle(), "Eigenheimzulage");
        EXPECT_GE(d->width(), 571);
        EXPECT_GE(d->height(), 400);
        EXPECT_EQ(toolkit::help::topic(), "Abschreibung bei Eigennutzung");
        enter_2002_example(d);
        EXPECT_TRUE(messages().empty());
        ASSERT_TRUE(button(d, "berechnenButton")->isEnabled());
        EXPECT_FALSE(button(d, "tabelleButton")->isEnabled());
        EXPECT_FALSE(button(d, "druckenButton")->isEnabled());
        button(d, "berechnenButton")->click();
        EXPECT_TRUE(messages().empty());
        EXPECT_EQ(result(d, "foerderrateResult"), "4,260");
        EXPECT_EQ(result(d, "abschjahrResult"), "3.017,00");
        EXPECT_EQ(result(d, "kindjahrResult"), "1.534,00");
        EXPECT_EQ(result(d, "abschreibResult"), "36.408,00");
        EXPECT_TRUE(button(d, "tabelleButton")->isEnabled());
        EXPECT_TRUE(button(d, "druckenButton")->isEnabled());

        // The table on disk holds the eight grant years and is closed again.
        std::vector<calc::AbschRow> rows = read_rows(table());
        std::vector<calc::AbschRow> want = calc::abschrech(example_2002()).rows;
        ASSERT_EQ(rows.size(), 8u);
        ASSERT_EQ(want.size(), 8u);
        for (size_t i = 0; i < 8; ++i) {
            EXPECT_EQ(rows[i].JAHR, 2002 + static_cast<int>(i));
            EXPECT_EQ(rows[i].ABSCHJAHR, 3017);
            EXPECT_EQ(rows[i].KINDJAHR, 1534);
            EXPECT_EQ(rows[i].EINKSTEIG, 3);
            EXPECT_EQ(rows[i].EINKOMM, core::round_to(want[i].EINKOMM, 2));
            EXPECT_EQ(rows[i].STEUERERL, core::round_to(want[i].STEUERERL, 2));
        }
        EXPECT_GT(rows[0].STEUERERL, 0);

        bool shown = false;
        whenModal(
            [&](QWidget* g) {
                EXPECT_EQ(g->windowTitle(), "Eigenheimzulage - Verlauf");
                EXPECT_GE(g->width(), 410);
                EXPECT_GE(g->height(), 258);
                auto* grid = find<ui::TableGrid>(g, "tableGrid");
                EXPECT_EQ(grid->rows(), 8);
                EXPECT_EQ(grid->model()->headerData(4, Qt::Horizontal).toString(), "Auszahlung € ");
                EXPECT_EQ(grid->cellText(0, 0), "2002");
                EXPECT_EQ(grid->cellText(7, 0), "2009");
                EXPECT_EQ(grid->cellText(0, 1).trimmed(), "80.000,00");
                EXPECT_EQ(grid->cellText(1, 1).trimmed(), "82.400,00");
                EXPECT_EQ(grid->cellText(0, 2).trimmed(), "3.017,00");
                EXPECT_EQ(grid->cellText(0, 3).trimmed(), "1.534,00");
                EXPECT_EQ(grid->cellText(0, 4).trimmed(), "4.551,00");
                EXPECT_TRUE(grid->model()->data(grid->model()->index(0, 0), Qt::TextAlignmentRole).toInt() &
                            Qt::AlignHCenter);
                shown = true;
                find<QPushButton>(g, "closeButton")->click();
            },
            "abschShowDialog");
        button(d, "tabelleButton")->click();
        EXPECT_TRUE(shown);

        // The printout goes to the printer with the table's rows.
        button(d, "druckenButton")->click();
        ASSERT_EQ(printed().size(), 1u);
        EXPECT_EQ(printed()[0].name, "Eigenheimzulagen");
        EXPECT_NE(printed()[0].find("36.408,00 EUR"), nullptr);
        EXPECT_NE(printed()[0].find("2009"), nullptr);

        // The table is not held open: another holder can open it at once.
        core::dbf::Table again;
        EXPECT_TRUE(again.open(table(), "DABP"));
    });
    EXPECT_EQ(toolkit::help::topic(), "Hauptauswahl");
    // The work table stays for the financing plan.
    EXPECT_EQ(read_rows(table()).size(), 8u);
}

TEST_F(AbschrDialogTest, ApplicationAfter2005IsRefusedWithZeroResultsAndAnEmptyTable) {
    run([&](QDialog* d) {
        enter_2002_example(d);
        button(d, "berechnenButton")->click();
        ASSERT_EQ(read_rows(table()).size(), 8u);
        typeInto(field(d, "einzugField"), "2006");
        EXPECT_TRUE(messages().empty());
        button(d, "berechnenButton")->click();
        ASSERT_EQ(messages().size(), 1u);
        EXPECT_EQ(messages()[0].kind, toolkit::MsgKind::Information);
        EXPECT_EQ(messages()[0].title, "Information");
        EXPECT_EQ(messages()[0].text, "Es wird keine Eigenheimzulage mehr gewährt!");
        EXPECT_EQ(result(d, "foerderrateResult"), "0,000");
        EXPECT_EQ(result(d, "abschjahrResult"), "0,00");
        EXPECT_EQ(result(d, "kindjahrResult"), "0,00");
        EXPECT_EQ(result(d, "abschreibResult"), "0,00");
        EXPECT_FALSE(button(d, "tabelleButton")->isEnabled());
        EXPECT_FALSE(button(d, "druckenButton")->isEnabled());
        EXPECT_TRUE(read_rows(table()).empty());
    });
}

TEST_F(AbschrDialogTest, CheckBoxesFollowTheApplicationYearAndTheNewBuilding) {
    run([&](QDialog* d) {
        EXPECT_EQ(field(d, "einzugField")->value(), 2005);  // this year by default
        EXPECT_FALSE(box(d, "neubauCheck")->isEnabled());
        EXPECT_FALSE(box(d, "energieCheck")->isEnabled());
        EXPECT_FALSE(box(d, "oekoCheck")->isEnabled());
        EXPECT_TRUE(box(d, "a10eCheck")->isEnabled());
        EXPECT_TRUE(box(d, "a10eCheck")->isChecked());  // claimed by default

        typeInto(field(d, "einzugField"), "2003");
        EXPECT_TRUE(box(d, "neubauCheck")->isEnabled());
        EXPECT_TRUE(box(d, "oekoCheck")->isEnabled());
        EXPECT_FALSE(box(d, "energieCheck")->isEnabled());  // needs a new building
        set_box(d, "neubauCheck", true);
        EXPECT_TRUE(box(d, "energieCheck")->isEnabled());
        set_box(d, "neubauCheck", false);
        EXPECT_FALSE(box(d, "energieCheck")->isEnabled());
        set_box(d, "neubauCheck", true);

        typeInto(field(d, "einzugField"), "2004");
        EXPECT_FALSE(box(d, "neubauCheck")->isEnabled());
        EXPECT_FALSE(box(d, "energieCheck")->isEnabled());
        EXPECT_FALSE(box(d, "oekoCheck")->isEnabled());
        EXPECT_TRUE(box(d, "a10eCheck")->isEnabled());
    });
}

TEST_F(AbschrDialogTest, EveryChangeResetsTheResultsAndDisablesTheTable) {
    run([&](QDialog* d) {
        enter_2002_example(d);
        auto compute = [&] {
            button(d, "berechnenButton")->click();
            ASSERT_EQ(result(d, "abschreibResult"), "36.408,00");
            ASSERT_TRUE(button(d, "tabelleButton")->isEnabled());
        };
        auto expect_reset = [&] {
            EXPECT_EQ(result(d, "foerderrateResult"), "0,000");
            EXPECT_EQ(result(d, "abschreibResult"), "0,00");
            EXPECT_FALSE(button(d, "tabelleButton")->isEnabled());
            EXPECT_FALSE(button(d, "druckenButton")->isEnabled());
        };
        compute();
        typeInto(field(d, "steigField"), "4", false);  // one key, the field not yet left
        expect_reset();
        QTest::keyClick(field(d, "steigField"), Qt::Key_Tab);
        typeInto(field(d, "steigField"), "3");
        compute();
        box(d, "oekoCheck")->click();
        expect_reset();
        box(d, "oekoCheck")->click();
        compute();
        find<QRadioButton>(d, "verheiratetRadio")->click();
        expect_reset();
        // "Berechnen" needs an income and a price.
        typeInto(field(d, "kaufpreisField"), "0", false);
        EXPECT_FALSE(button(d, "berechnenButton")->isEnabled());
    });
}

TEST_F(AbschrDialogTest, ChildAllowanceAloneFillsTheTableButKeepsTableAndPrintOff) {
    run([&](QDialog* d) {
        enter_2002_example(d);
        set_box(d, "a10eCheck", false);
        set_box(d, "oekoCheck", false);
        set_box(d, "energieCheck", false);
        button(d, "berechnenButton")->click();
        EXPECT_EQ(result(d, "foerderrateResult"), "0,000");
        EXPECT_EQ(result(d, "abschjahrResult"), "0,00");
        EXPECT_EQ(result(d, "kindjahrResult"), "1.534,00");
        EXPECT_EQ(result(d, "abschreibResult"), "12.272,00");
        EXPECT_FALSE(button(d, "tabelleButton")->isEnabled());
        EXPECT_FALSE(button(d, "druckenButton")->isEnabled());
        EXPECT_EQ(read_rows(table()).size(), 8u);
    });
}

TEST_F(AbschrDialogTest, FieldChecksReportOutOfBoundsValues) {
    run([&](QDialog* d) {
        typeInto(field(d, "einzugField"), "2021");
        ASSERT_EQ(messages().size(), 1u);
        EXPECT_EQ(messages()[0].title, "Eingabefehler");
        EXPECT_TRUE(messages()[0].text.contains("Einzugsjahr"));
        QApplication::processEvents();
        EXPECT_EQ(QApplication::focusWidget(), field(d, "einzugField"));
        typeInto(field(d, "einzugField"), "2003");
        clearMessages();
        typeInto(field(d, "kinderField"), "31");
        ASSERT_EQ(messages().size(), 1u);
        EXPECT_TRUE(messages()[0].text.contains("Kinder"));
        typeInto(field(d, "kinderField"), "1");
        clearMessages();
        typeInto(field(d, "kaufpreisField"), "0");
        ASSERT_EQ(messages().size(), 1u);
        EXPECT_TRUE(messages()[0].text.contains("Immobilienpreis"));
        typeInto(field(d, "kaufpreisField"), "1");
        clearMessages();
        typeInto(field(d, "steigField"), "100");
        ASSERT_EQ(messages().size(), 1u);
        EXPECT_TRUE(messages()[0].text.contains("Einkommensteigerung"));
    });
}

TEST_F(AbschrDialogTest, ClosingKeepsTheLastAcceptedValueAndBerechnenChecksLoadedOnes) {
    run([&](QDialog* d) {
        typeInto(field(d, "kaufpreisField"), "60000");
        typeInto(field(d, "kinderField"), "2");
        typeInto(field(d, "kinderField"), "31");
        ASSERT_EQ(messages().size(), 1u);
        EXPECT_TRUE(messages()[0].text.contains("Kinder"));
        // "Schließen" right after the message, the refused value still in the field.
    });
    EXPECT_EQ(ini().get("USER", "Kinder", ""), "2");

    // Another calculator left 31 children in the shared section.
    ini().set("USER", "Kinder", "31");
    run([&](QDialog* d) {
        EXPECT_EQ(field(d, "kinderField")->value(), 31);
        typeInto(field(d, "einkommField"), "80000");
        typeInto(field(d, "kaufpreisField"), "60000");
        clearMessages();
        ASSERT_TRUE(button(d, "berechnenButton")->isEnabled());
        button(d, "berechnenButton")->click();
        ASSERT_EQ(messages().size(), 1u);
        EXPECT_TRUE(messages()[0].text.contains("Kinder"));
        EXPECT_EQ(result(d, "abschreibResult"), "0,00");
        EXPECT_FALSE(button(d, "druckenButton")->isEnabled());
        QApplication::processEvents();
        EXPECT_EQ(QApplication::focusWidget(), field(d, "kinderField"));
    });
}

TEST_F(AbschrDialogTest, SettingsAreWrittenWithTheirExactKeysAndReloaded) {
    // Another calculator wrote the shared keys without the trailing blank.
    ini().set("USER", "Einkommen", "12345.00");
    ini().set("USER", "Familienstand", "2");
    ini().set("USER", "Kinder", "1");
    run([&](QDialog* d) {
        EXPECT_EQ(field(d, "einkommField")->value(), 12345);
        EXPECT_TRUE(find<QRadioButton>(d, "verheiratetRadio")->isChecked());
        EXPECT_EQ(field(d, "kinderField")->value(), 1);
        enter_2002_example(d);
        button(d, "berechnenButton")->click();
    });
    const std::string text = dir_.read("VESTRAL.INI");
    auto count = [&](const std::string& s) {
        size_t n = 0;
        for (size_t at = text.find(s); at != std::string::npos; at = text.find(s, at + 1)) ++n;
        return n;
    };
    EXPECT_EQ(count("\nEinkommen="), 1u) << text;  // the existing entry, replaced in place
    EXPECT_EQ(ini().get("USER", "Einkommen ", ""), "80000.00");
    EXPECT_EQ(ini().get("USER", "Familienstand", ""), "1");
    EXPECT_EQ(ini().get("USER", "EinkSteig", ""), "3.00");
    EXPECT_EQ(ini().get("USER", "Kinder", ""), "2");
    EXPECT_EQ(ini().get("OBJEKT", "Kaufpreis", ""), "60000.00");
    EXPECT_EQ(ini().get("OBJEKT", "Einzug", ""), "2002");
    EXPECT_EQ(ini().get("OBJEKT", "Neubau", ""), "1");
    EXPECT_EQ(ini().get("AFA", "A10e", ""), "1");
    EXPECT_EQ(ini().get("AFA", "NEnergiehaus", ""), "1");
    EXPECT_EQ(ini().get("AFA", "Oekozulage", ""), "1");
    EXPECT_EQ(ini().get("AFA", "Foerderrate", ""), "4.260");
    EXPECT_EQ(ini().get("AFA", "Abschr/Jahr", ""), "3017");
    EXPECT_EQ(ini().get("AFA", "Abschreibung", ""), "36408");
    EXPECT_EQ(ini().get("AFA", "Kindgeld/Jahr", ""), "1534");
    EXPECT_EQ(ini().get("AFA", "Kindergeld", ""), "12272");

    run([&](QDialog* d) {
        EXPECT_TRUE(find<QRadioButton>(d, "ledigRadio")->isChecked());
        EXPECT_EQ(field(d, "einkommField")->value(), 80000);
        EXPECT_EQ(field(d, "steigField")->value(), 3);
        EXPECT_EQ(field(d, "kinderField")->value(), 2);
        EXPECT_EQ(field(d, "kaufpreisField")->value(), 60000);
        EXPECT_EQ(field(d, "einzugField")->value(), 2002);
        EXPECT_TRUE(box(d, "neubauCheck")->isChecked());
        EXPECT_TRUE(box(d, "energieCheck")->isChecked());
        EXPECT_TRUE(box(d, "energieCheck")->isEnabled());
        EXPECT_TRUE(box(d, "oekoCheck")->isChecked());
        // Results start at 0 on every load.
        EXPECT_EQ(result(d, "abschreibResult"), "0,00");
        EXPECT_FALSE(button(d, "tabelleButton")->isEnabled());
    });
    // Closed without a computation: the results written are 0.
    EXPECT_EQ(ini().get("AFA", "Abschreibung", ""), "0");
    EXPECT_EQ(ini().get("AFA", "Foerderrate", ""), "0.000");
}

TEST_F(AbschrDialogTest, LawButtonReportsAMissingDocumentAndOpensAnExistingOne) {
    run([&](QDialog* d) {
        EXPECT_TRUE(button(d, "gesetzButton")->isEnabled());
        button(d, "gesetzButton")->click();
        ASSERT_EQ(messages().size(), 1u);
        EXPECT_EQ(messages()[0].text, "Die Datei EigZulG.pdf wurde nicht gefunden.");
        EXPECT_TRUE(opened().empty());
        EXPECT_TRUE(d->isVisible());

        std::filesystem::create_directories(dir() / "info");
        dir_.write("info/EigZulG.pdf", "%PDF-1.4\n");
        clearMessages();
        button(d, "gesetzButton")->click();
        EXPECT_TRUE(messages().empty());
        ASSERT_EQ(opened().size(), 1u);
        EXPECT_TRUE(opened()[0].endsWith("info/EigZulG.pdf"));
    });
}

TEST_F(AbschrDialogTest, HelpHintsAndTooltips) {
    run([&](QDialog* d) {
        button(d, "hilfeButton")->click();
        ASSERT_EQ(helpRequests().size(), 1u);
        EXPECT_EQ(helpRequests()[0].topic, "Abschreibung bei Eigennutzung");
        EXPECT_EQ(button(d, "berechnenButton")->toolTip(), "Zulage errechnen");
        EXPECT_EQ(button(d, "tabelleButton")->toolTip(), "Zulage anzeigen");
        EXPECT_EQ(button(d, "druckenButton")->toolTip(), "Zulage drucken");
        EXPECT_EQ(button(d, "gesetzButton")->toolTip(), "Eigenheimzulagengesetz");
        EXPECT_EQ(button(d, "schliessenButton")->toolTip(), "Dialog beenden");
        EXPECT_EQ(field(d, "einkommField")->helpText(), "Ihr zu versteuerndes Zweijahres-Einkommen");
        EXPECT_EQ(field(d, "einzugField")->helpText(), "Datum des Einzugs in die Immobilie");
        EXPECT_EQ(box(d, "neubauCheck")->text(), "Es wurde ein Neubau erstellt oder erworben");
        EXPECT_EQ(box(d, "oekoCheck")->text(), "Einbau von &Solaranlagen, Wärmepumpen, etc.");
        box(d, "a10eCheck")->setFocus();
        QApplication::processEvents();
        EXPECT_EQ(toolkit::last_status(), "Eigenheimzulage nutzen");
        find<QRadioButton>(d, "verheiratetRadio")->setFocus();
        QApplication::processEvents();
        EXPECT_EQ(toolkit::last_status(), "Veranschlagung nach Grund- oder Splitting-Tabelle");
    });
}

// The owner-occupied financing plan opens this calculator from its own dialog while it holds its
// plan table open.
TEST_F(AbschrDialogTest, RunsAsAChildDialogAndLeavesTheCallersTableOpen) {
    QDialog caller;
    caller.setObjectName("caller");
    caller.resize(600, 450);
    caller.move(100, 80);
    core::dbf::Table plan;
    ASSERT_TRUE(plan.open(dir() / "FINZPL1.DBF", "DFP1"));
    bool ran = false;
    whenModal(
        [&](QWidget* c) {
            activate(c);
            run(
                [&](QDialog* d) {
                    EXPECT_EQ(d->parentWidget(), &caller);
                    EXPECT_EQ(d->frameGeometry().topLeft(),
                              caller.frameGeometry().topLeft() + QPoint(20, 50));
                    enter_2002_example(d);
                    button(d, "berechnenButton")->click();
                    EXPECT_EQ(result(d, "abschreibResult"), "36.408,00");
                },
                &caller);
            ran = true;
            caller.accept();
        },
        "caller");
    caller.exec();
    EXPECT_TRUE(ran);
    EXPECT_TRUE(plan.is_open());
    plan.append_blank();
    plan.set_num("JAHR", 2002);
    plan.set_num("AFA", ini().get_num("AFA", "Abschreibung", "0").value);
    EXPECT_TRUE(plan.flush());
    plan.go_top();
    EXPECT_EQ(plan.num("AFA"), 36408);
    EXPECT_EQ(read_rows(table()).size(), 8u);
}

// Saves pictures of the dialog and its table when VESTRAL_SHOTS names a directory.
TEST_F(AbschrDialogTest, Screenshots) {
    QString shots = qEnvironmentVariable("VESTRAL_SHOTS");
    if (shots.isEmpty()) GTEST_SKIP() << "VESTRAL_SHOTS not set";
    QDir().mkpath(shots);
    run([&](QDialog* d) {
        enter_2002_example(d);
        button(d, "berechnenButton")->click();
        d->grab().save(shots + "/abschr_dialog.png");
        whenModal(
            [&](QWidget* g) {
                g->grab().save(shots + "/abschr_table.png");
                find<QPushButton>(g, "closeButton")->click();
            },
            "abschShowDialog");
        button(d, "tabelleButton")->click();
    });
}
