# Driving a running Certivex with real input, shared by `make run` and the end-to-end tests.
# Needs WINE, bin (the build's bin folder) and DISPLAY set.

# The driver prints through the Windows console: drop its carriage returns.
drv() { "$WINE" "$bin/uidriver.exe" "$@" | tr -d '\r'; return "${PIPESTATUS[0]}"; }
winpath() { echo "Z:$1" | tr / '\\'; }

# Moves the real pointer to the centre of a control of the main window and clicks it.
click() {
  local l t r b
  read -r l t r b < <(drv rect "$1") || return 1
  xdotool mousemove $(((l + r) / 2)) $(((t + b) / 2)) click 1
  sleep 0.3
}

# Answers the open or save dialog that is up (or comes up) with a path typed into its file name
# field and confirmed with Enter. A full path can make the dialog first browse to the folder and
# keep the name, so Enter is pressed again until the dialog has stayed closed for a second. What
# the program shows next (a message box, say) is left to the caller.
answer_file_dialog() {
  local path=$1 try
  drv wait-dialog 30 >/dev/null || return 1
  sleep 0.5
  xdotool type --delay 15 "$(winpath "$path")"
  for try in 1 2 3; do
    sleep 0.3
    xdotool key Return
    if drv wait-no-file-dialog 8; then
      sleep 1
      drv wait-no-file-dialog 0 && return 0
    fi
  done
  return 1
}

# Under Wine without a window manager the main window gets the keyboard back from a closed dialog
# only by a click, and that click is taken by the activation: click an empty spot of the client
# area (below the buttons) first.
activate_main() {
  local l t r b
  read -r l t r b < <(drv wait-window 5) || return 1
  xdotool mousemove $((l + 303)) $((t + 461)) click 1
  sleep 0.3
}

# Presses 预览 until the serial number shows: a click that only gave the window back its
# activation (see activate_main) is tried again.
press_preview() {
  local try
  for try in 1 2 3; do
    click 1007
    sleep 0.5
    [ -n "$(drv text 1026)" ] && return 0
  done
  return 1
}

# A screenshot of part of the screen: shot_rect FILE LEFT TOP RIGHT BOTTOM
shot_rect() { import -window root -crop "$(($4 - $2))x$(($5 - $3))+$2+$3" +repage "$1"; }
