// The "Speichern unter" file dialog. Qt's own dialog rather than the desktop's, so it speaks German
// through Qt's translations on every desktop; tests answer it through a script.
#pragma once

#include <QString>
#include <functional>

class QWidget;

namespace vestral::toolkit {

struct SaveFileRequest {
    QString title;
    QString directory;  // the folder the dialog opens in
    QString file_name;  // proposed name, without folder
    QString filter;     // e.g. "CSV-Dateien (*.csv)"
    QString suffix;     // appended when the user types a name without one, e.g. "csv"
};

// A scripted answerer replaces the dialog (tests): returns the chosen absolute path, or an empty
// string for "Abbrechen". Returns the previous script.
using SaveFileScript = std::function<QString(const SaveFileRequest&)>;
SaveFileScript set_save_file_script(SaveFileScript script);

// The chosen absolute path, or empty when the user cancelled.
QString save_file_name(QWidget* parent, const SaveFileRequest& request);

}  // namespace vestral::toolkit
