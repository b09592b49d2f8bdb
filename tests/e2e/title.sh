#!/usr/bin/env bash
# The title screen of the real game: shown as the README's picture, the cursor moves, Enter
# on Quit and Escape end the game with status 0, started from another folder it looks the
# same, without a sound device it says so in one line and plays on, and without a display it
# stops with one clear line.
set -uo pipefail
source "$(dirname "$0")/lib.sh"

start_game
first=$(screenshot first)
shows_something "$first" || fail "the title screen is blank"
# The picture the README shows, which the Windows build must show too (tests/wine/game.sh).
[ "$(changed_pixels "$first" docs/screenshots/title-800x600.png)" = 0 ] ||
    fail "the title differs from docs/screenshots/title-800x600.png"

press Down
# A loaded machine may take a few frames more to show it.
play_cursor=30x30+275+250 quit_cursor=30x30+275+320
for _ in $(seq 20); do
    sleep 0.1
    second=$(screenshot second)
    [ "$(changed_pixels "$first" "$second" "$quit_cursor")" != 0 ] && break
done
[ "$(changed_pixels "$first" "$second" "$play_cursor")" != 0 ] ||
    fail "the cursor was not on the first row at start"
[ "$(changed_pixels "$first" "$second" "$quit_cursor")" != 0 ] ||
    fail "Down did not move the cursor to the second row"
[ "$(changed_pixels "$first" "$second" 200x150+20+420)" = 0 ] ||
    fail "more than the cursor changed"

press Return
wait_for_exit 2
[ "$status" = 0 ] || fail "Enter on Quit ended with status $status"

# Started from a folder without media/, it finds its own beside the program.
cd "$(mktemp -d "$shots/elsewhere.XXXXXX")" || fail "no folder to start from"
start_game
cd - >/dev/null || fail "cannot go back"
[ "$(changed_pixels "$first" "$(screenshot elsewhere)")" = 0 ] ||
    fail "started from another folder the title differs: $(cat "$shots/stderr")"
escape_to_exit 2 "started from another folder, the game"

# ALSA's default device named as a card that no machine has; the sound library's probing
# must not reach the terminal.
mkdir "$shots/home"
printf 'pcm.!default { type hw card 31 }\nctl.!default { type hw card 31 }\n' >"$shots/home/.asoundrc"
HOME=$shots/home start_game
escape_to_exit 2 "without a sound device the game"
[ "$(wc -l <"$shots/stderr")" = 1 ] && grep -q 'no sound device' "$shots/stderr" ||
    fail "without a sound device, expected one line about it, got: $(cat "$shots/stderr")"

message=$(env -u DISPLAY "$game" 2>&1 >/dev/null)
status=$?
[ "$status" = 1 ] || fail "without a display the status was $status"
[ "$(printf '%s\n' "$message" | wc -l)" = 1 ] || fail "expected one line, got: $message"
grep -q 'graphical display' <<<"$message" || fail "unclear message: $message"
echo "title screen: ok"
