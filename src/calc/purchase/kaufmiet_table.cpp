// The year rows of MIETKAUF, written as the computation produced them.
#include "calc/purchase/kaufmiet.h"

#include "core/record_map.h"

namespace vestral::calc {

namespace {
const core::dbf::RecordMap<MietkaufRow> kMietkaufMap{
    "MIETKAUF",
    {
        core::dbf::number("JAHR", &MietkaufRow::JAHR),
        core::dbf::number("MIETEGE", &MietkaufRow::MIETEGE),
        core::dbf::number("MIETEJA", &MietkaufRow::MIETEJA),
        core::dbf::number("MIETEMO", &MietkaufRow::MIETEMO),
        core::dbf::number("HYPOTHEK", &MietkaufRow::HYPOTHEK),
        core::dbf::number("TILGSUM", &MietkaufRow::TILGSUM),
        core::dbf::number("ANNUITJA", &MietkaufRow::ANNUITJA),
        core::dbf::number("ANNUITAT", &MietkaufRow::ANNUITAT),
        core::dbf::number("ZINSEN", &MietkaufRow::ZINSEN),
    }};
}  // namespace

const core::dbf::RecordMap<MietkaufRow>& mietkauf_map() {
    return kMietkaufMap;
}

bool write_mietkauf_rows(core::dbf::Table& table, const std::vector<MietkaufRow>& rows) {
    return kMietkaufMap.write_rows(table, rows);
}

}  // namespace vestral::calc
