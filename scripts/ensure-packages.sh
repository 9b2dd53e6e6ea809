#!/usr/bin/env bash
# Installs the Debian packages Vexa needs, but only those that are missing.
# Usage: scripts/ensure-packages.sh [extra-package ...]
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev libgl-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  libjpeg62-turbo-dev libjpeg-turbo-progs libstb-dev
  fonts-noto-cjk
  desktop-file-utils libxml2-utils shared-mime-info
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
