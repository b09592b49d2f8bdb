#!/usr/bin/env bash
# How the real game ends other than by Escape. Signals end it as Escape does, on the title
# screen and in play: after TERM, HUP, INT or QUIT it leaves promptly and cleanly with status
# 128 + the signal's number. INT and QUIT that were ignored when it started, as for a job a
# script sent to the background, stay ignored: it plays on and still ends on Escape. When its
# X server goes away in the middle of mode switches it ends with one line and status 1.
set -uo pipefail
XVFB_SCREEN=1024x768x24
source "$(dirname "$0")/lib.sh"

# The game runs as this watcher's child: bash would report an exit with status 128 + n and a
# death by signal n alike. It writes the game's process id, then how the game ended.
watcher='open my $out, ">", shift or die; $out->autoflush; my $pid = fork // die;
    exec @ARGV or die unless $pid; print $out "$pid\n"; waitpid $pid, 0;
    print $out $? & 127 ? "signal " . ($? & 127) : "exit " . ($? >> 8)'

# Starts the game with INT and QUIT at "default" or "ignore", and takes it to the title
# screen or into play; sets target to its process.
launch() {
    start_game perl -e "$watcher" "$shots/watch" env --"$2"-signal=INT,QUIT
    target=$(head -n 1 "$shots/watch")
    if [ "$1" = play ]; then
        press Return
        sleep 0.5
    fi
}

# Waits for the game to end and checks how it ended and that it said nothing on the way.
expect_end() {
    wait_for_exit 3
    local end
    end=$(tail -n +2 "$shots/watch")
    [ "$end" = "$1" ] || fail "$case: $end, not $1"
    ! grep -v 'playing silently' "$shots/stderr" || fail "$case: unexpected messages"
}

for where in title play; do
    for signal in TERM HUP INT QUIT; do
        case="$signal, $where"
        launch "$where" default
        kill -"$signal" "$target"
        expect_end "exit $((128 + $(kill -l "$signal")))"
    done
    case="INT and QUIT ignored, $where"
    launch "$where" ignore
    kill -INT "$target"
    kill -QUIT "$target"
    sleep 0.5
    press Escape
    expect_end "exit 0"
done
# Each try has an X server of its own, to be shut down while F1 is down.
for try in 1 2 3 4 5; do
    case="X server gone, try $try"
    start_server
    launch play default
    for _ in 1 2 3; do
        press F1
        sleep 0.2
    done
    xdotool keydown F1
    sleep "0.0$try"
    kill "$server_pid"
    wait "$server_pid"
    server_pid=
    wait_for_exit 3
    [ "$(tail -n +2 "$shots/watch")" = "exit 1" ] || fail "$case: $(tail -n +2 "$shots/watch")"
    message=$(grep -v 'playing silently' "$shots/stderr")
    [ "$(wc -l <<<"$message")" = 1 ] && grep -q display <<<"$message" ||
        fail "$case: expected one line about the display, got: $message"
done
echo "ending: ok"
