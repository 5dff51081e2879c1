# The main window keeps its size under the window manager: it is offered no
# maximise and no resizing, and neither a request for another size nor a
# double click on its title bar changes its size.
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
# What the window manager draws: without a resize handle the frame is as
# thin at the bottom as at the sides.
read -r left right top bottom < <(xprop -id "$main" _NET_FRAME_EXTENTS | sed 's/.*= //; s/,//g')
[ -n "$bottom" ] && [ "$bottom" = "$left" ] || fail "the frame has a resize handle: extents $left $right $top $bottom"
ok "no maximise and no resizing offered, no resize handle drawn"

# The client area's place and size on the screen, as the X server has them.
info() { xwininfo -id "$main" | sed -n "s/.*$1: *//p"; }
size() { echo "$(info Width)x$(info Height)"; }
before=$(size)
xdotool windowsize "$main" 900 700
# A double click on the title bar maximises a window that may grow.
xdotool mousemove $(($(info 'Absolute upper-left X') + 150)) $(($(info 'Absolute upper-left Y') - 10)) \
  click --repeat 2 --delay 40 1
sleep 0.5
[ "$(size)" = "$before" ] || fail "size $(size), it was $before"
ok "a resize request and a double click on the title bar leave the size as it was"
