#!/usr/bin/env bash
# Builds Dilmora for 64-bit Windows on a Debian 12 machine:
#
#   bash tools/windows/build.sh
#
# writes build/windows/dilmora.exe (portable: one file that runs from any
# folder) and build/windows/Dilmora-<version>-setup.exe (the installer).
# The static Qt it links is built once per machine first (build-qt.sh).
#
# With DILMORA_SIGN_PKCS12 (a PKCS#12 file) and DILMORA_SIGN_PASSWORD_FILE (a
# file holding its password), and optionally DILMORA_SIGN_TIMESTAMP_URL, the
# program, the uninstaller and the installer are signed (sign.sh).
set -eEuo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/../.."
source tools/install-missing.sh
source tools/windows/common.sh

bash tools/windows/build-qt.sh
install_missing "${windows_build_packages[@]}" nsis osslsigncode

export DILMORA_WINDOWS_QT=$windows_qt
cmake --preset windows >/dev/null
cmake --build --preset windows --target dilmora installer -j "$(nproc)"
source build/windows/identity.sh
ls build/windows/dilmora.exe "build/windows/$installer_name"
