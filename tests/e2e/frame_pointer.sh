#!/usr/bin/env bash
# Real pointer input on the test display against a skinned window (tools/skin_demo): hovering the
# close button turns it red, dragging the caption moves the window, pressing and releasing the
# close button closes the program.   Args: SOURCE_DIR BUILD_DIR
set -euo pipefail
src=${1:?source dir}
build=$(cd "${2:?build dir}" && pwd)
export DISPLAY=$(cat "$build/test-env/display")

# The main window: client 360 x 220 under the skin's frame, so 366 x 256, at (X, Y).
X=100 Y=100 W=366

pixel() {  # prints R G B of the screen pixel at (x, y)
  import -window root -crop "1x1+$1+$2" -depth 8 txt:- | tail -1 |
    sed -E 's/.*\(([0-9]+),([0-9]+),([0-9]+).*/\1 \2 \3/'
}
fail() { echo "FAIL: $*" >&2; exit 1; }

"$src/scripts/wine-run" "$build" "$build/bin/skin_demo.exe" $X $Y >/dev/null 2>&1 &
pid=$!
trap 'kill $pid 2>/dev/null || true' EXIT

# Wait for the blue caption.
for _ in $(seq 100); do
  read -r r g b < <(pixel $((X + 150)) $((Y + 15)))
  [ "$b" -gt 200 ] && [ "$r" -lt 120 ] && break
  sleep 0.2
done
[ "$b" -gt 200 ] && [ "$r" -lt 120 ] || fail "no blue caption at ($((X + 150)), $((Y + 15))): $r $g $b"
echo "caption is up: $r $g $b"

# Hover the close button (window x W-56 .. W-15): its face turns red.
close_x=$((X + W - 40)) close_y=$((Y + 9))
xdotool mousemove $((close_x - 5)) $((close_y + 2)); sleep 0.1
xdotool mousemove "$close_x" "$close_y"; sleep 0.6
read -r r g b < <(pixel $((X + W - 52)) $((Y + 6)))
[ "$r" -gt 150 ] && [ "$b" -lt 90 ] || fail "close button not red when hovered: $r $g $b"
echo "hovered close button: $r $g $b"

# Leave it: back to blue once the hover timer sees the pointer gone.
xdotool mousemove $((X + 150)) $((Y + 120)); sleep 0.8
read -r r g b < <(pixel $((X + W - 52)) $((Y + 6)))
[ "$b" -gt 150 ] && [ "$r" -lt 150 ] || fail "close button still lit after the pointer left: $r $g $b"

# Drag the caption by (+120, +80).
xdotool mousemove $((X + 150)) $((Y + 15)); sleep 0.2
xdotool mousedown 1; sleep 0.2
for step in 1 2 3 4; do
  xdotool mousemove $((X + 150 + 30 * step)) $((Y + 15 + 20 * step)); sleep 0.15
done
xdotool mouseup 1; sleep 0.8
NX=$((X + 120)) NY=$((Y + 80))
read -r r g b < <(pixel $((NX + 150)) $((NY + 15)))
[ "$b" -gt 200 ] && [ "$r" -lt 120 ] || fail "caption not at its new place after the drag: $r $g $b"
read -r r g b < <(pixel $((X + 20)) $((Y + 15)))
[ "$b" -lt 100 ] || fail "old caption place still shows the caption: $r $g $b"
echo "window moved by (120, 80)"

# Press and release the close button: the program ends.
xdotool mousemove $((NX + W - 40)) $((NY + 9)); sleep 0.4
xdotool mousedown 1; sleep 0.2
xdotool mouseup 1
for _ in $(seq 50); do kill -0 $pid 2>/dev/null || break; sleep 0.2; done
kill -0 $pid 2>/dev/null && fail "the program did not close"
echo "closed by its close button"
echo "1 passed, 0 failed"
