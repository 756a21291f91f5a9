// The offer comparison driven as a user would: saved offers taken from the saved-plans lists, the
// grid against each calculator's own result dialog, the cheapest marked, printed and exported.
#include <QApplication>
#include <QDir>
#include <QGuiApplication>
#include <QProcess>
#include <QPushButton>
#include <QtTest/QTest>
#include <fstream>
#include <sstream>

#include "calc/loans/angebotsvergleich_dialog.h"
#include "calc/loans/angebotsvergleich_print.h"
#include "calc/loans/loans_dialog_fixture.h"
#include "calc/loans/ratenkredit.h"
#include "calc/loans/ratenkredit_dialog.h"
#include "support/gui_export.h"
#include "toolkit/print.h"
#include "ui/table_grid.h"

using namespace vestral;
using test::find;

namespace {

enum Row { kBank, kAmount, kNominal, kFixed, kMonthly, kInterest, kFees, kDebtLeft, kApr, kTotal };

class VergleichDialogTest : public test::LoansDialogTest {
  protected:
    void SetUp() override {
        LoansDialogTest::SetUp();
        core::set_today_for_tests({2024, 3, 15});
        core::check_dbf(dir());
        // Two mortgage offers for 100 000: one at 5 % with a financed 2 % fee, one at 5,25 %.
        calc::HypoInputs a = hypoFirstCase("Erste Bank");
        a.NKREDITPR = 2;
        a.NKREDITDM = 2000;
        storeHypo(a, calc::ht_tab(a).results);
        calc::HypoInputs b = hypoFirstCase("Zweite Bank");
        b.NZINSSATZ = 5.25;
        b.NKONTOGEB = 24;
        storeHypo(b, calc::ht_tab(b).results);
        // The flat-rate credit of the example.
        calc::RkInputs k;
        k.CBANKNAME = "Teilzahlungsbank";
        k.NKREDIT = 15000;
        k.NMONZINS = 5.9;
        k.NLAUFZEIT = 48;
        core::dbf::Table t;
        openStore(t, "KREDBANK");
        calc::kredbank_save(t, k, calc::rk_rech(k, 2024).results);
    }

    // What a calculator's own result group shows once the saved offer is loaded and computed.
    std::map<std::string, QString> mortgageResults(const std::string& bank) {
        ini().set_many("HYPO", {calc::hypo_bank_name_entry(bank)});
        std::map<std::string, QString> shown;
        EXPECT_TRUE(runHypo([&](QWidget* d) {
            click(d, "computeButton");
            for (const char* r : {"annuity", "interestSum", "residualAfterFixed", "annualRate"})
                shown[r] = find<ui::ResultField>(d, r)->text();
        }));
        return shown;
    }
    std::map<std::string, QString> creditResults(const std::string& bank) {
        ini().set_many("KRED2", {calc::rk_bank_name_entry(bank)});
        std::map<std::string, QString> shown;
        EXPECT_TRUE(runCalculator(
            "ratenkreditDialog", [] { calc::ratenkredit(nullptr); },
            [&](QWidget* d) {
                click(d, "berechnenButton");
                for (const char* r : {"erstrate", "zinssumme", "jahreszins"})
                    shown[r] = find<ui::ResultField>(d, r)->text();
                click(d, "schliessenButton");
            }));
        return shown;
    }

