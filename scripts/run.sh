#!/usr/bin/env bash
# Sets up, builds and starts Quillbox. Arguments are passed to the program.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/setup.sh"
"$root/scripts/build.sh" "$root/build"
exec "$root/build/bin/quillbox" "$@"
