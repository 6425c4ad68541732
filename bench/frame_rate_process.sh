#!/usr/bin/env bash
# The real game's frames per second as a player meets them: the world a first start makes under a
# fixed clock, resumed at its start with the given window size and view distance; 30 frames let
# pass, then 200 timed (frame hold and buffer swap included). Each configuration RUNS times
# (default 3), the configurations taken in turn so that the machine's load falls on all alike;
# BUILD_DIRS is one build folder or several joined by commas (say an older build beside this one),
# each game measured in turn within every configuration.
# Usage: bench/frame_rate_process.sh BUILD_DIRS [RUNS] [WIDTHxHEIGHT:DISTANCE ...]
# Run it under tools/with_display.sh with DISPLAY_WIDTH=1920 DISPLAY_HEIGHT=1080.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
IFS=, read -r -a builds <<< "$1"
for i in "${!builds[@]}"; do builds[$i]=$(readlink -f "${builds[$i]}"); done
runs=${2:-3}
shift $(( $# < 2 ? $# : 2 ))
configs=("$@")
[ ${#configs[@]} -gt 0 ] || configs=(800x600:10 1024x768:10 1024x768:20 1920x1080:10 1920x1080:20)
dir=$(mktemp -d /tmp/cairnfold-frames-XXXXXX)
trap 'rm -rf "$dir"' EXIT
ln -s "$root/Media" "$dir/Media"
mkdir "$dir/Saves"
# The timing shim of the first build folder that has one (a game-only build has none).
for game in "${builds[@]}"; do
  shim=$game/bench/libfirst_frame_shim.so
  [ -e "$shim" ] && break
done
# The fixed-clock world and its new game, written by a first start that ends at its first frame.
(cd "$dir" && TZ=UTC LD_PRELOAD="$shim" faketime -f '@2024-12-05 21:05:07' "${builds[0]}/cairnfold" >/dev/null 2>&1) || true
cp "$dir/Saves/coresave.dat" "$dir/coresave.start"

for ((i = 0; i < runs; i++)); do
  for config in "${configs[@]}"; do
    size=${config%%:*} distance=${config##*:}
    printf 'screenw=%s\nscreenh=%s\n' "${size%%x*}" "${size##*x}" > "$dir/settings.ini"
    # The view distance is the core file's 32-bit field after the version.
    for game in "${builds[@]}"; do
      cp "$dir/coresave.start" "$dir/Saves/coresave.dat"
      printf "$(printf '\\x%02x' $((distance & 255)))" |
        dd of="$dir/Saves/coresave.dat" bs=1 seek=4 conv=notrunc status=none
      # The pointer's offset from the window's centre turns the view: it is put at the centre of the
      # window to come (at the screen's corner), so that every game holds the view it resumes with.
      xdotool mousemove $((${size%%x*} / 2)) $((${size##*x} / 2))
      line=$(cd "$dir" && FRAME_RATE_FRAMES="30 200" LD_PRELOAD="$shim" "$game/cairnfold" 2>&1 >/dev/null |
             grep 'frames per second')
      echo "$size view $distance, $game: $line"
    done
  done
done
