#!/usr/bin/env bash
# The committed media/ must be exactly what the generator makes: run it into an empty folder
# and compare every file, both ways. $1 is the generator.
set -euo pipefail
generator="$1"
fresh="$(mktemp -d)"
trap 'rm -rf "$fresh"' EXIT
"$generator" "$fresh"
status=0
for made in "$fresh"/*; do
    name="$(basename "$made")"
    if ! cmp -s "$made" "media/$name"; then
        echo "media/$name differs from what the generator makes (run tools/make-media)"
        status=1
    fi
done
for committed in $(git ls-files media); do
    if [ ! -e "$fresh/$(basename "$committed")" ]; then
        echo "$committed is not made by the generator"
        status=1
    fi
done
[ "$(ls "$fresh" | wc -l)" -eq 32 ] || { echo "expected 25 pictures, the tune and 6 sound effects"; status=1; }
exit $status
