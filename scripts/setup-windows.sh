#!/usr/bin/env bash
# Installs what the Windows build needs on Debian 12: the mingw-w64 cross
# compilers (the -posix ones, which have std::thread and std::mutex), wine for
# both architectures to run the programs and their tests, and the installer
# and archive builders. Quick when everything is already there.
set -euo pipefail

packages=(
  g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix binutils-mingw-w64-x86-64
  binutils-mingw-w64-i686 wine wine64 wine32:i386 nsis zip cmake googletest
)

exec "$(dirname "$0")/install-packages.sh" --i386 "${packages[@]}"
