#!/usr/bin/env bash
# A copy of the checkout on a machine with only what `tools/install-deps play` installs:
# ./play configures, builds and starts the game, and once built it starts the game from the
# checkout mounted read-only. The test and benchmark libraries are made absent in a private
# mount namespace, which needs root and unshare; without them the test is skipped.
set -uo pipefail
SKIPPED=77
if [ -z "${EMBERWING_TEST_LIBRARIES_HIDDEN:-}" ]; then
    [ "$(id -u)" = 0 ] || { echo "skipped: hiding the test libraries needs root"; exit $SKIPPED; }
    unshare -m true 2>/dev/null || { echo "skipped: unshare -m is not available"; exit $SKIPPED; }
    EMBERWING_TEST_LIBRARIES_HIDDEN=1 exec unshare -m --propagation private bash "$0" "$@"
fi
source "$(dirname "$0")/lib.sh"
checkout=$shots/checkout
trap 'kill "${game_pid:-}" 2>/dev/null; umount -l "$checkout" 2>/dev/null; rm -rf "$shots"' EXIT

# Lays /usr under a layer that deletes every file of the packages only the tests and the
# benchmarks need, as if they had never been installed.
hide_test_packages() {
    local layer=$shots/layer path
    mkdir -p "$layer/upper" "$layer/work"
    for path in $(dpkg -L libgtest-dev libgmock-dev googletest libbenchmark-dev \
                      libbenchmark1debian libxtst-dev 2>/dev/null | grep '^/usr/'); do
        [ -d "$path" ] && [ ! -L "$path" ] && continue
        mkdir -p "$layer/upper/$(dirname "${path#/usr/}")"
        mknod "$layer/upper/${path#/usr/}" c 0 0 # a deleted file, to the overlay
    done
    mount -t overlay emberwing-hidden -o "lowerdir=/usr,upperdir=$layer/upper,workdir=$layer/work" \
        /usr || fail "cannot lay the overlay over /usr"
}

hide_test_packages
mkdir "$checkout"
tar -C "$(pwd)" --exclude='./build*' --exclude=./.git --exclude=./media/patches.dat -cf - . |
    tar -C "$checkout" -xf - || fail "cannot copy the checkout"

# Asked for, the tests and the benchmarks must find their libraries missing, or this test
# proves nothing.
output=$(cmake -S "$checkout" -B "$shots/tests" -DEMBERWING_TESTS=ON -DEMBERWING_BENCH=OFF 2>&1) &&
    fail "configured with the tests although GoogleTest is hidden"
grep -q 'Could NOT find GTest' <<<"$output" || fail "unexpected failure with the tests: $output"
output=$(cmake -S "$checkout" -B "$shots/bench" -DEMBERWING_TESTS=OFF -DEMBERWING_BENCH=ON 2>&1) &&
    fail "configured with the benchmarks although Google Benchmark is hidden"
grep -q '"benchmark"' <<<"$output" || fail "unexpected failure with the benchmarks: $output"

# Without a display the built game says so itself, which shows ./play got as far as it.
output=$(env -u DISPLAY "$checkout/play" 2>&1)
grep -q 'emberwing: needs a graphical display' <<<"$output" || fail "./play failed: $output"
# The README's install steps build every target of the same configuration.
output=$(cmake --build "$checkout/build" -j"$(nproc)" 2>&1) || fail "the full build failed: $output"

mount --bind "$checkout" "$checkout" && mount -o remount,bind,ro "$checkout" ||
    fail "cannot mount the checkout read-only"
touch "$checkout/build/written" 2>/dev/null && fail "the read-only checkout took a write"
game=$checkout/play
start_game
[ "$(convert "$(screenshot read-only)" -format '%[fx:standard_deviation > 0.02]' info:)" = 1 ] ||
    fail "./play on the read-only checkout shows no title screen: $(cat "$shots/stderr")"
press Escape
wait_for_exit 5
[ "$status" = 0 ] || fail "./play on the read-only checkout ended with status $status"
echo "fresh checkout: built without the test libraries, started read-only"
