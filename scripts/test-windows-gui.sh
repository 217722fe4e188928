#!/usr/bin/env bash
# Drives the Windows window program under wine on a private X server, as a
# user would: a file encrypted and decrypted through the window (prompts
# answered), a string encrypted and decrypted through the clipboard, and the
# "/" command line for a file with its exit statuses. Leaves a screenshot of
# the main window in the work folder.
#   scripts/test-windows-gui.sh [PATH/TO/quillbox.exe]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
exe="$(realpath "${1:-$root/build-windows/x86_64/bin/quillbox.exe}")"
work="$(mktemp -d /tmp/quillbox-wingui.XXXXXX)"
export WINEPREFIX="$work/prefix" WINEDEBUG=-all
pw=741

for display in $(seq 90 120); do [ -e "/tmp/.X$display-lock" ] || break; done
export DISPLAY=":$display"
Xvfb "$DISPLAY" -noreset -screen 0 1280x1024x24 >/dev/null 2>&1 &
xvfb=$!
gui=""
cleanup() {
  [ -n "$gui" ] && kill "$gui" 2>/dev/null || true
  wineserver -k 2>/dev/null || true
  kill "$xvfb" 2>/dev/null || true
  # Only the screenshots stay.
  find "$work" -mindepth 1 -maxdepth 1 ! -name '*.png' -exec rm -rf {} + 2>/dev/null || true
}
trap cleanup EXIT
fail() {
  import -window root -crop 800x600+0+0 "$work/failure.png" 2>/dev/null || true
  echo "test-windows-gui: $* (screen: $work/failure.png)" >&2
  exit 1
}

wineboot -i >/dev/null 2>&1
# Wine draws the title bars itself: there is no window manager.
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1

# The program's windows on screen: the main window, a prompt, a message box.
windows() { xdotool search --onlyvisible --name '^Quillbox$' 2>/dev/null | sort; }
wait_count() {
  for _ in $(seq 300); do [ "$(windows | wc -l)" -eq "$1" ] && return 0; sleep 0.1; done
  fail "expected $1 window(s), found: $(windows | tr '\n' ' ')"
}
# A click near the bottom-left corner (no control there, and not the title
# bar, which would start moving the window) makes a window the active one.
activate() {
  local height; height="$(xdotool getwindowgeometry --shell "$1" | sed -n 's/^HEIGHT=//p')"
  xdotool mousemove --window "$1" 6 $((height - 4)) click 1
}
# The work goes on after the last prompt has closed.
wait_file() {
  for _ in $(seq 300); do [ -f "$1" ] && return 0; sleep 0.1; done
  fail "no file $1"
}
# Copy to clipboard, again until the clipboard holds something else than before.
copy_result() {
  for _ in $(seq 50); do
    xdotool key alt+c
    sleep 0.2
    [ "$(xclip -o -selection clipboard 2>/dev/null)" != "$1" ] && return 0
  done
  fail "nothing new on the clipboard"
}
# Waits for a window beside the `base` ones, gives it the keys, and waits
# until it is gone (the next prompt may open at once).
answer() {
  local base="$1" new=""; shift
  for _ in $(seq 300); do
    new="$(comm -13 <(tr ' ' '\n' <<<"$base" | sort) <(windows) | head -n 1)"
    [ -n "$new" ] && break
    sleep 0.1
  done
  [ -n "$new" ] || fail "no window beside: $base"
  activate "$new"
  "$@"
  for _ in $(seq 300); do windows | grep -qx "$new" || return 0; sleep 0.1; done
  fail "window $new stayed open"
}
type_password() { xdotool type --delay 20 "$pw"; xdotool key Return; }
winpath() { winepath -w "$1"; }

head -c 100000 /dev/urandom >"$work/data.bin"
cp "$work/data.bin" "$work/reference.bin"

