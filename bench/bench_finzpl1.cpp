// The owner-occupied financing plan over its largest sources: two 50-year mortgages (600 months
// each), the building-savings example contract, a 120-month credit and the eight allowance years,
// merged alone and with the copies read from disk and FINZPL1 written.
#include <benchmark/benchmark.h>

#include <unistd.h>
#include <filesystem>

#include "../tests/calc/loans/bausparen_example.h"
#include "../tests/support/plan_sources.h"
#include "calc/plans/finzpl1.h"
#include "core/catalogue.h"
#include "core/dbf.h"

using namespace vestral;
namespace fs = std::filesystem;

namespace {

calc::Fp1Sources sources() {
    calc::Fp1Sources s;
    s.hyp1 = test::plans::fifty_year_mortgage("Hausbank", 600000);
    s.hyp2 = test::plans::fifty_year_mortgage("Zweitbank", 600000);
    std::vector<calc::BausparRow> bau;
    for (const calc::BausparRow& r : calc::bau_rech(test::bausparen_first_case()).rows)
        if (r.KEY == 1) bau.push_back(r);
    s.bau = bau;
    calc::RkInputs rk;
    rk.CBANKNAME = "Kreditbank";
    rk.NKREDIT = 20000;
    rk.NMONZINS = 6;
    rk.NLAUFZEIT = 120;
    s.kre = calc::rk_rech(rk, 2007).rows;
    calc::AbschrInputs a;
    a.NFAMSTAND = 2;
    a.NEINKOMM = 100000;
    a.NKINDER = 2;
    a.NKAUFPREIS = 300000;
    a.NEINZUG = 2005;
    a.LNEUBAU = a.LA10E = true;
    s.afa = calc::abschrech(a).rows;
    return s;
}

constexpr calc::Fp1Include kAll{true, true, true, true, true, false};

void BM_Fp1Rech(benchmark::State& state) {
    const calc::Fp1Sources s = sources();
    if (s.hyp1->size() < 590) state.SkipWithError("the mortgage is not a 50-year plan");
    for (auto _ : state) {
        calc::Fp1Outcome o = calc::fp1_rech(kAll, s);
        benchmark::DoNotOptimize(o);
    }
}
BENCHMARK(BM_Fp1Rech);

template <class Row>
void write_copy(const fs::path& file, const char* layout, const core::dbf::RecordMap<Row>& map,
                const std::vector<Row>& rows) {
    core::dbf::create_table(file, core::catalogue_layout(layout));
    core::dbf::Table t;
    if (t.open(file, "COPY")) map.write_rows(t, rows);
}

void BM_Fp1RechReadingCopiesWritingFinzpl1(benchmark::State& state) {
    const fs::path dir = fs::temp_directory_path() / ("vestral_bench_fp1_" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const calc::Fp1Sources s = sources();
    write_copy(dir / calc::fp1_files::kHyp1, "HYPOTHEK", calc::hypothek_map(), *s.hyp1);
    write_copy(dir / calc::fp1_files::kHyp2, "HYPOTHEK", calc::hypothek_map(), *s.hyp2);
    write_copy(dir / calc::fp1_files::kBau, "BAUSPAR", calc::bauspar_map(), *s.bau);
    write_copy(dir / calc::fp1_files::kKre, "RATKRED", calc::ratkred_map(), *s.kre);
    write_copy(dir / calc::kAbscheplFile, "ABSCHEPL", calc::abschepl_map(), *s.afa);
    {
        core::dbf::Table plan;
        if (!calc::fp1_open_plan(plan, dir)) {
            state.SkipWithError("FINZPL1 cannot be opened");
        } else {
            for (auto _ : state) {
                const calc::Fp1Outcome o = calc::fp1_rech(kAll, calc::fp1_read_sources(dir, kAll));
                calc::fp1_write_plan(plan, o.rows);
            }
            if (plan.count() < 50) state.SkipWithError("FINZPL1 does not hold the plan");
        }
    }
    fs::remove_all(dir);
}
BENCHMARK(BM_Fp1RechReadingCopiesWritingFinzpl1)->Unit(benchmark::kMillisecond);

}  // namespace
BENCHMARK_MAIN();
