// The load configuration of dilmora.exe. Its one setting that matters,
// DependentLoadFlags (called Reserved1 in mingw-w64's header), makes Windows
// take every DLL that the program imports from System32 only, never from the
// program's own folder, where someone else may have put a DLL of the same name.
// GNU ld does not point the header at this structure by itself; the build
// does it after linking (packaging/windows/pe-fields.py).
#include <windows.h>

extern "C" const IMAGE_LOAD_CONFIG_DIRECTORY64 _load_config_used = {
    .Size = sizeof(IMAGE_LOAD_CONFIG_DIRECTORY64),
    .Reserved1 = LOAD_LIBRARY_SEARCH_SYSTEM32,
};
