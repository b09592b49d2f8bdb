#!/usr/bin/env bash
# A Wayland desktop: Weston with Xwayland, nested in an Xvfb of its own, and the game started
# on Weston's Xwayland as a player starts it. Keys go with xdotool to Weston's window on the
# outer server, with the pointer over it, so they reach the game through the compositor as
# a person's do. (Never click that window: a click stops its keys reaching the clients.)
#
# First an xev window on the same Xwayland must see a key press: without that the rig, not
# the game, is at fault. Then Enter starts play, held Right moves the view, F1 switches the
# mode, Alt+Enter gives a window and Alt+Enter again full screen, still playing, F1 switches
# back with Right held across it, and Escape ends the game with status 0. Every full-screen
# picture, measured on screenshots of the outer server, must be 4:3, centred and fill the
# output's height or width. The frame rate seen on Weston is measured and printed.
#
# Checks that later steps do not depend on (the picture showing by itself, its shape) are
# gathered and reported together at the end; a missing reaction to a key stops the test at
# once. With EMBERWING_SHOTS set to a folder, the screenshots are kept there.
set -uo pipefail
export EMBERWING_UNDER_XVFB=1 # lib.sh: this script starts its own servers
export XVFB_SCREEN=1280x960x24
source "$(dirname "$0")/lib.sh"

# Weston's output: 1280 x 900 is wider than 4:3, so a picture that keeps its shape leaves
# black bands at the sides and one stretched to the output does not.
OUTPUT_W=1280 OUTPUT_H=900
PANEL_H=32 # desktop-shell's panel along the top of the output, with a clock

# Whether process $1 has ended (a zombie not yet collected has).
gone() { ! kill -0 "$1" 2>/dev/null || [ "$(awk '{ print $3 }' /proc/"$1"/stat 2>/dev/null)" = Z ]; }

# Removes the lock and socket of X display $1 when the lock names process $2 and that
# process has ended: an X server (Weston for Xwayland) ended by kill -9 leaves them behind.
remove_stale_display() {
    [ -n "$1" ] && [ -n "$2" ] && gone "$2" &&
        [ "$(tr -d ' ' 2>/dev/null </tmp/.X"$1"-lock)" = "$2" ] &&
        rm -f /tmp/.X"$1"-lock /tmp/.X11-unix/X"$1"
    return 0
}

# Ends everything the rig started, on every way out: by their process ids, the children
# first, then the compositor (Xwayland and Weston's helpers go with it, or are ended by id),
# then the outer server.
cleanup() {
    local pid
    trap - EXIT INT TERM HUP
    [ -n "${game_pid:-}" ] && kill "$game_pid" 2>/dev/null
    [ -n "${xev_pid:-}" ] && kill "$xev_pid" 2>/dev/null
    if [ -n "${weston_pid:-}" ]; then
        local helpers
        helpers=$(pgrep -P "$weston_pid" 2>/dev/null)
        kill "$weston_pid" 2>/dev/null
        for _ in $(seq 30); do
            gone "$weston_pid" && break
            sleep 0.1
        done
        kill -9 "$weston_pid" 2>/dev/null
        for pid in $helpers; do kill "$pid" 2>/dev/null; done
        sleep 0.2
        for pid in $helpers; do kill -9 "$pid" 2>/dev/null; done
        remove_stale_display "${xw_number:-}" "$weston_pid"
    fi
    if [ -n "${server_pid:-}" ]; then
        kill "$server_pid" 2>/dev/null
        wait "$server_pid" 2>/dev/null
        remove_stale_display "${DISPLAY#:}" "$server_pid"
    fi
    [ -n "${watchdog_pid:-}" ] && kill "$watchdog_pid" 2>/dev/null
    wait 2>/dev/null
    rm -rf "$shots"
}
trap cleanup EXIT
trap 'exit 129' HUP
trap 'exit 130' INT
trap 'exit 143' TERM

