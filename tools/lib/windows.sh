# Sourced by the Windows scripts: where the static Qt for Windows is, and the date of a build.

# The static Qt for Windows, built once per machine by build-qt.sh.
windows_qt=${DILMORA_WINDOWS_QT:-/var/cache/dilmora/qt-6.4.2-mingw-static}

# The same source gives the same bytes: every date in a build (Qt's resource
# compiler writes the files' dates) is the commit's.
export SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct 2>/dev/null || stat -c %Y CMakeLists.txt)}
