#!/usr/bin/env bash
# Prepares the handheld build from Debian's packages only: the mipsel cross
# compiler, qemu's user-mode emulator, and SDL 1.2 and GoogleTest built for
# the target into build-mipsel/prefix. Work already done is kept, so a second
# run takes seconds.
set -euo pipefail
cd "$(dirname "$0")/.."
top=$PWD
out=$top/build-mipsel
prefix=$out/prefix
toolchain=$top/cmake/mipsel-linux-gnu.cmake
jobs=$(nproc)

# Runs a command as root: directly, or through sudo.
as_root() {
  if [ "$(id -u)" -eq 0 ]; then
    "$@"
  elif command -v sudo >/dev/null 2>&1; then
    sudo "$@"
  else
    echo "Run as root: $*" >&2
    return 1
  fi
}

# Step 1: the Debian packages: compiler, emulator, source unpacking, GoogleTest sources.
install_packages() {
  local packages="g++-mipsel-linux-gnu dpkg-dev googletest cmake make"
  local missing=""
  for p in $packages; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
  done
  if ! command -v qemu-mipsel-static >/dev/null 2>&1 && ! command -v qemu-mipsel >/dev/null 2>&1; then
    missing="$missing qemu-user-static"
  fi
  [ -z "$missing" ] && return 0
  echo "Installing:$missing"
  as_root apt-get update -qq
  as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq $missing >/dev/null
}

# Prints deb-src entries matching every enabled Debian 'deb' entry of apt's sources.
debian_source_entries() {
  # One-line format: "deb [options] URI suite components".
  local f
  for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
    [ -f "$f" ] || continue
    awk '$1 == "deb" && /debian/ { $1 = "deb-src"; print }' "$f"
  done > "$out/deb-src.list"
  # deb822 format: copy each stanza with its Types changed to deb-src.
  for f in /etc/apt/sources.list.d/*.sources; do
    [ -f "$f" ] || continue
    awk 'BEGIN { RS = ""; ORS = "\n\n" }
         /(^|\n)Types:[^\n]*deb([ \t]|\n|$)/ && /(^|\n)URIs:[^\n]*debian/ && !/(^|\n)Enabled:[ \t]*no/ {
           sub(/(^|\n)Types:[^\n]*/, "\nTypes: deb-src"); sub(/^\n/, ""); print }' "$f"
  done > "$out/deb-src.sources"
}

# Step 2: Debian's own source package of SDL 1.2, with its patches applied.
fetch_sdl_source() {
  if ls -d "$out"/sdl-src/libsdl1.2-*/configure >/dev/null 2>&1; then
    return 0
  fi
  if ! apt-cache showsrc libsdl1.2 2>/dev/null | grep -q '^Package:'; then
    if ! grep -qsE '^[[:space:]]*(deb-src|Types:.*deb-src)' /etc/apt/sources.list /etc/apt/sources.list.d/*.list \
        /etc/apt/sources.list.d/*.sources; then
      echo "Enabling Debian source packages"
      debian_source_entries
      if [ -s "$out/deb-src.list" ]; then
        as_root cp "$out/deb-src.list" /etc/apt/sources.list.d/kettlemoor-deb-src.list
      fi
      if [ -s "$out/deb-src.sources" ]; then
        as_root cp "$out/deb-src.sources" /etc/apt/sources.list.d/kettlemoor-deb-src.sources
      fi
    fi
    as_root apt-get update -qq
  fi
  rm -rf "$out/sdl-src"
  mkdir -p "$out/sdl-src"
  (cd "$out/sdl-src" && apt-get source -qq libsdl1.2 >/dev/null 2>"$out/sdl-src.log") \
    || { cat "$out/sdl-src.log" >&2; return 1; }
}

# Step 3: a small static SDL for the target: dummy and framebuffer video, no X11, no audio.
build_sdl() {
  local src
  src=$(ls -d "$out"/sdl-src/libsdl1.2-*/ | head -n 1)
  local flags="--host=mipsel-linux-gnu --prefix=$prefix --disable-shared --enable-static
    --disable-video-x11 --disable-audio --disable-joystick --disable-cdrom
    --enable-video-dummy --enable-video-fbcon --disable-video-directfb --disable-video-svga
    --disable-video-ggi --disable-video-aalib --disable-video-caca --disable-video-opengl
    --disable-loadso --disable-rpath --disable-nasm"
  local stamp="$src $flags"
  if [ -f "$prefix/lib/libSDL.a" ] && [ "$(cat "$out/sdl.stamp" 2>/dev/null)" = "$stamp" ]; then
    return 0
  fi
  echo "Building SDL for the target from $(basename "$src")"
  local start=$SECONDS
  rm -rf "$out/sdl-build"
  mkdir -p "$out/sdl-build"
  (
    cd "$out/sdl-build"
    CFLAGS="-O2" "$src/configure" $flags >configure.log 2>&1 || { tail -n 30 configure.log >&2; exit 1; }
    make -j "$jobs" >make.log 2>&1 || { tail -n 30 make.log >&2; exit 1; }
    make install-bin install-hdrs install-lib >install.log 2>&1 || { tail -n 30 install.log >&2; exit 1; }
  )
  echo "$stamp" > "$out/sdl.stamp"
  echo "SDL built in $((SECONDS - start)) s"
}

# Step 4: GoogleTest for the target from Debian's googletest sources.
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
  cmake --build "$out/gtest-build" -j "$jobs" >"$out/gtest-build.log" 2>&1 \
    || { tail -n 30 "$out/gtest-build.log" >&2; return 1; }
  cmake --install "$out/gtest-build" >/dev/null
  echo "$version" > "$out/gtest.stamp"
  echo "GoogleTest built in $((SECONDS - start)) s"
}

mkdir -p "$out"
install_packages
fetch_sdl_source
build_sdl
build_gtest
