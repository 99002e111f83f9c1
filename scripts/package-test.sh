#!/usr/bin/env bash
# Builds the Debian package and proves it on this machine: lintian, the
# desktop file, the AppStream metadata and the icons checked; the package
# installed with dpkg; then, as an ordinary user with a fresh home, the
# launcher's first and later starts, a headless session to the menu and out,
# a level edited and saved in the player's folder with the shipped one
# untouched, the player's files kept over a reinstall and an upgrade, a home
# that cannot be written, paths with spaces; and at the end dpkg -r taking
# away all it installed and nothing of the player's. It measures the
# launcher's own start-up work and reports the package's size.
#
# It installs the package system-wide, so it needs root (or sudo), and
# purges the package again however it ends. Run as root, it plays as the
# user kettlemoor-player, made for the run when missing.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/lib.sh
bash scripts/setup.sh dpkg-dev lintian desktop-file-utils appstream pngcheck

repo=$PWD
package=$repo/$(bash scripts/package.sh | tail -n 1)
stage=$repo/build-package/stage
shipped=/usr/share/games/kettlemoor
player=kettlemoor-player

step() { echo "== $* =="; }
fail() {
  echo "FAIL: $*" >&2
  exit 1
}

work=$(mktemp -d /tmp/kettlemoor-package.XXXXXX)
chmod 755 "$work"
made_player=0
game=""
cleanup() {
  [ -z "$game" ] || kill -KILL "$game" 2>/dev/null || true
  as_root dpkg --purge kettlemoor >/dev/null 2>&1 || true
  [ "$made_player" = 1 ] && as_root userdel "$player" >/dev/null 2>&1
  rm -rf "$work"
}
trap cleanup EXIT
cd "$work"

# Runs a command as the player with nothing of this shell's environment but a
# PATH with /usr/games and the VAR=value words given before the command.
# Started in the background, the command itself is $!.
if [ "$(id -u)" -eq 0 ]; then
  player_env=(setpriv --reuid="$player" --regid="$player" --init-groups env -i PATH=/usr/games:/usr/bin:/bin)
else
  player_env=(env -i PATH=/usr/games:/usr/bin:/bin)
fi
as_player() { "${player_env[@]}" "$@"; }

# Makes a folder the player owns.
player_folder() {
  mkdir -p "$1"
  [ "$(id -u)" -ne 0 ] || chown "$player:" "$1"
}

# Each file's name, kind, size, time and link target under DIR, to tell
# whether a run changed anything there.
snapshot() { find "$1" -printf '%P %y %s %T@ %l\n' | sort; }

step "the package: lintian, desktop file, AppStream metadata, icons"
lintian --fail-on error --display-level '>=warning' "$package" 2>/dev/null | tee "$work/lintian.txt" ||
  fail "lintian found errors"
# Each warning is either mended or explained in the README's packaging notes.
for tag in $(sed -n 's/^W: [^ ]* \([a-z0-9-]*\).*/\1/p' "$work/lintian.txt" | sort -u); do
  grep -q -- "$tag" "$repo/README.md" || fail "lintian warning $tag is not explained in README.md"
done
desktop-file-validate "$stage/usr/share/applications/kettlemoor.desktop"
appstreamcli validate --no-net "$stage"/usr/share/metainfo/*.metainfo.xml >"$work/appstream.txt" ||
  fail "AppStream metadata: $(cat "$work/appstream.txt")"
pngcheck -q "$stage"/usr/share/icons/hicolor/*/apps/kettlemoor.png

step "installed"
if ! id -u "$player" >/dev/null 2>&1 && [ "$(id -u)" -eq 0 ]; then
  useradd --no-create-home --shell /usr/sbin/nologin "$player"
  made_player=1
fi
as_root dpkg -i "$package" >/dev/null
home="$work/player home"
player_folder "$home"
folder="$home/.local/share/kettlemoor"
[ "$(as_player HOME="$home" kettlemoor -version)" = "Kettlemoor version 0.0.1" ] ||
  fail "kettlemoor -version does not print the version line"
[ -f "$folder/data/config.cfg" ] && [ ! -L "$folder/data/config.cfg" ] ||
  fail "the player's folder holds no settings of its own"
[ -f "$folder/data/maps/map01.map" ] && [ ! -L "$folder/data/maps/map01.map" ] ||
  fail "the player's folder holds no level of its own"
