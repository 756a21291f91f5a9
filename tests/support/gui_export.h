// Exporting a result grid the way a user does (the file dialog answered with a path), and checking
// the CSV file against the work table as Python's csv module and dbfread read them.
#pragma once

#include <QString>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "toolkit/file_dialog.h"

class QWidget;

namespace vestral::test {

// Clicks "Exportieren…" in `grid_dialog`, answers the file dialog with `file` (empty: "Abbrechen") and
// returns what the file dialog was asked.
toolkit::SaveFileRequest export_grid(QWidget* grid_dialog, const std::filesystem::path& file);

struct CsvColumn {
    std::string heading;
    std::string value;  // Python expression over the record `r`, e.g. "r['ZINSEN']"
};

// Compares the CSV file with the records of `table` for which `where` (Python, over `r`) holds:
// BOM, CR LF only, the headings, the row count, and each value (numbers with a decimal comma and
// no thousands separator, to the cent; dates as dd.mm.yyyy; texts as stored). Returns "ok\n" or
// the differences.
std::string compare_csv_with_table(const std::filesystem::path& csv, const std::filesystem::path& table,
                                   const std::string& where, const std::vector<CsvColumn>& columns);

}  // namespace vestral::test
