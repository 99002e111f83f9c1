#!/usr/bin/env bash
# Every way of ending the game — SIGTERM, SIGINT, SIGHUP and the window's
# close button — ends it with status 0 within one second, in every mode: the
# intro, the menu, a game, the editor, and the key capture of the remapping
# page. The capture is then asked to end many more times, headless, through
# the replay tool, whose front end reaches it by a script: a signal lands at
# a random moment of the capture's polling, and a handler that took the event
# queue's lock there hung the game only now and then (once in ten to fifty).
#
# Usage: quit_test.sh GAME CLOSE_WINDOW DATA_DIR REPLAY SCRIPT
#   GAME          the game's binary
#   CLOSE_WINDOW  the helper that clicks a window's close button ("" if none)
#   DATA_DIR      the game's data/, copied so that nothing can change the real one
#   REPLAY        the replay tool
#   SCRIPT        its front end script that leaves the capture waiting
#
# The game runs in a real window under Xvfb and is steered with xdotool. Without
# them only the intro can be reached, on SDL's dummy driver, and only the
# signals are tried; without the helper the close button is not tried. Each
# part left out is named in a line "SKIP: what (why)", and the test then ends
# with status 77, which CTest reports as skipped. With KETTLEMOOR_NO_SKIP set
# (scripts/test.sh sets it, having installed them all) a part left out fails
# the test instead, so that CI always runs it whole.
set -u
source "$(dirname "$0")/../scripts/lib.sh"

game=$1
closer=$2
data=$3
replay=$4
capture_script=$5

# Time allowed from the request to the end of the process, in milliseconds.
limit_ms=1000
# Rounds of one SIGTERM and one SIGINT on the headless capture: enough that
# a hang seen once in fifty signals shows.
capture_rounds=50

work=$(mktemp -d /tmp/kettlemoor-quit-XXXXXX)
xvfb_pid=""
game_pid=""
cleanup() {
  [ -n "$game_pid" ] && kill -KILL "$game_pid" 2>/dev/null
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
cp -r "$data" "$work/data"
cd "$work" || exit 1
echo "leak:libX11.so" >x11.supp

passed=0
failed=0
skipped=0

now_ms() { date +%s%3N; }

# Waits up to 5 s for a line matching $1 in the game's output.
wait_for_output() {
  for _ in $(seq 250); do
    grep -q -- "$1" log && return 0
    sleep 0.02
  done
  echo "  never saw \"$1\" in the game's output" >&2
  return 1
}

# Starts the game with the quit signals at their defaults (a script's
# background jobs otherwise ignore SIGINT, and the game then leaves it
# ignored, as it does SIGHUP under nohup) and line-buffered
# output, so its progress lines can be waited for.
# In a sanitizer build the X library's own small leaks (strings it keeps for
# the whole process) are not the game's and are left out of the leak check;
# symbolizing them to match the suppression would take a third of a second of
# the time allowed, so stacks stay raw here (the soak test reads them in full).
# For the replayed capture it starts the replay tool on its script instead,
# with the trace of every step on standard output.
start_game() {
  local command=("$game")
  [ "$1" = replayed_capture ] && command=("$replay" --front-end --trace - "$capture_script")
  : >log
  ASAN_OPTIONS="${ASAN_OPTIONS:-}:verify_asan_link_order=0:symbolize=0" \
    LSAN_OPTIONS="${LSAN_OPTIONS:-}:suppressions=$work/x11.supp" \
    env --default-signal=INT,TERM,HUP stdbuf -oL "${command[@]}" >log 2>&1 &
  game_pid=$!
}

# Presses keys in the game's window, 30 ms apart (two logic steps).
keys() {
  xdotool key --delay 30 "$@"
}

# Brings the game to a mode: intro, menu, game, editor or capture.
reach() {
  if [ "$1" = intro ]; then
    sleep 0.1
    return 0
  fi
  # The step whose menu starts the remapping is traced just before the
  # capture begins to wait.
  if [ "$1" = replayed_capture ]; then
    wait_for_output " remap=1 "
    return
  fi
  keys Return Return                     # both splash screens
  wait_for_output "Map of 100, 15" || return 1
  # The first level's size, as its loader reports it, from the level itself.
  local first
  first=$(awk '$1 == "LAYER0_SIZE:" { print "Map of " $2 ", " $3; exit }' "$data/maps/map01.map")
  case $1 in
    menu) ;;
    game)
      keys Return Return                 # the title, New Game
      wait_for_output "$first" || return 1 ;;
    editor)
      keys Return Down Return            # the title, Editor
      wait_for_output "$first" || return 1 ;;
    capture)
      # The title, Options, Controls, Keyboard; Up is captured for the first
      # button and the capture of the second one is then waiting.
      keys Return Down Down Return Return Return Up
      wait_for_output "New key for 0:" || return 1 ;;
  esac
  sleep 0.1
}

