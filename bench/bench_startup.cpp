// Start-up without its two modal dialogs (fresh and existing program directory) against a bare Qt
// main window, with the peak resident memory after each.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QMainWindow>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "app/startup.h"
#include "toolkit/messages.h"

namespace fs = std::filesystem;
using namespace vestral;

namespace {

long vm_hwm_kb() {
    std::ifstream in("/proc/self/status");
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind("VmHWM:", 0) == 0) return std::stol(line.substr(6));
    }
    return -1;
}

fs::path fresh_dir(const std::string& tag) {
    static int n = 0;
    fs::path dir = fs::temp_directory_path() /
                   ("vestral_bench_" + tag + "_" + std::to_string(::getpid()) + "_" + std::to_string(n++));
    fs::create_directories(dir);
    fs::copy_file(fs::path(VESTRAL_SOURCE_DIR) / "data" / "VESTRAL.INI", dir / "VESTRAL.INI",
                  fs::copy_options::overwrite_existing);
    fs::permissions(dir / "VESTRAL.INI", fs::perms::owner_read | fs::perms::owner_write);
    return dir;
}

app::StartupOptions options(const fs::path& dir) {
    app::StartupOptions o;
    o.dir = dir;
    o.show_about = false;
    o.show_disclaimer = false;
    o.desktop = QRect(0, 0, 1600, 1200);
    return o;
}

// One start and end of a run; returns the nanoseconds of start() + finish().
double one_start(const fs::path& dir) {
    QElapsedTimer t;
    t.start();
    app::Session s(options(dir));
    if (s.start() != app::StartOutcome::Running) std::abort();
    QApplication::processEvents();
    s.window()->close();
    s.finish();
    return static_cast<double>(t.nsecsElapsed());
}

double one_bare() {
    QElapsedTimer t;
    t.start();
    QMainWindow w;
    w.resize(801, 601);
    w.show();
    QApplication::processEvents();
    w.close();
    return static_cast<double>(t.nsecsElapsed());
}

void BM_BareMainWindow(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(one_bare());
    state.counters["VmHWM_kB"] = static_cast<double>(vm_hwm_kb());
}

void BM_StartupFreshDirectory(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        fs::path dir = fresh_dir("fresh");
        state.ResumeTiming();
        benchmark::DoNotOptimize(one_start(dir));
        state.PauseTiming();
        fs::remove_all(dir);
        state.ResumeTiming();
    }
    state.counters["VmHWM_kB"] = static_cast<double>(vm_hwm_kb());
}

void BM_StartupExistingDirectory(benchmark::State& state) {
    fs::path dir = fresh_dir("existing");
    one_start(dir);  // tables, backup copy and Errors directory now exist
    for (auto _ : state) benchmark::DoNotOptimize(one_start(dir));
    fs::remove_all(dir);
    state.counters["VmHWM_kB"] = static_cast<double>(vm_hwm_kb());
}

BENCHMARK(BM_BareMainWindow)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StartupFreshDirectory)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StartupExistingDirectory)->Unit(benchmark::kMillisecond);

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication qapp(argc, argv);
    // No box may wait for an answer during a measurement.
    toolkit::set_message_script([](const toolkit::MsgRequest&) { return toolkit::MsgAnswer::Ok; });
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();

    std::vector<double> bare, fresh, existing;
    fs::path dir = fresh_dir("ratio");
    one_start(dir);
    for (int i = 0; i < 15; ++i) {
        bare.push_back(one_bare());
        fs::path f = fresh_dir("ratio_fresh");
        fresh.push_back(one_start(f));
        fs::remove_all(f);
        existing.push_back(one_start(dir));
    }
    fs::remove_all(dir);
    const double b = median(bare), f = median(fresh), e = median(existing);
    std::printf(
        "\nMedian of 15: bare main window %.2f ms, start-up fresh %.2f ms (%.1f x), existing %.2f ms (%.1f "
        "x)\n",
        b / 1e6, f / 1e6, f / b, e / 1e6, e / b);
    std::printf("Peak resident memory (VmHWM) at the end: %ld kB\n", vm_hwm_kb());
    benchmark::Shutdown();
    return 0;
}
