#!/usr/bin/env bash
# Configures and builds into a folder: scripts/build.sh [BUILD_DIR] [CMAKE_ARGS...]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
dir="${1:-$root/build}"
shift || true
cmake -S "$root" -B "$dir" -DCMAKE_BUILD_TYPE=Release "$@" >/dev/null
cmake --build "$dir" --parallel "$(nproc)"
