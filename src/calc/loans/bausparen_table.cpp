// The account plan BAUSPAR and the saved-contracts store BSPBANK. Fields are addressed by name
// only, so the store's layout can widen without touching this code.
#include "calc/loans/bausparen.h"

#include "core/dbf.h"
#include "core/files.h"
#include "core/opstack.h"

namespace vestral::calc {

bool write_bauspar_rows(core::dbf::Table& table, const std::vector<BausparRow>& rows) {
    table.zap();
    for (const BausparRow& row : rows) {
        table.append_blank();
        table.set_str("BANKNAME", row.BANKNAME);
        table.set_num("KEY", row.KEY);
        table.set_num("CODE", row.CODE);
        table.set_str("AKTION", row.AKTION);
        table.set_num("JAHR", row.JAHR);
        table.set_date("DATUM", row.DATUM);
        table.set_num("EINZAHLUNG", row.EINZAHLUNG);
        table.set_num("GEBUEHR", row.GEBUEHR);
        table.set_num("ZINSEN", row.ZINSEN);
        table.set_num("ZINSSUM", row.ZINSSUM);
        table.set_num("SPAREN", row.SPAREN);
        table.set_num("SPARSUM", row.SPARSUM);
        table.set_num("TILGUNG", row.TILGUNG);
        table.set_num("TILGSUM", row.TILGSUM);
        table.set_num("ANUITAT", row.ANUITAT);
        table.set_num("GUTHABEN", row.GUTHABEN);
        table.set_num("KREDIT", row.KREDIT);
        table.set_num("KTOSTAND", row.KTOSTAND);
    }
    const bool ok = table.flush();
    table.go_top();
    return ok;
}

std::vector<BausparRow> read_bauspar_rows(core::dbf::Table& table) {
    std::vector<BausparRow> rows;
    for (table.go_top(); !table.eof(); table.skip()) {
        BausparRow row;
        row.BANKNAME = table.trimmed("BANKNAME");
        row.KEY = static_cast<int>(table.num("KEY"));
        row.CODE = static_cast<int>(table.num("CODE"));
        row.AKTION = table.trimmed("AKTION");
        row.JAHR = static_cast<int>(table.num("JAHR"));
        row.DATUM = table.date("DATUM");
        row.EINZAHLUNG = table.num("EINZAHLUNG");
        row.GEBUEHR = table.num("GEBUEHR");
        row.ZINSEN = table.num("ZINSEN");
        row.ZINSSUM = table.num("ZINSSUM");
        row.SPAREN = table.num("SPAREN");
        row.SPARSUM = table.num("SPARSUM");
        row.TILGUNG = table.num("TILGUNG");
        row.TILGSUM = table.num("TILGSUM");
        row.ANUITAT = table.num("ANUITAT");
        row.GUTHABEN = table.num("GUTHABEN");
        row.KREDIT = table.num("KREDIT");
        row.KTOSTAND = table.num("KTOSTAND");
        rows.push_back(std::move(row));
    }
    table.go_top();
    return rows;
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
