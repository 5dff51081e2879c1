#!/usr/bin/env bash
# Installs Quendar for the current user: the program folder at
# ${XDG_DATA_HOME:-~/.local/share}/quendar/, the link ~/.local/bin/quendar,
# the menu entry with its icon and metadata and, with --autostart, an entry
# that starts it with every session. Installing again upgrades: the programs
# are replaced, the user's datas/, Quendar.ini and alarm.wav never are.
# Usage: scripts/install.sh [--autostart] [--start] [--build BUILD_DIR]
#   --start  starts the installed program afterwards
#   --build  installs from that build folder instead of building build-release
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/scripts/lib/installed.bash"

usage() { echo "usage: $0 [--autostart] [--start] [--build BUILD_DIR]" >&2; exit 2; }
die() { echo "$0: $*" >&2; exit 1; }

autostart=false
start=false
build=
while [ $# -gt 0 ]; do
  case "$1" in
    --autostart) autostart=true ;;
    --start) start=true ;;
    --build) [ $# -ge 2 ] || usage; build=$2; shift ;;
    *) usage ;;
  esac
  shift
done

if [ -z "$build" ]; then
  build=$root/build-release
  "$root/scripts/deps.sh" build
  cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DQUENDAR_TESTS=OFF >/dev/null
  cmake --build "$build" -j"$(nproc)"
fi
[ -d "$build/quendar" ] || die "no program folder in $build: build it first"
from=$(cd "$build/quendar" && pwd)
[ "$from" != "$(cd "$folder" 2>/dev/null && pwd)" ] || die "$from is the installed folder itself"
for file in quendar quendar-sound.so Quendar.ini alarm.wav; do
  [ -f "$from/$file" ] || die "$from has no $file: build it first"
done

# Every file goes in under a temporary name and is renamed over its target in
# one step: a running copy keeps the program it has open, and an interrupted
# install never leaves half a file behind.
place() {  # SOURCE TARGET
  cp "$1" "$2.~new"
  sync "$2.~new"
  mv -f "$2.~new" "$2"
}
write() {  # TARGET, the text on stdin
  mkdir -p "$(dirname "$1")"
  cat >"$1.~new"
  mv -f "$1.~new" "$1"
}

mkdir -p "$folder"
was_running=false
program_running && was_running=true

# The data of a program folder in the build tree (an earlier scripts/run.sh)
# moves in with the first install. The installed program makes datas/ at its
# first start, so a folder without one has never been used and its settings
# are the build's own.
if [ ! -e "$folder/datas" ] && [ -d "$from/datas" ]; then
  flock -n "$from" true ||
    die "Quendar is running from $from: end it (結束程式) and install again, so that its data is copied complete"
  rm -rf "$folder/datas.~new"
  cp -a "$from/datas" "$folder/datas.~new"
  place "$from/Quendar.ini" "$folder/Quendar.ini"
  sync -f "$folder/datas.~new"
  mv "$folder/datas.~new" "$folder/datas"
  echo "Copied your data from $from/datas (and its Quendar.ini) to $folder; the old copy stays where it was."
fi

for file in Quendar.ini alarm.wav; do
  [ -e "$folder/$file" ] || place "$from/$file" "$folder/$file"
done
place "$from/quendar-sound.so" "$folder/quendar-sound.so"
[ ! -f "$from/quendar-ics" ] || place "$from/quendar-ics" "$folder/quendar-ics"
place "$from/quendar" "$folder/quendar"

mkdir -p "$bin_home"
for program in "${linked_programs[@]}"; do
  [ -e "$folder/$program" ] || continue
  if our_link "$program"; then
    continue
  elif [ -e "$bin_home/$program" ] || [ -L "$bin_home/$program" ]; then
    echo "Left $bin_home/$program as it is: it is not a link to $folder/$program." >&2
  else
    ln -s "$folder/$program" "$bin_home/$program"
  fi
done

# Exec takes a quoted argument whose \ " ` $ are escaped, inside a string
# value whose own backslashes are escaped again; % is doubled.
quoted=$folder/quendar
quoted=${quoted//\\/\\\\}
quoted=${quoted//\"/\\\"}
quoted=${quoted//\`/\\\`}
quoted=${quoted//\$/\\\$}
quoted=${quoted//\\/\\\\}
quoted=${quoted//%/%%}

entry() {
  cat <<ENTRY
[Desktop Entry]
Type=Application
Version=1.4
Name=Quendar
GenericName=Day Planner
GenericName[zh_TW]=行程規劃
Comment=Plans for the day with alarms, resident in the notification area
Comment[zh_TW]=每日行程與鬧鈴，常駐在通知區域
Exec="$quoted"
Icon=quendar
Terminal=false
StartupNotify=false
Categories=Office;Calendar;
ENTRY
}

mkdir -p "$(dirname "$icon")" "$(dirname "$metainfo")"
place "$root/desktop/quendar.svg" "$icon"
place "$root/desktop/$(basename "$metainfo")" "$metainfo"
entry | write "$desktop_entry"
# An autostart entry the user asked for earlier follows the program too.
if $autostart || [ -e "$autostart_entry" ]; then
  entry | write "$autostart_entry"
  echo "Quendar starts with every session ($autostart_entry)."
fi

echo "Installed Quendar in $folder; your plans are in $folder/datas."
$was_running && echo "Quendar is running: the new version starts at its next start."
case ":$PATH:" in
  *":$bin_home:"*) ;;
  *) echo "$bin_home is not on your PATH: start Quendar from the menu or as $folder/quendar." ;;
esac

if $start; then
  setsid -f "$folder/quendar" </dev/null >/dev/null 2>&1
fi
