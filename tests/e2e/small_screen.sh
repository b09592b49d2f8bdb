#!/usr/bin/env bash
# On a 640x480 display, smaller than both pictures, the game plays with the picture made to
# fit the whole display, in both play-area widths, says nothing about it and never crashes.
set -uo pipefail
export XVFB_SCREEN=${XVFB_SCREEN:-640x480x24}
source "$(dirname "$0")/lib.sh"

# Whether the screen's four corners show the picture rather than black borders.
fills_the_screen() {
    local corner
    for corner in 1x1+0+0 1x1+639+0 1x1+0+479 1x1+639+479; do
        [ "$(convert "$1" -crop "$corner" +repage -format '%[fx:maxima.r+maxima.g+maxima.b > 0]' \
            info:)" = 1 ] || return 1
    done
}

start_game
xdotool mousemove 320 240
press Return
sleep 1
fills_the_screen "$(screenshot narrow)" || fail "the narrow picture does not fill the display"
press F1
sleep 1.5
fills_the_screen "$(screenshot wide)" || fail "the wide picture does not fill the display"
press F1
sleep 1
escape_to_exit 5
[ -z "$(grep -v 'playing silently' "$shots/stderr")" ] ||
    fail "unexpected messages: $(cat "$shots/stderr")"
echo "small screen: played with the picture made to fit the display"
