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


# The whole screen as a PNG, and one pixel of it as "r g b".
shot() { import -window root "$1"; }
pixel() { convert "$1" -format '%[fx:int(255*p{'"$2"','"$3"'}.r)] %[fx:int(255*p{'"$2"','"$3"'}.g)] %[fx:int(255*p{'"$2"','"$3"'}.b)]' info:; echo; }
# Succeeds when pixel (x, y) of a picture is within `tol` of r g b on every channel.
near() {
  local file=$1 x=$2 y=$3 r=$4 g=$5 b=$6 tol=${7:-8} pr pg pb
  read -r pr pg pb < <(pixel "$file" "$x" "$y")
  local dr=$((pr - r)) dg=$((pg - g)) db=$((pb - b))
  [ ${dr#-} -le "$tol" ] && [ ${dg#-} -le "$tol" ] && [ ${db#-} -le "$tol" ] ||
    { echo "pixel ($x,$y) of $(basename "$file") is ($pr,$pg,$pb), expected ($r,$g,$b)" >&2; return 1; }
}
