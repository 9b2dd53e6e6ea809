#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test. Exit status: the tests'.
# Usage: ./test.sh [ctest arguments...]
set -euo pipefail
cd "$(dirname "$0")"

scripts/ensure-packages.sh

cmake --preset default
cmake --build --preset default
ctest --preset default "$@"
