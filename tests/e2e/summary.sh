# "進度檢視" on the real program: the summary takes the main window's place,
# "刪除記錄" removes the picked record from the history file, "主畫面" brings
# the main window back, and "結束程式" ends the program.
source "$(dirname "$0")/lib/common.bash"

dir=$(program_folder summary)
mkdir -p "$dir/datas"
printf '\x01\x00\x02\x00' >"$dir/datas/quendar.qdr"
printf 'Call the bank\r\nBuy milk\r\nAnswer the letters\r\n' >"$dir/datas/quendar.dat"

# A click at a point of a window's client area (menu bar included), in pixels.
click() {
  xdotool mousemove --window "$1" "$2" "$3" click 1
  sleep 0.5
}
geometry() { xdotool getwindowgeometry --shell "$1" | tr '\n' ' '; }
# The menu bar items, left to right: 主畫面, 行程排定, 進度檢視, 結束程式.
MENU_Y=10

start "$dir"; pid=$STARTED_PID
main=$(wait_window "Quendar  0.4.8") || fail "main window not mapped"
eval "$(xdotool getwindowgeometry --shell "$main")"
main_x=$X main_y=$Y

click "$main" 160 $MENU_Y
summary=$(wait_window "Quendar  0.4.8 - Summary" 10) || fail "no summary window after 進度檢視"
xdotool search --onlyvisible --name '^Quendar  0.4.8$' >/dev/null && fail "main window still shown"
eval "$(xdotool getwindowgeometry --shell "$summary")"
[ "$X,$Y" = "$main_x,$main_y" ] || fail "summary at $X,$Y, the main window stood at $main_x,$main_y"
ok "summary shown in the main window's place"

# The client area is 266 pixels high under the menu bar: the history list
# starts 99 pixels down, the delete button's middle is 244 pixels down.
menubar=$((HEIGHT - 266))
click "$summary" 60 $((menubar + 99 + 8))
click "$summary" 400 $((menubar + 244))
[ "$(cat "$dir/datas/quendar.dat")" = "$(printf 'Buy milk\r\nAnswer the letters\r\n')" ] ||
  fail "history after the delete: $(od -c "$dir/datas/quendar.dat" | head -3)"
[ "$(od -An -tx1 "$dir/datas/quendar.qdr" | tr -d ' ')" = 01000200 ] || fail "the counts changed"
ok "the picked record deleted, the counts kept"

xdotool mousemove --window "$summary" 30 $MENU_Y click 1
wait_window "Quendar  0.4.8" 10 >/dev/null || fail "main window not back after 主畫面"
sleep 0.5
xdotool search --onlyvisible --name '^Quendar  0.4.8 - Summary$' >/dev/null && fail "summary still shown"
ok "主畫面 brings the main window back"

# Round trips leave both windows where they stood, however many.
for round in 1 2 3 4; do
  main=$(wait_window "Quendar  0.4.8") || fail "round $round: main window not back"
  sleep 0.3
  eval "$(xdotool getwindowgeometry --shell "$main")"
  [ "$X,$Y" = "$main_x,$main_y" ] || fail "round $round: main window at $X,$Y, it stood at $main_x,$main_y"
  click "$main" 160 $MENU_Y
  summary=$(wait_window "Quendar  0.4.8 - Summary" 10) || fail "round $round: no summary"
  sleep 0.3
  eval "$(xdotool getwindowgeometry --shell "$summary")"
  [ "$X,$Y" = "$main_x,$main_y" ] || fail "round $round: summary at $X,$Y, the main window stood at $main_x,$main_y"
  xdotool mousemove --window "$summary" 30 $MENU_Y click 1
done
ok "round trips keep both windows in place"

main=$(wait_window "Quendar  0.4.8")
click "$main" 210 $MENU_Y
status=$(wait_exit "$pid" 20) || fail "program did not end after 結束程式"
[ "$status" = 0 ] || fail "exit status $status"
ok "結束程式 ends the program"
