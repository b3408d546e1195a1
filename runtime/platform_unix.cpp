// Linux and the other free desktops.
#include "runtime/platform.h"

namespace dilmora::runtime::platform {

QStringList dialogFontFamilies()
{
    // Liberation Sans shares Arial's metrics, so every cell holds its text
    // as it would in Arial; where neither is installed, the sans serif.
    return {QStringLiteral("Liberation Sans"), QStringLiteral("Arial"),
            QStringLiteral("Helvetica")};
}

void prepareProcess() {}

} // namespace dilmora::runtime::platform