[ "$(readlink "$folder/data/gfx")" = "$shipped/data/gfx" ] &&
  [ "$(readlink "$folder/data/maps/default.col")" = "$shipped/data/maps/default.col" ] ||
  fail "the images and masks are not reached through links"

step "a second run changes nothing, and arguments reach the game"
before=$(snapshot "$folder")
as_player HOME="$home" kettlemoor -help | grep -q -- '-h or -help' || fail "kettlemoor -help"
[ "$before" = "$(snapshot "$folder")" ] || fail "a second run changed the player's folder"

step "a headless session through the launcher reaches the menu and exits"
cd "$home"
printf '%s\n' '# front end script' '400 tap OK' '410 tap UP' '420 tap OK' >"$home/menu and exit.replay"
as_player HOME="$home" SDL_VIDEODRIVER=dummy kettlemoor-replay --front-end --trace "trace.txt" "menu and exit.replay" >/dev/null
grep -q ' page=0 ' "$home/trace.txt" || fail "the session never reached the menu"
[ "$(tail -n 1 "$home/trace.txt")" = "result=exit steps=420" ] || fail "the session did not end by Exit"
# The game itself, in no window, ends cleanly on SIGTERM.
"${player_env[@]}" HOME="$home" SDL_VIDEODRIVER=dummy kettlemoor >/dev/null 2>"$work/game.err" &
game=$!
sleep 1
kill -TERM "$game"
wait "$game" || fail "the game did not end cleanly on SIGTERM"
game=""
[ ! -s "$work/game.err" ] || fail "the game complained: $(cat "$work/game.err")"

step "an edit lands in the player's folder; /usr/share stays as shipped"
printf '%s\n' '# editor script' '1 tap JUMP' '3 tap RIGHT' '5 tap JUMP' '7 tap OK' >"$home/edit.replay"
as_player HOME="$home" SDL_VIDEODRIVER=dummy kettlemoor-replay --editor -map data/maps/map01.map edit.replay >/dev/null
! cmp -s "$folder/data/maps/map01.map" "$shipped/data/maps/map01.map" || fail "the edit was not saved"
[ -z "$(dpkg --verify kettlemoor)" ] || fail "an installed file changed"
# The player remaps JUMP to C: the settings are theirs from now on.
as_player HOME="$home" sed -i 's/^K_JUMP .*/K_JUMP 99/' "$folder/data/config.cfg"
as_player HOME="$home" cp "$folder/data/config.cfg" "$folder/data/maps/map01.map" "$home/"
kept_player_files() {
  cmp -s "$folder/data/maps/map01.map" "$home/map01.map" && cmp -s "$folder/data/config.cfg" "$home/config.cfg"
}

step "reinstalled and upgraded, the player's changes stay"
as_root dpkg -i "$package" >/dev/null
as_player HOME="$home" kettlemoor -version >/dev/null
kept_player_files || fail "reinstalling changed the player's level or settings"
# The next version changes two levels and adds one; the player edited only
# the first.
upgrade=$work/upgrade
dpkg-deb -R "$package" "$upgrade"
sed -i 's/^Version: .*/Version: 99.0.0/' "$upgrade/DEBIAN/control"
for level in map01 map02; do echo "# revised" >>"$upgrade$shipped/data/maps/$level.map"; done
cp "$upgrade$shipped/data/maps/map03.map" "$upgrade$shipped/data/maps/map06.map"
write_data_manifest "$upgrade$shipped"
(cd "$upgrade" && find . -type f ! -path './DEBIAN/*' -printf '%P\0' | sort -z | xargs -0 md5sum) >"$upgrade/DEBIAN/md5sums"
dpkg-deb --root-owner-group --build "$upgrade" "$work/upgrade.deb" >/dev/null
as_root dpkg -i "$work/upgrade.deb" >/dev/null
as_player HOME="$home" kettlemoor -version >/dev/null
kept_player_files || fail "the upgrade changed the player's level or settings"
cmp -s "$folder/data/maps/map02.map" "$shipped/data/maps/map02.map" || fail "the upgrade's level did not replace the untouched one"
[ -f "$folder/data/maps/map06.map" ] || fail "the upgrade's new level did not arrive"
as_root dpkg -i "$package" >/dev/null

