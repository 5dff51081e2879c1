#!/usr/bin/env bash
# Context switches of the whole program (all its threads) while it sits idle
# on the today page, once start-up is over and the clock has settled on whole
# minutes.
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

switches() {  # one line per thread and kind: name, kind, switches so far
  for task in /proc/"$program"/task/*; do
    awk -v name="$(cat "$task/comm")" '/ctxt_switches/ {sub(":", "", $1); print name "/" $1, $2}' "$task/status"
  done
}
# Past the one-off timers of the first half minute, then past the next second
# 00, when the second ticks have given way to minute ticks.
sleep 40
sleep $((60 - $(date +%-S) + 2))
before=$(switches)
sleep "$span"
after=$(switches)
# Threads that come and go are counted from zero.
join -a 2 -e 0 -o 0,1.2,2.2 <(sort <<<"$before") <(sort <<<"$after") |
  awk -v span="$span" '{d = $3 - $2; total += d; printf "  %s: %d\n", $1, d}
                        END {printf "context switches over %d s: %d (%.1f a minute)\n", span, total, total * 60 / span}'
