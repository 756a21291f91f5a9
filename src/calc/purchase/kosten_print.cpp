#include "calc/purchase/kosten_print.h"

#include "core/mask.h"

namespace vestral::calc::kosten {

namespace {
constexpr const char* kPrintAmountMask = "@E 999,999,999.99";
}

std::string amount_text(double v) {
    return core::trim_left(core::format_mask(v, kPrintAmountMask));
}

std::string eur(double v) {
    return amount_text(v) + " EUR";
}

std::string rate_text(double v) {
    return core::trim_left(core::format_mask(v, "@E 999.99")) + "%";
}

std::string padded_eur(double v) {
    return core::format_mask(v, kPrintAmountMask) + " EUR";
}

std::string footer_text(const core::ProgramSettings& s) {
    // The version text already starts with its blank.
    std::string text = s.pcrelease1 + s.pcrelease2 + " - " + s.pcrelease0;
    if (!core::trim(s.cs_www).empty()) text += " - " + s.cs_www;
    return text;
}

Sheet::Sheet(std::string_view job_name, std::string_view title,
             std::initializer_list<std::pair<int, int>> sections, const core::ProgramSettings& settings)
    : settings_(settings) {
    job_.name = std::string(job_name);
    job_.landscape = false;
    job_.rows = 60;
    job_.cols = 80;
    job_.new_page();
    job_.box(0, kFrameLeft, 3, kFrameRight, kThickPen);
    for (const auto& [first, last] : sections) job_.box(first, kFrameLeft, last, kFrameRight);
    job_.text(1, kTextCol, settings.title() + " - " + std::string(title), sheet_title_font());
}

void Sheet::heading(double row, std::string_view text) {
    job_.text(row, kTextCol, text, toolkit::heading_font());
}

void Sheet::value(double row, std::string_view label, std::string_view text, bool bold) {
    job_.right(row, kLabelEnd, label);
    job_.text(row, kValueCol, text, bold ? toolkit::heading_font() : toolkit::body_font());
}

void Sheet::rate(double row, std::string_view label, double rate, double amount) {
    job_.right(row, kLabelEnd, label);
    job_.text(row, kValueCol, rate_text(rate));
    job_.text(row, kAmountCol, eur(amount));
}

void Sheet::sum(double row, std::string_view label, std::string_view sign, double v, bool bold) {
    job_.right(row, kLabelEnd, label);
    if (!sign.empty()) job_.text(row, kSignCol, sign);
    job_.text(row, kValueCol, padded_eur(v), bold ? toolkit::heading_font() : toolkit::body_font());
}

void Sheet::footer(double row) {
    job_.text(row, kTextCol, footer_text(settings_), footer_font());
}

}  // namespace vestral::calc::kosten
