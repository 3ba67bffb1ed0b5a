#!/usr/bin/env bash
# Takes the README's picture of a marked-up region on a virtual display:
# Snapquill's panel on the desktop, Ctrl+Shift+PrintScreen pressed, a region
# dragged over the panel and marked up with two arrows, a box, a text, a
# step number and a pixelated part, the tool strip below it. Writes
# docs/markup.png (the part of the screen around the selection and the
# strip). With SNAPQUILL_DPI=144 or 192 (scales tools/wine-run takes) it
# writes build/screenshots/markup-dpiN.png instead, drawn at that scale.
#
#   tools/markup-screenshot.sh
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build
"$root/tools/build.sh" win

state=$build/screenshots/markup-wine
work=$build/screenshots/markup
mkdir -p "$work" "$root/docs"
dpi=${SNAPQUILL_DPI:-96}
out=$root/docs/markup.png
[ "$dpi" != 96 ] && out=$build/screenshots/markup-dpi$dpi.png
dir=$state/screen-32
[ "$dpi" != 96 ] && dir=$dir-dpi$dpi
cleanup() { "$root/tools/wine-run" --state "$state" --stop; }
trap cleanup EXIT
"$root/tools/wine-run" --state "$state" --start
display=$(cat "$dir/display")
x() { DISPLAY=$display xdotool "$@"; }
# A place and a length at the display's scale, from designed pixels.
s() { echo $(($1 * dpi / 96)); }
drag() {
  x mousemove "$(s "$1")" "$(s "$2")" mousedown 1
  sleep 0.2
  x mousemove "$(( ($(s "$1") + $(s "$3")) / 2 ))" "$(( ($(s "$2") + $(s "$4")) / 2 ))"
  sleep 0.2
  x mousemove "$(s "$3")" "$(s "$4")"
  sleep 0.2
  x mouseup 1
  sleep 0.3
}

(cd "$work" && "$root/tools/wine-run" --state "$state" "$build/win/bin/snapquill.exe") &
sleep 8 # the panel has come up and the folder picker is answered below
x key Escape
sleep 2
x mousemove 100 100
x keydown Control_L keydown Shift_L key Print keyup Shift_L keyup Control_L
sleep 1.5
drag 150 100 680 340
x key r
drag 236 134 424 180
x key a
drag 330 270 300 200
drag 440 290 420 190
x key n
x mousemove "$(s 236)" "$(s 300)" click 1
sleep 0.3
x key x
drag 250 210 330 250
x key t
x mousemove "$(s 350)" "$(s 300)" click 1
sleep 0.3
x type "Look here"
x key Return
x key a
x mousemove 5 5
sleep 1
DISPLAY=$display import -window root "$work/screen.png"
x key Escape
sleep 0.3
x key Escape
convert "$work/screen.png" -crop "$(s 580)x$(s 320)+$(s 125)+$(s 80)" +repage "$out"
echo "markup-screenshot: $out"
