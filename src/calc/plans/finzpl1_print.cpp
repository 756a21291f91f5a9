#include "calc/plans/finzpl1_print.h"

#include <functional>

#include "calc/loans/hypotilg_print.h"
#include "core/dbf.h"
#include "core/files.h"
#include "core/mask.h"
#include "core/opstack.h"
#include "toolkit/print_form.h"

namespace vestral::calc {

namespace fs = std::filesystem;

double FpTerms::n(const std::string& field) const {
    const auto it = num.find(field);
    return it == num.end() ? 0.0 : it->second;
}

std::string FpTerms::s(const std::string& field) const {
    const auto it = text.find(field);
    return it == text.end() ? std::string() : it->second;
}

std::optional<FpTerms> fp_read_terms(const fs::path& dir, std::string_view file) {
    if (!core::exists_ci(dir, file)) return std::nullopt;
    core::dbf::Table t;
    if (!t.open_unchecked(core::resolve_ci(dir, file), std::string(file.substr(0, file.find('.')))))
        return std::nullopt;
    t.go_top();
    std::optional<FpTerms> terms;
    if (!t.eof()) {
        terms.emplace();
        for (const core::dbf::Field& f : t.layout()) {
            if (f.type == 'N')
                terms->num[f.name] = t.num(f.name);
            else if (f.type == 'C')
                terms->text[f.name] = t.trimmed(f.name);
        }
    }
    t.close();
    return terms;
}

void fp1_read_print_terms(const fs::path& dir, Fp1PrintInput& in) {
    const FpFiles& f = fp_files(in.variant);
    in.hyt1 = fp_read_terms(dir, f.hyt1);
    in.hyt2 = fp_read_terms(dir, f.hyt2);
    in.bau2 = fp_read_terms(dir, f.bau2);
    in.kre2 = fp_read_terms(dir, f.kre2);
}

Afa75PrintValues afa75_print_values(const core::IniDocument& ini) {
    auto num = [&](const char* key) { return core::parse_lenient(ini.get("AFA75", key, "0.00")).value; };
    auto text = [&](const char* key, const char* fallback) {
        return core::trim(ini.get("AFA75", key, fallback));
    };
    Afa75PrintValues v;
    v.Kaufpreis = num("Kaufpreis");
    v.Kaufdatum = text("Kaufdatum", "0");
    v.DatumFertig = text("DatumFertig", "0");
    v.AlsBetrVerm = text("AlsBetrVerm", "0") == "1";
    v.AlsWohnung = text("AlsWohnung", "0") == "1";
    v.Abschreibung = text("Abschreibung", "");
    v.AfASum = num("AfASum");
    v.AfADau = num("AfADau");
    return v;
}

namespace {

using toolkit::PairColumns;
using toolkit::print_number;
using toolkit::PrintAlign;
using toolkit::PrintJob;

constexpr const char* kAmount = toolkit::kPrintAmountMask;
constexpr const char* kRate = "@E 999.999";
// Portrait rows below this one go onto the next page; the page has 60 and the rule under the
// last row must fit.
constexpr double kBreakRow = 57;
constexpr double kOverviewBreakRow = 44;
// The small gap between a label's end and its value.
constexpr double kGap = 0.6;

PairColumns at(double label_col) {
    return {label_col, PrintAlign::Right, label_col + kGap, PrintAlign::Left, -1};
}

std::string amount(double v, const char* mask = kAmount) {
    return print_number(v, mask);
}
std::string whole(double v) {
    return std::to_string(static_cast<long long>(v));
}
const char* ja_nein(bool b) {
    return b ? "Ja" : "Nein";
}

enum class Section { Hyp1, Hyp2, Bau, Kre, Afa };

struct Cell {
    double tab = 0;
    PrintAlign align = PrintAlign::Right;
};

class Fp1Printer {
  public:
    Fp1Printer(const Fp1PrintInput& in, PrintJob& job, std::string_view program, int pages_before)
        : in_(in),
          job_(job),
          program_(program),
          f_(job, program),
          page_no_(pages_before),
          letting_(in.variant == FpVariant::Letting) {}

    int page_no() const { return page_no_; }

