#!/usr/bin/env bash
# Installs the Debian packages Vexa needs to be built and played, but only
# those that are missing; callers name further packages (the tests' tools).
# Usage: scripts/ensure-packages.sh [extra-package ...]
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev libgl-dev libjpeg62-turbo-dev
  libopencv-core-dev libopencv-imgproc-dev libopencv-photo-dev
  fonts-noto-cjk qt6-translations-l10n
  "$@"
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  echo "All needed Debian packages are installed."
  exit 0
fi

echo "Installing missing Debian packages: ${missing[*]}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then
  sudo="sudo"
fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
