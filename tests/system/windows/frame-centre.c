/* Prints where a window of Dilmora lies, for tests/system/windows/centring.sh:
   twice the offset of its frame's centre (title bar included, as
   GetWindowRect gives it) from the centre of its monitor's work area, x then
   y in pixels, and the window's dpi.

       frame-centre.exe "<window title>" */
#include <windows.h>
#include <stdio.h>
int wmain(int argc, wchar_t** argv)
{
    SetProcessDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
    HWND window = argc > 1 ? FindWindowW(NULL, argv[1]) : NULL;
    if (!window)
        return 1;
    RECT frame;
    MONITORINFO monitor = {sizeof monitor};
    GetWindowRect(window, &frame);
    GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor);
    printf("%ld %ld %u\n", frame.left + frame.right - monitor.rcWork.left - monitor.rcWork.right,
           frame.top + frame.bottom - monitor.rcWork.top - monitor.rcWork.bottom,
           GetDpiForWindow(window));
    return 0;
}
