// The start-up offer of an error log left by an earlier run: delete it, print it or mail it.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "toolkit/print_job.h"

class QWidget;

namespace vestral::errors {

inline constexpr const char* kNotSentText = "Das Fehlerprotokoll konnte nicht versendet (gedruckt) werden.";
inline constexpr const char* kMailProgram = "VodUred.exe";
inline constexpr const char* kMailRequest = "VODURED.INI";

// PRINTERR: when the program directory holds an error log, asks what to do with it and does it.
void printerr(QWidget* parent);

// The log's printed lines: cut at line ends and after every 70 characters.
std::vector<std::string> split_log_lines(std::string_view text);
// The printout of a log: 50 lines a page on a grid of 60 rows, 8 columns from the left.
toolkit::PrintJob log_print_job(std::string_view text);

}  // namespace vestral::errors
