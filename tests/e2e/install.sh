#!/usr/bin/env bash
# Installs the game as a player would, into a fresh prefix and, when run as root, from its
# Debian package, then starts the installed launcher, and the installed desktop entry as a
# desktop would, from an unrelated folder: the title must show and Escape must end it.
# The software centres' listing validates and matches the entry and the changelog, lintian
# has nothing to say about the package, and removing the package leaves nothing.
set -uo pipefail
source "$(dirname "$0")/lib.sh"
build=$(dirname "$game")
source_dir=$(pwd)

# Starts a launcher from an empty folder, checks the title screen and quits with Escape.
play_installed() {
    local launcher=$1 elsewhere
    elsewhere=$(mktemp -d)
    game=$launcher
    cd "$elsewhere" && start_game && cd "$source_dir"
    [ "$(convert "$(screenshot installed)" -format '%[fx:standard_deviation > 0.02]' info:)" = 1 ] ||
        fail "$launcher shows no title screen"
    press Escape
    local status
    wait_for_exit 5
    [ "$status" = 0 ] || fail "$launcher ended with status $status"
    [ -z "$(ls -A "$elsewhere")" ] || fail "$launcher wrote into its working folder"
    rm -rf "$elsewhere"
}

APP_ID=games.emberwing.emberwing

# Starts a desktop entry as a desktop does (gio reads its Exec line), from an empty folder and
# with no games folder on PATH, checks the title screen and quits with Escape.
launch_desktop_entry() {
    local entry=$1 elsewhere
    desktop-file-validate "$entry" || fail "$entry is invalid"
    elsewhere=$(mktemp -d)
    (cd "$elsewhere" && PATH=/usr/bin:/bin gio launch "$entry") 2>"$shots/stderr" ||
        fail "$entry does not launch: $(cat "$shots/stderr")"
    timeout 10 xdotool search --sync --name '^Emberwing$' >/dev/null ||
        fail "$entry started no game: $(cat "$shots/stderr")"
    for _ in $(seq 50); do
        shows_something "$(screenshot entry)" && break
        sleep 0.1
    done
    shows_something "$(screenshot entry)" || fail "$entry shows no title screen"
    press Escape
    for _ in $(seq 50); do
        xdotool search --name '^Emberwing$' >/dev/null || break
        sleep 0.1
    done
    xdotool search --name '^Emberwing$' >/dev/null && fail "the game from $entry did not end"
    rm -rf "$elsewhere"
}

# The listing in folder $1/share/metainfo: valid, naming the desktop entry beside it, with
# the changelog's latest release. No network here, so its links are not followed.
check_listing() {
    local metainfo=$1/share/metainfo/$APP_ID.metainfo.xml output version date
    output=$(appstreamcli validate --pedantic --no-net "$metainfo" 2>&1) ||
        fail "the listing is invalid: $output"
    ! grep -E '^[EW]:' <<<"$output" || fail "the listing has warnings: $output"
    grep -q "<id>$APP_ID</id>" "$metainfo" &&
        grep -q "<launchable type=\"desktop-id\">$APP_ID.desktop</launchable>" "$metainfo" ||
        fail "the listing's id or launchable is not $APP_ID"
    [ -f "$1/share/applications/$APP_ID.desktop" ] || fail "no desktop entry beside the listing"
    version=$(dpkg-parsechangelog -l "$source_dir/dist/changelog" -S Version)
    date=$(date -u -d "$(dpkg-parsechangelog -l "$source_dir/dist/changelog" -S Date)" +%F)
    grep -q "<release version=\"$version\" date=\"$date\"" "$metainfo" ||
        fail "the listing's release is not the changelog's $version of $date"
}

# A space in the prefix, which the entry's Exec line must quote.
prefix="$shots/a prefix"
cmake --install "$build" --prefix "$prefix" >/dev/null || fail "cmake --install failed"
play_installed "$prefix/games/emberwing"
launch_desktop_entry "$prefix/share/applications/$APP_ID.desktop"
check_listing "$prefix"

(cd "$build" && cpack -G DEB >/dev/null) || fail "cpack failed"
package=$(ls "$build"/emberwing_*.deb)
# Every tag, down to the informational and pedantic ones: what is left is justified in
# dist/lintian-overrides.
lintian_tags=$(lintian --pedantic --display-info "$package" 2>/dev/null)
[ -z "$lintian_tags" ] || fail "lintian: $lintian_tags"

if [ "$(id -u)" != 0 ]; then
    echo "install: prefix ok; not root, so the package was built and checked but not installed"
    exit 0
fi
dpkg --purge emberwing >/dev/null 2>&1
# A failed check leaves no package behind for the next run or the player.
trap 'kill ${game_pid:-} 2>/dev/null; dpkg --purge emberwing >/dev/null 2>&1; rm -rf "$shots"' EXIT
dpkg -i "$package" >/dev/null || fail "dpkg -i failed"
play_installed /usr/games/emberwing
launch_desktop_entry /usr/share/applications/$APP_ID.desktop
check_listing /usr
dpkg --purge emberwing >/dev/null || fail "dpkg --purge failed"
for file in $(dpkg-deb -c "$package" | awk '$1 !~ /^d/ { sub(/^\./, "", $6); print $6 }'); do
    [ ! -e "$file" ] || fail "$file is left behind after removal"
done
echo "install: prefix and package ok"