# Starts the window program (its window in $main, the process in $gui).
open_window() {
  wine "$exe" &
  gui=$!
  wait_count 1
  main="$(windows)"
  activate "$main"
}
# Types the two paths of the file panel and presses Encrypt, then answers
# both password prompts.
encrypt_in_window() {
  xdotool type --delay 5 "$(winpath "$1")"
  xdotool key Tab
  xdotool type --delay 5 "$(winpath "$2")"
  xdotool key Tab Tab Return  # Encrypt, by Enter on the focused button
  answer "$main" type_password
  answer "$main" type_password
}

echo "-- file through the window"
open_window
import -window root -crop 400x400+0+0 "$work/main-window.png"
encrypt_in_window "$work/data.bin" "$work/data.bin.enc"
answer "$main" xdotool key n  # "Wipe original?" No
[ -f "$work/data.bin.enc" ] || fail "nothing encrypted"
cmp -s "$work/data.bin" "$work/reference.bin" || fail "the original changed"
rm "$work/data.bin"
activate "$main"
xdotool key alt+s alt+d  # Swap, then Decrypt the .enc back into data.bin
answer "$main" type_password
wait_file "$work/data.bin"
cmp "$work/data.bin" "$work/reference.bin" || fail "file round trip"

echo "-- string through the clipboard"
text="Quillbox on Windows: a line long enough to need more than one Base64 line."
printf '%s' "$text" | xclip -selection clipboard
activate "$main"
xdotool key alt+a alt+n  # Paste, Encrypt
answer "$main" type_password
copy_result "$text"
cipher="$(xclip -o -selection clipboard)"
xdotool key alt+a alt+r  # Paste the ciphertext, Decrypt
answer "$main" type_password
copy_result "$cipher"
[ "$(xclip -o -selection clipboard)" = "$text" ] || fail "string round trip"
xdotool key alt+F4
wait "$gui" || fail "the window program ended with status $?"
gui=""

echo "-- \"/\" command line"
cp "$work/reference.bin" "$work/cmd.bin"
wine "$exe" "/encrypt /$(winpath "$work/cmd.bin") /$pw" &
gui=$!
answer "" type_password  # the password is retyped even when given
wait "$gui" || fail "command-line encryption ended with status $?"
gui=""
[ ! -e "$work/cmd.bin" ] && [ -f "$work/cmd.bin.enc" ] || fail "command line: not encrypted and wiped"
status=0
wine "$exe" "/decrypt /$(winpath "$work/cmd.bin.enc") /wrong" &
gui=$!
answer "" xdotool key Return  # the message about the wrong password
wait "$gui" || status=$?
gui=""
[ "$status" -eq 4 ] || fail "wrong password gave status $status, not 4"
wine "$exe" "/decrypt /$(winpath "$work/cmd.bin.enc") /$pw" || fail "command-line decryption"
cmp "$work/cmd.bin" "$work/reference.bin" || fail "command-line round trip"

echo "-- options"
wine "$exe" --version | grep -qx 'Quillbox [0-9.]*' || fail "--version"
wine "$exe" --help | grep -q -- '--decrypt FILE' || fail "--help"
status=0
wine "$exe" "/encrypt /text" 2>/dev/null &
gui=$!
answer "" xdotool key Return  # the usage text
wait "$gui" || status=$?
gui=""
[ "$status" -eq 2 ] || fail "an unusable command line gave status $status, not 2"

echo "-- Escape stops the work"
head -c 800M /dev/zero >"$work/big.bin"
open_window
encrypt_in_window "$work/big.bin" "$work/big.bin.enc"
for _ in $(seq 300); do
  xdotool search --onlyvisible --name '^Working' >/dev/null 2>&1 && break
  sleep 0.1
done
xdotool key Escape
answer "$main" xdotool key Return  # "Stop? The output so far is discarded." Yes
answer "$main" xdotool key Return  # "Stopped."
wait_count 1
ls -A "$work" | grep -q '^big\.bin\.enc$\|^\.quillbox-' && fail "stopped work left output behind"
[ "$(stat -c %s "$work/big.bin")" -eq $((800 << 20)) ] || fail "the original changed"
rm "$work/big.bin"
activate "$main"
xdotool key alt+F4
wait "$gui" || fail "the window program ended with status $? after a stop"
gui=""

echo "test-windows-gui: passed (screenshot: $work/main-window.png)"
