#include "toolkit/shell.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QProcess>
#include <QUrl>

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
    bool opened = recorder() ? recorder()(abs) : QDesktopServices::openUrl(QUrl::fromLocalFile(abs));
    if (!opened && name.endsWith(".pdf", Qt::CaseInsensitive)) {
        stop(parent, "Problem", "Es wurde kein Acrobat-Reader gefunden!");
    }
    return opened;
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
