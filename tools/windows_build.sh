#!/usr/bin/env bash
# Cross-builds the game for 64-bit Windows with MinGW-w64 and packs cairnfold-windows-x86_64.zip, its
# licences (LICENSE.txt, THIRD-PARTY.txt with the Debian packages it took) inside.
#
#   tools/windows_build.sh BUILD_DIR [--tests]
#
# The libraries the game needs (zlib, libpng, SDL 1.2; libpng decodes the images) are built from
# Debian's own source packages into WINDOWS_CACHE (outside the clone, kept between builds: a library
# already there is not built again), in a folder for the Debian release they come from. SDL 1.2 is
# Debian 12's libsdl1.2; where the sources hold none (Debian 13), sdl12-compat over libsdl2. With
# --tests the GoogleTest suite is cross-built too, from Debian's googletest sources, to run under
# Wine. Packages are installed by `make windows`.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=${1:?usage: windows_build.sh BUILD_DIR [--tests]}
TESTS=OFF
[ "${2:-}" = --tests ] && TESTS=ON
RELEASE=$(. /etc/os-release && echo "$VERSION_CODENAME")
CACHE=${WINDOWS_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/cairnfold/windows-x86_64}/$RELEASE
JOBS=${JOBS:-2}
HOST=x86_64-w64-mingw32
PREFIX=$CACHE/prefix
SOURCES=$CACHE/sources
SUDO=$([ "$(id -u)" = 0 ] || echo sudo)
mkdir -p "$PREFIX" "$SOURCES" "$BUILD"
export PATH="$PREFIX/bin:$PATH" CC=$HOST-gcc-posix CXX=$HOST-g++-posix
export PKG_CONFIG_LIBDIR=$PREFIX/lib/pkgconfig PKG_CONFIG_PATH=
# The test programs are listed through Wine as they are built; its prefix lives in the cache too.
export WINEPREFIX=$CACHE/wineprefix WINEDEBUG=-all

. "$ROOT/tools/debian_sources.sh"

# Prints the source packages that give SDL 1.2: Debian 12's own SDL 1.2, or, where the sources have
# none (Debian 13), sdl12-compat, SDL 1.2's interface over SDL 2, built over libsdl2. The libraries
# already built say it without asking apt.
SdlLibraries() {
  if [ -e "$PREFIX/.built-libsdl1.2" ]; then echo libsdl1.2; return; fi
  if [ -e "$PREFIX/.built-sdl12-compat" ]; then echo libsdl2 sdl12-compat; return; fi
  EnsureSourceEntries
  local try
  for try in 1 2; do
    if [ -n "$(apt-cache showsrc --only-source libsdl1.2 2>/dev/null)" ]; then echo libsdl1.2; return; fi
    if [ -n "$(apt-cache showsrc --only-source sdl12-compat 2>/dev/null)" ]; then echo libsdl2 sdl12-compat; return; fi
    # Neither is known: the source lists were never fetched.
    [ $try = 1 ] && $SUDO env DEBIAN_FRONTEND=noninteractive apt-get update >&2
  done
  echo "windows_build.sh: apt knows the sources of neither libsdl1.2 nor sdl12-compat" >&2
  return 1
}

# Builds a library unless its stamp says it is in PREFIX already.
BuildLibrary() {
  local name=$1
  [ -e "$PREFIX/.built-$name" ] && return
  echo "windows_build.sh: building $name for $HOST into $PREFIX" >&2
  local src
  src=$(FetchSource "$name")
  (cd "$src" && "Build_$name" "$src")
  touch "$PREFIX/.built-$name"
}

# Debian's zlib source leaves out win32/; its configure builds the static library for MinGW.
Build_zlib() {
  CHOST=$HOST ./configure --static --prefix="$PREFIX"
  make -j"$JOBS" libz.a && make install
}

# libpng and zlib are linked into the game; SDL stays a DLL.
Build_libpng1.6() {
  ./configure -q --host=$HOST --prefix="$PREFIX" --disable-shared CPPFLAGS="-I$PREFIX/include" LDFLAGS="-L$PREFIX/lib"
  make -j"$JOBS" && make install
}

