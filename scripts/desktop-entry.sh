#!/usr/bin/env bash
# Adds the built program to the desktop's application menu (an XDG desktop
# entry and the program's icon in the user's folders); with --autostart it
# also starts with every session, as a resident planner should.
# Usage: scripts/desktop-entry.sh [--autostart] [BUILD_DIR]   (default: build)
set -euo pipefail

autostart=false
build=build
for arg in "$@"; do
  case "$arg" in
    --autostart) autostart=true ;;
    -*) echo "usage: $0 [--autostart] [BUILD_DIR]" >&2; exit 2 ;;
    *) build=$arg ;;
  esac
done

root=$(cd "$(dirname "$0")/.." && pwd)
[[ "$build" = /* ]] || build=$root/$build
program=$build/quendar/quendar
[ -x "$program" ] || { echo "no built program at $program; build it first" >&2; exit 1; }
program=$(cd "$(dirname "$program")" && pwd)/quendar

data_home=${XDG_DATA_HOME:-$HOME/.local/share}
config_home=${XDG_CONFIG_HOME:-$HOME/.config}

# Exec takes a quoted argument whose \ " ` $ are escaped, inside a string
# value whose own backslashes are escaped again; % is doubled.
quoted=$program
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

# The icon the program draws for its windows: a calendar leaf with a tick.
icon() {
  cat <<'ICON'
<svg xmlns="http://www.w3.org/2000/svg" width="32" height="32" viewBox="0 0 32 32">
  <rect x="3" y="5" width="26" height="24" rx="3" fill="#dff6fd" stroke="#47788c" stroke-width="2"/>
  <rect x="4" y="6" width="25" height="7" fill="#88d4ea"/>
  <polyline points="10,20 15,25 23,15" fill="none" stroke="#c80000" stroke-width="3"
            stroke-linecap="round" stroke-linejoin="round"/>
</svg>
ICON
}

mkdir -p "$data_home/applications" "$data_home/icons/hicolor/scalable/apps"
icon >"$data_home/icons/hicolor/scalable/apps/quendar.svg"
entry >"$data_home/applications/quendar.desktop"
echo "wrote $data_home/applications/quendar.desktop"
if $autostart; then
  mkdir -p "$config_home/autostart"
  entry >"$config_home/autostart/quendar.desktop"
  echo "wrote $config_home/autostart/quendar.desktop"
fi
