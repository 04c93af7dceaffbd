#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the program need; does nothing when all are there.
set -euo pipefail
packages=(
  build-essential cmake pkg-config
  qt6-base-dev qt6-charts-dev libqt6opengl6-dev libgl-dev libsqlite3-dev libsodium-dev libicu-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  fonts-liberation2 xvfb xauth
  cups printer-driver-cups-pdf poppler-utils
  librsvg2-bin dpkg-dev file desktop-file-utils groff-base
)
missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || missing+=("$package")
done
if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
