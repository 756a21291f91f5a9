// HS_SHOW: the savings plan and the mortgage plan of HYPSPAR, each with its compressed view.
#include <QCheckBox>
#include <QHBoxLayout>

#include "calc/loans/hypspar_dialog.h"
#include "core/dbf.h"
#include "core/mask.h"
#include "core/opstack.h"
#include "toolkit/messages.h"
#include "ui/blocks.h"
#include "ui/grid_dialog.h"

namespace vestral::calc {

namespace {

namespace dbf = core::dbf;
constexpr const char* kBig = "@E 999,999,999.99 ";
constexpr const char* kSmall = "@E 9,999,999.99 ";

ui::GridColumn date_column(const char* field) {
    return {"Datum",
            [field](const dbf::Table& t) { return QString::fromStdString(core::format_date(t.date(field))); },
            Qt::AlignCenter};
}

}  // namespace

std::vector<ui::GridColumn> hs_savings_columns(bool compressed) {
    return {
        date_column("SPARDAT"),
        ui::masked_column("Sparsumme ", "SPARSUMM", kBig),
        ui::masked_column("Zinsen ", "SPARZINS", kSmall),
        ui::masked_column("Zinssumme ", "SPARZSUM", kBig),
        ui::masked_column("Sparrate ", "SPARRATE", kSmall),
        ui::masked_column("Kto.-FGbühr ", compressed ? "SGEBUSUM" : "SGEBUEHR", kSmall),
        ui::masked_column("Ausg.Aufschl. ", "SGEBAUSDM", kSmall),
        ui::masked_column("Kontostand ", "SPARKONTO", kBig),
    };
}

std::vector<ui::GridColumn> hs_mortgage_columns(bool compressed) {
    const core::Mask big = core::Mask::parse(kBig);
    return {
        date_column("TILGDAT"),
        ui::masked_column("Hypothek ", "HYPOTHEK", kBig),
        ui::masked_column("Zinsrate ", "ANUITAT", kSmall),
        ui::masked_column("Zinssumme ", "ZINSSUM", kBig),
        ui::masked_column("Gebühren ", compressed ? "TGEBUSUM" : "TGEBUEHR", kBig),
        ui::GridColumn{"Kontostand ",
                       [big](const dbf::Table& t) {
                           return QString::fromStdString(big.format(t.num("HYPOTHEK") + t.num("TGEBUSUM")));
                       },
                       Qt::AlignRight | Qt::AlignVCenter,
                       [](const dbf::Table& t) -> ui::GridValue {
                           return core::Num{t.num("HYPOTHEK") + t.num("TGEBUSUM"), 2};
                       }},
    };
}

void hs_show(QWidget* parent, core::dbf::Table& hypspar, int first_order, int view) {
    VESTRAL_OP("HS_SHOW");
    if (view != static_cast<int>(HsView::Savings) && view != static_cast<int>(HsView::Mortgage)) {
        toolkit::warning(parent, "Problem", "Programmfehler !!!");
        return;
    }
    const bool savings = view == static_cast<int>(HsView::Savings);
    // The mortgage view walks the mortgage months: months after the savings ended have rows of their own.
    const int detailed = first_order + (savings ? 0 : 2);
    hypspar.set_order(detailed);
    hypspar.go_top();
    ui::GridDialog d(parent,
                     savings ? "Splittfinanzierung - Ansparplan" : "Splittfinanzierung - Tilgungsplan",
                     hypspar, savings ? hs_savings_columns(false) : hs_mortgage_columns(false));
    d.setObjectName(savings ? "hsSavingsDialog" : "hsMortgageDialog");
    d.grid()->setObjectName("hsGrid");
    auto* compress = new QCheckBox(" &komprimierte Darstellung", &d);
    compress->setObjectName("compressedBox");
    ui::status_hint(compress, "detaillierte oder jährlich Darstellung");
    d.extraRow()->addWidget(compress);
    d.extraRow()->addStretch();
    QObject::connect(compress, &QCheckBox::toggled, &d, [&, savings, detailed](bool on) {
        ui::run_guarded(&d, [&] {
            hypspar.set_order(detailed + (on ? 1 : 0));
            hypspar.go_top();
            d.grid()->setColumns(savings ? hs_savings_columns(on) : hs_mortgage_columns(on));
            d.grid()->reload();
            d.grid()->scrollToTop();
            if (d.grid()->rows() > 0) d.grid()->selectRow(0);
        });
    });
    d.grid()->reload();
    d.fitAndCenter(480, 700);
    d.exec();
    hypspar.set_order(first_order);
    hypspar.go_top();
}

std::vector<ui::GridColumn> hyspbank_list_columns() {
    namespace f = hyspbank_fields;
    return {
        {" Sparbank",
         [](const dbf::Table& t) { return " " + QString::fromStdString(t.trimmed(f::SPARNAME)); },
         Qt::AlignLeft | Qt::AlignVCenter},
        {" Hypobank",
         [](const dbf::Table& t) { return " " + QString::fromStdString(t.trimmed(f::TILGNAME)); },
         Qt::AlignLeft | Qt::AlignVCenter},
        ui::masked_column("Sparbetrag ", f::TILGSUMM, "@E 99,999,999.99 "),
        ui::masked_column("Zinssatz ", f::SPZINS, "@E 99.999 "),
        ui::masked_column("mon. Rate ", f::SPMRATE, "@E 999,999.99 "),
    };
}

}  // namespace vestral::calc
