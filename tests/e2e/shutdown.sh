# Ending the real program with SIGTERM closes the books: past days pass into
# the history and out of the data folder, today's verdicts leave its file,
# later days stay; the data folder is compared byte for byte.
source "$(dirname "$0")/lib/common.bash"

Y=$(date +%Y) M=$(date +%-m) D=$(date +%-d)

# Lines with CR LF, as the program writes them.
lines() { local f=$1; shift; mkdir -p "$(dirname "$f")"; printf '%s\r\n' "$@" >"$f"; }

dir=$(program_folder session)
data=$dir/datas
lines "$data/$((Y - 1))/month.qdr" " 5"
lines "$data/$((Y - 1))/5/17.dat" "" "--:-- seventeenth"
lines "$data/$((Y - 1))/5/3.dat" "a note" "08:30 third" "x--:-- judged before midnight"
lines "$data/$Y/month.qdr" " $M"
lines "$data/$Y/$M/$D.dat" "xmas-like note" "x09:00 judged today" "10:00 still open"
[ "$D" -gt 1 ] && lines "$data/$Y/$M/1.dat" "" "--:-- first of the month"
lines "$data/$((Y + 1))/month.qdr" " 1"
lines "$data/$((Y + 1))/1/1.dat" "" "--:-- next year"
lines "$data/$((Y - 1))/5/notes.txt" "not a day file"
printf '\002\000\007\000' >"$data/quendar.qdr"
header=$(head -c 82 "$dir/Quendar.ini" | od -An -tx1)

expected=$WORK/expected/datas
mkdir -p "$expected"
cp -r "$data/$((Y + 1))" "$expected/"
lines "$expected/$((Y - 1))/month.qdr" " 5"
lines "$expected/$((Y - 1))/5/notes.txt" "not a day file"
lines "$expected/$Y/month.qdr" " $M"
lines "$expected/$Y/$M/$D.dat" "xmas-like note" "10:00 still open"
if [ "$D" -gt 1 ]; then
  lines "$expected/quendar.dat" "third" "seventeenth" "first of the month"
  printf '\005\000\007\000' >"$expected/quendar.qdr"
else
  lines "$expected/quendar.dat" "third" "seventeenth"
  printf '\004\000\007\000' >"$expected/quendar.qdr"
fi

start "$dir"; pid=$STARTED_PID
wait_window "Quendar  0.4.8" >/dev/null || fail "main window not mapped"
kill -TERM "$pid"
wait_exit "$pid" >/dev/null || fail "program did not end on SIGTERM"
wait "$pid"; status=$?
[ "$status" = 0 ] || fail "SIGTERM ended the program with status $status"
diff -r "$expected" "$data" || fail "data folder differs from what the exit should leave"
[ "$(stat -c %s "$dir/Quendar.ini")" = 142 ] || fail "settings file changed its length"
[ "$(head -c 82 "$dir/Quendar.ini" | od -An -tx1)" = "$header" ] || fail "settings header changed"
ok "SIGTERM: past days swept, today's verdicts dropped, later days kept"

# A second end changes nothing in the data folder.
start "$dir"; pid=$STARTED_PID
wait_window "Quendar  0.4.8" >/dev/null || fail "main window not mapped the second time"
kill -HUP "$pid"
kill -INT "$pid" 2>/dev/null
wait_exit "$pid" >/dev/null || fail "program did not end on SIGHUP"
diff -r "$expected" "$data" || fail "a second exit changed the data folder"
ok "SIGHUP and SIGINT: one exit, nothing changed"
