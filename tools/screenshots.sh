#!/usr/bin/env bash
# Takes the README's pictures of Snapquill on a virtual display: the main
# window, the window with the tray icon's menu open, and with its Capture
# sub-menu open. Writes docs/main-window.png, docs/menu.png and
# docs/capture-menu.png (each enlarged 2x).
#
#   tools/screenshots.sh
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build
"$root/tools/build.sh" win

state=$build/screenshots/wine
poses=$build/screenshots/poses
mkdir -p "$poses" "$root/docs"
rm -f "$poses"/*
winpath() { echo "Z:${1//\//\\}"; }
cleanup() { "$root/tools/wine-run" --state "$state" --stop; }
trap cleanup EXIT
"$root/tools/wine-run" --state "$state" --start
display=$(cat "$state"/screen-32/display)

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
# The window is at (246, 140), 180 x 230 at most; the menu opens right of it.
take pose-window 188x238+242+136 "$root/docs/main-window.png"
take pose-menu 330x238+242+136 "$root/docs/menu.png"
take pose-capture-menu 492x238+242+136 "$root/docs/capture-menu.png"
wait "$driver"
wait "$program" || true
