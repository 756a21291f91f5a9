// KREDIT on disk: made afresh for every opening of the dialog and removed again afterwards.
#include <system_error>

#include "calc/purchase/kredrahmen.h"
#include "core/files.h"
#include "core/opstack.h"

namespace vestral::calc {

bool kred_make(const std::filesystem::path& dir, core::dbf::Table& table) {
    VESTRAL_OP("KRED_MAKE");
    // A file left by an earlier run, in whatever letter case, is replaced.
    std::error_code ec;
    const auto old = core::resolve_ci(dir, kKreditFile);
    if (std::filesystem::exists(old, ec)) std::filesystem::remove(old, ec);
    const auto file = dir / kKreditFile;
    if (!core::dbf::create_table(file, kredit_layout())) return false;
    return table.open(file, kKreditAlias);
}

bool kred_fill(core::dbf::Table& table) {
    VESTRAL_OP("KRED_RECH");
    table.zap();
    for (const KreditRow& row : kred_rech()) {
        table.append_blank();
        table.set_num("MONRATE", row.MONRATE);
        for (int i = 0; i < kKredRateCount; ++i)
            table.set_num(kred_field(i), row.WERT[static_cast<size_t>(i)]);
    }
    const bool ok = table.flush();
    table.go_top();
    return ok;
}

std::vector<KreditRow> kred_read(core::dbf::Table& table) {
    std::vector<KreditRow> rows;
    for (table.go_top(); !table.eof(); table.skip()) {
        KreditRow row;
        row.MONRATE = table.num("MONRATE");
        for (int i = 0; i < kKredRateCount; ++i) row.WERT[static_cast<size_t>(i)] = table.num(kred_field(i));
        rows.push_back(row);
    }
    table.go_top();
    return rows;
}

void kred_drop(core::dbf::Table& table) {
    if (!table.is_open()) return;
    const auto file = table.path();
    table.close();
    std::error_code ec;
    std::filesystem::remove(file, ec);
}

}  // namespace vestral::calc
