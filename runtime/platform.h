// What differs between the systems the program runs on, each behind one
// function; CMake picks platform_windows.cpp or platform_unix.cpp.
#pragma once

#include <QMarginsF>
#include <QStringList>

class QAccessibleInterface;
class QWindow;

namespace dilmora::runtime::platform {

/// Font families of the dialog font, the first one that is installed wins.
QStringList dialogFontFamilies();

/// Whatever the system needs before the QApplication is made; main() calls it
/// first. On Windows it limits where libraries are looked for to System32
/// (see platform_windows.cpp); on Linux it picks the platform plugin.
void prepareProcess();

/// The frame that the window system puts around the window (title bar and
/// border), in device-independent pixels, fractions included, known before
/// the window is shown; zero where the system cannot tell beforehand. Creates
/// the native window.
QMarginsF frameMargins(QWindow& window);

/// Has a screen reader speak the name of `notice`, a window's notification,
/// now; `focused` is the object with the focus in that window.
void announce(QAccessibleInterface* notice, QAccessibleInterface* focused);

/// Called once the event loop has ended with `status`, before the windows and
/// the application are torn down: where that teardown can hang, the process
/// ends with `status` after a few seconds instead.
void boundTeardown(int status);

} // namespace dilmora::runtime::platform
