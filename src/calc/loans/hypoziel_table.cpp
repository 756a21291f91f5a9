// HYPOTEMP, the target value's plan table, through its record map.
#include "calc/loans/hypoziel.h"
#include "core/dbf.h"
#include "core/opstack.h"
#include "core/record_map.h"

namespace vestral::calc {

namespace {
const core::dbf::RecordMap<HzRow> kHypotempMap{"HYPOTEMP",
                                               {
                                                   core::dbf::date("DATUM", &HzRow::DATUM),
                                                   core::dbf::number("HYPOTHEK", &HzRow::HYPOTHEK),
                                                   core::dbf::number("ZINSEN", &HzRow::ZINSEN),
                                                   core::dbf::number("ZINSSUM", &HzRow::ZINSSUM),
                                                   core::dbf::number("TILGUNG", &HzRow::TILGUNG),
                                                   core::dbf::number("TILGSUM", &HzRow::TILGSUM),
                                                   core::dbf::number("ANUITAT", &HzRow::ANUITAT),
                                                   core::dbf::number("MONRATE", &HzRow::MONRATE),
                                                   core::dbf::number("RESTHYP", &HzRow::RESTHYP),
                                               }};
}  // namespace

void write_hypotemp_rows(core::dbf::Table& table, const std::vector<HzRow>& rows) {
    kHypotempMap.write_rows(table, rows);
}

std::vector<HzRow> read_hypotemp_rows(core::dbf::Table& table) {
    table.set_order(0);
    return kHypotempMap.read_rows(table);
}

void hz_kuerzen(core::dbf::Table& table) {
    VESTRAL_OP("KUERZEN");
    table.set_order(0);
    long position = 0;
    for (table.go_top(); !table.eof(); table.skip(), ++position)
        if (!hz_kept_when_compressed(position, table.date("DATUM"))) table.delete_record();
    table.pack();
    table.go_top();
}

}  // namespace vestral::calc
