# Configure options of the static Qt that dilmora.exe links: Core, Gui, Widgets,
# the Windows platform plugin and style, and Qt Test. Loaded with cmake -C.
# Changing this file rebuilds Qt (its hash is part of the cache stamp).

set(CMAKE_BUILD_TYPE Release CACHE STRING "")
# No folder of the build machine in the libraries: some of Qt's sources name
# themselves with __FILE__, and two of those names reach dilmora.exe. The
# folders that build-qt.sh builds in (a new temporary one each time) become
# the source package's name and "build".
set(CMAKE_C_FLAGS "-ffile-prefix-map=${DILMORA_QT_SOURCE}=qt6-base -ffile-prefix-map=${DILMORA_QT_BUILD}=build"
    CACHE STRING "")
set(CMAKE_CXX_FLAGS "${CMAKE_C_FLAGS}" CACHE STRING "")
set(BUILD_SHARED_LIBS OFF CACHE BOOL "")
set(QT_BUILD_EXAMPLES OFF CACHE BOOL "")
set(QT_BUILD_TESTS OFF CACHE BOOL "")

# The host's Debian Qt 6.4.2 provides moc, rcc and uic.
set(QT_HOST_PATH /usr CACHE PATH "")
set(QT_HOST_PATH_CMAKE_DIR /usr/lib/x86_64-linux-gnu/cmake CACHE PATH "")

# One .exe that imports only Windows system DLLs.
set(FEATURE_static_runtime ON CACHE BOOL "")

# Only what Dilmora and its tests use.
foreach(module network sql xml dbus opengl printsupport concurrent vulkan)
    set(FEATURE_${module} OFF CACHE BOOL "")
endforeach()
set(INPUT_opengl no CACHE STRING "")
set(FEATURE_testlib ON CACHE BOOL "")
set(FEATURE_accessibility ON CACHE BOOL "")

# Qt's bundled third-party libraries, never the build machine's.
set(FEATURE_pkg_config OFF CACHE BOOL "")
foreach(library zlib png jpeg freetype harfbuzz pcre2 doubleconversion)
    set(FEATURE_system_${library} OFF CACHE BOOL "")
endforeach()

# Debian's +dfsg source has no wintab headers, which tablet events need.
set(FEATURE_tabletevent OFF CACHE BOOL "")
# Qt 6.4.2 fails to link applications without direct2d: keep it, drop only 1.1.
set(FEATURE_direct2d1_1 OFF CACHE BOOL "")
# Debian's cross-build patch turns this on; it is for Android only.
set(FEATURE_androiddeployqt OFF CACHE BOOL "")
