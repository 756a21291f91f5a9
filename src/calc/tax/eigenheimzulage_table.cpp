// The table side of the home-ownership allowance, kept apart from the computation so that the
// computation and its tests need no table files.
#include "calc/tax/eigenheimzulage.h"

#include "core/catalogue.h"
#include "core/opstack.h"
#include "core/record_map.h"

namespace vestral::calc {

const core::dbf::Layout& abschepl_layout() {
    return core::catalogue_layout("ABSCHEPL");
}

namespace {
const core::dbf::RecordMap<AbschRow> kAbscheplMap{"ABSCHEPL",
                                                  {
                                                      core::dbf::number("JAHR", &AbschRow::JAHR),
                                                      core::dbf::number("EINKOMM", &AbschRow::EINKOMM),
                                                      core::dbf::number("EINKSTEIG", &AbschRow::EINKSTEIG),
                                                      core::dbf::number("ABSCHJAHR", &AbschRow::ABSCHJAHR),
                                                      core::dbf::number("KINDJAHR", &AbschRow::KINDJAHR),
                                                      core::dbf::number("STEUERERL", &AbschRow::STEUERERL),
                                                  }};
}  // namespace

const core::dbf::RecordMap<AbschRow>& abschepl_map() {
    return kAbscheplMap;
}

void write_abschepl_rows(core::dbf::Table& table, const std::vector<AbschRow>& rows) {
    VESTRAL_OP("WRITEDBF");
    kAbscheplMap.write_rows(table, rows);
}

}  // namespace vestral::calc
