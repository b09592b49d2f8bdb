#!/usr/bin/env bash
# How long the switch to the wide mode takes to show, from the repository root:
#   bench/switch-time.sh [game binary, default build/emberwing] [switches, default 20]
# Starts the game under Xvfb on a 1024 x 768 screen, enters play and hands over to
# emberwing-switch-latency, which presses F1 through XTest and times each switch from the
# key going down to the wide mode's first frame on the screen. The key is read once a
# frame, so a switch can take up to one frame more than the game's own work.
# EMBERWING_SWITCH_PROBE names another emberwing-switch-latency, to time an older build of
# the game that has none of its own.
set -euo pipefail

game=$(realpath "${1:-build/emberwing}")
switches=${2:-20}
probe=${EMBERWING_SWITCH_PROBE:-$(dirname "$game")/bench/emberwing-switch-latency}

if [ -z "${EMBERWING_UNDER_XVFB:-}" ]; then
    EMBERWING_UNDER_XVFB=1 exec xvfb-run -a -s "-screen 0 1024x768x24 -br" \
        bash "$0" "$game" "$switches"
fi

"$game" 2>/dev/null &
game_pid=$!
trap 'kill "$game_pid" 2>/dev/null' EXIT
sleep 1.5
xdotool mousemove 512 384
xdotool keydown Return
sleep 0.12
xdotool keyup Return
sleep 1
"$probe" "$switches"
echo "load average: $(cut -d" " -f1-3 /proc/loadavg)"
