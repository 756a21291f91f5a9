// The table side of the home-ownership allowance, kept apart from the computation so that the
// computation and its tests need no table files.
#include "calc/tax/eigenheimzulage.h"

#include "core/catalogue.h"
#include "core/opstack.h"

namespace vestral::calc {

const core::dbf::Layout& abschepl_layout() {
    return core::catalogue_layout("ABSCHEPL");
}

void write_abschepl_rows(core::dbf::Table& table, const std::vector<AbschRow>& rows) {
    VESTRAL_OP("WRITEDBF");
    table.zap();
    for (const AbschRow& row : rows) {
        table.append_blank();
        table.set_num("JAHR", row.JAHR);
        table.set_num("EINKOMM", row.EINKOMM);
        table.set_num("EINKSTEIG", row.EINKSTEIG);
        table.set_num("ABSCHJAHR", row.ABSCHJAHR);
        table.set_num("KINDJAHR", row.KINDJAHR);
        table.set_num("STEUERERL", row.STEUERERL);
    }
    table.flush();
}

}  // namespace vestral::calc
