#!/usr/bin/env bash
# Retakes the README's screenshots of the editor's strip of tiles (at the
# bottom of the screen, then at the top) and of a level played from the
# editor ("play here"), on a scratch copy of the first level:
#   docs/editor-strip-bottom.png, docs/editor-strip-top.png, docs/editor-play-here.png
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/lib.sh
headless
configure_build build
build_targets build kettlemoor-replay >/dev/null
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp data/maps/map01.map "$work/level.map"
# Down to cell 2,13 and its tile edited (the strip below it); cancelled, on to
# 3,16 low on the screen (the strip above it); cancelled, up to 3,12 and
# "play here", walking right.
cat >"$work/shots.replay" <<'SCRIPT'
1 press DOWN
140 release DOWN
142 tap RIGHT
144 tap RIGHT
146 tap JUMP
148 tap RIGHT
160 tap ACTION
162 tap DOWN
164 tap DOWN
166 tap DOWN
168 tap RIGHT
170 tap JUMP
172 tap DOWN
184 tap ACTION
186 tap UP
188 tap UP
190 tap UP
192 tap UP
194 tap ACTION
196 tap RIGHT
198 tap JUMP
215 press RIGHT
235 release RIGHT
end 238
SCRIPT
build/kettlemoor-replay --editor -map "$work/level.map" --shot 152 "$work/bottom.bmp" --shot 176 "$work/top.bmp" \
  --shot 238 "$work/play.bmp" "$work/shots.replay" >/dev/null
python3 scripts/shot-png.py "$work/bottom.bmp" docs/editor-strip-bottom.png
python3 scripts/shot-png.py "$work/top.bmp" docs/editor-strip-top.png
python3 scripts/shot-png.py "$work/play.bmp" docs/editor-play-here.png
