// Costs of the table layer: appending a large result table against writing the same bytes
// plainly, and the start-up catalogue with and without a migration.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "core/catalogue.h"
#include "core/dbf.h"

namespace fs = std::filesystem;
using namespace vestral::core;

namespace {

constexpr long kRecords = 100000;

class BenchDir {
  public:
    BenchDir() {
        std::string tmpl = (fs::temp_directory_path() / "vestral-bench-XXXXXX").string();
        path_ = ::mkdtemp(tmpl.data());
    }
    ~BenchDir() {
        std::error_code ec;
        fs::remove_all(path_, ec);
    }
    const fs::path& path() const { return path_; }

  private:
    fs::path path_;
};

std::string read_all(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

void fill_hypothek(dbf::Table& t, long i) {
    t.set_str("BANKNAME", "Sparkasse Köln-Bonn");
    t.set_num("KEY", 1);
    t.set_date("DATUM", {2024 + static_cast<int>(i / 12) % 50, 1 + static_cast<int>(i % 12), 1});
    t.set_num("ABJAHR", 2024);
    t.set_num("ABMONAT", 1 + i % 12);
    for (const char* f :
         {"HYPOTHEK", "ZINSEN", "ZINSSUM", "TILGUNG", "TILGSUM", "ANUITAT", "EINMALDM", "EINMSUM", "GEBUEHR",
          "GEBUSUM", "MONRATE", "MONRSUM", "RESTHYP", "GEZAHLT", "RESTZINS"})
        t.set_num(f, 250000.0 - static_cast<double>(i) * 1.37);
}

double seconds_since(std::chrono::steady_clock::time_point t0) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

// Appends and flushes 100 000 HYPOTHEK records, then writes the very same bytes with one plain
// buffered write into a fresh file; "ratio" is table time / plain time. With filled = 1 every
// field is also assigned (number and text conversion included).
void BM_AppendFlushVsPlainWrite(benchmark::State& state) {
    const bool filled = state.range(0) != 0;
    BenchDir dir;
    fs::path table = dir.path() / "HYPOTHEK.DBF";
    fs::path plain = dir.path() / "PLAIN.DBF";
    double table_sum = 0, plain_sum = 0;
    for (auto _ : state) {
        fs::remove(table);
        dbf::create_table(table, catalogue_layout("HYPOTHEK"));
        dbf::Table t;
        t.open(table, "DHYPO");
        auto t0 = std::chrono::steady_clock::now();
        for (long i = 0; i < kRecords; ++i) {
            t.append_blank();
            if (filled) fill_hypothek(t, i);
        }
        t.flush();
        t.close();
        double table_s = seconds_since(t0);

        std::string bytes = read_all(table);
        fs::remove(plain);
        auto p0 = std::chrono::steady_clock::now();
        std::FILE* f = std::fopen(plain.c_str(), "wb");
        std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fclose(f);
        double plain_s = seconds_since(p0);

        state.SetIterationTime(table_s);
        table_sum += table_s;
        plain_sum += plain_s;
    }
    state.counters["ratio"] = table_sum / plain_sum;
    state.counters["plain_ms"] = 1000 * plain_sum / static_cast<double>(state.iterations());
}
BENCHMARK(BM_AppendFlushVsPlainWrite)
    ->Arg(0)
    ->Arg(1)
    ->ArgName("filled")
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

void BM_CheckDbfExisting(benchmark::State& state) {
    BenchDir dir;
    check_dbf(dir.path());
    for (auto _ : state) check_dbf(dir.path());
}
BENCHMARK(BM_CheckDbfExisting)->Unit(benchmark::kMillisecond);

// A store of saved plans with 10 000 records in an older layout (ZINSSATZ narrower) migrated.
void BM_CheckDbfMigrate10000(benchmark::State& state) {
    BenchDir dir;
    check_dbf(dir.path());
    dbf::Layout old = catalogue_layout("HYPOBANK");
    for (auto& f : old)
        if (f.name == "ZINSSATZ") f.width = 7;
    fs::path file = dir.path() / "HYPOBANK.DBF";
    fs::path proto = dir.path() / "proto.bin";
    dbf::create_table(proto, old);
    {
        dbf::Table t;
        t.open(proto, "P");
        for (int i = 0; i < 10000; ++i) {
            t.append_blank();
            t.set_str("BANKNAME", "Bank " + std::to_string(i));
            t.set_num("HYPOTHEK", 100000 + i);
            t.set_num("ZINSSATZ", 4.25);
            t.set_date("ABDATUM", {2020, 1, 1});
        }
    }
    std::string bytes = read_all(proto);
    fs::remove(proto);
    for (auto _ : state) {
        state.PauseTiming();
        {
            std::ofstream out(file, std::ios::binary | std::ios::trunc);
            out << bytes;
        }
        state.ResumeTiming();
        check_dbf(dir.path());
    }
}
BENCHMARK(BM_CheckDbfMigrate10000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
