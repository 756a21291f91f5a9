// The account plan BAUSPAR and the saved-contracts store BSPBANK. Fields are addressed by name
// only, so the store's layout can widen without touching this code.
#include "calc/loans/bausparen.h"

#include "core/dbf.h"
#include "core/files.h"
#include "core/opstack.h"
#include "core/record_map.h"

namespace vestral::calc {

namespace {
const core::dbf::RecordMap<BausparRow> kBausparMap{
    "BAUSPAR",
    {
        core::dbf::text("BANKNAME", &BausparRow::BANKNAME),
        core::dbf::number("KEY", &BausparRow::KEY),
        core::dbf::number("CODE", &BausparRow::CODE),
        core::dbf::text("AKTION", &BausparRow::AKTION),
        core::dbf::number("JAHR", &BausparRow::JAHR),
        core::dbf::date("DATUM", &BausparRow::DATUM),
        core::dbf::number("EINZAHLUNG", &BausparRow::EINZAHLUNG),
        core::dbf::number("GEBUEHR", &BausparRow::GEBUEHR),
        core::dbf::number("ZINSEN", &BausparRow::ZINSEN),
        core::dbf::number("ZINSSUM", &BausparRow::ZINSSUM),
        core::dbf::number("SPAREN", &BausparRow::SPAREN),
        core::dbf::number("SPARSUM", &BausparRow::SPARSUM),
        core::dbf::number("TILGUNG", &BausparRow::TILGUNG),
        core::dbf::number("TILGSUM", &BausparRow::TILGSUM),
        core::dbf::number("ANUITAT", &BausparRow::ANUITAT),
        core::dbf::number("GUTHABEN", &BausparRow::GUTHABEN),
        core::dbf::number("KREDIT", &BausparRow::KREDIT),
        core::dbf::number("KTOSTAND", &BausparRow::KTOSTAND),
    }};
}  // namespace

const core::dbf::RecordMap<BausparRow>& bauspar_map() {
    return kBausparMap;
}

bool write_bauspar_rows(core::dbf::Table& table, const std::vector<BausparRow>& rows) {
    return kBausparMap.write_rows(table, rows);
}

std::vector<BausparRow> read_bauspar_rows(core::dbf::Table& table) {
    return kBausparMap.read_rows(table);
}

std::string bspbank_record_key(const core::dbf::Table& table) {
    return bspbank_key(table.str("BANKNAME"));
}

bool bspbank_find(core::dbf::Table& table, std::string_view bank_name) {
    return core::dbf::seek_name(table, "BANKNAME", bank_name);
}

BauInputs bspbank_load_current(const core::dbf::Table& table) {
    BauInputs in;
    in.CBANKNAME = table.str("BANKNAME");
    in.NBAUSPSUM = table.num("BSPSUMME");
    in.NABSCHGEB = table.num("ABSCHGEB");
    in.NKONTOGEB = table.num("KONTOGEB");
    in.NABJAHR = table.num("ABJAHR");
    if (in.NABJAHR == 0) in.NABJAHR = core::today().year;
    in.NSPARTEIL = table.num("SPARSATZ");
    if (in.NSPARTEIL == 0) in.NSPARTEIL = 40;
    in.NSZINSSTZ = table.num("SZINSSTZ");
    in.NMONRATE = table.num("SMONRATE");
    in.NTILGANNO = table.num("TILGANNO");
    in.NTZINSSTZ = table.num("TZINSSTZ");
    in.NTFESTZEIT = table.num("TFESTZEIT");
    in.NTZINSNACH = table.num("TZINSNACH");
    return in;
}

BauInputs bspbank_load(core::dbf::Table& table, std::string_view bank_name) {
    VESTRAL_OP("BAU_GDATA");
    bspbank_find(table, bank_name);
    return bspbank_load_current(table);
}

bool bspbank_save(core::dbf::Table& table, const BauInputs& in, const BauResults& res) {
    VESTRAL_OP("BAU_WDATA");
    if (!bspbank_find(table, in.CBANKNAME)) table.append_blank();
    table.set_str("BANKNAME", in.CBANKNAME);
    table.set_num("BSPSUMME", in.NBAUSPSUM);
    table.set_num("ABSCHGEB", in.NABSCHGEB);
    table.set_num("KONTOGEB", in.NKONTOGEB);
    table.set_num("ABJAHR", in.NABJAHR);
    table.set_num("SPARSATZ", in.NSPARTEIL);
    table.set_num("SMONRATE", in.NMONRATE);
    table.set_num("SZINSSTZ", in.NSZINSSTZ);
    table.set_num("TILGANNO", in.NTILGANNO);
    table.set_num("TZINSSTZ", in.NTZINSSTZ);
    table.set_num("TFESTZEIT", in.NTFESTZEIT);
    table.set_num("TZINSNACH", in.NTZINSNACH);
    table.set_num("TMONRATE", res.NMONTILG);
    table.set_num("SPARSUM", res.NSSUMME);
    table.set_num("SPARZEIT", res.NSMONATE);
    table.set_num("SPARZINS", res.NSZINSEN);
    table.set_num("TILGSUM", res.NTSUMME);
    table.set_num("TILGZEIT", res.NTMONATE);
    table.set_num("TILGZINS", res.NZSUMME - res.NTSUMME);
    table.set_num("GEBUSUM", res.NGEBSUM);
    return table.flush();
}

BauResults bspbank_results(const core::dbf::Table& table) {
    BauResults res;
    res.NMONTILG = table.num("TMONRATE");
    res.NSSUMME = table.num("SPARSUM");
    res.NSMONATE = table.num("SPARZEIT");
    res.NSZINSEN = table.num("SPARZINS");
    res.NTSUMME = table.num("TILGSUM");
    res.NTMONATE = table.num("TILGZEIT");
    res.NZSUMME = table.num("TILGZINS") + res.NTSUMME;
    res.NGEBSUM = table.num("GEBUSUM");
    return res;
}

}  // namespace vestral::calc
