#include "calc/loans/angebotsvergleich.h"

#include <algorithm>

#include "core/mask.h"
#include "core/numbers.h"
#include "core/opstack.h"

namespace vestral::calc {

Offer mortgage_offer(const HypoInputs& in) {
    VESTRAL_OP("HT_TAB");
    Offer o;
    o.kind = OfferKind::Mortgage;
    o.bank = core::trim(in.CBANKNAME);
    o.amount = in.NHYPOTHEK;
    o.nominal = in.NZINSSATZ;
    o.fixed_period = std::to_string(in.NLAUFZEIT) + " Jahre";
    // The dialog computes only with an amount and a rate; nor does the comparison.
    if (!(in.NHYPOTHEK > 0 && in.NZINSSATZ > 0)) return o;
    const HypoOutcome out = ht_tab(in);
    if (!out.repaid_ok) return o;
    const HypoResults& r = out.results;
    o.computed = true;
    o.monthly = r.NANNUITAT;
    o.interest = r.NZINSSUM;
    // The financed credit fee and every account fee the plan takes out of a December instalment.
    o.fees = in.NKREDITDM;
    for (const HypoRow& row : out.rows)
        if (row.KEY == 1 && row.ABMONAT == 12) o.fees += row.GEBUEHR;
    o.debt_left = r.NRESTNACH;
    o.apr = r.NJAHRESZINS;
    o.total_cost = o.interest + o.fees;
    return o;
}

Offer credit_offer(const RkInputs& in, int current_year) {
    VESTRAL_OP("RK_RECH");
    Offer o;
    o.kind = OfferKind::Credit;
    o.bank = core::trim(in.CBANKNAME);
    o.amount = in.NKREDIT;
    o.nominal = in.NMONZINS;
    o.fixed_period = std::to_string(in.NLAUFZEIT) + " Monate";
    const bool can = in.NKREDIT > 0 && in.NMONZINS > 0 && (in.NLAUFZEIT > 0 || in.NMONRATE > 0);
    if (!can) return o;
    const RkOutcome out = rk_rech(in, current_year);
    if (out.refused) return o;
    const RkResults& r = out.results;
    o.computed = true;
    // A rate-driven credit runs as many months as its rate needs.
    o.fixed_period = std::to_string(out.rows.size()) + " Monate";
    o.monthly = r.NERSTRATE;
    o.interest = r.NZINSSUM;
    o.fees = in.NBEARBGEB;
    o.debt_left = 0;
    o.apr = r.NJAHRESZINS;
    o.total_cost = o.interest + o.fees;
    return o;
}

std::string offer_heading(const Offer& o, int position) {
    return std::to_string(position) + ". " + (o.kind == OfferKind::Mortgage ? "Hypothek" : "Ratenkredit");
}

std::optional<double> offer_value(const Offer& o, OfferRow row) {
    switch (row) {
        case OfferRow::Amount:
            return o.amount;
        case OfferRow::Nominal:
            return o.nominal;
        case OfferRow::Bank:
        case OfferRow::FixedPeriod:
            return std::nullopt;
        default:
            break;
    }
    if (!o.computed) return std::nullopt;
    switch (row) {
        case OfferRow::Monthly:
            return o.monthly;
        case OfferRow::Interest:
            return o.interest;
        case OfferRow::Fees:
            return o.fees;
        case OfferRow::DebtLeft:
            return o.debt_left;
        case OfferRow::Apr:
            return o.apr;
        case OfferRow::TotalCost:
            return o.total_cost;
        default:
            return std::nullopt;
    }
}

std::string offer_text(const Offer& o, const OfferRowSpec& row) {
    if (row.row == OfferRow::Bank) return o.bank;
    if (row.row == OfferRow::FixedPeriod) return o.fixed_period;
    const std::optional<double> v = offer_value(o, row.row);
    if (!v) return {};
    return core::trim(core::Mask::parse(row.mask).format(*v)) + " " + row.unit;
}

std::vector<bool> cheapest(const std::vector<Offer>& offers, const OfferRowSpec& row) {
    std::vector<bool> marks(offers.size(), false);
    if (!row.compared) return marks;
    std::vector<std::optional<double>> shown;
    for (const Offer& o : offers) {
        const std::optional<double> v = offer_value(o, row.row);
        shown.push_back(v ? std::optional<double>(core::round_to(*v, row.decimals)) : std::nullopt);
    }
    std::optional<double> low, high;
    int defined = 0;
    for (const auto& v : shown) {
        if (!v) continue;
        ++defined;
        low = low ? std::min(*low, *v) : *v;
        high = high ? std::max(*high, *v) : *v;
    }
    if (defined < 2 || *low == *high) return marks;
    for (size_t i = 0; i < shown.size(); ++i) marks[i] = shown[i] && *shown[i] == *low;
    return marks;
}

}  // namespace vestral::calc
