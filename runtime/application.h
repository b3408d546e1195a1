// Start-up: the runtime loads the start-up window, shows it and runs the
// event loop until no window is loaded any more.
#pragma once

#include <string_view>

namespace dilmora::runtime {

class Form;

/// What the runtime shows of the program it runs; the runtime itself knows
/// no program.
struct ProgramIdentity {
    std::string_view name;         ///< The title of the error messages.
    std::string_view iconResource; ///< Resource path of the icon of every window.
    std::string_view desktopId;    ///< The desktop entry that matches the windows.
};

/// Call once, after configureApplication() and before any form loads.
void setProgramIdentity(const ProgramIdentity& identity);

/// Shows `startup` centred and modeless and runs the event loop; returns the
/// program's exit code once the last window has gone. The QApplication must
/// exist and configureApplication() must have run.
int run(Form& startup);

} // namespace dilmora::runtime
