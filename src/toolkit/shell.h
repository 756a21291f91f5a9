// Opening documents with the platform's associated program, web and mail addresses, and starting
// external programs without a shell.
#pragma once

#include <QString>
#include <QStringList>
#include <filesystem>
#include <functional>

class QWidget;
class QUrl;

namespace vestral::toolkit {

// The folder of the program's own files that the user never changes: help (info/), documents and
// templates (text/). Beside the program in a program directory of its own; <prefix>/share/vestralon
// for an installed program. Until start-up sets it, the program directory of the settings.
std::filesystem::path default_files_dir();
void set_default_files_dir(std::filesystem::path dir);

// Opens one of the program's own files (e.g. "info/EStG.pdf") in default_files_dir() with the
// desktop's viewer. A missing file is reported as "Die Datei <Name> wurde nicht gefunden."; when no
// viewer exists or the one found fails, a PDF gets the reader alert and other kinds a like message
// (see no_viewer_message). Returns whether a viewer was started.
bool open_document(QWidget* parent, const QString& relative_path);

// Opens a file given by its full path in the same way (a PDF file just printed, for instance).
bool show_file(QWidget* parent, const QString& absolute_path);

// "Es wurde kein Acrobat-Reader gefunden!" for PDF files; for other kinds the message names the
// file that no program could show.
QString no_viewer_message(const QString& file_name);

// The program that hands documents to the desktop ("xdg-open" on the search path by default).
// Its exit status tells whether a viewer showed the file. Tests put a script of their own here;
// an empty name restores the default. Returns the previous setting.
QString set_document_viewer(const QString& program);

// Opens only http(s) and mailto addresses (built with QUrl, so they are percent-encoded);
// anything else (a local program, a file) is refused. Returns whether it was handed on.
bool open_url(const QUrl& url);

// Tests intercept documents and addresses here instead of starting a viewer: return true when
// the viewer shows it, false to play a desktop without one.
using OpenRecorder = std::function<bool(const QString& what)>;
OpenRecorder set_open_recorder(OpenRecorder r);

// Starts a program with arguments (no shell) and waits until it ends; returns its exit code, or
// -1 when it does not exist, is not executable or did not end normally.
int run_program(const QString& program, const QStringList& args, const QString& working_dir);

}  // namespace vestral::toolkit
