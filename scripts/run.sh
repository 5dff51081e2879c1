#!/usr/bin/env bash
# Builds a Release build, lays out the program folder and starts the program.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh build
cmake -S . -B build-release -DCMAKE_BUILD_TYPE=Release -DQUENDAR_TESTS=OFF >/dev/null
cmake --build build-release -j"$(nproc)"
exec build-release/quendar/quendar "$@"
