#!/usr/bin/env bash
# Context switches of the whole program (all its threads) while it sits idle
# on the today page, after the clock has settled on whole minutes.
# Usage: bench/idle_context_switches.sh BUILD_DIR [SECONDS]   (default 120)
set -euo pipefail
build=$(realpath "${1:?usage: $0 BUILD_DIR [SECONDS]}")
span=${2:-120}
if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$@"
fi

folder=$(mktemp -d)
trap 'kill "$program" 2>/dev/null; rm -rf "$folder"' EXIT
cp "$build/quendar/quendar" "$build/quendar/Quendar.ini" "$folder/"
"$folder/quendar" >/dev/null 2>&1 & program=$!

switches() {
  cat /proc/"$program"/task/*/status | awk '/ctxt_switches/ {n += $2} END {print n}'
}
# Past the next second 00, when the second ticks give way to minute ticks.
sleep $((61 - $(date +%-S) + 2))
before=$(switches)
sleep "$span"
after=$(switches)
threads=$(ls /proc/"$program"/task | wc -l)
echo "context switches over ${span} s: $((after - before)) ($(( (after - before) * 60 / span )) a minute, $threads threads)"
