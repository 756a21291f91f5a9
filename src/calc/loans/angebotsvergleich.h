// The offer comparison: saved mortgage plans and saved credits side by side, each recomputed by
// its own calculator from the saved inputs, with the cheapest offer of every cost row marked.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "calc/loans/hypotilg.h"
#include "calc/loans/ratenkredit.h"

namespace vestral::calc {

enum class OfferKind { Mortgage, Credit };

// One column of the comparison. Every figure is one the calculator itself shows for the plan.
struct Offer {
    OfferKind kind = OfferKind::Mortgage;
    std::string bank;
    // false: the saved inputs give no plan (the calculator would refuse them); only the bank and
    // the inputs are shown then.
    bool computed = false;
    double amount = 0;
    double nominal = 0;         // %
    std::string fixed_period;   // "10 Jahre" (mortgage), "48 Monate" (credit: its whole term)
    double monthly = 0;         // the (first) monthly rate
    double interest = 0;        // interest total of the whole plan
    double fees = 0;            // credit fee and account fees, processing fee
    double debt_left = 0;       // at the end of the fixed period (a credit is repaid by then)
    std::optional<double> apr;  // annual percentage rate, %
    double total_cost = 0;      // interest + fees
};

inline constexpr int kMaxOffers = 4;

// The saved mortgage plan recomputed with the plan's own computation.
Offer mortgage_offer(const HypoInputs& in);
// The saved credit recomputed with the credit's own computation (first year: `current_year`).
Offer credit_offer(const RkInputs& in, int current_year);

enum class OfferRow { Bank, Amount, Nominal, FixedPeriod, Monthly, Interest, Fees, DebtLeft, Apr, TotalCost };

struct OfferRowSpec {
    OfferRow row;
    const char* label;
    const char* mask;  // "" for text rows
    const char* unit;
    int decimals;
    bool compared;  // a cost: the lowest value is the cheapest
};

inline constexpr std::array<OfferRowSpec, 10> kOfferRows{{
    {OfferRow::Bank, "Bank", "", "", 0, false},
    {OfferRow::Amount, "Betrag", "@E 999,999,999.99 ", "€", 2, false},
    {OfferRow::Nominal, "Nominalzins", "@E 99.999 ", "%", 3, true},
    {OfferRow::FixedPeriod, "Zinsbindung / Laufzeit", "", "", 0, false},
    {OfferRow::Monthly, "monatliche Rate", "@E 999,999,999.99 ", "€", 2, true},
    {OfferRow::Interest, "Zinssumme", "@E 999,999,999.99 ", "€", 2, true},
    {OfferRow::Fees, "Gebühren", "@E 999,999,999.99 ", "€", 2, true},
    {OfferRow::DebtLeft, "Restschuld nach Zinsbindung", "@E 999,999,999.99 ", "€", 2, true},
    {OfferRow::Apr, "eff. Jahreszins (PAngV)", "@E 99.999 ", "%", 3, true},
    {OfferRow::TotalCost, "Gesamtkosten", "@E 999,999,999.99 ", "€", 2, true},
}};

// The column heading: "1. Hypothek", "2. Ratenkredit".
std::string offer_heading(const Offer& o, int position);
// The figure of a row (nothing for the text rows, a plan that was not computed, or an undefined
// rate).
std::optional<double> offer_value(const Offer& o, OfferRow row);
// The row's text as shown: the masked figure with its unit, or the text; empty when undefined.
std::string offer_text(const Offer& o, const OfferRowSpec& row);
// Which offers are the cheapest in a compared row: those with the lowest figure, as shown (at the
// row's decimals). Nothing is marked with fewer than two figures or when all figures are equal.
std::vector<bool> cheapest(const std::vector<Offer>& offers, const OfferRowSpec& row);

}  // namespace vestral::calc
