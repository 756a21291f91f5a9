#include "calc/consumption/verbrauch.h"

#include <cmath>
#include <cstdio>

#include "core/dbf.h"
#include "core/numbers.h"
#include "core/opstack.h"
#include "core/record_map.h"

namespace vestral::calc {

namespace {

// Water and waste water word their hints and the missing-price message for m³.
const VerbrKindInfo kKinds[] = {
    {VerbrKind::Strom,
     "stromDialog",
     "Stromverbrauch berechnen",
     380,
     true,
     true,
     true,
     false,
     900000.0,
     "Stromlieferant",
     "Name des Stromlieferanten",
     "monatl. Pauschale",
     "Preis pro kW/h",
     "Strompreis pro kW/h",
     "Bitte geben Sie den Preis pro kW/h ein!",
     "",
     "Stromverbrauchskosten",
     "kW/h",
     "Stromverbrauch - Hochrechnung für 1 Jahr",
     "Stromverbrauch",
     "Stromverbrauchskosten",
     "Rechnen Sie mir einer Nachzahlung von ca.",
     "Stromverbrauch - Historie",
     "Verbr. kW/h "},
    {VerbrKind::Wasser,
     "wasserDialog",
     "Wasserverbrauch berechnen",
     380,
     false,
     false,
     false,
     false,
     0.0,
     "Wasserlieferant",
     "Name des Wasserlieferanten",
     "monatl. Pauschale",
     "Preis pro m³",
     "Wasserpreis pro m³",
     "Bitte geben Sie den Preis pro m³ ein !",
     "Verbrauchskosten",
     "Wasserverbrauchskosten",
     "m³",
     "Wasserverbrauch - Hochrechnung für 1 Jahr",
     "Wasserverbrauch",
     "Wasserverbrauchskosten",
     "Rechnen Sie mir einer Nachzahlung",
     "Wasserverbrauch - Historie",
     "Verbrauch m³ "},
    {VerbrKind::Abwasser,
     "abwasserDialog",
     "Abwasserverbrauch berechnen",
     380,
     false,
     false,
     false,
     false,
     0.0,
     "Wasserlieferant",
     "Name des Wasserlieferanten",
     "monatl. Pauschale",
     "Preis pro m³",
     "Wasserpreis pro m³",
     "Bitte geben Sie den Preis pro m³ ein !",
     "Verbrauchskosten",
     "Wasserverbrauchskosten",
     "m³",
     "Abwasserverbrauch - Hochrechnung für 1 Jahr",
     "Wasserverbrauch",
     "Wasserverbrauchskosten",
     "Rechnen Sie mir einer Nachzahlung",
     "Abwasserverbrauch - Historie",
     "Verbrauch m³ "},
    {VerbrKind::Gas,
     "gasDialog",
     "Gasverbrauch berechnen",
     392,
     true,
     false,
     false,
     true,
     0.0,
     "Gaslieferant",
     "Name des Gaslieferanten",
     "jährl. Pauschale",
     "Preis pro kW/h",
     "Gaspreis pro kW/h",
     "Bitte geben Sie den Preis pro KW/h ein !",
     "jährl. Grundgebühr",
     "Gasverbrauchskosten",
     "kW/h",
     "Gasverbrauch - Hochrechnung für 1 Jahr",
     "Gasverbrauch",
     "Gasverbrauchskosten",
     "Rechnen Sie mir einer Nachzahlung",
     "Gasverbrauch - Historie",
     "Verbr. kW/h "},
};

std::string whole_text(long v) {
    return std::to_string(v);
}

void set_korrekt(VerbrResults& r) {
    const double difference = r.NSUMME - r.NSABSCHLAG;
    r.NSKORREKT = std::fabs(difference);
    r.CTKORREKT = difference < 0 ? kVerbrRefund : kVerbrAdditional;
    r.additional = difference > 0;
}

const core::dbf::RecordMap<VerbrRow> kVerbrchMap{
    "VERBRCH",
    {
        core::dbf::number("VERBRART", &VerbrRow::VERBRART),
        core::dbf::date("DATUM", &VerbrRow::DATUM),
        core::dbf::text("LIEFER", &VerbrRow::LIEFER),
        core::dbf::text("TELEFON", &VerbrRow::TELEFON),
        core::dbf::text("KDNR", &VerbrRow::KDNR),
        core::dbf::text("ZAEHLER", &VerbrRow::ZAEHLER),
        core::dbf::number("GRUNDDM", &VerbrRow::GRUNDDM),
        core::dbf::number("GRUNDTEIL", &VerbrRow::GRUNDTEIL),
        core::dbf::number("PROEINHEIT", &VerbrRow::PROEINHEIT),
        // The factor belongs to gas periods only; the other kinds leave the field blank.
        core::dbf::number("INDEX", &VerbrRow::INDEX, [](const VerbrRow& r) { return r.VERBRART == 4; }),
        core::dbf::number("ABSCHLAGDM", &VerbrRow::ABSCHLAGDM),
        core::dbf::number("ZAEHLER1", &VerbrRow::ZAEHLER1),
        core::dbf::number("ZAEHLER2", &VerbrRow::ZAEHLER2),
        core::dbf::date("ABLESDAT1", &VerbrRow::ABLESDAT1),
        core::dbf::date("ABLESDAT2", &VerbrRow::ABLESDAT2),
        core::dbf::number("VERBREINH", &VerbrRow::VERBREINH),
        core::dbf::number("VERBRDM", &VerbrRow::VERBRDM),
        core::dbf::number("VERBRTAG", &VerbrRow::VERBRTAG),
        core::dbf::number("VERBRMON", &VerbrRow::VERBRMON),
        core::dbf::number("SGRUNDDM", &VerbrRow::SGRUNDDM),
        core::dbf::number("SABSCHLAG", &VerbrRow::SABSCHLAG),
        core::dbf::number("SUMME", &VerbrRow::SUMME),
        core::dbf::number("MWPROZ", &VerbrRow::MWPROZ),
        core::dbf::number("SMWST", &VerbrRow::SMWST),
        core::dbf::number("SNETTO", &VerbrRow::SNETTO),
        core::dbf::number("SKORREKT", &VerbrRow::SKORREKT),
    }};

}  // namespace

const VerbrKindInfo& verbr_kind_info(VerbrKind kind) {
    return kKinds[static_cast<int>(kind) - 1];
}

int verbr_months(VerbrKind kind, long days) {
    const double months = core::div0(static_cast<double>(days), 30.0);
    if (verbr_kind_info(kind).months_rounded) return static_cast<int>(core::round_to(months, 0));
    return static_cast<int>(std::trunc(months));
}

void verbr_summary_texts(VerbrKind kind, VerbrResults& res) {
    const VerbrKindInfo& k = verbr_kind_info(kind);
    res.CTGRUNDDM = *k.fee_result_label ? std::string(k.fee_result_label)
                                        : "Grundgebühr für " + whole_text(res.NVERBRMON) + " Monate";
    set_korrekt(res);
}

VerbrOutcome verbr_rech(VerbrKind kind, const VerbrInputs& in, const VerbrResults& previous) {
    VESTRAL_OP(kind == VerbrKind::Strom ? "STROMRECH" : kind == VerbrKind::Gas ? "GASRECH" : "WASSERRECH");
    const VerbrKindInfo& k = verbr_kind_info(kind);
    VerbrOutcome out;
    out.results = previous;
    VerbrResults& r = out.results;

    const double difference = in.NZAEHLER2 - in.NZAEHLER1;
    const bool readings_ok = k.equal_readings_ok ? difference >= 0 : difference > 0;
    if (!readings_ok || (k.meter_limit > 0 && difference >= k.meter_limit)) {
        out.stop = VerbrStop::Meter;
        out.message = kVerbrMeterMessage;
        return out;
    }
    // Empty, invalid or reversed dates never reach the day count.
    const std::optional<long> between = core::days_between(in.DABLES1, in.DABLES2);
    if (!between || *between < 0) {
        out.stop = VerbrStop::Dates;
        out.message = kVerbrDateMessage;
        return out;
    }
    if (!(in.NKWHDM > 0)) {
        out.stop = VerbrStop::Price;
        out.message = k.price_message;
        return out;
    }
    r.NVERBRTAG = static_cast<int>(*between + 1);
    r.NVERBRMON = verbr_months(kind, r.NVERBRTAG);
    r.NVERBRKW = k.uses_factor ? difference * in.NINDEX : difference;
    r.NVERBRDM = in.NKWHDM * r.NVERBRKW;
    if (r.NVERBRDM > 0) {
        r.NSGRUNDDM = k.fee_per_month ? in.NGRUNDDM * r.NVERBRMON : in.NGRUNDDM;
        r.NSUMME = r.NVERBRDM + r.NSGRUNDDM;
        r.NSABSCHLAG = in.NABSCHLAG * r.NVERBRMON;
        verbr_summary_texts(kind, r);
    }
    return out;
}

VerbrProjection verbr_hoch(VerbrKind kind, const VerbrInputs& in, const VerbrResults& res) {
    VESTRAL_OP(kind == VerbrKind::Strom ? "STROMHOCH" : kind == VerbrKind::Gas ? "GASHOCH" : "WASSERHOCH");
    const VerbrKindInfo& k = verbr_kind_info(kind);
    VerbrProjection p;
    p.cost_per_day = core::div0(res.NVERBRDM, res.NVERBRTAG);
    p.kw_per_day = core::div0(res.NVERBRKW, res.NVERBRTAG);
    p.days_of_year = !in.DABLES1.empty() && core::is_leap(in.DABLES1.year) ? 366 : 365;
    p.year_kw = p.kw_per_day * p.days_of_year;
    p.year_cost = p.kw_per_day * in.NKWHDM * p.days_of_year;
    p.fee = k.fee_per_month ? in.NGRUNDDM * 12 : in.NGRUNDDM;
    p.total = p.year_cost + p.fee;
    p.advances = in.NABSCHLAG * 12;
    const double difference = p.total - p.advances;
    p.amount = std::fabs(difference);
    p.text = difference < 0 ? "Eventuell erhalten Sie eine Rückerstattung" : k.projection_more;
    p.additional = difference > 0;
    return p;
}

const core::dbf::RecordMap<VerbrRow>& verbrch_map() {
    return kVerbrchMap;
}

VerbrRow verbr_row(VerbrKind kind, const VerbrInputs& in, const VerbrResults& res) {
    VerbrRow row;
    row.VERBRART = static_cast<int>(kind);
    row.DATUM = in.DABLES1;
    row.LIEFER = in.CLIEFER;
    row.TELEFON = in.CTELEFON;
    row.KDNR = in.CKDNR;
    row.ZAEHLER = in.CZAEHLNR;
    row.GRUNDDM = in.NGRUNDDM;
    row.GRUNDTEIL = 12;
    row.PROEINHEIT = in.NKWHDM;
    row.INDEX = in.NINDEX;
    row.ABSCHLAGDM = in.NABSCHLAG;
    row.ZAEHLER1 = in.NZAEHLER1;
    row.ZAEHLER2 = in.NZAEHLER2;
    row.ABLESDAT1 = in.DABLES1;
    row.ABLESDAT2 = in.DABLES2;
    row.VERBREINH = res.NVERBRKW;
    row.VERBRDM = res.NVERBRDM;
    row.VERBRTAG = res.NVERBRTAG;
    row.VERBRMON = res.NVERBRMON;
    row.SGRUNDDM = res.NSGRUNDDM;
    row.SABSCHLAG = res.NSABSCHLAG;
    row.SUMME = res.NSUMME;
    row.MWPROZ = in.NMWPROZ;
    row.SMWST = in.NSMWST;
    row.SNETTO = in.NSNETTO;
    row.SKORREKT = res.NSKORREKT;
    return row;
}

void verbr_from_row(VerbrKind kind, const VerbrRow& row, VerbrInputs& in, VerbrResults& res) {
    in.CLIEFER = row.LIEFER;
    in.CTELEFON = row.TELEFON;
    in.CKDNR = row.KDNR;
    in.CZAEHLNR = row.ZAEHLER;
    in.NGRUNDDM = row.GRUNDDM;
    in.NKWHDM = row.PROEINHEIT;
    if (kind == VerbrKind::Gas) in.NINDEX = row.INDEX;
    in.NABSCHLAG = row.ABSCHLAGDM;
    in.NZAEHLER1 = row.ZAEHLER1;
    in.NZAEHLER2 = row.ZAEHLER2;
    in.DABLES1 = row.DATUM;
    in.DABLES1 = row.ABLESDAT1;
    in.DABLES2 = row.ABLESDAT2;
    in.NMWPROZ = row.MWPROZ;
    in.NSMWST = row.SMWST;
    in.NSNETTO = row.SNETTO;
    res.NVERBRKW = row.VERBREINH;
    res.NVERBRDM = row.VERBRDM;
    res.NVERBRTAG = static_cast<int>(row.VERBRTAG);
    res.NVERBRMON = static_cast<int>(row.VERBRMON);
    res.NSGRUNDDM = row.SGRUNDDM;
    res.NSABSCHLAG = row.SABSCHLAG;
    res.NSUMME = row.SUMME;
    verbr_summary_texts(kind, res);
    res.NSKORREKT = row.SKORREKT;
}

std::string verbr_key(VerbrKind kind, core::Date date) {
    char head[8];
    std::snprintf(head, sizeof head, "%2d", static_cast<int>(kind));
    return head + core::date_to_dbf(date);
}

void verbr_set_order(core::dbf::Table& table, VerbrKind kind) {
    const int k = static_cast<int>(kind);
    const int order = table.add_order(
        "VERBRCH", [kind](const core::dbf::Table& t) { return verbr_key(kind, t.date("DATUM")); },
        [k](const core::dbf::Table& t) { return static_cast<int>(t.num("VERBRART")) == k; });
    table.set_order(order);
}

std::optional<VerbrRow> verbr_find(core::dbf::Table& table, VerbrKind kind, core::Date date) {
    kVerbrchMap.bind(table);
    verbr_set_order(table, kind);
    if (table.count() == 0) {
        table.go_bottom();
        table.skip();
        return std::nullopt;
    }
    if (date.empty() || !table.seek(verbr_key(kind, date))) table.go_bottom();
    return kVerbrchMap.read(table);
}

bool verbr_is_blank(const VerbrInputs& in) {
    return in.CLIEFER.empty() && in.CTELEFON.empty() && in.CZAEHLNR.empty() && in.CKDNR.empty() &&
           in.NGRUNDDM == 0 && in.NKWHDM == 0 && in.NINDEX == 0 && in.NABSCHLAG == 0 && in.NZAEHLER1 == 0 &&
           in.NZAEHLER2 == 0;
}

bool verbr_store(core::dbf::Table& table, VerbrKind kind, const VerbrInputs& in, const VerbrResults& res) {
    if (!core::is_valid(in.DABLES1) || verbr_is_blank(in)) return false;
    kVerbrchMap.bind(table);
    verbr_set_order(table, kind);
    if (!table.seek(verbr_key(kind, in.DABLES1))) table.append_blank();
    kVerbrchMap.write(table, verbr_row(kind, in, res));
    return table.flush();
}

}  // namespace vestral::calc
