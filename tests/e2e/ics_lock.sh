# quendar-ics beside the running planner: an import is refused by the lock
# the planner holds on its folder and changes nothing; an export still runs.
source "$(dirname "$0")/lib/common.bash"

ics=$(dirname "$QUENDAR")/quendar-ics
[ -x "$ics" ] || fail "no quendar-ics beside $QUENDAR"
printf 'BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Test//Test//EN\r\nBEGIN:VEVENT\r\nUID:a\r\nDTSTAMP:20261201T000000Z\r\nDTSTART;VALUE=DATE:20491231\r\nSUMMARY:late\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n' > "$WORK/in.ics"

dir=$(program_folder good)
start "$dir"; pid=$STARTED_PID
wait_window "Quendar  0.4.8" >/dev/null || fail "main window not mapped"
before=$(find "$dir" | sort)
"$ics" import --folder "$dir" "$WORK/in.ics" >"$WORK/import.log" 2>&1; status=$?
[ "$status" = 2 ] || fail "import beside the running planner ended with $status"
grep -q 'Quendar is running' "$WORK/import.log" || fail "no clear message for the refused import"
[ "$(find "$dir" | sort)" = "$before" ] || fail "the refused import changed the folder"
"$ics" export --folder "$dir" >/dev/null || fail "export beside the running planner"
ok "import refused while the planner runs, export runs"

kill "$pid"; wait "$pid" 2>/dev/null
"$ics" import --folder "$dir" "$WORK/in.ics" >/dev/null || fail "import after the planner ended"
[ -f "$dir/datas/2049/12/31.dat" ] || fail "import after the end added nothing"
ok "import once the planner has ended"
