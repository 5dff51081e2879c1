# Helpers for driving the real program under a virtual X server.
# Sourced by the e2e scripts; $QUENDAR is the built program, $INSTALL the
# installation step.

set -uo pipefail

QUENDAR=$1
INSTALL=$2
WORK=$(mktemp -d)
PIDS=()
trap 'for p in "${PIDS[@]}"; do kill "$p" 2>/dev/null; done; rm -rf "$WORK"' EXIT

fail() {
  echo "FAIL: $*"
  local log
  for log in "$WORK"/*.log; do [ -s "$log" ] && { echo "--- $log"; tail -n 20 "$log"; }; done
  exit 1
}
ok() { echo "ok - $*"; }

# A program folder holding a copy of the program (and the installed files
# unless told "bare").
program_folder() {
  local dir=$WORK/$1
  mkdir -p "$dir"
  cp "$QUENDAR" "$(dirname "$QUENDAR")/quendar-sound.so" "$dir/"
  [ "${2:-}" = bare ] || "$INSTALL" "$dir" || fail "installation step in $dir"
  echo "$dir"
}

# Starts the program of a folder in the background; sets STARTED_PID.
start() {
  "$1/quendar" >"$1.log" 2>&1 &
  STARTED_PID=$!
  PIDS+=("$STARTED_PID")
}

# Waits for a visible window whose name is exactly $1; prints its id.
wait_window() {
  local name=$1 deadline=$((SECONDS + ${2:-20})) id
  while [ $SECONDS -lt $deadline ]; do
    for id in $(xdotool search --onlyvisible --name "^${name}\$" 2>/dev/null); do
      echo "$id"
      return 0
    done
    sleep 0.1
  done
  return 1
}

# Waits for a process to end; prints its exit status.
wait_exit() {
  local pid=$1 deadline=$((SECONDS + ${2:-20}))
  while kill -0 "$pid" 2>/dev/null; do
    [ $SECONDS -lt $deadline ] || return 1
    sleep 0.1
  done
  wait "$pid"
  echo $?
}

# Answers a message box with the Enter key. The key goes to the focused
# window, not to a given one: the press closes the box, and a release sent
# to the closed window would never reach the server, leaving Return held.
press_enter() {
  xdotool windowactivate --sync "$1" 2>/dev/null || xdotool windowfocus --sync "$1" 2>/dev/null
  xdotool key Return
}

# Writes today's day file of a program folder with one plan for the coming
# minute, leaving at least ten seconds for the program to come up first;
# sets DUE to that minute (hh:mm).
plan_for_coming_minute() {
  local dir=$1 text=$2 day
  while [ "$(date +%S | sed 's/^0//')" -gt 48 ]; do sleep 1; done
  DUE=$(date -d '+1 minute' +%H:%M)
  day=$(date +%Y/%-m/%-d)
  mkdir -p "$dir/datas/${day%/*}"
  printf '\r\n%s %s\r\n' "$DUE" "$text" >"$dir/datas/$day.dat"
}
