#!/usr/bin/env bash
# The real game played under valgrind's memcheck: title, play, fly, throw, blast, F1 twice
# and Escape. Passes when the game exits with 0 and memcheck found no invalid access, no
# use of uninitialised values and nothing definitely lost outside the libraries' own leaks
# listed in valgrind.supp. Under valgrind the game runs at a few frames a second, so keys
# are held for seconds.
set -uo pipefail
here=$(dirname "$(realpath "$0")")
source "$here/lib.sh"

log="$shots/memcheck.log"
cat >"$shots/game" <<WRAPPER
#!/bin/sh
exec valgrind --error-exitcode=99 --leak-check=full --show-leak-kinds=definite \
    --errors-for-leak-kinds=definite --suppressions="$here/valgrind.supp" \
    ${EMBERWING_VALGRIND_OPTIONS:-} --log-file="$log" "$game"
WRAPPER
chmod +x "$shots/game"
game="$shots/game"

# Waits up to $2 seconds until the region $1 of the screen differs from picture $3 (or, with
# no $3, until it shows anything but black).
wait_for_change() {
    local deadline=$((SECONDS + $2))
    while [ $SECONDS -le "$deadline" ]; do
        kill -0 "$game_pid" 2>/dev/null || { cat "$log"; fail "the game ended early"; }
        local now
        now=$(screenshot now)
        if [ -n "${3:-}" ]; then
            [ "$(changed_pixels "$now" "$3" "$1")" -gt 10000 ] && return 0
        else
            [ "$(convert "$now" -crop "$1" -format '%[fx:maxima.r+maxima.g+maxima.b > 0]' info:)" = 1 ] &&
                return 0
        fi
        sleep 1
    done
    return 1
}

started=$SECONDS
start_game
wait_for_change 800x600+0+0 300 || { cat "$log"; fail "no title screen within 5 minutes"; }
sleep 5 # the title loop is running once its first frame is up
title=$(screenshot title)
hold Return 2
wait_for_change 800x600+0+0 300 "$title" || { cat "$log"; fail "the play phase did not start"; }
sleep 5
hold Right 3
hold Down 3
hold Shift_L 3
hold Control_L 4
sleep 3 # fireballs fly and burst
hold F1 0.6
sleep 10 # the wide mode paints its bands
xdotool mousemove 512 384
hold F1 0.6
sleep 10
hold Escape 3
wait_for_exit 300
echo "memcheck play: $((SECONDS - started)) s, game status $status"
grep -E 'ERROR SUMMARY|definitely lost|indirectly lost' "$log"
[ "$status" = 0 ] || { cat "$log"; fail "status $status under memcheck"; }
grep -q 'ERROR SUMMARY: 0 errors' "$log" || { cat "$log"; fail "memcheck found errors"; }
# Leaks already count as errors above; this names the game's own frames if any slip through.
if grep -A30 'definitely lost in' "$log" | grep -q -E '/src/(game|city|ball|graphics|image)/'; then
    cat "$log"
    fail "the game's own code lost memory"
fi
echo "memcheck play: ok"
