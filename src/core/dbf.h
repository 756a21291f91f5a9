// dBASE III work tables: create from a layout, open exclusively, navigate, read and write fields,
// append, empty, compact, copy records from another file by field name, and in-memory orders.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/clock.h"

namespace vestral::core::dbf {

namespace fs = std::filesystem;

struct Field {
    std::string name;  // at most 10 characters, upper case
    char type = 'C';   // 'C' character, 'N' numeric, 'D' date
    int width = 0;
    int decimals = 0;
    friend bool operator==(const Field&, const Field&) = default;
};
using Layout = std::vector<Field>;

// NEWHEADLEN: the record length a layout produces, 1 (deletion flag) + the sum of the widths.
int newheadlen(const Layout& layout);

// The layout test: same number of fields and same record length (names and types not compared).
bool layout_matches(const Layout& file_layout, const Layout& wanted);

// Reads just the layout of a table file (nothing when it is missing or not a dBASE III table).
std::optional<Layout> read_layout(const fs::path& file);

// Creates (or replaces) an empty table file with the layout. Faults are reported (create error).
bool create_table(const fs::path& file, const Layout& layout);

// An open table. Always opened for exclusive use: a second open of the same file, in this process
// or another, fails (an OS lock on the open file description).
class Table;
std::vector<Table*> open_tables();

class Table {
  public:
    using KeyFn = std::function<std::string(const Table&)>;
    using FilterFn = std::function<bool(const Table&)>;

    Table();
    ~Table();  // closes (and flushes)
    Table(const Table&) = delete;
    Table& operator=(const Table&) = delete;
    Table(Table&&) noexcept;
    Table& operator=(Table&&) noexcept;

    // Opens exclusively under a handle name (e.g. "DMIT"). A refused or failed open is reported as
    // a fault (code 21; OS code 32 when another holder has it, 5 when access is denied); returns
    // false when the fault's default was taken. A damaged file is reported likewise, never read
    // out of bounds.
    bool open(const fs::path& file, std::string alias);
    // The same without checking the record maps registered for the table's name: for a file whose
    // layout may be an older one (the catalogue's layout test, the source of a copy).
    bool open_unchecked(const fs::path& file, std::string alias);
    void close();  // flushes, releases the lock
    bool is_open() const;
    const std::string& alias() const;
    const fs::path& path() const;
    const Layout& layout() const;
    bool has_field(std::string_view name) const;

    // Navigation in the active order (record order when no order is active).
    long reccount() const;  // all records in the file, deleted ones included
    long recno() const;     // 1-based physical number; reccount() + 1 at the end
    bool eof() const;       // an empty table is at its end at once
    bool bof() const;
    void go_top();
    void go_bottom();
    void go_to(long recno);  // physical record number (in any order)
    void skip(long n = 1);
    // Counts the records visible in the active order (not deleted, passing its filter).
    long count() const;

    // Editing.
    void zap();           // remove all records
    void append_blank();  // a new empty record, made current
    bool deleted() const;
    void delete_record();  // mark the current record deleted
    // Drops deleted records (compaction) and goes to the top. The remaining records are written
    // to a temporary file, synced, and renamed over the table in one step, so an interruption
    // leaves the old file or the new one, never a mixture. False when the write failed and the
    // fault's default was taken (the table and its file stay as they were).
    bool pack();

    // Fields of the current record; at the end of the table reads give empty values and writes
    // are ignored. Character fields are UTF-8 in memory and Windows-1252 in the file, cut at the
    // width. Numbers are rounded to the field's decimals; a number too wide for the field loses
    // decimals, then becomes "*" (read back as 0); it never spills into the next field.
    double num(std::string_view field) const;
    std::string str(std::string_view field) const;      // as stored, padded with blanks to the width
    std::string trimmed(std::string_view field) const;  // without leading and trailing blanks
    Date date(std::string_view field) const;
    void set_num(std::string_view field, double value);
    void set_str(std::string_view field, std::string_view utf8);
    void set_date(std::string_view field, Date d);
    // Fills a field of any type with blanks: a number that is not defined, as opposed to 0.
    void set_blank(std::string_view field);
    // True when the field holds only blanks (or zero bytes).
    bool blank(std::string_view field) const;

    // Writes buffered records and the header's record count. After flush() the file on disk is a
    // complete table. Write faults (disk full) are reported and never leave a half header.
    // Order of the writes: records first, then (for a durable table) a sync, then the end marker
    // and the header's count, so every prefix of them is the old table, or the old table with
    // whole records behind its count, which the next open cuts off.
    bool flush();

