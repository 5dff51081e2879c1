#!/usr/bin/env bash
# Removes the installed program, its links, its menu and autostart entries,
# its icon and metadata. The user's datas/, Quendar.ini and alarm.wav stay in
# the program folder, where a later install finds them again; --purge
# deletes them too, after a confirmation.
# Usage: scripts/uninstall.sh [--purge]
set -euo pipefail

source "$(cd "$(dirname "$0")" && pwd)/lib/installed.bash"

purge=false
case "${1:-}" in
  '') ;;
  --purge) purge=true ;;
  *) echo "usage: $0 [--purge]" >&2; exit 2 ;;
esac

if $purge && [ -d "$folder" ]; then
  # A running copy writes its books at its exit: the folder must outlive it.
  if program_running; then
    echo "$0: Quendar is running: end it (結束程式) first." >&2
    exit 1
  fi
  echo "This deletes your plans, history and settings in $folder for good."
  read -r -p "Type yes to delete them: " answer || answer=
  if [ "$answer" != yes ]; then
    echo "Nothing was deleted." >&2
    exit 1
  fi
fi

for program in "${linked_programs[@]}"; do
  if our_link "$program"; then rm -f "$bin_home/$program"; fi
done
rm -f "$desktop_entry" "$autostart_entry" "$icon" "$metainfo"
[ -d "$folder" ] || { echo "Quendar is not installed."; exit 0; }

if $purge; then
  rm -rf "$folder"
  echo "Removed Quendar and its data."
  exit 0
fi
rm -f "$folder/quendar" "$folder/quendar-sound.so" "$folder/quendar-ics"
find "$folder" -maxdepth 1 -type f -name "*.~new" -delete
program_running && echo "Quendar is still running from its removed program until you end it."
echo "Removed Quendar. Your data stays in $folder (datas/, Quendar.ini and alarm.wav); install again to use it, or copy that folder to keep it elsewhere."
