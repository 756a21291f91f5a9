#include "toolkit/print.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QIdentityProxyModel>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QStandardPaths>
#include <QTreeView>

#include "core/files.h"
#include "core/opstack.h"
#include "core/program_settings.h"
#include "toolkit/fonts.h"
#include "toolkit/messages.h"
#include "toolkit/shell.h"

namespace vestral::toolkit {

namespace {
PrintRecorder& recorder() {
    static PrintRecorder r;
    return r;
}
PdfSaveScript& save_script() {
    static PdfSaveScript s;
    return s;
}

constexpr const char* kPdfFolderSection = "Setup";
constexpr const char* kPdfFolderKey = "PdfOrdner";

// The file list shows sizes and modification times in German; Qt's own model takes them from the
// system locale, which on many machines is English or "C".
class GermanFileColumns : public QIdentityProxyModel {
  public:
    using QIdentityProxyModel::QIdentityProxyModel;
    QVariant data(const QModelIndex& index, int role) const override {
        auto* fs = qobject_cast<QFileSystemModel*>(sourceModel());
        if (role != Qt::DisplayRole || !fs) return QIdentityProxyModel::data(index, role);
        const QModelIndex source = mapToSource(index);
        const QLocale german(QLocale::German, QLocale::Germany);
        if (index.column() == 1 && !fs->isDir(source)) {
            const qint64 bytes = fs->size(source);
            if (bytes < 1024) return german.toString(bytes) + " Byte";
            return german.formattedDataSize(bytes, 1, QLocale::DataSizeTraditionalFormat);
        }
        if (index.column() == 3) {
            const QDateTime t = fs->lastModified(source);
            if (t.isValid()) return german.toString(t, "dd.MM.yyyy HH:mm");
        }
        return QIdentityProxyModel::data(index, role);
    }
};

QPageLayout::Orientation orientation(const PrintJob& job) {
    return job.landscape ? QPageLayout::Landscape : QPageLayout::Portrait;
}

void setup(QPrinter& printer, const PrintJob& job) {
    printer.setDocName(QString::fromStdString(job.name));
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageOrientation(orientation(job));
    printer.setFullPage(false);
}
bool print_on(QPrinter& printer, QWidget* parent, const PrintJob& job) {
    QPainter painter;
    if (!painter.begin(&printer)) {
        stop(parent, "Problem", "Der Druck konnte nicht gestartet werden.");
        return false;
    }
    render(painter, printer, job);
    return painter.end();
}

// The platform's print dialog chooses the printer; a cancelled dialog prints nothing.
bool ask_and_print(QPrinter& printer, QWidget* parent, const PrintJob& job) {
    setup(printer, job);
    use_german_qt();
    QPrintDialog dialog(&printer, parent);
    dialog.setWindowTitle("Drucken");
    if (dialog.exec() != QDialog::Accepted) return false;
    printer.setPageOrientation(orientation(job));
    return print_on(printer, parent, job);
}
}  // namespace

QStringList setupprinter() {
    VESTRAL_OP("SETUPPRINTER");
    QStringList names = QPrinterInfo::availablePrinterNames();
    names << kPdfPrinter;
    return names;
}

QString match_printer(const QStringList& installed, const QString& stored) {
    QString want = stored.trimmed();
    if (want.isEmpty()) return {};
    for (const QString& n : installed)
        if (n.contains(want, Qt::CaseInsensitive)) return n;
    return {};
}

PrintRecorder set_print_recorder(PrintRecorder r) {
    PrintRecorder old = std::move(recorder());
    recorder() = std::move(r);
    return old;
}

void render(QPainter& painter, QPrinter& printer, const PrintJob& job) {
    const QRectF area = printer.pageLayout().paintRectPixels(printer.resolution());
    const double rstep = area.height() / job.rows;
    const double cstep = area.width() / job.cols;
    const double unit = printer.resolution() / 300.0;  // the old printers' pen unit
    for (size_t p = 0; p < job.pages.size(); ++p) {
        if (p > 0) printer.newPage();
        for (const PrintItem& it : job.pages[p].items) {
            const double x = it.col * cstep, y = it.row * rstep;
            switch (it.kind) {
                case PrintItem::Kind::Text: {
                    QFont f = map_font(QString::fromStdString(it.font.face), it.font.size, it.font.bold);
                    painter.setFont(f);
                    painter.setPen(Qt::black);
                    const double wide = area.width() * 2;
                    QRectF r(x, y, wide, rstep * 3);
                    int flags = Qt::AlignTop | Qt::TextSingleLine | Qt::TextDontClip;
                    if (it.align == PrintAlign::Right) {
                        r = QRectF(x - wide, y, wide, rstep * 3);
                        flags |= Qt::AlignRight;
                    } else if (it.align == PrintAlign::Center) {
                        r = QRectF(x - wide / 2, y, wide, rstep * 3);
                        flags |= Qt::AlignHCenter;
                    } else {
                        flags |= Qt::AlignLeft;
                    }
                    painter.drawText(r, flags, QString::fromStdString(it.text));
                    break;
                }
                case PrintItem::Kind::Line:
                    painter.setPen(QPen(Qt::black, std::max(1.0, it.pen * unit)));
                    painter.drawLine(QPointF(x, y), QPointF(it.col2 * cstep, it.row2 * rstep));
                    break;
                case PrintItem::Kind::Box:
                    painter.setPen(QPen(Qt::black, std::max(1.0, it.pen * unit)));
                    painter.setBrush(Qt::NoBrush);
                    painter.drawRect(QRectF(QPointF(x, y), QPointF(it.col2 * cstep, it.row2 * rstep)));
                    break;
            }
        }
    }
}

bool render_pdf(const PrintJob& job, const QString& file) {
    QPrinter printer(QPrinter::HighResolution);
    setup(printer, job);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(file);
    QPainter painter;
    if (!painter.begin(&printer)) return false;
    render(painter, printer, job);
    return painter.end();
}

PdfSaveScript set_pdf_save_script(PdfSaveScript s) {
    PdfSaveScript old = std::move(save_script());
    save_script() = std::move(s);
    return old;
}

QString pdf_file_name(const PrintJob& job, core::Date day) {
    QString name = QString::fromStdString(job.name).trimmed();
    static const QString forbidden = "/\\:*?\"<>|";
    for (QChar& c : name)
        if (forbidden.contains(c) || c.unicode() < 32) c = '_';
    if (name.isEmpty()) name = "Ausdruck";
    if (!day.empty())
        name += QString("_%1-%2-%3")
                    .arg(day.year, 4, 10, QChar('0'))
                    .arg(day.month, 2, 10, QChar('0'))
                    .arg(day.day, 2, 10, QChar('0'));
    return name + ".pdf";
}

QString pdf_folder() {
    const QString stored =
        QString::fromStdString(core::settings().ini().get(kPdfFolderSection, kPdfFolderKey, "")).trimmed();
    if (!stored.isEmpty() && QFileInfo(stored).isDir()) return stored;
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!documents.isEmpty() && QFileInfo(documents).isDir()) return documents;
    return QDir::homePath();
}

