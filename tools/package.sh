#!/usr/bin/env bash
# Builds Dilmora's Debian package on a Debian 12 machine.
#
#   bash tools/package.sh [build folder]    default: build/package
#
# Installs what is missing, builds the program optimised and hardened, and
# writes <build folder>/dilmora_<version>_<architecture>.deb. Two builds of one
# commit give the same bytes, in whatever folder and at whatever time
# (tools/make-deb.sh). Then, as root:
#   apt-get install ./build/package/dilmora_*.deb
# and tools/check-package.sh installs it, starts it and removes it again.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
source tools/install-missing.sh

build=${1:-build/package}

# dpkg-dev's dpkg-shlibdeps works out the libraries' packages, and CPack asks
# file(1) which of the installed files are programs; git gives the commit's time.
packages=(cmake ninja-build g++ qt6-base-dev dpkg-dev file git)
install_missing "${packages[@]}"

cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF -DDILMORA_BUILD_TOOLS=OFF \
    -DDILMORA_HARDEN=ON -DDILMORA_REPRODUCIBLE=ON >/dev/null
# The progress on standard error: the output is the .deb's path alone.
cmake --build "$build" -j "$(nproc)" >&2
rm -f "$build"/dilmora_*.deb
bash tools/make-deb.sh "$build"
