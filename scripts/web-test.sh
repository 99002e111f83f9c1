#!/usr/bin/env bash
# Builds the browser version (scripts/web.sh) and checks it twice: the replay
# tool built to WebAssembly must print, under node, exactly what the native
# one prints for every recorded route; and the page must play in Debian's
# headless Chromium (web/test/browser-test.js). Screenshots land in
# build-web/shots. Everything reusable is kept under build-web/.
set -euo pipefail
cd "$(dirname "$0")/.."
top=$PWD
out=$top/build-web
source scripts/lib.sh
headless

echo "== browser build =="
start=$SECONDS
bash scripts/web.sh
echo "browser build took $((SECONDS - start)) s"

echo "== recorded routes: WebAssembly under node against the native build =="
start=$SECONDS
bash scripts/setup.sh
configure_build "$out/native" -DKETTLEMOOR_TESTS=OFF
build_targets "$out/native" kettlemoor-replay >/dev/null
failed=0
for route in tests/routes/*.replay; do
  name=$(basename "$route")
  # Editor scripts build levels rather than play them; pin.sh covers them.
  route_header "$route" "editor script" && continue
  route_header "$route" "front end script" && continue
  level=$(route_header "$route" level | head -n 1) || true
  [ -n "$level" ] && level="-map $level"
  set +e
  "$out/native/kettlemoor-replay" --trace - $level "$route" >"$out/native-$name.txt" 2>&1
  native_status=$?
  node "$out/game/kettlemoor-replay.js" --trace - $level "$route" >"$out/wasm-$name.txt" 2>&1
  wasm_status=$?
  set -e
  if [ "$native_status" = "$wasm_status" ] && cmp -s "$out/native-$name.txt" "$out/wasm-$name.txt"; then
    echo "same: $name ${level:-(default level)}, $(wc -l <"$out/native-$name.txt") lines, status $native_status"
  else
    echo "DIFFERENT: $name (status $native_status native, $wasm_status WebAssembly)"
    diff "$out/native-$name.txt" "$out/wasm-$name.txt" | head -n 5 || true
    failed=1
  fi
done
echo "route comparison took $((SECONDS - start)) s"
[ "$failed" = 0 ]

echo "== the page in headless Chromium =="
start=$SECONDS
# Debian's Chromium, and npm unless node came with its own.
command -v chromium >/dev/null 2>&1 || bash scripts/setup.sh chromium
command -v npm >/dev/null 2>&1 || bash scripts/setup.sh npm
# The test's one package, installed from the lock file once.
if ! cmp -s web/test/package-lock.json "$out/npm/package-lock.json" || [ ! -d "$out/npm/node_modules" ]; then
  rm -rf "$out/npm"
  mkdir -p "$out/npm"
  cp web/test/package.json web/test/package-lock.json "$out/npm/"
  (cd "$out/npm" && npm ci --no-audit --no-fund --loglevel=error)
fi
NODE_PATH="$out/npm/node_modules" node web/test/browser-test.js "$out/site" "$out/shots"
echo "browser test took $((SECONDS - start)) s"
