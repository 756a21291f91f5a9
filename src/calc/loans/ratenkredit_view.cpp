#include "calc/loans/ratenkredit.h"
#include "calc/loans/ratenkredit_dialog.h"
#include "core/dbf.h"
#include "core/opstack.h"
#include "toolkit/help.h"
#include "ui/grid_dialog.h"

namespace vestral::calc {

void rk_tabelle(QWidget* parent, core::dbf::Table& ratkred) {
    VESTRAL_OP("RK_TABELLE");
    namespace f = ratkred_fields;
    // The view has its own topic and leaves the main topic behind when it closes.
    toolkit::help::TopicScope topic("Ratenkredit-Berechnung");
    std::vector<ui::GridColumn> columns = {
        {"Monat ",
         [](const core::dbf::Table& t) { return QString::number(static_cast<long>(t.num(f::MONAT))); }},
        ui::masked_column("Kredit ", f::KREDIT, "@E 999,999,999.99 "),
        ui::masked_column("Zinsen ", f::ZINSEN, "@E 9,999,999.99 "),
        ui::masked_column("Zinssumme ", f::ZINSSUM, "@E 999,999,999.99 "),
        ui::masked_column("Tilgung ", f::TILGUNG, "@E 9,999,999.99 "),
        ui::masked_column("Tilgungssumme ", f::TILGSUM, "@E 999,999,999.99 "),
        ui::masked_column("mon. Rate ", f::MONRATE, "@E 9,999,999.99 "),
        ui::masked_column("Gezahlt ", f::GETILGT, "@E 999,999,999.99 "),
    };
    ratkred.set_order(0);
    ratkred.go_top();
    ui::GridDialog dialog(parent, "Ratenkredit-Tilgungsplan", ratkred, std::move(columns));
    dialog.setObjectName("rkTabelle");
    dialog.grid()->setObjectName("rkGrid");
    dialog.grid()->reload();
    dialog.fitAndCenter(460, 640);
    dialog.exec();
    ratkred.go_top();
}

}  // namespace vestral::calc
