#!/usr/bin/env bash
# Pins how the game plays: every route under tests/routes/ is replayed, and
# its trace (every step of the player and of the enemies that changed, then
# the result line) is kept as tests/expected/ROUTE.trace, followed by the
# replay tool's own messages, such as its refusal of a bad script, and its
# exit status. The game's progress lines are left out: a change to a message
# is not a change in play. A route may ask
# for screenshots with lines "# shot: STEP"; each is kept as
# tests/expected/ROUTE-STEP.bmp. A route plays data/maps/map01.map unless it
# names another level with a line "# level: PATH".
#
# A script that drives the editor says so with a line "# editor script". It
# edits a scratch copy of its level (or, naming none, a new level made from a
# missing file). What the editor left in that file follows the trace:
# "level=none" when there is no file, "level=unchanged" when it is the level
# as it was, else the file is kept as tests/expected/ROUTE.map.
#
# A script marked "# front end script" starts at the splash screens and
# follows the game through the title, the menu, play and the editor. It runs
# in a scratch copy of data/, so that what it saves stays there; its level
# (copied in when it exists) is data/maps/ under the name its "# level:" line
# gives. The files the run made follow the trace as "made=data/...", and a
# level it changed or made is kept as tests/expected/ROUTE.map.
#
#   bash scripts/pin.sh            rebuilds the replay tool in build/ and
#                                  rewrites tests/expected/ (run it after a
#                                  change that is meant to alter play or
#                                  drawing, and read the diff before committing)
#   bash scripts/pin.sh --check REPLAY
#                                  what the test suite runs: replays with the
#                                  given tool and fails on any difference
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/lib.sh
headless

top=$PWD
scratch=$(mktemp -d)
if [ "${1:-}" = --check ]; then
  replay=$(realpath "$2")
  out=$(mktemp -d)
  trap 'rm -rf "$out" "$out.diff" "$scratch"' EXIT
else
  trap 'rm -rf "$scratch"' EXIT
  configure_build build
  build_targets build kettlemoor-replay >/dev/null
  replay=$PWD/build/kettlemoor-replay
  out=$PWD/tests/expected
  rm -rf "$out"
  mkdir -p "$out"
fi

# Runs the replay tool with the given arguments, writing its trace to the
# trace file of route NAME, then the tool's own messages and its exit status.
replay_route() {
  local name=$1 status=0
  shift
  "$replay" --trace "$out/$name.trace" "$@" >"$scratch/$name.log" 2>&1 || status=$?
  grep '^kettlemoor-replay:' "$scratch/$name.log" >>"$out/$name.trace" || true
  echo "exit=$status" >>"$out/$name.trace"
}

# Runs a front end script in its own copy of data/ (see above).
pin_front_end() {
  local route=$1 name=$2 level=$3 work=$scratch/front-$2
  local copy=data/maps/$(basename "${level:-none.map}")
  mkdir -p "$work"
  cp -r data "$work/"
  [ -f "$level" ] && cp "$level" "$work/$copy"
  (cd "$work" && find data -type f | sort >../$name.before)
  local args=(--front-end -map "$copy")
  for step in $(route_header "$route" shot); do
    args+=(--shot "$step" "$out/$name-$step.bmp")
  done
  (cd "$work" && replay_route "$name" "${args[@]}" "$top/$route")
  (cd "$work" && find data -type f | sort | comm -13 ../$name.before - | sed 's/^/made=/') >>"$out/$name.trace"
  if [ -f "$work/$copy" ] && ! cmp -s "$work/$copy" "${level:-/dev/null}"; then
    cp "$work/$copy" "$out/$name.map"
  fi
}

for route in tests/routes/*.replay; do
  name=$(basename "$route" .replay)
  level=$(route_header "$route" level | head -n 1) || true
  editor=0 front=0
  route_header "$route" "editor script" && editor=1
  route_header "$route" "front end script" && front=1
  args=()
  if [ "$front" != 0 ]; then
    pin_front_end "$route" "$name" "$level"
    continue
  elif [ "$editor" != 0 ]; then
    copy=$scratch/$name.map
    rm -f "$copy"
    [ -n "$level" ] && cp "$level" "$copy"
    args+=(--editor -map "$copy")
  elif [ -n "$level" ]; then
    args+=(-map "$level")
  fi
  for step in $(route_header "$route" shot); do
    args+=(--shot "$step" "$out/$name-$step.bmp")
  done
  # A refused script is pinned too: its message and exit status.
  replay_route "$name" "${args[@]}" "$route"
  [ "$editor" != 0 ] || continue
  if [ ! -e "$copy" ]; then
    echo "level=none" >>"$out/$name.trace"
  elif [ -n "$level" ] && cmp -s "$level" "$copy"; then
    echo "level=unchanged" >>"$out/$name.trace"
  else
    cp "$copy" "$out/$name.map"
  fi
done

[ "${1:-}" = --check ] || exit 0
if ! diff -r tests/expected "$out" >"$out.diff" 2>&1; then
  head -n 40 "$out.diff"
  rm -f "$out.diff"
  echo "pinned play differs; if the change is intended, run: bash scripts/pin.sh" >&2
  exit 1
fi
