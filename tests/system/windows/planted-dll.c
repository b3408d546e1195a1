/* A stand-in for a DLL that someone dropped beside a program, for
   tests/system/windows/planted-dll.sh: when it is loaded, it leaves a file beside
   itself, its own name followed by ".loaded". Its exports (a .def file that
   the script writes, all aliases of planted_export) are the functions that
   the program imports from the DLL it stands in for. */
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved)
{
    (void)reserved;
    WCHAR path[MAX_PATH + 8];
    DWORD length = GetModuleFileNameW(instance, path, MAX_PATH);
    if (reason == DLL_PROCESS_ATTACH && length > 0 && length < MAX_PATH) {
        lstrcpyW(path + length, L".loaded");
        HANDLE file = CreateFileW(path, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
        if (file != INVALID_HANDLE_VALUE)
            CloseHandle(file);
    }
    return TRUE;
}

int planted_export(void)
{
    return 0;
}
