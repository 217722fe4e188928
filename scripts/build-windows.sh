#!/usr/bin/env bash
# Cross-builds the Windows programs for x86_64 and i686 into
# build-windows/<arch>/bin/, statically linked:
#   scripts/build-windows.sh [ARCH...] [-- CMAKE_ARGS...]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/setup-windows.sh"

arches=()
while [ $# -gt 0 ] && [ "$1" != "--" ]; do arches+=("$1"); shift; done
[ "${1:-}" = "--" ] && shift
[ ${#arches[@]} -eq 0 ] && arches=(x86_64 i686)

for arch in "${arches[@]}"; do
  dir="$root/build-windows/$arch"
  cmake -S "$root" -B "$dir" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchains/mingw-$arch.cmake" \
    -DQUILLBOX_GUI=OFF -DQUILLBOX_BENCH=OFF "$@" >/dev/null
  cmake --build "$dir" --parallel "$(nproc)"
done
