// Windows.
#include "runtime/platform.h"

#include <QAccessible>
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

void announce(QAccessibleInterface* notice, QAccessibleInterface* focused)
{
    // Qt's UI Automation bridge passes neither a shown object nor a new
    // description on, but turns a value change that carries a text into a
    // UI Automation notification with that text, which screen readers
    // (NVDA, Narrator) speak; it is raised on the focused control.
    QAccessibleValueChangeEvent notified(focused, notice->text(QAccessible::Name));
    QAccessible::updateAccessibility(&notified);
}

void boundTeardown(int)
{
    // The teardown that can hang is that of Qt's wayland plugin.
}

} // namespace dilmora::runtime::platform
