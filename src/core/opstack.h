// A light stack of the named operations running now, for the fault log's call list.
#pragma once

#include <string>
#include <vector>

namespace vestral::core {

class OpScope {
public:
    explicit OpScope(const char* name);
    ~OpScope();
    OpScope(const OpScope&) = delete;
    OpScope& operator=(const OpScope&) = delete;
};

// Innermost first.
std::vector<std::string> op_stack();

}  // namespace vestral::core

#define VESTRAL_OP(name) ::vestral::core::OpScope vestral_op_scope_##__LINE__(name)
