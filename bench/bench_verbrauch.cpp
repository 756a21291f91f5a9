// The billing history under load: VERBRCH holding 10 000 periods of other kinds, then one period
// of electricity stored (overwritten) and loaded again, each with its own open and close of the
// table, as the dialog does it.
#include <benchmark/benchmark.h>

#include <unistd.h>
#include <filesystem>

#include "calc/consumption/verbrauch.h"
#include "core/catalogue.h"
#include "core/clock.h"
#include "core/dbf.h"
#include "core/record_map.h"

using namespace vestral;
namespace fs = std::filesystem;

namespace {

struct History {
    fs::path dir = fs::temp_directory_path() / ("vestral_bench_verbr_" + std::to_string(::getpid()));
    fs::path file = dir / "VERBRCH.DBF";
    History() {
        fs::create_directories(dir);
        core::dbf::create_table(file, core::catalogue_layout("VERBRCH"));
        core::dbf::Table t;
        t.open(file, "VERBRCH");
        calc::VerbrInputs in;
        in.CLIEFER = "Versorger";
        calc::VerbrResults res;
        res.NSUMME = 726;
        const calc::VerbrKind others[] = {calc::VerbrKind::Wasser, calc::VerbrKind::Abwasser,
                                          calc::VerbrKind::Gas};
        for (int i = 0; i < 10000; ++i) {
            in.DABLES1 = *core::add_days({1990, 1, 1}, i);
            t.append_blank();
            calc::verbrch_map().write(t, calc::verbr_row(others[i % 3], in, res));
        }
        t.flush();
    }
    ~History() { fs::remove_all(dir); }
};

calc::VerbrInputs electricity() {
    calc::VerbrInputs in;
    in.NZAEHLER1 = 10000;
    in.NZAEHLER2 = 13500;
    in.DABLES1 = {2006, 1, 1};
    in.DABLES2 = {2006, 12, 31};
    in.NKWHDM = 0.18;
    in.NGRUNDDM = 8;
    in.NABSCHLAG = 60;
    return in;
}

void BM_VerbrSaveAmongOtherKinds(benchmark::State& state) {
    History h;
    const calc::VerbrInputs in = electricity();
    const calc::VerbrResults res = calc::verbr_rech(calc::VerbrKind::Strom, in, {}).results;
    for (auto _ : state) {
        core::dbf::Table t;
        t.open(h.file, "VERBRCH");
        calc::verbr_store(t, calc::VerbrKind::Strom, in, res);
    }
    core::dbf::Table t;
    t.open(h.file, "VERBRCH");
    if (t.reccount() != 10001) state.SkipWithError("the period was not overwritten");
}
BENCHMARK(BM_VerbrSaveAmongOtherKinds)->Unit(benchmark::kMillisecond);

void BM_VerbrLoadAmongOtherKinds(benchmark::State& state) {
    History h;
    {
        core::dbf::Table t;
        t.open(h.file, "VERBRCH");
        calc::verbr_store(t, calc::VerbrKind::Strom, electricity(), {});
    }
    for (auto _ : state) {
        core::dbf::Table t;
        t.open(h.file, "VERBRCH");
        auto row = calc::verbr_find(t, calc::VerbrKind::Strom, {});
        if (!row || row->ZAEHLER2 != 13500) state.SkipWithError("the period was not found");
        benchmark::DoNotOptimize(row);
    }
}
BENCHMARK(BM_VerbrLoadAmongOtherKinds)->Unit(benchmark::kMillisecond);

void BM_VerbrRech(benchmark::State& state) {
    const calc::VerbrInputs in = electricity();
    for (auto _ : state) benchmark::DoNotOptimize(calc::verbr_rech(calc::VerbrKind::Strom, in, {}));
}
BENCHMARK(BM_VerbrRech);

}  // namespace
BENCHMARK_MAIN();