findings=()
# A failed check that the steps after it do not depend on: noted, reported at the end.
finding() {
    echo "finding: $*" >&2
    findings+=("$*")
}
fail() {
    local f
    for f in "${findings[@]}"; do echo "FAIL (found earlier): $f" >&2; done
    echo "FAIL: $*" >&2
    [ -s "$shots/stderr" ] && { echo "the game's stderr:" >&2; cat "$shots/stderr" >&2; }
    keep_shots
    exit 1
}
keep_shots() {
    [ -n "${EMBERWING_SHOTS:-}" ] && cp "$shots"/*.png "$EMBERWING_SHOTS"/ 2>/dev/null
    return 0
}

# Polls command "$@" every 0.2 s for up to $1 seconds; succeeds as soon as it does.
within() {
    local deadline=$((SECONDS + $1))
    shift
    until "$@"; do
        [ $SECONDS -lt "$deadline" ] || return 1
        sleep 0.2
    done
}

# --- the outer server, and Weston in it ---------------------------------------------------
start_server
outer=$DISPLAY
# Should this script be killed outright, the watchdog ends the rig that it leaves behind.
(
    while kill -0 $$ 2>/dev/null; do sleep 1; done
    for pid in $(cat "$shots/pids" 2>/dev/null); do kill -9 "$pid" 2>/dev/null; done
    sleep 0.5
    while read -r number pid; do remove_stale_display "$number" "$pid"; done <"$shots/displays"
    rm -rf "$shots"
) &
watchdog_pid=$!

runtime=$shots/runtime
mkdir -m 700 "$runtime"
unset WAYLAND_DISPLAY WAYLAND_SOCKET
export XDG_RUNTIME_DIR=$runtime
# --idle-time=0: the shell would otherwise blank and lock the output after five minutes.
# The timeline scope logs each repaint of the output, for the frame rate.
weston --backend=x11-backend.so --use-pixman --xwayland --no-config --idle-time=0 \
    --width=$OUTPUT_W --height=$OUTPUT_H --socket=wayland-emberwing \
    --log="$shots/weston.log" --logger-scopes=log,timeline >"$shots/weston.out" 2>&1 &
weston_pid=$!
echo "$server_pid $weston_pid" >"$shots/pids"
echo "${DISPLAY#:} $server_pid" >"$shots/displays"

weston_says_display() {
    kill -0 "$weston_pid" 2>/dev/null || fail "rig: Weston ended at start: $(tail -5 "$shots/weston.log")"
    xw=$(sed -n 's/.*xserver listening on display \(:[0-9][0-9]*\).*/\1/p' "$shots/weston.log" 2>/dev/null | tail -1)
    [ -n "$xw" ]
}
within 15 weston_says_display || fail "rig: Weston named no Xwayland display in 15 s: $(tail -5 "$shots/weston.log")"
xw_number=${xw#:}
echo "$xw_number $weston_pid" >>"$shots/displays"
# Weston starts Xwayland at the first client; this is that client.
within 15 xdpyinfo -display "$xw" >/dev/null 2>&1 || fail "rig: Xwayland on $xw did not answer in 15 s"
echo "$server_pid $weston_pid $(pgrep -P "$weston_pid" | tr '\n' ' ')" >"$shots/pids"

weston_window() {
    local info
    info=$(xwininfo -name "Weston Compositor - screen0" 2>/dev/null) || return 1
    wx=$(awk '/Absolute upper-left X/ { print $4 }' <<<"$info")
    wy=$(awk '/Absolute upper-left Y/ { print $4 }' <<<"$info")
    [ "$(awk '/Width:/ { print $2 }' <<<"$info")x$(awk '/Height:/ { print $2 }' <<<"$info")" = \
        "${OUTPUT_W}x$OUTPUT_H" ]
}
within 10 weston_window || fail "rig: no ${OUTPUT_W}x$OUTPUT_H Weston window on the outer server"
output_geometry=${OUTPUT_W}x$OUTPUT_H+$wx+$wy
# Keys go where the pointer is: into Weston's window, which passes them to its focused client.
xdotool mousemove $((wx + OUTPUT_W / 2)) $((wy + OUTPUT_H / 2))

# Repaints of Weston's output a second, from its timeline between lines $1 and $2 of its log.
repaint_rate() {
    sed -n "$(($1 + 1)),$2p" "$shots/weston.log" | grep '"core_repaint_finished"' |
        sed 's/.*"T":\[\([0-9]*\), *\([0-9]*\)\].*/\1 \2/' |
        awk 'NR == 1 { first = $1 + $2 / 1e9 } { last = $1 + $2 / 1e9; n++ }
             END { if (n > 1) printf "%.1f\n", (n - 1) / (last - first); else print 0 }'
}

# --- the control: does the rig deliver keys at all? ---------------------------------------
xev -display "$xw" -event keyboard -name emberwing-rig-control >"$shots/xev.log" 2>&1 &
xev_pid=$!
control_saw_key() {
    press a
    sleep 0.3
    grep -q '^KeyPress event' "$shots/xev.log"
}
within 15 control_saw_key ||
    fail "rig: an xev window on Weston's Xwayland $xw saw no key press in 15 s: keys sent to" \
        "Weston's window on the outer server do not reach its clients, so the game cannot be judged"
kill "$xev_pid"
wait "$xev_pid" 2>/dev/null
xev_pid=
echo "rig: Weston 10 at ${OUTPUT_W}x$OUTPUT_H in Xvfb $outer, Xwayland $xw; an xev window got the keys"
sleep 0.5
# The centre of the desktop before the game, to tell when the game shows.
centre=$((OUTPUT_W / 2))x$((OUTPUT_H / 2))+$((wx + OUTPUT_W / 4))+$((wy + OUTPUT_H / 4))
convert "$(screenshot desktop)" -crop "$centre" +repage "$shots/desktop-centre.png"

# --- helpers on screenshots of the outer server -------------------------------------------

# Crops screenshot $1 to Weston's output.
output_of() { convert "$1" -crop "$output_geometry" +repage "$2"; }

# The box of what is not black inside region $2 (WxH+X+Y, outer screen) of screenshot $1,
# relative to the region, as "W H X Y". A black frame added first makes black the colour
# that the trim takes away, whatever the corners show.
box_in() {
    convert "$1" -crop "$2" +repage -bordercolor black -border 1 -fuzz 4% -format '%@' info: |
        awk -F'[x+]' '{ print $1, $2, $3 - 1, $4 - 1 }'
}

# The picture: its box on the outer screen, as WxH+X+Y, in picture_geometry; from the
# non-black box inside region $2 (default: the output) of screenshot $1.
find_picture() {
    local region=${2:-$output_geometry} w h x y
    local rx=${region#*+}
    local ry=${rx#*+}
    rx=${rx%%+*}
    read -r w h x y < <(box_in "$1" "$region")
    picture_w=$w picture_h=$h
    picture_geometry=${w}x$h+$((rx + x))+$((ry + y))
    picture_x=$x picture_y=$y
}

# A strip of city in the lower left of the picture, away from the faerie and the signs, in
# fractions of the picture (in the wide mode it lies above the lower band).
strip_geometry() {
    awk -v w="$picture_w" -v h="$picture_h" -v g="$picture_geometry" 'BEGIN {
        split(g, p, /[x+]/)
        printf "%dx%d+%d+%d\n", w * 0.25, h * 0.10, p[3] + w * 0.03, p[4] + h * 0.78 }'
}

# The upper band of the wide mode's picture (its top ninth), which holds still while the view
# moves: a wide picture shows the same band there every time, a narrow one shows city.
band_geometry() {
    awk -v w="$picture_w" -v h="$picture_h" -v g="$picture_geometry" 'BEGIN {
        split(g, p, /[x+]/)
        printf "%dx%d+%d+%d\n", w * 0.9, h * 0.08, p[3] + w * 0.05, p[4] + h * 0.01 }'
}

# Percentage of the pixels of region $3 that differ between screenshots $1 and $2.
changed_percent() {
    local size=${3%%+*}
    local n
    n=$(changed_pixels "$1" "$2" "$3")
    awk -v n="$n" -v s="$size" 'BEGIN { split(s, d, "x"); printf "%d\n", 100 * n / (d[1] * d[2]) }'
}

# Whether the full-screen picture in screenshot $1 has the shape it must: 4:3 within two
# pixels, filling the output's height or width, centred. Sets shape_report.
full_screen_shape_ok() {
    find_picture "$1"
    shape_report="the picture is ${picture_w}x$picture_h at +$picture_x+$picture_y in Weston's ${OUTPUT_W}x$OUTPUT_H output"
    local off_ratio=$((picture_w * 3 - picture_h * 4))
    [ ${off_ratio#-} -le 8 ] || return 1
    [ "$picture_h" -ge $((OUTPUT_H - 1)) ] || [ "$picture_w" -ge $((OUTPUT_W - 1)) ] || return 1
    local off_x=$((2 * picture_x + picture_w - OUTPUT_W)) off_y=$((2 * picture_y + picture_h - OUTPUT_H))
    [ ${off_x#-} -le 2 ] && [ ${off_y#-} -le 2 ]
}

# Waits up to 5 s for a full-screen picture of the right shape; a wrong one is a finding.
# $1 names the moment, and its screenshot.
check_full_screen_shape() {
    shape_last() { full_screen_shape_ok "$(screenshot "$1")"; }
    if within 5 shape_last "$1"; then
        echo "$1: full screen, $shape_report: 4:3, fills it, centred"
    else
        finding "$1: $shape_report: not 4:3 filling the output's height or width, centred"
    fi
}

# Fails unless the strip of city changes between two screenshots 0.3 s apart, while Right
# is held (the caller holds it); $1 names the moment.
check_view_moves() {
    local strip
    strip=$(strip_geometry)
    screenshot "$1-a" >/dev/null
    sleep 0.3
    screenshot "$1-b" >/dev/null
    local moved
    moved=$(changed_percent "$shots/$1-a.png" "$shots/$1-b.png" "$strip")
    [ "$moved" -ge 20 ] ||
        fail "$1: the held Right key did not move the view ($moved % of the city strip $strip changed in 0.3 s)"
    echo "$1: held Right moves the view ($moved % of a strip of city changed in 0.3 s)"
}

# Waits up to $3 seconds for at least $2 % of the output below the panel to differ from
# screenshot $1; fails with message $4 otherwise.
below_panel=${OUTPUT_W}x$((OUTPUT_H - PANEL_H))+$wx+$((wy + PANEL_H))
picture_changed() {
    changed=$(changed_percent "$1" "$(screenshot now)" "$below_panel")
    [ "$changed" -ge "$2" ]
}
wait_for_change() {
    within "$3" picture_changed "$1" "$2" || fail "$4 ($changed % of the output changed)"
}

# Right goes down and up through these: each hold of Right is followed by one of Left as
# long, so that the view stays near where play starts, between the city's edges (the city is
# about seven seconds of flight wide, and the rest of its row to the right is clear).
right_down() {
    xdotool keydown Right
    right_since=$EPOCHREALTIME
}
right_up() {
    xdotool keyup Right
    hold Left "$(awk -v s="$right_since" -v e="$EPOCHREALTIME" 'BEGIN { printf "%.2f\n", e - s }')"
}

alt_enter() {
    xdotool keydown Alt_L keydown Return
    sleep 0.12
    xdotool keyup Return keyup Alt_L
}

# The game's top-level window on Xwayland: whether it asks for full screen, and its size.
game_window_state() {
    local id
    id=$(xwininfo -display "$xw" -name Emberwing 2>/dev/null | awk '/Window id:/ { print $4 }')
    [ -n "$id" ] || return 1
    window_fullscreen=no
    xprop -display "$xw" -id "$id" _NET_WM_STATE | grep -q _NET_WM_STATE_FULLSCREEN && window_fullscreen=yes
    local info
    info=$(xwininfo -display "$xw" -id "$id")
    window_geometry=$(awk '/Width:/ { w = $2 } /Height:/ { h = $2 } /Absolute upper-left X/ { x = $4 }
        /Absolute upper-left Y/ { y = $4 } END { printf "%dx%d+%d+%d\n", w, h, x, y }' <<<"$info")
    window_viewable=$(awk '/Map State/ { print $3 }' <<<"$info")
}
is_windowed() {
    game_window_state && [ "$window_fullscreen" = no ] && [ "$window_viewable" = IsViewable ] &&
        [ "${window_geometry%%x*}" -lt $OUTPUT_W ]
}
is_full_screen() { game_window_state && [ "$window_fullscreen" = yes ]; }

# --- the game -------------------------------------------------------------------------------
# As a player starts it, from the desktop: the program alone, on Xwayland, in its folder. The
# record of the play (a player's own bug-report aid) gives the frames it made.
DISPLAY=$xw EMBERWING_RECORD=$shots/record.txt "$game" 2>"$shots/stderr" &
game_pid=$!
echo "$server_pid $weston_pid $(pgrep -P "$weston_pid" | tr '\n' ' ') $game_pid" >"$shots/pids"

# Something other than the desktop and not one flat colour, in the middle of the output.
game_shows() {
    kill -0 "$game_pid" 2>/dev/null || fail "the game ended at start: $(cat "$shots/stderr")"
    convert "$(screenshot probe)" -crop "$centre" +repage "$shots/probe-centre.png"
    shows_something "$shots/probe-centre.png" &&
        [ "$(changed_percent "$shots/desktop-centre.png" "$shots/probe-centre.png" \
            "$((OUTPUT_W / 2))x$((OUTPUT_H / 2))+0+0")" -ge 50 ]
}
# The pointer stays still: a player starting the game from the keyboard does not move it.
if ! within 10 game_shows; then
    finding "the game did not show on Weston's output within 10 s with the pointer still"
    xdotool mousemove_relative 1 1 sleep 0.1 mousemove_relative -- -1 -1
    within 5 game_shows || fail "the game did not show on Weston's output even after the pointer moved"
fi
sleep 1 # the title's first frames
check_full_screen_shape title
cp "$shots/title.png" "$shots/wayland-title.png"

press Return
wait_for_change "$shots/title.png" 30 3 "Enter on the title did not start play: the game gets no keys"
sleep 0.5
echo "Enter: play started ($changed % of the output changed)"

right_down
check_view_moves narrow-play
right_up
sleep 0.3
screenshot before-f1 >/dev/null
press F1
wait_for_change "$shots/before-f1.png" 25 3 "F1 did not switch to the wide mode"
echo "F1: the wide mode ($changed % of the output changed)"
sleep 1 # opening the mode and painting its bands
check_full_screen_shape wide
wide_band=$(band_geometry)
right_down
check_view_moves wide-play
right_up
output_of "$shots/wide-play-b.png" "$shots/wayland-weston.png"

# Alt+Enter: an ordinary window on the desktop, still playing.
alt_enter
within 5 is_windowed || fail "Alt+Enter did not give a window (asks for full screen: ${window_fullscreen:-?}," \
    "${window_geometry:-no window}, ${window_viewable:-})"
sleep 1
echo "Alt+Enter: a window of ${window_geometry%%+*} at +${window_geometry#*+}"
find_picture "$(screenshot window)" "$(awk -F'[x+]' -v x="$wx" -v y="$wy" \
    '{ printf "%dx%d+%d+%d\n", $1, $2, $3 + x, $4 + y }' <<<"$window_geometry")"
right_down
check_view_moves window-play
right_up
output_of "$shots/window-play-b.png" "$shots/wayland-weston-window.png"

# Alt+Enter again: full screen, not paused.
alt_enter
within 5 is_full_screen || fail "Alt+Enter in the window did not go back to full screen (${window_geometry:-no window})"
sleep 1
check_full_screen_shape back-to-full-screen
right_down
check_view_moves back-to-full-screen-play
right_up
sleep 0.3

# The frame rate while the view moves in full screen, over one hold of Right: the game's
# frames from its record, and Weston's repaints of its output from its timeline. Weston's x11
# backend shows at most about 50 frames a second whatever the client: it reports each
# repaint done 10 ms after it, and starts the next 7 ms before the following 60 Hz "vblank".
xdotool keydown Right
held_since=$EPOCHREALTIME
sleep 0.5
log_start=$(wc -l <"$shots/weston.log")
sleep 2
log_end=$(wc -l <"$shots/weston.log")
xdotool keyup Right
held_until=$EPOCHREALTIME
held=$(awk -v s="$held_since" -v e="$held_until" 'BEGIN { printf "%.2f\n", e - s }')
hold Left "$held"
weston_fps=$(repaint_rate "$log_start" "$log_end")
game_frames=$(awk '$2 == "R" { n = $1 } END { print n + 0 }' "$shots/record.txt")
game_fps=$(awk -v n="$game_frames" -v t="$held" 'BEGIN { printf "%.1f\n", n / t }')
echo "frame rate in full screen, view moving: the game made $game_frames frames in $held s" \
    "($game_fps a second); Weston repainted its output $weston_fps times a second"

# F1 back to the narrow mode with Right held across it: the key stays held.
right_down
sleep 0.3
press F1
sleep 1
check_full_screen_shape narrow-again
band_changed=$(changed_percent "$shots/wide.png" "$shots/narrow-again.png" "$wide_band")
[ "$band_changed" -ge 50 ] ||
    fail "F1 after Alt+Enter did not switch back to the narrow mode (the wide mode's upper band" \
        "still shows: $band_changed % of it changed)"
echo "F1: the narrow mode again ($band_changed % of the wide mode's upper band changed)"
check_view_moves narrow-again-play
right_up

escape_to_exit 5 "the game, on Escape in play,"
echo "Escape: the game ended with status 0"
keep_shots
if [ ${#findings[@]} -gt 0 ]; then
    for f in "${findings[@]}"; do echo "FAIL: $f" >&2; done
    exit 1
fi
echo "wayland: ok"
