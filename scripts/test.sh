#!/usr/bin/env bash
# Builds everything from scratch and runs every test: unit, widget (offscreen)
# and end-to-end (the real program under a virtual X server).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh test
rm -rf build-test
cmake -S . -B build-test -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUENDAR_TESTS=ON
cmake --build build-test -j"$(nproc)"
cd build-test
ctest --output-on-failure -j1
