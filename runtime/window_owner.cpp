// The owner of a dialog, as Qt's transient parent: WM_TRANSIENT_FOR on X11,
// the owner window on Windows.
#include "runtime/window_owner.h"

#include <QWidget>
#include <QWindow>

namespace dilmora::runtime {

void setWindowOwner(QWidget& window, QWidget* owner)
{
    // Qt's X11 platform writes WM_TRANSIENT_FOR only for windows of a dialog
    // type; the other flags (close box only) stay as they are. Changing the
    // type takes the focus from the window's controls: it is given back.
    const Qt::WindowFlags flags = window.windowFlags();
    if ((flags & Qt::WindowType_Mask) != Qt::Dialog) {
        QWidget* focus = window.focusWidget();
        window.setWindowFlags((flags & ~Qt::WindowType_Mask) | Qt::Dialog);
        if (focus)
            focus->setFocus();
    }
    // The platform window must exist to be given its owner.
    window.winId();
    QWindow* ownerWindow = owner ? owner->window()->windowHandle() : nullptr;
    window.windowHandle()->setTransientParent(ownerWindow);
}

} // namespace dilmora::runtime
