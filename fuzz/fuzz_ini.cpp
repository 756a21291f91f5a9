// Feeds arbitrary bytes to the settings document: parse, read, write, read back.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/ini.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view in(reinterpret_cast<const char*>(data), size);
    // The first bytes choose a section, key and value; the whole input is the document.
    auto piece = [&](size_t from, size_t len) {
        return from < in.size() ? in.substr(from, len) : std::string_view();
    };
    std::string section(piece(0, 6)), key(piece(6, 5)), value(piece(11, 9));
    vestral::core::IniDocument doc(in);
    (void)doc.get(section, key, "x");
    (void)doc.has(section, key);
    doc.set(section, key, value);
    std::string out = doc.bytes();
    vestral::core::IniDocument again(out);
    (void)again.get(section, key, "x");
    again.set("NEU", key, value);
    (void)again.bytes();
    return 0;
}