QFileDialog* make_pdf_save_dialog(QWidget* parent, const QString& suggested) {
    use_german_qt();
    auto* dialog = new QFileDialog(parent, "PDF-Datei speichern");
    dialog->setObjectName("pdfSaveDialog");
    // Qt's own dialog, so that it speaks German with the program's translations everywhere.
    dialog->setOption(QFileDialog::DontUseNativeDialog, true);
    // The question about an existing file is the program's own (below).
    dialog->setOption(QFileDialog::DontConfirmOverwrite, true);
    dialog->setLocale(QLocale(QLocale::German, QLocale::Germany));
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setFileMode(QFileDialog::AnyFile);
    dialog->setNameFilters({"PDF-Dateien (*.pdf)", "Alle Dateien (*)"});
    dialog->setDefaultSuffix("pdf");
    dialog->setLabelText(QFileDialog::LookIn, "Speichern in:");
    dialog->setLabelText(QFileDialog::FileName, "Datei&name:");
    dialog->setLabelText(QFileDialog::FileType, "Dateityp:");
    dialog->setLabelText(QFileDialog::Accept, "&Speichern");
    dialog->setLabelText(QFileDialog::Reject, "Abbrechen");
    dialog->setProxyModel(new GermanFileColumns(dialog));
    dialog->setDirectory(QFileInfo(suggested).absolutePath());
    dialog->selectFile(QFileInfo(suggested).fileName());
    // Wide enough for the long names of the printouts and a whole date.
    dialog->resize(820, 500);
    if (auto* details = dialog->findChild<QTreeView*>("treeView")) {
        QHeaderView* head = details->header();
        head->setStretchLastSection(false);
        head->setSectionResizeMode(0, QHeaderView::Stretch);
        head->resizeSection(1, 90);
        head->resizeSection(2, 120);
        head->resizeSection(3, 130);
    }
    return dialog;
}

