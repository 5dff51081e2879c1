#!/usr/bin/env bash
# Runs fuzz targets of a build, each for a bounded time on its own copy of
# the seed corpus (fuzz/corpus/<target>, which stays as committed); inputs the
# fuzzer finds gather in BUILD/fuzz/corpus/<target>. Fails on the first crash,
# whose input lands in BUILD/fuzz/crashes/.
# Usage: fuzz/run.sh BUILD [SECONDS [TARGET...]]   (default: 20 s, every target)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "$1" && pwd)
seconds=${2:-20}
shift $(( $# < 2 ? $# : 2 ))
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for dir in "$here"/corpus/*/; do targets+=("$(basename "$dir")"); done
fi

# Every input builds an App on a fresh temporary folder: in memory that costs
# no disk flushes.
[ -d /dev/shm ] && [ -w /dev/shm ] && export TMPDIR=/dev/shm
export ASAN_OPTIONS=${ASAN_OPTIONS:-halt_on_error=1:print_stacktrace=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-halt_on_error=1:print_stacktrace=1}

mkdir -p "$build/fuzz/crashes"
for target in "${targets[@]}"; do
  corpus=$build/fuzz/corpus/$target
  mkdir -p "$corpus"
  cp -n "$here/corpus/$target"/* "$corpus/"
  echo "== $target: $seconds s"
  "$build/fuzz/$target" -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
    -artifact_prefix="$build/fuzz/crashes/$target-" "$corpus"
done
