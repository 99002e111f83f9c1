#!/usr/bin/env bash
# Shared by the handheld and browser set-up scripts: fetches Debian's own
# source package of SDL 1.2, with its patches applied, into $1/sdl-src, and
# builds it as a static library. Sourced, not run, after scripts/lib.sh
# (for as_root and JOBS); the caller has set -euo pipefail and defines $out
# and $prefix.

# Writes into $1 deb-src entries matching every enabled Debian 'deb' entry of apt's sources.
debian_source_entries() {
  local out=$1 f
  # One-line format: "deb [options] URI suite components".
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

# Unpacks libsdl1.2's Debian source into $1/sdl-src, enabling source
# packages in apt first if none are; a source already there is kept.
fetch_sdl_source() {
  local out=$1
  if ls -d "$out"/sdl-src/libsdl1.2-*/configure >/dev/null 2>&1; then
    return 0
  fi
  if ! apt-cache showsrc libsdl1.2 2>/dev/null | grep -q '^Package:'; then
    if ! grep -qsE '^[[:space:]]*(deb-src|Types:.*deb-src)' /etc/apt/sources.list /etc/apt/sources.list.d/*.list \
        /etc/apt/sources.list.d/*.sources; then
      echo "Enabling Debian source packages"
      debian_source_entries "$out"
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

# Builds the fetched SDL source into $prefix as a static library, unless the
# same source was already built there with the same flags and tool chain.
#   build_static_sdl TARGET TOOLCHAIN WRAP_CONFIGURE WRAP_MAKE FLAGS
# TARGET names the build in what is printed; TOOLCHAIN is kept in the stamp,
# so a new compiler rebuilds; the WRAP_ commands (empty for none) run
# configure and make, as Emscripten's emconfigure and emmake do.
build_static_sdl() {
  local target=$1 toolchain=$2 wrap_configure=$3 wrap_make=$4 flags=$5 src
  src=$(ls -d "$out"/sdl-src/libsdl1.2-*/ | head -n 1)
  local stamp="$src $flags$toolchain"
  if [ -f "$prefix/lib/libSDL.a" ] && [ "$(cat "$out/sdl.stamp" 2>/dev/null)" = "$stamp" ]; then
    return 0
  fi
  echo "Building SDL for $target from $(basename "$src")"
  local start=$SECONDS
  rm -rf "$out/sdl-build"
  mkdir -p "$out/sdl-build"
  (
    cd "$out/sdl-build"
    CFLAGS="-O2" $wrap_configure "$src/configure" $flags >configure.log 2>&1 \
      || { tail -n 30 configure.log >&2; exit 1; }
    $wrap_make make -j "$JOBS" >make.log 2>&1 || { tail -n 30 make.log >&2; exit 1; }
    $wrap_make make install-bin install-hdrs install-lib >install.log 2>&1 \
      || { tail -n 30 install.log >&2; exit 1; }
  )
  echo "$stamp" > "$out/sdl.stamp"
  echo "SDL built in $((SECONDS - start)) s"
}
