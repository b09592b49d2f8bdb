#!/usr/bin/env bash
# Alt+Enter switches between full screen and a window of the same size, in both play-area
# widths, and the play area shows the same picture before and after. The game is paused
# first, so that the picture holds still; the switch must bring back the paused frame.
set -uo pipefail
export XVFB_SCREEN=1024x768x24
source "$(dirname "$0")/lib.sh"

alt_enter() {
    xdotool keydown Alt_L keydown Return
    sleep 0.12
    xdotool keyup Return keyup Alt_L
    sleep 1
}

# "IsViewable" while the game runs in its window, "IsUnMapped" while it is full screen.
window_state() { xwininfo -name Emberwing | awk '/Map State/ { print $3 }'; }

# $1: the play area's geometry on the screen in full screen, $2: in the window.
check_both_ways() {
    local full=$1 windowed=$2 label=$3
    [ "$(window_state)" = IsUnMapped ] || fail "$label: not full screen at the start"
    screenshot "$label-full" >/dev/null
    alt_enter
    [ "$(window_state)" = IsViewable ] || fail "$label: Alt+Enter did not open a window"
    screenshot "$label-window" >/dev/null
    convert "$shots/$label-full.png" -crop "$full" +repage "$shots/a.png"
    convert "$shots/$label-window.png" -crop "$windowed" +repage "$shots/b.png"
    [ "$(changed_pixels "$shots/a.png" "$shots/b.png")" = 0 ] ||
        fail "$label: the window shows another picture than the full screen"
    alt_enter
    [ "$(window_state)" = IsUnMapped ] || fail "$label: Alt+Enter did not go back to full screen"
    [ "$(changed_pixels "$shots/$label-full.png" "$(screenshot "$label-again")")" = 0 ] ||
        fail "$label: full screen again shows another picture"
    echo "$label: full screen -> window -> full screen, same picture"
}

start_game
press Return
sleep 1.5
press p
sleep 0.5
# The 800 x 600 mode sits in the middle of the 1024 x 768 display when full screen.
check_both_ways 800x600+112+84 800x600+0+0 narrow
press p
press F1
sleep 1.5
press p
sleep 0.5
check_both_ways 1024x768+0+0 1024x768+0+0 wide

press Escape
wait_for_exit 5
[ "$status" = 0 ] || fail "the game ended with $status: $(cat "$shots/stderr")"
