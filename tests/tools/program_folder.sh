#!/usr/bin/env bash
# A build that has nothing to relink still puts a missing Quendar.ini or
# alarm.wav back into the program folder, and leaves the user's own alone.
# Usage: program_folder.sh CMAKE BUILD_DIR PROGRAM_FOLDER
set -euo pipefail
cmake=$1 build=$2 folder=$3

saved=$(mktemp -d)
restore() {
  for f in Quendar.ini alarm.wav; do cp "$saved/$f" "$folder/$f"; done
  rm -rf "$saved"
}
fail() { echo "FAIL: $*" >&2; exit 1; }

"$cmake" --build "$build" >/dev/null || fail "the first build"
cp "$folder/Quendar.ini" "$folder/alarm.wav" "$saved/"
trap restore EXIT

# Nothing changed since: this build relinks nothing.
rm "$folder/Quendar.ini" "$folder/alarm.wav"
"$cmake" --build "$build" >/dev/null || fail "the build after removing the files"
cmp -s "$saved/Quendar.ini" "$folder/Quendar.ini" || fail "Quendar.ini not restored"
cmp -s "$saved/alarm.wav" "$folder/alarm.wav" || fail "alarm.wav not restored"

# A settings file the user changed is never replaced.
printf 'mine' > "$folder/Quendar.ini"
"$cmake" --build "$build" >/dev/null || fail "the build over the user's own file"
[ "$(cat "$folder/Quendar.ini")" = mine ] || fail "the user's Quendar.ini was replaced"
echo "ok"
