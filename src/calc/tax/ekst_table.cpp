// The table side of the income-tax projection, kept apart from the computation so that the
// computation and its tests need no table files.
#include "calc/tax/ekst.h"

#include "core/opstack.h"

namespace vestral::calc {

void write_ekst_rows(core::dbf::Table& table, const std::vector<EkstRow>& rows) {
    VESTRAL_OP("EKSTMAKE");
    table.zap();
    for (const EkstRow& row : rows) {
        table.append_blank();
        table.set_num("JAHR", row.JAHR);
        table.set_num("EINKOMM", row.EINKOMM);
        table.set_num("EKSTEIG", row.EKSTEIG);
        table.set_num("EINKST", row.EINKST);
        table.set_num("SOLIZU", row.SOLIZU);
        table.set_num("BELAST", row.BELAST);
    }
    table.flush();
}

}  // namespace vestral::calc
