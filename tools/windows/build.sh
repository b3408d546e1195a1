#!/usr/bin/env bash
# Builds Dilmora for 64-bit Windows on a Debian 12 machine:
#
#   bash tools/windows/build.sh
#
# writes build/windows/dilmora.exe (portable: one file that runs from any
# folder) and build/windows/Dilmora-<version>-setup.exe (the installer).
# The static Qt it links is built once per machine first (build-qt.sh).
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/../.."
source tools/install-missing.sh
source tools/windows/common.sh

bash tools/windows/build-qt.sh
install_missing "${windows_build_packages[@]}" nsis

export DILMORA_WINDOWS_QT=$windows_qt
cmake --preset windows >/dev/null
cmake --build --preset windows --target dilmora installer -j "$(nproc)"
ls build/windows/dilmora.exe build/windows/Dilmora-*-setup.exe
