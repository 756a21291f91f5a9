// The depreciation for letting on its largest plan: fifty years in three stages (code 521) on the
// highest cost the field allows, with and without writing STEU75E.
#include <benchmark/benchmark.h>

#include <unistd.h>
#include <filesystem>

#include "calc/tax/afa75.h"
#include "core/dbf.h"

using namespace vestral;

namespace {

calc::Afa75Inputs largest_plan() {
    calc::Afa75Inputs in;
    in.NKAUFPREIS = 99'999'999;
    in.DKAUFDAT = {1986, 1, 1};
    in.DFERTDAT = {1987, 6, 1};
    in.NAFAART = calc::kAfaDeclining;
    return in;
}

void BM_P75eRech(benchmark::State& state) {
    const calc::Afa75Inputs in = largest_plan();
    for (auto _ : state) benchmark::DoNotOptimize(calc::p75e_rech(in));
    state.counters["rows"] = static_cast<double>(calc::p75e_rech(in).rows.size());
}
BENCHMARK(BM_P75eRech);

void BM_P75eRechAndWrite(benchmark::State& state) {
    auto dir = std::filesystem::temp_directory_path() / ("vestral_bench_afa75_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const auto file = dir / calc::kSteu75eFile;
    core::dbf::create_table(file, calc::steu75e_layout());
    {
        core::dbf::Table table;
        if (!table.open(file, calc::kSteu75eAlias)) {
            state.SkipWithError("cannot open STEU75E");
            return;
        }
        const calc::Afa75Inputs in = largest_plan();
        // The dialog keeps the table open and empties it before every computation.
        for (auto _ : state) calc::write_steu75e_rows(table, calc::p75e_rech(in).rows);
    }
    std::filesystem::remove_all(dir);
}
BENCHMARK(BM_P75eRechAndWrite);

}  // namespace

BENCHMARK_MAIN();
