#!/bin/sh
# Starts Emberwing from its data folder: the game reads media/ from where it is started.
here=$(dirname "$(readlink -f "$0")")
cd "$here/../share/games/emberwing" || exit 1
exec "$here/../lib/games/emberwing/emberwing" "$@"
