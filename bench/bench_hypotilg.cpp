// The mortgage plan on the longest plan the bounds allow: a repayment rate of 0 runs the whole
// 50-year fixed period (600 months and 50 year-end rows), computed alone and with HYPOTHEK written.
#include <benchmark/benchmark.h>

#include <unistd.h>
#include <filesystem>
#include <string>

#include "calc/loans/hypotilg.h"
#include "core/catalogue.h"
#include "core/dbf.h"

using namespace vestral;

namespace {

calc::HypoInputs longest() {
    calc::HypoInputs in;
    in.CBANKNAME = "Sparkasse";
    in.NHYPOTHEK = 99999999;
    in.NZINSSATZ = 19;
    in.NTILGANNO = 0;
    in.DABDATUM = core::Date{1990, 1, 1};
    in.NLAUFZEIT = 50;
    in.NKONTOGEB = 30;
    in.NKREDITDM = 1000;
    in.NZINSNACH = 19;
    in.NEINMALDM = 1000;
    in.NEINMALMO = 6;
    return in;
}

void BM_HtTab(benchmark::State& state) {
    const calc::HypoInputs in = longest();
    size_t rows = 0;
    for (auto _ : state) {
        calc::HypoOutcome o = calc::ht_tab(in);
        rows = o.rows.size();
        benchmark::DoNotOptimize(o);
    }
    state.counters["rows"] = static_cast<double>(rows);
}
BENCHMARK(BM_HtTab);

void BM_HtTabWritingHypothek(benchmark::State& state) {
    const auto dir =
        std::filesystem::temp_directory_path() / ("bench_hypotilg_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const auto file = dir / "HYPOTHEK.DBF";
    core::dbf::create_table(file, core::catalogue_layout("HYPOTHEK"));
    {
        core::dbf::Table table;
        if (!table.open(file, "HYPOTHEK")) {
            state.SkipWithError("cannot open HYPOTHEK");
            return;
        }
        const calc::HypoInputs in = longest();
        for (auto _ : state) {
            calc::HypoOutcome o = calc::ht_tab(in);
            calc::write_hypothek_rows(table, o.rows);
        }
        state.counters["rows"] = static_cast<double>(table.count());
    }
    std::filesystem::remove_all(dir);
}
BENCHMARK(BM_HtTabWritingHypothek);

}  // namespace

BENCHMARK_MAIN();
