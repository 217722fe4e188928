#!/usr/bin/env bash
# Sets up, builds a release build and runs the engine benchmark beside
# OpenSSL. Arguments are passed to the benchmark program (for example
# --benchmark_filter=Engine). QUILLBOX_BENCH_MIB and QUILLBOX_BENCH_FILE_MIB
# shrink the data for a quick run.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/setup.sh"
"$root/scripts/build.sh" "$root/build" -DQUILLBOX_BENCH=ON
exec "$root/build/bin/quillbox_bench" --benchmark_min_time=2 "$@"
