#!/usr/bin/env bash
# A few seconds of play under valgrind memcheck in a private X server: a new world (walk, turn, jump,
# pause menu), then a resumed one whose player tools/stage_view put on a collectable, taken and saved
# in the first frame. Fails on an error or definite leak whose innermost frame past the allocator is
# in the game itself; those inside SDL, X, Mesa and the loader are only counted.
# Usage: tests/memcheck.sh build/cairnfold
set -euo pipefail
binary=$(readlink -f "$1")
root=$(cd "$(dirname "$0")/.." && pwd)
dir=$(mktemp -d /tmp/cairnfold-memcheck-XXXXXX)
trap 'rm -rf "$dir"' EXIT
cd "$dir"
mkdir Saves
cp -r "$root/Media" .
printf 'screenw=640\nscreenh=480\n' > settings.ini

hold() { xdotool keydown "$1"; sleep "$2"; xdotool keyup "$1"; sleep 0.5; }
export -f hold
# play INPUT: one run under valgrind (log memcheck.log, appended), INPUT sent once its window shows.
play() {
  "$root/tools/with_display.sh" bash -c '
    valgrind --leak-check=full --num-callers=30 --log-file=run.log "'"$binary"'" 2>> game.err & pid=$!
    timeout 180 xdotool search --sync --onlyvisible --name Cairnfold > /dev/null
    sleep 3; '"$1"'
    kill -TERM $pid; wait $pid; echo $? >> status'
  cat run.log >> memcheck.log
}
play 'hold w 2; hold a 1; hold space 0.5; xdotool mousemove 500 240; hold d 1
      hold Escape 0.3; sleep 1; hold Escape 0.3; sleep 1'
"$(dirname "$binary")/tools/stage_view" collectable > /dev/null
cp Saves/coresave.dat staged.dat
play 'sleep 2'
if cmp -s staged.dat Saves/coresave.dat; then
  echo "memcheck: the staged collectable was not taken" >&2
  exit 1
fi

# One record per error: its header line and the frames under it.
awk -v binary="$binary" '
  function flush() {
    if (header == "") return
    if (ours) { print "ours: " header; print frames; own++ } else { theirs++ }
    header = ""; frames = ""; ours = 0; decided = 0
  }
  /^==[0-9]+== (Invalid|Conditional|Use of uninitialised|Mismatched|Syscall param|[0-9,]+ .*definitely lost)/ {
    flush(); header = $0; next
  }
  /^==[0-9]+==    (at|by) / && header != "" {
    frames = frames "\n" $0
    if (!decided && $0 !~ /vgpreload_memcheck|operator new|malloc|calloc|realloc/) {
      decided = 1; ours = index($0, "(in " binary ")") > 0 || $0 ~ /\/src\/.*\.cpp:/
    }
    next
  }
  /^==[0-9]+== *$/ { flush() }
  END { flush(); printf "memcheck: %d findings in the game, %d inside system libraries\n", own, theirs; exit own > 0 }
' memcheck.log
status=$(tr '\n' ' ' < status)
if [ "$status" != "0 0 " ]; then
  echo "memcheck: the game ended with status $status" >&2
  cat game.err >&2
  exit 1
fi
