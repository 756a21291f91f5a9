#include "calc/loans/angebotsvergleich_dialog.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <filesystem>
#include <string>
#include <vector>

#include "calc/loans/angebotsvergleich.h"
#include "calc/loans/angebotsvergleich_print.h"
#include "calc/loans/hypotilg_dialog.h"
#include "calc/loans/ratenkredit_dialog.h"
#include "core/catalogue.h"
#include "core/clock.h"
#include "core/dbf.h"
#include "core/opstack.h"
#include "core/program_settings.h"
#include "toolkit/help.h"
#include "toolkit/messages.h"
#include "toolkit/print.h"
#include "ui/blocks.h"
#include "ui/grid_dialog.h"
#include "ui/saved_plans_dialog.h"

namespace vestral::calc {

namespace {

namespace dbf = core::dbf;

constexpr const char* kWorkTable = "VERGLEICH";
constexpr const char* kTopic = "Angebotsvergleich";

std::string field(const char* stem, size_t offer) {
    return stem + std::to_string(offer + 1);
}

// One record per row of the comparison: its label and number, and per offer the shown text (T),
// the figure (W, blank when there is none) and whether it is the cheapest of the row (M).
dbf::Layout work_layout() {
    dbf::Layout l{{"ZEILE", 'C', 40, 0}, {"NR", 'N', 2, 0}};
    for (size_t i = 0; i < kMaxOffers; ++i) {
        l.push_back({field("T", i), 'C', 40, 0});
        l.push_back({field("W", i), 'N', 16, 3});
        l.push_back({field("M", i), 'N', 1, 0});
    }
    return l;
}

const OfferRowSpec& row_of(const dbf::Table& t) {
    const int nr = static_cast<int>(t.num("NR"));
    return kOfferRows[static_cast<size_t>(std::clamp(nr, 0, static_cast<int>(kOfferRows.size()) - 1))];
}

std::vector<ui::GridColumn> comparison_columns(const std::vector<Offer>& offers) {
    std::vector<ui::GridColumn> c;
    c.push_back(
        {"", [](const dbf::Table& t) { return QString::fromStdString(t.trimmed("ZEILE")) + "  "; },
         Qt::AlignLeft | Qt::AlignVCenter,
         [](const dbf::Table& t) -> ui::GridValue { return QString::fromStdString(t.trimmed("ZEILE")); }});
    for (size_t i = 0; i < offers.size(); ++i) {
        const std::string text = field("T", i), value = field("W", i), mark = field("M", i);
        ui::GridColumn col;
        col.heading = QString::fromStdString(offer_heading(offers[i], static_cast<int>(i) + 1)) + " ";
        col.cell = [text](const dbf::Table& t) {
            return "  " + QString::fromStdString(t.trimmed(text)) + " ";
        };
        col.value = [text, value](const dbf::Table& t) -> ui::GridValue {
            const OfferRowSpec& row = row_of(t);
            if (!*row.mask) return QString::fromStdString(t.trimmed(text));
            if (t.blank(value)) return QString();
            return core::Num{t.num(value), row.decimals};
        };
        col.marked = [mark](const dbf::Table& t) { return t.num(mark) == 1; };
        c.push_back(std::move(col));
    }
    return c;
}

class VergleichDialog : public ui::GridDialog {
  public:
    VergleichDialog(QWidget* parent, dbf::Table& work, dbf::Table& hypo, dbf::Table& kred)
        : GridDialog(parent, kTopic, work, comparison_columns({})),
          topic_(kTopic),
          work_(work),
          hypo_(hypo),
          kred_(kred) {
        setObjectName("vergleichDialog");
        grid()->setObjectName("vergleichGrid");
        add_hypo_ = ui::button(this, "addMortgageButton", "&Tilgungsplan hinzufügen…",
                               "gespeicherten Hypotheken-Tilgungsplan hinzufügen",
                               "Einen gespeicherten Hypotheken-Tilgungsplan in den Vergleich aufnehmen");
        add_kred_ = ui::button(this, "addCreditButton", "&Ratenkredit hinzufügen…",
                               "gespeicherten Ratenkredit hinzufügen",
                               "Einen gespeicherten Ratenkredit in den Vergleich aufnehmen");
        remove_ = ui::button(this, "removeButton", "Angebot ent&fernen", "letztes Angebot entfernen",
                             "Das letzte Angebot aus dem Vergleich nehmen");
        print_ = ui::button(this, "printButton", "&Drucken", "Vergleich drucken", "Vergleich drucken");
        auto* help = ui::button(this, "helpButton", "&Hilfe", "Hilfe aufrufen", QString(), true);
        ui::on_click(add_hypo_, [this] { addMortgage(); });
        ui::on_click(add_kred_, [this] { addCredit(); });
        ui::on_click(remove_, [this] {
            if (!offers_.empty()) offers_.pop_back();
            refill();
        });
        ui::on_click(
            print_, [this] { toolkit::print_job(this, vergleich_druck(offers_, core::settings().title())); });
        ui::on_click_always(help, [this] { toolkit::help::show_current(this); });
        for (QPushButton* b : {add_hypo_, add_kred_, remove_, print_, help}) extraRow()->addWidget(b);
        extraRow()->addStretch();
        refill();
        fitAndCenter(380, 720);
    }

