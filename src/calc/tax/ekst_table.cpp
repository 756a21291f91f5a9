// The table side of the income-tax projection, kept apart from the computation so that the
// computation and its tests need no table files.
#include "calc/tax/ekst.h"

#include "core/opstack.h"
#include "core/record_map.h"

namespace vestral::calc {

namespace {
const core::dbf::RecordMap<EkstRow> kEksttempMap{"EKSTTEMP",
                                                 {
                                                     core::dbf::number("JAHR", &EkstRow::JAHR),
                                                     core::dbf::number("EINKOMM", &EkstRow::EINKOMM),
                                                     core::dbf::number("EKSTEIG", &EkstRow::EKSTEIG),
                                                     core::dbf::number("EINKST", &EkstRow::EINKST),
                                                     core::dbf::number("SOLIZU", &EkstRow::SOLIZU),
                                                     core::dbf::number("BELAST", &EkstRow::BELAST),
                                                 }};
}  // namespace

const core::dbf::RecordMap<EkstRow>& eksttemp_map() {
    return kEksttempMap;
}

void write_ekst_rows(core::dbf::Table& table, const std::vector<EkstRow>& rows) {
    VESTRAL_OP("EKSTMAKE");
    kEksttempMap.write_rows(table, rows);
}

}  // namespace vestral::calc
