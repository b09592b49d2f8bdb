#!/usr/bin/env bash
# tools/install-deps run by a user who is neither root nor has sudo: with a package missing
# it says in one line what is missing and what to run as root, and installs nothing; with
# everything there it says nothing and succeeds, so that user can build. The package is made
# missing to dpkg in a private mount namespace, which needs root and unshare; without them
# the test is skipped.
set -uo pipefail
SKIPPED=77
[ "$(id -u)" = 0 ] || { echo "skipped: another user's view needs root"; exit $SKIPPED; }
unshare -m true 2>/dev/null || { echo "skipped: unshare -m is not available"; exit $SKIPPED; }
fail() {
    echo "FAIL: $*" >&2
    exit 1
}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The script and a PATH holding only what it runs, so no sudo whatever this machine has.
mkdir "$work/bin"
cp tools/install-deps "$work/"
for tool in bash dpkg-query grep id realpath mktemp rm cat apt-get; do
    ln -s "$(command -v "$tool")" "$work/bin/$tool"
done
chmod -R a+rX "$work"
as_user=(setpriv --reuid=65534 --regid=65534 --clear-groups env PATH="$work/bin")

# dpkg's status without freepats, which the play step needs.
awk -v RS= -v ORS='\n\n' '!/^Package: freepats\n/' /var/lib/dpkg/status >"$work/status"
without_freepats() {
    unshare -m --propagation private bash -c \
        'mount --bind "$0" /var/lib/dpkg/status && exec "$@"' "$work/status" "$@"
}

output=$(without_freepats "${as_user[@]}" "$work/install-deps" play 2>&1) &&
    fail "succeeded with freepats missing: $output"
[ "$(wc -l <<<"$output")" = 1 ] || fail "more than one line: $output"
grep -q "missing freepats; as root, run: $work/install-deps play$" <<<"$output" ||
    fail "the line does not name freepats and the command to run as root: $output"

output=$("${as_user[@]}" "$work/install-deps" play 2>&1) || fail "failed with everything there: $output"
[ -z "$output" ] || fail "said something with everything there: $output"
echo "install-deps: one line without sudo, nothing with everything there"
