#!/usr/bin/env bash
# Pause in the real game, under a window manager as on a desktop. P pauses: the screen holds
# still under the panel and the game uses next to no CPU: PAUSED_GOAL % of one core, all its
# threads (the game's own takes a few hundredths of a percent, the library's input thread the
# rest, as much as in a program that only opens a window and sleeps; like cpu.sh, the check
# allows CPU_MARGIN times the goal on a loaded machine). The Pause key resumes; a held P
# pauses once. Then another window takes the keyboard, first a window that opens, then
# Alt+Tab: each time play pauses by itself and stays paused when the game has the keyboard
# back, by a click or by Alt+Tab, until P; a switch of modes, or Alt+Enter twice, does not
# pause it. Escape ends a paused game. Paused is told by the panel and a still screen;
# playing, by a screen that changes and no panel.
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

# Whether the pause panel is on the screen: its red letters, where the word is.
panel_shown() { [ "$(red_pixels "$(screenshot panel)" 144x24+328+288)" -ge 900 ]; }

# Whether the game is paused: the panel is shown and the screen holds still for a second.
paused_still() { panel_shown && ! changes_within 1; }

# Whether the game is or comes to be paused within $1 seconds. What the window manager
# changes on the screen as the keyboard moves (its Alt+Tab list, the stacking) may take a
# moment, so the still second is looked for until then: a running game never gives one.
pauses_within() {
    local deadline=$((SECONDS + $1))
    until paused_still; do
        [ $SECONDS -le "$deadline" ] || return 1
        sleep 0.1
    done
}

# Whether play goes on within $1 seconds: no panel, and the screen changes (the faerie's
# wings move even while she hovers).
plays_within() {
    local deadline=$((SECONDS + $1))
    until changes_within 0.3; do
        [ $SECONDS -le "$deadline" ] || return 1
    done
    ! panel_shown
}

# Alt+Tab as a person types it: Alt held until the window manager has had the Tab.
alt_tab() {
    xdotool keydown Alt_L
    sleep 0.1
    xdotool key Tab
    sleep 0.2
    xdotool keyup Alt_L
}

cleanup() {
    kill ${wm_pid:-} ${other_pid:-} ${game_pid:-} 2>/dev/null
    wait 2>/dev/null
    rm -rf "$shots"
}
trap cleanup EXIT
start_openbox

start_game
active_within 20 || fail "openbox did not give the game the keyboard"
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
plays_within 3 || fail "the Pause key did not resume"
hold_p() { xdotool keydown p; sleep 1; xdotool keyup p; }
hold_p
sleep 0.3
pauses_within 3 || fail "a held P did not leave the game paused"

# Another window takes the keyboard: xmessage, in the top-left corner, away from the panel.
# The window manager gives the keyboard to a window that opens, and Alt+Tab moves it on;
# each time the game must pause, and stay paused when it has the keyboard back.
press p
plays_within 3 || fail "P did not resume"
# In the C locale it needs only the Latin-1 fonts Xvfb has; in a UTF-8 one Xt warns of the
# charsets it lacks.
LC_ALL=C xmessage -geometry +0+0 "elsewhere" &
other_pid=$!
other=$(timeout 5 xdotool search --sync --onlyvisible --class Xmessage | head -1)
[ -n "$other" ] || fail "no xmessage window"
# openbox gives a new window the keyboard by itself; asking for it as a taskbar does makes
# the test independent of the manager's rules for new windows.
timeout 5 xdotool windowactivate --sync "$other" >/dev/null 2>&1
active_within 5 xmessage || fail "xmessage did not get the keyboard"
pauses_within 5 || fail "losing the keyboard to a new window did not pause the game"
xdotool mousemove 400 450 click 1 # the window manager gives the keyboard to the game
active_within 5 Emberwing || fail "a click did not give the keyboard back to the game"
pauses_within 3 || fail "the game resumed by itself when it had the keyboard back"
press p
plays_within 3 || fail "P did not resume after the keyboard came back"
alt_tab
active_within 5 xmessage || fail "Alt+Tab did not move the keyboard to xmessage"
pauses_within 5 || fail "Alt+Tab to another window did not pause the game"
alt_tab
active_within 5 Emberwing || fail "Alt+Tab did not bring the keyboard back to the game"
pauses_within 3 || fail "the game resumed by itself after Alt+Tab back"
kill "$other_pid"
other_pid=
press p
plays_within 3 || fail "P did not resume after Alt+Tab back"
# A switch of modes, or to a window and back, keeps the window and the keyboard: no pause.
press F1
sleep 1.5
plays_within 3 || fail "switching modes paused the game"
for _ in 1 2; do
    hold_together 0.12 Alt_L Return
    sleep 1
done
plays_within 3 || fail "Alt+Enter twice paused the game"

press p
sleep 0.3
press Escape
wait_for_exit 5
[ "$status" = 0 ] || fail "the game exited with $status"
echo "pause: ok"
