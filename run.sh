#!/usr/bin/env bash
# Installs what is missing, builds, and starts the player.
# Usage: ./run.sh [FILE.VX]
set -euo pipefail
cd "$(dirname "$0")"

scripts/ensure-packages.sh

cmake --preset default
cmake --build --preset default --target vexa
exec build/vexa "$@"
