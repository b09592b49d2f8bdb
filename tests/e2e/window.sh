#!/usr/bin/env bash
# Alt+Enter switches the one window between full screen and a window, in both pictures, and
# never loses the picture: on a 1024x768 display with no window manager, full screen is the
# whole display with the picture spread over it, and the window is the largest whole
# multiple of the picture that fits, centred. The game is paused first, so that the picture
# holds still; each way there and back must show the same paused frame again.
set -uo pipefail
export XVFB_SCREEN=1024x768x24
source "$(dirname "$0")/lib.sh"

alt_enter() {
    xdotool keydown Alt_L keydown Return
    sleep 0.12
    xdotool keyup Return keyup Alt_L
    sleep 1
}

# The window's place and size, as X+Y+WIDTHxHEIGHT.
geometry() {
    xwininfo -name Emberwing |
        awk '/Absolute upper-left X/ { x = $4 } /Absolute upper-left Y/ { y = $4 }
             /Width:/ { w = $2 } /Height:/ { h = $2 } END { print x "+" y "+" w "x" h }'
}

# $1: the window's geometry in full screen, $2: as a window; $3 names the case.
check_both_ways() {
    local full=$1 windowed=$2 label=$3
    [ "$(geometry)" = "$full" ] || fail "$label: full screen is $(geometry), not $full"
    screenshot "$label-full" >/dev/null
    alt_enter
    [ "$(geometry)" = "$windowed" ] || fail "$label: the window is $(geometry), not $windowed"
    screenshot "$label-window" >/dev/null
    shows_something "$shots/$label-window.png" || fail "$label: the window shows nothing"
    alt_enter
    [ "$(geometry)" = "$full" ] || fail "$label: Alt+Enter did not go back to full screen"
    [ "$(changed_pixels "$shots/$label-full.png" "$(screenshot "$label-full-again")")" = 0 ] ||
        fail "$label: full screen again shows another picture"
    alt_enter
    [ "$(changed_pixels "$shots/$label-window.png" "$(screenshot "$label-window-again")")" = 0 ] ||
        fail "$label: the window again shows another picture"
    echo "$label: full screen -> window -> full screen -> window, same picture"
}

start_game
press Return
sleep 1.5
press p
sleep 0.5
check_both_ways 0+0+1024x768 112+84+800x600 narrow
# F1 in the window: the wide picture, in a window of its own whole multiple.
press p
press F1
sleep 1.5
press p
sleep 0.5
[ "$(geometry)" = 0+0+1024x768 ] || fail "after F1 the window is $(geometry), not 0+0+1024x768"
alt_enter
check_both_ways 0+0+1024x768 0+0+1024x768 wide

escape_to_exit 5