    const std::vector<Offer>& offers() const { return offers_; }

  private:
    bool room() {
        if (static_cast<int>(offers_.size()) < kMaxOffers) return true;
        toolkit::information(this, "Angebotsvergleich",
                             "Es können höchstens vier Angebote verglichen werden.");
        return false;
    }

    void addMortgage() {
        VESTRAL_OP("TABDATA");
        if (!room()) return;
        const auto taken =
            ui::tabdata(this, hypo_, "Tabelle der Hypotheken-Tilgungspläne",
                        "Es sind noch keine Tilgungspläne gespeichert !", hypobank_list_columns());
        if (!taken) return;
        hypo_.go_to(*taken);
        offers_.push_back(mortgage_offer(hypobank_load(hypo_)));
        refill();
    }

    void addCredit() {
        VESTRAL_OP("TABDATA");
        if (!room()) return;
        const auto taken =
            ui::tabdata(this, kred_, "Tabelle der Ratenkredit-Tilgungspläne",
                        "Es sind noch keine Tilgungspläne gespeichert !", kredbank_list_columns());
        if (!taken) return;
        kred_.go_to(*taken);
        offers_.push_back(credit_offer(kredbank_load(kred_), core::today().year));
        refill();
    }

    // The work table from the offers, then the grid over it.
    void refill() {
        work_.zap();
        for (size_t r = 0; r < kOfferRows.size(); ++r) {
            const OfferRowSpec& def = kOfferRows[r];
            const std::vector<bool> marks = cheapest(offers_, def);
            work_.append_blank();
            work_.set_str("ZEILE", def.label);
            work_.set_num("NR", static_cast<double>(r));
            for (size_t i = 0; i < offers_.size(); ++i) {
                work_.set_str(field("T", i), offer_text(offers_[i], def));
                const std::optional<double> v = offer_value(offers_[i], def.row);
                if (v)
                    work_.set_num(field("W", i), *v);
                else
                    work_.set_blank(field("W", i));
                work_.set_num(field("M", i), marks[i] ? 1 : 0);
            }
        }
        work_.flush();
        grid()->setColumns(comparison_columns(offers_));
        grid()->clearSelection();
        const bool full = static_cast<int>(offers_.size()) >= kMaxOffers;
        add_hypo_->setEnabled(!full);
        add_kred_->setEnabled(!full);
        remove_->setEnabled(!offers_.empty());
        print_->setEnabled(!offers_.empty());
        resize(std::max(width(), grid()->fullWidth() + 24), height());
    }

    toolkit::help::TopicScope topic_;
    dbf::Table& work_;
    dbf::Table& hypo_;
    dbf::Table& kred_;
    std::vector<Offer> offers_;
    QPushButton* add_hypo_ = nullptr;
    QPushButton* add_kred_ = nullptr;
    QPushButton* remove_ = nullptr;
    QPushButton* print_ = nullptr;
};

}  // namespace

void angebotsvergleich(QWidget* parent) {
    VESTRAL_OP("ANGEBOTSVERGLEICH");
    dbf::Table hypo, kred, work;
    if (!core::open_catalogue_table(hypo, core::settings().dir, "HYPOBANK") ||
        !core::open_catalogue_table(kred, core::settings().dir, "KREDBANK"))
        return;
    const std::filesystem::path file = core::settings().dir / (std::string(kWorkTable) + ".DBF");
    std::error_code ec;
    std::filesystem::remove(file, ec);
    if (!dbf::create_table(file, work_layout()) || !work.open(file, "DVERGL")) return;
    {
        VergleichDialog d(parent, work, hypo, kred);
        d.exec();
    }
    work.close();
    std::filesystem::remove(file, ec);
}

}  // namespace vestral::calc
