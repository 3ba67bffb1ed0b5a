#!/usr/bin/env bash
# Takes the picture of the style gallery (tools/gallery): the five built-in
# styles side by side, every skinned control in each, on a virtual display
# of its own. Writes docs/gallery.png, or the file given; with --scale, at
# that display scale in per cent (100, 125, 150, 175, 200, 250 or 300) on a
# display large enough for the five forms; with --high-contrast, as drawn
# while Windows' high contrast is on.
#
#   tools/gallery.sh [--scale PERCENT] [--high-contrast] [OUT.png]
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build
percent=100
if [ "${1:-}" = "--scale" ]; then
  percent=$2
  shift 2
fi
contrast=()
if [ "${1:-}" = "--high-contrast" ]; then
  contrast=(--high-contrast)
  shift
fi
case "$percent" in
  100|125|150|175|200|250|300) ;;
  *) echo "gallery: unsupported scale $percent" >&2; exit 2 ;;
esac
out=${1:-$root/docs/gallery.png}
# A designed length at the scale, halves rounded up as the program does.
scaled() { echo $((($1 * percent * 2 + 100) / 200)); }
form_width=$(scaled 236)
form_height=$(scaled 350)
width=$((12 + 4 * (form_width + 16) + form_width))
height=$((16 + form_height + 12))
export SNAPQUILL_DPI=$((96 * percent / 100))
if [ "$percent" != 100 ]; then
  export SNAPQUILL_SCREEN=$(( width + 12 > 1280 ? width + 12 : 1280 ))x$(( height > 800 ? height : 800 ))
fi
screen_dir=screen-32
[ "$percent" != 100 ] && screen_dir=$screen_dir-dpi$SNAPQUILL_DPI-$SNAPQUILL_SCREEN
[ -f "$build/win/build.ninja" ] || "$root/tools/build.sh" win
cmake --build "$build/win" --target snapquill_gallery >/dev/null

state=$build/gallery/wine
work=$build/gallery/run
mkdir -p "$work" "$(dirname "$out")"
rm -f "$work"/*
winpath() { echo "Z:${1//\//\\}"; }
cleanup() {
  rm -f "$work/ready"
  "$root/tools/wine-run" --state "$state" --stop
}
trap cleanup EXIT
"$root/tools/wine-run" --state "$state" --start
display=$(cat "$state/$screen_dir/display")

# The gallery writes the file once it is painted and ends when it goes.
"$root/tools/wine-run" --state "$state" "$build/win/bin/snapquill_gallery.exe" --ready "$(winpath "$work/ready")" "${contrast[@]}" &
gallery=$!
for _ in $(seq 300); do [ -f "$work/ready" ] && break; sleep 0.1; done
[ -f "$work/ready" ] || { echo "gallery: the gallery never showed" >&2; exit 1; }
DISPLAY=$display import -window root "$work/screen.png"
# Five forms of 236 x 350 (at the scale) from (12, 16), 16 pixels apart, and
# a small margin.
convert "$work/screen.png" -crop "${width}x$((form_height + 12))+6+10" +repage "$out"
rm -f "$work/ready"
wait "$gallery" || true
echo "gallery: $out"
