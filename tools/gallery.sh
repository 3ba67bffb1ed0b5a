#!/usr/bin/env bash
# Takes the picture of the style gallery (tools/gallery): the five built-in
# styles side by side, every skinned control in each, on a virtual display
# of its own. Writes docs/gallery.png, or the file given.
#
#   tools/gallery.sh [OUT.png]
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build
out=${1:-$root/docs/gallery.png}
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
display=$(cat "$state"/screen-32/display)

# The gallery writes the file once it is painted and ends when it goes.
"$root/tools/wine-run" --state "$state" "$build/win/bin/snapquill_gallery.exe" --ready "$(winpath "$work/ready")" &
gallery=$!
for _ in $(seq 300); do [ -f "$work/ready" ] && break; sleep 0.1; done
[ -f "$work/ready" ] || { echo "gallery: the gallery never showed" >&2; exit 1; }
DISPLAY=$display import -window root "$work/screen.png"
# Five forms of 236 x 350 from (12, 16), 16 pixels apart, and a small margin.
convert "$work/screen.png" -crop 1256x362+6+10 +repage "$out"
rm -f "$work/ready"
wait "$gallery" || true
echo "gallery: $out"
