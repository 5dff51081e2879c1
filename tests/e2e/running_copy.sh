# One running copy per program folder: however close two starts are, and
# whatever runtime folder each has, exactly one runs and the other is refused
# without leaving anything in the program folder.
source "$(dirname "$0")/lib/common.bash"

dir=$(program_folder race)
before=$(ls -A "$dir" | tr "\n" " ")

copies() { pgrep -f "^$dir/quendar\$" | wc -l; }

# Waits for the refused copy's notice and answers it; prints nothing.
answer_notice() {
  local box
  box=$(wait_window "Quendar") || fail "$1: the refused copy showed no notice"
  press_enter "$box"
}

for round in 1 2 3; do
  "$dir/quendar" >"$WORK/a.log" 2>&1 & a=$!
  "$dir/quendar" >"$WORK/b.log" 2>&1 & b=$!
  PIDS+=("$a" "$b")
  wait_window "Quendar  0.4.8" >/dev/null || fail "round $round: no main window"
  answer_notice "round $round"
  deadline=$((SECONDS + 20))
  while kill -0 "$a" 2>/dev/null && kill -0 "$b" 2>/dev/null; do
    [ $SECONDS -lt $deadline ] || fail "round $round: both copies still running"
    sleep 0.1
  done
  sleep 1
  [ "$(xdotool search --onlyvisible --name '^Quendar  0.4.8$' | wc -l)" = 1 ] || fail "round $round: not one main window"
  [ "$(copies)" = 1 ] || fail "round $round: $(copies) copies running"
  kill "$a" "$b" 2>/dev/null; wait "$a" "$b" 2>/dev/null
  ok "round $round: two copies started together, one runs"
done

# A second login of the same user has its own runtime folder.
start "$dir"; first=$STARTED_PID
wait_window "Quendar  0.4.8" >/dev/null || fail "main window not mapped"
ls -A "$dir" >"$WORK/running"
other=$WORK/runtime-2
mkdir -m 700 "$other"
XDG_RUNTIME_DIR=$other "$dir/quendar" >"$WORK/c.log" 2>&1 & second=$!
PIDS+=("$second")
answer_notice "other runtime folder"
wait_exit "$second" >/dev/null || fail "copy with another runtime folder did not end"
kill -0 "$first" 2>/dev/null || fail "first copy ended"
ls -A "$dir" | cmp -s - "$WORK/running" || fail "refused start changed the program folder: $(ls -A "$dir")"
ok "a copy with another runtime folder is refused, the first keeps running"
kill "$first"; wait "$first" 2>/dev/null
[ "$(ls -A "$dir" | grep -v '^datas$' | tr "\n" " ")" = "$before" ] || fail "program folder holds: $(ls -A "$dir")"
ok "no lock or socket file left in the program folder"
