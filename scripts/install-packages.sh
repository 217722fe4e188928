#!/usr/bin/env bash
# Installs the Debian packages given that are not installed yet, with
# apt-get (through sudo when not root); --i386 first enables the i386
# architecture. Quick when everything is already there:
#   scripts/install-packages.sh [--i386] PACKAGE...
set -euo pipefail

i386=no
if [ "${1:-}" = "--i386" ]; then i386=yes; shift; fi

missing=()
for p in "$@"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
if [ $i386 = yes ] && ! dpkg --print-foreign-architectures | grep -qx i386; then
  $SUDO dpkg --add-architecture i386
fi
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