    void sections() {
        if (in_.inc.hyp1) section(Section::Hyp1);
        if (in_.inc.hyp2) section(Section::Hyp2);
        if (in_.inc.bau) section(Section::Bau);
        if (in_.inc.kre) section(Section::Kre);
        if (in_.inc.afa) section(Section::Afa);
    }

    void overview() {
        tab_ = letting_ ? 110.0 / 11 : 110.0 / 10;
        landscape_page(true);
        for (const Fp1Row& r : in_.rows) {
            const double zinsen = r.H1ZINSEN + r.H2ZINSEN - r.BSSPZINS + r.BSTIZINS + r.RKZINSEN;
            const double raten = r.H1RATEN + r.H2RATEN + r.BSEINZAHL + r.RKRATEN;
            const double konto = r.H1SUMME + r.H2SUMME - r.KTOSTAND + r.RKSUMME;
            const std::vector<std::string> cells =
                letting_ ? std::vector<std::string>{whole(r.JAHR),      amount(r.H1SUMME),
                                                    amount(r.H2SUMME),  amount(r.KTOSTAND),
                                                    amount(r.RKSUMME),  amount(r.AFA),
                                                    amount(zinsen),     amount(raten),
                                                    amount(konto),      amount(r.EINKOMM + r.MIETE),
                                                    amount(r.STEUERERL)}
                         : std::vector<std::string>{whole(r.JAHR),
                                                    amount(r.H1SUMME),
                                                    amount(r.H2SUMME),
                                                    amount(r.KTOSTAND),
                                                    amount(r.RKSUMME),
                                                    amount(r.AFA, "@E 99,999.99"),
                                                    amount(r.KINDGELD, "@E 99,999.99"),
                                                    amount(zinsen),
                                                    amount(raten),
                                                    amount(konto)};
            for (size_t k = 0; k < cells.size(); ++k) job_.right(f_.row, tab_ * double(k + 1), cells[k]);
            f_.row += 1;
            if (f_.row > kOverviewBreakRow) {
                overview_rule();
                landscape_page(false);
            }
        }
        overview_rule();
    }

  private:
    // The page band: a thick frame over the first three rows, the title and the page number.
    void band(double right, double page_col) {
        job_.new_page();
        ++page_no_;
        toolkit::title_band(job_, 0, 2, right, 3, 1, 3, page_col, program_,
                            letting_ ? kFp2PrintName : kFp1PrintName, page_no_);
    }

    void landscape_page(bool first) {
        band(110, 109);
        f_.row = 5;
        if (first) {
            f_.heading(0, "Gesamter Tilgungsplan als Übersicht", 5);
            f_.row += 2;
        }
        const std::vector<const char*> heads =
            letting_
                ? std::vector<const char*>{"Jahr",        "1. Hypothek",    "2. Hypothek",   "BSP-Vertrag",
                                           "Ratenkredit", "A F A",          "Zinsen gesamt", "Raten gesamt",
                                           "Kontostand",  "Eink. + Mieten", "Steuerersparn."}
                : std::vector<const char*>{"Jahr",         "1. Hypothek", "2. Hypothek", "BSP-Vertrag",
                                           "Ratenkredit",  "A F A",       "Kindergeld",  "Zinsen gesamt",
                                           "Raten gesamt", "Kontostand"};
        for (size_t k = 0; k < heads.size(); ++k) job_.right(f_.row, tab_ * double(k + 1), heads[k]);
        f_.row += 1;
        job_.line(f_.row, 2, f_.row, 2 + 108);
        f_.row += 1;
    }

    void overview_rule() {
        f_.row += 1;
        job_.line(f_.row, 2, f_.row, 2 + 109);
    }

    // --- portrait sections ---------------------------------------------------------------

    const std::optional<FpTerms>& terms(Section s) const {
        switch (s) {
            case Section::Hyp1:
                return in_.hyt1;
            case Section::Hyp2:
                return in_.hyt2;
            case Section::Bau:
                return in_.bau2;
            default:
                return in_.kre2;
        }
    }

