#!/usr/bin/env bash
# Bad input through the real program and real input: the whole corpus as templates (and a few of
# its pictures as photos through the open dialog), awkward template names, a template folder that
# is a file, and exports into a read-only folder, onto a folder's name and onto a full path of 259
# characters. The program must live through all of it, answer at once, tell where a save failed,
# and leave no partial file. (Paths typed into the dialogs are ASCII: xdotool cannot type Chinese
# into Wine reliably; Chinese names are covered by the template names and the gtest runs.)
. "$(dirname "$0")/lib/common.bash"

alive() { kill -0 "$app_pid" 2>/dev/null || fail "Certivex died: $*"; }
# The program answers a request at once (a hung user-interface thread would not).
answers() { timeout 20 "$WINE" "$bin/uidriver.exe" text 1003 >/dev/null || fail "Certivex does not answer: $*"; alive "$*"; }
# After a file dialog closes, Wine takes a moment before the program pumps messages again.
settle() { answers "$*"; sleep 0.3; }

# Expects the message box of a failed save naming the file and saying `what`, closes it and checks
# that `folder` is still empty.
expect_save_failure() {
  local file=$1 what=$2 folder=$3
  drv wait-dialog 20 >/dev/null || fail "no message after a failed save of $file"
  local text
  text=$(drv dialog-text)
  [[ "$text" == *"$(winpath "$file")"* ]] || fail "the message does not name $(winpath "$file"): $text"
  [[ "$text" == *"$what"* ]] || fail "the message does not say '$what': $text"
  xdotool key Return
  for _ in $(seq 50); do drv wait-dialog 0 >/dev/null || break; sleep 0.1; done
  settle "after the failure message"
  [ -z "$(ls -A "$folder")" ] || fail "a failed save left files in $folder: $(ls -A "$folder")"
}

save_as() {
  click 1008
  answer_file_dialog "$1" || fail "the save dialog did not close"
}

# ---- the corpus as templates ----
install_app "$work/app"
"$WINE" "$bin/corpus.exe" "$(winpath "$work/app/模板")" > "$work/corpus.txt" || fail "the corpus was not written"
"$WINE" "$bin/corpus.exe" "$(winpath "$work/pictures")" > /dev/null || fail "the corpus was not written"
templates=$(cut -f1 "$work/corpus.txt" | grep -ci '\.jpg$')
start_app "$work/app"
count=$(drv wait-list "$templates" 60) || fail "the template list did not fill ($templates expected)"
[ "$count" -eq "$templates" ] || fail "$count templates listed, $templates expected"
for ((i = 0; i < count; i++)); do
  drv select "$i" || fail "could not select template $i"
  answers "after selecting template $i"
done

# A few of the pictures as photos, chosen in the open dialog.
for photo in huge.png flicker.gif; do
  click 1006
  answer_file_dialog "$work/pictures/$photo" || fail "the open dialog did not close for $photo"
  settle "after choosing $photo as the photo"
done
drv select 0
click 1007
serial=$(drv text 1026)
[[ "$serial" =~ ^[0-9]{1,5}$ ]] || fail "the preview did not work after the bad input ('$serial')"

# ---- exports that cannot succeed ----
# A read-only folder. Root writes through permission bits, so the folder is also made immutable
# where the file system allows it.
ro="$work/readonly"
mkdir -p "$ro"
chmod a-w "$ro"
immutable=
if touch "$ro/probe" 2>/dev/null; then
  rm -f "$ro/probe"
  chattr +i "$ro" 2>/dev/null && immutable=1
fi
restore_ro() { [ -n "$immutable" ] && chattr -i "$ro" 2>/dev/null; chmod u+w "$ro" 2>/dev/null || true; }
trap 'restore_ro; cleanup' EXIT
if touch "$ro/probe" 2>/dev/null; then
  rm -f "$ro/probe"
  echo "note: no way to make a folder read-only here; that case is skipped"
else
  save_as "$ro/cert"
  expect_save_failure "$ro/cert.png" "无法保存" "$ro"
fi
restore_ro

# A folder where the file would go.
mkdir -p "$work/out/cert.png"
save_as "$work/out/cert"
expect_save_failure "$work/out/cert.png" "文件夹" "$work/out/cert.png"
[ "$(ls -A "$work/out")" = "cert.png" ] || fail "the folder case changed $work/out: $(ls -A "$work/out")"

# ---- a full path of 259 characters ----
# Folders of 60 characters and one shorter, until the folder's Windows form ("Z:" + path) is 230 long.
long="$work/long"
target=228
while [ $((target - ${#long})) -gt 61 ]; do long="$long/$(head -c 60 /dev/zero | tr '\0' d)"; done
long="$long/$(head -c $((target - ${#long} - 1)) /dev/zero | tr '\0' d)"
mkdir -p "$long"
winlong=$(winpath "$long")
name=$(head -c $((259 - ${#winlong} - 1 - 4)) /dev/zero | tr '\0' c)
[ $(( ${#winlong} + 1 + ${#name} + 4 )) -eq 259 ] || fail "the long path is not 259 characters"
save_as "$long/$name"
for _ in $(seq 100); do [ -s "$long/$name.png" ] && break; sleep 0.1; done
[ -s "$long/$name.png" ] || { drv dialog-text >&2 || true; fail "nothing was saved at the 259-character path"; }
read -r w h _ _ interlace < <(png_header "$long/$name.png")
[ "$w $h $interlace" = "464 296 1" ] || fail "the PNG at the long path is $w x $h, interlace $interlace"
[ "$(ls -A "$long")" = "$name.png" ] || fail "the long-path save left other files: $(ls -A "$long")"
settle "after the long-path save"

click 1001
xdotool key Escape
drv wait-gone 20 >/dev/null || fail "Esc did not close Certivex"
wait "$app_pid" 2>/dev/null || true
app_pid=

# ---- a template folder that is a file ----
mkdir -p "$work/app2"
cp "$bin/Certivex.exe" "$work/app2/"
echo "not a folder" > "$work/app2/模板"
start_app "$work/app2"
sleep 1
count=$(drv wait-list 1 2) && fail "templates listed from a file: $count"
compose_certificate "$src/assets/samples/photo.jpg"
mkdir -p "$work/out2"
save_as "$work/out2/cert"
for _ in $(seq 100); do [ -s "$work/out2/cert.png" ] && break; sleep 0.1; done
[ -s "$work/out2/cert.png" ] || fail "no export with a template folder that is a file"
echo "bad input checks passed ($templates templates, serial $serial)"
