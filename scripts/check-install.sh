#!/usr/bin/env bash
# Checks what makes Quillbox at home on a desktop, using a release build
# folder: the desktop entries and the AppStream metainfo validate, `cmake
# --install` into a staging folder puts every file in place, and CPack builds
# a Debian package with the right dependencies that lintian finds clean of
# errors and warnings, hardened binaries included.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build}"

desktop-file-validate "$root"/data/*.desktop
appstreamcli validate --no-net "$root"/data/*.metainfo.xml
# Each screenshot the metainfo names is a committed file of the stated size.
while read -r width height name; do
  image="$root/data/screenshots/$name"
  [ "$(identify -format '%w %h' "$image")" = "$width $height" ] ||
    { echo "screenshot $name is not ${width}x$height" >&2; exit 1; }
done < <(sed -n 's|.*<image type="source" width="\([0-9]*\)" height="\([0-9]*\)">.*/\([^/]*\)</image>.*|\1 \2 \3|p' \
  "$root"/data/*.metainfo.xml)

stage="$(mktemp -d)"
trap 'rm -rf "$stage"' EXIT
DESTDIR="$stage" cmake --install "$build" --prefix /usr >/dev/null
expected=(
  bin/quillbox
  share/applications/org.quillbox.Quillbox.desktop
  share/applications/org.quillbox.Quillbox.Decrypt.desktop
  share/metainfo/org.quillbox.Quillbox.metainfo.xml
  share/mime/packages/quillbox.xml
  share/icons/hicolor/scalable/apps/quillbox.svg
  share/man/man1/quillbox.1
  share/doc/quillbox/copyright
  share/bash-completion/completions/quillbox
  share/bash-completion/completions/quillbox-cli
  share/zsh/vendor-completions/_quillbox
  share/fish/vendor_completions.d/quillbox.fish
  share/fish/vendor_completions.d/quillbox-cli.fish
)
for size in 16 24 32 48 64 128 256; do
  expected+=("share/icons/hicolor/${size}x${size}/apps/quillbox.png")
done
for file in "${expected[@]}"; do
  [ -f "$stage/usr/$file" ] || { echo "not installed: $file" >&2; exit 1; }
done
"$stage/usr/bin/quillbox" --version >/dev/null
man --warnings -l "$stage/usr/share/man/man1/quillbox.1" >/dev/null

# Shell completion: each file parses in its shell, and bash and fish offer
# both programs' options and commands.
completions="$stage/usr/share"
zsh -n "$completions/zsh/vendor-completions/_quillbox"
offered() {  # SHELL PROGRAM: what the shell completes after "PROGRAM -"
  case $1 in
    bash) bash -c 'source /usr/share/bash-completion/bash_completion && source "$1" &&
      COMP_WORDS=("$2" -) COMP_CWORD=1 COMP_LINE="$2 -" COMP_POINT=$((${#2} + 2)) &&
      "$3" && echo "${COMPREPLY[*]}"' _ "$completions/bash-completion/completions/$2" "$2" \
      "_${2//-/_}" ;;
    fish) fish -c 'source $argv[1]; complete -C "$argv[2] -"' \
      "$completions/fish/vendor_completions.d/$2.fish" "$2" ;;
  esac
}
for shell in bash fish; do
  for word in quillbox:--encrypt quillbox:--decrypt quillbox:--open quillbox:--help \
              quillbox:--version quillbox-cli:--help quillbox-cli:--version; do
    program="${word%%:*}" option="${word#*:}"
    grep -qw -- "$option" <<<"$(offered "$shell" "$program")" ||
      { echo "$shell does not complete $program $option" >&2; exit 1; }
  done
done

(cd "$build" && cpack -G DEB >/dev/null)
package="$(ls -t "$build"/quillbox_*.deb | head -1)"
depends="$(dpkg-deb -f "$package" Depends)"
for needed in qt6-wayland qt6-qpa-plugins libqt6widgets6 libwayland-client0; do
  [[ "$depends" == *"$needed"* ]] || { echo "$package does not depend on $needed" >&2; exit 1; }
done
dpkg-deb -c "$package" | grep './usr/bin/quillbox$' >/dev/null
# Errors and warnings fail; the informational and pedantic tags are shown.
if ! report="$(lintian --fail-on error,warning -EvIL +pedantic "$package" 2>&1)"; then
  grep -v '^N:' <<<"$report" >&2
  echo "lintian rejects $package" >&2
  exit 1
fi
grep '^[IPX]:' <<<"$report" || true
echo "Installed files, desktop entries, metainfo and $(basename "$package") are fine."
