#!/usr/bin/env bash
# The Windows stage of the tests: builds both architectures, runs the engine,
# core and option tests under wine (cases labelled "posix" left out), then
# checks that what the Linux quillbox-cli makes decrypts with
# quillbox-cli.exe and the reverse, byte for byte, and that the Windows
# program keeps the same exit statuses.
#   scripts/test-windows.sh [ARCH...]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
arches=("$@")
[ ${#arches[@]} -eq 0 ] && arches=(x86_64 i686)

"$root/scripts/build-windows.sh" "${arches[@]}"

linux_cli="$root/build/bin/quillbox-cli"
if [ ! -x "$linux_cli" ]; then
  cmake -S "$root" -B "$root/build" -DCMAKE_BUILD_TYPE=Release >/dev/null
  cmake --build "$root/build" --target quillbox-cli --parallel "$(nproc)"
fi

export WINEDEBUG=-all
export WINEPREFIX="$root/build-windows/wineprefix"
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  mkdir -p "$WINEPREFIX"
  wineboot -i >/dev/null 2>&1
fi

failures=0
fail() {
  echo "FAILED: $*" >&2
  failures=$((failures + 1))
}

# Runs a program and checks its exit status: expect STATUS COMMAND...
expect() {
  local want="$1"; shift
  local got=0
  "$@" >/dev/null 2>>"$work/stderr" || got=$?
  [ "$got" -eq "$want" ] || fail "status $got instead of $want: $*"
}

same() {
  cmp -s "$1" "$2" || fail "$1 and $2 differ"
}

interop() {
  local arch="$1"
  local exe="$root/build-windows/$arch/bin/quillbox-cli.exe"
  win() { wine "$exe" "$@"; }
  work="$(mktemp -d "${TMPDIR:-/tmp}/quillbox-windows-XXXXXX")"
  cd "$work"
  export PW='pass wörd'
  printf '%s\n' "$PW" > pwfile

  # Files of several sizes, also an empty one and one with a non-ASCII name.
  head -c 0 /dev/urandom > empty.bin
  head -c 7 /dev/urandom > seven.bin
  head -c 100003 /dev/urandom > middle.bin
  head -c 3000000 /dev/urandom > 'größer €.bin'
  for f in empty.bin seven.bin middle.bin 'größer €.bin'; do
    "$linux_cli" encrypt -q "$f" -o "$f.lin.enc" --password-env PW
    win decrypt -q "$f.lin.enc" -o "$f.from-lin" --password-file pwfile || fail "decrypt $f"
    same "$f" "$f.from-lin"
    win encrypt -q "$f" -o "$f.win.enc" --password-env PW || fail "encrypt $f"
    "$linux_cli" decrypt -q "$f.win.enc" -o "$f.from-win" --password-env PW
    same "$f" "$f.from-win"
    # Base64 files.
    "$linux_cli" encrypt -q -a "$f" -o "$f.lin.b64" --password-env PW
    win decrypt -q -a "$f.lin.b64" -o "$f.from-lin64" --password-env PW || fail "decrypt -a $f"
    same "$f" "$f.from-lin64"
    win encrypt -q -a "$f" -o "$f.win.b64" --password-env PW || fail "encrypt -a $f"
    "$linux_cli" decrypt -q -a "$f.win.b64" -o "$f.from-win64" --password-env PW
    same "$f" "$f.from-win64"
  done

  # Texts, from --text and from standard input, and standard output.
  local text='Grüße, café — 1/2 €'
  "$linux_cli" encrypt-text --text "$text" --password-env PW > text.lin
  [ "$(win decrypt-text --password-env PW < text.lin)" = "$text" ] || fail "text from Linux"
  win encrypt-text --password-env PW <<< "$text" > text.win
  [ "$("$linux_cli" decrypt-text --text "$(cat text.win)" --password-env PW)" = "$text" ] ||
    fail "text from Windows"
  win encrypt -q - -o - --password-env PW < middle.bin > stream.enc
  "$linux_cli" decrypt -q stream.enc -o stream.out --password-env PW
  same middle.bin stream.out

  # The default name, and --wipe.
  cp seven.bin own.bin
  win encrypt -q own.bin --password-env PW
  "$linux_cli" decrypt -q own.bin.enc -o own.out --password-env PW
  same seven.bin own.out
  # The temporary file's hidden attribute does not stay with the result.
  wine cmd /c attrib own.bin.enc | grep -q '^[^:]*H' && fail "the new file is hidden"
  cp middle.bin wiped.bin
  win encrypt -q --wipe wiped.bin --password-env PW || fail "--wipe"
  [ ! -e wiped.bin ] || fail "--wipe left the source"
  "$linux_cli" decrypt -q wiped.bin.enc -o wiped.out --password-env PW
  same middle.bin wiped.out
  [ -z "$(ls -A | grep '^\.quillbox-' || true)" ] || fail "temporary files left behind"

  # The console prompt: asked twice on a console (wine's, on a pseudo-terminal),
  # the password not echoed, and the result decrypts on Linux.
  cp seven.bin asked.bin
  python3 - "$exe" <<'PY' || fail "console prompt"
import os, pty, select, sys, time
pid, fd = pty.fork()
if pid == 0:
    os.execvp("wine", ["wine", sys.argv[1], "encrypt", "-q", "asked.bin"])
seen = b""
def wait_for(text):
    global seen
    end = time.time() + 60
    while text not in seen and time.time() < end:
        if select.select([fd], [], [], 0.5)[0]:
            try:
                seen += os.read(fd, 4096)
            except OSError:
                break
    # wine switches its terminal to raw mode just after the prompt shows
    time.sleep(1)
    return text in seen
asked = wait_for(b"Password:")
os.write(fd, "pass wörd\r".encode())
asked = asked and wait_for(b"Re-enter password:")
os.write(fd, "pass wörd\r".encode())
wait_for(b"\0")  # until the program ends
status = os.waitstatus_to_exitcode(os.waitpid(pid, 0)[1])
sys.exit(0 if asked and status == 0 and "wörd".encode() not in seen else 1)
PY
  "$linux_cli" decrypt -q asked.bin.enc -o asked.out --password-env PW
  same seven.bin asked.out

  # A path longer than MAX_PATH.
  local deep
  deep="$(printf 'folder-with-a-long-name-%02d/' $(seq 1 12))"
  mkdir -p "$deep"
  cp seven.bin "$deep/deep.bin"
  win encrypt -q "$deep/deep.bin" --password-env PW || fail "long path"
  "$linux_cli" decrypt -q "$deep/deep.bin.enc" -o deep.out --password-env PW
  same seven.bin deep.out

  # The same exit statuses as on Linux, for commands that write nothing.
  "$linux_cli" encrypt -q seven.bin --password-env PW
  mkdir -p folder
  local cases=(
    "encrypt seven.bin --password-fd"
    "encrypt missing.bin --password-env PW"
    "encrypt seven.bin --password-env PW"
    "encrypt folder --password-env PW"
    "decrypt middle.bin.win.enc -o x --password-env NOPE"
    "decrypt middle.bin --password-env PW"
    "decrypt middle.bin.win.enc -o wrong.out --password-env PWFILE"
  )
  local args
  export PWFILE=wrong
  for line in "${cases[@]}"; do
    read -r -a args <<< "$line"
    local linux=0 windows=0
    "$linux_cli" "${args[@]}" >/dev/null 2>&1 || linux=$?
    win "${args[@]}" >/dev/null 2>&1 || windows=$?
    [ "$linux" -eq "$windows" ] || fail "status $windows on Windows, $linux on Linux: $line"
  done
  [ ! -e wrong.out ] || fail "a wrong password wrote a file"
  # Where descriptors do not reach the program, --password-fd is refused.
  expect 2 win encrypt seven.bin -o fd.enc --password-fd 0
  # Devices are no destinations, as /dev/null is none on Linux.
  local refused=0
  "$linux_cli" encrypt -q seven.bin -f -o /dev/null --password-env PW 2>/dev/null || refused=$?
  [ "$refused" -ne 0 ] || fail "Linux wrote to /dev/null"
  for device in NUL CON COM1 nul.txt 'C:\sub\aux.bin' '\\.\NUL'; do
    expect "$refused" win encrypt -q seven.bin -f -o "$device" --password-env PW
  done

  cd "$root"
  rm -rf "$work"
}

# The programs need no DLL beyond the system's, and the installer puts them,
# the uninstaller and (with the window program) the association and Explorer
# entries in place, and takes them away again.
package_checks() {
  local arch="$1" bin="$root/build-windows/$1/bin" exe
  for exe in "$bin"/quillbox*.exe; do
    local foreign
    foreign="$("$arch-w64-mingw32-objdump" -p "$exe" | sed -n 's/^\s*DLL Name: //p' |
      grep -viE '^(kernel32|user32|gdi32|shell32|shlwapi|comctl32|comdlg32|ole32|oleaut32|advapi32|bcrypt|msvcrt|ucrtbase|ws2_32|uxtheme|dwmapi|shcore|imm32|api-ms-win-.*)\.dll$' || true)"
    [ -z "$foreign" ] || fail "$(basename "$exe") needs $foreign"
  done
  local version
  version="$(sed -n 's/^project(Quillbox VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")"
  local folder="$WINEPREFIX/drive_c/Quillbox-$arch" registry="$WINEPREFIX/system.reg"
  wine "$root/build-windows/quillbox-$version-windows-$arch-setup.exe" /S "/D=C:\\Quillbox-$arch"
  wineserver -w
  [ -f "$folder/quillbox-cli.exe" ] && [ -f "$folder/uninstall.exe" ] || fail "installer ($arch)"
  grep -q 'Uninstall\\\\Quillbox\]' "$registry" || fail "no uninstall entry ($arch)"
  if [ -f "$bin/quillbox.exe" ]; then
    [ -f "$folder/quillbox.exe" ] || fail "quillbox.exe not installed ($arch)"
    grep -q 'Classes\\\\.enc\]' "$registry" || fail "no .enc association ($arch)"
    grep -q 'QuillboxEncrypt\\\\command\]' "$registry" || fail "no Explorer entry ($arch)"
  fi
  wine "C:\\Quillbox-$arch\\uninstall.exe" /S
  wineserver -w
  sleep 1
  [ ! -e "$folder" ] || fail "the uninstaller left $folder"
  if grep -q 'Uninstall\\\\Quillbox\]\|QuillboxEncrypt' "$registry"; then
    fail "the uninstaller left registry entries ($arch)"
  fi
}

for arch in "${arches[@]}"; do
  echo "== Windows $arch: programs and installer"
  package_checks "$arch"
  echo "== Windows $arch: tests under wine"
  (cd "$root/build-windows/$arch" && ctest --output-on-failure -LE posix -j2 --timeout 600)
  echo "== Windows $arch: files and texts between Linux and Windows"
  interop "$arch"
  echo "== Windows $arch: the window program under wine"
  "$root/scripts/test-windows-gui.sh" "$root/build-windows/$arch/bin/quillbox.exe" ||
    fail "the window program's end-to-end test ($arch)"
done
if [ "$failures" -ne 0 ]; then
  echo "$failures Windows check(s) failed" >&2
  exit 1
fi
echo "Windows checks passed"
