#include "calc/tax/eigenheimzulage_print.h"

#include <QDir>
#include <QString>
#include <algorithm>
#include <tuple>

#include "core/mask.h"
#include "support/gui_fixture.h"
#include "toolkit/print.h"

using namespace vestral;
using toolkit::PrintItem;
using vestral::calc::abschdruck_job;

namespace {

calc::AbschrInputs example_2002() {
    calc::AbschrInputs in;
    in.NFAMSTAND = 2;
    in.NEINKOMM = 80000;
    in.NEINKSTEIG = 3;
    in.NKINDER = 2;
    in.NKAUFPREIS = 60000;
    in.NEINZUG = 2002;
    in.LNEUBAU = in.LA10E = in.LOEKOZUL = true;
    in.LENERGIE = false;
    return in;
}

// The text item at a grid position, or nullptr.
const PrintItem* at(const toolkit::PrintJob& job, double row, double col) {
    for (const PrintItem& it : job.pages[0].items)
        if (it.kind == PrintItem::Kind::Text && it.row == row && it.col == col) return &it;
    return nullptr;
}
std::string text_at(const toolkit::PrintJob& job, double row, double col) {
    const PrintItem* it = at(job, row, col);
    return it ? it->text : "<none>";
}

}  // namespace

TEST(AbschdruckJob, OnePageWithFramesTitleAndEveryLine) {
    calc::AbschrInputs in = example_2002();
    calc::AbschrOutcome out = calc::abschrech(in);
    toolkit::PrintJob job = abschdruck_job(in, out.results, out.rows, "Vestralon 1.0");
    EXPECT_EQ(job.name, "Eigenheimzulagen");
    EXPECT_EQ(job.rows, 60);
    EXPECT_EQ(job.cols, 80);
    EXPECT_FALSE(job.landscape);
    ASSERT_EQ(job.page_count(), 1);

    // Five frames from column 7 to 79, the first drawn thicker.
    std::vector<PrintItem> boxes;
    for (const PrintItem& it : job.pages[0].items)
        if (it.kind == PrintItem::Kind::Box) boxes.push_back(it);
    ASSERT_EQ(boxes.size(), 5u);
    const double spans[5][2] = {{0, 3}, {4, 14}, {15, 25}, {26, 37}, {38, 54}};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(boxes[i].row, spans[i][0]);
        EXPECT_EQ(boxes[i].row2, spans[i][1]);
        EXPECT_EQ(boxes[i].col, 7);
        EXPECT_EQ(boxes[i].col2, 79);
        if (i > 0) {
            EXPECT_GT(boxes[0].pen, boxes[i].pen);
        }
    }

    const PrintItem* title = at(job, 1, 8);
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(title->text, "Vestralon 1.0 - Eigenheimzulage nach Eigenheimzulagengesetz");
    EXPECT_EQ(title->font, toolkit::title_font());

    for (auto [row, heading] :
         {std::pair{5, "1. Finanzdaten:"}, std::pair{16, "2. Immobiliendaten:"},
          std::pair{27, "3. Eigenheimzulage:"}, std::pair{39, "4. Abschreibungsplan:"}}) {
        const PrintItem* h = at(job, row, 8);
        ASSERT_NE(h, nullptr) << heading;
        EXPECT_EQ(h->text, heading);
        EXPECT_TRUE(h->font.bold);
    }

    const std::vector<std::tuple<int, std::string, std::string>> pairs = {
        {7, "Berechnung erfolgt nach:", "Splittingtabelle"},
        {9, "Zu versteuerndes jährliches Einkommen:", "80.000,00 EUR"},
        {10, "Erwartete jährliche Einkommens-Steigerung:", "3,00 %"},
        {12, "Anzahl der Kinder bis 18 Jahre im Haushalt lebend:", "2"},
        {18, "Kauf- bzw. Erstellungspreis incl. Grundstück:", "60.000,00 EUR"},
        {19, "Jahr des Einzugs in die Immobilie:", "2002"},
        {21, "Wurde ein Neubau erworben/erstellt:", "Ja"},
        {22, "Wurde ein Niedrigenergiehaus gebaut:", "Nein"},
        {23, "Wird die Ökozulage genutzt:", "Ja"},
        {29, "Zulagenrate:", "4,26 %"},
        {30, "Zulage pro Jahr:", "2.812,00 EUR"},
        {31, "Zulagenbetrag für die nächsten 8 Jahre:", "34.768,00 EUR"},
        {33, "Anzahl der Kinder für das Baukindergeld:", "2"},
        {34, "Baukindergeld pro Jahr:", "1.534,00 EUR"},
        {35, "Baukindergeld gesamt:", "12.272,00 EUR"},
    };
    for (const auto& [row, label, value] : pairs) {
        EXPECT_EQ(text_at(job, row, 8), label) << row;
        EXPECT_EQ(text_at(job, row, 50), value) << row;
        const PrintItem* l = at(job, row, 8);
        if (l) {
            EXPECT_EQ(l->font, toolkit::body_font());
        }
    }

    // The plan: headings at line 41, one line per grant year, columns ending at sixths of the width.
    const char* headings[] = {"Jahr", "Einkommen", "Abschreibung", "Baukindergeld", "Steuerersparnis"};
    for (int c = 0; c < 5; ++c) {
        const PrintItem* h = job.find(headings[c]);
        ASSERT_NE(h, nullptr);
        EXPECT_EQ(h->row, 41);
        EXPECT_EQ(h->align, toolkit::PrintAlign::Right);
        EXPECT_DOUBLE_EQ(h->col, 80.0 * (c + 1) / 6);
    }
    ASSERT_EQ(out.rows.size(), 8u);
    for (int i = 0; i < 8; ++i) {
        std::vector<std::string> line;
        for (const PrintItem& it : job.pages[0].items)
            if (it.kind == PrintItem::Kind::Text && it.row == 42 + i) line.push_back(it.text);
        ASSERT_EQ(line.size(), 5u) << i;
        EXPECT_EQ(line[0], std::to_string(2002 + i));
        EXPECT_EQ(line[2], "2.812,00");
        EXPECT_EQ(line[3], "1.534,00");
        EXPECT_EQ(line[4], core::trim_left(core::format_mask(out.rows[i].STEUERERL, "@E 999,999,999.99")));
    }
    EXPECT_EQ(text_at(job, 42, 80.0 / 6), "2002");
    EXPECT_EQ(text_at(job, 43, 2 * 80.0 / 6), "82.400,00");

    const PrintItem* euro = at(job, 50, 9);
    ASSERT_NE(euro, nullptr);
    EXPECT_EQ(euro->text, "Alle Beträge in EURO.");
    EXPECT_TRUE(euro->font.bold);
    const PrintItem* note = at(job, 51, 9);
    ASSERT_NE(note, nullptr);
    EXPECT_EQ(note->text,
              "Die Steuerersparnis ab 2006 ist spekulativ und basiert auf der Steuerformel von 2005 !");
    EXPECT_TRUE(note->font.bold);
}

