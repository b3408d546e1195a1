#!/usr/bin/env bash
# Builds Dilmora for 64-bit Windows on a Debian 12 machine:
#
#   bash tools/windows/build.sh [build folder]    default: build/windows
#
# writes <build folder>/dilmora.exe (portable: one file that runs from any
# folder) and <build folder>/Dilmora-<version>-setup.exe (the installer).
# Another folder than the default is configured afresh, from the preset alone.
# The static Qt it links is built once per machine first (build-qt.sh).
#
# With DILMORA_SIGN_PKCS12 (a PKCS#12 file) and DILMORA_SIGN_PASSWORD_FILE (a
# file holding its password), and optionally DILMORA_SIGN_TIMESTAMP_URL, the
# program, the uninstaller and the installer are signed (sign.sh).
set -eEuo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/../.."
source tools/lib/install-missing.sh
source tools/lib/windows.sh

install_for windows-build
bash tools/windows/build-qt.sh

build=${1:-build/windows}
fresh=()
[ "$build" = build/windows ] || fresh=(--fresh -B "$build")
export DILMORA_WINDOWS_QT=$windows_qt
cmake --preset windows "${fresh[@]}" >/dev/null
cmake --build "$build" --target dilmora installer -j "$(nproc)"
source "$build/identity.sh"
ls "$build/dilmora.exe" "$build/$installer_name"