    // Which plan rows a section lists: those its source has an amount in, wherever they stand.
    bool listed(Section s, const Fp1Row& r) const {
        switch (s) {
            case Section::Hyp1:
                return r.H1SUMME != 0;
            case Section::Hyp2:
                return r.H2SUMME != 0;
            case Section::Bau:
                return r.BSEINZAHL != 0 || r.BSSPZINS != 0 || r.BSTILGSUM != 0 || r.BSTIZINS != 0 ||
                       r.KTOSTAND != 0;
            case Section::Kre:
                return r.RKSUMME != 0;
            case Section::Afa:
                // The depreciation runs on without income; its years count when anything is in them.
                return letting_ ? r.EINKOMM > 0 || r.MIETE > 0 || r.AFA != 0 : r.EINKOMM > 0;
        }
        return false;
    }

    std::vector<std::string> cells(Section s, const Fp1Row& r) const {
        switch (s) {
            case Section::Hyp1:
                return {whole(r.JAHR), amount(r.H1SUMME), amount(r.H1ZINSEN), amount(r.H1RATEN)};
            case Section::Hyp2:
                return {whole(r.JAHR), amount(r.H2SUMME), amount(r.H2ZINSEN), amount(r.H2RATEN)};
            case Section::Bau:
                return {whole(r.JAHR),       amount(r.BSEINZAHL), amount(r.BSSPARSUM), amount(r.BSSPZINS),
                        amount(r.BSTILGSUM), amount(r.BSTIZINS),  amount(r.KTOSTAND)};
            case Section::Kre:
                return {whole(r.JAHR), amount(r.RKSUMME), amount(r.RKZINSEN), amount(r.RKTILGUNG),
                        amount(r.RKRATEN)};
            case Section::Afa:
                if (letting_)
                    return {
                        whole(r.JAHR),   "", amount(r.AFA),      amount(r.AFARATE), "", amount(r.EINKOMM), "",
                        amount(r.MIETE), "", amount(r.STEUERERL)};
                return {whole(r.JAHR), amount(r.EINKOMM), amount(r.AFA), amount(r.KINDGELD),
                        amount(r.STEUERERL)};
        }
        return {};
    }

    static bool mortgage(Section s) { return s == Section::Hyp1 || s == Section::Hyp2; }

    double tab_of(Section s) const {
        switch (s) {
            case Section::Hyp1:
            case Section::Hyp2:
                return 80.0 / 5;
            case Section::Bau:
                return 80.0 / 7;
            case Section::Afa:
                return letting_ ? 80.0 / 11 : 80.0 / 6;
            default:
                return 80.0 / 6;
        }
    }

    // The year stands left in the credit and allowance columns, every other cell right.
    static PrintAlign align(Section s, size_t k) {
        return k == 0 && (s == Section::Kre || s == Section::Afa) ? PrintAlign::Left : PrintAlign::Right;
    }

    void section(Section s) {
        tab_ = tab_of(s);
        // The rule closing a full page, and the row beyond which the result block needs a new page.
        const double break_rule = mortgage(s) ? 70 : 77;
        const double result_limit = mortgage(s) ? 50 : 55;
        portrait_page(s, true);
        sum_eink_ = sum_miete_ = sum_steuer_ = 0;
        for (const Fp1Row& r : in_.rows) {
            if (!listed(s, r)) continue;
            sum_eink_ += r.EINKOMM;
            sum_miete_ += r.MIETE;
            sum_steuer_ += r.STEUERERL;
            const auto c = cells(s, r);
            for (size_t k = 0; k < c.size(); ++k)
                if (!c[k].empty())
                    job_.text(f_.row, tab_ * double(k + 1), c[k], toolkit::body_font(), align(s, k));
            f_.row += 1;
            if (f_.row > kBreakRow) {
                job_.line(f_.row + 1, 2, f_.row + 1, 2 + break_rule);
                portrait_page(s, false);
            }
        }
        f_.row += 1;
        job_.line(f_.row, 3, f_.row, 3 + 76);
        if (f_.row > result_limit) portrait_page(s, false);
        result(s);
    }

    void portrait_page(Section s, bool first) {
        band(80, 78);
        f_.row = 4;
        switch (s) {
            case Section::Hyp1:
            case Section::Hyp2:
                mortgage_head(s, first);
                break;
            case Section::Bau:
                contract_head(first);
                break;
            case Section::Kre:
                credit_head(first);
                break;
            case Section::Afa:
                if (letting_)
                    depreciation_head(first);
                else
                    allowance_head();
                break;
        }
        f_.row += 1;
        job_.line(f_.row, 3, f_.row, 3 + 76);
        f_.row += 1;
    }

