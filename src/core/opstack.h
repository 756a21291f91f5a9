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
// The same without allocating, safe in a signal handler: fills `out` with up to `max` names.
int op_stack_raw(const char** out, int max) noexcept;

}  // namespace vestral::core

#define VESTRAL_OP_CAT2(a, b) a##b
#define VESTRAL_OP_CAT(a, b) VESTRAL_OP_CAT2(a, b)
#define VESTRAL_OP(name) ::vestral::core::OpScope VESTRAL_OP_CAT(vestral_op_scope_, __LINE__)(name)
