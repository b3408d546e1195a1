# Sourced by the Windows scripts: where things are and what they need.

# The static Qt for Windows, built once per machine by build-qt.sh.
windows_qt=${DILMORA_WINDOWS_QT:-/var/cache/dilmora/qt-6.4.2-mingw-static}

# Cross-compiling: Debian's mingw-w64 (POSIX threads) and the host's Qt tools.
windows_build_packages=(cmake ninja-build g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix
    binutils-mingw-w64-x86-64 mingw-w64-tools qt6-base-dev qt6-base-dev-tools python3)

# Running and checking the Windows build: Wine on a virtual X screen.
windows_test_packages=(wine wine64 fonts-wine fonts-liberation fonts-dejavu-core icoutils xvfb xauth
    xdotool x11-utils imagemagick)

# The same source gives the same bytes: every date in a build (Qt's resource
# compiler writes the files' dates) is the commit's.
export SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct 2>/dev/null || stat -c %Y CMakeLists.txt)}
