#!/usr/bin/env bash
# Start time and memory of the real game, from the repository root:
#   bench/start-time.sh [game binary, default build/emberwing] [starts, default 10]
# Starts the game that many times under one Xvfb server and reports the median time from
# its exec to the first presented title frame, and its peak resident memory (VmHWM) after
# a second on the title screen. The first presented frame is the first absolute-time
# sleep of the frame pacer (clock_nanosleep with CLOCK_MONOTONIC, TIMER_ABSTIME), which
# returns at once for the first frame, just before the blit that presents it; strace
# stops the game only at the two traced calls. The load average is printed too, since a
# busy machine stretches the wall-clock figure.
set -euo pipefail

game=$(realpath "${1:-build/emberwing}")
starts=${2:-10}

if [ -z "${EMBERWING_UNDER_XVFB:-}" ]; then
    EMBERWING_UNDER_XVFB=1 exec xvfb-run -a -s "-screen 0 800x600x24" bash "$0" "$game" "$starts"
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# CPU time of all the game's threads so far, in ms: on a busy machine the wall-clock start
# stretches with the load, while the CPU time it needs does not.
cpu_ms() { cat /proc/"$1"/task/*/schedstat | awk '{ ns += $1 } END { printf "%.1f\n", ns / 1e6 }'; }

for i in $(seq "$starts"); do
    log="$work/trace-$i"
    strace -f --seccomp-bpf -ttt -e trace=execve,clock_nanosleep -o "$log" "$game" 2>/dev/null &
    tracer=$!
    game_pid=
    for _ in $(seq 500); do
        sleep 0.01
        [ -n "$game_pid" ] || game_pid=$(awk '/execve\(/ { print $1; exit }' "$log" 2>/dev/null || true)
        if [ -n "$game_pid" ] && grep -q 'CLOCK_MONOTONIC, TIMER_ABSTIME' "$log" 2>/dev/null; then
            cpu_ms "$game_pid" >>"$work/cpu"
            break
        fi
    done
    sleep 1
    awk '/^VmHWM/ { print $2 }' "/proc/$game_pid/status" >>"$work/peaks"
    kill -KILL "$game_pid"
    wait "$tracer" 2>/dev/null || true
    # The X server takes a while to tidy away a client killed with a whole screen open; a
    # start right behind it measured 30 - 50 ms slower than one a player would make.
    sleep 1
    awk '/execve\(/ && !start { start = $2 }
         /CLOCK_MONOTONIC, TIMER_ABSTIME/ { printf "%.1f\n", ($2 - start) * 1000; exit }' \
        "$log" >>"$work/starts"
done

median() { sort -n "$1" | awk '{ v[NR] = $1 } END { print (NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2) }'; }
echo "starts (ms): $(sort -n "$work/starts" | tr '\n' ' ')"
echo "median exec to first presented frame: $(median "$work/starts") ms over $starts starts"
echo "median CPU time of the game up to then (all threads, read within 10 ms): $(median "$work/cpu") ms"
echo "peak resident memory on the title screen (VmHWM): $(median "$work/peaks") kB median, $(sort -n "$work/peaks" | tail -1) kB most"
echo "load average: $(cut -d" " -f1-3 /proc/loadavg)"
