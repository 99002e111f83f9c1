#!/usr/bin/env bash
# Builds the Debian package build-package/kettlemoor_VERSION_ARCH.deb: the
# game built with Debian's hardening flags, laid out by CMake's install rules
# (packaging/CMakeLists.txt), with the manual page, the changelog and the
# copyright notice added as Debian wants them, and wrapped by dpkg-deb.
# Prints the package's path last.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/lib.sh
bash scripts/setup.sh dpkg-dev

# Debian's compiler and linker flags, every hardening one included: fortified
# functions, stack protector, position-independent code, read-only
# relocations bound at start. CMake reads no CPPFLAGS, so they join CXXFLAGS.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cxx_flags="$(dpkg-buildflags --get CXXFLAGS) $(dpkg-buildflags --get CPPFLAGS)"

dir=build-package
configure_build "$dir" -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
  -DKETTLEMOOR_TESTS=OFF -DKETTLEMOOR_PACKAGE=ON \
  -DCMAKE_CXX_FLAGS="$cxx_flags" -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)"
build_targets "$dir" kettlemoor kettlemoor-replay kettlemoor-icons >"$dir/build.log" 2>&1 ||
  { tail -n 40 "$dir/build.log" >&2; exit 1; }

stage=$dir/stage
rm -rf "$stage"
DESTDIR=$stage cmake --install "$dir" >"$dir/install.log"
# Stripped as Debian strips: symbols and the compiler's notes go.
strip --strip-unneeded --remove-section=.comment --remove-section=.note \
  "$stage"/usr/lib/games/kettlemoor/*
games_data=$stage/usr/share/games/kettlemoor
write_data_manifest "$games_data"

docs=$stage/usr/share/doc/kettlemoor
man6=$stage/usr/share/man/man6
mkdir -p "$docs" "$man6"
install -m 644 packaging/copyright "$docs/copyright"
gzip -9n <packaging/changelog >"$docs/changelog.gz"
gzip -9n <packaging/kettlemoor.6 >"$man6/kettlemoor.6.gz"
ln -sf kettlemoor.6.gz "$man6/kettlemoor-replay.6.gz"
chmod 644 "$docs/changelog.gz" "$man6/kettlemoor.6.gz"

# The package's version is the one the game prints.
version=$("$dir/kettlemoor" -version | sed -n 's/^Kettlemoor version //p')
arch=$(dpkg --print-architecture)

# The libraries the two programs load, as Debian names their packages.
mkdir -p "$dir/shlibs/debian"
printf 'Source: kettlemoor\n\nPackage: kettlemoor\nArchitecture: any\n' >"$dir/shlibs/debian/control"
programs=$(realpath "$stage/usr/lib/games/kettlemoor")
depends=$(cd "$dir/shlibs" && dpkg-shlibdeps -O -e"$programs/kettlemoor" -e"$programs/kettlemoor-replay" 2>/dev/null |
  sed -n 's/^shlibs:Depends=//p')
[ -n "$depends" ] || { echo "dpkg-shlibdeps named no libraries" >&2; exit 1; }

mkdir -p "$stage/DEBIAN"
(cd "$stage" && find . -type f ! -path './DEBIAN/*' -printf '%P\0' | sort -z | xargs -0 md5sum) >"$stage/DEBIAN/md5sums"
cat >"$stage/DEBIAN/control" <<CONTROL
Package: kettlemoor
Version: $version
Architecture: $arch
Maintainer: Kettlemoor developers <kettlemoor@example.org>
Installed-Size: $(du -sk --exclude=DEBIAN "$stage" | cut -f1)
Depends: $depends
Section: games
Priority: optional
Description: side-scrolling platform game with a level editor
 A monkey walks, jumps, wall-jumps and swims through levels of tiles, stuns
 creatures by landing on them, picks them up and throws them to knock others
 out, takes the key and reaches the exit door. Five levels make one
 campaign, and the built-in editor changes them or builds new ones.
 .
 Each player's settings, levels and progress are kept in their own folder,
 ~/.local/share/kettlemoor, which the kettlemoor command fills on its first
 start.
CONTROL
chmod 644 "$stage/DEBIAN/control" "$stage/DEBIAN/md5sums"

package=$dir/kettlemoor_${version}_${arch}.deb
dpkg-deb --root-owner-group -Zxz --build "$stage" "$package" >/dev/null
echo "$package"