    void headings(const std::vector<std::pair<const char*, PrintAlign>>& heads) {
        f_.row += 2;
        for (size_t k = 0; k < heads.size(); ++k)
            if (*heads[k].first)
                job_.text(f_.row, tab_ * double(k + 1), heads[k].first, toolkit::body_font(),
                          heads[k].second);
    }

    void mortgage_head(Section s, bool first) {
        const int n = s == Section::Hyp1 ? 1 : 2;
        const auto& t = terms(s);
        if (first) {
            f_.heading(0, std::to_string(n) + ". Hypothek - Details:", 5);
            // A copy that is missing or empty leaves the heading alone.
            if (t) {
                f_.pair(2, at(20), "Bank:", t->s("BANKNAME"));
                f_.pair(1, at(20), "Hypothekensumme:", amount(t->n("HYPOTHEK")), "EUR");
                f_.pair(0, at(55), "nom. Zinssatz:", amount(t->n("ZINSSATZ"), kRate), "%");
                f_.pair(1, at(20), "Tilgung pro Jahr:", amount(t->n("TILGJAHR"), kRate), "%");
                f_.pair(0, at(55), "Vertragsbeginn:", whole(t->n("ABJAHR")));
                f_.pair(1, at(20), "Zinsbindung:", whole(t->n("LAUFZEIT")), "Jahre");
                f_.pair(0, at(55), "Zins nach Festzeit:", amount(t->n("ZINSNACH"), kRate), "%");
                if (t->n("EINMALDM") > 0) {
                    f_.pair(1, at(20), "jährliche Sondertilgung:", amount(t->n("EINMALDM")), "EUR");
                    f_.pair(0, at(55), "Zahlungsmonat:", hypo_month_name(static_cast<int>(t->n("EINMALMO"))));
                }
                const double konto = t->n("KONTOGEB"), pr = t->n("KREDITPR"), dm = t->n("KREDITDM");
                if (konto > 0 || pr > 0 || dm > 0) {
                    f_.pair(2, at(20), "Finanzierte Gebühren:", "");
                    if (konto > 0)
                        job_.text(f_.row, 40,
                                  "jährliche Kontoführungsgeb.: " + amount(konto, "@E 999,999.99") + " EUR");
                    if (pr > 0 || dm > 0) {
                        f_.row += 1;
                        job_.text(f_.row, 40,
                                  "jährliche Kreditgebühren: " + amount(dm, "@E 999,999.99") +
                                      " EUR = " + amount(pr, "@E 999,999") + " % der Hypothekensumme");
                    }
                }
            }
        }
        headings({{"Jahr", PrintAlign::Right},
                  {n == 1 ? "1. Hypothek" : "2. Hypothek", PrintAlign::Right},
                  {"Jahres-Zinsen", PrintAlign::Right},
                  {"Jahres-Raten", PrintAlign::Right}});
    }

    void contract_head(bool first) {
        if (first) {
            f_.heading(
                0,
                std::string("Bausparvertrag - Details: ") + (in_.inc.nur_tilg ? "NUR TILGUNGSPHASE !!!" : ""),
                5);
            if (const auto& t = in_.bau2) {
                f_.pair(2, at(20), "Bank:", t->s("BANKNAME"));
                f_.pair(1, at(20), "Bausparsumme:", amount(t->n("BSPSUMME")), "EUR");
                f_.pair(0, at(55),
                        letting_ ? "Sparteil:" : "Sparanteil:", amount(t->n("SPARSATZ"), "@E 999.99"), "%");
                f_.pair(1, at(20), "Vertragsabschlussgebühren:", amount(t->n("ABSCHGEB"), kRate), "%");
                f_.pair(0, at(55), "monatl. Kontoführungsgebühren:", amount(t->n("KONTOGEB")), "EUR");
                f_.pair(1, at(20), "Sparzinssatz:", amount(t->n("SZINSSTZ"), kRate), "%");
                f_.pair(0, at(55), "monatl. Sparrate:", amount(t->n("SMONRATE")), "EUR");
                f_.pair(1, at(20), "Tilgung / Jahr:", amount(t->n("TILGANNO"), kRate), "%");
                f_.pair(0, at(55), "Tilgungszinssatz:", amount(t->n("TZINSSTZ"), kRate), "%");
                f_.pair(1, at(20), "Dauer der Zinsbindung:", amount(t->n("TFESTZEIT"), "@E 9999"), "Jahre");
                f_.pair(0, at(55), "Zinssatz nach Festzeit:", amount(t->n("TZINSNACH"), kRate), "%");
            }
        }
        headings({{"Jahr", PrintAlign::Right},
                  {"Einzahlung", PrintAlign::Right},
                  {"Sparsumme", PrintAlign::Right},
                  {"Sparzinsen", PrintAlign::Right},
                  {"Tilgssumme", PrintAlign::Right},
                  {"Tilgzinsen", PrintAlign::Right},
                  {"Kontostand", PrintAlign::Right}});
    }

