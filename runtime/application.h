// Start-up: the runtime loads the start-up window, shows it and runs the
// event loop until no window is loaded any more.
#pragma once

namespace dilmora::runtime {

class Form;

/// Shows `startup` centred and modeless and runs the event loop; returns the
/// program's exit code once the last window has gone. The QApplication must
/// exist and configureApplication() must have run.
int run(Form& startup);

} // namespace dilmora::runtime
