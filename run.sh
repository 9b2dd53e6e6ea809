#!/usr/bin/env bash
# Installs what is missing, builds, and starts the player.
# Usage: ./run.sh [FILE.VX]   (without a file: the bundled demo puzzle)
set -euo pipefail
cd "$(dirname "$0")"

scripts/ensure-packages.sh

cmake --preset default
cmake --build --preset default --target vexa
if [ $# -eq 0 ]; then
  set -- resources/demo/demo.VX
fi
exec build/vexa "$@"
