// The split financing's stored forms: the plan table HYPSPAR through its record map, and the
// saved plans HYSPBANK, addressed by field name so the widened layout reads the same way.
#include <cstdio>

#include "calc/loans/hypspar.h"
#include "core/dbf.h"
#include "core/files.h"
#include "core/mask.h"
#include "core/opstack.h"
#include "core/record_map.h"

namespace vestral::calc {

namespace {

bool saving(const HsRow& r) {
    return r.KEY1 != 0;
}
bool mortgage(const HsRow& r) {
    return r.KEY2 != 0;
}
bool mortgage_month(const HsRow& r) {
    return r.KEY2 == 5;
}

namespace dbf = core::dbf;
const dbf::RecordMap<HsRow> kHypsparMap{"HYPSPAR",
                                        {
                                            dbf::date("DATUM", &HsRow::DATUM),
                                            dbf::text("SPARNAME", &HsRow::SPARNAME, saving),
                                            dbf::number("KEY1", &HsRow::KEY1, saving),
                                            dbf::number("TILGSUMM", &HsRow::TILGSUMM, saving),
                                            dbf::date("SPARDAT", &HsRow::SPARDAT, saving),
                                            dbf::number("SPARSUMM", &HsRow::SPARSUMM, saving),
                                            dbf::number("SPARZINS", &HsRow::SPARZINS, saving),
                                            dbf::number("SPARZSUM", &HsRow::SPARZSUM, saving),
                                            dbf::number("SPARRATE", &HsRow::SPARRATE, saving),
                                            dbf::number("SGEBUEHR", &HsRow::SGEBUEHR, saving),
                                            dbf::number("SGEBUSUM", &HsRow::SGEBUSUM, saving),
                                            dbf::number("SGEBAUSZU", &HsRow::SGEBAUSZU, saving),
                                            dbf::number("SGEBAUSDM", &HsRow::SGEBAUSDM, saving),
                                            dbf::number("SPARKONTO", &HsRow::SPARKONTO, saving),
                                            dbf::text("TILGNAME", &HsRow::TILGNAME, mortgage),
                                            dbf::number("KEY2", &HsRow::KEY2, mortgage),
                                            dbf::date("TILGDAT", &HsRow::TILGDAT, mortgage),
                                            dbf::number("ABJAHR", &HsRow::ABJAHR, mortgage),
                                            dbf::number("ABMONAT", &HsRow::ABMONAT, mortgage),
                                            dbf::number("HYPOTHEK", &HsRow::HYPOTHEK, mortgage),
                                            dbf::number("ZINSEN", &HsRow::ZINSEN, mortgage_month),
                                            dbf::number("ZINSSUM", &HsRow::ZINSSUM, mortgage),
                                            dbf::number("ANUITAT", &HsRow::ANUITAT, mortgage),
                                            dbf::number("TGEBUEHR", &HsRow::TGEBUEHR, mortgage),
                                            dbf::number("TGEBUSUM", &HsRow::TGEBUSUM, mortgage),
                                            dbf::number("GEZAHLT", &HsRow::GEZAHLT, mortgage),
                                            dbf::number("RESTZINS", &HsRow::RESTZINS),
                                        }};

std::string date_key(const core::Date& d) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%04d%02d%02d", d.year, d.month, d.day);
    return buf;
}

}  // namespace

int hypspar_orders(core::dbf::Table& table) {
    // Every order runs in date order; the last one puts a savings month before a year end of the
    // same date.
    auto by_date = [](const dbf::Table& t) { return date_key(t.date("DATUM")); };
    auto key_is = [](const char* field, int v) {
        return [field, v](const dbf::Table& t) { return static_cast<int>(t.num(field)) == v; };
    };
    const int first = table.add_order("HYPSPAR.NT1", by_date, key_is("KEY1", 1));
    table.add_order("HYPSPAR.NT2", by_date, key_is("KEY1", 2));
    table.add_order("HYPSPAR.NT5", by_date, key_is("KEY2", 5));
    table.add_order("HYPSPAR.NT6", by_date, key_is("KEY2", 6));
    table.add_order("HYPSPAR.NT9", [](const dbf::Table& t) {
        return date_key(t.date("DATUM")) + std::to_string(static_cast<int>(t.num("KEY1")) % 10);
    });
    return first;
}

void write_hypspar_rows(core::dbf::Table& table, const std::vector<HsRow>& rows) {
    kHypsparMap.write_rows(table, rows);
}

std::vector<HsRow> read_hypspar_rows(core::dbf::Table& table) {
    return kHypsparMap.read_rows(table);
}

