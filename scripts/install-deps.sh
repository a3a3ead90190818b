#!/usr/bin/env bash
# Installs, with apt-get, every Debian package zelvane needs to build, run and
# test. Packages already present are left alone; nothing comes from elsewhere.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config git python3
  qt6-base-dev libqt6opengl6-dev
  libgl-dev libglu1-mesa-dev libgl1-mesa-dri libegl-dev libegl-mesa0
  libfreetype-dev libfontconfig-dev fonts-liberation fonts-dejavu-core
  libcli11-dev nlohmann-json3-dev libpng-dev libturbojpeg0-dev
  libgtest-dev xvfb xauth
  clang libclang-rt-14-dev
  # the Debian package, man pages and desktop files, and the tools that check them
  dpkg-dev file lintian desktop-file-utils appstream shared-mime-info libglib2.0-bin
  man-db groff-base librsvg2-bin
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