    void credit_head(bool first) {
        if (first) {
            f_.heading(0, "Ratenkredit - Details:", 5);
            if (const auto& t = in_.kre2) {
                f_.pair(2, at(20), "Bank:", t->s("BANKNAME"));
                f_.pair(1, at(20), "Kreditsumme:", amount(t->n("KREDIT")), "EUR");
                f_.pair(0, at(55), "nominal Zinssatz:", amount(t->n("ZINSSATZ"), "@E 9,999,999.999"), "%");
                f_.pair(1, at(20), "Laufzeit:", amount(t->n("LAUFZEIT"), "@E 999999"), "Monate");
                f_.pair(0, at(55), "monatl. Rate:", amount(t->n("MONRATE")), "EUR");
                if (t->n("KREDITPR") > 0)
                    f_.pair(1, at(20), "Bearbeitungsgebühren:",
                            amount(t->n("KREDITPR"), kRate) + " %  = " + amount(t->n("KREDITDM")), "EUR");
            }
        }
        headings({{"Jahr", PrintAlign::Left},
                  {"Kredit", PrintAlign::Right},
                  {"Zinsen", PrintAlign::Right},
                  {"Tilgung", PrintAlign::Right},
                  {"Raten", PrintAlign::Right}});
    }

    void allowance_head() {
        const PairColumns c = {40, PrintAlign::Right, 41, PrintAlign::Left, -1};
        f_.heading(0, "1. Finanzdaten:", 5);
        f_.pair(2, c,
                "Berechnung erfolgt nach:", in_.user.NFAMSTAND == 1 ? "Grundtabelle" : "Splittingtabelle");
        f_.pair(1, c, "Zu versteuerndes jährliches Einkommen:", amount(in_.user.NEINKOMM.value), "EUR");
        f_.pair(1, c,
                "Erwartete jährliche Einkommens-Steigerung:", amount(in_.user.NEINKSTEIG.value, "@E 999.99"),
                "%");
        f_.pair(1, c, "Anzahl der Kinder bis 18 Jahre im Haushalt lebend:", std::to_string(in_.user.NKINDER));
        f_.heading(3, "2. Immobiliendaten:", 5);
        f_.pair(2, c, "Kauf- bzw. Erstellungspreis incl. Grundstück:", amount(in_.objekt.NKAUFPREIS.value),
                "EUR");
        f_.pair(1, c, "Jahr des Einzugs in die Immobilie:", std::to_string(in_.objekt.NEINZUG));
        f_.pair(2, c, "Wurde ein Neubau erworben/erstellt:", ja_nein(in_.objekt.LNEUBAU));
        f_.pair(1, c, "Wurde ein Niedrigenergiehaus gebaut:", ja_nein(in_.afa.LENERGIE));
        f_.pair(1, c, "Wird die Ökozulage genutzt:", ja_nein(in_.afa.LOEKOZUL));
        f_.heading(3, "3. Eigenheimzulage:", 5);
        f_.pair(2, c, "Zulagenrate:", amount(in_.afa.NFOERDRATE.value, "@E 999.99"), "%");
        f_.pair(1, c, "Zulage pro Jahr:", amount(in_.afa.NABSCHJAHR.value), "EUR");
        f_.pair(1, c, "Zulagenbetrag für die nächsten 8 Jahre:", amount(in_.afa.NABSCHREIB.value), "EUR");
        f_.pair(1, c, "Anzahl der Kinder für das Baukindergeld:", std::to_string(in_.user.NKINDER));
        f_.pair(1, c, "Baukindergeld pro Jahr:", amount(in_.afa.NKINDJAHR.value), "EUR");
        f_.pair(1, c, "Baukindergeld gesamt:", amount(in_.afa.NKINDGELD.value), "EUR");
        f_.heading(3, "4. Abschreibungsplan:", 5);
        headings({{"Jahr", PrintAlign::Left},
                  {"Einkommen", PrintAlign::Right},
                  {"Abschreibung", PrintAlign::Right},
                  {"Kindergeld", PrintAlign::Right},
                  {"Steuerersparn.", PrintAlign::Right}});
    }

