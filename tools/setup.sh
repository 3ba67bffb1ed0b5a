#!/usr/bin/env bash
# Prepares a Debian machine for building and testing Snapquill.
# Run as root; it asks nothing, installs only what is missing and reuses what
# an earlier run built, so a second run takes a few seconds.
#
#   tools/setup.sh [BUILD_DIR]      (default: build)
#
# Installs the Debian packages, then builds for MinGW-w64 into
# BUILD_DIR/deps/mingw: libjpeg-turbo (libjpeg 6b API, version 62) from
# Debian's source package and googletest from /usr/src/googletest.
set -euo pipefail

here=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$here/build}
mkdir -p "$build"
build=$(cd "$build" && pwd)
deps=$build/deps
prefix=$deps/mingw
toolchain=$here/tools/mingw-toolchain.cmake

packages=(
  g++ cmake make ninja-build pkg-config googletest libgtest-dev libbenchmark-dev
  zlib1g-dev libjpeg62-turbo-dev libpng-dev
  g++-mingw-w64-x86-64-posix libz-mingw-w64-dev
  wine64 xvfb xdotool imagemagick x11-utils nasm dpkg-dev
  librsvg2-bin clang fonts-wine fonts-liberation2 nsis zip xserver-xephyr
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# The posix-threads variant of MinGW, so std::thread and friends work.
for tool in x86_64-w64-mingw32-gcc x86_64-w64-mingw32-g++; do
  if [ "$(readlink -f "$(command -v $tool)")" != "$(readlink -f "$(command -v $tool-posix)")" ]; then
    update-alternatives --set $tool "$(command -v $tool-posix)" >/dev/null
  fi
done

mkdir -p "$deps"

# libjpeg-turbo for MinGW, static, libjpeg 6b API.
if [ ! -f "$prefix/lib/libjpeg.a" ]; then
  echo "setup: building libjpeg-turbo for MinGW"
  if ! ls "$deps"/libjpeg-turbo-*/CMakeLists.txt >/dev/null 2>&1; then
    suite=$(. /etc/os-release && echo "$VERSION_CODENAME")
    src_list=/etc/apt/sources.list.d/snapquill-deb-src.sources
    if ! apt-get source --print-uris libjpeg-turbo >/dev/null 2>&1; then
      cat > "$src_list" <<SRC
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: $suite $suite-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SRC
      apt-get update -qq
    fi
    (cd "$deps" && apt-get source -qq libjpeg-turbo >/dev/null 2>&1)
  fi
  src=$(ls -d "$deps"/libjpeg-turbo-*/ | head -n 1)
  cmake -S "$src" -B "$deps/libjpeg-build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX="$prefix" -DENABLE_SHARED=OFF -DENABLE_STATIC=ON \
    -DWITH_TURBOJPEG=OFF -DWITH_JPEG8=OFF -DWITH_JPEG7=OFF -Wno-dev >/dev/null
  cmake --build "$deps/libjpeg-build" --target install >/dev/null
fi

# googletest for MinGW from the same sources as the native one.
if [ ! -f "$prefix/lib/libgtest.a" ]; then
  echo "setup: building googletest for MinGW"
  cmake -S /usr/src/googletest -B "$deps/gtest-build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX="$prefix" -Dgtest_disable_pthreads=OFF >/dev/null
  cmake --build "$deps/gtest-build" --target install >/dev/null
fi

echo "setup: ready ($prefix)"
