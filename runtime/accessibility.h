// The one place that decides what each of the program's objects tells
// assistive technology.
#pragma once

namespace dilmora::runtime {

/// Installs the accessibility factory of the forms runtime: windows, the
/// table face of design grids, command buttons, labels and the items of the
/// wrapping menu bar get the program's interfaces; everything else keeps
/// Qt's own. Call once the QApplication exists, before any form loads.
void installAccessibility();

} // namespace dilmora::runtime
