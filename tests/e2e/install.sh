#!/usr/bin/env bash
# Installs the game as a player would, into a fresh prefix and, when run as root, from its
# Debian package, then starts the installed launcher from an unrelated folder: the title
# must show and Escape must end it with status 0. Removing the package leaves nothing.
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

desktop-file-validate "$source_dir/dist/emberwing.desktop" || fail "the desktop entry is invalid"

prefix="$shots/prefix"
cmake --install "$build" --prefix "$prefix" >/dev/null || fail "cmake --install failed"
play_installed "$prefix/games/emberwing"

(cd "$build" && cpack -G DEB >/dev/null) || fail "cpack failed"
package=$(ls "$build"/emberwing_*.deb)
lintian_errors=$(lintian "$package" 2>/dev/null | grep '^E:')
[ -z "$lintian_errors" ] || fail "lintian: $lintian_errors"

if [ "$(id -u)" != 0 ]; then
    echo "install: prefix ok; not root, so the package was built and checked but not installed"
    exit 0
fi
dpkg --purge emberwing >/dev/null 2>&1
dpkg -i "$package" >/dev/null || fail "dpkg -i failed"
play_installed /usr/games/emberwing
dpkg --purge emberwing >/dev/null || fail "dpkg --purge failed"
for file in $(dpkg-deb -c "$package" | awk '$1 !~ /^d/ { sub(/^\./, "", $6); print $6 }'); do
    [ ! -e "$file" ] || fail "$file is left behind after removal"
done
echo "install: prefix and package ok"
