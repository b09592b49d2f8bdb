#!/usr/bin/env bash
# Plays the real game on its own virtual display: Enter on the title, fly, throw, blast,
# switch the play area twice and leave with Escape. Passes when the game exits with 0 and
# every stage changed the picture on the screen.
set -euo pipefail
game=$1

if [ -z "${EMBERWING_E2E_DISPLAY:-}" ]; then
    exec env EMBERWING_E2E_DISPLAY=1 xvfb-run -a -s "-screen 0 1024x768x24" bash "$0" "$@"
fi

shots=$(mktemp -d)
trap 'rm -rf "$shots"; [ -n "${pid:-}" ] && kill "$pid" 2>/dev/null || true' EXIT

# The game polls the keys once a frame, so each key is held long enough to be seen.
hold() {
    xdotool keydown "$1"
    sleep "${2:-0.15}"
    xdotool keyup "$1"
}
shot() {
    sleep 0.3 # a few frames to draw the result of the last keys
    import -window root "$shots/$1.png"
    stages+=("$1")
}
fail() {
    echo "FAIL: $*" >&2
    exit 1
}

"$game" >"$shots/game.log" 2>&1 &
pid=$!
for _ in $(seq 50); do
    xdotool search --name Emberwing >/dev/null 2>&1 && break
    kill -0 "$pid" 2>/dev/null || fail "the game ended before its window opened"
    sleep 0.2
done
xdotool search --name Emberwing >/dev/null 2>&1 || fail "no game window"
# Keys reach the game only while the pointer is over its window.
xdotool mousemove 512 384

stages=()
sleep 1
shot title
hold Return
shot play
hold Right 0.5
hold Down 0.5
shot flown
hold Shift_L 0.3
shot thrown
hold Control_L 0.5
shot blast
hold F1 0.05
sleep 1 # opening a mode and painting its bands takes a moment
shot wide
hold F1 0.05
sleep 1
shot narrow
hold Escape

for _ in $(seq 50); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.2
done
kill -0 "$pid" 2>/dev/null && fail "the game did not end on Escape"
status=0
wait "$pid" || status=$?
pid=
[ "$status" -eq 0 ] || fail "the game exited with $status"

for ((i = 1; i < ${#stages[@]}; ++i)); do
    before=${stages[i - 1]}
    after=${stages[i]}
    differing=$(compare -metric AE "$shots/$before.png" "$shots/$after.png" null: 2>&1 || true)
    [ "$differing" != 0 ] || fail "the screen did not change from '$before' to '$after'"
    echo "$before -> $after: $differing pixels changed"
done
echo "PASS"
