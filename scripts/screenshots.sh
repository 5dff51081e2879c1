#!/usr/bin/env bash
# Takes the README's screenshots from the real program, under a virtual X
# server with a window manager, on a small sample data folder made here:
# the today page with notes, the calendar page in editor mode, the summary
# window and the alarm window, into docs/screenshots/.
# Usage: scripts/screenshots.sh [build folder]    (default: build)
# Needs: scripts/deps.sh shots
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
[ -x "$build/quendar/quendar" ] || { echo "no program in $build/quendar" >&2; exit 1; }

# Run again inside a virtual X server of its own.
if [ -z "${QUENDAR_SHOTS_DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1024x768x24" env QUENDAR_SHOTS_DISPLAY=1 bash "$0" "$build"
fi

out=$root/docs/screenshots
mkdir -p "$out"
work=$(mktemp -d)
pids=()
trap 'for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done; rm -rf "$work"' EXIT

openbox >/dev/null 2>&1 &
pids+=($!)

# --- the sample program folder
dir=$work/quendar
cp -r "$build/quendar" "$dir"
big5() { iconv -f UTF-8 -t CP950; }
crlf() { sed 's/$/\r/'; }
data=$dir/datas
year=$(date +%Y) month=$(date +%-m) day=$(date +%-d)

# Leave time for the start and the first pictures before the alarm's minute.
while [ "$(date +%S | sed 's/^0//')" -gt 30 ]; do sleep 1; done
due=$(date -d '+1 minute' +%H:%M)

# Today's plans: notes stand in each other's way by design, and texts of up
# to 8 characters keep to the one line each note leaves in view.
mkdir -p "$data/$year/$month"
printf ' %s\n' "$month" | crlf >"$data/$year/month.qdr"
{
  echo "媽媽生日"
  echo "08:30 晨會報告進度"
  echo "$due 打電話給銀行"
  echo "12:00 和小美吃午飯"
  echo "15:00 寄出合約"
  echo "--:-- 買蛋糕和花"
  echo "19:30 全家聚餐"
} | crlf | big5 >"$data/$year/$month/$day.dat"
# A few other days of the month with notes and plans.
for other in 3 11 17 24 28; do
  [ "$other" = "$day" ] && continue
  {
    case $other in
      3) echo "繳房租"; echo "09:00 繳房租" ;;
      11) echo "牙醫"; echo "10:30 看牙醫"; echo "14:00 整理報稅資料" ;;
      17) echo ""; echo "--:-- 回覆客戶信件"; echo "16:00 部門會議"; echo "20:00 健身房" ;;
      24) echo "同學會"; echo "18:30 同學會" ;;
      28) echo "出差台中"; echo "07:40 高鐵出發"; echo "13:00 拜訪客戶" ;;
    esac
  } | crlf | big5 >"$data/$year/$month/$other.dat"
done
# Plans judged not done, and the two counts: 7 not done, 18 done.
printf '整理書桌\n讀完一本書\n修理腳踏車\n寄聖誕卡片\n學做蛋糕\n' | crlf | big5 >"$data/quendar.dat"
printf '\x07\x00\x12\x00' >"$data/quendar.qdr"

# --- driving the program
"$dir/quendar" >"$work/log" 2>&1 &
pids+=($!)

window() {
  local id deadline=$((SECONDS + ${2:-30}))
  while [ $SECONDS -lt $deadline ]; do
    id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -1)
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.2
  done
  echo "no window \"$1\"" >&2
  return 1
}
# A click at a point of a window's client area, in pixels.
click() {
  xdotool windowactivate --sync "$1" mousemove --window "$1" "$2" "$3" click "${4:-1}"
  sleep 0.5
}
# The window with its frame, as the desktop shows it.
shot() {
  sleep 0.7
  import -frame -window "$1" "$out/$2.png"
  echo "wrote docs/screenshots/$2.png"
}

main=$(window "Quendar  0.4.8")
xdotool windowmove --sync "$main" 40 30
sleep 1
shot "$main" today

# Menu bar: 主畫面, 行程排定, 進度檢視, 結束程式.
menu_y=10
click "$main" 90 $menu_y
# Double-click today's cell to open the editor.
first=$(date -d "$(date +%Y-%m-01)" +%w)
cell=$((first + day - 1))
# The client area is 297 pixels high for a month of six week rows, else 264.
days=$(date -d "$(date +%Y-%m-01) +1 month -1 day" +%-d)
client=$(( (first + days) > 35 ? 297 : 264 ))
menubar=$(( $(xdotool getwindowgeometry --shell "$main" | sed -n 's/HEIGHT=//p') - client ))
x=$(( (cell % 7) * 72 + 36 )) y=$(( menubar + 104 + (cell / 7) * 32 + 16 ))
click "$main" $x $y
xdotool mousemove --window "$main" $x $y click --repeat 2 --delay 80 1
sleep 0.5
xdotool mousemove --window "$main" 500 20
shot "$main" calendar-editor

click "$main" 160 $menu_y
summary=$(window "Quendar  0.4.8 - Summary")
sleep 2
shot "$summary" summary

# Back to the today page; the alarm rises at the bottom right at its minute.
click "$summary" 30 $menu_y
alarm=$(window "Quendar  0.4.8 - Alarm" 90)
sleep 4
shot "$alarm" alarm
