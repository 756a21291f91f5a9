#include "calc/loans/angebotsvergleich_print.h"

#include <string>

#include "core/opstack.h"
#include "toolkit/print_form.h"

namespace vestral::calc {

namespace {
// Landscape grid of 50 rows by 110 columns: the row labels from column 3, then up to four offer
// columns of 19 columns each, right-aligned.
constexpr double kLabelCol = 3;
constexpr double kFirstValueEnd = 52;
constexpr double kValueWidth = 19;
constexpr double kRowStep = 2;

// The printouts write amounts with "EUR", as every other printed plan does.
std::string printed(std::string text) {
    const std::string euro = "€";
    if (text.size() >= euro.size() && text.compare(text.size() - euro.size(), euro.size(), euro) == 0)
        text.replace(text.size() - euro.size(), euro.size(), "EUR");
    return text;
}
}  // namespace

toolkit::PrintJob vergleich_druck(const std::vector<Offer>& offers, std::string_view program_title) {
    VESTRAL_OP("VERGL_DRUCK");
    toolkit::PrintJob job = toolkit::new_print_job(kVergleichTitle, toolkit::kLandscapeGrid);
    toolkit::PrintBand band;
    band.left = 2;
    band.right = 110;
    band.text_col = 3;
    band.page_col = 109;
    toolkit::PrintForm f(job, program_title, band);
    f.new_page(kVergleichTitle);

    const size_t n = std::min<size_t>(offers.size(), kMaxOffers);
    auto value_end = [](size_t i) { return kFirstValueEnd + kValueWidth * static_cast<double>(i); };

    f.row += 1;
    for (size_t i = 0; i < n; ++i)
        job.right(f.row, value_end(i), offer_heading(offers[i], static_cast<int>(i) + 1),
                  toolkit::heading_font());
    f.row += 1;
    f.rule({kLabelCol, value_end(n == 0 ? 0 : n - 1) - kLabelCol + 1});

    for (const OfferRowSpec& def : kOfferRows) {
        f.row += kRowStep;
        job.text(f.row, kLabelCol, def.label, toolkit::body_font());
        const std::vector<bool> marks = cheapest(offers, def);
        for (size_t i = 0; i < n; ++i) {
            const std::string text = printed(offer_text(offers[i], def));
            if (text.empty()) continue;
            job.right(f.row, value_end(i), text, marks[i] ? toolkit::heading_font() : toolkit::body_font());
        }
    }
    f.row += kRowStep;
    f.rule({kLabelCol, value_end(n == 0 ? 0 : n - 1) - kLabelCol + 1});
    f.footer(
        2,
        "Fett gedruckt: das günstigste Angebot der Zeile. Jede Spalte ist aus dem gespeicherten Plan neu "
        "berechnet; Zinssumme und Gebühren gelten für die ganze Laufzeit, der effektive Jahreszins "
        "(PAngV) für die Zinsbindung.",
        kLabelCol);
    for (size_t i = 0; i < n; ++i)
        if (!offers[i].computed)
            f.footer(1,
                     std::to_string(i + 1) + ". " + offers[i].bank +
                         ": mit den gespeicherten Eingaben ist kein Plan zu berechnen.",
                     kLabelCol);
    return job;
}

}  // namespace vestral::calc
