// The work tables prepared at start-up: their layouts, how each is handled when its file
// exists, and the temporary table of the mortgage target value.
#pragma once

#include <filesystem>
#include <string>
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
    // A store of saved plans or readings: durable (synced after every save and delete); the
    // other tables are work tables the program refills itself.
    bool store = false;
};

// A damaged table that start-up set aside, and what became of it.
struct SetAside {
    std::string file;       // e.g. "HYPOBANK.DBF"
    std::string kept_as;    // e.g. "HYPOBANK.DEFEKT": the damaged bytes, unchanged
    std::string reason;     // German, as dbf::examine gives it
    long records_read = 0;  // whole records taken over into the new table
};

// The catalogue in the order start-up handles it.
const std::vector<CatalogueEntry>& catalogue();

// The layout of a catalogue table (or of HYPOTEMP), by name without regard to case. An unknown
// name is a programming error and throws std::out_of_range.
const dbf::Layout& catalogue_layout(std::string_view table);

// Opens the catalogue table `table` of `dir` exclusively (alias: the table's name unless given),
// creating it from its catalogue layout when it is missing, as start-up would.
bool open_catalogue_table(dbf::Table& t, const fs::path& dir, std::string_view table,
                          std::string_view alias = {});

// CHECKDBF: prepares every catalogue table in `dir`; each is left closed. A damaged table (header
// unreadable, 0 bytes, last record cut off) is renamed to <TABLE>.DEFEKT (DEFEKT1, ... never
// overwriting one), created anew with the records that could be read, and listed in the result.
// Temporary files that an interrupted write of a table left behind are removed.
std::vector<SetAside> check_dbf(const fs::path& dir);

// The one German message that tells the user which tables were set aside, why, and how many of
// their records could be read (empty when nothing was set aside).
std::string set_aside_message(const std::vector<SetAside>& set_aside);

// MAKEHYDBF: creates HYPOTEMP.DBF when missing and opens it exclusively as DHYP. Returns whether
// the table is open.
bool make_hydbf(const fs::path& dir, dbf::Table& table);

}  // namespace vestral::core
