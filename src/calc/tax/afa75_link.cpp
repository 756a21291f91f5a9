#include "calc/tax/afa75_link.h"

#include "core/catalogue.h"
#include "core/dbf.h"
#include "core/numbers.h"
#include "core/opstack.h"

namespace vestral::calc {

double afa75_cost(const core::IniFile& ini) {
    return core::read_key(ini.load(), kAfa75CostSettings, &Afa75Cost::Kaufpreis);
}

bool set_afa75_cost(core::IniFile& ini, double cost) {
    return ini.set_many(kAfa75CostSettings.name,
                        {core::key_entry(kAfa75CostSettings, &Afa75Cost::Kaufpreis, cost)});
}

bool afa75_cost_equals(double stored, double cost) {
    return core::format_shortest(stored) == core::format_shortest(cost);
}

bool empty_steu75e(const std::filesystem::path& dir) {
    VESTRAL_OP("STEU75E");
    core::dbf::Table table;
    if (!core::open_catalogue_table(table, dir, "STEU75E", kSteu75eAlias)) return false;
    table.zap();
    const bool ok = table.flush();
    table.close();
    return ok;
}

}  // namespace vestral::calc
