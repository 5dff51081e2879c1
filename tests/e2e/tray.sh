# The close box hides the main window behind one tray icon, and a click of
# either button on the icon brings it back, any number of times, with a real
# tray host.
source "$(dirname "$0")/lib/common.bash"

# The window manager is up already: a tray host started before it may never map.
trayer --edge bottom --align right --widthtype request --height 24 >"$WORK/trayer.log" 2>&1 &
PIDS+=($!)
deadline=$((SECONDS + 20))
until xdotool search --onlyvisible --class trayer >/dev/null 2>&1; do
  [ $SECONDS -lt $deadline ] || fail "tray host did not start: $(cat "$WORK/trayer.log")"
  sleep 0.2
done

dir=$(program_folder tray)
start "$dir"; pid=$STARTED_PID
main=$(wait_window "Quendar  0.4.8") || fail "main window not mapped"

# The program's visible windows other than the main window: its tray icons.
icons() { xdotool search --onlyvisible --pid "$pid" 2>/dev/null | grep -vx "$main"; }

wait_until() {
  local deadline=$((SECONDS + 10))
  until eval "$1"; do
    [ $SECONDS -lt $deadline ] || return 1
    sleep 0.1
  done
}

shown() { xdotool search --onlyvisible --name '^Quendar  0.4.8$' >/dev/null; }

# The window manager's close key on the main window; asked again while the
# window manager has not taken the window in yet.
close_main() {
  local attempt deadline
  for attempt in 1 2 3 4 5; do
    xdotool windowactivate --sync "$main" 2>/dev/null
    xdotool key --clearmodifiers alt+F4
    deadline=$((SECONDS + 2))
    while [ $SECONDS -lt $deadline ]; do
      shown || return 0
      sleep 0.1
    done
  done
  return 1
}

for round in 1 2 3; do
  for button in 1 3; do
    close_main || fail "round $round: close box did not hide the main window"
    wait_until '[ -n "$(icons)" ]' || fail "round $round: no tray icon"
    [ "$(icons | wc -l)" = 1 ] || fail "round $round: $(icons | wc -l) tray icons"
    icon=$(icons)
    xdotool mousemove --window "$icon" 5 5 click "$button"
    wait_until shown ||
      fail "round $round: button $button on the icon did not bring the window back"
    kill -0 "$pid" 2>/dev/null || fail "round $round: program ended after button $button"
    wait_until '[ -z "$(icons)" ]' || fail "round $round: icon left after restoring"
    ok "round $round: closed, restored by button $button"
  done
done
kill -0 "$pid" 2>/dev/null || fail "program ended"
ok "program alive after three rounds"
