#!/usr/bin/env bash
# Start-up of the whole program against the floor of a minimal Qt Widgets
# window, measured in the same run: time from exec to the main window being
# mapped (hyperfine), and peak memory once the window is up.
# Usage: bench/startup.sh BUILD_DIR   (configured with -DQUENDAR_BENCH=ON, Release)
set -euo pipefail
build=$(realpath "${1:?usage: $0 BUILD_DIR}")
here=$(dirname "$(realpath "$0")")
if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$@"
fi

folder=$(mktemp -d)
trap 'rm -rf "$folder"' EXIT
cp "$build/quendar/quendar" "$build/quendar/Quendar.ini" "$folder/"

wait_map="$build/bench/map_wait"
hyperfine --warmup 3 --runs 30 -N --export-markdown "$build/startup.md" \
  -n floor "$here/time_to_map.sh $wait_map $build/bench/floor_window floor" \
  -n quendar "$here/time_to_map.sh $wait_map $folder/quendar 'Quendar  0.4.8'"

peak() {  # peak resident memory (kB) of a program one second after its window is up
  "$wait_map" "$2" & local waiter=$!
  "$1" >/dev/null 2>&1 & local program=$!
  wait "$waiter"; sleep 1
  grep VmHWM "/proc/$program/status" | awk '{print $2}'
  kill "$program"; wait "$program" 2>/dev/null || true
}
floor_kb=$(peak "$build/bench/floor_window" floor)
quendar_kb=$(peak "$folder/quendar" "Quendar  0.4.8")
echo "peak memory: floor ${floor_kb} kB, quendar ${quendar_kb} kB, difference $((quendar_kb - floor_kb)) kB"
