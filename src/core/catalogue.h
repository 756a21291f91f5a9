// The work tables prepared at start-up: their layouts, how each is handled when its file
// exists, and the temporary table of the mortgage target value.
#pragma once

#include <filesystem>
#include <string_view>
#include <vector>

#include "core/dbf.h"

namespace vestral::core {

namespace fs = std::filesystem;

enum class TableHandling {
    Create,         // create when missing, leave an existing file alone
    CreateRebuild,  // an existing file that fails the layout test is replaced by an empty one
    CreateMigrate,  // an existing file that fails the layout test is upgraded, keeping its records
};

struct CatalogueEntry {
    std::string_view table;  // e.g. "HYPOBANK"; the file is HYPOBANK.DBF
    TableHandling handling;
    dbf::Layout layout;
};

// The catalogue in the order start-up handles it.
const std::vector<CatalogueEntry>& catalogue();

// The layout of a catalogue table (or of HYPOTEMP), by name without regard to case. An unknown
// name is a programming error and throws std::out_of_range.
const dbf::Layout& catalogue_layout(std::string_view table);

// CHECKDBF: prepares every catalogue table in `dir`; each is left closed.
void check_dbf(const fs::path& dir);

// MAKEHYDBF: creates HYPOTEMP.DBF when missing and opens it exclusively as DHYP. Returns whether
// the table is open.
bool make_hydbf(const fs::path& dir, dbf::Table& table);

}  // namespace vestral::core
