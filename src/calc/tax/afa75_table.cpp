// The table side of the depreciation for letting, kept apart from the computation so that the
// computation and its tests need no table files.
#include "calc/tax/afa75.h"

#include "core/catalogue.h"
#include "core/record_map.h"

namespace vestral::calc {

namespace {
const core::dbf::RecordMap<Steu75eRow> kSteu75eMap{
    "STEU75E",
    {
        core::dbf::number("JAHR", &Steu75eRow::JAHR),
        core::dbf::number("FREIBETRAG", &Steu75eRow::FREIBETRAG),
        core::dbf::number("STJAHR", &Steu75eRow::STJAHR),
        core::dbf::number("STVORTEIL", &Steu75eRow::STVORTEIL),
    }};
}  // namespace

const core::dbf::Layout& steu75e_layout() {
    return core::catalogue_layout("STEU75E");
}

bool write_steu75e_rows(core::dbf::Table& table, const std::vector<Steu75eRow>& rows) {
    return kSteu75eMap.write_rows(table, rows);
}

std::vector<Steu75eRow> read_steu75e_rows(core::dbf::Table& table) {
    return kSteu75eMap.read_rows(table);
}

}  // namespace vestral::calc