# Asks the game to end: SIGTERM, SIGINT, SIGHUP or the close button.
request_end() {
  case $1 in
    SIGTERM) kill -TERM "$game_pid" ;;
    SIGINT) kill -INT "$game_pid" ;;
    SIGHUP) kill -HUP "$game_pid" ;;
    close) "$closer" "$window" ;;
  esac
}

# Waits for the game to end within the limit; sets outcome to its status and
# the time taken, and succeeds when it ended in time with status 0.
await_end() {
  local start=$1 status
  while kill -0 "$game_pid" 2>/dev/null; do
    if [ $(($(now_ms) - start)) -gt "$limit_ms" ]; then
      stop_game
      outcome="still running after ${limit_ms} ms"
      return 1
    fi
    sleep 0.01
  done
  wait "$game_pid"
  status=$?
  game_pid=""
  outcome="status $status after $(($(now_ms) - start)) ms"
  [ "$status" -eq 0 ]
}

# Ends a game that is still running.
stop_game() {
  kill -KILL "$game_pid" 2>/dev/null
  wait "$game_pid" 2>/dev/null
  game_pid=""
}

# Finds and focuses the game's window; fails when it does not appear.
find_window() {
  window=""
  [ "$windowed" = 1 ] || return 0
  for _ in $(seq 200); do
    window=$(xdotool search --onlyvisible --name '^Kettlemoor$' 2>/dev/null | head -n 1)
    [ -n "$window" ] && break
    sleep 0.02
  done
  [ -n "$window" ] && timeout 5 xdotool windowfocus --sync "$window"
}

# One case: start, reach the mode, ask for the end, check how it ended.
# With a third argument "quiet" only a failure is reported.
run_case() {
  local mode=$1 ending=$2 quiet=${3:-} ok=0
  outcome="could not reach the mode"
  start_game "$mode"
  if { [ "$mode" = replayed_capture ] || find_window; } && reach "$mode"; then
    request_end "$ending"
    await_end "$(now_ms)" && ok=1
  else
    stop_game
  fi
  if [ "$ok" = 1 ]; then
    passed=$((passed + 1))
    [ -n "$quiet" ] || echo "ok      $mode, $ending: $outcome"
  else
    failed=$((failed + 1))
    echo "FAILED  $mode, $ending: $outcome"
    sed 's/^/  | /' log | tail -n 5
  fi
}

# Reports a part of the test that cannot run here: skipped, or failed when
# the whole test is required.
leave_out() {
  if [ -n "${KETTLEMOOR_NO_SKIP:-}" ]; then
    failed=$((failed + 1))
    echo "FAILED  $1 (KETTLEMOOR_NO_SKIP is set: the whole test must run)"
  else
    skipped=$((skipped + 1))
    echo "SKIP: $1"
  fi
}

# A display of our own, on a free display number.
windowed=0
why_not_windowed=""
if ! command -v Xvfb >/dev/null; then
  why_not_windowed="Xvfb is not installed"
elif ! command -v xdotool >/dev/null; then
  why_not_windowed="xdotool is not installed"
elif start_xvfb; then
  windowed=1
else
  why_not_windowed=$xvfb_failure
fi

if [ "$windowed" = 1 ]; then
  endings="SIGTERM SIGINT SIGHUP"
  if [ -n "$closer" ] && [ -x "$closer" ]; then
    endings="$endings close"
  else
    leave_out "the close button in every mode (no close-window helper was built: X11's headers are missing)"
  fi
  for mode in intro menu game editor capture; do
    for ending in $endings; do
      run_case "$mode" "$ending"
    done
  done
else
  leave_out "the menu, a game, the editor, the key capture and the close button ($why_not_windowed)"
  headless
  run_case intro SIGTERM
  run_case intro SIGINT
  run_case intro SIGHUP
fi

headless
before=$failed
for _ in $(seq "$capture_rounds"); do
  for ending in SIGTERM SIGINT; do
    run_case replayed_capture "$ending" quiet
  done
done
echo "headless capture, $((capture_rounds * 2)) signals: $((failed - before)) failed"

echo "$passed passed, $failed failed, $skipped skipped"
[ "$failed" -eq 0 ] || exit 1
[ "$skipped" -eq 0 ] || exit 77
