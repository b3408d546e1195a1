// A test seam that makes one chosen runtime call fail.
//
// Tests arm a fault for an operation on an object (a form name for Show and
// Unload, a qualified label name such as "Form3.Label40" for Caption); the
// matching call then returns Status::Injected instead of doing its work, so
// that every failure path of the program runs for real.
#pragma once

#include "runtime/status.h"

#include <string>
#include <string_view>

namespace dilmora::runtime {

struct Fault {
    Operation operation = Operation::Show;
    std::string object; ///< Empty: any object.
    int skip = 0;       ///< Matching calls to let through before the one that fails.
};

/// Arms one fault, replacing any fault armed before.
void injectFault(Fault fault);

/// Disarms the armed fault, if any.
void clearFault();

/// True while a fault is armed and has not fired yet.
bool faultArmed();

/// Called by the runtime at each operation: Status::Injected when the armed
/// fault matches this call (the fault is then used up), Status::Ok otherwise.
Status takeFault(Operation operation, std::string_view object);

} // namespace dilmora::runtime
