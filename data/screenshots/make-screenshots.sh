#!/usr/bin/env bash
# Takes the AppStream screenshots from the running program on a private X
# display: the window with a file chosen and a text encrypted, and the
# password prompt. Writes the PNG files next to this script.
# Usage: data/screenshots/make-screenshots.sh [BUILD_DIR]
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
program="$(cd "${1:-$here/../../build}" && pwd)/bin/quillbox"
[ -x "$program" ] || { echo "no program at $program" >&2; exit 1; }

work="$(mktemp -d)"
server="" quillbox=""
cleanup() {
  [ -z "$quillbox" ] || kill "$quillbox" 2>/dev/null || true
  [ -z "$server" ] || kill "$server" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
server=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=":$(cat "$work/display")" QT_QPA_PLATFORM=xcb
export XDG_RUNTIME_DIR="$work"

window_of() { xdotool search --sync --onlyvisible --name '^Quillbox$' | tail -1; }
keys() { xdotool windowfocus --sync "$1" && shift && xdotool "$@"; }
shoot() { sleep 0.5; import -window "$1" "png:$here/$2"; }

# Paths relative to an empty folder: the path completion has nothing to
# offer, so no list opens over the window.
(cd "$work" && exec "$program" 2>/dev/null) &
quillbox=$!
main="$(window_of)"
keys "$main" type --delay 10 "Documents/report 2026.txt"
keys "$main" key Tab
keys "$main" type --delay 10 "Documents/report 2026.txt.enc"
keys "$main" key Tab Tab Tab Tab
keys "$main" type --delay 10 "Meet at noon by the old bridge"
keys "$main" key alt+n
prompt=""
for _ in $(seq 100); do
  prompt="$(xdotool search --onlyvisible --name '^Quillbox$' | grep -vx "$main" | head -1 || true)"
  [ -n "$prompt" ] && break
  sleep 0.1
done
[ -n "$prompt" ] || { echo "the password prompt did not open" >&2; exit 1; }
keys "$prompt" type --delay 10 "correct horse"
shoot "$prompt" quillbox-password.png
keys "$prompt" key Return
sleep 1
shoot "$main" quillbox-window.png
echo "Screenshots written to $here"
