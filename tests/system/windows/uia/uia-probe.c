// Asks a window of the program under test for its UI Automation root, as a
// UI Automation client does: WM_GETOBJECT with UiaRootObjectId, sent to the
// visible top-level window whose title is the first argument. The stand-in
// UIAutomationCore.dll in the program walks the tree and records it before
// the message returns. Exit status 0 when the window answered.
#include <windows.h>

#include <shellapi.h>

int main(void)
{
    int count = 0;
    LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    if (count != 2)
        return 2;
    HWND window = FindWindowW(NULL, arguments[1]);
    if (!window)
        return 3;
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(window, WM_GETOBJECT, 0, (LPARAM)(LONG)-25, SMTO_BLOCK, 20000, &result))
        return 4;
    return result ? 0 : 1;
}
