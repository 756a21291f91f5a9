#include "core/opstack.h"

#include <atomic>

namespace vestral::core {

namespace {
// A fixed array rather than a growing container: the crash writer reads it from a signal handler,
// where a reallocation half done would be read as garbage.
constexpr int kMaxDepth = 128;
const char* g_names[kMaxDepth];
std::atomic<int> g_depth{0};
}  // namespace

OpScope::OpScope(const char* name) {
    int d = g_depth.load(std::memory_order_relaxed);
    if (d < kMaxDepth) g_names[d] = name;
    g_depth.store(d + 1, std::memory_order_release);
}

OpScope::~OpScope() {
    g_depth.fetch_sub(1, std::memory_order_release);
}

std::vector<std::string> op_stack() {
    std::vector<std::string> out;
    int d = g_depth.load(std::memory_order_acquire);
    if (d > kMaxDepth) d = kMaxDepth;
    for (int i = d - 1; i >= 0; --i) out.emplace_back(g_names[i]);
    return out;
}

int op_stack_raw(const char** out, int max) noexcept {
    int d = g_depth.load(std::memory_order_acquire);
    if (d > kMaxDepth) d = kMaxDepth;
    int n = 0;
    for (int i = d - 1; i >= 0 && n < max; --i) out[n++] = g_names[i];
    return n;
}

}  // namespace vestral::core
