#!/usr/bin/env bash
# Runs every test of the project, from a clean or an existing build tree:
# sets the machine up, builds the native, the sanitizer and the MinGW
# configurations, and runs all their tests in one ctest run (native tests,
# the same under AddressSanitizer and UndefinedBehaviorSanitizer, then the
# Win32 tests under Wine). Ends with ctest's summary line. A test that
# fails runs once more, and fails the run only if it fails again: the
# end-to-end tests drive a real desktop under Wine, where now and then an
# input event goes astray under load. The first failure's output is printed
# all the same.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build
jobs=$(nproc)

as_root() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

as_root "$root/tools/setup.sh" "$build"
"$root/tools/build.sh" native asan win

# One ctest run over the three trees, so one summary line covers them all.
cat >"$build/CTestTestfile.cmake" <<CTEST
subdirs("native" "asan" "win")
CTEST
cd "$build"
exec ctest --output-on-failure -j "$jobs" --timeout 600 --repeat until-pass:2
