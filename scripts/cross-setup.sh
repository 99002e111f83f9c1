#!/usr/bin/env bash
# Prepares the handheld build from Debian's packages only: the mipsel cross
# compiler, qemu's user-mode emulator, and SDL 1.2 and GoogleTest built for
# the target into build-mipsel/prefix. Work already done is kept, so a second
# run takes seconds.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/lib.sh
# fetch_sdl_source and build_static_sdl: Debian's own source package of
# SDL 1.2, with its patches applied, built as a static library.
source scripts/sdl-source.sh
top=$PWD
out=$top/build-mipsel
prefix=$out/prefix
toolchain=$top/cmake/mipsel-linux-gnu.cmake

# The compiler, the emulator, what unpacks a source package, and GoogleTest's
# sources. Any qemu that runs mipsel programs will do, so Debian's is only
# added when none is there.
install_cross_packages() {
  local packages="g++-mipsel-linux-gnu dpkg-dev googletest cmake make"
  if ! command -v qemu-mipsel-static >/dev/null 2>&1 && ! command -v qemu-mipsel >/dev/null 2>&1; then
    packages="$packages qemu-user-static"
  fi
  install_packages $packages
}

# A small static SDL for the target: framebuffer video and OSS sound for the
# device, dummy video and disk sound for the tests under the emulator; no X11.
build_sdl() {
  build_static_sdl "the target" "" "" "" \
    "--host=mipsel-linux-gnu --prefix=$prefix --disable-shared --enable-static
    --disable-video-x11 --enable-audio --enable-oss --enable-diskaudio --enable-dummyaudio
    --disable-alsa --disable-esd --disable-pulseaudio --disable-arts --disable-nas
    --disable-joystick --disable-cdrom
    --enable-video-dummy --enable-video-fbcon --disable-video-directfb --disable-video-svga
    --disable-video-ggi --disable-video-aalib --disable-video-caca --disable-video-opengl
    --disable-loadso --disable-rpath --disable-nasm"
}

# GoogleTest for the target, from Debian's googletest sources; rebuilt only
# when that package's version changes.
build_gtest() {
  local version
  version=$(dpkg-query -W -f='${Version}' googletest)
  if [ -f "$prefix/lib/libgtest.a" ] && [ "$(cat "$out/gtest.stamp" 2>/dev/null)" = "$version" ]; then
    return 0
  fi
  echo "Building GoogleTest $version for the target"
  local start=$SECONDS
  rm -rf "$out/gtest-build"
  cmake -S /usr/src/googletest -B "$out/gtest-build" -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" -DBUILD_GMOCK=OFF \
    >"$out/gtest-configure.log" 2>&1 || { tail -n 30 "$out/gtest-configure.log" >&2; return 1; }
  cmake --build "$out/gtest-build" -j "$JOBS" >"$out/gtest-build.log" 2>&1 \
    || { tail -n 30 "$out/gtest-build.log" >&2; return 1; }
  cmake --install "$out/gtest-build" >/dev/null
  echo "$version" > "$out/gtest.stamp"
  echo "GoogleTest built in $((SECONDS - start)) s"
}

mkdir -p "$out"
install_cross_packages
fetch_sdl_source "$out"
build_sdl
build_gtest