    // Runs the comparison with `body` in it, then closes it.
    void runComparison(const std::function<void(QWidget*)>& body) {
        EXPECT_TRUE(runCalculator(
            "vergleichDialog", [] { calc::angebotsvergleich(nullptr); }, body));
    }
    // Takes row `row` of the saved-plans list that `button` opens.
    static void take(QWidget* d, const char* button, int row) {
        whenModal(
            [row](QWidget* list) {
                auto* grid = find<ui::TableGrid>(list, "tableGrid");
                grid->selectRow(row);
                click(list, "takeButton");
            },
            "savedPlansDialog");
        click(d, button);
    }
    static ui::TableGrid* grid(QWidget* d) { return find<ui::TableGrid>(d, "vergleichGrid"); }
    static QString cell(QWidget* d, Row r, int offer) { return grid(d)->cellText(r, offer).trimmed(); }
};

TEST_F(VergleichDialogTest, EveryColumnShowsWhatItsCalculatorShows) {
    const auto erste = mortgageResults("Erste Bank");
    const auto zweite = mortgageResults("Zweite Bank");
    const auto kredit = creditResults("Teilzahlungsbank");
    ASSERT_FALSE(erste.at("annualRate").isEmpty());

    runComparison([&](QWidget* d) {
        EXPECT_EQ(d->windowTitle(), "Angebotsvergleich");
        EXPECT_EQ(grid(d)->columns(), 1);
        EXPECT_EQ(grid(d)->rows(), 10);
        EXPECT_FALSE(find<QPushButton>(d, "printButton")->isEnabled());
        take(d, "addMortgageButton", 0);
        take(d, "addMortgageButton", 1);
        take(d, "addCreditButton", 0);
        ui::TableGrid* g = grid(d);
        ASSERT_EQ(g->columns(), 4);
        EXPECT_EQ(g->heading(1).trimmed(), "1. Hypothek");
        EXPECT_EQ(g->heading(3).trimmed(), "3. Ratenkredit");
        const char* labels[] = {"Bank",
                                "Betrag",
                                "Nominalzins",
                                "Zinsbindung / Laufzeit",
                                "monatliche Rate",
                                "Zinssumme",
                                "Gebühren",
                                "Restschuld nach Zinsbindung",
                                "eff. Jahreszins (PAngV)",
                                "Gesamtkosten"};
        for (int r = 0; r < 10; ++r) EXPECT_EQ(g->cellText(r, 0).trimmed(), labels[r]);

        EXPECT_EQ(cell(d, kBank, 1), "Erste Bank");
        EXPECT_EQ(cell(d, kBank, 3), "Teilzahlungsbank");
        EXPECT_EQ(cell(d, kFixed, 2), "10 Jahre");
        EXPECT_EQ(cell(d, kFixed, 3), "48 Monate");
        const std::pair<int, const std::map<std::string, QString>*> mortgages[] = {{1, &erste}, {2, &zweite}};
        for (const auto& [col, shown] : mortgages) {
            EXPECT_EQ(cell(d, kMonthly, col), shown->at("annuity") + " €");
            EXPECT_EQ(cell(d, kInterest, col), shown->at("interestSum") + " €");
            EXPECT_EQ(cell(d, kDebtLeft, col), shown->at("residualAfterFixed") + " €");
            EXPECT_EQ(cell(d, kApr, col), shown->at("annualRate") + " %");
        }
        EXPECT_EQ(cell(d, kMonthly, 3), kredit.at("erstrate") + " €");
        EXPECT_EQ(cell(d, kInterest, 3), kredit.at("zinssumme") + " €");
        EXPECT_EQ(cell(d, kApr, 3), "11,354 %");
        EXPECT_EQ(kredit.at("jahreszins"), "11,354");
        EXPECT_EQ(cell(d, kFees, 1), "2.000,00 €");
        EXPECT_EQ(cell(d, kDebtLeft, 3), "0,00 €");

        // The cheapest of each cost row stands out; the other cells and the rows that are no
        // cost do not.
        EXPECT_TRUE(g->cellMarked(kNominal, 1));
        EXPECT_FALSE(g->cellMarked(kNominal, 2));
        EXPECT_TRUE(g->cellMarked(kDebtLeft, 3));
        EXPECT_TRUE(g->cellMarked(kFees, 3));
        EXPECT_FALSE(g->cellMarked(kAmount, 3));
        EXPECT_FALSE(g->cellMarked(kBank, 1));
        const double apr1 = std::get<core::Num>(g->cellValue(kApr, 1)).value;
        const double apr2 = std::get<core::Num>(g->cellValue(kApr, 2)).value;
        EXPECT_EQ(g->cellMarked(kApr, 1), apr1 < apr2);
        EXPECT_EQ(g->cellMarked(kApr, 2), apr2 < apr1);
        EXPECT_FALSE(g->cellMarked(kApr, 3));
        int marked = 0;
        for (int c = 1; c <= 3; ++c) marked += g->cellMarked(kTotal, c);
        EXPECT_EQ(marked, 1);

        // Printed: one landscape page with every row.
        click(d, "printButton");
        ASSERT_EQ(printed().size(), 1u);
        const toolkit::PrintJob& job = printed().back();
        EXPECT_TRUE(job.landscape);
        EXPECT_EQ(job.page_count(), 1);
        EXPECT_NE(job.find("eff. Jahreszins (PAngV)"), nullptr);
        const toolkit::PrintItem* apr = job.find("11,354 %");
        ASSERT_NE(apr, nullptr);
        EXPECT_FALSE(apr->font.bold);  // the mortgages are cheaper
        const toolkit::PrintItem* debt = job.find("0,00 EUR");
        ASSERT_NE(debt, nullptr);
        EXPECT_TRUE(debt->font.bold);
        const std::filesystem::path pdf = dir() / "vergleich.pdf";
        EXPECT_TRUE(toolkit::render_pdf(job, QString::fromStdString(pdf.string())));
        EXPECT_GT(std::filesystem::file_size(pdf), 1000u);

        // Exported as every grid: the figures with a decimal comma and no thousands points.
        const auto csv = dir() / "vergleich.csv";
        const toolkit::SaveFileRequest asked = test::export_grid(d, csv);
        EXPECT_EQ(asked.file_name, "Angebotsvergleich.csv");
        std::ifstream in(csv, std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        const std::string s = text.str();
        EXPECT_NE(s.find(";1. Hypothek;2. Hypothek;3. Ratenkredit\r\n"), std::string::npos) << s;
        EXPECT_NE(s.find("Bank;Erste Bank;Zweite Bank;Teilzahlungsbank\r\n"), std::string::npos) << s;
        EXPECT_NE(s.find("Zinsbindung / Laufzeit;10 Jahre;10 Jahre;48 Monate\r\n"), std::string::npos) << s;
        EXPECT_NE(s.find("Betrag;100000,00;100000,00;15000,00\r\n"), std::string::npos) << s;
        EXPECT_NE(s.find(";11,354\r\n"), std::string::npos) << s;
    });
}

TEST_F(VergleichDialogTest, AtMostFourOffersAndTheLastOneCanGo) {
    runComparison([&](QWidget* d) {
        for (int i = 0; i < 4; ++i) take(d, "addMortgageButton", i % 2);
        EXPECT_EQ(grid(d)->columns(), 5);
        EXPECT_FALSE(find<QPushButton>(d, "addMortgageButton")->isEnabled());
        EXPECT_FALSE(find<QPushButton>(d, "addCreditButton")->isEnabled());
        // The same offer twice is no cheaper than itself.
        EXPECT_TRUE(grid(d)->cellMarked(kNominal, 1));
        EXPECT_TRUE(grid(d)->cellMarked(kNominal, 3));
        click(d, "removeButton");
        EXPECT_EQ(grid(d)->columns(), 4);
        EXPECT_TRUE(find<QPushButton>(d, "addCreditButton")->isEnabled());
        for (int i = 0; i < 3; ++i) click(d, "removeButton");
        EXPECT_EQ(grid(d)->columns(), 1);
        EXPECT_FALSE(find<QPushButton>(d, "removeButton")->isEnabled());
        EXPECT_FALSE(find<QPushButton>(d, "printButton")->isEnabled());
        // A list closed without a take-over adds nothing.
        whenModal([](QWidget* list) { click(list, "closeButton"); }, "savedPlansDialog");
        click(d, "addCreditButton");
        EXPECT_EQ(grid(d)->columns(), 1);
        // Help on the comparison's own page.
        click(d, "helpButton");
        ASSERT_FALSE(helpRequests().empty());
        EXPECT_EQ(helpRequests().back().topic, "Angebotsvergleich");
    });
    // The work table goes with the dialog; the stores stay.
    EXPECT_FALSE(std::filesystem::exists(dir() / "VERGLEICH.DBF"));
    EXPECT_EQ(records("HYPOBANK.DBF"), 2);
}

TEST_F(VergleichDialogTest, AnEmptyStoreIsReported) {
    std::filesystem::remove(dir() / "KREDBANK.DBF");
    runComparison([&](QWidget* d) {
        click(d, "addCreditButton");
        EXPECT_EQ(lastMessage(), "Es sind noch keine Tilgungspläne gespeichert !");
        EXPECT_EQ(grid(d)->columns(), 1);
    });
}

// Pictures of the comparison and of both rates in a result group, only when a directory is named.
TEST_F(VergleichDialogTest, Screenshots) {
    const char* out = std::getenv("VESTRAL_SHOTS");
    if (!out) GTEST_SKIP() << "VESTRAL_SHOTS not set";
    QDir().mkpath(out);
    const QString dirname(out);
    // On a real display the whole screen is taken as well.
    const auto screen = [&](const QString& name) {
        if (QGuiApplication::platformName() != "xcb") return;
        QTest::qWait(300);
        QProcess::execute("import", {"-window", "root", dirname + "/" + name});
    };
    ini().set_many("HYPO", {calc::hypo_bank_name_entry("Erste Bank")});
    ASSERT_TRUE(runHypo([&](QWidget* d) {
        click(d, "computeButton");
        d->grab().save(dirname + "/hypotilg_both_rates.png");
        screen("hypotilg_both_rates_screen.png");
    }));
    ini().set_many("KRED2", {calc::rk_bank_name_entry("Teilzahlungsbank")});
    ASSERT_TRUE(runCalculator(
        "ratenkreditDialog", [] { calc::ratenkredit(nullptr); },
        [&](QWidget* d) {
            click(d, "berechnenButton");
            d->grab().save(dirname + "/ratenkredit_both_rates.png");
            click(d, "schliessenButton");
        }));
    runComparison([&](QWidget* d) {
        take(d, "addMortgageButton", 0);
        take(d, "addMortgageButton", 1);
        take(d, "addCreditButton", 0);
        QApplication::processEvents();
        d->grab().save(dirname + "/angebotsvergleich.png");
        screen("angebotsvergleich_screen.png");
        click(d, "printButton");
        toolkit::render_pdf(printed().back(), dirname + "/angebotsvergleich.pdf");
    });
}

}  // namespace
