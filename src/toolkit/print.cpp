#include "toolkit/print.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QUrl>

#include "core/files.h"
#include "core/opstack.h"
#include "core/program_settings.h"
#include "toolkit/fonts.h"
#include "toolkit/messages.h"

namespace vestral::toolkit {

namespace {
PrintRecorder& recorder() {
    static PrintRecorder r;
    return r;
}

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

bool print_job(QWidget* parent, const PrintJob& job) {
    if (recorder()) return recorder()(job);
    const auto& s = core::settings();
    QString stored = QString::fromStdString(s.ini().get("Setup", "Printer", "")).trimmed();
    if (stored.compare(kPdfPrinter, Qt::CaseInsensitive) == 0) {
        QString file = QString::fromStdString((s.dir / (job.name + ".pdf")).string());
        if (!render_pdf(job, file)) {
            stop(parent, "Problem", "Die Datei " + QFileInfo(file).fileName() + " konnte nicht geschrieben werden.");
            return false;
        }
        QDesktopServices::openUrl(QUrl::fromLocalFile(file));
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
