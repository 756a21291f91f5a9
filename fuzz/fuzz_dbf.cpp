// Opens arbitrary bytes as a table: navigate in record order and in a keyed order, read every
// field, change a record and flush, so reading and writing meet damaged headers and records.
// The file lives in /dev/shm: on disk, truncating and rewriting it each run makes the fuzzer wait on I/O.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <string>

#include "core/dbf.h"
#include "core/fault.h"

using namespace vestral::core;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string file = "/dev/shm/vestral-fuzz-" + std::to_string(::getpid()) + ".DBF";
    static bool installed = [] {
        set_fault_handler([](const Fault&) { return FaultAnswer::Default; });
        return true;
    }();
    (void)installed;
    {
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    (void)dbf::read_layout(file);
    dbf::Table t;
    if (!t.open(file, "FUZZ")) return 0;
    const auto layout = t.layout();
    for (t.go_top(); !t.eof(); t.skip())
        for (const auto& f : layout) {
            (void)t.num(f.name);
            (void)t.str(f.name);
            (void)t.trimmed(f.name);
            (void)t.date(f.name);
        }
    const std::string first = layout.front().name;
    int o = t.add_order(
        "K", [&](const dbf::Table& x) { return x.str(first); },
        [&](const dbf::Table& x) { return !x.trimmed(first).empty(); });
    t.set_order(o);
    t.go_bottom();
    t.skip(-3);
    t.skip(2);
    (void)t.count();
    t.go_top();
    if (!t.eof()) {
        std::string key = t.str(first);
        (void)t.seek(key);
        t.delete_record();
        t.skip();
    }
    t.set_order(0);
    t.append_blank();
    // The last bytes of the input also serve as a number to store, so odd values meet the formatter.
    double value = 12345.678;
    if (size >= 8) std::memcpy(&value, data + size - 8, sizeof value);
    for (const auto& f : layout) {
        t.set_num(f.name, value);
        (void)t.num(f.name);
        t.set_str(f.name, "Grüße €");
        t.set_date(f.name, {2024, 2, 29});
    }
    t.go_to(1);
    (void)t.raw_record();
    t.flush();
    t.pack();
    t.close();
    if (t.open(file, "FUZZ")) t.zap();
    return 0;
}
