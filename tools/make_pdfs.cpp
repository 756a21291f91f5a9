// Build tool: renders the HTML sources of the shipped documents (data/pdfsrc/*.html) to A4 PDF
// files. Usage: make_pdfs <output directory> <file.html>...
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QTextDocument>
#include <QUrl>
#include <cstdio>

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "Aufruf: make_pdfs <Zielverzeichnis> <Datei.html>...\n");
        return 2;
    }
    const QString out_dir = QString::fromLocal8Bit(argv[1]);
    for (int i = 2; i < argc; ++i) {
        const QString source = QString::fromLocal8Bit(argv[i]);
        QFile in(source);
        if (!in.open(QIODevice::ReadOnly)) {
            std::fprintf(stderr, "make_pdfs: %s kann nicht gelesen werden\n", argv[i]);
            return 1;
        }
        const QFileInfo info(source);
        const QString target = out_dir + "/" + info.completeBaseName() + ".pdf";
        QPdfWriter writer(target);
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setPageMargins(QMarginsF(20, 20, 20, 20), QPageLayout::Millimeter);
        writer.setTitle(info.completeBaseName());
        writer.setCreator("Vestralon");
        QTextDocument doc;
        doc.setBaseUrl(QUrl::fromLocalFile(info.absolutePath() + "/"));
        doc.setHtml(QString::fromUtf8(in.readAll()));
        doc.print(&writer);
        if (!QFileInfo::exists(target)) {
            std::fprintf(stderr, "make_pdfs: %s wurde nicht geschrieben\n", qPrintable(target));
            return 1;
        }
    }
    return 0;
}
