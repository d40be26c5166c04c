#!/usr/bin/env bash
# Real pointer input on a skinned push button of Certivex: moving onto 预览 shows the hover face,
# pressing shows the pressed face, and the click still reaches the preview (a serial number appears).
. "$(dirname "$0")/lib/common.bash"

install_app "$work/app"
start_app "$work/app"
sleep 0.5
read -r l t r b < <(drv rect 1007)
[ $((r - l)) -eq 96 ] && [ $((b - t)) -eq 24 ] || fail "PreviewButton is $((r - l)) x $((b - t))"
[ -z "$(drv text 1026)" ] || fail "the serial number is set before any preview"

# Top row of the face inside the outline: faceStart of the normal, hover and pressed faces.
xdotool mousemove $((l - 40)) $((t - 40))
sleep 0.3
shot "$work/normal.png"
near "$work/normal.png" $((l + 20)) $((t + 1)) 200 237 236 6 || fail "normal face"

xdotool mousemove $((l + 48)) $((t + 12))
sleep 0.2
xdotool mousemove $((l + 50)) $((t + 12))
sleep 0.4
shot "$work/hover.png"
near "$work/hover.png" $((l + 20)) $((t + 1)) 250 240 150 6 || fail "hover face"

xdotool mousedown 1
sleep 0.4
shot "$work/pressed.png"
near "$work/pressed.png" $((l + 20)) $((t + 1)) 160 237 246 6 || fail "pressed face"
xdotool mouseup 1
sleep 0.5

serial=$(drv text 1026)
[[ "$serial" =~ ^[0-9]{1,5}$ ]] || fail "the click did not reach the preview (serial '$serial')"
date_text=$(drv text 1025)
[[ "$date_text" =~ ^[0-9]{4}年[0-9]{1,2}月$ ]] || fail "issue date '$date_text'"
echo "button input checks passed (serial $serial, date $date_text)"
