#!/usr/bin/env bash
# The real game run from a folder holding a doctored copy of media/: no media at all, no
# placeholder picture, a damaged or unreadable tune, damaged pictures among good ones. In
# every case it shows its title, plays, and quits with status 0.
set -uo pipefail
source "$(dirname "$0")/lib.sh"

# Writes bytes given as printf escapes into file $1 at offset $2, keeping the rest.
poke() {
    printf "$3" | dd of="$1" bs=1 seek="$2" conv=notrunc status=none
}

# The tune's first track is 13 bytes long, so its second track's header starts at 35.
TRACK_COUNT=10 SECOND_TRACK_LENGTH=39 SECOND_TRACK_DATA=43

prepare() {
    enter_media_copy
    rm -f media/patches.dat
}

play_through() {
    local name=$1
    start_game
    local title
    title=$(screenshot "$name-title")
    shows_something "$title" || fail "$name: the title screen is blank"
    press Return
    sleep 0.5
    hold_together 0.5 Right Shift_L Control_L
    [ "$(changed_pixels "$title" "$(screenshot "$name-play")" 800x600+0+0)" -gt 10000 ] ||
        fail "$name: the play phase did not show"
    escape_to_exit 5 "$name: the game"
    echo "$name: ok"
}

quit_from_title() {
    start_game
    escape_to_exit 5 "$1: quitting from the title"
}

prepare
rm -rf media
# A copy of the program, so that no media/ lies beside it or above it either.
cp "$game" emberwing
built_game=$game game=$PWD/emberwing
play_through "no media folder"
quit_from_title "no media folder"
[ "$(grep -c "no media folder in $PWD, $PWD," "$shots/stderr")" = 1 ] ||
    fail "no media folder: the places looked are not named once: $(cat "$shots/stderr")"
game=$built_game

prepare
rm media/NotLoaded.pcx media/title.pcx media/faerie.pcx media/grass.pcx
play_through "no placeholder and pictures missing"

prepare
rm media/music0.mid
mkdir media/music0.mid
play_through "tune unreadable"
quit_from_title "tune unreadable"

prepare
head -c 5000 "$media/music0.mid" >media/music0.mid
play_through "tune truncated"

prepare
# The second track's body replaced by picture bytes, the header cut down to two tracks:
# Allegro loads this and its player used to abort on it.
{ head -c $SECOND_TRACK_DATA "$media/music0.mid"; tail -c +200 "$media/title.pcx" | head -c 1430; } \
    >media/music0.mid
poke media/music0.mid $TRACK_COUNT '\x00\x02'
play_through "tune with a garbage track"
grep -q 'playing without music' "$shots/stderr" || fail "the garbage tune was not refused"

prepare
poke media/music0.mid $SECOND_TRACK_LENGTH '\x7f\xff\xff\xff'
play_through "tune with a huge track length"

prepare
poke media/music0.mid $TRACK_COUNT '\x00\x00'
play_through "tune with zero tracks"

prepare
head -c 300 "$media/title.pcx" >media/title.pcx
cp "$media/music0.mid" media/faerie.pcx
head -c 128 "$media/grass.pcx" >media/grass.pcx
poke media/menu.pcx 8 '\xe8\xfd\xe8\xfd' # 65000 x 65000 pixels
play_through "damaged pictures"
