#include "calc/loans/hypotilg_print.h"

#include <string>

#include "core/mask.h"
#include "core/numbers.h"
#include "core/opstack.h"

namespace vestral::calc {

const char* hypo_month_name(int month) {
    if (month < 1 || month > 12) return "";
    return kHypoMonths[month - 1];
}

namespace {

using toolkit::PrintJob;

double tab(int n) {
    return kHtTab * n;
}

// A value for the summary page: the mask's text without its leading blanks.
std::string value(double v, std::string_view mask) {
    return core::trim_left(core::format_mask(v, mask));
}
std::string eur(double v) {
    return value(v, "@E 999,999,999.99") + " EUR";
}
std::string pct(double v) {
    return value(v, "@E 999.999") + " %";
}

struct Printer {
    PrintJob& job;
    std::string_view program_title;
    int page_no = 0;
    double row = 0;

    // HT_DRUCK2: the page head, with or without the column headings.
    void head(bool headings) {
        VESTRAL_OP("HT_DRUCK2");
        job.new_page();
        ++page_no;
        toolkit::title_band(job, 0, 2, kHtCols, 3, 1, 3, 109, program_title, "Hypothekentilgungsplan",
                            page_no);
        row = 1 + 4;
        if (!headings) return;
        job.text(row, 2, "Datum");
        const char* titles[] = {"Hypothek",      "Zinsen",        "Tilgung",  "Monatsrate", "Gebühren",
                                "Sond.-Tilgung", "Rest-Hypothek", "Restzins", "Geb.-Summe", "Sond.-Summe"};
        for (int k = 0; k < 10; ++k) job.right(row, tab(k + 2), titles[k]);
        row += 1;
        job.line(row, 2, row, 2 + 108);
        row += 1;
    }

    // A summary line: the label right-aligned at column 35, its value just to the right.
    void pair(double advance, std::string_view label, std::string_view text) {
        row += advance;
        job.right(row, 35, label);
        if (!text.empty()) job.text(row, 36, text);
    }
};

}  // namespace

toolkit::PrintJob ht_druck(const HypoInputs& in, const HypoResults& res, const std::vector<HypoRow>& rows,
                           std::string_view program_title) {
    VESTRAL_OP("HT_DRUCK");
    PrintJob job;
    job.name = "Hypothekentilgungsplan";
    job.landscape = true;
    job.rows = kHtRows;
    job.cols = kHtCols;
    Printer p{job, program_title};

    p.head(true);
    // The sums are those of the printed (stored, two-decimal) values.
    double fee_sum = 0, special_sum = 0;
    for (const HypoRow& r : rows) {
        if (r.KEY != 1) continue;
        job.text(p.row, 2, core::format_date(r.DATUM));
        const char* m12 = "@E 99,999,999.99";
        const char* m13 = "@E 999,999,999.99";
        job.right(p.row, tab(2), value(r.HYPOTHEK, m13));
        job.right(p.row, tab(3), value(r.ZINSEN, m12));
        job.right(p.row, tab(4), value(r.TILGUNG, m12));
        job.right(p.row, tab(5), value(r.MONRATE, m12));
        job.right(p.row, tab(6), value(r.GEBUEHR, m12));
        job.right(p.row, tab(7), value(r.EINMALDM, m12));
        job.right(p.row, tab(8), value(r.RESTHYP, m13));
        job.right(p.row, tab(9), value(r.RESTZINS, m12));
        job.right(p.row, tab(10), value(r.GEBUSUM, m12));
        job.right(p.row, tab(11), value(r.EINMSUM, m12));
        fee_sum += core::round_to(r.GEBUEHR, 2);
        special_sum += core::round_to(r.EINMALDM, 2);
        p.row += 1;
        if (p.row > kHtBreakRow) {
            p.row += 1;
            job.line(p.row, 1, p.row, 1 + 109);
            p.head(true);
        }
    }
    p.row += 1;
    job.line(p.row, 2, p.row, 2 + 108);

    p.head(false);
    job.box(p.row, 2, p.row + 21, 2 + 108);
    job.box(p.row + 22, 2, p.row + 38, 2 + 108);
    p.row += 1;
    job.text(p.row, 10, "Zusammenfassung:", toolkit::heading_font());
    p.pair(2, "Bank:", core::trim(in.CBANKNAME));
    p.pair(2, "Hypothekensumme:", eur(in.NHYPOTHEK));
    p.pair(1, "nom. Zinssatz:", pct(in.NZINSSATZ));
    p.pair(2, "Tilgung pro Jahr:", pct(in.NTILGANNO));
    p.pair(1, "Vertragsbeginn:", core::format_date(in.DABDATUM));
    p.pair(2, "Zinsbindung:", std::to_string(in.NLAUFZEIT) + " Jahre");
    p.pair(1, "Zins nach Festzeit:", pct(in.NZINSNACH));
    if (in.NEINMALDM > 0) {
        p.pair(2, "jährliche Sondertilgung.:", eur(in.NEINMALDM));
        p.pair(1, "Zahlungsmonat:", hypo_month_name(in.NEINMALMO));
    }
    if (in.NKONTOGEB > 0 || in.NKREDITPR > 0 || in.NKREDITDM > 0) {
        p.pair(2, "Finanzierte Gebühren:", "");
        if (in.NKONTOGEB > 0)
            p.pair(1, "jährliche Kontoführungsgeb.:", value(in.NKONTOGEB, "@E 999,999.99") + " EUR");
        if (in.NKREDITPR > 0 || in.NKREDITDM > 0)
            p.pair(1, "jährliche Kreditgebühren:",
                   value(in.NKREDITDM, "@E 999,999.99") + " EUR = " + value(in.NKREDITPR, "@E 999,999") +
                       " % der Hypothekensumme");
    }
    p.row += 4;
    job.text(p.row, 10, "Ergebnis:", toolkit::heading_font());
    p.pair(2, "Zinssumme:", eur(res.NZINSSUM));
    p.pair(1, "Tilgungssumme:", eur(res.NTILGSUM));
    p.pair(2, "Tilgungszeit:", value(res.NTILGZEIT, "@E 999.99") + " Jahre");
    p.pair(2, "Summe Gebühren:", eur(fee_sum));
    p.pair(1, "Summe Sondertilgungen:", eur(special_sum));
    p.pair(2, "monatliche Rate:", eur(res.NANNUITAT));
    p.pair(1, "monatliche Rate nach Festzeit:", eur(res.NANNUITA2));
    p.pair(2, "effektiver Zinssatz:", pct(res.NEFFZINS));
    return job;
}

}  // namespace vestral::calc
