# Sourced by tests/system/windows/test.sh, inside its Wine session: DLL preloading.
# A program run from a folder where someone dropped a DLL named like one of
# Windows' must not load it (dilmora.exe takes its imports from System32 only;
# NSIS 3 loads its DLLs from System32 by itself).

# plant_dlls FOLDER PROGRAM DLL...: copies of tests/system/windows/planted-dll.c in
# FOLDER, one per DLL name, each exporting what PROGRAM imports from that DLL.
plant_dlls() {
    local folder=$1 program=$2 dll
    shift 2
    mkdir -p "$folder"
    for dll in "$@"; do
        {
            echo EXPORTS
            x86_64-w64-mingw32-objdump -p "$program" | awk -v dll="$dll" '
                /DLL Name:/ { inside = (tolower($3) == tolower(dll)); next }
                inside && NF == 0 { inside = 0 }
                inside && NF == 3 && $1 ~ /^[0-9a-f]+$/ { print $3 "=planted_export" }'
        } >"$folder/${dll%.dll}.def"
        x86_64-w64-mingw32-gcc-posix -shared -o "$folder/$dll" tests/system/windows/planted-dll.c "$folder/${dll%.dll}.def"
    done
}

# loaded_dlls FOLDER: the planted DLLs in FOLDER that were loaded.
loaded_dlls() {
    find "$1" -maxdepth 1 -name '*.loaded' -printf '%f\n' | sed 's/\.loaded$//'
}

# native_overrides DLL...: the WINEDLLOVERRIDES that make Wine take a DLL of
# these names from disk, as Windows would, instead of its own built-in one.
native_overrides() {
    local dll list=$WINEDLLOVERRIDES
    for dll in "$@"; do list+=";${dll%.dll}=n,b"; done
    echo "$list"
}

# system_imports_only FILE: FILE imports only DLLs that Windows never looks
# for in the program's folder: its KnownDLLs, and comctl32 when a manifest
# dependency on Common Controls 6 binds it to the copy in WinSxS. (What an
# NSIS 3 installer loads later, it loads from System32 by full path.)
system_imports_only() {
    local imports
    imports=$(x86_64-w64-mingw32-objdump -p "$1" | sed -n 's/^\s*DLL Name: //p' | tr '[:upper:]' '[:lower:]')
    if grep -vxE '(advapi32|clbcatq|combase|comdlg32|gdi32|gdiplus|imagehlp|imm32|kernel32|msctf|msvcrt|normaliz|nsi|ole32|oleaut32|psapi|rpcrt4|sechost|setupapi|shcore|shell32|shlwapi|user32|wldap32|ws2_32|comctl32)\.dll' <<<"$imports"; then
        echo "$(basename "$1") imports DLLs that Windows may take from its folder" >&2
        return 1
    fi
    if grep -qx 'comctl32.dll' <<<"$imports" &&
        ! grep -qF 'name="Microsoft.Windows.Common-Controls" version="6.0.0.0"' <(strings -n 8 "$1"); then
        echo "$(basename "$1") imports comctl32 without binding it to Common Controls 6" >&2
        return 1
    fi
}
