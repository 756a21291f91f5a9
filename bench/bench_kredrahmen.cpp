// "Mögliche Belastung": the 29 x 29 loan amounts alone, and made into a fresh KREDIT table as
// every opening of the dialog does (create, fill, close, delete). The table has a fixed size, so
// this is also its largest case.
#include <benchmark/benchmark.h>

#include <unistd.h>
#include <filesystem>
#include <string>

#include "calc/purchase/kredrahmen.h"
#include "core/dbf.h"

namespace {

void BM_KredRech(benchmark::State& state) {
    size_t cells = 0;
    for (auto _ : state) {
        auto rows = vestral::calc::kred_rech();
        cells = rows.size() * vestral::calc::kKredRateCount;
        benchmark::DoNotOptimize(rows);
    }
    state.counters["cells"] = static_cast<double>(cells);
}

void BM_KredRechFill(benchmark::State& state) {
    namespace fs = std::filesystem;
    const fs::path dir = fs::temp_directory_path() / ("bench_kredit_" + std::to_string(::getpid()));
    fs::create_directories(dir);
    vestral::core::dbf::Table t;
    if (!vestral::calc::kred_make(dir, t)) {
        state.SkipWithError("cannot make the work table");
        return;
    }
    for (auto _ : state) vestral::calc::kred_fill(t);
    state.counters["rows"] = static_cast<double>(t.reccount());
    vestral::calc::kred_drop(t);
    fs::remove_all(dir);
}

void BM_KredrahmenOpenToClose(benchmark::State& state) {
    namespace fs = std::filesystem;
    const fs::path dir = fs::temp_directory_path() / ("bench_kredit_life_" + std::to_string(::getpid()));
    fs::create_directories(dir);
    for (auto _ : state) {
        vestral::core::dbf::Table t;
        if (!vestral::calc::kred_make(dir, t)) {
            state.SkipWithError("cannot make the work table");
            break;
        }
        vestral::calc::kred_fill(t);
        vestral::calc::kred_drop(t);
    }
    fs::remove_all(dir);
}

}  // namespace

BENCHMARK(BM_KredRech);
BENCHMARK(BM_KredRechFill)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_KredrahmenOpenToClose)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
