# Shared by the end-to-end scripts: the running test display, Certivex and its driver.
# Each script is called as: script SOURCE_DIR BUILD_DIR
set -euo pipefail
src=$(cd "$1" && pwd)
. "$src/scripts/wine-env" "$2"
build="$build_dir"
bin="$build/bin"
export DISPLAY=$(cat "$build/test-env/display")
work=$(mktemp -d "$build/e2e.XXXXXX")
app_pid=
. "$src/scripts/ui.bash"

fail() { echo "FAIL: $*" >&2; exit 1; }

# Copies Certivex into a program folder of its own, with the given templates in "模板".
# Usage: install_app DIR [TEMPLATE...]
install_app() {
  local dir=$1; shift
  mkdir -p "$dir/模板"
  cp "$bin/Certivex.exe" "$dir/"
  for t in "$@"; do cp "$t" "$dir/模板/"; done
}

start_app() {
  "$WINE" "$1/Certivex.exe" &
  app_pid=$!
  drv wait-window 60 >/dev/null || fail "the main window did not appear"
}

stop_app() {
  [ -n "$app_pid" ] || return 0
  kill "$app_pid" 2>/dev/null || true
  wait "$app_pid" 2>/dev/null || true
  app_pid=
  drv wait-gone 20 >/dev/null || true
}

cleanup() { stop_app; rm -rf "$work"; }
trap cleanup EXIT

# The whole screen as a PNG, and one pixel of it as a line "r g b" (a line, so that `read` succeeds).
shot() { import -window root "$1"; }
pixel() { convert "$1" -format '%[fx:int(255*p{'"$2"','"$3"'}.r)] %[fx:int(255*p{'"$2"','"$3"'}.g)] %[fx:int(255*p{'"$2"','"$3"'}.b)]\n' info:; }
# Succeeds when pixel (x, y) of a picture is within `tol` of r g b on every channel.
near() {
  local file=$1 x=$2 y=$3 r=$4 g=$5 b=$6 tol=${7:-8} pr pg pb
  read -r pr pg pb < <(pixel "$file" "$x" "$y")
  local dr=$((pr - r)) dg=$((pg - g)) db=$((pb - b))
  [ ${dr#-} -le "$tol" ] && [ ${dg#-} -le "$tol" ] && [ ${db#-} -le "$tol" ] ||
    { echo "pixel ($x,$y) of $(basename "$file") is ($pr,$pg,$pb), expected ($r,$g,$b)" >&2; return 1; }
}

# Width, height, bit depth, colour type and interlace method of a PNG file, from its header.
png_header() {
  python3 - "$1" <<'PY'
import struct, sys
data = open(sys.argv[1], "rb").read(33)
assert data[:8] == b"\x89PNG\r\n\x1a\n" and data[12:16] == b"IHDR", "not a PNG"
w, h, depth, colour, _, _, interlace = struct.unpack(">IIBBBBB", data[16:29])
print(w, h, depth, colour, interlace)
PY
}

# Composes a certificate through the real user interface of the running Certivex: name, sex and
# age typed, the given photo chosen in the open dialog, preview pressed.
compose_certificate() {
  local photo=$1
  click 1003 && drv type 1003 "张小明"
  click 1004 && drv type 1004 "男"
  click 1005 && xdotool type --delay 60 "28"
  click 1006
  answer_file_dialog "$photo" || fail "the open dialog did not close"
  activate_main
  press_preview || fail "the preview did not fill the certificate"
}
