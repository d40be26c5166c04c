#!/usr/bin/env bash
# The release package: `scripts/dist` packs the zip, which unpacks into a program folder that
# starts under Wine, lists its sample templates, and composes and exports a certificate.
. "$(dirname "$0")/lib/common.bash"

zip=$("$src/scripts/dist" "$build" "$work/dist" | tail -n1)
version=$(tr -d '[:space:]' < "$build/version.txt")
[ "$(basename "$zip")" = "Certivex-$version.zip" ] || fail "package is named $(basename "$zip")"
unzip -q "$zip" -d "$work/unpacked" || fail "the package does not unzip"
app="$work/unpacked"
[ -f "$app/Certivex.exe" ] || fail "no Certivex.exe in the package"
templates=$(ls "$src"/templates/*.jpg | wc -l)
[ "$(ls "$app/模板"/*.jpg | wc -l)" -eq "$templates" ] || fail "the package does not hold the $templates sample templates"
for t in "$src"/templates/*.jpg; do cmp -s "$t" "$app/模板/$(basename "$t")" || fail "template $(basename "$t") differs"; done
guide="$app/用户指南.txt"
[ "$(head -c 3 "$guide" | od -An -tx1 | tr -d ' ')" = "efbbbf" ] || fail "the guide has no UTF-8 byte order mark"
grep -q $'\r$' "$guide" || fail "the guide does not have CRLF lines"
grep -q "用户指南" "$guide" && grep -q "User guide" "$guide" || fail "the guide lacks one of its languages"
# The resources survive stripping: version and manifest are checked by the release test, the icon here.
headers=$(x86_64-w64-mingw32-objdump -p "$app/Certivex.exe")
[[ "$headers" == *"Resource Directory [.rsrc]"* ]] || fail "no resources in the packed program"

# The unpacked program starts, lists the templates beside it, composes and exports.
start_app "$app"
count=$(drv wait-list "$templates" 60) || fail "the template list did not fill"
[ "$count" -eq "$templates" ] || fail "expected $templates templates, got $count"
drv select 0 || fail "could not select a template"
compose_certificate "$src/assets/samples/photo.jpg"
serial=$(drv text 1026)
[[ "$serial" =~ ^[0-9]{1,5}$ ]] || fail "no serial number after the preview ('$serial')"
mkdir -p "$work/out"
click 1008
answer_file_dialog "$work/out/certificate" || fail "the save dialog did not close"
for _ in $(seq 100); do [ -s "$work/out/certificate.png" ] && break; sleep 0.1; done
[ -s "$work/out/certificate.png" ] || fail "no certificate was exported"
read -r w h depth colour interlace < <(png_header "$work/out/certificate.png")
[ "$w $h $depth $colour $interlace" = "464 296 8 2 1" ] ||
  fail "exported PNG is $w x $h, depth $depth, colour type $colour, interlace $interlace"
[ "$(ls -A "$work/out")" = "certificate.png" ] || fail "the export left other files: $(ls -A "$work/out")"

click 1001
xdotool key Escape
drv wait-gone 20 >/dev/null || fail "Esc did not close the unpacked program"
wait "$app_pid" 2>/dev/null || true
app_pid=
echo "release package checks passed ($(basename "$zip"), serial $serial)"
