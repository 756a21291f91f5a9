// Sends a print job to the printer the settings name (first installed printer whose name contains
// the stored text, letters compared without regard to case), to a PDF file in the program
// directory when "PDF-Datei" is chosen, or, when nothing matches, to a printer the user picks.
#pragma once

#include <QString>
#include <QStringList>
#include <functional>

#include "toolkit/print_job.h"

class QWidget;
class QPainter;
class QPrinter;

namespace vestral::toolkit {

inline const char* kPdfPrinter = "PDF-Datei";

// SETUPPRINTER: the installed printers, then the PDF file choice.
QStringList setupprinter();

// The first installed printer whose name contains `stored` (case-insensitive); empty when none.
QString match_printer(const QStringList& installed, const QString& stored);

// Tests record jobs here instead of printing; return true to count the job as printed.
using PrintRecorder = std::function<bool(const PrintJob&)>;
PrintRecorder set_print_recorder(PrintRecorder r);

// Prints; returns false when the user cancelled the printer choice or printing failed.
bool print_job(QWidget* parent, const PrintJob& job);

// Prints on a printer the user picks in the platform's print dialog, whatever the settings say;
// returns false when the dialog was cancelled or printing failed. The recorder of tests applies.
bool print_job_with_dialog(QWidget* parent, const PrintJob& job);

// Renders to a PDF file (used for "PDF-Datei" and by tests that look at the pages).
bool render_pdf(const PrintJob& job, const QString& file);

// Draws every page of the job on an open printer.
void render(QPainter& painter, QPrinter& printer, const PrintJob& job);

}  // namespace vestral::toolkit
