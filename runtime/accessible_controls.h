// What the program's windows, clickable labels and menu items tell assistive
// technology beyond what Qt's own interfaces say.
#pragma once

namespace dilmora::runtime {

/// Installs the accessibility interfaces of the runtime's widgets: a window
/// is a frame, or a dialog once it is shown modally, named by its title; a
/// label with a click handler offers a press action that runs it; a menu item
/// of a wrapping menu bar reports the rectangle where it is drawn and a press
/// action that runs its command. Call once the QApplication exists.
void installAccessibleInterfaces();

} // namespace dilmora::runtime
