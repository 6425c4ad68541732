#!/bin/sh
# The Debian package as a player meets it: installed, played by an ordinary user from a fresh home,
# upgraded, played again, removed. Runs as root under Xvfb in a system of its own (make test-deb).
#   tests/package_test.sh PACKAGE.deb
set -eu
deb=$(realpath "$1") support=$(dirname "$(realpath "$0")")/support
dir=$(mktemp -d) && chmod 755 "$dir"
home=$dir/home folder=$dir/home/.local/share/cairnfold game=
trap 'set +e; kill $game 2>/dev/null; userdel player 2>/dev/null; rm -rf "$dir"' EXIT
apt() { env DEBIAN_FRONTEND=noninteractive apt-get -y "$@"; }
fail() { echo "package_test.sh: $*" >&2; exit 1; }
apt install "$deb"
# The copyright file in Debian's machine-readable format, parsed strictly by python3-debian: the
# project's files under the Expat licence in LICENSE's words, the interface image under the font's too.
python3 - /usr/share/doc/cairnfold/copyright "$(dirname "$support")/../LICENSE" <<'EOF' || fail "the copyright file"
import sys
from debian.copyright import Copyright
with open(sys.argv[1]) as f: copyright = Copyright(f, strict=True)
files = [(p.files, p.license.synopsis) for p in copyright.all_files_paragraphs()]
assert files == [(("*",), "Expat"), (("Media/dashboard.png",), "Expat and bitstream-vera")], files
assert "2003 Bitstream, Inc." in copyright.find_files_paragraph("Media/dashboard.png").copyright
texts = {p.license.synopsis: p.license.text for p in copyright.all_license_paragraphs()}
with open(sys.argv[2]) as f: expat = f.read().split("\n\n", 2)[2]
assert sorted(texts) == ["Expat", "bitstream-vera"], sorted(texts)
assert texts["Expat"].strip() == expat.strip(), texts["Expat"]
EOF
desktop-file-validate /usr/share/applications/cairnfold.desktop
for side in 48 256; do   # each icon a PNG of its size (IHDR: width and height, 32 bits big-endian)
    header=$(od -An -tu1 -j16 -N8 /usr/share/icons/hicolor/${side}x$side/apps/cairnfold.png | xargs)
    [ "$header" = "$(echo 0 0 $((side / 256)) $((side % 256)) | sed 's/.*/& &/')" ] || fail "the $side icon: $header"
done
useradd player
mkdir "$home" && chown player: "$home" && cd "$home"
player="setpriv --reuid=player --regid=player --init-groups env -i HOME=$home PATH=/usr/games:/usr/bin:/bin
        DISPLAY=$DISPLAY MESA_SHADER_CACHE_DISABLE=true"
saved() { [ "$(ls "$folder/Saves")" = "$(printf 'coresave.dat\nworldgrid.dat')" ] || fail "Saves/ holds $(ls "$folder/Saves")"; }
# One start, driven as the game's own process tests drive it (tests/support/game_input.sh): once
# the window shows, key 8 with the keys given held, until a save holds a view distance of 9 (the
# game's 10, less key 1 of the first start) and the world file too was written anew; SIGTERM, status 0.
play() {
    set +e  # the waits fail and retry by design
    $player cairnfold & game=$!
    timeout 60 xdotool search --sync --onlyvisible --name Cairnfold >/dev/null || fail "no window"
    pid=$game && cd "$folder" && . "$support/game_input.sh"
    upto 60 [ -e Saves/worldgrid.dat ] || fail "no world file"
    world=$(stat -c %i Saves/worldgrid.dat)
    [ $# = 0 ] || xdotool keydown "$1"
    save_until eval '[ "$(field 4 1 d4)" = 9 ]'
    [ $# = 0 ] || xdotool keyup "$1"
    [ "$(stat -c %i Saves/worldgrid.dat)" != "$world" ] || fail "key 8 did not write the world"
    cd "$home" && kill -TERM $game && wait $game || fail "SIGTERM ended the game with status $?"
    set -e
}
play 1
ls -lAR --time-style=+ "$folder" && saved
cmp "$folder/settings.ini" /usr/share/games/cairnfold/settings.ini || fail "settings.ini is not the default"
[ "$(readlink "$folder/Media")" = /usr/share/games/cairnfold/Media ] || fail "Media does not point at the game's"
# A newer package over it (the same files, a later version), then a start that resumes: a new game
# would have written the game's view distance, 10.
dpkg-deb -R "$deb" "$dir/newer" && sed -i 's/^Version: .*/&+1/' "$dir/newer/DEBIAN/control" &&
    dpkg-deb --root-owner-group -b "$dir/newer" "$dir/newer.deb" && apt install "$dir/newer.deb" || fail "no upgrade"
play
# A folder the player may not make, and one whose Saves/ they may not write: one line and status 5.
mkdir -p locked readonly/cairnfold/Saves && chmod 555 locked readonly/cairnfold/Saves
for case in "locked:make $home/locked/cairnfold/Saves" "readonly:write in $home/readonly/cairnfold/Saves"; do
    status=0 && error=$($player XDG_DATA_HOME="$home/${case%%:*}" cairnfold 2>&1) || status=$?
    [ "$status $error" = "5 cairnfold: cannot ${case#*:}: Permission denied" ] || fail "${case%%:*}: $status $error"
done
apt remove cairnfold && [ ! -e /usr/games/cairnfold ] || fail "the launcher stayed"
saved
