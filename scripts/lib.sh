# What the scripts share: installing Debian packages, configuring and building
# the game's CMake tree, running headless, and reading a recorded route's
# header lines. Sourced, not run, from the repository root:
#   cd "$(dirname "$0")/.." && source scripts/lib.sh
# The caller has set -euo pipefail.

# Parallel jobs for every build and test run: one per core.
JOBS=$(nproc)

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

# Installs the Debian packages named that are not installed yet, as root or
# through sudo; without either it names what is missing and fails.
install_packages() {
  local missing="" p
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
  done
  [ -z "$missing" ] && return 0
  if [ "$(id -u)" -ne 0 ] && ! command -v sudo >/dev/null 2>&1; then
    echo "Missing packages:$missing" >&2
    echo "Run as root: apt-get install$missing" >&2
    return 1
  fi
  echo "Installing:$missing"
  as_root apt-get update -qq
  as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq $missing >/dev/null
}

# Configures the game's tree into DIR, RelWithDebInfo unless the arguments
# (passed on to cmake) name another build type. CMake's own output goes to
# DIR/configure.log and is shown only when configuring fails.
#   configure_build [--with WRAPPER] DIR [CMAKE_ARGS...]
# WRAPPER runs cmake, as Emscripten's emcmake does.
configure_build() {
  local wrapper=""
  if [ "$1" = --with ]; then
    wrapper=$2
    shift 2
  fi
  local dir=$1
  shift
  mkdir -p "$dir"
  $wrapper cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >"$dir/configure.log" 2>&1 \
    || { tail -n 30 "$dir/configure.log" >&2; return 1; }
}

# Builds the targets named (every target when none is) in the configured DIR.
#   build_targets DIR [TARGET...]
build_targets() {
  local dir=$1
  shift
  if [ $# -eq 0 ]; then
    cmake --build "$dir" -j "$JOBS"
  else
    cmake --build "$dir" -j "$JOBS" --target "$@"
  fi
}

# Starts an X server of its own (Xvfb, on a free display number) for the
# game's windows, in the current folder: sets xvfb_pid, exports DISPLAY and
# SDL's X11 driver. When it does not start, fails with the reason in
# xvfb_failure.
start_xvfb() {
  Xvfb -displayfd 3 -screen 0 640x480x16 -nolisten tcp -noreset 3>display 2>xvfb.log &
  xvfb_pid=$!
  for _ in $(seq 100); do
    [ -s display ] && break
    sleep 0.05
  done
  if [ ! -s display ]; then
    xvfb_failure="Xvfb did not start: $(tail -n 1 xvfb.log)"
    return 1
  fi
  DISPLAY=":$(cat display)"
  export DISPLAY SDL_VIDEODRIVER=x11
}

# Makes SDL open no window for whatever runs after it: its dummy video driver
# draws into memory.
headless() {
  export SDL_VIDEODRIVER=dummy
}

# Reads a recorded route's header. For a line "# FIELD: value" it prints the
# value of every such line, one a line; a line that is only "# FIELD" (the
# "# editor script" and "# front end script" marks) prints nothing. Succeeds
# when the route has the line, fails when it has not.
#   route_header ROUTE FIELD
route_header() {
  local route=$1 field=$2
  if grep -q "^# $field:" "$route"; then
    sed -n "s/^# $field: *//p" "$route"
  else
    grep -q "^# $field\$" "$route"
  fi
}

# Writes the manifest of the game's shipped data in the installed game folder
# DIR: a first line naming the whole set ("kettlemoor-data" and a checksum of
# the lines after it), then the checksum and name of each file under DIR/data
# that the player writes (the settings and the levels). The launcher fills the
# player's folder from it.
#   write_data_manifest DIR
write_data_manifest() {
  local sums
  sums=$(cd "$1/data" && md5sum config.cfg maps/*.map)
  {
    echo "kettlemoor-data $(md5sum <<<"$sums" | cut -d' ' -f1)"
    echo "$sums"
  } >"$1/manifest"
}
