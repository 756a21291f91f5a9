#include "ui/grid_dialog.h"

#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QStandardPaths>
#include <QVBoxLayout>

#include "core/csv.h"
#include "core/files.h"
#include "core/opstack.h"
#include "core/program_settings.h"
#include "toolkit/file_dialog.h"
#include "toolkit/fonts.h"
#include "toolkit/messages.h"
#include "ui/blocks.h"

namespace vestral::ui {

namespace {

constexpr const char* kExportSection = "Export";
constexpr const char* kExportFolderKey = "Ordner";

std::string cell_csv(const TableGrid& grid, int row, int column) {
    const GridValue v = grid.cellValue(row, column);
    if (const auto* n = std::get_if<core::Num>(&v)) return core::csv_number(n->value, n->decimals);
    if (const auto* d = std::get_if<core::Date>(&v)) return core::format_date(*d);
    if (const auto* t = std::get_if<QString>(&v)) return t->toStdString();
    return grid.cellText(row, column).trimmed().toStdString();
}

// The remembered folder while it still exists, else the user's documents folder.
QString export_folder() {
    const QString kept =
        QString::fromStdString(core::settings().ini().get(kExportSection, kExportFolderKey, ""));
    if (!kept.isEmpty() && QFileInfo(kept).isDir()) return kept;
    const QString docs = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!docs.isEmpty() && QFileInfo(docs).isDir()) return docs;
    return QDir::homePath();
}

}  // namespace

std::string grid_csv(const TableGrid& grid) {
    std::vector<std::vector<std::string>> rows;
    rows.reserve(static_cast<size_t>(grid.rows()) + 1);
    std::vector<std::string> headings;
    for (int c = 0; c < grid.columns(); ++c) headings.push_back(grid.heading(c).trimmed().toStdString());
    rows.push_back(std::move(headings));
    for (int r = 0; r < grid.rows(); ++r) {
        std::vector<std::string> row;
        row.reserve(static_cast<size_t>(grid.columns()));
        for (int c = 0; c < grid.columns(); ++c) row.push_back(cell_csv(grid, r, c));
        rows.push_back(std::move(row));
    }
    return core::csv_document(rows);
}

QString csv_file_name(const QString& title) {
    QString name = title.section(" - ", 0, 0).trimmed();
    for (QChar& c : name)
        if (QStringLiteral("/\\:*?\"<>|").contains(c) || c.unicode() < 0x20) c = '_';
    if (name.isEmpty()) name = "Tabelle";
    return name + ".csv";
}

GridDialog::GridDialog(QWidget* parent, const QString& title, core::dbf::Table& table,
                       std::vector<GridColumn> columns, bool freeze_first, const QString& note)
    : QDialog(parent) {
    setObjectName("gridDialog");
    setWindowTitle(title);
    setFont(toolkit::ofont());
    grid_ = new TableGrid(this, table, std::move(columns), freeze_first);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(grid_);
    if (!note.isEmpty()) {
        auto* n = label(note, this);
        n->setObjectName("gridNote");
        layout->addWidget(n);
    }
    extra_ = new QHBoxLayout;
    layout->addLayout(extra_);
    auto* exporter = button(this, "exportButton", "&Exportieren…", "Tabelle als CSV-Datei speichern",
                            "Tabelle als CSV-Datei speichern", true);
    on_click_always(exporter, [this] { exportCsv(); });
    auto* close = button(this, "closeButton", "&Schließen", "Dialog verlassen", QString(), true);
    close->setDefault(true);
    on_click_always(close, [this] { accept(); });
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(exporter);
    buttons->addWidget(close);
    layout->addLayout(buttons);
}

bool GridDialog::exportCsv() {
    VESTRAL_OP("GRID_EXPORT");
    toolkit::SaveFileRequest request;
    request.title = "Tabelle als CSV-Datei speichern";
    request.directory = export_folder();
    request.file_name = csv_file_name(windowTitle());
    request.filter = "CSV-Dateien (*.csv);;Alle Dateien (*)";
    request.suffix = "csv";
    const QString chosen = toolkit::save_file_name(this, request);
    if (chosen.isEmpty()) return false;
    const QFileInfo target(chosen);
    if (!core::atomic_write(std::filesystem::path(chosen.toStdString()), grid_csv(*grid_))) {
        toolkit::warning(this, "Problem",
                         "Die Datei " + target.fileName() + " konnte nicht gespeichert werden.\n" +
                             "Bitte prüfen Sie, ob Sie im Ordner " +
                             QDir::toNativeSeparators(target.absolutePath()) +
                             " Dateien anlegen dürfen und ob dort genug Platz frei ist.");
        return false;
    }
    core::settings().ini().set(kExportSection, kExportFolderKey, target.absolutePath().toStdString());
    return true;
}

void GridDialog::fitAndCenter(int height, int min_width) {
    int w = std::max(min_width, grid_->fullWidth() + 24);
    center_on_main(this, height, w);
}

}  // namespace vestral::ui
