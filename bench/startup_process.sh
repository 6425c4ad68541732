#!/usr/bin/env bash
# Times the real game from exec to its first presented frame under the test
# display, RUNS times (default 5) each for a new world (empty Saves/) and for a
# resumed one, and prints every run and the median in milliseconds.
# Usage: bench/startup_process.sh BUILD_DIR [RUNS]   (make bench-startup)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(readlink -f "$1")
runs=${2:-5}
dir=$(mktemp -d /tmp/cairnfold-startup-XXXXXX)
trap 'rm -rf "$dir"' EXIT
ln -s "$root/Media" "$dir/Media"
cp "$root/settings.ini" "$dir/"
mkdir "$dir/Saves"

# One start: milliseconds from just before exec to the shim's line.
time_start() {
  local begin line
  begin=$(date +%s.%N)
  line=$(cd "$dir" && LD_PRELOAD="$build/bench/libfirst_frame_shim.so" "$build/cairnfold" 2>&1 >/dev/null | grep 'first frame at')
  awk -v b="$begin" -v e="${line##* }" 'BEGIN { printf "%.0f\n", (e - b) * 1000 }'
}
median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

for kind in new resumed; do
  times=()
  for ((i = 0; i < runs; i++)); do
    [ "$kind" = new ] && rm -f "$dir"/Saves/*
    times+=("$(time_start)")
  done
  echo "$kind world: ${times[*]} ms; median $(printf '%s\n' "${times[@]}" | median) ms"
done
