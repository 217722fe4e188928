#!/usr/bin/env bash
# Installs what Quillbox needs to build, run and test on Debian 12.
# Quick when everything is already there.
set -euo pipefail

packages=(
  build-essential cmake clang libclang-rt-14-dev clang-format
  libgtest-dev libgmock-dev libbenchmark-dev libssl-dev openssl
  qt6-base-dev qt6-l10n-tools qt6-tools-dev libgl-dev libxkbcommon-x11-0 fonts-dejavu-core
  xvfb xauth xdotool xclip x11-utils imagemagick time
  qt6-base-private-dev libwayland-dev qt6-wayland weston wl-clipboard
  desktop-file-utils appstream dpkg-dev man-db libglib2.0-bin lintian
  bash-completion zsh fish
)

exec "$(dirname "$0")/install-packages.sh" "${packages[@]}"
