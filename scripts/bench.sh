#!/usr/bin/env bash
# Sets up, builds a release build and measures:
#  1. the real window program's command line (on a private Xvfb display) on one file, best of
#     five runs alternating with `openssl enc` on the same file, with the peak
#     resident memory of the whole process; the command-line tool
#     build/bin/quillbox-cli too when it exists;
#  2. the engine benchmark beside OpenSSL (arguments are passed to it, for
#     example --benchmark_filter=Engine).
# QUILLBOX_BENCH_FILE_MIB sets the file size (default 256), QUILLBOX_BENCH_MIB
# the engine benchmark's data; QUILLBOX_BENCH_RUNS the runs per figure
# (default 5); QUILLBOX_BENCH_HUGE=1 also measures the memory of a
# 2147483628-byte file (the largest that fits in an encrypted file) and
# pipes of 2 GiB. QUILLBOX_BENCH_BUILD names the build folder (default
# build). Then: decryption on 1 and 2 threads and `cat` as the floor; a
# batch of four files in one call against four calls; pipes against named
# files; armored files.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${QUILLBOX_BENCH_BUILD:-$root/build}"
"$root/scripts/setup.sh"
"$root/scripts/build.sh" "$build" -DQUILLBOX_BENCH=ON

bin="$build/bin"
answer="$build/bench/libquillbox_bench_answer.so"
mib="${QUILLBOX_BENCH_FILE_MIB:-256}"
runs="${QUILLBOX_BENCH_RUNS:-5}"
password="bench password 1"
# openssl takes the key in hex; the key schedule is a few microseconds either
# way, the work per block is the same.
key=00112233445566778899AABBCCDDEEFF
work="$(mktemp -d "${TMPDIR:-/tmp}/quillbox-bench.XXXXXX")"
trap 'rm -rf "$work"' EXIT
cd "$work"

# Runs a command; prints "SECONDS PEAK_KIB". Fails when the command does.
measure() {
  /usr/bin/time -f "%e %M" -o "$work/time" "$@" >/dev/null 2>"$work/stderr" || {
    echo "failed: $*" >&2; cat "$work/stderr" >&2; return 1; }
  cat "$work/time"
}
# The window program on a private X display (with Qt's offscreen platform it
# would not wait for prompts at all). Its prompts are answered by a preloaded
# helper (bench/PromptAnswer.cpp): the password, then No to "Wipe original?"
# unless the command line wipes without asking.
Xvfb -displayfd 3 -screen 0 1024x768x24 -noreset 3>"$work/display" >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null; rm -rf "$work"' EXIT
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.05; done
quillbox=(env DISPLAY=":$(cat "$work/display")" QT_QPA_PLATFORM=xcb LD_PRELOAD="$answer"
  QUILLBOX_BENCH_ANSWER="$password" "$bin/quillbox")
ossl=(openssl enc -bf-cbc -nopad -provider legacy -provider default -K "$key"
  -iv 0000000000000000)
cli() {  # cli OPERATION IN OUT
  echo "$bin/quillbox-cli" "$1" "$2" -o "$3" --password-file "$work/pwfile" --force --quiet
}

