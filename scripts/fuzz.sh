#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (AddressSanitizer and
# UndefinedBehaviorSanitizer on) and runs each for a bounded time on a copy
# of its seed corpus. Any crash, sanitizer report, leak or broken property
# fails the run; the input that caused it is kept in build-fuzz/artifacts.
#
#     scripts/fuzz.sh [SECONDS_PER_TARGET]     (default 20)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
seconds="${1:-20}"
dir="$root/build-fuzz"

CC=clang CXX=clang++ cmake -S "$root" -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DQUILLBOX_FUZZ=ON -DQUILLBOX_GUI=OFF -DQUILLBOX_TESTS=OFF -DQUILLBOX_BENCH=OFF >/dev/null
cmake --build "$dir" --parallel "$(nproc)"

echo "== Fuzzing: ${seconds}s per target"
targets=(fuzz_decode_array64 fuzz_decrypt_byte fuzz_decrypt_string fuzz_command_line)
mkdir -p "$dir/artifacts"
failed=()
for target in "${targets[@]}"; do
  # The fuzzer adds what it finds to its corpus folder: work on a copy so
  # the committed seeds stay small.
  corpus="$dir/corpus/$target"
  rm -rf "$corpus"
  mkdir -p "$corpus"
  cp "$root/tests/fuzz/corpus/$target/"* "$corpus/"
  echo "== $target (${seconds}s)"
  if ! ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
      "$dir/bin/$target" "$corpus" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
      -max_len=4096 -print_final_stats=1 -artifact_prefix="$dir/artifacts/$target-" \
      >"$dir/$target.log" 2>&1; then
    tail -n 40 "$dir/$target.log"
    failed+=("$target")
  else
    grep -E '^stat::number_of_executed_units|^Done' "$dir/$target.log" || true
  fi
done

if [ ${#failed[@]} -ne 0 ]; then
  echo "Fuzzing found problems in: ${failed[*]} (inputs in $dir/artifacts)" >&2
  exit 1
fi
echo "Fuzzing: no problems found."
