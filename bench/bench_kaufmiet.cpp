// "Kaufen oder Mieten": the computation alone and with its year rows written to MIETKAUF, on the
// first example and on the longest plan the field bounds allow (the year bound of 9999 is the
// limit; a smaller repayment is refused).
#include <benchmark/benchmark.h>

#include <unistd.h>
#include <filesystem>
#include <string>

#include "calc/purchase/kaufmiet.h"
#include "core/dbf.h"

namespace {

using vestral::calc::KmInputs;

KmInputs example() {
    KmInputs in;
    in.NKALTMIETE = 500;
    in.NMIETERH = 2;
    in.NKAUFPREIS = 100000;
    in.NEIGENKAP = 20000;
    in.NHYPOZINS = 5;
    in.NTILGANNO = 2;
    return in;
}

// The highest price at the lowest rate and a repayment just large enough to finish within the
// year bound: about 9000 year rows.
KmInputs longest() {
    KmInputs in;
    in.NKALTMIETE = 99999;
    in.NMIETERH = 2;
    in.NKAUFPREIS = 9999999;
    in.NEIGENKAP = 0;
    in.NHYPOZINS = 0.001;
    in.NTILGANNO = 0.011;
    return in;
}

void compute(benchmark::State& state, const KmInputs& in) {
    size_t rows = 0;
    for (auto _ : state) {
        auto out = vestral::calc::km_rech(in);
        rows = out.rows.size();
        benchmark::DoNotOptimize(out);
    }
    state.counters["years"] = static_cast<double>(rows);
}

void compute_and_write(benchmark::State& state, const KmInputs& in) {
    namespace fs = std::filesystem;
    const fs::path file =
        fs::temp_directory_path() / ("bench_mietkauf_" + std::to_string(::getpid()) + ".dbf");
    vestral::core::dbf::create_table(file, vestral::calc::kMietkaufLayout);
    {
        vestral::core::dbf::Table t;
        if (!t.open(file, "DMIT")) {
            state.SkipWithError("cannot open the work table");
            return;
        }
        size_t rows = 0;
        for (auto _ : state) {
            t.zap();
            auto out = vestral::calc::km_rech(in);
            vestral::calc::write_mietkauf_rows(t, out.rows);
            rows = out.rows.size();
        }
        state.counters["years"] = static_cast<double>(rows);
    }
    fs::remove(file);
}

void BM_KmRech_Example(benchmark::State& s) {
    compute(s, example());
}
void BM_KmRech_Longest(benchmark::State& s) {
    compute(s, longest());
}
void BM_KmRechWrite_Example(benchmark::State& s) {
    compute_and_write(s, example());
}
void BM_KmRechWrite_Longest(benchmark::State& s) {
    compute_and_write(s, longest());
}

}  // namespace

BENCHMARK(BM_KmRech_Example);
BENCHMARK(BM_KmRech_Longest)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_KmRechWrite_Example);
BENCHMARK(BM_KmRechWrite_Longest)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
