# Del and "刪除記錄" take only what the user picked: a list that merely got
# the keyboard focus, by Tab or by its window becoming active under the
# window manager, has nothing selected, and the press deletes nothing.
source "$(dirname "$0")/lib/common.bash"

dir=$(program_folder selection)
day=$(date +%Y/%-m/%-d)
mkdir -p "$dir/datas/${day%/*}"
printf 'note\r\n--:-- First plan\r\n--:-- Second plan\r\n' >"$dir/datas/$day.dat"
printf '%s\r\n' " $(date +%-m)" >"$dir/datas/$(date +%Y)/month.qdr"
printf '\x01\x00\x02\x00' >"$dir/datas/quendar.qdr"
printf 'Call the bank\r\nBuy milk\r\n' >"$dir/datas/quendar.dat"
plans=$(od -c "$dir/datas/$day.dat")
history=$(od -c "$dir/datas/quendar.dat")

start "$dir"
main=$(wait_window "Quendar  0.4.8") || fail "main window not mapped"
xdotool windowactivate --sync "$main" 2>/dev/null
eval "$(xdotool getwindowgeometry --shell "$main")"
# The client area under the menu bar is 297 pixels high for a month of six
# week rows, 264 for one of five; the day cells start 104 pixels down, 72
# wide and 32 apart, Sunday first.
first=$(date -d "$(date +%Y-%m-01)" +%w)
days=$(date -d "$(date +%Y-%m-01) +1 month -1 day" +%-d)
client=264
[ $((first + days)) -gt 35 ] && client=297
menubar=$((HEIGHT - client))
cell=$((first + $(date +%-d) - 1))
cell_x=$(((cell % 7) * 72 + 37)) cell_y=$((menubar + 104 + (cell / 7) * 32 + 16))

xdotool mousemove --window "$main" 95 10 click 1
sleep 0.5
xdotool mousemove --window "$main" "$cell_x" "$cell_y" click --repeat 2 --delay 80 1
sleep 0.5
xdotool key Tab
sleep 0.3
# "Del", at the right end of the editor row.
xdotool mousemove --window "$main" 231 $((menubar + 36)) click 1
sleep 0.5
[ "$(od -c "$dir/datas/$day.dat")" = "$plans" ] || fail "Del after Tab changed the day: $(od -c "$dir/datas/$day.dat")"
ok "Tab into the plan list, Del: nothing deleted"

xdotool mousemove --window "$main" 160 10 click 1
summary=$(wait_window "Quendar  0.4.8 - Summary" 10) || fail "no summary window after 進度檢視"
xdotool windowactivate --sync "$summary" 2>/dev/null
sleep 0.5
eval "$(xdotool getwindowgeometry --shell "$summary")"
xdotool mousemove --window "$summary" 400 $((HEIGHT - 266 + 244)) click 1
sleep 0.5
[ "$(od -c "$dir/datas/quendar.dat")" = "$history" ] || fail "刪除記錄 changed the history: $(od -c "$dir/datas/quendar.dat")"
ok "summary activated, 刪除記錄: nothing deleted"
