# Sourced by tests/system/windows/test.sh, inside its Wine session: DLL preloading.
# A program run from a folder where someone dropped a DLL named like one of
# Windows' must not load it (dilmora.exe takes its imports from System32 only;
# NSIS 3 loads its DLLs from System32 by itself), nor one named like a library
# that Qt loads by a bare name while the program runs (thai.dll: dilmora.exe
# looks for those in System32 only).

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

# loads_by_bare_name FOLDER NAME: a program in FOLDER that loads NAME by its
# bare name (tests/system/windows/bare-load.c), with NAME's native_overrides,
# succeeds; the planted NAME.dll leaves its marker then.
loads_by_bare_name() {
    x86_64-w64-mingw32-gcc-posix -municode -O2 -o "$1/bare-load.exe" tests/system/windows/bare-load.c
    (cd "$1" && WINEDLLOVERRIDES=$(native_overrides "$2.dll") exec wine ./bare-load.exe "$2")
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

# check_bare_name_loads EXE: runs EXE from a folder with a planted thai.dll,
# which Qt loads by a bare name when it first breaks a line of Thai, and types
# Thai into its main window (tests/system/windows/type-text.c); typing there
# opens the find field with the text in it, where Qt lays the Thai out. Fails
# if the planted DLL was loaded: EXE must have Windows look for it in System32
# only (runtime/platform_windows.cpp).
check_bare_name_loads() {
    local folder=$work/prefix/drive_c/Portable program main
    plant_dlls "$folder" "$1" thai.dll
    x86_64-w64-mingw32-gcc-posix -municode -O2 -o "$work/type-text.exe" tests/system/windows/type-text.c
    if ! loads_by_bare_name "$folder" thai || [ "$(loaded_dlls "$folder")" != thai.dll ]; then
        echo "a bare-name load from $folder did not take the thai.dll there: typing Thai would prove nothing" >&2
        return 1
    fi
    rm "$folder"/*.loaded
    cp "$1" "$folder/"
    (cd "$folder" && WINEDLLOVERRIDES=$(native_overrides thai.dll) exec wine "./$(basename "$1")") &
    program=$!
    pids+=($program)
    main=$(window "$product_name") || return 1
    focus "$main" || { echo "the main window did not take the focus" >&2; return 1; }
    wine "$work/type-text.exe" 'ภาษาไทย' || { echo "Windows did not take the typed Thai" >&2; return 1; }
    # Laid out at once if at all: five seconds decide.
    if wait_for '[ -n "$(loaded_dlls "$folder")" ] || ! kill -0 "$program" 2>/dev/null' 5; then
        if kill -0 "$program" 2>/dev/null; then
            echo "$(basename "$1") loaded the thai.dll planted beside it" >&2
        else
            echo "$(basename "$1") ended while Thai was typed into it" >&2
        fi
        return 1
    fi
    focus "$main" || { echo "the main window did not take the focus back" >&2; return 1; }
    xdotool key alt+F4
    reap_process "$program" || { echo "$(basename "$1") did not end with its main window" >&2; return 1; }
    wineserver -w
}
