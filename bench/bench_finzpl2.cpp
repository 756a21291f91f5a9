// The letting financing plan at the largest the bounds allow: two 50-year mortgages, a 120-month
// credit, 50 years of depreciation and income and rent at their upper bounds growing by 19 % a
// year, computed alone and with the copies read from disk and FINZPL2 written.
#include <benchmark/benchmark.h>

#include <unistd.h>
#include <filesystem>

#include "../tests/support/plan_sources.h"
#include "calc/plans/finzpl2.h"
#include "core/catalogue.h"
#include "core/dbf.h"

using namespace vestral;
namespace fs = std::filesystem;

namespace {

calc::Fp2Sources sources() {
    calc::Fp2Sources s;
    s.loans.hyp1 = test::plans::fifty_year_mortgage("Hausbank", 600000);
    s.loans.hyp2 = test::plans::fifty_year_mortgage("Zweitbank", 600000);
    calc::RkInputs rk;
    rk.CBANKNAME = "Kreditbank";
    rk.NKREDIT = 20000;
    rk.NMONZINS = 6;
    rk.NLAUFZEIT = 120;
    s.loans.kre = calc::rk_rech(rk, 2007).rows;
    std::vector<calc::Fp2AfaRow> afa;
    for (int k = 0; k < 50; ++k) afa.push_back({2007 + k, 6000, 2});
    s.afa = afa;
    return s;
}

constexpr calc::Fp1Include kAll{true, true, false, true, true, false};
constexpr calc::Fp2Income kMost{99999999, 19, 9999999, 19, 2};

void BM_Fp2Rech(benchmark::State& state) {
    const calc::Fp2Sources s = sources();
    for (auto _ : state) {
        calc::Fp1Outcome o = calc::fp2_rech(kAll, s, kMost, 2005);
        benchmark::DoNotOptimize(o);
    }
}
BENCHMARK(BM_Fp2Rech);

template <class Row>
void write_copy(const fs::path& file, const char* layout, const core::dbf::RecordMap<Row>& map,
                const std::vector<Row>& rows) {
    core::dbf::create_table(file, core::catalogue_layout(layout));
    core::dbf::Table t;
    if (t.open(file, "COPY")) map.write_rows(t, rows);
}

void BM_Fp2RechReadingCopiesWritingFinzpl2(benchmark::State& state) {
    const fs::path dir = fs::temp_directory_path() / ("vestral_bench_fp2_" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const calc::Fp2Sources s = sources();
    write_copy(dir / calc::kFp2Files.hyp1, "HYPOTHEK", calc::hypothek_map(), *s.loans.hyp1);
    write_copy(dir / calc::kFp2Files.hyp2, "HYPOTHEK", calc::hypothek_map(), *s.loans.hyp2);
    write_copy(dir / calc::kFp2Files.kre, "RATKRED", calc::ratkred_map(), *s.loans.kre);
    write_copy(dir / calc::fp2_files::kAfa, "STEU75E", calc::fp2afa_map(), *s.afa);
    {
        core::dbf::Table plan;
        if (!calc::fp_open_plan(plan, dir, calc::FpVariant::Letting)) {
            state.SkipWithError("FINZPL2 cannot be opened");
        } else {
            for (auto _ : state) {
                calc::Fp2Sources read{calc::fp1_read_sources(dir, kAll, calc::FpVariant::Letting),
                                      calc::fp2_read_depreciation(dir)};
                const calc::Fp1Outcome o = calc::fp2_rech(kAll, read, kMost, 2005);
                calc::fp2_write_plan(plan, o.rows);
            }
            if (plan.count() < 50) state.SkipWithError("FINZPL2 does not hold the plan");
        }
    }
    fs::remove_all(dir);
}
BENCHMARK(BM_Fp2RechReadingCopiesWritingFinzpl2)->Unit(benchmark::kMillisecond);

}  // namespace
BENCHMARK_MAIN();
