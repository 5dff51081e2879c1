# Under a session manager, as on a desktop: the save it asks for at once, a
# later session save and a log-off that the user cancels keep the program
# running with its files untouched; the log-off that goes through closes the
# books once and ends the program.
source "$(dirname "$0")/lib/common.bash"
[ -x "${SESSION_MANAGER_TOOL:-}" ] || fail "no session manager to test with"

coproc SM { "$SESSION_MANAGER_TOOL" 2>"$WORK/session-manager.log"; }
PIDS+=("$SM_PID")
read -r -t 10 -u "${SM[0]}" address || fail "the session manager gave no address"
# Waits for the session manager to report $1.
expect() {
  local line
  while read -r -t 20 -u "${SM[0]}" line; do
    [ "$line" = "$1" ] && return 0
  done
  return 1
}
tell() { echo "$1" >&"${SM[1]}"; }

Y=$(date +%Y)
dir=$(program_folder session)
data=$dir/datas
mkdir -p "$data/$((Y - 1))/5"
printf ' 5\r\n' >"$data/$((Y - 1))/month.qdr"
printf '\r\n--:-- seventeenth\r\n' >"$data/$((Y - 1))/5/17.dat"
cp -r "$data" "$WORK/before"

SESSION_MANAGER=$address start "$dir"; pid=$STARTED_PID
expect registered || fail "the program did not register with the session manager"
expect saved || fail "the program did not answer the first save"
wait_window "Quendar  0.4.8" >/dev/null || fail "main window not mapped"

still_running() {
  sleep 1
  kill -0 "$pid" 2>/dev/null || fail "$1 ended the program"
  xdotool search --onlyvisible --name '^Quendar  0.4.8$' >/dev/null || fail "$1 took the main window away"
  diff -r "$WORK/before" "$data" >/dev/null || fail "$1 changed the data folder"
}
still_running "the first save"
ok "the save asked for at the start: running, nothing written"

tell save
expect saved || fail "no answer to a session save"
still_running "a session save"
ok "a session save: running, nothing written"

tell cancel
expect cancelled || fail "no answer to a log-off"
still_running "a cancelled log-off"
ok "a cancelled log-off: running, nothing written"

tell end
expect died || fail "no answer to the log-off"
wait_exit "$pid" 10 >/dev/null || fail "the program did not end with the session"
wait "$pid"; status=$?
[ "$status" = 0 ] || fail "the end of the session ended the program with status $status"
[ "$(cat "$data/quendar.dat")" = $'seventeenth\r' ] || fail "history: $(od -c "$data/quendar.dat")"
[ "$(od -An -tx1 "$data/quendar.qdr" | tr -d ' ')" = 01000000 ] || fail "counts: $(od -An -tx1 "$data/quendar.qdr")"
[ ! -e "$data/$((Y - 1))" ] || fail "the past day was not swept"
ok "the log-off that goes through: the books closed once, the program ended"
