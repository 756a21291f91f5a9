// The mortgage plan's stored forms: the plan table HYPOTHEK and the saved plans HYPOBANK. Fields
// are addressed by name only, so a widened HYPOBANK layout reads and writes the same way.
#include "calc/loans/hypotilg.h"
#include "core/dbf.h"
#include "core/files.h"
#include "core/mask.h"
#include "core/opstack.h"
#include "core/record_map.h"

namespace vestral::calc {

namespace {
namespace f = hypothek_fields;
// Month rows carry their month and the month's figures; year-end rows carry the year's instalments.
bool month_row(const HypoRow& r) {
    return r.KEY == 1;
}
bool year_row(const HypoRow& r) {
    return r.KEY != 1;
}
const core::dbf::RecordMap<HypoRow> kHypothekMap{
    "HYPOTHEK",
    {
        core::dbf::text(f::BANKNAME, &HypoRow::BANKNAME),
        core::dbf::number(f::KEY, &HypoRow::KEY),
        core::dbf::date(f::DATUM, &HypoRow::DATUM),
        core::dbf::number(f::ABJAHR, &HypoRow::ABJAHR, month_row),
        core::dbf::number(f::ABMONAT, &HypoRow::ABMONAT, month_row),
        core::dbf::number(f::ZINSEN, &HypoRow::ZINSEN, month_row),
        core::dbf::number(f::TILGUNG, &HypoRow::TILGUNG, month_row),
        core::dbf::number(f::MONRATE, &HypoRow::MONRATE, month_row),
        core::dbf::number(f::MONRSUM, &HypoRow::MONRSUM, year_row),
        core::dbf::number(f::HYPOTHEK, &HypoRow::HYPOTHEK),
        core::dbf::number(f::ZINSSUM, &HypoRow::ZINSSUM),
        core::dbf::number(f::TILGSUM, &HypoRow::TILGSUM),
        core::dbf::number(f::ANUITAT, &HypoRow::ANUITAT),
        core::dbf::number(f::EINMALDM, &HypoRow::EINMALDM),
        core::dbf::number(f::EINMSUM, &HypoRow::EINMSUM),
        core::dbf::number(f::GEBUEHR, &HypoRow::GEBUEHR),
        core::dbf::number(f::GEBUSUM, &HypoRow::GEBUSUM),
        core::dbf::number(f::RESTHYP, &HypoRow::RESTHYP),
        core::dbf::number(f::GEZAHLT, &HypoRow::GEZAHLT),
        core::dbf::number(f::RESTZINS, &HypoRow::RESTZINS),
    }};
}  // namespace

const core::dbf::RecordMap<HypoRow>& hypothek_map() {
    return kHypothekMap;
}

void write_hypothek_rows(core::dbf::Table& table, const std::vector<HypoRow>& rows) {
    kHypothekMap.write_rows(table, rows);
}

bool hypobank_seek(core::dbf::Table& table, std::string_view name) {
    return core::dbf::seek_name(table, hypobank_fields::BANKNAME, name);
}

void hypobank_save(core::dbf::Table& table, const HypoInputs& in, const HypoResults& res) {
    VESTRAL_OP("HT_WDATA");
    namespace f = hypobank_fields;
    if (!hypobank_seek(table, in.CBANKNAME)) table.append_blank();
    table.set_str(f::BANKNAME, core::pad_utf8(in.CBANKNAME, 40));
    table.set_num(f::HYPOTHEK, in.NHYPOTHEK);
    table.set_num(f::ZINSSATZ, in.NZINSSATZ);
    table.set_num(f::TILGJAHR, in.NTILGANNO);
    table.set_date(f::ABDATUM, in.DABDATUM);
    table.set_num(f::KONTOGEB, in.NKONTOGEB);
    table.set_num(f::KREDITPR, in.NKREDITPR);
    table.set_num(f::KREDITDM, in.NKREDITDM);
    table.set_num(f::LAUFZEIT, in.NLAUFZEIT);
    table.set_num(f::ZINSNACH, in.NZINSNACH);
    table.set_num(f::EINMALDM, in.NEINMALDM);
    table.set_num(f::EINMALMO, in.NEINMALMO);
    table.set_num(f::ZINSSUM, res.NZINSSUM);
    table.set_num(f::TILGSUM, res.NTILGSUM);
    table.set_num(f::TILGZEIT, res.NTILGZEIT);
    table.set_num(f::GEBUSUM, res.NGEBUSUM);
    table.set_num(f::EINMSUM, res.NEINMSUM);
    table.set_num(f::ANNUITAT, res.NANNUITAT);
    table.set_num(f::ANNUITA2, res.NANNUITA2);
    table.set_num(f::EFFZINS, res.NEFFZINS);
    if (res.NJAHRESZINS)
        table.set_num(f::JAHRESZINS, *res.NJAHRESZINS);
    else
        table.set_blank(f::JAHRESZINS);
    table.flush();
}

HypoInputs hypobank_load(const core::dbf::Table& table) {
    VESTRAL_OP("HT_GDATA");
    namespace f = hypobank_fields;
    HypoInputs in;
    // At the end of the table every read gives an empty value: the inputs of an empty record.
    in.CBANKNAME = table.str(f::BANKNAME);
    in.NHYPOTHEK = table.num(f::HYPOTHEK);
    in.NZINSSATZ = table.num(f::ZINSSATZ);
    in.NTILGANNO = table.num(f::TILGJAHR);
    in.DABDATUM = table.date(f::ABDATUM);
    in.NLAUFZEIT = static_cast<int>(table.num(f::LAUFZEIT));
    in.NKONTOGEB = table.num(f::KONTOGEB);
    in.NKREDITPR = table.num(f::KREDITPR);
    in.NKREDITDM = table.num(f::KREDITDM);
    in.NZINSNACH = table.num(f::ZINSNACH);
    in.NEINMALDM = table.num(f::EINMALDM);
    in.NEINMALMO = static_cast<int>(table.num(f::EINMALMO));
    if (in.DABDATUM.empty()) in.DABDATUM = core::today();
    // Records migrated from older layouts can hold a month of 0 (or nonsense); the month list
    // knows only 1..12.
    if (in.NEINMALMO < 1 || in.NEINMALMO > 12) in.NEINMALMO = 1;
    return in;
}

HypoResults hypobank_results(const core::dbf::Table& table) {
    namespace f = hypobank_fields;
    HypoResults res;
    res.NZINSSUM = table.num(f::ZINSSUM);
    res.NTILGSUM = table.num(f::TILGSUM);
    res.NTILGZEIT = table.num(f::TILGZEIT);
    res.NGEBUSUM = table.num(f::GEBUSUM);
    res.NEINMSUM = table.num(f::EINMSUM);
    res.NANNUITAT = table.num(f::ANNUITAT);
    res.NANNUITA2 = table.num(f::ANNUITA2);
    res.NEFFZINS = table.num(f::EFFZINS);
    if (!table.blank(f::JAHRESZINS)) res.NJAHRESZINS = table.num(f::JAHRESZINS);
    return res;
}

}  // namespace vestral::calc