    void depreciation_head(bool first) {
        if (first) {
            const PairColumns c = {40, PrintAlign::Right, 41, PrintAlign::Left, -1};
            const Afa75PrintValues& a = in_.afa75;
            f_.heading(0, "1. Finanzdaten:", 5);
            f_.pair(2, c, "Berechnung erfolgt nach:",
                    in_.user.NFAMSTAND == 1 ? "Grundtabelle" : "Splittingtabelle");
            f_.pair(1, c, "Zu versteuerndes jährliches Einkommen:", amount(in_.user.NEINKOMM.value), "EUR");
            f_.pair(1, c, "Erwartete jährliche Einkommens-Steigerung:",
                    amount(in_.user.NEINKSTEIG.value, "@E 999.99"), "%");
            f_.pair(1, c, "jährliche Miet-Einnahmen:", amount(in_.user.NMIETE.value), "EUR");
            f_.pair(1, c, "Erwartete jährliche Mieteinnahmen-Steigerung:",
                    amount(in_.user.NMIETSTEIG.value, "@E 999.99"), "%");
            f_.heading(3, "2. Immobiliendaten:", 5);
            f_.pair(2, c, "Kauf- oder Baukosten ohne Grund und Boden:", amount(a.Kaufpreis), "EUR");
            f_.pair(1, c, "Anschaffungsdatum bzw. Datum der Bauantragsstellung:", a.Kaufdatum);
            f_.pair(1, c, "Datum der Fertigstellung:", a.DatumFertig);
            f_.pair(1, c, "Objekt gehört zum Betriebsvermögen:", ja_nein(a.AlsBetrVerm));
            f_.pair(1, c, "Objekt dient zu Wohnzwecken:", ja_nein(a.AlsWohnung));
            f_.heading(3, "3. Abschreibung für Abnutzung:", 5);
            f_.pair(2, c, "Abschreibungsart:", a.Abschreibung);
            f_.pair(1, c, "AFA-Summe:", amount(a.AfASum), "EUR");
            f_.pair(1, c, "Abschreibungsdauer:", amount(a.AfADau, "@E 99999"), "Jahre");
            f_.heading(3, "4. Abschreibungsplan:", 5);
        }
        headings({{"Jahr", PrintAlign::Left},
                  {"", PrintAlign::Right},
                  {"Abschreibung", PrintAlign::Right},
                  {"AfA-Rate", PrintAlign::Right},
                  {"", PrintAlign::Right},
                  {"Einkommen", PrintAlign::Right},
                  {"", PrintAlign::Right},
                  {"Mieteinnahmen", PrintAlign::Right},
                  {"", PrintAlign::Right},
                  {"Steuerersparn.", PrintAlign::Right}});
    }

