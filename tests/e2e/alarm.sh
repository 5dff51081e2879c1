# A plan for the coming minute: the real program shows the alarm window within
# a second or two of that minute's second 00.
source "$(dirname "$0")/lib/common.bash"

dir=$(program_folder alarm)
[ -s "$dir/alarm.wav" ] || fail "installation step made no alarm.wav"

plan_for_coming_minute "$dir" "Call the bank about the loan"
due=$DUE

start "$dir"; pid=$STARTED_PID
wait_window "Quendar  0.4.8" >/dev/null || fail "main window not mapped"
grep -q quendar-sound "/proc/$pid/maps" && fail "sound player loaded before any alarm"
wait_window "Quendar  0.4.8 - Alarm" 75 >/dev/null || fail "no alarm window by $due"
shown=$(date +%H:%M:%S.%N)
[ "${shown:0:5}" = "$due" ] || fail "alarm for $due shown at $shown"
seconds=${shown:6:2}
[ "${seconds#0}" -le 2 ] || fail "alarm for $due shown late, at $shown"
ok "alarm for $due shown at $shown"
grep -q quendar-sound "/proc/$pid/maps" || fail "sound player not loaded at the alarm"
ok "sound player loaded at the first alarm, not before"

# It rises into view at the bottom right of the 1024x768 screen.
sleep 3
eval "$(xdotool search --onlyvisible --name '^Quendar  0.4.8 - Alarm$' getwindowgeometry --shell)"
[ $((X + WIDTH)) -le 1024 ] && [ $((Y + HEIGHT)) -le 768 ] && [ "$Y" -gt 500 ] ||
  fail "alarm window at $X,$Y size ${WIDTH}x$HEIGHT is not in view at the bottom right"
ok "alarm window in view at $X,$Y"
