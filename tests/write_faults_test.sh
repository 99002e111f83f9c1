#!/usr/bin/env bash
# A closed standard output or a file-size limit never ends the game in the
# middle of a save. The collision extraction, with every progress line going
# to a pipe that nobody reads any more, still writes its whole file and ends
# with status 0; under a size limit smaller than that file it ends with
# status 0 too, the old file as it was and no temporary file left beside it.
# And a save killed outright, at any moment of it, leaves the old file or the
# whole new one, never a part: two hundred extractions are killed at moments
# spread over their run, then the next whole save clears the temporary files
# the killed ones left.
#
# Usage: write_faults_test.sh GAME DATA_DIR
#   GAME      the game's binary
#   DATA_DIR  the game's data/, whose colour-coded tileset is extracted
set -u
source "$(dirname "$0")/../scripts/lib.sh"

game=$1
bitmap=$2/maps/tiles01col.bmp

work=$(mktemp -d /tmp/kettlemoor-writes-XXXXXX)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1
headless

failed=0
# Reports a failed check with the game's messages.
fail() {
  failed=1
  echo "FAILED  $1"
  sed 's/^/  | /' err | tail -n 5
}

# The file as an extraction with an ordinary output writes it.
"$game" -extract "$bitmap" expected.col >/dev/null 2>err
[ -s expected.col ] || fail "no file extracted with an ordinary output"

# A pipe whose reader has opened it and gone: every write to it fails.
mkfifo pipe
(exec 3<pipe) &
exec 4>pipe
wait $!
rm pipe
# Line-buffered, so each progress line, the save's own among them, meets the
# closed pipe as it is printed. stdbuf preloads its own library, which a
# sanitizer build would otherwise refuse to start with.
ASAN_OPTIONS=${ASAN_OPTIONS:+$ASAN_OPTIONS:}verify_asan_link_order=0 \
  stdbuf -oL "$game" -extract "$bitmap" piped.col >&4 2>err
status=$?
exec 4>&-
[ "$status" -eq 0 ] || fail "closed output: status $status"
cmp -s expected.col piped.col || fail "closed output: the file is not the whole extraction"

# A size limit (in KiB) well under the file's size: the save fails and keeps the old file.
limit_kib=16
[ "$(stat -c %s expected.col)" -gt $((limit_kib * 1024 * 2)) ] || fail "the extraction is too small to pass the limit"
echo "an older collision file" >limited.col
cp limited.col old.col
(ulimit -f "$limit_kib" && exec "$game" -extract "$bitmap" limited.col >/dev/null 2>err)
status=$?
[ "$status" -eq 0 ] || fail "size limit: status $status"
cmp -s old.col limited.col || fail "size limit: the old file was changed"
left=$(ls -A | grep -vxE 'expected.col|piped.col|limited.col|old.col|err')
[ -z "$left" ] || fail "size limit: left behind: $left"

# Killed at moments spread over a whole extraction, which takes some tens of
# milliseconds here: each kill leaves the older file or the whole new one.
echo "an older collision file" >killed.col
cp killed.col old.col
kills=200 cut_short=0
for k in $(seq 1 "$kills"); do
  "$game" -extract "$bitmap" killed.col >/dev/null 2>err &
  sleep "0.0$((k % 8))$((k * 7 % 10))"
  kill -KILL $! 2>/dev/null
  wait $! 2>/dev/null
  if ls -A | grep -qE '^\.killed\.col\.'; then
    cut_short=$((cut_short + 1))
  fi
  if ! cmp -s killed.col old.col && ! cmp -s killed.col expected.col; then
    fail "kill $k: the file is neither the old one nor the whole new one"
    break
  fi
done
"$game" -extract "$bitmap" killed.col >/dev/null 2>err
cmp -s killed.col expected.col || fail "after the kills: the next save did not write the whole file"
left=$(ls -A | grep -E '^\.killed\.col\.')
[ -z "$left" ] || fail "after the kills: the next save left these behind: $left"
echo "        $kills saves killed, $cut_short of them while a temporary file stood"
[ "$cut_short" -gt 0 ] || fail "no kill landed while a save was being written"

[ "$failed" -eq 0 ] && echo "ok      a closed output, a size limit and a kill end no save"
exit "$failed"
