#!/usr/bin/env bash
# Builds Dilmora's Debian package on a Debian 12 machine.
#
#   bash tools/package.sh [build folder]    default: build/package
#
# Installs what is missing, builds the program optimised and hardened, and
# writes <build folder>/dilmora_<version>_<architecture>.deb. Two builds of one
# commit give the same bytes, in whatever folder and at whatever time
# (packaging/make-deb.sh). Then, as root:
#   apt-get install ./build/package/dilmora_*.deb
# and tools/check-package.sh installs it, starts it and removes it again.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
source tools/lib/install-missing.sh

build=${1:-build/package}

install_for package

# Afresh: no cache entry of an earlier configuration decides the flags.
cmake --fresh -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF -DDILMORA_BUILD_TOOLS=OFF \
    -DDILMORA_HARDEN=ON -DDILMORA_REPRODUCIBLE=ON >/dev/null
# The progress on standard error: the output is the .deb's path alone.
cmake --build "$build" -j "$(nproc)" >&2
rm -f "$build"/dilmora_*.deb
bash packaging/make-deb.sh "$build"
