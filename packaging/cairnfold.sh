#!/bin/sh
# Starts the installed Cairnfold from any folder. The game reads Media/, Saves/ and settings.ini from
# its working directory, so each player gets a folder of their own, $XDG_DATA_HOME/cairnfold
# (~/.local/share/cairnfold when unset), made on the first start: Saves/, a copy of the default
# settings.ini the player may edit, and Media pointing at the installed data. The game then runs
# there, in this process, so its exit status is the launcher's.
# When the folder cannot be made or written: one line on standard error and status 5.
set -u
DATA=/usr/share/games/cairnfold
PROGRAM=/usr/lib/games/cairnfold/cairnfold
NO_FOLDER=5

# $1 what could not be done, $2 the message of the command that failed, whose last part is the reason.
fail() {
    echo "cairnfold: cannot $1: ${2##*: }" >&2
    exit "$NO_FOLDER"
}

# Only an absolute XDG_DATA_HOME counts; a relative one is ignored, as the XDG base directories say.
case ${XDG_DATA_HOME:-} in
    /*) base=$XDG_DATA_HOME ;;
    *) base=${HOME:-}/.local/share
       [ -n "${HOME:-}" ] || fail "make a folder for the saves" "neither XDG_DATA_HOME nor HOME is set" ;;
esac
folder=$base/cairnfold

error=$(mkdir -p "$folder/Saves" 2>&1) || fail "make $folder/Saves" "$error"
# Saves are written as a new file renamed over the old one: the folder itself must take new files.
probe=$(mktemp "$folder/Saves/.write-test.XXXXXX" 2>&1) || fail "write in $folder/Saves" "$probe"
rm -f "$probe"
if [ ! -e "$folder/settings.ini" ]; then
    error=$(cp "$DATA/settings.ini" "$folder/settings.ini" 2>&1) || fail "write $folder/settings.ini" "$error"
fi
# A Media the player made a real folder of is theirs; a link is made to point at this installation.
if [ ! -d "$folder/Media" ] || [ -L "$folder/Media" ]; then
    if [ "$(readlink "$folder/Media")" != "$DATA/Media" ]; then
        error=$(ln -sfn "$DATA/Media" "$folder/Media" 2>&1) || fail "link $folder/Media" "$error"
    fi
fi
cd "$folder" 2>/dev/null || fail "enter $folder" "not reachable"
exec "$PROGRAM"
