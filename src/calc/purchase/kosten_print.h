// The page both side-cost printouts share: a thick title frame and thin section frames across the
// page, labels ending at one column with their values to the right of it, percentages with
// their amount, sums with a sign before them, and the footer line with the program's notices.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>

#include "core/program_settings.h"
#include "toolkit/print_job.h"

namespace vestral::calc::kosten {

inline constexpr double kFrameLeft = 7;
inline constexpr double kFrameRight = kFrameLeft + 72;
inline constexpr double kTextCol = 8;    // title, section headings, footer
inline constexpr double kLabelEnd = 38;  // labels are right-aligned here
inline constexpr double kSignCol = 39;   // "+" and "=" of a sum
inline constexpr double kValueCol = 40;
inline constexpr double kAmountCol = 50;  // the amount of a percentage line
inline constexpr int kThickPen = 5;

inline toolkit::PrintFont sheet_title_font() {
    return {"Arial", 14, true};
}
inline toolkit::PrintFont footer_font() {
    return {"Arial", 8, false};
}

// "@E 999,999,999.99" without its leading blanks, and with " EUR".
std::string amount_text(double v);
std::string eur(double v);
// "@E 999.99" without its leading blanks, "%" directly after.
std::string rate_text(double v);
// An amount with the blanks its mask leaves in front, so that sums printed below each other
// line up, and " EUR".
std::string padded_eur(double v);
// Program name and version, the rights notice and the web address (left out when there is none).
std::string footer_text(const core::ProgramSettings& s);

class Sheet {
  public:
    // A portrait page on a 60 × 80 grid with the title frame, the section frames (first and last
    // row of each) and the program title + " - " + title in row 1.
    Sheet(std::string_view job_name, std::string_view title,
          std::initializer_list<std::pair<int, int>> sections, const core::ProgramSettings& settings);

    void heading(double row, std::string_view text);
    // A label with its value text, or with an amount in EUR.
    void value(double row, std::string_view label, std::string_view text, bool bold = false);
    void amount(double row, std::string_view label, double v, bool bold = false) {
        value(row, label, eur(v), bold);
    }
    // A percentage and the amount it gives.
    void rate(double row, std::string_view label, double rate, double amount);
    // A line of a sum: the sign (may be empty) before an amount printed with its padding.
    void sum(double row, std::string_view label, std::string_view sign, double v, bool bold = false);
    void footer(double row);

    toolkit::PrintJob take() { return std::move(job_); }

  private:
    toolkit::PrintJob job_;
    const core::ProgramSettings& settings_;
};

}  // namespace vestral::calc::kosten