step "a home that cannot be written, or none; paths with spaces"
locked="$work/locked home"
player_folder "$locked"
chmod 555 "$locked"
cd "$locked"
as_player HOME="$locked" kettlemoor -version >"$work/out" 2>"$work/err"
grep -q "cannot write the player's folder" "$work/err" && grep -q '^Kettlemoor version' "$work/out" ||
  fail "an unwritable home is not handled"
as_player kettlemoor -version 2>"$work/err" | grep -q '^Kettlemoor version' &&
  grep -q "no HOME set" "$work/err" || fail "a start with no HOME is not handled"
cp "$home/menu and exit.replay" "$work/menu.replay"
as_player HOME="$locked" SDL_VIDEODRIVER=dummy kettlemoor-replay --front-end "$work/menu.replay" 2>/dev/null |
  grep -q '^result=exit' || fail "the game does not start from the shipped files"
cd "$home"
as_player HOME="$home" XDG_DATA_HOME="$home/my data" kettlemoor -map "menu and exit.replay" -version >"$work/out"
[ -f "$home/my data/kettlemoor/data/config.cfg" ] || fail "XDG_DATA_HOME with a space is not used"
grep -qxF "Loading map: $home/menu and exit.replay" "$work/out" || fail "a relative path is not taken from where the game was started"

step "the launcher's own time"
# The installed launcher, copied to start /bin/true in place of the game: its
# time less that of /bin/true alone is the launcher's own work, the shell's
# start included. Wall-clock time follows the machine's load, as each command
# the launcher starts costs about one start of /bin/true; the processor time
# spent (user and system, the commands it starts included) much less so.
mkdir -p "$work/programs"
ln -s /bin/true "$work/programs/kettlemoor"
sed "s|^programs=.*|programs='$work/programs'|" /usr/games/kettlemoor >"$work/launcher"
# Prints "WALL CPU": the median wall-clock time of 21 runs of the command and
# their mean processor time, in microseconds; each run in a fresh player's
# folder when FRESH is 1, all in one otherwise.
measure() {
  local fresh=$1 i start cpu=0 t seconds
  shift
  rm -rf "$work/timing"
  (
    for ((i = 0; i < 21; i++)); do
      start=${EPOCHREALTIME/./}
      env -i PATH=/usr/bin:/bin XDG_DATA_HOME="$work/timing/$((fresh * i))" "$@" >/dev/null
      echo $((${EPOCHREALTIME/./} - start)) >>"$work/walls"
    done
    times >"$work/times"
  )
  # The second line of `times`: the children's user and system time, as 0m0.123s.
  for t in $(tail -n 1 "$work/times"); do
    t=${t%s}
    seconds=${t#*m}
    cpu=$((cpu + ${t%%m*} * 60000000 + 10#${seconds/./} * 1000))
  done
  echo "$(sort -n "$work/walls" | sed -n 11p) $((cpu / 21))"
  rm -f "$work/walls"
}
ms() { printf '%d.%d ms' $(($1 / 1000)) $(($1 / 100 % 10)); }
read -r alone_wall alone_cpu < <(measure 0 /bin/true)
read -r first_wall first_cpu < <(measure 1 sh "$work/launcher")
read -r later_wall later_cpu < <(measure 0 sh "$work/launcher")
echo "launcher, first run: $(ms $((first_wall - alone_wall))), $(ms $((first_cpu - alone_cpu))) of processor time"
echo "launcher, later runs: $(ms $((later_wall - alone_wall))), $(ms $((later_cpu - alone_cpu))) of processor time"
echo "one start of /bin/true: $(ms "$alone_wall"), $(ms "$alone_cpu") of processor time"
printf 'package: %s, %d bytes, %s KiB installed\n' "$package" "$(stat -c %s "$package")" \
  "$(dpkg-deb -f "$package" Installed-Size)"

step "removed: everything installed goes, the player's files stay"
dpkg-deb --fsys-tarfile "$package" | tar -t | sed 's|^\./|/|' >"$work/installed"
as_root dpkg -r kettlemoor >/dev/null
while read -r path; do
  [ "$path" = / ] || [ ! -e "$path" ] || [ -d "$path" ] || fail "$path is left after dpkg -r"
done <"$work/installed"
for dir in /usr/games/kettlemoor "$shipped" /usr/lib/games/kettlemoor; do
  [ ! -e "$dir" ] || fail "$dir is left after dpkg -r"
done
kept_player_files || fail "dpkg -r touched the player's files"
echo "package test passed"
