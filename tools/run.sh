#!/usr/bin/env bash
# The project's main job. For now it sets the machine up and builds every
# configuration (the program itself comes next); later it starts Snapquill
# under Wine.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
as_root() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}
as_root "$root/tools/setup.sh" "$root/build"
"$root/tools/build.sh" native win
echo "run: built into $root/build (native: core and benchmarks; win: Win32 build)"
