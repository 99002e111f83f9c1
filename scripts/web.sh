#!/usr/bin/env bash
# Builds the game for web browsers into build-web/site: the page, the
# module's JavaScript and WebAssembly, and the packed data. Everything comes
# from Debian's packages: Emscripten, and SDL 1.2 built from Debian's own
# source with Emscripten's compiler, so the game keeps SDL's real 16-bit
# surfaces and blitters. Work already done is kept, so a second run only
# rebuilds what changed.
set -euo pipefail
cd "$(dirname "$0")/.."
top=$PWD
out=$top/build-web
prefix=$out/prefix
site=$out/site
# Emscripten's optimizer needs Debian's JavaScript parser.
export NODE_PATH=/usr/share/nodejs

source scripts/lib.sh
source scripts/sdl-source.sh

# A small static SDL for the browser: dummy video (the page shows the frames
# itself), no audio, threads, joystick or assembly.
build_sdl() {
  # Emscripten has no host name of its own that SDL's configure knows.
  build_static_sdl "the browser" " $(emcc --version | head -n 1)" emconfigure emmake \
    "--host=i686-pc-linux-gnu --prefix=$prefix --disable-shared --enable-static
    --disable-threads --disable-audio --disable-joystick --disable-cdrom --disable-loadso
    --disable-assembly --disable-video-x11 --disable-video-fbcon --disable-video-directfb
    --disable-video-opengl --enable-video-dummy"
}

# The game and the replay tool. SDL's headers built here must come before
# the ones Emscripten carries for its own SDL emulation.
build_game() {
  configure_build --with emcmake "$out/game" -DCMAKE_BUILD_TYPE=Release -DKETTLEMOOR_TESTS=OFF \
    -DSDL_INCLUDE_DIR="$prefix/include/SDL" -DSDL_LIBRARY="$prefix/lib/libSDL.a"
  build_targets "$out/game" kettlemoor-web kettlemoor-replay
}

make_site() {
  rm -rf "$site"
  mkdir -p "$site"
  cp "$top/web/index.html" "$site/"
  cp "$out"/game/web/kettlemoor.{js,wasm,data} "$site/"
  echo "Site: $(du -cb "$site"/* | tail -n 1 | cut -f 1) bytes in $site"
}

mkdir -p "$out"
install_packages emscripten dpkg-dev cmake make
fetch_sdl_source "$out"
build_sdl
build_game
make_site
echo "Serve it with:  python3 -m http.server -d build-web/site"
echo "then open       http://localhost:8000/"
