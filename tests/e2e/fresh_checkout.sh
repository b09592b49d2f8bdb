#!/usr/bin/env bash
# A copy of the checkout on a machine with only Debian's required packages and what
# `tools/install-deps package` installs: ./play configures, builds and starts the game; the
# README's package route builds a .deb whose Depends names the Allegro library, installs it,
# starts it from another folder and removes it; and once built, ./play starts the game from
# the checkout mounted read-only. The other packages are made absent in a private mount
# namespace, which needs root and unshare; without them the test is skipped.
set -uo pipefail
SKIPPED=77
if [ -z "${EMBERWING_TEST_LIBRARIES_HIDDEN:-}" ]; then
    [ "$(id -u)" = 0 ] || { echo "skipped: hiding the test libraries needs root"; exit $SKIPPED; }
    unshare -m true 2>/dev/null || { echo "skipped: unshare -m is not available"; exit $SKIPPED; }
    EMBERWING_TEST_LIBRARIES_HIDDEN=1 exec unshare -m --propagation private bash "$0" "$@"
fi
source "$(dirname "$0")/lib.sh"
checkout=$shots/checkout
# The package database is the machine's own, outside the namespace: a package installed here
# would outlive the files it put under the layer.
trap 'kill "${game_pid:-}" 2>/dev/null; dpkg --purge emberwing >/dev/null 2>&1
      umount -l "$checkout" 2>/dev/null; rm -rf "$shots"' EXIT
# What this script itself drives the game with stays.
HARNESS=(xvfb xauth xdotool imagemagick)

# Installed packages among those named and everything they depend on.
dependency_closure() {
    apt-cache depends --recurse --no-recommends --no-suggests --no-conflicts --no-breaks \
        --no-replaces --no-enhances "$@" 2>/dev/null | grep -v '^[ <]' | sed 's/:.*//' |
        sort -u | comm -12 - "$shots/installed"
}

# Files and folders under /usr of the packages named, with merged /usr's paths.
package_paths() {
    local package
    for package; do
        cat /var/lib/dpkg/info/"$package".list /var/lib/dpkg/info/"$package":*.list 2>/dev/null
    done | sed -E 's#^/(bin|sbin|lib|lib32|lib64|libx32)/#/usr/\1/#' | grep '^/usr/' | sort -u
}

# Lays /usr under a layer that deletes every file of the packages that `tools/install-deps
# check` brings and the package step does not, as if they had never been installed: the
# test and benchmark libraries, dpkg-dev's and lintian's helpers, and so on. A folder that
# only such packages use goes whole.
hide_check_packages() {
    local layer=$shots/layer path
    mkdir -p "$layer/upper" "$layer/work"
    dpkg-query -W -f='${db:Status-Abbrev} ${Package}\n' |
        awk '$1 == "ii" { sub(/:.*/, "", $2); print $2 }' | sort -u >"$shots/installed"
    dependency_closure $(tools/install-deps --list check) >"$shots/check"
    # dpkg still counts the hidden packages installed and runs their triggers on the game's
    # files: those with triggers stay whole, or installing would fail for this test's sake.
    dependency_closure $(tools/install-deps --list package) "${HARNESS[@]}" \
        $(dpkg-query -W -f='${Package} ${Priority}\n' | awk '$2 == "required" { print $1 }') \
        $(grep -l '^interest' /var/lib/dpkg/info/*.triggers | sed 's#.*/##; s/\.triggers$//; s/:.*//') \
        >"$shots/kept"
    comm -23 "$shots/check" "$shots/kept" >"$shots/hidden"
    grep -qx libgtest-dev "$shots/hidden" || fail "GoogleTest would not be hidden"
    comm -23 <(package_paths $(cat "$shots/hidden")) \
        <(package_paths $(comm -23 "$shots/installed" "$shots/hidden")) |
        awk '{ # the topmost of each tree
            path = $0
            while (match(path, /\/[^\/]*$/) && RSTART > 1) {
                path = substr(path, 1, RSTART - 1)
                if (path in hidden) next
            }
            hidden[$0]
            print
        }' >"$shots/hidden-paths"
    while read -r path; do
        [ -e "$path" ] || [ -L "$path" ] || continue
        mkdir -p "$layer/upper/$(dirname "${path#/usr/}")"
        mknod "$layer/upper/${path#/usr/}" c 0 0 # deleted, to the overlay
    done <"$shots/hidden-paths"
    mount -t overlay emberwing-hidden -o "lowerdir=/usr,upperdir=$layer/upper,workdir=$layer/work" \
        /usr || fail "cannot lay the overlay over /usr"
}

hide_check_packages
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
# The README's package route, as root, who leaves out sudo, up to the line that starts the
# game: it builds every target of the same configuration, makes the .deb and installs it.
dpkg --purge emberwing >/dev/null 2>&1
route=$(awk '/^From the Debian package/ { found = 1 }
             found && /^```sh/ { inside = 1; next }
             inside && /^```/ { exit }
             inside' "$checkout/README.md" | sed 's/^sudo //' | grep -v '^emberwing')
printf 'DPkg::Lock::Timeout "300";\n' >"$shots/apt.conf"
output=$(cd "$checkout" && APT_CONFIG=$shots/apt.conf bash -euo pipefail -c "$route" 2>&1) ||
    fail "the README's package route failed: $output"
package=$(ls "$checkout"/build/emberwing_*.deb) || fail "the package route made no .deb: $output"
depends=$(dpkg-deb -f "$package" Depends)
grep -q 'liballegro4' <<<"$depends" || fail "the package does not depend on Allegro: '$depends'"
[ "$(dpkg-query -W -f='${Status}' emberwing 2>/dev/null)" = "install ok installed" ] ||
    fail "the package route did not install the package: $output"
elsewhere=$shots/elsewhere
mkdir "$elsewhere" && cd "$elsewhere" || fail "no folder to start the game from"
game=/usr/games/emberwing
start_game
shows_something "$(screenshot package)" ||
    fail "the installed package shows no title screen: $(cat "$shots/stderr")"
escape_to_exit 5 "the installed package"
cd - >/dev/null || fail "cannot return to the checkout"
output=$(APT_CONFIG=$shots/apt.conf apt-get remove -y emberwing 2>&1) || fail "removal failed: $output"
[ ! -e /usr/games/emberwing ] || fail "the removed package left its launcher"

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
echo "fresh checkout: built without the check's packages, packaged with Depends: $depends;" \
    "installed, started, removed; started read-only"
