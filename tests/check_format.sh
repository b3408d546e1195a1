#!/usr/bin/env bash
# Every C++ source of the project follows its .clang-format.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
source tests/system/lib/needs.sh
needs clang-format git
[ -e .git ] || { echo "SKIPPED: not a git work tree" >&2; exit 77; }
git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format --style=file --dry-run --Werror
