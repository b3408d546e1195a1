// What differs between the systems the program runs on, each behind one
// function; CMake picks platform_windows.cpp or platform_unix.cpp.
#pragma once

#include <QStringList>

class QAccessibleInterface;

namespace dilmora::runtime::platform {

/// Font families of the dialog font, the first one that is installed wins.
QStringList dialogFontFamilies();

/// Whatever the system needs before the QApplication is made; main() calls it first.
void prepareProcess();

/// Has a screen reader speak the name of `notice`, a window's notification,
/// now; `focused` is the object with the focus in that window.
void announce(QAccessibleInterface* notice, QAccessibleInterface* focused);

} // namespace dilmora::runtime::platform
