#!/usr/bin/env bash
# Real pointer and keyboard input on the skin gallery (tools/gallery): push button hover, press and
# click; check box and radio button state kept by the skin across two group boxes; the hover faces
# of a drop-down button and a combo box; the moving progress bar.   Args: SOURCE_DIR BUILD_DIR
. "$(dirname "$0")/lib/common.bash"

gal() { "$WINE" "$bin/gallery.exe" "$@" | tr -d '\r'; }
# Succeeds when some pixel of the area (x y w h) of a picture is within `tol` of r g b.
has_colour() {
  local file=$1 x=$2 y=$3 w=$4 h=$5 r=$6 g=$7 b=$8 tol=${9:-8}
  convert "$file" -crop "${w}x${h}+${x}+${y}" -depth 8 txt:- | tail -n +2 |
    sed -E 's/.*\(([0-9]+),([0-9]+),([0-9]+).*/\1 \2 \3/' |
    awk -v r="$r" -v g="$g" -v b="$b" -v t="$tol" '
      function d(a, c) { return a > c ? a - c : c - a }
      d($1, r) <= t && d($2, g) <= t && d($3, b) <= t { found = 1; exit }
      END { exit !found }'
}
away() { xdotool mousemove 5 1000; sleep 0.5; }
enter() { xdotool mousemove $(($1 - 2)) "$2"; sleep 0.1; xdotool mousemove "$1" "$2"; sleep 0.5; }

"$WINE" "$bin/gallery.exe" >/dev/null 2>&1 &
app_pid=$!
read -r l t r b < <(gal rect 101) || fail "the gallery did not appear"
sleep 1

# Push button 普通 Normal: normal, hover, pressed faces (top row inside the outline), the click.
away
shot "$work/normal.png"
near "$work/normal.png" $((l + 20)) $((t + 1)) 200 237 236 6 || fail "normal face"
enter $((l + 50)) $((t + 12))
shot "$work/hover.png"
near "$work/hover.png" $((l + 20)) $((t + 1)) 250 240 150 6 || fail "hover face"
xdotool mousedown 1; sleep 0.4
shot "$work/pressed.png"
near "$work/pressed.png" $((l + 20)) $((t + 1)) 160 237 246 6 || fail "pressed face"
xdotool mouseup 1; sleep 0.4
status=$(gal text 999)
[ "$status" = "点击 Clicked 101: 普通 Normal" ] || fail "the click did not reach the form: '$status'"
away
shot "$work/left.png"
near "$work/left.png" $((l + 20)) $((t + 1)) 200 237 236 6 || fail "normal face after leaving"
echo "push button: normal, hover, pressed, click"

# Check box 未选 Clear: set at the press, cleared by the space bar, the tick drawn green.
read -r l t r b < <(gal rect 202)
[ "$(gal check 202)" = 0 ] || fail "check box not clear at start"
xdotool mousemove $((l + 40)) $((t + 10)) click 1; sleep 0.4
[ "$(gal check 202)" = 1 ] || fail "a click did not set the check box"
shot "$work/checked.png"
has_colour "$work/checked.png" "$l" "$t" 14 20 0 205 65 8 || fail "no green tick"
xdotool key space; sleep 0.4
[ "$(gal check 202)" = 0 ] || fail "space did not clear the check box"
shot "$work/cleared.png"
has_colour "$work/cleared.png" "$l" "$t" 14 20 0 205 65 40 && fail "the tick stayed"
echo "check box: click sets, space clears"

# Radio buttons: the two group boxes share a parent, so they form one group; the disabled set one
# is protected (state 3).
[ "$(gal check 301)" = 1 ] || fail "甲一 not set at start"
[ "$(gal check 303)" = 3 ] || fail "the disabled set radio button is not protected: $(gal check 303)"
read -r l t r b < <(gal rect 311)
xdotool mousemove $((l + 40)) $((t + 10)) click 1; sleep 0.4
[ "$(gal check 311)" = 1 ] && [ "$(gal check 301)" = 0 ] && [ "$(gal check 302)" = 0 ] ||
  fail "乙一 did not clear the other group box: $(gal check 301) $(gal check 302) $(gal check 311)"
[ "$(gal check 303)" = 3 ] || fail "the protected radio button was cleared"
read -r l t r b < <(gal rect 302)
xdotool mousemove $((l + 40)) $((t + 10)) click 1; sleep 0.4
[ "$(gal check 302)" = 1 ] && [ "$(gal check 311)" = 0 ] || fail "甲二 did not take over"
echo "radio buttons: one group across both group boxes"

# Drop-down button and combo box: the arrow box's lower band turns to the hover colours.
for id in 401 603; do
  read -r l t r b < <(gal rect "$id")
  mid=$(((t + b) / 2))
  away
  shot "$work/box-$id.png"
  near "$work/box-$id.png" $((r - 17)) $((t + 2 + (b - t - 4) / 2)) 144 189 192 4 || fail "$id: normal arrow box"
  enter $((r - 40)) "$mid"
  shot "$work/box-hover-$id.png"
  near "$work/box-hover-$id.png" $((r - 17)) $((t + 2 + (b - t - 4) / 2)) 164 190 158 4 || fail "$id: hover arrow box"
done
away
echo "drop-down button and combo box: hover faces"

# The moving bar moves.
read -r l t r b < <(gal rect 703)
import -window root -crop "$((r - l))x$((b - t))+$l+$t" "$work/bar1.png"
sleep 1
import -window root -crop "$((r - l))x$((b - t))+$l+$t" "$work/bar2.png"
[ "$(compare -metric AE "$work/bar1.png" "$work/bar2.png" null: 2>&1 || true)" != 0 ] || fail "the progress bar stands still"
echo "progress bar: moving"

gal stop
wait "$app_pid" 2>/dev/null || true
app_pid=
echo "gallery input checks passed"
