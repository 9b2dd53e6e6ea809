#!/usr/bin/env bash
# Installs what is missing, builds, and starts the player.
# Usage: ./run.sh [FILE.VX]   (without a file: the bundled demo puzzle)
set -euo pipefail

# A file named relative to where the user stands, before we move to the checkout.
if [ $# -gt 0 ]; then
  file=$(realpath -m -- "$1")
fi
cd "$(dirname "$0")"
: "${file:=$PWD/resources/demo/demo.VX}"

scripts/ensure-packages.sh

# The tests need packages of their own (./test.sh installs them); playing does not.
cmake --preset default -DBUILD_TESTING=OFF
cmake --build --preset default --target vexa
exec build/vexa "$file"
