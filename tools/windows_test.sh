#!/usr/bin/env bash
# The Windows build under Wine, on the X display this runs on (tools/with_display.sh gives one):
# the cross-built test suite with Wine as ctest's emulator, then the packed game played from a
# fresh unpacking of the zip, beside the Linux game under the same fixed clock.
#
#   tools/windows_test.sh WINDOWS_BUILD_DIR LINUX_BUILD_DIR
#
# The Wine prefix is kept in WINDOWS_CACHE, in the release's folder (made on first use, about 10 s). Exits 1 when any check fails.
set -uo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
WINDOWS_BUILD=$(cd "${1:?usage: windows_test.sh WINDOWS_BUILD_DIR LINUX_BUILD_DIR}" && pwd)
LINUX_GAME=$(cd "${2:?usage: windows_test.sh WINDOWS_BUILD_DIR LINUX_BUILD_DIR}" && pwd)/cairnfold
CACHE=${WINDOWS_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/cairnfold/windows-x86_64}/$(. /etc/os-release && echo "$VERSION_CODENAME")
export WINEPREFIX=$CACHE/wineprefix WINEDEBUG=-all
# The calendar clock stands still at a fixed moment, so both games seed their worlds alike however
# long Wine takes to start; the frame clock runs.
CLOCK=(env TZ=UTC FAKETIME='2024-12-05 21:05:07' FAKETIME_DONT_FAKE_MONOTONIC=1
       LD_PRELOAD=/usr/lib/x86_64-linux-gnu/faketime/libfaketime.so.1)
WORK=$(mktemp -d /tmp/cairnfold-windows-XXXXXX)
failures=0
Fail() { echo "windows_test.sh: FAILED: $*" >&2; failures=$((failures + 1)); }
Seconds() { date +%s.%N; }
Elapsed() { awk -v from="$1" -v to="$(Seconds)" 'BEGIN { printf "%.1f", to - from }'; }
Stop() {
  wineserver -k 2>/dev/null
  rm -rf "$WORK"
}
trap Stop EXIT

# Wine's own helper processes start with the prefix, their notices kept off the game's standard error.
# One Wine server serves the whole run (persistent until Stop ends it): a new server has Wine's
# start-up program, wineboot, run again by the first program it serves, and under the stood-still
# clock Wine 10's (Debian 13) dies dividing by zero, leaving the game without a window. So it runs
# here, once, on the real clock.
started=$(Seconds)
wineserver -p
wineboot >/dev/null 2>&1
echo "windows_test.sh: Wine prefix ready in $(Elapsed "$started") s"

started=$(Seconds)
(cd "$WINDOWS_BUILD" && ctest -j2 --timeout 300 --output-on-failure) || Fail "the test suite under Wine"
echo "windows_test.sh: test suite under Wine: $(Elapsed "$started") s"

# Plays the game in folder $1 ("linux" or "windows" in $2); $3 is shell run while it plays, and
# $4 how the game is asked to close. Sets STATUS and ERROR (standard error, line ends as on Linux).
Play() {
  # The game under Wine is started from another folder, as from a shortcut: it finds its files beside itself.
  local game=("$LINUX_GAME") folder=$1
  [ "$2" = windows ] && game=(wine "$1/cairnfold.exe") folder=$WORK
  (cd "$folder" && HOME="$WORK/home" MESA_SHADER_CACHE_DISABLE=true exec "${CLOCK[@]}" "${game[@]}" 2> "$1/err") &
  local pid=$!
  eval "$3"
  [ -n "${4:-}" ] && eval "$4"
  wait $pid
  STATUS=$?
  ERROR=$(tr -d '\r' < "$1/err")
}
WAIT_FOR_SAVES='for i in $(seq 600); do [ -e "$1/Saves/coresave.dat" ] && break; sleep 0.1; done; sleep 1;'
WAIT_FOR_WINDOW='timeout 60 xdotool search --sync --onlyvisible --name Cairnfold >/dev/null; sleep 2;'
# Key 8 held, with the pointer over the window and the keyboard given to it (Wine 10, Debian 13's,
# does not take the keyboard for a resumed game's window from the pointer alone), until the game has
# written the core file anew, however slowly it draws under load: as the Linux game's tests do it.
PRESS_8='(cd "$1" && . "$ROOT/tests/support/game_input.sh" && xdotool windowfocus --sync $win && save)'
CLOSE_LINUX='kill -TERM $pid'
CLOSE_WINDOWS='wine taskkill /im cairnfold.exe >/dev/null'
Identity() { stat -c '%i %s %Y' "$@"; }

started=$(Seconds)
mkdir -p "$WORK/home" "$WORK/linux/Saves" "$WORK/windows"
cp -r "$ROOT/Media" "$ROOT/settings.ini" "$WORK/linux/"
(cd "$WORK/windows" && unzip -q "$WINDOWS_BUILD/cairnfold-windows-x86_64.zip")
LIN=$WORK/linux WIN=$WORK/windows/Cairnfold