    // Durable tables (the stores of saved plans and readings) are synced to the disk after every
    // completed flush, compaction or copy. Tables whose file name was given to mark_durable()
    // are durable from their open on.
    void set_durable(bool durable);
    bool durable() const;

    // Appends every record of another table file that passes `filter` (seen on the other table,
    // positioned on each record in turn), fields matched by name (fields the layout lacks are
    // dropped; new fields stay empty). Deleted records are not copied. The result is written to
    // a temporary file and renamed over this table's file, so a failed copy leaves the table as
    // it was, in memory and on disk.
    bool append_from(const fs::path& other, FilterFn filter = {});

    // Appends the whole, undeleted records of a damaged table file (one whose last record is
    // cut off) like append_from, reading no further than its whole records; a file whose header
    // cannot be read gives none. Returns the number of records taken over, or -1 when this
    // table could not be written.
    long salvage_from(const fs::path& damaged);

    // In-memory orders, rebuilt whenever the table changed. `key` gives the order's key of the
    // current record; `filter` (optional) keeps only matching records. Returns the order number.
    int add_order(std::string name, KeyFn key, FilterFn filter = {});
    void set_order(int order);  // 0: record order
    int order() const;
    // Names of the orders added, in the order of their numbers (1, 2, ...), for the error log.
    std::vector<std::string> order_names() const;
    // Exact match on the active order's key; a miss leaves the table at its end.
    bool seek(std::string_view key);

    // The raw bytes of the current record (deletion flag first), for tests and the error log.
    std::string raw_record() const;

    // Whether the record map `owner` was already checked against this table's layout since it
    // was opened (so a map's faults are reported once per open); marks it checked.
    bool first_check(const void* owner);

  private:
    bool open_impl(const fs::path& file, std::string alias, bool check_maps);
    struct Impl;
    std::unique_ptr<Impl> d_;
    friend std::vector<Table*> open_tables();
};

// The tables open now, in the order they were opened (for closing all of them and for the error log).
std::vector<Table*> open_tables();
// Closes every open table (flushing each).
void close_all_tables();

// Opens the table file `file_name` of `dir` exclusively under `alias`, creating it with `layout`
// (under that spelling) when no file of that name exists in any letter case.
bool open_or_create(Table& table, const fs::path& dir, std::string_view file_name, const Layout& layout,
                    std::string alias);

// Stores of saved plans: positions the table on the first record (in record order, whatever order
// is active) whose `field` equals `name` without regard to case and surrounding blanks; a miss
// leaves the table at its end.
bool seek_name(Table& table, std::string_view field, std::string_view name);

// The table layer's "network error" flag: set when an open was refused quietly.
bool& net_error_flag();

// Tables opened under this file name (without regard to case, e.g. "HYPOBANK.DBF") are durable.
void mark_durable(std::string_view file_name);

// What start-up finds in a table file before it is used.
enum class Damage {
    None,    // a table whose records are all there (bytes behind them are cut at the next open)
    Busy,    // another holder has it open: not looked at
    Empty,   // 0 bytes
    Header,  // the header cannot be read
    Cut,     // fewer bytes than the header's records need: the last record is cut off
};
struct Examination {
    Damage damage = Damage::None;
    std::string reason;      // German, names the file, e.g. "Der Tabellenkopf von X.DBF ist beschädigt."
    long whole_records = 0;  // records that can be read in whole (Cut and None)
    long declared = 0;       // the header's record count (when the header can be read)
};
Examination examine(const fs::path& file);

// The German description of a damaged table, for faults and the start-up message.
std::string damage_reason(Damage damage, const std::string& file_name, long declared = 0, long whole = 0);

// One field a record map binds, with the field type its member needs ('C', 'N' or 'D').
struct MappedField {
    std::string name;
    char type = 'C';
};
// Checks the fields of a record map against an open table: every field the layout lacks and
// every field of another type is reported as a fault (the default skips that field). Returns
// whether all fields fit.
bool check_fields(const Table& table, const std::vector<MappedField>& fields);
// Record maps register their fields under a table's name ("HYPOTHEK"), so that every open of a
// file of that name (HYPOTHEK.DBF, any case) checks them before anything is read or written.
void register_fields(const void* owner, std::string table, const std::vector<MappedField>* fields);
void unregister_fields(const void* owner);

// Test seam: called before every system call by which the table layer changes a file or the
// directory (`step` is "create", "write", "sync", "truncate", "rename" or "remove"). A seam that
// throws stops the layer right there, as a power cut would. Returns the previous seam.
using WriteSeam = std::function<void(std::string_view step)>;
WriteSeam set_write_seam(WriteSeam seam);

}  // namespace vestral::core::dbf
