// The instalment credit on the longest plan its bounds allow: a rate-driven credit that needs 999
// months, computed alone and with its 999 rows written to RATKRED.
#include <benchmark/benchmark.h>

#include <unistd.h>
#include <filesystem>

#include "calc/loans/ratenkredit.h"
#include "core/catalogue.h"
#include "core/dbf.h"

using namespace vestral;

namespace {

// 10 000 at 6 %: 50 interest a month; 60,02 repays 10,02 a month and needs 999 months.
calc::RkInputs longest() {
    calc::RkInputs in;
    in.CBANKNAME = "Kreditbank";
    in.NKREDIT = 10000;
    in.NMONZINS = 6;
    in.NMONRATE = 60.02;
    return in;
}

void BM_RkRech999Months(benchmark::State& state) {
    const calc::RkInputs in = longest();
    for (auto _ : state) {
        calc::RkOutcome o = calc::rk_rech(in, 2024);
        if (o.refused || o.rows.size() != 999) state.SkipWithError("not a 999-month plan");
        benchmark::DoNotOptimize(o);
    }
}
BENCHMARK(BM_RkRech999Months);

void BM_RkRech999MonthsWritingRatkred(benchmark::State& state) {
    namespace fs = std::filesystem;
    const fs::path dir = fs::temp_directory_path() / ("vestral_bench_rk_" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const fs::path file = dir / "RATKRED.DBF";
    core::dbf::create_table(file, core::catalogue_layout("RATKRED"));
    {
        core::dbf::Table t;
        if (!t.open(file, "DRATK")) {
            state.SkipWithError("RATKRED cannot be opened");
        } else {
            const calc::RkInputs in = longest();
            for (auto _ : state) {
                calc::RkOutcome o = calc::rk_rech(in, 2024);
                calc::write_ratkred_rows(t, o.rows);
            }
            if (t.count() != 999) state.SkipWithError("RATKRED does not hold 999 rows");
        }
    }
    fs::remove_all(dir);
}
BENCHMARK(BM_RkRech999MonthsWritingRatkred)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
