# Drives the game under test as a player does, sourced by the input of a game run (in the game's
# folder, $pid the game). Every step waits for a state of the game it can read, what key 8 saved or
# what the window shows, never for a time: however slowly a loaded machine draws, a key is held
# until the game has acted on it (held longer, a key still acts once). Sourcing it waits for the
# window and rests the pointer at its centre.

# Ends the run at once, the game killed (so its status says so), with what did not happen.
fail() { echo "game_input: $*" >&2; kill -9 $pid; exit 1; }
# Runs "$@" every tenth of a second until it succeeds, for at most $1 seconds.
upto() { limit=$(( $1 * 10 )); shift; for i in $(seq $limit); do "$@" && return 0; sleep 0.1; done; return 1; }

# The window, wherever the platform put it (the pointer waits off it until it is found): `move`
# points into it, `shot` takes it as 800 x 600 RGB.
xdotool mousemove 4000 4000
win=$(timeout 60 xdotool search --sync --onlyvisible --name Cairnfold | head -1)
[ -n "$win" ] || fail "no window"
move() { xdotool mousemove --window $win "$@"; }
shot() { import -window $win -depth 8 rgb:$1; }
# How many pixels of region $3 (WxH+X+Y) differ between frames $1 and $2.
differ() { n=$(compare -metric AE -size 800x600 -depth 8 "rgb:$1[$3]" "rgb:$2[$3]" null: 2>&1); echo "${n%%[!0-9]*}"; }
# Whether the map's corner of the window is black: the world and the map are not drawn, the pause
# menu is up (the map is never all black, the menu's bars and items lie elsewhere).
paused() { shot p; [ "$(convert -size 800x600 -depth 8 "rgb:p[250x150+10+340]" -format '%[fx:maxima]' info:)" = 0 ]; }
gone() { ! xdotool search --onlyvisible --name Cairnfold >/dev/null 2>&1; }

# What the last save holds: `field OFFSET COUNT TYPE` prints COUNT values of od's TYPE (f4, d4, u1)
# from the core file's game state: 4 view distance, 8 textures, 9 flight, 14 position, 38 on the
# ground, 64 pitch, 68 yaw.
core=Saves/coresave.dat
field() { od -An -t$3 -j$1 -N$(( $2 * ${3#?} )) $core | xargs; }
# Key 8 held until the game has written a new core file (each save replaces it, so the inode
# changes); let go and pressed again, held longer each time, when it went unseen. A save is made in
# the world update, which runs only unpaused and after the frame before it has been shown: it
# proves the window shows everything the game did before it.
renewed() { [ "$(stat -c %i $core 2>/dev/null)" != "$1" ]; }
save() {
    upto 60 [ -e $core ] || fail "no core file"
    old=$(stat -c %i $core)
    for hold in 1 2 4 8 16 32; do
        xdotool keydown 8; upto $hold renewed "$old"; saved=$?; xdotool keyup 8
        [ $saved = 0 ] && return 0
        sleep 0.5
    done
    fail "key 8 saved nothing"
}
# Saves until "$@" holds for what was saved (at most 300 saves).
save_until() { for i in $(seq 300); do save; "$@" && return 0; done; fail "never saved a state where $*"; }
# Key $1 held until the saved field at $2 (of type $3) has changed; one save more, since the key
# may have acted in the frame of the save that showed it.
changed() { [ "$(field $1 1 $2)" != "$3" ]; }
toggle() { was=$(field $2 1 $3); xdotool keydown $1; save_until changed $2 $3 "$was"; xdotool keyup $1; save; }
# Whether awk's condition $1 holds for the saved floats at offset $2 ($3 of them: $1, $2, $3 in it).
holds() { field $2 $3 f4 | awk "{ exit !($1) }"; }
# Whether the player stands still: within a thousandth of the position saved before (`last`, which
# a new wait empties); with `landed`, on the ground too.
resting() {
    now=$(field 14 3 f4)
    echo "$last $now" | awk 'NF == 6 && ($1-$4)^2 + ($2-$5)^2 + ($3-$6)^2 < 1e-6 { ok = 1 } END { exit !ok }' && return 0
    last=$now; return 1
}
landed() { resting && [ "$(field 38 1 u1)" = 1 ]; }
# Whether the window shows the pause menu drawn by the test (`reference`), but for the clock; the
# bars alone; something other than those bars.
menu_shown() { shot m; [ "$(differ m reference 800x540+0+60)" = 0 ]; }
bars_shown() { shot m; [ "$(differ m reference 400x60+0+0)" = 0 ]; }

move 400 300
