#!/usr/bin/env bash
# Runs a command under a virtual X server of its own (1024x768) with a window
# manager (openbox), as on a desktop: focus, activation and window frames
# work there as users meet them. The server picks a free display itself, so
# runs side by side never share one.
set -u
dir=$(mktemp -d)
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$dir/display" 2>"$dir/xvfb.log" &
server=$!
deadline=$((SECONDS + 20))
until [ -s "$dir/display" ]; do
  if [ $SECONDS -ge $deadline ] || ! kill -0 "$server" 2>/dev/null; then
    echo "virtual X server did not start:" >&2
    cat "$dir/xvfb.log" >&2
    exit 1
  fi
  sleep 0.1
done
export DISPLAY=:$(head -n 1 "$dir/display")
openbox >"$dir/openbox.log" 2>&1 &
manager=$!
deadline=$((SECONDS + 20))
until xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; do
  if [ $SECONDS -ge $deadline ] || ! kill -0 "$manager" 2>/dev/null; then
    echo "window manager did not start:" >&2
    cat "$dir/openbox.log" >&2
    kill "$server" 2>/dev/null
    rm -rf "$dir"
    exit 1
  fi
  sleep 0.1
done
"$@"
status=$?
kill "$manager" 2>/dev/null
wait "$manager" 2>/dev/null
kill "$server" 2>/dev/null
wait "$server" 2>/dev/null
rm -rf "$dir"
exit $status
