// The armed fault of the test seam.
#include "runtime/fault_injection.h"

#include <optional>
#include <utility>

namespace dilmora::runtime {

namespace {

std::optional<Fault>& armed()
{
    static std::optional<Fault> fault;
    return fault;
}

} // namespace

void injectFault(Fault fault)
{
    armed() = std::move(fault);
}

void clearFault()
{
    armed().reset();
}

bool faultArmed()
{
    return armed().has_value();
}

Status takeFault(Operation operation, std::string_view object)
{
    auto& fault = armed();
    if (!fault || fault->operation != operation
        || (!fault->object.empty() && fault->object != object))
        return Status::Ok;
    if (fault->skip > 0) {
        --fault->skip;
        return Status::Ok;
    }
    fault.reset();
    return Status::Injected;
}

} // namespace dilmora::runtime
