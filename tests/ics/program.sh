#!/usr/bin/env bash
# The laid-out quendar-ics binary: "today" and the zone from the environment,
# and an import refused while another process holds the program folder's
# lock, as the running planner does.
# Usage: program.sh QUENDAR_ICS
set -euo pipefail
ics=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

mkdir "$work/folder"
printf 'BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Test//Test//EN\r\nBEGIN:VEVENT\r\nUID:a\r\nDTSTAMP:20261201T000000Z\r\nDTSTART:20300102T010000Z\r\nSUMMARY:call\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n' > "$work/in.ics"

status=0
flock "$work/folder" "$ics" import --folder "$work/folder" "$work/in.ics" 2> "$work/err" || status=$?
[ "$status" -eq 2 ] || fail "import under a held lock ended with $status"
grep -q 'Quendar is running' "$work/err" || fail "no message for the held lock: $(cat "$work/err")"
[ -z "$(ls -A "$work/folder")" ] || fail "the refused import wrote something"

QUENDAR_TODAY=2030-01-01 TZ=Asia/Tokyo "$ics" import --folder "$work/folder" "$work/in.ics" > "$work/out"
grep -q '^added 1,' "$work/out" || fail "import: $(cat "$work/out")"
[ "$(cat "$work/folder/datas/2030/1/2.dat")" = $'\r\n10:00 call\r' ] || fail "day file: $(od -c "$work/folder/datas/2030/1/2.dat")"

# Seen from 2031, the same event lies in the past.
QUENDAR_TODAY=2031-01-01 "$ics" import --folder "$work/folder" "$work/in.ics" > "$work/out"
grep -q '^added 0, 0 already there, 1 outside the range' "$work/out" || fail "past: $(cat "$work/out")"

"$ics" export --folder "$work/folder" | grep -q '^DTSTART:20300102T100000' || fail "export"
echo ok
