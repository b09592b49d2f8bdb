#!/usr/bin/env bash
# Plays the real game: Enter on the title, fly, throw, blast, switch to the wide mode and
# back holding Right, and leave with Escape. Every stage must change the picture, the blast
# must change the population shown, and the game must end with status 0. With
# EMBERWING_SHOTS set to a folder, the screenshots of every stage are kept there.
set -uo pipefail
XVFB_SCREEN=1024x768x24
source "$(dirname "$0")/lib.sh"

stages=()
shot() {
    sleep 0.3 # a few frames to show the result of the last keys
    screenshot "$1" >/dev/null
    stages+=("$1")
}

start_game
xdotool mousemove 512 384
shot title
press Return
shot play
hold Right 0.5
hold Down 0.5
shot flown
hold Shift_L 0.3
shot thrown
hold Control_L 0.6
shot blast
# Right is held through both switches, and the view must go on moving after each: a strip
# of city away from the faerie and the signs changes over a moment.
xdotool keydown Right
for mode in wide narrow; do
    press F1
    sleep 1 # opening a mode and painting its bands takes a moment
    shot "$mode"
    [ "$(changed_pixels "$shots/$mode.png" "$(screenshot "$mode-later")" 200x80+130+590)" != 0 ] ||
        fail "the held Right key did nothing after the switch to the $mode mode"
done
xdotool keyup Right
escape_to_exit 5

for ((i = 1; i < ${#stages[@]}; ++i)); do
    before=$shots/${stages[i - 1]}.png after=$shots/${stages[i]}.png
    [ "$(changed_pixels "$before" "$after")" != 0 ] ||
        fail "the screen did not change from ${stages[i - 1]} to ${stages[i]}"
done
# The population sign sits at (2, 2) of the 800x600 picture, which fills the screen 1.28 times over.
[ "$(changed_pixels "$shots/thrown.png" "$shots/blast.png" 218x35+2+2)" != 0 ] ||
    fail "the blast did not change the population shown"
[ -n "${EMBERWING_SHOTS:-}" ] && cp "$shots"/*.png "$EMBERWING_SHOTS"/
echo "play: ok"
