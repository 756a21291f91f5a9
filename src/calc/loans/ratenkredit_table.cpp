// The instalment credit's stored forms: the plan table RATKRED and the saved credits KREDBANK.
// Fields are addressed by name only, so a widened KREDBANK layout reads and writes the same way.
#include "calc/loans/ratenkredit.h"
#include "core/dbf.h"
#include "core/files.h"
#include "core/mask.h"
#include "core/opstack.h"
#include "core/record_map.h"

namespace vestral::calc {

namespace {
namespace f = ratkred_fields;
const core::dbf::RecordMap<RkRow> kRatkredMap{"RATKRED",
                                              {
                                                  core::dbf::text(f::BANKNAME, &RkRow::BANKNAME),
                                                  core::dbf::number(f::JAHR, &RkRow::JAHR),
                                                  core::dbf::number(f::MONAT, &RkRow::MONAT),
                                                  core::dbf::number(f::KREDIT, &RkRow::KREDIT),
                                                  core::dbf::number(f::ZINSEN, &RkRow::ZINSEN),
                                                  core::dbf::number(f::ZINSSUM, &RkRow::ZINSSUM),
                                                  core::dbf::number(f::TILGUNG, &RkRow::TILGUNG),
                                                  core::dbf::number(f::TILGSUM, &RkRow::TILGSUM),
                                                  core::dbf::number(f::MONRATE, &RkRow::MONRATE),
                                                  core::dbf::number(f::GETILGT, &RkRow::GETILGT),
                                              }};
}  // namespace

const core::dbf::RecordMap<RkRow>& ratkred_map() {
    return kRatkredMap;
}

void write_ratkred_rows(core::dbf::Table& table, const std::vector<RkRow>& rows) {
    kRatkredMap.write_rows(table, rows);
}

std::vector<RkRow> read_ratkred_rows(core::dbf::Table& table) {
    table.set_order(0);
    return kRatkredMap.read_rows(table);
}

bool kredbank_seek(core::dbf::Table& table, std::string_view name) {
    return core::dbf::seek_name(table, kredbank_fields::BANKNAME, name);
}

void kredbank_save(core::dbf::Table& table, const RkInputs& in, const RkResults& res) {
    VESTRAL_OP("RK_WDATA");
    namespace f = kredbank_fields;
    if (!kredbank_seek(table, in.CBANKNAME)) table.append_blank();
    table.set_str(f::BANKNAME, core::pad_utf8(in.CBANKNAME, 40));
    table.set_num(f::KREDIT, in.NKREDIT);
    table.set_num(f::ZINSSATZ, in.NMONZINS);
    table.set_num(f::TILGJAHR, 0);
    table.set_num(f::ABJAHR, 0);
    table.set_num(f::LAUFZEIT, in.NLAUFZEIT);
    table.set_num(f::KREDITPR, in.NBEARBPRO);
    table.set_num(f::KREDITDM, in.NBEARBGEB);
    table.set_num(f::MONRATE, in.NMONRATE);
    table.set_num(f::ZAHLRATE, res.NERSTRATE);
    table.set_num(f::LASTRATE, res.NRESTRATE);
    table.set_num(f::ZINSSUM, res.NZINSSUM);
    table.set_num(f::TILGSUM, res.NTILGSUM);
    table.set_num(f::TILGZEIT, res.NLZSUMME);
    table.set_num(f::EFFZINS, res.NEFFZINS);
    if (res.NJAHRESZINS)
        table.set_num(f::JAHRESZINS, *res.NJAHRESZINS);
    else
        table.set_blank(f::JAHRESZINS);
    table.flush();
}

RkInputs kredbank_load(const core::dbf::Table& table) {
    VESTRAL_OP("RK_GDATA");
    namespace f = kredbank_fields;
    RkInputs in;
    // At the end of the table every read gives an empty value: the inputs of an empty record.
    in.CBANKNAME = table.str(f::BANKNAME);
    in.NKREDIT = table.num(f::KREDIT);
    in.NMONZINS = table.num(f::ZINSSATZ);
    in.NLAUFZEIT = static_cast<int>(table.num(f::LAUFZEIT));
    in.NMONRATE = table.num(f::MONRATE);
    in.NBEARBPRO = table.num(f::KREDITPR);
    in.NBEARBGEB = table.num(f::KREDITDM);
    return in;
}

RkResults kredbank_load_results(const core::dbf::Table& table) {
    namespace f = kredbank_fields;
    RkResults res;
    res.NERSTRATE = table.num(f::ZAHLRATE);
    res.NRESTRATE = table.num(f::LASTRATE);
    res.NZINSSUM = table.num(f::ZINSSUM);
    res.NTILGSUM = table.num(f::TILGSUM);
    res.NLZSUMME = table.num(f::TILGZEIT);
    res.NEFFZINS = table.num(f::EFFZINS);
    if (!table.blank(f::JAHRESZINS)) res.NJAHRESZINS = table.num(f::JAHRESZINS);
    return res;
}

}  // namespace vestral::calc
