/* Loads a library by its bare name, as Qt's QLibrary does, for
   tests/system/windows/planted-dll.sh: run from a folder with a planted DLL,
   it shows that the Wine of the test would take that DLL from there.

       bare-load.exe thai */
#include <windows.h>

int wmain(int argc, wchar_t** argv)
{
    return argc == 2 && LoadLibraryW(argv[1]) ? 0 : 1;
}