QString ask_pdf_file(QWidget* parent, const PrintJob& job) {
    QString suggested = QDir(pdf_folder()).filePath(pdf_file_name(job, core::today()));
    for (;;) {
        QString chosen;
        if (save_script()) {
            chosen = save_script()(suggested);
        } else {
            QFileDialog* dialog = make_pdf_save_dialog(parent, suggested);
            if (dialog->exec() == QDialog::Accepted && !dialog->selectedFiles().isEmpty())
                chosen = dialog->selectedFiles().constFirst();
            delete dialog;
        }
        if (chosen.trimmed().isEmpty()) return {};
        if (QFileInfo(chosen).suffix().isEmpty()) chosen += ".pdf";
        chosen = QFileInfo(chosen).absoluteFilePath();
        if (QFileInfo(chosen).isDir()) {
            suggested = QDir(chosen).filePath(pdf_file_name(job, core::today()));
            continue;
        }
        if (QFileInfo::exists(chosen) && !ask_yes_no(parent, "PDF-Datei speichern",
                                                     "Die Datei „" + QFileInfo(chosen).fileName() +
                                                         "“ ist bereits vorhanden.\n"
                                                         "Möchten Sie sie ersetzen?",
                                                     false)) {
            suggested = chosen;
            continue;
        }
        core::settings().ini().set(kPdfFolderSection, kPdfFolderKey,
                                   QFileInfo(chosen).absolutePath().toStdString());
        return chosen;
    }
}

bool print_job(QWidget* parent, const PrintJob& job) {
    if (recorder()) return recorder()(job);
    const auto& s = core::settings();
    QString stored = QString::fromStdString(s.ini().get("Setup", "Printer", "")).trimmed();
    if (stored.compare(kPdfPrinter, Qt::CaseInsensitive) == 0) {
        const QString file = ask_pdf_file(parent, job);
        if (file.isEmpty()) return false;
        if (!render_pdf(job, file)) {
            stop(parent, "Problem",
                 "Die Datei " + QFileInfo(file).fileName() + " konnte nicht geschrieben werden.");
            return false;
        }
        show_file(parent, file);
        return true;
    }
    QPrinter printer(QPrinter::HighResolution);
    QString name = match_printer(QPrinterInfo::availablePrinterNames(), stored);
    if (!name.isEmpty()) {
        printer.setPrinterName(name);
        setup(printer, job);
        return print_on(printer, parent, job);
    }
    QApplication::beep();
    return ask_and_print(printer, parent, job);
}

bool print_job_with_dialog(QWidget* parent, const PrintJob& job) {
    if (recorder()) return recorder()(job);
    QPrinter printer(QPrinter::HighResolution);
    return ask_and_print(printer, parent, job);
}

}  // namespace vestral::toolkit
