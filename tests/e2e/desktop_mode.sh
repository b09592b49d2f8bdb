#!/usr/bin/env bash
# The game never changes the desktop's video mode. A real Xorg server with the dummy driver
# offers 1920x1080, 1024x768 and 800x600 and starts at 1920x1080, under the openbox window
# manager; xvidtune -show (XF86VidMode) and xrandr (RandR) must report 1920x1080 before the
# game starts, on its title screen, in play in the 800 x 600 mode and in the wide mode, in
# the window after Alt+Enter, back in full screen, and after the game is killed with
# SIGKILL, which leaves it no chance to restore anything. Xorg needs root here; without it
# the test is skipped.
set -uo pipefail
SKIPPED=77
[ "$(id -u)" = 0 ] || { echo "skipped: Xorg with the dummy driver needs root"; exit $SKIPPED; }
export EMBERWING_UNDER_XVFB=1 # this test brings its own server, not lib.sh's Xvfb
source "$(dirname "$0")/lib.sh"

DESKTOP_MODE=1920x1080

cleanup() {
    [ -n "${game_pid:-}" ] && kill -9 "$game_pid" 2>/dev/null
    [ -n "${wm_pid:-}" ] && kill "$wm_pid" 2>/dev/null
    if [ -n "${server_pid:-}" ]; then
        kill "$server_pid" 2>/dev/null
        for _ in $(seq 50); do
            kill -0 "$server_pid" 2>/dev/null || break
            sleep 0.1
        done
        kill -9 "$server_pid" 2>/dev/null
    fi
    wait 2>/dev/null
    rm -rf "$shots"
}
trap cleanup EXIT

command -v Xorg >/dev/null && [ -e /usr/lib/xorg/modules/drivers/dummy_drv.so ] ||
    fail "no Xorg with the dummy driver: tools/install-deps check installs them"
command -v xvidtune >/dev/null && command -v xrandr >/dev/null ||
    fail "no xvidtune or xrandr: tools/install-deps check installs x11-xserver-utils"

# The monitor's ranges admit the three mode lines and none of the server's built-in modes.
cat >"$shots/xorg.conf" <<'EOF'
Section "ServerFlags"
    Option "AutoAddDevices" "false"
    Option "AutoEnableDevices" "false"
    Option "DontVTSwitch" "true"
EndSection
Section "Device"
    Identifier "dummy"
    Driver "dummy"
    VideoRam 65536
EndSection
Section "Monitor"
    Identifier "monitor"
    HorizSync 37.8-37.95, 48.3-48.4, 67.4-67.6
    VertRefresh 59.9-60.4
    Modeline "1920x1080" 148.50 1920 2008 2052 2200 1080 1084 1089 1125 +hsync +vsync
    Modeline "1024x768" 65.00 1024 1048 1184 1344 768 771 777 806 -hsync -vsync
    Modeline "800x600" 40.00 800 840 968 1056 600 601 605 628 +hsync +vsync
EndSection
Section "Screen"
    Identifier "screen"
    Device "dummy"
    Monitor "monitor"
    DefaultDepth 24
    SubSection "Display"
        Depth 24
        Modes "1920x1080" "1024x768" "800x600"
        Virtual 1920 1080
    EndSubSection
EndSection
EOF
mkdir "$shots/xorg.conf.d" # in place of the system's, so that nothing else is read

# -seat seat1 keeps the server off the machine's virtual consoles; -displayfd picks a free
# display number and writes it once the server accepts clients.
Xorg -config "$shots/xorg.conf" -configdir "$shots/xorg.conf.d" -logfile "$shots/xorg.log" \
    -noreset -nolisten tcp -seat seat1 -displayfd 3 3>"$shots/display" >/dev/null 2>&1 &
server_pid=$!
for _ in $(seq 100); do
    [ -s "$shots/display" ] && break
    kill -0 "$server_pid" 2>/dev/null || break
    sleep 0.1
done
[ -s "$shots/display" ] ||
    fail "Xorg with the dummy driver did not start: $(grep -sE '\(EE\)' "$shots/xorg.log")"
export DISPLAY=:$(cat "$shots/display")
unset XAUTHORITY

# The mode as both extensions see it. xvidtune first: a plain xrandr makes the dummy driver
# probe its output and set the RandR mode again, undoing a change made through XF86VidMode,
# so xrandr is asked with --current, which reads the state without touching it.
desktop_mode() {
    local vidmode randr
    vidmode=$(xvidtune -show 2>&1 | awk 'NF { gsub(/"/, "", $1); print $1; exit }')
    randr=$(xrandr --current 2>&1 | awk '$0 ~ /\*/ { print $1; exit }')
    echo "xvidtune $vidmode, xrandr $randr"
}
expected="xvidtune $DESKTOP_MODE, xrandr $DESKTOP_MODE"
changes=()
check_mode() {
    local now
    now=$(desktop_mode)
    echo "$1: $now"
    [ "$now" = "$expected" ] || changes+=("$1: $now")
}

[ "$(xrandr --current | grep -c '^   [0-9]')" = 3 ] ||
    fail "the server should offer three modes: $(xrandr --current)"
check_mode "before the game"
[ ${#changes[@]} = 0 ] || fail "the desktop is not at $DESKTOP_MODE to begin with: ${changes[*]}"

openbox >/dev/null 2>&1 &
wm_pid=$!
for _ in $(seq 50); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
    sleep 0.1
done
xprop -root _NET_SUPPORTING_WM_CHECK | grep -q 'window id' || fail "openbox did not start"

alt_enter() {
    xdotool keydown Alt_L keydown Return
    sleep 0.12
    xdotool keyup Return keyup Alt_L
    sleep 1.5
}

# The game still runs and shows a picture.
playing() {
    kill -0 "$game_pid" 2>/dev/null || fail "$1: the game ended: $(cat "$shots/stderr")"
    shows_something "$(screenshot "$2")" || fail "$1: the screen shows nothing"
}

start_game
# A window manager that has just started on a busy machine can take seconds to map it.
picture_within 20 || fail "the game showed nothing within 20 s"
sleep 1
playing "title screen" title
check_mode "title screen, full screen"
press Return
sleep 1.5
playing "play, 800 x 600 mode" narrow
check_mode "play, 800 x 600 mode, full screen"
press F1
sleep 2
playing "play, wide mode" wide
[ "$(changed_pixels "$shots/narrow.png" "$shots/wide.png")" != 0 ] || fail "F1 changed nothing"
check_mode "play, wide mode, full screen"
alt_enter
playing "play, wide mode, window" window
read -r width height < <(xwininfo -name Emberwing | awk '/Width:/ { w = $2 } /Height:/ { h = $2 }
    END { print w, h }')
[ "$(xwininfo -name Emberwing | awk '/Map State/ { print $3 }')" = IsViewable ] &&
    [ "${width:-0}" -lt 1920 ] || fail "Alt+Enter did not open a window (${width:-?}x${height:-?})"
check_mode "play, wide mode, window of ${width}x$height"
alt_enter
playing "play, wide mode, full screen again" again
check_mode "play, wide mode, full screen again"
{ kill -9 "$game_pid" && wait "$game_pid"; } 2>/dev/null # without bash's "Killed" line
game_pid=
sleep 1
check_mode "after kill -9 of the game"

[ ${#changes[@]} = 0 ] ||
    fail "the desktop's mode changed from $DESKTOP_MODE: $(printf '\n  %s' "${changes[@]}")"
echo "desktop mode: $DESKTOP_MODE throughout"
