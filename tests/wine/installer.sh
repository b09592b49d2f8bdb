#!/usr/bin/env bash
# The Windows packages as a player meets them, under Wine in a throwaway prefix and an X
# server of the test's own: the zip holds the game folder; the installer, silent, puts every
# file of the install layout into Program Files\Emberwing, the Start-menu shortcut and the
# Add/Remove Programs entry; the game started from that shortcut, and from an unrelated
# folder, shows the same title screen as the build's own game, so it found its media; the
# entry's quiet uninstall removes all of it, and, installed again, leaves a player's own file
# and its folder alone.
#
#   installer.sh SETUP.exe WINDOWS.zip FILES.txt GAME.exe
# FILES.txt lists the install layout, one path a line; GAME.exe is the build's game, run from
# the source folder (the working folder) for the reference title screen.
set -euo pipefail

setup=$(realpath "$1")
zip=$(realpath "$2")
files_list=$(realpath "$3")
build_game=$(realpath "$4")
here=$(cd "$(dirname "$0")" && pwd)
wine_run=$here/../../tools/windows/wine-run

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# The names in folder $1, on one line, for a failure's message.
names_in() {
    find "$1" -mindepth 1 -maxdepth 1 -printf '%f ' 2>&1
}

[[ -f $setup ]] || fail "no installer $setup: build the target emberwing-windows-packages"
[[ $(basename "$setup") =~ ^emberwing-(.+)-setup\.exe$ ]] || fail "unexpected installer name $setup"
version=${BASH_REMATCH[1]}

