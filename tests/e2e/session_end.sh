# The session ends while the program waits for the user: a signal closes
# the open menu or box as declined (no verdict is written) and the books
# close at once; a copy refused at start ends without writing anything,
# least of all the running copy's settings.
source "$(dirname "$0")/lib/common.bash"

day=$(date +%Y/%-m/%-d)
with_plans() {
  mkdir -p "$1/datas/${day%/*}"
  printf '\r\n06:30 Morning run\r\n--:-- Read a book\r\n' >"$1/datas/$day.dat"
  cp "$1/datas/$day.dat" "$WORK/plans"
}
windows_of() { xdotool search --onlyvisible --pid "$1" 2>/dev/null | wc -l; }
# Nobody answers: the end must not wait for anyone.
ends_soon() { wait_exit "$1" 5 >/dev/null; }

# Opens the verdict menu of a note from the keyboard and waits for it.
open_verdict_menu() {
  local pid=$1 main shown deadline
  main=$(wait_window "Quendar  0.4.8") || fail "main window not mapped"
  xdotool windowactivate --sync "$main" 2>/dev/null
  shown=$(windows_of "$pid")
  xdotool key Tab Menu
  deadline=$((SECONDS + 10))
  until [ "$(windows_of "$pid")" -gt "$shown" ]; do
    [ $SECONDS -lt $deadline ] || fail "no verdict menu from the Menu key"
    sleep 0.1
  done
}

# The shutdown ran and no verdict was written.
closed_without_verdict() {
  cmp -s "$1/datas/$day.dat" "$WORK/plans" || fail "$2: today's file changed: $(od -c "$1/datas/$day.dat")"
  [ "$(od -An -tx1 "$1/datas/quendar.qdr" 2>/dev/null | tr -d ' ')" = 00000000 ] ||
    fail "$2: the counters are not those of a shutdown without verdict"
}

for signal in TERM INT HUP; do
  dir=$(program_folder "menu-$signal")
  with_plans "$dir"
  start "$dir"; pid=$STARTED_PID
  open_verdict_menu "$pid"
  kill -"$signal" "$pid"
  ends_soon "$pid" || fail "SIG$signal: the program waited behind its open menu"
  closed_without_verdict "$dir" "SIG$signal with the menu open"
  ok "SIG$signal with the verdict menu open: no choice, the books closed"
done

dir=$(program_folder box)
with_plans "$dir"
start "$dir"; pid=$STARTED_PID
open_verdict_menu "$pid"
xdotool key Down Return
wait_window "Quendar 再確認" 10 >/dev/null || fail "no confirmation box"
kill -TERM "$pid"
ends_soon "$pid" || fail "the program waited behind its open box"
closed_without_verdict "$dir" "SIGTERM with the box open"
ok "SIGTERM with the confirmation box open: No, the books closed"

# The running copy keeps a note moved to 4444 twips from the left.
dir=$(program_folder refused)
printf '\x5c\x11' | dd of="$dir/Quendar.ini" bs=1 seek=82 conv=notrunc status=none
start "$dir"; first=$STARTED_PID
wait_window "Quendar  0.4.8" >/dev/null || fail "main window not mapped"
settings=$(od -An -tx1 "$dir/Quendar.ini")
ls -AR "$dir" >"$WORK/folder"
"$dir/quendar" >"$WORK/refused.log" 2>&1 & second=$!
PIDS+=("$second")
wait_window "Quendar" >/dev/null || fail "the refused copy showed no notice"
kill -TERM "$second"
ends_soon "$second" || fail "the refused copy waited behind its notice"
[ "$(od -An -tx1 "$dir/Quendar.ini")" = "$settings" ] || fail "the refused copy wrote the settings file"
ls -AR "$dir" | cmp -s - "$WORK/folder" || fail "the refused copy changed the program folder"
kill -0 "$first" 2>/dev/null || fail "the running copy ended"
kill -TERM "$first"
ends_soon "$first" || fail "the running copy did not end"
[ "$(od -An -tx1 -j 82 -N 2 "$dir/Quendar.ini" | tr -d ' ')" = 5c11 ] || fail "the note's place was lost"
ok "a copy refused at start and then ended writes nothing"
