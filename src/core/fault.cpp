#include "core/fault.h"

#include <utility>

namespace vestral::core {

namespace {
FaultHandler& handler_slot() {
    static FaultHandler h;
    return h;
}
}  // namespace

FaultError::FaultError(Fault f) : std::runtime_error(fault_message(f)), fault_(std::move(f)) {}

FaultHandler set_fault_handler(FaultHandler handler) {
    FaultHandler old = std::move(handler_slot());
    handler_slot() = std::move(handler);
    return old;
}

FaultAnswer report_fault(const Fault& fault) {
    auto& h = handler_slot();
    if (!h) throw FaultError(fault);
    FaultAnswer a = h(fault);
    if (a == FaultAnswer::Retry && !fault.can_retry) throw FaultError(fault);
    if (a == FaultAnswer::Default && !fault.can_default) throw FaultError(fault);
    return a;
}

std::string fault_message(const Fault& f) {
    std::string s;
    if (f.os_code == 0)
        s = f.severity > 1 ? "Error " : "Warning ";
    else
        s = "(DOS Error " + std::to_string(f.os_code) + ") ";
    s += f.subsystem.empty() ? "???" : f.subsystem;
    s += f.sub_code ? "/" + std::to_string(f.sub_code) : "/???";
    if (!f.description.empty()) s += "  " + f.description;
    if (!f.filename.empty())
        s += ": " + f.filename;
    else if (!f.operation.empty())
        s += ": " + f.operation;
    return s;
}

}  // namespace vestral::core