# No DirectX (the GDI driver "windib" serves an OpenGL window) and standard output and error left
# where the caller put them, rather than in files beside the program.
Build_libsdl1.2() {
  ./configure -q --host=$HOST --prefix="$PREFIX" --disable-directx --disable-stdio-redirect --disable-static
  make -j"$JOBS" && make install
}

# SDL 2 as the DLL that sdl12-compat loads; its Windows video driver opens the OpenGL window. The
# DLL is stripped of its debugging symbols (16 MB of them).
Build_libsdl2() {
  ./configure -q --host=$HOST --prefix="$PREFIX" --disable-static
  make -j"$JOBS" && make install && $HOST-strip --strip-debug "$PREFIX/bin/SDL2.dll"
}

# SDL.dll with SDL 1.2's interface, which loads SDL2.dll when SDL starts, its headers and SDLmain;
# standard output and error left where the caller put them, as with SDL 1.2 above.
Build_sdl12-compat() {
  cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE="$ROOT/tools/windows_toolchain.cmake" \
    -DCAIRNFOLD_WINDOWS_PREFIX="$PREFIX" -DCMAKE_INSTALL_PREFIX="$PREFIX" -DCMAKE_BUILD_TYPE=Release \
    -DSDL2_INCLUDE_DIR="$PREFIX/include/SDL2" -DSDL12TESTS=OFF -DCMAKE_C_FLAGS=-DNO_STDIO_REDIRECT
  cmake --build build-windows -j"$JOBS" && cmake --install build-windows
}

# Copies into $2 every DLL that $1 loads, and those they load, found among the libraries built here
# and MinGW's runtime; the rest (kernel32, opengl32, ...) are Windows' own.
DLL_FOLDERS="$PREFIX/bin $(dirname "$($CXX -print-libgcc-file-name)") /usr/$HOST/lib"
CopyDlls() {
  local dll folder
  for dll in $($HOST-objdump -p "$1" | sed -n 's/^[[:space:]]*DLL Name: //p'); do
    [ -e "$2/$dll" ] && continue
    for folder in $DLL_FOLDERS; do
      if [ -e "$folder/$dll" ]; then
        cp "$folder/$dll" "$2/"
        CopyDlls "$2/$dll" "$2"
        break
      fi
    done
  done
}

# The SDL DLLs and what they import, into folder $1. sdl12-compat's SDL.dll loads SDL2.dll rather
# than importing it, so that one is named here.
CopySdl() {
  local dll
  for dll in SDL.dll SDL2.dll; do
    [ -e "$PREFIX/bin/$dll" ] || continue
    cp "$PREFIX/bin/$dll" "$1/"
    CopyDlls "$1/$dll" "$1"
  done
}

# Prints "package version copyright-file", one line for each Debian package whose work the zip holds:
# the source packages built here (the version from the unpacked tree's changelog), then the
# installed packages of the runtimes linked into the program (GCC's libstdc++ and libgcc, MinGW-w64's
# start-up code and winpthreads), by source package.
TakenPackages() {
  local library src file package
  for library in $LIBRARIES; do
    src=$(FetchSource $library)
    echo "$library $(dpkg-parsechangelog -l "$src/debian/changelog" -SVersion) $src/debian/copyright"
  done
  for file in "$($CXX -print-file-name=libstdc++.a)" "$($CXX -print-libgcc-file-name)" /usr/$HOST/lib/crt2.o \
              /usr/$HOST/lib/libwinpthread.a; do
    package=$(dpkg -S "$(realpath "$file")" | sed 's/: .*//')
    echo "$(dpkg-query -W -f='${source:Package} ${source:Version}' "$package") /usr/share/doc/$package/copyright"
  done | awk '!seen[$1]++'
}

# THIRD-PARTY.md names the version of every package a build takes, in its table of versions: one it
# does not name stops the build, before a zip ships notices that do not say what it holds.
CheckNotices() {
  local package version copyright missing=0
  while read -r package version copyright; do
    awk -F' *[|] *' -v release="$RELEASE" -v package="\`$package\`" -v version="\`$version\`" \
      '$2 == release && $3 ~ /Windows/ && $4 == package && $5 == version { found = 1 } END { exit !found }' \
      "$ROOT/THIRD-PARTY.md" && continue
    echo "windows_build.sh: THIRD-PARTY.md does not name $package $version, which this build takes: add the row" \
      "\"| $RELEASE | Windows | \`$package\` | \`$version\` |\" to its versions, and check its notices still hold" >&2
    missing=1
  done
  return $missing
}

