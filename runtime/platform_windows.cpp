// Windows.
#include "runtime/platform.h"

#include <QAccessible>
#include <QByteArray>
#include <QWindow>
#include <QtGlobal>

#include <string>

#include <windows.h>

namespace dilmora::runtime::platform {

QStringList dialogFontFamilies()
{
    // Arial is part of every Windows; Liberation Sans, with the same
    // metrics, stands in where it is missing (Wine).
    return {QStringLiteral("Arial"), QStringLiteral("Liberation Sans")};
}

namespace {

/// Has Windows look for the libraries that the process loads by name in
/// System32 alone: never in the program's folder, the current folder or PATH.
///
/// The header's DependentLoadFlags (packaging/windows/load_config.cpp) covers
/// what the program imports; this covers what Qt loads while it runs. Qt
/// 6.4.2 loads "thai" by a bare name the first time it breaks a line of Thai
/// (qunicodetools.cpp), and "qttestability" when QT_LOAD_TESTABILITY is set
/// (qguiapplication.cpp): a thai.dll dropped beside the portable dilmora.exe,
/// in Downloads say, would otherwise run inside the program. Its other loads
/// (QSystemLibrary) name a file in System32 already; this keeps their
/// imports out of the program's folder too.
///
/// The call fails only for flags that Windows does not know, and every
/// Windows that Qt 6 runs on knows these. Should it fail all the same, the
/// program says so and does not start rather than run unprotected; with no
/// QApplication yet, the message is Windows' own.
void restrictLibrarySearch()
{
    if (SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32))
        return;
    const DWORD error = GetLastError();
    const std::wstring message =
        L"Windows did not let this program limit where it looks for libraries to System32 "
        L"(error "
        + std::to_wstring(error) + L"), so it does not start.";
    MessageBoxW(nullptr, message.c_str(), nullptr, MB_OK | MB_ICONERROR);
    ExitProcess(1);
}

} // namespace

void prepareProcess()
{
    restrictLibrarySearch();

    // Under Wine, Qt's GDI font engine leaves out glyphs of the fonts that
    // Wine offers (the I and the Turkish dotless i of Liberation Sans); its
    // FreeType engine draws every one. Windows itself keeps the GDI engine.
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    const bool wine = ntdll && GetProcAddress(ntdll, "wine_get_version");
    if (wine && !qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("windows:fontengine=freetype"));
}

QMarginsF frameMargins(QWindow& window)
{
    // The frame that Windows gives the window's styles at its dpi: the
    // rectangle that GetWindowRect reports, by which Windows centres its own
    // dialogs. (Qt's frameMargins() takes off a resize border that Windows 10
    // keeps invisible, also from windows of fixed size, which have none; the
    // frame then comes out 4 to 8 pixels short, and the window too low.)
    window.create();
    const auto handle = reinterpret_cast<HWND>(window.winId());
    RECT frame{0, 0, 0, 0};
    if (!AdjustWindowRectExForDpi(&frame, DWORD(GetWindowLongPtrW(handle, GWL_STYLE)), FALSE,
                                  DWORD(GetWindowLongPtrW(handle, GWL_EXSTYLE)),
                                  GetDpiForWindow(handle)))
        return window.frameMargins();
    const qreal ratio = window.devicePixelRatio();
    return QMarginsF(-frame.left, -frame.top, frame.right, frame.bottom) / ratio;
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
