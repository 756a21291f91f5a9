// The plan's copies of its sources' work tables, and the plan table itself.
#include <cstdio>

#include "calc/plans/finzpl1.h"
#include "calc/plans/finzpl2.h"
#include "core/catalogue.h"
#include "core/files.h"
#include "core/mask.h"
#include "core/opstack.h"

namespace vestral::calc {

namespace {

namespace fs = std::filesystem;
namespace dbf = core::dbf;

bool same_bank(std::string_view a, std::string_view b) {
    return core::to_upper_name(core::trim(a)) == core::to_upper_name(core::trim(b));
}

// The source's record count and the bank of its first record; nothing when it cannot be read.
std::optional<std::pair<long, std::string>> source_head(const fs::path& dir, std::string_view file,
                                                        const char* table) {
    if (!core::exists_ci(dir, file)) return std::nullopt;
    dbf::Table t;
    if (!t.open_unchecked(core::resolve_ci(dir, file), table)) return std::nullopt;
    t.go_top();
    std::pair<long, std::string> head{t.count(), t.eof() ? std::string() : t.trimmed("BANKNAME")};
    t.close();
    return head;
}

// Replaces the copy `target` with the records of `source` that pass `filter`, in the layout of
// the catalogue table `layout_of`.
bool make_copy(const fs::path& dir, std::string_view source, std::string_view target,
               std::string_view layout_of, dbf::Table::FilterFn filter = {}) {
    const fs::path to =
        core::exists_ci(dir, target) ? core::resolve_ci(dir, target) : dir / std::string(target);
    if (!dbf::create_table(to, core::catalogue_layout(layout_of))) return false;
    dbf::Table t;
    if (!t.open_unchecked(to, std::string(target.substr(0, target.find('.'))))) return false;
    const bool ok = t.append_from(core::resolve_ci(dir, source), std::move(filter)) && t.flush();
    t.close();
    return ok;
}

// The bank's records of a store, when the store has any.
void copy_bank_terms(const fs::path& dir, std::string_view store, const char* table, std::string_view target,
                     const std::string& bank) {
    const auto head = source_head(dir, store, table);
    if (!head || head->first == 0) return;
    make_copy(dir, store, target, table,
              [bank](const dbf::Table& t) { return same_bank(t.trimmed("BANKNAME"), bank); });
}

bool key_one(const dbf::Table& t) {
    return t.num("KEY") == 1;
}

template <class Row>
std::optional<std::vector<Row>> read_copy(const fs::path& dir, std::string_view file,
                                          const dbf::RecordMap<Row>& map) {
    if (!core::exists_ci(dir, file)) return std::nullopt;
    dbf::Table t;
    if (!t.open(core::resolve_ci(dir, file), std::string(file.substr(0, file.find('.')))))
        return std::nullopt;
    std::vector<Row> rows = map.read_rows(t);
    t.close();
    return rows;
}

template <class Row>
std::optional<std::optional<Row>> copy_head(const fs::path& dir, std::string_view file,
                                            const dbf::RecordMap<Row>& map) {
    if (!core::exists_ci(dir, file)) return std::nullopt;
    dbf::Table t;
    if (!t.open(core::resolve_ci(dir, file), std::string(file.substr(0, file.find('.')))))
        return std::optional<Row>{};
    map.bind(t);
    t.go_top();
    std::optional<Row> first;
    if (!t.eof()) first = map.read(t);
    t.close();
    return first;
}

}  // namespace

Fp1Copied fp1_copy_mortgage(const fs::path& dir, int which, FpVariant v) {
    const FpFiles& f = fp_files(v);
    VESTRAL_OP("FP1_EXTERN");
    Fp1Copied c;
    const auto head = source_head(dir, "HYPOTHEK.DBF", "HYPOTHEK");
    if (!head || head->first == 0) return c;
    c.bank = head->second;
    c.taken = make_copy(dir, "HYPOTHEK.DBF", which == 1 ? f.hyp1 : f.hyp2, "HYPOTHEK", key_one);
    if (c.taken) copy_bank_terms(dir, "HYPOBANK.DBF", "HYPOBANK", which == 1 ? f.hyt1 : f.hyt2, c.bank);
    return c;
}

Fp1Copied fp1_copy_contract(const fs::path& dir, FpVariant v) {
    const FpFiles& f = fp_files(v);
    VESTRAL_OP("FP1_EXTERN");
    Fp1Copied c;
    const auto head = source_head(dir, "BAUSPAR.DBF", "BAUSPAR");
    if (!head || head->first == 0) return c;
    c.bank = head->second;
    c.taken = make_copy(dir, "BAUSPAR.DBF", f.bau, "BAUSPAR", key_one);
    if (c.taken) copy_bank_terms(dir, "BSPBANK.DBF", "BSPBANK", f.bau2, c.bank);
    return c;
}

Fp1Copied fp1_copy_credit(const fs::path& dir, FpVariant v) {
    const FpFiles& f = fp_files(v);
    VESTRAL_OP("FP1_EXTERN");
    Fp1Copied c;
    const auto head = source_head(dir, "RATKRED.DBF", "RATKRED");
    if (!head || head->first == 0) return c;
    c.bank = head->second;
    c.taken = make_copy(dir, "RATKRED.DBF", f.kre, "RATKRED");
    if (c.taken) copy_bank_terms(dir, "KREDBANK.DBF", "KREDBANK", f.kre2, c.bank);
    return c;
}

Fp1CopyHeads fp1_copy_heads(const fs::path& dir, FpVariant v) {
    const FpFiles& f = fp_files(v);
    Fp1CopyHeads h;
    h.hyp1 = copy_head(dir, f.hyp1, hypothek_map());
    h.hyp2 = copy_head(dir, f.hyp2, hypothek_map());
    const auto bau = copy_head(dir, f.bau, bauspar_map());
    h.bau_rows = bau && *bau;
    h.kre = copy_head(dir, f.kre, ratkred_map());
    return h;
}

Fp1Sources fp1_read_sources(const fs::path& dir, const Fp1Include& inc, FpVariant v) {
    const FpFiles& f = fp_files(v);
    Fp1Sources s;
    if (inc.hyp1) s.hyp1 = read_copy(dir, f.hyp1, hypothek_map());
    if (inc.hyp2) s.hyp2 = read_copy(dir, f.hyp2, hypothek_map());
    if (inc.bau) s.bau = read_copy(dir, f.bau, bauspar_map());
    if (inc.kre) s.kre = read_copy(dir, f.kre, ratkred_map());
    if (inc.afa && v == FpVariant::Owner) s.afa = read_copy(dir, kAbscheplFile, abschepl_map());
    return s;
}

bool fp1_write_plan(dbf::Table& finzpl1, const std::vector<Fp1Row>& rows) {
    return finzpl1_map().write_rows(finzpl1, rows);
}

bool fp1_open_plan(dbf::Table& finzpl1, const fs::path& dir) {
    return fp_open_plan(finzpl1, dir, FpVariant::Owner);
}

bool fp_open_plan(dbf::Table& plan, const fs::path& dir, FpVariant v) {
    if (!core::open_catalogue_table(plan, dir, v == FpVariant::Letting ? "FINZPL2" : "FINZPL1")) return false;
    const int order = plan.add_order("JAHR", [](const dbf::Table& t) {
        char key[16];
        std::snprintf(key, sizeof key, "%04d", static_cast<int>(t.num("JAHR")));
        return std::string(key);
    });
    plan.set_order(order);
    plan.go_top();
    return true;
}

bool fp2_write_plan(dbf::Table& finzpl2, const std::vector<Fp1Row>& rows) {
    return finzpl2_map().write_rows(finzpl2, rows);
}

Fp1Copied fp2_copy_depreciation(const fs::path& dir) {
    VESTRAL_OP("FP2_EXTERN");
    Fp1Copied c;
    const auto head = source_head(dir, "STEU75E.DBF", "STEU75E");
    if (!head || head->first == 0) return c;
    c.taken = make_copy(dir, "STEU75E.DBF", fp2_files::kAfa, "STEU75E");
    return c;
}

std::optional<std::vector<Fp2AfaRow>> fp2_read_depreciation(const fs::path& dir) {
    return read_copy(dir, fp2_files::kAfa, fp2afa_map());
}

}  // namespace vestral::calc
