#!/usr/bin/env bash
# Runs a command with DISPLAY set to a private Xvfb that lives as long as the command. A display
# is taken only when the server answering there reports the width chosen for it (other servers
# may share the socket names); -noreset keeps it from resetting when its last client leaves.
# DISPLAY_WIDTH and DISPLAY_HEIGHT (1024 x 768 unless set) give the least screen size.
set -u
for attempt in $(seq 0 39); do
  display=$(( 6000 + ( $$ * 37 + attempt * 101 ) % 3000 ))
  width=$(( ${DISPLAY_WIDTH:-1024} + display % 200 )) height=${DISPLAY_HEIGHT:-768}
  Xvfb ":$display" -screen 0 "${width}x${height}x24" -nolisten tcp -noreset >/dev/null 2>&1 &
  server=$!
  for probe in $(seq 1 200); do
    kill -0 "$server" 2>/dev/null || break
    geometry=$(DISPLAY=":$display" xdotool getdisplaygeometry 2>/dev/null)
    if [ "$geometry" = "$width $height" ]; then
      DISPLAY=":$display" "$@"
      status=$?
      kill "$server"
      wait "$server" 2>/dev/null
      exit "$status"
    fi
    [ -n "$geometry" ] && break
    sleep 0.05
  done
  kill "$server" 2>/dev/null
  wait "$server" 2>/dev/null
done
echo "with_display.sh: no X display could be started" >&2
exit 1
