#!/usr/bin/env bash
# CPU cost of the real game: on the title screen, which redraws its whole backdrop every
# frame, and in the busiest play, fireballs thrown and the blast held with the view still.
# The game's CPU time (all its threads, the library's own included) is read from
# /proc/PID/task/*/schedstat over a stretch, then the frames presented are counted over a
# short stretch after it (the pacer's absolute-time sleeps, one per frame), so that a loaded
# machine that drops frames does not flatter the figure: it is scaled to 60 frames a second.
# Goals: 8 % of one core on the title screen, 10 % in play. The check allows CPU_MARGIN times
# that, since a loaded machine stretches the CPU time of the same work.
set -uo pipefail
source "$(dirname "$0")/lib.sh"

CPU_MARGIN=${CPU_MARGIN:-1.5}
TITLE_GOAL=8 PLAY_GOAL=10 # percent of one core

# Frames presented per second over the next $1 seconds. strace only watches the one call.
frame_rate() {
    timeout -s INT "$1" strace -f -qq -e trace=clock_nanosleep -o "$shots/sleeps" \
        -p "$game_pid" 2>/dev/null
    awk -v s="$1" '/CLOCK_MONOTONIC, TIMER_ABSTIME/ { ++n } END { printf "%.1f\n", n / s }' \
        "$shots/sleeps"
}

# Measures CPU over $2 seconds and the frame rate over $3; checks against goal $1.
measure() {
    local what=$1 goal=$2 t0 c0 t1 c1 fps
    t0=$(date +%s%N) c0=$(cpu_ns)
    sleep "$3"
    t1=$(date +%s%N) c1=$(cpu_ns)
    fps=$(frame_rate "$4")
    read -r raw scaled < <(awk -v c=$((c1 - c0)) -v t=$((t1 - t0)) -v f="$fps" \
        'BEGIN { r = 100 * c / t; printf "%.1f %.1f\n", r, (f > 0 ? r * 60 / f : 999) }')
    echo "$what: ${scaled}% of one core at 60 frames a second (${raw}% at $fps frames a second)"
    awk -v p="$scaled" -v g="$goal" -v m="$CPU_MARGIN" 'BEGIN { exit !(p <= g * m) }' ||
        fail "$what: ${scaled}% of one core, above $goal % x $CPU_MARGIN"
}

start_game
sleep 1
measure "title screen" "$TITLE_GOAL" 3 1

press Return
sleep 1.5 # the city and the play images are loaded
# Energy lasts 121 blast frames, two seconds: both stretches lie inside them.
xdotool keydown Shift_L keydown Control_L
sleep 0.2
measure "busiest play" "$PLAY_GOAL" 1.2 0.5
xdotool keyup Control_L keyup Shift_L

press Escape
wait_for_exit 5
[ "$status" = 0 ] || fail "the game did not end cleanly"
