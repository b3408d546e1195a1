#!/usr/bin/env bash
# Runs a test program with Qt's accessibility really on: in the private D-Bus
# session and on the Xvfb screen that the caller gives it (dbus-run-session,
# xvfb-run), it starts the accessibility bus, runs the program and ends the
# bus by its process id.
set -u
/usr/libexec/at-spi-bus-launcher --launch-immediately &
launcher=$!
"$@"
status=$?
kill "$launcher" 2>/dev/null
wait "$launcher" 2>/dev/null
exit "$status"
