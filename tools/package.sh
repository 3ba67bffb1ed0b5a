#!/usr/bin/env bash
# Makes Snapquill's packages in build/dist/:
#   Snapquill-VERSION-portable.zip   snapquill.exe, README.txt, LICENSE.txt,
#                                    THIRD-PARTY-NOTICES.txt
#   Snapquill-VERSION-setup.exe      the NSIS installer of the same files
#
#   tools/package.sh                 build the release configuration
#                                    (build/release: MinGW, static, -Os,
#                                    stripped) and package its snapquill.exe
#   tools/package.sh --exe EXE --icon ICO --version V DIST
#                                    package a given exe into DIST (the
#                                    package test uses the win tree's exe)
#
# Expects tools/setup.sh to have run (MinGW, libjpeg-turbo's sources under
# build/deps, nsis, zip).
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build
exe=
icon=
version=
dist=$build/dist
while [ $# -gt 0 ]; do
  case "$1" in
    --exe) exe=$2; shift 2 ;;
    --icon) icon=$2; shift 2 ;;
    --version) version=$2; shift 2 ;;
    -*) echo "package.sh: unknown option $1" >&2; exit 2 ;;
    *) dist=$1; shift ;;
  esac
done

if [ -z "$exe" ]; then
  release=$build/release
  if [ ! -f "$release/build.ninja" ]; then
    cmake -S "$root" -B "$release" -G Ninja -Wno-dev \
      -DCMAKE_TOOLCHAIN_FILE="$root/tools/mingw-toolchain.cmake" \
      -DSNAPQUILL_MINGW_DEPS="$build/deps/mingw" \
      -DCMAKE_BUILD_TYPE=MinSizeRel -DCMAKE_EXE_LINKER_FLAGS=-s \
      -DSNAPQUILL_TEST_PREFIX=release. >/dev/null
  fi
  echo "package: building the release configuration"
  if ! cmake --build "$release" --target snapquill >"$build/release.log" 2>&1; then
    grep -E -A5 'error|Error' "$build/release.log" | head -40
    echo "package.sh: the release build failed; see $build/release.log" >&2
    exit 1
  fi
  exe=$release/bin/snapquill.exe
  icon=$release/artwork/snapquill.ico
  version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$release/CMakeCache.txt")
fi
if [ -z "$icon" ] || [ -z "$version" ]; then
  echo "package.sh: --exe needs --icon and --version" >&2
  exit 2
fi

limit=$((2 * 1024 * 1024))
size=$(stat -c %s "$exe")
if [ "$size" -ge "$limit" ]; then
  echo "package.sh: $exe has $size bytes, more than 2 MB; is it stripped?" >&2
  exit 1
fi

mkdir -p "$dist"
dist=$(cd "$dist" && pwd)
stage=$dist/stage
rm -rf "$stage"
mkdir -p "$stage"

# Windows line ends for the text files a user opens with Notepad.
crlf() { sed 's/\r$//; s/$/\r/' "$@"; }

cp "$exe" "$stage/snapquill.exe"
crlf "$root/README.md" >"$stage/README.txt"
crlf "$root/LICENSE" >"$stage/LICENSE.txt"

jpeg_src=$(ls -d "$build"/deps/libjpeg-turbo-*/ 2>/dev/null | head -n 1)
zlib_copyright=/usr/share/doc/libz-mingw-w64-dev/copyright
if [ -z "$jpeg_src" ] || [ ! -f "$zlib_copyright" ]; then
  echo "package.sh: libjpeg-turbo's sources or zlib's copyright file are missing; run tools/setup.sh" >&2
  exit 1
fi
{
  echo "Snapquill includes code of the following libraries, linked into snapquill.exe."
  echo
  echo "========================================================================"
  echo "zlib (Debian package libz-mingw-w64-dev: its copyright file)"
  echo "========================================================================"
  echo
  cat "$zlib_copyright"
  echo
  echo "========================================================================"
  echo "libjpeg-turbo $(basename "$jpeg_src" | sed 's/^libjpeg-turbo-//') (LICENSE.md)"
  echo "========================================================================"
  echo
  cat "$jpeg_src/LICENSE.md"
  echo
  echo "========================================================================"
  echo "The Independent JPEG Group's software (README.ijg, LEGAL ISSUES)"
  echo "========================================================================"
  echo
  awk '/^LEGAL ISSUES$/ { on = 1 } /^REFERENCES$/ { on = 0 } on' "$jpeg_src/README.ijg"
} | crlf >"$stage/THIRD-PARTY-NOTICES.txt"

name=Snapquill-$version
zip_file=$dist/$name-portable.zip
setup_file=$dist/$name-setup.exe
rm -f "$zip_file" "$setup_file"

# The same files give the same zip: fixed times, no extra attributes.
touch -d "2026-01-01 00:00:00" "$stage"/*
(cd "$stage" && zip -q -X "$zip_file" snapquill.exe README.txt LICENSE.txt THIRD-PARTY-NOTICES.txt)

cp "$icon" "$stage/snapquill.ico"
makensis -V2 -DVERSION="$version" -DFILES="$stage" -DOUTFILE="$setup_file" \
  "$root/installer/snapquill.nsi" >"$dist/makensis.log" 2>&1 || {
  cat "$dist/makensis.log" >&2
  echo "package.sh: makensis failed" >&2
  exit 1
}

echo "package: $zip_file ($(stat -c %s "$zip_file") bytes)"
echo "package: $setup_file ($(stat -c %s "$setup_file") bytes)"
echo "package: snapquill.exe has $size bytes"
