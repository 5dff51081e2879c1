# Verdicts given as a user gives them: a right click on a note, the item of
# the pop-up menu, Enter on the confirmation; the files show the result.
source "$(dirname "$0")/lib/common.bash"

dir=$(program_folder verdict)
day=$(date +%Y/%-m/%-d)
mkdir -p "$dir/datas/${day%/*}"
printf '\r\n06:30 Morning run\r\n--:-- Read a book\r\n21:00 Write the diary\r\n' >"$dir/datas/$day.dat"

start "$dir"; pid=$STARTED_PID
win=$(wait_window "Quendar  0.4.8") || fail "main window not mapped"

# The client area lies under the menu bar at the bottom of the window; it is
# 3970 twips high, 4455 when the month needs six week rows.
first=$(date -d "$(date +%Y-%m-01)" +%w)
days=$(date -d "$(date +%Y-%m-01) +1 month -1 day" +%-d)
client=$((first + days > 35 ? 4455 / 15 : 3970 / 15))
eval "$(xdotool getwindowgeometry --shell "$win")"
top=$((Y + HEIGHT - client))

# Right click at a point of the today page given in twips, pick a menu item
# with the keys given, and confirm with Enter (Yes is the default).
judge() {
  local x=$1 y=$2 keys=$3 box shown deadline
  shown=$(xdotool search --onlyvisible --pid "$pid" 2>/dev/null | wc -l)
  xdotool mousemove --sync $((X + x / 15)) $((top + y / 15)) click 3
  # The pop-up menu is a window of its own; it takes the keys once mapped.
  deadline=$((SECONDS + 10))
  while [ "$(xdotool search --onlyvisible --pid "$pid" 2>/dev/null | wc -l)" -le "$shown" ]; do
    [ $SECONDS -lt $deadline ] || fail "no pop-up menu at $x, $y"
    sleep 0.1
  done
  xdotool key $keys
  box=$(wait_window "Quendar 再確認" 10) || fail "no confirmation box"
  press_enter "$box"
  # Return must not stay down in the server, or it would answer the next box.
  xdotool keyup Return
  deadline=$((SECONDS + 10))
  while xdotool search --onlyvisible --name "^Quendar 再確認\$" >/dev/null 2>&1; do
    [ $SECONDS -lt $deadline ] || fail "confirmation box stays open"
    sleep 0.1
  done
}

# Note 1's body (Left 570, Top 1260, 1500 x 900) left of note 2, which lies
# over its right part: "此計畫完成", the first item.
judge $((570 + 200)) $((1260 + 450)) "Down Return"
cmp -s "$dir/datas/$day.dat" <(printf '\r\n06:30 Morning run\r\nx--:-- Read a book\r\n21:00 Write the diary\r\n') || fail "day file after done: $(od -c "$dir/datas/$day.dat")"
[ "$(od -An -tx1 "$dir/datas/quendar.qdr" | tr -d ' \n')" = 00000100 ] || fail "counts after done"
[ ! -e "$dir/datas/quendar.dat" ] || fail "history written for a plan done"
ok "done: line marked, done count 1, no history"

# Note 2's time bar (Left 990, Top 1620, 1500 x 255): "列為未完成", the last item.
judge $((990 + 750)) $((1620 + 120)) "Up Return"
cmp -s "$dir/datas/$day.dat" <(printf '\r\n06:30 Morning run\r\nx--:-- Read a book\r\nx21:00 Write the diary\r\n') || fail "day file after not done: $(od -c "$dir/datas/$day.dat")"
[ "$(od -An -tx1 "$dir/datas/quendar.qdr" | tr -d ' \n')" = 01000100 ] || fail "counts after not done"
cmp -s "$dir/datas/quendar.dat" <(printf 'Write the diary\r\n') || fail "history: $(od -c "$dir/datas/quendar.dat")"
ok "not done: line marked, not-done count 1, history line"

kill -0 "$pid" 2>/dev/null || fail "program ended"
ok "program keeps running"
