#!/usr/bin/env bash
# The Windows game under Wine, in a Wine desktop of 1024x768 on an X server of its own: the
# title shows the very picture the Linux game shows (docs/screenshots/title-800x600.png, which
# the Linux title test checks too), Enter starts play, held Right moves the view, F1 switches
# to the wide mode and back (with Right held through it), Escape ends it with status 0, and
# play runs at 60 frames a second within 2, counted from the game's recording of five seconds
# of held Right. Asked to close from outside, as by the taskbar, it ends as Escape ends it.
#
#   tests/wine/game.sh path/to/emberwing.exe      (from the repository root)
set -uo pipefail

game=$(realpath "$1")
wine_run=$(realpath tools/windows/wine-run)
title=docs/screenshots/title-800x600.png
shots=$(mktemp -d)
trap 'kill ${game_pid:-} ${server_pid:-} 2>/dev/null; rm -rf "$shots"' EXIT

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# Xvfb writes its display number into a file of ours once it listens.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$shots/display" >/dev/null 2>&1 &
server_pid=$!
for _ in $(seq 100); do
    [ -s "$shots/display" ] && break
    sleep 0.1
done
[ -s "$shots/display" ] || fail "no X server of its own"
export DISPLAY=:$(cat "$shots/display")

# Sound goes to a device that plays nowhere, whatever this machine has.
printf 'pcm.!default { type null }\nctl.!default { type hw card 0 }\n' >"$shots/alsa.conf"
export ALSA_CONFIG_PATH=$shots/alsa.conf
# The game sees a Windows path; Wine's drive Z: is the root of this file system.
recording=$shots/recording.txt
start_game() {
    "$wine_run" --desktop 1024x768 "$game" >"$shots/output" 2>&1 &
    game_pid=$!
}
EMBERWING_RECORD="Z:${recording//\//\\}" start_game

screenshot() {
    import -window root "$shots/$1.png" 2>/dev/null
    echo "$shots/$1.png"
}

# Pixels of the rectangle $3 (WxH+X+Y) that differ between two pictures.
changed_pixels() {
    convert "$1" -crop "$3" +repage "$shots/crop-a.png"
    convert "$2" -crop "$3" +repage "$shots/crop-b.png"
    compare -metric AE "$shots/crop-a.png" "$shots/crop-b.png" null: 2>&1
}

# The game's window's size, WxH.
window_size() {
    xdotool getwindowgeometry "$window" 2>/dev/null | awk '/Geometry/ { print $2 }'
}

# Holds a key long enough for a game that reads the keys once a frame.
press() {
    xdotool keydown "$1"
    sleep 0.15
    xdotool keyup "$1"
}

# Waits up to $1 seconds for the command after it to succeed.
within() {
    local deadline=$((SECONDS + $1))
    shift
    until "$@"; do
        [ $SECONDS -lt "$deadline" ] || return 1
        sleep 0.2
    done
}

# A cold Wine takes a while to start.
window=
find_window() { window=$(xdotool search --name '^Emberwing$' 2>/dev/null | head -1) && [ -n "$window" ]; }
within 60 find_window || fail "no game window within 60 s: $(cat "$shots/output")"
is_title() { [ "$(changed_pixels "$(screenshot title)" "$title" 800x600+0+0)" = 0 ]; }
within 20 is_title ||
    fail "the title is not the Linux title: $(changed_pixels "$shots/title.png" "$title" 800x600+0+0) pixels differ"
[ "$(window_size)" = 800x600 ] || fail "the full-screen title is $(window_size), not 800x600"

# Keys reach the game once its window has the X server's keyboard focus. xdotool complains
# about a window that takes the focus without being asked in the usual way; the keys below
# tell whether it worked.
xdotool windowfocus --sync "$window" 2>/dev/null
press Return
leaves_title() { [ "$(changed_pixels "$(screenshot play)" "$title" 800x600+0+0)" -gt 100000 ]; }
within 5 leaves_title || fail "Enter on the title did not start play"

before=$(screenshot before-right)
xdotool keydown Right
started=$(date +%s.%N)
sleep 5
ended=$(date +%s.%N)
xdotool keyup Right
after=$(screenshot after-right)
[ "$(changed_pixels "$before" "$after" 800x500+0+100)" -gt 100000 ] ||
    fail "held Right did not move the view"

# The window takes its new size as the display's mode changes, a moment before the game
# reads keys again: a key pressed in between is lost, as the library's input waits for the
# new mode. The next key waits a second, as a player's would.
press F1
is_wide() { [ "$(window_size)" = 1024x768 ]; }
within 5 is_wide || fail "F1 did not switch to the wide mode: the window is $(window_size)"
sleep 1
# Back with Right held through the switch: it must go on moving the view, and stop when let go.
xdotool keydown Right
sleep 0.3
press F1
is_narrow() { [ "$(window_size)" = 800x600 ]; }
within 5 is_narrow || fail "F1 did not switch back: the window is $(window_size)"
sleep 1
xdotool keyup Right
sleep 0.5

# Waits for the game to end, which $1 asked for, and fails unless its status is 0.
ended_well() {
    within 10 eval '! kill -0 "$game_pid" 2>/dev/null' || fail "$1 did not end the game"
    wait "$game_pid"
    status=$?
    game_pid=
    [ "$status" = 0 ] || fail "after $1 the game ended with status $status: $(cat "$shots/output")"
}
press Escape
ended_well Escape

# The recording has a line "count letters" for each run of frames with the same keys held.
[ -s "$recording" ] || fail "the game wrote no recording"
runs=$(awk 'NR > 1 && $2 != "-" && $1 != "end" { printf "%s ", $2 }' "$recording")
[ "$runs" = "N R F R RF R E " ] || fail "the recording holds the keys $runs, not N R F R RF R E"
carried=$(awk '$2 == "RF" { getline; print $1 }' "$recording")
[ "$carried" -ge 30 ] || fail "Right held through F1 counted only $carried frames after it"
[ "$(awk '$2 == "E" { print last } { last = $2 }' "$recording")" = - ] ||
    fail "Right let go after the switch still counted as held"
right_frames=$(awk '$2 == "R" { print $1; exit }' "$recording")
rate=$(awk -v n="$right_frames" -v a="$started" -v b="$ended" 'BEGIN { printf "%.1f", n / (b - a) }')
echo "play under Wine: $right_frames frames with Right held over $(awk -v a="$started" -v b="$ended" 'BEGIN { printf "%.2f", b - a }') s, $rate a second"
awk -v r="$rate" 'BEGIN { exit !(r >= 58 && r <= 62) }' || fail "play ran at $rate frames a second"

# Closing the program from outside, as the taskbar's Close does, asks its window to close:
# the game ends as Escape ends it.
start_game
within 60 find_window || fail "no game window the second time: $(cat "$shots/output")"
within 20 is_title || fail "the second start shows no title"
# From the game's own desktop: Windows programs see only the windows of theirs.
"$wine_run" --desktop 1024x768 taskkill.exe /IM emberwing.exe >/dev/null 2>&1
ended_well "asking the window to close"
echo "the game under Wine: ok"
