// The plan grid saved as CSV through its "Exportieren…" button, monthly and compressed, read back
// with Python's csv module against the plan table as dbfread reads it.
#include <QApplication>
#include <QCheckBox>
#include <QPushButton>
#include <QtTest/QTest>

#include "calc/loans/hypotilg_dialog.h"
#include "support/gui_export.h"
#include "support/gui_fixture.h"
#include "ui/grid_dialog.h"
#include "ui/numeric_field.h"
#include "ui/text_field.h"

using namespace vestral;
using test::CsvColumn;
using test::find;
using test::typeInto;

namespace {

void click(QPushButton* b) {
    QTest::mouseClick(b, Qt::LeftButton);
    QApplication::processEvents();
}

class HypotilgExport : public test::GuiTest {
  protected:
    std::filesystem::path plan() const { return dir() / "HYPOTHEK.DBF"; }
};

}  // namespace

TEST_F(HypotilgExport, MonthlyAndCompressedGridsAsShownWithStoredValues) {
    test::TempDir out;
    std::vector<toolkit::SaveFileRequest> asked;
    bool shown = false;
    whenModal(
        [&](QWidget* d) {
            QApplication::setActiveWindow(d);
            typeInto(find<ui::TextField>(d, "bankName"), "Testbank");
            typeInto(find<ui::NumericField>(d, "amount"), "100000");
            typeInto(find<ui::NumericField>(d, "rate"), "5");
            typeInto(find<ui::NumericField>(d, "repayment"), "2");
            typeInto(find<ui::DateField>(d, "startDate"), "01012007");
            typeInto(find<ui::NumericField>(d, "fixedPeriod"), "10");
            typeInto(find<ui::NumericField>(d, "followRate"), "6");
            // A special repayment and fees: their columns are blank in most rows of the grid.
            typeInto(find<ui::NumericField>(d, "accountFee"), "30");
            typeInto(find<ui::NumericField>(d, "special"), "1000");
            click(find<QPushButton>(d, "computeButton"));
            ASSERT_TRUE(messages().empty()) << lastMessage().toStdString();
            whenModal(
                [&](QWidget* w) {
                    shown = true;
                    auto* g = static_cast<ui::GridDialog*>(w);
                    auto* exporter = find<QPushButton>(w, "exportButton");
                    EXPECT_EQ(exporter->text(), "&Exportieren…");
                    EXPECT_EQ(exporter->toolTip(), "Tabelle als CSV-Datei speichern");
                    asked.push_back(test::export_grid(w, out / "monatlich.csv"));
                    find<QCheckBox>(w, "compressedBox")->setChecked(true);
                    QApplication::processEvents();
                    EXPECT_GT(g->grid()->rows(), 10);
                    asked.push_back(test::export_grid(w, out / "jährlich.csv"));
                    click(find<QPushButton>(w, "closeButton"));
                },
                "hypoTableDialog");
            click(find<QPushButton>(d, "tableButton"));
            click(find<QPushButton>(d, "closeButton"));
        },
        "hypotilgDialog");
    calc::hypotilg(nullptr, 0);
    ASSERT_TRUE(shown);
    ASSERT_EQ(asked.size(), 2u);
    EXPECT_EQ(asked[0].file_name, "Hypothekentilgungsplan.csv");
    EXPECT_EQ(asked[0].filter, "CSV-Dateien (*.csv);;Alle Dateien (*)");
    // The second export opens where the first one saved.
    EXPECT_EQ(asked[1].directory.toStdString(), out.path().string());
    EXPECT_EQ(ini().get("Export", "Ordner", ""), out.path().string());

    const std::vector<CsvColumn> common_end = {{"Resthypothek", "r['RESTHYP']"},
                                               {"Gezahlt", "r['GEZAHLT']"},
                                               {"Restzins", "r['RESTZINS']"},
                                               {"Sum. Sondertilg.", "r['EINMSUM']"}};
    std::vector<CsvColumn> monthly = {{"Datum", "r['DATUM']"},           {"Hypothek", "r['HYPOTHEK']"},
                                      {"Zinsen", "r['ZINSEN']"},         {"Tilgung", "r['TILGUNG']"},
                                      {"Monatsraten", "r['MONRATE']"},   {"Gebühren", "r['GEBUEHR']"},
                                      {"Sondertilgung", "r['EINMALDM']"}};
    monthly.insert(monthly.end(), common_end.begin(), common_end.end());
    EXPECT_EQ(test::compare_csv_with_table(out / "monatlich.csv", plan(), "r['KEY'] == 1", monthly), "ok\n");

    std::vector<CsvColumn> yearly = {{"Datum", "r['DATUM']"},           {"Hypothek", "r['HYPOTHEK']"},
                                     {"Zinsen", "r['ZINSSUM']"},        {"Tilgung", "r['TILGSUM']"},
                                     {"Monatsraten", "r['MONRSUM']"},   {"Gebühren", "r['GEBUEHR']"},
                                     {"Sondertilgung", "r['EINMALDM']"}};
    yearly.insert(yearly.end(), common_end.begin(), common_end.end());
    EXPECT_EQ(test::compare_csv_with_table(out / "jährlich.csv", plan(), "r['KEY'] == 2", yearly), "ok\n");

    // The first data row as a German spreadsheet reads it: no thousands points, no asterisks.
    const std::string text = out.read("jährlich.csv");
    EXPECT_EQ(text.rfind("\xEF\xBB\xBF"
                         "Datum;Hypothek;Zinsen;Tilgung;Monatsraten;Gebühren;Sondertilgung;",
                         0),
              0u);
    EXPECT_EQ(text.find('*'), std::string::npos);
    EXPECT_EQ(text.find("EUR"), std::string::npos);
}