std::string hyspbank_key(std::string_view sparname, std::string_view tilgname) {
    return core::pad_utf8(core::to_upper_name(core::trim(sparname)), 40) +
           core::pad_utf8(core::to_upper_name(core::trim(tilgname)), 40);
}

void hyspbank_index(core::dbf::Table& table) {
    table.set_order(table.add_order("HYSPNAME", [](const dbf::Table& t) {
        return hyspbank_key(t.trimmed(hyspbank_fields::SPARNAME), t.trimmed(hyspbank_fields::TILGNAME));
    }));
}

bool hyspbank_seek(core::dbf::Table& table, std::string_view sparname, std::string_view tilgname) {
    namespace f = hyspbank_fields;
    const std::string wanted = hyspbank_key(sparname, tilgname);
    const int order = table.order();
    table.set_order(0);
    long found = 0;
    for (table.go_top(); !table.eof(); table.skip()) {
        if (hyspbank_key(table.trimmed(f::SPARNAME), table.trimmed(f::TILGNAME)) == wanted) {
            found = table.recno();
            break;
        }
    }
    table.set_order(order);
    if (found == 0) {
        table.go_bottom();
        if (!table.eof()) table.skip();
        return false;
    }
    table.go_to(found);
    return true;
}

void hyspbank_save(core::dbf::Table& table, const HsInputs& in, const HsResults& res) {
    VESTRAL_OP("HS_WDATA");
    namespace f = hyspbank_fields;
    if (!hyspbank_seek(table, in.CSPARNAME, in.CTILGNAME)) table.append_blank();
    table.set_str(f::SPARNAME, core::pad_utf8(core::trim(in.CSPARNAME), 40));
    table.set_num(f::TILGSUMM, in.NTILGSUMM);
    table.set_num(f::ABJAHR, in.NABJAHR);
    table.set_num(f::SPZINS, in.NSPZINS);
    table.set_num(f::SPLZEIT, in.NSPLZEIT);
    table.set_num(f::SPMRATE, in.NSPMRATE);
    table.set_num(f::SPKTOGEB, in.NSPKTOGEB);
    table.set_num(f::SPAUSZU, in.NSPAUSZU);
    table.set_num(f::SPAUSDM, in.NSPAUSDM);
    table.set_str(f::TILGNAME, core::pad_utf8(core::trim(in.CTILGNAME), 40));
    table.set_num(f::HYPOTHEK, in.NHYPOTHEK);
    table.set_num(f::HYPZSATZ, in.NHYPZSATZ);
    table.set_num(f::HYPZFEST, in.NHYPZFEST);
    table.set_num(f::HYPZNACH, in.NHYPZNACH);
    table.set_num(f::TIKTOGEB, in.NTIKTOGEB);
    table.set_num(f::KREDITPR, in.NKREDITPR);
    table.set_num(f::KREDITDM, in.NKREDITDM);
    table.set_num(f::ZINSSUM, res.NZINSSUM);
    table.set_num(f::TILGSUM, 0);
    table.set_num(f::TILGZEIT, 0);
    table.set_num(f::GEBUSUM, res.NGEBUSUM);
    table.set_num(f::ANNUITAT, res.NANNUITAT);
    table.set_num(f::EFFZINS, res.NEFFZINS);
    table.flush();
}

HsInputs hyspbank_load(const core::dbf::Table& table, int current_year) {
    VESTRAL_OP("HS_GDATA");
    namespace f = hyspbank_fields;
    HsInputs in;
    in.CSPARNAME = table.trimmed(f::SPARNAME);
    in.NTILGSUMM = table.num(f::TILGSUMM);
    in.NABJAHR = static_cast<int>(table.num(f::ABJAHR));
    if (in.NABJAHR == 0) in.NABJAHR = current_year;
    in.NSPZINS = table.num(f::SPZINS);
    in.NSPLZEIT = static_cast<int>(table.num(f::SPLZEIT));
    in.NSPMRATE = table.num(f::SPMRATE);
    in.NSPKTOGEB = table.num(f::SPKTOGEB);
    in.NSPAUSZU = table.num(f::SPAUSZU);
    in.NSPAUSDM = table.num(f::SPAUSDM);
    in.CTILGNAME = table.trimmed(f::TILGNAME);
    in.NHYPOTHEK = table.num(f::HYPOTHEK);
    in.NHYPZSATZ = table.num(f::HYPZSATZ);
    in.NHYPZFEST = static_cast<int>(table.num(f::HYPZFEST));
    in.NHYPZNACH = table.num(f::HYPZNACH);
    in.NTIKTOGEB = table.num(f::TIKTOGEB);
    in.NKREDITPR = table.num(f::KREDITPR);
    in.NKREDITDM = table.num(f::KREDITDM);
    return in;
}

}  // namespace vestral::calc
