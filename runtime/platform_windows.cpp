// Windows.
#include "runtime/platform.h"

#include <QByteArray>
#include <QWindow>
#include <QtGlobal>

#include <windows.h>

namespace dilmora::runtime::platform {

QStringList dialogFontFamilies()
{
    // Arial is part of every Windows; Liberation Sans, with the same
    // metrics, stands in where it is missing (Wine).
    return {QStringLiteral("Arial"), QStringLiteral("Liberation Sans")};
}

void prepareProcess()
{
    // Under Wine, Qt's GDI font engine leaves out glyphs of the fonts that
    // Wine offers (the I and the Turkish dotless i of Liberation Sans); its
    // FreeType engine draws every one. Windows itself keeps the GDI engine.
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    const bool wine = ntdll && GetProcAddress(ntdll, "wine_get_version");
    if (wine && !qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("windows:fontengine=freetype"));
}

QMargins frameMargins(QWindow& window)
{
    // Windows knows the frame of a window from its style once it is created.
    window.create();
    return window.frameMargins();
}

} // namespace dilmora::runtime::platform
