#!/usr/bin/env bash
# Starts Certivex on the test display and checks its window by its pixels: the default template
# and photo are shown, and the template list fills from the folder beside the program.
. "$(dirname "$0")/lib/common.bash"

install_app "$work/app" "$src"/templates/*.jpg
start_app "$work/app"
count=$(drv wait-list 4 60) || fail "the template list did not fill"
[ "$count" -eq 4 ] || fail "expected 4 templates, got $count"
sleep 0.5
shot "$work/screen.png"

# The default template: dark blue card on the left of the view, white on the right.
read -r vl vt vr vb < <(drv rect 1002)
[ $((vr - vl)) -eq 464 ] && [ $((vb - vt)) -eq 296 ] || fail "CertificateView is not 464 x 296"
read -r pr pg pb < <(pixel "$work/screen.png" $((vl + 20)) $((vt + 150)))
[ "$pb" -gt 80 ] && [ "$pr" -lt 60 ] || fail "no dark blue template at the left of the view ($pr,$pg,$pb)"
near "$work/screen.png" $((vl + 300)) $((vt + 225)) 255 255 255 12 || fail "no white right half"

# The default photo: light grey (235,235,235) background in its top corner.
read -r pl pt pr2 pb2 < <(drv rect 1023)
[ $((pr2 - pl)) -eq 80 ] && [ $((pb2 - pt)) -eq 80 ] || fail "PhotoBox is not 80 x 80"
near "$work/screen.png" $((pl + 3)) $((pt + 3)) 235 235 235 6 || fail "default photo not shown"
near "$work/screen.png" $((pl + 40)) $((pt + 70)) 153 153 153 20 || fail "no grey silhouette in the photo"

# Esc closes the window and ends the program.
click 1001
xdotool key Escape
drv wait-gone 20 >/dev/null || fail "Esc did not close the main window"
wait "$app_pid" 2>/dev/null || true
app_pid=
echo "main window checks passed"