work=$(mktemp -d)
xvfb_pid=
cleanup() {
    if [[ -d $work/prefix ]]; then
        WINEPREFIX=$work/prefix "$WINESERVER" -k 2>/dev/null || true
    fi
    [[ -z $xvfb_pid ]] || kill "$xvfb_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

# A copy of wine-run's ready prefix is a fresh Windows for a fraction of making one.
eval "$("$wine_run" --env)"
cp -a "$WINEPREFIX" "$work/prefix"
export WINEPREFIX=$work/prefix
# Start-up must not depend on this machine's sound.
printf 'pcm.!default { type null }\nctl.!default { type hw card 0 }\n' >"$work/asound.conf"
export ALSA_CONFIG_PATH=$work/asound.conf

Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" >/dev/null 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do
    [[ -s $work/display ]] && break
    sleep 0.1
done
[[ -s $work/display ]] || fail "Xvfb did not start"
DISPLAY=:$(cat "$work/display")
export DISPLAY

install_dir="$WINEPREFIX/drive_c/Program Files/Emberwing"
windows_dir='C:\Program Files\Emberwing'
uninstaller='Uninstall Emberwing.exe'
shortcut="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Emberwing.lnk"
key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Emberwing'

# The install layout, and the repository's media all in it.
mapfile -t files <"$files_list"
[[ ${#files[@]} -gt 2 ]] || fail "the install layout lists only ${#files[@]} files"
declare -A listed
for file in "${files[@]}"; do
    listed[$file]=1
done
for wanted in emberwing.exe media/patches.dat media/*.pcx media/*.mid media/*.wav media/*.dat; do
    [[ -n ${listed[$wanted]:-} ]] || fail "the install layout lacks $wanted"
done

# The zip: the same files, in one top folder.
mkdir "$work/unzipped"
(cd "$work/unzipped" && cmake -E tar xf "$zip") || fail "cannot unpack $zip"
[[ $(ls "$work/unzipped") = "emberwing-$version" ]] ||
    fail "the zip's top level is not one folder emberwing-$version: $(names_in "$work/unzipped")"
zipped=$(cd "$work/unzipped/emberwing-$version" && find . -type f -printf '%P\n' | sort)
[[ $zipped = "$(printf '%s\n' "${files[@]}" | sort)" ]] ||
    fail "the zip's files differ from the install layout: $(diff <(echo "$zipped") \
        <(printf '%s\n' "${files[@]}" | sort) | tr '\n' ' ')"

# Prints value $1 of the uninstall entry, empty when there is none.
entry_value() {
    "$WINE" reg query "$key" /v "$1" 2>/dev/null | tr -d '\r' |
        sed -n "s/^    $1    REG_[A-Z_]*    //p"
}

# Checks that the silent installer put every file, the shortcut and the entry in place.
install_silently() {
    "$WINE" "$setup" /S || fail "the installer /S exited with status $?"
    local file
    for file in "${files[@]}"; do
        [[ -f $install_dir/$file ]] || fail "the installer did not install $file"
        cmp -s "$install_dir/$file" "$work/unzipped/emberwing-$version/$file" ||
            fail "the installed $file differs from the zip's"
    done
    [[ -f $install_dir/$uninstaller ]] || fail "the installer wrote no uninstaller"
    [[ -f $shortcut ]] || fail "no Start-menu shortcut $shortcut"
    "$WINE" reg query "$key" >/dev/null 2>&1 || fail "no uninstall entry $key"
}

# Waits for every program in the prefix to end, the uninstaller's copy of itself among them.
wait_for_wine() {
    timeout 30 "$WINESERVER" -w || fail "Wine's programs did not end within 30 s"
}

# Checks that the entry's quiet uninstall command removes the game's files, shortcut and
# entry; the folders are the caller's to check.
uninstall_quietly() {
    local quiet file
    quiet=$(entry_value QuietUninstallString)
    [[ $quiet =~ ^\"([^\"]+)\"\ (.+)$ ]] || fail "unusable QuietUninstallString: $quiet"
    # shellcheck disable=SC2086 # the arguments are the entry's, split as Windows would
    "$WINE" "${BASH_REMATCH[1]}" ${BASH_REMATCH[2]} || fail "the uninstaller exited with status $?"
    # It returns at once, having started a copy of itself that does the work.
    wait_for_wine
    for file in "${files[@]}" "$uninstaller"; do
        [[ ! -e $install_dir/$file ]] || fail "the uninstaller left $file"
    done
    [[ ! -e $shortcut ]] || fail "the uninstaller left the shortcut"
    ! "$WINE" reg query "$key" >/dev/null 2>&1 || fail "the uninstaller left the entry $key"
}

install_silently
entry_should_be() {
    [[ $(entry_value "$1") = "$2" ]] || fail "the entry's $1 is '$(entry_value "$1")', not '$2'"
}
entry_should_be DisplayName Emberwing
entry_should_be DisplayVersion "$version"
entry_should_be InstallLocation "$windows_dir"
entry_should_be UninstallString "\"$windows_dir\\$uninstaller\""
entry_should_be QuietUninstallString "\"$windows_dir\\$uninstaller\" /S"
[[ -n $(entry_value Publisher) ]] || fail "the entry names no publisher"
[[ $(entry_value EstimatedSize) =~ ^0x[0-9a-f]+$ && $(entry_value EstimatedSize) != 0x0 ]] ||
    fail "the entry's EstimatedSize is '$(entry_value EstimatedSize)'"
icon=$(entry_value DisplayIcon)
[[ $icon = "$windows_dir"\\* && -f $install_dir/${icon#"$windows_dir"\\} ]] ||
    fail "the entry's DisplayIcon '$icon' is not an installed file"
# The shortcut's target and working folder, as the strings Windows stores them.
strings -a "$shortcut" | grep -qFx "$windows_dir\\emberwing.exe" ||
    fail "the shortcut does not point at $windows_dir\\emberwing.exe"
strings -a -el "$shortcut" | grep -qFx "$windows_dir" ||
    fail "the shortcut's working folder is not $windows_dir"

# The game's screen, and how much of it differs from another picture.
screenshot() {
    import -window root "$work/$1.png" || fail "no screenshot of the X server"
}
# A count in any form compare prints (1.2e+06 too); anything else, as an error, counts as all.
# compare's status says only whether the pictures differ.
differing_pixels() {
    { compare -metric AE "$work/$1.png" "$work/$2.png" null: 2>&1 || true; } |
        awk '$1 ~ /^[0-9.e+]+$/ { printf "%d\n", $1; next } { print 999999999 }'
}

# Starts the game in a virtual desktop with the command given and sets game_pid to the
# starting job.
start_game() {
    "$wine_run" --desktop 1024x768 "$@" >"$work/game.log" 2>&1 &
    game_pid=$!
}

# Presses Escape in the game's window and waits for the starting job to end with status 0.
quit_game() {
    local window status=0
    window=$(timeout 10 xdotool search --sync --name '^Emberwing$' | head -1) ||
        fail "$1: no game window to press Escape in"
    xdotool windowfocus --sync "$window"
    xdotool keydown Escape
    sleep 0.1
    xdotool keyup Escape
    for _ in $(seq 100); do
        kill -0 "$game_pid" 2>/dev/null || break
        sleep 0.1
    done
    kill -0 "$game_pid" 2>/dev/null && fail "$1: the game did not end on Escape within 10 s"
    wait "$game_pid" || status=$?
    [[ $status = 0 ]] || fail "$1: the game ended with status $status: $(cat "$work/game.log")"
}

# The reference: the build's game with the source folder's media, once its title holds still.
start_game "$build_game"
screenshot previous
for _ in $(seq 40); do
    sleep 0.5
    screenshot reference
    [[ $(convert "$work/reference.png" -format '%[fx:standard_deviation > 0.02]' info:) = 1 &&
        $(differing_pixels previous reference) = 0 ]] && break
    cp "$work/reference.png" "$work/previous.png"
done
[[ $(differing_pixels previous reference) = 0 ]] ||
    fail "the build's game shows no steady title screen: $(cat "$work/game.log")"
quit_game "the build's game"

# Waits up to 20 s for the screen to show the reference title, pixel for pixel: the title is
# drawn the same each time, and drawn on placeholders, as when the media are not found, it
# differs in most of its pixels. $1 names the case.
title_shows() {
    local differing=
    for _ in $(seq 40); do
        sleep 0.5
        screenshot "$1"
        differing=$(differing_pixels reference "$1")
        [[ $differing = 0 ]] && return 0
    done
    fail "$1: the title screen differs from the build's game's in $differing pixels"
}

# The Start-menu shortcut, opened by the Windows shell as a click would.
start_game start /wait 'C:\ProgramData\Microsoft\Windows\Start Menu\Programs\Emberwing.lnk'
title_shows shortcut
# The game running in this prefix is the installed one.
running=()
for pid in $(pgrep -f 'emberwing\.exe'); do
    grep -qzFx "WINEPREFIX=$WINEPREFIX" "/proc/$pid/environ" 2>/dev/null &&
        running+=("$(tr '\0' ' ' <"/proc/$pid/cmdline")")
done
[[ ${#running[@]} = 1 && ${running[0]} = "$windows_dir\\emberwing.exe "* ]] ||
    fail "the shortcut started '${running[*]}', not $windows_dir\\emberwing.exe"
quit_game shortcut

# From a folder without media/, the installed game looks beside itself.
mkdir "$work/elsewhere"
cd "$work/elsewhere"
start_game "$windows_dir\\emberwing.exe"
cd "$OLDPWD"
title_shows elsewhere
quit_game elsewhere

uninstall_quietly
[[ ! -e $install_dir ]] || fail "the uninstaller left the folder: $(names_in "$install_dir")"

# A player's own file in the game's folder stays, and so does the folder.
install_silently
echo "my own notes" >"$install_dir/notes.txt"
uninstall_quietly
[[ $(cat "$install_dir/notes.txt" 2>/dev/null) = "my own notes" ]] ||
    fail "the uninstaller removed a file it did not install"
[[ $(ls -A "$install_dir") = notes.txt ]] ||
    fail "the uninstaller left more than the player's file: $(names_in "$install_dir")"
echo "installer: ok"
