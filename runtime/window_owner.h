// Telling the desktop which window owns a dialog.
#pragma once

class QWidget;

namespace dilmora::runtime {

/// Makes the top-level `window` a dialog owned by the top-level window of
/// `owner` (by none when `owner` is null): the desktop keeps it above its
/// owner and gives the program one taskbar entry. Call before the window is
/// shown.
void setWindowOwner(QWidget& window, QWidget* owner);

} // namespace dilmora::runtime