    void result(Section s) {
        if (s == Section::Afa) {
            if (!letting_) return;
            const PairColumns c = {40, PrintAlign::Right, 41, PrintAlign::Left, -1};
            f_.heading(2, "Ergebnis:", 5);
            f_.pair(2, c, "Summe der Einkommen:", amount(core::round_to(sum_eink_, 2)), "EUR");
            f_.pair(1, c, "Summe der Mieteinnahmen:", amount(core::round_to(sum_miete_, 2)), "EUR");
            f_.pair(1, c, "Summe der Steuererleichterungen:", amount(core::round_to(sum_steuer_, 2)), "EUR");
            f_.pair(1, c, "Dauer der Abschreibung:", amount(in_.afa75.AfADau, "@E 99999"), "Jahre");
            return;
        }

        f_.heading(2, "Ergebnis:", 5);
        const auto& t = terms(s);
        if (!t) return;
        if (mortgage(s)) {
            f_.pair(2, at(20), "Zinssumme:", amount(t->n("ZINSSUM")), "EUR");
            f_.pair(0, at(55), "Tilgungssumme:", amount(t->n("TILGSUM")), "EUR");
            f_.pair(1, at(20), "Tilgungszeit:", amount(t->n("TILGZEIT"), "@E 999.99"), "Jahre");
            f_.pair(0, at(55), "effektiver Zinssatz:", amount(t->n("EFFZINS"), kRate), "%");
            f_.pair(1, at(20), "Summe Gebühren:", amount(t->n("GEBUSUM")), "EUR");
            f_.pair(0, at(55), "Summe Sondertilgungen:", amount(t->n("EINMSUM")), "EUR");
            f_.pair(1, at(20), "monatliche Rate:", amount(t->n("ANNUITAT")), "EUR");
            f_.pair(0, at(55), "monatliche Rate nach Festzeit:", amount(t->n("ANNUITA2")), "EUR");
        } else if (s == Section::Bau) {
            f_.pair(2, at(20), "Sparsumme:", amount(t->n("SPARSUM")), "EUR");
            f_.pair(0, at(45), "Sparzinsen:", amount(t->n("SPARZINS")), "EUR");
            f_.pair(0, at(70), "Sparzeit:", amount(t->n("SPARZEIT"), "@E 999.99"), "Jahre");
            f_.pair(1, at(20), "Tilgungssumme:", amount(t->n("TILGSUM")), "EUR");
            f_.pair(0, at(45), "Tilgungszinsen:", amount(t->n("TILGZINS")), "EUR");
            f_.pair(0, at(70), "Tilgungszeit:", amount(t->n("TILGZEIT"), "@E 999.99"), "Jahre");
            f_.pair(1, at(20), "monatl. Tilgungsrate:", amount(t->n("TMONRATE")), "EUR");
            f_.pair(1, at(20), "gezahlte Summe:", amount(t->n("TILGSUM") + t->n("TILGZINS")), "EUR");
            f_.pair(0, at(45), "Summe Gebühren:", amount(t->n("GEBUSUM")), "EUR");
        } else {
            f_.pair(2, at(20), "Zinssumme:", amount(t->n("ZINSSUM")), "EUR");
            f_.pair(0, at(55), "Tilgungssumme:", amount(t->n("TILGSUM")), "EUR");
            f_.pair(1, at(20), "Tilgungszeit: ", amount(t->n("TILGZEIT"), "@E 9999.99"), "Jahre");
            f_.pair(0, at(55), "eff. Zinssatz:", amount(t->n("EFFZINS"), kRate), "%");
            f_.pair(1, at(20), "monatl. Rate: ", amount(t->n("ZAHLRATE")), "EUR");
            f_.pair(0, at(55), "letzte Rate:", amount(t->n("LASTRATE")), "EUR");
        }
    }

    const Fp1PrintInput& in_;
    PrintJob& job_;
    std::string program_;
    toolkit::PrintForm f_;
    int page_no_ = 0;
    double tab_ = 16;
    bool letting_ = false;
    double sum_eink_ = 0, sum_miete_ = 0, sum_steuer_ = 0;
};

}  // namespace

std::vector<PrintJob> fp1_druck(const Fp1PrintInput& in, bool singles, bool overview,
                                std::string_view program_title) {
    VESTRAL_OP(in.variant == FpVariant::Letting ? "FP2_DRUCK" : "FP1_DRUCK");
    // The overview is landscape and a job has one orientation, so it goes as a job of its own;
    // its pages go on counting from the sections'.
    const char* name = in.variant == FpVariant::Letting ? kFp2PrintName : kFp1PrintName;
    std::vector<PrintJob> jobs;
    int pages = 0;
    if (singles || !overview) {
        PrintJob job = toolkit::new_print_job(name);
        if (singles) {
            Fp1Printer p(in, job, program_title, pages);
            p.sections();
            pages = p.page_no();
        }
        jobs.push_back(std::move(job));
    }
    if (overview) {
        PrintJob job = toolkit::new_print_job(name, toolkit::kLandscapeGrid);
        Fp1Printer p(in, job, program_title, pages);
        p.overview();
        jobs.push_back(std::move(job));
    }
    return jobs;
}

}  // namespace vestral::calc
