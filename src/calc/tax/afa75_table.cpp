// The table side of the depreciation for letting, kept apart from the computation so that the
// computation and its tests need no table files.
#include "calc/tax/afa75.h"

#include "core/catalogue.h"
#include "core/opstack.h"

namespace vestral::calc {

const core::dbf::Layout& steu75e_layout() {
    return core::catalogue_layout("STEU75E");
}

bool write_steu75e_rows(core::dbf::Table& table, const std::vector<Steu75eRow>& rows) {
    table.zap();
    for (const Steu75eRow& row : rows) {
        table.append_blank();
        table.set_num("JAHR", row.JAHR);
        table.set_num("FREIBETRAG", row.FREIBETRAG);
        table.set_num("STJAHR", row.STJAHR);
        table.set_num("STVORTEIL", row.STVORTEIL);
    }
    const bool ok = table.flush();
    table.go_top();
    return ok;
}

std::vector<Steu75eRow> read_steu75e_rows(core::dbf::Table& table) {
    std::vector<Steu75eRow> rows;
    for (table.go_top(); !table.eof(); table.skip())
        rows.push_back({static_cast<int>(table.num("JAHR")), table.num("FREIBETRAG"),
                        static_cast<int>(table.num("STJAHR")), table.num("STVORTEIL")});
    table.go_top();
    return rows;
}

}  // namespace vestral::calc
