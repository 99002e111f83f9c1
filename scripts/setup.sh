#!/usr/bin/env bash
# Installs the Debian packages the game needs to build and test, if any is
# missing; packages named as arguments (e.g. the fuzzing compiler) are added.
set -euo pipefail
# xvfb and xdotool run the game in a real window for the quit test.
packages="g++ cmake make libsdl1.2-dev libgtest-dev libbenchmark-dev xvfb xdotool $*"
missing=""
for p in $packages; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
[ -z "$missing" ] && exit 0
if [ "$(id -u)" -eq 0 ]; then
  echo "Installing:$missing"
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq $missing >/dev/null
elif command -v sudo >/dev/null 2>&1; then
  echo "Installing (with sudo):$missing"
  sudo apt-get update -qq
  sudo DEBIAN_FRONTEND=noninteractive apt-get install -y -qq $missing >/dev/null
else
  echo "Missing packages:$missing" >&2
  echo "Run as root: apt-get install$missing" >&2
  exit 1
fi
