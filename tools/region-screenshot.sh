#!/usr/bin/env bash
# Takes the README's picture of the region capture on a virtual display:
# Snapquill's panel on the desktop, Ctrl+PrintScreen pressed and a region
# being dragged over the panel, the box with the magnifier beside the
# pointer. Writes docs/region-overlay.png (the part of the screen around
# the selection, as it is). With SNAPQUILL_DPI=144 (or another scale that
# tools/wine-run takes) it writes build/screenshots/region-overlay-dpiN.png
# instead, for a look at the overlay at that scale.
#
#   tools/region-screenshot.sh
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build
"$root/tools/build.sh" win

state=$build/screenshots/region-wine
work=$build/screenshots/region
mkdir -p "$work" "$root/docs"
dpi=${SNAPQUILL_DPI:-96}
out=$root/docs/region-overlay.png
[ "$dpi" != 96 ] && out=$build/screenshots/region-overlay-dpi$dpi.png
dir=$state/screen-32
[ "$dpi" != 96 ] && dir=$dir-dpi$dpi
cleanup() { "$root/tools/wine-run" --state "$state" --stop; }
trap cleanup EXIT
"$root/tools/wine-run" --state "$state" --start
display=$(cat "$dir/display")
x() { DISPLAY=$display xdotool "$@"; }

(cd "$work" && "$root/tools/wine-run" --state "$state" "$build/win/bin/snapquill.exe") &
sleep 8 # the panel has come up and the folder picker is answered below
x key Escape
sleep 2
x mousemove 300 300
x key ctrl+Print
sleep 1.5
x mousemove 236 128 mousedown 1
sleep 0.3
x mousemove 300 200
sleep 0.3
x mousemove 381 246
sleep 1
DISPLAY=$display import -window root "$work/screen.png"
x key Escape
x mouseup 1
convert "$work/screen.png" -crop 440x380+160+70 +repage "$out"
echo "region-screenshot: $out"
