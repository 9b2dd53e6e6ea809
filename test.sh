#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test. Exit status: the tests'.
# Usage: ./test.sh [ctest arguments...]
set -euo pipefail
cd "$(dirname "$0")"

# Beyond building: test frameworks, fixture and benchmark tools, and the
# checkers of the desktop files and the Debian package.
scripts/ensure-packages.sh \
  libgtest-dev libgmock-dev libbenchmark-dev libjpeg-turbo-progs libstb-dev \
  desktop-file-utils libxml2-utils shared-mime-info appstream groff-base dpkg-dev file

cmake --preset default -DBUILD_TESTING=ON
cmake --build --preset default
ctest --preset default "$@"
