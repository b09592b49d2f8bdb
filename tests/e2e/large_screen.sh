#!/usr/bin/env bash
# On large screens, 1920x1080 and 3840x2160 (an Xvfb server each, under the openbox window
# manager): full screen, the picture fills the screen's height at 4:3, centred, black
# around it, in the 800 x 600 mode and in the wide mode. Alt+Enter opens a window of a
# whole multiple of the picture (1600 pixels wide or more on 3840x2160), filled by it, in
# either mode; resized, the window shows the picture at the largest 4:3 size that fits it,
# centred. Alt+Enter goes back to full screen, and Escape ends the game with status 0.
set -uo pipefail
export EMBERWING_UNDER_XVFB=1 # each size has a server of its own, started below
source "$(dirname "$0")/lib.sh"

TOLERANCE=2 # pixels, for sizes and positions that a scale rounds

cleanup() {
    [ -n "${game_pid:-}" ] && kill "$game_pid" 2>/dev/null
    [ -n "${wm_pid:-}" ] && kill "$wm_pid" 2>/dev/null
    [ -n "${server_pid:-}" ] && kill "$server_pid" 2>/dev/null
    wait 2>/dev/null
    rm -rf "$shots"
}
trap cleanup EXIT

near() { [ $(($1 - $2)) -le $TOLERANCE ] && [ $(($2 - $1)) -le $TOLERANCE ]; }

# The box around every pixel that is not pure black in screenshot $1, or in the region $2 of
# it, as "width height x y" relative to that region; "0 0 0 0" when all is black.
picture_box() {
    local region=${2:-}
    if [ -n "$region" ]; then
        convert "$1" -crop "$region" +repage "$shots/region.png"
    else
        cp "$1" "$shots/region.png"
    fi
    # A black border of one pixel makes black the colour that -trim's box leaves out.
    convert "$shots/region.png" -bordercolor black -border 1 -format '%@' info: |
        awk -F'[x+]' '{ if ($1 <= 1) print 0, 0, 0, 0; else print $1, $2, $3 - 1, $4 - 1 }'
}

# Fails unless the picture in the region $2 ("WxH+X+Y") of the screen is the largest 4:3
# box that fits it, centred; $1 names the case.
check_fills() {
    local label=$1 region=$2 w h x y rw rh want_w want_h
    read -r rw rh < <(echo "$region" | awk -F'[x+]' '{ print $1, $2 }')
    read -r w h x y < <(picture_box "$(screenshot "$label")" "$region")
    if [ $((rw * 3)) -ge $((rh * 4)) ]; then
        want_h=$rh want_w=$(((rh * 4 + 1) / 3))
    else
        want_w=$rw want_h=$(((rw * 3 + 2) / 4))
    fi
    echo "$label: picture ${w}x$h+$x+$y in ${rw}x$rh (wanted ${want_w}x$want_h, centred)"
    near "$w" "$want_w" && near "$h" "$want_h" ||
        fail "$label: the picture is ${w}x$h, not the ${want_w}x$want_h that fits ${rw}x$rh at 4:3"
    near "$x" $(((rw - w) / 2)) && near "$y" $(((rh - h) / 2)) ||
        fail "$label: the ${w}x$h picture is at +$x+$y of ${rw}x$rh, not centred"
}

alt_enter() {
    xdotool keydown Alt_L keydown Return
    sleep 0.12
    xdotool keyup Return keyup Alt_L
    sleep 1.5
}

# The game's visible window, as "id width height x y" (its inside, on the screen).
game_window() {
    local id
    id=$(xdotool search --onlyvisible --name '^Emberwing$' 2>/dev/null | head -1)
    [ -n "$id" ] || return 1
    xwininfo -id "$id" | awk -v id="$id" '/Absolute upper-left X/ { x = $4 }
        /Absolute upper-left Y/ { y = $4 } /Width:/ { w = $2 } /Height:/ { h = $2 }
        END { print id, w, h, x, y }'
}

# Alt+Enter from full screen: a window of a whole multiple of the picture, $1 x $2, filled
# by it; 1600 pixels wide or more on a screen 3840 wide. Sets id, w, h, x, y and k.
check_window() {
    alt_enter
    read -r id w h x y < <(game_window) || fail "$size: Alt+Enter opened no window"
    echo "$size: window ${w}x$h at +$x+$y for the $1x$2 picture"
    [ "$sw" -lt 3840 ] || [ "$w" -ge 1600 ] ||
        fail "$size: the window is ${w}x$h, narrower than 1600 pixels"
    k=$((w / $1))
    [ "$k" -ge 1 ] && [ "$w" = $((k * $1)) ] && [ "$h" = $((k * $2)) ] ||
        fail "$size: the window is ${w}x$h, not a whole multiple of $1x$2"
    check_fills "$size window ${w}x$h" "${w}x$h+$x+$y"
}

# One screen size, "WIDTHxHEIGHT".
run_on() {
    local size=$1 target
    sw=${size%x*} sh=${size#*x}
    XVFB_SCREEN=${size}x24 start_server
    openbox >/dev/null 2>&1 &
    wm_pid=$!
    for _ in $(seq 50); do
        xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
        sleep 0.1
    done
    start_game
    # A window manager that has just started on a busy machine can take seconds to map it.
    picture_within 20 || fail "$size: the game showed nothing within 20 s"
    sleep 0.5
    xdotool mousemove $((sw / 2)) $((sh / 2))
    press Return
    sleep 1.5

    check_fills "$size full screen, 800 x 600 mode" "${sw}x$sh+0+0"

    check_window 800 600

    # Wider than 4:3, then taller: the picture keeps its shape inside either way.
    for target in "$((sw * 7 / 10)) $((sh * 6 / 10))" "$((sw * 45 / 100)) $((sh * 85 / 100))"; do
        xdotool windowsize "$id" $target
        sleep 1.5
        read -r id w h x y < <(game_window) || fail "$size: the window went away on resizing"
        [ "$w $h" = "$target" ] || echo "$size: asked for $target, the window is ${w}x$h"
        [ "$w" != $((k * 800)) ] || [ "$h" != $((k * 600)) ] ||
            fail "$size: the window kept its size when resized to $target"
        check_fills "$size window resized to ${w}x$h" "${w}x$h+$x+$y"
    done

    alt_enter
    check_fills "$size full screen again" "${sw}x$sh+0+0"
    press F1
    sleep 2
    check_fills "$size full screen, wide mode" "${sw}x$sh+0+0"
    check_window 1024 768
    alt_enter
    check_fills "$size full screen again, wide mode" "${sw}x$sh+0+0"

    escape_to_exit 5 "the game on $size"
    kill "$wm_pid" "$server_pid"
    wait "$wm_pid" "$server_pid" 2>/dev/null
    wm_pid= server_pid=
}

run_on 1920x1080
run_on 3840x2160
echo "large screens: ok"
