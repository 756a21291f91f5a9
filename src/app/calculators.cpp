#include "app/calculators.h"

#include <QHash>

#include "calc/consumption/egkz_dialog.h"
#include "calc/consumption/verbrauch_dialog.h"
#include "calc/loans/angebotsvergleich_dialog.h"
#include "calc/loans/bausparen_dialog.h"
#include "calc/loans/hypotilg_dialog.h"
#include "calc/loans/hypoziel_dialog.h"
#include "calc/loans/hypspar_dialog.h"
#include "calc/loans/ratenkredit_dialog.h"
#include "calc/plans/finzpl1_dialog.h"
#include "calc/plans/finzpl2_dialog.h"
#include "calc/property/gbw_dialog.h"
#include "calc/property/mietrendite_dialog.h"
#include "calc/property/verkwert_dialog.h"
#include "calc/purchase/kaufmiet_dialog.h"
#include "calc/purchase/kosten1_dialog.h"
#include "calc/purchase/kosten2_dialog.h"
#include "calc/purchase/kredrahmen_dialog.h"
#include "calc/tax/afa75_dialog.h"
#include "calc/tax/afawert_dialog.h"
#include "calc/tax/eigenheimzulage_dialog.h"
#include "calc/tax/ekst_dialog.h"

namespace vestral::app {

namespace {
QHash<QString, Launcher>& registry() {
    static QHash<QString, Launcher> r;
    return r;
}
}  // namespace

void register_calculator(const QString& operation, Launcher launcher) {
    registry().insert(operation, std::move(launcher));
}

bool has_calculator(const QString& operation) {
    return registry().contains(operation);
}

bool launch_calculator(const QString& operation, QWidget* parent) {
    auto it = registry().find(operation);
    if (it == registry().end()) return false;
    it.value()(parent);
    return true;
}

void register_calculators() {
    register_calculator("HYPOTILG", [](QWidget* p) { calc::hypotilg(p, 0); });
    register_calculator("KAUFMIET", [](QWidget* p) { calc::kaufmiet(p); });
    register_calculator("BAUSPAREN", [](QWidget* p) { calc::bausparen(p); });
    register_calculator("BER_EKST", [](QWidget* p) { calc::ber_ekst(p); });
    register_calculator("ABSCHR_PROG", [](QWidget* p) { calc::abschr_prog(p); });
    register_calculator("P75E_PROG", [](QWidget* p) { calc::p75e_prog(p); });
    register_calculator("RATENKREDIT", [](QWidget* p) { calc::ratenkredit(p); });
    register_calculator("ANGEBOTSVERGLEICH", [](QWidget* p) { calc::angebotsvergleich(p); });
    register_calculator("KOSTEN1", [](QWidget* p) { calc::kosten1::kosten1(p); });
    register_calculator("FINZPL1", [](QWidget* p) { calc::finzpl1(p); });
    register_calculator("FINZPL2", [](QWidget* p) { calc::finzpl2(p); });
    register_calculator("KOSTEN2", [](QWidget* p) { calc::kosten2::kosten2(p); });
    register_calculator("HYPOZIEL", [](QWidget* p) { calc::hypoziel(p); });
    register_calculator("HYPSPAR", [](QWidget* p) { calc::hypspar(p); });
    register_calculator("KREDRAHMEN", [](QWidget* p) { calc::kredrahmen(p); });
    register_calculator("BER_GBW", [](QWidget* p) { calc::ber_gbw(p); });
    register_calculator("BER_GBWM", [](QWidget* p) { calc::ber_gbwm(p); });
    register_calculator("BER_NMIET", [](QWidget* p) { calc::ber_nmiet(p); });
    register_calculator("BER_BMIET1", [](QWidget* p) { calc::ber_bmiet1(p); });
    register_calculator("VERKWERT", [](QWidget* p) { calc::verkwert(p); });
    register_calculator("BER_AFA", [](QWidget* p) { calc::ber_afa(p); });
    register_calculator("BER_STROM", [](QWidget* p) { calc::ber_strom(p); });
    register_calculator("BER_WASSER", [](QWidget* p) { calc::ber_wasser(p); });
    register_calculator("BER_ABWASSER", [](QWidget* p) { calc::ber_abwasser(p); });
    register_calculator("BER_GAS", [](QWidget* p) { calc::ber_gas(p); });
    register_calculator("BER_EGKZ", [](QWidget* p) { calc::ber_egkz(p); });
}

}  // namespace vestral::app
