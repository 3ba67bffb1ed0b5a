#!/usr/bin/env bash
# Configures and builds the named configurations under build/:
#   native  the portable core, native tests and benchmarks (Release with debug info)
#   asan    the same with AddressSanitizer and UndefinedBehaviorSanitizer
#   win     snapquill.exe and the Win32 tests, with MinGW-w64
# Expects tools/setup.sh to have run.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build

configure() {
  local dir=$1
  shift
  [ -f "$build/$dir/build.ninja" ] || cmake -S "$root" -B "$build/$dir" -G Ninja -Wno-dev "$@" >/dev/null
}

configs=("$@")
[ ${#configs[@]} -gt 0 ] || configs=(native asan win)
for config in "${configs[@]}"; do
  case "$config" in
    native) configure native -DCMAKE_BUILD_TYPE=RelWithDebInfo ;;
    asan) configure asan -DCMAKE_BUILD_TYPE=Debug -DSNAPQUILL_SANITIZE=ON -DSNAPQUILL_TEST_PREFIX=asan. ;;
    win) configure win -DCMAKE_TOOLCHAIN_FILE="$root/tools/mingw-toolchain.cmake" \
           -DSNAPQUILL_MINGW_DEPS="$build/deps/mingw" \
           -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSNAPQUILL_TEST_PREFIX=win. ;;
    *) echo "build.sh: unknown configuration $config" >&2; exit 2 ;;
  esac
  echo "build: $config"
  if ! cmake --build "$build/$config" -- -j "$(nproc)" >"$build/$config.log" 2>&1; then
    grep -E -A5 'error|Error' "$build/$config.log" | head -60
    echo "build.sh: the $config build failed; see $build/$config.log" >&2
    exit 1
  fi
done
