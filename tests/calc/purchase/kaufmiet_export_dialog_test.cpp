// The buy-or-rent year table saved as CSV through its "Exportieren…" button and read back with
// Python's csv module against MIETKAUF as dbfread reads it.
#include <QApplication>
#include <QPushButton>

#include "calc/purchase/kaufmiet_dialog.h"
#include "support/gui_export.h"
#include "support/gui_fixture.h"

using namespace vestral;

namespace {

class KaufmietExport : public test::GuiTest {};

}  // namespace

TEST_F(KaufmietExport, YearTableWithStoredNumbersAndTheComputedDifference) {
    core::dbf::Table dmit;
    ASSERT_TRUE(calc::km_checkdbf(dmit));
    calc::KmInputs in;
    in.NKALTMIETE = 500;
    in.NMIETERH = 2;
    in.NKAUFPREIS = 100000;
    in.NHYPOZINS = 5;
    in.NTILGANNO = 2;
    in.NEIGENKAP = 20000;
    const calc::KmOutcome outcome = calc::km_rech(in);
    ASSERT_EQ(outcome.rows.size(), 26u);
    ASSERT_TRUE(calc::write_mietkauf_rows(dmit, outcome.rows));

    test::TempDir out;
    toolkit::SaveFileRequest asked;
    bool shown = false;
    whenModal(
        [&](QWidget* w) {
            shown = true;
            // Cancelling writes nothing and remembers nothing.
            test::export_grid(w, {});
            asked = test::export_grid(w, out / "Kaufen oder Mieten.csv");
            test::find<QPushButton>(w, "closeButton")->click();
        },
        "kmShow");
    calc::km_show(nullptr, dmit);
    ASSERT_TRUE(shown);
    EXPECT_TRUE(messages().empty()) << lastMessage().toStdString();
    EXPECT_EQ(asked.file_name, "Kaufen oder Mieten.csv");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(out.path()), {}), 1);

    EXPECT_EQ(test::compare_csv_with_table(out / "Kaufen oder Mieten.csv", dir() / "MIETKAUF.DBF", "True",
                                           {{"Jahr", "r['JAHR']"},
                                            {"Miete ges.", "r['MIETEGE']"},
                                            {"mon. Miete", "r['MIETEMO']"},
                                            {"Hypothek", "r['HYPOTHEK']"},
                                            {"mon. Zahlung", "r['ANNUITAT']"},
                                            {"Tilgung ges.", "r['TILGSUM']"},
                                            {"Zinssumme", "r['ZINSEN']"},
                                            {"Differenz", "round(r['ANNUITAT'] - r['MIETEMO'], 2)"}}),
              "ok\n");
    // The comparison notices a value that differs.
    EXPECT_NE(test::compare_csv_with_table(out / "Kaufen oder Mieten.csv", dir() / "MIETKAUF.DBF", "True",
                                           {{"Jahr", "r['JAHR'] + 1"}}),
              "ok\n");
    const std::string text = out.read("Kaufen oder Mieten.csv");
    EXPECT_NE(text.find("\r\n1;6000,00;500,00;78362,41;466,70;"), std::string::npos) << text.substr(0, 200);
}
