// The mortgage plan's stored forms: the plan table HYPOTHEK and the saved plans HYPOBANK. Fields
// are addressed by name only, so a widened HYPOBANK layout reads and writes the same way.
#include "calc/loans/hypotilg.h"
#include "core/dbf.h"
#include "core/files.h"
#include "core/mask.h"
#include "core/opstack.h"

namespace vestral::calc {

void write_hypothek_rows(core::dbf::Table& table, const std::vector<HypoRow>& rows) {
    namespace f = hypothek_fields;
    table.zap();
    for (const HypoRow& row : rows) {
        table.append_blank();
        table.set_str(f::BANKNAME, row.BANKNAME);
        table.set_num(f::KEY, row.KEY);
        table.set_date(f::DATUM, row.DATUM);
        if (row.KEY == 1) {
            table.set_num(f::ABJAHR, row.ABJAHR);
            table.set_num(f::ABMONAT, row.ABMONAT);
            table.set_num(f::ZINSEN, row.ZINSEN);
            table.set_num(f::TILGUNG, row.TILGUNG);
            table.set_num(f::MONRATE, row.MONRATE);
        } else {
            table.set_num(f::MONRSUM, row.MONRSUM);
        }
        table.set_num(f::HYPOTHEK, row.HYPOTHEK);
        table.set_num(f::ZINSSUM, row.ZINSSUM);
        table.set_num(f::TILGSUM, row.TILGSUM);
        table.set_num(f::ANUITAT, row.ANUITAT);
        table.set_num(f::EINMALDM, row.EINMALDM);
        table.set_num(f::EINMSUM, row.EINMSUM);
        table.set_num(f::GEBUEHR, row.GEBUEHR);
        table.set_num(f::GEBUSUM, row.GEBUSUM);
        table.set_num(f::RESTHYP, row.RESTHYP);
        table.set_num(f::GEZAHLT, row.GEZAHLT);
        table.set_num(f::RESTZINS, row.RESTZINS);
    }
    table.flush();
    table.go_top();
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
    return res;
}

}  // namespace vestral::calc
