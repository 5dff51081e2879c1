# The install for one user, in a HOME of its own: the program folder, the
# link the program is started from, the entries and the metadata; an upgrade
# while the program runs; an uninstall that keeps the data and a second
# install that finds it again; data moved in from a build tree.
source "$(dirname "$0")/lib/common.bash"

scripts=$(cd "$(dirname "$0")/../../scripts" && pwd)
use_home() {
  export HOME=$WORK/$1 XDG_DATA_HOME=$WORK/$1/share XDG_CONFIG_HOME=$WORK/$1/config
  installed=$XDG_DATA_HOME/quendar
  link=$HOME/.local/bin/quendar
}
use_home home
install() { bash "$scripts/install.sh" "$@" >"$WORK/install.log" 2>&1 || fail "install.sh $*: $(cat "$WORK/install.log")"; }
uninstall() { bash "$scripts/uninstall.sh" "$@" >"$WORK/uninstall.log" 2>&1; }

# A build folder of its own for each version, so the test knows exactly what
# it installs; a newer version is the same program with bytes after its end.
build_folder() {
  program_folder "$1/quendar" >/dev/null
  [ -z "${2:-}" ] || printf '%s' "$2" >>"$WORK/$1/quendar/quendar"
  echo "$WORK/$1"
}

# The first note's left and top in Quendar.ini, in twips.
note_place() { od -An -tu2 -j82 -N4 "$1" | tr -s ' ' | sed 's/^ //'; }
set_note_place() { printf '\x5c\x11\xae\x08' | dd of="$1" bs=1 seek=82 conv=notrunc status=none; }  # 4444, 2222

# The program the entry's Exec names, read back as a desktop reads it: the
# string's escapes first, then the quoted argument's, then the doubled %.
exec_program() {
  grep '^Exec=' "$1" |
    sed -e 's/^Exec=//' -e 's/\\\\/\\/g' -e 's/^"\(.*\)"$/\1/' -e 's/\\\([\"`$\\]\)/\1/g' -e 's/%%/%/g'
}

check_entries() {
  local entry=$XDG_DATA_HOME/applications/quendar.desktop
  desktop-file-validate "$entry" || fail "invalid desktop entry"
  [ "$(exec_program "$entry")" = "$installed/quendar" ] || fail "Exec is $(grep '^Exec=' "$entry")"
  [ -s "$XDG_DATA_HOME/icons/hicolor/scalable/apps/quendar.svg" ] || fail "no icon"
  appstreamcli validate --no-net --strict "$XDG_DATA_HOME/metainfo/io.github.quendar.Quendar.metainfo.xml" >/dev/null ||
    fail "no valid metadata installed"
}

v1=$(build_folder v1)
install --build "$v1"
cmp -s "$v1/quendar/quendar" "$installed/quendar" || fail "program not installed"
cmp -s "$v1/quendar/quendar-sound.so" "$installed/quendar-sound.so" || fail "sound module not installed"
cmp -s "$v1/quendar/Quendar.ini" "$installed/Quendar.ini" || fail "no settings file installed"
[ -s "$installed/alarm.wav" ] || fail "no sound installed"
[ "$(readlink "$link")" = "$installed/quendar" ] || fail "link points at $(readlink "$link")"
[ ! -e "$installed/datas" ] || fail "datas/ made before the first start"
[ ! -e "$HOME/.local/bin/quendar-ics" ] || fail "a link to a companion program that is not there"
check_entries
[ ! -e "$XDG_CONFIG_HOME/autostart/quendar.desktop" ] || fail "autostart entry without --autostart"
ok "install: program folder, link, entry, icon and metadata, no autostart"

# The user's own things: note places and a sound of their own.
set_note_place "$installed/Quendar.ini"
printf 'my own sound' >"$installed/alarm.wav"

