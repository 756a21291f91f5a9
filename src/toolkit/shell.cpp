#include "toolkit/shell.h"

#include <QDesktopServices>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QPointer>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>
#include <QWidget>

#include "core/files.h"
#include "core/program_settings.h"
#include "toolkit/messages.h"

namespace vestral::toolkit {

namespace {
OpenRecorder& recorder() {
    static OpenRecorder r;
    return r;
}

std::filesystem::path& default_files_slot() {
    static std::filesystem::path dir;
    return dir;
}

QString& viewer_slot() {
    static QString v;
    return v;
}
// A failure reported later than this came from a viewer the user has closed, not from the opener.
constexpr qint64 kViewerVerdictMs = 15000;

void report_no_viewer(QWidget* parent, const QString& name) {
    stop(parent, "Problem", no_viewer_message(name));
}
}  // namespace

std::filesystem::path default_files_dir() {
    return default_files_slot().empty() ? core::settings().dir : default_files_slot();
}

void set_default_files_dir(std::filesystem::path dir) {
    default_files_slot() = std::move(dir);
}

OpenRecorder set_open_recorder(OpenRecorder r) {
    OpenRecorder old = std::move(recorder());
    recorder() = std::move(r);
    return old;
}

QString no_viewer_message(const QString& file_name) {
    if (file_name.endsWith(".pdf", Qt::CaseInsensitive)) return "Es wurde kein Acrobat-Reader gefunden!";
    return "Es wurde kein Programm gefunden, das die Datei " + file_name + " anzeigen kann!";
}

QString set_document_viewer(const QString& program) {
    QString old = viewer_slot();
    viewer_slot() = program;
    return old;
}

bool show_file(QWidget* parent, const QString& abs) {
    const QString name = QFileInfo(abs).fileName();
    if (recorder()) {
        if (recorder()(abs)) return true;
        report_no_viewer(parent, name);
        return false;
    }
    QString opener = viewer_slot().isEmpty() ? QStandardPaths::findExecutable("xdg-open") : viewer_slot();
    if (opener.isEmpty() || !QFileInfo(opener).isExecutable()) {
        report_no_viewer(parent, name);
        return false;
    }
    // The opener usually ends at once with its verdict; a desktop without a file manager may keep
    // it running as long as the viewer is open, so only a quick failure means "nothing shown".
    auto* process = new QProcess;
    process->setProgram(opener);
    process->setArguments({abs});
    process->setWorkingDirectory(QString::fromStdString(core::settings().dir.string()));
    process->setStandardOutputFile(QProcess::nullDevice());
    process->setStandardErrorFile(QProcess::nullDevice());
    process->start();
    if (!process->waitForStarted(10000)) {
        delete process;
        report_no_viewer(parent, name);
        return false;
    }
    QElapsedTimer started;
    started.start();
    QPointer<QWidget> owner(parent);
    QObject::connect(process, &QProcess::finished, process,
                     [process, owner, name, started](int code, QProcess::ExitStatus status) {
                         process->deleteLater();
                         if (status == QProcess::NormalExit && code == 0) return;
                         if (started.elapsed() > kViewerVerdictMs) return;
                         report_no_viewer(owner.data(), name);
                     });
    return true;
}

bool open_document(QWidget* parent, const QString& relative_path) {
    std::filesystem::path p = default_files_dir();
    for (const QString& part : QString(relative_path).replace('\\', '/').split('/', Qt::SkipEmptyParts)) {
        if (part == ".") continue;
        p = core::resolve_ci(p, part.toStdString());
    }
    QString abs = QString::fromStdString(p.string());
    QString name = QFileInfo(abs).fileName();
    if (!QFileInfo::exists(abs)) {
        stop(parent, "Problem", "Die Datei " + name + " wurde nicht gefunden.");
        return false;
    }
    return show_file(parent, abs);
}

bool open_url(const QUrl& url) {
    const QString scheme = url.scheme().toLower();
    if (!url.isValid() || (scheme != "http" && scheme != "https" && scheme != "mailto")) return false;
    if (recorder()) return recorder()(url.toString(QUrl::FullyEncoded));
    return QDesktopServices::openUrl(url);
}

int run_program(const QString& program, const QStringList& args, const QString& working_dir) {
    QFileInfo fi(program);
    if (!fi.exists() || !fi.isExecutable() || fi.isDir()) return -1;
    QProcess p;
    p.setProgram(fi.absoluteFilePath());
    p.setArguments(args);
    p.setWorkingDirectory(working_dir);
    p.start();
    if (!p.waitForStarted(10000)) return -1;
    p.waitForFinished(-1);
    if (p.exitStatus() != QProcess::NormalExit) return -1;
    return p.exitCode();
}

}  // namespace vestral::toolkit