# The licences as the zip holds them: LICENSE.txt is LICENSE, THIRD-PARTY.txt names every DLL in the
# zip, README.txt names both, and all three have Windows' line ends.
for file in README.txt LICENSE.txt THIRD-PARTY.txt; do
  [ -s "$WIN/$file" ] && ! grep -qv $'\r$' "$WIN/$file" || Fail "$file is missing or has a line not ended by CR LF"
  [ $file = README.txt ] || grep -qF "$file" "$WIN/README.txt" || Fail "README.txt does not name $file"
done
tr -d '\r' <"$WIN/LICENSE.txt" | cmp -s - "$ROOT/LICENSE" || Fail "LICENSE.txt is not the repository's LICENSE"
dlls=$(find "$WIN" -iname '*.dll' -printf '%P\n')
[ -n "$dlls" ] || Fail "the zip holds no DLL"
for dll in $dlls; do
  grep -qF "\`$dll\`" "$WIN/THIRD-PARTY.txt" || Fail "THIRD-PARTY.txt does not name $dll"
done
echo "windows_test.sh: the notices name" $dlls

# First starts: the same world and new game, byte for byte.
Play "$LIN" linux "$WAIT_FOR_SAVES" "$CLOSE_LINUX"
[ $STATUS = 0 ] || Fail "the Linux game's first start ended with $STATUS: $ERROR"
Play "$WIN" windows "$WAIT_FOR_SAVES" "$CLOSE_WINDOWS"
[ $STATUS = 0 ] || Fail "the first start under Wine ended with $STATUS: $ERROR"
for file in worldgrid.dat coresave.dat; do
  cmp -s "$LIN/Saves/$file" "$WIN/Saves/$file" || Fail "the first $file differs from the Linux game's"
done
echo "windows_test.sh: first saves under Wine: $(sha256sum "$WIN/Saves/"*.dat | sed "s#$WIN/##" | tr '\n' ' ')"
mkdir "$WORK/first" && cp "$LIN/Saves/"*.dat "$WORK/first/"

# Key 8 replaces both files (nothing else rewrites the world file of a resumed game); the window
# closed ends the game with status 0.
before=$(Identity "$WIN/Saves/worldgrid.dat")
Play "$WIN" windows "$WAIT_FOR_WINDOW $PRESS_8" "$CLOSE_WINDOWS"
[ $STATUS = 0 ] || Fail "closing the window under Wine gave status $STATUS: $ERROR"
[ "$(Identity "$WIN/Saves/worldgrid.dat")" != "$before" ] || Fail "key 8 under Wine saved nothing"
[ "$(ls "$WIN/Saves")" = "$(printf 'coresave.dat\nworldgrid.dat')" ] || Fail "Saves/ under Wine holds $(ls "$WIN/Saves")"

# The save made under Wine resumes on Linux, and Linux's resumes under Wine: neither writes a file.
cp "$WIN/Saves/"*.dat "$LIN/Saves/"
before=$(Identity "$LIN/Saves/"*.dat)
Play "$LIN" linux "$WAIT_FOR_WINDOW" "$CLOSE_LINUX"
[ $STATUS = 0 ] && [ "$(Identity "$LIN/Saves/"*.dat)" = "$before" ] && [ "$(ls "$LIN/Saves" | wc -l)" = 2 ] ||
  Fail "the Linux game did not resume the save made under Wine (status $STATUS: $ERROR)"
cp "$WORK/first/"*.dat "$WIN/Saves/"
before=$(Identity "$WIN/Saves/"*.dat)
Play "$WIN" windows "$WAIT_FOR_WINDOW" "$CLOSE_WINDOWS"
[ $STATUS = 0 ] && [ "$(Identity "$WIN/Saves/"*.dat)" = "$before" ] && [ "$(ls "$WIN/Saves" | wc -l)" = 2 ] ||
  Fail "the game under Wine did not resume the Linux game's save (status $STATUS: $ERROR)"

# Started without Media/: the same one line and status as on Linux.
rm -r "$LIN/Media" "$WIN/Media"
Play "$LIN" linux ""
linuxStatus=$STATUS linuxError=$ERROR
Play "$WIN" windows ""
[ $STATUS = "$linuxStatus" ] && [ "$ERROR" = "$linuxError" ] && [ "$(echo "$ERROR" | wc -l)" = 1 ] ||
  Fail "without Media/ the game under Wine gave status $STATUS and \"$ERROR\", on Linux $linuxStatus and \"$linuxError\""
echo "windows_test.sh: the packed game played under Wine: $(Elapsed "$started") s"

[ $failures = 0 ] && echo "windows_test.sh: all passed" && exit 0
echo "windows_test.sh: $failures check(s) failed" >&2
exit 1
