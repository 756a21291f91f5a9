#include "calc/loans/hypspar_print.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QString>
#include <cstdlib>

#include "toolkit/print.h"

using namespace vestral;
using namespace vestral::calc;
using toolkit::PrintAlign;
using toolkit::PrintItem;
using toolkit::PrintJob;

namespace {

// 150 000 saved over 25 years at 3,5 % with fees and surcharge, and the interest-only mortgage.
HsInputs plan25() {
    HsInputs in;
    in.CSPARNAME = "Fondsbank Köln";
    in.NTILGSUMM = 150000;
    in.NSPZINS = 3.5;
    in.NABJAHR = 2024;
    in.NSPLZEIT = 25;
    in.NSPKTOGEB = 24;
    in.NSPAUSZU = 2.5;
    in.CTILGNAME = "Hypobank Süd";
    in.NHYPOTHEK = 150000;
    in.NHYPZSATZ = 4.375;
    in.NHYPZFEST = 10;
    in.NHYPZNACH = 5.5;
    in.NTIKTOGEB = 30;
    in.NKREDITPR = 1;
    in.NKREDITDM = 1500;
    return in;
}

struct Printed {
    HsOutcome out;
    PrintJob job;
};

Printed print(const HsInputs& in) {
    Printed p;
    p.out = hs_rech(in);
    std::vector<HsRow> savings, mortgage;
    for (const HsRow& r : p.out.rows) {
        if (r.KEY1 == 1) savings.push_back(r);
        if (r.KEY2 == 5) mortgage.push_back(r);
    }
    HsInputs shown = in;
    shown.NSPAUSDM = p.out.surcharge_eur;
    p.job = hs_druck(shown, p.out.results, savings, mortgage, "Vestralon 1.0");
    return p;
}

int page_of(const PrintJob& job, const std::string& text, int from = 0) {
    for (int i = from; i < job.page_count(); ++i)
        if (job.find(text, i)) return i;
    return -1;
}

}  // namespace

TEST(HsDruck, BothPlansWithTheirSummaryPages) {
    const Printed p = print(plan25());
    const PrintJob& job = p.job;
    EXPECT_EQ(job.name, "Splittfinanzierung");
    EXPECT_TRUE(job.landscape);
    EXPECT_EQ(job.rows, 50);
    EXPECT_EQ(job.cols, 110);
    const int savings_summary = page_of(job, "Ansparsumme:");
    const int mortgage_summary = page_of(job, "Hypothekensumme:");
    ASSERT_GT(savings_summary, 0);
    ASSERT_GT(mortgage_summary, savings_summary + 1);
    EXPECT_EQ(mortgage_summary, job.page_count() - 1);
    EXPECT_NE(job.find("Vestralon 1.0 - Ansparplan", 0), nullptr);
    EXPECT_NE(job.find("Vestralon 1.0 - Hypothekenplan", savings_summary + 1), nullptr);
    EXPECT_NE(job.find("Seite: 1", 0), nullptr);
    // Headings at the ninths (savings) and eighths (mortgage) of the width, right-aligned.
    const PrintItem* h = job.find("Kontostand", 0);
    ASSERT_NE(h, nullptr);
    EXPECT_DOUBLE_EQ(h->col, 110.0 / 9 * 8);
    EXPECT_EQ(h->align, PrintAlign::Right);
    const PrintItem* r = job.find("Restzins", savings_summary + 1);
    ASSERT_NE(r, nullptr);
    EXPECT_DOUBLE_EQ(r->col, 110.0 / 8 * 7);
    // No row below the break row; each plan row printed once.
    int savings_rows = 0, mortgage_rows = 0;
    for (int i = 0; i < job.page_count(); ++i)
        for (const PrintItem& it : job.pages[static_cast<size_t>(i)].items) {
            if (it.kind != PrintItem::Kind::Text) continue;
            if (it.text.size() == 10 && it.text.rfind("01.", 0) == 0) {
                EXPECT_LE(it.row, 45) << it.text;
                (i < savings_summary ? savings_rows : mortgage_rows)++;
            }
        }
    EXPECT_EQ(savings_rows, 300);
    EXPECT_EQ(mortgage_rows, 300);
    // Summary figures.
    EXPECT_NE(job.find("Fondsbank Köln", savings_summary), nullptr);
    EXPECT_NE(job.find("150.000,00 EUR", savings_summary), nullptr);
    EXPECT_NE(job.find("3,500 %", savings_summary), nullptr);
    EXPECT_NE(job.find("25 Jahre", savings_summary), nullptr);
    EXPECT_NE(job.find("Zusammenfassung:", mortgage_summary), nullptr);
    EXPECT_NE(job.find("Hypobank Süd", mortgage_summary), nullptr);
    EXPECT_NE(job.find("4,375 %", mortgage_summary), nullptr);
    EXPECT_NE(job.find("10 Jahre", mortgage_summary), nullptr);
    EXPECT_NE(job.find("1.500,00 EUR = 1 % der Hypothekensumme", mortgage_summary), nullptr);
    EXPECT_NE(job.find("monatliche Zins-Zahlung nach Festzeit:", mortgage_summary), nullptr);
    EXPECT_NE(job.find("546,88 EUR", mortgage_summary), nullptr);  // 150 000 × 4,375 % / 12
}

TEST(HsDruck, WithoutMortgageOnlyTheSavingsArePrinted) {
    HsInputs in = plan25();
    in.NHYPOTHEK = 0;
    const Printed p = print(in);
    EXPECT_EQ(page_of(p.job, "Hypothekensumme:"), -1);
    EXPECT_GT(page_of(p.job, "Ansparsumme:"), 0);
}

TEST(HsDruck, RendersToPdfWhenAsked) {
    const char* out = std::getenv("VESTRAL_SHOTS");
    if (!out) GTEST_SKIP() << "VESTRAL_SHOTS not set";
    QDir().mkpath(out);
    EXPECT_TRUE(toolkit::render_pdf(print(plan25()).job, QString(out) + "/hypspar.pdf"));
}
