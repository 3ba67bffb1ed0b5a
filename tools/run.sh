#!/usr/bin/env bash
# The project's main job: builds what is needed and starts Snapquill under
# Wine, with its shots going to build/run/shots.
#
# With a display ($DISPLAY set) Snapquill runs there until you exit it from
# its menu (the round button at the left of its title bar) or close it. Without a display it
# runs on a virtual one with a taskbar: PrintScreen and Alt+PrintScreen are
# pressed as a user would, the files written are listed with their pixel
# and file sizes, and the program is ended.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build
as_root() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}
as_root "$root/tools/setup.sh" "$build"
"$root/tools/build.sh" win

state=$build/run/wine
shots=$build/run/shots
mkdir -p "$shots"
exe=$build/win/bin/snapquill.exe
winpath() { echo "Z:${1//\//\\}"; }

if [ -n "${DISPLAY:-}" ]; then
  echo "run: Snapquill on $DISPLAY; shots go to $shots"
  cd "$shots"
  SNAPQUILL_USE_DISPLAY=$DISPLAY "$root/tools/wine-run" --state "$state" "$exe"
  exit $?
fi

# No display: a virtual one, driven by the demo driver.
rm -f "$shots"/*
cleanup() { "$root/tools/wine-run" --state "$state" --stop; }
trap cleanup EXIT
"$root/tools/wine-run" --state "$state" --start
(cd "$shots" && "$root/tools/wine-run" --state "$state" "$exe") &
program=$!
echo "run: Snapquill started on a virtual display; pressing PrintScreen and Alt+PrintScreen"
"$root/tools/wine-run" --state "$state" "$build/win/bin/snapquill_demo.exe" "$(winpath "$shots")"
status=0
wait "$program" || status=$?
echo "run: Snapquill ended with exit code $status"
exit $status
