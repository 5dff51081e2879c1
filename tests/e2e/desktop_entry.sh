# The desktop entry for the built program: valid, pointing at the program,
# with its icon, and in the autostart folder only when asked.
source "$(dirname "$0")/lib/common.bash"

script=$(dirname "$0")/../../scripts/desktop-entry.sh
build=$(cd "$(dirname "$QUENDAR")/.." && pwd)
export HOME=$WORK/home XDG_DATA_HOME=$WORK/home/data XDG_CONFIG_HOME=$WORK/home/config

bash "$script" "$build" >/dev/null || fail "desktop-entry.sh failed"
entry=$XDG_DATA_HOME/applications/quendar.desktop
desktop-file-validate "$entry" || fail "invalid desktop entry"
exec_line=$(grep '^Exec=' "$entry")
[ "$exec_line" = "Exec=\"$build/quendar/quendar\"" ] || fail "Exec is $exec_line"
[ -s "$XDG_DATA_HOME/icons/hicolor/scalable/apps/quendar.svg" ] || fail "no icon"
[ ! -e "$XDG_CONFIG_HOME/autostart/quendar.desktop" ] || fail "autostart entry without --autostart"
ok "application entry valid, pointing at the built program, with its icon"

bash "$script" --autostart "$build" >/dev/null || fail "desktop-entry.sh --autostart failed"
desktop-file-validate "$XDG_CONFIG_HOME/autostart/quendar.desktop" || fail "invalid autostart entry"
cmp -s "$entry" "$XDG_CONFIG_HOME/autostart/quendar.desktop" || fail "autostart entry differs"
ok "--autostart adds the same entry to the autostart folder"

# A program folder whose path needs escaping still gives a valid entry.
odd="$WORK/a dir with \$ and \"quotes\" and %"
mkdir -p "$odd/quendar" && cp "$QUENDAR" "$odd/quendar/"
bash "$script" "$odd" >/dev/null || fail "desktop-entry.sh failed for an odd path"
desktop-file-validate "$entry" || fail "invalid desktop entry for an odd path"
ok "a path with blanks, quotes, \$ and % is escaped"
