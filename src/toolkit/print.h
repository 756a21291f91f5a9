// Sends a print job to the printer the settings name (first installed printer whose name contains
// the stored text, letters compared without regard to case), to a PDF file the user names in a
// save dialog when "PDF-Datei" is chosen, or, when nothing matches, to a printer the user picks.
#pragma once

#include <QString>
#include <QStringList>
#include <functional>

#include "core/clock.h"
#include "toolkit/print_job.h"

class QFileDialog;
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

// "PDF-Datei": the file name suggested for a job, from its name and the day ("Bausparplan_
// 2026-12-08.pdf"; characters a file name cannot hold become "_").
QString pdf_file_name(const PrintJob& job, core::Date day);

// The folder the save dialog opens in: the one used last (settings "Setup"/"PdfOrdner") while it
// exists, otherwise the user's documents folder.
QString pdf_folder();

// Asks where the PDF file of `job` goes, in a German save dialog; an existing file is replaced
// only after the question. Remembers the folder. Returns the chosen path, empty when cancelled.
QString ask_pdf_file(QWidget* parent, const PrintJob& job);

// Tests answer the save dialog here: given the suggested path, return the chosen one (empty:
// cancelled). The dialog itself is not shown while a script is set.
using PdfSaveScript = std::function<QString(const QString& suggested)>;
PdfSaveScript set_pdf_save_script(PdfSaveScript s);

// The save dialog as the user sees it (not yet shown); exposed for its look and its texts.
QFileDialog* make_pdf_save_dialog(QWidget* parent, const QString& suggested);

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
