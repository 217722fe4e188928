#!/usr/bin/env bash
# Sets up, builds and runs every test: the layering and formatting check,
# the test suite in a release build, the desktop files, installation and
# package of that build, the same suite under AddressSanitizer and
# UndefinedBehaviorSanitizer, then each fuzz target for a bounded time.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/setup.sh"

run_suite() {
  local dir="$1"; shift
  "$root/scripts/build.sh" "$dir" "$@"
  (cd "$dir" && xvfb-run -a -s "-screen 0 1280x1024x24" ctest --output-on-failure --timeout 600)
}

echo "== Layers and formatting"
"$root/scripts/check-layers.sh"
echo "== Release build"
run_suite "$root/build"
echo "== Desktop files, installation and package"
"$root/scripts/check-install.sh" "$root/build"
echo "== AddressSanitizer + UndefinedBehaviorSanitizer build"
# Leaks inside the system libraries that Qt loads are not ours to fix.
export LSAN_OPTIONS="suppressions=$root/tests/sanitizers/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
run_suite "$root/build-asan" -DQUILLBOX_SANITIZE=ON -DQUILLBOX_BENCH=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo
"$root/scripts/fuzz.sh"
