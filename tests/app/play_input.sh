# The first run of the play test, sourced after tests/support/game_input.sh in an empty Saves/:
# keys, pointer moves and clicks, each shot taken once the game has acted on what came before.
last=; save_until resting; shot start
toggle 3 8 u1; shot untextured
toggle 3 8 u1; shot textured
toggle 1 4 d4; shot nearer
toggle 2 4 d4; shot farther
# From where the new game stands, flight straight up ten units, then a look straight down, kept
# from here on; flight off, a fall straight back.
toggle 4 9 u1
move 400 0; save_until holds "\$1 >= 1.5707963" 64 1; move 400 300
set -- $(field 14 3 f4); y0=$2
xdotool keydown w; save_until holds "\$2 > $y0 + 10" 14 3; xdotool keyup w
move 400 599; save_until holds "\$1 <= -1.5707963" 64 1; move 400 300
last=; save_until resting; shot flying
toggle 4 9 u1; last=; save_until landed; shot fallen
# A radian's turn to the right, the pointer right of the centre; then ten units' walk along the view.
yaw=$(field 68 1 f4)
move 560 300; save_until holds "\$1 > $yaw + 1" 68 1; move 400 300; save; shot turned
set -- $(field 14 3 f4); x0=$1 z0=$3
xdotool keydown w; save_until holds "(\$1 - $x0)^2 + (\$3 - $z0)^2 > 100" 14 3; xdotool keyup w
last=; save_until resting; cp $core saved.dat; shot saved
# Escape, the pointer over neither item until the menu is whole; "Resume game". The pointer, above
# the centre there, turns the view up once the world moves again; held at the bottom edge, it turns
# it back to straight down, where it was.
xdotool keydown Escape; upto 60 paused || fail "Escape opened no menu"; xdotool keyup Escape
move 700 450; upto 60 menu_shown || fail "the menu never matched its drawing"; cp m menu
move 400 175; xdotool mousedown 1; upto 60 eval '! bars_shown' || fail "Resume game was not taken"
move 400 599; xdotool mouseup 1; save_until holds "\$1 <= -1.5707963" 64 1; move 400 300; save; shot resumed
# Escape again and "Exit".
xdotool keydown Escape; upto 60 paused || fail "Escape opened no menu"; xdotool keyup Escape
move 400 225; upto 60 bars_shown || fail "the menu bars never came in"
xdotool mousedown 1; upto 60 gone || fail "Exit did not end the game"; xdotool mouseup 1
