# Who the program is, in one place: its name, version and application id,
# from project(VERSION) in the top-level CMakeLists.txt. The generated header
# app/identity.h, the Windows resources, the desktop files, the manual page,
# the .deb and the Windows installer all take them from here.

# Reverse-DNS name of the application: the desktop entry, the metainfo, the
# themed icon and the macOS bundle identifier all carry it.
set(DILMORA_APP_ID org.example.Dilmora)
set(DILMORA_AUTHORS "The Dilmora authors")
set(DILMORA_CONTACT "dilmora@example.org")
set(DILMORA_HOMEPAGE "https://example.org/dilmora")

# Version facts, from PROJECT_VERSION 1.0.0.0:
#   DILMORA_VERSION_QUAD    1,0,0,0        the binary file and product version
#   DILMORA_VERSION_FULL    1.0.0.0        the same with dots: the macOS bundle version
#   DILMORA_VERSION_STRING  1.00           major, then minor in two digits
#   DILMORA_PRODUCT_NAME    Dilmora 1.0    the main window's title
set(quad)
foreach(part MAJOR MINOR PATCH TWEAK)
    set(number "${PROJECT_VERSION_${part}}")
    if(number STREQUAL "")
        set(number 0)
    endif()
    list(APPEND quad ${number})
endforeach()
list(JOIN quad "," DILMORA_VERSION_QUAD)
list(JOIN quad "." DILMORA_VERSION_FULL)
list(GET quad 0 major)
list(GET quad 1 minor)
set(DILMORA_PRODUCT_NAME "${PROJECT_NAME} ${major}.${minor}")
string(LENGTH "${minor}" minor_digits)
if(minor_digits LESS 2)
    set(minor "0${minor}")
endif()
set(DILMORA_VERSION_STRING "${major}.${minor}")

configure_file("${PROJECT_SOURCE_DIR}/app/identity.h.in"
    "${PROJECT_BINARY_DIR}/generated/app/identity.h" @ONLY)
# The same facts for the scripts that check a build (tools/windows/test.sh).
configure_file("${CMAKE_CURRENT_LIST_DIR}/identity.sh.in" "${PROJECT_BINARY_DIR}/identity.sh" @ONLY)
