// The offer comparison's columns: each offer recomputed by its calculator, the rows' texts, and
// which offer is the cheapest of a row.
#include "calc/loans/angebotsvergleich.h"

#include <gtest/gtest.h>

using namespace vestral;
using namespace vestral::calc;

namespace {

HypoInputs mortgage(const std::string& bank, double rate) {
    HypoInputs in;
    in.CBANKNAME = bank;
    in.NHYPOTHEK = 100000;
    in.NZINSSATZ = rate;
    in.NTILGANNO = 2;
    in.DABDATUM = core::Date{2007, 1, 1};
    in.NLAUFZEIT = 10;
    in.NZINSNACH = 6;
    in.NEINMALMO = 1;
    return in;
}

RkInputs credit() {
    RkInputs in;
    in.CBANKNAME = "Teilzahlungsbank";
    in.NKREDIT = 15000;
    in.NMONZINS = 5.9;
    in.NLAUFZEIT = 48;
    in.NBEARBGEB = 150;
    return in;
}

const OfferRowSpec& row_def(OfferRow r) {
    for (const OfferRowSpec& s : kOfferRows)
        if (s.row == r) return s;
    throw std::out_of_range("row");
}

}  // namespace

TEST(Angebotsvergleich, MortgageColumnIsThePlansOwnResult) {
    HypoInputs in = mortgage("Sparkasse Süd", 5);
    in.NKONTOGEB = 30;
    in.NKREDITPR = 1;
    in.NKREDITDM = 1000;
    const HypoOutcome plan = ht_tab(in);
    const Offer o = mortgage_offer(in);
    ASSERT_TRUE(o.computed);
    EXPECT_EQ(o.bank, "Sparkasse Süd");
    EXPECT_EQ(o.monthly, plan.results.NANNUITAT);
    EXPECT_EQ(o.interest, plan.results.NZINSSUM);
    EXPECT_EQ(o.debt_left, plan.results.NRESTNACH);
    EXPECT_EQ(o.apr, plan.results.NJAHRESZINS);
    // The credit fee once, the account fee in every December of the plan.
    int decembers = 0;
    for (const HypoRow& r : plan.rows) decembers += r.KEY == 1 && r.ABMONAT == 12;
    EXPECT_GT(decembers, 20);
    EXPECT_DOUBLE_EQ(o.fees, 1000 + 30.0 * decembers);
    EXPECT_DOUBLE_EQ(o.total_cost, o.interest + o.fees);
    EXPECT_EQ(o.fixed_period, "10 Jahre");
    EXPECT_EQ(offer_text(o, row_def(OfferRow::Monthly)), "589,17 €");
    EXPECT_EQ(offer_text(o, row_def(OfferRow::Nominal)), "5,000 %");
    EXPECT_EQ(offer_heading(o, 1), "1. Hypothek");
}

TEST(Angebotsvergleich, CreditColumnIsTheCreditsOwnResult) {
    const RkOutcome plan = rk_rech(credit(), 2024);
    const Offer o = credit_offer(credit(), 2024);
    ASSERT_TRUE(o.computed);
    EXPECT_EQ(o.monthly, plan.results.NERSTRATE);
    EXPECT_EQ(o.interest, plan.results.NZINSSUM);
    EXPECT_EQ(o.fees, 150);
    EXPECT_EQ(o.debt_left, 0);
    EXPECT_EQ(o.apr, plan.results.NJAHRESZINS);
    EXPECT_GT(*o.apr, 11.354);
    EXPECT_EQ(o.fixed_period, "48 Monate");
    EXPECT_EQ(offer_heading(o, 3), "3. Ratenkredit");
    // Rate-driven: the months its rate needs.
    RkInputs by_rate = credit();
    by_rate.NLAUFZEIT = 0;
    by_rate.NMONRATE = 1000;
    EXPECT_EQ(credit_offer(by_rate, 2024).fixed_period, "17 Monate");
}

TEST(Angebotsvergleich, InputsWithoutAPlanShowOnlyWhatWasSaved) {
    HypoInputs eaten = mortgage("Nimmersatt", 5);
    eaten.NTILGANNO = 0.1;
    eaten.NKONTOGEB = 200;
    const Offer o = mortgage_offer(eaten);
    EXPECT_FALSE(o.computed);
    EXPECT_EQ(offer_text(o, row_def(OfferRow::Bank)), "Nimmersatt");
    EXPECT_EQ(offer_text(o, row_def(OfferRow::Amount)), "100.000,00 €");
    EXPECT_EQ(offer_text(o, row_def(OfferRow::Apr)), "");
    EXPECT_EQ(offer_text(o, row_def(OfferRow::TotalCost)), "");
    RkInputs small = credit();
    small.NLAUFZEIT = 0;
    small.NMONRATE = 40;
    EXPECT_FALSE(credit_offer(small, 2024).computed);
    EXPECT_FALSE(mortgage_offer(HypoInputs{}).computed);
}

TEST(Angebotsvergleich, TheCheapestOfEveryCostRowIsMarked) {
    const std::vector<Offer> offers{mortgage_offer(mortgage("A", 5)), mortgage_offer(mortgage("B", 4.5)),
                                    credit_offer(credit(), 2024)};
    EXPECT_EQ(cheapest(offers, row_def(OfferRow::Apr)), (std::vector<bool>{false, true, false}));
    EXPECT_EQ(cheapest(offers, row_def(OfferRow::Nominal)), (std::vector<bool>{false, true, false}));
    EXPECT_EQ(cheapest(offers, row_def(OfferRow::DebtLeft)), (std::vector<bool>{false, false, true}));
    EXPECT_EQ(cheapest(offers, row_def(OfferRow::Fees)), (std::vector<bool>{true, true, false}));
    // Rows that are no cost are never marked.
    EXPECT_EQ(cheapest(offers, row_def(OfferRow::Amount)), (std::vector<bool>(3, false)));
    EXPECT_EQ(cheapest(offers, row_def(OfferRow::Bank)), (std::vector<bool>(3, false)));
    // One offer, or equal figures: nothing to choose between.
    EXPECT_EQ(cheapest({offers[0]}, row_def(OfferRow::Apr)), (std::vector<bool>{false}));
    EXPECT_EQ(cheapest({offers[0], offers[0]}, row_def(OfferRow::Apr)), (std::vector<bool>{false, false}));
    // A figure that is not defined takes no part.
    Offer none = offers[0];
    none.computed = false;
    EXPECT_EQ(cheapest({none, offers[0], offers[1]}, row_def(OfferRow::Apr)),
              (std::vector<bool>{false, false, true}));
}
