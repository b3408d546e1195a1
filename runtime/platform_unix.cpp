// Linux and the other free desktops.
#include "runtime/platform.h"

#include <QAccessible>

namespace dilmora::runtime::platform {

QStringList dialogFontFamilies()
{
    // Liberation Sans shares Arial's metrics, so every cell holds its text
    // as it would in Arial; where neither is installed, the sans serif.
    return {QStringLiteral("Liberation Sans"), QStringLiteral("Arial"),
            QStringLiteral("Helvetica")};
}

void prepareProcess() {}

void announce(QAccessibleInterface* notice, QAccessibleInterface*)
{
    // Orca speaks a notification that shows. (A new description of the
    // focused object would not do: Qt's AT-SPI bridge sends the object
    // instead of the text with the change, and Orca cannot speak that.)
    QAccessibleEvent shown(notice, QAccessible::ObjectShow);
    QAccessible::updateAccessibility(&shown);
}

} // namespace dilmora::runtime::platform
