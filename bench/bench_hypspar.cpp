// The split financing's term-driven search on the largest target the bounds allow, computed alone
// and with its rows written to HYPSPAR; the euro-by-euro search it replaces, on a smaller target;
// and the mortgage target value's search and plan on its longest term.
#include <benchmark/benchmark.h>

#include <unistd.h>
#include <filesystem>

#include "calc/loans/hypoziel.h"
#include "calc/loans/hypspar.h"
#include "core/catalogue.h"
#include "core/dbf.h"

using namespace vestral;

namespace {

// 99 999 999 over 50 years at 1 % with the largest fee and surcharge: 600 savings and mortgage months.
calc::HsInputs largest(int years) {
    calc::HsInputs in;
    in.CSPARNAME = "Sparbank";
    in.NTILGSUMM = 99999999;
    in.NSPZINS = 1;
    in.NABJAHR = 2024;
    in.NSPLZEIT = years;
    in.NSPKTOGEB = 999;
    in.NSPAUSZU = 19;
    in.CTILGNAME = "Hypobank";
    in.NHYPOTHEK = 99999999;
    in.NHYPZSATZ = 6;
    in.NHYPZFEST = 10;
    in.NHYPZNACH = 7;
    return in;
}

void BM_HsRechLargestTarget(benchmark::State& state) {
    const calc::HsInputs in = largest(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        calc::HsOutcome o = calc::hs_rech(in);
        if (o.refused != calc::HsRefusal::None) state.SkipWithError("refused");
        benchmark::DoNotOptimize(o);
    }
}
BENCHMARK(BM_HsRechLargestTarget)->Arg(1)->Arg(50)->Unit(benchmark::kMillisecond);

void BM_HsRechLargestTargetWritingHypspar(benchmark::State& state) {
    namespace fs = std::filesystem;
    const fs::path dir = fs::temp_directory_path() / ("vestral_bench_hs_" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const fs::path file = dir / "HYPSPAR.DBF";
    core::dbf::create_table(file, core::catalogue_layout("HYPSPAR"));
    {
        core::dbf::Table t;
        if (!t.open(file, "DHYSPAR")) {
            state.SkipWithError("HYPSPAR cannot be opened");
        } else {
            calc::hypspar_orders(t);
            const calc::HsInputs in = largest(50);
            for (auto _ : state) {
                calc::HsOutcome o = calc::hs_rech(in);
                calc::write_hypspar_rows(t, o.rows);
            }
        }
    }
    fs::remove_all(dir);
}
BENCHMARK(BM_HsRechLargestTargetWritingHypspar)->Unit(benchmark::kMillisecond);

// The euro-by-euro search against the bisection on a target the former still manages.
void BM_HsSearchLinear(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(calc::hs_search_rate_linear(1000000, 1, 1, 19, 999));
}
BENCHMARK(BM_HsSearchLinear)->Unit(benchmark::kMillisecond);
void BM_HsSearchBisection(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(calc::hs_search_rate(1000000, 1, 1, 19, 999));
}
BENCHMARK(BM_HsSearchBisection)->Unit(benchmark::kMicrosecond);

// The target value on its longest term: 99 years down to 0.
void BM_HzTabLongest(benchmark::State& state) {
    calc::HzInputs in{99999999, 19, 99, 0};
    for (auto _ : state) benchmark::DoNotOptimize(calc::hz_tab(in, 2024));
}
BENCHMARK(BM_HzTabLongest)->Unit(benchmark::kMillisecond);

void BM_HzTabLongestWritingHypotemp(benchmark::State& state) {
    namespace fs = std::filesystem;
    const fs::path dir = fs::temp_directory_path() / ("vestral_bench_hz_" + std::to_string(::getpid()));
    fs::create_directories(dir);
    {
        core::dbf::Table t;
        if (!core::make_hydbf(dir, t)) {
            state.SkipWithError("HYPOTEMP cannot be made");
        } else {
            calc::HzInputs in{99999999, 19, 99, 0};
            for (auto _ : state) calc::write_hypotemp_rows(t, calc::hz_tab(in, 2024).rows);
        }
    }
    fs::remove_all(dir);
}
BENCHMARK(BM_HzTabLongestWritingHypotemp)->Unit(benchmark::kMillisecond);

}  // namespace
BENCHMARK_MAIN();