# The zip's THIRD-PARTY.txt: the packages this build took, THIRD-PARTY.md, then Debian's copyright
# file of each of those packages (every file's holders and licence); $1 is TakenPackages' output.
WriteNotices() {
  local package version copyright
  echo "Third-party notices of this zip"
  echo "==============================="
  echo
  echo "This zip was built on Debian $(. /etc/os-release && echo "$VERSION_ID ($VERSION_CODENAME)") from these Debian packages"
  echo "(source package and version):"
  echo
  echo "$1" | while read -r package version copyright; do echo "    $package $version"; done
  echo
  echo "Below: the notices of every Cairnfold build (THIRD-PARTY.md in its repository), then Debian's"
  echo "copyright file of each package above."
  echo
  cat "$ROOT/THIRD-PARTY.md"
  echo "$1" | while read -r package version copyright; do
    printf '\n\n# The copyright file of %s %s, as Debian gives it\n\n' "$package" "$version"
    cat "$copyright"
  done
}

LIBRARIES="zlib libpng1.6 $(SdlLibraries)"
# Every source is fetched before anything is built, so that one that cannot be fetched stops the
# build at once.
for library in $LIBRARIES; do [ -e "$PREFIX/.built-$library" ] || FetchSource $library >/dev/null; done
for library in $LIBRARIES; do BuildLibrary $library; done
TAKEN=$(TakenPackages)
echo "$TAKEN" | CheckNotices

# The cross-built tests find the SDL DLLs beside them when Wine runs them.
[ $TESTS = ON ] && mkdir -p "$BUILD/tests" && CopySdl "$BUILD/tests"
# A build folder configured against the libraries of another folder (another release's cache, or
# the cache's earlier layout) keeps their paths in its CMake cache, where CMake never looks again:
# it is configured afresh.
if [ -e "$BUILD/CMakeCache.txt" ] && ! grep -qF "SDL_INCLUDE_DIR:PATH=$PREFIX/" "$BUILD/CMakeCache.txt"; then
  rm "$BUILD/CMakeCache.txt"
fi
cmake -S "$ROOT" -B "$BUILD" -DCMAKE_TOOLCHAIN_FILE="$ROOT/tools/windows_toolchain.cmake" \
  -DCAIRNFOLD_WINDOWS_PREFIX="$PREFIX" -DCMAKE_BUILD_TYPE=Release -DCAIRNFOLD_TESTS=$TESTS \
  -DCAIRNFOLD_BENCH=OFF -DCAIRNFOLD_TOOLS=OFF
cmake --build "$BUILD" -j"$JOBS"

# The zip: one folder holding the program, every DLL it loads that Windows does not have, the
# game's data, an empty Saves/, the players' README.txt and the licences, the text files with
# Windows' line ends.
PACK=$BUILD/pack/Cairnfold
rm -rf "$BUILD/pack" && mkdir -p "$PACK/Saves"
cp "$BUILD/cairnfold.exe" "$PACK/"
cp -r "$ROOT/Media" "$ROOT/settings.ini" "$PACK/"
cp "$ROOT/tools/windows_readme.txt" "$PACK/README.txt"
cp "$ROOT/LICENSE" "$PACK/LICENSE.txt"
WriteNotices "$TAKEN" >"$PACK/THIRD-PARTY.txt"
sed -i 's/\r*$/\r/' "$PACK/README.txt" "$PACK/LICENSE.txt" "$PACK/THIRD-PARTY.txt"
CopySdl "$PACK"
CopyDlls "$PACK/cairnfold.exe" "$PACK"
rm -f "$BUILD/cairnfold-windows-x86_64.zip"
(cd "$BUILD/pack" && zip -qr -X "$BUILD/cairnfold-windows-x86_64.zip" Cairnfold)
echo "windows_build.sh: $BUILD/cairnfold-windows-x86_64.zip" >&2
