// The building-savings plan at its largest: both phases close to their 1 200-month bound,
// computed alone and computed with BAUSPAR written to disk.
#include <benchmark/benchmark.h>

#include <unistd.h>
#include <filesystem>

#include "calc/loans/bausparen.h"
#include "core/catalogue.h"
#include "core/dbf.h"

using namespace vestral;

namespace {

// Savings of 826 a month without fees or interest need 1 199 months to pass 99 % of 999 999;
// the repayment rate is then chosen as the smallest that still ends the loan within its bound.
calc::BauInputs largest() {
    calc::BauInputs in;
    in.CBANKNAME = "Bausparkasse Nord";
    in.NBAUSPSUM = 999999;
    in.NABJAHR = 1990;
    in.NSPARTEIL = 99;
    in.NMONRATE = 826;
    in.NTZINSSTZ = 1;
    in.NTFESTZEIT = 20;
    in.NTZINSNACH = 1;
    size_t best = 0;
    double best_t = 1;
    for (double t = 0.5; t <= 20; t += 0.01) {
        in.NTILGANNO = t;
        const auto out = calc::bau_rech(in);
        if (!out.refused && out.rows.size() > best) {
            best = out.rows.size();
            best_t = t;
        }
        if (!out.refused) break;  // larger rates only shorten the loan
    }
    in.NTILGANNO = best_t;
    return in;
}

const calc::BauInputs& inputs() {
    static const calc::BauInputs in = largest();
    return in;
}

void BM_BauRech(benchmark::State& state) {
    const auto& in = inputs();
    size_t rows = 0;
    for (auto _ : state) {
        auto out = calc::bau_rech(in);
        rows = out.rows.size();
        benchmark::DoNotOptimize(out);
    }
    state.counters["rows"] = static_cast<double>(rows);
}
BENCHMARK(BM_BauRech)->Unit(benchmark::kMillisecond);

void BM_BauRechAndWrite(benchmark::State& state) {
    const auto& in = inputs();
    const auto dir =
        std::filesystem::temp_directory_path() / ("bench_bausparen_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const auto file = dir / "BAUSPAR.DBF";
    core::dbf::create_table(file, core::catalogue_layout("BAUSPAR"));
    {
        core::dbf::Table table;
        if (!table.open(file, "BAUSPAR")) {
            state.SkipWithError("BAUSPAR cannot be opened");
            return;
        }
        size_t rows = 0;
        for (auto _ : state) {
            auto out = calc::bau_rech(in);
            calc::write_bauspar_rows(table, out.rows);
            rows = out.rows.size();
        }
        state.counters["rows"] = static_cast<double>(rows);
    }
    std::filesystem::remove_all(dir);
}
BENCHMARK(BM_BauRechAndWrite)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
