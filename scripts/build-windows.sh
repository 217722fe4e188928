#!/usr/bin/env bash
# Cross-builds the Windows programs for x86_64 and i686 into
# build-windows/<arch>/bin/, statically linked, and packs each architecture
# as a zip and an installer in build-windows/:
#   scripts/build-windows.sh [ARCH...] [-- CMAKE_ARGS...]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/setup-windows.sh"

arches=()
while [ $# -gt 0 ] && [ "$1" != "--" ]; do arches+=("$1"); shift; done
[ "${1:-}" = "--" ] && shift
[ ${#arches[@]} -eq 0 ] && arches=(x86_64 i686)

version="$(sed -n 's/^project(Quillbox VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")"

# The programs, not a DLL beside them, as a zip and as an installer.
package() {
  local arch="$1" bin="$root/build-windows/$1/bin"
  local programs=("$bin/quillbox-cli.exe")
  if [ -f "$root/wingui/CMakeLists.txt" ]; then
    [ -f "$bin/quillbox.exe" ] || { echo "quillbox.exe was not built" >&2; exit 1; }
    programs+=("$bin/quillbox.exe")
  fi
  local name="quillbox-$version-windows-$arch"
  local stage="$root/build-windows/$name"
  rm -rf "$stage" "$stage.zip"
  mkdir -p "$stage"
  cp "${programs[@]}" "$stage/"
  sed 's/$/\r/' "$root/README.md" > "$stage/README.txt"
  (cd "$root/build-windows" && zip -qr "$name.zip" "$name")
  rm -rf "$stage"
  makensis -V2 -DARCH="$arch" -DVERSION="$version" -DBINDIR="$bin" \
    -DDATADIR="$root/data/windows" -DOUTFILE="$root/build-windows/$name-setup.exe" \
    "$root/data/windows/quillbox.nsi" >/dev/null
}

for arch in "${arches[@]}"; do
  dir="$root/build-windows/$arch"
  cmake -S "$root" -B "$dir" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchains/mingw-$arch.cmake" \
    -DQUILLBOX_GUI=OFF -DQUILLBOX_BENCH=OFF "$@" >/dev/null
  cmake --build "$dir" --parallel "$(nproc)"
  package "$arch"
done
