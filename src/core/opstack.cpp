#include "core/opstack.h"

namespace vestral::core {

namespace {
std::vector<const char*>& stack() {
    static std::vector<const char*> s;
    return s;
}
}  // namespace

OpScope::OpScope(const char* name) { stack().push_back(name); }
OpScope::~OpScope() { stack().pop_back(); }

std::vector<std::string> op_stack() {
    std::vector<std::string> out;
    for (auto it = stack().rbegin(); it != stack().rend(); ++it) out.emplace_back(*it);
    return out;
}

}  // namespace vestral::core
