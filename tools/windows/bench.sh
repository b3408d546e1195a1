#!/usr/bin/env bash
# Measures Dilmora for Windows under Wine beside a bare static Qt window
# built the same way, and prints the rows of the Windows table in docs/performance.md.
#
#   bash tools/windows/bench.sh
#
# Start-up is timed from the start of `wine program.exe` to the program's
# first painted frame (bench/startup_harness.cpp, bench/bare_window.cpp, as
# for Linux), the two programs taking turns, by the Linux launcher
# bench/launcher.cpp. Most of a start-up under Wine is Wine itself: compare the
# ratio, not the milliseconds.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/../.."
source tools/lib/install-missing.sh
source tools/lib/windows.sh
source tests/system/lib/scratch.sh wine-bench
source tests/system/lib/desktop.sh
source tests/system/windows/wine-prefix.sh

runs=10
install_for windows-test
bash tools/windows/build.sh >/dev/null
export DILMORA_WINDOWS_QT=$windows_qt
build=build/windows-bench
cmake --preset windows -B "$build" -DBUILD_TESTING=OFF -DDILMORA_BUILD_BENCH=ON >/dev/null
cmake --build "$build" --target dilmora-bench-bare dilmora-bench-startup -j "$(nproc)" >/dev/null

scratch=$work
start_wine_session
g++ -O2 -std=c++20 -o "$scratch/launch" bench/launcher.cpp

# Both programs with the font engine that Dilmora takes under Wine.
export WINEQT_QPA_PLATFORM=windows:fontengine=freetype
# Windows' C runtime ends the report line with CR LF; the launcher wants LF.
for program in startup bare; do
    printf '#!/bin/sh\nwine %q "$@" 2>/dev/null | tr -d "\\r"\n' "$PWD/$build/dilmora-bench-$program.exe" >"$scratch/$program"
    chmod +x "$scratch/$program"
done
# The first start in a new prefix also sets up Wine's own font cache.
"$scratch/startup" startup >/dev/null || true
echo "Start-up under Wine ..." >&2
"$scratch/launch" "$runs" dilmora="$scratch/startup" bare="$scratch/bare" >"$scratch/times"

field() { awk -v who="$1" -v n="$2" '$1 == "startup" && $2 == who { print $n }' "$scratch/times"; }
d=$(field dilmora 3); b=$(field bare 3)
size() { awk -v bytes="$(stat -c %s "$1")" 'BEGIN { printf "%.1f MiB", bytes / 1048576 }'; }
echo
echo "| Measure | Dilmora | Bare Qt window | Target | Met |"
echo "|---|---|---|---|---|"
ratio=$(awk -v d="$d" -v b="$b" 'BEGIN { printf "%.2f", d / b }')
met=$(awk -v r="$ratio" 'BEGIN { print r <= 1.2 ? "yes" : "no" }')
echo "| Start-up to first frame under Wine, median of $runs | $d ms | $b ms | ≤ 1.2 × bare | $met ($ratio ×) |"
echo "| dilmora.exe, static, stripped | $(size build/windows/dilmora.exe) | $(size "$build/dilmora-bench-bare.exe") | — | — |"
echo "| Installer | $(size build/windows/Dilmora-*-setup.exe) |  | — | — |"
