// Sets up the runtime for Dilmora.
#include "app/program.h"

#include "app/identity.h"
#include "runtime/application.h"
#include "runtime/look.h"

namespace dilmora::app {

void configureProgram()
{
    runtime::configureApplication();
    runtime::setProgramIdentity({.name = identity::kProductName,
                                 .iconResource = ":/app/assets/dilmora.ico",
                                 .desktopId = identity::kApplicationId});
}

} // namespace dilmora::app
