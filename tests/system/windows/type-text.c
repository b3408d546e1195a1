/* Types its argument into the window that has the keyboard focus, as
   SendInput's Unicode packets, for the Windows system tests. (Under Wine,
   xdotool type brings a character that the X keymap lacks as the wrong one,
   or not at all: Wine reads it back through a key code that xdotool has
   remapped meanwhile.)

       type-text.exe <text> */
#include <windows.h>

int wmain(int argc, wchar_t** argv)
{
    if (argc != 2)
        return 2;
    for (const wchar_t* unit = argv[1]; *unit; ++unit) {
        INPUT keys[2] = {0};
        keys[0].type = keys[1].type = INPUT_KEYBOARD;
        keys[0].ki.wScan = keys[1].ki.wScan = *unit;
        keys[0].ki.dwFlags = KEYEVENTF_UNICODE;
        keys[1].ki.dwFlags = KEYEVENTF_UNICODE | KEYEVENTF_KEYUP;
        if (SendInput(2, keys, sizeof(INPUT)) != 2)
            return 1;
        Sleep(50);
    }
    return 0;
}
