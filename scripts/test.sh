#!/usr/bin/env bash
# Builds everything from scratch and runs every test: unit, widget (offscreen)
# and end-to-end (the real program under a virtual X server), first in a plain
# build, then again with AddressSanitizer and UndefinedBehaviorSanitizer (any
# report fails the run); then runs each fuzz target for a short while.
# The builds run one after the other: CI has two cores.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh test
jobs=$(nproc)
fuzz_seconds=${QUENDAR_FUZZ_SECONDS:-20}

rm -rf build-test build-asan build-fuzz

cmake -S . -B build-test -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUENDAR_TESTS=ON
cmake --build build-test -j"$jobs"
(cd build-test && ctest --output-on-failure -j1)

# The sanitizer options of the tests come with the build (tests/CMakeLists.txt).
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUENDAR_TESTS=ON -DQUENDAR_SANITIZE=ON
cmake --build build-asan -j"$jobs"
(cd build-asan && ctest --output-on-failure -j1)

cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
      -DQUENDAR_TESTS=OFF -DQUENDAR_FUZZ=ON
cmake --build build-fuzz -j"$jobs" --target fuzzers
fuzz/run.sh build-fuzz "$fuzz_seconds"
