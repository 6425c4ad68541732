#!/usr/bin/env bash
# Builds the game for the browser with Debian's Emscripten into a folder of static files.
#
#   tools/web_build.sh SITE_DIR BUILD_DIR
#
# zlib and libpng (which decodes the images) are built with emcc from Debian's own source packages
# into WEB_CACHE (outside the clone, kept between builds: a library already there is not built
# again), in a folder for the Debian release they come from; Emscripten brings SDL 1.2 itself. The
# page is SITE_DIR (CMake builds in BUILD_DIR): index.html, cairnfold.js, cairnfold.wasm and cairnfold.data (Media/ and
# settings.ini). Packages are installed by `make web`.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
SITE=${1:?usage: web_build.sh SITE_DIR BUILD_DIR}
BUILD=${2:?usage: web_build.sh SITE_DIR BUILD_DIR}
RELEASE=$(. /etc/os-release && echo "$VERSION_CODENAME")
CACHE=${WEB_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/cairnfold/web}/$RELEASE
JOBS=${JOBS:-2}
PREFIX=$CACHE/prefix
SOURCES=$CACHE/sources
SUDO=$([ "$(id -u)" = 0 ] || echo sudo)
# Debian's emcc runs under whichever node is first on PATH; one that is not Debian's does not look
# where Debian keeps the modules emcc needs (acorn).
export NODE_PATH=/usr/share/nodejs
mkdir -p "$PREFIX" "$SOURCES" "$BUILD"

. "$ROOT/tools/debian_sources.sh"

Build_zlib() {
  emconfigure ./configure --static --prefix="$PREFIX"
  emmake make -j"$JOBS" libz.a && make install
}

Build_libpng1.6() {
  emconfigure ./configure -q --host=wasm32-unknown-emscripten --prefix="$PREFIX" --disable-shared \
    CPPFLAGS="-I$PREFIX/include" LDFLAGS="-L$PREFIX/lib"
  emmake make -j"$JOBS" libpng16.la && emmake make install-libLTLIBRARIES install-nodist_pkgincludeHEADERS \
    install-pkgincludeHEADERS install-header-links
}

for library in zlib libpng1.6; do [ -e "$PREFIX/.built-$library" ] || FetchSource $library >/dev/null; done
for library in zlib libpng1.6; do
  [ -e "$PREFIX/.built-$library" ] && continue
  echo "web_build.sh: building $library with emcc into $PREFIX" >&2
  src=$(FetchSource $library)
  (cd "$src" && "Build_$library")
  touch "$PREFIX/.built-$library"
done

if [ -e "$BUILD/CMakeCache.txt" ] && ! grep -qF "PNG_INCLUDE_DIR:PATH=$PREFIX/" "$BUILD/CMakeCache.txt"; then
  rm "$BUILD/CMakeCache.txt"
fi
emcmake cmake -S "$ROOT" -B "$BUILD" -DCAIRNFOLD_WEB_PREFIX="$PREFIX" -DCMAKE_BUILD_TYPE=Release \
  -DCAIRNFOLD_TESTS=OFF -DCAIRNFOLD_BENCH=OFF -DCAIRNFOLD_TOOLS=OFF >/dev/null
cmake --build "$BUILD" --target cairnfold -j"$JOBS"

# The folder a web server serves: the page, the program and its data, the licences where the
# repository has them.
rm -rf "$SITE" && mkdir -p "$SITE"
cp "$BUILD/cairnfold.js" "$BUILD/cairnfold.wasm" "$BUILD/cairnfold.data" "$SITE/"
cp "$ROOT/tools/web_index.html" "$SITE/index.html"
for notice in LICENSE THIRD-PARTY.md; do [ -e "$ROOT/$notice" ] && cp "$ROOT/$notice" "$SITE/"; done
echo "web_build.sh: $SITE ($(du -sk "$SITE" | cut -f1) KB)" >&2
