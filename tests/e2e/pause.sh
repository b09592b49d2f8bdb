#!/usr/bin/env bash
# Pause in the real game, under a window manager as on a desktop. P pauses: the screen holds
# still under the panel and the game uses next to no CPU: PAUSED_GOAL % of one core, all its
# threads (the game's own takes a few hundredths of a percent, the library's input thread the
# rest, as much as in a program that only opens a window and sleeps; like cpu.sh, the check
# allows CPU_MARGIN times the goal on a loaded machine). The Pause key resumes; a held P
# pauses once; Escape ends a paused game. Then another window takes the keyboard: play pauses
# by itself and stays paused when the game has the keyboard back, until P; a switch of
# modes does not pause it.
set -uo pipefail
source "$(dirname "$0")/lib.sh"

PAUSED_GOAL=2 # percent of one core
CPU_MARGIN=${CPU_MARGIN:-1.5}

# Whether the screen changes within $1 seconds, in the region $2 (default: all of it).

changes_within() {
    screenshot before >/dev/null
    sleep "$1"
    screenshot after >/dev/null
    [ "$(changed_pixels "$shots/before.png" "$shots/after.png" "${2:-}")" != 0 ]
}

# Pure red pixels of a screenshot in a region: the letters of the panel.
red_pixels() {
    convert "$1" -crop "$2" +repage -fx '(r > 0.9 && g < 0.1 && b < 0.1) ? 1 : 0' \
        -format '%[fx:round(mean * w * h)]' info:
}

# Whether the screen comes to hold still, in the region $2, within $1 seconds.
stills_within() {
    local deadline=$((SECONDS + $1))
    while [ $SECONDS -le "$deadline" ]; do
        changes_within 0.3 "${2:-}" || return 0
    done
    return 1
}

openbox >/dev/null 2>&1 &
wm_pid=$!
trap 'kill $wm_pid 2>/dev/null; [ -n "${other_pid:-}" ] && kill "$other_pid" 2>/dev/null; rm -rf "$shots"; [ -n "${game_pid:-}" ] && kill "$game_pid" 2>/dev/null' EXIT
sleep 0.5

start_game
press Return
sleep 1.5
xdotool keydown Shift_L keydown Right
sleep 0.5
xdotool keyup Right keyup Shift_L
press p
sleep 0.3
# The word, six letters of the 8x8 font three times as large, in the middle of the screen.
letters=$(red_pixels "$(screenshot paused)" 144x24+328+288)
[ "$letters" -ge 900 ] || fail "no pause panel: $letters red pixels where the word should be"
c0=$(cpu_ns) t0=$(date +%s%N)
changes_within 3 && fail "the screen changed while paused"
c1=$(cpu_ns) t1=$(date +%s%N)
cpu=$(awk -v c=$((c1 - c0)) -v t=$((t1 - t0)) 'BEGIN { printf "%.2f", 100 * c / t }')
echo "paused: $cpu % of one core"
awk -v p="$cpu" -v g="$PAUSED_GOAL" -v m="$CPU_MARGIN" 'BEGIN { exit !(p <= g * m) }' ||
    fail "paused, the game used $cpu % of one core, above $PAUSED_GOAL % x $CPU_MARGIN"

press Pause
changes_within 0.5 || fail "the Pause key did not resume"
hold_p() { xdotool keydown p; sleep 1; xdotool keyup p; }
hold_p
sleep 0.3
changes_within 1 && fail "a held P did not leave the game paused"

# Another window takes the keyboard: xmessage, in the top-left corner, away from the panel.
press p
changes_within 0.5 || fail "P did not resume"
# In the C locale it needs only the Latin-1 fonts Xvfb has; in a UTF-8 one Xt warns of the
# charsets it lacks.
LC_ALL=C xmessage -geometry +0+0 "elsewhere" &
other_pid=$!
sleep 1
timeout 5 xdotool search --sync --class Xmessage >/dev/null || fail "no xmessage window"
# Whether the window manager gives a new window the keyboard depends on its timing: the
# game takes it back first, as a player would by clicking it, and Alt+Tab moves it on to
# the window used before it.
game_window=$(xdotool search --name '^Emberwing$' | head -1)
xdotool windowactivate --sync "$game_window"
sleep 0.3
xdotool keydown Alt_L keydown Tab
sleep 0.12
xdotool keyup Tab keyup Alt_L
sleep 0.3
[ "$(xdotool getactivewindow getwindowname)" = xmessage ] || fail "Alt+Tab did not reach xmessage"
stills_within 5 800x300+0+300 || fail "losing the keyboard did not pause the game"
kill "$other_pid"
other_pid=
sleep 0.5
xdotool mousemove 400 450 click 1 # the window manager gives the keyboard to the game
sleep 0.5
changes_within 1 && fail "the game resumed by itself when it had the keyboard back"
press p
changes_within 0.5 || fail "P did not resume after the focus came back"
# A switch of modes, or to a window and back, keeps the window and the keyboard: no pause.
press F1
sleep 1.5
changes_within 0.5 || fail "switching modes paused the game"
for _ in 1 2; do
    hold_together 0.12 Alt_L Return
    sleep 1
done
changes_within 0.5 || fail "Alt+Enter twice paused the game"

press p
sleep 0.3
press Escape
wait_for_exit 5
[ "$status" = 0 ] || fail "the game exited with $status"
echo "pause: ok"
