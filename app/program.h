// Sets up the runtime for Dilmora: its look, name and icon.
#pragma once

namespace dilmora::app {

/// Call once, after the QApplication exists and before any window loads.
void configureProgram();

} // namespace dilmora::app