"$link" >"$WORK/first.log" 2>&1 & first=$!
PIDS+=("$first")
wait_window "Quendar  0.4.8" >/dev/null || fail "the program started from the link shows no window"
[ -d "$installed/datas" ] || fail "started from the link, the program did not use the installed folder"
[ ! -e "$HOME/.local/bin/datas" ] || fail "the program took the link's folder for its own"
# A plan for yesterday, which the exit moves into the history, and one ahead,
# which stays.
yesterday=$(date -d yesterday +%Y/%-m/%-d) ahead=$(date -d '+2 days' +%Y/%-m/%-d)
for day in "$yesterday" "$ahead"; do mkdir -p "$installed/datas/${day%/*}"; done
printf '\r\n--:-- past plan\r\n' >"$installed/datas/$yesterday.dat"
printf 'ahead\r\n09:30 plan ahead\r\n' >"$installed/datas/$ahead.dat"
cp "$installed/datas/$ahead.dat" "$WORK/ahead.dat"
ok "started from the link, the program uses the installed folder"

v2=$(build_folder v2 "a newer version")
install --build "$v2"
grep -q "new version starts at its next start" "$WORK/install.log" || fail "no word of the next start: $(cat "$WORK/install.log")"
kill -0 "$first" 2>/dev/null || fail "the upgrade ended the running copy"
case "$(readlink "/proc/$first/exe")" in *" (deleted)") ;; *) fail "the running copy does not run the old file" ;; esac
cmp -s "$v2/quendar/quendar" "$installed/quendar" || fail "new program not in place"
[ "$(note_place "$installed/Quendar.ini")" = "4444 2222" ] || fail "upgrade changed the note places"
[ "$(cat "$installed/alarm.wav")" = "my own sound" ] || fail "upgrade replaced the user's sound"
check_entries
kill -TERM "$first"
wait_exit "$first" >/dev/null || fail "the old copy did not end"
wait "$first" || fail "the old copy did not end cleanly"
grep -q "past plan" "$installed/datas/quendar.dat" || fail "the old copy's exit wrote no history"
cmp -s "$WORK/ahead.dat" "$installed/datas/$ahead.dat" || fail "the plan ahead changed"
[ "$(note_place "$installed/Quendar.ini")" = "4444 2222" ] || fail "the note places were lost"
ok "upgrade while running: the copy runs on, the new program is in place, plans and note places kept"

"$link" >"$WORK/second.log" 2>&1 & second=$!
PIDS+=("$second")
wait_window "Quendar  0.4.8" >/dev/null || fail "the upgraded program shows no window"
[ "$(readlink "/proc/$second/exe")" = "$installed/quendar" ] || fail "the next start runs $(readlink "/proc/$second/exe")"
kill -TERM "$second"
wait_exit "$second" >/dev/null || fail "the upgraded program did not end"
ok "the next start runs the new program"

cp -a "$installed" "$WORK/kept"
uninstall || fail "uninstall.sh: $(cat "$WORK/uninstall.log")"
for gone in "$installed/quendar" "$installed/quendar-sound.so" "$link" "$XDG_DATA_HOME/applications/quendar.desktop" \
            "$XDG_DATA_HOME/icons/hicolor/scalable/apps/quendar.svg" \
            "$XDG_DATA_HOME/metainfo/io.github.quendar.Quendar.metainfo.xml"; do
  [ ! -e "$gone" ] || fail "uninstall left $gone"
done
for kept in datas Quendar.ini alarm.wav; do
  diff -r "$WORK/kept/$kept" "$installed/$kept" >/dev/null || fail "uninstall changed $kept"
done
grep -qF "$installed" "$WORK/uninstall.log" || fail "uninstall did not say where the data stays"
ok "uninstall removes the program and its entries, keeps datas/, Quendar.ini and alarm.wav and says where"

