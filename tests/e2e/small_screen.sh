#!/usr/bin/env bash
# On a 640x480 display, too small for both full-screen modes, the game either plays,
# switching the play area twice and saying once that its picture is larger than the screen,
# or stops with one clear line and status 1; it never crashes.
set -uo pipefail
export XVFB_SCREEN=${XVFB_SCREEN:-640x480x24}
source "$(dirname "$0")/lib.sh"

"$game" 2>"$shots/stderr" &
game_pid=$!
sleep 3
if ! kill -0 "$game_pid" 2>/dev/null; then
    wait_for_exit 1
    [ "$status" = 1 ] || fail "the game ended with $status: $(cat "$shots/stderr")"
    [ "$(grep -vc 'playing silently' "$shots/stderr")" = 1 ] ||
        fail "expected one line, got: $(cat "$shots/stderr")"
    echo "small screen: stopped with one line"
    exit 0
fi
xdotool mousemove 320 240
press Return
sleep 1
for _ in 1 2; do
    press F1
    sleep 1.5
    kill -0 "$game_pid" 2>/dev/null || break
done
escape_to_exit 5
[ "$(grep -v 'playing silently' "$shots/stderr")" = \
    "emberwing: the game's 800x600 picture is larger than the 640x480 screen" ] ||
    fail "expected one line about the window's size, got: $(cat "$shots/stderr")"
echo "small screen: played in a window, and said it is larger than the screen"
