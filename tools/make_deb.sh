#!/bin/sh
# Builds the Debian package cairnfold_<version>_<architecture>.deb with Debian's own tools, in the
# layout of Debian's games, and checks it with lintian (every tag shown, the pedantic and
# experimental ones too; any error or warning fails the build).
#   tools/make_deb.sh BUILD_FOLDER
# The game and the asset generator are built in BUILD_FOLDER with Debian's build flags
# (dpkg-buildflags: hardening and all); the package is put together in BUILD_FOLDER/package, the way
# dpkg-shlibdeps and dpkg-gencontrol expect a source tree, and written into BUILD_FOLDER.
set -eu
repo=$(cd "$(dirname "$0")/.." && pwd)
build=$(realpath -m "$1")
packaging=$repo/packaging

# The version is the game's one version number, the SAVE_VERSION its saves begin with.
version=$(sed -n 's/^constexpr float SAVE_VERSION = \([0-9][0-9.]*\)f;.*/\1/p' "$repo/src/world/saves.h")
[ -n "$version" ] || { echo "make_deb.sh: no SAVE_VERSION in src/world/saves.h" >&2; exit 1; }

eval "$(dpkg-buildflags --export=sh)"
export CXXFLAGS="$CXXFLAGS $CPPFLAGS"
cmake -S "$repo" -B "$build" -DCMAKE_BUILD_TYPE=Release -DCAIRNFOLD_TESTS=OFF -DCAIRNFOLD_BENCH=OFF
cmake --build "$build" --target cairnfold make_assets -j"${JOBS:-2}"

umask 022
tree=$build/package
root=$tree/debian/cairnfold
rm -rf "$tree"
mkdir -p "$root/DEBIAN"
cd "$root"
install -d usr/games usr/lib/games/cairnfold usr/share/games/cairnfold usr/share/applications \
    usr/share/man/man6 usr/share/doc/cairnfold usr/share/icons/hicolor
install -m 755 "$packaging/cairnfold.sh" usr/games/cairnfold
install -m 755 "$build/cairnfold" usr/lib/games/cairnfold/cairnfold
strip --remove-section=.comment --remove-section=.note usr/lib/games/cairnfold/cairnfold
cp -R "$repo/Media" usr/share/games/cairnfold/Media
install -m 644 "$repo/settings.ini" usr/share/games/cairnfold/settings.ini
install -m 644 "$packaging/cairnfold.desktop" usr/share/applications/cairnfold.desktop
"$build/tools/make_assets" --icons usr/share/icons/hicolor >/dev/null
install -m 644 "$packaging/copyright" usr/share/doc/cairnfold/copyright
# The changelog and the manual page name the version where they say @VERSION@.
sed "s/@VERSION@/$version/g" "$packaging/changelog" >"$tree/debian/changelog"
gzip -9n <"$tree/debian/changelog" >usr/share/doc/cairnfold/changelog.gz
sed "s/@VERSION@/$version/g" "$packaging/cairnfold.6" | gzip -9n >usr/share/man/man6/cairnfold.6.gz
find usr -type f -print | LC_ALL=C sort | xargs md5sum >DEBIAN/md5sums
chmod 644 DEBIAN/md5sums

# Depends from the libraries the program links, Installed-Size from the tree, Version from the changelog.
cd "$tree"
cp "$packaging/control" debian/control
dpkg-shlibdeps -e debian/cairnfold/usr/lib/games/cairnfold/cairnfold
dpkg-gencontrol -pcairnfold -Pdebian/cairnfold
# Every file dated by the changelog, so the same tree gives the same package.
SOURCE_DATE_EPOCH=$(dpkg-parsechangelog -STimestamp) dpkg-deb --root-owner-group --build debian/cairnfold "$build"
deb=$build/cairnfold_${version}_$(dpkg --print-architecture).deb
echo "make_deb.sh: $deb"
lintian --fail-on error,warning --info --pedantic --display-experimental "$deb"