install --build "$v1" --autostart --start
diff -r "$WORK/kept/datas" "$installed/datas" >/dev/null || fail "the second install changed datas/"
wait_window "Quendar  0.4.8" >/dev/null || fail "--start started no program"
started=$(pgrep -f "^$installed/quendar\$") || fail "--start did not start the installed program"
PIDS+=("$started")
kill -TERM "$started"
wait_exit "$started" >/dev/null 2>&1 || fail "the started program did not end"
cmp -s "$WORK/kept/Quendar.ini" "$installed/Quendar.ini" || fail "the second install replaced Quendar.ini"
[ "$(readlink "$link")" = "$installed/quendar" ] || fail "no link after the second install"
desktop-file-validate "$XDG_CONFIG_HOME/autostart/quendar.desktop" || fail "invalid autostart entry"
cmp -s "$XDG_DATA_HOME/applications/quendar.desktop" "$XDG_CONFIG_HOME/autostart/quendar.desktop" ||
  fail "the autostart entry differs from the menu entry"
ok "a second install after the uninstall finds the data and starts the program; --autostart adds the same entry"

echo no | uninstall --purge && fail "purge went on without a yes"
[ -x "$installed/quendar" ] && [ -d "$installed/datas" ] || fail "a purge answered no removed something"
echo yes | uninstall --purge || fail "uninstall.sh --purge: $(cat "$WORK/uninstall.log")"
[ ! -e "$installed" ] && [ ! -e "$link" ] && [ ! -e "$XDG_CONFIG_HOME/autostart/quendar.desktop" ] ||
  fail "purge left the program folder or its entries"
ok "--purge removes the data only after a yes"

# An earlier program folder in the build tree, with files the program never
# made byte by byte the same way: the copy must not change one.
use_home migrating
old=$(build_folder tree/build-release)/quendar
mkdir -p "$old/datas/2026/3"
printf '2026\r\n3\r\n' >"$old/datas/2026/month.qdr"
printf 'note \xa4\xe9\xb5\xb2\r\n07:05 \xad\x70\xb5\x65\r\n--:-- no end' >"$old/datas/2026/3/4.dat"
printf '\r\n--:-- left by a crash\r\n' >"$old/datas/2026/3/4.~dat"
printf '\x03\x00\x07\x00' >"$old/datas/quendar.qdr"
head -c 3000 /dev/urandom >"$old/datas/2026/3/foreign"
set_note_place "$old/Quendar.ini"
cp -a "$old" "$WORK/old-before"
# The lock a copy running from the old folder holds.
exec {lock}<"$old" && flock -n "$lock" || fail "could not lock $old"
bash "$scripts/install.sh" --build "${old%/quendar}" >"$WORK/install.log" 2>&1 && fail "moved the data of a running copy"
[ ! -e "$installed/datas" ] || fail "a refused move left datas/"
exec {lock}<&-
install --build "${old%/quendar}"
grep -q "Copied your data from $old/datas" "$WORK/install.log" || fail "the move was not announced: $(cat "$WORK/install.log")"
diff -r "$old/datas" "$installed/datas" >/dev/null || fail "datas/ not copied byte for byte"
cmp -s "$old/Quendar.ini" "$installed/Quendar.ini" || fail "Quendar.ini not copied"
diff -r "$WORK/old-before" "$old" >/dev/null || fail "the old copy changed"
printf 'later\r\n' >"$old/datas/2026/3/9.dat"
install --build "${old%/quendar}"
[ ! -e "$installed/datas/2026/3/9.dat" ] || fail "data copied over an installed datas/"
ok "the data of a build-tree folder moves in byte for byte, only once, and the old copy stays"

# A companion program of the folder comes along with a link of its own; an
# odd path still gives a valid entry.
use_home "odd \$ \"quotes\" and %"
companion=$(build_folder companion)
printf '#!/bin/sh\n' >"$companion/quendar/quendar-ics" && chmod +x "$companion/quendar/quendar-ics"
install --build "$companion"
cmp -s "$companion/quendar/quendar-ics" "$installed/quendar-ics" || fail "companion program not installed"
[ "$(readlink "$HOME/.local/bin/quendar-ics")" = "$installed/quendar-ics" ] || fail "no link to the companion program"
check_entries
ok "the companion program is installed and linked; a path with blanks, quotes, \$ and % is escaped"
