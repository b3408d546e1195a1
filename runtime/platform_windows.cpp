// Windows.
#include "runtime/platform.h"

namespace dilmora::runtime::platform {

QStringList dialogFontFamilies()
{
    // Arial is part of every Windows; Liberation Sans, with the same
    // metrics, stands in where it is missing (Wine).
    return {QStringLiteral("Arial"), QStringLiteral("Liberation Sans")};
}

} // namespace dilmora::runtime::platform
