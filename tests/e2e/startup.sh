# Starting the real program: refused starts create nothing, a good start shows
# the main window, and a second copy is refused while the first keeps running.
source "$(dirname "$0")/lib/common.bash"

# No settings file: the I01 box alone, then the end, and nothing created.
dir=$(program_folder nosettings bare)
start "$dir"; pid=$STARTED_PID
box=$(wait_window "Quendar 錯誤訊息報告") || fail "no error box without settings"
wait_window "Quendar  0.4.8" 1 >/dev/null && fail "main window shown without settings"
press_enter "$box"
status=$(wait_exit "$pid") || fail "program did not end after I01"
[ "$status" != 0 ] || fail "refused start ended with status 0"
[ "$(ls -A "$dir" | tr "\n" " ")" = "quendar quendar-sound.so " ] || fail "refused start created: $(ls -A "$dir")"
ok "no settings file: error box, end, nothing created"

# A broken header: the I03 box.
dir=$(program_folder broken)
printf '\001\000' | dd of="$dir/Quendar.ini" bs=1 seek=46 conv=notrunc status=none
start "$dir"; pid=$STARTED_PID
box=$(wait_window "Quendar 錯誤訊息報告") || fail "no error box for a broken header"
press_enter "$box"
wait_exit "$pid" >/dev/null || fail "program did not end after I03"
[ ! -e "$dir/datas" ] || fail "refused start created the data folder"
ok "broken header: error box, end"

# A good start: the main window and the data folder.
dir=$(program_folder good)
[ "$(stat -c %s "$dir/Quendar.ini")" = 142 ] || fail "installed settings file is not 142 bytes"
start "$dir"; first=$STARTED_PID
wait_window "Quendar  0.4.8" >/dev/null || fail "main window not mapped"
[ -d "$dir/datas" ] || fail "data folder not created"
ok "good start: main window mapped, data folder created"

# A second copy of the same folder is refused; the first keeps running.
start "$dir"; second=$STARTED_PID
box=$(wait_window "Quendar") || fail "second copy showed no notice"
press_enter "$box"
wait_exit "$second" >/dev/null || fail "second copy did not end"
kill -0 "$first" 2>/dev/null || fail "first copy ended"
[ "$(xdotool search --onlyvisible --name '^Quendar  0.4.8$' | wc -l)" = 1 ] || fail "not exactly one main window"
ok "second copy refused, first keeps running"

# The installation step keeps the user's settings.
# (after the end: the exit itself stores the note positions there)
kill "$first"; wait "$first" 2>/dev/null
printf '\144\000' | dd of="$dir/Quendar.ini" bs=1 seek=82 conv=notrunc status=none
"$INSTALL" "$dir"
[ "$(od -An -tx1 -j82 -N2 "$dir/Quendar.ini" | tr -d ' ')" = 6400 ] || fail "installation overwrote Quendar.ini"
ok "installation step keeps an existing settings file"
