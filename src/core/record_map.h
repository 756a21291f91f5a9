// Record maps: a row struct bound to a table layout once, by field name and kind, so the rows of
// a work table are written and read by one declaration instead of a pair of hand-written loops.
// A map names its table; every open of a file of that name checks the map against the layout
// (any other table is checked on first use), and a misspelled field or a member of the wrong kind
// is reported through report_fault, never skipped in silence.
#pragma once

#include <initializer_list>
#include <string>
#include <variant>
#include <vector>

#include "core/clock.h"
#include "core/dbf.h"

namespace vestral::core::dbf {

// One field of a map: the table field, the row member, and optionally a test that decides
// per row whether the field is written (otherwise it stays blank).
template <class Row>
struct Mapping {
    using When = bool (*)(const Row&);
    using Member = std::variant<std::string Row::*, double Row::*, int Row::*, Date Row::*>;
    std::string field;
    Member member;
    When when = nullptr;

    // The field type the member needs.
    char type() const {
        switch (member.index()) {
            case 0:
                return 'C';
            case 3:
                return 'D';
            default:
                return 'N';
        }
    }
};

template <class Row>
Mapping<Row> text(std::string field, std::string Row::*m, typename Mapping<Row>::When when = nullptr) {
    return {std::move(field), m, when};
}
template <class Row>
Mapping<Row> number(std::string field, double Row::*m, typename Mapping<Row>::When when = nullptr) {
    return {std::move(field), m, when};
}
template <class Row>
Mapping<Row> number(std::string field, int Row::*m, typename Mapping<Row>::When when = nullptr) {
    return {std::move(field), m, when};
}
template <class Row>
Mapping<Row> date(std::string field, Date Row::*m, typename Mapping<Row>::When when = nullptr) {
    return {std::move(field), m, when};
}

template <class Row>
class RecordMap {
  public:
    // `table` is the table's name without extension ("HYPOTHEK"). A map is registered from its
    // construction to its end; declare maps at namespace scope so they are known before any
    // table opens.
    RecordMap(std::string table, std::initializer_list<Mapping<Row>> mappings)
        : table_(std::move(table)), mappings_(mappings) {
        for (const Mapping<Row>& m : mappings_) fields_.push_back({m.field, m.type()});
        register_fields(this, table_, &fields_);
    }
    ~RecordMap() { unregister_fields(this); }
    RecordMap(const RecordMap&) = delete;
    RecordMap& operator=(const RecordMap&) = delete;

    const std::string& table() const { return table_; }
    const std::vector<MappedField>& fields() const { return fields_; }

    // Checks the map against the table unless that was done since the table opened.
    void bind(Table& t) const {
        if (t.first_check(this)) check_fields(t, fields_);
    }

    // The fields of the current record from a row / into a row.
    void write(Table& t, const Row& row) const {
        for (const Mapping<Row>& m : mappings_) {
            if (m.when && !m.when(row)) continue;
            std::visit(
                [&](auto member) {
                    using V = std::remove_cvref_t<decltype(row.*member)>;
                    if constexpr (std::is_same_v<V, std::string>)
                        t.set_str(m.field, row.*member);
                    else if constexpr (std::is_same_v<V, Date>)
                        t.set_date(m.field, row.*member);
                    else
                        t.set_num(m.field, static_cast<double>(row.*member));
                },
                m.member);
        }
    }
    Row read(const Table& t) const {
        Row row;
        for (const Mapping<Row>& m : mappings_) {
            std::visit(
                [&](auto member) {
                    using V = std::remove_cvref_t<decltype(row.*member)>;
                    if constexpr (std::is_same_v<V, std::string>)
                        row.*member = t.trimmed(m.field);
                    else if constexpr (std::is_same_v<V, Date>)
                        row.*member = t.date(m.field);
                    else
                        row.*member = static_cast<V>(t.num(m.field));
                },
                m.member);
        }
        return row;
    }

    // Empties the table, appends one record per row, flushes it and goes to the top: the file
    // on disk is complete on return. False when the flush failed (its fault was reported).
    bool write_rows(Table& t, const std::vector<Row>& rows) const {
        bind(t);
        t.zap();
        for (const Row& row : rows) {
            t.append_blank();
            write(t, row);
        }
        const bool ok = t.flush();
        t.go_top();
        return ok;
    }

    // Every visible record in the active order, from the top; the table is left at the top.
    std::vector<Row> read_rows(Table& t) const {
        bind(t);
        std::vector<Row> rows;
        for (t.go_top(); !t.eof(); t.skip()) rows.push_back(read(t));
        t.go_top();
        return rows;
    }

  private:
    std::string table_;
    std::vector<Mapping<Row>> mappings_;
    std::vector<MappedField> fields_;
};

}  // namespace vestral::core::dbf
