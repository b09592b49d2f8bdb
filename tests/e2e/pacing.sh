#!/usr/bin/env bash
# The real game on its title screen: 60 frames a second within 2 %, at most a quarter of
# one core. Frames are counted as the pacer's absolute-time sleeps, one per presented frame.
set -uo pipefail
source "$(dirname "$0")/lib.sh"

start_game
sleep 1

ticks_per_second=$(getconf CLK_TCK)
cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$game_pid/stat"; }
before=$(cpu_ticks)
sleep 5
after=$(cpu_ticks)
cpu_percent=$(( (after - before) * 100 / (5 * ticks_per_second) ))

timeout -s INT 5 strace -f -qq -e trace=clock_nanosleep -o "$shots/sleeps" -p "$game_pid" 2>/dev/null
frames=$(grep -c 'CLOCK_MONOTONIC, TIMER_ABSTIME' "$shots/sleeps")

press Escape
wait_for_exit 2
echo "title screen: $frames frames in 5 s, ${cpu_percent}% of one core"
[ "$frames" -ge 294 ] && [ "$frames" -le 306 ] || fail "$frames frames in 5 s, not 300 +- 2 %"
[ "$cpu_percent" -le 25 ] || fail "${cpu_percent}% of one core"
