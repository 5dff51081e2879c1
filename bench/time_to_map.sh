#!/usr/bin/env bash
# Time from exec to a mapped window: starts the waiter, then the program, and
# ends the program once the waiter has seen its window.
# Usage: time_to_map.sh MAP_WAIT PROGRAM WINDOW_NAME
"$1" "$3" & waiter=$!
"$2" >/dev/null 2>&1 & program=$!
wait "$waiter"; status=$?
kill "$program"; wait "$program" 2>/dev/null
exit $status
