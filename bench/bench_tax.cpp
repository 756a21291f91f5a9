// The tax calculators on their largest plans: the income-tax projection over the longest span the
// start year allows (1958 to 2007), and the eight grant years of the home-ownership allowance,
// each with and without writing its work table.
#include <benchmark/benchmark.h>

#include <unistd.h>
#include <filesystem>

#include "calc/tax/eigenheimzulage.h"
#include "calc/tax/ekst.h"
#include "core/dbf.h"

using namespace vestral;

namespace {

calc::EkstInputs longest_projection() {
    return {99'999'999, 2, 1958, 9};
}

calc::AbschrInputs grant_2002() {
    calc::AbschrInputs in;
    in.NFAMSTAND = 2;
    in.NEINKOMM = 150'000;
    in.NEINKSTEIG = 99;
    in.NKINDER = 30;
    in.NKAUFPREIS = 60'000;
    in.NEINZUG = 2002;
    in.LNEUBAU = in.LA10E = in.LENERGIE = in.LOEKOZUL = true;
    return in;
}

std::filesystem::path bench_dir() {
    auto d = std::filesystem::temp_directory_path() / ("vestral_bench_tax_" + std::to_string(::getpid()));
    std::filesystem::create_directories(d);
    return d;
}

void BM_Ekstmake(benchmark::State& state) {
    calc::EkstInputs in = longest_projection();
    for (auto _ : state) benchmark::DoNotOptimize(calc::ekstmake(in));
}
BENCHMARK(BM_Ekstmake);

void BM_EkstmakeAndWrite(benchmark::State& state) {
    auto dir = bench_dir();
    auto file = dir / calc::kEksttempFile;
    core::dbf::create_table(file, calc::kEksttempLayout);
    core::dbf::Table table;
    if (!table.open(file, calc::kEksttempAlias)) {
        state.SkipWithError("cannot open EKSTTEMP");
        return;
    }
    calc::EkstInputs in = longest_projection();
    for (auto _ : state) calc::write_ekst_rows(table, calc::ekstmake(in).rows);
    table.close();
    std::filesystem::remove_all(dir);
}
BENCHMARK(BM_EkstmakeAndWrite);

void BM_Abschrech(benchmark::State& state) {
    calc::AbschrInputs in = grant_2002();
    for (auto _ : state) benchmark::DoNotOptimize(calc::abschrech(in));
}
BENCHMARK(BM_Abschrech);

void BM_AbschrechAndWrite(benchmark::State& state) {
    auto dir = bench_dir();
    auto file = dir / calc::kAbscheplFile;
    core::dbf::create_table(file, calc::abschepl_layout());
    calc::AbschrInputs in = grant_2002();
    // The dialog opens the table only while it writes it, so the open and close are timed too.
    for (auto _ : state) {
        calc::AbschrOutcome out = calc::abschrech(in);
        core::dbf::Table table;
        if (!table.open(file, calc::kAbscheplAlias)) {
            state.SkipWithError("cannot open ABSCHEPL");
            break;
        }
        calc::write_abschepl_rows(table, out.rows);
        table.close();
    }
    std::filesystem::remove_all(dir);
}
BENCHMARK(BM_AbschrechAndWrite);

}  // namespace

BENCHMARK_MAIN();
