#!/usr/bin/env bash
# A real pad in a real window: a virtual gamepad made through Linux's uinput
# is plugged in, the game opens it at start in a window under Xvfb, the
# controls page's "Joystick" entry takes the pad's stick, cross and buttons
# (other buttons than the shipped ones), the settings are saved with them, and
# the pad alone, under its new buttons, then goes from the controls page to a
# game and walks the monkey (the view scrolls).
#
# Usage: gamepad_device_test.sh GAME VIRTUAL_PAD DATA_DIR
#
# A machine without /dev/uinput (a container, or a kernel without the module)
# cannot make a pad: the test then prints "SKIP: ..." with the reason and
# ends with status 77, which CTest reports as skipped, whatever
# KETTLEMOOR_NO_SKIP says. Without Xvfb or xdotool it skips too, or fails
# under KETTLEMOOR_NO_SKIP, as the quit test does.
set -u
source "$(dirname "$0")/../scripts/lib.sh"

game=$1
virtual_pad=$2
data=$3

work=$(mktemp -d /tmp/kettlemoor-pad-XXXXXX)
xvfb_pid=""
game_pid=""
pad_pid=""
cleanup() {
  [ -n "$game_pid" ] && kill -KILL "$game_pid" 2>/dev/null
  exec 4>&- 2>/dev/null
  [ -n "$pad_pid" ] && wait "$pad_pid" 2>/dev/null
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
cp -r "$data" "$work/data"
cd "$work" || exit 1

skip() {
  echo "SKIP: $1"
  exit 77
}

fail() {
  echo "FAILED: $1"
  sed 's/^/  | /' log 2>/dev/null | tail -n 8
  exit 1
}

# Waits up to 5 s for a line matching $1 in file $2 (the game's log by default).
wait_for() {
  for _ in $(seq 250); do
    grep -q -- "$1" "${2:-log}" && return 0
    sleep 0.02
  done
  return 1
}

# The pad: uinput, loaded as a module where that is allowed.
if [ ! -e /dev/uinput ] && command -v modprobe >/dev/null && [ "$(id -u)" = 0 ]; then
  modprobe uinput 2>/dev/null
fi
[ -e /dev/uinput ] || skip "a virtual pad needs /dev/uinput, which this machine has not got (no uinput module)"
if ! command -v Xvfb >/dev/null || ! command -v xdotool >/dev/null || ! command -v xwd >/dev/null; then
  [ -n "${KETTLEMOOR_NO_SKIP:-}" ] && fail "Xvfb, xdotool and xwd are needed (KETTLEMOOR_NO_SKIP is set)"
  skip "Xvfb, xdotool and xwd are needed for the game's window"
fi
mkfifo pad.in
"$virtual_pad" <pad.in >pad.out 2>&1 &
pad_pid=$!
exec 4>pad.in
wait_for ready pad.out || skip "$(head -n 1 pad.out)"

# Moves the pad, then gives the game a few logic steps to see it.
pad() {
  echo "$*" >&4
  sleep 0.08
}
press() {
  pad button "$1" 1
  pad button "$1" 0
}

start_xvfb || fail "$xvfb_failure"

env --default-signal=INT,TERM,HUP stdbuf -oL "$game" >log 2>&1 &
game_pid=$!
wait_for "Joystick: Kettlemoor test pad" || fail "the game did not open the pad"
window=""
for _ in $(seq 200); do
  window=$(xdotool search --onlyvisible --name '^Kettlemoor$' 2>/dev/null | head -n 1)
  [ -n "$window" ] && break
  sleep 0.02
done
[ -n "$window" ] || fail "no window"
timeout 5 xdotool windowfocus --sync "$window"

# The keyboard goes to the controls page's "Joystick" entry: both splashes,
# the title, Options, Controls, Joystick.
xdotool key --delay 30 Return Return
wait_for "Map of 100, 15" || fail "the title did not come"
xdotool key --delay 30 Return Down Down Return Return Down Return
sleep 0.2

# UP by the stick, DOWN and LEFT by the cross, RIGHT by the stick again;
# then ACTION Y (3), JUMP the left shoulder (4), OK the right shoulder (5),
# BACK B (1), MENU Start (7).
pad axis 1 -30000
pad axis 1 0
pad hat 0 1
pad hat 0 0
pad hat -1 0
pad hat 0 0
pad axis 0 30000
pad axis 0 0
for button in 3 4 5 1 7; do press "$button"; done
wait_for "Saving config" || fail "the nine pad entries were not all taken"
for line in "J_UP -1" "J_DOWN -1" "J_LEFT -1" "J_RIGHT -1" "J_ACTION 3" "J_JUMP 4" "J_OK 5" "J_BACK 1" "J_MENU 7"; do
  grep -qx "$line" data/config.cfg || fail "the saved settings lack \"$line\""
done
echo "ok      the controls page took the pad's stick, cross and buttons"

# The pad alone, under its new buttons: Back on the controls page, Back on
# the options page (the cursor comes back on "Controls"; up wraps to Back),
# then up twice from "Options" to "New Game".
pad axis 1 30000
pad axis 1 0
press 5
pad axis 1 -30000
pad axis 1 0
press 5
for _ in 1 2; do
  pad axis 1 -30000
  pad axis 1 0
done
press 5
first=$(awk '$1 == "LAYER0_SIZE:" { print "Map of " $2 ", " $3; exit }' data/maps/map01.map)
wait_for "$first" || fail "the pad did not start a game"
echo "ok      the pad's new OK and the stick went from the controls page to a game"

# Standing still changes little of the view; walking right scrolls it.
sleep 0.5
xwd -silent -id "$window" >still1.xwd
sleep 0.5
xwd -silent -id "$window" >still2.xwd
pad axis 0 30000
sleep 1.5
pad axis 0 0
xwd -silent -id "$window" >walked.xwd
idle=$(cmp -l still1.xwd still2.xwd | wc -l)
walked=$(cmp -l still2.xwd walked.xwd | wc -l)
echo "bytes changed: $idle standing still, $walked after walking"
[ "$walked" -gt $((idle * 4 + 10000)) ] || fail "the stick did not walk the monkey"
echo "ok      the stick walked the monkey"
