// The one way faults of files and tables are reported: at the point of failure, so the answer
// (repeat the operation, take its default, or end) can be acted on right there.
#pragma once

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

namespace vestral::core {

// General codes of the fault kinds the handler knows.
enum GenCode : int {
    kGenZeroDiv = 5,
    kGenNoField = 14,  // code and table disagree: a mapped field is missing or of another type
    kGenCreate = 20,
    kGenOpen = 21,
    kGenClose = 22,
    kGenRead = 23,
    kGenWrite = 24,
    kGenCorruption = 32,
    kGenAppendLock = 40,
};
// Operating-system codes the handler treats specially.
enum OsCode : int { kOsAccessDenied = 5, kOsSharing = 32 };

struct Fault {
    int gen_code = 0;
    int os_code = 0;
    int severity = 2;
    std::string subsystem = "DBFNTX";
    int sub_code = 0;
    std::string description;
    std::string filename;
    std::string operation;
    std::vector<std::string> args;
    bool can_retry = false;
    bool can_default = false;
};

enum class FaultAnswer { Retry, Default };

// Thrown when a fault has no way to continue (no handler installed, or the handler chose to
// unwind); caught by the wrapper around every menu and button handler.
class FaultError : public std::runtime_error {
  public:
    explicit FaultError(Fault f);
    const Fault& fault() const { return fault_; }

  private:
    Fault fault_;
};

using FaultHandler = std::function<FaultAnswer(const Fault&)>;

// Installs the handler (the error dialog at run time, a scripted one in tests); returns the old one.
FaultHandler set_fault_handler(FaultHandler handler);

// Asks the handler. Without a handler, or for an answer the fault does not allow, throws FaultError.
FaultAnswer report_fault(const Fault& fault);

// The text of a fault as the log and the dialog show it.
std::string fault_message(const Fault& f);

// Runs `op` until it succeeds; on failure reports `fault` (filled by `op` with the details) and
// repeats on "Wiederholen" or returns `fallback` on "Default".
template <class T, class Op>
T with_fault(Fault fault, Op&& op, T fallback) {
    for (;;) {
        Fault f = fault;
        if (auto r = op(f)) return *r;
        if (report_fault(f) == FaultAnswer::Default) return fallback;
    }
}

}  // namespace vestral::core
