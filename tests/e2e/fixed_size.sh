# The main window keeps its size under the window manager: it is offered no
# maximise and no resizing, and a request for another size leaves it as it was.
source "$(dirname "$0")/lib/common.bash"

dir=$(program_folder fixed)
start "$dir"
main=$(wait_window "Quendar  0.4.8") || fail "main window not mapped"
sleep 0.5
actions=$(xprop -id "$main" _NET_WM_ALLOWED_ACTIONS)
case $actions in
  *MAXIMIZE* | *RESIZE*) fail "the window manager offers $actions" ;;
esac
hints=$(xprop -id "$main" WM_NORMAL_HINTS)
min=$(sed -n 's/.*minimum size: //p' <<<"$hints") max=$(sed -n 's/.*maximum size: //p' <<<"$hints")
[ -n "$min" ] && [ "$min" = "$max" ] || fail "size hints: $hints"
ok "no maximise and no resizing offered"

size() { xdotool getwindowgeometry --shell "$main" | grep -E '^(WIDTH|HEIGHT)=' | tr '\n' ' '; }
before=$(size)
xdotool windowsize "$main" 900 700
sleep 0.5
[ "$(size)" = "$before" ] || fail "size $(size), it was $before"
ok "a request for another size leaves the size as it was"
