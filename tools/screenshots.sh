#!/usr/bin/env bash
# Takes the README's screenshots from the running game in a private Xvfb: the
# world a first start makes under a fixed clock (so always the same world),
# the room level with the minimap and the heads-up line, the pause menu, a
# bridge and the cave. Usage: tools/screenshots.sh BUILD_DIR (make screenshots).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(readlink -f "$1")
dir=$(mktemp -d /tmp/cairnfold-screens-XXXXXX)
trap 'rm -rf "$dir"' EXIT
cd "$dir"
mkdir Saves
ln -s "$root/Media" Media
printf 'screenw=800\nscreenh=600\n' > settings.ini

# Runs the game (after $1, a wrapper or nothing), lets it settle, and saves the
# window (wherever the platform puts it) as docs/$2.png; with "menu" as $3 it also shows the pause menu.
shoot() {
  "$root/tools/with_display.sh" bash -c '
    '"$1"' "'"$build"'/cairnfold" & pid=$!
    win=$(timeout 60 xdotool search --sync --onlyvisible --name Cairnfold | head -1)
    xdotool mousemove --window $win 400 300; sleep 4
    import -window $win "'"$root"'/docs/'"$2"'.png"
    if [ "'"${3:-}"'" = menu ]; then
      xdotool keydown Escape; sleep 0.2; xdotool keyup Escape; sleep 2
      import -window $win "'"$root"'/docs/menu.png"
    fi
    pkill -TERM -P $pid || kill -TERM $pid; wait $pid'
}
shoot "TZ=UTC faketime -f '@2024-12-05 21:05:07'" rooms menu
"$build/tools/stage_view" bridge && shoot "" bridge
"$build/tools/stage_view" cave && shoot "" cave
echo "screenshots: docs/rooms.png docs/menu.png docs/bridge.png docs/cave.png"
