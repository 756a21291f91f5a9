// A scripted fault handler for tests: records every fault and answers from a script (the default
// answer once the script is used up), and puts the previous handler back afterwards.
#pragma once

#include <deque>
#include <vector>

#include "core/fault.h"

namespace vestral::test {

class ScriptedFaults {
  public:
    explicit ScriptedFaults(core::FaultAnswer otherwise = core::FaultAnswer::Default)
        : otherwise_(otherwise) {
        old_ = core::set_fault_handler([this](const core::Fault& f) {
            faults.push_back(f);
            if (on_fault) on_fault(f);
            if (script.empty()) return otherwise_;
            core::FaultAnswer a = script.front();
            script.pop_front();
            return a;
        });
    }
    ~ScriptedFaults() { core::set_fault_handler(std::move(old_)); }
    ScriptedFaults(const ScriptedFaults&) = delete;
    ScriptedFaults& operator=(const ScriptedFaults&) = delete;

    std::deque<core::FaultAnswer> script;
    std::vector<core::Fault> faults;
    std::function<void(const core::Fault&)> on_fault;  // runs before the answer is given

  private:
    core::FaultAnswer otherwise_;
    core::FaultHandler old_;
};

}  // namespace vestral::test
