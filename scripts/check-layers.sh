#!/usr/bin/env bash
# Checks the layering of the tracked C++ sources and their formatting:
#  - a folder includes only from itself and the folders below it;
#  - no Qt in fileio/, cipher/, core/ or cli/;
#  - a header declares its names in its folder's namespace (the design's
#    names excepted);
#  - operating-system headers and platform conditionals only in the
#    per-platform folders posix/, wayland/ and win32/, and in wingui/, the
#    window program that exists on Windows only;
#  - every file formatted as .clang-format says.
# tests/ and bench/ may include anything. Prints each finding and fails if
# there is one.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"

# The folders each folder may include from: fileio <- cipher <- core <- cli,
# and core <- app <- ui <- gui; the Windows front end wingui sits beside gui.
declare -A below=(
  [fileio]="fileio"
  [cipher]="fileio cipher"
  [core]="fileio cipher core"
  [cli]="fileio cipher core cli"
  [app]="fileio cipher core app"
  [ui]="fileio cipher core app ui"
  [gui]="fileio cipher core app ui gui"
  [wingui]="fileio cipher core wingui"
)
qt_free=" fileio cipher core cli "
qt_header='^(Qt[A-Za-z]*/|Q[A-Z][A-Za-z]*$|Qt[A-Z][A-Za-z]*$|qpa/|private/q|q[a-z]+\.h$)'
system_header='^((unistd|fcntl|signal|termios|pthread|dirent|poll|dlfcn|pwd|grp|spawn|sched|semaphore|syslog|glob|fnmatch|libgen|strings|wordexp|windows|winsock2|ws2tcpip|shlobj|shellapi|io|direct)\.h|(sys|netinet|arpa|linux|X11|xcb)/.*|wayland-.*\.h)$'
platform_macro='^[[:space:]]*#[[:space:]]*(if|ifdef|ifndef|elif).*(_WIN32|_WIN64|__linux__|__unix__|__APPLE__|Q_OS_)'
include_line='^[[:space:]]*#[[:space:]]*include[[:space:]]*([<"])([^>"]+)'

failures=0
fail() {
  echo "check-layers: $*" >&2
  failures=$((failures + 1))
}

# The tracked sources that are still there (a deletion may not be staged yet).
mapfile -t sources < <(git ls-files '*.cpp' '*.h' | while IFS= read -r f; do
  if [[ -f $f ]]; then echo "$f"; fi
done)
for file in "${sources[@]}"; do
  folder=${file%%/*}
  case "$folder" in tests | bench) continue ;; esac
  if [[ -z ${below[$folder]+set} ]]; then
    fail "$file: folder $folder/ has no place in the layers"
    continue
  fi
  on_platform=no
  [[ /$file =~ /(posix|wayland|win32)/ || $folder == wingui ]] && on_platform=yes
  number=0
  while IFS= read -r line; do
    number=$((number + 1))
    if [[ $on_platform == no && $line =~ $platform_macro ]]; then
      fail "$file:$number: platform conditional outside posix/, wayland/, win32/"
    fi
    [[ $line =~ $include_line ]] || continue
    quote=${BASH_REMATCH[1]}
    header=${BASH_REMATCH[2]}
    if [[ $quote == '"' && $header == */* ]]; then
      from=${header%%/*}
      if [[ -n ${below[$from]+set} || $from == tests || $from == bench ]] &&
        [[ " ${below[$folder]} " != *" $from "* ]]; then
        fail "$file:$number: $folder/ includes $header from a layer above or beside it"
      fi
    fi
    if [[ $quote == '<' ]]; then
      if [[ $qt_free == *" $folder "* && $header =~ $qt_header ]]; then
        fail "$file:$number: Qt header <$header> in $folder/, which stays without Qt"
      fi
      if [[ $on_platform == no && $header =~ $system_header ]]; then
        fail "$file:$number: system header <$header> outside posix/, wayland/, win32/"
      fi
    fi
  done <"$file"
done

for file in "${sources[@]}"; do
  folder=${file%%/*}
  [[ $file == *.h && -n ${below[$folder]+set} ]] || continue
  while IFS= read -r finding; do fail "$finding"; done < <(
    awk -v folder="$folder" -f "$root/scripts/check-namespaces.awk" "$file")
done

for folder in $qt_free; do
  if grep -nE 'Qt[0-9]*::|find_package\(Qt' "$folder/CMakeLists.txt" >/dev/null; then
    fail "$folder/CMakeLists.txt: links Qt, which $folder/ must not use"
  fi
done

if ! clang-format --dry-run -Werror "${sources[@]}"; then
  fail "files above differ from .clang-format (run clang-format -i on them)"
fi

if ((failures > 0)); then
  echo "check-layers: $failures finding(s)" >&2
  exit 1
fi
echo "check-layers: layers, namespaces, Qt, platform headers and formatting are in order"