TEST(AbschdruckJob, SingleAssessmentAndAnEmptyPlanPutTheNotesRightBelowTheHeadings) {
    calc::AbschrInputs in = example_2002();
    in.NFAMSTAND = 1;
    in.LNEUBAU = in.LOEKOZUL = false;
    in.NEINZUG = 2006;
    calc::AbschrOutcome out = calc::abschrech(in);
    ASSERT_TRUE(out.rows.empty());
    toolkit::PrintJob job = abschdruck_job(in, out.results, out.rows, "Vestralon 1.0");
    EXPECT_EQ(text_at(job, 7, 50), "Grundtabelle");
    EXPECT_EQ(text_at(job, 21, 50), "Nein");
    EXPECT_EQ(text_at(job, 23, 50), "Nein");
    EXPECT_EQ(text_at(job, 29, 50), "0,00 %");
    EXPECT_EQ(text_at(job, 42, 9), "Alle Beträge in EURO.");
    EXPECT_EQ(text_at(job, 43, 9),
              "Die Steuerersparnis ab 2006 ist spekulativ und basiert auf der Steuerformel von 2005 !");
}

// Renders the page to a PDF when VESTRAL_SHOTS names a directory, to look at it.
TEST(AbschdruckJob, RendersToPdf) {
    QString shots = qEnvironmentVariable("VESTRAL_SHOTS");
    if (shots.isEmpty()) GTEST_SKIP() << "VESTRAL_SHOTS not set";
    QDir().mkpath(shots);
    calc::AbschrInputs in = example_2002();
    calc::AbschrOutcome out = calc::abschrech(in);
    EXPECT_TRUE(toolkit::render_pdf(abschdruck_job(in, out.results, out.rows, "Vestralon 1.0"),
                                    shots + "/eigenheimzulage.pdf"));
}