best() { sort -n | head -1; }
peak() { sort -n | tail -1; }
rate() { awk -v b="$1" -v s="$2" 'BEGIN { printf "%.0f", b / s / 1e6 }'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", b / a }'; }

echo "== Whole program, a $mib MiB file, page cache warm, best of $runs runs"
head -c "$((mib << 20))" /dev/urandom >plain
printf '%s' "$password" >pwfile
bytes=$(stat -c %s plain)
"${quillbox[@]}" "/encrypt /plain /-ask /$work/plain.enc" >/dev/null 2>&1
cat plain plain.enc >/dev/null

declare -A seconds kib
record() {  # record NAME COMMAND...
  local result; result=$(measure "${@:2}")
  seconds[$1]+="${result% *}"$'\n'
  kib[$1]+="${result#* }"$'\n'
}
for ((run = 0; run < runs; run++)); do
  record q-dec "${quillbox[@]}" "/decrypt /plain.enc /$password /$work/out.q"
  record o-dec "${ossl[@]}" -d -in plain.enc -out out.o
  record q-enc "${quillbox[@]}" "/encrypt /plain /-ask /$work/again.enc"
  record o-enc "${ossl[@]}" -in plain -out again.o
  if [ -x "$bin/quillbox-cli" ]; then
    record c-dec $(cli decrypt plain.enc out.c)
    record c-enc $(cli encrypt plain again.c)
    record c-dec1 $(cli decrypt plain.enc out.c) --threads 1
    record c-dec2 $(cli decrypt plain.enc out.c) --threads 2
    record cat sh -c "cat plain.enc >out.c"
  fi
  rm -f out.q out.o again.enc again.o out.c again.c
done

report() {  # report LABEL OURS REFERENCE TARGET
  local ours theirs
  ours=$(printf '%s' "${seconds[$2]}" | best)
  theirs=$(printf '%s' "${seconds[$3]}" | best)
  printf '  %-34s %6s MB/s  openssl %6s MB/s  ratio %s (target %s)  peak %5.1f MiB (openssl %.1f MiB)\n' \
    "$1" "$(rate "$bytes" "$ours")" "$(rate "$bytes" "$theirs")" "$(ratio "$ours" "$theirs")" "$4" \
    "$(printf '%s' "${kib[$2]}" | peak | awk '{ print $1 / 1024 }')" \
    "$(printf '%s' "${kib[$3]}" | peak | awk '{ print $1 / 1024 }')"
}
report "quillbox /decrypt" q-dec o-dec "4.00"
report "quillbox /encrypt (no wipe)" q-enc o-enc "1.05"
if [ -x "$bin/quillbox-cli" ]; then
  report "quillbox-cli decrypt" c-dec o-dec "4.50"
  report "quillbox-cli decrypt --threads 1" c-dec1 o-dec "-"
  report "quillbox-cli decrypt --threads 2" c-dec2 o-dec "-"
  report "quillbox-cli encrypt" c-enc o-enc "1.05"
  report "cat (the floor)" cat o-dec "-"
fi
echo "  usable processors: $(nproc), load: $(uptime | sed 's/.*load average: //')"

if [ -x "$bin/quillbox-cli" ]; then
  # Compares two jobs, best of the runs, alternating: prints both times,
  # their ratio and the first job's peak memory.
  compare() {  # compare LABEL TARGET COMMAND-A -- COMMAND-B (the reference)
    local label=$1 target=$2; shift 2
    local a=() b=()
    while [ "$1" != -- ]; do a+=("$1"); shift; done; shift; b=("$@")
    unset 'seconds[A]' 'seconds[B]' 'kib[A]' 'kib[B]'
    for ((run = 0; run < runs; run++)); do record A "${a[@]}"; record B "${b[@]}"; done
    local ta tb; ta=$(printf '%s' "${seconds[A]}" | best); tb=$(printf '%s' "${seconds[B]}" | best)
    printf '  %-44s %6.2f s  against %6.2f s  ratio %s (target %s)  peak %5.1f MiB\n' \
      "$label" "$ta" "$tb" "$(ratio "$ta" "$tb")" "$target" \
      "$(printf '%s' "${kib[A]}" | peak | awk '{ print $1 / 1024 }')"
  }
  q=("$bin/quillbox-cli" --password-file "$work/pwfile" --force --quiet)

  echo "== Batch: four $((mib / 4)) MiB files in one call against four calls"
  for i in 1 2 3 4; do head -c "$((mib << 18))" plain >"part$i"; done
  compare "quillbox-cli encrypt A B C D" "1.80 faster" \
    "${q[@]}" encrypt part1 part2 part3 part4 -- \
    sh -c "for i in 1 2 3 4; do $(printf '%q ' "${q[@]}") encrypt part\$i; done"
  compare "quillbox-cli decrypt A B C D" "-" \
    "${q[@]}" decrypt part1.enc part2.enc part3.enc part4.enc -- \
    sh -c "for i in 1 2 3 4; do $(printf '%q ' "${q[@]}") decrypt part\$i.enc; done"
  rm -f part?*

  echo "== Pipes against named files (ratio: named / pipe, target at least 0.77 = within 1.3x)"
  pipe_sizes=("$bytes")
  [ "${QUILLBOX_BENCH_HUGE:-0}" = 1 ] && pipe_sizes+=(2147483628)
  qs=$(printf '%q ' "${q[@]}")
  for size in "${pipe_sizes[@]}"; do
    head -c "$size" /dev/urandom >piped
    "${q[@]}" encrypt piped -o piped.enc
    "${q[@]}" encrypt piped -o piped.b64 --armor
    compare "$size bytes: cat f | encrypt - -o out" "0.77" \
      sh -c "cat piped | $qs encrypt - -o out.p" -- "${q[@]}" encrypt piped -o out.n
    compare "$size bytes: encrypt f -o - | cat" "0.77" \
      sh -c "$qs encrypt piped -o - | cat >out.p" -- "${q[@]}" encrypt piped -o out.n
    compare "$size bytes: cat f | decrypt - -o out" "0.77" \
      sh -c "cat piped.enc | $qs decrypt - -o out.p" -- "${q[@]}" decrypt piped.enc -o out.n
    compare "$size bytes: decrypt f -o - | cat" "0.77" \
      sh -c "$qs decrypt piped.enc -o - | cat >out.p" -- "${q[@]}" decrypt piped.enc -o out.n
    compare "$size bytes: armored, cat f | decrypt -a -" "-" \
      sh -c "cat piped.b64 | $qs decrypt -a - -o out.p" -- "${q[@]}" decrypt -a piped.b64 -o out.n
    compare "$size bytes: armored decrypt by name" "-" \
      "${q[@]}" decrypt -a piped.b64 -o out.n -- "${q[@]}" decrypt piped.enc -o out.n
    rm -f piped piped.enc piped.b64 out.p out.n
  done
fi

echo "== Peak resident memory with the wipe (encrypt, check, overwrite, delete)"
sizes=(1024 "$bytes")
[ "${QUILLBOX_BENCH_HUGE:-0}" = 1 ] && sizes+=(2147483628)
for size in "${sizes[@]}"; do
  head -c "$size" /dev/urandom >wipe.me
  result=$(measure "${quillbox[@]}" "/encrypt /wipe.me /$password /$work/wipe.me.enc")
  [ -e wipe.me ] && { echo "the original was not wiped" >&2; exit 1; }
  line=$(printf '  quillbox, %11d bytes: %5.1f MiB (limit 48 MiB), %.2f s' "$size" \
    "$(awk -v k="${result#* }" 'BEGIN { print k / 1024 }')" "${result% *}")
  if [ -x "$bin/quillbox-cli" ]; then
    result=$(measure $(cli decrypt wipe.me.enc wipe.me))
    line+=$(printf ';  quillbox-cli decrypt: %5.1f MiB (limit 16 MiB)' \
      "$(awk -v k="${result#* }" 'BEGIN { print k / 1024 }')")
  fi
  echo "$line"
  rm -f wipe.me wipe.me.enc
done
rm -f plain plain.enc

echo "== Engine"
"$bin/quillbox_bench" --benchmark_min_time=2 "$@"
