#!/usr/bin/env bash
# Real pointer input on the skinned frame of Certivex: the caption drags the window, the close
# button turns red under the pointer, and pressing and releasing it closes the program.
. "$(dirname "$0")/lib/common.bash"

install_app "$work/app"
start_app "$work/app"
sleep 0.5
read -r l t r b < <(drv wait-window 5)
# The window was made 614 x 482 with the platform's frame; the skin keeps its client area and puts
# its own frame around it: 3 pixels left and right, 31 of caption, 5 at the bottom.
read -r cl ct cr cb < <(drv client)
[ $((cl - l)) -eq 3 ] && [ $((ct - t)) -eq 31 ] && [ $((r - cr)) -eq 3 ] && [ $((b - cb)) -eq 5 ] ||
  fail "frame insets $((cl - l)),$((ct - t)),$((r - cr)),$((b - cb)), expected 3,31,3,5"
[ $((r - l)) -le 614 ] || fail "outer width $((r - l)), more than the form's 614"

# Active caption: blue, with the close button alone at W-56..W-15.
shot "$work/before.png"
read -r cr cg cb < <(pixel "$work/before.png" $((l + 300)) $((t + 15)))
[ "$cb" -gt 180 ] && [ "$cr" -lt 120 ] || fail "caption is not blue ($cr,$cg,$cb)"
face_x=$((r - 56 + 5)) face_y=$((t + 12))
read -r nr ng nb < <(pixel "$work/before.png" $face_x $face_y)
[ "$nb" -gt "$nr" ] || fail "close button is not blue before hovering ($nr,$ng,$nb)"

# Drag the caption by (60, 40).
xdotool mousemove $((l + 200)) $((t + 15)) mousedown 1
sleep 0.2
xdotool mousemove $((l + 230)) $((t + 35))
sleep 0.1
xdotool mousemove $((l + 260)) $((t + 55))
sleep 0.2
xdotool mouseup 1
sleep 0.5
read -r l2 t2 r2 b2 < <(drv wait-window 5)
[ $((l2 - l)) -eq 60 ] && [ $((t2 - t)) -eq 40 ] || fail "the drag moved the window by $((l2 - l)),$((t2 - t)), expected 60,40"
l=$l2 t=$t2 r=$r2 b=$b2

# Hover the close button: red face.
xdotool mousemove $((r - 35)) $((t + 9))
sleep 0.6
shot "$work/hover.png"
read -r hr hg hb < <(pixel "$work/hover.png" $((r - 56 + 5)) $((t + 12)))
[ "$hr" -gt 130 ] && [ "$hg" -lt 90 ] && [ "$hb" -lt 90 ] || fail "close button is not red under the pointer ($hr,$hg,$hb)"

# Leaving the strip returns it to blue (the 200 ms timer notices).
xdotool mousemove $((l + 300)) $((t + 200))
sleep 0.8
shot "$work/left.png"
read -r lr lg lb < <(pixel "$work/left.png" $((r - 56 + 5)) $((t + 12)))
[ "$lb" -gt "$lr" ] || fail "close button stayed red after the pointer left ($lr,$lg,$lb)"

# Press and release on the close button closes Certivex.
xdotool mousemove $((r - 35)) $((t + 9))
sleep 0.3
xdotool mousedown 1
sleep 0.2
xdotool mouseup 1
drv wait-gone 20 >/dev/null || fail "the close button did not close the window"
wait "$app_pid" 2>/dev/null || true
app_pid=
echo "frame input checks passed"
