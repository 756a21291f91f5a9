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

// Opens one of the program's own files (e.g. "info/EStG.pdf") in default_files_dir(). A missing file is
// reported as "Die Datei <Name> wurde nicht gefunden."; an existing PDF that no program opens gets the reader
// alert. Returns whether a program was asked to open it.
bool open_document(QWidget* parent, const QString& relative_path);

// Opens only http(s) and mailto addresses (built with QUrl, so they are percent-encoded);
// anything else (a local program, a file) is refused. Returns whether it was handed on.
bool open_url(const QUrl& url);

// Tests intercept documents and addresses here; return true to mark them as opened.
using OpenRecorder = std::function<bool(const QString& what)>;
OpenRecorder set_open_recorder(OpenRecorder r);

// Starts a program with arguments (no shell) and waits until it ends; returns its exit code, or
// -1 when it does not exist, is not executable or did not end normally.
int run_program(const QString& program, const QStringList& args, const QString& working_dir);

}  // namespace vestral::toolkit
