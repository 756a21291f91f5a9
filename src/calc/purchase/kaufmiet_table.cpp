// The year rows of MIETKAUF, written as the computation produced them.
#include "calc/purchase/kaufmiet.h"

namespace vestral::calc {

bool write_mietkauf_rows(core::dbf::Table& table, const std::vector<MietkaufRow>& rows) {
    table.zap();
    for (const MietkaufRow& row : rows) {
        table.append_blank();
        table.set_num("JAHR", row.JAHR);
        table.set_num("MIETEGE", row.MIETEGE);
        table.set_num("MIETEJA", row.MIETEJA);
        table.set_num("MIETEMO", row.MIETEMO);
        table.set_num("HYPOTHEK", row.HYPOTHEK);
        table.set_num("TILGSUM", row.TILGSUM);
        table.set_num("ANNUITJA", row.ANNUITJA);
        table.set_num("ANNUITAT", row.ANNUITAT);
        table.set_num("ZINSEN", row.ZINSEN);
    }
    const bool ok = table.flush();
    table.go_top();
    return ok;
}

}  // namespace vestral::calc
