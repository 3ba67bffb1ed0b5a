#!/usr/bin/env bash
# Takes the README's pictures of Snapquill on a virtual display: the main
# window, the window with the tray icon's menu open, and with its Capture
# sub-menu open. Writes docs/main-window.png, docs/menu.png and
# docs/capture-menu.png (each enlarged 2x); with --scale, at that display
# scale in per cent (125, 150, 175, 200, 250 or 300), named with it
# (docs/main-window-150.png and so on).
#
#   tools/screenshots.sh [--scale PERCENT]
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build
percent=100
if [ "${1:-}" = "--scale" ]; then
  percent=$2
fi
case "$percent" in
  100|125|150|175|200|250|300) ;;
  *) echo "screenshots: unsupported scale $percent" >&2; exit 2 ;;
esac
suffix=
screen_dir=screen-32
if [ "$percent" != 100 ]; then
  suffix=-$percent
  export SNAPQUILL_DPI=$((96 * percent / 100))
  screen_dir=$screen_dir-dpi$SNAPQUILL_DPI
fi
# A designed length at the scale, halves rounded up as the program does.
scaled() { echo $((($1 * percent * 2 + 100) / 200)); }
"$root/tools/build.sh" win

state=$build/screenshots/wine
poses=$build/screenshots/poses
mkdir -p "$poses" "$root/docs"
rm -f "$poses"/*
winpath() { echo "Z:${1//\//\\}"; }
cleanup() { "$root/tools/wine-run" --state "$state" --stop; }
trap cleanup EXIT
"$root/tools/wine-run" --state "$state" --start
display=$(cat "$state/$screen_dir/display")

(cd "$poses" && "$root/tools/wine-run" --state "$state" "$build/win/bin/snapquill.exe") &
program=$!
"$root/tools/wine-run" --state "$state" "$build/win/bin/snapquill_demo.exe" "$(winpath "$poses")" --pose &
driver=$!

# Takes the picture when the driver has posed, then lets it go on.
take() {
  local pose=$1 crop=$2 out=$3
  for _ in $(seq 300); do [ -f "$poses/$pose" ] && break; sleep 0.1; done
  [ -f "$poses/$pose" ] || { echo "screenshots: the program never showed $pose" >&2; exit 1; }
  DISPLAY=$display import -window root "$poses/screen.png"
  convert "$poses/screen.png" -crop "$crop" +repage -filter point -resize 200% "$out"
  rm -f "$poses/$pose"
  echo "screenshots: $out"
}
# The window is at (246, 140), 180 x 230 at most (at the scale); the menu
# opens right of it.
high=$(($(scaled 230) + 8))
take pose-window "$(($(scaled 180) + 8))x$high+242+136" "$root/docs/main-window$suffix.png"
take pose-menu "$(($(scaled 322) + 8))x$high+242+136" "$root/docs/menu$suffix.png"
take pose-capture-menu "$(($(scaled 520) + 8))x$high+242+136" "$root/docs/capture-menu$suffix.png"
wait "$driver"
wait "$program" || true
